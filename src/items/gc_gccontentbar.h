#ifndef GC_GCCONTENTBAR_H
#define GC_GCCONTENTBAR_H

#include "gc_itemtypes.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>

class GC_Genome;

// A histogram of the GC content of its genome's sequence (the genome is its
// parent), one bar per window of nucleotides, with a line of figures.
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
    double minGC() const { return m_minGC; }
    double maxGC() const { return m_maxGC; }
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

    void prepareGeometryChange() { QGraphicsItem::prepareGeometryChange(); }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    int m_windowSize = 0;
    int m_placement = 0;
    bool m_fillEnabled = true;
    bool m_outlineEnabled = true;
    double m_height = 80.0;
    double m_minGC = 0.0;
    double m_maxGC = 0.0;
    // Set while the extremes were not computed from a genome.
    bool m_extremesStale = true;
    QColor m_fillColor = QColor(Qt::darkGreen);
    QColor m_outlineColor = QColor(Qt::black);
    QColor m_textColor = QColor(Qt::black);
    QFont m_font;
};

#endif
