#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_coghomologies.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomelengthcontrolpoint.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genecontrolpoint.h"
#include "gc_genometext.h"
#include "gc_genomeview.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_ruler.h"

#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace {

GC_Genome *makeGenome(int from, int to, double pixPerNuc = 1.0, int orientation = 1)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(from, to));
    genome->setPixPerNuc(pixPerNuc);
    genome->setOrientation(orientation);
    return genome;
}

GC_Gene *addGene(GC_Genome *genome, int from, int to)
{
    auto *gene = new GC_Gene;
    gene->setFromTo(from, to);
    genome->addGene(gene);
    return gene;
}

std::unique_ptr<GC_GenomeView> makeView(GC_GenomeScene &scene, int width, int height)
{
    auto view = std::make_unique<GC_GenomeView>();
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setScene(&scene);
    view->resize(width, height);
    view->show();
    return view;
}

} // namespace

// The genome item: mapping, range, scale, layout, handles, label and the
// lists it keeps of its genes and matchings.
class TestGenome : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression("^(?!Deleting matching)")); }

    void defaults()
    {
        const int next = GC_Genome::genomeIdCounter;
        GC_Genome genome;
        QCOMPARE(genome.getId(), next);
        QCOMPARE(GC_Genome::genomeIdCounter, next + 1);
        QCOMPARE(genome.type(), int(ITEMTYPE_GENOME));
        QCOMPARE(genome.getCoords(), GC_Interval(1, 1));
        QCOMPARE(genome.getPixPerNuc(), 1.0);
        QCOMPARE(genome.getArrowEndX(), 1.0);
        QCOMPARE(genome.getDatabaseId(), -1);
        QVERIFY(std::isnan(genome.getGCcontent()));
        QVERIFY(genome.getRuler());
        QVERIFY(genome.getGCcontentBar());
        QVERIFY(genome.getCogHomologies() && genome.getRfamHomologies()
                && genome.getrRNAHomologies());
        QCOMPARE(genome.getRuler()->parentItem(), &genome);
        QCOMPARE(genome.getCogHomologies()->parentItem(), &genome);
        QVERIFY(!genome.getShowGCcontent());
        QVERIFY(!genome.getShowCogHomologies() && !genome.getShowRfamHomologies()
                && !genome.getShowrRNAHomologies());
        QVERIFY(genome.getShowGenes() && genome.getShowAnotations() && genome.getShowMatchings()
                && genome.getShowRuler() && genome.getShowText());
        QCOMPARE(genome.getHeightBig(), 5.0);
        QCOMPARE(genome.getHeightSmall(), 4.0);
        QCOMPARE(genome.getHeadLength(), 3.0);
        QCOMPARE(genome.getFillColor(), QColor(24, 116, 205));
        QCOMPARE(genome.zValue(), 1.0);
        QCOMPARE(genome.getTextPositionFlag(), 0);
        QVERIFY(genome.flags() & QGraphicsItem::ItemIsMovable);
        QVERIFY(genome.flags() & QGraphicsItem::ItemIsFocusable);
    }

    void mappingTable()
    {
        std::unique_ptr<GC_Genome> genome(makeGenome(101, 200, 2.0));
        QCOMPARE(genome->nucStartX(101), 0.0);
        QCOMPARE(genome->nucEndX(101), 2.0);
        QCOMPARE(genome->nucToX(150), 99.0);
        QCOMPARE(genome->getArrowEndX(), 200.0);
        genome->setOrientation(-1);
        QCOMPARE(genome->nucEndX(200), 0.0);
        QCOMPARE(genome->nucStartX(200), 2.0);
        QCOMPARE(genome->xToNuc(0.0), 200.5);
        QCOMPARE(genome->nucStartX(101), 200.0);
        QVERIFY(genome->isReverse());
        // Anything but 1 maps as reverse.
        genome->setOrientation(5);
        QCOMPARE(genome->xToNuc(0.0), 200.5);
    }

    void mappingRoundTrips_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("orientation");
        for (double scale : {0.0007, 0.013, 0.37, 1.0, 2.5, 40.0}) {
            QTest::addRow("forward %g", scale) << scale << 1;
            QTest::addRow("reverse %g", scale) << scale << -1;
        }
    }

    void mappingRoundTrips()
    {
        QFETCH(double, scale);
        QFETCH(int, orientation);
        std::unique_ptr<GC_Genome> genome(makeGenome(1001, 5000000, scale, orientation));
        for (int n : {1001, 1002, 4711, 123457, 2500000, 4999999, 5000000}) {
            const double x = genome->nucToX(n);
            QVERIFY(qAbs(genome->xToNuc(x) - n) < 1e-6);
            // Neighbouring nucleotides share an edge, and each is p wide.
            if (n < 5000000)
                QVERIFY(qAbs(genome->nucEndX(n) - genome->nucStartX(n + 1)) < 1e-6 * scale * 5e6);
            QVERIFY(qAbs(qAbs(genome->nucEndX(n) - genome->nucStartX(n)) - scale) < 1e-9);
            // The edges map back to the half-nucleotide positions.
            QVERIFY(qAbs(genome->xToNuc(genome->nucStartX(n)) - (n - 0.5)) < 1e-6);
        }
        // The arrow always runs from 0 to length * p.
        const double left = orientation == 1 ? genome->nucStartX(1001) : genome->nucEndX(5000000);
        const double right = orientation == 1 ? genome->nucEndX(5000000) : genome->nucStartX(1001);
        QVERIFY(qAbs(left) < 1e-9);
        QVERIFY(qAbs(right - genome->getArrowEndX()) < 1e-6);
    }

    void sequenceAndGCcontent()
    {
        GC_Genome genome;
        genome.setDnaSequence("acgtn");
        QCOMPARE(genome.getDnaSequence(), QString("ACGTN"));
        QCOMPARE(genome.getGCcontent(), 0.4);
        genome.setDnaSequence("ACGTACGT");
        QCOMPARE(genome.getDnaSequence(GC_Interval(3, 5)), QString("GTA"));
        QCOMPARE(genome.getDnaSequence(), QString("ACGTACGT"));
        genome.setDnaSequence(QString());
        QVERIFY(std::isnan(genome.getGCcontent()));
    }

    void sequenceFromTheSourceFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("comparison.sqlite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "writer");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("CREATE TABLE genomes (id INTEGER, dna_sequence TEXT)"));
            QVERIFY(query.exec("INSERT INTO genomes VALUES (3, 'TTGACCA')"));
            db.close();
        }
        QSqlDatabase::removeDatabase("writer");
        GC_Genome genome;
        genome.setDatabase(path);
        genome.setDatabaseId(3);
        QCOMPARE(genome.getDnaSequence(), QString("TTGACCA"));
        QCOMPARE(genome.getDnaSequence(GC_Interval(2, 4)), QString("TGA"));
        QVERIFY(!QSqlDatabase::contains("gc_genome_dna_sequence"));
        genome.setDatabase(dir.filePath("moved-away.sqlite"));
        QCOMPARE(genome.getDnaSequence(), QString());
    }

    void narrowingTheRangeDropsWhatFallsOutside()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 1000);
        GC_Genome *other = makeGenome(1, 5000);
        scene.insertTopGenome(genome);
        scene.insertLowGenome(other);
        scene.addItemsToScene();
        addGene(genome, 100, 150);
        GC_Gene *kept1 = addGene(genome, 150, 250);
        GC_Gene *kept2 = addGene(genome, 900, 790);
        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(10, 20));
        genome->addAnotation(anotation);
        // The one that stays comes first, so a removal by id would take it.
        scene.addMatching(genome, other, 300, 400, 1000, 1100, 90, 100);
        scene.addMatching(genome, other, 850, 990, 10, 150, 90, 100);
        GC_GenomeMatching *dropped = nullptr, *stays = nullptr;
        for (GC_GenomeMatching *m : scene.matchings())
            (m->topFrom() == 850 ? dropped : stays) = m;
        // Ids can repeat (two files merged): removal must go by pointer.
        dropped->setId(stays->id());
        QCOMPARE(other->countMatchings(), 2);

        QTest::ignoreMessage(QtDebugMsg,
                             qPrintable(QString("Deleting matching id: %1").arg(stays->id())));
        genome->setCoords(GC_Interval(200, 800));
        QCOMPARE(genome->getCoords(), GC_Interval(200, 800));
        QCOMPARE(genome->getGenes(), QList<GC_Gene *>({kept1, kept2}));
        QVERIFY(genome->getAnotations().isEmpty());
        QCOMPARE(genome->getMatchings(), QList<GC_GenomeMatching *>({stays}));
        QCOMPARE(other->getMatchings(), QList<GC_GenomeMatching *>({stays}));
        QCOMPARE(scene.matchings(), QList<GC_GenomeMatching *>({stays}));
        QCOMPARE(stays->scene(), &scene);
        int matchingItems = 0;
        for (QGraphicsItem *item : scene.items())
            matchingItems += item->type() == ITEMTYPE_MATCHING;
        QCOMPARE(matchingItems, 1);
        // The kept genes follow the new mapping.
        QCOMPARE(kept1->getArrowStartX(), genome->nucStartX(150));
        QCOMPARE(kept1->getArrowStartX(), -50.0);
    }

    void sameRangeChangesNothing()
    {
        std::unique_ptr<GC_Genome> genome(makeGenome(1, 1000));
        GC_Gene *gene = addGene(genome.get(), 5, 50);
        QTest::ignoreMessage(QtDebugMsg, "GC_Genome::setCoords(): 1, 1000");
        genome->setCoords(GC_Interval(1000, 1));
        QCOMPARE(genome->getGenes(), QList<GC_Gene *>({gene}));
    }

    void movingOneEndKeepsTheNucleotidesInPlace()
    {
        std::unique_ptr<GC_Genome> genome(makeGenome(1, 1000));
        genome->setNucFrom(201);
        QCOMPARE(genome->x(), 200.0);
        QCOMPARE(genome->getCoords(), GC_Interval(201, 1000));
        QCOMPARE(genome->mapToScene(genome->nucStartX(201), 0).x(), 200.0);

        std::unique_ptr<GC_Genome> reverse(makeGenome(1, 1000, 1.0, -1));
        const double before = reverse->mapToScene(reverse->nucToX(500), 0).x();
        reverse->setNucTo(800);
        QCOMPARE(reverse->getCoords(), GC_Interval(1, 800));
        QCOMPARE(reverse->mapToScene(reverse->nucToX(500), 0).x(), before);
        // The end of a reverse genome is its left end: setNucFrom keeps x.
        reverse->setNucFrom(101);
        QCOMPARE(reverse->mapToScene(reverse->nucToX(500), 0).x(), before);
    }

    void refusesBrokenScales()
    {
        std::unique_ptr<GC_Genome> genome(makeGenome(1, 100, 2.0));
        for (double bad : {0.0, -1.0, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
            QVERIFY(!genome->setPixPerNuc(bad));
            QCOMPARE(genome->getPixPerNuc(), 2.0);
        }
        QVERIFY(genome->setPixPerNuc(1e-7));
        QVERIFY(genome->getRuler()->tickPeriod() >= 15 / 1e-7);
        // Beyond the panel's range the scale stops at its ends, by zoom too.
        QVERIFY(genome->setPixPerNuc(1e7));
        QCOMPARE(genome->getPixPerNuc(), 1e6);
        genome->zoomIn(QPointF(10.0, 0.0));
        QCOMPARE(genome->getPixPerNuc(), 1e6);
        QVERIFY(genome->setPixPerNuc(1e-12));
        QCOMPARE(genome->getPixPerNuc(), 1e-10);
    }

    void lengthHandles()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 100);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        QVERIFY(!genome->getLeftHandle());
        genome->setSelected(true);
        GC_GenomeLengthControlPoint *left = genome->getLeftHandle();
        GC_GenomeLengthControlPoint *right = genome->getRightHandle();
        QVERIFY(left && right);
        QCOMPARE(left->pos(), QPointF(0, 0));
        QCOMPARE(right->pos(), QPointF(100, 0));
        QCOMPARE(left->shapeType(), 0);
        QCOMPARE(right->shapeType(), 1);
        QVERIFY(!right->isVisible()); // control points are off in a new scene
        QVERIFY(!scene.isModified());

        right->setPos(150, 12); // a drag: along the axis only
        QCOMPARE(right->pos(), QPointF(150, 0));
        QCOMPARE(genome->getPixPerNuc(), 1.5);
        QCOMPARE(genome->getCoords(), GC_Interval(1, 100));
        QVERIFY(scene.isModified());

        // The left handle moves the genome and stretches it from the left.
        left->setPos(30, 0);
        QCOMPARE(genome->x(), 30.0);
        QCOMPARE(genome->getPixPerNuc(), 1.2);
        QCOMPARE(left->pos(), QPointF(0, 0));
        QCOMPARE(right->pos(), QPointF(120, 0));

        genome->setSelected(false);
        QVERIFY(!genome->getLeftHandle() && !genome->getRightHandle());
    }

    void handlesDraggedOntoEachOtherKeepAScale()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 100);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setSelected(true);
        GC_GenomeLengthControlPoint *right = genome->getRightHandle();
        right->setPos(-40, 0); // stops at the left handle: width 0
        QCOMPARE(genome->getPixPerNuc(), 1.0);
        QCOMPARE(right->pos(), QPointF(100, 0));
        genome->getLeftHandle()->setPos(500, 0);
        QCOMPARE(genome->getPixPerNuc(), 1.0);
        QCOMPARE(genome->x(), 0.0);
        QVERIFY(genome->getRuler()->tickPeriod() == 100);
        // Nor do they stretch it past the panel's largest scale: the right
        // handle goes back to the genome's end.
        for (double x : {1e9, 2e9}) {
            right->setPos(x, 0);
            QCOMPARE(genome->getPixPerNuc(), 1e6);
            QCOMPARE(right->pos(), QPointF(1e8, 0));
        }
    }

    void limitControlPointX()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 100);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        QCOMPARE(genome->limitControlPointX(nullptr, 50), 0.0);
        genome->setSelected(true);
        QCOMPARE(genome->limitControlPointX(genome->getLeftHandle(), 150), 100.0);
        QCOMPARE(genome->limitControlPointX(genome->getLeftHandle(), -10), -10.0);
        QCOMPARE(genome->limitControlPointX(genome->getRightHandle(), -10), 0.0);
        QCOMPARE(genome->limitControlPointX(nullptr, 50), 0.0);
    }

    void zoomByKey()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 400, 300);
        GC_Genome *genome = makeGenome(1, 1000);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setPos(0, 0);
        view->centerOn(200, 0);
        QCoreApplication::processEvents();
        // The visible part of the genome runs from the view's left edge to 400.
        const double left = view->mapToScene(QPoint(0, 0)).x();
        const double centreX = (std::max(left, 0.0) + std::min(left + 400, 1000.0)) / 2.0;
        const int centreNuc = int(genome->xToNuc(genome->mapFromScene(centreX, 0).x()));
        const double centreBefore = genome->mapToScene(genome->nucToX(centreNuc), 0).x();

        QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+");
        scene.setFocusItem(genome);
        QCoreApplication::sendEvent(&scene, &plus);
        QCOMPARE(genome->getPixPerNuc(), 1.2);
        QVERIFY(qAbs(genome->mapToScene(genome->nucToX(centreNuc), 0).x() - centreBefore) < 1.0);
        QVERIFY(scene.isModified());

        QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, "-");
        QCoreApplication::sendEvent(&scene, &minus);
        QVERIFY(qAbs(genome->getPixPerNuc() - 1.0) < 1e-12);
        QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QCoreApplication::sendEvent(&scene, &other);
        QVERIFY(qAbs(genome->getPixPerNuc() - 1.0) < 1e-12);
    }

    void zoomKeepsTheNucleotideUnderThePoint()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 10000, 0.1, -1);
        scene.addItem(genome);
        genome->setPos(50, 0);
        const QPointF point(321.0, 0.0);
        const int n = int(genome->xToNuc(genome->mapFromScene(point).x()));
        for (int i = 0; i < 5; ++i)
            genome->zoomIn(point);
        QVERIFY(qAbs(genome->mapToScene(genome->nucToX(n), 0).x() - point.x()) < 1e-6);
        for (int i = 0; i < 5; ++i)
            genome->zoomOut(point);
        QVERIFY(qAbs(genome->getPixPerNuc() - 0.1) < 1e-12);
    }

    void visiblePart()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 1000);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        // Without a view the whole genome counts as visible.
        QCOMPARE(genome->getVisibleLeftX(), 0.0);
        QCOMPARE(genome->getVisibleRightX(), 1000.0);
        auto view = makeView(scene, 400, 300);
        scene.setSceneRect(-100, -150, 2000, 300);
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->minimum());
        const double left = view->mapToScene(QPoint(0, 0)).x();
        QCOMPARE(left, -100.0);
        QCOMPARE(genome->getVisibleLeftX(), 0.0);
        QCOMPARE(genome->getVisibleRightX(), 300.0);
        QCOMPARE(genome->getVisibleLeftNuc(), 1);
        QCOMPARE(genome->getVisibleRightNuc(), 301);
        genome->setPos(-250, 0);
        QCOMPARE(genome->getVisibleLeftX(), 150.0);
        QCOMPARE(genome->getVisibleLeftNuc(), 151);
        genome->setOrientation(-1);
        QCOMPARE(genome->getVisibleLeftNuc(), 851);
        QCOMPARE(genome->getSceneRightX(), 750.0);
    }

    void controlPointSwitchShowsHandles()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 100);
        GC_Gene *gene = addGene(genome, 10, 20);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setSelected(true);
        gene->setSelected(true);
        QVERIFY(!genome->getLeftHandle()->isVisible());
        scene.slotViewControlPoints(true);
        QVERIFY(genome->getLeftHandle()->isVisible() && genome->getRightHandle()->isVisible());
        QVERIFY(gene->getStartHandle()->isVisible());
        scene.slotViewControlPoints(false);
        QVERIFY(!genome->getRightHandle()->isVisible());
        QVERIFY(!gene->getEndHandle()->isVisible());
    }

    void arrangeChildren()
    {
        std::unique_ptr<GC_Genome> genome(makeGenome(1, 1000));
        GC_Gene *a = addGene(genome.get(), 1, 100);
        GC_Gene *b = addGene(genome.get(), 200, 300);
        genome->arrangeChildren(0);
        QCOMPARE(a->y(), -12.0);
        QCOMPARE(b->y(), -12.0);
        QCOMPARE(genome->getRuler()->y(), -21.5);
        QCOMPARE(genome->getGCcontentBar()->y(), -21.5);
        QCOMPARE(genome->getRuler()->getOrientation(), 0);
        QCOMPARE(genome->getGCcontentBar()->placement(), 0);
        QVERIFY(genome->getNameLabel()->y() < -21.5);

        genome->arrangeChildren(1);
        QCOMPARE(genome->getPlacement(), 1);
        QCOMPARE(a->y(), 12.0);
        QCOMPARE(genome->getRuler()->y(), 21.5);
        QCOMPARE(genome->getRuler()->getOrientation(), 2);
        QCOMPARE(genome->getRuler()->getTextPlacement(), 1);
        QCOMPARE(genome->getGCcontentBar()->placement(), 2);
        QVERIFY(genome->getNameLabel()->y() > 21.5);

        std::unique_ptr<GC_Genome> single(makeGenome(1, 1000));
        GC_Gene *only = addGene(single.get(), 1, 100);
        only->setY(7.0);
        single->arrangeChildren(0);
        QCOMPARE(only->y(), 7.0);
        QCOMPARE(single->getRuler()->y(), -5.5);
    }

    void reverseAndOrientation()
    {
        GC_Genome genome;
        genome.setOrientation(5);
        genome.reverse();
        QCOMPARE(genome.getOrientation(), 1);
        genome.reverse();
        QCOMPARE(genome.getOrientation(), -1);
    }

    void labelKeepsItsPlaceOverZooms()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 1000);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setTextX(0.25);
        QCOMPARE(genome->getNameLabel()->x(), 250.0);
        // The user drags the label; the genome records where it went.
        genome->getNameLabel()->setPos(400.0, -30.0);
        QCOMPARE(genome->getTextX(), 0.4);
        for (int i = 0; i < 20; ++i)
            genome->zoomIn(QPointF(123, 0));
        for (int i = 0; i < 20; ++i)
            genome->zoomOut(QPointF(123, 0));
        QVERIFY(qAbs(genome->getTextX() - 0.4) < 1e-9);
        QVERIFY(qAbs(genome->getNameLabel()->x() - 0.4 * genome->getArrowEndX()) < 1e-6);
        QCOMPARE(genome->getTextY(), -30.0);

        // Reversed, textX counts from the right end.
        genome->setOrientation(-1);
        QVERIFY(qAbs(genome->getNameLabel()->x() - 0.6 * genome->getArrowEndX()) < 1e-6);
        genome->getNameLabel()->setPos(0.9 * genome->getArrowEndX(), -30.0);
        QVERIFY(qAbs(genome->getTextX() - 0.1) < 1e-9);
        genome->setPixPerNuc(genome->getPixPerNuc() * 3);
        QVERIFY(qAbs(genome->getNameLabel()->x() - 0.9 * genome->getArrowEndX()) < 1e-6);
        QVERIFY(qAbs(genome->getTextX() - 0.1) < 1e-9);
    }

    void nameAndLabelForwarders()
    {
        GC_Genome genome;
        genome.setName("phage T7");
        QCOMPARE(genome.getName(), QString("phage T7"));
        QCOMPARE(genome.toolTip(), QString("phage T7"));
        genome.setTextAngle(30.0);
        QCOMPARE(genome.getTextAngle(), 30.0);
        genome.setTextPositionFlag(2);
        QCOMPARE(genome.getTextPositionFlag(), 2);
        genome.setTextColor(Qt::darkRed);
        QCOMPARE(genome.getTextColor(), QColor(Qt::darkRed));
        QFont font("Serif", 17);
        genome.setTextFontFromString(font.toString());
        QCOMPARE(genome.getTextFont().pointSize(), 17);
        genome.setTextY(12.0);
        QCOMPARE(genome.getTextY(), 12.0);
    }

    void matchingsListIsASet()
    {
        // Register and unregister in O(1); a repeat registers once.
        GC_Genome genome;
        QList<GC_GenomeMatching *> all;
        for (int i = 0; i < 1000; ++i) {
            auto *m = new GC_GenomeMatching;
            genome.addMatching(m);
            all.append(m);
        }
        genome.addMatching(all[5]);
        QCOMPARE(genome.countMatchings(), 1000);
        for (int i = 0; i < 1000; i += 2)
            genome.removeMatching(all[i]);
        genome.removeMatching(all[0]);
        genome.removeMatching(nullptr);
        QCOMPARE(genome.countMatchings(), 500);
        QSet<GC_GenomeMatching *> left(genome.getMatchings().cbegin(), genome.getMatchings().cend());
        for (int i = 0; i < 1000; ++i) {
            QCOMPARE(left.contains(all[i]), i % 2 == 1);
            QCOMPARE(genome.hasMatching(all[i]), i % 2 == 1);
        }
        qDeleteAll(all);
    }

    void genesAndAnotationsLists()
    {
        std::unique_ptr<GC_Genome> genome(makeGenome(1, 1000));
        GC_Gene *gene = addGene(genome.get(), 1, 10);
        QCOMPARE(gene->parentItem(), genome.get());
        QCOMPARE(genome->countGenes(), 1);
        genome->removeGene(nullptr);
        genome->removeGene(gene);
        QCOMPARE(genome->countGenes(), 0);
        auto *anotation = new GC_Anotation;
        genome->addAnotation(anotation);
        QCOMPARE(anotation->parentItem(), genome.get());
        genome->removeAnotation(anotation);
        QVERIFY(genome->getAnotations().isEmpty());
    }

    void showSwitchesReachTheChildren()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(1, 1000);
        GC_Gene *gene = addGene(genome, 1, 100);
        GC_Genome *other = makeGenome(1, 1000);
        scene.insertTopGenome(genome);
        scene.insertLowGenome(other);
        scene.addItemsToScene();
        scene.addMatching(genome, other, 1, 100, 1, 100, 90, 50);
        GC_GenomeMatching *matching = scene.matchings().first();
        QVERIFY(gene->isVisible());
        QVERIFY(matching->isVisible());
        genome->setShowGenes(false);
        QVERIFY(!gene->isVisible());
        genome->setShowGenes(true);
        scene.slotViewGenes(false);
        QVERIFY(!gene->isVisible());
        scene.slotViewGenes(true);

        genome->setShowMatchings(false);
        QVERIFY(!matching->isVisible());
        genome->setShowMatchings(true);
        QVERIFY(matching->isVisible());
        other->setVisibleGenome(false);
        QVERIFY(!matching->isVisible());
        other->setVisibleGenome(true);
        QVERIFY(matching->isVisible());

        QVERIFY(genome->getRuler()->isVisible());
        genome->setShowRuler(false);
        QVERIFY(!genome->getRuler()->isVisible());
        QVERIFY(!genome->getGCcontentBar()->isVisible());
        genome->setShowGCcontent(true);
        QVERIFY(genome->getGCcontentBar()->isVisible());
        QVERIFY(!genome->getCogHomologies()->isVisible());
        genome->setShowCogHomologies(true);
        QVERIFY(genome->getCogHomologies()->isVisible());
        scene.slotViewCogHomologies(false);
        QVERIFY(!genome->getCogHomologies()->isVisible());
        QTest::ignoreMessage(QtDebugMsg, "genome:setShowrRNAHomologies: true");
        genome->setShowrRNAHomologies(true);
        QVERIFY(genome->getrRNAHomologies()->isVisible());
        QVERIFY(genome->getNameLabel()->isVisible());
        genome->setShowText(false);
        QVERIFY(!genome->getNameLabel()->isVisible());
    }

    void movingAGenomeMovesItsBands()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1, 1000);
        GC_Genome *low = makeGenome(1, 1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        low->setPos(0, 300);
        scene.addMatching(top, low, 101, 200, 101, 200, 100, 50);
        GC_GenomeMatching *matching = scene.matchings().first();
        QCOMPARE(matching->boundingRect().left(), 100.0);
        top->setPos(500, 0);
        QCOMPARE(matching->polygon().first().x(), 600.0);
        QCOMPARE(matching->boundingRect().left(), 100.0 + 0.0);
        QCOMPARE(matching->boundingRect().right(), 700.0);
        top->setPixPerNuc(2.0);
        QCOMPARE(matching->boundingRect().right(), 900.0);
        top->setArrowStyle(0);
        QCOMPARE(matching->polygon().first().y(), 2.5);
    }

    void rendersTwoRows()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1, 1000);
        GC_Genome *low = makeGenome(1, 1000);
        top->setHeightBig(20);
        top->setHeightSmall(20);
        low->setHeightBig(20);
        low->setHeightSmall(20);
        GC_Gene *gene = addGene(top, 401, 600);
        gene->setFillColor(Qt::red);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        top->setShowRuler(false);
        low->setShowRuler(false);
        top->setShowText(false);
        low->setShowText(false);
        low->setPos(0, 300);
        gene->setY(-40);
        QImage image(1000, 400, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, 1000, 400), QRectF(0, -50, 1000, 400));
        }
        const QColor blue(24, 116, 205);
        QCOMPARE(image.pixelColor(500, 50), blue);  // top arrow on y 0
        QCOMPARE(image.pixelColor(500, 350), blue); // low arrow on y 300
        QCOMPARE(image.pixelColor(500, 10), QColor(Qt::red)); // the gene above it
        QCOMPARE(image.pixelColor(300, 10), QColor(Qt::white));
        QCOMPARE(image.pixelColor(500, 200), QColor(Qt::white));
    }
};

KESTAL_TEST_MAIN(TestGenome)
#include "tst_genome.moc"
