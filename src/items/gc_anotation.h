#ifndef GC_ANOTATION_H
#define GC_ANOTATION_H

#include "gc_interval.h"
#include "gc_intervalhandles.h"
#include "gc_itemtypes.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>

class GC_AnotationControlPoint;
class GC_AnotationText;
class GC_Genome;
class GC_Style;
class QSqlQuery;

// A coloured box marking a nucleotide range of its genome (its parent item),
// with its name as a label above it. Like a gene, its extent comes from the
// genome's nucleotide mapping.
class GC_Anotation : public QGraphicsItem
{
public:
    GC_Anotation();
    explicit GC_Anotation(const GC_Anotation &other);
    ~GC_Anotation() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_ANOTATION; }

    int getId() const { return id; }
    GC_Interval getCoords() const { return coords; }
    double getHeight() const { return height; }
    bool getShowText() const { return showText; }
    QColor getLineColor() const { return lineColor; }
    QColor getFillColor() const { return fillColor; }
    QColor getTextColor() const;
    QString getName() const;
    double getTextY() const;
    double getTextAngle() const;
    int getTextPositionFlag() const;
    QFont getTextFont() const;
    GC_Genome *getGenome() const;
    GC_AnotationText *getLabel() const { return label; }

    void setId(int value) { id = value; }
    void setName(const QString &name);
    void setCoords(const GC_Interval &range);
    void setHeight(double value);
    void setShowText(bool value);
    void setLineColor(const QColor &color);
    void setFillColor(const QColor &color);
    void setTextColor(const QColor &color);
    void setTextY(double y);
    void setTextAngle(double angle);
    void setTextPositionFlag(int flag);
    void setTextFont(const QFont &font);
    // Applies the style's annotation values: all of them when force is
    // true, otherwise those whose apply flag is set.
    void applyStyle(const GC_Style &style, bool force);

    void updateGeometry();
    void placeText();
    void placeControlPoints();
    void updateVisibility();
    void updateTextVisibility();
    void updateControlPointsVisibility();
    double boundControlPointX(GC_AnotationControlPoint *handle, double x) const;
    void controlPointMoved(GC_AnotationControlPoint *handle);

    // Canvas rows. saveItem writes nothing without a genome (true) and
    // returns false when the insert fails.
    static QString sqlCreateTable();
    static QString sqlSelect();
    static QString sqlInsert();
    bool saveItem(QSqlQuery &query) const;
    void loadItem(const QSqlQuery &query);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    int id = -1;
    GC_Interval coords = GC_Interval(1, 1);
    double height = 10.0;
    bool showText = true;
    QColor lineColor = QColor(Qt::black);
    QColor fillColor = QColor(255, 255, 0);
    GC_AnotationText *label = nullptr;
    GC_IntervalHandles handles;
};

#endif
