#include "gc_coveragecalculator.h"

#include "gc_coveragewidgetlistitem.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"

#include <QListWidgetItem>
#include <QMap>

#include <algorithm>

GC_IntervalMap GC_CoverageCalculator::coveredRanges(const GC_Genome *genome,
                                                    const QSet<int> &excludedGenomes,
                                                    double bitScore)
{
    GC_IntervalMap ranges;
    if (!genome)
        return ranges;

    QList<GC_Interval> stretches;
    stretches.reserve(genome->getMatchings().size());
    for (const GC_GenomeMatching *matching : genome->getMatchings()) {
        if (matching->bitScore() < bitScore)
            continue;
        GC_Interval stretch;
        const GC_Genome *other = nullptr;
        if (matching->topGenome() == genome) {
            stretch = matching->topCoords();
            other = matching->lowGenome();
        } else if (matching->lowGenome() == genome) {
            stretch = matching->lowCoords();
            other = matching->topGenome();
        } else {
            continue;
        }
        if (!stretch.isValid() || (other && excludedGenomes.contains(other->getId())))
            continue;
        stretches.append(stretch);
    }
    if (stretches.isEmpty())
        return ranges;

    // Sorted by start, a single sweep unites every stretch that overlaps or
    // touches the run before it; the runs come out in key order, so the map
    // appends each without a search.
    std::sort(stretches.begin(), stretches.end(),
              [](const GC_Interval &a, const GC_Interval &b) { return a.start() < b.start(); });
    int runStart = stretches.first().start();
    int runEnd = stretches.first().end();
    for (qsizetype i = 1; i < stretches.size(); ++i) {
        const GC_Interval &next = stretches.at(i);
        if (qint64(next.start()) <= qint64(runEnd) + 1) {
            runEnd = std::max(runEnd, next.end());
        } else {
            ranges.insert(GC_Interval(runStart, runEnd));
            runStart = next.start();
            runEnd = next.end();
        }
    }
    ranges.insert(GC_Interval(runStart, runEnd));
    return ranges;
}

bool GC_CoverageCalculator::passes(const GC_IntervalMap &ranges, const GC_Interval &range, int mode)
{
    switch (mode) {
    case TotallyInside:
        return ranges.anyContains(range);
    case PartiallyInside:
        return ranges.anyOverlaps(range);
    case PartiallyOutside:
        return !ranges.anyContains(range);
    case TotallyOutside:
        return !ranges.anyOverlaps(range);
    default:
        return false;
    }
}

QList<GC_CoverageWidgetListItem *> GC_CoverageCalculator::coveredGenes(const GC_Genome *genome,
                                                                       const QSet<int> &excludedGenomes,
                                                                       double bitScore, int mode)
{
    QList<GC_CoverageWidgetListItem *> rows;
    if (!genome || mode < TotallyInside || mode > TotallyOutside)
        return rows;
    const GC_IntervalMap ranges = coveredRanges(genome, excludedGenomes, bitScore);
    for (GC_Gene *gene : genome->getGenes()) {
        if (!passes(ranges, gene->getCoords(), mode))
            continue;
        auto *row = new GC_CoverageWidgetListItem;
        row->setGene(gene);
        rows.append(row);
    }
    return rows;
}

QList<QListWidgetItem *> GC_CoverageCalculator::matchedGenomes(const GC_Genome *genome)
{
    QList<QListWidgetItem *> items;
    if (!genome)
        return items;
    QMap<int, const GC_Genome *> others;
    for (const GC_GenomeMatching *matching : genome->getMatchings()) {
        const GC_Genome *other = nullptr;
        if (matching->topGenome() == genome)
            other = matching->lowGenome();
        else if (matching->lowGenome() == genome)
            other = matching->topGenome();
        if (other)
            others.insert(other->getId(), other);
    }
    items.reserve(others.size());
    for (auto it = others.cbegin(); it != others.cend(); ++it) {
        auto *item = new QListWidgetItem(it.value()->getName());
        item->setData(Qt::UserRole, it.key());
        items.append(item);
    }
    return items;
}
