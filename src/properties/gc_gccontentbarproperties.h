#ifndef GC_GCCONTENTBARPROPERTIES_H
#define GC_GCCONTENTBARPROPERTIES_H

#include "gc_propertyset.h"

class GC_GCcontentBar;

// The "GC content" rows: position, height, window length, pen and brush,
// text colour and font.
class GC_GCcontentBarProperties : public GC_PropertySet
{
public:
    explicit GC_GCcontentBarProperties(GC_GCcontentBar *bar);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;

protected:
    void fillEditors() override;

private:
    GC_GCcontentBar *bar;
    QDoubleSpinBox *position = nullptr;
    QDoubleSpinBox *height = nullptr;
    QCheckBox *fillEnabled = nullptr;
    QCheckBox *outlineEnabled = nullptr;
    QSpinBox *window = nullptr;
    GC_ColorPicker *textColor = nullptr;
    GC_ColorPicker *outlineColor = nullptr;
    GC_ColorPicker *fillColor = nullptr;
    GC_FontPicker *font = nullptr;
};

#endif
