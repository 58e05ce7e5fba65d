#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationtext.h"
#include "gc_coghomologies.h"
#include "gc_freetext.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genometext.h"
#include "gc_genomeview.h"
#include "gc_ruler.h"
#include "gc_style.h"
#include "menu_answerer.h"
#include "modal_answerer.h"
#include "scene_fixture.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QSignalSpy>

#include <memory>

using namespace SceneFixture;

namespace {

// Two top genomes and one low genome of 1000 nt at half a pixel per
// nucleotide; the first top genome has a gene over 101..200; two matchings
// join it to the low genome.
struct Canvas
{
    GC_GenomeScene scene;
    std::unique_ptr<GC_GenomeView> view;
    GC_Genome *top = nullptr;
    GC_Genome *top2 = nullptr;
    GC_Genome *low = nullptr;
    GC_Gene *gene = nullptr;
    GC_GenomeMatching *matching = nullptr;
    GC_GenomeMatching *matching2 = nullptr;

    Canvas()
    {
        top = genomeWithSequence(1000, "alpha", 1);
        top2 = genomeWithSequence(1000, "beta", 3);
        low = genomeWithSequence(1000, "gamma", 2);
        gene = addGene(top, 101, 200);
        for (GC_Genome *genome : {top, top2, low}) {
            genome->setPixPerNuc(0.5);
            scene.addItem(genome);
            genome->updateChildren();
        }
        scene.insertTopGenome(top);
        scene.insertTopGenome(top2);
        scene.insertLowGenome(low);
        top->setPos(20, 100);
        top2->setPos(560, 100);
        low->setPos(20, 300);
        scene.addMatching(top, low, 301, 400, 301, 400, 90.0, 200.0);
        scene.addMatching(top, low, 801, 900, 1, 100, 90.0, 150.0);
        matching = scene.matchings().at(0);
        matching2 = scene.matchings().at(1);
        scene.setSceneRect(0, 0, 1100, 400);
        view = showView(scene, 1100, 400);
        scene.setModified(false);
    }

    // Right click at a scene point; the menu is answered with entry (or
    // closed when it is empty). Returns the menu's entries.
    QStringList rightClick(const QPointF &scenePoint, const QString &entry = QString())
    {
        const QPoint local = viewportPoint(*view, scenePoint);
        QContextMenuEvent event(QContextMenuEvent::Mouse, local,
                                view->viewport()->mapToGlobal(local));
        MenuAnswerer::pick(entry);
        QCoreApplication::sendEvent(view->viewport(), &event);
        return MenuAnswerer::lastEntries();
    }
    static QPointF onGenome(const GC_Genome *genome, int n)
    {
        return genome->mapToScene(QPointF(genome->nucToX(n), 0.0));
    }
};

const QStringList TwoGenomeEntries = {
    "Invert orientation", "----", "Show/Hide anotations", "Show/Hide genes",
    "Show/Hide coordinates", "Show/Hide GC content", "Show/Hide matchings",
    "Show/Hide labels", "----", "Remove", "----", "Add Text"};

} // namespace

class TestSceneMenus : public QObject
{
    Q_OBJECT

private slots:
    // ---- entries by selection ------------------------------------------

    void emptyCanvasOffersOnlyAddTextWhichPlacesAText()
    {
        Canvas c;
        const QPointF point(700, 30);
        const QStringList entries = c.rightClick(point, "Add Text");
        QCOMPARE(entries, QStringList({"Add Text"}));
        QCOMPARE(c.scene.freeTexts().size(), 1);
        GC_FreeText *text = c.scene.freeTexts().first();
        QCOMPARE(text->text(), QString("NEW TEXT"));
        QCOMPARE(text->pos(), c.scene.lastContextPos());
        QVERIFY((text->pos() - point).manhattanLength() <= 1.0);
        QVERIFY(c.scene.isModified());
    }

