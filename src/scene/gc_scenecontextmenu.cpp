#include "gc_scenecontextmenu.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"
#include "gc_log.h"
#include "gc_selectionresume.h"

#include <QMenu>
#include <QPair>

namespace {

using Command = void (GC_GenomeScene::*)();

void addEntry(QMenu *menu, const QString &text, GC_GenomeScene *scene, Command command)
{
    QAction *action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, scene, command);
}

void addAnotationEntries(QMenu *menu, GC_GenomeScene *scene, int count)
{
    if (count != 1)
        return;
    addEntry(menu, "Copy sequence to clipboard", scene,
             &GC_GenomeScene::slotAnotationCopySequenceToClipboard);
    menu->addSeparator();
}

void addGenomeEntries(QMenu *menu, GC_GenomeScene *scene, int count, GC_Genome *clicked)
{
    if (count == 1) {
        if (clicked) {
            qCDebug(lcKestal) << "databaseRfamMatchings(): " << clicked->getDatabaseRfamMatchingsCount();
            qCDebug(lcKestal) << "databaserRNAMatchings(): " << clicked->getDatabaserRNAMatchingsCount();
        }
        addEntry(menu, "Add anotation", scene, &GC_GenomeScene::slotGenomeAddAnotation);
        addEntry(menu, "Clone", scene, &GC_GenomeScene::slotGenomeClone);
        menu->addSeparator();
        addEntry(menu, "CUT from START TO HERE", scene, &GC_GenomeScene::slotGenomeSetLeftmost);
        addEntry(menu, "CUT from here TO END", scene, &GC_GenomeScene::slotGenomeSetRightmost);
        menu->addSeparator();
        addEntry(menu, "Copy sequence to clipboard", scene,
                 &GC_GenomeScene::slotGenomeCopySequenceToClipboard);
        menu->addSeparator();
        addEntry(menu, "Get coverage information", scene, &GC_GenomeScene::slotGenomeCoverage);
        menu->addSeparator();
        // Nothing held and nothing stored; a source file without the
        // family's table (stored count -1) has nothing stored either.
        if (clicked && clicked->countCogMatchings() == 0
            && clicked->getDatabaseCogMatchingsCount() <= 0)
            addEntry(menu, "Search for COG homologies", scene,
                     &GC_GenomeScene::slotGenomeTblastnCog);
        if (clicked && clicked->countRfamMatchings() == 0
            && clicked->getDatabaseRfamMatchingsCount() <= 0)
            addEntry(menu, "Search for RFAM homologies", scene,
                     &GC_GenomeScene::slotGenomeBlastnRfam);
        if (clicked && clicked->countrRNAMatchings() == 0
            && clicked->getDatabaserRNAMatchingsCount() <= 0)
            addEntry(menu, "Search for rRNA homologies", scene,
                     &GC_GenomeScene::slotGenomeBlastnrRNA);
        menu->addSeparator();
    }
    addEntry(menu, "Invert orientation", scene, &GC_GenomeScene::slotGenomeToggleOrientation);
    menu->addSeparator();
    addEntry(menu, "Show/Hide anotations", scene, &GC_GenomeScene::slotGenomeToggleAnotations);
    addEntry(menu, "Show/Hide genes", scene, &GC_GenomeScene::slotGenomeToggleGenes);
    addEntry(menu, "Show/Hide coordinates", scene, &GC_GenomeScene::slotGenomeToggleRuler);
    addEntry(menu, "Show/Hide GC content", scene,
             &GC_GenomeScene::slotGenomeToggleGCcontentBars);
    if (clicked && (clicked->countCogMatchings() > 0
                    || clicked->getDatabaseCogMatchingsCount() > 0))
        addEntry(menu, "Show/Hide COG homologies", scene,
                 &GC_GenomeScene::slotGenomeShowCogMatchings);
    if (clicked && (clicked->countRfamMatchings() > 0
                    || clicked->getDatabaseRfamMatchingsCount() > 0))
        addEntry(menu, "Show/Hide RFAM homologies", scene,
                 &GC_GenomeScene::slotGenomeShowRfamMatchings);
    if (clicked && (clicked->countrRNAMatchings() > 0
                    || clicked->getDatabaserRNAMatchingsCount() > 0))
        addEntry(menu, "Show/Hide rRNA homologies", scene,
                 &GC_GenomeScene::slotGenomeShowrRNAMatchings);
    addEntry(menu, "Show/Hide matchings", scene, &GC_GenomeScene::slotGenomeToggleMatchings);
    addEntry(menu, "Show/Hide labels", scene, &GC_GenomeScene::slotGenomeToggleLabel);
    menu->addSeparator();
}

