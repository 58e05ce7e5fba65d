#ifndef GC_ANOTATIONPROPERTIES_H
#define GC_ANOTATIONPROPERTIES_H

#include "gc_propertyset.h"

class GC_Anotation;

// The "Anotation" rows: id, name, range, length, vertical place, the box
// ("Rect") and the label ("Text").
class GC_AnotationProperties : public GC_PropertySet
{
public:
    explicit GC_AnotationProperties(GC_Anotation *anotation);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;
    void fix() override;

protected:
    void fillEditors() override;

private:
    void writeRange();

    GC_Anotation *anotation;
    QTreeWidgetItem *idRow = nullptr;
    QTreeWidgetItem *lengthRow = nullptr;
    QTextEdit *name = nullptr;
    QSpinBox *from = nullptr;
    QSpinBox *to = nullptr;
    QDoubleSpinBox *y = nullptr;
    QDoubleSpinBox *height = nullptr;
    QCheckBox *showText = nullptr;
    QDoubleSpinBox *textAngle = nullptr;
    QComboBox *textAnchor = nullptr;
    GC_ColorPicker *lineColor = nullptr;
    GC_ColorPicker *fillColor = nullptr;
    GC_ColorPicker *textColor = nullptr;
    GC_FontPicker *textFont = nullptr;
};

#endif