    void oneGenomeOffersItsCommandsAndTheSearches()
    {
        Canvas c;
        const QStringList entries = c.rightClick(Canvas::onGenome(c.low, 700));
        QCOMPARE(c.scene.selectedItems(), QList<QGraphicsItem *>({c.low}));
        const QStringList expected = QStringList{
            "Add anotation", "Clone", "----", "CUT from START TO HERE", "CUT from here TO END",
            "----", "Copy sequence to clipboard", "----", "Get coverage information", "----",
            "Search for COG homologies", "Search for RFAM homologies",
            "Search for rRNA homologies", "----"} + TwoGenomeEntries;
        QCOMPARE(entries, expected);

        // A source file without the hit tables stores nothing: the searches stay.
        c.low->setDatabase(QDir::tempPath() + "/no-such-source.kestal");
        QCOMPARE(c.low->countDatabaseCogMatchings(), -1);
        QCOMPARE(c.low->countDatabaseRfamMatchings(), -1);
        QCOMPARE(c.low->countDatabaserRNAMatchings(), -1);
        QCOMPARE(c.rightClick(Canvas::onGenome(c.low, 700)), expected);
    }

    void twoGenomesStartWithInvertOrientation()
    {
        Canvas c;
        c.top2->setSelected(true);
        const QStringList entries = c.rightClick(Canvas::onGenome(c.low, 700));
        QCOMPARE(c.scene.selectedItems().size(), 2);
        QCOMPARE(entries, TwoGenomeEntries);
    }

    void geneMenu()
    {
        Canvas c;
        c.gene->setSelected(true);
        const QStringList entries = c.rightClick(QPointF(1050, 380));
        QCOMPARE(entries, QStringList({"BlastN", "BlastX", "Copy sequence to clipboard", "----",
                                       "Invert orientation", "----", "Remove", "----",
                                       "Add Text"}));
        // Two genes: only the toggle stays.
        GC_Gene *other = addGene(c.top, 501, 600);
        other->setSelected(true);
        QCOMPARE(c.rightClick(QPointF(1050, 380)),
                 QStringList({"Invert orientation", "----", "Remove", "----", "Add Text"}));
    }

    void matchingMenus()
    {
        Canvas c;
        c.matching->setSelected(true);
        QCOMPARE(c.rightClick(QPointF(1050, 380)),
                 QStringList({"BlastN upper section", "BlastX upper section",
                              "Copy upper section sequence to clipboard", "----",
                              "BlastN lower section", "BlastX lower section",
                              "Copy lower section sequence to clipboard", "----", "Remove",
                              "----", "Add Text"}));
        c.matching2->setSelected(true);
        QCOMPARE(c.rightClick(QPointF(1050, 380)),
                 QStringList({"Show only selected matching genomes", "----", "Remove", "----",
                              "Add Text"}));
    }

    void rulerAndBarMenus()
    {
        Canvas c;
        c.top->getRuler()->setSelected(true);
        c.low->getRuler()->setSelected(true);
        QCOMPARE(c.rightClick(QPointF(1050, 380)),
                 QStringList({"Invert orientation", "Remove", "----", "Add Text"}));
        c.scene.clearSelection();
        c.top->setShowGCcontent(true);
        c.top->getGCcontentBar()->setSelected(true);
        QCOMPARE(c.rightClick(QPointF(1050, 380)),
                 QStringList({"Remove", "----", "Add Text"}));
    }

    void rightClickOnAGenomeWithAGeneSelectedGivesAMixture()
    {
        Canvas c;
        c.gene->setSelected(true);
        const QStringList entries = c.rightClick(Canvas::onGenome(c.low, 700));
        QCOMPARE(c.scene.selectedItems().size(), 2);
        QVERIFY(c.low->isSelected() && c.gene->isSelected());
        QCOMPARE(entries, QStringList({"Remove", "----", "Add Text"}));
    }

    // A genome's name label counts for its genome: two genomes picked up
    // with one of their labels still get the genomes' commands.
    void genomeLabelsCountForTheirGenomes()
    {
        Canvas c;
        c.top2->setSelected(true);
        c.top2->getNameLabel()->setSelected(true);
        const QStringList entries = c.rightClick(Canvas::onGenome(c.low, 700),
                                                 "Show/Hide coordinates");
        QCOMPARE(c.scene.selectedItems().size(), 3);
        QCOMPARE(entries, TwoGenomeEntries);
        QVERIFY(!c.top2->getShowRuler());
        QVERIFY(!c.low->getShowRuler());
        QVERIFY(c.top->getShowRuler());

        // Alone, or picked up with its genome, a label's genome is toggled once.
        c.scene.clearSelection();
        c.top->getNameLabel()->setSelected(true);
        c.scene.slotGenomeToggleRuler();
        QVERIFY(!c.top->getShowRuler());
        c.top->setSelected(true);
        c.scene.slotGenomeToggleRuler();
        QVERIFY(c.top->getShowRuler());
        QCOMPARE(c.scene.firstSelectedGenome(), c.top);
    }

