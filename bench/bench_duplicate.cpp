// Duplicating a genome on the canvas: a 5 Mb genome with 5,000 genes joined
// by 100,000 matchings is copied with all its bands; then the style of the
// copy is applied to it and its children.
#include "bench_report.h"
#include "bench_scenebuilder.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_style.h"

#include <QApplication>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    GC_GenomeScene scene;
    BenchSceneBuilder builder;
    builder.build(scene);
    builder.addMatchings(scene, 100000 - scene.countMatchings());
    benchReport("duplicate_source_matchings", scene.countMatchings(), "matchings");

    BenchTimer timer;
    GC_Genome *copy = builder.low()->duplicate();
    benchReport("duplicate_5Mb_5000genes_100k_matchings", timer.elapsedMs(), "ms");
    benchReport("duplicate_copied_matchings", copy ? copy->countMatchings() : -1, "matchings");

    GC_Style style;
    style.applyGeneFillColor = true;
    style.geneFillColor = Qt::yellow;
    style.applyMatchingStraightColor = true;
    style.matchingStraightColor = Qt::darkRed;
    style.applyGenomeFillColor = true;
    style.genomeFillColor = Qt::magenta;
    timer.restart();
    if (copy)
        copy->setStyle(style, false, true);
    benchReport("style_genome_with_children_100k_matchings", timer.elapsedMs(), "ms");
    return 0;
}
