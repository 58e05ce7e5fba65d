#include "gc_geneproperties.h"

#include "gc_colorpicker.h"
#include "gc_gene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTreeWidget>

namespace {
const QList<int> orientationCodes = {1, -1};
} // namespace

GC_GeneProperties::GC_GeneProperties(GC_Gene *gene)
    : GC_IntervalPropertySet(gene, gene)
{
}

void GC_GeneProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Gene *g = item;
    newIntervalEditors(" bp");
    orientation = newComboBox({"Forward", "Reverse"}, [this, g] {
        g->setOrientation(orientationCodes.value(orientation->currentIndex(), 1));
    });
    newArrowEditors(" bp", {"Rectangular", "Arrow"});

    QTreeWidgetItem *top = addTopLevel(tree, "Gene");
    top->setSizeHint(1, lineColor->sizeHint());
    addIntervalRows(top);
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
    fillIntervalEditors();
    selectCode(orientation, orientationCodes, item->getOrientation());
    fillArrowEditors();
}

void GC_GeneProperties::fix()
{
    fixInterval();
    limitArrowBody();
}
