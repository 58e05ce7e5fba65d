#include "gc_scenehomologydialogs.h"

#include "gc_coghomologies.h"
#include "gc_cogpiedialog.h"
#include "gc_cogshowmatchings_dialog.h"
#include "gc_cogtblastn_dialog.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"
#include "gc_rfamblastn_dialog.h"
#include "gc_rfamhomologies.h"
#include "gc_rfamshowmatchings_dialog.h"
#include "gc_rrnablastn_dialog.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnashowmatchings_dialog.h"

#include <QMessageBox>
#include <QPointer>

#include <memory>

GC_SceneHomologyDialogs::GC_SceneHomologyDialogs(GC_GenomeScene *scene)
    : m_scene(scene)
    , m_mainWindow(scene->mainWindow())
    // Hidden until the first statistics request; refilled at each.
    , m_cogPieDialog(new GC_CogPieDialog)
{
}

GC_SceneHomologyDialogs::~GC_SceneHomologyDialogs()
{
    delete m_cogPieDialog;
}

// Runs a search dialog on a genome; true when it ended accepted, which means
// the hits were added to the genome's bar.
template <typename Dialog, typename SceneSetter>
static bool runHomologySearch(QWidget *parent, GC_Genome *genome, GC_GenomeScene *scene,
                              SceneSetter setScene)
{
    QPointer<Dialog> dialog = new Dialog(parent);
    dialog->setGenome(genome);
    (dialog->*setScene)(scene);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    delete dialog;
    return accepted;
}

namespace {

struct HomologyAccess
{
    QGraphicsItem *bar;
    bool shown;
    int loaded;
    int stored;
    const char *name;
};

} // namespace

static HomologyAccess homologyAccess(GC_Genome *genome, GC_GenomeSource::Family family)
{
    switch (family) {
    case GC_GenomeSource::Cog:
        return { genome->getCogHomologies(), genome->getShowCogHomologies(),
                 genome->countCogMatchings(), genome->getDatabaseCogMatchingsCount(), "COG" };
    case GC_GenomeSource::Rfam:
        return { genome->getRfamHomologies(), genome->getShowRfamHomologies(),
                 genome->countRfamMatchings(), genome->getDatabaseRfamMatchingsCount(), "RFAM" };
    default:
        return { genome->getrRNAHomologies(), genome->getShowrRNAHomologies(),
                 genome->countrRNAMatchings(), genome->getDatabaserRNAMatchingsCount(), "rRNA" };
    }
}

static void setHomologyShown(GC_Genome *genome, GC_GenomeSource::Family family, bool show)
{
    if (family == GC_GenomeSource::Cog)
        genome->setShowCogHomologies(show);
    else if (family == GC_GenomeSource::Rfam)
        genome->setShowRfamHomologies(show);
    else
        genome->setShowrRNAHomologies(show);
}

bool GC_SceneHomologyDialogs::loadStoredHomologies(GC_GenomeSource::Family family, GC_Genome *genome)
{
    std::unique_ptr<QDialog> dialog;
    if (family == GC_GenomeSource::Cog) {
        auto *cog = new GC_CogShowMatchings_dialog(m_mainWindow);
        dialog.reset(cog);
        cog->setGenome(genome);
        cog->setScene(m_scene);
    } else if (family == GC_GenomeSource::Rfam) {
        auto *rfam = new GC_RfamShowMatchings_dialog(m_mainWindow);
        dialog.reset(rfam);
        rfam->setGenome(genome);
        rfam->setScene(m_scene);
    } else {
        auto *rrna = new GC_rRNAShowMatchings_dialog(m_mainWindow);
        dialog.reset(rrna);
        rrna->setGenome(genome);
        rrna->setGenomeScene(m_scene);
    }
    return dialog->exec() == QDialog::Accepted;
}

void GC_SceneHomologyDialogs::toggleHomologyBar(GC_GenomeSource::Family family)
{
    GC_Genome *genome = m_scene->firstSelectedGenome();
    if (!genome)
        return;
    const HomologyAccess access = homologyAccess(genome, family);
    if (access.shown) {
        setHomologyShown(genome, family, false);
        m_scene->itemChanged();
        return;
    }
    bool changed = false;
    if (access.loaded > 0) {
        setHomologyShown(genome, family, true);
        changed = true;
    } else if (loadStoredHomologies(family, genome)) {
        setHomologyShown(genome, family, true);
        access.bar->update();
        changed = true;
    }
    m_scene->placeWithoutCollision(access.bar);
    if (changed)
        m_scene->itemChanged();
}

void GC_SceneHomologyDialogs::showHideHomologyBar(GC_GenomeSource::Family family, bool show)
{
    GC_Genome *genome = m_scene->firstSelectedGenome();
    if (!genome)
        return;
    const HomologyAccess access = homologyAccess(genome, family);
    if (!show) {
        setHomologyShown(genome, family, false);
        if (access.shown)
            m_scene->itemChanged();
        return;
    }
    if (access.loaded > 0) {
        setHomologyShown(genome, family, true);
        m_scene->placeWithoutCollision(access.bar);
        if (!access.shown)
            m_scene->itemChanged();
    } else if (access.stored > 0 && loadStoredHomologies(family, genome)) {
        setHomologyShown(genome, family, true);
        access.bar->update();
        m_scene->placeWithoutCollision(access.bar);
        m_scene->itemChanged();
    }
}

void GC_SceneHomologyDialogs::searchHomologies(GC_GenomeSource::Family family)
{
    GC_Genome *genome = m_scene->firstSelectedGenome();
    if (!genome)
        return;
    bool accepted = false;
    switch (family) {
    case GC_GenomeSource::Cog:
        accepted = runHomologySearch<GC_COGTblastn_dialog>(m_mainWindow, genome, m_scene,
                                                           &GC_COGTblastn_dialog::setScene);
        break;
    case GC_GenomeSource::Rfam:
        accepted = runHomologySearch<GC_RFAMBlastn_dialog>(m_mainWindow, genome, m_scene,
                                                           &GC_RFAMBlastn_dialog::setScene);
        break;
    case GC_GenomeSource::Rrna:
        accepted = runHomologySearch<GC_RRNABlastn_dialog>(m_mainWindow, genome, m_scene,
                                                           &GC_RRNABlastn_dialog::setGenomeScene);
        break;
    }
    if (!accepted)
        return;
    // The scene-wide switch goes on through its view slot, so that every
    // other genome's bar follows it too.
    if (family == GC_GenomeSource::Cog)
        m_scene->slotViewCogHomologies(true);
    else if (family == GC_GenomeSource::Rfam)
        m_scene->slotViewRfamHomologies(true);
    else
        m_scene->slotViewrRNAHomologies(true);
    setHomologyShown(genome, family, true);
    m_scene->placeWithoutCollision(homologyAccess(genome, family).bar);
    // The new hits are saved with the canvas.
    m_scene->itemChanged();
}

void GC_SceneHomologyDialogs::showCogStatistics()
{
    auto *bar = static_cast<GC_CogHomologies *>(m_scene->singleSelectedItem(ITEMTYPE_COGHOMOLOGIES));
    if (!bar)
        return;
    m_cogPieDialog->matchings = bar->matchings();
    m_cogPieDialog->positionMap = bar->positionMap();
    QString problem;
    if (!m_cogPieDialog->computeStatistics(&problem)) {
        m_cogPieDialog->hide();
        QMessageBox::warning(m_mainWindow, m_cogPieDialog->windowTitle(), problem);
        return;
    }
    m_cogPieDialog->show();
}
