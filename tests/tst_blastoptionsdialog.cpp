#include "kestal_test.h"

#include "gc_blastoptions.h"
#include "gc_blastoptionsdialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

// The BLAST options record and the dialog that edits it.
class TestBlastOptionsDialog : public QObject
{
    Q_OBJECT

private:
    static QSpinBox *box(GC_BlastOptionsDialog &dialog, const char *name)
    {
        auto *spin = dialog.findChild<QSpinBox *>(name);
        if (!spin)
            qFatal("no spin box %s", name);
        return spin;
    }

    static GC_BlastOptions sample()
    {
        GC_BlastOptions options;
        options.setTask("megablast");
        options.setWordSize(28);
        options.setGapOpen(7);
        options.setGapExtend(3);
        options.setPenalty(-2);
        options.setReward(2);
        return options;
    }

    static void compareNumbers(const GC_BlastOptions &a, const GC_BlastOptions &b)
    {
        QCOMPARE(a.wordSize(), b.wordSize());
        QCOMPARE(a.gapOpen(), b.gapOpen());
        QCOMPARE(a.gapExtend(), b.gapExtend());
        QCOMPARE(a.penalty(), b.penalty());
        QCOMPARE(a.reward(), b.reward());
    }

private slots:
    void recordCopiesAllFields()
    {
        const GC_BlastOptions original = sample();
        const GC_BlastOptions copy(original);
        GC_BlastOptions assigned;
        assigned = original;
        for (const GC_BlastOptions *other : {&copy, static_cast<const GC_BlastOptions *>(&assigned)}) {
            QCOMPARE(other->task(), QString("megablast"));
            compareNumbers(*other, original);
        }
    }

    void freshDialogGivesTheDefaults()
    {
        GC_BlastOptionsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("BLAST Options"));
        const GC_BlastOptions options = dialog.options();
        QCOMPARE(options.task(), QString("BlastN"));
        compareNumbers(options, GC_BlastOptions());
        auto *algorithm = dialog.findChild<QComboBox *>("comboBoxAlgorithm");
        QVERIFY(algorithm);
        QCOMPARE(algorithm->count(), 2);
        QCOMPARE(algorithm->itemText(1), QString("MegaBlast"));
    }

    void boxesKeepTheirLimits_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::newRow("word size") << QByteArray("spinboxWordSize") << 4 << 999999999;
        QTest::newRow("gap open") << QByteArray("spinboxGapOpen") << 0 << 999999999;
        QTest::newRow("gap extend") << QByteArray("spinboxGapExtend") << 0 << 999999999;
        QTest::newRow("penalty") << QByteArray("spinboxPenalty") << -9999999 << 0;
        QTest::newRow("reward") << QByteArray("spinboxReward") << 0 << 999999999;
    }

    void boxesKeepTheirLimits()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        GC_BlastOptionsDialog dialog;
        QSpinBox *spin = box(dialog, name.constData());
        QCOMPARE(spin->minimum(), minimum);
        QCOMPARE(spin->maximum(), maximum);
        // Typing past either end stops at the limit.
        dialog.show();
        spin->setValue(maximum);
        QTest::keyClick(spin, Qt::Key_Up);
        QCOMPARE(spin->value(), maximum);
        spin->setValue(minimum);
        QTest::keyClick(spin, Qt::Key_Down);
        QCOMPARE(spin->value(), minimum);
    }

    void setOptionsClampsAndLeavesTheAlgorithm()
    {
        GC_BlastOptionsDialog dialog;
        GC_BlastOptions options = sample();
        options.setWordSize(2);
        options.setPenalty(5);
        options.setGapOpen(-4);
        dialog.setOptions(options);
        QCOMPARE(box(dialog, "spinboxWordSize")->value(), 4);
        QCOMPARE(box(dialog, "spinboxPenalty")->value(), 0);
        QCOMPARE(box(dialog, "spinboxGapOpen")->value(), 0);
        QCOMPARE(box(dialog, "spinboxGapExtend")->value(), 3);
        QCOMPARE(box(dialog, "spinboxReward")->value(), 2);
        QCOMPARE(dialog.options().task(), QString("BlastN"));
        // The record the dialog was given is never written.
        QCOMPARE(options.wordSize(), 2);
    }

    void applyReturnsTheEditedRecord()
    {
        GC_BlastOptionsDialog dialog;
        dialog.setOptions(sample());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *algorithm = dialog.findChild<QComboBox *>("comboBoxAlgorithm");
        algorithm->setFocus();
        QTest::keyClick(algorithm, Qt::Key_Down);
        QSpinBox *reward = box(dialog, "spinboxReward");
        reward->selectAll();
        QTest::keyClicks(reward, "5");
        QTest::mouseClick(dialog.findChild<QPushButton *>("buttonApply"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.isHidden());
        const GC_BlastOptions options = dialog.options();
        QCOMPARE(options.task(), QString("MegaBlast"));
        QCOMPARE(options.reward(), 5);
        QCOMPARE(options.wordSize(), 28);
    }

    void cancelRejects()
    {
        GC_BlastOptionsDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *cancel = dialog.findChild<QPushButton *>("buttonCancel");
        QVERIFY(!cancel->icon().isNull());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isHidden());
    }
};

KESTAL_TEST_MAIN(TestBlastOptionsDialog)
#include "tst_blastoptionsdialog.moc"
