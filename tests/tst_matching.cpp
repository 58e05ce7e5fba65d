#include "kestal_test.h"

#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_ruler.h"
#include "gc_style.h"

#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cmath>
#include <memory>

namespace {

struct Pair
{
    GC_GenomeScene scene;
    GC_Genome *top = nullptr;
    GC_Genome *low = nullptr;

    Pair()
    {
        top = new GC_Genome;
        top->setCoords(GC_Interval(1, 1000));
        top->setName("top");
        low = new GC_Genome;
        low->setCoords(GC_Interval(1, 1000));
        low->setName("low");
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        low->setPos(0, 100);
    }

    GC_GenomeMatching *add(int tf, int tt, int lf, int lt, double similarity, double bitScore)
    {
        scene.addMatching(top, low, tf, tt, lf, lt, similarity, bitScore);
        return scene.matchings().last();
    }
};

QImage render(QGraphicsScene &scene, const QRectF &source)
{
    QImage image(source.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(QPointF(0, 0), source.size()), source);
    return image;
}

} // namespace

// Matchings: their two sides, registration with the genomes, visibility
// under the bit-score threshold, the band and the canvas row.
class TestMatching : public QObject
{
    Q_OBJECT

private slots:
    void directAndInverted()
    {
        GC_GenomeMatching m;
        QCOMPARE(m.type(), int(ITEMTYPE_MATCHING));
        m.setTop(nullptr, 100, 200);
        m.setLow(nullptr, 5000, 5100);
        QVERIFY(m.isDirect());
        m.setTop(nullptr, 200, 100);
        m.setLow(nullptr, 5100, 5000);
        QVERIFY(m.isDirect());
        m.setLow(nullptr, 5000, 5100);
        QVERIFY(!m.isDirect());
        QCOMPARE(m.topCoords(), GC_Interval(100, 200));
        QCOMPARE(m.topFrom(), 200);
        QCOMPARE(m.coordsOn(nullptr), GC_Interval());
    }

    void idsMoveTheCounterPastThem()
    {
        GC_GenomeMatching::nextId = 0;
        GC_GenomeMatching m;
        for (int id : {1, 2, 3, 4})
            m.setId(id);
        QCOMPARE(GC_GenomeMatching::nextId, 5);
        m.setId(2);
        QCOMPARE(GC_GenomeMatching::nextId, 5);
        Pair pair;
        GC_GenomeMatching *a = pair.add(1, 10, 1, 10, 90, 10);
        GC_GenomeMatching *b = pair.add(1, 10, 1, 10, 90, 10);
        QCOMPARE(a->id(), 5);
        QCOMPARE(b->id(), 6);
    }

    void registersOnceWithEachGenome()
    {
        Pair pair;
        GC_GenomeMatching *m = pair.add(1, 10, 20, 30, 90, 10);
        QCOMPARE(pair.top->getMatchings(), QList<GC_GenomeMatching *>({m}));
        QCOMPARE(pair.low->getMatchings(), QList<GC_GenomeMatching *>({m}));
        m->setTop(pair.top, 2, 11);
        m->setTopGenome(pair.top);
        QCOMPARE(pair.top->countMatchings(), 1);
        QCOMPARE(m->coordsOn(pair.top), GC_Interval(2, 11));
        QCOMPARE(m->coordsOn(pair.low), GC_Interval(20, 30));
        // Moving a side to another genome leaves the first one's list.
        auto *third = new GC_Genome;
        pair.scene.addItem(third);
        m->setLowGenome(third);
        QCOMPARE(pair.low->countMatchings(), 0);
        QCOMPARE(third->countMatchings(), 1);
        m->detachFromGenomes();
        QCOMPARE(pair.top->countMatchings(), 0);
        QCOMPARE(third->countMatchings(), 0);
    }

