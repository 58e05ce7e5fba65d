#include "kestal_test.h"
#include "modal_answerer.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genometext.h"
#include "gc_genomescene.h"
#include "gc_magicstylerwidget.h"
#include "gc_ruler.h"
#include "gc_style.h"
#include "scene_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <memory>
#include <optional>

using namespace SceneFixture;

namespace {

// Every row of the tool: its path of labels, the flag its apply box fills and
// the value its editor fills.
struct StyleRow
{
    const char *path;
    bool GC_Style::*flag;
    QVariant (*value)(const GC_Style &);
};

#define ROW(path, Name, name) \
    { path, &GC_Style::apply##Name, [](const GC_Style &s) { return QVariant::fromValue(s.name); } }
const StyleRow styleRows[] = {
    ROW("Genome/X", GenomeX, genomeX),
    ROW("Genome/Y", GenomeY, genomeY),
    ROW("Genome/Orientation", GenomeOrientation, genomeOrientation),
    ROW("Genome/Pixels per nucleotid", GenomePixPerNuc, genomePixPerNuc),
    ROW("Genome/Show genes", GenomeShowGenes, genomeShowGenes),
    ROW("Genome/Show anotations", GenomeShowAnotations, genomeShowAnotations),
    ROW("Genome/Show matchings", GenomeShowMatchings, genomeShowMatchings),
    ROW("Genome/Show ruler", GenomeShowRuler, genomeShowRuler),
    ROW("Genome/Show text", GenomeShowText, genomeShowText),
    ROW("Genome/Segment/Head height", GenomeHeightBig, genomeHeightBig),
    ROW("Genome/Segment/Head length", GenomeHeadLength, genomeHeadLength),
    ROW("Genome/Segment/Width", GenomeHeightSmall, genomeHeightSmall),
    ROW("Genome/Segment/Line color", GenomeLineColor, genomeLineColor),
    ROW("Genome/Segment/Fill color", GenomeFillColor, genomeFillColor),
    ROW("Genome/Segment/Style", GenomeArrowStyle, genomeArrowStyle),
    ROW("Genome/Text/X", GenomeTextX, genomeTextX),
    ROW("Genome/Text/Y", GenomeTextY, genomeTextY),
    ROW("Genome/Text/Angle", GenomeTextAngle, genomeTextAngle),
    ROW("Genome/Text/Anchor", GenomeTextPositionFlag, genomeTextPositionFlag),
    ROW("Genome/Text/Color", GenomeTextColor, genomeTextColor),
    ROW("Genome/Text/Font", GenomeTextFont, genomeTextFont),
    ROW("Gene/Y", GeneY, geneY),
    ROW("Gene/Orientation", GeneOrientation, geneOrientation),
    ROW("Gene/Show text", GeneShowText, geneShowText),
    ROW("Gene/Segment/Head height", GeneHeightBig, geneHeightBig),
    ROW("Gene/Segment/Head length", GeneHeadLength, geneHeadLength),
    ROW("Gene/Segment/Width", GeneHeightSmall, geneHeightSmall),
    ROW("Gene/Segment/Line color", GeneLineColor, geneLineColor),
    ROW("Gene/Segment/Fill color", GeneFillColor, geneFillColor),
    ROW("Gene/Segment/Style", GeneArrowStyle, geneArrowStyle),
    ROW("Gene/Text/Automatic", GeneTextAutomatic, geneTextAutomatic),
    ROW("Gene/Text/X", GeneTextX, geneTextX),
    ROW("Gene/Text/Y", GeneTextY, geneTextY),
    ROW("Gene/Text/Angle", GeneTextAngle, geneTextAngle),
    ROW("Gene/Text/Anchor", GeneTextPositionFlag, geneTextPositionFlag),
    ROW("Gene/Text/Color", GeneTextColor, geneTextColor),
    ROW("Gene/Text/Font", GeneTextFont, geneTextFont),
    ROW("Anotation/Y", AnotationY, anotationY),
    ROW("Anotation/Show text", AnotationShowText, anotationShowText),
    ROW("Anotation/Rect/Width", AnotationHeight, anotationHeight),
    ROW("Anotation/Rect/Line color", AnotationLineColor, anotationLineColor),
    ROW("Anotation/Rect/Fill color", AnotationFillColor, anotationFillColor),
    ROW("Anotation/Text/Y", AnotationTextY, anotationTextY),
    ROW("Anotation/Text/Angle", AnotationTextAngle, anotationTextAngle),
    ROW("Anotation/Text/Anchor", AnotationTextPositionFlag, anotationTextPositionFlag),
    ROW("Anotation/Text/Color", AnotationTextColor, anotationTextColor),
    ROW("Anotation/Text/Font", AnotationTextFont, anotationTextFont),
    ROW("Matching/Straigth color", MatchingStraightColor, matchingStraightColor),
    ROW("Matching/Reverse color", MatchingReverseColor, matchingReverseColor),
    ROW("Ruler/Y", RulerY, rulerY),
    ROW("Ruler/Style", RulerStyle, rulerStyle),
    ROW("Ruler/Lines/Horizontal Line Visible", RulerHorizontalLineVisible, rulerHorizontalLineVisible),
    ROW("Ruler/Lines/Big height", RulerHeightBig, rulerHeightBig),
    ROW("Ruler/Lines/Small height", RulerHeightSmall, rulerHeightSmall),
    ROW("Ruler/Lines/Nucleotids per period", RulerNucsPerPeriod, rulerNucsPerPeriod),
    ROW("Ruler/Lines/Periods per big line", RulerPeriodsPerBigLine, rulerPeriodsPerBigLine),
    ROW("Ruler/Lines/Pixels per period", RulerPixsPerPeriod, rulerPixsPerPeriod),
    ROW("Ruler/Lines/Orientation", RulerOrientation, rulerOrientation),
    ROW("Ruler/Lines/Color", RulerLineColor, rulerLineColor),
    ROW("Ruler/Text/Placement", RulerTextPlacement, rulerTextPlacement),
    ROW("Ruler/Text/Color", RulerTextColor, rulerTextColor),
    ROW("Ruler/Text/Font", RulerTextFont, rulerTextFont),
    ROW("Free text/X", FreeTextX, freeTextX),
    ROW("Free text/Y", FreeTextY, freeTextY),
    ROW("Free text/Angle", FreeTextAngle, freeTextAngle),
    ROW("Free text/Anchor", FreeTextPositionFlag, freeTextPositionFlag),
    ROW("Free text/Color", FreeTextColor, freeTextColor),
    ROW("Free text/Font", FreeTextFont, freeTextFont),
    ROW("Scene/Margin", SceneMargin, sceneMargin),
    ROW("Scene/Separation between genomes", SceneSeparationBetweenGenomes, sceneSeparationBetweenGenomes),
};
#undef ROW

const StyleRow &styleRow(const QString &path)
{
    for (const StyleRow &row : styleRows)
        if (path == row.path)
            return row;
    qFatal("no row %s", qPrintable(path));
}

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
        QTreeWidgetItem *item = tree()->invisibleRootItem();
        for (const QString &label : path.split('/')) {
            QTreeWidgetItem *next = nullptr;
            for (int i = 0; i < item->childCount() && !next; ++i)
                next = item->child(i)->text(0) == label ? item->child(i) : nullptr;
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
    QWidget *editor(const QString &path) const { return tree()->itemWidget(row(path), 2); }
    template <class T> T *editor(const QString &path) const
    {
        return qobject_cast<T *>(editor(path));
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
    void clickOption(const char *name) { click(widget.findChild<QCheckBox *>(name)); }
    void pressApply()
    {
        QTest::mouseClick(widget.findChild<QPushButton *>("buttonApply"), Qt::LeftButton);
    }
};

// Two 1000 nt genomes, a gene on the top one, a direct and an opposite-way
// matching between them, and a tool joined to the scene; the document
// starts clean.
struct Canvas
{
    GC_GenomeScene scene;
    Tool tool;
    GC_Genome *top = genomeWithSequence(1000, "alpha", 1);
    GC_Genome *low = genomeWithSequence(1000, "gamma", 2);
    GC_Gene *gene = addGene(top, 101, 200);
    GC_GenomeMatching *direct = nullptr, *opposite = nullptr;

    Canvas()
    {
        for (GC_Genome *genome : {top, low}) {
            scene.addItem(genome);
            genome->updateChildren();
        }
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        low->setPos(0, 200);
        scene.addMatching(top, low, 301, 400, 301, 400, 90.0, 200.0);
        scene.addMatching(top, low, 801, 900, 100, 1, 90.0, 150.0);
        for (GC_GenomeMatching *matching : scene.matchings())
            (matching->isDirect() ? direct : opposite) = matching;
        scene.setModified(false);
        QObject::connect(&tool.widget, &GC_MagicStylerWidget::applyStyle, &scene,
                         &GC_GenomeScene::slotApplyStyle);
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
        for (const StyleRow &row : styleRows)
            QVERIFY(!(empty.*row.flag));
        widget.buildTree();
        widget.buildTree();
        QCOMPARE(tree->topLevelItemCount(), 7);
    }

    // Each row's apply box raises exactly its own flag, and every flag of
    // the record has a row.
    void everyApplyBoxRaisesItsOwnFlag()
    {
        Tool tool;
        int applyBoxes = 0;
        for (QTreeWidgetItemIterator it(tool.tree()); *it; ++it)
            applyBoxes += qobject_cast<QCheckBox *>(tool.tree()->itemWidget(*it, 1)) ? 1 : 0;
        QCOMPARE(applyBoxes, 70);
        for (const StyleRow &row : styleRows) {
            QCheckBox *box = tool.applyBox(row.path);
            box->setChecked(true);
            const GC_Style style = tool.widget.style();
            box->setChecked(false);
            for (const StyleRow &other : styleRows)
                QVERIFY2((style.*other.flag) == (&other == &row),
                         qPrintable(QString("%1 / %2").arg(row.path, other.path)));
        }
    }

    // A distinct value in every editor reaches the row's own field.
    void everyEditorFillsItsOwnValue()
    {
        Tool tool;
        QHash<QString, QVariant> expected;
        int k = 1;
        for (const StyleRow &row : styleRows) {
            QWidget *editor = tool.editor(row.path);
            if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
                spin->setValue(0.25 * k);
                expected[row.path] = 0.25 * k;
            } else if (auto *count = qobject_cast<QSpinBox *>(editor)) {
                count->setValue(10 * k);
                expected[row.path] = 10 * k;
            } else if (auto *check = qobject_cast<QCheckBox *>(editor)) {
                Tool::click(check);
                expected[row.path] = true;
            } else if (auto *color = qobject_cast<GC_ColorPicker *>(editor)) {
                color->setColor(QColor(k, 50, 60));
                expected[row.path] = QColor(k, 50, 60);
            } else if (auto *font = qobject_cast<GC_FontPicker *>(editor)) {
                font->setFont(QFont("Serif", 5 + k));
                expected[row.path] = QFont("Serif", 5 + k);
            } else {
                QVERIFY2(qobject_cast<QComboBox *>(editor), row.path); // see combosGiveTheirCodes
            }
            ++k;
        }
        QCOMPARE(expected.size(), 70 - 11);
        tool.pressApply();
        for (const StyleRow &row : styleRows)
            if (expected.contains(row.path))
                QVERIFY2(row.value(*tool.record) == expected.value(row.path), row.path);
    }

    void combosGiveTheirCodes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<int>>("codes");
        for (const char *anchor : {"Genome/Text/Anchor", "Gene/Text/Anchor",
                                   "Anotation/Text/Anchor", "Free text/Anchor"})
            QTest::newRow(anchor) << anchor << QList<int>{0, 1, 2};
        QTest::newRow("genome orientation") << "Genome/Orientation" << QList<int>{-1, 1};
        QTest::newRow("gene orientation") << "Gene/Orientation" << QList<int>{1, -1};
        QTest::newRow("genome style") << "Genome/Segment/Style" << QList<int>{0, 1};
        QTest::newRow("gene style") << "Gene/Segment/Style" << QList<int>{0, 1};
        QTest::newRow("ruler style") << "Ruler/Style" << QList<int>{0, 1};
        QTest::newRow("ruler orientation") << "Ruler/Lines/Orientation" << QList<int>{0, 1, 2};
        QTest::newRow("ruler placement") << "Ruler/Text/Placement" << QList<int>{0, 2, 1, 3};
    }
    void combosGiveTheirCodes()
    {
        QFETCH(QString, path);
        QFETCH(QList<int>, codes);
        Tool tool;
        auto *combo = tool.editor<QComboBox>(path);
        QCOMPARE(combo->count(), codes.size());
        QCOMPARE(combo->currentIndex(), 0);
        for (int index = 0; index < codes.size(); ++index) {
            combo->setCurrentIndex(index);
            QCOMPARE(styleRow(path).value(tool.widget.style()).toInt(), codes.at(index));
        }
    }

    void applyWithNothingCheckedEmitsNoFlags()
    {
        Tool tool;
        tool.pressApply();
        QCOMPARE(tool.emitted, 1);
        for (const StyleRow &row : styleRows)
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
    }

    // Pixels per nucleotide takes ten decimals; untouched pickers give an
    // invalid colour and the default font; the scene's spacing starts at the
    // scene's own defaults.
    void editorsStartAndReadAsTheRecordNeeds()
    {
        Tool tool;
        auto *pixPerNuc = tool.editor<QDoubleSpinBox>("Genome/Pixels per nucleotid");
        pixPerNuc->setFocus();
        pixPerNuc->selectAll();
        QTest::keyClicks(pixPerNuc, "0.0123456789");
        tool.editor<QDoubleSpinBox>("Ruler/Lines/Big height")->setValue(-5.0);
        tool.editor<QSpinBox>("Ruler/Lines/Pixels per period")->setValue(0);
        const GC_Style style = tool.widget.style();
        QCOMPARE(style.genomePixPerNuc, 0.0123456789);
        QCOMPARE(style.rulerHeightBig, 0.0);
        QCOMPARE(style.rulerPixsPerPeriod, 1);
        QVERIFY(!style.geneFillColor.isValid());
        QCOMPARE(style.rulerTextFont, QApplication::font());
        QCOMPARE(style.sceneMargin, 30.0);
        QCOMPARE(style.sceneSeparationBetweenGenomes, 7.0);
    }

    // Joined to a real scene, the tool styles the selection and marks the
    // document modified; a selected name label stands for its genome.
    void applyStylesTheSelectedItemsOfAScene()
    {
        Canvas c;
        Tool &tool = c.tool;
        const QColor lowFill = c.low->getFillColor();
        tool.editor<GC_ColorPicker>("Gene/Segment/Fill color")->setColor(Qt::green);
        tool.editor<GC_ColorPicker>("Genome/Segment/Fill color")->setColor(Qt::red);
        tool.checkRow("Gene/Segment/Fill color");
        tool.checkRow("Genome/Segment/Fill color");
        c.gene->setSelected(true);
        tool.pressApply();
        QCOMPARE(c.gene->getFillColor(), QColor(Qt::green));
        QVERIFY(c.top->getFillColor() != QColor(Qt::red));
        QVERIFY(c.scene.isModified());

        c.scene.setModified(false);
        c.gene->setSelected(false);
        c.gene->setFillColor(Qt::blue);
        c.top->getNameLabel()->setSelected(true);
        tool.clickOption("checkBoxChildItems");
        tool.pressApply();
        QCOMPARE(c.top->getFillColor(), QColor(Qt::red));
        QCOMPARE(c.gene->getFillColor(), QColor(Qt::green));
        QCOMPARE(c.low->getFillColor(), lowFill);
        QVERIFY(c.scene.isModified());
    }

    void allItemsStylesEveryGenomeAndItsChildren()
    {
        Canvas c;
        Tool &tool = c.tool;
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
        tool.clickOption("checkBoxAllItems"); // "Child items" stays off
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

    // A forced apply over untouched rows leaves every genome and gene where
    // it stands, its way round and at its size and scale; a position or
    // orientation row still applies once its own box is ticked, and a ticked
    // size of 0 is refused in words.
    void forcedApplyKeepsPlacesOrientationsAndSizes()
    {
        Canvas c;
        Tool &tool = c.tool;
        c.top->setPos(40.0, 10.0);
        auto shape = [](const GC_SequenceArrowItem *item, double scale, int orientation) {
            return QStringList{QString::number(item->x()), QString::number(item->y()),
                               QString::number(orientation), QString::number(item->getHeightBig()),
                               QString::number(item->getHeightSmall()), QString::number(scale)}
                .join(' ');
        };
        auto shapes = [&] {
            return QStringList{shape(c.top, c.top->getPixPerNuc(), c.top->getOrientation()),
                               shape(c.low, c.low->getPixPerNuc(), c.low->getOrientation()),
                               shape(c.gene, 1.0, c.gene->getOrientation())};
        };
        const QStringList before = shapes();
        const QColor topFill = c.top->getFillColor();
        const double headHeight = c.top->getHeightBig();
        tool.editor<GC_ColorPicker>("Matching/Straigth color")->setColor(Qt::darkGreen);
        tool.clickOption("checkBoxAllItems");
        tool.clickOption("checkBoxForce");
        tool.pressApply();
        QCOMPARE(tool.emitted, 1);
        QCOMPARE(shapes(), before);
        // A colour row that holds no colour is never applied.
        QCOMPARE(c.top->getFillColor(), topFill);
        // Every other row is forced.
        QCOMPARE(c.direct->color(), QColor(Qt::darkGreen));

        tool.editor<QComboBox>("Genome/Orientation")->setCurrentIndex(0);
        tool.checkRow("Genome/Orientation");
        tool.checkRow("Genome/Segment/Head height");
        ModalAnswerer::clickButton(QMessageBox::Ok);
        tool.pressApply();
        QCOMPARE(tool.emitted, 2);
        QVERIFY(ModalAnswerer::lastText().contains("Genome / Segment / Head height"));
        QCOMPARE(c.top->getOrientation(), -1);
        QCOMPARE(c.low->getOrientation(), -1);
        QCOMPARE(c.top->getHeightBig(), headHeight);
        QCOMPARE(c.top->pos(), QPointF(40.0, 10.0));
    }
};

KESTAL_TEST_MAIN(TestStyleTool)
#include "tst_styletool.moc"
