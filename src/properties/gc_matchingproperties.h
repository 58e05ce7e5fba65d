#ifndef GC_MATCHINGPROPERTIES_H
#define GC_MATCHINGPROPERTIES_H

#include "gc_propertyset.h"

class GC_GenomeMatching;

// The "Matching" rows: scores and both matched stretches, read-only, and
// the band's fill colour.
class GC_MatchingProperties : public GC_PropertySet
{
public:
    explicit GC_MatchingProperties(GC_GenomeMatching *matching);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;

protected:
    void fillEditors() override;

private:
    struct Stretch
    {
        QTreeWidgetItem *name = nullptr;
        QTreeWidgetItem *from = nullptr;
        QTreeWidgetItem *to = nullptr;
        QTreeWidgetItem *length = nullptr;
    };
    Stretch addStretch(QTreeWidgetItem *parent, const char *text);

    GC_GenomeMatching *matching;
    QTreeWidgetItem *similarity = nullptr;
    QTreeWidgetItem *bitScore = nullptr;
    Stretch top;
    Stretch low;
    GC_ColorPicker *color = nullptr;
};

#endif
