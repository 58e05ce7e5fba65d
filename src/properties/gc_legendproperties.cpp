#include "gc_legendproperties.h"

#include "gc_legend.h"

#include <QCheckBox>
#include <QTreeWidget>

GC_LegendProperties::GC_LegendProperties(GC_Legend *legend)
    : legend(legend)
{
}

void GC_LegendProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Legend *l = legend;
    interactive = newCheckBox([this, l] { l->setReadOnly(!interactive->isChecked()); });
    QTreeWidgetItem *top = addTopLevel(tree, "Information box");
    addRow(top, "Interactive", interactive);
    fill();
    connectEditors(panel);
}

void GC_LegendProperties::fillEditors()
{
    interactive->setChecked(!legend->isReadOnly());
}
