#ifndef GC_ITEMTYPES_H
#define GC_ITEMTYPES_H

#include <QGraphicsItem>

// Fixed type codes reported by the canvas items from type(); the scene, the
// selection summary and the property panel switch on them. 65541 is left
// unused on purpose (the selection summary counts it with the genes).
enum GC_ItemType {
    ITEMTYPE_MATCHING = QGraphicsItem::UserType + 1,
    ITEMTYPE_GENOME = QGraphicsItem::UserType + 2,
    ITEMTYPE_GENOMETEXT = QGraphicsItem::UserType + 3,
    ITEMTYPE_GENE = QGraphicsItem::UserType + 4,
    ITEMTYPE_RULER = QGraphicsItem::UserType + 6,
    ITEMTYPE_ANOTATION = QGraphicsItem::UserType + 7,
    ITEMTYPE_ANOTATIONTEXT = QGraphicsItem::UserType + 8,
    ITEMTYPE_FREETEXT = QGraphicsItem::UserType + 9,
    ITEMTYPE_GCCONTENTBAR = QGraphicsItem::UserType + 10,
    ITEMTYPE_COGHOMOLOGIES = QGraphicsItem::UserType + 11,
    ITEMTYPE_RFAMHOMOLOGIES = QGraphicsItem::UserType + 12,
    ITEMTYPE_RRNAHOMOLOGIES = QGraphicsItem::UserType + 13,
    ITEMTYPE_LEGEND = QGraphicsItem::UserType + 14
};

// The code after the gene's, kept for a gene's name label: no class reports
// it, but the selection summary and the label look-ups take it for one.
constexpr int ITEMTYPE_GENELABEL = ITEMTYPE_GENE + 1;

// The item's parent as its owner class when the parent reports the owner's
// code, otherwise null: how a gene, label, ruler or handle finds its owner.
template <class Owner>
Owner *gc_parentItemOfType(const QGraphicsItem *item, int ownerType)
{
    QGraphicsItem *parent = item->parentItem();
    return parent && parent->type() == ownerType ? static_cast<Owner *>(parent) : nullptr;
}

// A name label stands for the item it names (genome, gene or annotation):
// that item for such a label, the item itself otherwise. Whatever reads a
// selection or the item under the cursor (the selection summary, the
// context menu, the commands, the property panel, the style tool) goes
// through this one rule.
inline QGraphicsItem *gc_namedItem(QGraphicsItem *item)
{
    const int code = item->type();
    const bool nameLabel = code == ITEMTYPE_GENOMETEXT || code == ITEMTYPE_ANOTATIONTEXT
                           || code == ITEMTYPE_GENELABEL;
    return nameLabel && item->parentItem() ? item->parentItem() : item;
}

#endif
