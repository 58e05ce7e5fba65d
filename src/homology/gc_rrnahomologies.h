#ifndef GC_RRNAHOMOLOGIES_H
#define GC_RRNAHOMOLOGIES_H

#include "gc_interval.h"
#include "gc_itemtypes.h"

#include <QGraphicsItem>
#include <QMap>

class GC_Genome;
class GC_rRNAMatching;

// The bar under a genome (its parent) on which its rRNA hits are drawn. It
// lies at x 0 within the genome, so genome x is also bar x.
class GC_rRNAHomologies : public QGraphicsItem
{
public:
    GC_rRNAHomologies();
    ~GC_rRNAHomologies() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_RRNAHOMOLOGIES; }

    GC_Genome *parentGenome() const;
    double height() const { return m_height; }
    void setHeight(double h);
    void updateVisibility();
    void clearMatchings();

    // Hit records, keyed by order of addition; the bar owns them.
    const QMap<int, GC_rRNAMatching *> &matchings() const { return m_matchings; }
    void addrRNAMatching(int start, int end, int rrnaSeqId, int groupId, float evalue,
                         float bitscore);
    // The hit under a scene x: its ends, or (0, 0); its HTML, or "".
    GC_Interval matchingAt(double sceneX) const;
    QString legendHtmlAt(double sceneX) const;

    // Public forwarder: the genome announces its geometry changes for us.
    void prepareGeometryChange() { QGraphicsItem::prepareGeometryChange(); }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    double m_height = 0.0;
    QMap<int, GC_rRNAMatching *> m_matchings;
};

#endif
