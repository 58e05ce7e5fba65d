#ifndef GC_GCCONTENTBAR_H
#define GC_GCCONTENTBAR_H

#include "gc_gccountindex.h"
#include "gc_itemtypes.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QPointer>

#include <memory>

class GC_Genome;
class QGraphicsView;

// A histogram of the GC content of its genome's sequence (the genome is its
// parent), one bar per window of nucleotides, with a line of figures.
// The G and C letters are counted once per sequence into a count index;
// windows, extremes and painting then cost nothing per nucleotide.
//
// The line of figures stands 10 pixels inside the left edge of the view, so
// it moves over the bar as the view scrolls; the bar repaints its old and new
// place then, since a scrolled view only redraws what it newly shows.
class GC_GCcontentBar : public QGraphicsItem
{
public:
    GC_GCcontentBar();
    explicit GC_GCcontentBar(const GC_GCcontentBar &other);
    ~GC_GCcontentBar() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_GCCONTENTBAR; }

    bool fillEnabled() const { return m_fillEnabled; }
    bool outlineEnabled() const { return m_outlineEnabled; }
    QColor outlineColor() const { return m_outlineColor; }
    QColor fillColor() const { return m_fillColor; }
    QColor textColor() const { return m_textColor; }
    double height() const { return m_height; }
    int windowSize() const { return m_windowSize; }
    int placement() const { return m_placement; }
    // Extremes of the windows over the genome's shown range; 0 without a
    // genome or sequence.
    double minGC() const;
    double maxGC() const;
    // The line of figures drawn over the bars, and where it starts: the
    // visible left edge + 10, kept within the genome.
    QString figuresText() const;
    double figuresLeft() const;
    QFont font() const { return m_font; }
    GC_Genome *parentGenome() const;

    void setPlacement(int value);
    void setFillEnabled(bool value);
    void setOutlineEnabled(bool value);
    void setHeight(double value);
    void setFont(const QFont &font);
    void setFillColor(const QColor &color);
    void setOutlineColor(const QColor &color);
    void setTextColor(const QColor &color);
    void computeGCcontent(int window);
    void updateWindow();
    void updateVisibility();
    // The genome calls this when its sequence changed: the counts go.
    void sequenceChanged();

    void prepareGeometryChange() { QGraphicsItem::prepareGeometryChange(); }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    const GC_GCcountIndex &counts() const;
    void refreshExtremes() const;
    // The box of the line of figures when it starts at x.
    QRectF figuresRect(double x) const;
    // Follows the horizontal scrolling of the view that shows the bar.
    void followView();
    void figuresMoved();

    int m_windowSize = 0;
    int m_placement = 0;
    bool m_fillEnabled = true;
    bool m_outlineEnabled = true;
    double m_height = 80.0;
    // Counts and extremes are caches, rebuilt when what they were made from
    // (sequence source, shown range, window size) differs.
    mutable GC_GCcountIndex m_counts;
    mutable bool m_countsValid = false;
    mutable QString m_countsDatabase;
    mutable int m_countsDbId = -1;
    mutable int m_countsRevision = 0;
    mutable double m_minGC = 0.0;
    mutable double m_maxGC = 0.0;
    mutable int m_extremesRevision = -1;
    mutable qint64 m_extremesFrom = 0;
    mutable qint64 m_extremesTo = -1;
    mutable int m_extremesWindow = 0;
    QColor m_fillColor = QColor(Qt::darkGreen);
    QColor m_outlineColor = QColor(Qt::black);
    QColor m_textColor = QColor(Qt::black);
    QFont m_font;
    // Where the line of figures was last drawn, and the view being followed
    // (the watch object carries the connection and goes with the bar).
    double m_figuresX = 0.0;
    QPointer<QGraphicsView> m_watchedView;
    std::unique_ptr<QObject> m_viewWatch;
    mutable QString m_figuresText;
    mutable double m_figuresKey[3] = {-1.0, -1.0, -1.0};
};

#endif
