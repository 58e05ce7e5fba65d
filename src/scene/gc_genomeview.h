#ifndef GC_GENOMEVIEW_H
#define GC_GENOMEVIEW_H

#include <QGraphicsView>

class QAction;
class GC_GenomeMatching;

// The widget that shows the comparison scene. Dragging on empty canvas draws a
// rubber band that selects what it touches, and the mouse is tracked without a
// button pressed so the scene gets the moves it needs for hover legends. The
// scene's layout operations measure this view's viewport. A scroll that comes
// with a new canvas rectangle repaints the whole viewport, so no piece of an
// earlier picture stays in it.
class GC_GenomeView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit GC_GenomeView(QWidget *parent = nullptr);

    // Scrolls to the canvas's top left corner, where the top row starts.
    void showCanvasTopLeft();

signals:
    void selectMatching(GC_GenomeMatching *matching);

public slots:
    // The action carries the matching's address as an unsigned integer.
    void selectedMatching(QAction *action);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The canvas rectangle when the viewport was last painted.
    QRectF m_paintedSceneRect;
};

#endif
