#include "gc_sequencearrowitem.h"

#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>

#include <algorithm>

GC_SequenceArrowItem::GC_SequenceArrowItem(QGraphicsItem *parent)
    : QGraphicsItem(parent)
{
    applyDefaults(5.0, 5.0, 5.0, QColor(Qt::black), QColor(24, 115, 205, 255), 1);
}

GC_SequenceArrowItem::GC_SequenceArrowItem(const GC_SequenceArrowItem &other)
    : QGraphicsItem(nullptr)
{
    setPos(other.pos());
    applyDefaults(other.heightBig, other.heightSmall, other.headLength, other.lineColor,
                  other.fillColor, other.arrowStyle);
}

GC_SequenceArrowItem::~GC_SequenceArrowItem() = default;

// Called from the constructors, so the setters of this class run, never a
// subclass's overrides (which would touch members not built yet).
void GC_SequenceArrowItem::applyDefaults(qreal hb, qreal hs, qreal hl, const QColor &line,
                                         const QColor &fill, int style)
{
    setHeightBigBase(hb);
    GC_SequenceArrowItem::setHeightSmall(hs);
    setHeadLength(hl);
    setLineColor(line);
    setFillColor(fill);
    setArrowStyle(style);
}

void GC_SequenceArrowItem::setHeightBigBase(qreal h)
{
    if (h < 0)
        h = 0;
    if (h == heightBig)
        return;
    prepareGeometryChange();
    heightBig = h;
    invalidateShape();
    GC_SequenceArrowItem::setHeightSmall(heightSmall);
}

void GC_SequenceArrowItem::setHeightBig(qreal h)
{
    if (h < 0)
        h = 0;
    if (h == heightBig)
        return;
    prepareGeometryChange();
    heightBig = h;
    invalidateShape();
    // Virtual: a subclass re-clamps the body height its own way.
    setHeightSmall(heightSmall);
}

void GC_SequenceArrowItem::setHeightSmall(qreal h)
{
    if (h > heightBig)
        h = heightBig;
    if (h < 0)
        h = 0;
    if (h == heightSmall)
        return;
    heightSmall = h;
    invalidateShape();
    update();
}

void GC_SequenceArrowItem::setHeadLength(qreal l)
{
    if (l < 0)
        l = 0;
    if (l == headLength)
        return;
    headLength = l;
    invalidateShape();
    update();
}

void GC_SequenceArrowItem::setLineColor(const QColor &color)
{
    if (color == lineColor)
        return;
    lineColor = color;
    update();
}

void GC_SequenceArrowItem::setFillColor(const QColor &color)
{
    if (color == fillColor)
        return;
    fillColor = color;
    update();
}

void GC_SequenceArrowItem::setArrowStyle(int style)
{
    if (style == arrowStyle)
        return;
    arrowStyle = style;
    invalidateShape();
    update();
    arrowStyleChanged();
}

QRectF GC_SequenceArrowItem::boundingRect() const
{
    const qreal a = getArrowStartX();
    const qreal b = getArrowEndX();
    return QRectF(std::min(a, b), -heightBig / 2.0, std::abs(a - b), heightBig);
}

QPainterPath GC_SequenceArrowItem::shape() const
{
    // The outline depends on the ends the subclass reports; rebuild it only
    // when they (or the heights and style) changed since the last call.
    const qreal s = getArrowStartX();
    const qreal e = getArrowEndX();
    const bool reverse = isReverse();
    if (!shapeValid || s != cachedStartX || e != cachedEndX || reverse != cachedReverse) {
        cachedShape = buildShape();
        cachedStartX = s;
        cachedEndX = e;
        cachedReverse = reverse;
        shapeValid = true;
    }
    return cachedShape;
}

QPainterPath GC_SequenceArrowItem::buildShape() const
{
    QPainterPath path;
    if (arrowStyle == 0) {
        path.addRect(boundingRect());
    } else if (arrowStyle == 1) {
        qreal s = getArrowStartX();
        qreal e = getArrowEndX();
        if (isReverse())
            std::swap(s, e);
        qreal neck = e;
        if (e > s)
            neck = std::max(s, e - headLength);
        else if (e < s)
            neck = std::min(s, e + headLength);
        const qreal hs = heightSmall / 2.0;
        const qreal hb = heightBig / 2.0;
        QPolygonF polygon;
        polygon << QPointF(s, hs) << QPointF(neck, hs) << QPointF(neck, hb) << QPointF(e, 0)
                << QPointF(neck, -hb) << QPointF(neck, -hs) << QPointF(s, -hs);
        path.addPolygon(polygon);
    }
    path.closeSubpath();
    return path;
}

void GC_SequenceArrowItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                 QWidget *widget)
{
    Q_UNUSED(widget);
    const qreal a = getArrowStartX();
    const qreal b = getArrowEndX();
    const qreal lod = QStyleOptionGraphicsItem::levelOfDetailFromTransform(painter->worldTransform());
    if (std::abs(a - b) * lod < 1.0) {
        // Under a pixel wide: a hairline in the fill colour says as much as the
        // outline would, at a fraction of the cost.
        painter->setPen(QPen(fillColor, 0));
        const qreal x = (a + b) / 2.0;
        painter->drawLine(QPointF(x, -heightBig / 2.0), QPointF(x, heightBig / 2.0));
        return;
    }
    Q_UNUSED(option);
    QPen pen(lineColor);
    QBrush brush(fillColor, Qt::SolidPattern);
    if (isSelected()) {
        pen.setStyle(Qt::DashLine);
        brush.setStyle(Qt::Dense4Pattern);
    }
    painter->setPen(pen);
    painter->setBrush(brush);
    painter->drawPath(shape());
}
