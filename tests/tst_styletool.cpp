#include "kestal_test.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_magicstylerwidget.h"
#include "gc_ruler.h"
#include "gc_style.h"
#include "modal_answerer.h"
#include "scene_fixture.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>
#include <optional>

using namespace SceneFixture;

namespace {

// Every row with its apply flag, by its path of labels in the tree.
struct FlagRow
{
    const char *path;
    bool GC_Style::*flag;
};

const FlagRow flagRows[] = {
    {"Genome/X", &GC_Style::applyGenomeX},
    {"Genome/Y", &GC_Style::applyGenomeY},
    {"Genome/Orientation", &GC_Style::applyGenomeOrientation},
    {"Genome/Pixels per nucleotid", &GC_Style::applyGenomePixPerNuc},
    {"Genome/Show genes", &GC_Style::applyGenomeShowGenes},
    {"Genome/Show anotations", &GC_Style::applyGenomeShowAnotations},
    {"Genome/Show matchings", &GC_Style::applyGenomeShowMatchings},
    {"Genome/Show ruler", &GC_Style::applyGenomeShowRuler},
    {"Genome/Show text", &GC_Style::applyGenomeShowText},
    {"Genome/Segment/Head height", &GC_Style::applyGenomeHeightBig},
    {"Genome/Segment/Head length", &GC_Style::applyGenomeHeadLength},
    {"Genome/Segment/Width", &GC_Style::applyGenomeHeightSmall},
    {"Genome/Segment/Line color", &GC_Style::applyGenomeLineColor},
    {"Genome/Segment/Fill color", &GC_Style::applyGenomeFillColor},
    {"Genome/Segment/Style", &GC_Style::applyGenomeArrowStyle},
    {"Genome/Text/X", &GC_Style::applyGenomeTextX},
    {"Genome/Text/Y", &GC_Style::applyGenomeTextY},
    {"Genome/Text/Angle", &GC_Style::applyGenomeTextAngle},
    {"Genome/Text/Anchor", &GC_Style::applyGenomeTextPositionFlag},
    {"Genome/Text/Color", &GC_Style::applyGenomeTextColor},
    {"Genome/Text/Font", &GC_Style::applyGenomeTextFont},
    {"Gene/Y", &GC_Style::applyGeneY},
    {"Gene/Orientation", &GC_Style::applyGeneOrientation},
    {"Gene/Show text", &GC_Style::applyGeneShowText},
    {"Gene/Segment/Head height", &GC_Style::applyGeneHeightBig},
    {"Gene/Segment/Head length", &GC_Style::applyGeneHeadLength},
    {"Gene/Segment/Width", &GC_Style::applyGeneHeightSmall},
    {"Gene/Segment/Line color", &GC_Style::applyGeneLineColor},
    {"Gene/Segment/Fill color", &GC_Style::applyGeneFillColor},
    {"Gene/Segment/Style", &GC_Style::applyGeneArrowStyle},
    {"Gene/Text/Automatic", &GC_Style::applyGeneTextAutomatic},
    {"Gene/Text/X", &GC_Style::applyGeneTextX},
    {"Gene/Text/Y", &GC_Style::applyGeneTextY},
    {"Gene/Text/Angle", &GC_Style::applyGeneTextAngle},
    {"Gene/Text/Anchor", &GC_Style::applyGeneTextPositionFlag},
    {"Gene/Text/Color", &GC_Style::applyGeneTextColor},
    {"Gene/Text/Font", &GC_Style::applyGeneTextFont},
    {"Anotation/Y", &GC_Style::applyAnotationY},
    {"Anotation/Show text", &GC_Style::applyAnotationShowText},
    {"Anotation/Rect/Width", &GC_Style::applyAnotationHeight},
    {"Anotation/Rect/Line color", &GC_Style::applyAnotationLineColor},
    {"Anotation/Rect/Fill color", &GC_Style::applyAnotationFillColor},
    {"Anotation/Text/Y", &GC_Style::applyAnotationTextY},
    {"Anotation/Text/Angle", &GC_Style::applyAnotationTextAngle},
    {"Anotation/Text/Anchor", &GC_Style::applyAnotationTextPositionFlag},
    {"Anotation/Text/Color", &GC_Style::applyAnotationTextColor},
    {"Anotation/Text/Font", &GC_Style::applyAnotationTextFont},
    {"Matching/Straigth color", &GC_Style::applyMatchingStraightColor},
    {"Matching/Reverse color", &GC_Style::applyMatchingReverseColor},
    {"Ruler/Y", &GC_Style::applyRulerY},
    {"Ruler/Style", &GC_Style::applyRulerStyle},
    {"Ruler/Lines/Horizontal Line Visible", &GC_Style::applyRulerHorizontalLineVisible},
    {"Ruler/Lines/Big height", &GC_Style::applyRulerHeightBig},
    {"Ruler/Lines/Small height", &GC_Style::applyRulerHeightSmall},
    {"Ruler/Lines/Nucleotids per period", &GC_Style::applyRulerNucsPerPeriod},
    {"Ruler/Lines/Periods per big line", &GC_Style::applyRulerPeriodsPerBigLine},
    {"Ruler/Lines/Pixels per period", &GC_Style::applyRulerPixsPerPeriod},
    {"Ruler/Lines/Orientation", &GC_Style::applyRulerOrientation},
    {"Ruler/Lines/Color", &GC_Style::applyRulerLineColor},
    {"Ruler/Text/Placement", &GC_Style::applyRulerTextPlacement},
    {"Ruler/Text/Color", &GC_Style::applyRulerTextColor},
    {"Ruler/Text/Font", &GC_Style::applyRulerTextFont},
    {"Free text/X", &GC_Style::applyFreeTextX},
    {"Free text/Y", &GC_Style::applyFreeTextY},
    {"Free text/Angle", &GC_Style::applyFreeTextAngle},
    {"Free text/Anchor", &GC_Style::applyFreeTextPositionFlag},
    {"Free text/Color", &GC_Style::applyFreeTextColor},
    {"Free text/Font", &GC_Style::applyFreeTextFont},
    {"Scene/Margin", &GC_Style::applySceneMargin},
    {"Scene/Separation between genomes", &GC_Style::applySceneSeparationBetweenGenomes},
};

// A built, enabled and shown tool that keeps what it last emitted.
struct Tool
{
    GC_MagicStylerWidget widget;
    std::optional<GC_Style> record;
    bool forced = false, allItems = false, childItems = false;
    int emitted = 0;

