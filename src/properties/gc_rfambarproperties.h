#ifndef GC_RFAMBARPROPERTIES_H
#define GC_RFAMBARPROPERTIES_H

#include "gc_propertyset.h"

class GC_RfamHomologies;

// The rows of an RFAM bar: its height and borders, then one entry per
// matched family, most hits first, with the family's show switch, colour
// and description button. The family settings are process-wide and go
// through the panel's RFAM slots, not through apply.
class GC_RfamBarProperties : public GC_PropertySet
{
public:
    explicit GC_RfamBarProperties(GC_RfamHomologies *bar);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;

protected:
    void fillEditors() override;

private:
    void addFamily(QTreeWidgetItem *parent, const QString &code, int count,
                   GC_ItemPropertiesWidget *panel);

    GC_RfamHomologies *bar;
    QDoubleSpinBox *height = nullptr;
    QCheckBox *borders = nullptr;
};

#endif