    // Right-clicked, a genome's name label gives exactly its genome's menu,
    // the homology searches and show entries included, and they act on it.
    void genomeLabelGivesItsGenomesMenu()
    {
        Canvas c;
        GC_GenomeText *label = c.top2->getNameLabel();
        const QPointF onLabel = label->sceneBoundingRect().center();
        QCOMPARE(c.scene.itemAt(onLabel, c.view->transform()), label);

        const QStringList arrowMenu = c.rightClick(Canvas::onGenome(c.top2, 700));
        QVERIFY(arrowMenu.contains("Search for COG homologies"));
        c.scene.clearSelection();
        QCOMPARE(c.rightClick(onLabel), arrowMenu);
        QCOMPARE(c.scene.selectedItems(), QList<QGraphicsItem *>({label}));

        // With hits held, the show entry stands in for the search.
        QVERIFY(c.top2->getCogHomologies()->addCogMatching(100, 400, 1, "COG0001", "E", 2,
                                                            1e-10, 80.0));
        c.scene.clearSelection();
        const QStringList withHits = c.rightClick(Canvas::onGenome(c.top2, 700));
        QVERIFY(withHits.contains("Show/Hide COG homologies"));
        QVERIFY(!withHits.contains("Search for COG homologies"));
        c.scene.clearSelection();
        QVERIFY(!c.top2->getShowCogHomologies());
        QCOMPARE(c.rightClick(onLabel, "Show/Hide COG homologies"), withHits);
        QVERIFY(c.top2->getShowCogHomologies());
    }

    void annotationMenu()
    {
        Canvas c;
        auto *anotation = new GC_Anotation;
        c.top->addAnotation(anotation);
        anotation->setCoords(GC_Interval(600, 700));
        anotation->setSelected(true);
        const QStringList entries = {"Copy sequence to clipboard", "----", "Remove", "----",
                                     "Add Text"};
        QCOMPARE(c.rightClick(QPointF(1050, 380)), entries);

        // Its label, which covers it, stands for it: the same commands act
        // on the annotation.
        c.scene.clearSelection();
        anotation->getLabel()->setSelected(true);
        ModalAnswerer::clickButton(QMessageBox::Yes);
        QCOMPARE(c.rightClick(QPointF(1050, 380), "Remove"), entries);
        QVERIFY(c.top->getAnotations().isEmpty());
        QVERIFY(c.scene.isModified());
    }

    void removeFromTheMenuRemovesTheSelection()
    {
        Canvas c;
        c.gene->setSelected(true);
        ModalAnswerer::clickButton(QMessageBox::Yes);
        c.rightClick(QPointF(1050, 380), "Remove");
        QCOMPARE(c.top->countGenes(), 0);
    }

    // ---- genome commands -----------------------------------------------

    void addAnotationCoversThirtyUnitsAroundTheClick()
    {
        Canvas c;
        c.top->setPixPerNuc(10.0);
        c.top->setPos(-4000, 100);
        c.top2->setPos(560, 200);
        QSignalSpy added(&c.scene, &GC_GenomeScene::anotationAdded);
        // The centre of nucleotide 500.
        const QPointF point = Canvas::onGenome(c.top, 500);
        c.rightClick(point, "Add anotation");
        QCOMPARE(c.scene.selectedItems(), QList<QGraphicsItem *>({c.top}));
        QCOMPARE(c.top->getAnotations().size(), 1);
        const GC_Anotation *anotation = c.top->getAnotations().first();
        QCOMPARE(anotation->getCoords(), GC_Interval(498, 501));
        QCOMPARE(anotation->getName(), QString("Anotation : alpha"));
        QCOMPARE(added.count(), 1);
        QVERIFY(c.scene.isModified());

        // Near the start the thirty units stop at nucleotide 1: a canvas
        // holding a coordinate below 1 is refused as damaged.
        c.scene.clearSelection();
        c.top->setPos(20, 100);
        c.top->setShowText(false); // its label stands over the start
        c.rightClick(Canvas::onGenome(c.top, 2), "Add anotation");
        QCOMPARE(c.top->getAnotations().size(), 2);
        QCOMPARE(c.top->getAnotations().last()->getCoords(), GC_Interval(1, 3));
    }

