#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationcontrolpoint.h"
#include "gc_anotationtext.h"
#include "gc_coghomologies.h"
#include "gc_controlpoint.h"
#include "gc_freetext.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genecontrolpoint.h"
#include "gc_genome.h"
#include "gc_genomelengthcontrolpoint.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genometext.h"
#include "gc_labelitem.h"
#include "gc_legend.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_ruler.h"

#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <memory>

namespace {

GC_Genome *makeGenome(GC_GenomeScene &scene, int from, int to, double pixPerNuc = 1.0)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(from, to));
    genome->setPixPerNuc(pixPerNuc);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    return genome;
}

} // namespace

// The items a genome hangs its children on: type codes, handles, labels,
// annotations, ruler, GC-content bar, legend and the homology bars.
class TestCanvasItems : public QObject
{
    Q_OBJECT

private slots:
    void typeCodes()
    {
        GC_Genome genome;
        GC_Gene gene;
        GC_Anotation anotation;
        GC_GenomeMatching matching;
        GC_Legend legend;
        GC_FreeText freeText;
        QCOMPARE(matching.type(), 65537);
        QCOMPARE(genome.type(), 65538);
        QCOMPARE(genome.getNameLabel()->type(), 65539);
        QCOMPARE(gene.type(), 65540);
        QCOMPARE(genome.getRuler()->type(), 65542);
        QCOMPARE(anotation.type(), 65543);
        QCOMPARE(anotation.getLabel()->type(), 65544);
        QCOMPARE(freeText.type(), 65545);
        QCOMPARE(genome.getGCcontentBar()->type(), 65546);
        QCOMPARE(genome.getCogHomologies()->type(), 65547);
        QCOMPARE(genome.getRfamHomologies()->type(), 65548);
        QCOMPARE(genome.getrRNAHomologies()->type(), 65549);
        QCOMPARE(legend.type(), 65550);
        // Handles and a bare label report no code of the table.
        GC_GenomeLengthControlPoint handle(&genome);
        QCOMPARE(handle.type(), int(QGraphicsItem::Type));
        GC_LabelItem label;
        QCOMPARE(label.type(), int(QGraphicsSimpleTextItem::Type));
    }

    void handleExtents()
    {
        GC_Genome genome;
        GC_GenomeLengthControlPoint handle(&genome);
        handle.setPos(100, 0);
        handle.setShapeType(0);
        QCOMPARE(handle.mapRectToParent(handle.boundingRect()), QRectF(92, -4, 8, 8));
        handle.setShapeType(1);
        QCOMPARE(handle.mapRectToParent(handle.boundingRect()), QRectF(100, -4, 8, 8));
        handle.setShapeType(2);
        QCOMPARE(handle.mapRectToParent(handle.boundingRect()), QRectF(96, -4, 8, 8));
        handle.setShapeType(3);
        QVERIFY(handle.boundingRect().isEmpty());
        QVERIFY(handle.polygon().isEmpty());
        QCOMPARE(handle.getGenome(), &genome);
        QVERIFY(handle.flags() & QGraphicsItem::ItemIsMovable);
        QVERIFY(!(handle.flags() & QGraphicsItem::ItemIsSelectable));
    }

