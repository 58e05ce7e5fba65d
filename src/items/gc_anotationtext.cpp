#include "gc_anotationtext.h"

#include "gc_anotation.h"
#include "gc_genomescene.h"

GC_AnotationText::GC_AnotationText(GC_Anotation *anotation)
    : GC_LabelItem(anotation)
{
    setFlags(ItemIsMovable | ItemSendsGeometryChanges | ItemIsSelectable);
}

GC_Anotation *GC_AnotationText::getAnotation() const
{
    return gc_parentItemOfType<GC_Anotation>(this, ITEMTYPE_ANOTATION);
}

void GC_AnotationText::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    const GC_Anotation *anotation = getAnotation();
    if (!owner || !anotation)
        return;
    setVisible(anotation->getShowText() && owner->showTexts());
}

QVariant GC_AnotationText::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene()) {
        if (const GC_Anotation *anotation = getAnotation()) {
            const QRectF box = anotation->boundingRect();
            return QPointF(box.left() + 0.5 * box.width(), value.toPointF().y());
        }
    }
    return GC_LabelItem::itemChange(change, value);
}
