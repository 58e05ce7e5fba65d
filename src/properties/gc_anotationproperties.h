#ifndef GC_ANOTATIONPROPERTIES_H
#define GC_ANOTATIONPROPERTIES_H

#include "gc_intervalpropertyset.h"

class GC_Anotation;

// The "Anotation" rows: id, name, range, length, vertical place, the box
// ("Rect") and the label ("Text").
class GC_AnotationProperties : public GC_IntervalPropertySet<GC_Anotation>
{
public:
    explicit GC_AnotationProperties(GC_Anotation *anotation);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;
    void fix() override;

protected:
    void fillEditors() override;

private:
    QTreeWidgetItem *idRow = nullptr;
    QDoubleSpinBox *height = nullptr;
    QDoubleSpinBox *textAngle = nullptr;
    QComboBox *textAnchor = nullptr;
    GC_ColorPicker *lineColor = nullptr;
    GC_ColorPicker *fillColor = nullptr;
    GC_ColorPicker *textColor = nullptr;
    GC_FontPicker *textFont = nullptr;
};

#endif
