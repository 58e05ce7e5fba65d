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

static GC_Genome *makeGenome(int length)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, length));
    return genome;
}

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

    GC_Genome *top = makeGenome(genomeLength);
    GC_Genome *low = makeGenome(genomeLength);
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
    // Let the toolkit polish the new items, as the event loop does between
    // a user's commands.
    QCoreApplication::processEvents();

    timer.restart();
    scene.slotViewMatchingsBitScore(500.0);
    benchReport("scene_threshold_100k_matchings", timer.elapsedMs(), "ms");

    top->setPixPerNuc(0.001);
    low->setPixPerNuc(0.001);
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

    // Deleting one genome of three takes its matchings out of the scene.
    GC_Genome *first = makeGenome(genomeLength);
    GC_Genome *second = makeGenome(genomeLength);
    GC_Genome *third = makeGenome(genomeLength);
    scene.insertTopGenome(first);
    scene.insertLowGenome(second);
    scene.insertLowGenome(third);
    scene.addItemsToScene();
    for (int i = 0; i < matchingCount; ++i)
        scene.addMatching(first, i % 2 ? second : third, i + 1, i + 100, i + 1, i + 100, 90.0,
                          100.0);
    QCoreApplication::processEvents();
    timer.restart();
    scene.deleteGenome(second);
    benchReport("scene_delete_genome_with_50k_of_100k_matchings", timer.elapsedMs(), "ms");
    if (scene.countMatchings() != matchingCount / 2)
        qFatal("unexpected matching count %d", scene.countMatchings());
    return 0;
}
