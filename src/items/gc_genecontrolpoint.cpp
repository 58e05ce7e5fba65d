#include "gc_genecontrolpoint.h"

#include "gc_gene.h"

GC_GeneControlPoint::GC_GeneControlPoint(GC_Gene *gene)
    : GC_ControlPoint(gene)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
}

GC_Gene *GC_GeneControlPoint::getGene() const
{
    return gc_parentItemOfType<GC_Gene>(this, ITEMTYPE_GENE);
}

double GC_GeneControlPoint::boundX(double x)
{
    return getGene()->boundControlPointX(this, x);
}

void GC_GeneControlPoint::ownerMoved()
{
    getGene()->controlPointMoved(this);
}
