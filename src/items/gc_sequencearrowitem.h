#ifndef GC_SEQUENCEARROWITEM_H
#define GC_SEQUENCEARROWITEM_H

#include <QColor>
#include <QGraphicsItem>
#include <QPainterPath>

// Abstract base of genomes and genes: a stretch of sequence drawn as a
// horizontal arrow (or box) along y = 0, heightBig tall. Subclasses say where
// the arrow starts and ends and which way it points.
class GC_SequenceArrowItem : public QGraphicsItem
{
public:
    explicit GC_SequenceArrowItem(QGraphicsItem *parent = nullptr);
    explicit GC_SequenceArrowItem(const GC_SequenceArrowItem &other);
    ~GC_SequenceArrowItem() override;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    // The generic item code; concrete arrows report their own.
    int type() const override { return QGraphicsItem::Type; }

    virtual void setHeightBig(qreal h);
    virtual void setHeightSmall(qreal h);
    virtual bool isReverse() const = 0;
    virtual qreal getArrowStartX() const = 0;
    virtual qreal getArrowEndX() const = 0;

    qreal getHeightBig() const { return heightBig; }
    qreal getHeightSmall() const { return heightSmall; }
    qreal getHeadLength() const { return headLength; }
    QColor getLineColor() const { return lineColor; }
    QColor getFillColor() const { return fillColor; }
    int getArrowStyle() const { return arrowStyle; }

    void setHeadLength(qreal l);
    void setLineColor(const QColor &color);
    void setFillColor(const QColor &color);
    void setArrowStyle(int style);

protected:
    // Subclasses call this (with prepareGeometryChange) whenever their start,
    // end or direction change, so the cached outline is rebuilt on demand.
    void invalidateShape() { shapeValid = false; }
    // Called after the arrow style changed (items drawn against this one,
    // such as matching bands, may depend on it).
    virtual void arrowStyleChanged() {}

    qreal heightBig = 5.0;
    qreal heightSmall = 5.0;
    qreal headLength = 5.0;
    QColor lineColor;
    QColor fillColor;
    int arrowStyle = 1;

private:
    void applyDefaults(qreal hb, qreal hs, qreal hl, const QColor &line, const QColor &fill,
                       int style);
    void setHeightBigBase(qreal h);
    QPainterPath buildShape() const;

    mutable QPainterPath cachedShape;
    mutable qreal cachedStartX = 0.0;
    mutable qreal cachedEndX = 0.0;
    mutable bool cachedReverse = false;
    mutable bool shapeValid = false;
};

#endif
