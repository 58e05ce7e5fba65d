#include "kestal_test.h"
#include "modal_answerer.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_rfamcheckbox.h"
#include "gc_rfampushbutton.h"

#include <QColorDialog>
#include <QFontComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>

namespace {

// Answers the next colour dialog with a colour, or cancels it.
void answerColorDialog(const QColor &color, bool accept)
{
    ModalAnswerer::handle([color, accept](QWidget *widget) {
        auto *dialog = qobject_cast<QColorDialog *>(widget);
        QVERIFY(dialog);
        if (!accept) {
            dialog->reject();
            return;
        }
        dialog->setCurrentColor(color);
        dialog->accept();
    });
}

void answerFontDialog(const QFont &font, bool accept)
{
    ModalAnswerer::handle([font, accept](QWidget *widget) {
        auto *dialog = qobject_cast<QFontDialog *>(widget);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Select font"));
        if (!accept) {
            dialog->reject();
            return;
        }
        dialog->setCurrentFont(font);
        dialog->accept();
    });
}

} // namespace

class TestPickers : public QObject
{
    Q_OBJECT

private slots:
    void colorPickerSetFromCodeIsSilent()
    {
        GC_ColorPicker picker;
        QSignalSpy changed(&picker, &GC_ColorPicker::valueChanged);
        QSignalSpy withId(&picker, &GC_ColorPicker::valueChangedWithId);
        auto *swatch = picker.findChild<QLabel *>("label");
        QVERIFY(swatch);
        QVERIFY(!picker.color().isValid());
        QCOMPARE(swatch->styleSheet(), QString("background :#000000 "));

        picker.setColor(QColor(255, 0, 0));
        picker.setId("RF00005");
        QCOMPARE(swatch->styleSheet(), QString("background :#ff0000 "));
        QCOMPARE(picker.color(), QColor(255, 0, 0));
        QCOMPARE(picker.id(), QString("RF00005"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(withId.count(), 0);
    }

    void colorPickerReportsTheUsersChoice()
    {
        GC_ColorPicker picker;
        picker.setId("E");
        picker.setColor(Qt::red);
        QStringList order;
        connect(&picker, &GC_ColorPicker::valueChanged, this, [&order] { order << "plain"; });
        connect(&picker, &GC_ColorPicker::valueChangedWithId, this,
                [&order](const QString &id, const QColor &color) {
                    order << id + " " + color.name();
                });
        auto *button = picker.findChild<QToolButton *>("toolButton");

        answerColorDialog(QColor(0, 0, 255), true);
        button->click();
        QCOMPARE(order, QStringList({"plain", "E #0000ff"}));
        QCOMPARE(picker.color(), QColor(0, 0, 255));

        // The same colour again is still a choice.
        order.clear();
        answerColorDialog(QColor(0, 0, 255), true);
        button->click();
        QCOMPARE(order, QStringList({"plain", "E #0000ff"}));

        // Cancelling changes nothing.
        order.clear();
        answerColorDialog(QColor(0, 255, 0), false);
        button->click();
        QVERIFY(order.isEmpty());
        QCOMPARE(picker.color(), QColor(0, 0, 255));
    }

    void fontPickerSetFromCodeIsSilent()
    {
        GC_FontPicker picker;
        QSignalSpy changed(&picker, &GC_FontPicker::valueChanged);
        auto *spin = picker.findChild<QSpinBox *>("spinBox");
        auto *combo = picker.findChild<QFontComboBox *>("fontComboBox");

        QFont font = combo->itemText(0).isEmpty() ? QFont() : QFont(combo->itemText(0));
        font.setPointSize(14);
        font.setBold(true);
        picker.setFont(font);
        QCOMPARE(spin->value(), 14);
        QCOMPARE(picker.font(), font);

        // A size beyond the usual range is kept as it is.
        font.setPointSize(120);
        picker.setFont(font);
        QCOMPARE(picker.font().pointSize(), 120);
        QCOMPARE(changed.count(), 0);
    }

    void fontPickerSizeAndFamilyEdits()
    {
        GC_FontPicker picker;
        auto *spin = picker.findChild<QSpinBox *>("spinBox");
        auto *combo = picker.findChild<QFontComboBox *>("fontComboBox");
        QFont font(combo->itemText(0));
        font.setPointSize(10);
        font.setBold(true);
        picker.setFont(font);
        QSignalSpy changed(&picker, &GC_FontPicker::valueChanged);

        spin->setValue(18);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(picker.font().pointSize(), 18);
        QVERIFY(picker.font().bold());
        QCOMPARE(picker.font().family(), font.family());

        if (combo->count() < 2)
            QSKIP("only one font family installed");
        const QString other = combo->itemText(1);
        combo->setCurrentIndex(1);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(picker.font().family(), QFont(other).family());
        QCOMPARE(picker.font().pointSize(), 18);
    }

    void fontPickerDialog()
    {
        GC_FontPicker picker;
        QFont font;
        font.setPointSize(11);
        picker.setFont(font);
        QSignalSpy changed(&picker, &GC_FontPicker::valueChanged);
        auto *button = picker.findChild<QToolButton *>("toolButton");

        QFont chosen = font;
        chosen.setPointSize(24);
        answerFontDialog(chosen, true);
        button->click();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(picker.font().pointSize(), 24);
        QCOMPARE(picker.findChild<QSpinBox *>("spinBox")->value(), 24);

        answerFontDialog(font, false);
        button->click();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(picker.font().pointSize(), 24);
    }

    void rfamCheckboxCarriesItsCode()
    {
        GC_RfamCheckbox box;
        QSignalSpy changed(&box, &GC_RfamCheckbox::changed);
        box.setChecked(true);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString());
        QCOMPARE(changed.at(0).at(1).toBool(), true);

        box.setRfamGroup("RF00001");
        QCOMPARE(changed.count(), 1);
        box.click();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).toString(), QString("RF00001"));
        QCOMPARE(changed.at(1).at(1).toBool(), false);

        box.setTristate(true);
        box.setCheckState(Qt::PartiallyChecked);
        QCOMPARE(changed.last().at(1).toBool(), true);
    }

    void rfamPushbuttonCarriesItsCode()
    {
        GC_RfamPushbutton button;
        button.setRfamGroup("RF00177");
        QSignalSpy activated(&button, &GC_RfamPushbutton::activated);
        button.click();
        button.click();
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.at(1).at(0).toString(), QString("RF00177"));
    }
};

KESTAL_TEST_MAIN(TestPickers)
#include "tst_pickers.moc"
