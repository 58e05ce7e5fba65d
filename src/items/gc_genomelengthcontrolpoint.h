#ifndef GC_GENOMELENGTHCONTROLPOINT_H
#define GC_GENOMELENGTHCONTROLPOINT_H

#include "gc_controlpoint.h"
#include "gc_itemtypes.h"

class GC_Genome;

// Handle at one end of a genome; dragging it stretches or shrinks the arrow
// (changes pixels per nucleotide), never the range.
class GC_GenomeLengthControlPoint : public GC_ControlPoint
{
public:
    explicit GC_GenomeLengthControlPoint(GC_Genome *genome);
    GC_Genome *getGenome() const;

protected:
    bool hasOwner() const override { return getGenome() != nullptr; }
    double boundX(double x) override;
    void ownerMoved() override;
};

#endif
