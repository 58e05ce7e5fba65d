#ifndef GC_GENECONTROLPOINT_H
#define GC_GENECONTROLPOINT_H

#include "gc_controlpoint.h"
#include "gc_itemtypes.h"

class GC_Gene;

// Handle at one end of a gene; dragging it changes the gene's interval.
class GC_GeneControlPoint : public GC_ControlPoint
{
public:
    explicit GC_GeneControlPoint(GC_Gene *gene);
    GC_Gene *getGene() const;

protected:
    bool hasOwner() const override { return getGene() != nullptr; }
    double boundX(double x) override;
    void ownerMoved() override;
};

#endif