    void labelAnchors()
    {
        GC_LabelItem label;
        label.setText("Kestal genome");
        const QRectF text = static_cast<QGraphicsSimpleTextItem &>(label).boundingRect();
        const double w = text.width(), h = text.height();
        auto placed = [&]() { return label.mapRectToParent(label.boundingRect()); };
        QCOMPARE(label.positionFlag(), 1);
        QCOMPARE(placed(), QRectF(-w / 2, -h / 2, w, h));
        label.setPositionFlag(0);
        QCOMPARE(placed(), QRectF(0, -h / 2, w, h));
        label.setPositionFlag(2);
        QCOMPARE(placed(), QRectF(-w, -h / 2, w, h));
        // An unknown mode keeps the transform it had.
        label.setPositionFlag(5);
        QCOMPARE(placed(), QRectF(-w, -h / 2, w, h));
        label.setPositionFlag(1);
        QCOMPARE(placed(), QRectF(-w / 2, -h / 2, w, h));
        // Upward text from its anchor at 90 degrees.
        label.setPositionFlag(0);
        label.setAngle(90);
        const QRectF turned = placed();
        QVERIFY(qAbs(turned.bottom()) < 1e-9 || qAbs(turned.bottom() - 0.0) < 1e-6);
        QVERIFY(qAbs(turned.top() + w) < 1e-6);
        // A new font keeps a centred label centred.
        label.setAngle(0);
        label.setPositionFlag(1);
        QFont big = label.font();
        big.setPointSize(big.pointSize() * 3);
        label.setFont(big);
        QVERIFY(qAbs(placed().center().x()) < 1e-6 && qAbs(placed().center().y()) < 1e-6);
        label.setColor(Qt::darkBlue);
        QCOMPARE(label.color(), QColor(Qt::darkBlue));
    }

