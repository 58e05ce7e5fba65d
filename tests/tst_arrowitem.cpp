#include "kestal_test.h"

#include "gc_sequencearrowitem.h"

#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

namespace {

// The smallest concrete arrow: its ends and direction are set by the test.
class TestArrow : public GC_SequenceArrowItem
{
public:
    qreal startX = 0.0;
    qreal endX = 100.0;
    bool reverse = false;
    bool isReverse() const override { return reverse; }
    qreal getArrowStartX() const override { return startX; }
    qreal getArrowEndX() const override { return endX; }
};

QList<QPointF> outline(const TestArrow &arrow)
{
    const QList<QPolygonF> polygons = arrow.shape().toSubpathPolygons();
    return polygons.isEmpty() ? QList<QPointF>() : QList<QPointF>(polygons.first());
}

} // namespace

class TestArrowItem : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        TestArrow arrow;
        QCOMPARE(arrow.getHeightBig(), 5.0);
        QCOMPARE(arrow.getHeightSmall(), 5.0);
        QCOMPARE(arrow.getHeadLength(), 5.0);
        QCOMPARE(arrow.getLineColor(), QColor(Qt::black));
        QCOMPARE(arrow.getFillColor(), QColor(24, 115, 205, 255));
        QCOMPARE(arrow.getArrowStyle(), 1);
        QCOMPARE(arrow.type(), int(QGraphicsItem::Type));
    }

    void heightClamps()
    {
        TestArrow arrow;
        arrow.setHeightSmall(8.0);
        QCOMPARE(arrow.getHeightSmall(), 5.0);
        arrow.setHeightBig(3.0);
        QCOMPARE(arrow.getHeightBig(), 3.0);
        QCOMPARE(arrow.getHeightSmall(), 3.0);
        arrow.setHeightBig(-1.0);
        QCOMPARE(arrow.getHeightBig(), 0.0);
        QCOMPARE(arrow.getHeightSmall(), 0.0);
        arrow.setHeightBig(10.0);
        arrow.setHeightSmall(-4.0);
        QCOMPARE(arrow.getHeightSmall(), 0.0);
        arrow.setHeadLength(-2.0);
        QCOMPARE(arrow.getHeadLength(), 0.0);
    }

    void copyTakesPositionAndArrowFields()
    {
        TestArrow original;
        original.setPos(12, 34);
        original.setHeightBig(9.0);
        original.setHeightSmall(7.0);
        original.setHeadLength(2.0);
        original.setFillColor(Qt::green);
        original.setArrowStyle(0);
        original.setZValue(3.0);
        // The copy constructor of the base is what genomes and genes use.
        class Copied : public GC_SequenceArrowItem
        {
        public:
            explicit Copied(const GC_SequenceArrowItem &other) : GC_SequenceArrowItem(other) {}
            bool isReverse() const override { return false; }
            qreal getArrowStartX() const override { return 0; }
            qreal getArrowEndX() const override { return 1; }
        } copy(original);
        QCOMPARE(copy.pos(), QPointF(12, 34));
        QCOMPARE(copy.getHeightBig(), 9.0);
        QCOMPARE(copy.getHeightSmall(), 7.0);
        QCOMPARE(copy.getHeadLength(), 2.0);
        QCOMPARE(copy.getFillColor(), QColor(Qt::green));
        QCOMPARE(copy.getArrowStyle(), 0);
        QCOMPARE(copy.zValue(), 0.0);
    }

    void forwardArrowOutline()
    {
        TestArrow arrow;
        arrow.setHeightBig(10.0);
        arrow.setHeightSmall(6.0);
        arrow.setHeadLength(20.0);
        QCOMPARE(arrow.boundingRect(), QRectF(0, -5, 100, 10));
        const QList<QPointF> points = outline(arrow);
        QVERIFY(points.size() >= 7);
        QCOMPARE(points[0], QPointF(0, 3));
        QCOMPARE(points[1], QPointF(80, 3));
        QCOMPARE(points[2], QPointF(80, 5));
        QCOMPARE(points[3], QPointF(100, 0));
        QCOMPARE(points[4], QPointF(80, -5));
        QCOMPARE(points[6], QPointF(0, -3));
    }

    void reversedArrowPointsLeft()
    {
        TestArrow arrow;
        arrow.reverse = true;
        const QList<QPointF> points = outline(arrow);
        // Body starts at x 100, tip at x 0.
        QCOMPARE(points[0].x(), 100.0);
        QCOMPARE(points[3], QPointF(0, 0));
        QCOMPARE(points[1].x(), 5.0);
        QCOMPARE(arrow.boundingRect(), QRectF(0, -2.5, 100, 5));
    }

    void endsGivenRightToLeft()
    {
        // A gene on a reversed genome reports its start right of its end.
        TestArrow arrow;
        arrow.startX = 100;
        arrow.endX = 40;
        QCOMPARE(arrow.boundingRect(), QRectF(40, -2.5, 60, 5));
        QCOMPARE(outline(arrow)[3], QPointF(40, 0));
    }

    void shortArrowIsAllHead()
    {
        TestArrow arrow;
        arrow.endX = 10;
        arrow.setHeadLength(20);
        const QList<QPointF> points = outline(arrow);
        QCOMPARE(points[1].x(), 0.0); // the neck sits at the start
        QCOMPARE(points[3], QPointF(10, 0));
    }

    void headlessArrowIsBodyClosedAtTheTip()
    {
        TestArrow arrow;
        arrow.setHeadLength(-2.0);
        const QList<QPointF> points = outline(arrow);
        QCOMPARE(points[1].x(), 100.0);
        QCOMPARE(points[2], QPointF(100, 2.5));
        QCOMPARE(points[4], QPointF(100, -2.5));
    }

    void boxAndUnknownStyles()
    {
        TestArrow arrow;
        arrow.reverse = true;
        arrow.setArrowStyle(0);
        QCOMPARE(arrow.shape().boundingRect(), arrow.boundingRect());
        QCOMPARE(arrow.shape().elementCount(), 5);
        arrow.setArrowStyle(2);
        QVERIFY(arrow.shape().boundingRect().isEmpty());
    }

    void outlineFollowsChangedEnds()
    {
        // The outline is cached; it must still follow ends that move.
        TestArrow arrow;
        QCOMPARE(outline(arrow)[3], QPointF(100, 0));
        arrow.endX = 250;
        QCOMPARE(outline(arrow)[3], QPointF(250, 0));
        arrow.reverse = true;
        QCOMPARE(outline(arrow)[3], QPointF(0, 0));
        arrow.setHeightBig(20);
        QCOMPARE(outline(arrow)[4].y(), -10.0);
    }

    void selectedArrowIsDashedAndDotted()
    {
        QGraphicsScene scene;
        auto *arrow = new TestArrow;
        arrow->setFlag(QGraphicsItem::ItemIsSelectable);
        arrow->setHeightBig(40);
        arrow->setHeightSmall(40);
        arrow->setHeadLength(0);
        arrow->endX = 200;
        arrow->setFillColor(Qt::blue);
        scene.addItem(arrow);
        auto render = [&]() {
            QImage image(220, 60, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, 220, 60), QRectF(-10, -30, 220, 60));
            return image;
        };
        auto bluePixels = [](const QImage &image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += image.pixelColor(x, y) == QColor(Qt::blue);
            return count;
        };
        const int solid = bluePixels(render());
        QVERIFY(solid > 200 * 35);
        arrow->setSelected(true);
        const int dotted = bluePixels(render());
        QVERIFY(dotted < solid * 3 / 4);
        QVERIFY(dotted > solid / 4);
        arrow->setSelected(false);
        QCOMPARE(bluePixels(render()), solid);
    }

    void narrowArrowIsDrawnAsAHairline()
    {
        QGraphicsScene scene;
        auto *arrow = new TestArrow;
        arrow->endX = 0.2;
        arrow->setHeightBig(40);
        arrow->setFillColor(Qt::blue);
        scene.addItem(arrow);
        QImage image(20, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        scene.render(&painter, QRectF(0, 0, 20, 60), QRectF(-10, -30, 20, 60));
        painter.end();
        int blue = 0;
        for (int y = 0; y < 60; ++y)
            blue += image.pixelColor(10, y).blue() > 200 && image.pixelColor(10, y).red() < 100;
        QVERIFY2(blue >= 30, "a gene under a pixel wide still shows");
    }
};

KESTAL_TEST_MAIN(TestArrowItem)
#include "tst_arrowitem.moc"
