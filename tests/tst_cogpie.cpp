#include "kestal_test.h"
#include "reference_database_fixture.h"

#include "gc_coggroupcolors.h"
#include "gc_coghomologies.h"
#include "gc_cogpiedialog.h"
#include "gc_cogpieview.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_referencedatabases.h"

#include <QImage>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QStandardItemModel>

#include <cmath>
#include <memory>

namespace {

GC_Genome *makeGenome(GC_GenomeScene &scene, int length)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, length));
    genome->setPixPerNuc(1.0);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    return genome;
}

bool addHit(GC_Genome *genome, int start, int end, const QString &category)
{
    return genome->getCogHomologies()->addCogMatching(start, end, 3, "COG0012", category, 1,
                                                      1e-20, 80.0f);
}

// The table rows as "name|base pairs|percent".
QStringList tableRows(const QStandardItemModel *model)
{
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        rows << QString("%1|%2|%3")
                    .arg(model->index(row, 0).data().toString())
                    .arg(model->index(row, 1).data().toFloat())
                    .arg(model->index(row, 2).data().toString());
    }
    return rows;
}

// The row of a category: its position in the collection's class order, after row 0.
int categoryRow(const QString &code)
{
    const auto &groups = ReferenceDatabaseFixture::cogGroups();
    for (int i = 0; i < groups.size(); ++i) {
        if (groups[i].code == code)
            return i + 1;
    }
    return -1;
}

QString row(const QStandardItemModel *model, int row)
{
    return tableRows(model).value(row);
}

void computeFor(GC_CogPieDialog &dialog, const GC_Genome *genome)
{
    dialog.matchings = genome->getCogHomologies()->matchings();
    dialog.positionMap = genome->getCogHomologies()->positionMap();
    dialog.computeStatistics();
}

// A pie view whose viewport is exactly width x height pixels.
struct ShownPie
{
    QStandardItemModel model{ 0, 3 };
    GC_CogPieView view;

    ShownPie(int width = 600, int height = 300)
    {
        view.setFrameStyle(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setModel(&model);
        view.resize(width, height);
        view.show();
    }
    void addRow(const QString &name, double value, const QColor &color)
    {
        const int row = model.rowCount();
        model.insertRows(row, 1);
        model.setData(model.index(row, 0), name);
        model.setData(model.index(row, 0), color, Qt::DecorationRole);
        model.setData(model.index(row, 1), value);
    }
    QImage image() { return view.viewport()->grab().toImage(); }
    int lineHeight() const { return QFontMetrics(view.font()).height(); }
};

// A viewport point at an angle (degrees, counter-clockwise from 3 o'clock)
// and a distance from the pie's centre (150, 150).
QPoint polar(double degrees, double distance)
{
    const double radians = degrees * M_PI / 180.0;
    return QPoint(150 + int(std::lround(distance * std::cos(radians))),
                  150 - int(std::lround(distance * std::sin(radians))));
}

int countColor(const QImage &image, const QRect &rect, const QColor &color)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixelColor(x, y) == color;
    }
    return count;
}

const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

} // namespace

class TestCogPie : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // Statistics dialog.
    void basePairsAndPercentPerCategory();
    void overlappingHitsCountOnce();
    void unknownCategoryCountsOnlyInTheTotal();
    void secondRequestReplacesTheRows();
    void noHitEverLoaded();
    void withoutTheCollectionOnlyTheFirstRow();
    void sceneShowsStatisticsOfTheSelectedBar();
    void pieDrawsTheCategoryColours();

    // Pie view.
    void emptyModelPaintsOnlyTheBackground();
    void slicesAndKeyAreHit();
    void zeroRowsHaveNoSliceNorKeyEntry();
    void clickSelectsTheSlice();
    void totalsFollowRemovedRows();
    void scrollRangesFollowTheViewport();

private:
    std::unique_ptr<ReferenceDatabaseFixture> references;
};