    void genomeLabelVisibility()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 100);
        GC_GenomeText *label = genome->getNameLabel();
        QCOMPARE(label->getGenome(), genome);
        QVERIFY(label->isVisible());
        scene.slotViewTexts(false);
        QVERIFY(!label->isVisible());
        scene.slotViewTexts(true);
        QVERIFY(label->isVisible());
    }

    void anotationBoxAndLabel()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000, 2.0);
        auto *anotation = new GC_Anotation;
        QCOMPARE(anotation->boundingRect(), QRectF());
        anotation->setCoords(GC_Interval(11, 20));
        anotation->setName("promoter");
        genome->addAnotation(anotation);
        anotation->updateVisibility();
        QCOMPARE(anotation->boundingRect(), QRectF(20, -5, 20, 10));
        QCOMPARE(anotation->getLabel()->x(), 30.0);
        QCOMPARE(anotation->getName(), QString("promoter"));
        genome->setOrientation(-1);
        QCOMPARE(anotation->boundingRect(), QRectF(1960, -5, 20, 10));
        QCOMPARE(anotation->getLabel()->x(), 1970.0);
        anotation->setHeight(-5);
        QCOMPARE(anotation->getHeight(), 0.0);
        anotation->setPos(40, 12);
        QCOMPARE(anotation->pos(), QPointF(0, 12));
        // Its label slides vertically only, centred over the box.
        anotation->getLabel()->setPos(0, -20);
        QCOMPARE(anotation->getLabel()->pos(), QPointF(1970, -20));
        QVERIFY(anotation->getLabel()->isVisible());
        anotation->setShowText(false);
        QVERIFY(!anotation->getLabel()->isVisible());
        genome->setShowAnotations(false);
        QVERIFY(!anotation->isVisible());
    }

    void anotationHandles()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(101, 200));
        genome->addAnotation(anotation);
        anotation->setSelected(true);
        const QList<QGraphicsItem *> children = anotation->childItems();
        QList<GC_AnotationControlPoint *> handles;
        for (QGraphicsItem *child : children)
            if (auto *h = dynamic_cast<GC_AnotationControlPoint *>(child))
                handles.append(h);
        QCOMPARE(handles.size(), 2);
        GC_AnotationControlPoint *start = handles[0]->x() < handles[1]->x() ? handles[0] : handles[1];
        QCOMPARE(start->x(), 100.0);
        start->setPos(start->x() + 40, 0);
        QCOMPARE(anotation->getCoords(), GC_Interval(141, 200));
        start->setPos(100, 0);
        QCOMPARE(anotation->getCoords(), GC_Interval(101, 200));
        anotation->setSelected(false);
        QCOMPARE(anotation->childItems().size(), 1); // the label
    }

    void rulerSettings()
    {
        GC_Ruler ruler;
        QCOMPARE(ruler.getOrientation(), 0);
        QCOMPARE(ruler.getStyle(), 1);
        QCOMPARE(ruler.getPixsPerPeriod(), 15);
        QCOMPARE(ruler.getLineColor(), QColor(Qt::red));
        ruler.setHeightBig(3.0);
        QCOMPARE(ruler.getHeightSmall(), 3.0);
        ruler.setHeightSmall(-2);
        QCOMPARE(ruler.getHeightSmall(), 0.0);
        ruler.setPixsPerPeriod(0);
        ruler.setPeriodsPerBigLine(0);
        ruler.setNucsPerPeriod(0.5);
        QCOMPARE(ruler.getPixsPerPeriod(), 1);
        QCOMPARE(ruler.getPeriodsPerBigLine(), 1);
        QCOMPARE(ruler.getNucsPerPeriod(), 1);
        ruler.flipSide();
        QCOMPARE(ruler.getOrientation(), 2);
        QCOMPARE(ruler.getTextPlacement(), 1);
        QCOMPARE(ruler.boundingRect(), QRectF(0, 0, 0, 0));
    }

    void rulerPeriodAndExtent()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_Ruler *ruler = genome->getRuler();
        QCOMPARE(ruler->tickPeriod(), qint64(100));
        genome->setPixPerNuc(0.001);
        QCOMPARE(ruler->tickPeriod(), qint64(100000));
        genome->setPixPerNuc(10);
        QCOMPARE(ruler->tickPeriod(), qint64(10));
        genome->setPixPerNuc(1);
        const QRectF sample = QFontMetricsF(ruler->getTextFont()).boundingRect("000.000.000");
        const QRectF box = ruler->boundingRect();
        QCOMPARE(box.left(), -sample.width() / 2);
        QCOMPARE(box.width(), 1000 + sample.width());
        QCOMPARE(box.bottom(), 0.0);
        QCOMPARE(box.top(), -10 - sample.height());
        ruler->setPos(300, 40);
        QCOMPARE(ruler->pos(), QPointF(0, 40));
        // The keys change the long-tick spacing and the document.
        ruler->setFocus();
        QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, "-");
        for (int i = 0; i < 5; ++i)
            QCoreApplication::sendEvent(&scene, &minus);
        QCOMPARE(ruler->getPeriodsPerBigLine(), 1);
        QVERIFY(scene.isModified());
    }

    void rulerDrawsTheEndNumbers()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        genome->setShowText(false);
        genome->getRuler()->setTextColor(Qt::black);
        QImage image(1100, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            scene.render(&painter, QRectF(0, 0, 1100, 60), QRectF(-50, -40, 1100, 60));
        }
        auto darkAround = [&](int x) {
            int dark = 0;
            for (int y = 0; y < 30; ++y)
                for (int dx = -12; dx <= 12; ++dx)
                    dark += image.pixelColor(x + dx, y).lightness() < 100;
            return dark;
        };
        QVERIFY(darkAround(50) > 0);        // "1"
        QVERIFY(darkAround(50 + 400) > 0);  // "400"
        QVERIFY(darkAround(50 + 1000) > 0); // "1,000"
        QCOMPARE(darkAround(50 + 200), 0);  // a short tick has no number
    }

    void gcContentWindows()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 8);
        genome->setDnaSequence("GGCCAATT");
        GC_GCcontentBar *bar = genome->getGCcontentBar();
        bar->computeGCcontent(3);
        QCOMPARE(bar->windowSize(), 5);
        QCOMPARE(bar->minGC(), 0.0);
        QCOMPARE(float(bar->maxGC()), 0.8f);
        bar->setHeight(10.0);
        QCOMPARE(bar->height(), 30.0);
        QVERIFY(!bar->isVisible());
        genome->setShowGCcontent(true);
        QVERIFY(bar->isVisible());
        scene.slotViewGCcontentBars(false);
        QVERIFY(!bar->isVisible());

        // A copy has no genome when it takes the window size; it computes its
        // extremes from its own genome once it is shown there.
        GC_GCcontentBar copy(*bar);
        QCOMPARE(copy.windowSize(), 5);
        GC_Genome *other = makeGenome(scene, 1, 10);
        other->setDnaSequence("ATATATATAT");
        copy.setParentItem(other);
        copy.computeGCcontent(5);
        QCOMPARE(copy.maxGC(), 0.0);
        QCOMPARE(copy.minGC(), 0.0);
        copy.setParentItem(nullptr);
    }

    void copies()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 1000);
        GC_Ruler *ruler = genome->getRuler();
        ruler->setPos(0, -33);
        ruler->flipSide();
        ruler->setPixsPerPeriod(40);
        ruler->setTextColor(Qt::blue);
        GC_Ruler rulerCopy(*ruler);
        QCOMPARE(rulerCopy.pos(), QPointF(0, -33));
        QCOMPARE(rulerCopy.getOrientation(), 2);
        QCOMPARE(rulerCopy.getPixsPerPeriod(), 40);
        QCOMPARE(rulerCopy.getTextColor(), QColor(Qt::blue));
        QVERIFY(!rulerCopy.parentItem());

        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(5, 50));
        anotation->setName("operon");
        anotation->setShowText(false);
        anotation->setTextAngle(15);
        anotation->setFillColor(Qt::magenta);
        genome->addAnotation(anotation);
        GC_Anotation anotationCopy(*anotation);
        QCOMPARE(anotationCopy.getName(), QString("operon"));
        QCOMPARE(anotationCopy.getCoords(), GC_Interval(5, 50));
        QVERIFY(!anotationCopy.getShowText());
        QCOMPARE(anotationCopy.getTextAngle(), 15.0);
        QCOMPARE(anotationCopy.getFillColor(), QColor(Qt::magenta));
        QVERIFY(anotationCopy.getLabel() != anotation->getLabel());
    }

    void homologyBars()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 500);
        GC_CogHomologies *cog = genome->getCogHomologies();
        GC_RfamHomologies *rfam = genome->getRfamHomologies();
        GC_rRNAHomologies *rrna = genome->getrRNAHomologies();
        QCOMPARE(cog->parentGenome(), genome);
        QCOMPARE(rfam->parentGenome(), genome);
        QCOMPARE(rrna->parentGenome(), genome);
        QCOMPARE(cog->boundingRect(), QRectF(0, -0.5, 500, 30.5));
        cog->setHeight(2);
        QCOMPARE(cog->height(), 5.0);
        cog->setPos(40, 25);
        QCOMPARE(cog->pos(), QPointF(0, 25));
        QCOMPARE(cog->matchingAt(100), GC_Interval(0, 0));
        QVERIFY(cog->matchingToolTip(100).isEmpty());
        QVERIFY(rfam->getToolTip(100).isEmpty());
        QVERIFY(rrna->legendHtmlAt(100).isEmpty());
        QCOMPARE(genome->countCogMatchings(), 0);
        QVERIFY(!rfam->isVisible());
        genome->setShowRfamHomologies(true);
        QVERIFY(rfam->isVisible());
        scene.slotViewRfamHomologies(false);
        QVERIFY(!rfam->isVisible());
        GC_CogHomologies orphan;
        QCOMPARE(orphan.boundingRect(), QRectF());
    }

    void legendBubble()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1, 500);
        auto *legend = new GC_Legend;
        QVERIFY(legend->boundingRect().isEmpty());
        legend->setParentItem(genome->getCogHomologies());
        legend->setHtml("<b>hit</b>");
        legend->setAnchor(genome, 101, 200);
        QCOMPARE(legend->anchorItem(), genome);
        QCOMPARE(legend->zValue(), 100.0);
        QVERIFY(!legend->boundingRect().isEmpty());
        const QPointF pos = legend->pos();
        legend->setAnchor(genome, 101, 200);
        QCOMPARE(legend->pos(), pos);
        GC_Legend copy(*legend);
        QCOMPARE(copy.html(), QString("<b>hit</b>"));
        QCOMPARE(copy.anchorStart(), 101);
        QCOMPARE(copy.parentItem(), legend->parentItem());
    }
};

KESTAL_TEST_MAIN(TestCanvasItems)
#include "tst_canvasitems.moc"