    Tool()
    {
        widget.buildTree();
        widget.setEnabled(true);
        widget.resize(600, 800);
        widget.show();
        QObject::connect(&widget, &GC_MagicStylerWidget::applyStyle, &widget,
                         [this](const GC_Style &style, bool f, bool a, bool c) {
                             record = style;
                             forced = f;
                             allItems = a;
                             childItems = c;
                             ++emitted;
                         });
    }

    QTreeWidget *tree() const { return widget.findChild<QTreeWidget *>("treeWidget"); }

    QTreeWidgetItem *row(const QString &path) const
    {
        QTreeWidgetItem *item = nullptr;
        for (const QString &label : path.split('/')) {
            QTreeWidgetItem *next = nullptr;
            const int count = item ? item->childCount() : tree()->topLevelItemCount();
            for (int i = 0; i < count && !next; ++i) {
                QTreeWidgetItem *child = item ? item->child(i) : tree()->topLevelItem(i);
                if (child->text(0) == label)
                    next = child;
            }
            if (!next)
                qFatal("no row %s", qPrintable(path));
            item = next;
        }
        return item;
    }
    QCheckBox *applyBox(const QString &path) const
    {
        return qobject_cast<QCheckBox *>(tree()->itemWidget(row(path), 1));
    }
    template <class T> T *editor(const QString &path) const
    {
        T *widget = qobject_cast<T *>(tree()->itemWidget(row(path), 2));
        if (!widget)
            qFatal("row %s has no editor of the kind asked", qPrintable(path));
        return widget;
    }

