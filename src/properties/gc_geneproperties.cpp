#include "gc_geneproperties.h"

#include "gc_colorpicker.h"
#include "gc_gene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <limits>

namespace {
const QList<int> orientationCodes = {1, -1};
const QList<int> styleCodes = {0, 1};
constexpr int kMaxNuc = std::numeric_limits<int>::max();
constexpr double kMaxPixels = 99999.0;
} // namespace

GC_GeneProperties::GC_GeneProperties(GC_Gene *gene)
    : gene(gene)
{
}

void GC_GeneProperties::writeRange()
{
    gene->setCoords(GC_Interval(from->value(), to->value()));
}

void GC_GeneProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Gene *g = gene;
    name = newTextEdit([this, g] { g->setName(name->toPlainText()); });
    from = newSpinBox(1, kMaxNuc, " bp", [this] { writeRange(); });
    to = newSpinBox(1, kMaxNuc, " bp", [this] { writeRange(); });
    y = newDoubleSpinBox(-99999.0, 99999.0, QString(), [this, g] { g->setY(y->value()); });
    orientation = newComboBox({"Forward", "Reverse"}, [this, g] {
        g->setOrientation(orientationCodes.value(orientation->currentIndex(), 1));
    });
    showText = newCheckBox([this, g] { g->setShowText(showText->isChecked()); });
    heightBig = newDoubleSpinBox(0.0, kMaxPixels, " bp", [this, g] {
        g->setHeightBig(heightBig->value());
    });
    heightSmall = newDoubleSpinBox(0.0, kMaxPixels, " bp", [this, g] {
        g->setHeightSmall(heightSmall->value());
    });
    headLength = newDoubleSpinBox(0.0, kMaxPixels, " bp", [this, g] {
        g->setHeadLength(headLength->value());
    });
    lineColor = newColorPicker([this, g] { g->setLineColor(lineColor->color()); });
    fillColor = newColorPicker([this, g] { g->setFillColor(fillColor->color()); });
    arrowStyle = newComboBox({"Rectangular", "Arrow"}, [this, g] {
        g->setArrowStyle(styleCodes.value(arrowStyle->currentIndex(), 0));
    });

    QTreeWidgetItem *top = addTopLevel(tree, "Gene");
    top->setSizeHint(1, lineColor->sizeHint());
    addRow(top, "Name", name);
    addRow(top, "From", from);
    addRow(top, "To", to);
    lengthRow = addTextRow(top, "Length");
    addRow(top, "Y", y);
    addRow(top, "Orientation", orientation);
    addRow(top, "Show text", showText);
    QTreeWidgetItem *segment = addGroup(top, "Segment");
    addRow(segment, "Head height", heightBig);
    addRow(segment, "Head length", headLength);
    addRow(segment, "Width", heightSmall);
    addRow(segment, "Line color", lineColor);
    addRow(segment, "Fill color", fillColor);
    addRow(segment, "Style", arrowStyle);

    fill();
    connectEditors(panel);
}

void GC_GeneProperties::fillEditors()
{
    setPlainText(name, gene->getName());
    const GC_Interval range = gene->getCoords();
    // Lift the bounds of an earlier fill so neither end is clipped.
    from->setMaximum(kMaxNuc);
    to->setMinimum(1);
    from->setValue(range.start());
    to->setValue(range.end());
    from->setMaximum(to->value());
    to->setMinimum(from->value());
    lengthRow->setText(1, QString::number(range.length()));
    y->setValue(gene->y());
    selectCode(orientation, orientationCodes, gene->getOrientation());
    showText->setChecked(gene->getShowText());
    heightBig->setValue(gene->getHeightBig());
    heightSmall->setMaximum(kMaxPixels);
    heightSmall->setValue(gene->getHeightSmall());
    heightSmall->setMaximum(gene->getHeightBig());
    headLength->setValue(gene->getHeadLength());
    lineColor->setColor(gene->getLineColor());
    fillColor->setColor(gene->getFillColor());
    selectCode(arrowStyle, styleCodes, gene->getArrowStyle());
}

void GC_GeneProperties::fix()
{
    const QSignalBlocker fromBlocker(from);
    const QSignalBlocker toBlocker(to);
    const QSignalBlocker widthBlocker(heightSmall);
    from->setMaximum(to->value());
    to->setMinimum(from->value());
    heightSmall->setMaximum(gene->getHeightBig());
    lengthRow->setText(1, QString::number(gene->getCoords().length()));
}