    void visibilityUnderTheThreshold()
    {
        Pair pair;
        pair.scene.slotViewMatchingsBitScore(50.0);
        GC_GenomeMatching *equal = pair.add(1, 10, 1, 10, 90, 50.0);
        GC_GenomeMatching *below = pair.add(1, 10, 1, 10, 90, 49.99);
        // Added after the threshold was set, they obey it at once.
        QVERIFY(equal->isVisible());
        QVERIFY(!below->isVisible());

        // So does one the caller builds and adds itself.
        auto *own = new GC_GenomeMatching;
        own->setTop(pair.top, 1, 10);
        own->setLow(pair.low, 1, 10);
        own->setBitScore(10.0);
        pair.scene.insertMatching(own);
        pair.scene.addItem(own);
        QVERIFY(!own->isVisible());

        pair.scene.slotViewMatchingsBitScore(0.0);
        QVERIFY(below->isVisible() && own->isVisible());
        pair.top->setVisibleGenome(false);
        QVERIFY(!equal->isVisible());
        pair.top->setVisibleGenome(true);
        pair.low->setShowMatchings(false);
        QVERIFY(!equal->isVisible());
        pair.low->setShowMatchings(true);
        pair.scene.slotViewMatchings(false);
        QVERIFY(!equal->isVisible());
        pair.scene.slotViewMatchings(true);
        QVERIFY(equal->isVisible());

        GC_GenomeMatching lonely; // no scene, no genomes
        lonely.updateVisibility();
        QVERIFY(!lonely.isVisible());
    }

    void strongerMatchingsLieBeneath()
    {
        GC_GenomeMatching m;
        m.setBitScore(120.0);
        QCOMPARE(m.zValue(), -120.0);
        GC_GenomeMatching copy(m);
        QCOMPARE(copy.zValue(), 0.0);
        QCOMPARE(copy.bitScore(), 120.0);
    }

    void bandJoinsFacingEdges()
    {
        Pair pair;
        GC_GenomeMatching *m = pair.add(101, 200, 301, 400, 100, 10);
        const QPolygonF band = m->polygon();
        QCOMPARE(band.size(), 4);
        // Top genome's lower body edge (height 4), low genome's upper one.
        QCOMPARE(band[0], QPointF(100, 2));
        QCOMPARE(band[1], QPointF(200, 2));
        QCOMPARE(band[2], QPointF(400, 98));
        QCOMPARE(band[3], QPointF(300, 98));
        // Top genome below the low one: the other edges.
        pair.top->setPos(0, 200);
        const QPolygonF flipped = m->polygon();
        QCOMPARE(flipped[0], QPointF(100, 198));
        QCOMPARE(flipped[2], QPointF(400, 102));
        // An inverted match crosses over itself.
        GC_GenomeMatching *inverted = pair.add(101, 200, 400, 301, 100, 10);
        QCOMPARE(inverted->polygon()[2].x(), 301.0);
        QCOMPARE(inverted->polygon()[3].x(), 399.0);
        QCOMPARE(m->boundingRect(), m->shape().boundingRect());
    }

    void slivers()
    {
        Pair pair;
        pair.top->setPixPerNuc(0.001);
        pair.low->setPixPerNuc(0.001);
        GC_GenomeMatching *m = pair.add(101, 200, 301, 400, 100, 10);
        const QPolygonF band = m->polygon();
        QCOMPARE(band[1].x(), band[0].x() + 0.1);
        QCOMPARE(band[2].x(), band[3].x() + 0.1);
        GC_GenomeMatching orphan;
        QCOMPARE(orphan.polygon(), QPolygonF(QList<QPointF>(4, QPointF(0, 0))));
    }

    void opacityFollowsSimilarity()
    {
        Pair pair;
        pair.top->setShowRuler(false);
        pair.low->setShowRuler(false);
        pair.top->setShowText(false);
        pair.low->setShowText(false);
        GC_GenomeMatching *m = pair.add(101, 300, 101, 300, 100, 10);
        m->setColor(Qt::red);
        const QRectF middle(150, 40, 100, 20);
        auto sample = [&]() { return render(pair.scene, middle).pixelColor(50, 10); };
        QCOMPARE(sample(), QColor(Qt::red));
        m->setSimilarity(75);
        const QColor half = sample();
        QVERIFY(qAbs(half.green() - 128) < 4 && half.red() == 255);
        m->setSimilarity(50);
        QCOMPARE(sample(), QColor(Qt::white));
        m->setSimilarity(30);
        QCOMPARE(sample(), QColor(Qt::white));
        // Never coloured: black, with the similarity's alpha.
        GC_GenomeMatching *plain = pair.add(501, 700, 501, 700, 100, 10);
        Q_UNUSED(plain);
        QCOMPARE(render(pair.scene, QRectF(550, 40, 100, 20)).pixelColor(50, 10),
                 QColor(Qt::black));
    }

