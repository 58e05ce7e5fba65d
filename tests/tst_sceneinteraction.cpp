#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationtext.h"
#include "gc_coghomologies.h"
#include "gc_freetext.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genometext.h"
#include "gc_genomeview.h"
#include "gc_legend.h"
#include "gc_ruler.h"
#include "modal_answerer.h"
#include "scene_fixture.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTimer>

#include <memory>

using namespace SceneFixture;

namespace {

// Two genomes of 1000 nt at half a pixel per nucleotide, the top one at
// (20, 100) with a gene over 101..200, the low one at (20, 300), joined by
// one matching 301..400 / 301..400, in a 600 by 400 view showing scene
// (0, 0)-(600, 400).
struct Canvas
{
    GC_GenomeScene scene;
    std::unique_ptr<GC_GenomeView> view;
    GC_Genome *top = nullptr;
    GC_Genome *low = nullptr;
    GC_Gene *gene = nullptr;
    GC_GenomeMatching *matching = nullptr;

    Canvas()
    {
        top = genomeWithSequence(1000, "top", 1);
        low = genomeWithSequence(1000, "low", 2);
        gene = addGene(top, 101, 200);
        for (GC_Genome *genome : {top, low}) {
            genome->setPixPerNuc(0.5);
            scene.addItem(genome);
            genome->updateChildren();
        }
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        top->setPos(20, 100);
        low->setPos(20, 300);
        scene.addMatching(top, low, 301, 400, 301, 400, 90.0, 200.0);
        matching = scene.matchings().first();
        scene.setSceneRect(0, 0, 600, 400);
        view = showView(scene, 600, 400);
        scene.setModified(false);
    }

    QPoint at(const QPointF &scenePoint) const { return viewportPoint(*view, scenePoint); }
    void click(const QPointF &scenePoint, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(view->viewport(), button, Qt::NoModifier, at(scenePoint));
    }
    // Two moves, so the last one is never a repeat of the pointer's place.
    void hover(const QPoint &viewportPoint)
    {
        QTest::mouseMove(view->viewport(), viewportPoint + QPoint(1, 1));
        QTest::mouseMove(view->viewport(), viewportPoint);
    }
    QPointF geneCentre() const { return gene->sceneBoundingRect().center(); }
    // Scene point over nucleotide n of a genome, on its axis.
    static QPointF onGenome(const GC_Genome *genome, int n)
    {
        return genome->mapToScene(QPointF(genome->nucToX(n), 0.0));
    }
};

int freeTextCount(const GC_GenomeScene &scene)
{
    return int(scene.freeTexts().size());
}

} // namespace

class TestSceneInteraction : public QObject
{
    Q_OBJECT

private slots:
    // ---- modes and clicks ----------------------------------------------

    void zoomModesClearTheSelectionOthersKeepIt()
    {
        Canvas c;
        c.top->setSelected(true);
        c.low->setSelected(true);
        c.scene.setMode(GC_GenomeScene::ModeZoomIn);
        QVERIFY(c.scene.selectedItems().isEmpty());
        c.top->setSelected(true);
        c.low->setSelected(true);
        c.scene.setMode(GC_GenomeScene::ModeDelete);
        QCOMPARE(c.scene.selectedItems().size(), 2);
        c.scene.setMode(GC_GenomeScene::ModeSelect);
        QCOMPARE(c.scene.mode(), 0);
    }

    void selectModeClickSelectsAndDoubleClickActsAsPress()
    {
        Canvas c;
        c.click(Canvas::onGenome(c.low, 700));
        QCOMPARE(c.scene.selectedItems(), QList<QGraphicsItem *>({c.low}));
        c.scene.clearSelection();
        QTest::mouseDClick(c.view->viewport(), Qt::LeftButton, Qt::NoModifier,
                           c.at(Canvas::onGenome(c.low, 700)));
        QCOMPARE(c.scene.selectedItems(), QList<QGraphicsItem *>({c.low}));
    }

