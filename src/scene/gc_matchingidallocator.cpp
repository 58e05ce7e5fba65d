#include "gc_matchingidallocator.h"

#include "gc_genomematching.h"

GC_MatchingIdAllocator::GC_MatchingIdAllocator(const QList<GC_GenomeMatching *> &existing)
{
    m_used.reserve(existing.size());
    for (const GC_GenomeMatching *matching : existing)
        m_used.insert(matching->id());
}

void GC_MatchingIdAllocator::assign(GC_GenomeMatching *matching, int storedId)
{
    matching->setId(m_used.contains(storedId) ? GC_GenomeMatching::nextId : storedId);
    m_used.insert(matching->id());
}
