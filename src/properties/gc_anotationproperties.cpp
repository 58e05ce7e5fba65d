#include "gc_anotationproperties.h"

#include "gc_anotation.h"
#include "gc_colorpicker.h"
#include "gc_fontpicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <limits>

namespace {
const QList<int> anchorCodes = {0, 1, 2};
constexpr int kMaxNuc = std::numeric_limits<int>::max();
} // namespace

GC_AnotationProperties::GC_AnotationProperties(GC_Anotation *anotation)
    : anotation(anotation)
{
}

void GC_AnotationProperties::writeRange()
{
    anotation->setCoords(GC_Interval(from->value(), to->value()));
}

void GC_AnotationProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Anotation *a = anotation;
    name = newTextEdit([this, a] { a->setName(name->toPlainText()); });
    from = newSpinBox(1, kMaxNuc, QString(), [this] { writeRange(); });
    to = newSpinBox(1, kMaxNuc, QString(), [this] { writeRange(); });
    y = newDoubleSpinBox(-99999.0, 99999.0, QString(), [this, a] { a->setY(y->value()); });
    height = newDoubleSpinBox(0.0, 99999.0, QString(), [this, a] { a->setHeight(height->value()); });
    showText = newCheckBox([this, a] { a->setShowText(showText->isChecked()); });
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
    addRow(top, "Name", name);
    addRow(top, "From", from);
    addRow(top, "To", to);
    lengthRow = addTextRow(top, "Length");
    addRow(top, "Y", y);
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
    idRow->setText(1, QString::number(anotation->getId()));
    setPlainText(name, anotation->getName());
    const GC_Interval range = anotation->getCoords();
    fillRange(from, to, range);
    lengthRow->setText(1, QString::number(range.length()));
    y->setValue(anotation->y());
    height->setValue(anotation->getHeight());
    showText->setChecked(anotation->getShowText());
    textAngle->setValue(anotation->getTextAngle());
    selectCode(textAnchor, anchorCodes, anotation->getTextPositionFlag());
    lineColor->setColor(anotation->getLineColor());
    fillColor->setColor(anotation->getFillColor());
    textColor->setColor(anotation->getTextColor());
    textFont->setFont(anotation->getTextFont());
}

void GC_AnotationProperties::fix()
{
    limitRange(from, to);
    lengthRow->setText(1, QString::number(anotation->getCoords().length()));
}