    void tallTranslucentBandHasNoSeams()
    {
        // Tall bands are filled in strips: no row may be blended twice or
        // left out where two strips meet, at any scale of the view.
        for (double scale : {1.0, 0.7, 1.37}) {
            Pair pair;
            pair.top->setShowRuler(false);
            pair.low->setShowRuler(false);
            pair.top->setShowText(false);
            pair.low->setShowText(false);
            pair.low->setPos(0, 997.3);
            GC_GenomeMatching *m = pair.add(101, 400, 601, 900, 75, 10); // slanted
            m->setColor(Qt::blue);
            QImage image(1400, 1400, QImage::Format_ARGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.scale(scale, scale);
                pair.scene.render(&painter, QRectF(0, 0, 1000, 1000), QRectF(0, 0, 1000, 1000));
            }
            const QColor half = image.pixelColor(int(500 * scale / 2), int(20 * scale));
            QVERIFY(half != QColor(Qt::white));
            // Follow the band's centre line down the image.
            for (int y = int(5 * scale); y < int(990 * scale); ++y) {
                const double t = (y / scale - 2.0) / (995.3 - 2.0);
                const double x = (250.0 + t * (750.0 - 250.0)) * scale;
                QVERIFY2(image.pixelColor(int(x), y) == half, qPrintable(QString("scale %1 row %2 x %3").arg(scale).arg(y).arg(x)));
            }
        }
    }

    void applyStyleColoursByDirection()
    {
        GC_GenomeMatching direct, inverted;
        direct.setTop(nullptr, 1, 10);
        direct.setLow(nullptr, 1, 10);
        inverted.setTop(nullptr, 1, 10);
        inverted.setLow(nullptr, 10, 1);
        GC_Style style;
        style.matchingReverseColor = Qt::red;
        style.matchingStraightColor = Qt::green;
        style.applyMatchingReverseColor = true;
        direct.applyStyle(style, false);
        inverted.applyStyle(style, false);
        QVERIFY(!direct.color().isValid());
        QCOMPARE(inverted.color(), QColor(Qt::red));
        direct.applyStyle(style, true);
        QCOMPARE(direct.color(), QColor(Qt::green));
    }

