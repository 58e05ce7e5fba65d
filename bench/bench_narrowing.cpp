// Narrowing a genome's range to its first half, which drops about half of
// its matchings: each dropped one leaves both genomes, the scene's list and
// the scene. Measured at three sizes, before and after the scene was first
// drawn, to show how the cost grows.
#include "bench_report.h"
#include "bench_scenebuilder.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_interval.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {

void narrow(int matchings, bool drawnFirst)
{
    GC_GenomeScene scene;
    BenchSceneBuilder builder;
    builder.withSequence = false;
    builder.geneCount = 500;
    builder.matchingCount = matchings;
    builder.build(scene);
    QCoreApplication::processEvents();
    if (drawnFirst) {
        QImage image(640, 480, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        scene.render(&painter);
    }
    const int before = int(scene.matchings().size());
    BenchTimer timer;
    builder.top()->setCoords(GC_Interval(1, builder.genomeLength / 2));
    const double ms = timer.elapsedMs();
    const int dropped = before - int(scene.matchings().size());
    const QString name = QStringLiteral("narrow_range_%1k_matchings%2")
                             .arg(matchings / 1000)
                             .arg(drawnFirst ? "_after_drawing" : "");
    benchReport(qPrintable(name), ms, "ms");
    benchReport(qPrintable(name + "_per_dropped"), 1000.0 * ms / std::max(1, dropped), "us");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (bool drawn : {false, true})
        for (int count : {25000, 50000, 100000})
            narrow(count, drawn);
    return 0;
}
