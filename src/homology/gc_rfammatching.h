#ifndef GC_RFAMMATCHING_H
#define GC_RFAMMATCHING_H

#include "gc_interval.h"

#include <QString>

class QSqlQuery;

// One RFAM hit on a genome (start <= end, genome numbering): the RFAM
// reference sequence that produced it, its family code and its scores. A row
// of the canvas table rfam_matchings. The family name is looked up once and
// kept; a name not found is looked up again at the next call.
// The E-value is kept in double precision.
class GC_RfamMatching
{
public:
    GC_RfamMatching() = default;

    int getGenomeId() const { return genomeId; }
    void setGenomeId(int id) { genomeId = id; }
    int getStart() const { return start; }
    void setStart(int value) { start = value; }
    int getEnd() const { return end; }
    void setEnd(int value) { end = value; }
    // The hit's span on the genome.
    GC_Interval interval() const { return GC_Interval(start, end); }
    double getEvalue() const { return evalue; }
    void setEvalue(double value) { evalue = value; }
    float getBitscore() const { return bitscore; }
    void setBitscore(float value) { bitscore = value; }
    int getRfamSeqId() const { return rfamSeqId; }
    void setRfamSeqId(int id) { rfamSeqId = id; }
    QString getRfamCode() const { return rfamCode; }
    void setRfamCode(const QString &code) { rfamCode = code; }

    // The family's name from the RFAM collection; empty when it has none.
    QString getRfamName();
    // The hover text: code, name, alignment length, E-value, bit score.
    QString getToolTip();

    void saveItem(QSqlQuery &query) const;
    void loadFromQuery(const QSqlQuery &query);

    static QString createTableSql();
    static QString insertSql();
    static QString selectSql();

private:
    int genomeId = 0;
    int start = 0;
    int end = 0;
    double evalue = 0.0;
    float bitscore = 0.0f;
    int rfamSeqId = 0;
    QString rfamCode;
    QString rfamName;
};

#endif
