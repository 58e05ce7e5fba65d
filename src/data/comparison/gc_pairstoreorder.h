#ifndef GC_PAIRSTOREORDER_H
#define GC_PAIRSTOREORDER_H

#include <QString>
#include <QVector>

// Keeps the pairs of a comparison in the order they were given while they
// end in any order: a pair's rows may be stored only once every earlier
// pair has ended and been dealt with (stored, failed or dropped). A pair
// that ends before its turn is held by the name of the file that keeps its
// output until then; nothing of the output itself is held here.
class GC_PairStoreOrder
{
public:
    // A new run of pairCount pairs, none of them ended; the pairs before
    // firstPair are not part of it.
    void start(int pairCount, int firstPair = 0);

    // Whether every pair before pairIndex has been dealt with.
    bool isTurnOf(int pairIndex) const { return pairIndex == m_next; }
    // The pair has been dealt with: stored, failed or dropped.
    void settle(int pairIndex);
    // The pair ended before its turn; resultFile keeps its output.
    void hold(int pairIndex, const QString &resultFile);
    // When the pair whose turn has come is held: true, with its index and
    // file, and the pair counts as dealt with.
    bool takeNextHeld(int *pairIndex, QString *resultFile);

private:
    void moveOn();

    QVector<bool> m_settled;
    QVector<QString> m_heldFiles; // by pair index; empty unless held
    int m_next = 0;               // the first pair not dealt with
};

#endif
