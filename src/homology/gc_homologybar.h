#ifndef GC_HOMOLOGYBAR_H
#define GC_HOMOLOGYBAR_H

#include "gc_homologyrowwriter.h"
#include "gc_positionindex.h"

#include <QGraphicsItem>
#include <QList>
#include <QString>

class GC_Genome;
class GC_GenomeScene;

// What the COG, RFAM and rRNA bars have in common: a bar under a genome (its
// parent) at x 0 within it, so genome x is also bar x; a height of at least
// 5 pixels; dragged up and down only; as wide as the genome, painting only
// the part exposed; shown when the scene's and the genome's switches of its
// family are both on; and the index of which hit covers each genome position.
// The hit records themselves, their painting and their texts belong to each
// family's bar. The stored rows a bar leaves out stay with it, so that the
// canvas keeps them.
class GC_HomologyBar : public QGraphicsItem
{
public:
    ~GC_HomologyBar() override = default;

    QRectF boundingRect() const override;
    // Clips to the exposed part, draws the borders when the bar has them on,
    // then the hits that overlap the nucleotides under the exposed part
    // (paintHits).
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

    GC_Genome *parentGenome() const;
    double height() const { return m_height; }
    // At least 5 pixels; repaints only when the height changes.
    void setHeight(double h);
    void updateVisibility();

    const GC_PositionIndex &positionMap() const { return m_positionMap; }

    // Takes every hit out, and the rows left out with them.
    virtual void clearMatchings() = 0;

    // A stored row the bar does not show (its reference is not in the
    // collection, or the hit is far longer than it), exactly as read: the
    // next save writes it back with the hits shown.
    void keepLeftOutRow(const GC_HomologyRowWriter::Row &row) { m_leftOutRows.append(row); }
    const QList<GC_HomologyRowWriter::Row> &leftOutRows() const { return m_leftOutRows; }

    // Public forwarder: the genome announces its geometry changes for us.
    void prepareGeometryChange() { QGraphicsItem::prepareGeometryChange(); }

protected:
    explicit GC_HomologyBar(const QString &toolTip);

    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

    // Whether the scene's and the genome's switches of this family are on.
    virtual bool familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const = 0;
    // Draws the hits that overlap the exposed nucleotides low..high (lowest
    // first whatever the orientation), with no pen.
    virtual void paintHits(QPainter *painter, const GC_Genome &genome, int low, int high) = 0;
    // Whether the two horizontal border lines are drawn; none by default.
    virtual bool drawsBorders() const { return false; }

    // Enters a hit's zone (from..to) under its key; the first zone also marks
    // the genome's shown range as uncovered. False, with a debug line naming
    // the caller, when there is no genome or the zone cannot be indexed.
    bool indexZone(int from, int to, int key, const char *caller);
    // Marks the genome's shown range uncovered when the index is still
    // empty, as the first hit's zone would; a bar whose hits are all refused
    // then reports its genome uncovered rather than nothing at all.
    void seedPositionMap();
    // The key of the hit under a scene x, -1 for none.
    int keyAt(double sceneX) const;
    void clearPositionMap() { m_positionMap.clear(); }
    void clearLeftOutRows() { m_leftOutRows.clear(); }

    // A hit's box in whole pixels outwards, so that a short hit stays visible.
    QRectF pixelBox(const GC_Genome &genome, int start, int end) const;

private:
    double m_height = 0.0;
    GC_PositionIndex m_positionMap;
    QList<GC_HomologyRowWriter::Row> m_leftOutRows;
};

#endif
