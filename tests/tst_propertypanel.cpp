#include "kestal_test.h"
#include "modal_answerer.h"
#include "scene_fixture.h"

#include "gc_anotation.h"
#include "gc_anotationtext.h"
#include "gc_coghomologies.h"
#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_freetext.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genometext.h"
#include "gc_genomeview.h"
#include "gc_itempropertieswidget.h"
#include "gc_legend.h"
#include "gc_rfamcheckbox.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_ruler.h"
#include "gc_style.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

using namespace SceneFixture;

namespace {

// A real comparison: two genomes joined by a matching, with a gene, an
// annotation, a free text and a legend, and the panel following the scene.
struct Canvas
{
    GC_GenomeScene scene;
    GC_ItemPropertiesWidget panel;
    GC_Genome *top = nullptr;
    GC_Genome *low = nullptr;
    GC_Gene *gene = nullptr;
    GC_Anotation *anotation = nullptr;
    GC_GenomeMatching *matching = nullptr;
    GC_FreeText *text = nullptr;
    GC_Legend *legend = nullptr;

    Canvas()
    {
        top = genomeWithSequence(2000, "alpha", 1);
        low = genomeWithSequence(2000, "gamma", 2);
        gene = addGene(top, 101, 400);
        anotation = new GC_Anotation;
        top->addAnotation(anotation);
        anotation->setId(7);
        anotation->setCoords(GC_Interval(600, 800));
        anotation->setName("promoter");
        for (GC_Genome *genome : {top, low}) {
            genome->setPixPerNuc(0.5);
            scene.addItem(genome);
            genome->updateChildren();
        }
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        top->setPos(20, 100);
        low->setPos(20, 300);
        // Runs backwards on the top genome.
        scene.addMatching(top, low, 500, 100, 301, 700, 87.3333333, 1234567.0);
        matching = scene.matchings().at(0);
        scene.addFreeText(QPointF(50, 50));
        text = scene.freeTexts().at(0);
        legend = new GC_Legend;
        scene.addItem(legend);
        legend->setAnchor(top, 101, 300);
        panel.setScene(&scene);
        panel.resize(500, 900);
        panel.show();
        scene.setModified(false);
    }

    void select(QGraphicsItem *item)
    {
        scene.clearSelection();
        item->setSelected(true);
        settle();
    }
    // The panel rebuilds once control returns to the event loop.
    static void settle() { QCoreApplication::processEvents(); }
    QTreeWidget *tree() const { return panel.treeWidget(); }
};

QTreeWidgetItem *findRow(QTreeWidget *tree, const QStringList &path)
{
    QTreeWidgetItem *current = nullptr;
    for (const QString &label : path) {
        QTreeWidgetItem *next = nullptr;
        const int count = current ? current->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem *candidate = current ? current->child(i) : tree->topLevelItem(i);
            if (candidate->text(0) == label)
                next = candidate;
        }
        if (!next)
            return nullptr;
        current = next;
    }
    return current;
}

QString valueText(QTreeWidget *tree, const QStringList &path)
{
    QTreeWidgetItem *row = findRow(tree, path);
    return row ? row->text(1) : QString("<no row>");
}

template <class T> T *editorAt(QTreeWidget *tree, const QStringList &path)
{
    QTreeWidgetItem *row = findRow(tree, path);
    return row ? qobject_cast<T *>(tree->itemWidget(row, 1)) : nullptr;
}

QStringList labels(QTreeWidgetItem *parent)
{
    QStringList result;
    for (int i = 0; i < parent->childCount(); ++i)
        result << parent->child(i)->text(0);
    return result;
}

QStringList topLabels(QTreeWidget *tree)
{
    QStringList result;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        result << tree->topLevelItem(i)->text(0);
    return result;
}

void pickColor(GC_ColorPicker *picker, const QColor &color)
{
    ModalAnswerer::handle([color](QWidget *widget) {
        auto *dialog = qobject_cast<QColorDialog *>(widget);
        QVERIFY(dialog);
        dialog->setCurrentColor(color);
        dialog->accept();
    });
    picker->findChild<QToolButton *>("toolButton")->click();
}

} // namespace

