#include "gc_intervalmap.h"

// The keys never overlap, so the first key not ending before the interval is
// the only candidate for overlapping or containing it; no walk is needed.

void GC_IntervalMap::insert(const GC_Interval &interval)
{
    // Stretches usually arrive in order along the sequence: append those
    // without a search.
    if (m_keys.isEmpty() || m_keys.lastKey() < interval) {
        m_keys.insert(m_keys.cend(), interval, true);
        return;
    }
    GC_Interval merged = interval;
    auto it = m_keys.lowerBound(interval);
    while (it != m_keys.end() && !(interval < it.key())) {
        merged = GC_Interval(merged.minStart(it.key()), merged.maxEnd(it.key()));
        it = m_keys.erase(it);
    }
    m_keys.insert(merged, true);
}

bool GC_IntervalMap::anyOverlaps(const GC_Interval &interval) const
{
    auto it = m_keys.lowerBound(interval);
    return it != m_keys.cend() && it.key().overlaps(interval);
}

bool GC_IntervalMap::anyContains(const GC_Interval &interval) const
{
    auto it = m_keys.lowerBound(interval);
    return it != m_keys.cend() && it.key().contains(interval);
}

qint64 GC_IntervalMap::totalLength() const
{
    qint64 total = 0;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        total += it.key().length();
    return total;
}

void GC_IntervalMap::mergeTouching()
{
    if (m_keys.isEmpty())
        return;
    QList<GC_Interval> runs;
    runs.reserve(m_keys.size());
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        if (!runs.isEmpty() && runs.last().touches(it.key()))
            runs.last().unite(it.key());
        else
            runs.append(it.key());
    }
    m_keys.clear();
    for (const GC_Interval &run : runs)
        insert(run);
}
