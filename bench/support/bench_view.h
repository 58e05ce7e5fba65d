#ifndef BENCH_VIEW_H
#define BENCH_VIEW_H

class QGraphicsScene;
class QGraphicsView;
class QImage;

// Shows the scene in the view as the frame benchmarks measure it: no frame,
// no scroll bars, width x height pixels.
void benchShowView(QGraphicsView &view, QGraphicsScene &scene, int width = 1920,
                   int height = 1080);

// Renders the view's visible part into the image (the export path) and
// returns the milliseconds it took.
double benchRenderOnce(QGraphicsView &view, QImage &image);

#endif