class TestPropertyPanel : public QObject
{
    Q_OBJECT

private slots:
    void emptyAndSummaryStates()
    {
        GC_ItemPropertiesWidget alone;
        QVERIFY(!alone.isEnabled());
        alone.slotSelectionChanged();
        alone.slotPoblate();
        alone.slotApply();
        QCOMPARE(alone.treeWidget()->topLevelItemCount(), 0);

        Canvas c;
        QVERIFY(!c.panel.isEnabled());
        c.top->setSelected(true);
        c.low->setSelected(true);
        c.gene->setSelected(true);
        QCOMPARE(c.tree()->topLevelItemCount(), 0);
        c.settle();
        QVERIFY(c.panel.isEnabled());
        QCOMPARE(topLabels(c.tree()), QStringList({"Genomes", "Genes"}));
        QCOMPARE(valueText(c.tree(), {"Genomes"}), QString("2"));
        QCOMPARE(valueText(c.tree(), {"Genes"}), QString("1"));
        QCOMPARE(c.tree()->itemWidget(c.tree()->topLevelItem(0), 1), nullptr);
        QVERIFY(!c.panel.shownItem());
        c.panel.slotApply();
        QVERIFY(!c.scene.isModified());

        // rRNA bars count but have no summary row.
        c.scene.clearSelection();
        c.top->setShowrRNAHomologies(true);
        c.low->setShowrRNAHomologies(true);
        c.top->getrRNAHomologies()->setSelected(true);
        c.low->getrRNAHomologies()->setSelected(true);
        c.settle();
        QVERIFY(c.panel.isEnabled());
        QCOMPARE(c.tree()->topLevelItemCount(), 0);

        c.scene.clearSelection();
        c.settle();
        QVERIFY(!c.panel.isEnabled());
        QCOMPARE(c.tree()->topLevelItemCount(), 0);
    }

    void genomeRowsAndEdits()
    {
        Canvas c;
        c.top->setDatabase("/data/alpha.kcv");
        c.select(c.top);
        QCOMPARE(c.panel.shownItem(), static_cast<QGraphicsItem *>(c.top));
        QTreeWidgetItem *genome = findRow(c.tree(), {"Genome"});
        QVERIFY(genome);
        QCOMPARE(labels(genome),
                 QStringList({"Database name", "Name", "Length", "Orientation",
                              "Pixels per nucleotide", "Show genes", "Show anotations",
                              "Show matchings", "Show coordinates", "Show text",
                              "Show GC content", "Segment", "Text"}));
        QVERIFY(genome->isExpanded());
        QVERIFY(findRow(c.tree(), {"Genome", "Segment"})->isExpanded());
        QVERIFY(findRow(c.tree(), {"Genome", "Text"})->isExpanded());
        QCOMPARE(labels(findRow(c.tree(), {"Genome", "Segment"})),
                 QStringList({"Arrow height", "Arrow length", "Height", "Line color",
                              "Fill color", "Style"}));
        QCOMPARE(valueText(c.tree(), {"Genome", "Database name"}), QString("/data/alpha.kcv"));
        QCOMPARE(valueText(c.tree(), {"Genome", "Length"}), QString("2000"));
        QCOMPARE(editorAt<QTextEdit>(c.tree(), {"Genome", "Name"})->toPlainText(), QString("alpha"));
        QCOMPARE(editorAt<QComboBox>(c.tree(), {"Genome", "Orientation"})->currentText(),
                 QString("Right"));
        QCOMPARE(editorAt<QDoubleSpinBox>(c.tree(), {"Genome", "Pixels per nucleotide"})->value(),
                 0.5);
        QVERIFY(!c.scene.isModified());

        // Typing renames the genome at each key and marks the document.
        auto *name = editorAt<QTextEdit>(c.tree(), {"Genome", "Name"});
        name->moveCursor(QTextCursor::End);
        QTest::keyClicks(name, "2");
        QCOMPARE(c.top->getName(), QString("alpha2"));
        QVERIFY(c.scene.isModified());

        editorAt<QComboBox>(c.tree(), {"Genome", "Orientation"})->setCurrentIndex(0);
        QCOMPARE(c.top->getOrientation(), -1);
        editorAt<QCheckBox>(c.tree(), {"Genome", "Show genes"})->click();
        QVERIFY(!c.top->getShowGenes());
        editorAt<QComboBox>(c.tree(), {"Genome", "Text", "Anchor"})->setCurrentIndex(2);
        QCOMPARE(c.top->getTextPositionFlag(), 2);

        // A lower head height lowers the body height and its editor's limit.
        c.top->setHeightBig(20);
        c.top->setHeightSmall(10);
        c.scene.itemChanged();
        auto *heightBig = editorAt<QDoubleSpinBox>(c.tree(), {"Genome", "Segment", "Arrow height"});
        auto *heightSmall = editorAt<QDoubleSpinBox>(c.tree(), {"Genome", "Segment", "Height"});
        QCOMPARE(heightSmall->value(), 10.0);
        heightBig->setValue(6);
        QCOMPARE(c.top->getHeightBig(), 6.0);
        QCOMPARE(c.top->getHeightSmall(), 6.0);
        QCOMPARE(heightSmall->maximum(), 6.0);
        QCOMPARE(heightSmall->value(), 6.0);

        pickColor(editorAt<GC_ColorPicker>(c.tree(), {"Genome", "Segment", "Fill color"}),
                  QColor(10, 20, 30));
        QCOMPARE(c.top->getFillColor(), QColor(10, 20, 30));
    }

