#ifndef GC_SCENELAYOUT_H
#define GC_SCENELAYOUT_H

#include <QList>

class GC_Genome;
class GC_GenomeMatching;
class GC_GenomeScene;
class QGraphicsItem;
class QGraphicsView;

// The layout commands of the scene: the rows fitted to the view's width,
// both rows at one scale, one matching spread over the view, and a bar
// moved to the height where it collides least. After each layout the canvas
// is the items' bounding rectangle. A layout reads the rows, margin and
// spacing as they stand when it is made; it is made for one command and
// keeps nothing.
class GC_SceneLayout
{
public:
    explicit GC_SceneLayout(GC_GenomeScene *scene);

    // Each row packed from the left margin at the scale that fills the
    // view's width (a single genome fills it alone); the top row at y 0,
    // the low row below. The view then shows the canvas from its top left.
    void adjustToWidth();
    // One scale for both rows, the narrower row spread over the wider one's
    // width; the view then shows the canvas from its top left.
    void adjustProportional();
    // Only the matching's two genomes shown, each scaled so the matched
    // stretch spans the view, and the view centred on the matching.
    void adjustMatchingToView(GC_GenomeMatching *matching);
    // Moves a bar of a genome to the height, from -80 to 80 in steps of 10,
    // where it overlaps the fewest items.
    void placeWithoutCollision(QGraphicsItem *item);

private:
    void fitCanvasFromTopLeft(QGraphicsView *view);
    void placeRow(const QList<GC_Genome *> &row, double pixPerNuc, double y);
    void spreadRow(const QList<GC_Genome *> &row, double pixPerNuc, double y, double available,
                   qint64 rowLength);

    GC_GenomeScene *m_scene;
    const QList<GC_Genome *> m_topGenomes;
    const QList<GC_Genome *> m_lowGenomes;
    const double m_margin;
    const double m_separationBetweenGenomes;
};

#endif
