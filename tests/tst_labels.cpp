#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationtext.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genometext.h"
#include "gc_labelitem.h"

namespace {

// Where the label's text lands around its position (parent coordinates).
QRectF placed(const GC_LabelItem &label)
{
    return label.mapRectToParent(label.boundingRect());
}

QSizeF textSize(const GC_LabelItem &label)
{
    return label.QGraphicsSimpleTextItem::boundingRect().size();
}

bool near(const QRectF &a, const QRectF &b)
{
    const double e = 1e-6;
    return std::abs(a.left() - b.left()) < e && std::abs(a.top() - b.top()) < e
           && std::abs(a.width() - b.width()) < e && std::abs(a.height() - b.height()) < e;
}

} // namespace

// Text labels: anchor modes and turning, what leaves the transform alone,
// fonts from stored texts, and the owners' labels.
class TestLabels : public QObject
{
    Q_OBJECT

private slots:
    void anchorModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("left"); // in text widths
        QTest::newRow("starts at its position") << 0 << 0.0;
        QTest::newRow("centred") << 1 << -0.5;
        QTest::newRow("ends at its position") << 2 << -1.0;
    }

    void anchorModes()
    {
        QFETCH(int, mode);
        QFETCH(double, left);
        GC_LabelItem label;
        label.setText("Kestal genome label");
        label.setPos(40, 70);
        label.setPositionFlag(mode);
        const QSizeF size = textSize(label);
        QVERIFY(size.width() > 20 && size.height() > 5);
        QVERIFY(near(placed(label), QRectF(40 + left * size.width(), 70 - size.height() / 2,
                                           size.width(), size.height())));
        // A longer text keeps the same anchor.
        label.setText("Kestal genome label, longer");
        const QSizeF longer = textSize(label);
        QVERIFY(near(placed(label), QRectF(40 + left * longer.width(), 70 - longer.height() / 2,
                                           longer.width(), longer.height())));
    }

    void turnsAboutItsAnchor()
    {
        GC_LabelItem label;
        label.setText("upwards");
        const QSizeF size = textSize(label);
        const double w = size.width(), h = size.height();
        // 90 degrees counter-clockwise: mode 0 runs up from the anchor.
        label.setPositionFlag(0);
        label.setAngle(90);
        QVERIFY(near(placed(label), QRectF(-h / 2, -w, h, w)));
        // Mode 2 ends at the anchor, coming up from below it.
        label.setPositionFlag(2);
        QVERIFY(near(placed(label), QRectF(-h / 2, 0, h, w)));
        // Mode 1 stays centred on it at any angle.
        label.setPositionFlag(1);
        for (double angle : {30.0, 90.0, 180.0, -45.0}) {
            label.setAngle(angle);
            QVERIFY(std::abs(placed(label).center().x()) < 1e-6);
            QVERIFY(std::abs(placed(label).center().y()) < 1e-6);
        }
    }

    void unknownModeKeepsTheTransform()
    {
        GC_LabelItem label;
        label.setText("kept");
        label.setPositionFlag(2);
        const QTransform before = label.transform();
        label.setPositionFlag(5);
        QCOMPARE(label.positionFlag(), 5);
        QCOMPARE(label.transform(), before);
        label.setAngle(60); // no anchor to turn about: left as it was
        QCOMPARE(label.transform(), before);
        label.setPositionFlag(1);
        const QSizeF size = textSize(label);
        QVERIFY(label.transform() != before);
        QCOMPARE(label.mapToParent(QPointF(size.width() / 2, size.height() / 2)).toPoint(),
                 QPoint(0, 0));
    }

    void sameValuesLeaveTheTransformAlone()
    {
        GC_LabelItem label;
        label.setText("same");
        label.setAngle(20);
        const QFont font = label.font();
        const QTransform own = QTransform::fromScale(3, 3);
        label.setTransform(own);
        label.setText("same");
        label.setAngle(20);
        label.setPositionFlag(1);
        label.setFont(font);
        QCOMPARE(label.transform(), own);
        label.setText("other");
        QVERIFY(label.transform() != own);
    }

    void newFontKeepsItCentred()
    {
        GC_LabelItem label;
        label.setText("centred text");
        label.setPos(10, 10);
        QFont big = label.font();
        big.setPointSize(big.pointSize() * 3);
        label.setFont(big);
        QCOMPARE(label.font(), big);
        QVERIFY(std::abs(placed(label).center().x() - 10) < 1e-6);
        QVERIFY(std::abs(placed(label).center().y() - 10) < 1e-6);
    }

    void colourKeepsTheBrushStyle()
    {
        GC_LabelItem label;
        label.setBrush(QBrush(Qt::black, Qt::Dense3Pattern));
        label.setColor(Qt::darkGreen);
        QCOMPARE(label.color(), QColor(Qt::darkGreen));
        QCOMPARE(label.brush().style(), Qt::Dense3Pattern);
    }

    void fontsFromStoredTexts()
    {
        GC_LabelItem label;
        QFont font("Serif", 15);
        font.setItalic(true);
        font.setBold(true);
        label.setFontString(font.toString());
        QCOMPARE(label.font().family(), font.family());
        QCOMPARE(label.font().pointSize(), 15);
        QVERIFY(label.font().italic() && label.font().bold());
        // Qt 4's ten-field form, weight 75 on its old scale meaning bold.
        label.setFontString("Sans Serif,12,-1,5,75,0,0,0,0,0");
        QCOMPARE(label.font().pointSize(), 12);
        QVERIFY(label.font().bold());
        QVERIFY(!label.font().italic());
        // Not a font: nothing changes.
        const QFont before = label.font();
        label.setFontString("");
        QCOMPARE(label.font(), before);
    }

    void genomeLabelRemembersWhereItWasDragged()
    {
        GC_GenomeScene scene;
        auto *genome = new GC_Genome;
        genome->setCoords(GC_Interval(1, 1000));
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        GC_GenomeText *label = genome->getNameLabel();
        QCOMPARE(label->getGenome(), genome);
        QVERIFY(label->flags() & QGraphicsItem::ItemIsMovable);
        QVERIFY(label->flags() & QGraphicsItem::ItemIsSelectable);
        const QRectF arrow = genome->boundingRect();
        label->setPos(arrow.left() + 0.25 * arrow.width(), -30);
        QCOMPARE(genome->getTextX(), 0.25);
        QCOMPARE(label->y(), -30.0); // moves freely in y too
        // It keeps that fraction when the genome is rescaled.
        genome->setPixPerNuc(2.0);
        const QRectF wider = genome->boundingRect();
        QVERIFY(std::abs(label->x() - (wider.left() + 0.25 * wider.width())) < 1e-6);
        // Visibility: its own switch and the scene's.
        QVERIFY(label->isVisible());
        genome->setShowText(false);
        QVERIFY(!label->isVisible());
        genome->setShowText(true);
        scene.slotViewTexts(false);
        QVERIFY(!label->isVisible());
        GC_Genome outside;
        outside.getNameLabel()->updateVisibility();
        QVERIFY(!outside.getNameLabel()->isVisible());
    }

    void anotationLabelStaysCentredOverItsBox()
    {
        GC_GenomeScene scene;
        auto *genome = new GC_Genome;
        genome->setCoords(GC_Interval(1, 1000));
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(301, 400));
        anotation->setName("box");
        genome->addAnotation(anotation);
        GC_AnotationText *label = anotation->getLabel();
        QCOMPARE(label->type(), int(ITEMTYPE_ANOTATIONTEXT));
        label->setPos(10, -25);
        QCOMPARE(label->pos(), QPointF(350, -25));
        label->setPos(900, 40);
        QCOMPARE(label->pos(), QPointF(350, 40));
        QCOMPARE(anotation->getTextY(), 40.0);
    }

    void freeTextsFollowTheirSwitch()
    {
        GC_GenomeScene scene;
        scene.addFreeText(QPointF(5, 5));
        scene.addFreeText(QPointF(50, 5));
        const QList<GC_FreeText *> texts = scene.freeTexts();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0]->text(), QString("NEW TEXT"));
        scene.slotViewFreeTexts(false);
        QVERIFY(!texts[0]->isVisible() && !texts[1]->isVisible());
        scene.slotViewFreeTexts(true);
        QVERIFY(texts[0]->isVisible() && texts[1]->isVisible());
        // The labels switch is not theirs.
        scene.slotViewTexts(false);
        QVERIFY(texts[0]->isVisible());
    }
};

KESTAL_TEST_MAIN(TestLabels)
#include "tst_labels.moc"
