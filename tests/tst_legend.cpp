#include "kestal_test.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_legend.h"

#include <QGraphicsRectItem>

namespace {

GC_Genome *makeGenome(GC_GenomeScene &scene, int from, int to)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(from, to));
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    genome->setShowText(false);
    genome->setShowRuler(false);
    return genome;
}

} // namespace

// The hover bubble: its text, where it stands and where its pointer ends.
class TestLegend : public QObject
{
    Q_OBJECT

private slots:
    void textAndReadOnlySwitch()
    {
        GC_Legend legend;
        QCOMPARE(legend.type(), int(ITEMTYPE_LEGEND));
        QCOMPARE(legend.zValue(), 100.0);
        legend.setHtml("<b>COG0001</b><br>Glutamate-1-semialdehyde aminotransferase");
        QCOMPARE(legend.html(), QString("<b>COG0001</b><br>Glutamate-1-semialdehyde aminotransferase"));
        QCOMPARE(legend.toPlainText(),
                 QString("COG0001\nGlutamate-1-semialdehyde aminotransferase"));
        QCOMPARE(legend.textInteractionFlags(), Qt::NoTextInteraction);
        legend.setReadOnly(false);
        QCOMPARE(legend.textInteractionFlags(), Qt::TextEditorInteraction);
        legend.setReadOnly(true);
        QCOMPARE(legend.textInteractionFlags(), Qt::NoTextInteraction);
    }

    // Without an anchor there is no outline, so nothing of it is drawn.
    void noAnchorNoOutline()
    {
        GC_Legend legend;
        legend.setHtml("text");
        QVERIFY(legend.shape().isEmpty());
        QVERIFY(legend.boundingRect().isEmpty());
    }

    // Below its parent the pointer ends on the parent's bottom edge over the
    // middle of the range; above it, on the top edge.
    void pointerEndsOverTheRange()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        auto *parent = new QGraphicsRectItem(0, 0, 1000, 30, genome);
        auto *legend = new GC_Legend;
        legend->setParentItem(parent);
        legend->setHtml("hit");
        legend->setAnchor(genome, 101, 300);
        QVERIFY(!legend->isAbove());
        const double xa = (genome->nucToX(101) + genome->nucToX(300)) / 2.0;
        const double parentHeight = parent->boundingRect().height();
        QCOMPARE(legend->mapToParent(legend->shape().elementAt(0)), QPointF(xa, parentHeight));
        QCOMPARE(legend->pos(), QPointF(genome->nucToX(101), parentHeight + 20.0));
        // The outline reaches up to the tip.
        QCOMPARE(legend->mapRectToParent(legend->boundingRect()).top(), parentHeight);

        // Setting the same anchor again does not move it.
        legend->setPos(3, 4);
        legend->setAnchor(genome, 101, 300);
        QCOMPARE(legend->pos(), QPointF(3, 4));

        // Copies keep parent, text and anchor.
        GC_Legend copy(*legend);
        QCOMPARE(copy.parentItem(), parent);
        QCOMPARE(copy.html(), QString("hit"));
        QCOMPARE(copy.anchorItem(), genome);
        QCOMPARE(copy.anchorStart(), 101);
        QCOMPARE(copy.anchorEnd(), 300);
        QCOMPARE(copy.zValue(), 100.0);
    }

    // A tie leaves the bubble below; more items below send it above.
    void sideWithFewerItems()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        auto *parent = new QGraphicsRectItem(0, 10, 1000, 30, genome);
        auto *legend = new GC_Legend;
        legend->setParentItem(parent);
        legend->setHtml("a hit");
        legend->setAnchor(genome, 200, 300);
        QVERIFY(!legend->isAbove());
        QVERIFY(legend->y() > 30.0);

        // Two items where the bubble would stand below.
        const QRectF below = legend->sceneBoundingRect();
        scene.addRect(below.adjusted(5, 5, -5, -5));
        scene.addRect(below.adjusted(8, 8, -8, -8));
        legend->setAnchor(genome, 201, 300);
        QVERIFY(legend->isAbove());
        QVERIFY(legend->y() < 0.0);
        const QPointF tip = legend->mapToParent(legend->shape().elementAt(0));
        QCOMPARE(tip.y(), 0.0);
    }

    // A bubble that would pass the view's right edge by 30 pixels moves 40
    // pixels left, ending 10 pixels inside the view.
    void keepsInsideTheView()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_GenomeView view;
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(600, 300);
        view.setScene(&scene);
        scene.setSceneRect(0, -100, 600, 300);
        view.show();
        QCoreApplication::processEvents();
        const double viewRight = view.mapToScene(QPoint(view.viewport()->width(), 0)).x();

        auto *legend = new GC_Legend;
        legend->setParentItem(genome);
        legend->setHtml("a rather long description of the hit under the mouse");
        legend->adjustSize();
        const double width = legend->QGraphicsTextItem::boundingRect().width();
        const double x0 = genome->nucToX(101);
        genome->setX(viewRight + 30.0 - width - x0);
        legend->setAnchor(genome, 101, 200);
        QCOMPARE(legend->x(), x0 - 40.0);
        QCOMPARE(legend->mapToScene(QPointF(width, 0)).x(), viewRight - 10.0);
    }
};

KESTAL_TEST_MAIN(TestLegend)
#include "tst_legend.moc"
