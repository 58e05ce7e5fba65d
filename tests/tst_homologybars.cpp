#include "kestal_test.h"
#include "reference_database_fixture.h"
#include "scene_fixture.h"

#include "gc_coggroupcolors.h"
#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_positionindex.h"
#include "gc_referencedatabases.h"
#include "gc_rfamhomologies.h"
#include "gc_rfammatching.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnamatching.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <memory>
#include <utility>

using SceneFixture::showView;

namespace {

GC_Genome *makeGenome(GC_GenomeScene &scene, int from, int to, int orientation = 1)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(from, to));
    genome->setPixPerNuc(1.0);
    genome->setOrientation(orientation);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    return genome;
}

// The scene x of a nucleotide's centre: what the pointer is over.
double sceneX(const GC_Genome *genome, int n)
{
    return genome->scenePos().x() + genome->nucToX(n);
}

// The bar's strip of the scene (genome x 0 to width), one pixel per unit.
QImage renderBar(GC_GenomeScene &scene, const QGraphicsItem *bar, int width)
{
    const QPointF origin = bar->scenePos();
    const int height = int(bar->boundingRect().height());
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, width, height), QRectF(origin.x(), origin.y() - 0.5, width, height));
    return image;
}

// The colour in the middle of the box drawn over nucleotide n.
QColor boxColor(const QImage &image, const GC_Genome *genome, int n, double barHeight)
{
    return image.pixelColor(int(genome->nucToX(n)), int(barHeight / 2));
}

int countColor(const QImage &image, int y, const QColor &color)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, y) == color;
    return count;
}

// Positions of an index that hold a given value.
QList<int> positionsWith(const GC_PositionIndex &index, int value)
{
    QList<int> positions;
    index.forEachEntry([&](int position, int key) {
        if (key == value)
            positions.append(position);
    });
    return positions;
}

const QColor cogBlue(0, 0, 255);

} // namespace

