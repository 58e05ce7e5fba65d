#include "gc_labelitem.h"

#include <QBrush>
#include <QFont>
#include <QTransform>

GC_LabelItem::GC_LabelItem(QGraphicsItem *parent)
    : QGraphicsSimpleTextItem(parent)
{
    updateTransform();
}

GC_LabelItem::~GC_LabelItem() = default;

QColor GC_LabelItem::color() const
{
    return brush().color();
}

void GC_LabelItem::setColor(const QColor &color)
{
    QBrush current = brush();
    current.setColor(color);
    setBrush(current);
}

void GC_LabelItem::setAngle(double angle)
{
    if (angle == m_angle)
        return;
    m_angle = angle;
    updateTransform();
}

void GC_LabelItem::setPositionFlag(int flag)
{
    if (flag == m_positionFlag)
        return;
    m_positionFlag = flag;
    updateTransform();
}

void GC_LabelItem::setText(const QString &text)
{
    if (text == this->text())
        return;
    QGraphicsSimpleTextItem::setText(text);
    updateTransform();
}

void GC_LabelItem::setFont(const QFont &font)
{
    if (font == this->font())
        return;
    QGraphicsSimpleTextItem::setFont(font);
    updateTransform();
}

void GC_LabelItem::setFontString(const QString &description)
{
    QFont font;
    if (font.fromString(description))
        setFont(font);
}

void GC_LabelItem::updateTransform()
{
    const QRectF rect = QGraphicsSimpleTextItem::boundingRect();
    double shiftX = 0.0;
    switch (m_positionFlag) {
    case 0:
        shiftX = 0.0;
        break;
    case 1:
        shiftX = -rect.width() / 2.0;
        break;
    case 2:
        shiftX = -rect.width();
        break;
    default:
        return;
    }
    // Shift first, then turn: the text turns about its anchor.
    QTransform transform;
    transform.rotate(-m_angle);
    transform.translate(shiftX, -rect.height() / 2.0);
    setTransform(transform);
}
