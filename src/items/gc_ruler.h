#ifndef GC_RULER_H
#define GC_RULER_H

#include "gc_itemtypes.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QList>
#include <QLocale>
#include <QString>

#include <memory>

class GC_Genome;
class GC_RulerLabelRoom;
class GC_Style;
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
    void applyStyle(const GC_Style &style, bool force);

    // Nucleotides between two ticks at the genome's current scale: the least
    // power of ten (at least 10) putting ticks pixsPerPeriod pixels apart.
    qint64 tickPeriod() const;

    // One tick of the scale. value 0 stands for nucleotide 1; long ticks
    // carry the label drawn under or over them where it has room
    // (GC_RulerLabelRoom).
    struct Tick
    {
        qint64 value = 0;
        int nucleotide = 0;
        bool big = false;
        QString label;
    };
    // The period for a scale, capped where larger periods change nothing
    // (beyond any genome length), so every tick loop ends.
    static qint64 periodFor(double pixPerNuc, int pixsPerPeriod);
    // Nucleotides between two long ticks, capped where no coordinate
    // reaches, so that sums of it cannot overflow.
    static qint64 longPeriod(qint64 period, int periodsPerBigLine);
    // The ticks of the shown range from..to that fall among the visible
    // nucleotides lo..hi (one period beyond them included): a tick every
    // period, every periodsPerBigLine-th one long, the two ends long with
    // their own numbers, and a long tick within a period of an end drawn
    // short so that its label stays clear of the end's.
    static QList<Tick> ticks(int from, int to, qint64 lo, qint64 hi, qint64 period,
                             int periodsPerBigLine, const QLocale &locale = QLocale());

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
    // Measured once for what paint() last drew, until that changes.
    std::unique_ptr<GC_RulerLabelRoom> m_labelRoom;
};

#endif
