#include "gc_genomeview.h"

#include "gc_genomematching.h"

#include <QAction>
#include <QMouseEvent>

GC_GenomeView::GC_GenomeView(QWidget *parent)
    : QGraphicsView(parent)
{
    // So that the matching can travel through spies and queued connections.
    qRegisterMetaType<GC_GenomeMatching *>();
    setDragMode(QGraphicsView::RubberBandDrag);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
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
