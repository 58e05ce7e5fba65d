#include "kestal_test.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QLoggingCategory>
#include <QTemporaryDir>

namespace {
QTemporaryDir *testRoot = nullptr;
}

void kestalPrepareTestEnvironment()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testRoot = new QTemporaryDir(QDir::tempPath() + "/kestal-test-XXXXXX");
    const QString root = testRoot->path();
    for (const char *sub : {"home", "tmp", "config"})
        QDir(root).mkpath(sub);
    qputenv("HOME", QFile::encodeName(root + "/home"));
    qputenv("TMPDIR", QFile::encodeName(root + "/tmp"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    std::atexit([] { delete testRoot; testRoot = nullptr; });
}

QString kestalTestHome()
{
    return testRoot ? testRoot->path() + "/home" : QDir::homePath();
}

QString kestalTestDataDir()
{
    return QStringLiteral(KESTAL_TEST_DATA_DIR);
}

QString kestalTestDataPath(const QString &fileName)
{
    return kestalTestDataDir() + "/" + fileName;
}

void kestalFinishTestSetup()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCoreApplication::setOrganizationName("VEXA");
    QCoreApplication::setOrganizationDomain("kestal.test");
    QCoreApplication::setApplicationName("KestalTest");
    QCoreApplication::setApplicationVersion("1.0");
    // The program's log lines are quiet by default; tests check some of them.
    QLoggingCategory::setFilterRules(QStringLiteral("kestal.debug=true"));
}
