#include "gc_gccontentbarproperties.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_gccontentbar.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTreeWidget>
#include <limits>

GC_GCcontentBarProperties::GC_GCcontentBarProperties(GC_GCcontentBar *bar)
    : bar(bar)
{
}

void GC_GCcontentBarProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_GCcontentBar *b = bar;
    position = newDoubleSpinBox(-99999.0, 99999.0, QString(), [this, b] { b->setY(position->value()); });
    height = newDoubleSpinBox(30.0, 99999.0, QString(), [this, b] { b->setHeight(height->value()); });
    height->setSingleStep(5.0);
    fillEnabled = newCheckBox([this, b] { b->setFillEnabled(fillEnabled->isChecked()); });
    outlineEnabled = newCheckBox([this, b] { b->setOutlineEnabled(outlineEnabled->isChecked()); });
    // The minimum, 4, stands for the smallest window the bar takes (5).
    window = newSpinBox(4, std::numeric_limits<int>::max(), " bp", [this, b] {
        b->computeGCcontent(window->value());
    });
    window->setSpecialValueText(label("Automatic"));
    window->setSingleStep(100);
    outlineColor = newColorPicker([this, b] { b->setOutlineColor(outlineColor->color()); });
    fillColor = newColorPicker([this, b] { b->setFillColor(fillColor->color()); });
    textColor = newColorPicker([this, b] { b->setTextColor(textColor->color()); });
    font = newFontPicker([this, b] { b->setFont(font->font()); });

    QTreeWidgetItem *top = addTopLevel(tree, "GC content");
    top->setSizeHint(1, textColor->sizeHint());
    addRow(top, "Position", position);
    addRow(top, "Height", height);
    addRow(top, "Window length", window);
    QTreeWidgetItem *pen = addGroup(top, "Pen & Brush");
    addRow(pen, "Border", outlineEnabled);
    addRow(pen, "Fill", fillEnabled);
    addRow(pen, "Border color", outlineColor);
    addRow(pen, "Fill color", fillColor);
    QTreeWidgetItem *text = addGroup(top, "Text");
    addRow(text, "Color", textColor);
    addRow(text, "Font", font);

    fill();
    connectEditors(panel);
}

void GC_GCcontentBarProperties::fillEditors()
{
    position->setValue(bar->y());
    height->setValue(bar->height());
    window->setValue(bar->windowSize());
    fillColor->setColor(bar->fillColor());
    outlineColor->setColor(bar->outlineColor());
    textColor->setColor(bar->textColor());
    font->setFont(bar->font());
    fillEnabled->setChecked(bar->fillEnabled());
    outlineEnabled->setChecked(bar->outlineEnabled());
}
