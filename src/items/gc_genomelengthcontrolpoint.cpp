#include "gc_genomelengthcontrolpoint.h"

#include "gc_genome.h"

GC_GenomeLengthControlPoint::GC_GenomeLengthControlPoint(GC_Genome *genome)
    : GC_ControlPoint(genome)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
}

GC_Genome *GC_GenomeLengthControlPoint::getGenome() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(parent)
                                                         : nullptr;
}

double GC_GenomeLengthControlPoint::boundX(double x)
{
    return getGenome()->limitControlPointX(this, x);
}

void GC_GenomeLengthControlPoint::ownerMoved()
{
    getGenome()->updatePixPerNucFromControlPoints(this);
}
