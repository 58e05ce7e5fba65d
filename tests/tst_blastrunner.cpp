#include "kestal_test.h"
#include "signal_wait.h"
#include "test_data.h"

#include "gc_blastrunner.h"
#include "gc_blasttoolpath.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

// Running BLAST+ programs and finding them.
class TestBlastRunner : public QObject
{
    Q_OBJECT

private:
    QString script(const QString &name, const QByteArray &body, bool executable = true)
    {
        const QString path = QDir::tempPath() + "/bin/" + name;
        if (!TestData::writeFile(path, "#!/bin/sh\n" + body))
            qFatal("cannot write %s", qPrintable(path));
        QFile::setPermissions(path, executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               : QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private slots:
    void synchronousRunCollectsOutput()
    {
        GC_BlastRunner runner;
        runner.setProgram(GC_BlastToolPath::resolve("blastnpath", "blastn"));
        runner.setArguments({"-version"});
        QSignalSpy finished(&runner, &GC_BlastRunner::finished);
        QVERIFY2(runner.run(), qPrintable(runner.errorText()));
        QVERIFY(runner.succeeded());
        QCOMPARE(runner.exitCode(), 0);
        QVERIFY(runner.standardOutput().startsWith("blastn: 2."));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!runner.isRunning());
    }

    void largeOutputArrivesWhole()
    {
        // More than a pipe buffer, written in pieces over time.
        const QString program = script("chatty", "i=0\nwhile [ $i -lt 400 ]; do\n"
                                                 "  printf '%0500d\\n' $i\n  i=$((i+1))\ndone\n");
        GC_BlastRunner runner;
        runner.setProgram(program);
        QByteArray chunks;
        connect(&runner, &GC_BlastRunner::outputRead, this, [&chunks](const QByteArray &c) { chunks += c; });
        QVERIFY(runner.run());
        QCOMPARE(runner.standardOutput().size(), 400 * 501);
        QCOMPARE(chunks, runner.standardOutput());
    }

    void nonZeroExitFailsWithStderr()
    {
        GC_BlastRunner runner;
        runner.setProgram(GC_BlastToolPath::resolve("makeblastdbpath", "makeblastdb"));
        runner.setArguments({"-in", QDir::tempPath() + "/no-such-input", "-dbtype", "nucl"});
        QVERIFY(!runner.run());
        QVERIFY(runner.exitCode() != 0);
        QVERIFY2(runner.errorText().startsWith("makeblastdb failed with exit code"), qPrintable(runner.errorText()));
        QVERIFY2(runner.errorText().contains("no-such-input"), qPrintable(runner.errorText()));
    }

    void failedStartIsAFailure()
    {
        GC_BlastRunner runner;
        runner.setProgram(QDir::tempPath() + "/nothing-here/blastn");
        QVERIFY(!runner.run());
        QVERIFY2(runner.errorText().contains("could not be started"), qPrintable(runner.errorText()));

        runner.setProgram(script("notrunnable", "exit 0\n", false));
        QVERIFY(!runner.run());
        QVERIFY(!runner.succeeded());
    }

    void crashIsAFailure()
    {
        GC_BlastRunner runner;
        runner.setProgram(script("crasher", "echo partial\nkill -SEGV $$\n"));
        QVERIFY(!runner.run());
        QVERIFY2(runner.errorText().contains("crashed"), qPrintable(runner.errorText()));
        QCOMPARE(runner.standardOutput(), QByteArray("partial\n"));
    }

    void timeoutStopsTheProgram()
    {
        // The program's child (a wrapper's real program) ends with it. The
        // wrapper writes the child's pid into a file of this run alone.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString child = folder.filePath("sleeper-child");
        GC_BlastRunner runner;
        runner.setProgram(script("sleeper", "sleep 20 &\necho $! > '" + child.toUtf8() + "'\nwait\n"));
        runner.setTimeout(1000);
        QVERIFY(!runner.run());
        QVERIFY2(runner.errorText().contains("did not finish"), qPrintable(runner.errorText()));
        QFile pid(child);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const qint64 childPid = pid.readAll().trimmed().toLongLong();
        QVERIFY(childPid > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!TestData::processRunning(childPid), 5000);
    }

    void asynchronousRun()
    {
        GC_BlastRunner runner;
        runner.setProgram(script("echoer", "echo \"$1 in $(pwd)\"\n"));
        runner.setArguments({"hello world"});
        runner.setWorkingDirectory(QDir::tempPath());
        QSignalSpy finished(&runner, &GC_BlastRunner::finished);
        runner.start();
        QVERIFY(runner.isRunning());
        QVERIFY(waitForSignal(finished, 10000));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(runner.standardOutput(), QString("hello world in %1\n").arg(QDir(QDir::tempPath()).canonicalPath()).toLocal8Bit());

        // A program that cannot start still ends with exactly one finished(false).
        finished.clear();
        runner.setProgram(QDir::tempPath() + "/nothing-here/blastn");
        runner.start();
        QVERIFY(waitForSignal(finished, 10000));
        // Nothing can end the run again once its process is gone.
        const QPointer<QProcess> process = runner.findChild<QProcess *>();
        QTRY_VERIFY(!process);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), false);

        finished.clear();
        runner.setProgram(script("failer", "echo oops >&2\nexit 3\n"));
        runner.start();
        QVERIFY(waitForSignal(finished, 10000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(runner.exitCode(), 3);
        QVERIFY(runner.errorText().endsWith("failed with exit code 3: oops"));
    }

    void toolPathFromSettings()
    {
        QSettings settings;
        const QString fake = script("myblastn", "exit 0\n");
        settings.setValue("blastnpath", fake);
        QCOMPARE(GC_BlastToolPath::resolve("blastnpath", "blastn"), fake);

        // A path with ".exe" is tried next.
        const QString withExe = script("winblastn.exe", "exit 0\n");
        settings.setValue("blastnpath", QDir::tempPath() + "/bin/winblastn");
        QCOMPARE(GC_BlastToolPath::resolve("blastnpath", "blastn"), withExe);

        // Then the program's name on PATH.
        settings.setValue("blastnpath", "/opt/nowhere/blastn");
        QCOMPARE(GC_BlastToolPath::resolve("blastnpath", "blastn"), QStandardPaths::findExecutable("blastn"));
        settings.remove("blastnpath");
        QCOMPARE(GC_BlastToolPath::resolve("blastnpath", "blastn"), QStandardPaths::findExecutable("blastn"));
    }

    void toolPathFailures()
    {
        QString error;
        const QString plainFile = script("plainblastn", "exit 0\n", false);
        QCOMPARE(GC_BlastToolPath::resolvePath(plainFile, "blastn", &error), QString());
        QVERIFY2(error.contains("not executable"), qPrintable(error));

        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QDir::tempPath() + "/empty-path"));
        QCOMPARE(GC_BlastToolPath::resolvePath("/opt/nowhere/blastn", "blastn", &error), QString());
        qputenv("PATH", path);
        QVERIFY2(error.contains("/opt/nowhere/blastn") && error.contains("PATH"), qPrintable(error));
    }
};

KESTAL_TEST_MAIN(TestBlastRunner)
#include "tst_blastrunner.moc"
