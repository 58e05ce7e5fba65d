#ifndef GC_RULER_H
#define GC_RULER_H

#include "gc_itemtypes.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>

class GC_Genome;
class QSqlQuery;

// The coordinate scale along a genome (its parent): a base line, a short tick
// every period and a labelled long tick every few periods, with the numbers
// of both ends of the shown range. The period follows the zoom.
class GC_Ruler : public QGraphicsItem
{
public:
    GC_Ruler();
    explicit GC_Ruler(const GC_Ruler &other);
    ~GC_Ruler() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_RULER; }

    int getOrientation() const { return orientation; }
    int getTextPlacement() const { return textPlacement; }
    bool getHorizontalLineVisible() const { return horizontalLineVisible; }
    int getStyle() const { return style; }
    double getHeightBig() const { return heightBig; }
    double getHeightSmall() const { return heightSmall; }
    int getNucsPerPeriod() const { return nucsPerPeriod; }
    int getPeriodsPerBigLine() const { return periodsPerBigLine; }
    int getPixsPerPeriod() const { return pixsPerPeriod; }
    QColor getLineColor() const { return lineColor; }
    QColor getTextColor() const { return textColor; }
    QFont getTextFont() const { return textFont; }
    GC_Genome *getGenome() const;

    void setOrientation(int value);
    void setTextPlacement(int value);
    void setHorizontalLineVisible(bool value);
    void setStyle(int value);
    void setHeightBig(double value);
    void setHeightSmall(double value);
    void setNucsPerPeriod(double value);
    void setPeriodsPerBigLine(int value);
    void setPixsPerPeriod(int value);
    void setLineColor(const QColor &color);
    void setTextColor(const QColor &color);
    void setTextFont(const QFont &font);
    void setTextFont(const QString &description);
    void flipSide();
    void updateVisibility();

    // Nucleotides between two ticks at the genome's current scale: the least
    // power of ten (at least 10) putting ticks pixsPerPeriod pixels apart.
    qint64 tickPeriod() const;

    // Public forwarder: the genome announces its geometry changes for us.
    void prepareGeometryChange() { QGraphicsItem::prepareGeometryChange(); }

    // Canvas rows: one per genome. saveItem writes nothing without a genome
    // (true) and returns false when the insert fails.
    static QString sqlCreateTable();
    static QString sqlSelect();
    static QString sqlInsert();
    bool saveItem(QSqlQuery &query) const;
    void loadItem(const QSqlQuery &query);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    QRectF labelSample() const;

    int orientation = -1;
    int textPlacement = -1;
    bool horizontalLineVisible = false;
    int style = -1;
    double heightBig = -1.0;
    double heightSmall = -1.0;
    int nucsPerPeriod = 0;
    int periodsPerBigLine = 0;
    int pixsPerPeriod = 0;
    QColor lineColor;
    QColor textColor;
    QFont textFont;
};

#endif
