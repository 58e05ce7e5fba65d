#include "kestal_test.h"
#include "signal_wait.h"
#include "test_data.h"

#include "gc_builddatabase.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_rundatabase.h"
#include "gc_sequenceblaster.h"
#include "gc_threadopen.h"
#include "gc_threadsave.h"
#include "gc_waitdialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>

// The opening and saving threads run for real: real files, real BLAST+.
class TestThreads : public QObject
{
    Q_OBJECT

private:
    // Runs an opening to its end; answers the openingFinished() values.
    QList<bool> runOpening(GC_ThreadOpen &thread, QString *reason = nullptr)
    {
        QSignalSpy finishedSpy(&thread, &GC_ThreadOpen::openingFinished);
        QSignalSpy endSpy(&thread, &QThread::finished);
        thread.start();
        if (!waitForSignal(endSpy, 300000))
            qWarning("the opening thread did not end");
        thread.wait();
        QCoreApplication::processEvents();
        if (reason)
            *reason = thread.lastErrorText();
        QList<bool> results;
        for (const QList<QVariant> &arguments : finishedSpy)
            results << arguments.at(0).toBool();
        return results;
    }

    // The folders of comparison databases in the temporary folder.
    static QStringList runFolders()
    {
        return QDir(QDir::tempPath()).entryList({"kestal-*"}, QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    QString writeTemp(const QString &name, const QByteArray &content)
    {
        const QString path = QDir::tempPath() + "/threads/" + name;
        if (!TestData::writeFile(path, content))
            qFatal("cannot write test file");
        return path;
    }

private slots:
    void init()
    {
        QSettings settings;
        settings.clear();
    }

    // ---- opening: failures reported once, with a reason -------------------

    void unknownFileTypeFailsAtOnce()
    {
        GC_GenomeScene scene;
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        QString reason;
        QCOMPARE(runOpening(thread, &reason), QList<bool>{false});
        QVERIFY(!reason.isEmpty());
    }

    void missingCanvasFileFailsWithItsName()
    {
        GC_GenomeScene scene;
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        thread.setFileType(FILETYPE_CANVAS);
        thread.setFileName("/no/such/folder/comparison.kcv");
        QString reason;
        QCOMPARE(runOpening(thread, &reason), QList<bool>{false});
        QVERIFY2(reason.contains("/no/such/folder/comparison.kcv"), qPrintable(reason));
        QVERIFY(scene.genomes().isEmpty());
    }

    void sequencePathThatIsNoFileFails()
    {
        GC_GenomeScene scene;
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        thread.setFileType(FILETYPE_GENOME);
        thread.setFileName(QDir::tempPath());
        QString reason;
        QCOMPARE(runOpening(thread, &reason), QList<bool>{false});
        QVERIFY2(reason.contains("cannot be read"), qPrintable(reason));
    }

    void pairsAreTurnedIntoTargetQueryIds()
    {
        const QMap<QString, int> ids{{"alpha", 0}, {"beta", 1}, {"gamma", 2}};
        QStringList skipped;
        const QList<GC_ThreadOpen::IdPair> pairs = GC_ThreadOpen::makeIdPairs(
            {{"alpha", "beta"}, {"ghost", "beta"}, {"gamma", "alpha"}, {"beta", "nobody"}}, ids,
            &skipped);
        // (query, target) becomes (target id, query id); unknown names are
        // left out rather than read as genome 0.
        QCOMPARE(pairs, (QList<GC_ThreadOpen::IdPair>{{1, 0}, {0, 2}}));
        QCOMPARE(skipped.size(), 2);
        QVERIFY(skipped.at(0).contains("ghost"));
        QVERIFY(skipped.at(1).contains("nobody"));
    }

    // A chosen pair naming a genome that was never read is not compared,
    // and the user is told which and why: as the reason the opening
    // failed, or beside a canvas of the pairs that were compared.
    void pairsNamingGenomesNeverReadAreSaid_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<bool>("opens");
        QTest::newRow("no pair left") << QStringList{"three"} << false;
        QTest::newRow("one pair of two left") << QStringList{"two", "three"} << true;
    }

    void pairsNamingGenomesNeverReadAreSaid()
    {
        QFETCH(QStringList, targets);
        QFETCH(bool, opens);
        GC_GenomeScene scene;
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        thread.setFileType(FILETYPE_GENBANK_FASTA);
        const QByteArray dna = TestData::randomDna(1200, 1);
        thread.setFastaSequences({{"one", QString(dna)}, {"two", QString(dna.mid(100, 800))}});
        QList<GC_ThreadOpen::NamePair> pairs;
        for (const QString &target : targets)
            pairs.append({"one", target});
        thread.setPairs(pairs);
        QString reason;
        QCOMPARE(runOpening(thread, &reason), QList<bool>{opens});
        const QString told = opens ? thread.notices().join('\n') : reason;
        QVERIFY2(told.contains("\"one\" with \"three\": no genome \"three\" was read"), qPrintable(told));
        if (opens) {
            scene.addItemsToScene();
            QCOMPARE(scene.genomes().size(), 2);
            QVERIFY(scene.countMatchings() > 0);
        }
    }

    void failingBlastEndsTheOpeningOnce()
    {
        // An existing blastn that cannot run: the blaster fails the pair.
        const QString fake = writeTemp("bin/blastn", "not a program\n");
        QFile::setPermissions(fake, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QSettings().setValue("blastnpath", fake);

        GC_GenomeScene scene;
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        thread.setFileType(FILETYPE_GENBANK_FASTA);
        const QByteArray dna = TestData::randomDna(1200, 3);
        thread.setFastaSequences({{"one", QString(dna)}, {"two", QString(dna.mid(100, 800))}});
        thread.setPairs({{"one", "two"}});
        QString reason;
        QCOMPARE(runOpening(thread, &reason), QList<bool>{false});
        QVERIFY2(reason.contains("BLAST"), qPrintable(reason));
        QVERIFY(scene.genomes().isEmpty());
        // Nothing of the failed comparison is left in the temporary folder.
        QCOMPARE(runFolders(), QStringList());
    }

    void unreadableInputFailsTheBuild()
    {
        GC_GenomeScene scene;
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        thread.setFileType(FILETYPE_GENBANK_FASTA);
        thread.setInputFiles({"/no/such/genome.gb"});
        thread.setPairs({{"a", "b"}});
        QString reason;
        QCOMPARE(runOpening(thread, &reason), QList<bool>{false});
        QVERIFY(!reason.isEmpty());
    }

    // ---- opening each kind of file for real --------------------------------

    void comparedSequencesSaveAndOpenAgain()
    {
        const QByteArray dna = TestData::randomDna(4000, 21);
        GC_GenomeScene scene;
        GC_ThreadOpen open;
        open.setScene(&scene);
        open.setFileType(FILETYPE_GENBANK_FASTA);
        open.setFastaSequences({{"first", QString(dna)},
                                {"second", QString(dna.mid(500, 2000) + TestData::randomDna(900, 5))}});
        open.setPairs({{"first", "second"}});
        // The wait dialog's line follows the comparison pair by pair.
        QSignalSpy messages(&open, &GC_ThreadOpen::message);
        QString reason;
        QCOMPARE(runOpening(open, &reason), QList<bool>{true});
        QVERIFY(reason.isEmpty());
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages.last().at(0).toString(), QString("Sequence pairs done: 1 of 1"));
        scene.addItemsToScene();
        QCOMPARE(scene.genomes().size(), 2);
        const int matchings = scene.countMatchings();
        QVERIFY(matchings > 0);
        QVERIFY(scene.fileName().isEmpty());
        // The comparison's own database, which its genomes read while the
        // document is open.
        const QString database = scene.genomes().first()->getDatabase();
        QCOMPARE(scene.genomes().last()->getDatabase(), database);
        QCOMPARE(runFolders(), QStringList({QFileInfo(QFileInfo(database).path()).fileName()}));
        QVERIFY(QFile::exists(database));

        const QString path = QDir::tempPath() + "/threads/round.kcv";
        QDir().mkpath(QFileInfo(path).path());
        scene.setFileName(path);
        GC_ThreadSave save;
        save.setScene(&scene);
        QSignalSpy endSpy(&save, &QThread::finished);
        save.start();
        QVERIFY(waitForSignal(endSpy, 60000));
        QVERIFY2(save.succeeded(), qPrintable(save.lastErrorText()));
        QCOMPARE(GC_FileUtils::filetype(path), FILETYPE_CANVAS);

        GC_GenomeScene again;
        GC_ThreadOpen reopen;
        reopen.setScene(&again);
        reopen.setFileType(FILETYPE_CANVAS);
        reopen.setFileName(path);
        QCOMPARE(runOpening(reopen, &reason), QList<bool>{true});
        again.addItemsToScene();
        QCOMPARE(again.genomes().size(), 2);
        QCOMPARE(again.countMatchings(), matchings);
        QCOMPARE(again.fileName(), path);
        // Closing the document lets the database go: the saved canvas holds
        // everything now.
        QVERIFY(QFile::exists(database));
        scene.clearScene();
        QCOMPARE(runFolders(), QStringList());
    }

    void comparisonDatabaseOpens()
    {
        const QByteArray dna = TestData::randomDna(3000, 31);
        QMap<QString, int> ids;
        const std::shared_ptr<GC_RunDatabase> built =
            gc_buildDatabase({}, {{"a", QString(dna)}, {"b", QString(dna.mid(200, 1500))}}, ids);
        QVERIFY(built);
        GC_SequenceBlaster blaster;
        blaster.setPairs({{ids.value("a"), ids.value("b")}});
        blaster.setDatabase(built->path());
        blaster.blastHanged();
        QVERIFY2(blaster.result(), qPrintable(blaster.lastErrorText()));
        const QString path = QDir::tempPath() + "/threads/comparison.db";
        QFile::remove(path);
        QVERIFY(QFile::copy(built->path(), path));

        GC_GenomeScene scene;
        GC_ThreadOpen open;
        open.setScene(&scene);
        open.setFileType(FILETYPE_COMPARISON);
        open.setInputFiles({path});
        QString reason;
        QCOMPARE(runOpening(open, &reason), QList<bool>{true});
        QCOMPARE(scene.genomes().size(), 2);
        QVERIFY(scene.countMatchings() > 0);
        scene.addItemsToScene();
    }

    void singleSequenceFileOpens()
    {
        const QString path =
            writeTemp("single.fasta", ">lonely genome\n" + TestData::randomDna(900, 4) + "\n");
        GC_GenomeScene scene;
        GC_ThreadOpen open;
        open.setScene(&scene);
        open.setFileType(FILETYPE_GENOME);
        open.setFileName(path);
        QString reason;
        QCOMPARE(runOpening(open, &reason), QList<bool>{true});
        QCOMPARE(scene.genomes().size(), 1);
        scene.addItemsToScene();
    }

    void fileThatIsNoGoodCanvasFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("sequence file") << "not-a-canvas.kcv" << QByteArray(">x\nacgtacgtacgt\n") << QString();
        // The example cut in the middle of a page run.
        QFile example(kestalTestDataPath("../../examples/phages.kcv"));
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QByteArray bytes = example.readAll();
        QTest::newRow("damaged canvas") << "cut.kcv" << bytes.left(bytes.size() / 2 / 4096 * 4096)
                                        << QString("is damaged");
    }

