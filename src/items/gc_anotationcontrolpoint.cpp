#include "gc_anotationcontrolpoint.h"

#include "gc_anotation.h"

GC_AnotationControlPoint::GC_AnotationControlPoint(GC_Anotation *anotation)
    : GC_ControlPoint(anotation)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges);
}

GC_Anotation *GC_AnotationControlPoint::getAnotation() const
{
    return gc_parentItemOfType<GC_Anotation>(this, ITEMTYPE_ANOTATION);
}

double GC_AnotationControlPoint::boundX(double x)
{
    return getAnotation()->boundControlPointX(this, x);
}

void GC_AnotationControlPoint::ownerMoved()
{
    getAnotation()->controlPointMoved(this);
}
