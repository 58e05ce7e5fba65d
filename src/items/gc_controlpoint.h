#ifndef GC_CONTROLPOINT_H
#define GC_CONTROLPOINT_H

#include <QGraphicsItem>
#include <QPolygonF>

// A small red drag handle at one end of a selected genome, gene or
// annotation, always a child of its owner. Shape 0 points left, 1 right,
// 2 is a diamond; any other value draws nothing.
class GC_ControlPoint : public QGraphicsItem
{
public:
    explicit GC_ControlPoint(QGraphicsItem *owner);
    ~GC_ControlPoint() override;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    // Handles report the generic item code: no code of the scene's table.
    int type() const override { return QGraphicsItem::Type; }

    int shapeType() const { return m_shapeType; }
    void setShapeType(int kind);
    QPolygonF polygon() const;

    // Moves the handle without it counting as a drag by the user.
    void placeAt(qreal x);

protected:
    // Shared drag rule of the subclasses: the handle slides along the owner's
    // axis within boundX, and the owner hears of every move the user made.
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    virtual bool hasOwner() const = 0;
    virtual double boundX(double x) = 0;
    virtual void ownerMoved() = 0;

private:
    int m_shapeType = 0;
};

#endif
