#include "gc_arrowpropertyset.h"

#include "gc_colorpicker.h"
#include "gc_sequencearrowitem.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>

namespace {
const QList<int> styleCodes = {0, 1};
constexpr double kMaxPixels = 99999.0;
} // namespace

GC_ArrowPropertySet::GC_ArrowPropertySet(GC_SequenceArrowItem *arrow)
    : arrow(arrow)
{
}

void GC_ArrowPropertySet::newArrowEditors(const QString &suffix, const QStringList &styles)
{
    GC_SequenceArrowItem *a = arrow;
    heightBig = newDoubleSpinBox(0.0, kMaxPixels, suffix, [this, a] {
        a->setHeightBig(heightBig->value());
    });
    heightSmall = newDoubleSpinBox(0.0, kMaxPixels, suffix, [this, a] {
        a->setHeightSmall(heightSmall->value());
    });
    headLength = newDoubleSpinBox(0.0, kMaxPixels, suffix, [this, a] {
        a->setHeadLength(headLength->value());
    });
    lineColor = newColorPicker([this, a] { a->setLineColor(lineColor->color()); });
    fillColor = newColorPicker([this, a] { a->setFillColor(fillColor->color()); });
    arrowStyle = newComboBox(styles, [this, a] {
        a->setArrowStyle(styleCodes.value(arrowStyle->currentIndex(), 0));
    });
}

void GC_ArrowPropertySet::fillArrowEditors()
{
    heightBig->setValue(arrow->getHeightBig());
    headLength->setValue(arrow->getHeadLength());
    // Lift the limit of an earlier fill so the new value is not clipped.
    heightSmall->setMaximum(kMaxPixels);
    heightSmall->setValue(arrow->getHeightSmall());
    heightSmall->setMaximum(arrow->getHeightBig());
    lineColor->setColor(arrow->getLineColor());
    fillColor->setColor(arrow->getFillColor());
    selectCode(arrowStyle, styleCodes, arrow->getArrowStyle());
}

void GC_ArrowPropertySet::limitArrowBody()
{
    const QSignalBlocker blocker(heightSmall);
    heightSmall->setMaximum(arrow->getHeightBig());
}
