#include "gc_homologycoverage.h"

#include <algorithm>

GC_HomologyCoverage::GC_HomologyCoverage(int length)
    : m_claimed(std::max(length, 0), '\0')
{
}

void GC_HomologyCoverage::normalise(int a, int b, int *low, int *high) const
{
    *low = std::min(a, b);
    *high = std::min(std::max(a, b), length());
}

int GC_HomologyCoverage::coveredCount(int low, int high) const
{
    const int from = std::max(low, 0);
    const int to = std::min(high, length());
    if (from >= to)
        return 0;
    return int(std::count(m_claimed.cbegin() + from, m_claimed.cbegin() + to, '\1'));
}

bool GC_HomologyCoverage::claim(int low, int high)
{
    // Only possible when the shown range is shorter than the sequence.
    if (low > high || low > length())
        return false;
    const int span = high - low;
    if (span > 0 && double(coveredCount(low, high)) / span > 0.2)
        return false;
    const int from = std::max(low, 0);
    const int to = std::min(high, length());
    if (from < to)
        std::fill(m_claimed.begin() + from, m_claimed.begin() + to, '\1');
    return true;
}