// The three homology bars: where hits land, which hit answers the pointer,
// what a stored hit needs to be accepted, how hits are drawn, and the hover
// texts, against the stand-in reference collections.
class TestHomologyBars : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        fixture = std::make_unique<ReferenceDatabaseFixture>();
        QVERIFY2(fixture->build(), qPrintable(fixture->errorString()));
        QVERIFY2(fixture->open(), qPrintable(fixture->errorString()));
        GC_CogHomologies::loadGroupColors();
    }
    void cleanupTestCase() { fixture.reset(); }

    // --- the position index ----------------------------------------------
    void indexGrowsAroundItsRange()
    {
        GC_PositionIndex index;
        QVERIFY(index.isEmpty());
        QVERIFY(index.addZone(GC_Interval(1, 100), 40, 60, 0));
        QCOMPARE(index.size(), qint64(100));
        QCOMPARE(index.value(39), -1);
        QCOMPARE(index.value(40), 0);
        QCOMPARE(index.value(60), 0);
        QVERIFY(index.contains(1) && index.contains(100) && !index.contains(101) && !index.contains(0));

        // Past either end: entries for the hit only, none for the gap.
        QVERIFY(index.addZone(GC_Interval(1, 100), 5000, 5009, 1));
        QVERIFY(index.addZone(GC_Interval(1, 100), -30, -21, 2));
        QCOMPARE(index.size(), qint64(120));
        QVERIFY(!index.contains(101) && !index.contains(4999) && !index.contains(-20));
        QCOMPARE(index.value(4999), -1);
        QCOMPARE(index.value(5009), 1);
        QCOMPARE(index.value(-30), 2);
        QCOMPARE(positionsWith(index, 1).size(), 10);
        // A copy keeps its answers when the original changes.
        const GC_PositionIndex copy = index;
        QVERIFY(index.fill(40, 60, 3));
        QCOMPARE(copy.value(50), 0);
        QCOMPARE(index.value(50), 3);
        QCOMPARE(index.size(), qint64(120));
    }

    void indexRefusesAbsurdSpans()
    {
        GC_PositionIndex index;
        QVERIFY(index.addZone(GC_Interval(1, 1000), 10, 20, 0));
        // A corrupt row two thousand million positions away must not take
        // all memory: refused, and nothing changes.
        QVERIFY(!index.addZone(GC_Interval(1, 1000), 2000000000, 2000000010, 1));
        QCOMPARE(index.size(), qint64(1000));
        QCOMPARE(index.value(2000000005), -1);
        QVERIFY(!GC_PositionIndex().addZone(GC_Interval(1, 10), -2000000000, 10, 0));
    }

    void hoverZonesArePadded()
    {
        using Zone = std::pair<int, int>;
        QCOMPARE(GC_PositionIndex::hoverZone(5000, 5000, 200), Zone(4900, 5100));
        QCOMPARE(GC_PositionIndex::hoverZone(5000, 5000, 100), Zone(4950, 5050));
        QCOMPARE(GC_PositionIndex::hoverZone(1000, 1199, 200), Zone(999, 1200));
        QCOMPARE(GC_PositionIndex::hoverZone(1000, 1200, 200), Zone(1000, 1200));
        QCOMPARE(GC_PositionIndex::hoverZone(1000, 1001, 200), Zone(900, 1101));
    }

    // --- COG bar: placement and hovering ---------------------------------
    void cogHitIsStoredInOrderAndIndexed()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_CogHomologies *bar = genome->getCogHomologies();
        QVERIFY(bar->addCogMatching(900, 100, 1, "COG0001", "H", 2, 1e-30, 80.0f));
        QCOMPARE(genome->countCogMatchings(), 1);
        const GC_CogMatching *hit = bar->matchings().value(0);
        QCOMPARE(hit->getStart(), 100);
        QCOMPARE(hit->getEnd(), 900);
        QCOMPARE(hit->getGenomeId(), genome->getId());
        QCOMPARE(hit->getEvalue(), 1e-30);

        // The whole range gets an entry, the hit its key on both ends.
        const GC_PositionIndex &index = bar->positionMap();
        QCOMPARE(index.size(), qint64(1000));
        QCOMPARE(index.value(99), -1);
        QCOMPARE(index.value(100), 0);
        QCOMPARE(index.value(900), 0);
        QCOMPARE(index.value(901), -1);
        QCOMPARE(bar->matchingAt(sceneX(genome, 100)), GC_Interval(100, 900));
        QCOMPARE(bar->matchingAt(sceneX(genome, 99)), GC_Interval(0, 0));
        QVERIFY(bar->matchingToolTip(sceneX(genome, 901)).isEmpty());
    }

    void laterCogHitOwnsSharedPositions()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setPos(37, 11);
        GC_CogHomologies *bar = genome->getCogHomologies();
        QVERIFY(bar->addCogMatching(100, 500, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        QVERIFY(bar->addCogMatching(400, 800, 3, "COG0012", "J", 1, 1e-10, 50.0f));
        QCOMPARE(bar->matchingAt(sceneX(genome, 450)), GC_Interval(400, 800));
        QCOMPARE(bar->matchingAt(sceneX(genome, 399)), GC_Interval(100, 500));
        QVERIFY(bar->matchingToolTip(sceneX(genome, 450)).contains("COG0012"));
        QVERIFY(bar->matchingToolTip(sceneX(genome, 300)).contains("COG0001"));
        QCOMPARE(bar->matchings().keys(), QList<int>({0, 1}));
    }

    void cogHitsOutsideTheRangeAndAfterClearing()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_CogHomologies *bar = genome->getCogHomologies();
        // An empty bar answers nothing and gains no entry from being asked.
        QCOMPARE(bar->matchingAt(sceneX(genome, 500)), GC_Interval(0, 0));
        QVERIFY(bar->matchingToolTip(sceneX(genome, 500)).isEmpty());
        QVERIFY(bar->positionMap().isEmpty());

        QVERIFY(bar->addCogMatching(1500, 1600, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        QCOMPARE(bar->positionMap().size(), qint64(1000 + 101));
        QVERIFY(!bar->positionMap().contains(1200));
        QCOMPARE(bar->matchingAt(sceneX(genome, 1550)), GC_Interval(1500, 1600));
        QCOMPARE(bar->matchingAt(sceneX(genome, 1200)), GC_Interval(0, 0));
        QCOMPARE(bar->matchingAt(sceneX(genome, -5000000)), GC_Interval(0, 0));
        QCOMPARE(bar->positionMap().size(), qint64(1101));

        bar->clearMatchings();
        QCOMPARE(genome->countCogMatchings(), 0);
        QVERIFY(bar->positionMap().isEmpty());
        QCOMPARE(bar->matchingAt(sceneX(genome, 1550)), GC_Interval(0, 0));
        // Keys start again at 0, and the range is filled afresh.
        QVERIFY(bar->addCogMatching(10, 20, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        QCOMPARE(bar->matchings().keys(), QList<int>({0}));
        QCOMPARE(bar->positionMap().size(), qint64(1000));
    }

    void cogHitOnReversedGenome()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000, -1);
        GC_CogHomologies *bar = genome->getCogHomologies();
        QVERIFY(bar->addCogMatching(100, 200, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        QVERIFY(genome->nucToX(100) > genome->nucToX(200));
        QCOMPARE(bar->matchingAt(sceneX(genome, 150)), GC_Interval(100, 200));
        QCOMPARE(bar->matchingAt(sceneX(genome, 250)), GC_Interval(0, 0));
    }

    void barWithoutGenomeRefusesHits()
    {
        GC_CogHomologies cog;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("cannot be placed"));
        QVERIFY(!cog.addCogMatching(1, 10, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        QVERIFY(cog.matchings().isEmpty());
        GC_RfamHomologies rfam;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("cannot be placed"));
        QVERIFY(!rfam.addRfamMatching(1, 10, 1, "RF00001", 1e-10, 50.0f));
        QVERIFY(rfam.codeCounts().isEmpty());
        GC_rRNAHomologies rrna;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("cannot be placed"));
        QVERIFY(!rrna.addrRNAMatching(1, 10, 101, 1, 1e-10, 50.0f));
    }

    // --- COG bar: stored hits --------------------------------------------
    void storedCogHitLooksUpItsCategory()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 5000);
        GC_CogHomologies *bar = genome->getCogHomologies();
        // Protein 4's COG is listed under T, then R: the first row wins.
        QVERIFY(bar->addCogMatching(200, 100, 4, 1e-20, 90.0f));
        const GC_CogMatching *hit = bar->matchings().value(0);
        QCOMPARE(hit->getStart(), 100);
        QCOMPARE(hit->getCogCode(), QString("COG0515"));
        QCOMPARE(hit->getGroupCode(), QString("T"));
        QCOMPARE(hit->getClassId(), 3);
        QCOMPARE(hit->getIdCogProtein(), 4);
        // Without category, or with one the collection lacks: class 0.
        QVERIFY(bar->addCogMatching(1000, 1100, 6, 1e-20, 90.0f));
        QCOMPARE(bar->matchings().value(1)->getGroupCode(), QString());
        QCOMPARE(bar->matchings().value(1)->getClassId(), 0);
        QVERIFY(bar->addCogMatching(2000, 2100, 7, 1e-20, 90.0f));
        QCOMPARE(bar->matchings().value(2)->getGroupCode(), QString("X"));
        QCOMPARE(bar->matchings().value(2)->getClassId(), 0);
    }

    void storedCogHitTooLongIsRefused()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 5000);
        GC_CogHomologies *bar = genome->getCogHomologies();
        // Protein 1 has 60 amino acids: a span of 360 or more is refused.
        QTest::ignoreMessage(QtDebugMsg, "addCogMatching 2 too large: 1, 361 -> cogprotein 1");
        QVERIFY(!bar->addCogMatching(361, 1, 1, 1e-20, 90.0f));
        // The range was marked uncovered before the hit was refused.
        QCOMPARE(bar->positionMap().size(), qint64(5000));
        QCOMPARE(bar->positionMap().value(361), GC_PositionIndex::noHit);
        QVERIFY(bar->addCogMatching(1, 360, 1, 1e-20, 90.0f));
        QCOMPARE(genome->countCogMatchings(), 1);

        // A protein the collection lacks: the error, then the refusal.
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error: \"SELECT code_cog, sequence_length"));
        QTest::ignoreMessage(QtDebugMsg, "addCogMatching 2 too large: 10, 20 -> cogprotein 99");
        QVERIFY(!bar->addCogMatching(10, 20, ReferenceDatabaseFixture::missingCogProteinId, 1e-20, 90.0f));
        QCOMPARE(genome->countCogMatchings(), 1);
    }

    // --- COG bar: hover text ---------------------------------------------
    void cogToolTipAgainstTheCollection()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 5000);
        GC_CogHomologies *bar = genome->getCogHomologies();
        QVERIFY(bar->addCogMatching(101, 400, 5, 0.000123, 250.5f));
        QCOMPARE(bar->matchingToolTip(sceneX(genome, 250)),
                 QString("<html><body><table cellpadding=0 cellspacing=2 style='font: 10px sans-serif;'>"
                         "<tr><td align=right width=100px><b>COG0086: </b></td>"
                         "<td> DNA-directed RNA polymerase, beta' subunit</td></tr>"
                         "<tr><td align=right width=100px><b>Group: </b></td><td> Transcription (K)</td></tr>"
                         "<tr><td align=right width=100px><b>Class: </b></td>"
                         "<td> Information storage and processing </td></tr>"
                         "<tr><td colspan=2 align=center>(<b>Aln: </b>299bp, <b>E-val:</b> 0.0001, "
                         "<b>Bitscore:</b> 250.5)</td></tr></table></body></html>"));

        // Real tblastn E-values are far below a float's range: not shown as 0.
        QVERIFY(bar->addCogMatching(1000, 1100, 1, "COG0001", "H", 2, 1.27e-127, 300.0f));
        QVERIFY(bar->matchingToolTip(sceneX(genome, 1050)).contains("<b>E-val:</b> 1e-127,"));
    }

    void cogToolTipOfUnknownNames()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 5000);
        GC_CogHomologies *bar = genome->getCogHomologies();
        QVERIFY(bar->addCogMatching(100, 200, 8, "COG3002", "S", 4, 1e-5, 40.0f));
        QVERIFY(bar->addCogMatching(300, 400, 7, "COG3001", "X", 0, 1e-5, 40.0f));
        const QString noName = bar->matchingToolTip(sceneX(genome, 150));
        QVERIFY(noName.contains("<b>COG3002: </b></td><td> error</td>"));
        QVERIFY(noName.contains("<td> Function unknown (S)</td>"));
        const QString unlisted = bar->matchingToolTip(sceneX(genome, 350));
        QVERIFY(unlisted.contains("<td> error (X)</td>"));
        QVERIFY(unlisted.contains("<b>Class: </b></td><td> error </td>"));
    }

    // --- COG bar: drawing ------------------------------------------------
    void cogBoxesTakeTheirCategoryColour()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setShowCogHomologies(true);
        GC_CogHomologies *bar = genome->getCogHomologies();
        bar->setPos(0, -100);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->addCogMatching(100, 300, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        QVERIFY(bar->addCogMatching(250, 500, 3, "COG0012", "J", 1, 1e-10, 50.0f));
        QVERIFY(bar->addCogMatching(600, 700, 6, "COG3000", "", 0, 1e-10, 50.0f));

        QImage image = renderBar(scene, bar, 1000);
        const QColor h = GC_CogGroupColors::defaultColor("H");
        const QColor j = GC_CogGroupColors::defaultColor("J");
        QCOMPARE(boxColor(image, genome, 150, bar->height()), h);
        // The later hit is drawn over the earlier one.
        QCOMPARE(boxColor(image, genome, 280, bar->height()), j);
        QCOMPARE(boxColor(image, genome, 550, bar->height()), QColor(Qt::white));
        QCOMPARE(boxColor(image, genome, 800, bar->height()), QColor(Qt::white));
        QVERIFY(countColor(image, 10, h) >= 148 && countColor(image, 10, h) <= 152);

        // Hiding super-category 2 hides the H box but not its hover; a hit
        // of class 0 stays drawn.
        bar->setSuperCategoryVisible(2, false);
        QVERIFY(!bar->isSuperCategoryVisible(2));
        bar->update();
        image = renderBar(scene, bar, 1000);
        QCOMPARE(countColor(image, 10, h), 0);
        QCOMPARE(boxColor(image, genome, 280, bar->height()), j);
        QVERIFY(boxColor(image, genome, 650, bar->height()) != QColor(Qt::white));
        QCOMPARE(bar->matchingAt(sceneX(genome, 150)), GC_Interval(100, 300));
        bar->setSuperCategoryVisible(2, true);

        // A colour set on one bar reaches the other genomes' bars too.
        GC_Genome *other = makeGenome(scene, 1, 1000);
        other->setShowCogHomologies(true);
        GC_CogHomologies *otherBar = other->getCogHomologies();
        otherBar->setPos(0, -200);
        QVERIFY(otherBar->addCogMatching(100, 300, 1, "COG0001", "H", 2, 1e-10, 50.0f));
        bar->setGroupColor("H", cogBlue);
        QCOMPARE(bar->groupColor("H"), cogBlue);
        otherBar->update();
        QCOMPARE(boxColor(renderBar(scene, otherBar, 1000), other, 150, otherBar->height()), cogBlue);
        QCOMPARE(boxColor(renderBar(scene, bar, 1000), genome, 150, bar->height()), cogBlue);
        bar->setGroupColor("H", h);
    }

    void cogBoxOnReversedGenomeCoversItsSpan()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000, -1);
        genome->setShowCogHomologies(true);
        GC_CogHomologies *bar = genome->getCogHomologies();
        bar->setPos(0, -100);
        QVERIFY(bar->addCogMatching(100, 300, 3, "COG0012", "J", 1, 1e-10, 50.0f));
        const QImage image = renderBar(scene, bar, 1000);
        const QColor j = GC_CogGroupColors::defaultColor("J");
        QCOMPARE(boxColor(image, genome, 200, bar->height()), j);
        QCOMPARE(boxColor(image, genome, 110, bar->height()), j);
        QCOMPARE(boxColor(image, genome, 90, bar->height()), QColor(Qt::white));
        QCOMPARE(boxColor(image, genome, 310, bar->height()), QColor(Qt::white));
    }

    void superCategoriesAndHeight()
    {
        GC_CogHomologies bar;
        for (int n = 1; n <= 4; ++n)
            QVERIFY(bar.isSuperCategoryVisible(n));
        QVERIFY(!bar.isSuperCategoryVisible(0));
        QVERIFY(!bar.isSuperCategoryVisible(5));
        bar.setSuperCategoryVisible(5, true);
        QVERIFY(!bar.isSuperCategoryVisible(5));
        bar.setSuperCategoryVisible(4, false);
        QVERIFY(!bar.isSuperCategoryVisible(4));

        GC_RfamHomologies rfam;
        GC_rRNAHomologies rrna;
        QCOMPARE(bar.height(), 20.0);
        QCOMPARE(rfam.height(), 20.0);
        QCOMPARE(rrna.height(), 20.0);
        bar.setHeight(2);
        rfam.setHeight(-1);
        rrna.setHeight(4.99);
        QCOMPARE(bar.height(), 5.0);
        QCOMPARE(rfam.height(), 5.0);
        QCOMPARE(rrna.height(), 5.0);
        rrna.setHeight(33);
        QCOMPARE(rrna.height(), 33.0);
    }

    void collectionsOpenThroughTheBars()
    {
        QCOMPARE(GC_CogHomologies::database().connectionName(), QString("cog_proteins"));
        QCOMPARE(GC_RfamHomologies::database().connectionName(), QString("rfam_seqs"));
        QCOMPARE(GC_rRNAHomologies::database().connectionName(), QString("rrna_seqs"));
        QVERIFY(GC_CogHomologies::openDatabase());
        QVERIFY(GC_RfamHomologies::openDatabase());
        QVERIFY(GC_rRNAHomologies::openDatabase());
        QVERIFY(GC_RfamHomologies::database().isOpen());
        QCOMPARE(GC_RfamHomologies::getRfamName("RF00005"), QString("tRNA"));
    }

    // --- RFAM bar --------------------------------------------------------
    void rfamHoverZones()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 10000);
        GC_RfamHomologies *bar = genome->getRfamHomologies();
        QVERIFY(bar->addRfamMatching(5000, 5000, 1, "RF00001", 1e-5, 45.5f));
        QCOMPARE(positionsWith(bar->positionMap(), 0).first(), 4900);
        QCOMPARE(positionsWith(bar->positionMap(), 0).last(), 5100);
        QCOMPARE(bar->matchingAt(sceneX(genome, 4900)), GC_Interval(5000, 5000));
        QCOMPARE(bar->matchingAt(sceneX(genome, 4899)), GC_Interval(0, 0));

        // The same hit reloaded: a zone half as wide.
        bar->clearMatchings();
        QVERIFY(bar->addRfamMatching(5000, 5000, 1, 1e-5, 45.5f));
        QCOMPARE(positionsWith(bar->positionMap(), 0).first(), 4950);
        QCOMPARE(positionsWith(bar->positionMap(), 0).last(), 5050);
        QCOMPARE(bar->positionMap().size(), qint64(10000));

        bar->clearMatchings();
        QVERIFY(bar->addRfamMatching(1000, 1199, 1, "RF00001", 1e-5, 45.5f));
        QVERIFY(bar->addRfamMatching(3200, 3000, 1, "RF00001", 1e-5, 45.5f));
        QCOMPARE(positionsWith(bar->positionMap(), 0).first(), 999);
        QCOMPARE(positionsWith(bar->positionMap(), 0).last(), 1200);
        QCOMPARE(positionsWith(bar->positionMap(), 1).first(), 3000);
        QCOMPARE(positionsWith(bar->positionMap(), 1).last(), 3200);
        QCOMPARE(bar->matchings().value(1)->interval(), GC_Interval(3000, 3200));
    }

    void rfamZoneOfAHitAtTheGenomeStart()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_RfamHomologies *bar = genome->getRfamHomologies();
        QVERIFY(bar->addRfamMatching(10, 20, 1, "RF00001", 1e-5, 45.5f));
        // The zone reaches before position 1; those positions answer too.
        QCOMPARE(positionsWith(bar->positionMap(), 0).first(), -85);
        QCOMPARE(bar->matchingAt(sceneX(genome, -85)), GC_Interval(10, 20));
        QCOMPARE(bar->matchingAt(sceneX(genome, -86)), GC_Interval(0, 0));
        QCOMPARE(bar->matchingAt(sceneX(genome, 500)), GC_Interval(0, 0));
    }

    void laterRfamHitWinsAndRangeIsNotRebuilt()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_RfamHomologies *bar = genome->getRfamHomologies();
        QVERIFY(bar->addRfamMatching(800, 300, 2, "RF00005", 1e-5, 45.5f));
        QVERIFY(bar->addRfamMatching(600, 900, 4, "RF00010", 1e-5, 45.5f));
        QCOMPARE(bar->matchings().value(0)->interval(), GC_Interval(300, 800));
        QCOMPARE(bar->matchingAt(sceneX(genome, 700)), GC_Interval(600, 900));
        QVERIFY(bar->getToolTip(sceneX(genome, 700)).contains("RF00010"));
        QVERIFY(bar->getToolTip(sceneX(genome, 400)).contains("RF00005"));

        // Widening the range later adds no entries: outside every zone and
        // the first range there is no hit.
        genome->setCoords(GC_Interval(1, 3000));
        QCOMPARE(bar->matchingAt(sceneX(genome, 2000)), GC_Interval(0, 0));
        QVERIFY(bar->getToolTip(sceneX(genome, 2000)).isEmpty());
        QVERIFY(!bar->positionMap().contains(2000));
    }

    void rfamCodeCountsAndStoredHits()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 10000);
        GC_RfamHomologies *bar = genome->getRfamHomologies();
        QVERIFY(bar->addRfamMatching(100, 200, 2, "RF00005", 1e-5, 45.5f));
        QVERIFY(bar->addRfamMatching(1000, 1100, 3, 1e-5, 45.5f));
        QVERIFY(bar->addRfamMatching(2000, 2100, 1, 1e-5, 45.5f));
        QCOMPARE(bar->matchings().value(1)->getRfamCode(), QString("RF00005"));
        QCOMPARE(bar->matchings().value(1)->getRfamSeqId(), 3);
        QCOMPARE(bar->codeCounts().keys(), QStringList({"RF00001", "RF00005"}));
        QCOMPARE(bar->codeCounts().value("RF00005"), 2);
        QCOMPARE(bar->codeCounts().value("RF00001"), 1);

        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error querying RFAM db"));
        QVERIFY(!bar->addRfamMatching(3000, 3100, ReferenceDatabaseFixture::missingRfamSequenceId, 1e-5, 45.5f));
        QCOMPARE(genome->countRfamMatchings(), 3);
        QVERIFY(bar->addRfamMatching(4000, 4100, 6, 1e-5, 45.5f));
        QCOMPARE(genome->countRfamMatchings(), 4);

        bar->clearMatchings();
        QVERIFY(bar->codeCounts().isEmpty());
        QVERIFY(bar->positionMap().isEmpty());
        QCOMPARE(genome->countRfamMatchings(), 0);
    }

    void rfamToolTipAgainstTheCollection()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 10000);
        GC_RfamHomologies *bar = genome->getRfamHomologies();
        QVERIFY(bar->addRfamMatching(1000, 1199, 2, 1e-5, 45.5f));
        QCOMPARE(bar->getToolTip(sceneX(genome, 1100)),
                 QString("<b>RFAM code</b>: RF00005<br><b>RFAM name</b>: tRNA<br>"
                         "<b>Alignment length</b>: 199<br><b>E-value</b>: 1e-05<br>"
                         "<b>Bitscore</b>: 45.5<br>"));
        // A family the collection lacks: an empty name.
        QVERIFY(bar->addRfamMatching(5000, 5100, 6, 1e-5, 45.5f));
        QVERIFY(bar->getToolTip(sceneX(genome, 5050)).contains("<b>RFAM name</b>: <br>"));
    }

    void rfamFamilyLookups()
    {
        QCOMPARE(GC_RfamHomologies::getRfamName("RF00010"), QString("RNaseP_bact_a"));
        QCOMPARE(GC_RfamHomologies::getRfamName("RF09999"), QString("Error"));
        QCOMPARE(GC_RfamHomologies::getRfamName("RF00010' OR '1'='1"), QString("Error"));
        QCOMPARE(GC_RfamHomologies::getRfamInfoHtml("RF00001"),
                 QString("<table cellpadding=1 cellspacing=1 width=100%>"
                         "<tr><td align=right><b>RFAM code</b></td><td>: RF00001</td></tr>"
                         "<tr><td align=right><b>RFAM name</b></td><td>: 5S_rRNA</td></tr>"
                         "<tr><td align=right><b>RFAM description</b></td><td>: 5S ribosomal RNA</td></tr>"
                         "</table>"));
        // Empty description: two rows.
        QCOMPARE(GC_RfamHomologies::getRfamInfoHtml("RF00177").count("<tr>"), 2);
        QCOMPARE(GC_RfamHomologies::getRfamInfoHtml("RF09999"),
                 QString("<p>Error trying to get information of RFAM: RF09999</p>"));
    }

    void rfamColoursAndHiddenFamiliesInEveryBar()
    {
        GC_GenomeScene scene;
        GC_Genome *first = makeGenome(scene, 1, 1000);
        GC_Genome *second = makeGenome(scene, 1, 1000);
        GC_RfamHomologies *bars[] = {first->getRfamHomologies(), second->getRfamHomologies()};
        GC_Genome *genomes[] = {first, second};
        for (int i = 0; i < 2; ++i) {
            genomes[i]->setShowRfamHomologies(true);
            bars[i]->setPos(0, -100.0 * (i + 1));
            bars[i]->setHorizontalBorders(false);
            QVERIFY(bars[i]->addRfamMatching(100, 300, 2, "RF00005", 1e-5, 45.5f));
            QVERIFY(bars[i]->addRfamMatching(500, 600, 1, "RF00001", 1e-5, 45.5f));
        }
        auto colourAt = [&](int i, int n) {
            bars[i]->update();
            return boxColor(renderBar(scene, bars[i], 1000), genomes[i], n, bars[i]->height());
        };

        // Never coloured: black.
        QCOMPARE(GC_RfamHomologies::getColor("RF00005"), QColor(Qt::black));
        QCOMPARE(colourAt(0, 200), QColor(Qt::black));
        GC_RfamHomologies::setCodeColor("RF00005", Qt::red);
        QCOMPARE(colourAt(0, 200), QColor(Qt::red));
        QCOMPARE(colourAt(1, 200), QColor(Qt::red));
        QCOMPARE(colourAt(1, 550), QColor(Qt::black));

        GC_RfamHomologies::setCodeVisible("RF00005", false);
        QVERIFY(GC_RfamHomologies::isCodeHidden("RF00005"));
        QCOMPARE(colourAt(0, 200), QColor(Qt::white));
        QCOMPARE(colourAt(1, 200), QColor(Qt::white));
        QCOMPARE(colourAt(1, 550), QColor(Qt::black));
        // Hidden hits still answer the pointer.
        QCOMPARE(bars[1]->matchingAt(sceneX(second, 200)), GC_Interval(100, 300));
        GC_RfamHomologies::setCodeVisible("RF00005", true);
        QVERIFY(!GC_RfamHomologies::isCodeHidden("RF00005"));
        QCOMPARE(colourAt(1, 200), QColor(Qt::red));
        GC_RfamHomologies::setCodeColor("RF00005", Qt::black);
    }

    void rfamBordersOfAnEmptyBar()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setShowRfamHomologies(true);
        GC_RfamHomologies *bar = genome->getRfamHomologies();
        bar->setPos(0, -100);
        QVERIFY(bar->horizontalBorders());
        QImage image = renderBar(scene, bar, 1000);
        // Lines along the top (y 0) and bottom (y = height); nothing between.
        auto darkRows = [](const QImage &img) {
            QList<int> rows;
            for (int y = 0; y < img.height(); ++y) {
                if (img.pixelColor(500, y).lightness() < 128)
                    rows.append(y);
            }
            return rows;
        };
        const QList<int> rows = darkRows(image);
        QVERIFY2(rows.size() == 2, qPrintable(QString::number(rows.size())));
        QVERIFY(qAbs(rows.last() - rows.first() - int(bar->height())) <= 1);
        QVERIFY(bar->getToolTip(sceneX(genome, 500)).isEmpty());
        bar->setHorizontalBorders(false);
        QVERIFY(darkRows(renderBar(scene, bar, 1000)).isEmpty());
    }

    // --- rRNA bar --------------------------------------------------------
    void rrnaHoverZonesAndStoredHits()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 10000);
        GC_rRNAHomologies *bar = genome->getrRNAHomologies();
        QVERIFY(bar->addrRNAMatching(7000, 7000, 101, 1, 1e-5, 45.5f));
        QCOMPARE(positionsWith(bar->positionMap(), 0).first(), 6900);
        QCOMPARE(positionsWith(bar->positionMap(), 0).last(), 7100);

        bar->clearMatchings();
        QVERIFY(bar->addrRNAMatching(7000, 7000, 201, 1e-5, 45.5f));
        QCOMPARE(positionsWith(bar->positionMap(), 0).first(), 6950);
        QCOMPARE(positionsWith(bar->positionMap(), 0).last(), 7050);
        const GC_rRNAMatching *hit = bar->matchings().value(0);
        QCOMPARE(hit->getGroupId(), 2);
        QCOMPARE(hit->getSequenceName(), QString("Escherichia coli 16S rRNA"));
        QCOMPARE(hit->getGenomeId(), genome->getId());

        // A stored row the collection lacks is skipped; the next one loads.
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error querying RRNA db"));
        QVERIFY(!bar->addrRNAMatching(1000, 1300, ReferenceDatabaseFixture::missingRrnaSequenceId, 1e-5, 45.5f));
        QVERIFY(bar->addrRNAMatching(2000, 1500, 102, 1e-5, 45.5f));
        QCOMPARE(genome->countrRNAMatchings(), 2);
        QCOMPARE(bar->matchings().keys(), QList<int>({0, 1}));
        QCOMPARE(bar->matchingAt(sceneX(genome, 1600)), GC_Interval(1500, 2000));
        // Later hit wins where zones overlap.
        QVERIFY(bar->addrRNAMatching(1900, 2500, 202, 2, 1e-5, 45.5f));
        QCOMPARE(bar->matchingAt(sceneX(genome, 1950)), GC_Interval(1900, 2500));
    }

    void rrnaLegendAgainstTheCollection()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 10000);
        GC_rRNAHomologies *bar = genome->getrRNAHomologies();
        QVERIFY(bar->addrRNAMatching(7000, 7000, 301, 1e-5, 45.5f));
        QCOMPARE(bar->legendHtmlAt(sceneX(genome, 7040)),
                 QString("<table cellpadding=1 cellspacing=1 bgcolor=#F9F6F4 width=100%>"
                         "<tr><td align=right><b>rRNA type</b></td><td>: ITS</td></tr>"
                         "<tr><td align=right><b>Alignment length</b></td><td>: 0</td></tr>"
                         "<tr><td align=right><b>E-value</b></td><td>: 1e-05</td></tr>"
                         "<tr><td align=right><b>Bitscore</b></td><td>: 45.5</td></tr></table>"));
        QVERIFY(bar->legendHtmlAt(sceneX(genome, 7051)).isEmpty());
        QVERIFY(bar->addrRNAMatching(3000, 3500, 101, 1, 1e-5, 45.5f));
        QVERIFY(bar->legendHtmlAt(sceneX(genome, 3200))
                    .contains("<b>rRNA description</b></td><td>: Large subunit ribosomal RNA (23S/28S)"));
    }

    void rrnaBoxesAreAllBlack()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setShowrRNAHomologies(true);
        GC_rRNAHomologies *bar = genome->getrRNAHomologies();
        bar->setPos(0, -100);
        bar->setHorizontalBorders(false);
        QVERIFY(bar->addrRNAMatching(100, 300, 101, 1, 1e-5, 45.5f));
        QVERIFY(bar->addrRNAMatching(500, 700, 201, 2, 1e-5, 45.5f));
        const QImage image = renderBar(scene, bar, 1000);
        QCOMPARE(boxColor(image, genome, 200, bar->height()), QColor(Qt::black));
        QCOMPARE(boxColor(image, genome, 600, bar->height()), QColor(Qt::black));
        QCOMPARE(boxColor(image, genome, 400, bar->height()), QColor(Qt::white));
        // Whole pixels outwards from the two end centres.
        const int black = countColor(image, 10, Qt::black);
        QVERIFY2(black >= 400 && black <= 404, qPrintable(QString::number(black)));
    }

    void visibilityFollowsBothSwitches()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_rRNAHomologies *rrna = genome->getrRNAHomologies();
        GC_CogHomologies *cog = genome->getCogHomologies();
        scene.slotViewrRNAHomologies(false);
        genome->setShowrRNAHomologies(true);
        QVERIFY(!rrna->isVisible());
        scene.slotViewrRNAHomologies(true);
        QVERIFY(rrna->isVisible());
        genome->setShowrRNAHomologies(false);
        QVERIFY(!rrna->isVisible());
        genome->setShowCogHomologies(true);
        QVERIFY(cog->isVisible());
        scene.slotViewCogHomologies(false);
        QVERIFY(!cog->isVisible());
    }

    // --- what the three bars share -----------------------------------------
    // A picture of the whole canvas holds the hits the window does not show,
    // in PNG and in SVG (as shapes, not a bitmap of the bar).
    void hitsOutsideTheWindowReachAWholeCanvasPicture()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 2000);
        genome->setPos(0, 100);
        genome->setShowCogHomologies(true);
        genome->setShowRfamHomologies(true);
        genome->setShowrRNAHomologies(true);
        GC_CogHomologies *cog = genome->getCogHomologies();
        GC_RfamHomologies *rfam = genome->getRfamHomologies();
        GC_rRNAHomologies *rrna = genome->getrRNAHomologies();
        cog->setPos(0, 40);
        rfam->setPos(0, 80);
        rrna->setPos(0, 120);
        rfam->setHorizontalBorders(false);
        rrna->setHorizontalBorders(false);
        GC_RfamHomologies::setCodeColor("RF00005", Qt::red);
        for (int start : {100, 1375}) {
            QVERIFY(cog->addCogMatching(start, start + 100, 1, "COG0001", "H", 2, 1e-10, 50.0f));
            QVERIFY(rfam->addRfamMatching(start, start + 100, 2, "RF00005", 1e-5, 45.5f));
            QVERIFY(rrna->addrRNAMatching(start, start + 100, 101, 1, 1e-5, 45.5f));
        }
        scene.setSceneRect(0, 0, 2000, 300);
        // The window shows the left half.
        const auto view = showView(scene, 1000, 300);
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QCOMPARE(view->mapToScene(view->viewport()->rect()).boundingRect(),
                 QRectF(0, 0, 1000, 300));

        QString png = QDir::temp().filePath("bars.png");
        QVERIFY(scene.exportImage(png, "PNG", true, true));
        QString svg = QDir::temp().filePath("bars.svg");
        QVERIFY(scene.exportImage(svg, "SVG", true, true));
        // The picture holds the items, its corner on theirs.
        const QRectF canvas = scene.itemsBoundingRect();
        const QSize size(qRound(canvas.width()), qRound(canvas.height()));
        const QImage drawn = SceneFixture::drawnSvg(svg, size, Qt::white);

        const QList<std::pair<const GC_HomologyBar *, QColor>> bars = {
            {cog, GC_CogGroupColors::defaultColor("H")},
            {rfam, QColor(Qt::red)},
            {rrna, QColor(Qt::black)}};
        for (const QImage &image : {QImage(png), drawn}) {
            QCOMPARE(image.size(), size);
            for (const auto &[bar, colour] : bars) {
                for (int n : {150, 1425}) {
                    const QPointF at = bar->mapToScene(genome->nucToX(n), bar->height() / 2);
                    QCOMPARE(image.pixelColor((at - canvas.topLeft()).toPoint()), colour);
                }
            }
        }
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        QVERIFY(!svgFile.readAll().contains("<image"));
        GC_RfamHomologies::setCodeColor("RF00005", Qt::black);
    }

    void barsMoveOnlyUpAndDownAndSpanTheirHeight()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setPos(40, 20);
        QList<QGraphicsItem *> bars = {genome->getCogHomologies(), genome->getRfamHomologies(),
                                       genome->getrRNAHomologies()};
        const QList<int> types = {65547, 65548, 65549};
        const QStringList tips = {QStringLiteral("Cluster of Orthologous Genes (COG) homologies"),
                                  QStringLiteral("RFAM homologies"),
                                  QStringLiteral("Ribosomal RNA homologies (Silva database)")};
        for (int i = 0; i < bars.size(); ++i) {
            QGraphicsItem *bar = bars.at(i);
            QCOMPARE(bar->type(), types.at(i));
            QCOMPARE(bar->toolTip(), tips.at(i));
            QVERIFY(bar->flags().testFlag(QGraphicsItem::ItemIsMovable));
            // Drawn afresh, never as a cached bitmap.
            QCOMPARE(bar->cacheMode(), QGraphicsItem::NoCache);
            // A drag keeps the bar at x 0 of its genome.
            bar->setPos(25, -60);
            QCOMPARE(bar->pos(), QPointF(0, -60));
            // The whole arrow counts; y from -0.5 to height + 10.
            const QRectF rect = bar->boundingRect();
            QCOMPARE(rect.left(), 0.0);
            QCOMPARE(rect.right(), 1000.0);
            QCOMPARE(rect.top(), -0.5);
            QCOMPARE(rect.bottom(), 30.0);
        }
        genome->getRfamHomologies()->setHeight(2.0);
        QCOMPARE(genome->getRfamHomologies()->boundingRect().bottom(), 15.0);

        // Outside a scene a bar may be placed anywhere; without a genome it is empty.
        GC_rRNAHomologies loose;
        loose.setPos(25, 5);
        QCOMPARE(loose.pos(), QPointF(25, 5));
        QVERIFY(loose.boundingRect().isNull());
        QVERIFY(!loose.parentGenome());
        QCOMPARE(loose.matchingAt(10.0), GC_Interval(0, 0));
        QVERIFY(loose.legendHtmlAt(10.0).isEmpty());
    }

private:
    std::unique_ptr<ReferenceDatabaseFixture> fixture;
};

KESTAL_TEST_MAIN(TestHomologyBars)
#include "tst_homologybars.moc"
