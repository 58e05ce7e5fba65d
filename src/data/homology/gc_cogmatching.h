#ifndef GC_COGMATCHING_H
#define GC_COGMATCHING_H

#include "gc_homologymatching.h"

#include <QString>

// One COG hit on a genome: the COG reference protein that produced it and
// its COG, category and super-category. A row of the canvas table
// cog_matchings. The names are looked up in the COG reference collection on
// every call.
class GC_CogMatching : public GC_HomologyMatching
{
public:
    GC_CogMatching() = default;

    int getIdCogProtein() const { return referenceId(); }
    void setIdCogProtein(int id) { setReferenceId(id); }
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

    // Writes the hit as one row of its table through the canvas writer's
    // query, under genomeId or else the id of the genome it was added to.
    // False, logged, when the row was not written.
    bool saveItem(QSqlQuery &query, std::optional<int> genomeId = std::nullopt) const;

    static QString createTableSql();
    static QString insertSql();
    static QString selectSql();

private:
    QString cogCode;
    QString groupCode;
    int classId = 0;
    QString cogName;
    QString groupName;
    QString className;
};

#endif