void TestCogPie::initTestCase()
{
    references = std::make_unique<ReferenceDatabaseFixture>();
    QVERIFY2(references->build(), qPrintable(references->errorString()));
    QVERIFY(references->open());
    GC_CogGroupColors::loadGroupColors();
}

// ---------------------------------------------------------------- statistics dialog

void TestCogPie::basePairsAndPercentPerCategory()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 1000);
    QVERIFY(addHit(genome, 201, 400, "J"));

    GC_CogPieDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("GC homologies statistics"));
    QVERIFY(!dialog.testAttribute(Qt::WA_QuitOnClose));
    computeFor(dialog, genome);
    const QStandardItemModel *model = dialog.statisticsModel();
    QCOMPARE(model->rowCount(), 1 + ReferenceDatabaseFixture::cogGroups().size());
    QCOMPARE(row(model, 0), QString("Non protein-coding region or no COG assigned|800|80.0%"));
    QCOMPARE(row(model, categoryRow("J")), QString("Translation, ribosomal structure and biogenesis|200|20.0%"));
    QVERIFY(row(model, categoryRow("K")).endsWith("|0|0.0%"));
    QCOMPARE(model->index(0, 0).data(Qt::DecorationRole).value<QColor>(),
             GC_CogGroupColors::peekColor("-1"));
    QCOMPARE(model->index(categoryRow("J"), 0).data(Qt::DecorationRole).value<QColor>(),
             GC_CogGroupColors::peekColor("J"));
    QCOMPARE(model->index(1, 1).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Base pairs"));
    // The pie follows the same model: row 0, J, and nothing for empty categories.
    QCOMPARE(dialog.pieChart()->validItemCount(), 2);
    QCOMPARE(dialog.pieChart()->totalItemValue(), 1000.0);
}

void TestCogPie::overlappingHitsCountOnce()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 1000);
    QVERIFY(addHit(genome, 101, 300, "J"));
    QVERIFY(addHit(genome, 201, 400, "K"));  // the later hit owns 201..300

    GC_CogPieDialog dialog;
    computeFor(dialog, genome);
    const QStandardItemModel *model = dialog.statisticsModel();
    QVERIFY(row(model, 0).endsWith("|700|70.0%"));
    QVERIFY(row(model, categoryRow("J")).endsWith("|100|10.0%"));
    QVERIFY(row(model, categoryRow("K")).endsWith("|200|20.0%"));
}

void TestCogPie::unknownCategoryCountsOnlyInTheTotal()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 300);
    QVERIFY(addHit(genome, 1, 100, "J"));
    QVERIFY(addHit(genome, 201, 300, "X"));

    GC_CogPieDialog dialog;
    computeFor(dialog, genome);
    const QStandardItemModel *model = dialog.statisticsModel();
    QVERIFY(row(model, 0).endsWith("|100|33.3%"));
    QVERIFY(row(model, categoryRow("J")).endsWith("|100|33.3%"));
    double shown = 0.0;
    for (const QString &text : tableRows(model))
        shown += text.section('|', 1, 1).toDouble();
    QCOMPARE(shown, 200.0);
}

void TestCogPie::secondRequestReplacesTheRows()
{
    GC_GenomeScene scene;
    GC_Genome *first = makeGenome(scene, 1000);
    GC_Genome *second = makeGenome(scene, 300);
    QVERIFY(addHit(first, 1, 500, "J"));
    QVERIFY(addHit(second, 1, 200, "E"));

    GC_CogPieDialog dialog;
    computeFor(dialog, first);
    computeFor(dialog, second);
    const QStandardItemModel *model = dialog.statisticsModel();
    QCOMPARE(model->rowCount(), 1 + ReferenceDatabaseFixture::cogGroups().size());
    QVERIFY(row(model, 0).endsWith("|100|33.3%"));
    QVERIFY(row(model, categoryRow("E")).endsWith("|200|66.7%"));
    QVERIFY(row(model, categoryRow("J")).endsWith("|0|0.0%"));
    QCOMPARE(dialog.pieChart()->validItemCount(), 2);
    QCOMPARE(dialog.pieChart()->totalItemValue(), 300.0);
}

