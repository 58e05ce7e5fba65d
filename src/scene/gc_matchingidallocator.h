#ifndef GC_MATCHINGIDALLOCATOR_H
#define GC_MATCHINGIDALLOCATOR_H

#include <QList>
#include <QSet>

class GC_GenomeMatching;

// Keeps matching ids unique while rows are read into a scene that may
// already hold matchings: a stored id that is taken (row numbers restart in
// every comparison database, older canvases joined several comparisons)
// gives way to the next free one.
class GC_MatchingIdAllocator
{
public:
    explicit GC_MatchingIdAllocator(const QList<GC_GenomeMatching *> &existing);

    // Gives matching the stored id, or the next free one when it is taken.
    void assign(GC_GenomeMatching *matching, int storedId);

private:
    QSet<int> m_used;
};

#endif
