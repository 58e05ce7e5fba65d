#include "gc_pairstoreorder.h"

void GC_PairStoreOrder::start(int pairCount, int firstPair)
{
    m_settled.fill(false, pairCount);
    m_heldFiles.fill(QString(), pairCount);
    m_next = qBound(0, firstPair, pairCount);
}

void GC_PairStoreOrder::settle(int pairIndex)
{
    m_settled[pairIndex] = true;
    m_heldFiles[pairIndex].clear();
    moveOn();
}

void GC_PairStoreOrder::hold(int pairIndex, const QString &resultFile)
{
    m_heldFiles[pairIndex] = resultFile;
}

bool GC_PairStoreOrder::takeNextHeld(int *pairIndex, QString *resultFile)
{
    if (m_next >= m_heldFiles.size() || m_heldFiles.at(m_next).isEmpty())
        return false;
    *pairIndex = m_next;
    *resultFile = m_heldFiles.at(m_next);
    settle(m_next);
    return true;
}

void GC_PairStoreOrder::moveOn()
{
    while (m_next < m_settled.size() && m_settled.at(m_next))
        ++m_next;
}
