#ifndef GC_RFAMMATCHING_H
#define GC_RFAMMATCHING_H

#include "gc_homologymatching.h"

#include <QString>

// One RFAM hit on a genome: the RFAM reference sequence that produced it
// and its family code. A row of the canvas table rfam_matchings. The family
// name is looked up once and kept; a name not found is looked up again at
// the next call.
class GC_RfamMatching : public GC_HomologyMatching
{
public:
    GC_RfamMatching() = default;

    int getRfamSeqId() const { return referenceId(); }
    void setRfamSeqId(int id) { setReferenceId(id); }
    QString getRfamCode() const { return rfamCode; }
    void setRfamCode(const QString &code) { rfamCode = code; }

    // The family's name from the RFAM collection; empty when it has none.
    QString getRfamName();
    // The hover text: code, name, alignment length, E-value, bit score.
    QString getToolTip();

    // Writes the hit as one row of its table through the canvas writer's
    // query, under genomeId or else the id of the genome it was added to.
    // False, logged, when the row was not written.
    bool saveItem(QSqlQuery &query, std::optional<int> genomeId = std::nullopt) const;

    static QString createTableSql();
    static QString insertSql();
    static QString selectSql();

private:
    QString rfamCode;
    QString rfamName;
};

#endif
