#include "kestal_test.h"

#include "coverage_scene.h"
#include "gc_coveragecalculator.h"
#include "gc_coveragewidgetlistitem.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"

#include <QListWidgetItem>
#include <QRandomGenerator>
#include <QTreeWidget>

#include <memory>

namespace {

// Names of the genes that pass, in the order answered; the rows are freed.
QStringList coveredNames(const GC_Genome *genome, const QSet<int> &excluded, double bitScore,
                         int mode)
{
    QStringList names;
    const QList<GC_CoverageWidgetListItem *> rows = genome->getCoveredGenes(excluded, bitScore, mode);
    for (GC_CoverageWidgetListItem *row : rows) {
        names << row->getGene()->getName();
        delete row;
    }
    return names;
}

QList<GC_Interval> ranges(const GC_Genome *genome, const QSet<int> &excluded = {},
                          double bitScore = 0.0)
{
    return genome->getCoveredRanges(excluded, bitScore).intervals();
}

} // namespace

class TestCoverage : public QObject
{
    Q_OBJECT

private slots:
    // ------------------------------------------------ covered ranges

    void genomeWithoutMatchingsCoversNothing()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 1000, true);
        c.addGene(genome, 10, 50, "a");
        c.addGene(genome, 60, 90, "b");
        QVERIFY(ranges(genome).isEmpty());
        QCOMPARE(coveredNames(genome, {}, 0.0, 0), QStringList());
        QCOMPARE(coveredNames(genome, {}, 0.0, 1), QStringList());
        QCOMPARE(coveredNames(genome, {}, 0.0, 2), QStringList({"a", "b"}));
        QCOMPARE(coveredNames(genome, {}, 0.0, 3), QStringList({"a", "b"}));
    }

    void overlappingContainedAndAdjacentStretchesUnite()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        GC_Genome *other = c.addGenome(2, 5000, false);
        // Overlapping, added out of order.
        c.addMatching(genome, 50, 200, other, 1, 150, 100);
        c.addMatching(genome, 1, 100, other, 200, 300, 100);
        // Contained in a longer one.
        c.addMatching(genome, 1000, 2000, other, 1000, 2000, 100);
        c.addMatching(genome, 1200, 1300, other, 10, 110, 100);
        // Adjacent: meet end to end.
        c.addMatching(genome, 3000, 3100, other, 10, 110, 100);
        c.addMatching(genome, 3101, 3200, other, 10, 110, 100);
        // One nucleotide apart: stay two.
        c.addMatching(genome, 4000, 4100, other, 10, 110, 100);
        c.addMatching(genome, 4102, 4200, other, 10, 110, 100);
        QCOMPARE(ranges(genome), QList<GC_Interval>({GC_Interval(1, 200), GC_Interval(1000, 2000),
                                                     GC_Interval(3000, 3200), GC_Interval(4000, 4100),
                                                     GC_Interval(4102, 4200)}));
    }

    void genesCoveredByUnitedStretches()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        GC_Genome *other = c.addGenome(2, 5000, false);
        c.addMatching(genome, 1, 100, other, 1, 100, 100);
        c.addMatching(genome, 50, 200, other, 1, 100, 100);
        c.addMatching(genome, 1001, 1100, other, 1, 100, 100);
        c.addMatching(genome, 1101, 1200, other, 1, 100, 100);
        c.addMatching(genome, 2001, 2100, other, 1, 100, 100);
        c.addMatching(genome, 2102, 2200, other, 1, 100, 100);
        c.addGene(genome, 150, 180, "overlapJoin");
        c.addGene(genome, 1090, 1110, "adjacentJoin");
        c.addGene(genome, 2090, 2110, "gapJoin");
        c.addGene(genome, 3000, 3100, "outside");
        c.addGene(genome, 190, 250, "edge");

        QCOMPARE(coveredNames(genome, {}, 50, 0), QStringList({"overlapJoin", "adjacentJoin"}));
        QCOMPARE(coveredNames(genome, {}, 50, 1),
                 QStringList({"overlapJoin", "adjacentJoin", "gapJoin", "edge"}));
        QCOMPARE(coveredNames(genome, {}, 50, 2), QStringList({"gapJoin", "outside", "edge"}));
        QCOMPARE(coveredNames(genome, {}, 50, 3), QStringList({"outside"}));
    }

    void bitScoreEqualToThresholdCounts()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        GC_Genome *other = c.addGenome(2, 5000, false);
        c.addMatching(genome, 100, 200, other, 1, 100, 50.0);
        c.addMatching(genome, 300, 400, other, 1, 100, 49.99);
        QCOMPARE(ranges(genome, {}, 50.0), QList<GC_Interval>({GC_Interval(100, 200)}));
        QCOMPARE(ranges(genome, {}, 49.99),
                 QList<GC_Interval>({GC_Interval(100, 200), GC_Interval(300, 400)}));
        QVERIFY(ranges(genome, {}, 50.01).isEmpty());
    }

    void leftOutGenomesDoNotCount()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        GC_Genome *left = c.addGenome(2, 5000, false);
        GC_Genome *kept = c.addGenome(3, 5000, false);
        c.addMatching(genome, 100, 200, left, 1, 100, 1e6);
        c.addMatching(genome, 300, 400, kept, 1, 100, 60);
        QCOMPARE(ranges(genome, {2}), QList<GC_Interval>({GC_Interval(300, 400)}));
        QCOMPARE(ranges(genome, {2, 3}), QList<GC_Interval>());
        // Ids of genomes that are not matched change nothing.
        QCOMPARE(ranges(genome, {99}).size(), 2);
        // Seen from the low genome, the genome left out is the top one.
        QCOMPARE(ranges(left, {1}), QList<GC_Interval>());
        QCOMPARE(ranges(left, {3}), QList<GC_Interval>({GC_Interval(1, 100)}));
    }

    void eachGenomeCountsItsOwnSide()
    {
        CoverageScene c;
        GC_Genome *top = c.addGenome(1, 5000, true);
        GC_Genome *low = c.addGenome(2, 5000, false);
        c.addMatching(top, 100, 200, low, 3000, 3100, 60);
        QCOMPARE(ranges(top), QList<GC_Interval>({GC_Interval(100, 200)}));
        QCOMPARE(ranges(low), QList<GC_Interval>({GC_Interval(3000, 3100)}));
    }

    void reversedStretchesAndGenomesCoverTheSame()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        GC_Genome *other = c.addGenome(2, 5000, false);
        // An inverted hit: backwards on the other genome, and on this one.
        c.addMatching(genome, 200, 100, other, 400, 300, 60);
        c.addMatching(other, 900, 1000, genome, 2000, 1500, 60);
        c.addGene(genome, 120, 180, "inTop");
        c.addGene(genome, 1900, 1600, "inLow");
        const QList<GC_Interval> expected({GC_Interval(100, 200), GC_Interval(1500, 2000)});
        QCOMPARE(ranges(genome), expected);
        QCOMPARE(coveredNames(genome, {}, 0, 0), QStringList({"inTop", "inLow"}));
        QCOMPARE(ranges(other), QList<GC_Interval>({GC_Interval(300, 400), GC_Interval(900, 1000)}));

        // Coverage is in nucleotides: turning the genome round changes nothing.
        genome->setOrientation(-1);
        QCOMPARE(ranges(genome), expected);
        QCOMPARE(coveredNames(genome, {}, 0, 0), QStringList({"inTop", "inLow"}));
    }

    void modeOutsideTheFourAnswersNothing()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        c.addGene(genome, 10, 20);
        QCOMPARE(coveredNames(genome, {}, 0, 4), QStringList());
        QCOMPARE(coveredNames(genome, {}, 0, -1), QStringList());
        QCOMPARE(coveredNames(genome, {}, 0, 3).size(), 1);
    }

    // Random matchings and genes against a per-nucleotide reference: catches
    // a sweep that loses a run, a binary search that picks the wrong key,
    // and mode tests swapped or negated.
    void agreesWithPerNucleotideReference()
    {
        QRandomGenerator random(11);
        for (int round = 0; round < 20; ++round) {
            CoverageScene c;
            const int length = 3000;
            GC_Genome *genome = c.addGenome(1, length, true);
            GC_Genome *other = c.addGenome(2, length, false);
            GC_Genome *third = c.addGenome(3, length, false);
            QList<bool> covered(length + 2, false);
            const double threshold = 40.0;
            for (int i = 0; i < 40; ++i) {
                const int a = random.bounded(1, length + 1);
                const int b = qMin(length, a + random.bounded(0, 150));
                const double score = random.bounded(80.0);
                const bool toThird = random.bounded(4) == 0;
                const bool reversed = random.bounded(2) == 0;
                c.addMatching(genome, reversed ? b : a, reversed ? a : b, toThird ? third : other,
                              1, 10, score);
                if (score >= threshold && !toThird)
                    for (int n = a; n <= b; ++n)
                        covered[n] = true;
            }
            QList<QStringList> expected(4);
            for (int g = 0; g < 60; ++g) {
                const int a = random.bounded(1, length + 1);
                const int b = qMin(length, a + random.bounded(0, 60));
                const QString name = QString::number(g);
                c.addGene(genome, a, b, name);
                int inside = 0;
                for (int n = a; n <= b; ++n)
                    inside += covered[n];
                if (inside == b - a + 1)
                    expected[0] << name;
                if (inside > 0)
                    expected[1] << name;
                if (inside < b - a + 1)
                    expected[2] << name;
                if (inside == 0)
                    expected[3] << name;
            }
            for (int mode = 0; mode < 4; ++mode)
                QCOMPARE(coveredNames(genome, {3}, threshold, mode), expected[mode]);

            const QList<GC_Interval> runs = ranges(genome, {3}, threshold);
            for (qsizetype i = 1; i < runs.size(); ++i)
                QVERIFY2(runs[i].start() > runs[i - 1].end() + 1, "runs must not touch");
        }
    }

    // ------------------------------------------------ matched genomes

    void matchedGenomesOncePerGenomeInIdOrder()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(4, 5000, true, "focus");
        GC_Genome *seven = c.addGenome(7, 5000, false, "seventh");
        GC_Genome *two = c.addGenome(2, 5000, false, "second");
        c.addMatching(genome, 1, 10, seven, 1, 10, 1);
        c.addMatching(genome, 20, 30, seven, 1, 10, 1);
        c.addMatching(genome, 40, 50, two, 1, 10, 1000);
        c.addMatching(genome, 60, 70, seven, 1, 10, 1);
        seven->setVisible(false);

        const QList<QListWidgetItem *> items = genome->getMatchedGenomes();
        std::vector<std::unique_ptr<QListWidgetItem>> owned(items.cbegin(), items.cend());
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QString("second"));
        QCOMPARE(items[0]->data(Qt::UserRole), QVariant(2));
        QCOMPARE(items[1]->text(), QString("seventh"));
        QCOMPARE(items[1]->data(Qt::UserRole), QVariant(7));
        QCOMPARE(items[0]->type(), int(QListWidgetItem::Type));
        QVERIFY(items[0]->listWidget() == nullptr);

        // From the other side, the top genome.
        const QList<QListWidgetItem *> back = seven->getMatchedGenomes();
        QCOMPARE(back.size(), 1);
        QCOMPARE(back[0]->data(Qt::UserRole).toInt(), 4);
        qDeleteAll(back);
        QVERIFY(c.addGenome(9, 10, true)->getMatchedGenomes().isEmpty());
    }

    // ------------------------------------------------ result rows

    void rowShowsTheGeneWithGroupSeparators()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000000, true);
        GC_Gene *gene = c.addGene(genome, 2345678, 1234567, "dnaA");
        GC_CoverageWidgetListItem row;
        QCOMPARE(row.type(), 0);
        QVERIFY(row.getGene() == nullptr);
        QCOMPARE(row.textAlignment(0) & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
        QCOMPARE(row.textAlignment(1) & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        QCOMPARE(row.textAlignment(2) & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        row.setGene(gene);
        QCOMPARE(row.getGene(), gene);
        QCOMPARE(row.text(0), QString("dnaA"));
        QCOMPARE(row.text(1), QString("1,234,567"));
        QCOMPARE(row.text(2), QString("2,345,678"));
    }

    void rowsSortNumericallyAndWithoutCase()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 50000, true);
        QTreeWidget tree;
        tree.setColumnCount(3);
        const QList<GC_Gene *> genes({c.addGene(genome, 10000, 10100, "abE"),
                                      c.addGene(genome, 900, 20000, "Abd"),
                                      c.addGene(genome, 2000, 3000, "abcA")});
        for (GC_Gene *gene : genes) {
            auto *row = new GC_CoverageWidgetListItem;
            row->setGene(gene);
            tree.addTopLevelItem(row);
        }
        auto names = [&tree]() {
            QStringList texts;
            for (int i = 0; i < tree.topLevelItemCount(); ++i)
                texts << tree.topLevelItem(i)->text(0);
            return texts;
        };
        tree.sortByColumn(1, Qt::AscendingOrder);
        // "10,000" sorts before "900" as text; as numbers it comes after.
        QCOMPARE(names(), QStringList({"Abd", "abcA", "abE"}));
        tree.sortByColumn(2, Qt::AscendingOrder);
        QCOMPARE(names(), QStringList({"abcA", "abE", "Abd"}));
        tree.sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(names(), QStringList({"abcA", "Abd", "abE"}));
        tree.sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(names(), QStringList({"abE", "Abd", "abcA"}));
    }

    void deletingARowLeavesItsGene()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        GC_Gene *gene = c.addGene(genome, 10, 20);
        auto *row = new GC_CoverageWidgetListItem;
        row->setGene(gene);
        delete row;
        QCOMPARE(genome->getGenes(), QList<GC_Gene *>({gene}));
        QCOMPARE(gene->scene(), &c.scene);
        QCOMPARE(gene->getName(), QString("gene_10_20"));
    }
};

KESTAL_TEST_MAIN(TestCoverage)
#include "tst_coverage.moc"
