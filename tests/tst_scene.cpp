#include "kestal_test.h"
#include "paint_counter.h"

#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"

#include <QAction>
#include <QDir>
#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {

GC_Genome *makeGenome(int length, const QString &name = QString())
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, length));
    genome->setName(name);
    return genome;
}

// A view whose viewport is exactly the given size: no frame, no scroll bars.
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

bool nearColor(const QColor &a, const QColor &b, int tolerance = 40)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

int countPixels(const QImage &image, const QColor &color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (nearColor(image.pixelColor(x, y), color, 10))
                ++count;
    return count;
}

const QColor GenomeFill(24, 116, 205);

// The view in a window as the main window holds it: a tool bar with the
// layout command and panels above it, so the viewport lies well inside the
// window that paints it.
struct ViewInWindow
{
    QWidget window;
    QToolBar *bar = new QToolBar;
    QAction *fit = bar->addAction(QStringLiteral("Fit to whole view"));
    GC_GenomeView *view = new GC_GenomeView;

    explicit ViewInWindow(GC_GenomeScene &scene)
    {
        auto *panels = new QWidget;
        panels->setFixedHeight(150);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *widget : {static_cast<QWidget *>(bar), panels, static_cast<QWidget *>(view)})
            layout->addWidget(widget);
        view->setScene(&scene);
        QObject::connect(fit, &QAction::triggered, &scene, &GC_GenomeScene::slotViewAdjustToWidth);
        window.resize(800, 650);
        window.show();
    }

    // Where the viewport's pixels as the window holds them (a grab would
    // paint the view afresh) differ from the scene drawn over the same area.
    QRect differences() const
    {
        QWidget *viewport = view->viewport();
        const QPoint at = viewport->mapTo(&window, QPoint(0, 0));
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(window.winId(), at.x(), at.y(), viewport->width(),
                                              viewport->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        QImage drawn(viewport->size(), QImage::Format_RGB32);
        drawn.fill(viewport->palette().color(viewport->backgroundRole()));
        QPainter painter(&drawn);
        view->render(&painter, QRectF(drawn.rect()), viewport->rect());
        QRect where;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (shown.pixel(x, y) != drawn.pixel(x, y))
                    where |= QRect(x, y, 1, 1);
        return where;
    }
};

