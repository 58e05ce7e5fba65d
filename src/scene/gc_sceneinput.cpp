#include "gc_sceneinput.h"

#include "gc_coghomologies.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"
#include "gc_legend.h"
#include "gc_log.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_scenecontextmenu.h"

#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMenu>
#include <QSet>

#include <memory>

GC_SceneInput::GC_SceneInput(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

QGraphicsItem *GC_SceneInput::topmostItemAt(const QPointF &scenePos) const
{
    // Boxes first, topmost first, then shapes only until one holds the
    // point: the thousands of bands beneath are never shape-tested.
    const QGraphicsView *view = m_scene->firstView();
    const QTransform transform = view ? view->transform() : QTransform();
    const QList<QGraphicsItem *> boxed =
        m_scene->items(scenePos, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder, transform);
    for (QGraphicsItem *item : boxed) {
        if (item->contains(item->mapFromScene(scenePos)))
            return item;
    }
    return nullptr;
}

// ---------------------------------------------------------------- mouse

bool GC_SceneInput::mousePress(QGraphicsSceneMouseEvent *event)
{
    const QPointF pos = event->scenePos();
    const int mode = m_scene->mode();
    if (mode == GC_GenomeScene::ModeSelect)
        return false;
    // Handled here: the view must not start a rubber band either.
    event->accept();
    if (mode == GC_GenomeScene::ModeAddText) {
        m_scene->addFreeText(pos, nullptr);
        return true;
    }
    if (mode == GC_GenomeScene::ModeDelete && !m_scene->selectedItems().isEmpty()) {
        m_scene->slotItemRemove();
        return true;
    }
    zoomAtPress(pos);
    return true;
}

void GC_SceneInput::zoomAtPress(const QPointF &pos)
{
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    qCDebug(lcKestal).noquote() << "Click detected: zoom or delete. Selected items: " << selected.size();
    const int mode = m_scene->mode();
    const bool zoomIn = mode == GC_GenomeScene::ModeZoomIn;

    if (selected.size() == 1 && mode != GC_GenomeScene::ModeDelete) {
        QGraphicsItem *item = selected.first();
        GC_Genome *genome = GC_GenomeScene::genomeOfItem(item);
        if (item->type() == ITEMTYPE_MATCHING)
            qCDebug(lcKestal, "Click at matching");
        else if (!genome)
            qCDebug(lcKestal, "Click selecting an item not recognized for this operation");
        else if (zoomIn)
            genome->zoomIn(pos);
        else
            genome->zoomOut(pos);
        m_scene->clearSelection();
        return;
    }

    const QGraphicsView *view = m_scene->firstView();
    const QList<QGraphicsItem *> candidates =
        m_scene->items(QRectF(pos.x() - 10.0, pos.y() - 10.0, 20.0, 20.0), Qt::IntersectsItemShape,
                       Qt::DescendingOrder, view ? view->transform() : QTransform());
    if (mode == GC_GenomeScene::ModeDelete) {
        for (QGraphicsItem *item : candidates)
            item->setSelected(true);
        m_scene->slotItemRemove();
        return;
    }
    for (QGraphicsItem *item : candidates) {
        if (item->type() == ITEMTYPE_MATCHING)
            return;
        if (GC_Genome *genome = GC_GenomeScene::genomeOfItem(item)) {
            if (zoomIn)
                genome->zoomIn(pos);
            else
                genome->zoomOut(pos);
            return;
        }
    }
}

void GC_SceneInput::mouseMoved(QGraphicsSceneMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        extendCanvasOverDraggedItems();
    updateHoverLegendAt(event->scenePos());
}

// The toolkit drags the grabbed item with every selected movable one. Each
// top-level item counts with all it carries; a band stays between its two
// genomes, so the genomes bound it.
void GC_SceneInput::extendCanvasOverDraggedItems()
{
    QGraphicsItem *grabber = m_scene->mouseGrabberItem();
    if (!grabber || !(grabber->flags() & QGraphicsItem::ItemIsMovable))
        return;
    QList<QGraphicsItem *> dragged = m_scene->selectedItems();
    dragged.append(grabber);
    QSet<QGraphicsItem *> counted;
    QRectF area;
    for (QGraphicsItem *item : std::as_const(dragged)) {
        if (!(item->flags() & QGraphicsItem::ItemIsMovable))
            continue;
        QGraphicsItem *top = item->topLevelItem();
        if (counted.contains(top))
            continue;
        counted.insert(top);
        area |= top->mapRectToScene(top->boundingRect() | top->childrenBoundingRect());
    }
    if (!area.isNull())
        m_scene->extendSceneRect(area);
}

void GC_SceneInput::mouseReleased(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QGraphicsItem *grabber = m_scene->mouseGrabberItem();
        if (grabber && (grabber->flags() & QGraphicsItem::ItemIsMovable)
            && event->scenePos() != event->buttonDownScenePos(Qt::LeftButton))
            m_scene->itemChanged();  // the panel shows the new place; the document changed
    }
}

