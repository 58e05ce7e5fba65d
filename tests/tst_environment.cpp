#include "kestal_test.h"
#include "modal_answerer.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

// The test conventions every other test relies on.
class TestEnvironment : public QObject
{
    Q_OBJECT

private slots:
    void homeAndSettingsArePrivate()
    {
        QVERIFY(QDir::homePath().startsWith(QDir::tempPath().section('/', 0, -2)) ||
                QDir::homePath().contains("kestal-test-"));
        QSettings settings;
        settings.setValue("probe", 1);
        settings.sync();
        QVERIFY(settings.fileName().contains("kestal-test-"));
    }

    void localeIsEnglish()
    {
        QCOMPARE(QLocale().toString(1234567), QString("1,234,567"));
    }

    void modalBoxIsAnswered()
    {
        ModalAnswerer::clickButton(QMessageBox::No);
        const int answer = QMessageBox::question(nullptr, "Question", "Save changes?",
                                                 QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answer, int(QMessageBox::No));
        QCOMPARE(ModalAnswerer::lastText(), QString("Save changes?"));
    }

    void resourcesAreLinked()
    {
        QVERIFY(QFile::exists(":/icons/kestal.svg"));
    }

    void blastProgramsAreInstalled()
    {
        for (const char *program : {"makeblastdb", "blastn", "tblastn"})
            QVERIFY2(!QStandardPaths::findExecutable(program).isEmpty(), program);
    }
};

KESTAL_TEST_MAIN(TestEnvironment)
#include "tst_environment.moc"
