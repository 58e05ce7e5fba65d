#ifndef GC_ARROWPROPERTYSET_H
#define GC_ARROWPROPERTYSET_H

#include "gc_propertyset.h"

class GC_SequenceArrowItem;

// A property set for an item drawn as an arrow (genes and genomes): the
// editors of the arrow's shape, which each kind places under its own labels.
class GC_ArrowPropertySet : public GC_PropertySet
{
protected:
    explicit GC_ArrowPropertySet(GC_SequenceArrowItem *arrow);

    // Creates the shape editors in this order: head height (first: it
    // re-clamps the body height), body height, head length, line color, fill
    // color, style (entries for codes 0 and 1). Sizes carry the suffix.
    void newArrowEditors(const QString &suffix, const QStringList &styles);
    void fillArrowEditors();
    // The body can be no higher than the head.
    void limitArrowBody();

    QDoubleSpinBox *heightBig = nullptr;
    QDoubleSpinBox *headLength = nullptr;
    QDoubleSpinBox *heightSmall = nullptr;
    GC_ColorPicker *lineColor = nullptr;
    GC_ColorPicker *fillColor = nullptr;
    QComboBox *arrowStyle = nullptr;

private:
    GC_SequenceArrowItem *arrow;
};

#endif