    void toStringAndRow()
    {
        Pair pair;
        GC_GenomeMatching *m = pair.add(200, 100, 5, 50, 87.5, 321.25);
        QCOMPARE(m->toString(), QString("top(200-100)/low(5-50)"));

        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "matchings");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        {
            QSqlQuery query(db);
            QVERIFY(query.exec(GC_GenomeMatching::sqlCreateTable()));
            QVERIFY(m->saveItem(query));
            QVERIFY(query.exec(GC_GenomeMatching::sqlSelect()));
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toInt(), m->id());
            QCOMPARE(query.value(1).toInt(), pair.top->getId());
            QCOMPARE(query.value(2).toInt(), 200);
            QCOMPARE(query.value(3).toInt(), 100);
            QCOMPARE(query.value(4).toInt(), pair.low->getId());
            QCOMPARE(query.value(7).toDouble(), 87.5);
            QCOMPARE(query.value(8).toDouble(), 321.25);
            QCOMPARE(query.value(9).toString(), QString("#000000"));
            query.finish();
            QSqlQuery broken(db);
            QVERIFY(broken.exec("DROP TABLE genomematchings"));
            QVERIFY(!m->saveItem(broken));
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("matchings");
    }

    void bandInAllFourOrientations_data()
    {
        QTest::addColumn<int>("topOrientation");
        QTest::addColumn<int>("lowOrientation");
        QTest::addColumn<bool>("invertedHit");
        QTest::addColumn<QList<double>>("xs"); // p0, p1, p2, p3
        QTest::addColumn<bool>("crosses");
        // Top 101..200, low 301..400 on two 1..1000 genomes at 1 pixel per
        // nucleotide: a reverse genome runs from 1000 at x 0 to 1 at x 1000.
        QTest::newRow("forward/forward") << 1 << 1 << false << QList<double>{100, 200, 400, 300} << false;
        QTest::newRow("forward/reverse") << 1 << -1 << false << QList<double>{100, 200, 600, 700} << true;
        QTest::newRow("reverse/forward") << -1 << 1 << false << QList<double>{900, 800, 400, 300} << true;
        QTest::newRow("reverse/reverse") << -1 << -1 << false << QList<double>{900, 800, 600, 700} << false;
        // An inverted hit (low side backwards) crosses exactly where a
        // direct one does not.
        QTest::newRow("forward/forward inverted") << 1 << 1 << true << QList<double>{100, 200, 301, 399} << true;
        QTest::newRow("forward/reverse inverted") << 1 << -1 << true << QList<double>{100, 200, 699, 601} << false;
        QTest::newRow("reverse/forward inverted") << -1 << 1 << true << QList<double>{900, 800, 301, 399} << false;
        QTest::newRow("reverse/reverse inverted") << -1 << -1 << true << QList<double>{900, 800, 699, 601} << true;
    }

    void bandInAllFourOrientations()
    {
        QFETCH(int, topOrientation);
        QFETCH(int, lowOrientation);
        QFETCH(bool, invertedHit);
        QFETCH(QList<double>, xs);
        QFETCH(bool, crosses);
        Pair pair;
        pair.top->setOrientation(topOrientation);
        pair.low->setOrientation(lowOrientation);
        GC_GenomeMatching *m = invertedHit ? pair.add(101, 200, 400, 301, 100, 10)
                                           : pair.add(101, 200, 301, 400, 100, 10);
        QCOMPARE(m->isDirect(), !invertedHit);
        const QPolygonF band = m->polygon();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(band[i].x(), xs[i]);
        QCOMPARE(band[0].y(), 2.0);
        QCOMPARE(band[3].y(), 98.0);
        // Crossing: the two sides run opposite ways across the screen.
        QCOMPARE((band[1].x() - band[0].x()) * (band[2].x() - band[3].x()) < 0, crosses);
        QCOMPARE(m->boundingRect(), band.boundingRect());

        // The band follows a later change of orientation at once.
        pair.top->setOrientation(-topOrientation);
        QCOMPARE(m->polygon()[0].x(), topOrientation == 1 ? 900.0 : 100.0);
        QCOMPARE(m->boundingRect(), m->polygon().boundingRect());
    }

    void thresholdHidesAndShowsAtItsValue()
    {
        Pair pair;
        QList<GC_GenomeMatching *> bands;
        for (double score : {10.0, 49.5, 50.0, 50.5, 400.0})
            bands << pair.add(1, 10, 1, 10, 90, score);
        auto shown = [&]() {
            int count = 0;
            for (GC_GenomeMatching *m : bands)
                count += m->isVisible();
            return count;
        };
        QCOMPARE(shown(), 5);
        pair.scene.slotViewMatchingsBitScore(50.0);
        QCOMPARE(shown(), 3);
        QVERIFY(bands[2]->isVisible());
        QVERIFY(!bands[1]->isVisible());
        pair.scene.slotViewMatchingsBitScore(1000.0);
        QCOMPARE(shown(), 0);
        pair.scene.slotViewMatchingsBitScore(0.0);
        QCOMPARE(shown(), 5);
    }

    // Many bands under a pixel on the same pixels are drawn as one hairline
    // once it is opaque: the picture is the one that drawing each gives, and
    // it is the same on every frame, in both ways the view draws.
    void thinBandsSharingPixels()
    {
        for (int count : {1, 3, 40}) {
            Pair pair;
            pair.top->setShowRuler(false);
            pair.low->setShowRuler(false);
            pair.top->setShowText(false);
            pair.low->setShowText(false);
            pair.top->setPixPerNuc(0.01);
            pair.low->setPixPerNuc(0.01);
            pair.top->setCoords(GC_Interval(1, 100000));
            pair.low->setCoords(GC_Interval(1, 100000));
            for (int i = 0; i < count; ++i)
                pair.add(50001 + i, 50020 + i, 50001 + i, 50020 + i, 75, 10 + i); // alpha 0.5
            const QRectF source(480, 0, 40, 100);
            const double expected = 255.0 * std::pow(0.5, count);
            for (int frame = 0; frame < 2; ++frame) {
                const QImage image = render(pair.scene, source);
                int darkest = 255;
                for (int x = 0; x < image.width(); ++x)
                    darkest = std::min(darkest, image.pixelColor(x, 50).red());
                QVERIFY2(std::abs(darkest - expected) <= 3,
                         qPrintable(QString("%1 bands, frame %2: %3").arg(count).arg(frame).arg(darkest)));
            }

            // The view's own repaint draws the same.
            GC_GenomeView view;
            view.setFrameShape(QFrame::NoFrame);
            view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view.resize(200, 200);
            view.setScene(&pair.scene);
            view.setSceneRect(400, -50, 200, 200);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            view.viewport()->render(&image);
            const QPoint middle = view.mapFromScene(QPointF(500, 50));
            int darkest = 255;
            for (int x = middle.x() - 20; x < middle.x() + 20; ++x)
                darkest = std::min(darkest, image.pixelColor(x, middle.y()).red());
            QVERIFY2(std::abs(darkest - expected) <= 3, qPrintable(QString::number(darkest)));

            // A view painting its own background never asks the scene for
            // it; every repaint still draws the bands.
            view.setBackgroundBrush(Qt::white);
            for (int frame = 0; frame < 3; ++frame) {
                image.fill(Qt::white);
                view.viewport()->render(&image);
                darkest = 255;
                for (int x = middle.x() - 20; x < middle.x() + 20; ++x)
                    darkest = std::min(darkest, image.pixelColor(x, middle.y()).red());
                QVERIFY2(std::abs(darkest - expected) <= 3,
                         qPrintable(QString("own background, frame %1: %2").arg(frame).arg(darkest)));
            }
        }
    }

    // Narrowing a genome deletes the bands it drops in one batch; those kept
    // keep their stacking and are still drawn.
    void narrowingDropsBandsInOneBatch()
    {
        Pair pair;
        pair.top->setShowRuler(false);
        pair.low->setShowRuler(false);
        QList<GC_GenomeMatching *> kept;
        for (int i = 0; i < 200; ++i) {
            const int from = 1 + 5 * (i % 200);
            GC_GenomeMatching *m = pair.add(from, from + 3, from, from + 3, 90, 10 + i);
            if (from + 3 < 501)
                kept << m;
        }
        kept.last()->setColor(Qt::red);
        kept.last()->setSimilarity(100);
        for (int i = 0; i < 100; ++i)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Deleting matching id: "));
        render(pair.scene, QRectF(0, 0, 10, 10)); // sorted for drawing first
        pair.top->setCoords(GC_Interval(1, 500));
        QCOMPARE(pair.scene.matchings().size(), kept.size());
        QCOMPARE(pair.top->countMatchings(), int(kept.size()));
        QCOMPARE(pair.low->countMatchings(), int(kept.size()));
        int items = 0;
        for (QGraphicsItem *item : pair.scene.items())
            items += item->type() == ITEMTYPE_MATCHING;
        QCOMPARE(items, int(kept.size()));
        for (GC_GenomeMatching *m : kept) {
            QCOMPARE(m->zValue(), -m->bitScore());
            QVERIFY(m->isVisible());
        }
        const QPolygonF band = kept.last()->polygon();
        const QPointF centre = (band[0] + band[1] + band[2] + band[3]) / 4.0;
        QCOMPARE(render(pair.scene, QRectF(centre - QPointF(0.5, 0.5), QSizeF(1, 1))).pixelColor(0, 0),
                 QColor(Qt::red));
        GC_GenomeMatching::deleteMatchings({}); // nothing to do
    }

    // The whole picture of a comparison: two genomes with genes, ruler and
    // GC-content bar, one direct and one inverted band, drawn by a view.
    void twoGenomeSceneRendersEveryPart()
    {
        // Colours no other item uses.
        const QColor bandOne(201, 17, 93), bandTwo(23, 91, 187);
        GC_GenomeScene scene;
        QString sequence;
        for (int i = 0; i < 2000; ++i)
            sequence += QLatin1Char("ACGTGGCCAT"[(i * 7 + i / 100) % 10]);
        GC_Genome *genomes[2];
        for (GC_Genome *&genome : genomes) {
            genome = new GC_Genome;
            genome->setCoords(GC_Interval(1, 2000));
            genome->setDnaSequence(sequence);
            auto *gene = new GC_Gene;
            gene->setFromTo(201, 500);
            gene->setFillColor(Qt::darkGreen);
            genome->addGene(gene);
        }
        genomes[0]->setName("upper");
        genomes[1]->setName("lower");
        scene.insertTopGenome(genomes[0]);
        scene.insertLowGenome(genomes[1]);
        scene.addItemsToScene();
        for (GC_Genome *genome : genomes) {
            genome->setShowRuler(true);
            genome->setShowGCcontent(true);
        }
        scene.addMatching(genomes[0], genomes[1], 101, 700, 1101, 1700, 100, 500);
        GC_GenomeMatching *direct = scene.matchings().last();
        direct->setColor(bandOne);
        scene.addMatching(genomes[0], genomes[1], 1201, 1900, 900, 201, 100, 400);
        GC_GenomeMatching *inverted = scene.matchings().last();
        inverted->setColor(bandTwo);

        GC_GenomeView view;
        view.setFrameShape(QFrame::NoFrame);
        view.resize(800, 900);
        view.setScene(&scene);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        scene.slotViewAdjustToWidth();
        view.centerOn(scene.itemsBoundingRect().center());
        QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        view.viewport()->render(&image);

        auto countIn = [&](const QRectF &sceneRect, auto accept) {
            const QRect area = view.mapFromScene(sceneRect).boundingRect() & image.rect();
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    count += accept(image.pixelColor(x, y));
            return count;
        };
        auto is = [](const QColor &wanted) { return [wanted](const QColor &c) { return c == wanted; }; };
        auto inked = [](const QColor &c) { return c != QColor(Qt::white); };

        // Each band in its colour, centred on its own middle.
        auto middle = [](GC_GenomeMatching *m) {
            const QPolygonF p = m->polygon();
            return QRectF((p[0] + p[1] + p[2] + p[3]) / 4.0 - QPointF(3, 3), QSizeF(6, 6));
        };
        QVERIFY(countIn(middle(direct), is(bandOne)) > 20);
        // The inverted band crosses over itself: its middle is a point, so
        // look between the crossing and the low genome.
        const QPolygonF cross = inverted->polygon();
        const QPointF left = cross[0] + (cross[3] - cross[0]) * 0.8;
        const QPointF right = cross[1] + (cross[2] - cross[1]) * 0.8;
        QVERIFY(countIn(QRectF((left + right) / 2.0 - QPointF(3, 3), QSizeF(6, 6)), is(bandTwo)) > 20);
        QCOMPARE(countIn(middle(direct), is(bandTwo)), 0);
        // The genomes' arrows, their genes, rulers and GC-content bars.
        for (GC_Genome *genome : genomes) {
            QVERIFY(countIn(genome->sceneBoundingRect(), inked) > 100);
            GC_Gene *gene = genome->getGenes().first();
            QVERIFY(countIn(gene->sceneBoundingRect(), is(Qt::darkGreen)) > 10);
            QVERIFY(genome->getRuler()->isVisible());
            QVERIFY(countIn(genome->getRuler()->sceneBoundingRect(), inked) > 50);
            QVERIFY(genome->getGCcontentBar()->isVisible());
            QVERIFY(countIn(genome->getGCcontentBar()->sceneBoundingRect(), inked) > 50);
        }
        // Hiding the bands leaves no band colour anywhere.
        scene.slotViewMatchings(false);
        image.fill(Qt::white);
        view.viewport()->render(&image);
        QCOMPARE(countIn(scene.itemsBoundingRect(), is(bandOne)), 0);
        QCOMPARE(countIn(scene.itemsBoundingRect(), is(bandTwo)), 0);
    }

    void adjustGenomesToMatching()
    {
        Pair pair;
        pair.low->setOrientation(-1);
        GC_GenomeMatching *m = pair.add(301, 400, 800, 701, 100, 10);
        m->adjustGenomesToMatching(50.0);
        QCOMPARE(pair.top->mapToScene(pair.top->nucStartX(301), 0).x(), 50.0);
        // Reverse low genome: its stretch's left edge is the end of 800.
        QCOMPARE(pair.low->mapToScene(pair.low->nucEndX(800), 0).x(), 50.0);
        QCOMPARE(pair.low->y(), 100.0);
    }
};

KESTAL_TEST_MAIN(TestMatching)
#include "tst_matching.moc"
