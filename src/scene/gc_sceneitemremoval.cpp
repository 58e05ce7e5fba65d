#include "gc_sceneitemremoval.h"

#include "gc_anotation.h"
#include "gc_freetext.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"

#include <QMessageBox>
#include <QSet>

namespace {

bool askYesNo(const QString &title, const QString &text)
{
    return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}

// The item and every item below it.
void collectWithDescendants(QGraphicsItem *item, QSet<QGraphicsItem *> &into)
{
    into.insert(item);
    const QList<QGraphicsItem *> children = item->childItems();
    for (QGraphicsItem *child : children)
        collectWithDescendants(child, into);
}

} // namespace

GC_SceneItemRemoval::GC_SceneItemRemoval(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

GC_SceneItemRemoval::Outcome GC_SceneItemRemoval::removeSelected()
{
    // A snapshot, since deleting changes the selection. Deleting an item
    // deletes its children, which may be in the snapshot too: they are
    // remembered as gone and skipped.
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    if (selected.isEmpty()) {
        QMessageBox::warning(nullptr, "No items", "No selected items to remove\n",
                             QMessageBox::Close);
        return {};
    }
    QSet<QGraphicsItem *> gone;
    Outcome outcome;
    for (QGraphicsItem *picked : selected) {
        if (gone.contains(picked))
            continue;
        QGraphicsItem *item = gc_namedItem(picked);
        if (gone.contains(item))
            continue;
        switch (item->type()) {
        case ITEMTYPE_ANOTATION: {
            auto *anotation = static_cast<GC_Anotation *>(item);
            if (!askYesNo("Delete annotations from genome",
                          "Do you really want to remove these annotations?"))
                break;
            collectWithDescendants(anotation, gone);
            if (GC_Genome *genome = anotation->getGenome())
                genome->removeAnotation(anotation);
            else
                delete anotation;
            outcome.changed = true;
            break;
        }
        case ITEMTYPE_GENE: {
            auto *gene = static_cast<GC_Gene *>(item);
            if (!askYesNo("Delete genes from genome", "Do you really want to remove these genes?"))
                break;
            collectWithDescendants(gene, gone);
            if (GC_Genome *genome = gene->getGenome())
                genome->removeGene(gene);
            else
                delete gene;
            outcome.geneRemoved = true;
            outcome.changed = true;
            break;
        }
        case ITEMTYPE_MATCHING:
            item->hide();
            outcome.changed = true;
            break;
        case ITEMTYPE_FREETEXT: {
            auto *text = static_cast<GC_FreeText *>(item);
            if (!askYesNo("Delete text", "Do you really want to remove this text?"))
                break;
            collectWithDescendants(text, gone);
            m_scene->removeFreeText(text);
            delete text;
            outcome.changed = true;
            break;
        }
        case ITEMTYPE_RULER:
        case ITEMTYPE_GCCONTENTBAR:
        case ITEMTYPE_COGHOMOLOGIES:
        case ITEMTYPE_RFAMHOMOLOGIES:
        case ITEMTYPE_RRNAHOMOLOGIES: {
            GC_Genome *genome = GC_GenomeScene::genomeOfItem(item);
            if (!genome)
                break;
            if (item->type() == ITEMTYPE_RULER)
                genome->setShowRuler(false);
            else if (item->type() == ITEMTYPE_GCCONTENTBAR)
                genome->setShowGCcontent(false);
            else if (item->type() == ITEMTYPE_COGHOMOLOGIES)
                genome->setShowCogHomologies(false);
            else if (item->type() == ITEMTYPE_RFAMHOMOLOGIES)
                genome->setShowRfamHomologies(false);
            else
                genome->setShowrRNAHomologies(false);
            outcome.changed = true;
            break;
        }
        default:
            break;
        }
    }
    return outcome;
}
