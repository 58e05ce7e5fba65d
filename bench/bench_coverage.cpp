// Gene coverage at realistic sizes: two 5 Mb genomes with 5,000 genes each
// and 100,000 matchings. Covered ranges, the four coverage tests and the
// panel's recomputation (rows added and sorted), at a threshold every
// matching passes and at one that leaves about one matching in twenty.
#include "bench_report.h"
#include "bench_scenebuilder.h"

#include "gc_coveragecalculator.h"
#include "gc_coveragewidget.h"
#include "gc_coveragewidgetlistitem.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"

#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>

namespace {

// What the computation must not be: every gene against every covered range.
int naiveTotallyInside(const GC_Genome *genome, const QList<GC_Interval> &ranges)
{
    int count = 0;
    for (const GC_Gene *gene : genome->getGenes())
        for (const GC_Interval &range : ranges)
            if (range.contains(gene->getCoords())) {
                ++count;
                break;
            }
    return count;
}

void measure(GC_Genome *genome, double threshold, const QString &tag)
{
    const QSet<int> none;
    BenchTimer timer;
    const GC_IntervalMap ranges = genome->getCoveredRanges(none, threshold);
    benchReport("coverage_ranges_100k_matchings_" + tag, timer.elapsedMs(), "ms");
    benchReport("coverage_ranges_count_" + tag, ranges.size(), "ranges");

    int inside = 0;
    for (int mode = 0; mode < 4; ++mode) {
        timer.restart();
        const QList<GC_CoverageWidgetListItem *> rows = genome->getCoveredGenes(none, threshold, mode);
        benchReport(QStringLiteral("coverage_genes_mode%1_5000genes_%2").arg(mode).arg(tag),
                    timer.elapsedMs(), "ms");
        if (mode == 0)
            inside = int(rows.size());
        qDeleteAll(rows);
    }
    benchReport("coverage_genes_totally_inside_" + tag, inside, "genes");

    // The tests alone, without making rows: one binary search per gene.
    timer.restart();
    int searched = 0;
    for (const GC_Gene *gene : genome->getGenes())
        searched += GC_CoverageCalculator::passes(ranges, gene->getCoords(), 0);
    benchReport("coverage_binary_search_tests_5000genes_" + tag, timer.elapsedMs(), "ms");
    if (searched != inside)
        qFatal("coverage: %d genes by the calculator, %d by its test", inside, searched);

    timer.restart();
    const int naive = naiveTotallyInside(genome, ranges.intervals());
    benchReport("coverage_naive_walk_for_comparison_" + tag, timer.elapsedMs(), "ms");
    if (naive != inside)
        qFatal("coverage: %d genes by binary search, %d by walking", inside, naive);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    GC_GenomeScene scene;
    BenchSceneBuilder builder;
    builder.withSequence = false;
    builder.matchingCount = 100000;
    builder.build(scene);
    GC_Genome *genome = builder.top();

    // Bit scores run from 50 to 3050.
    measure(genome, 50.0, "all");
    measure(genome, 2900.0, "sparse");

    GC_CoverageWidget panel;
    panel.resize(640, 480);
    panel.show();
    BenchTimer timer;
    panel.slotSetGenome(genome);
    benchReport("coverage_panel_first_calculate", timer.elapsedMs(), "ms");
    auto *mode = panel.findChild<QComboBox *>(QStringLiteral("comboBox"));
    mode->setCurrentIndex(2);
    panel.slotBitScoreChanged(2900.0);
    auto *tree = panel.findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    tree->sortByColumn(1, Qt::AscendingOrder);
    timer.restart();
    panel.calculate();
    benchReport(QStringLiteral("coverage_panel_calculate_sorted_%1_rows").arg(tree->topLevelItemCount()),
                timer.elapsedMs(), "ms");
    mode->setCurrentIndex(3);
    timer.restart();
    panel.slotBitScoreChanged(50.0);
    mode->setCurrentIndex(2);
    benchReport("coverage_panel_two_recalculations", timer.elapsedMs(), "ms");
    return 0;
}
