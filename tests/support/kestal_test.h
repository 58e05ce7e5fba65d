#ifndef KESTAL_TEST_H
#define KESTAL_TEST_H

#include <QApplication>
#include <QString>
#include <QTest>

// Prepares the process for a test run: offscreen platform, English locale and
// a private HOME, TMPDIR and XDG_CONFIG_HOME so that settings and BLAST work
// files never touch the real home folder. Call before the application object
// exists. The folders live until the process ends.
void kestalPrepareTestEnvironment();

// The private home folder made by kestalPrepareTestEnvironment().
QString kestalTestHome();

// Folder of the checked-in test data (tests/data).
QString kestalTestDataDir();
QString kestalTestDataPath(const QString &fileName);

// Finishes set-up once the application exists (locale, settings identity).
void kestalFinishTestSetup();

#define KESTAL_TEST_MAIN(TestClass)                                \
    int main(int argc, char **argv)                                \
    {                                                              \
        kestalPrepareTestEnvironment();                            \
        QApplication app(argc, argv);                              \
        kestalFinishTestSetup();                                   \
        TestClass test;                                            \
        return QTest::qExec(&test, argc, argv);                    \
    }

#endif
