#ifndef BENCH_VIEW_H
#define BENCH_VIEW_H

class GC_GenomeScene;
class GC_GenomeView;
class QImage;

// Shows the scene in the view as the frame benchmarks measure it: no frame,
// no scroll bars, width x height pixels.
void benchShowView(GC_GenomeView &view, GC_GenomeScene &scene, int width = 1920,
                   int height = 1080);

// Renders the view's visible part into the image (the export path) and
// returns the milliseconds it took.
double benchRenderOnce(GC_GenomeView &view, QImage &image);

#endif