void addGeneEntries(QMenu *menu, GC_GenomeScene *scene, int count)
{
    if (count == 1) {
        addEntry(menu, "BlastN", scene, &GC_GenomeScene::slotGeneBlastN);
        addEntry(menu, "BlastX", scene, &GC_GenomeScene::slotGeneBlastX);
        addEntry(menu, "Copy sequence to clipboard", scene,
                 &GC_GenomeScene::slotGeneCopySequenceToClipboard);
        menu->addSeparator();
    }
    addEntry(menu, "Invert orientation", scene, &GC_GenomeScene::slotGeneToggleOrientation);
    menu->addSeparator();
}

void addMatchingEntries(QMenu *menu, GC_GenomeScene *scene, int count)
{
    if (count == 1) {
        addEntry(menu, "BlastN upper section", scene, &GC_GenomeScene::slotMatchingTopBlastN);
        addEntry(menu, "BlastX upper section", scene, &GC_GenomeScene::slotMatchingTopBlastX);
        addEntry(menu, "Copy upper section sequence to clipboard", scene,
                 &GC_GenomeScene::slotMatchingTopCopySequenceToClipboard);
        menu->addSeparator();
        addEntry(menu, "BlastN lower section", scene, &GC_GenomeScene::slotMatchingLowBlastN);
        addEntry(menu, "BlastX lower section", scene, &GC_GenomeScene::slotMatchingLowBlastX);
        addEntry(menu, "Copy lower section sequence to clipboard", scene,
                 &GC_GenomeScene::slotMatchingLowCopySequenceToClipboard);
        menu->addSeparator();
    } else {
        addEntry(menu, "Show only selected matching genomes", scene,
                 &GC_GenomeScene::slotMatchingShowOnlySelectedGenomes);
        menu->addSeparator();
    }
}

} // namespace

QMenu *GC_SceneContextMenu::build(GC_GenomeScene *scene, GC_Genome *clickedGenome)
{
    auto *menu = new QMenu;
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    // Counted by kind, a label for its owner unless the owner is selected
    // too: a genome picked up with its name label still gets its commands.
    GC_SelectionResume resume;
    resume.countSelection(selected);
    const int total = resume.total();
    int kind = 0;
    if (total > 0) {
        const QList<QPair<int, int>> kinds = {
            {resume.anotations(), ITEMTYPE_ANOTATION},
            {resume.genomes(), ITEMTYPE_GENOME},
            {resume.rulers(), ITEMTYPE_RULER},
            {resume.genes(), ITEMTYPE_GENE},
            {resume.matchings(), ITEMTYPE_MATCHING},
            {resume.cogHomologies(), ITEMTYPE_COGHOMOLOGIES},
            {resume.rfamHomologies(), ITEMTYPE_RFAMHOMOLOGIES},
            {resume.rrnaHomologies(), ITEMTYPE_RRNAHOMOLOGIES}};
        for (const auto &entry : kinds) {
            if (entry.first == total) {
                kind = entry.second;
                break;
            }
        }
    }

    if (!selected.isEmpty()) {
        switch (kind) {
        case ITEMTYPE_ANOTATION:
            addAnotationEntries(menu, scene, total);
            break;
        case ITEMTYPE_GENOME:
            addGenomeEntries(menu, scene, total, clickedGenome);
            break;
        case ITEMTYPE_RULER:
            addEntry(menu, "Invert orientation", scene,
                     &GC_GenomeScene::slotRulerToggleOrientation);
            break;
        case ITEMTYPE_GENE:
            addGeneEntries(menu, scene, total);
            break;
        case ITEMTYPE_MATCHING:
            addMatchingEntries(menu, scene, total);
            break;
        case ITEMTYPE_COGHOMOLOGIES:
            if (total == 1) {
                addEntry(menu, "COG Homologies statistics", scene,
                         &GC_GenomeScene::slotCogHomologiesStatistics);
                menu->addSeparator();
            }
            break;
        case ITEMTYPE_RFAMHOMOLOGIES:
            if (total == 1) {
                addEntry(menu, "RFAM Homologies statistics", scene,
                         &GC_GenomeScene::slotRfamHomologiesStatistics);
                menu->addSeparator();
            }
            break;
        default:
            // rRNA bars have no statistics view; mixtures have no entries
            // of their own.
            break;
        }
        addEntry(menu, "Remove", scene, &GC_GenomeScene::slotItemRemove);
        menu->addSeparator();
    }
    addEntry(menu, GC_GenomeScene::tr("Add Text"), scene, &GC_GenomeScene::slotSceneAddFreeText);
    return menu;
}