    void labelShowsItsGenome()
    {
        Canvas c;
        c.select(c.top->getNameLabel());
        QCOMPARE(c.panel.shownItem(), static_cast<QGraphicsItem *>(c.top));
        QVERIFY(findRow(c.tree(), {"Genome", "Name"}));

        // The genome with its own label counts once.
        c.top->setSelected(true);
        c.settle();
        QCOMPARE(c.panel.shownItem(), static_cast<QGraphicsItem *>(c.top));

        c.select(c.anotation->getLabel());
        QCOMPARE(c.panel.shownItem(), static_cast<QGraphicsItem *>(c.anotation));
        c.scene.clearSelection();

        // An item of a kind the panel does not know never hides the one it does.
        for (int i = 0; i < 8; ++i) {
            auto *other = c.scene.addRect(0, 0, 5, 5);
            other->setFlag(QGraphicsItem::ItemIsSelectable);
            other->setSelected(true);
        }
        c.gene->setSelected(true);
        c.settle();
        QCOMPARE(c.panel.shownItem(), static_cast<QGraphicsItem *>(c.gene));
        QVERIFY(findRow(c.tree(), {"Gene"}));

        // Hiding the selected label from its own rows deselects it.
        c.select(c.top->getNameLabel());
        editorAt<QCheckBox>(c.tree(), {"Genome", "Show text"})->click();
        QVERIFY(!c.top->getShowText());
        QVERIFY(c.scene.isModified());
        c.settle();
        QVERIFY(!c.panel.shownItem());
        QVERIFY(!c.panel.isEnabled());
    }

    void genomeHomologySwitches()
    {
        Canvas c;
        c.select(c.top);
        QVERIFY(!findRow(c.tree(), {"Genome", "Show COG homologies"}));
        QVERIFY(!findRow(c.tree(), {"Genome", "Show RFAM homologies"}));

        QVERIFY(c.top->getCogHomologies()->addCogMatching(100, 400, 1, "COG0001", "E", 2, 1e-10, 80.f));
        c.select(c.low);
        c.select(c.top);
        QVERIFY(!findRow(c.tree(), {"Genome", "Show RFAM homologies"}));
        auto *cog = editorAt<QCheckBox>(c.tree(), {"Genome", "Show COG homologies"});
        QVERIFY(cog);
        QVERIFY(!cog->isChecked());
        cog->click();
        QVERIFY(c.top->getShowCogHomologies());
        QVERIFY(c.scene.isModified());
        // Other edits leave the bar where it is.
        c.top->getCogHomologies()->setY(37);
        QTest::keyClicks(editorAt<QTextEdit>(c.tree(), {"Genome", "Name"}), "x");
        QCOMPARE(c.top->getCogHomologies()->y(), 37.0);
        cog->click();
        QVERIFY(!c.top->getShowCogHomologies());

        // Through the name label the genome's own switch still acts.
        c.select(c.top->getNameLabel());
        editorAt<QCheckBox>(c.tree(), {"Genome", "Show COG homologies"})->click();
        QVERIFY(c.top->getShowCogHomologies());
    }

