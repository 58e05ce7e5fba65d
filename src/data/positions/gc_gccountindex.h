#ifndef GC_GCCOUNTINDEX_H
#define GC_GCCOUNTINDEX_H

#include <QString>
#include <QVector>

// Counts of G and C letters over any stretch of a sequence in constant time.
// One bit per nucleotide (set for G or C, either case) and a running count
// every 64 nucleotides: a 10 Mb sequence takes about 2 MB and one pass.
// Positions are 1-based and inclusive, like nucleotide ranges.
class GC_GCcountIndex
{
public:
    GC_GCcountIndex() = default;
    explicit GC_GCcountIndex(const QString &sequence);

    void build(const QString &sequence);
    void clear();
    qint64 length() const { return m_length; }

    // G and C letters among nucleotides first..last, clipped to the sequence.
    qint64 countGC(qint64 first, qint64 last) const;
    // How many of first..last lie inside the sequence.
    qint64 nucleotidesIn(qint64 first, qint64 last) const;
    // GC fraction of first..last over the nucleotides that exist; -1 when none do.
    double fraction(qint64 first, qint64 last) const;

    // Smallest and largest GC fraction of the windows from, from + window, …
    // up to to. The last window may be shorter and is divided by its own
    // length. Without any window both are 0. Returns the number of windows.
    qint64 windowExtremes(qint64 from, qint64 to, qint64 window, double *minimum,
                          double *maximum) const;

private:
    // G and C letters among the first n nucleotides (0 <= n <= length).
    qint64 countBefore(qint64 n) const;

    qint64 m_length = 0;
    QVector<quint64> m_bits;
    QVector<qint64> m_before; // G and C letters before each 64-nucleotide block
};

#endif