    void addTextModePlacesOneTextPerClick()
    {
        Canvas c;
        c.scene.setMode(GC_GenomeScene::ModeAddText);
        const QPointF empty(400, 50);
        const QPointF overGenome = Canvas::onGenome(c.low, 500);
        c.click(empty);
        c.click(overGenome);
        QCOMPARE(freeTextCount(c.scene), 2);
        const QList<GC_FreeText *> texts = c.scene.freeTexts();
        QCOMPARE(texts.at(0)->text(), QString("NEW TEXT"));
        QCOMPARE(texts.at(0)->pos(), c.view->mapToScene(c.at(empty)));
        QCOMPARE(texts.at(1)->pos(), c.view->mapToScene(c.at(overGenome)));
        QVERIFY(c.scene.isModified());
        // Nothing else happened to the genome under the second click.
        QVERIFY(!c.low->isSelected());
        QCOMPARE(c.low->getPixPerNuc(), 0.5);
    }

    void zoomInClickOnAGeneZoomsItsGenomeAboutTheClick()
    {
        Canvas c;
        c.scene.setMode(GC_GenomeScene::ModeZoomIn);
        const QPointF point = c.geneCentre();
        const double nucleotide = c.top->xToNuc(c.top->mapFromScene(point).x());
        c.click(point);
        QVERIFY(qAbs(c.top->getPixPerNuc() - 0.6) < 1e-9);
        QCOMPARE(c.low->getPixPerNuc(), 0.5);
        // The nucleotide under the click stays (within one nucleotide).
        const double after = c.top->xToNuc(c.top->mapFromScene(point).x());
        QVERIFY2(qAbs(after - nucleotide) <= 1.0, qPrintable(QString::number(after)));
        QVERIFY(c.scene.selectedItems().isEmpty());

        c.scene.setMode(GC_GenomeScene::ModeZoomOut);
        c.click(Canvas::onGenome(c.low, 800));
        QVERIFY(qAbs(c.low->getPixPerNuc() - 0.5 / 1.2) < 1e-9);
    }

    void zoomClickOnEmptyCanvasOrMatchingZoomsNothing()
    {
        Canvas c;
        c.scene.setMode(GC_GenomeScene::ModeZoomIn);
        c.click(QPointF(550, 20));
        // Matching band drawn above the low genome; the click square touches
        // both, the band first.
        c.matching->setZValue(10.0);
        c.scene.setMode(GC_GenomeScene::ModeZoomOut);
        const QPointF nearLow = Canvas::onGenome(c.low, 350) - QPointF(0, 6);
        QVERIFY(c.matching->contains(c.matching->mapFromScene(nearLow)));
        c.click(nearLow);
        QCOMPARE(c.top->getPixPerNuc(), 0.5);
        QCOMPARE(c.low->getPixPerNuc(), 0.5);
        QVERIFY(!c.scene.isModified());
    }

    void zoomWithOneSelectedItemUsesItsGenome()
    {
        Canvas c;
        c.scene.setMode(GC_GenomeScene::ModeZoomIn);
        c.top->getRuler()->setSelected(true);
        c.click(QPointF(500, 20));
        QVERIFY(qAbs(c.top->getPixPerNuc() - 0.6) < 1e-9);
        QVERIFY(c.scene.selectedItems().isEmpty());
        // A selected matching zooms nothing and is deselected.
        c.matching->setSelected(true);
        c.click(QPointF(500, 20));
        QVERIFY(qAbs(c.top->getPixPerNuc() - 0.6) < 1e-9);
        QVERIFY(c.scene.selectedItems().isEmpty());
    }

    void deleteModeClickOnAGeneAsksForItAndKeepsTheGenome()
    {
        Canvas c;
        QSignalSpy coverage(&c.scene, &GC_GenomeScene::coverageCalculateRequest);
        c.scene.setMode(GC_GenomeScene::ModeDelete);
        ModalAnswerer::clickButton(QMessageBox::Yes);
        c.click(c.geneCentre());
        QCOMPARE(ModalAnswerer::lastText(), QString("Do you really want to remove these genes?"));
        QCOMPARE(c.top->countGenes(), 0);
        QVERIFY(c.scene.genomes().contains(c.top));
        QCOMPARE(c.top->scene(), &c.scene);
        QCOMPARE(coverage.count(), 1);
        QVERIFY(c.scene.isModified());
    }

