// Drawing the canvas at realistic sizes: two 5 Mb genomes of 5,000 genes
// each with 20,000 matchings, rendered to a 1920x1080 image, then zoomed ten
// times (each genome's own zoom, as the keys and the zoom mode do) with a
// render after each step; then 100,000 matchings and 5,000 annotations, both
// through the view's render (image export) and its own repaint, next to the
// same bands drawn the naive way (a plain polygon item each), and a range
// narrowing that drops half of the matchings.
#include "bench_report.h"
#include "bench_scenebuilder.h"
#include "bench_view.h"

#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"

#include "gc_interval.h"

#include <QApplication>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <QImage>

#include <algorithm>

namespace {

// The on-screen path: the viewport's own paint event, as a repaint draws it.
double repaintOnce(GC_GenomeView &view, QImage &image)
{
    BenchTimer timer;
    image.fill(Qt::white);
    view.viewport()->render(&image);
    return timer.elapsedMs();
}

// The naive drawing of the same bands: one plain polygon item per band,
// in the band's colour and translucency, in a shown view of the same size
// looking at the same place; its frame through the same render path. The
// scene keeps no index: with the default BSP index, 100,000 overlapping
// bands take minutes to index and some 14 s per frame, which measures the
// index rather than the drawing.
double naiveBandsFrame(GC_GenomeScene &scene, GC_GenomeView &view, QImage &image)
{
    QGraphicsScene plain;
    plain.setSceneRect(scene.sceneRect());
    plain.setItemIndexMethod(QGraphicsScene::NoIndex);
    for (const GC_GenomeMatching *matching : scene.matchings()) {
        QColor fill = matching->color().isValid() ? matching->color() : QColor(Qt::black);
        fill.setAlphaF(float(std::clamp(2.0 * matching->similarity() / 100.0 - 1.0, 0.0, 1.0)));
        auto *band = new QGraphicsPolygonItem(matching->polygon());
        band->setPen(Qt::NoPen);
        band->setBrush(fill);
        plain.addItem(band);
    }
    QGraphicsView naive;
    benchShowView(naive, plain, view.width(), view.height());
    naive.setTransform(view.transform());
    naive.centerOn(view.mapToScene(view.viewport()->rect().center()));
    QCoreApplication::processEvents();
    benchRenderOnce(naive, image); // the index is built on the first frame
    return benchRenderOnce(naive, image);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    GC_GenomeScene scene;
    GC_GenomeView view;
    benchShowView(view, scene);

    BenchSceneBuilder builder;
    BenchTimer timer;
    builder.build(scene);
    benchReport("render_build_scene_2x5Mb_5000genes_20k_matchings", timer.elapsedMs(), "ms");
    view.centerOn(scene.itemsBoundingRect().center());
    QCoreApplication::processEvents();

    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    benchReport("render_first_frame_1920x1080", benchRenderOnce(view, image), "ms");
    double total = 0.0;
    const int frames = 5;
    for (int i = 0; i < frames; ++i)
        total += benchRenderOnce(view, image);
    benchReport("render_frame_1920x1080", total / frames, "ms");

    // What the frame costs without the bands, and without the genes too.
    scene.slotViewMatchings(false);
    benchReport("render_frame_without_matchings", benchRenderOnce(view, image), "ms");
    scene.slotViewGenes(false);
    benchReport("render_frame_without_matchings_and_genes", benchRenderOnce(view, image), "ms");
    scene.slotViewGenes(true);
    scene.slotViewMatchings(true);

    // Ten zoom steps into the middle of both genomes, drawing after each.
    GC_Genome *genomes[] = {builder.top(), builder.low()};
    const QPointF centre = view.mapToScene(view.viewport()->rect().center());
    double zoomTotal = 0.0, zoomOnly = 0.0;
    for (int step = 0; step < 10; ++step) {
        BenchTimer zoomTimer;
        for (GC_Genome *genome : genomes)
            genome->zoomIn(QPointF(centre.x(), genome->y()));
        zoomOnly += zoomTimer.elapsedMs();
        zoomTotal += zoomTimer.elapsedMs() + benchRenderOnce(view, image);
    }
    benchReport("render_zoom_step_genomes", zoomOnly / 10, "ms");
    benchReport("render_zoom_step_with_frame", zoomTotal / 10, "ms");
    benchReport("render_zoom_10_steps_total", zoomTotal, "ms");

    // The same ten steps back out, where every gene is under a pixel again.
    zoomTotal = 0.0;
    for (int step = 0; step < 10; ++step) {
        BenchTimer zoomTimer;
        for (GC_Genome *genome : genomes)
            genome->zoomOut(QPointF(centre.x(), genome->y()));
        zoomTotal += zoomTimer.elapsedMs() + benchRenderOnce(view, image);
    }
    benchReport("render_zoom_out_step_with_frame", zoomTotal / 10, "ms");

    // Moving a genome drags every band attached to it.
    timer.restart();
    for (int i = 0; i < 10; ++i)
        builder.top()->moveBy(5.0, 0.0);
    benchReport("render_move_genome_20k_matchings", timer.elapsedMs() / 10, "ms");

    // The heavy end of ordinary use: 100,000 matchings on the same pair.
    builder.addMatchings(scene, 80000);
    for (GC_Genome *genome : genomes)
        genome->zoomIn(QPointF(centre.x(), genome->y()));
    for (GC_Genome *genome : genomes)
        genome->zoomOut(QPointF(centre.x(), genome->y()));
    benchRenderOnce(view, image);
    const double frame = benchRenderOnce(view, image);
    benchReport("render_frame_100k_matchings", frame, "ms");
    const double naive = naiveBandsFrame(scene, view, image);
    benchReport("render_frame_100k_matchings_naive_polygon_items", naive, "ms");
    // The whole frame against its bands alone drawn the plain way.
    benchReport("render_frame_100k_matchings_vs_naive_ratio", frame / naive, "x");
    repaintOnce(view, image);
    benchReport("repaint_frame_100k_matchings", repaintOnce(view, image), "ms");
    // 5,000 annotations, 2,500 on each genome, on top of the bands.
    timer.restart();
    builder.addAnotations(5000);
    benchReport("render_add_5000_anotations", timer.elapsedMs(), "ms");
    benchReport("render_frame_100k_matchings_5000_anotations", benchRenderOnce(view, image), "ms");
    benchReport("repaint_frame_100k_matchings_5000_anotations", repaintOnce(view, image), "ms");
    for (GC_Genome *genome : genomes)
        genome->zoomIn(QPointF(centre.x(), genome->y()));
    benchReport("render_zoomed_frame_100k_matchings", benchRenderOnce(view, image), "ms");
    benchReport("repaint_zoomed_frame_100k_matchings", repaintOnce(view, image), "ms");
    scene.slotViewMatchingsBitScore(2500.0);
    benchReport("render_zoomed_frame_100k_matchings_top_sixth_by_score", benchRenderOnce(view, image),
                "ms");
    scene.slotViewMatchingsBitScore(0.0);

    // Narrowing the top genome to its first half drops about half of the
    // 100,000 matchings (every one outside the range leaves both genomes
    // and the scene and is deleted).
    const int before = int(scene.matchings().size());
    timer.restart();
    builder.top()->setCoords(GC_Interval(1, builder.genomeLength / 2));
    benchReport("render_narrow_range_drop_matchings", timer.elapsedMs(), "ms");
    benchReport("render_narrow_range_matchings_dropped", before - int(scene.matchings().size()),
                "matchings");
    benchReport("render_frame_after_narrowing", benchRenderOnce(view, image), "ms");
    return 0;
}
