#ifndef GC_HOMOLOGYMATCHING_H
#define GC_HOMOLOGYMATCHING_H

#include "gc_interval.h"

#include <QString>

#include <optional>

class QSqlQuery;

// What the COG, RFAM and rRNA hits share: the genome, the span on it
// (start <= end, genome numbering), the reference entry that produced the
// hit and its scores, and the row they make in the hit tables (reference
// id, genome id, start, end, E-value, bit score). Each family names its
// reference id itself and brings its own tables and look-ups.
// E-value and bit score are kept in double precision, as BLAST prints them:
// E-values fall far below the range of a float, and a float bit score would
// not write back the value BLAST gave.
class GC_HomologyMatching
{
public:
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
    double getBitscore() const { return bitscore; }
    void setBitscore(double value) { bitscore = value; }

    // Fills reference id, start, end, E-value and bit score from the
    // current row of a query that ran the family's selectSql().
    void loadFromQuery(const QSqlQuery &query);

protected:
    GC_HomologyMatching() = default;

    int referenceId() const { return m_referenceId; }
    void setReferenceId(int id) { m_referenceId = id; }
    // The distance from start to end, as the hover texts show it.
    int alignmentLength() const;

    // Writes the hit as one row under the genome id through the canvas
    // writer's query, which is (re)prepared with insertSql only when it
    // holds another statement. A failure is logged with the prefix.
    bool writeRow(QSqlQuery &query, const QString &insertSql, int rowGenomeId,
                  const char *failurePrefix) const;

private:
    int genomeId = 0;
    int start = 0;
    int end = 0;
    int m_referenceId = 0;
    double evalue = 0.0;
    double bitscore = 0.0;
};

#endif
