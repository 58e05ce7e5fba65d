#include "gc_positionindex.h"

#include <algorithm>
#include <cmath>
#include <limits>

void GC_PositionIndex::clear()
{
    m_values = QVector<int>();
    m_first = 0;
    m_entries = 0;
}

int GC_PositionIndex::value(int position) const
{
    const qint64 i = qint64(position) - m_first;
    if (i < 0 || i >= m_values.size())
        return noHit;
    const int v = m_values.at(qsizetype(i));
    return v == noEntry ? noHit : v;
}

bool GC_PositionIndex::contains(int position) const
{
    const qint64 i = qint64(position) - m_first;
    return i >= 0 && i < m_values.size() && m_values.at(qsizetype(i)) != noEntry;
}

bool GC_PositionIndex::canFill(int from, int to) const
{
    if (from > to)
        return true;
    if (m_values.isEmpty())
        return qint64(to) - from + 1 <= maxSpan;
    const qint64 first = std::min<qint64>(m_first, from);
    const qint64 last = std::max<qint64>(lastPosition(), to);
    return last - first + 1 <= maxSpan;
}

bool GC_PositionIndex::reserveSpan(int from, int to)
{
    if (!canFill(from, to))
        return false;
    if (m_values.isEmpty()) {
        m_first = from;
        m_values = QVector<int>(qsizetype(qint64(to) - from + 1), noEntry);
        return true;
    }
    const qint64 oldFirst = m_first;
    const qint64 oldLast = lastPosition();
    if (from >= oldFirst && to <= oldLast)
        return true;

    // Grow by at least a quarter on the side that needs it, so that a run of
    // hits just past the edge does not copy the array once per hit.
    const qint64 slack = std::max<qint64>(qint64(m_values.size()) / 4, 1024);
    const qint64 lowest = std::numeric_limits<int>::min();
    const qint64 highest = std::numeric_limits<int>::max();
    qint64 newFirst = oldFirst;
    qint64 newLast = oldLast;
    if (from < oldFirst)
        newFirst = std::max(lowest, std::min<qint64>(from, oldFirst - slack));
    if (to > oldLast)
        newLast = std::min(highest, std::max<qint64>(to, oldLast + slack));
    // The slack never pushes the span past the limit that canFill allowed.
    if (newLast - newFirst + 1 > maxSpan) {
        newFirst = std::min<qint64>(from, oldFirst);
        newLast = std::max<qint64>(to, oldLast);
    }

    QVector<int> grown(qsizetype(newLast - newFirst + 1), noEntry);
    std::copy(m_values.cbegin(), m_values.cend(), grown.begin() + (oldFirst - newFirst));
    m_values = std::move(grown);
    m_first = int(newFirst);
    return true;
}

bool GC_PositionIndex::fill(int from, int to, int value)
{
    if (from > to)
        return true;
    if (!reserveSpan(from, to))
        return false;
    int *data = m_values.data() + (qint64(from) - m_first);
    const qint64 count = qint64(to) - from + 1;
    qint64 added = 0;
    for (qint64 i = 0; i < count; ++i) {
        added += data[i] == noEntry;
        data[i] = value;
    }
    m_entries += added;
    return true;
}

bool GC_PositionIndex::canAddZone(const GC_Interval &range, int from, int to) const
{
    if (!isEmpty() || !range.isValid())
        return canFill(from, to);
    const qint64 first = std::min<qint64>(range.start(), from);
    const qint64 last = std::max<qint64>(range.end(), to);
    return last - first + 1 <= maxSpan;
}

bool GC_PositionIndex::addZone(const GC_Interval &range, int from, int to, int key)
{
    if (!canAddZone(range, from, to))
        return false;
    seed(range);
    return fill(from, to, key);
}

void GC_PositionIndex::seed(const GC_Interval &range)
{
    if (isEmpty() && range.isValid())
        fill(range.start(), range.end(), noHit);
}

std::pair<int, int> GC_PositionIndex::hoverZone(int start, int end, int minimumSpan)
{
    const qint64 span = qint64(end) - start;
    if (span >= minimumSpan)
        return {start, end};
    const qint64 pad = qint64(std::ceil(0.5 * double(minimumSpan - span)));
    const qint64 lowest = std::numeric_limits<int>::min();
    const qint64 highest = std::numeric_limits<int>::max();
    return {int(std::max(lowest, start - pad)), int(std::min(highest, end + pad))};
}
