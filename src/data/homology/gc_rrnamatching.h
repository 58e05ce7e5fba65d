#ifndef GC_RRNAMATCHING_H
#define GC_RRNAMATCHING_H

#include "gc_homologymatching.h"

#include <QString>

// One ribosomal RNA hit on a genome: the Silva reference sequence that
// produced it and its rRNA group. A row of the canvas table rrna_matchings.
// The group name is looked up once and kept; the group description is
// looked up on every use.
class GC_rRNAMatching : public GC_HomologyMatching
{
public:
    GC_rRNAMatching() = default;

    int getRrnaSeqId() const { return referenceId(); }
    void setRrnaSeqId(int id) { setReferenceId(id); }
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

    // Writes the hit as one row of its table through the canvas writer's
    // query, under genomeId or else the id of the genome it was added to.
    // False, logged, when the row was not written.
    bool saveItem(QSqlQuery &query, std::optional<int> genomeId = std::nullopt) const;

    static QString createTableSql();
    static QString insertSql();
    static QString selectSql();

private:
    int groupId = 0;
    QString sequenceName;
    QString groupName;
};

#endif
