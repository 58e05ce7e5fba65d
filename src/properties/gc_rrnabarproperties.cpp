#include "gc_rrnabarproperties.h"

#include "gc_rrnahomologies.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QTreeWidget>

GC_rRNABarProperties::GC_rRNABarProperties(GC_rRNAHomologies *bar)
    : bar(bar)
{
}

void GC_rRNABarProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_rRNAHomologies *b = bar;
    height = newDoubleSpinBox(5.0, 99999.0, QString(), [this, b] { b->setHeight(height->value()); });
    height->setSingleStep(5.0);
    borders = newCheckBox([this, b] { b->setHorizontalBorders(borders->isChecked()); });

    QTreeWidgetItem *top = addTopLevel(tree, "rRNA bar");
    top->setSizeHint(1, height->sizeHint());
    addRow(top, "Height", height);
    addRow(top, "Horizontal borders", borders);
    fill();
    connectEditors(panel);
}

void GC_rRNABarProperties::fillEditors()
{
    height->setValue(bar->height());
    borders->setChecked(bar->horizontalBorders());
}