    void deleteModeOnEmptyCanvasWarns()
    {
        Canvas c;
        c.scene.setMode(GC_GenomeScene::ModeDelete);
        ModalAnswerer::clickButton(QMessageBox::Close);
        c.click(QPointF(550, 20));
        QCOMPARE(ModalAnswerer::lastText(), QString("No selected items to remove\n"));
    }

    void movingInZoomModeShowsNoLegendAndDragsNothing()
    {
        Canvas c;
        c.top->setShowCogHomologies(true);
        c.scene.setMode(GC_GenomeScene::ModeZoomIn);
        const QPointF start = Canvas::onGenome(c.low, 700);
        QTest::mousePress(c.view->viewport(), Qt::LeftButton, Qt::NoModifier, c.at(start));
        // The press zoomed; the drag that follows must not move anything.
        const QPointF pressed = c.low->pos();
        QTest::mouseMove(c.view->viewport(), c.at(start + QPointF(40, 40)));
        QTest::mouseRelease(c.view->viewport(), Qt::LeftButton, Qt::NoModifier,
                            c.at(start + QPointF(40, 40)));
        QCOMPARE(c.low->pos(), pressed);
        QTest::mouseMove(c.view->viewport(),
                         c.at(c.top->getCogHomologies()->sceneBoundingRect().center()));
        QVERIFY(!c.scene.hoverLegend());
    }

    // ---- removal -------------------------------------------------------

    void removingTwoGenesAnsweredYesAndNoRemovesOne()
    {
        Canvas c;
        GC_Gene *second = addGene(c.top, 501, 600);
        QSignalSpy coverage(&c.scene, &GC_GenomeScene::coverageCalculateRequest);
        c.gene->setSelected(true);
        second->setSelected(true);
        int asked = 0;
        auto answer = [&asked](QMessageBox::StandardButton button) {
            ModalAnswerer::handle([&asked, button](QWidget *modal) {
                ++asked;
                static_cast<QMessageBox *>(modal)->button(button)->click();
            });
        };
        answer(QMessageBox::Yes);
        // The second box opens once the first is answered.
        QTimer::singleShot(0, [&] { answer(QMessageBox::No); });
        c.scene.slotItemRemove();
        QCOMPARE(asked, 2);
        QCOMPARE(c.top->countGenes(), 1);
        QCOMPARE(coverage.count(), 1);
    }

    void removingAnAnnotationWithItsOwnLabelTouchesNoDeletedItem()
    {
        // Label first and last in the selection order: both must be safe.
        for (bool labelFirst : {true, false}) {
            Canvas c;
            auto *anotation = new GC_Anotation;
            c.top->addAnotation(anotation);
            anotation->setCoords(GC_Interval(600, 700));
            GC_AnotationText *label = anotation->getLabel();
            if (labelFirst) {
                label->setSelected(true);
                anotation->setSelected(true);
            } else {
                anotation->setSelected(true);
                label->setSelected(true);
            }
            QCOMPARE(c.scene.selectedItems().size(), 2);
            ModalAnswerer::clickButton(QMessageBox::Yes);
            c.scene.slotItemRemove();
            QVERIFY(c.top->getAnotations().isEmpty());
            QVERIFY(c.scene.selectedItems().isEmpty());
            QVERIFY(c.scene.isModified());
        }
    }

    void removingAGenomeWithItsGeneSelectedKeepsTheGenome()
    {
        Canvas c;
        c.top->setSelected(true);
        c.gene->setSelected(true);
        c.top->getNameLabel()->setSelected(true);
        ModalAnswerer::clickButton(QMessageBox::Yes);
        c.scene.slotItemRemove();
        QCOMPARE(c.top->countGenes(), 0);
        QVERIFY(c.scene.genomes().contains(c.top));
    }

