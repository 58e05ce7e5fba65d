#include "gc_genomelengthcontrolpoint.h"

#include "gc_genome.h"

GC_GenomeLengthControlPoint::GC_GenomeLengthControlPoint(GC_Genome *genome)
    : GC_ControlPoint(genome)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
}

GC_Genome *GC_GenomeLengthControlPoint::getGenome() const
{
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
}

double GC_GenomeLengthControlPoint::boundX(double x)
{
    return getGenome()->limitControlPointX(this, x);
}

void GC_GenomeLengthControlPoint::ownerMoved()
{
    getGenome()->updatePixPerNucFromControlPoints(this);
}