    // Clicks a check box the way a user does, on its indicator.
    static void click(QCheckBox *box)
    {
        const bool before = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(box->isChecked(), !before);
    }
    void checkRow(const QString &path)
    {
        tree()->scrollToItem(row(path));
        click(applyBox(path));
    }
    void pressApply()
    {
        QTest::mouseClick(widget.findChild<QPushButton *>("buttonApply"), Qt::LeftButton);
    }
    void clickOption(const char *name) { click(widget.findChild<QCheckBox *>(name)); }
};

// Three 1000 nt genomes (two top, one low), a gene on the first, a direct
// and an opposite-way matching, shown in a view; the document starts clean.
struct Canvas
{
    GC_GenomeScene scene;
    std::unique_ptr<GC_GenomeView> view;
    GC_Genome *top = nullptr, *top2 = nullptr, *low = nullptr;
    GC_Gene *gene = nullptr;
    GC_GenomeMatching *direct = nullptr, *opposite = nullptr;

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
        scene.addMatching(top, low, 801, 900, 100, 1, 90.0, 150.0);
        for (GC_GenomeMatching *matching : scene.matchings())
            (matching->isDirect() ? direct : opposite) = matching;
        view = showView(scene, 1100, 400);
        scene.setModified(false);
    }
};

} // namespace

// The style tool: its rows, the record it composes and how a scene takes it.
class TestStyleTool : public QObject
{
    Q_OBJECT

private slots:
    void newToolIsDisabledAndEmptyUntilBuilt()
    {
        GC_MagicStylerWidget widget;
        QVERIFY(!widget.isEnabled());
        auto *tree = widget.findChild<QTreeWidget *>("treeWidget");
        QCOMPARE(tree->topLevelItemCount(), 0);
        const GC_Style empty = widget.style();
        for (const FlagRow &row : flagRows)
            QVERIFY(!(empty.*row.flag));
        widget.buildTree();
        widget.buildTree();
        QCOMPARE(tree->topLevelItemCount(), 7);
        QCOMPARE(tree->headerItem()->text(0), QString("Property"));
        QCOMPARE(tree->headerItem()->text(2), QString("Value"));
    }

    // Each row's check box raises exactly its own flag: no row is wired to
    // another's field, and every flag of the record has a row.
    void everyApplyBoxRaisesItsOwnFlag()
    {
        Tool tool;
        int applyBoxes = 0;
        for (QTreeWidgetItemIterator it(tool.tree()); *it; ++it)
            applyBoxes += qobject_cast<QCheckBox *>(tool.tree()->itemWidget(*it, 1)) ? 1 : 0;
        QCOMPARE(applyBoxes, 70);
        for (const FlagRow &row : flagRows) {
            QCheckBox *box = tool.applyBox(row.path);
            box->setChecked(true);
            const GC_Style style = tool.widget.style();
            box->setChecked(false);
            for (const FlagRow &other : flagRows)
                QVERIFY2((style.*other.flag) == (&other == &row),
                         qPrintable(QString("%1 / %2").arg(row.path, other.path)));
        }
    }

    void applyWithNothingCheckedEmitsNoFlags()
    {
        Tool tool;
        tool.pressApply();
        QCOMPARE(tool.emitted, 1);
        QVERIFY(tool.record.has_value());
        for (const FlagRow &row : flagRows)
            QVERIFY(!(*tool.record.*row.flag));
        QVERIFY(!tool.forced && !tool.allItems && !tool.childItems);
    }

    void optionBoxesTravelInTheirOwnParameters()
    {
        Tool tool;
        tool.clickOption("checkBoxForce");
        tool.pressApply();
        QVERIFY(tool.forced && !tool.allItems && !tool.childItems);
        tool.clickOption("checkBoxForce");
        tool.clickOption("checkBoxAllItems");
        tool.pressApply();
        QVERIFY(!tool.forced && tool.allItems && !tool.childItems);
        tool.clickOption("checkBoxAllItems");
        tool.clickOption("checkBoxChildItems");
        tool.pressApply();
        QVERIFY(!tool.forced && !tool.allItems && tool.childItems);
        QCOMPARE(tool.emitted, 3);
    }

