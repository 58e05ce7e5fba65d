#include "gc_geneproperties.h"

#include "gc_colorpicker.h"
#include "gc_gene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <limits>

namespace {
const QList<int> orientationCodes = {1, -1};
constexpr int kMaxNuc = std::numeric_limits<int>::max();
} // namespace

GC_GeneProperties::GC_GeneProperties(GC_Gene *gene)
    : GC_ArrowPropertySet(gene)
    , gene(gene)
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
    newArrowEditors(" bp", {"Rectangular", "Arrow"});

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
    fillRange(from, to, range);
    lengthRow->setText(1, QString::number(range.length()));
    y->setValue(gene->y());
    selectCode(orientation, orientationCodes, gene->getOrientation());
    showText->setChecked(gene->getShowText());
    fillArrowEditors();
}

void GC_GeneProperties::fix()
{
    limitRange(from, to);
    limitArrowBody();
    lengthRow->setText(1, QString::number(gene->getCoords().length()));
}
