#ifndef SCENE_FIXTURE_H
#define SCENE_FIXTURE_H

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <memory>

class GC_Gene;
class GC_Genome;
class GC_GenomeMatching;
class GC_GenomeScene;
class GC_GenomeView;
class QColor;
class QImage;
class QPointF;
class QSize;

// Builders for tests that drive the canvas through a real view.
namespace SceneFixture {

// A genome of the given length holding a reproducible random sequence.
GC_Genome *genomeWithSequence(int length, const QString &name, quint32 seed);

// Adds a forward gene over from..to (smaller first) to the genome.
GC_Gene *addGene(GC_Genome *genome, int from, int to);

// A shown view whose viewport is exactly width by height pixels: no frame,
// no scroll bars, top-left corner on scene point (0, 0).
std::unique_ptr<GC_GenomeView> showView(GC_GenomeScene &scene, int width, int height);

// The viewport point over a scene point.
QPoint viewportPoint(const GC_GenomeView &view, const QPointF &scenePoint);

// An SVG file drawn by Qt's own renderer onto an image of that size filled
// with the background; a null image when the file does not render.
QImage drawnSvg(const QString &fileName, const QSize &size, const QColor &background);

// Makes the scene active, so keys reach its focus item without a window
// manager.
void activate(GC_GenomeScene &scene);

} // namespace SceneFixture

#endif
