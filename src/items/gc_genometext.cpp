#include "gc_genometext.h"

#include "gc_genome.h"
#include "gc_genomescene.h"

GC_GenomeText::GC_GenomeText(GC_Genome *genome)
    : GC_LabelItem(genome)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
}

GC_Genome *GC_GenomeText::getGenome() const
{
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
}

void GC_GenomeText::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    const GC_Genome *genome = getGenome();
    setVisible(owner && genome && genome->getShowText() && owner->showTexts());
}

QVariant GC_GenomeText::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionHasChanged && scene()) {
        if (GC_Genome *genome = getGenome())
            genome->updateTextX();
    }
    return GC_LabelItem::itemChange(change, value);
}
