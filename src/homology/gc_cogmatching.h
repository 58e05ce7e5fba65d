#ifndef GC_COGMATCHING_H
#define GC_COGMATCHING_H

#include <QString>

class QSqlQuery;

// One COG hit on a genome: where it lies (start <= end, genome numbering),
// which COG reference protein produced it, its scores and its COG, category
// and super-category. A row of the canvas table cog_matchings. The names are
// looked up in the COG reference collection on every call.
// The E-value is kept in double precision: tblastn reports values far below
// the range of a float.
class GC_CogMatching
{
public:
    GC_CogMatching() = default;

    int getGenomeId() const { return genomeId; }
    void setGenomeId(int id) { genomeId = id; }
    int getStart() const { return start; }
    void setStart(int value) { start = value; }
    int getEnd() const { return end; }
    void setEnd(int value) { end = value; }
    int getIdCogProtein() const { return idCogProtein; }
    void setIdCogProtein(int id) { idCogProtein = id; }
    double getEvalue() const { return evalue; }
    void setEvalue(double value) { evalue = value; }
    float getBitscore() const { return bitscore; }
    void setBitscore(float value) { bitscore = value; }
    QString getCogCode() const { return cogCode; }
    void setCogCode(const QString &code) { cogCode = code; }
    QString getGroupCode() const { return groupCode; }
    void setGroupCode(const QString &code) { groupCode = code; }
    int getClassId() const { return classId; }
    void setClassId(int id) { classId = id; }

    // Names from the COG reference collection; "error" when it has no row.
    QString getCogName();
    QString getGroupName();
    QString getClassName();

    // Writes the record as one row through the canvas writer's query, which
    // is (re)prepared with insertSql() only when it holds another statement.
    // A failure is logged and the save goes on.
    void saveItem(QSqlQuery &query) const;
    // Fills protein id, start, end, E-value and bit score from the current
    // row of a query that ran selectSql().
    void loadFromQuery(const QSqlQuery &query);

    static QString createTableSql();
    static QString insertSql();
    static QString selectSql();

private:
    int genomeId = 0;
    int start = 0;
    int end = 0;
    int idCogProtein = 0;
    double evalue = 0.0;
    float bitscore = 0.0f;
    QString cogCode;
    QString groupCode;
    int classId = 0;
    QString cogName;
    QString groupName;
    QString className;
};

#endif
