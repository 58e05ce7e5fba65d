#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationtext.h"
#include "gc_coghomologies.h"
#include "gc_freetext.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genecontrolpoint.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genometext.h"
#include "gc_labelitem.h"
#include "gc_legend.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_ruler.h"
#include "gc_selectionresume.h"

namespace {

// A label reporting the code after the gene's, as a gene's own label would.
class GeneLabel : public QGraphicsSimpleTextItem
{
public:
    using QGraphicsSimpleTextItem::QGraphicsSimpleTextItem;
    int type() const override { return ITEMTYPE_GENE + 1; }
};

struct Canvas
{
    GC_GenomeScene scene;
    GC_Genome *top = nullptr;
    GC_Genome *low = nullptr;
    GC_Gene *gene1 = nullptr;
    GC_Gene *gene2 = nullptr;
    GC_Anotation *anotation = nullptr;
    GC_GenomeMatching *matching = nullptr;
    GC_FreeText *freeText = nullptr;

    Canvas()
    {
        top = new GC_Genome;
        top->setCoords(GC_Interval(1, 1000));
        low = new GC_Genome;
        low->setCoords(GC_Interval(1, 1000));
        gene1 = new GC_Gene;
        gene1->setFromTo(10, 100);
        top->addGene(gene1);
        gene2 = new GC_Gene;
        gene2->setFromTo(200, 300);
        top->addGene(gene2);
        anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(400, 500));
        anotation->setName("site");
        top->addAnotation(anotation);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        scene.addItemsToScene();
        low->setPos(0, 100);
        scene.addMatching(top, low, 1, 50, 1, 50, 90, 100);
        matching = scene.matchings().last();
        scene.addFreeText(QPointF(10, 10));
        freeText = scene.freeTexts().last();
    }

    GC_SelectionResume count()
    {
        GC_SelectionResume resume;
        resume.countSelection(scene.selectedItems());
        return resume;
    }
};

} // namespace

// The selection summary: counts by kind, labels counted for their owners.
class TestSelectionResume : public QObject
{
    Q_OBJECT

private slots:
    void emptySelection()
    {
        GC_SelectionResume resume;
        resume.countSelection({});
        QCOMPARE(resume.total(), 0);
        QCOMPARE(resume.genomes() + resume.genes() + resume.matchings() + resume.legends(), 0);
    }

    void genesAndMatching()
    {
        Canvas canvas;
        canvas.gene1->setSelected(true);
        canvas.gene2->setSelected(true);
        canvas.matching->setSelected(true);
        const GC_SelectionResume resume = canvas.count();
        QCOMPARE(resume.genes(), 2);
        QCOMPARE(resume.matchings(), 1);
        QCOMPARE(resume.total(), 3);
        QCOMPARE(resume.genomes(), 0);
    }

    void genomeLabelCountsForItsGenome()
    {
        Canvas canvas;
        GC_GenomeText *label = canvas.top->getNameLabel();
        label->setSelected(true);
        QCOMPARE(canvas.count().genomes(), 1);
        QCOMPARE(canvas.count().total(), 1);
        canvas.top->setSelected(true);
        QVERIFY(label->isSelected());
        QCOMPARE(canvas.count().genomes(), 1);
        QCOMPARE(canvas.count().total(), 1);
        // Another genome adds one more.
        canvas.low->setSelected(true);
        QCOMPARE(canvas.count().genomes(), 2);
    }

    void anotationLabelCountsForItsAnotation()
    {
        Canvas canvas;
        canvas.anotation->getLabel()->setSelected(true);
        GC_SelectionResume resume = canvas.count();
        QCOMPARE(resume.anotations(), 1);
        QCOMPARE(resume.total(), 1);
        canvas.anotation->setSelected(true);
        resume = canvas.count();
        QCOMPARE(resume.anotations(), 1);
        QCOMPARE(resume.total(), 1);
    }

    void labelAfterTheGeneCodeCountsWithGenes()
    {
        Canvas canvas;
        auto *label = new GeneLabel(canvas.gene1);
        label->setFlag(QGraphicsItem::ItemIsSelectable);
        label->setSelected(true);
        QCOMPARE(canvas.count().genes(), 1);
        canvas.gene1->setSelected(true);
        QCOMPARE(canvas.count().genes(), 1);
        QCOMPARE(canvas.count().total(), 1);
        // Without an owner such a label counts for nothing.
        GeneLabel orphan;
        GC_SelectionResume resume;
        resume.countSelection({&orphan});
        QCOMPARE(resume.total(), 0);
    }

    void freeTextIsNoLabel()
    {
        Canvas canvas;
        canvas.freeText->setSelected(true);
        const GC_SelectionResume resume = canvas.count();
        QCOMPARE(resume.freeTexts(), 1);
        QCOMPARE(resume.anotations() + resume.genomes(), 0);
        QCOMPARE(resume.total(), 1);
    }

    void everyKindHasItsCounter()
    {
        Canvas canvas;
        GC_Legend legend;
        QList<QGraphicsItem *> items{canvas.top,
                                     canvas.matching,
                                     canvas.gene1,
                                     canvas.top->getRuler(),
                                     canvas.top->getGCcontentBar(),
                                     canvas.freeText,
                                     canvas.anotation,
                                     canvas.top->getCogHomologies(),
                                     canvas.top->getRfamHomologies(),
                                     canvas.top->getrRNAHomologies(),
                                     &legend};
        GC_SelectionResume resume;
        resume.countSelection(items);
        QCOMPARE(resume.genomes(), 1);
        QCOMPARE(resume.matchings(), 1);
        QCOMPARE(resume.genes(), 1);
        QCOMPARE(resume.rulers(), 1);
        QCOMPARE(resume.gcContentBars(), 1);
        QCOMPARE(resume.freeTexts(), 1);
        QCOMPARE(resume.anotations(), 1);
        QCOMPARE(resume.cogHomologies(), 1);
        QCOMPARE(resume.rfamHomologies(), 1);
        QCOMPARE(resume.rrnaHomologies(), 1);
        QCOMPARE(resume.legends(), 1);
        QCOMPARE(resume.total(), 11);

        // Counting again starts from zero; a copy keeps the counters.
        const GC_SelectionResume copy = resume;
        resume.countSelection({canvas.gene1});
        QCOMPARE(resume.total(), 1);
        QCOMPARE(copy.total(), 11);
        QCOMPARE(copy.legends(), 1);
    }

    void handlesAndBareLabelsAreNotCounted()
    {
        Canvas canvas;
        canvas.gene1->setSelected(true);
        QList<QGraphicsItem *> items;
        for (QGraphicsItem *child : canvas.gene1->childItems())
            if (dynamic_cast<GC_GeneControlPoint *>(child))
                items.append(child);
        QCOMPARE(items.size(), 2);
        GC_LabelItem bare;
        items.append(&bare);
        GC_SelectionResume resume;
        resume.countSelection(items);
        QCOMPARE(resume.total(), 0);
    }
};

KESTAL_TEST_MAIN(TestSelectionResume)
#include "tst_selectionresume.moc"
