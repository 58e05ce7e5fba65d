#ifndef GC_LEGEND_H
#define GC_LEGEND_H

#include "gc_itemtypes.h"

#include <QGraphicsTextItem>

class GC_Genome;

// An HTML information bubble whose pointer ends over the middle of a
// nucleotide range of a genome; it stands above or below its parent item.
class GC_Legend : public QGraphicsTextItem
{
public:
    GC_Legend();
    explicit GC_Legend(const GC_Legend &other);
    ~GC_Legend() override;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_LEGEND; }

    GC_Genome *anchorItem() const { return m_anchorItem; }
    int anchorStart() const { return m_anchorStart; }
    int anchorEnd() const { return m_anchorEnd; }
    QString html() const { return m_html; }
    bool isAbove() const { return m_isAbove; }
    void setHtml(const QString &html);
    void setReadOnly(bool readOnly);

    // Read by the property panel.
    bool isReadOnly() const { return m_readOnly; }

    void setAnchor(GC_Genome *genome, int start, int end);

private:
    QPolygonF bubblePolygon() const;

    int m_anchorStart = 0;
    int m_anchorEnd = 0;
    GC_Genome *m_anchorItem = nullptr;
    bool m_isAbove = false;
    bool m_readOnly = true;
    double m_parentHeight = 0.0;
    QString m_html;
};

#endif