void TestCogPie::noHitEverLoaded()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 1000);
    GC_CogPieDialog dialog;
    computeFor(dialog, genome);
    const QStringList rows = tableRows(dialog.statisticsModel());
    QCOMPARE(rows.size(), 1 + ReferenceDatabaseFixture::cogGroups().size());
    for (const QString &text : rows)
        QVERIFY2(text.endsWith("|0|0.0%"), qPrintable(text));
    QCOMPARE(dialog.pieChart()->validItemCount(), 0);

    // Stored rows that were all refused leave the whole genome uncovered.
    QVERIFY(!genome->getCogHomologies()->addCogMatching(
        10, 20, ReferenceDatabaseFixture::missingCogProteinId, 1e-20, 90.0));
    computeFor(dialog, genome);
    QCOMPARE(row(dialog.statisticsModel(), 0),
             QString("Non protein-coding region or no COG assigned|1000|100.0%"));
}

void TestCogPie::withoutTheCollectionOnlyTheFirstRow()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 1000);
    QVERIFY(addHit(genome, 1, 250, "J"));

    GC_ReferenceDatabases::close(GC_ReferenceDatabases::Cog);
    GC_CogPieDialog dialog;
    computeFor(dialog, genome);
    QVERIFY(GC_ReferenceDatabases::open(GC_ReferenceDatabases::Cog));
    QCOMPARE(tableRows(dialog.statisticsModel()),
             QStringList({ "Non protein-coding region or no COG assigned|750|75.0%" }));
}

void TestCogPie::sceneShowsStatisticsOfTheSelectedBar()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 400);
    QVERIFY(addHit(genome, 1, 100, "J"));
    GC_CogPieDialog *dialog = scene.cogPieDialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());

    // A genome is not a COG bar: nothing happens.
    genome->setSelected(true);
    scene.slotCogHomologiesStatistics();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->statisticsModel()->rowCount(), 0);

    scene.clearSelection();
    genome->setShowCogHomologies(true);  // a hidden bar cannot be selected
    genome->getCogHomologies()->setSelected(true);
    scene.slotCogHomologiesStatistics();
    QVERIFY(dialog->isVisible());
    QVERIFY(row(dialog->statisticsModel(), 0).endsWith("|300|75.0%"));
    QVERIFY(row(dialog->statisticsModel(), categoryRow("J")).endsWith("|100|25.0%"));

    // Hits loaded later show at the next request only.
    QVERIFY(addHit(genome, 201, 300, "J"));
    QVERIFY(row(dialog->statisticsModel(), 0).endsWith("|300|75.0%"));
    scene.slotCogHomologiesStatistics();
    QVERIFY(row(dialog->statisticsModel(), 0).endsWith("|200|50.0%"));
    dialog->hide();
}

void TestCogPie::pieDrawsTheCategoryColours()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene, 400);
    QVERIFY(addHit(genome, 201, 400, "J"));
    const QColor noCategory = GC_CogGroupColors::peekColor("-1");
    const QColor grey(128, 128, 128);
    GC_CogGroupColors::setGroupColor("-1", grey);

    GC_CogPieDialog dialog;
    computeFor(dialog, genome);
    GC_CogGroupColors::setGroupColor("-1", noCategory);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    GC_CogPieView *pie = dialog.pieChart();
    pie->horizontalScrollBar()->setValue(0);
    pie->verticalScrollBar()->setValue(0);
    const QImage image = pie->viewport()->grab().toImage();
    // Row 0 spans 0 to 180 degrees (the upper half), J the lower half.
    QCOMPARE(image.pixelColor(polar(90, 80)), grey);
    QCOMPARE(image.pixelColor(polar(270, 80)), GC_CogGroupColors::peekColor("J"));
    dialog.hide();
}

// ---------------------------------------------------------------- pie view

