#ifndef GC_GENOMETEXT_H
#define GC_GENOMETEXT_H

#include "gc_itemtypes.h"
#include "gc_labelitem.h"

class GC_Genome;

// The name label of a genome; the user may drag it anywhere, and the genome
// remembers its horizontal place as a fraction of its length.
class GC_GenomeText : public GC_LabelItem
{
public:
    explicit GC_GenomeText(GC_Genome *genome);
    int type() const override { return ITEMTYPE_GENOMETEXT; }
    GC_Genome *getGenome() const;
    void updateVisibility();

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
};

#endif
