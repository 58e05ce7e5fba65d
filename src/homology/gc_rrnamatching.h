#ifndef GC_RRNAMATCHING_H
#define GC_RRNAMATCHING_H

#include "gc_interval.h"

#include <QString>

class QSqlQuery;

// One ribosomal RNA hit on a genome (start <= end, genome numbering): the
// Silva reference sequence that produced it, its rRNA group and its scores.
// A row of the canvas table rrna_matchings. The group name is looked up once
// and kept; the group description is looked up on every use.
// The E-value is kept in double precision.
class GC_rRNAMatching
{
public:
    GC_rRNAMatching() = default;

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
    int getRrnaSeqId() const { return rrnaSeqId; }
    void setRrnaSeqId(int id) { rrnaSeqId = id; }
    int getGroupId() const { return groupId; }
    void setGroupId(int id) { groupId = id; }
    QString getSequenceName() const { return sequenceName; }
    void setSequenceName(const QString &name) { sequenceName = name; }

    // The group's name; empty when the rRNA collection has none.
    QString getGroupName();
    // The group's description; empty when it has none.
    QString getGroupDescription() const;
    // The hover table: rRNA type, description (when there is one), alignment
    // length, E-value, bit score.
    QString toolTipHtml();

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
    int rrnaSeqId = 0;
    int groupId = 0;
    QString sequenceName;
    QString groupName;
};

#endif
