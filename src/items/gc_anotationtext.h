#ifndef GC_ANOTATIONTEXT_H
#define GC_ANOTATIONTEXT_H

#include "gc_itemtypes.h"
#include "gc_labelitem.h"

class GC_Anotation;

// The name label of an annotation; it slides vertically only, centred over
// the annotation's box.
class GC_AnotationText : public GC_LabelItem
{
public:
    explicit GC_AnotationText(GC_Anotation *anotation);
    int type() const override { return ITEMTYPE_ANOTATIONTEXT; }
    GC_Anotation *getAnotation() const;
    void updateVisibility();

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
};

#endif