    // Distinct values in every editor reach their own fields.
    void editorsFillTheirOwnValues()
    {
        Tool tool;
        const std::pair<const char *, double GC_Style::*> doubles[] = {
            {"Genome/X", &GC_Style::genomeX},
            {"Genome/Y", &GC_Style::genomeY},
            {"Genome/Pixels per nucleotid", &GC_Style::genomePixPerNuc},
            {"Genome/Segment/Head height", &GC_Style::genomeHeightBig},
            {"Genome/Segment/Head length", &GC_Style::genomeHeadLength},
            {"Genome/Segment/Width", &GC_Style::genomeHeightSmall},
            {"Genome/Text/X", &GC_Style::genomeTextX},
            {"Genome/Text/Y", &GC_Style::genomeTextY},
            {"Genome/Text/Angle", &GC_Style::genomeTextAngle},
            {"Gene/Y", &GC_Style::geneY},
            {"Gene/Segment/Head height", &GC_Style::geneHeightBig},
            {"Gene/Segment/Head length", &GC_Style::geneHeadLength},
            {"Gene/Segment/Width", &GC_Style::geneHeightSmall},
            {"Gene/Text/X", &GC_Style::geneTextX},
            {"Gene/Text/Y", &GC_Style::geneTextY},
            {"Gene/Text/Angle", &GC_Style::geneTextAngle},
            {"Anotation/Y", &GC_Style::anotationY},
            {"Anotation/Rect/Width", &GC_Style::anotationHeight},
            {"Anotation/Text/Y", &GC_Style::anotationTextY},
            {"Anotation/Text/Angle", &GC_Style::anotationTextAngle},
            {"Ruler/Y", &GC_Style::rulerY},
            {"Ruler/Lines/Big height", &GC_Style::rulerHeightBig},
            {"Ruler/Lines/Small height", &GC_Style::rulerHeightSmall},
            {"Free text/X", &GC_Style::freeTextX},
            {"Free text/Y", &GC_Style::freeTextY},
            {"Free text/Angle", &GC_Style::freeTextAngle},
            {"Scene/Margin", &GC_Style::sceneMargin},
            {"Scene/Separation between genomes", &GC_Style::sceneSeparationBetweenGenomes},
        };
        const std::pair<const char *, int GC_Style::*> counts[] = {
            {"Ruler/Lines/Nucleotids per period", &GC_Style::rulerNucsPerPeriod},
            {"Ruler/Lines/Periods per big line", &GC_Style::rulerPeriodsPerBigLine},
            {"Ruler/Lines/Pixels per period", &GC_Style::rulerPixsPerPeriod},
        };
        const std::pair<const char *, bool GC_Style::*> checks[] = {
            {"Genome/Show genes", &GC_Style::genomeShowGenes},
            {"Genome/Show anotations", &GC_Style::genomeShowAnotations},
            {"Genome/Show matchings", &GC_Style::genomeShowMatchings},
            {"Genome/Show ruler", &GC_Style::genomeShowRuler},
            {"Genome/Show text", &GC_Style::genomeShowText},
            {"Gene/Show text", &GC_Style::geneShowText},
            {"Gene/Text/Automatic", &GC_Style::geneTextAutomatic},
            {"Anotation/Show text", &GC_Style::anotationShowText},
            {"Ruler/Lines/Horizontal Line Visible", &GC_Style::rulerHorizontalLineVisible},
        };
        const std::pair<const char *, QColor GC_Style::*> colors[] = {
            {"Genome/Segment/Line color", &GC_Style::genomeLineColor},
            {"Genome/Segment/Fill color", &GC_Style::genomeFillColor},
            {"Genome/Text/Color", &GC_Style::genomeTextColor},
            {"Gene/Segment/Line color", &GC_Style::geneLineColor},
            {"Gene/Segment/Fill color", &GC_Style::geneFillColor},
            {"Gene/Text/Color", &GC_Style::geneTextColor},
            {"Anotation/Rect/Line color", &GC_Style::anotationLineColor},
            {"Anotation/Rect/Fill color", &GC_Style::anotationFillColor},
            {"Anotation/Text/Color", &GC_Style::anotationTextColor},
            {"Matching/Straigth color", &GC_Style::matchingStraightColor},
            {"Matching/Reverse color", &GC_Style::matchingReverseColor},
            {"Ruler/Lines/Color", &GC_Style::rulerLineColor},
            {"Ruler/Text/Color", &GC_Style::rulerTextColor},
            {"Free text/Color", &GC_Style::freeTextColor},
        };
        const std::pair<const char *, QFont GC_Style::*> fonts[] = {
            {"Genome/Text/Font", &GC_Style::genomeTextFont},
            {"Gene/Text/Font", &GC_Style::geneTextFont},
            {"Anotation/Text/Font", &GC_Style::anotationTextFont},
            {"Ruler/Text/Font", &GC_Style::rulerTextFont},
            {"Free text/Font", &GC_Style::freeTextFont},
        };
        int k = 1;
        for (const auto &[path, field] : doubles)
            tool.editor<QDoubleSpinBox>(path)->setValue(0.25 * k++);
        for (const auto &[path, field] : counts)
            tool.editor<QSpinBox>(path)->setValue(10 * k++);
        for (const auto &[path, field] : checks)
            Tool::click(tool.editor<QCheckBox>(path));
        for (const auto &[path, field] : colors)
            tool.editor<GC_ColorPicker>(path)->setColor(QColor(k++, 50, 60));
        for (const auto &[path, field] : fonts) {
            QFont font("Serif");
            font.setPointSize(k++);
            tool.editor<GC_FontPicker>(path)->setFont(font);
        }
        tool.pressApply();
        const GC_Style &s = *tool.record;
        k = 1;
        for (const auto &[path, field] : doubles)
            QVERIFY2(s.*field == 0.25 * k++, path);
        for (const auto &[path, field] : counts)
            QVERIFY2(s.*field == 10 * k++, path);
        for (const auto &[path, field] : checks)
            QVERIFY2(s.*field, path);
        for (const auto &[path, field] : colors)
            QVERIFY2(s.*field == QColor(k++, 50, 60), path);
        for (const auto &[path, field] : fonts)
            QVERIFY2((s.*field).pointSize() == k++ && (s.*field).family() == "Serif", path);
    }