    // Commands that change the shown genome refill its rows, as a drag does,
    // so the next nudge of an editor starts from what the genome now holds.
    void commandsRefillTheShownItem()
    {
        Canvas c;
        c.scene.setSceneRect(0, 0, 600, 500);
        const auto view = showView(c.scene, 600, 500);
        c.select(c.top);
        auto *scale = editorAt<QDoubleSpinBox>(c.tree(), {"Genome", "Pixels per nucleotide"});
        QCOMPARE(scale->value(), 0.5);

        c.scene.slotViewAdjustToWidth();
        const double fitted = c.top->getPixPerNuc();
        QVERIFY(qAbs(fitted - 0.5) > 0.01);
        QCOMPARE(scale->value(), fitted);
        scale->stepUp();
        QCOMPARE(c.top->getPixPerNuc(), fitted + 1.0);

        // Both genomes are as long: one scale fits them both as before.
        c.scene.slotViewAdjustProportional();
        QCOMPARE(c.top->getPixPerNuc(), fitted);
        QCOMPARE(scale->value(), fitted);

        GC_Style style;
        style.applyGenomePixPerNuc = true;
        style.genomePixPerNuc = 0.25;
        c.scene.slotApplyStyle(style, false, false, false);
        QCOMPARE(c.top->getPixPerNuc(), 0.25);
        QCOMPARE(scale->value(), 0.25);

        // The menu's homology switch shows in the genome's own.
        QVERIFY(c.top->getCogHomologies()->addCogMatching(100, 400, 1, "COG0001", "E", 2, 1e-10, 80.f));
        c.select(c.low);
        c.select(c.top);
        auto *cog = editorAt<QCheckBox>(c.tree(), {"Genome", "Show COG homologies"});
        QVERIFY(!cog->isChecked());
        c.scene.slotGenomeShowCogMatchings();
        QVERIFY(c.top->getShowCogHomologies());
        QVERIFY(cog->isChecked());
    }

    void geneRowsAndLimits()
    {
        Canvas c;
        c.gene->setName("dnaA");
        c.select(c.gene);
        QCOMPARE(labels(findRow(c.tree(), {"Gene"})),
                 QStringList({"Name", "From", "To", "Length", "Y", "Orientation", "Show text",
                              "Segment"}));
        auto *from = editorAt<QSpinBox>(c.tree(), {"Gene", "From"});
        auto *to = editorAt<QSpinBox>(c.tree(), {"Gene", "To"});
        QCOMPARE(from->value(), 101);
        QCOMPARE(to->value(), 400);
        QCOMPARE(from->maximum(), 400);
        QCOMPARE(to->minimum(), 101);
        QCOMPARE(valueText(c.tree(), {"Gene", "Length"}), QString("300"));
        QCOMPARE(editorAt<QTextEdit>(c.tree(), {"Gene", "Name"})->toPlainText(), QString("dnaA"));

        to->setValue(250);
        QCOMPARE(c.gene->getCoords(), GC_Interval(101, 250));
        QCOMPARE(from->maximum(), 250);
        QCOMPARE(valueText(c.tree(), {"Gene", "Length"}), QString("150"));
        QVERIFY(c.scene.isModified());
        from->setValue(9999);
        QCOMPARE(c.gene->getCoords(), GC_Interval(250, 250));

        editorAt<QComboBox>(c.tree(), {"Gene", "Orientation"})->setCurrentIndex(1);
        QCOMPARE(c.gene->getOrientation(), -1);
        editorAt<QDoubleSpinBox>(c.tree(), {"Gene", "Y"})->setValue(12.5);
        QCOMPARE(c.gene->y(), 12.5);

        // A drag since the last fill is not undone by another edit.
        c.gene->setY(-8);
        editorAt<QComboBox>(c.tree(), {"Gene", "Segment", "Style"})->setCurrentIndex(0);
        QCOMPARE(c.gene->getArrowStyle(), 0);
        QCOMPARE(c.gene->y(), -8.0);

        // A refill from the scene shows the item and writes nothing.
        c.gene->setCoords(GC_Interval(1500, 1600));
        c.scene.itemChanged();
        QCOMPARE(from->value(), 1500);
        QCOMPARE(to->value(), 1600);
        QCOMPARE(c.gene->getCoords(), GC_Interval(1500, 1600));
    }

