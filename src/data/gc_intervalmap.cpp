#include "gc_intervalmap.h"

// The keys never overlap, so the first key not ending before the interval is
// the only candidate for overlapping or containing it; no walk is needed.

void GC_IntervalMap::insert(const GC_Interval &interval)
{
    GC_Interval merged = interval;
    auto it = lowerBound(interval);
    while (it != end() && !(interval < it.key())) {
        merged = GC_Interval(merged.minStart(it.key()), merged.maxEnd(it.key()));
        it = erase(it);
    }
    QMap<GC_Interval, bool>::insert(merged, true);
}

bool GC_IntervalMap::anyOverlaps(const GC_Interval &interval) const
{
    auto it = lowerBound(interval);
    return it != cend() && it.key().overlaps(interval);
}

bool GC_IntervalMap::anyContains(const GC_Interval &interval) const
{
    auto it = lowerBound(interval);
    return it != cend() && it.key().contains(interval);
}

qint64 GC_IntervalMap::totalLength() const
{
    qint64 total = 0;
    for (auto it = cbegin(); it != cend(); ++it)
        total += it.key().length();
    return total;
}

void GC_IntervalMap::mergeTouching()
{
    if (isEmpty())
        return;
    QList<GC_Interval> runs;
    runs.reserve(size());
    for (auto it = cbegin(); it != cend(); ++it) {
        if (!runs.isEmpty() && runs.last().touches(it.key()))
            runs.last().unite(it.key());
        else
            runs.append(it.key());
    }
    clear();
    for (const GC_Interval &run : runs)
        QMap<GC_Interval, bool>::insert(run, true);
}