void TestCogPie::emptyModelPaintsOnlyTheBackground()
{
    ShownPie pie;
    pie.addRow("nothing", 0.0, red);
    pie.addRow("negative", -5.0, blue);
    QVERIFY(QTest::qWaitForWindowExposed(&pie.view));
    const QImage image = pie.image();
    const QColor base = pie.view.palette().color(QPalette::Base);
    QCOMPARE(countColor(image, image.rect(), base), image.width() * image.height());
    QVERIFY(!pie.view.indexAt(QPoint(150, 100)).isValid());
    QVERIFY(!pie.view.indexAt(QPoint(310, 10)).isValid());
}

void TestCogPie::slicesAndKeyAreHit()
{
    ShownPie pie;
    pie.addRow("first", 1.0, red);
    pie.addRow("second", 3.0, blue);
    QVERIFY(QTest::qWaitForWindowExposed(&pie.view));
    const QModelIndex firstValue = pie.model.index(0, 1);
    const QModelIndex secondValue = pie.model.index(1, 1);

    // The first slice spans 0 to 90 degrees.
    QCOMPARE(pie.view.indexAt(QPoint(200, 150)), firstValue);
    QCOMPARE(pie.view.indexAt(QPoint(200, 151)), secondValue);
    QCOMPARE(pie.view.indexAt(polar(45, 100)), firstValue);
    QCOMPARE(pie.view.indexAt(polar(180, 100)), secondValue);
    QVERIFY(!pie.view.indexAt(QPoint(150, 150)).isValid());
    QCOMPARE(pie.view.indexAt(QPoint(150 + 142, 150)), firstValue);
    QVERIFY(!pie.view.indexAt(QPoint(150 + 143, 150)).isValid());

    // Key entries, one line each from y 8; the line just above the first
    // still hits it.
    const int h = pie.lineHeight();
    QCOMPARE(pie.view.indexAt(QPoint(310, 8 + h / 2)), pie.model.index(0, 0));
    QCOMPARE(pie.view.indexAt(QPoint(590, 8 + h + h / 2)), pie.model.index(1, 0));
    QCOMPARE(pie.view.indexAt(QPoint(310, 8 - h + 1)), pie.model.index(0, 0));
    QVERIFY(!pie.view.indexAt(QPoint(310, 8 - h)).isValid());
    QCOMPARE(pie.view.visualRect(pie.model.index(1, 0)), QRect(300, 8 + h, 292, h));
    QVERIFY(pie.view.visualRect(pie.model.index(0, 2)).isNull());

    const QImage image = pie.image();
    QCOMPARE(image.pixelColor(polar(45, 100)), red);
    QCOMPARE(image.pixelColor(polar(200, 100)), blue);
    QCOMPARE(image.pixelColor(QPoint(3, 3)), pie.view.palette().color(QPalette::Base));
    // Each key entry shows its colour swatch.
    QVERIFY(countColor(image, pie.view.visualRect(pie.model.index(0, 0)), red) > 0);
    QVERIFY(countColor(image, pie.view.visualRect(pie.model.index(1, 0)), blue) > 0);
    QCOMPARE(countColor(image, pie.view.visualRect(pie.model.index(0, 0)), blue), 0);
}

void TestCogPie::zeroRowsHaveNoSliceNorKeyEntry()
{
    ShownPie pie;
    pie.addRow("first", 1.0, red);
    pie.addRow("empty", 0.0, Qt::green);
    pie.addRow("third", 1.0, blue);
    QVERIFY(QTest::qWaitForWindowExposed(&pie.view));
    const int h = pie.lineHeight();

    QCOMPARE(pie.view.validItemCount(), 2);
    QVERIFY(pie.view.visualRect(pie.model.index(1, 0)).isNull());
    QVERIFY(pie.view.visualRect(pie.model.index(1, 1)).isNull());
    QCOMPARE(pie.view.visualRect(pie.model.index(2, 0)).top(), 8 + h);
    QCOMPARE(pie.view.indexAt(QPoint(310, 8 + h + h / 2)), pie.model.index(2, 0));
    QCOMPARE(pie.view.indexAt(polar(270, 100)), pie.model.index(2, 1));
    QCOMPARE(countColor(pie.image(), pie.view.viewport()->rect(), QColor(Qt::green)), 0);

    // A later change of the value brings the row in.
    pie.model.setData(pie.model.index(1, 1), 2.0);
    QCOMPARE(pie.view.validItemCount(), 3);
    QCOMPARE(pie.view.totalItemValue(), 4.0);
    QCOMPARE(pie.view.indexAt(polar(135, 100)), pie.model.index(1, 1));
}

