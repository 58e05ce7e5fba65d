#ifndef GC_INTERVALMAP_H
#define GC_INTERVALMAP_H

#include "gc_interval.h"

#include <QList>
#include <QMap>

// An ordered set of intervals (values are always true) whose keys never
// overlap: inserting an interval unites it with every key it overlaps. The
// map is held, not inherited, so no caller can store an overlapping key.
class GC_IntervalMap
{
public:
    GC_IntervalMap() = default;

    // Adds the interval, merging the keys it overlaps; O(log n + merged),
    // and amortised O(1) for an interval that lies after every key.
    void insert(const GC_Interval &interval);
    bool anyOverlaps(const GC_Interval &interval) const;
    bool anyContains(const GC_Interval &interval) const;
    qint64 totalLength() const;
    // Joins keys that overlap or are adjacent.
    void mergeTouching();

    qsizetype size() const { return m_keys.size(); }
    bool isEmpty() const { return m_keys.isEmpty(); }
    QList<GC_Interval> intervals() const { return m_keys.keys(); }

private:
    QMap<GC_Interval, bool> m_keys;
};

#endif
