#ifndef GC_SCENEINPUT_H
#define GC_SCENEINPUT_H

#include <QPointF>
#include <QString>

class GC_Genome;
class GC_GenomeScene;
class GC_Interval;
class QGraphicsItem;
class QGraphicsSceneContextMenuEvent;
class QGraphicsSceneMouseEvent;
class QKeyEvent;

// The mouse and keys on the canvas. A press acts by the scene's mode (adds
// a text, removes, zooms a genome); in select mode a move over a homology
// bar shows the hover legend of the hit under the cursor, and "C" pins a
// copy of it; Delete removes the selection; a right click opens the
// context menu; a drag that moved an item is an item change (changedItem(),
// so the property panel shows where it went), and the canvas grows to hold
// the items dragged past its edge. The scene forwards its events here and
// keeps the toolkit's own handling.
class GC_SceneInput
{
public:
    explicit GC_SceneInput(GC_GenomeScene *scene);

    // False when the toolkit's own handling should take the press (select
    // mode); otherwise the press was handled and accepted here.
    bool mousePress(QGraphicsSceneMouseEvent *event);
    // After the toolkit's handling of a move in select mode.
    void mouseMoved(QGraphicsSceneMouseEvent *event);
    // Before the toolkit's handling of a release.
    void mouseReleased(QGraphicsSceneMouseEvent *event);
    // After the toolkit's handling of a key.
    void keyPressed(QKeyEvent *event);
    void contextMenu(QGraphicsSceneContextMenuEvent *event);

    // Shows the hover legend over a homology bar for a hit text, or hides
    // it for an empty one; does nothing when the text equals lastText, and
    // then remembers it there.
    void showHoverLegend(QGraphicsItem *bar, GC_Genome *genome, const QString &text,
                         const GC_Interval &hit, QString &lastText);

private:
    QGraphicsItem *topmostItemAt(const QPointF &scenePos) const;
    void zoomAtPress(const QPointF &pos);
    void extendCanvasOverDraggedItems();
    void updateHoverLegendAt(const QPointF &scenePos);
    // True when a shown homology bar's bounding box holds the point.
    bool homologyBarNear(const QPointF &scenePos) const;
    void pinHoverLegend();

    GC_GenomeScene *m_scene;
    // Last legend text shown for each kind of homology bar.
    QString m_lastCogHoverText;
    QString m_lastRfamHoverText;
    QString m_lastrRNAHoverText;
};

#endif
