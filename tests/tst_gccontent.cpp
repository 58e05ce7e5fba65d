#include "kestal_test.h"
#include "paint_counter.h"
#include "test_data.h"

#include "gc_gccontentbar.h"
#include "gc_gccountindex.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_paintarea.h"
#include "gc_ruler.h"

#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QPicture>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

GC_Genome *makeGenome(GC_GenomeScene &scene, const QString &sequence, double pixPerNuc = 1.0,
                      bool top = true)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, std::max<int>(1, int(sequence.size()))));
    genome->setDnaSequence(sequence);
    genome->setPixPerNuc(pixPerNuc);
    if (top)
        scene.insertTopGenome(genome);
    else
        scene.insertLowGenome(genome);
    scene.addItemsToScene();
    return genome;
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &test)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(image.pixelColor(x, y));
    return n;
}

bool isGreen(QColor c)
{
    return c.green() > 80 && c.red() < 60 && c.blue() < 60;
}

bool isRed(QColor c)
{
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

} // namespace

// GC content: the count index, the windows and their extremes, the bar's
// extent and drawing, and a rendered comparison with ruler and bars.
class TestGCcontent : public QObject
{
    Q_OBJECT

private slots:
    // The index answers every stretch as a plain count would, across its
    // 64-letter blocks, in either case, clipped to the sequence.
    void indexMatchesPlainCounting()
    {
        const QString sequence = QString::fromLatin1(TestData::randomDna(517, 3))
                                 + QStringLiteral("GGCCNNgcSs");
        const GC_GCcountIndex index(sequence);
        QCOMPARE(index.length(), qint64(sequence.size()));
        auto naive = [&](int first, int last) {
            int n = 0;
            for (int i = std::max(first, 1); i <= std::min<int>(last, sequence.size()); ++i) {
                const QChar c = sequence.at(i - 1).toUpper();
                n += c == QLatin1Char('G') || c == QLatin1Char('C');
            }
            return n;
        };
        const int firsts[] = {1, 2, 63, 64, 65, 127, 128, 129, 300, 500, 520, 527};
        for (int first : firsts) {
            for (int length : {1, 5, 63, 64, 65, 200, 1000}) {
                const int last = first + length - 1;
                QCOMPARE(index.countGC(first, last), qint64(naive(first, last)));
            }
        }
        QCOMPARE(index.countGC(-5, 0), qint64(0));
        QCOMPARE(index.countGC(600, 700), qint64(0));
        QCOMPARE(index.nucleotidesIn(520, 600), qint64(8));
        QCOMPARE(index.fraction(600, 700), -1.0);
    }

    void windowsWithAShortLastWindow()
    {
        double minimum = -1, maximum = -1;
        // GGCCA 0.8 and ATT 0.0: the spelled-out example.
        GC_GCcountIndex index(QStringLiteral("GGCCAATT"));
        QCOMPARE(index.windowExtremes(1, 8, 5, &minimum, &maximum), qint64(2));
        QCOMPARE(minimum, 0.0);
        QCOMPARE(maximum, 0.8);
        // GGCCA 0.8, then AGG: 2 of its 3 letters. Divided by the full window
        // it would read 0.4 and become a false minimum.
        index.build(QStringLiteral("GGCCAAGG"));
        index.windowExtremes(1, 8, 5, &minimum, &maximum);
        QCOMPARE(minimum, 2.0 / 3.0);
        QCOMPARE(maximum, 0.8);
        // The windows of a shown stretch start at its first nucleotide and
        // stop at its last.
        index.build(QStringLiteral("AAAAAGGGGGCCCCCTTTTT"));
        QCOMPARE(index.windowExtremes(6, 15, 5, &minimum, &maximum), qint64(2));
        QCOMPARE(minimum, 1.0);
        QCOMPARE(maximum, 1.0);
        QCOMPARE(index.windowExtremes(4, 12, 5, &minimum, &maximum), qint64(2));
        QCOMPARE(minimum, 0.6); // AAGGG
        QCOMPARE(maximum, 1.0); // GGCC, four letters
    }