    void removingARulerHidesItAndLeavesTheRestAlone()
    {
        Canvas c;
        QVERIFY(c.top->getRuler()->isVisible());
        c.top->getRuler()->setSelected(true);
        c.scene.slotItemRemove();
        QVERIFY(!c.top->getShowRuler());
        QVERIFY(!c.top->getRuler()->isVisible());
        QVERIFY(c.top->getNameLabel()->isVisible());
        QVERIFY(c.gene->isVisible());
        QVERIFY(c.low->getShowRuler());
        QVERIFY(c.scene.isModified());
    }

    void removingAMatchingHidesItUntilTheThresholdChanges()
    {
        Canvas c;
        c.matching->setSelected(true);
        c.scene.slotItemRemove();
        QVERIFY(!c.matching->isVisible());
        QCOMPARE(c.scene.countMatchings(), 1);
        QCOMPARE(c.matching->scene(), &c.scene);
        QVERIFY(c.scene.isModified());
        c.scene.slotViewMatchingsBitScore(100.0);
        QVERIFY(c.matching->isVisible());
    }

    void removingAFreeTextAsksAndDeletesIt()
    {
        Canvas c;
        c.scene.addFreeText(QPointF(300, 30));
        GC_FreeText *text = c.scene.freeTexts().first();
        text->setSelected(true);
        ModalAnswerer::clickButton(QMessageBox::No);
        c.scene.slotItemRemove();
        QCOMPARE(freeTextCount(c.scene), 1);
        text->setSelected(true);
        ModalAnswerer::clickButton(QMessageBox::Yes);
        c.scene.slotItemRemove();
        QCOMPARE(ModalAnswerer::lastText(), QString("Do you really want to remove this text?"));
        QCOMPARE(freeTextCount(c.scene), 0);
    }

    void deleteKeyRemovesTheSelection()
    {
        Canvas c;
        activate(c.scene);
        c.top->getGCcontentBar();
        c.top->setShowGCcontent(true);
        c.top->getRuler()->setSelected(true);
        QTest::keyClick(c.view->viewport(), Qt::Key_Delete);
        QVERIFY(!c.top->getShowRuler());
    }

    // ---- expand and shrink ---------------------------------------------

    void expandWarnsUnlessOneGenomeIsSelected()
    {
        Canvas c;
        ModalAnswerer::clickButton(QMessageBox::Close);
        c.scene.slotExpandGenome();
        QCOMPARE(ModalAnswerer::lastText(), QString("Please select a genome to expand\n"));
        c.gene->setSelected(true);
        ModalAnswerer::handle([](QWidget *modal) {
            QCOMPARE(modal->windowTitle(), QString("Error"));
            static_cast<QMessageBox *>(modal)->button(QMessageBox::Close)->click();
        });
        c.scene.slotExpandGenome();
        QCOMPARE(ModalAnswerer::lastText(), QString("Please select a single genome to expand\n"));
        ModalAnswerer::clickButton(QMessageBox::Close);
        c.scene.slotShrinkGenome();
        QCOMPARE(ModalAnswerer::lastText(), QString("Please select a single genome to shrink\n"));
    }

    void expandAndShrinkZoomTheFocusedGenomeLater()
    {
        Canvas c;
        activate(c.scene);
        c.scene.clearSelection();
        c.top->setSelected(true);
        c.scene.setFocusItem(c.top);
        c.scene.slotExpandGenome();
        // Posted: nothing has happened yet.
        QCOMPARE(c.top->getPixPerNuc(), 0.5);
        QTRY_VERIFY(qAbs(c.top->getPixPerNuc() - 0.6) < 1e-9);
        c.scene.slotShrinkGenome();
        QTRY_VERIFY(qAbs(c.top->getPixPerNuc() - 0.5) < 1e-9);
        QVERIFY(c.scene.isModified());
    }

    // ---- hover legend --------------------------------------------------

