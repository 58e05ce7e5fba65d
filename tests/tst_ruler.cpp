#include "kestal_test.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_ruler.h"
#include "gc_style.h"

#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QStringList bigLabels(const QList<GC_Ruler::Tick> &ticks)
{
    QStringList labels;
    for (const GC_Ruler::Tick &tick : ticks) {
        if (tick.big)
            labels << tick.label;
    }
    return labels;
}

QList<qint64> shortValues(const QList<GC_Ruler::Tick> &ticks)
{
    QList<qint64> values;
    for (const GC_Ruler::Tick &tick : ticks) {
        if (!tick.big) {
            values << tick.value;
            if (!tick.label.isEmpty())
                values << -1; // a short tick never carries a label
        }
    }
    return values;
}

GC_Genome *makeGenome(GC_GenomeScene &scene, int from, int to, double pixPerNuc = 1.0)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(from, to));
    genome->setPixPerNuc(pixPerNuc);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    return genome;
}

} // namespace

// The ruler: which ticks stand where at a scale, their numbers, the style
// and the drawing.
class TestRuler : public QObject
{
    Q_OBJECT

private slots:
    void periodFollowsTheScale_data()
    {
        QTest::addColumn<double>("pixPerNuc");
        QTest::addColumn<int>("pixsPerPeriod");
        QTest::addColumn<qint64>("period");
        QTest::newRow("1 px, 15") << 1.0 << 15 << qint64(100);
        QTest::newRow("1 px, 10") << 1.0 << 10 << qint64(10);
        QTest::newRow("1 px, 11") << 1.0 << 11 << qint64(100);
        QTest::newRow("10 px") << 10.0 << 15 << qint64(10);
        QTest::newRow("0.001 px") << 0.001 << 15 << qint64(100000);
        QTest::newRow("0.0015 px") << 0.0015 << 15 << qint64(10000);
        QTest::newRow("5 Mb in 1000 px") << 0.0002 << 15 << qint64(100000);
    }
    void periodFollowsTheScale()
    {
        QFETCH(double, pixPerNuc);
        QFETCH(int, pixsPerPeriod);
        QFETCH(qint64, period);
        QCOMPARE(GC_Ruler::periodFor(pixPerNuc, pixsPerPeriod), period);
    }

    // Whatever the scale, the search for a period stops, and the tick list
    // of a whole genome stays tiny.
    void periodSearchAlwaysEnds()
    {
        QCOMPARE(GC_Ruler::periodFor(std::numeric_limits<double>::infinity(), 15), qint64(10));
        QCOMPARE(GC_Ruler::periodFor(-1.0, 15), qint64(10));
        const double scales[] = {0.0, 1e-300, std::numeric_limits<double>::denorm_min(),
                                 std::numeric_limits<double>::quiet_NaN()};
        for (double scale : scales) {
            const qint64 p = GC_Ruler::periodFor(scale, 15);
            QVERIFY(p >= 10);
            QVERIFY(p <= qint64(10000000000LL));
            const auto ticks = GC_Ruler::ticks(1, 2000000000, 1, 2000000000, p, 4);
            QVERIFY2(ticks.size() <= 1000, qPrintable(QString::number(ticks.size())));
        }
        // The largest long-tick spacing cannot overflow the tick sums.
        const auto ticks = GC_Ruler::ticks(1, 1000, 1, 1000, qint64(10000000000LL),
                                           std::numeric_limits<int>::max());
        QCOMPARE(bigLabels(ticks), QStringList({"1", "1,000"}));
    }

    void ticksOfAThousandNucleotides()
    {
        const auto ticks = GC_Ruler::ticks(1, 1000, 1, 1000, 100, 4);
        // Each end once: the loop stops at the first tick at or past the end.
        QCOMPARE(bigLabels(ticks), QStringList({"1", "400", "800", "1,000"}));
        QCOMPARE(shortValues(ticks), QList<qint64>({100, 200, 300, 500, 600, 700, 900}));
        QCOMPARE(ticks.first().nucleotide, 1);
        QCOMPARE(ticks.last().nucleotide, 1000);
    }

    // A long tick within one period of an end is drawn short, so that its
    // number cannot run into the end's.
    void longTickNearTheEndIsShort()
    {
        const auto ticks = GC_Ruler::ticks(1, 850, 1, 850, 100, 4);
        QCOMPARE(bigLabels(ticks), QStringList({"1", "400", "850"}));
        QVERIFY(shortValues(ticks).contains(800));
        QCOMPARE(ticks.last().nucleotide, 850);
    }

