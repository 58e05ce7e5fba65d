#include "gc_gccountindex.h"

#include <QtAlgorithms>

#include <algorithm>

GC_GCcountIndex::GC_GCcountIndex(const QString &sequence)
{
    build(sequence);
}

void GC_GCcountIndex::clear()
{
    m_length = 0;
    m_bits.clear();
    m_before.clear();
}

void GC_GCcountIndex::build(const QString &sequence)
{
    clear();
    m_length = sequence.size();
    const qsizetype blocks = (m_length + 63) / 64;
    m_bits.resize(blocks);
    m_before.resize(blocks + 1);
    const QChar *data = sequence.constData();
    qint64 running = 0;
    for (qsizetype b = 0; b < blocks; ++b) {
        m_before[b] = running;
        const qsizetype begin = b * 64;
        const qsizetype end = std::min<qsizetype>(begin + 64, m_length);
        quint64 bits = 0;
        for (qsizetype i = begin; i < end; ++i) {
            const char16_t c = data[i].unicode() | 0x20; // folds the case of letters
            if (c == u'g' || c == u'c')
                bits |= quint64(1) << (i - begin);
        }
        m_bits[b] = bits;
        running += qPopulationCount(bits);
    }
    m_before[blocks] = running;
}

qint64 GC_GCcountIndex::countBefore(qint64 n) const
{
    const qint64 block = n / 64;
    const int offset = int(n % 64);
    qint64 count = m_before[block];
    if (offset)
        count += qPopulationCount(m_bits[block] & ((quint64(1) << offset) - 1));
    return count;
}

qint64 GC_GCcountIndex::nucleotidesIn(qint64 first, qint64 last) const
{
    first = std::max<qint64>(first, 1);
    last = std::min(last, m_length);
    return last >= first ? last - first + 1 : 0;
}

qint64 GC_GCcountIndex::countGC(qint64 first, qint64 last) const
{
    first = std::max<qint64>(first, 1);
    last = std::min(last, m_length);
    if (last < first)
        return 0;
    return countBefore(last) - countBefore(first - 1);
}

double GC_GCcountIndex::fraction(qint64 first, qint64 last) const
{
    const qint64 n = nucleotidesIn(first, last);
    return n > 0 ? double(countGC(first, last)) / double(n) : -1.0;
}

qint64 GC_GCcountIndex::windowExtremes(qint64 from, qint64 to, qint64 window, double *minimum,
                                       double *maximum) const
{
    double lowest = 1.0;
    double highest = 0.0;
    qint64 windows = 0;
    window = std::max<qint64>(window, 1);
    from = std::max<qint64>(from, 1);
    to = std::min(to, m_length);
    for (qint64 i = from; i <= to; i += window) {
        const double f = fraction(i, std::min(i + window - 1, to));
        lowest = std::min(lowest, f);
        highest = std::max(highest, f);
        ++windows;
    }
    if (windows == 0)
        lowest = highest = 0.0;
    if (minimum)
        *minimum = lowest;
    if (maximum)
        *maximum = highest;
    return windows;
}
