#ifndef GC_LABELITEM_H
#define GC_LABELITEM_H

#include <QGraphicsSimpleTextItem>

// A simple text item anchored at its left end (0), centre (1) or right end
// (2), vertically centred, and turned by an angle about that anchor.
class GC_LabelItem : public QGraphicsSimpleTextItem
{
public:
    explicit GC_LabelItem(QGraphicsItem *parent = nullptr);
    ~GC_LabelItem() override;

    int positionFlag() const { return m_positionFlag; }
    double angle() const { return m_angle; }
    QColor color() const;
    void setColor(const QColor &color);
    void setAngle(double angle);
    void setPositionFlag(int flag);
    void setText(const QString &text);
    void setFont(const QFont &font);
    void setFontString(const QString &description);
    void updateTransform();

private:
    int m_positionFlag = 1;
    double m_angle = 0.0;
};

#endif
