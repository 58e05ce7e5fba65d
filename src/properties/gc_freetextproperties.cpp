#include "gc_freetextproperties.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_freetext.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTextEdit>
#include <QTreeWidget>

namespace {
const QList<int> anchorCodes = {0, 1, 2};
} // namespace

GC_FreeTextProperties::GC_FreeTextProperties(GC_FreeText *text)
    : text(text)
{
}

void GC_FreeTextProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_FreeText *t = text;
    name = newTextEdit([this, t] { t->setText(name->toPlainText()); });
    x = newDoubleSpinBox(-99999.0, 99999.0, QString(), [this, t] { t->setX(x->value()); });
    y = newDoubleSpinBox(-99999.0, 99999.0, QString(), [this, t] { t->setY(y->value()); });
    angle = newDoubleSpinBox(0.0, 360.0, QString(), [this, t] { t->setAngle(angle->value()); });
    anchor = newComboBox({"Left", "Center", "Right"}, [this, t] {
        const int index = anchor->currentIndex();
        if (index >= 0 && index < anchorCodes.size())
            t->setPositionFlag(anchorCodes.at(index));
    });
    color = newColorPicker([this, t] { t->setColor(color->color()); });
    font = newFontPicker([this, t] { t->setFont(font->font()); });

    QTreeWidgetItem *top = addTopLevel(tree, "Free text");
    top->setSizeHint(1, color->sizeHint());
    addRow(top, "Name", name);
    addRow(top, "X", x);
    addRow(top, "Y", y);
    addRow(top, "Angle", angle);
    addRow(top, "Anchor", anchor);
    addRow(top, "Color", color);
    addRow(top, "Font", font);

    fill();
    connectEditors(panel);
}

void GC_FreeTextProperties::fillEditors()
{
    setPlainText(name, text->text());
    x->setValue(text->x());
    y->setValue(text->y());
    angle->setValue(text->angle());
    selectCode(anchor, anchorCodes, text->positionFlag());
    color->setColor(text->color());
    font->setFont(text->font());
}
