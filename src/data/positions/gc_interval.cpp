#include "gc_interval.h"

#include <QtGlobal>

#include <algorithm>

GC_Interval::GC_Interval(int a, int b)
    : m_start(std::min(a, b)), m_end(std::max(a, b))
{
}

int GC_Interval::distanceTo(int pos) const
{
    if (pos < m_start)
        return saturated(qint64(m_start) - pos);
    if (pos > m_end)
        return saturated(qint64(pos) - m_end);
    return 0;
}

bool GC_Interval::touches(const GC_Interval &other) const
{
    // 64-bit so that end + 1 cannot overflow at INT_MAX.
    return qint64(m_end) + 1 >= other.m_start && qint64(m_start) <= qint64(other.m_end) + 1;
}

int GC_Interval::minStart(const GC_Interval &other) const
{
    return std::min(m_start, other.m_start);
}

int GC_Interval::maxEnd(const GC_Interval &other) const
{
    return std::max(m_end, other.m_end);
}

void GC_Interval::unite(const GC_Interval &other)
{
    if (!touches(other))
        return;
    m_start = minStart(other);
    m_end = maxEnd(other);
}