    void matchingRows()
    {
        Canvas c;
        c.select(c.matching);
        QCOMPARE(labels(findRow(c.tree(), {"Matching"})),
                 QStringList({"Similarity", "Bit score", "Sequence 1", "Sequence 2", "Fill color"}));
        QCOMPARE(valueText(c.tree(), {"Matching", "Similarity"}), QString("87.3333%"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Bit score"}), QString("1.23457e+06"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Sequence 1", "Name"}), QString("alpha"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Sequence 1", "From"}), QString("100"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Sequence 1", "To"}), QString("500"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Sequence 1", "Length"}), QString("401"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Sequence 2", "Name"}), QString("gamma"));
        QCOMPARE(valueText(c.tree(), {"Matching", "Sequence 2", "Length"}), QString("400"));
        QVERIFY(!c.scene.isModified());

        pickColor(editorAt<GC_ColorPicker>(c.tree(), {"Matching", "Fill color"}), QColor(1, 2, 3));
        QCOMPARE(c.matching->color(), QColor(1, 2, 3));
        QVERIFY(c.scene.isModified());
    }

    void rulerRows()
    {
        Canvas c;
        GC_Ruler *ruler = c.top->getRuler();
        ruler->setTextPlacement(2);
        ruler->setHeightBig(10);
        ruler->setHeightSmall(5);
        c.select(ruler);
        QCOMPARE(labels(findRow(c.tree(), {"Coordinates", "Lines"})),
                 QStringList({"Horizontal Line Visible", "Major tick", "Minor tick", "Separations",
                              "Orientation", "Color"}));
        auto *placement = editorAt<QComboBox>(c.tree(), {"Coordinates", "Text", "Placement"});
        QCOMPARE(placement->currentText(), QString("Center"));
        placement->setCurrentIndex(2);
        QCOMPARE(ruler->getTextPlacement(), 1);
        placement->setCurrentIndex(3);
        QCOMPARE(ruler->getTextPlacement(), 3);

        auto *minor = editorAt<QDoubleSpinBox>(c.tree(), {"Coordinates", "Lines", "Minor tick"});
        QCOMPARE(minor->maximum(), 10.0);
        editorAt<QDoubleSpinBox>(c.tree(), {"Coordinates", "Lines", "Major tick"})->setValue(3);
        QCOMPARE(ruler->getHeightBig(), 3.0);
        QCOMPARE(ruler->getHeightSmall(), 3.0);
        QCOMPARE(minor->maximum(), 3.0);
        QCOMPARE(minor->value(), 3.0);

        // A change announced by the scene refills the rows.
        auto *separations = editorAt<QSpinBox>(c.tree(), {"Coordinates", "Lines", "Separations"});
        ruler->setPeriodsPerBigLine(separations->value() + 1);
        c.scene.itemChanged();
        QCOMPARE(separations->value(), ruler->getPeriodsPerBigLine());
        QCOMPARE(separations->minimum(), 1);
    }

    // A value typed over another takes effect as a whole, once finished: its
    // first keys never cap the value it limits.
    void typingKeepsTheValueItLimits_data()
    {
        QTest::addColumn<QStringList>("group");
        QTest::addColumn<QString>("typedRow");
        QTest::addColumn<QString>("limitedRow");
        QTest::addColumn<bool>("byFocus");
        QTest::newRow("ruler ticks, Enter")
            << QStringList({"Coordinates", "Lines"}) << "Major tick" << "Minor tick" << false;
        QTest::newRow("genome heights, focus out")
            << QStringList({"Genome", "Segment"}) << "Arrow height" << "Height" << true;
        QTest::newRow("gene heights, Enter")
            << QStringList({"Gene", "Segment"}) << "Head height" << "Width" << false;
    }

    void typingKeepsTheValueItLimits()
    {
        QFETCH(QStringList, group);
        QFETCH(QString, typedRow);
        QFETCH(QString, limitedRow);
        QFETCH(bool, byFocus);
        Canvas c;
        const QHash<QString, QGraphicsItem *> items = {
            {"Coordinates", c.top->getRuler()}, {"Genome", c.top}, {"Gene", c.gene}};
        c.select(items.value(group.first()));
        c.panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c.panel));
        auto *edited = editorAt<QDoubleSpinBox>(c.tree(), group + QStringList(typedRow));
        auto *limited = editorAt<QDoubleSpinBox>(c.tree(), group + QStringList(limitedRow));
        QVERIFY(edited && limited);
        edited->setValue(20);
        limited->setValue(8);

        edited->setFocus();
        QTRY_VERIFY(edited->hasFocus());
        edited->selectAll();
        QTest::keyClicks(edited->findChild<QLineEdit *>(), "30");
        if (byFocus)
            limited->setFocus();
        else
            QTest::keyClick(edited->findChild<QLineEdit *>(), Qt::Key_Return);
        QTRY_COMPARE(edited->hasFocus(), !byFocus);
        // A refill shows what the item holds now.
        c.scene.itemChanged();
        QCOMPARE(edited->value(), 30.0);
        QCOMPARE(limited->value(), 8.0);
        QCOMPARE(limited->maximum(), 30.0);
    }

    void anotationRows()
    {
        Canvas c;
        c.select(c.anotation);
        QTreeWidgetItem *group = findRow(c.tree(), {"Anotation"});
        QCOMPARE(labels(group), QStringList({"Id", "Name", "From", "To", "Length", "Y",
                                             "Show text", "Rect", "Text"}));
        QCOMPARE(valueText(c.tree(), {"Anotation", "Id"}), QString("7"));
        QCOMPARE(valueText(c.tree(), {"Anotation", "Length"}), QString("201"));
        editorAt<QComboBox>(c.tree(), {"Anotation", "Text", "Anchor"})->setCurrentIndex(2);
        QCOMPARE(c.anotation->getTextPositionFlag(), 2);
        editorAt<QSpinBox>(c.tree(), {"Anotation", "From"})->setValue(800);
        QCOMPARE(c.anotation->getCoords(), GC_Interval(800, 800));
        QCOMPARE(valueText(c.tree(), {"Anotation", "Length"}), QString("1"));
        editorAt<QDoubleSpinBox>(c.tree(), {"Anotation", "Rect", "Width"})->setValue(22);
        QCOMPARE(c.anotation->getHeight(), 22.0);
        QVERIFY(c.scene.isModified());
    }

    void gcContentBarRows()
    {
        Canvas c;
        GC_GCcontentBar *bar = c.top->getGCcontentBar();
        c.top->setShowGCcontent(true);
        bar->computeGCcontent(100);
        c.select(bar);
        QCOMPARE(labels(findRow(c.tree(), {"GC content"})),
                 QStringList({"Position", "Height", "Window length", "Pen & Brush", "Text"}));
        auto *window = editorAt<QSpinBox>(c.tree(), {"GC content", "Window length"});
        QCOMPARE(window->value(), 100);
        window->setValue(window->minimum());
        QCOMPARE(window->text(), QString("Automatic"));
        QCOMPARE(bar->windowSize(), 5);
        QCOMPARE(editorAt<QDoubleSpinBox>(c.tree(), {"GC content", "Height"})->minimum(), 30.0);
        auto *fill = editorAt<QCheckBox>(c.tree(), {"GC content", "Pen & Brush", "Fill"});
        const bool filled = bar->fillEnabled();
        fill->click();
        QCOMPARE(bar->fillEnabled(), !filled);
        QVERIFY(c.scene.isModified());
    }

    void freeTextRows()
    {
        Canvas c;
        c.select(c.text);
        QCOMPARE(labels(findRow(c.tree(), {"Free text"})),
                 QStringList({"Name", "X", "Y", "Angle", "Anchor", "Color", "Font"}));
        auto *name = editorAt<QTextEdit>(c.tree(), {"Free text", "Name"});
        QCOMPARE(name->toPlainText(), QString("NEW TEXT"));
        name->moveCursor(QTextCursor::End);
        QTest::keyClicks(name, "!");
        QCOMPARE(c.text->text(), QString("NEW TEXT!"));
        QVERIFY(c.scene.isModified());
        editorAt<QComboBox>(c.tree(), {"Free text", "Anchor"})->setCurrentIndex(2);
        QCOMPARE(c.text->positionFlag(), 2);
        auto *x = editorAt<QDoubleSpinBox>(c.tree(), {"Free text", "X"});
        QCOMPARE(x->maximum(), 99999.0);
        x->setValue(75);
        QCOMPARE(c.text->x(), 75.0);

        // Dragged on the canvas, the text shows its new place in the panel,
        // and later edits of other rows leave it there.
        c.scene.setSceneRect(0, 0, 400, 300);
        const auto view = showView(c.scene, 400, 300);
        const QPointF grip = c.text->sceneBoundingRect().center();
        const QPointF dropped = c.text->pos() + QPointF(30, 40);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, viewportPoint(*view, grip));
        QTest::mouseMove(view->viewport(), viewportPoint(*view, grip + QPointF(30, 40)));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {},
                            viewportPoint(*view, grip + QPointF(30, 40)));
        QCOMPARE(c.text->pos(), dropped);
        QCOMPARE(c.panel.shownItem(), c.text);
        QCOMPARE(x->value(), dropped.x());
        auto *y = editorAt<QDoubleSpinBox>(c.tree(), {"Free text", "Y"});
        QCOMPARE(y->value(), dropped.y());
        pickColor(editorAt<GC_ColorPicker>(c.tree(), {"Free text", "Color"}), Qt::darkGreen);
        QCOMPARE(c.text->color(), QColor(Qt::darkGreen));
        y->stepUp();
        QCOMPARE(c.text->pos(), dropped + QPointF(0, 1));
    }

    void legendRows()
    {
        Canvas c;
        c.select(c.legend);
        auto *interactive = editorAt<QCheckBox>(c.tree(), {"Information box", "Interactive"});
        QVERIFY(interactive);
        QVERIFY(!interactive->isChecked());
        interactive->click();
        QVERIFY(!c.legend->isReadOnly());
        QCOMPARE(c.legend->textInteractionFlags(), Qt::TextEditorInteraction);
        // Legends are not part of the document.
        QVERIFY(!c.scene.isModified());
    }

    void cogBarRows()
    {
        Canvas c;
        GC_CogHomologies *bar = c.top->getCogHomologies();
        QVERIFY(bar->addCogMatching(100, 400, 1, "COG0001", "E", 2, 1e-10, 80.f));
        c.top->setShowCogHomologies(true);
        c.select(bar);
        QCOMPARE(topLabels(c.tree()),
                 QStringList({"COG statistics", "COG bar", "Information, storage and processing",
                              "Metabolism", "Cellular Processes and signaling",
                              "Poorly characterized"}));
        QVERIFY(editorAt<QPushButton>(c.tree(), {"COG statistics"}));
        QCOMPARE(findRow(c.tree(), {"Metabolism"})->childCount(), 8);
        QCOMPARE(findRow(c.tree(), {"Poorly characterized"})->childCount(), 2);
        auto *metabolism = editorAt<QCheckBox>(c.tree(), {"COG bar", "Metabolism"});
        QVERIFY(metabolism->isChecked());
        metabolism->click();
        QVERIFY(!bar->isSuperCategoryVisible(2));
        QVERIFY(bar->isSuperCategoryVisible(1));
        QVERIFY(c.low->getCogHomologies()->isSuperCategoryVisible(2));

        const QColor before = bar->groupColor("J");
        pickColor(editorAt<GC_ColorPicker>(c.tree(),
                                           {"Metabolism", "Amino acid transport and metabolism"}),
                  QColor(9, 8, 7));
        QCOMPARE(bar->groupColor("E"), QColor(9, 8, 7));
        QCOMPARE(c.low->getCogHomologies()->groupColor("E"), QColor(9, 8, 7));
        QCOMPARE(bar->groupColor("J"), before);
        QCOMPARE(editorAt<QDoubleSpinBox>(c.tree(), {"COG bar", "Height"})->minimum(), 5.0);
        QVERIFY(c.scene.isModified());
    }

    void rfamAndrRNABarRows()
    {
        Canvas c;
        GC_RfamHomologies *bar = c.top->getRfamHomologies();
        int position = 1;
        for (const auto &family : QList<QPair<QString, int>>{{"RF00001", 7}, {"RF00005", 3},
                                                             {"RF00010", 12}}) {
            for (int i = 0; i < family.second; ++i, position += 30)
                QVERIFY(bar->addRfamMatching(position, position + 20, 1, family.first, 1e-5, 50.f));
        }
        c.top->setShowRfamHomologies(true);
        c.select(bar);
        QCOMPARE(topLabels(c.tree()), QStringList({"RFAM bar", "Matched RFAMS"}));
        QTreeWidgetItem *matched = findRow(c.tree(), {"Matched RFAMS"});
        QCOMPARE(matched->childCount(), 3);
        QVERIFY(matched->isExpanded());
        QVERIFY(!matched->child(0)->isExpanded());
        QStringList order;
        for (int i = 0; i < 3; ++i)
            order << matched->child(i)->toolTip(0) + "=" + matched->child(i)->text(1);
        QCOMPARE(order, QStringList({"RF00010=12", "RF00001=7", "RF00005=3"}));
        // No reference collection here: the family has no name.
        QCOMPARE(matched->child(0)->text(0), QString("Error"));
        QCOMPARE(labels(matched->child(0)),
                 QStringList({"Show in RFAM bar", "Color in RFAM bar", "RFAM description"}));

        QTreeWidgetItem *first = matched->child(0);
        auto *show = qobject_cast<GC_RfamCheckbox *>(c.tree()->itemWidget(first->child(0), 1));
        QVERIFY(show && show->isChecked());
        show->click();
        QVERIFY(GC_RfamHomologies::isCodeHidden("RF00010"));
        pickColor(qobject_cast<GC_ColorPicker *>(c.tree()->itemWidget(first->child(1), 1)),
                  QColor(200, 0, 0));
        QCOMPARE(GC_RfamHomologies::getColor("RF00010"), QColor(200, 0, 0));

        ModalAnswerer::clickButton(QMessageBox::Ok);
        qobject_cast<QPushButton *>(c.tree()->itemWidget(first->child(2), 1))->click();
        QVERIFY(ModalAnswerer::lastText().contains("Error trying to get information of RFAM: RF00010"));

        // Rebuilt rows show the hidden family unchecked.
        c.select(c.top);
        c.select(bar);
        first = findRow(c.tree(), {"Matched RFAMS"})->child(0);
        QVERIFY(!qobject_cast<GC_RfamCheckbox *>(c.tree()->itemWidget(first->child(0), 1))->isChecked());
        GC_RfamHomologies::setCodeVisible("RF00010", true);

        editorAt<QCheckBox>(c.tree(), {"RFAM bar", "Horizontal borders"})->click();
        QVERIFY(!bar->horizontalBorders());

        GC_rRNAHomologies *rrna = c.top->getrRNAHomologies();
        c.top->setShowrRNAHomologies(true);
        c.select(rrna);
        QCOMPARE(topLabels(c.tree()), QStringList({"rRNA bar"}));
        QCOMPARE(labels(findRow(c.tree(), {"rRNA bar"})),
                 QStringList({"Height", "Horizontal borders"}));
        editorAt<QDoubleSpinBox>(c.tree(), {"rRNA bar", "Height"})->setValue(45);
        QCOMPARE(rrna->height(), 45.0);
    }

    void deletionAndSelectionChurn()
    {
        Canvas c;
        c.select(c.gene);
        QCOMPARE(c.panel.shownItem(), static_cast<QGraphicsItem *>(c.gene));
        ModalAnswerer::clickButton(QMessageBox::Yes);
        c.scene.slotItemRemove();
        QVERIFY(!c.panel.shownItem());
        QCOMPARE(c.tree()->topLevelItemCount(), 0);
        c.scene.itemChanged();

        c.select(c.anotation->getLabel());
        delete c.anotation;
        QVERIFY(!c.panel.shownItem());

        c.select(c.matching);
        c.scene.deleteMatching(c.matching);
        QVERIFY(!c.panel.shownItem());

        c.low->setShowGCcontent(true);
        const QList<QGraphicsItem *> items = {c.top, c.low, c.text, c.legend, c.top->getRuler(),
                                              c.low->getGCcontentBar(), c.top->getNameLabel()};
        for (int round = 0; round < 3; ++round)
            for (QGraphicsItem *item : items) {
                c.select(item);
                QVERIFY2(c.panel.shownItem(), qPrintable(QString::number(item->type())));
                c.panel.slotApply();
            }

        // The document is emptied while a genome is shown.
        c.select(c.top);
        c.scene.clearScene();
        QVERIFY(!c.panel.shownItem());
    }

    void sceneDestroyedWhileShown()
    {
        GC_ItemPropertiesWidget panel;
        {
            GC_GenomeScene scene;
            GC_Genome *genome = genomeWithSequence(500, "solo", 4);
            scene.addItem(genome);
            genome->updateChildren();
            scene.insertTopGenome(genome);
            addGene(genome, 10, 90)->setSelected(true);
            panel.setScene(&scene);
            panel.slotSelectionChanged();
            Canvas::settle();
            QVERIFY(panel.shownItem());
        }
        QVERIFY(!panel.scene());
        QVERIFY(!panel.shownItem());
        panel.slotSelectionChanged();
        Canvas::settle();
        panel.slotApply();
    }
};

KESTAL_TEST_MAIN(TestPropertyPanel)
#include "tst_propertypanel.moc"