    void emptySequenceGivesNoNaN()
    {
        double minimum = -1, maximum = -1;
        GC_GCcountIndex index{QString()};
        QCOMPARE(index.windowExtremes(1, 100, 5, &minimum, &maximum), qint64(0));
        QCOMPARE(minimum, 0.0);
        QCOMPARE(maximum, 0.0);

        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, QString());
        genome->setCoords(GC_Interval(1, 500));
        GC_GCcontentBar *bar = genome->getGCcontentBar();
        bar->computeGCcontent(10);
        QVERIFY(std::isfinite(bar->minGC()));
        QVERIFY(std::isfinite(bar->maxGC()));
        QCOMPARE(bar->maxGC(), 0.0);
        QCOMPARE(bar->figuresText(),
                 QString("GC content: Min: 0.0%,  Max: 0.0%,  Overall: 0.0%"));
    }

    void barWindowSizeAndExtremes()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, "GGCCAATT");
        GC_GCcontentBar *bar = genome->getGCcontentBar();
        bar->computeGCcontent(3);
        QCOMPARE(bar->windowSize(), 5);
        QCOMPARE(bar->minGC(), 0.0);
        QCOMPARE(bar->maxGC(), 0.8);
        QCOMPARE(bar->figuresText(),
                 QString("GC content: Min: 0.0%,  Max: 80.0%,  Overall: 50.0%"));
        // A new sequence and a narrower range are seen without a new window.
        genome->setDnaSequence("GGCCAAGG");
        QCOMPARE(bar->minGC(), 2.0 / 3.0);
        genome->setCoords(GC_Interval(1, 5));
        QCOMPARE(bar->minGC(), 0.8);
        bar->computeGCcontent(2);
        QCOMPARE(bar->windowSize(), 5);
    }

    // A bar moved to another genome counts that genome's sequence.
    void twoGenomesEachTheirOwnExtremes()
    {
        GC_GenomeScene scene;
        GC_Genome *first = makeGenome(scene, "GGGGGCCCCC");
        GC_Genome *second = makeGenome(scene, "ATATAGCATA", 1.0, false);
        first->getGCcontentBar()->computeGCcontent(5);
        second->getGCcontentBar()->computeGCcontent(5);
        QCOMPARE(first->getGCcontentBar()->maxGC(), 1.0);
        QCOMPARE(second->getGCcontentBar()->maxGC(), 0.4);
        QCOMPARE(second->getGCcontentBar()->minGC(), 0.0);

        GC_GCcontentBar copy(*first->getGCcontentBar());
        QCOMPARE(copy.windowSize(), 5);
        QCOMPARE(copy.maxGC(), 0.0); // no genome yet
        copy.setParentItem(second);
        QCOMPARE(copy.maxGC(), 0.4);
        copy.setParentItem(nullptr);
    }

    // The bar spans its genome whatever the view shows; scrolling the view
    // leaves its extent alone.
    void extentFollowsTheGenomeNotTheView()
    {
        GC_GenomeScene scene;
        const QString sequence = QString::fromLatin1(TestData::randomDna(20000, 5));
        GC_Genome *genome = makeGenome(scene, sequence);
        genome->setShowGCcontent(true);
        GC_GenomeView view;
        view.resize(400, 300);
        view.setScene(&scene);
        view.show();
        scene.setSceneRect(scene.itemsBoundingRect());
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->minimum());
        GC_GCcontentBar *bar = genome->getGCcontentBar();
        const QRectF before = bar->boundingRect();
        QCOMPARE(before.left(), 0.0);
        QVERIFY(before.right() >= 20000.0);
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
        QCOMPARE(bar->boundingRect(), before);
        QVERIFY(before.bottom() >= bar->height() + 30.0);
    }

    // The line of figures stands 10 pixels inside the view's left edge
    // however far the view is scrolled, and what the window shows after the
    // scrolling is what a full repaint draws: no copy left behind.
    void figuresFollowTheScrolledView()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, QString::fromLatin1(TestData::randomDna(20000, 5)));
        genome->setShowText(false);
        genome->setShowRuler(false);
        genome->setShowGCcontent(true);
        GC_GCcontentBar *bar = genome->getGCcontentBar();
        bar->setY(60);
        GC_GenomeView view;
        view.setFrameShape(QFrame::NoFrame);
        view.resize(400, 300);
        view.setScene(&scene);
        scene.setSceneRect(scene.itemsBoundingRect());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QScrollBar *scroll = view.horizontalScrollBar();
        // Each step painted before the next, as a user's scrolling is: the
        // line of figures is drawn in strips.
        PaintCounter painted;
        view.viewport()->installEventFilter(&painted);
        for (int step = 0; step <= 12; ++step) {
            const int paintsBefore = painted.paints;
            const int before = scroll->value();
            scroll->setValue(step == 0 ? 0 : before + 97);
            if (scroll->value() != before)
                QTRY_VERIFY(painted.paints > paintsBefore);
        }
        QVERIFY(view.mapToScene(0, 0).x() > 1000.0);

        // The band of the line of figures, above the tallest bar.
        const double baseline = bar->height() + 25.0 - bar->height() * bar->maxGC();
        const QPoint base = view.mapFromScene(bar->mapToScene(QPointF(0, baseline)));
        const QRect band(0, base.y() - 12, view.viewport()->width(), 15);
        auto dark = [](QColor c) { return c.lightness() < 100; };
        auto inkColumns = [&](const QImage &image) {
            QList<int> columns;
            for (int x = band.left(); x <= band.right(); ++x) {
                if (countPixels(image, QRect(x, band.top(), 1, band.height()), dark) > 0)
                    columns << x;
            }
            return columns;
        };
        const QImage fresh = view.viewport()->grab().toImage();
        if (qEnvironmentVariableIsSet("KESTAL_TEST_IMAGES"))
            fresh.save(qEnvironmentVariable("KESTAL_TEST_IMAGES") + "/gc_scrolled.png");
        const QList<int> drawn = inkColumns(fresh);
        QVERIFY(!drawn.isEmpty());
        QVERIFY2(drawn.first() >= 9 && drawn.first() <= 14, qPrintable(QString::number(drawn.first())));
        QVERIFY2(drawn.last() < 360, qPrintable(QString::number(drawn.last())));

        const QPoint origin = view.viewport()->mapTo(&view, QPoint(0, 0));
        const QImage shown = view.windowHandle()
                                 ->screen()
                                 ->grabWindow(view.winId())
                                 .toImage()
                                 .copy(QRect(origin, view.viewport()->size()));
        QCOMPARE(inkColumns(shown), drawn);

        // A picture of the whole scene (image export) has the line at the
        // genome's start, wherever the window is scrolled.
        const QRectF area = scene.sceneRect();
        QImage whole(area.size().toSize(), QImage::Format_ARGB32);
        whole.fill(Qt::white);
        {
            QPainter painter(&whole);
            scene.render(&painter, QRectF(whole.rect()), area);
        }
        const int lineY = int(bar->mapToScene(QPointF(0, baseline)).y() - area.top());
        int firstInk = -1;
        for (int x = 0; x < whole.width() && firstInk < 0; ++x) {
            if (countPixels(whole, QRect(x, lineY - 12, 1, 15), dark) > 0)
                firstInk = x;
        }
        const double genomeLeft = genome->sceneBoundingRect().left() - area.left();
        QVERIFY2(firstInk >= genomeLeft + 9 && firstInk <= genomeLeft + 14, qPrintable(QString::number(firstInk)));
    }

    // What a paint call can show is the exposed part cut to the device, so
    // a bar millions of pixels wide draws only a screenful.
    void paintAreaIsCutToTheDevice()
    {
        QImage image(300, 100, QImage::Format_ARGB32);
        QPainter painter(&image);
        painter.translate(-1000000, 0);
        QStyleOptionGraphicsItem option;
        option.exposedRect = QRectF(0, 0, 5000000, 100);
        const QRectF area = GC_PaintArea::visibleRect(&painter, &option);
        QCOMPARE(area.left(), 1000000.0);
        QCOMPARE(area.width(), 300.0);
        painter.setClipRect(QRectF(1000050, 0, 20, 100));
        QCOMPARE(GC_PaintArea::visibleRect(&painter, &option).width(), 20.0);
        // A device without an extent of its own (a picture, an SVG file
        // without a size) keeps the whole exposed part.
        QPicture picture;
        QPainter recorder(&picture);
        QCOMPARE(GC_PaintArea::visibleRect(&recorder, &option), option.exposedRect);
    }

    // Bars stand on y = height + 30 and are as tall as their GC fraction:
    // a genome whose first half is all GC and second half all AT shows tall
    // bars on the left only.
    void barsDrawTheirFractions()
    {
        GC_GenomeScene scene;
        const QString sequence = QString(500, QLatin1Char('G')) + QString(500, QLatin1Char('A'));
        GC_Genome *genome = makeGenome(scene, sequence, 0.5);
        genome->setShowText(false);
        genome->setShowRuler(false);
        genome->setShowGCcontent(true);
        GC_GCcontentBar *bar = genome->getGCcontentBar();
        bar->computeGCcontent(50);
        bar->setOutlineEnabled(false);
        bar->setY(60); // clear of the genome's arrow
        QVERIFY(bar->isVisible());
        QImage image(500, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            const QRectF source(genome->scenePos().x(), genome->scenePos().y() + bar->y(), 500, 200);
            scene.render(&painter, QRectF(0, 0, 500, 200), source);
        }
        // GC half: green from y = 30 to 110; AT half: nothing.
        QVERIFY(countPixels(image, QRect(10, 35, 230, 70), isGreen) > 230 * 60);
        QCOMPARE(countPixels(image, QRect(260, 20, 230, 100), isGreen), 0);
        // With the outline off the line of figures is invisible too.
        QCOMPARE(countPixels(image, QRect(0, 0, 500, 29), [](QColor c) {
                     return c.lightness() < 100;
                 }),
                 0);
        bar->setOutlineEnabled(true);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            const QRectF source(genome->scenePos().x(), genome->scenePos().y() + bar->y(), 500, 200);
            scene.render(&painter, QRectF(0, 0, 500, 200), source);
        }
        QVERIFY(countPixels(image, QRect(0, 0, 500, 29), [](QColor c) {
                    return c.lightness() < 100;
                }) > 20);
    }

    // Two genomes joined by matchings, with rulers and GC bars, rendered:
    // every layer leaves ink where it belongs.
    void renderedComparison()
    {
        GC_GenomeScene scene;
        const QString top = QString::fromLatin1(TestData::randomDna(3000, 11));
        const QString low = QString::fromLatin1(TestData::randomDna(3000, 12));
        GC_Genome *a = makeGenome(scene, top, 0.25, true);
        GC_Genome *b = makeGenome(scene, low, 0.25, false);
        a->setPos(0, 0);
        b->setPos(0, 300);
        a->setShowGCcontent(true);
        b->setShowGCcontent(true);
        a->setShowText(false);
        b->setShowText(false);
        a->arrangeChildren(0);
        b->arrangeChildren(2);
        a->getRuler()->setTextColor(Qt::black);
        scene.addMatching(a, b, 1, 1000, 1, 1000, 90.0, 500.0);
        scene.addMatching(a, b, 2000, 2400, 2800, 2400, 80.0, 300.0);
        QCOMPARE(scene.countMatchings(), 2);

        const QRectF source = scene.itemsBoundingRect();
        QImage image(source.size().toSize() + QSize(2, 2), QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            scene.render(&painter, QRectF(QPointF(0, 0), source.size()), source);
        }
        if (qEnvironmentVariableIsSet("KESTAL_TEST_IMAGES"))
            image.save(qEnvironmentVariable("KESTAL_TEST_IMAGES") + "/gc_comparison.png");
        auto toImage = [&](const QPointF &scenePoint) {
            return (scenePoint - source.topLeft()).toPoint();
        };
        // The top genome's ruler stands above it: its labels (black) and
        // ticks (red) lie within 40 pixels over the genome.
        const QPoint aOrigin = toImage(a->mapToScene(QPointF(0, a->getRuler()->y())));
        QVERIFY(countPixels(image, QRect(aOrigin.x(), aOrigin.y() - 40, 750, 40),
                            [](QColor c) { return c.lightness() < 80; })
                > 10);
        QVERIFY(countPixels(image, QRect(aOrigin.x(), aOrigin.y() - 12, 750, 14), isRed) > 10);
        // Each genome's GC bars (dark green) lie below its bar's line.
        for (GC_Genome *genome : {a, b}) {
            GC_GCcontentBar *bar = genome->getGCcontentBar();
            const QPoint base = toImage(bar->mapToScene(QPointF(0, bar->height() + 30.0)));
            QVERIFY2(countPixels(image, QRect(base.x(), base.y() - 80, 750, 80), isGreen) > 750 * 10,
                     qPrintable(genome == a ? QString("top") : QString("low")));
        }
        // The bands fill the space between the two genomes' arrows where
        // they match (the first 1000 nucleotides = 250 pixels), not beyond.
        const QPoint middle = toImage(QPointF(a->mapToScene(QPointF(125, 0)).x(), 150));
        auto band = [](QColor c) { return c != QColor(Qt::white) && !isGreen(c); };
        QVERIFY(countPixels(image, QRect(middle.x() - 5, middle.y() - 5, 10, 10), band) > 50);
        const QPoint gap = toImage(QPointF(a->mapToScene(QPointF(375, 0)).x(), 150));
        QCOMPARE(countPixels(image, QRect(gap.x() - 5, gap.y() - 5, 10, 10), band), 0);
    }
};

KESTAL_TEST_MAIN(TestGCcontent)
#include "tst_gccontent.moc"
