#include "gc_anotationproperties.h"

#include "gc_anotation.h"
#include "gc_colorpicker.h"
#include "gc_fontpicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTreeWidget>

namespace {
const QList<int> anchorCodes = {0, 1, 2};
} // namespace

GC_AnotationProperties::GC_AnotationProperties(GC_Anotation *anotation)
    : GC_IntervalPropertySet(anotation)
{
}

void GC_AnotationProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Anotation *a = item;
    newIntervalEditors(QString());
    height = newDoubleSpinBox(0.0, 99999.0, QString(), [this, a] { a->setHeight(height->value()); });
    textAngle = newDoubleSpinBox(0.0, 360.0, QString(), [this, a] {
        a->setTextAngle(textAngle->value());
    });
    textAnchor = newComboBox({"Left", "Center", "Right"}, [this, a] {
        const int index = textAnchor->currentIndex();
        if (index >= 0 && index < anchorCodes.size())
            a->setTextPositionFlag(anchorCodes.at(index));
    });
    lineColor = newColorPicker([this, a] { a->setLineColor(lineColor->color()); });
    fillColor = newColorPicker([this, a] { a->setFillColor(fillColor->color()); });
    textColor = newColorPicker([this, a] { a->setTextColor(textColor->color()); });
    textFont = newFontPicker([this, a] { a->setTextFont(textFont->font()); });

    QTreeWidgetItem *top = addTopLevel(tree, "Anotation");
    top->setSizeHint(1, textColor->sizeHint());
    idRow = addTextRow(top, "Id");
    addIntervalRows(top);
    addRow(top, "Show text", showText);
    QTreeWidgetItem *rect = addGroup(top, "Rect");
    addRow(rect, "Width", height);
    addRow(rect, "Line color", lineColor);
    addRow(rect, "Fill color", fillColor);
    QTreeWidgetItem *text = addGroup(top, "Text");
    addRow(text, "Angle", textAngle);
    addRow(text, "Anchor", textAnchor);
    addRow(text, "Color", textColor);
    addRow(text, "Font", textFont);

    fill();
    connectEditors(panel);
}

void GC_AnotationProperties::fillEditors()
{
    idRow->setText(1, QString::number(item->getId()));
    fillIntervalEditors();
    height->setValue(item->getHeight());
    textAngle->setValue(item->getTextAngle());
    selectCode(textAnchor, anchorCodes, item->getTextPositionFlag());
    lineColor->setColor(item->getLineColor());
    fillColor->setColor(item->getFillColor());
    textColor->setColor(item->getTextColor());
    textFont->setFont(item->getTextFont());
}

void GC_AnotationProperties::fix()
{
    fixInterval();
}