void GC_SceneInput::contextMenu(QGraphicsSceneContextMenuEvent *event)
{
    m_scene->setLastContextPos(event->scenePos());
    GC_Genome *clicked = nullptr;
    if (QGraphicsItem *item = topmostItemAt(event->scenePos())) {
        item->setSelected(true);
        // A genome's name label gives the genome's menu, the entries that
        // depend on the clicked genome included.
        QGraphicsItem *named = gc_namedItem(item);
        if (named->type() == ITEMTYPE_GENOME) {
            clicked = static_cast<GC_Genome *>(named);
            qCDebug(lcKestal).noquote() << "Selected genome ID: " << clicked->getId();
        }
    }
    std::unique_ptr<QMenu> menu(GC_SceneContextMenu::build(m_scene, clicked));
    menu->exec(event->screenPos());
    event->accept();
}

// ---------------------------------------------------------------- hover legend

bool GC_SceneInput::homologyBarNear(const QPointF &scenePos) const
{
    const QList<GC_Genome *> top = m_scene->topGenomes();
    const QList<GC_Genome *> low = m_scene->lowGenomes();
    for (const QList<GC_Genome *> *row : {&top, &low}) {
        for (const GC_Genome *genome : *row) {
            const QGraphicsItem *bars[] = {genome->getCogHomologies(), genome->getRfamHomologies(),
                                           genome->getrRNAHomologies()};
            for (const QGraphicsItem *bar : bars)
                if (bar->isVisible() && bar->sceneBoundingRect().contains(scenePos))
                    return true;
        }
    }
    return false;
}

void GC_SceneInput::updateHoverLegendAt(const QPointF &scenePos)
{
    // Looking up the item under the cursor walks every item; most moves
    // are neither over a bar nor able to hide a shown legend.
    GC_Legend *legend = m_scene->hoverLegend();
    const bool legendShown = legend && legend->isVisible();
    if (!legendShown && !homologyBarNear(scenePos))
        return;
    QGraphicsItem *item = topmostItemAt(scenePos);
    if (!item) {
        if (legend)
            legend->hide();
        return;
    }
    const double x = scenePos.x();
    switch (item->type()) {
    case ITEMTYPE_COGHOMOLOGIES: {
        auto *bar = static_cast<GC_CogHomologies *>(item);
        showHoverLegend(bar, bar->parentGenome(), bar->matchingToolTip(x), bar->matchingAt(x),
                        m_lastCogHoverText);
        break;
    }
    case ITEMTYPE_RFAMHOMOLOGIES: {
        auto *bar = static_cast<GC_RfamHomologies *>(item);
        showHoverLegend(bar, bar->parentGenome(), bar->getToolTip(x), bar->matchingAt(x),
                        m_lastRfamHoverText);
        break;
    }
    case ITEMTYPE_RRNAHOMOLOGIES: {
        auto *bar = static_cast<GC_rRNAHomologies *>(item);
        showHoverLegend(bar, bar->parentGenome(), bar->legendHtmlAt(x), bar->matchingAt(x),
                        m_lastrRNAHoverText);
        break;
    }
    default:
        break;
    }
}

void GC_SceneInput::showHoverLegend(QGraphicsItem *bar, GC_Genome *genome, const QString &text,
                                    const GC_Interval &hit, QString &lastText)
{
    GC_Legend *legend = m_scene->hoverLegend();
    if (!legend) {
        legend = new GC_Legend;
        // A text item takes hover events by default, and one such item makes
        // the scene look up the items under the cursor on every move.
        legend->setAcceptHoverEvents(false);
        m_scene->addItem(legend);
        legend->hide();
        m_scene->setHoverLegend(legend);
    }
    if (text == lastText)
        return;
    if (text.isEmpty()) {
        legend->hide();
    } else {
        legend->setParentItem(bar);
        legend->setHtml(text);
        legend->setAnchor(genome, hit.start(), hit.end());
        legend->show();
    }
    lastText = text;
}

// ---------------------------------------------------------------- keys

void GC_SceneInput::keyPressed(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete)
        m_scene->slotItemRemove();
    else if (event->key() == Qt::Key_C)
        pinHoverLegend();
}

void GC_SceneInput::pinHoverLegend()
{
    GC_Legend *legend = m_scene->hoverLegend();
    if (!legend)
        return;
    if (!legend->isVisible()) {
        qCDebug(lcKestal, "Se presione la tecla C y la leyenda NO esta visible");
        return;
    }
    qCDebug(lcKestal, "Se presione la tecla C y la leyenda esta visible");
    auto *copy = new GC_Legend(*legend);
    copy->setAcceptHoverEvents(false);
    if (copy->scene() != m_scene)
        m_scene->addItem(copy);
    // Pinned copies are not part of the saved document.
    copy->show();
}
