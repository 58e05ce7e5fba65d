#ifndef GC_FREETEXTPROPERTIES_H
#define GC_FREETEXTPROPERTIES_H

#include "gc_propertyset.h"

class GC_FreeText;

// The "Free text" rows: text, position, angle, anchor, colour and font.
class GC_FreeTextProperties : public GC_PropertySet
{
public:
    explicit GC_FreeTextProperties(GC_FreeText *text);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;

protected:
    void fillEditors() override;

private:
    GC_FreeText *text;
    QTextEdit *name = nullptr;
    QDoubleSpinBox *x = nullptr;
    QDoubleSpinBox *y = nullptr;
    QDoubleSpinBox *angle = nullptr;
    QComboBox *anchor = nullptr;
    GC_ColorPicker *color = nullptr;
    GC_FontPicker *font = nullptr;
};

#endif
