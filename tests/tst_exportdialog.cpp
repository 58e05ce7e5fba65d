#include "kestal_test.h"
#include "modal_answerer.h"

#include "gc_exportimagedialog.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

// The export dialog driven like a user would: buttons clicked, boxes answered.
class TestExportDialog : public QObject
{
    Q_OBJECT

private:
    template <typename T>
    static T *child(QWidget &dialog, const char *name)
    {
        T *object = dialog.findChild<T *>(name);
        if (!object)
            qFatal("no child %s", name);
        return object;
    }

private slots:
    void init()
    {
        QSettings().clear();
    }

    void startsWithSvgOfTheWholeCanvasAntialiased()
    {
        GC_ExportImageDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("Export Image"));
        QCOMPARE(child<QComboBox>(dialog, "comboBox")->currentText(), QString("SVG"));
        QStringList formats;
        for (int i = 0; i < child<QComboBox>(dialog, "comboBox")->count(); ++i)
            formats << child<QComboBox>(dialog, "comboBox")->itemText(i);
        QCOMPARE(formats, (QStringList{"SVG", "PNG", "JPG", "BMP"}));
        QVERIFY(child<QRadioButton>(dialog, "wholecanvas")->isChecked());
        QVERIFY(!child<QRadioButton>(dialog, "currentview")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "antialiasing")->isChecked());
        QVERIFY(child<QLineEdit>(dialog, "lineeditfile")->text().isEmpty());
    }

    void emptyNameWarnsAndKeepsTheDialogOpen()
    {
        GC_GenomeScene scene;
        GC_ExportImageDialog dialog;
        dialog.setScene(&scene);
        dialog.show();
        ModalAnswerer::clickButton(QMessageBox::Ok);
        QTest::mouseClick(child<QPushButton>(dialog, "buttonexport"), Qt::LeftButton);
        QCOMPARE(ModalAnswerer::lastText(),
                 QString("Error exporting the image. No file name especified."));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void exportWritesTheChosenFormat()
    {
        GC_GenomeScene scene;
        scene.addFreeText(QPointF(30, 30));
        GC_GenomeView view;
        view.setScene(&scene);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QString base = QDir::tempPath() + "/export";

        // PNG chosen, name typed without an extension: written as name.PNG.
        {
            GC_ExportImageDialog dialog;
            dialog.setScene(&scene);
            dialog.show();
            child<QLineEdit>(dialog, "lineeditfile")->setText(base);
            child<QComboBox>(dialog, "comboBox")->setCurrentText("PNG");
            ModalAnswerer::clickButton(QMessageBox::Ok);
            QTest::mouseClick(child<QPushButton>(dialog, "buttonexport"), Qt::LeftButton);
            QCOMPARE(ModalAnswerer::lastText(), QString("File exported successfully"));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(!dialog.isVisible());
            QCOMPARE(child<QLineEdit>(dialog, "lineeditfile")->text(), base);
            QFile png(base + ".PNG");
            QVERIFY(png.open(QIODevice::ReadOnly));
            QCOMPARE(png.read(8), QByteArray("\x89PNG\r\n\x1a\n"));
        }
        // The defaults: an SVG of the whole canvas.
        {
            GC_ExportImageDialog dialog;
            dialog.setScene(&scene);
            dialog.show();
            child<QLineEdit>(dialog, "lineeditfile")->setText(base + ".svg");
            ModalAnswerer::clickButton(QMessageBox::Ok);
            QTest::mouseClick(child<QPushButton>(dialog, "buttonexport"), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QFile svg(base + ".svg");
            QVERIFY(svg.open(QIODevice::ReadOnly));
            QVERIFY(svg.readAll().contains("<svg"));
        }
    }

    void exitRejects()
    {
        GC_ExportImageDialog dialog;
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, "buttonexit"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void browseFillsTheNameAndRemembersIt()
    {
        const QString path = QDir::tempPath() + "/picture.png";
        GC_ExportImageDialog dialog;
        dialog.show();
        ModalAnswerer::handle([path](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            QVERIFY(files);
            QCOMPARE(files->windowTitle(), QString("Select image filename"));
            files->selectFile(path);
            QMetaObject::invokeMethod(files, "accept");
        });
        QTest::mouseClick(child<QPushButton>(dialog, "buttonbrowse"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(dialog, "lineeditfile")->text(), path);
        QCOMPARE(QSettings().value("lastDirSave").toString(), path);

        // A cancelled browse changes nothing.
        ModalAnswerer::handle([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        QTest::mouseClick(child<QPushButton>(dialog, "buttonbrowse"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(dialog, "lineeditfile")->text(), path);
        QCOMPARE(QSettings().value("lastDirSave").toString(), path);
    }
};

KESTAL_TEST_MAIN(TestExportDialog)
#include "tst_exportdialog.moc"
