#ifndef GC_INTERVAL_H
#define GC_INTERVAL_H

#include <QtGlobal>

#include <climits>

// A closed nucleotide interval, 1-based and inclusive, smaller end first.
// (-1, -1) is the invalid interval. Orientation is never stored here.
class GC_Interval
{
public:
    GC_Interval() = default;
    GC_Interval(int a, int b);

    int start() const { return m_start; }
    int end() const { return m_end; }
    // Counted in 64 bits: an interval longer than the int range (which no
    // genome is) answers the largest int rather than overflowing.
    int length() const { return saturated(qint64(m_end) + 1 - m_start); }
    int startIndex() const { return m_start - 1; }
    bool isValid() const { return m_start != -1 && m_end != -1; }

    int distanceTo(int pos) const;
    bool endsBefore(int pos) const { return m_end < pos; }
    bool startsAfter(int pos) const { return m_start > pos; }
    bool startsAfterEndOf(const GC_Interval &other) const { return m_start > other.m_end; }

    // Ordering used by GC_IntervalMap: overlapping intervals compare equal.
    bool operator<(const GC_Interval &other) const { return m_end < other.m_start; }
    bool operator==(const GC_Interval &other) const
    {
        return m_start == other.m_start && m_end == other.m_end;
    }
    bool operator!=(const GC_Interval &other) const { return !(*this == other); }

    bool contains(const GC_Interval &other) const
    {
        return m_start <= other.m_start && other.m_end <= m_end;
    }
    bool overlaps(const GC_Interval &other) const
    {
        return m_end >= other.m_start && other.m_end >= m_start;
    }
    // Overlapping, or adjacent with no nucleotide between them.
    bool touches(const GC_Interval &other) const;
    int minStart(const GC_Interval &other) const;
    int maxEnd(const GC_Interval &other) const;
    // Grows this interval to cover other when the two touch.
    void unite(const GC_Interval &other);

private:
    static int saturated(qint64 value)
    {
        return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
    }

    int m_start = -1;
    int m_end = -1;
};

#endif
