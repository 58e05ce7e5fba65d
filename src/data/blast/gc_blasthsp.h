#ifndef GC_BLASTHSP_H
#define GC_BLASTHSP_H

#include <QByteArray>

// One high-scoring segment pair of a BLAST XML report: coordinates as BLAST
// gives them (hitFrom > hitTo for a hit on the target's reverse strand).
struct GC_BlastHsp
{
    double bitScore = 0;
    int hitFrom = 0;
    int hitTo = 0;
    int queryFrom = 0;
    int queryTo = 0;
    int identity = 0;
    int alignLength = 0;
    QByteArray querySequence;
    QByteArray hitSequence;

    // Whole percent identity, rounded down; 0 for an empty alignment.
    int similarity() const
    {
        return alignLength > 0 ? int(qint64(identity) * 100 / alignLength) : 0;
    }
};

#endif
