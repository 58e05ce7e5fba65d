// Document operations of the comparison scene at realistic sizes: adding
// 100,000 matchings, applying a bit-score threshold, a layout, removing a
// tenth of the matchings one by one, and clearing the whole document.
#include "bench_report.h"

#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"

#include <QApplication>
#include <QRandomGenerator>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int genomeLength = 5000000;
    const int matchingCount = 100000;

    GC_GenomeScene scene;
    GC_GenomeView view;
    view.resize(1920, 1080);
    view.setScene(&scene);

    auto *top = new GC_Genome;
    top->setCoords(GC_Interval(1, genomeLength));
    auto *low = new GC_Genome;
    low->setCoords(GC_Interval(1, genomeLength));
    scene.insertTopGenome(top);
    scene.insertLowGenome(low);
    scene.addItemsToScene();
    scene.slotViewAdjustToWidth();

    QRandomGenerator random(7);
    BenchTimer timer;
    for (int i = 0; i < matchingCount; ++i) {
        const int topFrom = 1 + int(random.bounded(genomeLength - 2000));
        const int lowFrom = 1 + int(random.bounded(genomeLength - 2000));
        const int length = 50 + int(random.bounded(1900));
        const bool reverse = random.bounded(4) == 0;
        scene.addMatching(top, low, topFrom, topFrom + length,
                          reverse ? lowFrom + length : lowFrom,
                          reverse ? lowFrom : lowFrom + length, 60.0 + random.bounded(40.0),
                          random.bounded(2000.0));
    }
    benchReport("scene_add_100k_matchings", timer.elapsedMs(), "ms");

    timer.restart();
    scene.slotViewMatchingsBitScore(500.0);
    benchReport("scene_threshold_100k_matchings", timer.elapsedMs(), "ms");

    timer.restart();
    scene.slotViewAdjustToWidth();
    benchReport("scene_adjust_to_width_100k_matchings", timer.elapsedMs(), "ms");

    // Every tenth matching, one call per matching, as a range change does.
    const QList<GC_GenomeMatching *> all = scene.matchings();
    timer.restart();
    for (int i = 0; i < all.size(); i += 10)
        scene.removeMatching(all.at(i));
    const int left = int(scene.matchings().size());
    benchReport("scene_remove_10k_of_100k_matchings", timer.elapsedMs(), "ms");
    if (left != matchingCount - matchingCount / 10)
        qFatal("unexpected matching count %d", left);

    timer.restart();
    scene.clearScene();
    benchReport("scene_clear_100k_matchings", timer.elapsedMs(), "ms");
    return 0;
}