    void rangeStartingInsideThePeriod()
    {
        const auto ticks = GC_Ruler::ticks(5, 1000, 5, 1000, 10, 4);
        QCOMPARE(ticks.first().value, qint64(0));
        QCOMPARE(ticks.first().nucleotide, 1);
        QCOMPARE(ticks.first().label, QString("1"));
        QVERIFY(ticks.first().big);
        // The first period's other ticks, then 40 as the first long one.
        QCOMPARE(ticks.at(1).value, qint64(10));
        QVERIFY(!ticks.at(1).big);
        QCOMPARE(bigLabels(ticks).at(1), QString("40"));
    }

    // A shown stretch in the middle of a genome: its own ends are labelled
    // with their numbers, grouped as the locale writes them.
    void stretchEndsAndGroupSeparators()
    {
        const auto ticks = GC_Ruler::ticks(1234567, 1299999, 1234567, 1299999, 10000, 2);
        QCOMPARE(bigLabels(ticks), QStringList({"1,234,567", "1,260,000", "1,280,000", "1,299,999"}));
        const auto german = GC_Ruler::ticks(1234567, 1299999, 1234567, 1299999, 10000, 2,
                                            QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(bigLabels(german).first(), QString("1.234.567"));
    }

    // Only the visible nucleotides (and a period beyond them) get ticks.
    void ticksOnlyWhereVisible()
    {
        const auto ticks = GC_Ruler::ticks(1, 1000000, 500000, 500300, 100, 4);
        QCOMPARE(ticks.size(), 5);
        QCOMPARE(ticks.first().value, qint64(500000));
        QCOMPARE(ticks.last().value, qint64(500400));
        QCOMPARE(bigLabels(ticks), QStringList({"500,000", "500,400"}));
        QVERIFY(GC_Ruler::ticks(1, 1000, 5000, 6000, 100, 4).isEmpty());
    }

    void flipSideAndClamps()
    {
        GC_Ruler ruler;
        ruler.setOrientation(1);
        ruler.setTextPlacement(3);
        ruler.flipSide();
        QCOMPARE(ruler.getOrientation(), 1);
        QCOMPARE(ruler.getTextPlacement(), 3);
        ruler.setOrientation(2);
        ruler.setTextPlacement(1);
        ruler.flipSide();
        QCOMPARE(ruler.getOrientation(), 0);
        QCOMPARE(ruler.getTextPlacement(), 0);
        ruler.setNucsPerPeriod(7.9);
        QCOMPARE(ruler.getNucsPerPeriod(), 7);
        ruler.setHeightBig(-4);
        QCOMPARE(ruler.getHeightBig(), 0.0);
        QCOMPARE(ruler.getHeightSmall(), 0.0);
    }

    void styleAppliesFlaggedValuesOrAllWhenForced()
    {
        GC_Ruler ruler;
        GC_Style style;
        style.rulerY = 44.0;
        style.rulerOrientation = 2;
        style.rulerTextPlacement = 1;
        style.rulerHorizontalLineVisible = false;
        style.rulerStyle = 0;
        style.rulerHeightBig = 20.0;
        style.rulerHeightSmall = 8.0;
        style.rulerNucsPerPeriod = 50;
        style.rulerPeriodsPerBigLine = 5;
        style.rulerPixsPerPeriod = 30;
        style.rulerLineColor = Qt::blue;
        style.rulerTextColor = Qt::green;
        QFont font("Helvetica", 21);
        style.rulerTextFont = font;

        style.applyRulerPixsPerPeriod = true;
        style.applyRulerTextColor = true;
        ruler.applyStyle(style, false);
        QCOMPARE(ruler.getPixsPerPeriod(), 30);
        QCOMPARE(ruler.getTextColor(), QColor(Qt::green));
        QCOMPARE(ruler.getLineColor(), QColor(Qt::red));
        QCOMPARE(ruler.getOrientation(), 0);
        QCOMPARE(ruler.y(), 0.0);
        QCOMPARE(ruler.getHeightBig(), 10.0);

        ruler.applyStyle(style, true);
        QCOMPARE(ruler.y(), 44.0);
        QCOMPARE(ruler.getOrientation(), 2);
        QCOMPARE(ruler.getTextPlacement(), 1);
        QVERIFY(!ruler.getHorizontalLineVisible());
        QCOMPARE(ruler.getStyle(), 0);
        QCOMPARE(ruler.getHeightBig(), 20.0);
        QCOMPARE(ruler.getHeightSmall(), 8.0);
        QCOMPARE(ruler.getNucsPerPeriod(), 50);
        QCOMPARE(ruler.getPeriodsPerBigLine(), 5);
        QCOMPARE(ruler.getLineColor(), QColor(Qt::blue));
        QCOMPARE(ruler.getTextFont(), font);
    }

    // A key at its limit of periods per long tick (one, or the largest the
    // editor takes) keeps it and still reports a change; the other key
    // steps back.
    void keysStopAtTheirLimits_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("back");
        QTest::newRow("minus at one") << 1 << int(Qt::Key_Minus) << 2;
        QTest::newRow("plus at the largest") << std::numeric_limits<int>::max() << int(Qt::Key_Plus)
                                             << std::numeric_limits<int>::max() - 1;
    }

