#ifndef GC_RULERPROPERTIES_H
#define GC_RULERPROPERTIES_H

#include "gc_propertyset.h"

class GC_Ruler;

// The "Coordinates" rows of a ruler: base line, tick heights, separations,
// tick side and colour; label placement, colour and font.
class GC_RulerProperties : public GC_PropertySet
{
public:
    explicit GC_RulerProperties(GC_Ruler *ruler);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;
    void fix() override;

protected:
    void fillEditors() override;

private:
    GC_Ruler *ruler;
    QCheckBox *lineVisible = nullptr;
    QDoubleSpinBox *heightBig = nullptr;
    QDoubleSpinBox *heightSmall = nullptr;
    QSpinBox *separations = nullptr;
    QComboBox *orientation = nullptr;
    GC_ColorPicker *lineColor = nullptr;
    QComboBox *placement = nullptr;
    GC_ColorPicker *textColor = nullptr;
    GC_FontPicker *textFont = nullptr;
};

#endif
