#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationcontrolpoint.h"
#include "gc_anotationtext.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_style.h"

#include <QImage>
#include <QPainter>

namespace {

struct Canvas
{
    GC_GenomeScene scene;
    GC_Genome *genome = nullptr;
    GC_Anotation *anotation = nullptr;

    explicit Canvas(int orientation = 1)
    {
        genome = new GC_Genome;
        genome->setCoords(GC_Interval(1, 1000));
        genome->setOrientation(orientation);
        genome->setShowRuler(false);
        genome->setShowText(false);
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        genome->setPos(0, 0);
        anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(101, 200));
        anotation->setName("promoter");
        genome->addAnotation(anotation);
        anotation->updateVisibility();
        anotation->updateTextVisibility();
    }

    // Start handle first: the annotation creates it first.
    QList<GC_AnotationControlPoint *> handles() const
    {
        QList<GC_AnotationControlPoint *> found;
        for (QGraphicsItem *child : anotation->childItems())
            if (auto *handle = dynamic_cast<GC_AnotationControlPoint *>(child))
                found.append(handle);
        return found;
    }

    QImage render(const QRectF &source)
    {
        QImage image(source.size().toSize(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        scene.render(&painter, QRectF(QPointF(0, 0), source.size()), source);
        return image;
    }
};

} // namespace

// Annotations: the box over their range, the range after handle drags on
// both orientations, the label, styling and copying.
class TestAnotation : public QObject
{
    Q_OBJECT

private slots:
    void handleDragsOnAForwardGenome()
    {
        Canvas canvas;
        canvas.anotation->setSelected(true);
        const auto handles = canvas.handles();
        QCOMPARE(handles.size(), 2);
        GC_AnotationControlPoint *start = handles[0], *end = handles[1];
        QCOMPARE(start->getAnotation(), canvas.anotation);
        QCOMPARE(start->x(), 100.0);
        QCOMPARE(end->x(), 199.0);
        QCOMPARE(start->shapeType(), 0);
        QCOMPARE(end->shapeType(), 1);

        // A diagonal drag moves the handle along the axis only.
        start->setPos(140.2, 33);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(141, 200));
        QCOMPARE(start->pos(), QPointF(140, 0));
        end->setPos(250.3, 0);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(141, 251));
        QCOMPARE(end->x(), 250.0);
        // The box and the label follow.
        QCOMPARE(canvas.anotation->boundingRect(), QRectF(140, -5, 111, 10));
        QCOMPARE(canvas.anotation->getLabel()->x(), 195.5);