    void cutsFollowTheOrientation()
    {
        Canvas c;
        QSignalSpy coverage(&c.scene, &GC_GenomeScene::coverageCalculateRequest);
        // Forward: "from here to end" sets the to end; the gene stays.
        c.rightClick(Canvas::onGenome(c.top, 800), "CUT from here TO END");
        QCOMPARE(c.top->getCoords(), GC_Interval(1, 800));
        QCOMPARE(coverage.count(), 0);
        QVERIFY(c.scene.isModified());

        // Reversed: "from start to here" changes the to end, not the from end.
        c.scene.clearSelection();
        c.low->reverse();
        c.rightClick(Canvas::onGenome(c.low, 600), "CUT from START TO HERE");
        QCOMPARE(c.low->getCoords(), GC_Interval(1, 600));

        // A cut that drops the gene asks the coverage panel to recompute.
        c.scene.clearSelection();
        c.rightClick(Canvas::onGenome(c.top, 300), "CUT from START TO HERE");
        QCOMPARE(c.top->getCoords(), GC_Interval(300, 800));
        QCOMPARE(c.top->countGenes(), 0);
        QCOMPARE(coverage.count(), 1);

        // A click on the left half of the first nucleotide cuts nothing off,
        // and never reaches below nucleotide 1.
        c.scene.clearSelection();
        c.top2->setPixPerNuc(10.0);
        c.top2->setShowText(false); // its label stands over the start
        c.rightClick(c.top2->mapToScene(QPointF(2.0, 0.0)), "CUT from START TO HERE");
        QCOMPARE(c.top2->getCoords(), GC_Interval(1, 1000));
    }

    void cloneAddsACopyInTheSameRowWithItsMatchings()
    {
        Canvas c;
        c.rightClick(Canvas::onGenome(c.low, 700), "Clone");
        QCOMPARE(c.scene.lowGenomes().size(), 2);
        GC_Genome *copy = c.scene.lowGenomes().last();
        QCOMPARE(copy->getId(), std::max({c.top->getId(), c.top2->getId(), c.low->getId()}) + 1);
        QCOMPARE(copy->pos(), c.low->pos() + QPointF(20, 20));
        QCOMPARE(copy->countMatchings(), 2);
        QCOMPARE(c.scene.countMatchings(), 4);
        QCOMPARE(copy->getDnaSequence(), c.low->getDnaSequence());
        QCOMPARE(c.top->countMatchings(), 4);
        QVERIFY(c.scene.isModified());
    }

    void coverageEntryEmitsTheGenome()
    {
        Canvas c;
        QList<GC_Genome *> requested;
        QObject::connect(&c.scene, &GC_GenomeScene::coverageRequested,
                         [&requested](GC_Genome *genome) { requested.append(genome); });
        c.rightClick(Canvas::onGenome(c.low, 700), "Get coverage information");
        QCOMPARE(requested, QList<GC_Genome *>({c.low}));
    }

    void togglesActOnEverySelectedGenomeAndAnnounceOnce()
    {
        Canvas c;
        QSignalSpy changed(&c.scene, &GC_GenomeScene::changedItem);
        c.top->setSelected(true);
        c.low->setSelected(true);
        c.gene->setSelected(true);
        c.scene.slotGeneToggleOrientation();
        QCOMPARE(c.gene->getOrientation(), -1);
        QCOMPARE(changed.count(), 1);
        changed.clear();
        c.scene.slotGenomeToggleRuler();
        QVERIFY(!c.top->getShowRuler() && !c.low->getShowRuler() && c.top2->getShowRuler());
        QCOMPARE(changed.count(), 1);
        c.scene.slotGenomeToggleGenes();
        QVERIFY(!c.top->getShowGenes());
        QVERIFY(!c.gene->isVisible());
        c.scene.slotGenomeToggleAnotations();
        QVERIFY(!c.low->getShowAnotations());
        c.scene.slotGenomeToggleMatchings();
        QVERIFY(!c.low->getShowMatchings());
        c.scene.slotGenomeToggleLabel();
        QVERIFY(!c.low->getShowText());
        c.scene.slotGenomeToggleOrientation();
        QCOMPARE(c.top->getOrientation(), -1);
        QCOMPARE(c.top2->getOrientation(), 1);
        QCOMPARE(changed.count(), 6);
        QVERIFY(c.scene.isModified());
        // Nothing of the type selected: still announced once.
        c.scene.clearSelection();
        c.scene.slotGenomeToggleRuler();
        QCOMPARE(changed.count(), 7);
    }