class MoveCounter : public QObject
{
public:
    int moves = 0;
    Qt::MouseButtons lastButtons;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::GraphicsSceneMouseMove) {
            ++moves;
            lastButtons = static_cast<QGraphicsSceneMouseEvent *>(event)->buttons();
        }
        return false;
    }
};

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    // ---- the document --------------------------------------------------

    void newSceneDefaults()
    {
        GC_GenomeScene scene;
        QVERIFY(scene.showRulers() && scene.showGCcontentBars() && scene.showCogHomologies()
                && scene.showRfamHomologies() && scene.showrRNAHomologies()
                && scene.showAnotations() && scene.showMatchings() && scene.showLegends()
                && scene.showGenes() && scene.showTexts() && scene.showFreeTexts());
        QVERIFY(!scene.showControlPoints());
        QCOMPARE(scene.matchingsBitScore(), 0.0);
        QCOMPARE(scene.margin(), 30.0);
        QCOMPARE(scene.separationBetweenGenomes(), 7.0);
        QCOMPARE(scene.mode(), 0);
        QVERIFY(!scene.isModified());
        QVERIFY(scene.fileName().isEmpty());
        QCOMPARE(scene.itemIndexMethod(), QGraphicsScene::NoIndex);
    }

    void rowsKeepTheirOrderAndIds()
    {
        GC_GenomeScene scene;
        QCOMPARE(scene.maxGenomeId(), -1);
        QCOMPARE(scene.topGenomesLength(), qint64(0));
        GC_Genome *a = makeGenome(1000);
        GC_Genome *b = makeGenome(3000);
        GC_Genome *c = makeGenome(500);
        scene.insertTopGenome(a);
        scene.insertLowGenome(c);
        scene.insertTopGenome(b);
        // Inserting twice, or into the other row, lists it once.
        scene.insertTopGenome(a);
        scene.insertLowGenome(a);
        QCOMPARE(scene.genomes(), QList<GC_Genome *>({a, b, c}));
        QVERIFY(scene.isTopGenome(b));
        QVERIFY(!scene.isTopGenome(c));
        QCOMPARE(scene.maxGenomeId(), std::max({a->getId(), b->getId(), c->getId()}));
        QCOMPARE(scene.topGenomesLength(), qint64(4000));
        QCOMPARE(scene.lowGenomesLength(), qint64(500));
        // Loading is not editing.
        QVERIFY(!scene.isModified());
        scene.addItemsToScene();
        QVERIFY(!scene.isModified());
        QCOMPARE(a->scene(), &scene);
    }

    void matchingsGetDistinctIds()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        scene.addMatching(top, low, 1, 100, 1, 100, 90.0, 100.0);
        scene.addMatching(top, low, 200, 100, 300, 400, 90.0, 100.0);
        const QList<GC_GenomeMatching *> list = scene.matchings();
        QCOMPARE(list.size(), 2);
        QVERIFY(list.at(0)->id() != list.at(1)->id());
        QCOMPARE(list.at(1)->topFrom(), 200);
        QVERIFY(!list.at(1)->isDirect());
        QVERIFY(top->hasMatching(list.at(0)) && low->hasMatching(list.at(1)));
        QCOMPARE(list.at(0)->scene(), &scene);
    }

    // Ids can repeat (loaded files, copies): removal goes by pointer.
    void matchingIsRemovedByPointer()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        for (int i = 0; i < 3; ++i)
            scene.addMatching(top, low, 1 + i, 50 + i, 1, 50, 90.0, 100.0);
        QList<GC_GenomeMatching *> list = scene.matchings();
        GC_GenomeMatching *first = list.at(0);
        GC_GenomeMatching *second = list.at(1);
        GC_GenomeMatching *third = list.at(2);
        second->setId(first->id());
        third->setId(first->id());

        scene.removeMatching(second);
        QCOMPARE(scene.matchings(), QList<GC_GenomeMatching *>({first, third}));
        QVERIFY(!scene.hasMatching(second));
        // Removing it again, or a null one, changes nothing.
        scene.removeMatching(second);
        scene.removeMatching(nullptr);
        QCOMPARE(scene.countMatchings(), 2);

        // By id: nothing for an unknown id, only the first of equal ids.
        scene.removeMatchingById(123456);
        QCOMPARE(scene.countMatchings(), 2);
        scene.removeMatchingById(first->id());
        QCOMPARE(scene.matchings(), QList<GC_GenomeMatching *>({third}));

        // Listing again after removal appends once.
        scene.insertMatching(second);
        scene.insertMatching(second);
        QCOMPARE(scene.matchings(), QList<GC_GenomeMatching *>({third, second}));
    }

    void deletedItemsLeaveEveryList()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        GC_Genome *other = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.insertLowGenome(other);
        scene.addItemsToScene();
        scene.addMatching(top, low, 1, 100, 1, 100, 90.0, 100.0);
        scene.addMatching(top, other, 1, 100, 1, 100, 90.0, 100.0);
        scene.addMatching(top, low, 300, 400, 300, 400, 90.0, 100.0);
        GC_GenomeMatching *joinsOther = scene.matchings().at(1);

        scene.deleteMatching(joinsOther);
        QCOMPARE(scene.countMatchings(), 2);
        QCOMPARE(top->countMatchings(), 2);
        QCOMPARE(other->countMatchings(), 0);

        // Deleting a genome takes its matchings out of the other genomes too.
        scene.deleteGenome(low);
        QCOMPARE(scene.countMatchings(), 0);
        QVERIFY(scene.matchings().isEmpty());
        QCOMPARE(top->countMatchings(), 0);
        QCOMPARE(scene.genomes(), QList<GC_Genome *>({top, other}));
        for (QGraphicsItem *item : scene.items())
            QVERIFY(item->type() != ITEMTYPE_MATCHING);
    }

    // Narrowing a genome's range drops the matchings outside it from the
    // scene's list as well.
    void rangeChangeDropsMatchingFromSceneList()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        scene.addMatching(top, low, 300, 400, 300, 400, 90.0, 100.0);
        scene.addMatching(top, low, 850, 990, 10, 150, 90.0, 100.0);
        GC_GenomeMatching *kept = scene.matchings().at(0);
        top->setCoords(GC_Interval(200, 800));
        QCOMPARE(scene.matchings(), QList<GC_GenomeMatching *>({kept}));
        QCOMPARE(low->countMatchings(), 1);
    }

    void thresholdHidesMatchingsBelowIt()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        GC_Genome *hiddenLow = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.insertLowGenome(hiddenLow);
        scene.addItemsToScene();
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 40.0);
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 50.0);
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 60.0);
        scene.addMatching(top, hiddenLow, 1, 10, 1, 10, 90.0, 60.0);
        hiddenLow->setShowMatchings(false);
        const QList<GC_GenomeMatching *> list = scene.matchings();

        scene.slotViewMatchingsBitScore(50.0);
        QVERIFY(!list.at(0)->isVisible());
        QVERIFY(list.at(1)->isVisible()); // equal to the threshold
        QVERIFY(list.at(2)->isVisible());
        QVERIFY(!list.at(3)->isVisible()); // hidden for another reason

        scene.slotViewMatchingsBitScore(0.0);
        QVERIFY(list.at(0)->isVisible());
        QVERIFY(!list.at(3)->isVisible());
    }

    // A matching added later obeys the threshold already set.
    void newMatchingObeysThresholdAtOnce()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        scene.slotViewMatchingsBitScore(50.0);
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 49.9);
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 50.0);
        QVERIFY(!scene.matchings().at(0)->isVisible());
        QVERIFY(scene.matchings().at(1)->isVisible());

        scene.slotViewMatchings(false);
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 500.0);
        QVERIFY(!scene.matchings().at(2)->isVisible());
    }

    void showSwitchesReachTheItems()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 40.0);
        scene.addFreeText(QPointF(10, 10));
        GC_GenomeMatching *matching = scene.matchings().first();
        GC_FreeText *text = scene.freeTexts().first();
        QVERIFY(matching->isVisible() && text->isVisible());

        scene.slotSceneToggleMatchings();
        QVERIFY(!scene.showMatchings());
        QVERIFY(!matching->isVisible());
        scene.slotSceneToggleMatchings();
        QVERIFY(matching->isVisible());

        scene.slotSceneToggleFreeTexts();
        QVERIFY(!text->isVisible());
        scene.slotViewFreeTexts(true);
        QVERIFY(text->isVisible());

        // Legends: only the switch changes.
        const QList<bool> visibleBefore = {top->isVisible(), low->isVisible(),
                                           matching->isVisible(), text->isVisible()};
        scene.slotSceneToggleLegends();
        QVERIFY(!scene.showLegends());
        QCOMPARE(QList<bool>({top->isVisible(), low->isVisible(), matching->isVisible(),
                              text->isVisible()}),
                 visibleBefore);

        scene.slotSceneToggleControlPoints();
        QVERIFY(scene.showControlPoints());
        scene.slotSceneToggleRulers();
        scene.slotSceneToggleGenes();
        scene.slotSceneToggleText();
        QVERIFY(!scene.showRulers() && !scene.showGenes() && !scene.showTexts());
    }

    void freeTextIsAddedAtThePoint()
    {
        GC_GenomeScene scene;
        scene.addFreeText(QPointF(120, -40));
        QCOMPARE(scene.freeTexts().size(), 1);
        GC_FreeText *text = scene.freeTexts().first();
        QCOMPARE(text->text(), QString("NEW TEXT"));
        QCOMPARE(text->pos(), QPointF(120, -40));
        QCOMPARE(text->scene(), &scene);
        QVERIFY(scene.isModified());

        // Beyond the canvas's edge: the canvas grows to hold it.
        scene.setSceneRect(0, 0, 100, 100);
        scene.addFreeText(QPointF(400, 300));
        GC_FreeText *outside = scene.freeTexts().last();
        QCoreApplication::processEvents();
        QVERIFY(scene.sceneRect().contains(outside->sceneBoundingRect()));
        scene.removeFreeText(outside);
        delete outside;

        scene.slotViewFreeTexts(false);
        auto *loaded = new GC_FreeText;
        scene.addFreeText(QPointF(), loaded);
        QCOMPARE(scene.freeTexts().size(), 2);
        QVERIFY(!loaded->isVisible());
        scene.removeFreeText(loaded);
        QCOMPARE(scene.freeTexts(), QList<GC_FreeText *>({text}));
    }

    void showOnlySelectedGenomes()
    {
        GC_GenomeScene scene;
        GC_Genome *a = makeGenome(1000);
        GC_Genome *b = makeGenome(1000);
        GC_Genome *c = makeGenome(1000);
        scene.insertTopGenome(a);
        scene.insertTopGenome(b);
        scene.insertLowGenome(c);
        scene.addItemsToScene();
        scene.addMatching(a, c, 1, 10, 1, 10, 90.0, 40.0);
        GC_GenomeMatching *matching = scene.matchings().first();

        b->setSelected(true);
        scene.slotGenomeShowSelectedGenomes();
        QVERIFY(!a->isVisible() && b->isVisible() && !c->isVisible());
        QVERIFY(b->isSelected());
        QVERIFY(!matching->isVisible());

        scene.slotSceneShowAllGenomes();
        QVERIFY(a->isVisible() && c->isVisible() && matching->isVisible());

        scene.clearSelection();
        matching->setSelected(true);
        scene.slotMatchingShowOnlySelectedGenomes();
        QVERIFY(a->isVisible() && !b->isVisible() && c->isVisible());
        QVERIFY(matching->isVisible() && matching->isSelected());

        scene.clearSelection();
        a->setSelected(true);
        scene.slotGenomeHideSelectedGenomes();
        QVERIFY(!a->isVisible());
        QVERIFY(!matching->isVisible());
    }

    void clearSceneKeepsSwitches()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        for (int i = 0; i < 200; ++i)
            scene.addMatching(top, low, 1 + i, 10 + i, 1, 10, 90.0, i);
        scene.addFreeText(QPointF(0, 0));
        scene.setFileName("/tmp/some.kcv");
        scene.setLastErrorText("earlier failure");
        scene.slotViewRulers(false);
        scene.slotViewMatchings(false);
        scene.slotViewControlPoints(true);
        scene.slotViewMatchingsBitScore(75.0);
        scene.setMargin(12.0);
        scene.setMode(GC_GenomeScene::ModeDelete);
        QVERIFY(scene.isModified());
        QSignalSpy modified(&scene, &GC_GenomeScene::modifiedChanged);

        scene.clearScene();
        QVERIFY(scene.items().isEmpty());
        QVERIFY(scene.genomes().isEmpty());
        QVERIFY(scene.matchings().isEmpty());
        QVERIFY(scene.freeTexts().isEmpty());
        QVERIFY(scene.fileName().isEmpty());
        QVERIFY(scene.lastErrorText().isEmpty());
        QVERIFY(!scene.isModified());
        QCOMPARE(modified.count(), 1);
        QCOMPARE(modified.at(0).at(0).toBool(), false);
        QVERIFY(scene.hoverLegend() == nullptr);
        // Kept.
        QVERIFY(!scene.showRulers());
        QVERIFY(!scene.showMatchings());
        QVERIFY(scene.showControlPoints());
        QCOMPARE(scene.matchingsBitScore(), 75.0);
        QCOMPARE(scene.margin(), 12.0);
        QCOMPARE(scene.mode(), int(GC_GenomeScene::ModeDelete));

        // The same scene takes the next document.
        GC_Genome *next = makeGenome(10);
        scene.insertTopGenome(next);
        scene.addItemsToScene();
        QCOMPARE(scene.genomes(), QList<GC_Genome *>({next}));
    }

    void zoomModesClearTheSelection()
    {
        GC_GenomeScene scene;
        GC_Genome *a = makeGenome(100);
        GC_Genome *b = makeGenome(100);
        scene.insertTopGenome(a);
        scene.insertTopGenome(b);
        scene.addItemsToScene();
        a->setSelected(true);
        b->setSelected(true);
        scene.setMode(GC_GenomeScene::ModeDelete);
        QCOMPARE(scene.selectedItems().size(), 2);
        scene.setMode(GC_GenomeScene::ModeZoomIn);
        QVERIFY(scene.selectedItems().isEmpty());
    }

    // ---- modified flag ---------------------------------------------------

    void modifiedSignalOnlyOnChange()
    {
        GC_GenomeScene scene;
        QSignalSpy spy(&scene, &GC_GenomeScene::modifiedChanged);
        scene.setModified(false);
        QCOMPARE(spy.count(), 0);
        scene.setModified(true);
        scene.setModified(true);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
    }

    void userChangesMarkModified()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(1000);
        GC_Genome *low = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        QVERIFY(!scene.isModified());

        // View switches and the threshold are not part of the document.
        scene.slotViewGenes(false);
        scene.slotViewMatchingsBitScore(20.0);
        scene.setMode(GC_GenomeScene::ModeZoomIn);
        QVERIFY(!scene.isModified());

        scene.addMatching(top, low, 1, 10, 1, 10, 90.0, 40.0);
        QVERIFY(scene.isModified());
        scene.setModified(false);

        QSignalSpy changed(&scene, &GC_GenomeScene::changedItem);
        scene.itemChanged();
        QCOMPARE(changed.count(), 1);
        QVERIFY(scene.isModified());
        scene.setModified(false);
        // Commands that announce their change with the signal alone.
        emit scene.changedItem();
        QVERIFY(scene.isModified());
        scene.setModified(false);

        scene.deleteMatching(scene.matchings().first());
        QVERIFY(scene.isModified());
        scene.setModified(false);

        scene.setSeparationBetweenGenomes(10.0);
        QVERIFY(scene.isModified());
        scene.setModified(false);

        top->setSelected(true);
        scene.slotGenomeHideSelectedGenomes();
        QVERIFY(scene.isModified());
    }

    void draggingAGenomeMarksModified()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 600, 300);
        GC_Genome *top = makeGenome(1000);
        scene.insertTopGenome(top);
        scene.addItemsToScene();
        top->setPixPerNuc(0.5);
        top->setPos(0, 0);
        scene.setSceneRect(-100, -100, 800, 400);
        view->centerOn(250, 0);
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QVERIFY(!scene.isModified());

        const QPoint onGenome = view->mapFromScene(QPointF(250, 0));
        // A click without a move changes nothing.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, onGenome);
        QVERIFY(!scene.isModified());

        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, onGenome);
        QTest::mouseMove(view->viewport(), onGenome + QPoint(20, 30));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, onGenome + QPoint(20, 30));
        QVERIFY(top->pos() != QPointF(0, 0));
        QVERIFY(scene.isModified());
    }

    // ---- layout ----------------------------------------------------------

    void adjustToWidthOneGenome()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 860, 400);
        const int width = view->viewport()->width();
        QCOMPARE(width, 860);
        GC_Genome *genome = makeGenome(4000);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setPos(500, 77);
        scene.slotViewAdjustToWidth();
        QCOMPARE(genome->pos(), QPointF(30, 0));
        QCOMPARE(genome->getPixPerNuc(), (width - 60.0) / 4000);
        QVERIFY(scene.isModified());
    }

    void adjustToWidthTwoRows()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 1034, 600);
        QCOMPARE(view->viewport()->width(), 1034);
        GC_Genome *first = makeGenome(1000);
        GC_Genome *second = makeGenome(3000);
        GC_Genome *low = makeGenome(2000);
        scene.insertTopGenome(first);
        scene.insertTopGenome(second);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        first->setVisibleGenome(false);

        scene.slotViewAdjustToWidth();
        const double topScale = (1034 - 7 - 60) / 4000.0;
        QCOMPARE(first->getPixPerNuc(), topScale);
        QCOMPARE(second->getPixPerNuc(), topScale);
        QCOMPARE(first->pos(), QPointF(30, 0));
        QCOMPARE(second->x(), first->getSceneRightX() + 7.0);
        QCOMPARE(second->y(), 0.0);
        QCOMPARE(low->pos(), QPointF(30, 300));
        QCOMPARE(low->getPixPerNuc(), (1034 - 60) / 2000.0);
        // Every genome is shown again.
        QVERIFY(first->isVisible());
        // The right end of the row meets the right margin.
        QVERIFY(qAbs(second->getSceneRightX() - (1034 - 30)) < 1.5);
    }

    void adjustProportionalSharesOneScale()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 1000, 600);
        QCOMPARE(view->viewport()->width(), 1000);
        GC_Genome *topA = makeGenome(1000);
        GC_Genome *topB = makeGenome(1000);
        GC_Genome *low = makeGenome(4000);
        scene.insertTopGenome(topA);
        scene.insertTopGenome(topB);
        scene.insertLowGenome(low);
        scene.addItemsToScene();

        scene.slotViewAdjustProportional();
        // Top: (1000 - 67) / 2000; low: 940 / 4000, the smaller.
        const double scale = 940.0 / 4000;
        QCOMPARE(topA->getPixPerNuc(), scale);
        QCOMPARE(low->getPixPerNuc(), scale);
        QCOMPARE(low->pos(), QPointF(30, 600));
        // The narrower top row is spread: each genome centred in its share.
        const double pad = ((1000 - 67.0) * 1000 / 2000 - scale * 1000) / 2;
        QCOMPARE(topA->pos(), QPointF(30 + pad, 0));
        QVERIFY(qAbs(topB->x() - (topA->getSceneRightX() + pad + 7 + pad)) < 1e-9);
    }

    void adjustProportionalSpreadsTheNarrowerLowRow()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 1000, 600);
        GC_Genome *top = makeGenome(4000);
        GC_Genome *topB = makeGenome(1000);
        GC_Genome *low = makeGenome(2000);
        scene.insertTopGenome(top);
        scene.insertTopGenome(topB);
        scene.insertLowGenome(low);
        scene.addItemsToScene();

        scene.slotViewAdjustProportional();
        const double scale = (1000 - 67.0) / 5000;
        QCOMPARE(top->getPixPerNuc(), scale);
        QCOMPARE(low->getPixPerNuc(), scale);
        // Top packed from the margin, the single low genome centred.
        QCOMPARE(top->pos(), QPointF(30, 0));
        QCOMPARE(topB->x(), top->getSceneRightX() + 7);
        const double pad = (940.0 - scale * 2000) / 2;
        QCOMPARE(low->pos(), QPointF(30 + pad, 600));
        QVERIFY(qAbs(low->getSceneRightX() + pad - (1000 - 30)) < 1.5);
    }

    void layoutNeedsAView()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(100);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setPos(5, 5);
        scene.slotViewAdjustToWidth();
        scene.slotViewAdjustProportional();
        QCOMPARE(genome->pos(), QPointF(5, 5));
        QCOMPARE(genome->getPixPerNuc(), 1.0);
        QVERIFY(!scene.isModified());
    }

    void adjustMatchingToView()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 860, 400);
        GC_Genome *top = makeGenome(10000);
        GC_Genome *low = makeGenome(10000);
        GC_Genome *bystander = makeGenome(10000);
        scene.insertTopGenome(top);
        scene.insertTopGenome(bystander);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        scene.slotViewAdjustToWidth();
        scene.addMatching(top, low, 2001, 3000, 7500, 7001, 95.0, 500.0);
        GC_GenomeMatching *matching = scene.matchings().first();

        scene.slotViewAdjustMatchingToView(matching);
        QVERIFY(!bystander->isVisible());
        QVERIFY(matching->isSelected());
        QCOMPARE(top->getPixPerNuc(), 800.0 / 1000);
        QCOMPARE(low->getPixPerNuc(), 800.0 / 500);
        // Both stretches start at the same scene x.
        const double topLeft = top->mapToScene(top->nucStartX(2001), 0).x();
        const double lowLeft = low->mapToScene(low->nucStartX(7001), 0).x();
        QVERIFY(qAbs(topLeft - lowLeft) < 1e-6);
    }

    void placeWithoutCollisionPicksTheFirstFreeHeight()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(100);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setPos(0, 0);
        auto *bar = new QGraphicsRectItem(0, 0, 100, 5, genome);

        scene.placeWithoutCollision(bar);
        QCOMPARE(bar->y(), -80.0);

        // Something in the way at the top: the first free height below it.
        scene.addRect(0, -85, 100, 17);
        scene.placeWithoutCollision(bar);
        QCOMPARE(bar->y(), -60.0);
    }

    void addGenomeFromTemporaryDatabase()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("temp.kestal");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "builder");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(
                "CREATE TABLE genomes (id INTEGER, name TEXT, dna_sequence TEXT, length INTEGER)"));
        }
        QSqlDatabase::removeDatabase("builder");

        GC_GenomeScene scene;
        auto view = makeView(scene, 860, 400);
        QVERIFY(scene.addGenome(path) == nullptr);
        QVERIFY(!QSqlDatabase::contains("tmpDb"));
        QVERIFY(scene.addGenome(dir.filePath("missing.kestal")) == nullptr);
        QVERIFY(!QFile::exists(dir.filePath("missing.kestal")));
        QVERIFY(!scene.isModified());

        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "builder");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.prepare("INSERT INTO genomes VALUES (0, ?, ?, ?)"));
            query.addBindValue("user sequence");
            query.addBindValue("acgtacgtgg");
            query.addBindValue(10);
            QVERIFY(query.exec());
        }
        QSqlDatabase::removeDatabase("builder");

        GC_Genome *genome = scene.addGenome(path);
        QVERIFY(genome != nullptr);
        QVERIFY(!QSqlDatabase::contains("tmpDb"));
        QCOMPARE(genome->getName(), QString("user sequence"));
        QCOMPARE(genome->getCoords(), GC_Interval(1, 10));
        QCOMPARE(genome->getDatabase(), path);
        QCOMPARE(genome->getDatabaseId(), 0);
        QCOMPARE(scene.topGenomes(), QList<GC_Genome *>({genome}));
        QCOMPARE(genome->scene(), &scene);
        QCOMPARE(genome->pos(), QPointF(30, 0));
        QCOMPARE(genome->getPixPerNuc(), 80.0);
        QVERIFY(scene.isModified());
    }

    // ---- rendering and the view -------------------------------------------

    void twoRowSceneRendersArrowsAndBands()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 800, 420);
        view->setBackgroundBrush(Qt::white);
        GC_Genome *top = makeGenome(1000, "top");
        GC_Genome *low = makeGenome(1000, "low");
        top->setHeightBig(20.0);
        top->setHeightSmall(20.0);
        low->setHeightBig(20.0);
        low->setHeightSmall(20.0);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        scene.slotViewAdjustToWidth();
        scene.addMatching(top, low, 101, 300, 601, 800, 100.0, 500.0);
        GC_GenomeMatching *band = scene.matchings().first();
        band->setColor(QColor(0, 160, 0));
        scene.setSceneRect(0, -60, 800, 420);
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));

        const QImage image = view->grab().toImage();
        QVERIFY(countPixels(image, Qt::white) < image.width() * image.height());

        // Arrow bodies where the genomes lie.
        // (a little off the axis, where a ruler may run)
        const QPoint topMiddle = view->mapFromScene(top->mapToScene(top->nucToX(500), 6));
        const QPoint lowMiddle = view->mapFromScene(low->mapToScene(low->nucToX(500), 6));
        QVERIFY(nearColor(image.pixelColor(topMiddle), GenomeFill));
        QVERIFY(nearColor(image.pixelColor(lowMiddle), GenomeFill));
        QVERIFY(countPixels(image, GenomeFill) > 2 * 600 * 10);

        // The band between them, opaque at 100 % similarity, and nowhere else.
        const QPointF bandTop = top->mapToScene(top->nucToX(200), 0);
        const QPointF bandLow = low->mapToScene(low->nucToX(700), 0);
        const QPoint bandMiddle = view->mapFromScene((bandTop + bandLow) / 2);
        QVERIFY(nearColor(image.pixelColor(bandMiddle), QColor(0, 160, 0)));
        const QPoint outside = view->mapFromScene(QPointF(60, (bandTop.y() + bandLow.y()) / 2));
        QVERIFY(nearColor(image.pixelColor(outside), Qt::white));

        // Above the threshold only.
        scene.slotViewMatchingsBitScore(600.0);
        const QImage hidden = view->grab().toImage();
        QVERIFY(nearColor(hidden.pixelColor(bandMiddle), Qt::white));
    }

    // What the window shows is what the scene draws over the same area,
    // after the steps a user takes: the layout command from the tool bar,
    // zoom clicks on the top genome, wheel steps to the right.
    void windowShowsWhatTheSceneDraws_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("fitted (the low ruler near the viewport's foot)") << QStringList{"fit"};
        QTest::newRow("zoomed, scrolled, fitted again")
            << QStringList{"fit", "zoom", "zoom", "zoom", "wheel", "wheel", "wheel", "fit"};
    }

    void windowShowsWhatTheSceneDraws()
    {
        QFETCH(QStringList, steps);
        GC_GenomeScene scene;
        ViewInWindow shown(scene);
        GC_Genome *top = makeGenome(5000000, "top");
        GC_Genome *low = makeGenome(5000000, "low");
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        top->arrangeChildren(0);
        low->arrangeChildren(1);
        scene.addMatching(top, low, 100000, 2500000, 200000, 2600000, 100.0, 900.0);
        scene.addMatching(top, low, 3000000, 4900000, 4800000, 2900000, 100.0, 800.0);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QWidget *viewport = shown.view->viewport();
        PaintCounter painted;
        viewport->installEventFilter(&painted);
        for (const QString &step : steps) {
            const int paintsBefore = painted.paints;
            if (step == "fit") {
                QTest::mouseClick(shown.bar->widgetForAction(shown.fit), Qt::LeftButton);
            } else if (step == "zoom") {
                scene.setMode(GC_GenomeScene::ModeZoomIn);
                const QPointF onTop = top->mapToScene(top->nucToX(2000000), 0.0);
                QTest::mouseClick(viewport, Qt::LeftButton, {}, shown.view->mapFromScene(onTop));
                scene.setMode(GC_GenomeScene::ModeSelect);
            } else {
                const QPointF at = viewport->rect().center();
                QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(-120, 0),
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(viewport, &wheel);
            }
            // Painted as the window paints between a user's steps: each step
            // changes what the viewport shows.
            QTRY_VERIFY2(painted.paints > paintsBefore, qPrintable(step));
        }
        const QRect where = shown.differences();
        QVERIFY2(where.isEmpty(), qPrintable(QString("pixels differ within (%1, %2) %3 x %4")
                                                 .arg(where.x())
                                                 .arg(where.y())
                                                 .arg(where.width())
                                                 .arg(where.height())));
    }

    void viewZoomsAGenomeByKey()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 800, 300);
        view->setBackgroundBrush(Qt::white);
        GC_Genome *genome = makeGenome(1000);
        genome->setHeightBig(20.0);
        genome->setHeightSmall(20.0);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setPixPerNuc(0.3);
        genome->setPos(250, 0);
        scene.setSceneRect(0, -150, 800, 300);
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        genome->setFocus();
        QVERIFY(genome->hasFocus());
        const int before = countPixels(view->grab().toImage(), GenomeFill);
        const QSignalSpy changed(&scene, &GC_GenomeScene::changedItem);

        QTest::keyClick(view.get(), Qt::Key_Plus);
        QCOMPARE(genome->getPixPerNuc(), 0.3 * 1.2);
        QTest::keyClick(view.get(), Qt::Key_Plus);
        const int after = countPixels(view->grab().toImage(), GenomeFill);
        QVERIFY2(after > before * 1.3, qPrintable(QString("%1 -> %2").arg(before).arg(after)));
        QVERIFY(changed.count() >= 2);
        QVERIFY(scene.isModified());

        QTest::keyClick(view.get(), Qt::Key_Minus);
        QVERIFY(qAbs(genome->getPixPerNuc() - 0.3 * 1.2) < 1e-12);
    }

    void rubberBandSelectsFromEmptyCanvas()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 600, 300);
        QCOMPARE(view->dragMode(), QGraphicsView::RubberBandDrag);
        QVERIFY(view->hasMouseTracking() && view->viewport()->hasMouseTracking());
        GC_Genome *a = makeGenome(100);
        GC_Genome *b = makeGenome(100);
        scene.insertTopGenome(a);
        scene.insertTopGenome(b);
        scene.addItemsToScene();
        a->setPos(100, 0);
        b->setPos(400, 0);
        scene.setSceneRect(0, -150, 600, 300);
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));

        const QPoint from = view->mapFromScene(QPointF(50, -60));
        const QPoint to = view->mapFromScene(QPointF(250, 60));
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view->viewport(), (from + to) / 2);
        QTest::mouseMove(view->viewport(), to);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
        QVERIFY(a->isSelected());
        QVERIFY(!b->isSelected());
        QVERIFY(!scene.isModified());
    }

    // Hover legends need mouse moves with no button pressed.
    void mouseMovesWithoutButtonReachTheScene()
    {
        GC_GenomeScene scene;
        auto view = makeView(scene, 400, 300);
        scene.setSceneRect(0, 0, 400, 300);
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        MoveCounter counter;
        scene.installEventFilter(&counter);
        QTest::mouseMove(view->viewport(), QPoint(100, 100));
        QTest::mouseMove(view->viewport(), QPoint(150, 120));
        QVERIFY(counter.moves >= 1);
        QCOMPARE(counter.lastButtons, Qt::MouseButtons(Qt::NoButton));
    }

    void viewForwardsTheMatchingOfAnAction()
    {
        GC_GenomeView view;
        GC_GenomeMatching matching;
        QAction action;
        action.setData(QVariant::fromValue(qulonglong(quintptr(&matching))));
        QSignalSpy spy(&view, &GC_GenomeView::selectMatching);
        view.selectedMatching(&action);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<GC_GenomeMatching *>(), &matching);
    }
};

KESTAL_TEST_MAIN(TestScene)
#include "tst_scene.moc"
