#include "gc_legend.h"

#include "gc_genome.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

GC_Legend::GC_Legend()
    : QGraphicsTextItem(nullptr)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    setZValue(100.0);
}

GC_Legend::GC_Legend(const GC_Legend &other)
    : QGraphicsTextItem(nullptr)
{
    setFlags(other.flags());
    setParentItem(other.parentItem());
    setHtml(other.m_html);
    setAnchor(other.m_anchorItem, other.m_anchorStart, other.m_anchorEnd);
    setZValue(100.0);
}

GC_Legend::~GC_Legend() = default;

void GC_Legend::setHtml(const QString &html)
{
    prepareGeometryChange();
    QGraphicsTextItem::setHtml(html);
    m_html = html;
}

void GC_Legend::setReadOnly(bool readOnly)
{
    setTextInteractionFlags(readOnly ? Qt::NoTextInteraction : Qt::TextEditorInteraction);
    m_readOnly = readOnly;
}

void GC_Legend::setAnchor(GC_Genome *genome, int start, int end)
{
    if (genome == m_anchorItem && start == m_anchorStart && end == m_anchorEnd)
        return;
    m_anchorItem = genome;
    m_anchorStart = start;
    m_anchorEnd = end;
    if (!genome)
        return;

    m_parentHeight = parentItem() ? parentItem()->boundingRect().height() : 0.0;
    prepareGeometryChange();
    adjustSize();
    const QRectF text = QGraphicsTextItem::boundingRect();
    double x = genome->nucToX(start);

    // Keep the bubble 10 pixels inside the right edge of the first view.
    if (scene() && !scene()->views().isEmpty()) {
        const QGraphicsView *view = scene()->views().first();
        const double viewRight = view->mapToScene(QPoint(view->viewport()->width(), 0)).x();
        const double bubbleRight = parentItem()
                                       ? parentItem()->mapToScene(QPointF(x + text.width(), 0)).x()
                                       : x + text.width();
        if (bubbleRight > viewRight)
            x -= bubbleRight - viewRight + 10.0;
    }

    // Above or below the parent, wherever fewer items are in the way.
    // The pointer's side is part of the outline: the extent changes with it.
    auto crowding = [this]() {
        return scene() ? scene()->items(sceneBoundingRect()).size() : 0;
    };
    auto placeAbove = [&](bool above) {
        prepareGeometryChange();
        m_isAbove = above;
        setPos(x, above ? -20.0 - text.height() : m_parentHeight + 20.0);
    };
    placeAbove(true);
    const auto above = crowding();
    placeAbove(false);
    const auto below = crowding();
    if (above < below)
        placeAbove(true);
}

QPolygonF GC_Legend::bubblePolygon() const
{
    if (!m_anchorItem)
        return QPolygonF();
    const QRectF r = QGraphicsTextItem::boundingRect();
    const double L = r.left(), T = r.top(), W = r.width(), H = r.height();
    const double xa = (m_anchorItem->nucToX(m_anchorStart) + m_anchorItem->nucToX(m_anchorEnd)) / 2.0;
    QPolygonF points;
    if (!m_isAbove) {
        const QPointF tip = parentItem() ? mapFromParent(QPointF(xa, m_parentHeight))
                                         : QPointF(xa, m_parentHeight);
        points << tip << QPointF(int(L + 0.2 * W), T) << QPointF(L, T) << QPointF(L, T + H)
               << QPointF(L + W, T + H) << QPointF(L + W, T) << QPointF(L + 0.5 * W, T);
    } else {
        const QPointF tip = parentItem() ? mapFromParent(QPointF(xa, 0.0)) : QPointF(xa, 0.0);
        points << tip << QPointF(L + 0.5 * W, T + H) << QPointF(L + W, T + H)
               << QPointF(L + W, T) << QPointF(L, T) << QPointF(L, T + H)
               << QPointF(L + 0.2 * W, T + H);
    }
    return points;
}

QPainterPath GC_Legend::shape() const
{
    QPainterPath path;
    path.addPolygon(bubblePolygon());
    path.closeSubpath();
    return path;
}

QRectF GC_Legend::boundingRect() const
{
    return shape().boundingRect();
}

void GC_Legend::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                      QWidget *widget)
{
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->drawPolygon(bubblePolygon(), Qt::OddEvenFill);
    QGraphicsTextItem::paint(painter, option, widget);
}