        // Neither handle passes the other.
        start->setPos(600, 0);
        QCOMPARE(start->x(), 250.0);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(251, 251));
        start->setPos(100, 0);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(101, 251));
        end->setPos(20, 0);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(101, 101));
        QVERIFY(canvas.anotation->getCoords().start() <= canvas.anotation->getCoords().end());

        canvas.anotation->setSelected(false);
        QVERIFY(canvas.handles().isEmpty());
    }

    void handleDragsOnAReverseGenome()
    {
        Canvas canvas(-1);
        canvas.anotation->setSelected(true);
        const auto handles = canvas.handles();
        QCOMPARE(handles.size(), 2);
        GC_AnotationControlPoint *start = handles[0], *end = handles[1];
        // A reverse genome runs from 1000 at x 0: the start lies right.
        QCOMPARE(start->x(), 900.0);
        QCOMPARE(end->x(), 801.0);
        QCOMPARE(start->shapeType(), 1);
        QCOMPARE(end->shapeType(), 0);
        QCOMPARE(canvas.anotation->boundingRect(), QRectF(800, -5, 100, 10));

        start->setPos(940, 0); // right: towards nucleotide 1
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(61, 200));
        QCOMPARE(start->x(), 940.0);
        end->setPos(760, 0);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(61, 241));
        QCOMPARE(end->x(), 760.0);
        start->setPos(700, 0); // past the end handle: stops there
        QCOMPARE(start->x(), 760.0);
        QCOMPARE(canvas.anotation->getCoords(), GC_Interval(241, 241));
    }

    void handlesFollowTheSwitch()
    {
        Canvas canvas;
        canvas.anotation->setSelected(true);
        QVERIFY(!canvas.handles()[0]->isVisible());
        canvas.scene.slotViewControlPoints(true);
        QVERIFY(canvas.handles()[0]->isVisible() && canvas.handles()[1]->isVisible());
        canvas.anotation->setSelected(false);
        canvas.anotation->setSelected(true);
        QVERIFY(canvas.handles()[1]->isVisible());
        canvas.scene.slotViewControlPoints(false);
        QVERIFY(!canvas.handles()[1]->isVisible());
        // Without handles the switch does nothing.
        canvas.anotation->setSelected(false);
        canvas.anotation->updateControlPointsVisibility();
        QVERIFY(canvas.handles().isEmpty());
    }

    void boxFollowsTheGenome()
    {
        Canvas canvas;
        QCOMPARE(canvas.anotation->boundingRect(), QRectF(100, -5, 100, 10));
        canvas.genome->setPixPerNuc(2.0);
        QCOMPARE(canvas.anotation->boundingRect(), QRectF(200, -5, 200, 10));
        QCOMPARE(canvas.anotation->getLabel()->x(), 300.0);
        canvas.anotation->setHeight(-5);
        QCOMPARE(canvas.anotation->getHeight(), 0.0);
        QCOMPARE(canvas.anotation->boundingRect().height(), 0.0);
        canvas.anotation->setHeight(10);
        QCOMPARE(canvas.anotation->boundingRect(), QRectF(200, -5, 200, 10));
        // Sideways drags keep x at 0.
        canvas.anotation->setPos(55, -20);
        QCOMPARE(canvas.anotation->pos(), QPointF(0, -20));
        GC_Anotation orphan;
        QCOMPARE(orphan.boundingRect(), QRectF());
        QCOMPARE(orphan.getGenome(), nullptr);
    }

    void paintsItsFillOnly()
    {
        Canvas canvas;
        canvas.anotation->setY(30);
        canvas.anotation->setFillColor(Qt::green);
        canvas.anotation->setLineColor(Qt::red);
        canvas.anotation->getLabel()->setVisible(false);
        const QImage image = canvas.render(QRectF(90, 20, 120, 20));
        QCOMPARE(image.pixelColor(60, 10), QColor(Qt::green));
        // No outline: the edge row is fill too, never the line colour.
        for (int x = 11; x < 110; ++x)
            QVERIFY(image.pixelColor(x, 5) != QColor(Qt::red));
        QCOMPARE(image.pixelColor(5, 10), QColor(Qt::white));
        // Selected: a dotted fill leaves some pixels white.
        canvas.anotation->setSelected(true);
        const QImage selected = canvas.render(QRectF(90, 20, 120, 20));
        int green = 0, white = 0;
        for (int x = 20; x < 100; ++x) {
            green += selected.pixelColor(x, 10) == QColor(Qt::green);
            white += selected.pixelColor(x, 10) == QColor(Qt::white);
        }
        QVERIFY(green > 10 && white > 10);
    }

    void nameAndLabel()
    {
        GC_Genome genome; // outside a scene the label may be put anywhere
        genome.setCoords(GC_Interval(1, 1000));
        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(11, 20));
        genome.addAnotation(anotation);
        anotation->setName("site");
        QCOMPARE(anotation->toolTip(), QString("site"));
        QCOMPARE(anotation->getLabel()->x(), 15.0);
        anotation->getLabel()->setX(3);
        anotation->setToolTip("kept");
        anotation->setName("site"); // the same: nothing happens
        QCOMPARE(anotation->getLabel()->x(), 3.0);
        QCOMPARE(anotation->toolTip(), QString("kept"));
        anotation->setName("site 2");
        QCOMPARE(anotation->getLabel()->x(), 15.0);
        QCOMPARE(anotation->toolTip(), QString("site 2"));
        QCOMPARE(anotation->getName(), QString("site 2"));
    }

    void labelVisibility()
    {
        Canvas canvas;
        GC_AnotationText *label = canvas.anotation->getLabel();
        QCOMPARE(label->getAnotation(), canvas.anotation);
        QVERIFY(label->isVisible());
        canvas.scene.slotViewTexts(false);
        QVERIFY(!label->isVisible());
        canvas.scene.slotViewTexts(true);
        QVERIFY(label->isVisible());
        canvas.anotation->setShowText(false);
        QVERIFY(!label->isVisible());
        canvas.anotation->setShowText(true);
        QVERIFY(label->isVisible());
        canvas.scene.slotViewAnotations(false);
        QVERIFY(!canvas.anotation->isVisible());
        canvas.scene.slotViewAnotations(true);
        canvas.genome->setShowAnotations(false);
        QVERIFY(!canvas.anotation->isVisible());
    }

    void arrivesObeyingTheSwitches()
    {
        Canvas canvas;
        canvas.scene.slotViewTexts(false);
        canvas.scene.slotViewAnotations(false);
        auto *late = new GC_Anotation;
        late->setCoords(GC_Interval(500, 600));
        late->setName("late");
        canvas.genome->addAnotation(late);
        QVERIFY(!late->isVisible());
        QVERIFY(!late->getLabel()->isVisible());
        canvas.scene.slotViewTexts(true);
        canvas.scene.slotViewAnotations(true);
        QVERIFY(late->isVisible() && late->getLabel()->isVisible());
        // A copy keeps its own showText once on the canvas.
        late->setShowText(false);
        auto *copy = new GC_Anotation(*late);
        canvas.genome->addAnotation(copy);
        QVERIFY(copy->isVisible());
        QVERIFY(!copy->getLabel()->isVisible());
    }

    void applyStyle()
    {
        Canvas canvas;
        GC_Anotation *a = canvas.anotation;
        GC_Style style;
        style.anotationY = 25;
        style.anotationHeight = 6;
        style.anotationShowText = false;
        style.anotationTextY = -12;
        style.anotationTextAngle = 45;
        style.anotationTextPositionFlag = 2;
        style.anotationLineColor = Qt::blue;
        style.anotationFillColor = Qt::cyan;
        style.anotationTextColor = Qt::darkRed;
        QFont font("Serif", 17);
        font.setBold(true);
        style.anotationTextFont = font;

        a->applyStyle(style, false); // no flag set: nothing changes
        QCOMPARE(a->y(), 0.0);
        QCOMPARE(a->getHeight(), 10.0);
        QCOMPARE(a->getFillColor(), QColor(255, 255, 0));

        style.applyAnotationHeight = true;
        style.applyAnotationFillColor = true;
        a->applyStyle(style, false);
        QCOMPARE(a->getHeight(), 6.0);
        QCOMPARE(a->getFillColor(), QColor(Qt::cyan));
        QCOMPARE(a->y(), 0.0);
        QVERIFY(a->getShowText());
        QCOMPARE(a->getTextAngle(), 0.0);

        a->applyStyle(style, true);
        QCOMPARE(a->y(), 25.0);
        QVERIFY(!a->getShowText());
        QVERIFY(!a->getLabel()->isVisible());
        QCOMPARE(a->getTextY(), -12.0);
        QCOMPARE(a->getTextAngle(), 45.0);
        QCOMPARE(a->getTextPositionFlag(), 2);
        QCOMPARE(a->getLineColor(), QColor(Qt::blue));
        QCOMPARE(a->getTextColor(), QColor(Qt::darkRed));
        QCOMPARE(a->getTextFont(), font);
        // The label stays centred over the box after the font change.
        QCOMPARE(a->getLabel()->x(), 150.0);
    }

    void copyKeepsEverything()
    {
        Canvas canvas;
        GC_Anotation *a = canvas.anotation;
        a->setId(7);
        a->setY(-18);
        a->setHeight(4);
        a->setShowText(false);
        a->setTextY(9);
        a->setTextAngle(30);
        a->setTextPositionFlag(0);
        a->setLineColor(Qt::gray);
        a->setFillColor(Qt::magenta);
        a->setTextColor(Qt::blue);
        a->setTextFont(QFont("Monospace", 13));
        const GC_Anotation copy(*a);
        QCOMPARE(copy.getId(), 7);
        QCOMPARE(copy.pos(), QPointF(0, -18));
        QCOMPARE(copy.getName(), QString("promoter"));
        QCOMPARE(copy.getCoords(), GC_Interval(101, 200));
        QCOMPARE(copy.getHeight(), 4.0);
        QVERIFY(!copy.getShowText());
        QCOMPARE(copy.getTextY(), 9.0);
        QCOMPARE(copy.getTextAngle(), 30.0);
        QCOMPARE(copy.getTextPositionFlag(), 0);
        QCOMPARE(copy.getLineColor(), QColor(Qt::gray));
        QCOMPARE(copy.getFillColor(), QColor(Qt::magenta));
        QCOMPARE(copy.getTextColor(), QColor(Qt::blue));
        QCOMPARE(copy.getTextFont(), QFont("Monospace", 13));
        QCOMPARE(copy.flags(), a->flags());
        QVERIFY(copy.getLabel() != a->getLabel());
        QCOMPARE(copy.parentItem(), nullptr);

        // A fresh one: defaults.
        const GC_Anotation fresh;
        QCOMPARE(fresh.getId(), -1);
        QCOMPARE(fresh.getCoords(), GC_Interval(1, 1));
        QVERIFY(fresh.getShowText());
        QCOMPARE(fresh.getTextColor(), QColor(Qt::black));
        QCOMPARE(fresh.getTextPositionFlag(), 1);
        QCOMPARE(fresh.getName(), QString());
    }
};

KESTAL_TEST_MAIN(TestAnotation)
#include "tst_anotation.moc"