    void fileThatIsNoGoodCanvasFails()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString path = writeTemp(name, content);
        GC_GenomeScene scene;
        GC_ThreadOpen open;
        open.setScene(&scene);
        open.setFileType(FILETYPE_CANVAS);
        open.setFileName(path);
        QString said;
        QCOMPARE(runOpening(open, &said), QList<bool>{false});
        QVERIFY(!said.isEmpty());
        if (!reason.isEmpty())
            QVERIFY2(said.contains(QString("The file \"%1\" %2").arg(path, reason)), qPrintable(said));
        QVERIFY(scene.genomes().isEmpty());
        QVERIFY(scene.fileName().isEmpty());
    }

    void twoGenbankFilesComparedWithBlast()
    {
        const QString first = kestalTestDataPath("MH816966.1.gbk");
        const QString second = kestalTestDataPath("MK373776.1.gbk");
        GC_GenomeScene scene;
        GC_ThreadOpen open;
        open.setScene(&scene);
        open.setFileType(FILETYPE_GENBANK_FASTA);
        open.setInputFiles({first, second});
        GC_BlastOptions options;
        options.setTask("megablast");
        open.setBlastOptions(options);
        open.setPairs({{GC_FileUtils::genbankDefinition(first), GC_FileUtils::genbankDefinition(second)}});
        QString reason;
        QCOMPARE(runOpening(open, &reason), QList<bool>{true});
        QCOMPARE(scene.genomes().size(), 2);
        QVERIFY(scene.countMatchings() > 0);
        scene.addItemsToScene();
    }

    // ---- saving ----------------------------------------------------------

    void savingIntoAnUnwritableFolderFails()
    {
        GC_GenomeScene scene;
        scene.addFreeText(QPointF(10, 10));
        scene.setFileName("/no/such/folder/out.kcv");
        GC_ThreadSave thread;
        thread.setScene(&scene);
        QSignalSpy endSpy(&thread, &QThread::finished);
        thread.start();
        QVERIFY(waitForSignal(endSpy, 30000));
        QVERIFY(!thread.succeeded());
        QVERIFY(!thread.lastErrorText().isEmpty());
        QVERIFY(!QFile::exists("/no/such/folder/out.kcv"));
        QCOMPARE(scene.freeTexts().size(), 1);
    }

    // ---- wait dialog -----------------------------------------------------

    void waitDialogIsModelessAndShowsItsLabel()
    {
        QWidget parent;
        parent.show();
        auto *dialog = new GC_WaitDialog(&parent);
        QCOMPARE(dialog->size(), QSize(228, 96));
        QCOMPARE(dialog->label(), QString("Information"));
        dialog->setTitle("Kestal");
        dialog->setLabel("Saving Kestal Canvas file...");
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QString("Kestal"));
        QCOMPARE(dialog->findChild<QLabel *>("label")->text(), QString("Saving Kestal Canvas file..."));
        QVERIFY(!dialog->findChild<QLabel *>("label_2")->pixmap().isNull());
        // It blocks nothing: the window under it stays usable.
        QVERIFY(!dialog->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

KESTAL_TEST_MAIN(TestThreads)
#include "tst_threads.moc"
