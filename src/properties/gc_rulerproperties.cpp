#include "gc_rulerproperties.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_ruler.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <limits>

namespace {
// Entry index -> stored code; the label codes do not follow list order.
const QList<int> orientationCodes = {0, 1, 2};
const QList<int> placementCodes = {0, 2, 1, 3};
constexpr double kMaxPixels = 99999.0;
} // namespace

GC_RulerProperties::GC_RulerProperties(GC_Ruler *ruler)
    : ruler(ruler)
{
}

void GC_RulerProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Ruler *r = ruler;
    orientation = newComboBox({"Up", "Center", "Down"}, [this, r] {
        const int index = orientation->currentIndex();
        if (index >= 0 && index < orientationCodes.size())
            r->setOrientation(orientationCodes.at(index));
    });
    placement = newComboBox({"Up", "Center", "Down", "Hidden"}, [this, r] {
        const int index = placement->currentIndex();
        if (index >= 0 && index < placementCodes.size())
            r->setTextPlacement(placementCodes.at(index));
    });
    lineVisible = newCheckBox([this, r] { r->setHorizontalLineVisible(lineVisible->isChecked()); });
    heightBig = newDoubleSpinBox(0.0, kMaxPixels, " px", [this, r] {
        r->setHeightBig(heightBig->value());
    });
    heightSmall = newDoubleSpinBox(0.0, kMaxPixels, " px", [this, r] {
        r->setHeightSmall(heightSmall->value());
    });
    separations = newSpinBox(1, std::numeric_limits<int>::max(), QString(), [this, r] {
        r->setPeriodsPerBigLine(separations->value());
    });
    lineColor = newColorPicker([this, r] { r->setLineColor(lineColor->color()); });
    textColor = newColorPicker([this, r] { r->setTextColor(textColor->color()); });
    textFont = newFontPicker([this, r] { r->setTextFont(textFont->font()); });

    QTreeWidgetItem *top = addTopLevel(tree, "Coordinates");
    top->setSizeHint(1, textColor->sizeHint());
    QTreeWidgetItem *lines = addGroup(top, "Lines");
    addRow(lines, "Horizontal Line Visible", lineVisible);
    addRow(lines, "Major tick", heightBig);
    addRow(lines, "Minor tick", heightSmall);
    addRow(lines, "Separations", separations);
    addRow(lines, "Orientation", orientation);
    addRow(lines, "Color", lineColor);
    QTreeWidgetItem *text = addGroup(top, "Text");
    addRow(text, "Placement", placement);
    addRow(text, "Color", textColor);
    addRow(text, "Font", textFont);

    fill();
    connectEditors(panel);
}

void GC_RulerProperties::fillEditors()
{
    selectCode(orientation, orientationCodes, ruler->getOrientation());
    selectCode(placement, placementCodes, ruler->getTextPlacement());
    lineVisible->setChecked(ruler->getHorizontalLineVisible());
    heightBig->setValue(ruler->getHeightBig());
    heightSmall->setMaximum(kMaxPixels);
    heightSmall->setValue(ruler->getHeightSmall());
    heightSmall->setMaximum(ruler->getHeightBig());
    separations->setValue(ruler->getPeriodsPerBigLine());
    lineColor->setColor(ruler->getLineColor());
    textColor->setColor(ruler->getTextColor());
    textFont->setFont(ruler->getTextFont());
}

void GC_RulerProperties::fix()
{
    const QSignalBlocker blocker(heightSmall);
    heightSmall->setMaximum(ruler->getHeightBig());
}
