#include "gc_genomeview.h"

#include "gc_genomematching.h"

#include <QAction>
#include <QMouseEvent>
#include <QScrollBar>

GC_GenomeView::GC_GenomeView(QWidget *parent)
    : QGraphicsView(parent)
{
    // So that the matching can travel through spies and queued connections.
    qRegisterMetaType<GC_GenomeMatching *>();
    setDragMode(QGraphicsView::RubberBandDrag);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void GC_GenomeView::showCanvasTopLeft()
{
    for (QScrollBar *bar : {horizontalScrollBar(), verticalScrollBar()})
        bar->setValue(bar->minimum());
}

void GC_GenomeView::selectedMatching(QAction *action)
{
    if (!action)
        return;
    const quintptr address = quintptr(action->data().toULongLong());
    emit selectMatching(reinterpret_cast<GC_GenomeMatching *>(address));
}

void GC_GenomeView::mousePressEvent(QMouseEvent *event)
{
    QGraphicsView::mousePressEvent(event);
}

void GC_GenomeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QGraphicsView::mouseDoubleClickEvent(event);
}

void GC_GenomeView::mouseMoveEvent(QMouseEvent *event)
{
    QGraphicsView::mouseMoveEvent(event);
}

// The toolkit scrolls by moving the pixels already shown and remembers where
// each item was last painted, shifted by the scroll. When a window repaint
// comes between a scroll and the processing of the item changes made with it
// (a layout that resizes the canvas and returns to its corner, run from a
// tool bar click), those places are shifted twice and the old picture is
// never painted over: pieces of it stay until the window is resized. Such a
// scroll comes with a new canvas rectangle; it repaints the whole viewport.
// The user's own scrolls keep the toolkit's cheap repaint of the strip that
// comes into view.
void GC_GenomeView::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    if (sceneRect() != m_paintedSceneRect)
        viewport()->update();
}

void GC_GenomeView::paintEvent(QPaintEvent *event)
{
    m_paintedSceneRect = sceneRect();
    QGraphicsView::paintEvent(event);
}
