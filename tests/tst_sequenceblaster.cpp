#include "kestal_test.h"
#include "signal_wait.h"
#include "test_data.h"

#include "gc_blastrunner.h"
#include "gc_blastworkfolder.h"
#include "gc_builddatabase.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_rundatabase.h"
#include "gc_sequenceblaster.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QThread>

#include <atomic>

// Real makeblastdb and blastn runs over small related sequences.
//
// Genome 0 (target) is 3000 random letters. Genome 1 (query) holds target
// 1..1000 forward at 1..1000 and target 1501..2300 reverse complemented at
// 1221..2020, among other letters. Genome 2 is unrelated.
class TestSequenceBlaster : public QObject
{
    Q_OBJECT

private:
    QByteArray m_target;
    QByteArray m_query;
    // The comparison database of the current test, built by init().
    std::shared_ptr<GC_RunDatabase> m_database;

    QString database() const { return m_database ? m_database->path() : QString(); }

    struct Row
    {
        int idTarget, targetFrom, targetTo, idQuery, queryFrom, queryTo;
        QString alignTarget, alignQuery;
        double similarity, bitscore;
    };

    QList<Row> matchings()
    {
        QList<Row> result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_read");
            db.setDatabaseName(database());
            if (!db.open())
                qFatal("cannot open the comparison database");
            QSqlQuery query("SELECT * FROM matchings ORDER BY oid", db);
            while (query.next()) {
                result << Row{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt(),
                              query.value(3).toInt(), query.value(4).toInt(), query.value(5).toInt(),
                              query.value(6).toString(), query.value(7).toString(),
                              query.value(8).toDouble(), query.value(9).toDouble()};
            }
        }
        QSqlDatabase::removeDatabase("tst_read");
        return result;
    }

    void build()
    {
        QMap<QString, int> ids;
        const QByteArray unrelated = TestData::randomDna(1500, 99);
        m_database = gc_buildDatabase({}, {{"0 target", m_target}, {"1 query", m_query}, {"2 other", unrelated}}, ids);
        QVERIFY(m_database);
        QCOMPARE(ids.value("1 query"), 1);
    }

    static QList<QByteArray> readPids(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll().trimmed().split('\n');
    }

    QString script(const QString &name, const QByteArray &body)
    {
        const QString path = QDir::tempPath() + "/bin/" + name;
        if (!TestData::writeFile(path, "#!/bin/sh\n" + body))
            qFatal("cannot write %s", qPrintable(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // A blastn stand-in that writes a one-HSP report, then does as told.
    QString fakeBlastn(const QByteArray &ending)
    {
        return script("fakeblastn", "echo \"$@\" > args\n"
                                    "printf '<Hsp_hit-from>1</Hsp_hit-from>\\n<Hsp_hseq>a</Hsp_hseq>\\n' > out\n"
                                    + ending);
    }

    // What the comparison reader makes of the stored rows (the genomes of
    // each canvas row in order, every matching with its id), then the rows
    // in stored order.
    QStringList placedAndStored()
    {
        QStringList lines;
        GC_GenomeScene scene;
        if (!scene.loadSorvikComparisons({database()}))
            return {"not loaded: " + scene.lastErrorText()};
        for (const GC_Genome *genome : scene.topGenomes())
            lines << "top " + genome->getName();
        for (const GC_Genome *genome : scene.lowGenomes())
            lines << "low " + genome->getName();
        for (const GC_GenomeMatching *m : scene.matchings())
            lines << QString("matching %1 %2 %3..%4 %5 %6..%7").arg(m->id()).arg(m->topGenome()->getName())
                         .arg(m->topFrom()).arg(m->topTo()).arg(m->lowGenome()->getName())
                         .arg(m->lowFrom()).arg(m->lowTo());
        for (const Row &r : matchings())
            lines << QString("row %1 %2 %3 %4 %5 %6 %7 %8 %9").arg(r.idTarget).arg(r.idQuery).arg(r.targetFrom)
                         .arg(r.targetTo).arg(r.queryFrom).arg(r.queryTo).arg(r.similarity).arg(r.bitscore)
                         .arg(r.alignTarget + ' ' + r.alignQuery);
        return lines;
    }

private slots:
    void initTestCase()
    {
        m_target = TestData::randomDna(3000, 11);
        // Runs of n fence the copied blocks so that no chance match extends them.
        const QByteArray fence(20, 'n');
        m_query = m_target.left(1000) + fence + TestData::randomDna(180, 12) + fence
                  + TestData::reverseComplement(m_target.mid(1500, 800)) + fence + TestData::randomDna(280, 13);
        QSettings settings;
        settings.setValue("makeblastdbpath", QStandardPaths::findExecutable("makeblastdb"));
        settings.setValue("blastnpath", QStandardPaths::findExecutable("blastn"));
    }

    void init()
    {
        QSettings().setValue("makeblastdbpath", QStandardPaths::findExecutable("makeblastdb"));
        QSettings().setValue("blastnpath", QStandardPaths::findExecutable("blastn"));
        build();
    }

    void forwardAndReverseMatchings()
    {
        GC_SequenceBlaster blaster;
        QSignalSpy progress(&blaster, &GC_SequenceBlaster::progressMessage);
        QSignalSpy failed(&blaster, &GC_SequenceBlaster::blastfailed);
        blaster.setOptions(GC_BlastOptions());
        blaster.setPairs({{0, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY2(blaster.result(), qPrintable(blaster.lastErrorText()));
        QCOMPARE(failed.count(), 0);
        QCOMPARE(progress.count(), 3);
        QCOMPARE(progress.at(0).at(1).toString(), QString("Starting BLAST process."));
        QCOMPARE(progress.at(1).at(1).toString(), QString("Sequence pairs done: 0 of 1"));
        QCOMPARE(progress.at(2).at(1).toString(), QString("Sequence pairs done: 1 of 1"));
        // The program run's own folder under "blasttemp", for its user alone.
        const QFileInfo runFolder(blaster.workFolder());
        QCOMPARE(runFolder.path(), QDir::homePath() + "/blasttemp");
        QVERIFY(runFolder.fileName().startsWith("run-"));
        QCOMPARE(runFolder.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup
                                            | QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther),
                 QFile::Permissions());

        const QList<Row> rows = matchings();
        const Row *forward = nullptr;
        const Row *reverse = nullptr;
        for (const Row &row : rows) {
            QCOMPARE(row.idTarget, 0);
            QCOMPARE(row.idQuery, 1);
            if (row.queryFrom == 1)
                forward = &row;
            if (row.queryFrom == 1221)
                reverse = &row;
        }
        QVERIFY(forward && reverse);
        QCOMPARE(forward->targetFrom, 1);
        QCOMPARE(forward->targetTo, 1000);
        QCOMPARE(forward->queryTo, 1000);
        QCOMPARE(forward->similarity, 100.0);
        QCOMPARE(forward->alignTarget, QString::fromLatin1(m_target.left(1000)).toUpper());
        QCOMPARE(forward->alignQuery, forward->alignTarget);
        // On the target's reverse strand: target range descends, query ascends.
        QCOMPARE(reverse->targetFrom, 2300);
        QCOMPARE(reverse->targetTo, 1501);
        QCOMPARE(reverse->queryTo, 2020);
        QCOMPARE(reverse->similarity, 100.0);

        // Bit scores as blastn itself reports them in its tabular output.
        const QString work = blaster.pairWorkFolder(0);
        QVERIFY(work.startsWith(blaster.workFolder() + "/"));
        GC_BlastRunner tabular;
        tabular.setProgram(QStandardPaths::findExecutable("blastn"));
        tabular.setWorkingDirectory(work);
        tabular.setArguments({"-db", "seq1.db", "-query", "seq2", "-task", "blastn", "-outfmt",
                              "6 sstart send qstart qend bitscore nident length"});
        QVERIFY2(tabular.run(), qPrintable(tabular.errorText()));
        const QList<QByteArray> lines = tabular.standardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), rows.size());
        for (const QByteArray &line : lines) {
            const QList<QByteArray> f = line.split('\t');
            bool found = false;
            for (const Row &row : rows) {
                if (row.targetFrom == f[0].toInt() && row.targetTo == f[1].toInt()
                    && row.queryFrom == f[2].toInt() && row.queryTo == f[3].toInt()) {
                    found = true;
                    QVERIFY(qAbs(row.bitscore - f[4].toDouble()) <= 1.0);
                    QCOMPARE(row.similarity, double(f[5].toInt() * 100 / f[6].toInt()));
                }
            }
            QVERIFY2(found, line.constData());
        }
    }

    void runsOnAThreadWithoutEventLoop()
    {
        // As the opening thread uses it: made, run and destroyed on a
        // worker thread that never runs an event loop.
        bool result = false;
        QString errors;
        QThread *thread = QThread::create([this, &result, &errors] {
            GC_SequenceBlaster blaster;
            blaster.setPairs({{0, 1}, {1, 2}});
            blaster.setDatabase(database());
            blaster.blastHanged();
            result = blaster.result();
            errors = blaster.lastErrorText();
        });
        thread->start();
        QVERIFY(thread->wait(120000));
        delete thread;
        QVERIFY2(result, qPrintable(errors));
        QVERIFY(matchings().size() >= 2);
    }

    void failingPairStoresNothingAndOthersGoOn_data()
    {
        QTest::addColumn<int>("lanes");
        // One lane: the failed pair's lane must take the next pair.
        QTest::newRow("one pair at a time") << 1;
        QTest::newRow("pairs at once") << 3;
    }

    void failingPairStoresNothingAndOthersGoOn()
    {
        QFETCH(int, lanes);
        GC_SequenceBlaster blaster;
        blaster.setConcurrentPairs(lanes);
        QSignalSpy failed(&blaster, &GC_SequenceBlaster::blastfailed);
        QSignalSpy progress(&blaster, &GC_SequenceBlaster::progressMessage);
        blaster.setPairs({{0, 1}, {0, 7}, {2, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(!blaster.result());
        QCOMPARE(failed.count(), 1);
        QCOMPARE(progress.last().at(1).toString(), QString("Sequence pairs done: 3 of 3"));
        QVERIFY2(blaster.lastErrorText().contains("genome 7 is not in the comparison database"),
                 qPrintable(blaster.lastErrorText()));
        const QList<Row> rows = matchings();
        QVERIFY(!rows.isEmpty());
        for (const Row &row : rows)
            QVERIFY(row.idQuery == 1 && (row.idTarget == 0 || row.idTarget == 2));
    }

    void concurrentAndSequentialRunsStoreTheSameRows_data()
    {
        QTest::addColumn<bool>("synchronous");
        QTest::newRow("synchronous") << true;
        QTest::newRow("asynchronous") << false;
    }

    // Genomes A, B and C (B related to both); pairs (A,B), (B,C) and (C,B).
    // The first pair's blastn is slow, the second fails, the third ends
    // first: one at a time and all at once store the same rows in the same
    // order, pair by pair as given, so the canvas made from them places the
    // genomes and numbers the matchings alike. The asynchronous run ends at
    // the failed pair and so stores only the first.
    void concurrentAndSequentialRunsStoreTheSameRows()
    {
        QFETCH(bool, synchronous);
        const QByteArray a = m_target;
        const QByteArray b = m_query;
        const QByteArray c = TestData::randomDna(250, 14) + b.mid(1220, 800) + TestData::randomDna(250, 15)
                             + TestData::reverseComplement(b.left(600));
        const QString log = QDir::homePath() + "/blastn.log";
        QSettings().setValue("blastnpath",
                             script("orderblastn", "echo start >> " + log.toUtf8() + "\n"
                                                   "if grep -qi " + c.left(40) + " seq2; then\n"
                                                   "  sleep 1; echo end >> " + log.toUtf8() + "\n"
                                                   "  echo 'no query today' >&2; exit 4\n"
                                                   "fi\n"
                                                   "if grep -qi " + a.mid(2600, 40) + " seq1; then sleep 2; fi\n"
                                                   + QFile::encodeName(QStandardPaths::findExecutable("blastn"))
                                                   + " \"$@\"; code=$?; echo end >> " + log.toUtf8()
                                                   + "\nexit $code\n"));
        QStringList stored[2];
        QStringList folders[2];
        for (int concurrent : {0, 1}) {
            QMap<QString, int> ids;
            m_database = gc_buildDatabase({}, {{"A", a}, {"B", b}, {"C", c}}, ids);
            QVERIFY(m_database);
            QCOMPARE(ids, (QMap<QString, int>{{"A", 0}, {"B", 1}, {"C", 2}}));
            QFile::remove(log);
            GC_SequenceBlaster blaster;
            QSignalSpy failed(&blaster, &GC_SequenceBlaster::blastfailed);
            // Each progress line with the number of blastn runs ended by then.
            QList<QPair<QString, int>> told;
            connect(&blaster, &GC_SequenceBlaster::progressMessage, &blaster, [&told, log](int, const QString &text) {
                QFile file(log);
                const int ended = file.open(QIODevice::ReadOnly) ? int(file.readAll().count("end")) : 0;
                told.append({text, ended});
            });
            blaster.setConcurrentPairs(concurrent ? 3 : 1);
            blaster.setPairs({{0, 1}, {1, 2}, {2, 1}});
            blaster.setDatabase(database());
            if (synchronous) {
                blaster.blastHanged();
            } else {
                blaster.blast();
                QVERIFY(waitForSignal(failed, 60000));
            }
            QVERIFY(!blaster.result());
            QCOMPARE(failed.count(), 1);
            QVERIFY2(blaster.lastErrorText().startsWith("pair 2 (genome 2 against genome 1): ")
                         && blaster.lastErrorText().contains("exit code 4: no query today")
                         && !blaster.lastErrorText().contains('\n'),
                     qPrintable(blaster.lastErrorText()));
            stored[concurrent] = placedAndStored();
            // One at a time, the asynchronous run never starts the last pair.
            for (int pair = 0; pair < 3; ++pair) {
                if (!blaster.pairWorkFolder(pair).isEmpty())
                    folders[concurrent] << blaster.pairWorkFolder(pair);
            }
            // Progress counts the pairs that have ended, one more as each
            // pair ends, never the pairs merely started.
            const int ran = int(folders[concurrent].size());
            QCOMPARE(told.size(), ran + 2);
            QCOMPARE(told.first().first, QString("Starting BLAST process."));
            for (int done = 0; done <= ran; ++done) {
                const auto &[text, ended] = told.at(done + 1);
                QCOMPARE(text, QString("Sequence pairs done: %1 of 3").arg(done));
                // Only an asynchronous run may stop a pair before its blastn ends.
                if (synchronous)
                    QVERIFY2(ended >= done, qPrintable(text));
            }
            // Outputs kept for their turn are gone once stored or dropped.
            for (const QString &folder : std::as_const(folders[concurrent]))
                QCOMPARE(QDir(folder).entryList({"out-*"}), QStringList());
            // How many blastn ran at the same time at most.
            QFile file(log);
            QVERIFY(file.open(QIODevice::ReadOnly));
            int running = 0, mostRunning = 0;
            for (const QByteArray &event : file.readAll().trimmed().split('\n'))
                mostRunning = qMax(mostRunning, running += event == "start" ? 1 : -1);
            QCOMPARE(mostRunning > 1, bool(concurrent));
        }
        // One at a time: A's rows first, then C's; nothing of the failed pair.
        const QStringList rows = stored[0].filter(QRegularExpression("^row "));
        const int onA = rows.filter(QRegularExpression("^row 0 1 ")).size();
        QVERIFY(onA >= 2);
        QCOMPARE(rows.filter(QRegularExpression("^row 2 1 ")).size(), rows.size() - onA);
        QVERIFY(synchronous ? rows.size() - onA >= 2 : rows.size() == onA);
        for (int i = 0; i < rows.size(); ++i)
            QVERIFY2(rows.at(i).startsWith(i < onA ? "row 0 1 " : "row 2 1 "), qPrintable(rows.at(i)));
        QCOMPARE(stored[0].filter(QRegularExpression("^(top|low) ")),
                 (synchronous ? QStringList{"top A", "top C", "low B"} : QStringList{"top A", "low B"}));
        const QStringList placed = stored[0].filter(QRegularExpression("^matching "));
        QCOMPARE(placed.size(), rows.size());
        for (int i = 0; i < placed.size(); ++i)
            QVERIFY2(placed.at(i).startsWith(QString("matching %1 %2 ").arg(i + 1).arg(i < onA ? "A" : "C")),
                     qPrintable(placed.at(i)));
        // All at once: the very same.
        QCOMPARE(stored[1], stored[0]);
        QCOMPARE(QSet<QString>(folders[0].begin(), folders[0].end()).size(), 1);
        QCOMPARE(QSet<QString>(folders[1].begin(), folders[1].end()).size(), 3);
    }

    // Cancelling, from another thread or by interrupting the blaster's
    // thread, stops every running program at once, with what a wrapper
    // around the program started.
    void cancelStopsEveryRunningProgram_data()
    {
        QTest::addColumn<bool>("interrupt");
        QTest::addColumn<bool>("wrapped");
        QTest::newRow("cancel()") << false << false;
        QTest::newRow("thread interruption") << true << false;
        QTest::newRow("cancel(), makeblastdb a wrapper") << false << true;
    }

    void cancelStopsEveryRunningProgram()
    {
        QFETCH(bool, interrupt);
        QFETCH(bool, wrapped);
        const QString pids = QDir::homePath() + "/pids";
        const QString children = QDir::homePath() + "/children";
        QFile::remove(pids);
        QFile::remove(children);
        QSettings().setValue("makeblastdbpath",
                             script("slowmakeblastdb", wrapped ? "sleep 60 &\necho $! >> " + children.toUtf8()
                                                                     + "\necho $$ >> " + pids.toUtf8() + "\nwait\n"
                                                               : "echo $$ >> " + pids.toUtf8() + "\nexec sleep 60\n"));
        std::atomic<GC_SequenceBlaster *> blaster{nullptr};
        bool result = true;
        QString errors;
        QThread *thread = QThread::create([&] {
            GC_SequenceBlaster local;
            local.setConcurrentPairs(3);
            local.setPairs({{0, 1}, {1, 0}, {2, 1}, {1, 2}});
            local.setDatabase(database());
            blaster = &local;
            local.blastHanged();
            result = local.result();
            errors = local.lastErrorText();
        });
        thread->start();
        // Whatever fails below, the thread ends before its captures do.
        const auto stop = qScopeGuard([thread] {
            thread->requestInterruption();
            thread->wait();
            delete thread;
        });
        QList<QByteArray> started;
        QTRY_VERIFY_WITH_TIMEOUT((started = readPids(pids)).size() == 3, 20000);
        QElapsedTimer timer;
        timer.start();
        if (interrupt)
            thread->requestInterruption();
        else
            blaster.load()->cancel();
        QVERIFY(thread->wait(10000));
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(!result);
        QCOMPARE(errors.count("cancelled"), 4);
        QVERIFY2(errors.contains("1 of 4 pairs were not started"), qPrintable(errors));
        for (const QByteArray &pid : started)
            QVERIFY2(!QFile::exists("/proc/" + pid), pid.constData());
        // Children of a wrapper go to init once the wrapper is gone.
        for (const QByteArray &pid : readPids(children))
            QTRY_VERIFY2_WITH_TIMEOUT(!TestData::processRunning(pid.toLongLong()), pid.constData(), 5000);
        QVERIFY(matchings().isEmpty());
    }

    // A work folder that cannot be made (a file holds its name) fails the
    // run; nothing of the home folder around it is removed or written.
    void unusableWorkFolderFailsAndTouchesNothingElse()
    {
        const QString home = QDir::homePath();
        QDir(home + "/blasttemp").removeRecursively();
        QVERIFY(TestData::writeFile(home + "/blasttemp", "a file, not a folder"));
        QVERIFY(TestData::writeFile(home + "/seq1_notes.txt", "notes"));
        QVERIFY(TestData::writeFile(home + "/out", "the user's own"));
        GC_SequenceBlaster blaster;
        blaster.setPairs({{0, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QFile::remove(home + "/blasttemp");
        QVERIFY(!blaster.result());
        QVERIFY2(blaster.lastErrorText().contains(home + "/blasttemp"), qPrintable(blaster.lastErrorText()));
        QVERIFY(QFile::exists(home + "/seq1_notes.txt"));
        QFile userOut(home + "/out");
        QVERIFY(userOut.open(QIODevice::ReadOnly));
        QCOMPARE(userOut.readAll(), QByteArray("the user's own"));
        QVERIFY(!QFile::exists(home + "/seq2"));
        QVERIFY(matchings().isEmpty());
    }

    // Files someone else left where the lanes used to be (fixed paths under
    // "blasttemp") are neither read nor removed. The lanes are the program
    // run's own and go with the blaster; the run's folder goes at the end.
    void lanesAreTheRunsOwnAndGoWithTheBlaster()
    {
        const QString shared = QDir::homePath() + "/blasttemp";
        const QStringList planted{shared + "/lane-1/seq1", shared + "/lane-1/seq2", shared + "/lane-1/out",
                                  shared + "/lane-1/seq1.db.nsq", shared + "/seq1.fas"};
        for (const QString &path : planted)
            QVERIFY(TestData::writeFile(path, "someone else's"));
        auto untouched = [&planted] {
            for (const QString &path : planted) {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly) || file.readAll() != "someone else's")
                    return false;
            }
            return true;
        };
        QString lane;
        {
            GC_SequenceBlaster blaster;
            blaster.setPairs({{0, 1}});
            blaster.setDatabase(database());
            blaster.blastHanged();
            QVERIFY2(blaster.result(), qPrintable(blaster.lastErrorText()));
            QVERIFY(untouched());
            lane = blaster.pairWorkFolder(0);
            QVERIFY(lane.startsWith(GC_BlastWorkFolder::runFolder() + "/"));
            QVERIFY(QFile::exists(lane + "/out"));
        }
        QVERIFY(!matchings().isEmpty());
        QVERIFY(!QFileInfo::exists(lane));
        QVERIFY(QFileInfo(GC_BlastWorkFolder::runFolder()).isDir());
        GC_BlastWorkFolder::removeRunFolder();
        QVERIFY(!QFileInfo::exists(GC_BlastWorkFolder::runFolder()));
        QVERIFY(untouched());
        QDir(shared + "/lane-1").removeRecursively();
        QFile::remove(shared + "/seq1.fas");
    }

    void genomeWithoutSequenceFailsItsPair()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_write");
            db.setDatabaseName(database());
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("UPDATE genomes SET dna_sequence = '' WHERE id = 2"));
        }
        QSqlDatabase::removeDatabase("tst_write");
        GC_SequenceBlaster blaster;
        blaster.setPairs({{2, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(!blaster.result());
        QVERIFY2(blaster.lastErrorText().contains("genome 2 has no sequence"), qPrintable(blaster.lastErrorText()));
        QVERIFY(matchings().isEmpty());
    }

    void optionsRecordDefaultsAndCopies()
    {
        GC_BlastOptions options;
        QCOMPARE(options.task(), QString("blastn"));
        QCOMPARE(QList<int>({options.wordSize(), options.gapOpen(), options.gapExtend(), options.penalty(),
                             options.reward()}),
                 QList<int>({11, 5, 2, -3, 1}));
        options.setTask("megablast");
        options.setPenalty(-2);
        const GC_BlastOptions copy = options;
        QCOMPARE(copy.task(), QString("megablast"));
        QCOMPARE(copy.penalty(), -2);
        QCOMPARE(copy.wordSize(), 11);
    }

    void emptyPairListSucceeds()
    {
        GC_SequenceBlaster blaster;
        QSignalSpy progress(&blaster, &GC_SequenceBlaster::progressMessage);
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(blaster.result());
        QCOMPARE(progress.count(), 1);
        QVERIFY(matchings().isEmpty());
    }

    void failedProgramRunsStoreNothing_data()
    {
        QTest::addColumn<QByteArray>("ending");
        QTest::addColumn<QString>("reason");
        QTest::newRow("non-zero exit") << QByteArray("echo 'BLAST query error' >&2\nexit 2\n") << "exit code 2";
        QTest::newRow("crash") << QByteArray("kill -SEGV $$\n") << "crashed";
    }

    void failedProgramRunsStoreNothing()
    {
        QFETCH(QByteArray, ending);
        QFETCH(QString, reason);
        QSettings().setValue("blastnpath", fakeBlastn(ending));
        GC_SequenceBlaster blaster;
        blaster.setPairs({{0, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(!blaster.result());
        QVERIFY2(blaster.lastErrorText().contains(reason), qPrintable(blaster.lastErrorText()));
        QVERIFY(matchings().isEmpty());
    }

    void anEarlierOutputIsNeverReadAgain()
    {
        GC_SequenceBlaster blaster;
        blaster.setPairs({{0, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(blaster.result());
        const int stored = matchings().size();
        QVERIFY(QFile::exists(blaster.pairWorkFolder(0) + "/out"));

        // A blastn that "succeeds" without writing anything.
        QSettings().setValue("blastnpath", script("silentblastn", "exit 0\n"));
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(!blaster.result());
        QCOMPARE(matchings().size(), stored);
    }

    void missingOrNonExecutableBlastnFailsClearly()
    {
        const QString plain = script("plainblastn", "exit 0\n");
        QFile::setPermissions(plain, QFile::ReadOwner | QFile::WriteOwner);
        for (const QString &configured : {QString("/opt/nowhere/blastn"), plain}) {
            QSettings().setValue("blastnpath", configured);
            const QByteArray path = qgetenv("PATH");
            qputenv("PATH", QFile::encodeName(QDir::tempPath() + "/empty-path"));
            GC_SequenceBlaster blaster;
            blaster.setPairs({{0, 1}});
            blaster.setDatabase(database());
            blaster.blastHanged();
            qputenv("PATH", path);
            QVERIFY(!blaster.result());
            QVERIFY2(blaster.lastErrorText().contains(configured), qPrintable(blaster.lastErrorText()));
            QVERIFY(matchings().isEmpty());
        }
    }

    void taskReachesBlastnUnquoted()
    {
        QSettings().setValue("blastnpath", fakeBlastn("exit 0\n"));
        GC_SequenceBlaster blaster;
        GC_BlastOptions options;
        options.setTask("dc-megablast extra");
        blaster.setOptions(options);
        blaster.setPairs({{0, 1}});
        blaster.setDatabase(database());
        blaster.blastHanged();
        QVERIFY(blaster.result());
        QFile args(blaster.pairWorkFolder(0) + "/args");
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll().trimmed(),
                 QByteArray("-db seq1.db -query seq2 -out out -outfmt 5 -task dc-megablast extra"));
        QFile seq2(blaster.pairWorkFolder(0) + "/seq2");
        QVERIFY(seq2.open(QIODevice::ReadOnly));
        QCOMPARE(seq2.readAll(), ">2\n" + m_query);
        // The fake report's one HSP, with no alignment length: similarity 0.
        const QList<Row> rows = matchings();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].similarity, 0.0);
        QCOMPARE(rows[0].alignTarget, QString("a"));
    }

    void asynchronousRunStopsAtTheFirstFailure()
    {
        GC_SequenceBlaster blaster;
        QSignalSpy finished(&blaster, &GC_SequenceBlaster::blastfinished);
        QSignalSpy failed(&blaster, &GC_SequenceBlaster::blastfailed);
        QSignalSpy progress(&blaster, &GC_SequenceBlaster::progressMessage);
        blaster.setPairs({{0, 1}, {0, 7}, {2, 1}});
        blaster.setDatabase(database());
        blaster.blast();
        QVERIFY(waitForSignal(failed, 60000));
        // The run ends once no pair runs: only events already posted could
        // report more.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(progress.count(), 4); // start, then 0, 1 and 2 pairs done; the third never starts
        QCOMPARE(progress.last().at(1).toString(), QString("Sequence pairs done: 2 of 3"));
        QVERIFY(!blaster.result());
        const QList<Row> rows = matchings();
        QVERIFY(!rows.isEmpty());
        for (const Row &row : rows)
            QCOMPARE(row.idTarget, 0);
    }

    void asynchronousRunFinishes()
    {
        GC_SequenceBlaster blaster;
        QSignalSpy finished(&blaster, &GC_SequenceBlaster::blastfinished);
        blaster.setPairs({{0, 1}, {1, 0}});
        blaster.setDatabase(database());
        blaster.blast();
        QVERIFY(waitForSignal(finished, 60000));
        QVERIFY(blaster.result());
        int reversedPair = 0;
        for (const Row &row : matchings())
            reversedPair += row.idTarget == 1 && row.idQuery == 0 ? 1 : 0;
        QVERIFY(reversedPair >= 2);
    }
};

KESTAL_TEST_MAIN(TestSequenceBlaster)
#include "tst_sequenceblaster.moc"
