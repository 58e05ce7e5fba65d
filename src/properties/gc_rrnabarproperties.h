#ifndef GC_RRNABARPROPERTIES_H
#define GC_RRNABARPROPERTIES_H

#include "gc_propertyset.h"

class GC_rRNAHomologies;

// The rows of an rRNA bar: its height and borders.
class GC_rRNABarProperties : public GC_PropertySet
{
public:
    explicit GC_rRNABarProperties(GC_rRNAHomologies *bar);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;

protected:
    void fillEditors() override;

private:
    GC_rRNAHomologies *bar;
    QDoubleSpinBox *height = nullptr;
    QCheckBox *borders = nullptr;
};

#endif
