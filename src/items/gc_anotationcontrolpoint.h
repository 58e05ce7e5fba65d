#ifndef GC_ANOTATIONCONTROLPOINT_H
#define GC_ANOTATIONCONTROLPOINT_H

#include "gc_controlpoint.h"
#include "gc_itemtypes.h"

class GC_Anotation;

// Handle at one end of an annotation; dragging it changes its range.
class GC_AnotationControlPoint : public GC_ControlPoint
{
public:
    explicit GC_AnotationControlPoint(GC_Anotation *anotation);
    GC_Anotation *getAnotation() const;

protected:
    bool hasOwner() const override { return getAnotation() != nullptr; }
    double boundX(double x) override;
    void ownerMoved() override;
};

#endif
