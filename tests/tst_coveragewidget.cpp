#include "kestal_test.h"

#include "coverage_scene.h"
#include "gc_coverageoptionsdialog.h"
#include "gc_coveragewidget.h"
#include "gc_coveragewidgetlistitem.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "modal_answerer.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTreeWidget>

#include <memory>

namespace {

// Genome 1 (top) matched with genome 2 over 100-300 (score 60) and with
// genome 3 over 1000-1200 (score 40).
struct Comparison
{
    CoverageScene c;
    GC_Genome *genome = nullptr;
    GC_Genome *second = nullptr;
    GC_Genome *third = nullptr;
    GC_Gene *inSecond = nullptr;
    GC_Gene *inThird = nullptr;
    GC_Gene *outside = nullptr;
    GC_Gene *across = nullptr;

    Comparison()
    {
        genome = c.addGenome(1, 5000, true, "focus");
        second = c.addGenome(2, 5000, false, "second");
        third = c.addGenome(3, 5000, false, "third");
        c.addMatching(genome, 100, 300, second, 1, 200, 60);
        c.addMatching(genome, 1000, 1200, third, 1, 200, 40);
        inSecond = c.addGene(genome, 150, 250, "inSecond");
        inThird = c.addGene(genome, 1050, 1150, "inThird");
        outside = c.addGene(genome, 2000, 2100, "outside");
        across = c.addGene(genome, 280, 350, "across");
    }
};

template <typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

QTreeWidget *tree(GC_CoverageWidget &panel) { return child<QTreeWidget>(&panel, "treeWidget"); }
QString label(GC_CoverageWidget &panel) { return child<QLabel>(&panel, "label")->text(); }
QComboBox *mode(GC_CoverageWidget &panel) { return child<QComboBox>(&panel, "comboBox"); }

QStringList shownNames(GC_CoverageWidget &panel)
{
    QStringList names;
    for (int i = 0; i < tree(panel)->topLevelItemCount(); ++i)
        names << tree(panel)->topLevelItem(i)->text(0);
    return names;
}

QSet<QString> shownSet(GC_CoverageWidget &panel)
{
    const QStringList names = shownNames(panel);
    return QSet<QString>(names.cbegin(), names.cend());
}

QList<int> listIds(QListWidget *list)
{
    QList<int> ids;
    for (int i = 0; i < list->count(); ++i)
        ids << list->item(i)->data(Qt::UserRole).toInt();
    return ids;
}

void selectIds(QListWidget *list, const QList<int> &ids)
{
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        if (ids.contains(list->item(i)->data(Qt::UserRole).toInt()))
            list->item(i)->setSelected(true);
}

} // namespace

