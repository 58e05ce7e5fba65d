#include "gc_genecontrolpoint.h"

#include "gc_gene.h"

GC_GeneControlPoint::GC_GeneControlPoint(GC_Gene *gene)
    : GC_ControlPoint(gene)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
}

GC_Gene *GC_GeneControlPoint::getGene() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENE ? static_cast<GC_Gene *>(parent) : nullptr;
}

double GC_GeneControlPoint::boundX(double x)
{
    return getGene()->boundControlPointX(this, x);
}

void GC_GeneControlPoint::ownerMoved()
{
    getGene()->controlPointMoved(this);
}
