#include "gc_selectionresume.h"

#include "gc_itemtypes.h"
#include "gc_log.h"

#include <QGraphicsItem>
#include <QtGlobal>

void GC_SelectionResume::countSelection(const QList<QGraphicsItem *> &items)
{
    *this = GC_SelectionResume();
    for (QGraphicsItem *item : items) {
        if (!item)
            continue;
        qCDebug(lcKestal, "GC_SelectionResume::countSelection(): Type: %d", item->type());
        // A label counts as the item it names, unless that item is selected
        // too and counts itself.
        const QGraphicsItem *named = gc_namedItem(item);
        if (named != item && named->isSelected())
            continue;
        switch (named->type()) {
        case ITEMTYPE_GENOME:
            ++m_genomes;
            break;
        case ITEMTYPE_MATCHING:
            ++m_matchings;
            break;
        case ITEMTYPE_GENE:
            ++m_genes;
            break;
        case ITEMTYPE_RULER:
            ++m_rulers;
            break;
        case ITEMTYPE_GCCONTENTBAR:
            ++m_gcContentBars;
            break;
        case ITEMTYPE_FREETEXT:
            ++m_freeTexts;
            break;
        case ITEMTYPE_ANOTATION:
            ++m_anotations;
            break;
        case ITEMTYPE_COGHOMOLOGIES:
            ++m_cogHomologies;
            break;
        case ITEMTYPE_RFAMHOMOLOGIES:
            ++m_rfamHomologies;
            break;
        case ITEMTYPE_RRNAHOMOLOGIES:
            ++m_rrnaHomologies;
            break;
        case ITEMTYPE_LEGEND:
            ++m_legends;
            break;
        default:
            break; // handles, bare labels, items of no class of ours
        }
    }
}

int GC_SelectionResume::total() const
{
    return m_genomes + m_matchings + m_genes + m_rulers + m_gcContentBars + m_freeTexts
           + m_anotations + m_cogHomologies + m_rfamHomologies + m_rrnaHomologies + m_legends;
}
