#ifndef GC_SCENEIMAGERENDERER_H
#define GC_SCENEIMAGERENDERER_H

#include <QList>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class QGraphicsItem;
class QGraphicsScene;
class QGraphicsView;

// Renders a scene into an image file: what a view shows or the whole scene,
// as a raster image (any format the image writer knows) or as SVG, whose
// page is exactly the drawing. The whole scene is the items' bounding
// rectangle, not the scene rectangle, which keeps whatever size the canvas
// once grew to for the window. Selection marks belong to the window too:
// the picture is drawn with nothing selected. The file
// is written through a temporary file and only replaces an existing one
// when it was written completely.
class GC_SceneImageRenderer
{
public:
    GC_SceneImageRenderer(QGraphicsScene *scene, QGraphicsView *view);

    // Appends "." + format to fileName when its upper-cased suffix is not
    // exactly format. False, with errorText() set, when nothing was written.
    bool render(QString &fileName, const QString &format, bool wholeScene, bool antialiasing);

    QString errorText() const { return m_errorText; }

    // The name the file gets for a format (the rule render() applies).
    static QString fileNameForFormat(const QString &fileName, const QString &format);

private:
    // In pixels, as floating point: a scene can be far wider than an int.
    QSizeF targetSize(bool wholeScene) const;
    // Empty when a picture of that size can be drawn, else why not, in
    // words: the size it would have and what to do instead.
    QString sizeProblem(const QSizeF &size, bool raster) const;
    bool renderSvg(const QString &fileName, bool wholeScene);
    bool renderRaster(const QString &fileName, const QString &format, bool wholeScene,
                      bool antialiasing);
    bool fail(const QString &text);
    // Unselects every item without a word to the window (its property panel
    // stays as it is); answers the items to select again afterwards.
    QList<QGraphicsItem *> setSelectionAside();
    void restoreSelection(const QList<QGraphicsItem *> &items);

    QGraphicsScene *m_scene;
    QGraphicsView *m_view;
    // What a whole-scene picture shows, in scene coordinates.
    QRectF m_wholeRect;
    QString m_errorText;
};

#endif
