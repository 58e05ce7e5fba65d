#include "gc_scenelayout.h"

#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"

#include <QGraphicsView>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Y of the rows after a layout.
const double LowRowYWidth = 300.0;
const double LowRowYProportional = 600.0;

} // namespace

GC_SceneLayout::GC_SceneLayout(GC_GenomeScene *scene)
    : m_scene(scene)
    , m_topGenomes(scene->topGenomes())
    , m_lowGenomes(scene->lowGenomes())
    , m_margin(scene->margin())
    , m_separationBetweenGenomes(scene->separationBetweenGenomes())
{
}

// Packs a row from the left margin, one scale for all.
void GC_SceneLayout::placeRow(const QList<GC_Genome *> &row, double pixPerNuc, double y)
{
    double x = m_margin;
    for (GC_Genome *genome : row) {
        genome->setPixPerNuc(pixPerNuc);
        genome->setPos(x, y);
        x = genome->getSceneRightX() + m_separationBetweenGenomes;
    }
}

// Spreads a row over the width it would fill at its own scale, centring each
// genome in its share.
void GC_SceneLayout::spreadRow(const QList<GC_Genome *> &row, double pixPerNuc, double y,
                               double available, qint64 rowLength)
{
    double x = m_margin;
    for (GC_Genome *genome : row) {
        const double n = genome->getCoords().length();
        const double pad = (available * n / rowLength - pixPerNuc * n) / 2.0;
        genome->setPixPerNuc(pixPerNuc);
        genome->setPos(x + pad, y);
        x = genome->getSceneRightX() + pad + m_separationBetweenGenomes;
    }
}

void GC_SceneLayout::adjustToWidth()
{
    QGraphicsView *view = m_scene->firstView();
    if (!view)
        return;
    m_scene->slotSceneShowAllGenomes();
    const double width = view->viewport()->width();
    const qint64 topLength = m_scene->topGenomesLength();
    const qint64 lowLength = m_scene->lowGenomesLength();
    const qsizetype topCount = m_topGenomes.size();
    const qsizetype lowCount = m_lowGenomes.size();

    if (topCount == 1 && lowCount == 0) {
        GC_Genome *genome = m_topGenomes.first();
        genome->setPixPerNuc((width - 2.0 * m_margin) / topLength);
        genome->setPos(m_margin, 0.0);
    } else {
        if (topLength > 0) {
            const double pixPerNuc
                = (width - (m_separationBetweenGenomes * (topCount - 1) + 2.0 * m_margin))
                / topLength;
            placeRow(m_topGenomes, pixPerNuc, 0.0);
        }
        if (lowLength > 0) {
            const double pixPerNuc
                = (width - (2.0 * m_margin + m_separationBetweenGenomes * (lowCount - 1)))
                / lowLength;
            placeRow(m_lowGenomes, pixPerNuc, LowRowYWidth);
        }
    }
    fitCanvasFromTopLeft(view);
    if (topCount + lowCount > 0)
        m_scene->itemChanged();
}

void GC_SceneLayout::adjustProportional()
{
    QGraphicsView *view = m_scene->firstView();
    if (!view)
        return;
    if (m_topGenomes.size() == 1 && m_lowGenomes.isEmpty()) {
        adjustToWidth();
        return;
    }
    m_scene->slotSceneShowAllGenomes();
    const double width = view->viewport()->width();
    const qint64 topLength = m_scene->topGenomesLength();
    const qint64 lowLength = m_scene->lowGenomesLength();
    const double topGaps = m_separationBetweenGenomes * (m_topGenomes.size() - 1);
    const double lowGaps = m_separationBetweenGenomes * (m_lowGenomes.size() - 1);
    const double topAvailable = width - (2.0 * m_margin + topGaps);
    const double lowAvailable = width - (2.0 * m_margin + lowGaps);

    // One scale for both rows; an empty row does not limit it.
    double pixPerNuc = std::numeric_limits<double>::infinity();
    if (topLength > 0)
        pixPerNuc = topAvailable / topLength;
    if (lowLength > 0)
        pixPerNuc = std::min(pixPerNuc, lowAvailable / lowLength);
    if (!std::isfinite(pixPerNuc))
        return;

    if (pixPerNuc * topLength + topGaps <= pixPerNuc * lowLength + lowGaps) {
        if (topLength > 0)
            spreadRow(m_topGenomes, pixPerNuc, 0.0, topAvailable, topLength);
        placeRow(m_lowGenomes, pixPerNuc, LowRowYProportional);
    } else {
        placeRow(m_topGenomes, pixPerNuc, 0.0);
        if (lowLength > 0)
            spreadRow(m_lowGenomes, pixPerNuc, LowRowYProportional, lowAvailable, lowLength);
    }
    fitCanvasFromTopLeft(view);
    m_scene->itemChanged();
}

void GC_SceneLayout::adjustMatchingToView(GC_GenomeMatching *matching)
{
    QGraphicsView *view = m_scene->firstView();
    if (!view || !matching || !matching->topGenome() || !matching->lowGenome())
        return;
    for (GC_Genome *genome : m_scene->genomes())
        genome->setVisibleGenome(false);
    GC_Genome *top = matching->topGenome();
    GC_Genome *low = matching->lowGenome();
    top->setVisibleGenome(true);
    low->setVisibleGenome(true);
    matching->setSelected(true);

    const double available = view->viewport()->width() - 2.0 * m_margin;
    top->setPixPerNuc(available / matching->topCoords().length());
    low->setPixPerNuc(available / matching->lowCoords().length());
    matching->adjustGenomesToMatching(m_margin + view->mapToScene(QPoint(0, 0)).x());
    // Centred on the canvas as it now is, so the centring holds.
    m_scene->fitSceneRectToItems();
    view->centerOn(matching);
    m_scene->itemChanged();
}

// The rows start at the canvas's top left: the view goes there, wherever it
// looked before, so it shows the top row rather than the bands between rows.
void GC_SceneLayout::fitCanvasFromTopLeft(QGraphicsView *view)
{
    m_scene->fitSceneRectToItems();
    for (QScrollBar *bar : {view->horizontalScrollBar(), view->verticalScrollBar()})
        bar->setValue(bar->minimum());
}

void GC_SceneLayout::placeWithoutCollision(QGraphicsItem *item)
{
    if (!item)
        return;
    int bestCount = 9999999;
    double bestY = 0.0;
    for (int y = -80; y <= 80; y += 10) {
        item->setY(y);
        const int count = int(m_scene->collidingItems(item, Qt::IntersectsItemShape).size());
        if (count < bestCount) {
            bestCount = count;
            bestY = y;
        }
    }
    item->setY(bestY);
}
