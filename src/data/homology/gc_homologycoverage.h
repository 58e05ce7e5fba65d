#ifndef GC_HOMOLOGYCOVERAGE_H
#define GC_HOMOLOGYCOVERAGE_H

#include <QByteArray>

// The positions of a genome already claimed by the hits of one search, one
// byte per nucleotide. Hits are offered in BLAST's output order; a hit is
// dropped when more than a fifth of its span lies under hits claimed before
// it. A hit that passes claims its span at once, even if it is refused
// later for another reason.
class GC_HomologyCoverage
{
public:
    // Positions 1..length (the last nucleotide of the genome's range).
    explicit GC_HomologyCoverage(int length);

    int length() const { return int(m_claimed.size()); }

    // Orders the ends and cuts the larger one to length(): the hit as the
    // search keeps it.
    void normalise(int a, int b, int *low, int *high) const;

    // Offers the hit low..high (low <= high, as normalise() gives them).
    // False when it starts beyond the genome's range or more than a fifth
    // of its span (high - low) is already claimed; true otherwise, and its
    // positions are claimed. The half-open array range [low, high) is what
    // counts, as BLAST's numbers index it.
    bool claim(int low, int high);

    // Claimed entries in [low, high), clipped to the array.
    int coveredCount(int low, int high) const;

private:
    QByteArray m_claimed;
};

#endif
