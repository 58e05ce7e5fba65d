#include "gc_controlpoint.h"

#include "gc_genomescene.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPainterPath>

GC_ControlPoint::GC_ControlPoint(QGraphicsItem *owner)
    : QGraphicsItem(owner)
{
}

GC_ControlPoint::~GC_ControlPoint() = default;

void GC_ControlPoint::setShapeType(int kind)
{
    if (kind == m_shapeType)
        return;
    prepareGeometryChange();
    m_shapeType = kind;
}

QPolygonF GC_ControlPoint::polygon() const
{
    QPolygonF points;
    switch (m_shapeType) {
    case 0:
        points << QPointF(0, 4) << QPointF(0, -4) << QPointF(-8, 0);
        break;
    case 1:
        points << QPointF(0, 4) << QPointF(0, -4) << QPointF(8, 0);
        break;
    case 2:
        points << QPointF(0, 4) << QPointF(4, 0) << QPointF(0, -4) << QPointF(-4, 0);
        break;
    default:
        break;
    }
    return points;
}

QPainterPath GC_ControlPoint::shape() const
{
    QPainterPath path;
    path.addPolygon(polygon());
    path.closeSubpath();
    return path;
}

QRectF GC_ControlPoint::boundingRect() const
{
    return shape().boundingRect();
}

void GC_ControlPoint::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                            QWidget *widget)
{
    Q_UNUSED(option);
    Q_UNUSED(widget);
    painter->setPen(QPen(Qt::black));
    painter->setBrush(QBrush(Qt::red, Qt::SolidPattern));
    painter->drawPolygon(polygon(), Qt::OddEvenFill);
}

void GC_ControlPoint::placeAt(qreal x)
{
    const bool notifying = flags() & ItemSendsGeometryChanges;
    setFlag(ItemSendsGeometryChanges, false);
    setPos(x, 0.0);
    setFlag(ItemSendsGeometryChanges, notifying);
}

void GC_ControlPoint::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    setPos(mapToParent(event->pos()));
}

QVariant GC_ControlPoint::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (scene() && hasOwner()) {
        if (change == ItemPositionChange)
            return QPointF(boundX(value.toPointF().x()), 0.0);
        if (change == ItemPositionHasChanged) {
            ownerMoved();
            // Only a drag by the user gets here: owners place handles with
            // notification off. Resizing by handle changes the document.
            if (GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene()))
                owner->setModified(true);
        }
    }
    return QGraphicsItem::itemChange(change, value);
}
