#ifndef GC_INTERVALMAP_H
#define GC_INTERVALMAP_H

#include "gc_interval.h"

#include <QList>
#include <QMap>

// An ordered set of intervals (values are always true) whose keys never
// overlap: inserting an interval unites it with every key it overlaps.
class GC_IntervalMap : public QMap<GC_Interval, bool>
{
public:
    GC_IntervalMap() = default;

    // Adds the interval, merging the keys it overlaps; O(log n + merged).
    void insert(const GC_Interval &interval);
    bool anyOverlaps(const GC_Interval &interval) const;
    bool anyContains(const GC_Interval &interval) const;
    qint64 totalLength() const;
    // Joins keys that overlap or are adjacent.
    void mergeTouching();

    QList<GC_Interval> intervals() const { return keys(); }
};

#endif
