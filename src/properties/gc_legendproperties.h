#ifndef GC_LEGENDPROPERTIES_H
#define GC_LEGENDPROPERTIES_H

#include "gc_propertyset.h"

class GC_Legend;

// The "Information box" rows: whether the bubble's text can be edited on
// the canvas. Legends are not part of the saved document.
class GC_LegendProperties : public GC_PropertySet
{
public:
    explicit GC_LegendProperties(GC_Legend *legend);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;
    bool changesDocument() const override { return false; }

protected:
    void fillEditors() override;

private:
    GC_Legend *legend;
    QCheckBox *interactive = nullptr;
};

#endif
