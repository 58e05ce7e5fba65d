// GC content of a 10 Mb genome: counting the sequence once, the window
// extremes at the smallest window, and frames of the GC bar at the whole
// genome and deep inside it, in a 1920 pixel wide view.
#include "bench_report.h"
#include "bench_view.h"
#include "synthetic_genome.h"

#include "gc_gccontentbar.h"
#include "gc_gccountindex.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"

#include <QApplication>
#include <QImage>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int length = 10000000;
    const QString sequence =
        QString::fromLatin1(SyntheticGenome::random(length, 0, 7).sequence()).toUpper();

    BenchTimer timer;
    GC_GCcountIndex index(sequence);
    benchReport("gccontent_count_index_10Mb", timer.elapsedMs(), "ms");

    double minimum = 0, maximum = 0;
    timer.restart();
    const qint64 windows = index.windowExtremes(1, length, 5, &minimum, &maximum);
    benchReport("gccontent_extremes_10Mb_window5_" + QString::number(windows) + "_windows",
                timer.elapsedMs(), "ms");

    GC_GenomeScene scene;
    GC_GenomeView view;
    benchShowView(view, scene, 1920, 400);

    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, length));
    timer.restart();
    genome->setDnaSequence(sequence);
    benchReport("gccontent_genome_set_sequence_10Mb", timer.elapsedMs(), "ms");
    genome->setPixPerNuc(1800.0 / length);
    scene.insertTopGenome(genome);
    scene.addItem(genome);
    genome->setPos(50, 100);
    genome->setShowGCcontent(true);

    timer.restart();
    genome->getGCcontentBar()->computeGCcontent(5);
    const double lowest = genome->getGCcontentBar()->minGC();
    benchReport("gccontent_bar_first_extremes_10Mb_window5", timer.elapsedMs(), "ms");
    Q_UNUSED(lowest);

    view.centerOn(genome->sceneBoundingRect().center());
    QCoreApplication::processEvents();
    QImage image(1920, 400, QImage::Format_ARGB32_Premultiplied);
    double total = 0.0;
    for (int i = 0; i < 5; ++i)
        total += benchRenderOnce(view, image);
    benchReport("gccontent_frame_whole_10Mb_window5", total / 5, "ms");
    if (qEnvironmentVariableIsSet("BENCH_IMAGES"))
        image.save(qEnvironmentVariable("BENCH_IMAGES") + "/gc_whole.png");

    // Deep inside: 10 pixels per nucleotide, the window at its smallest.
    genome->setPixPerNuc(10.0);
    genome->setPos(-10.0 * length / 2, 100);
    view.centerOn(QPointF(0, 150));
    QCoreApplication::processEvents();
    total = 0.0;
    for (int i = 0; i < 5; ++i)
        total += benchRenderOnce(view, image);
    benchReport("gccontent_frame_zoomed_10px_per_nuc", total / 5, "ms");
    if (qEnvironmentVariableIsSet("BENCH_IMAGES"))
        image.save(qEnvironmentVariable("BENCH_IMAGES") + "/gc_zoomed.png");
    scene.slotViewGCcontentBars(false);
    total = 0.0;
    for (int i = 0; i < 5; ++i)
        total += benchRenderOnce(view, image);
    benchReport("gccontent_frame_zoomed_10px_per_nuc_without_bar", total / 5, "ms");
    scene.slotViewGCcontentBars(true);
    scene.slotViewRulers(false);
    total = 0.0;
    for (int i = 0; i < 5; ++i)
        total += benchRenderOnce(view, image);
    benchReport("gccontent_frame_zoomed_10px_per_nuc_without_ruler", total / 5, "ms");
    return 0;
}