    void combosGiveTheirCodes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("genome orientation") << "Genome/Orientation" << QList<int>{-1, 1};
        QTest::newRow("gene orientation") << "Gene/Orientation" << QList<int>{1, -1};
        QTest::newRow("genome style") << "Genome/Segment/Style" << QList<int>{0, 1};
        QTest::newRow("gene style") << "Gene/Segment/Style" << QList<int>{0, 1};
        QTest::newRow("genome anchor") << "Genome/Text/Anchor" << QList<int>{0, 1, 2};
        QTest::newRow("gene anchor") << "Gene/Text/Anchor" << QList<int>{0, 1, 2};
        QTest::newRow("anotation anchor") << "Anotation/Text/Anchor" << QList<int>{0, 1, 2};
        QTest::newRow("free text anchor") << "Free text/Anchor" << QList<int>{0, 1, 2};
        QTest::newRow("ruler style") << "Ruler/Style" << QList<int>{0, 1};
        QTest::newRow("ruler orientation") << "Ruler/Lines/Orientation" << QList<int>{0, 1, 2};
        QTest::newRow("ruler placement") << "Ruler/Text/Placement" << QList<int>{0, 2, 1, 3};
    }
    void combosGiveTheirCodes()
    {
        QFETCH(QString, path);
        QFETCH(QList<int>, codes);
        static const QHash<QString, int GC_Style::*> fields = {
            {"Genome/Orientation", &GC_Style::genomeOrientation},
            {"Gene/Orientation", &GC_Style::geneOrientation},
            {"Genome/Segment/Style", &GC_Style::genomeArrowStyle},
            {"Gene/Segment/Style", &GC_Style::geneArrowStyle},
            {"Genome/Text/Anchor", &GC_Style::genomeTextPositionFlag},
            {"Gene/Text/Anchor", &GC_Style::geneTextPositionFlag},
            {"Anotation/Text/Anchor", &GC_Style::anotationTextPositionFlag},
            {"Free text/Anchor", &GC_Style::freeTextPositionFlag},
            {"Ruler/Style", &GC_Style::rulerStyle},
            {"Ruler/Lines/Orientation", &GC_Style::rulerOrientation},
            {"Ruler/Text/Placement", &GC_Style::rulerTextPlacement},
        };
        Tool tool;
        auto *combo = tool.editor<QComboBox>(path);
        QCOMPARE(combo->count(), codes.size());
        QCOMPARE(combo->currentIndex(), 0);
        for (int index = 0; index < codes.size(); ++index) {
            combo->setCurrentIndex(index);
            QCOMPARE(tool.widget.style().*fields.value(path), codes.at(index));
        }
    }

    void spinBoxesKeepTheirRanges()
    {
        Tool tool;
        auto typeInto = [](QAbstractSpinBox *spin, const QString &text) {
            spin->setFocus();
            spin->selectAll();
            QTest::keyClicks(spin, text);
            QTest::keyClick(spin, Qt::Key_Enter);
        };
        auto *pixPerNuc = tool.editor<QDoubleSpinBox>("Genome/Pixels per nucleotid");
        typeInto(pixPerNuc, "0.0123456789");
        QCOMPARE(tool.widget.style().genomePixPerNuc, 0.0123456789);
        pixPerNuc->setValue(500.0);
        QCOMPARE(tool.widget.style().genomePixPerNuc, 99.99);

        auto *size = tool.editor<QDoubleSpinBox>("Ruler/Lines/Big height");
        size->setValue(-5.0);
        QCOMPARE(tool.widget.style().rulerHeightBig, 0.0);
        size->setValue(1e9);
        QCOMPARE(tool.widget.style().rulerHeightBig, 99999.0);
        auto *position = tool.editor<QDoubleSpinBox>("Free text/X");
        position->setValue(-1e9);
        QCOMPARE(tool.widget.style().freeTextX, -99999.0);
        auto *angle = tool.editor<QDoubleSpinBox>("Free text/Angle");
        angle->setValue(400.0);
        QCOMPARE(tool.widget.style().freeTextAngle, 360.0);
        auto *count = tool.editor<QSpinBox>("Ruler/Lines/Pixels per period");
        QCOMPARE(tool.widget.style().rulerPixsPerPeriod, 1);
        count->setValue(0);
        QCOMPARE(tool.widget.style().rulerPixsPerPeriod, 1);
        QCOMPARE(count->maximum(), std::numeric_limits<int>::max());
    }

    void untouchedPickersGiveInvalidColourAndDefaultFont()
    {
        Tool tool;
        tool.checkRow("Gene/Segment/Fill color");
        tool.pressApply();
        QVERIFY(tool.record->applyGeneFillColor);
        QVERIFY(!tool.record->geneFillColor.isValid());
        QCOMPARE(tool.record->rulerTextFont, QApplication::font());
        QCOMPARE(tool.record->sceneMargin, 30.0);
        QCOMPARE(tool.record->sceneSeparationBetweenGenomes, 7.0);
    }

    void colourChosenInTheDialogReachesTheRecord()
    {
        Tool tool;
        auto *picker = tool.editor<GC_ColorPicker>("Free text/Color");
        tool.tree()->scrollToItem(tool.row("Free text/Color"));
        ModalAnswerer::handle([](QWidget *modal) {
            auto *dialog = qobject_cast<QColorDialog *>(modal);
            QVERIFY(dialog);
            dialog->setCurrentColor(QColor(12, 34, 56));
            dialog->accept();
        });
        QTest::mouseClick(picker->findChild<QToolButton *>(), Qt::LeftButton);
        tool.pressApply();
        QCOMPARE(tool.record->freeTextColor, QColor(12, 34, 56));
    }

    // The tool joined to a real scene styles the selection and marks the
    // document modified.
    void applyStylesTheSelectedItemsOfAScene()
    {
        Canvas c;
        Tool tool;
        QObject::connect(&tool.widget, &GC_MagicStylerWidget::applyStyle, &c.scene,
                         &GC_GenomeScene::slotApplyStyle);
        const QColor topFill = c.top->getFillColor();
        tool.editor<GC_ColorPicker>("Gene/Segment/Fill color")->setColor(Qt::green);
        tool.editor<GC_ColorPicker>("Genome/Segment/Fill color")->setColor(Qt::red);
        tool.checkRow("Gene/Segment/Fill color");
        tool.checkRow("Genome/Segment/Fill color");
        c.gene->setSelected(true);
        tool.pressApply();
        QCOMPARE(c.gene->getFillColor(), QColor(Qt::green));
        QCOMPARE(c.top->getFillColor(), topFill);
        QVERIFY(c.scene.isModified());

        // A selected genome with child items styles its genes as well.
        c.scene.setModified(false);
        c.gene->setSelected(false);
        c.gene->setFillColor(Qt::blue);
        c.low->setSelected(true);
        c.top->setSelected(true);
        tool.clickOption("checkBoxChildItems");
        tool.pressApply();
        QCOMPARE(c.top->getFillColor(), QColor(Qt::red));
        QCOMPARE(c.low->getFillColor(), QColor(Qt::red));
        QCOMPARE(c.gene->getFillColor(), QColor(Qt::green));
        QCOMPARE(c.top2->getFillColor(), topFill);
        QVERIFY(c.scene.isModified());
    }

    void allItemsStylesEveryGenomeAndItsChildren()
    {
        Canvas c;
        Tool tool;
        QObject::connect(&tool.widget, &GC_MagicStylerWidget::applyStyle, &c.scene,
                         &GC_GenomeScene::slotApplyStyle);
        tool.editor<GC_ColorPicker>("Genome/Segment/Line color")->setColor(Qt::blue);
        tool.editor<GC_ColorPicker>("Gene/Segment/Line color")->setColor(Qt::cyan);
        tool.editor<GC_ColorPicker>("Matching/Straigth color")->setColor(Qt::darkGreen);
        tool.editor<GC_ColorPicker>("Matching/Reverse color")->setColor(Qt::darkRed);
        tool.editor<QComboBox>("Ruler/Style")->setCurrentIndex(1);
        tool.editor<QDoubleSpinBox>("Scene/Margin")->setValue(55.0);
        for (const char *path : {"Genome/Segment/Line color", "Gene/Segment/Line color",
                                 "Matching/Straigth color", "Matching/Reverse color",
                                 "Ruler/Style", "Scene/Margin"})
            tool.checkRow(path);
        tool.clickOption("checkBoxAllItems");
        tool.pressApply();
        for (GC_Genome *genome : c.scene.genomes()) {
            QCOMPARE(genome->getLineColor(), QColor(Qt::blue));
            QCOMPARE(genome->getRuler()->getStyle(), 1);
        }
        QCOMPARE(c.gene->getLineColor(), QColor(Qt::cyan));
        QCOMPARE(c.direct->color(), QColor(Qt::darkGreen));
        QCOMPARE(c.opposite->color(), QColor(Qt::darkRed));
        QCOMPARE(c.scene.margin(), 55.0);
        QCOMPARE(c.scene.separationBetweenGenomes(), 7.0);
        QVERIFY(c.scene.isModified());
    }
};

KESTAL_TEST_MAIN(TestStyleTool)
#include "tst_styletool.moc"
