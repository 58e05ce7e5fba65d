#ifndef GC_POSITIONINDEX_H
#define GC_POSITIONINDEX_H

#include "gc_interval.h"

#include <QVector>

#include <utility>

// Which hit of a homology bar covers each genome position: one int per
// nucleotide in a dense array, so a 5 Mb genome costs 20 MB rather than the
// hundreds an ordered map would. A position either has no entry, or holds
// -1 (in the genome's range, uncovered) or the key of the covering hit.
// The array grows, in large steps, when a hit or its hover zone reaches
// beyond it. Copies share the array until one of them changes.
class GC_PositionIndex
{
public:
    // The value of a position in the range that no hit covers.
    static constexpr int noHit = -1;
    // The most positions the index may span; a hit that would stretch it
    // further is refused (a corrupt row must not exhaust memory).
    static constexpr qint64 maxSpan = 100000000;

    bool isEmpty() const { return m_entries == 0; }
    // Number of positions that have an entry (-1 or a key).
    qint64 size() const { return m_entries; }
    void clear();

    // The entry of a position: a key, -1, or -1 when it has none.
    int value(int position) const;
    bool contains(int position) const;
    // Whether fill(from, to, ...) stays within maxSpan.
    bool canFill(int from, int to) const;
    // Gives every position from..to (inclusive, from <= to) the value.
    // False, with nothing changed, when that would exceed maxSpan.
    bool fill(int from, int to, int value);

    // A bar's hit zone: the first zone also gives every position of the
    // genome's shown range (when valid) the value -1. False, with nothing
    // changed, when the index would span more than maxSpan.
    bool canAddZone(const GC_Interval &range, int from, int to) const;
    bool addZone(const GC_Interval &range, int from, int to, int key);
    // Gives every position of range the value -1 while the index is empty
    // (and range valid), as the first zone does.
    void seed(const GC_Interval &range);

    // The hover zone of a hit from start to end (start <= end): the hit
    // itself, widened evenly to span at least minimumSpan when shorter
    // (a one-position hit gets minimumSpan + 1 positions).
    static std::pair<int, int> hoverZone(int start, int end, int minimumSpan);

    // Calls f(position, value) for every entry in position order.
    template <typename F>
    void forEachEntry(F f) const
    {
        const int *data = m_values.constData();
        for (qsizetype i = 0; i < m_values.size(); ++i) {
            if (data[i] != noEntry)
                f(m_first + int(i), data[i]);
        }
    }

    // First and last position the array spans (entries or not).
    int firstPosition() const { return m_first; }
    int lastPosition() const { return m_first + int(m_values.size()) - 1; }

private:
    // Marks array slots that are no entry at all (grown but never filled).
    static constexpr int noEntry = -2;
    bool reserveSpan(int from, int to);

    QVector<int> m_values;
    int m_first = 0;
    qint64 m_entries = 0;
};

#endif
