#ifndef GC_GENEPROPERTIES_H
#define GC_GENEPROPERTIES_H

#include "gc_arrowpropertyset.h"
#include "gc_intervalpropertyset.h"

class GC_Gene;

// The "Gene" rows: name, range, length, vertical place, orientation, text
// switch and the arrow ("Segment").
class GC_GeneProperties : public GC_IntervalPropertySet<GC_Gene, GC_ArrowPropertySet>
{
public:
    explicit GC_GeneProperties(GC_Gene *gene);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;
    void fix() override;

protected:
    void fillEditors() override;

private:
    QComboBox *orientation = nullptr;
};

#endif