    void keysStopAtTheirLimits()
    {
        QFETCH(int, limit);
        QFETCH(int, key);
        QFETCH(int, back);
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_Ruler *ruler = genome->getRuler();
        ruler->setPeriodsPerBigLine(limit);
        QSignalSpy changed(&scene, &GC_GenomeScene::changedItem);
        ruler->setFocus();
        auto press = [&scene](int pressed) {
            QKeyEvent event(QEvent::KeyPress, pressed, Qt::NoModifier, pressed == Qt::Key_Minus ? "-" : "+");
            QCoreApplication::sendEvent(&scene, &event);
        };
        press(key);
        QCOMPARE(ruler->getPeriodsPerBigLine(), limit);
        QCOMPARE(changed.count(), 1);
        press(key == Qt::Key_Minus ? Qt::Key_Plus : Qt::Key_Minus);
        QCOMPARE(ruler->getPeriodsPerBigLine(), back);
    }

    // A reverse genome: "1" at its right end, the last nucleotide at its left.
    void reverseGenomeDrawsItsEndsMirrored()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setOrientation(-1);
        genome->setShowText(false);
        GC_Ruler *ruler = genome->getRuler();
        ruler->setTextColor(Qt::black);
        ruler->setLineColor(Qt::black);
        QImage image(1100, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, 1100, 60), QRectF(-50, -40, 1100, 60));
        }
        // Label ink above the long ticks, in columns around x.
        auto inkAround = [&](int x, int halfWidth) {
            int ink = 0;
            for (int y = 0; y < 26; ++y)
                for (int dx = -halfWidth; dx <= halfWidth; ++dx)
                    ink += image.pixelColor(x + dx, y).lightness() < 100;
            return ink;
        };
        const int inkOfOne = inkAround(50 + 1000, 8);
        const int inkOfThousand = inkAround(50, 20);
        QVERIFY(inkOfOne > 0);
        // "1,000" has far more ink than "1".
        QVERIFY2(inkOfThousand > 2 * inkOfOne,
                 qPrintable(QString("%1 %2").arg(inkOfThousand).arg(inkOfOne)));
        QVERIFY(inkAround(50 + 600, 10) > 0); // 400, counted from the right
        QVERIFY(inkAround(50 + 200, 10) > 0); // 800
        QCOMPARE(inkAround(50 + 800, 10), 0); // 200: a short tick, no number
    }

    // Zoomed so that a period is 16 pixels, long ticks' numbers would run
    // together ("4,800,0005,000,000"), also with the start's: a number that
    // would touch another is left out, and the end keeps its own. The long
    // ticks between the ends keep theirs where they have room, also at one
    // period per long tick.
    void numbersNeverRunTogether_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("periodsPerBigLine");
        QTest::newRow("beside the end") << 1 << 4;
        QTest::newRow("beside neighbours and the start") << 1234567 << 2;
        QTest::newRow("one period per long tick") << 1 << 1;
        QTest::newRow("start cut between long ticks") << 1350000 << 4;
    }

    void numbersNeverRunTogether()
    {
        QFETCH(int, from);
        QFETCH(int, periodsPerBigLine);
        const int to = 5000000;
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, from, to, 0.00016);
        genome->setShowText(false);
        GC_Ruler *ruler = genome->getRuler();
        ruler->setPeriodsPerBigLine(periodsPerBigLine);
        ruler->setTextColor(Qt::black);
        QCOMPARE(ruler->tickPeriod(), qint64(100000));
        const int width = int(genome->boundingRect().width()) + 100;
        QImage image(width, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, width, 60), QRectF(-50, -40, width, 60));
        }
        // Runs of label ink above the ticks: glyphs of one number stand less
        // than half a digit apart, and no number is wider than the end's.
        const QFontMetricsF metrics(ruler->getTextFont());
        const double halfDigit = metrics.horizontalAdvance(QLatin1Char('0')) / 2.0;
        const double widest = metrics.horizontalAdvance(QLocale().toString(to));
        QList<QPair<int, int>> runs;
        for (int x = 0, blank = width; x < width; ++x) {
            bool ink = false;
            for (int y = 0; y < 28 && !ink; ++y)
                ink = image.pixelColor(x, y).lightness() < 100;
            if (ink && blank < halfDigit)
                runs.last().second = x;
            else if (ink)
                runs.append({x, x});
            blank = ink ? 0 : blank + 1;
        }
        QVERIFY(!runs.isEmpty());
        for (const auto &[first, last] : runs)
            QVERIFY2(last - first < widest, qPrintable(QString("ink from %1 to %2").arg(first).arg(last)));
        for (const auto &run : runs)
            QVERIFY2(run.second - run.first + 1 <= widest,
                     qPrintable(QString("ink %1 to %2, wider than %3").arg(run.first).arg(run.second).arg(widest)));
        // The ends' numbers stand where they belong.
        const double ends[] = {50 + genome->nucToX(from), 50 + genome->nucToX(to)};
        for (double x : ends)
            QVERIFY2(std::any_of(runs.cbegin(), runs.cend(),
                                 [x](const QPair<int, int> &run) {
                                     return std::abs((run.first + run.second) / 2.0 - x) < 3;
                                 }),
                     qPrintable(QString("no number at %1").arg(x)));
        QVERIFY(std::abs((runs.last().first + runs.last().second) / 2.0 - 50 - genome->nucToX(to)) < 3);
        QVERIFY2(runs.size() > 2, qPrintable(QString("%1 numbers").arg(runs.size())));
        // Every multiple of the long period more than a period from either
        // end has a long tick: red ink where short ticks do not reach.
        const qint64 period = ruler->tickPeriod();
        const qint64 longPeriod = period * periodsPerBigLine;
        for (qint64 due = ((from + period) / longPeriod + 1) * longPeriod; due + period < to; due += longPeriod) {
            const QPointF at = ruler->mapToScene(std::trunc(genome->nucToX(int(due))), -8.0) + QPointF(50, 40);
            bool red = false;
            for (int dx = -1; dx <= 1 && !red; ++dx)
                red = image.pixelColor(int(at.x()) + dx, int(at.y())) == QColor(Qt::red);
            QVERIFY2(red, qPrintable(QString("a short tick at %1").arg(due)));
        }
    }

    // Painting far inside a long, deeply zoomed genome draws only the ticks
    // there (the whole genome would be ten million of them), and the base
    // line, whose ends lie far beyond the int range at the panel's largest
    // scale.
    void deepZoomDrawsTheVisibleTicks_data()
    {
        QTest::addColumn<double>("pixPerNuc");
        QTest::newRow("20 px") << 20.0;
        QTest::newRow("1,000,000 px, the panel's largest") << 1e6;
    }

    void deepZoomDrawsTheVisibleTicks()
    {
        QFETCH(double, pixPerNuc);
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 100000000, pixPerNuc);
        genome->setShowText(false);
        genome->getRuler()->setTextColor(Qt::black);
        const double x = genome->nucToX(50000000);
        QImage image(400, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, 400, 60), QRectF(x - 200, -40, 400, 60));
        }
        int ink = 0;
        for (int y = 0; y < 26; ++y)
            for (int i = 0; i < 400; ++i)
                ink += image.pixelColor(i, y).lightness() < 100;
        QVERIFY(ink > 0); // the label of 50,000,000 (period 10, a long tick every 40)
        // The red base line runs along y 0 across the whole picture.
        int longest = 0;
        for (int y = 38; y <= 42; ++y) {
            int red = 0;
            for (int i = 0; i < 400; ++i)
                red += image.pixelColor(i, y) == QColor(Qt::red);
            longest = std::max(longest, red);
        }
        QVERIFY2(longest > 390, qPrintable(QString::number(longest)));
    }
};

KESTAL_TEST_MAIN(TestRuler)
#include "tst_ruler.moc"
