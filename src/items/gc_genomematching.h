#ifndef GC_GENOMEMATCHING_H
#define GC_GENOMEMATCHING_H

#include "gc_interval.h"
#include "gc_itemtypes.h"

#include <QColor>
#include <QGraphicsItem>
#include <QPainterPath>
#include <QPolygonF>

#include <array>

class GC_Genome;
class GC_Style;
class QSqlQuery;

// One BLAST hit between a genome of the top row and one of the low row,
// drawn as a band joining the two stretches. The scene owns it; both genomes
// list it so they can update it when they move or change.
class GC_GenomeMatching : public QGraphicsItem
{
public:
    GC_GenomeMatching();
    explicit GC_GenomeMatching(const GC_GenomeMatching &other);
    ~GC_GenomeMatching() override;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_MATCHING; }

    int id() const { return m_id; }
    double similarity() const { return m_similarity; }
    double bitScore() const { return m_bitScore; }
    GC_Genome *topGenome() const { return m_topGenome; }
    GC_Genome *lowGenome() const { return m_lowGenome; }
    QColor color() const { return m_color; }
    // Hit-order ends; from > to means the hit runs backwards on that genome.
    int topFrom() const { return m_topFrom; }
    int topTo() const { return m_topTo; }
    int lowFrom() const { return m_lowFrom; }
    int lowTo() const { return m_lowTo; }
    GC_Interval topCoords() const { return GC_Interval(m_topFrom, m_topTo); }
    GC_Interval lowCoords() const { return GC_Interval(m_lowFrom, m_lowTo); }
    GC_Interval coordsOn(const GC_Genome *genome) const;
    bool isDirect() const { return (m_topFrom > m_topTo) == (m_lowFrom > m_lowTo); }

    void setId(int value);
    void setSimilarity(double value);
    void setBitScore(double value);
    void setColor(const QColor &value);
    void setTop(GC_Genome *genome, int from, int to);
    void setLow(GC_Genome *genome, int from, int to);
    void setTopGenome(GC_Genome *genome);
    void setLowGenome(GC_Genome *genome);
    // Takes this matching out of both genomes' lists (before deleting it).
    void detachFromGenomes();
    void applyStyle(const GC_Style &style, bool force);

    void updateVisibility();
    void updateGeometry();
    void adjustGenomesToMatching(double sceneX);
    QString toString() const;
    QPolygonF polygon() const;

    // Deletes many matchings at once, each already out of its genomes' and
    // the scene's lists; linear where deleting them one by one is not.
    static void deleteMatchings(const QList<GC_GenomeMatching *> &matchings);

    // The class-wide next matching id.
    static int nextId;

    static QString sqlCreateTable();
    static QString sqlSelect();
    static QString sqlInsert();
    bool saveItem(QSqlQuery &query) const;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    void updateGeometryCache() const;
    void paintHairline(QPainter *painter, const QColor &fill, QPointF from, QPointF to,
                       const QRectF &shown) const;
    static bool cutToRows(QPointF *corners, QPointF *onDevice, double top, double bottom);
    void drawInStrips(QPainter *painter, const QPointF *corners, const QPointF *onDevice) const;
    // Whether a band drawn in strips looks the same as drawn whole.
    static bool seamlessStrips(const QPainter *painter);

    int m_id = -1;
    double m_similarity = 0.0;
    double m_bitScore = 0.0;
    GC_Genome *m_topGenome = nullptr;
    int m_topFrom = 0;
    int m_topTo = 0;
    GC_Genome *m_lowGenome = nullptr;
    int m_lowFrom = 0;
    int m_lowTo = 0;
    QColor m_color;
    // The band's four corners, rebuilt when a genome reports a change; kept
    // in the item rather than in a list of their own, for there may be a
    // hundred thousand bands.
    mutable std::array<QPointF, 4> m_corners;
    mutable QRectF m_bounds;
    mutable bool m_geometryValid = false;
    // The hairline frame this band was last drawn in.
    mutable quint64 m_hairlineGeneration = 0;
};

#endif
