#ifndef GC_COVERAGECALCULATOR_H
#define GC_COVERAGECALCULATOR_H

#include "gc_intervalmap.h"

#include <QList>
#include <QSet>

class GC_CoverageWidgetListItem;
class GC_Genome;
class QListWidgetItem;

// How the genes of one genome are covered by the matchings that join it to
// other genomes. Covered stretches are gathered, sorted once and swept into
// disjoint, non-touching keys; each gene is then tested by one binary search
// in that map, so g genes against m matchings cost O(m log m + g log m).
class GC_CoverageCalculator
{
public:
    // The coverage tests, in the order of the panel's mode choice.
    enum Mode { TotallyInside = 0, PartiallyInside = 1, PartiallyOutside = 2, TotallyOutside = 3 };

    // Stretches of genome covered by matchings whose bit score reaches
    // bitScore and whose other genome's id is not in excludedGenomes;
    // overlapping and adjacent stretches are united.
    static GC_IntervalMap coveredRanges(const GC_Genome *genome, const QSet<int> &excludedGenomes,
                                        double bitScore);

    // Whether a gene at range passes the mode's test against ranges;
    // false for a mode outside 0-3.
    static bool passes(const GC_IntervalMap &ranges, const GC_Interval &range, int mode);

    // One new row per gene that passes, in the genome's gene order; the
    // caller owns the rows. Empty for a mode outside 0-3.
    static QList<GC_CoverageWidgetListItem *> coveredGenes(const GC_Genome *genome,
                                                           const QSet<int> &excludedGenomes,
                                                           double bitScore, int mode);

    // One new item per genome at the other end of genome's matchings, in
    // ascending id order: text the genome's name, Qt::UserRole its id. The
    // caller owns the items.
    static QList<QListWidgetItem *> matchedGenomes(const GC_Genome *genome);
};

#endif
