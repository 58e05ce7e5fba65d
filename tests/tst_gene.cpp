#include "kestal_test.h"

#include "gc_gene.h"
#include "gc_genecontrolpoint.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_style.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {

struct Fixture
{
    GC_GenomeScene scene;
    GC_Genome *genome = nullptr;
    GC_Gene *gene = nullptr;

    Fixture(int orientation, int from, int to, double pixPerNuc = 1.0)
    {
        genome = new GC_Genome;
        genome->setCoords(GC_Interval(1, 1000));
        genome->setPixPerNuc(pixPerNuc);
        genome->setOrientation(orientation);
        gene = new GC_Gene;
        gene->setFromTo(from, to);
        genome->addGene(gene);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
    }
};

} // namespace

// Genes: interval and orientation, geometry against the genome, dragging,
// their end handles and their canvas rows.
class TestGene : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        GC_Gene gene;
        QCOMPARE(gene.type(), int(ITEMTYPE_GENE));
        QCOMPARE(gene.getId(), -1);
        QCOMPARE(gene.getCoords(), GC_Interval(1, 1));
        QCOMPARE(gene.getOrientation(), 1);
        QVERIFY(gene.getShowText());
        QCOMPARE(gene.getHeightBig(), 13.0);
        QCOMPARE(gene.getHeightSmall(), 10.0);
        QCOMPARE(gene.getHeadLength(), 8.0);
        QCOMPARE(gene.getFillColor(), QColor(205, 127, 50));
        QCOMPARE(gene.getLineColor(), QColor(Qt::black));
        QCOMPARE(gene.getArrowStyle(), 1);
        // Without a genome there is nothing to map against.
        QCOMPARE(gene.getArrowStartX(), 0.0);
        QCOMPARE(gene.getArrowEndX(), 0.0);
        QVERIFY(!gene.getGenome());
    }

    void fromToAndOrientation()
    {
        GC_Gene gene;
        gene.setFromTo(500, 100);
        QCOMPARE(gene.getOrientation(), -1);
        QCOMPARE(gene.getCoords(), GC_Interval(100, 500));
        QVERIFY(gene.isReverse());
        gene.setFromTo(100, 500);
        QCOMPARE(gene.getOrientation(), 1);
        QCOMPARE(gene.getCoords(), GC_Interval(100, 500));
        gene.setOrientation(0);
        gene.invertOrientation();
        QCOMPARE(gene.getOrientation(), -1);
        gene.invertOrientation();
        QCOMPARE(gene.getOrientation(), 1);
        gene.setName("dnaA");
        QCOMPARE(gene.toolTip(), QString("dnaA"));
    }

    void extentFollowsTheGenome()
    {
        Fixture f(1, 101, 200, 2.0);
        QCOMPARE(f.gene->boundingRect(), QRectF(200, -6.5, 200, 13));
        f.genome->setOrientation(-1);
        // Reversed genome: the gene's start edge is now right of its end.
        QCOMPARE(f.gene->getArrowStartX(), f.genome->nucStartX(101));
        QCOMPARE(f.gene->getArrowStartX(), 1800.0);
        QCOMPARE(f.gene->boundingRect(), QRectF(1600, -6.5, 200, 13));
        f.genome->setPixPerNuc(1.0);
        QCOMPARE(f.gene->boundingRect(), QRectF(800, -6.5, 100, 13));
        f.genome->setCoords(GC_Interval(51, 1000));
        QCOMPARE(f.gene->boundingRect(), QRectF(800, -6.5, 100, 13));
        f.genome->setOrientation(1);
        QCOMPARE(f.gene->boundingRect(), QRectF(50, -6.5, 100, 13));
    }

    void dragsVerticallyOnly()
    {
        Fixture f(1, 101, 200);
        f.gene->setPos(250, 30);
        QCOMPARE(f.gene->pos(), QPointF(0, 30));
    }

    void handlesLiveWhileSelected()
    {
        Fixture f(1, 101, 200);
        QVERIFY(!f.gene->getStartHandle());
        f.gene->setSelected(true);
        GC_GeneControlPoint *start = f.gene->getStartHandle();
        GC_GeneControlPoint *end = f.gene->getEndHandle();
        QVERIFY(start && end);
        QCOMPARE(start->getGene(), f.gene);
        QCOMPARE(start->pos(), QPointF(100, 0));
        QCOMPARE(end->pos(), QPointF(199, 0));
        QCOMPARE(start->shapeType(), 0);
        QCOMPARE(end->shapeType(), 1);
        QVERIFY(!start->isVisible());
        f.scene.slotViewControlPoints(true);
        QVERIFY(start->isVisible() && end->isVisible());
        // Still selected: no second pair.
        f.gene->setSelected(true);
        QCOMPARE(f.gene->getStartHandle(), start);
        QCOMPARE(f.gene->childItems().size(), 2);
        f.gene->setSelected(false);
        QVERIFY(!f.gene->getStartHandle() && !f.gene->getEndHandle());
        QVERIFY(f.gene->childItems().isEmpty());
    }

    void draggingTheStartHandle()
    {
        Fixture f(1, 101, 200);
        f.gene->setSelected(true);
        GC_GeneControlPoint *start = f.gene->getStartHandle();
        start->setPos(150, 9);
        QCOMPARE(start->y(), 0.0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(151, 200));
        // It stops at the end handle: the start never passes the end.
        start->setPos(500, 0);
        QCOMPARE(start->x(), 199.0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(200, 200));
        QVERIFY(f.scene.isModified());
        // Nor does it pass nucleotide 1: no range starts below it.
        start->setPos(-300.7, 0);
        QCOMPARE(start->x(), 0.0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(1, 200));
    }

    void startHandleLeftInPlaceKeepsTheInterval()
    {
        // Dragged away and back to where it was placed, the start handle
        // gives back the same interval (flooring lost one each time).
        for (int orientation : {1, -1}) {
            Fixture f(orientation, 101, 200, 3.0);
            f.gene->setSelected(true);
            GC_GeneControlPoint *start = f.gene->getStartHandle();
            const double placed = start->x();
            start->setPos(placed + orientation * 30.0, 0);
            QCOMPARE(f.gene->getCoords(), GC_Interval(111, 200));
            start->setPos(placed, 0);
            QCOMPARE(f.gene->getCoords(), GC_Interval(101, 200));
            for (int i = 0; i < 5; ++i) {
                start->setPos(start->x() + 0.4 * orientation, 0);
                start->setPos(start->x() - 0.4 * orientation, 0);
            }
            QCOMPARE(f.gene->getCoords(), GC_Interval(101, 200));
        }
    }

    void draggingTheEndHandle()
    {
        Fixture f(1, 101, 200);
        f.gene->setSelected(true);
        GC_GeneControlPoint *end = f.gene->getEndHandle();
        end->setPos(260.3, 0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(101, 261));
        end->setPos(0, 0);
        QCOMPARE(end->x(), 100.0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(101, 101));
        QCOMPARE(f.gene->getOrientation(), 1);
        // On a genome drawn at the smallest scale a short drag passes every
        // nucleotide: the end stops where a stored range may reach.
        f.genome->setPixPerNuc(1e-10);
        end->setPos(1000.0, 0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(101, 1000000000));
    }

    void handlesOnAReverseGenome()
    {
        Fixture f(-1, 101, 200);
        f.gene->setSelected(true);
        GC_GeneControlPoint *start = f.gene->getStartHandle();
        GC_GeneControlPoint *end = f.gene->getEndHandle();
        QVERIFY(start->x() > end->x());
        QCOMPARE(start->shapeType(), 1);
        QCOMPARE(end->shapeType(), 0);
        start->setPos(start->x() + 50, 0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(51, 200));
        start->setPos(end->x() - 80, 0);
        QCOMPARE(start->x(), end->x());
        QCOMPARE(f.gene->getCoords(), GC_Interval(200, 200));
        // Towards nucleotide 1 it stops there.
        start->setPos(1500, 0);
        QCOMPARE(start->x(), 1000.0);
        QCOMPARE(f.gene->getCoords(), GC_Interval(1, 200));
    }

    void copyKeepsNotes()
    {
        GC_Gene gene;
        gene.setId(12);
        gene.setName("recA");
        gene.setNote("a note");
        gene.setLocusTag("b2699");
        gene.setMetadata("/product=\"RecA\"");
        gene.setFromTo(900, 10);
        gene.setShowText(false);
        gene.setPos(0, 17);
        gene.setFillColor(Qt::cyan);
        GC_Gene copy(gene);
        QCOMPARE(copy.getId(), 12);
        QCOMPARE(copy.getName(), QString("recA"));
        QCOMPARE(copy.getCoords(), GC_Interval(10, 900));
        QCOMPARE(copy.getOrientation(), -1);
        QVERIFY(!copy.getShowText());
        QCOMPARE(copy.pos(), QPointF(0, 17));
        QCOMPARE(copy.getFillColor(), QColor(Qt::cyan));
        // A duplicated genome's genes keep what the user can read about them.
        QCOMPARE(copy.getNote(), QString("a note"));
        QCOMPARE(copy.getLocusTag(), QString("b2699"));
        QCOMPARE(copy.getMetadata(), QString("/product=\"RecA\""));
    }

    void applyStyle()
    {
        GC_Gene gene;
        GC_Style style;
        style.applyGeneHeightBig = true;
        style.geneHeightBig = 20.0;
        style.geneFillColor = Qt::green; // flag off: not applied
        gene.applyStyle(style, false);
        QCOMPARE(gene.getHeightBig(), 20.0);
        QCOMPARE(gene.getFillColor(), QColor(205, 127, 50));
        style.geneY = 4.0;
        style.geneOrientation = -1;
        style.geneHeightSmall = 3.0;
        style.geneHeadLength = 1.0;
        style.geneLineColor = Qt::blue;
        style.geneArrowStyle = 0;
        gene.applyStyle(style, true);
        QCOMPARE(gene.y(), 4.0);
        QCOMPARE(gene.getOrientation(), -1);
        QCOMPARE(gene.getHeightSmall(), 3.0);
        QCOMPARE(gene.getFillColor(), QColor(Qt::green));
        QCOMPARE(gene.getArrowStyle(), 0);
    }

    void canvasRowsRoundTrip()
    {
        QTemporaryDir dir;
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "genes");
        db.setDatabaseName(dir.filePath("canvas.kcv"));
        QVERIFY(db.open());
        {
            QSqlQuery query(db);
            QVERIFY(query.exec(GC_Gene::sqlCreateTable()));
            GC_Genome genome;
            auto *gene = new GC_Gene;
            gene->setId(4);
            gene->setName("gene 'with' quotes");
            gene->setFromTo(700, 300);
            gene->setY(-12.5);
            gene->setShowText(false);
            gene->setHeightBig(9);
            gene->setHeightSmall(6);
            gene->setHeadLength(2);
            gene->setLineColor(QColor("#102030"));
            gene->setFillColor(QColor("#a0b0c0"));
            gene->setArrowStyle(0);
            gene->setNote("note");
            gene->setLocusTag("tag");
            gene->setMetadata("meta");
            genome.addGene(gene);
            gene->saveItem(query);
            GC_Gene orphan; // no genome: nothing written
            orphan.saveItem(query);

            QSqlQuery select(db);
            QVERIFY(select.prepare(GC_Gene::sqlSelect()));
            select.addBindValue(genome.getId());
            QVERIFY(select.exec());
            QVERIFY(select.next());
            GC_Gene read;
            read.loadItem(select);
            QVERIFY(!select.next());
            QCOMPARE(read.getId(), 4);
            QCOMPARE(read.getName(), QString("gene 'with' quotes"));
            QCOMPARE(read.getCoords(), GC_Interval(300, 700));
            QCOMPARE(read.getOrientation(), -1);
            QCOMPARE(read.y(), -12.5);
            QVERIFY(!read.getShowText());
            QCOMPARE(read.getHeightBig(), 9.0);
            QCOMPARE(read.getHeightSmall(), 6.0);
            QCOMPARE(read.getHeadLength(), 2.0);
            QCOMPARE(read.getLineColor(), QColor("#102030"));
            QCOMPARE(read.getFillColor(), QColor("#a0b0c0"));
            QCOMPARE(read.getArrowStyle(), 0);
            QCOMPARE(read.getNote(), QString("note"));
            QCOMPARE(read.getLocusTag(), QString("tag"));
            QCOMPARE(read.getMetadata(), QString("meta"));

            // Older files store booleans as words.
            QVERIFY(query.exec("UPDATE genes SET showText = 'true'"));
            QVERIFY(select.exec() && select.next());
            read.loadItem(select);
            QVERIFY(read.getShowText());
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("genes");
    }

    void failedInsertIsReportedAndSkipped()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "nogenes");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        {
            QSqlQuery query(db);
            GC_Genome genome;
            auto *gene = new GC_Gene;
            genome.addGene(gene);
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^GC_Gene::saveItem::Fail "));
            gene->saveItem(query); // no genes table
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("nogenes");
    }
};

KESTAL_TEST_MAIN(TestGene)
#include "tst_gene.moc"