void TestCogPie::clickSelectsTheSlice()
{
    ShownPie pie;
    pie.addRow("first", 1.0, red);
    pie.addRow("second", 1.0, blue);
    QItemSelectionModel selection(&pie.model);
    pie.view.setSelectionModel(&selection);
    QVERIFY(QTest::qWaitForWindowExposed(&pie.view));
    const QRect upperHalf(60, 20, 180, 120);
    const int solid = countColor(pie.image(), upperHalf, red);
    QVERIFY(solid > 0);

    QTest::mouseClick(pie.view.viewport(), Qt::LeftButton, {}, polar(90, 100));
    QVERIFY(selection.isSelected(pie.model.index(0, 1)));
    QVERIFY(!selection.isSelected(pie.model.index(1, 1)));
    QCOMPARE(pie.view.currentIndex(), pie.model.index(0, 1));
    // The current slice is drawn hatched: fewer of its pixels are red.
    const int hatched = countColor(pie.image(), upperHalf, red);
    QVERIFY2(hatched > 0 && hatched < solid * 3 / 4, qPrintable(QString("%1 of %2").arg(hatched).arg(solid)));

    // A click on the key selects the label cell.
    QTest::mouseClick(pie.view.viewport(), Qt::LeftButton, {},
                      QPoint(400, 8 + pie.lineHeight() + 2));
    QVERIFY(selection.isSelected(pie.model.index(1, 0)));
    QVERIFY(!selection.isSelected(pie.model.index(0, 1)));
}

void TestCogPie::totalsFollowRemovedRows()
{
    ShownPie pie;
    pie.addRow("a", 2.0, red);
    pie.addRow("b", 0.0, red);
    pie.addRow("c", 5.0, blue);
    QCOMPARE(pie.view.validItemCount(), 2);
    QCOMPARE(pie.view.totalItemValue(), 7.0);
    pie.model.removeRows(0, 2);
    QCOMPARE(pie.view.validItemCount(), 1);
    QCOMPARE(pie.view.totalItemValue(), 5.0);
    pie.model.removeRows(0, pie.model.rowCount());
    QCOMPARE(pie.view.validItemCount(), 0);
    QCOMPARE(pie.view.totalItemValue(), 0.0);
}

void TestCogPie::scrollRangesFollowTheViewport()
{
    ShownPie pie(600, 300);
    pie.addRow("a", 1.0, red);
    QVERIFY(QTest::qWaitForWindowExposed(&pie.view));
    QCOMPARE(pie.view.horizontalScrollBar()->maximum(), 0);
    QCOMPARE(pie.view.verticalScrollBar()->maximum(), 0);

    pie.view.resize(400, 200);
    QTRY_COMPARE(pie.view.horizontalScrollBar()->maximum(), 200);
    QCOMPARE(pie.view.verticalScrollBar()->maximum(), 100);
    QCOMPARE(pie.view.horizontalScrollBar()->pageStep(), 400);

    // Scrolled away, the slice's cell brings both bars back to 0.
    pie.view.horizontalScrollBar()->setValue(150);
    pie.view.verticalScrollBar()->setValue(80);
    QCOMPARE(pie.view.indexAt(QPoint(200 - 150, 150 - 80)), pie.model.index(0, 1));
    pie.view.scrollTo(pie.model.index(0, 1));
    QCOMPARE(pie.view.horizontalScrollBar()->value(), 0);
    QCOMPARE(pie.view.verticalScrollBar()->value(), 0);
}

KESTAL_TEST_MAIN(TestCogPie)
#include "tst_cogpie.moc"