    void hoverOverABarWithoutHitsMakesAHiddenLegend()
    {
        Canvas c;
        GC_CogHomologies *bar = c.top->getCogHomologies();
        c.top->setShowCogHomologies(true);
        bar->setY(60);
        QVERIFY(bar->isVisible());
        c.hover(c.at(bar->sceneBoundingRect().center()));
        QVERIFY(c.scene.hoverLegend());
        QVERIFY(!c.scene.hoverLegend()->isVisible());
        // Empty canvas hides it too; the legend stays for the next hover.
        c.hover(QPoint(590, 10));
        QVERIFY(c.scene.hoverLegend());
        QVERIFY(!c.scene.hoverLegend()->isVisible());
    }

    void hoverLegendShowsAHitAndHidesOffIt()
    {
        Canvas c;
        GC_CogHomologies *bar = c.top->getCogHomologies();
        c.top->setShowCogHomologies(true);
        QString last;
        c.scene.showHoverLegend(bar, c.top, "<b>COG0001</b>", GC_Interval(300, 400), last);
        GC_Legend *legend = c.scene.hoverLegend();
        QVERIFY(legend);
        QVERIFY(legend->isVisible());
        QCOMPARE(legend->parentItem(), bar);
        QCOMPARE(legend->anchorItem(), c.top);
        QCOMPARE(legend->anchorStart(), 300);
        QCOMPARE(legend->anchorEnd(), 400);
        QCOMPARE(last, QString("<b>COG0001</b>"));

        // Moving to empty canvas hides it.
        c.hover(QPoint(590, 10));
        QVERIFY(!legend->isVisible());
        // Back on the same hit: the text has not changed, so it stays hidden.
        c.scene.showHoverLegend(bar, c.top, "<b>COG0001</b>", GC_Interval(300, 400), last);
        QVERIFY(!legend->isVisible());
        // Off any hit of the bar: hidden; a different hit shows again.
        c.scene.showHoverLegend(bar, c.top, QString(), GC_Interval(0, 0), last);
        QVERIFY(!legend->isVisible());
        c.scene.showHoverLegend(bar, c.top, "<b>COG0002</b>", GC_Interval(500, 520), last);
        QVERIFY(legend->isVisible());
        QCOMPARE(legend->anchorStart(), 500);
    }

    void keyCPinsACopyOfTheVisibleLegendOnly()
    {
        Canvas c;
        activate(c.scene);
        const int itemsBefore = int(c.scene.items().size());
        QTest::keyClick(c.view->viewport(), Qt::Key_C);
        QCOMPARE(int(c.scene.items().size()), itemsBefore);

        GC_CogHomologies *bar = c.top->getCogHomologies();
        c.top->setShowCogHomologies(true);
        QString last;
        c.scene.showHoverLegend(bar, c.top, "hit A", GC_Interval(300, 400), last);
        c.scene.hoverLegend()->hide();
        const int withLegend = int(c.scene.items().size());
        QTest::keyClick(c.view->viewport(), Qt::Key_C);
        QCOMPARE(int(c.scene.items().size()), withLegend);

        c.scene.hoverLegend()->show();
        QTest::keyClick(c.view->viewport(), Qt::Key_C, Qt::ShiftModifier);
        QCOMPARE(int(c.scene.items().size()), withLegend + 1);
        GC_Legend *pinned = nullptr;
        for (QGraphicsItem *item : bar->childItems())
            if (item->type() == ITEMTYPE_LEGEND && item != c.scene.hoverLegend())
                pinned = static_cast<GC_Legend *>(item);
        QVERIFY(pinned);
        QVERIFY(pinned->isVisible());
        QCOMPARE(pinned->html(), QString("hit A"));
        QCOMPARE(pinned->anchorStart(), 300);
        // The hover legend moves on; the pin stays.
        c.scene.showHoverLegend(bar, c.top, "hit B", GC_Interval(600, 700), last);
        QCOMPARE(pinned->anchorStart(), 300);
    }

    void clearingTheSceneForgetsTheHoverLegend()
    {
        Canvas c;
        QString last;
        c.scene.showHoverLegend(c.top->getCogHomologies(), c.top, "x", GC_Interval(1, 5), last);
        c.scene.clearScene();
        QVERIFY(!c.scene.hoverLegend());
    }
};

KESTAL_TEST_MAIN(TestSceneInteraction)
#include "tst_sceneinteraction.moc"