    void gcContentToggleOnTwoGenomesPlacesEachBar()
    {
        Canvas c;
        c.top->setSelected(true);
        c.low->setSelected(true);
        c.rightClick(Canvas::onGenome(c.low, 700), "Show/Hide GC content");
        for (GC_Genome *genome : {c.top, c.low}) {
            QVERIFY(genome->getShowGCcontent());
            const double y = genome->getGCcontentBar()->y();
            QVERIFY(y >= -80 && y <= 80);
            QCOMPARE(int(y) % 10, 0);
        }
        QVERIFY(!c.top2->getShowGCcontent());
    }

    void rulerToggleFlipsEverySelectedRuler()
    {
        Canvas c;
        GC_Ruler *ruler = c.top->getRuler();
        const int orientation = ruler->getOrientation();
        ruler->setSelected(true);
        c.scene.slotRulerToggleOrientation();
        QVERIFY(ruler->getOrientation() != orientation);
    }

    void commandsNeedingOneGenomeDoNothingOtherwise()
    {
        Canvas c;
        QSignalSpy requested(&c.scene, &GC_GenomeScene::coverageRequested);
        c.top->setSelected(true);
        c.low->setSelected(true);
        c.scene.slotGenomeCoverage();
        c.scene.slotGenomeAddAnotation();
        c.scene.slotGenomeClone();
        c.scene.slotGenomeSetLeftmost();
        QCOMPARE(requested.count(), 0);
        QVERIFY(c.top->getAnotations().isEmpty());
        QCOMPARE(c.scene.genomes().size(), 3);
        QCOMPARE(c.top->getCoords(), GC_Interval(1, 1000));
    }

    void homologyShowHideFollowsTheExplicitValue()
    {
        Canvas c;
        c.low->setSelected(true);
        c.low->setShowCogHomologies(true);
        c.scene.slotGenomeShowHideCogMatchings(false);
        QVERIFY(!c.low->getShowCogHomologies());
        QVERIFY(c.scene.isModified());
        // No hits loaded or stored: showing does nothing.
        c.scene.slotGenomeShowHideCogMatchings(true);
        QVERIFY(!c.low->getShowCogHomologies());
        // The menu toggle hides a shown bar.
        c.low->setShowRfamHomologies(true);
        c.scene.slotGenomeShowRfamMatchings();
        QVERIFY(!c.low->getShowRfamHomologies());
    }

    // ---- styles --------------------------------------------------------

    void styleOnAGenomeLabelStylesItsGenome()
    {
        Canvas c;
        GC_Style style;
        style.applyGenomeFillColor = true;
        style.genomeFillColor = QColor(Qt::red);
        style.applyGeneFillColor = true;
        style.geneFillColor = QColor(Qt::green);
        c.top->getNameLabel()->setSelected(true);
        c.scene.slotApplyStyle(style, false, false, false);
        QCOMPARE(c.top->getFillColor(), QColor(Qt::red));
        QVERIFY(c.gene->getFillColor() != QColor(Qt::green));
        QVERIFY(c.low->getFillColor() != QColor(Qt::red));
        QVERIFY(c.scene.isModified());
        c.scene.slotApplyStyle(style, false, false, true);
        QCOMPARE(c.gene->getFillColor(), QColor(Qt::green));
    }

    void styleOnAllItemsSetsOnlyTheFlaggedSpacing()
    {
        Canvas c;
        GC_Style style;
        style.applySceneMargin = true;
        style.sceneMargin = 55.0;
        style.sceneSeparationBetweenGenomes = 99.0;
        style.applyGenomeLineColor = true;
        style.genomeLineColor = QColor(Qt::blue);
        c.scene.slotApplyStyle(style, false, true, false);
        QCOMPARE(c.scene.margin(), 55.0);
        QCOMPARE(c.scene.separationBetweenGenomes(), 7.0);
        for (GC_Genome *genome : c.scene.genomes())
            QCOMPARE(genome->getLineColor(), QColor(Qt::blue));
    }
};

KESTAL_TEST_MAIN(TestSceneMenus)
#include "tst_scenemenus.moc"