class TestCoverageWidget : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().remove(GC_CoverageOptionsDialog::geometryKey()); }

    // ------------------------------------------------ panel

    void freshPanel()
    {
        GC_CoverageWidget panel;
        QCOMPARE(label(panel), QString("0 genes"));
        QCOMPARE(mode(panel)->currentIndex(), 0);
        QCOMPARE(mode(panel)->currentText(), QString("Totally inside"));
        QCOMPARE(mode(panel)->count(), 4);
        QCOMPARE(mode(panel)->itemText(3), QString("Totally outside"));
        QCOMPARE(tree(panel)->columnCount(), 3);
        QCOMPARE(tree(panel)->headerItem()->text(0), QString("Gene"));
        QCOMPARE(tree(panel)->headerItem()->text(1), QString("From"));
        QCOMPARE(tree(panel)->headerItem()->text(2), QString("To"));
        QVERIFY(tree(panel)->isSortingEnabled());
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
        QCOMPARE(tree(panel)->header()->sectionResizeMode(0), QHeaderView::Stretch);
        QVERIFY(!child<QPushButton>(&panel, "buttonoptions")->icon().isNull());
        QCOMPARE(child<QPushButton>(&panel, "buttonselectall")->text(), QString("Select All"));
        QVERIFY(panel.isEnabled());
        QVERIFY(panel.getGenome() == nullptr);
        QCOMPARE(panel.getBitScore(), 50.0);
        // Nothing to compute yet: the label stays.
        panel.calculate();
        QCOMPARE(label(panel), QString("0 genes"));
    }

    void labelsCountTheRows()
    {
        Comparison d;
        GC_CoverageWidget panel;
        QSignalSpy emitted(&panel, &GC_CoverageWidget::bitScoreChanged);
        panel.slotSetGenome(d.genome);
        QCOMPARE(shownNames(panel), QStringList({"inSecond"}));
        QCOMPARE(label(panel), QString("1 matched gen"));

        panel.slotBitScoreChanged(40.0); // equal to the third's score: counts
        QCOMPARE(shownSet(panel), QSet<QString>({"inSecond", "inThird"}));
        QCOMPARE(label(panel), QString("2 matched genes"));

        panel.slotBitScoreChanged(1000.0);
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
        QCOMPARE(label(panel), QString("0 matched genes"));
        QCOMPARE(emitted.count(), 0);
    }

    void choosingAModeRecomputes()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        mode(panel)->setCurrentIndex(1);
        QCOMPARE(shownSet(panel), QSet<QString>({"inSecond", "across"}));
        mode(panel)->setCurrentIndex(2);
        QCOMPARE(shownSet(panel), QSet<QString>({"inThird", "outside", "across"}));
        mode(panel)->setCurrentIndex(3);
        QCOMPARE(shownSet(panel), QSet<QString>({"inThird", "outside"}));
        QCOMPARE(label(panel), QString("2 matched genes"));
    }

    void theSameGenomeAgainChangesNothing()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        d.c.addGene(d.genome, 110, 120, "late");
        panel.slotSetGenome(d.genome);
        QCOMPARE(shownNames(panel), QStringList({"inSecond"}));
        panel.calculate();
        QCOMPARE(shownSet(panel), QSet<QString>({"inSecond", "late"}));

        panel.slotSetGenome(d.second);
        QCOMPARE(panel.getGenome(), d.second);
        QCOMPARE(label(panel), QString("0 matched genes"));
    }

    void panelSortsNumbersAsNumbersAndKeepsTheOrder()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 50000, true);
        GC_Genome *other = c.addGenome(2, 50000, false);
        c.addMatching(genome, 1, 40000, other, 1, 40000, 100);
        c.addGene(genome, 10000, 10100, "abE");
        c.addGene(genome, 900, 1000, "Abd");
        c.addGene(genome, 2000, 3000, "abcA");
        GC_CoverageWidget panel;
        panel.slotSetGenome(genome);
        tree(panel)->sortByColumn(1, Qt::AscendingOrder);
        QCOMPARE(shownNames(panel), QStringList({"Abd", "abcA", "abE"}));
        QCOMPARE(tree(panel)->topLevelItem(2)->text(1), QString("10,000"));
        tree(panel)->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(shownNames(panel), QStringList({"abcA", "Abd", "abE"}));
        // A recomputation keeps the column the user sorted on.
        tree(panel)->sortByColumn(2, Qt::DescendingOrder);
        panel.slotBitScoreChanged(10);
        QCOMPARE(shownNames(panel), QStringList({"abE", "abcA", "Abd"}));
    }

    void selectAllAddsTheListedGenesToTheSelection()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 50000, true);
        GC_Genome *other = c.addGenome(2, 50000, false);
        c.addMatching(genome, 1, 20000, other, 1, 20000, 100);
        QList<GC_Gene *> covered;
        for (int i = 0; i < 12; ++i)
            covered << c.addGene(genome, 100 + 1000 * i, 600 + 1000 * i);
        GC_Gene *uncovered = c.addGene(genome, 30000, 30100);
        other->setSelected(true);

        GC_CoverageWidget panel;
        panel.slotSetGenome(genome);
        QCOMPARE(tree(panel)->topLevelItemCount(), 12);
        child<QPushButton>(&panel, "buttonselectall")->click();
        for (GC_Gene *gene : covered)
            QVERIFY(gene->isSelected());
        QVERIFY(!uncovered->isSelected());
        QVERIFY(other->isSelected());
        QCOMPARE(c.scene.selectedItems().size(), 13);
    }

    void activatingARowSelectsItsGene()
    {
        Comparison d;
        d.outside->setSelected(true);
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        QTreeWidgetItem *row = tree(panel)->topLevelItem(0);
        emit tree(panel)->itemActivated(row, 2);
        QVERIFY(d.inSecond->isSelected());
        QVERIFY(d.outside->isSelected());
        QVERIFY(!d.inThird->isSelected());
    }

    void resetForgetsTheGenomeButKeepsTheChoices()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        mode(panel)->setCurrentIndex(3);
        panel.slotBitScoreChanged(45);
        QCOMPARE(label(panel), QString("2 matched genes"));
        panel.reset();
        QVERIFY(!panel.isEnabled());
        QVERIFY(panel.getGenome() == nullptr);
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
        QCOMPARE(label(panel), QString("0 genes"));
        QCOMPARE(mode(panel)->currentIndex(), 3);
        QCOMPARE(panel.getBitScore(), 45.0);
        panel.calculate();
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
        panel.slotSetGenome(d.genome);
        QVERIFY(panel.isEnabled());
        QCOMPARE(shownSet(panel), QSet<QString>({"inThird", "outside"}));
    }

    // ------------------------------------------------ following the scene

    void sceneSignalsReachThePanel()
    {
        Comparison d;
        GC_CoverageWidget panel;
        // As the main window routes them.
        QObject::connect(&d.c.scene, &GC_GenomeScene::coverageRequested, &panel,
                         &GC_CoverageWidget::slotSetGenome);
        QObject::connect(&d.c.scene, &GC_GenomeScene::coverageCalculateRequest, &panel,
                         &GC_CoverageWidget::calculate);
        emit d.c.scene.coverageRequested(d.genome);
        QCOMPARE(panel.getGenome(), d.genome);
        QCOMPARE(shownNames(panel), QStringList({"inSecond"}));

        // The remove command takes genes out, then asks once.
        d.genome->removeGene(d.inSecond);
        emit d.c.scene.coverageCalculateRequest();
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
        QCOMPARE(label(panel), QString("0 matched genes"));
        QVERIFY(!panel.listedGenes().contains(d.inSecond));
    }

    void narrowingTheRangeRecomputesByItself()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        mode(panel)->setCurrentIndex(2);
        QCOMPARE(panel.listedGenes().size(), 3);
        QVERIFY(panel.listedGenes().contains(d.outside));
        // No routing connected: the panel follows its genome's scene itself.
        d.genome->setNucTo(1500);
        QCOMPARE(d.genome->countGenes(), 3);
        QCOMPARE(shownSet(panel), QSet<QString>({"inThird", "across"}));
        QCOMPARE(label(panel), QString("2 matched genes"));
        for (GC_Gene *gene : panel.listedGenes())
            QVERIFY(d.genome->getGenes().contains(gene));
    }

    void silentlyRemovedGenesAreNeverReached()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        mode(panel)->setCurrentIndex(2);
        QCOMPARE(panel.listedGenes().size(), 3);
        // Removed without any announcement: the rows still name the gene.
        d.genome->removeGene(d.outside);
        d.outside = nullptr;
        QCOMPARE(tree(panel)->topLevelItemCount(), 3);
        // Sorting reads no gene.
        tree(panel)->sortByColumn(1, Qt::AscendingOrder);
        tree(panel)->sortByColumn(2, Qt::DescendingOrder);
        child<QPushButton>(&panel, "buttonselectall")->click();
        QCOMPARE(shownSet(panel), QSet<QString>({"inThird", "across"}));
        QVERIFY(d.inThird->isSelected());
        QVERIFY(d.across->isSelected());

        // A stale activated row makes the list recompute and selects nothing.
        d.c.scene.clearSelection();
        QTreeWidgetItem *acrossRow = nullptr;
        for (int i = 0; i < tree(panel)->topLevelItemCount(); ++i)
            if (tree(panel)->topLevelItem(i)->text(0) == "across")
                acrossRow = tree(panel)->topLevelItem(i);
        d.genome->removeGene(d.across);
        emit tree(panel)->itemActivated(acrossRow, 0);
        QCOMPARE(shownNames(panel), QStringList({"inThird"}));
        QVERIFY(d.c.scene.selectedItems().isEmpty());
    }

    void aDeletedGenomeResetsThePanel()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        d.c.scene.deleteGenome(d.genome);
        d.genome = nullptr;
        child<QPushButton>(&panel, "buttonselectall")->click();
        QVERIFY(panel.getGenome() == nullptr);
        QVERIFY(!panel.isEnabled());
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);

        panel.slotSetGenome(d.second);
        QVERIFY(panel.isEnabled());
        QCOMPARE(panel.getGenome(), d.second);
        d.c.scene.clearScene();
        panel.calculate();
        QVERIFY(panel.getGenome() == nullptr);
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
    }

    void aDeletedSceneResetsThePanel()
    {
        auto d = std::make_unique<Comparison>();
        GC_CoverageWidget panel;
        panel.slotSetGenome(d->genome);
        QCOMPARE(tree(panel)->topLevelItemCount(), 1);
        d.reset();
        panel.calculate();
        QVERIFY(panel.getGenome() == nullptr);
        QCOMPARE(tree(panel)->topLevelItemCount(), 0);
    }

    // ------------------------------------------------ options from the panel

    void acceptedOptionsChangeThresholdModeAndLeftOutGenomes()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        QSignalSpy emitted(&panel, &GC_CoverageWidget::bitScoreChanged);
        double shownScore = -1;
        int shownMode = -1;
        QList<int> included, excluded;
        ModalAnswerer::handle([&](QWidget *modal) {
            shownScore = child<QDoubleSpinBox>(modal, "doubleSpinBox")->value();
            shownMode = child<QComboBox>(modal, "comboBox")->currentIndex();
            auto *in = child<QListWidget>(modal, "includedgenomeslist");
            included = listIds(in);
            excluded = listIds(child<QListWidget>(modal, "excludedgenomeslist"));
            child<QDoubleSpinBox>(modal, "doubleSpinBox")->setValue(30);
            child<QComboBox>(modal, "comboBox")->setCurrentIndex(1);
            selectIds(in, {3});
            child<QPushButton>(modal, "buttonremove")->click();
            child<QPushButton>(modal, "pushButton")->click();
        });
        child<QPushButton>(&panel, "buttonoptions")->click();
        QCOMPARE(shownScore, 50.0);
        QCOMPARE(shownMode, 0);
        QCOMPARE(included, QList<int>({2, 3}));
        QCOMPARE(excluded, QList<int>());

        QCOMPARE(panel.getBitScore(), 30.0);
        QCOMPARE(mode(panel)->currentIndex(), 1);
        QCOMPARE(panel.getExcludedGenomes(), QSet<int>({3}));
        QCOMPARE(emitted.count(), 1);
        QCOMPARE(emitted.at(0).at(0).toDouble(), 30.0);
        // Genome 3 is left out: its stretch no longer counts.
        QCOMPARE(shownSet(panel), QSet<QString>({"inSecond", "across"}));

        // The main window's spin box takes the threshold.
        QDoubleSpinBox mainSpinBox;
        mainSpinBox.setMaximum(1e9);
        mainSpinBox.setValue(50);
        QObject::connect(&panel, &GC_CoverageWidget::bitScoreChanged, &mainSpinBox,
                         &QDoubleSpinBox::setValue);
        ModalAnswerer::handle([](QWidget *modal) {
            QCOMPARE(listIds(child<QListWidget>(modal, "excludedgenomeslist")), QList<int>({3}));
            child<QDoubleSpinBox>(modal, "doubleSpinBox")->setValue(120);
            child<QPushButton>(modal, "pushButton")->click();
        });
        child<QPushButton>(&panel, "buttonoptions")->click();
        QCOMPARE(mainSpinBox.value(), 120.0);
        QCOMPARE(panel.getExcludedGenomes(), QSet<int>({3}));
    }

    void cancelledOptionsChangeNothing()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        QSignalSpy emitted(&panel, &GC_CoverageWidget::bitScoreChanged);
        d.c.addGene(d.genome, 120, 130, "late");
        ModalAnswerer::handle([](QWidget *modal) {
            child<QDoubleSpinBox>(modal, "doubleSpinBox")->setValue(1);
            child<QComboBox>(modal, "comboBox")->setCurrentIndex(3);
            auto *in = child<QListWidget>(modal, "includedgenomeslist");
            selectIds(in, {2, 3});
            child<QPushButton>(modal, "buttonremove")->click();
            child<QPushButton>(modal, "pushButton_2")->click();
        });
        child<QPushButton>(&panel, "buttonoptions")->click();
        QCOMPARE(panel.getBitScore(), 50.0);
        QCOMPARE(mode(panel)->currentIndex(), 0);
        QVERIFY(panel.getExcludedGenomes().isEmpty());
        QCOMPARE(emitted.count(), 0);
        // Not recomputed: the gene added since is not listed.
        QCOMPARE(shownNames(panel), QStringList({"inSecond"}));
    }

    void optionsWithoutAGenomeEmptyTheLeftOutSet()
    {
        Comparison d;
        GC_CoverageWidget panel;
        panel.slotSetGenome(d.genome);
        ModalAnswerer::handle([](QWidget *modal) {
            selectIds(child<QListWidget>(modal, "includedgenomeslist"), {2});
            child<QPushButton>(modal, "buttonremove")->click();
            child<QPushButton>(modal, "pushButton")->click();
        });
        child<QPushButton>(&panel, "buttonoptions")->click();
        QCOMPARE(panel.getExcludedGenomes(), QSet<int>({2}));

        panel.slotSetGenome(nullptr);
        int rows = -1;
        ModalAnswerer::handle([&rows](QWidget *modal) {
            rows = child<QListWidget>(modal, "includedgenomeslist")->count()
                + child<QListWidget>(modal, "excludedgenomeslist")->count();
            child<QPushButton>(modal, "pushButton")->click();
        });
        child<QPushButton>(&panel, "buttonoptions")->click();
        QCOMPARE(rows, 0);
        QVERIFY(panel.getExcludedGenomes().isEmpty());
    }

    // ------------------------------------------------ options dialog

    void freshDialog()
    {
        GC_CoverageOptionsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("Genome coverage options"));
        QCOMPARE(dialog.size(), QSize(640, 402));
        auto *spin = child<QDoubleSpinBox>(&dialog, "doubleSpinBox");
        QCOMPARE(spin->decimals(), 2);
        QCOMPARE(spin->minimum(), 0.0);
        QCOMPARE(spin->maximum(), 1e9);
        QCOMPARE(child<QComboBox>(&dialog, "comboBox")->itemText(2), QString("Partially outside"));
        QVERIFY(child<QPushButton>(&dialog, "pushButton")->isDefault());
        QVERIFY(!child<QPushButton>(&dialog, "pushButton_2")->autoDefault());
        for (const char *name : {"buttonadd", "buttonaddall", "buttonremove", "pushButton",
                                 "pushButton_2"})
            QVERIFY2(!child<QPushButton>(&dialog, name)->icon().isNull(), name);
        QVERIFY(dialog.getExcludedGenomes().isEmpty());
        // Without a genome nothing is listed.
        dialog.setExcludedGenomes({1, 2});
        QVERIFY(dialog.getExcludedGenomes().isEmpty());
    }

    void scoreIsClampedToTheSpinBox()
    {
        GC_CoverageOptionsDialog dialog;
        dialog.setScore(1e9);
        QCOMPARE(dialog.getScore(), 1e9);
        dialog.setScore(2e9);
        QCOMPARE(dialog.getScore(), 1e9);
        dialog.setScore(-5);
        QCOMPARE(dialog.getScore(), 0.0);
        dialog.setScore(12.5);
        QCOMPARE(dialog.getScore(), 12.5);
        dialog.setMode(2);
        QCOMPARE(dialog.getMode(), 2);
    }

    void genomesMoveBetweenTheLists()
    {
        CoverageScene c;
        GC_Genome *genome = c.addGenome(1, 5000, true);
        for (int id : {9, 2, 5}) {
            GC_Genome *other = c.addGenome(id, 5000, false);
            c.addMatching(genome, 10 * id, 10 * id + 5, other, 1, 5, 10);
        }
        GC_CoverageOptionsDialog dialog;
        dialog.setGenome(genome);
        dialog.setExcludedGenomes({5, 42});
        auto *in = child<QListWidget>(&dialog, "includedgenomeslist");
        auto *out = child<QListWidget>(&dialog, "excludedgenomeslist");
        QCOMPARE(listIds(out), QList<int>({5}));
        QCOMPARE(listIds(in), QList<int>({2, 9}));
        QCOMPARE(out->item(0)->text(), QString("genome 5"));
        QCOMPARE(dialog.getExcludedGenomes(), QSet<int>({5}));

        // Nothing selected: nothing moves.
        child<QPushButton>(&dialog, "buttonremove")->click();
        child<QPushButton>(&dialog, "buttonadd")->click();
        QCOMPARE(listIds(in), QList<int>({2, 9}));

        selectIds(in, {9});
        child<QPushButton>(&dialog, "buttonremove")->click();
        QCOMPARE(listIds(out), QList<int>({5, 9}));
        QCOMPARE(dialog.getExcludedGenomes(), QSet<int>({5, 9}));
        QCOMPARE(out->item(1)->text(), QString("genome 9"));

        selectIds(out, {5});
        child<QPushButton>(&dialog, "buttonadd")->click();
        QCOMPARE(listIds(in), QList<int>({2, 5}));
        QCOMPARE(dialog.getExcludedGenomes(), QSet<int>({9}));

        child<QPushButton>(&dialog, "buttonaddall")->click();
        QCOMPARE(listIds(in), QList<int>({2, 5, 9}));
        QVERIFY(dialog.getExcludedGenomes().isEmpty());
    }

    void geometryIsStoredOnlyWhenClosedByTheWindow()
    {
        QVERIFY(!QSettings().contains(GC_CoverageOptionsDialog::geometryKey()));
        {
            GC_CoverageOptionsDialog dialog;
            ModalAnswerer::handle([](QWidget *modal) {
                modal->resize(520, 310);
                child<QPushButton>(modal, "pushButton")->click();
            });
            QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        }
        {
            GC_CoverageOptionsDialog dialog;
            ModalAnswerer::handle([](QWidget *modal) {
                modal->resize(530, 320);
                child<QPushButton>(modal, "pushButton_2")->click();
            });
            QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        }
        QVERIFY(!QSettings().contains(GC_CoverageOptionsDialog::geometryKey()));
        {
            GC_CoverageOptionsDialog dialog;
            QCOMPARE(dialog.size(), QSize(640, 402));
            ModalAnswerer::handle([](QWidget *modal) {
                modal->resize(500, 300);
                modal->close();
            });
            QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        }
        QVERIFY(QSettings().contains(GC_CoverageOptionsDialog::geometryKey()));
        GC_CoverageOptionsDialog again;
        QCOMPARE(again.size(), QSize(500, 300));
    }
};

KESTAL_TEST_MAIN(TestCoverageWidget)
#include "tst_coveragewidget.moc"
