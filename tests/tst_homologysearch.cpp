#include "kestal_test.h"
#include "reference_database_fixture.h"
#include "sqlite_file_lock.h"
#include "sqlite_page_damage.h"
#include "test_data.h"

#include "gc_blastresultfile.h"
#include "gc_blastworkfolder.h"
#include "gc_cogmatching.h"
#include "gc_coghomologies.h"
#include "gc_cogtblastn_dialog.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genomesource.h"
#include "gc_homologycoverage.h"
#include "gc_homologyhitline.h"
#include "gc_referencedatabases.h"
#include "gc_rfamblastn_dialog.h"
#include "gc_rfamhomologies.h"
#include "gc_rfammatching.h"
#include "gc_rrnablastn_dialog.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnamatching.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <memory>

using Fixture = ReferenceDatabaseFixture;

// Notes the label and button of every progress dialog shown while it lives.
class ProgressDialogWatch : public QObject
{
public:
    ProgressDialogWatch() { qApp->installEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QProgressDialog *>(watched);
        if (dialog && event->type() == QEvent::Show) {
            const auto *abort = dialog->findChild<QPushButton *>();
            shown << dialog->labelText() + "|" + (abort ? abort->text() : QString())
                         + (dialog->windowModality() == Qt::WindowModal ? "|window-modal" : "");
        }
        return false;
    }
};

// The three homology search dialogs driven as a user would, with the real
// makeblastdb, tblastn and blastn against stand-in reference collections
// (shell scripts stand in for BLAST only where canned output or a failure
// is needed).
class TestHomologySearch : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Fixture> m_fixture;

    // A hit as the bars keep it.
    struct Hit
    {
        int start, end, reference;
    };

    // What the closing message box showed.
    struct Box
    {
        QString text;
        int buttons = 0;
    };

    // Polls for the next message box (other modal widgets are passed over)
    // and clicks the answer.
    // Advanced before each test: a poller left over from an earlier test (one
    // whose box never came) must not answer this test's box.
    static inline int testGeneration = 0;

    static std::shared_ptr<Box> answerBox(QMessageBox::StandardButton answer)
    {
        auto box = std::make_shared<Box>();
        const int generation = testGeneration;
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [box, clock, poll, answer, generation] {
            if (generation != testGeneration) {
                *poll = nullptr;
                return;
            }
            auto *modal = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (modal && modal->isVisible()) {
                box->text = modal->text();
                box->buttons = int(modal->buttons().size());
                if (QAbstractButton *button = modal->button(answer))
                    button->click();
                else
                    modal->close();
                *poll = nullptr;  // breaks the cycle
                return;
            }
            if (clock->elapsed() < 120000)
                QTimer::singleShot(20, *poll);
        };
        QTimer::singleShot(0, *poll);
        return box;
    }

    template <typename T> static T *child(QObject &dialog, const char *name)
    {
        T *widget = dialog.findChild<T *>(name);
        if (!widget)
            qFatal("no child %s", name);
        return widget;
    }

    // The log pane's text: an "<b>Error:</b>" line reads "Error:" here.
    static QString log(QDialog &dialog) { return child<QTextBrowser>(dialog, "textBrowser")->toPlainText(); }
    static bool logHasError(QDialog &dialog) { return log(dialog).contains("Error:"); }

    // Clicks Search and waits until the dialog closes or logs an error.
    static std::shared_ptr<Box> search(QDialog &dialog, QMessageBox::StandardButton answer = QMessageBox::Save)
    {
        dialog.show();
        auto box = answerBox(answer);
        QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
        // Callers check which way it ended.
        (void)QTest::qWaitFor([&] { return !dialog.isVisible() || logHasError(dialog); }, 120000);
        return box;
    }

    static QString script(const QString &name, const QByteArray &body)
    {
        const QString path = QDir::tempPath() + "/bin/" + name;
        if (!TestData::writeFile(path, "#!/bin/sh\n" + body))
            qFatal("cannot write %s", qPrintable(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // A script printing canned tabular output.
    static QString cannedBlast(const QString &name, const QByteArray &lines)
    {
        const QString data = QDir::tempPath() + "/bin/" + name + ".out";
        TestData::writeFile(data, lines);
        return script(name, "cat '" + data.toUtf8() + "'\n");
    }

    static void useRealPrograms()
    {
        QSettings settings;
        for (const char *program : {"makeblastdb", "blastn", "tblastn"})
            settings.setValue(QString(program) + "path", QStandardPaths::findExecutable(program));
    }

    static GC_Genome *addGenome(GC_GenomeScene &scene, const QString &dna)
    {
        auto *genome = new GC_Genome;
        genome->setName("searched");
        genome->setDnaSequence(dna);
        genome->setCoords(GC_Interval(1, int(dna.size())));
        scene.insertTopGenome(genome);
        scene.addItemsToScene();
        return genome;
    }

    // Builds filler with the inserts placed at the given 1-based positions.
    static QString genomeWith(int length, const QList<QPair<int, QString>> &inserts)
    {
        QString dna = Fixture::filler(length, 7).toUpper();
        for (const auto &insert : inserts)
            dna.replace(insert.first - 1, insert.second.size(), insert.second);
        return dna;
    }

    template <typename Matching, typename Reference>
    static QList<Hit> hitsOf(const QMap<int, Matching *> &matchings, Reference reference)
    {
        QList<Hit> hits;
        for (const Matching *m : matchings)
            hits.append({m->getStart(), m->getEnd(), (m->*reference)()});
        return hits;
    }

    // Found where expected, give or take a few positions of alignment edge.
    static bool near(const Hit &hit, int start, int end, int reference)
    {
        return hit.reference == reference && qAbs(hit.start - start) <= 6 && qAbs(hit.end - end) <= 6
               && hit.start < hit.end;
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<Fixture>();
        QVERIFY2(m_fixture->build(), qPrintable(m_fixture->errorString()));
        QVERIFY2(m_fixture->open(), qPrintable(m_fixture->errorString()));
    }

    void init()
    {
        ++testGeneration;
        useRealPrograms();
        GC_ReferenceDatabases::setFolder(m_fixture->folder());
    }

    void cleanupTestCase() { m_fixture.reset(); }

    // ---------------------------------------------------------------- filter

    void overlapRuleDropsHitsMoreThanAFifthCovered()
    {
        GC_HomologyCoverage coverage(1000);
        QVERIFY(coverage.claim(100, 200));
        // Exactly a fifth covered passes; a position more is dropped.
        QVERIFY(coverage.claim(180, 280));
        QVERIFY(!coverage.claim(259, 359));
        // A dropped hit claims nothing.
        QCOMPARE(coverage.coveredCount(281, 359), 0);
        // A zero span passes, also on claimed ground.
        QVERIFY(coverage.claim(150, 150));

        int low = 0, high = 0;
        coverage.normalise(1200, 900, &low, &high);
        QCOMPARE(low, 900);
        QCOMPARE(high, 1000);
        // Beyond the range: refused and nothing outside the array touched.
        coverage.normalise(1500, 1100, &low, &high);
        QVERIFY(!coverage.claim(low, high));
    }

    void hitLinesParseByPosition()
    {
        GC_HomologyHitLine hit;
        QVERIFY(hit.parse("12\t60\t501\t320\t8.60e-143\t129.5\n"));
        QCOMPARE(hit.referenceId(), 12);
        QCOMPARE(hit.first(), 501);
        QCOMPARE(hit.last(), 320);
        // Below a float's range: kept as a double.
        QCOMPARE(hit.evalue(), 8.60e-143);
        QCOMPARE(hit.bitscore(), 129.5);
        QVERIFY(!hit.parse("12\t60\t501\t320\t1e-5\n"));
        QVERIFY(!hit.parse("gi|12\t60\t501\t320\t1e-5\t20\n"));
        QVERIFY(!hit.parse(""));
    }

    void resultFileCountsLinesAcrossChunks()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("result.txt");
        GC_BlastResultFile result;
        QVERIFY(result.open(path));
        int field = -1;
        // A line split over two chunks reports once it is whole.
        QVERIFY(!result.append("17\t60\t1", &field));
        QCOMPARE(field, -1);
        QVERIFY(result.append("00\t200\t1e-5\t40\n25\t6", &field));
        QCOMPARE(field, 17);
        QVERIFY(result.append("0\t300\t400\t1e-5\t40\n31\t1\t2\t3\n", &field));
        QCOMPARE(field, 31);
        // The last line without its line feed counts once finished.
        QVERIFY(!result.append("40\t1\t2", &field));
        QCOMPARE(result.lineCount(), 3);
        QVERIFY(result.finish());
        QCOMPARE(result.lineCount(), 4);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("17\t60\t100\t200\t1e-5\t40\n25\t60\t300\t400\t1e-5\t40\n"
                                               "31\t1\t2\t3\n40\t1\t2"));

        // A new run starts empty; a blank tail is no line.
        QVERIFY(result.open(path));
        QVERIFY(result.append("\n  ", &field));
        QVERIFY(result.finish());
        QCOMPARE(result.lineCount(), 1);
        // Closed: nothing is written any more.
        QVERIFY(!result.append("5\t1\n", &field));
        QCOMPARE(result.lineCount(), 1);
        // A folder that does not exist cannot hold the copy.
        QVERIFY(!result.open(dir.filePath("missing/result.txt")));
    }

    void databaseCopiesAreRefreshedWhenTheyDiffer()
    {
        QTemporaryDir source;
        const QString base = source.filePath("DB");
        QVERIFY(TestData::writeFile(base + ".nhd", "index"));
        QVERIFY(TestData::writeFile(base + ".nsq", "sequences"));
        const GC_BlastWorkFolder work;
        QVERIFY(work.ensure());
        QVERIFY(work.copyDatabase(base, {".nhd", ".nsq"}));
        QFile copy(work.filePath("DB.nsq"));
        // A copy cut short (an interrupted copy) is replaced.
        QVERIFY(copy.resize(3));
        QVERIFY(work.copyDatabase(base, {".nhd", ".nsq"}));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("sequences"));
        // A missing source file is a failure with its name.
        QString reason;
        QVERIFY(!work.copyDatabase(base, {".nhd", ".nin"}, &reason));
        QVERIFY(reason.contains("DB.nin"));
    }

    // ---------------------------------------------------------------- real BLAST

    void cogSearchFindsProteinsOnBothStrands()
    {
        const QString forward = Fixture::codingSequence(Fixture::cogProteinSequence(1));
        const QString reverse =
            Fixture::reverseComplement(Fixture::codingSequence(Fixture::cogProteinSequence(4)));
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, genomeWith(3000, {{301, forward}, {1501, reverse}}));
        // An earlier search's hit goes when the new hits are saved.
        genome->getCogHomologies()->addCogMatching(2500, 2600, 5, "COG0086", "K", 1, 1e-5, 30.0f);

        GC_COGTblastn_dialog dialog;
        dialog.setGenome(genome);
        dialog.setScene(&scene);
        QVERIFY(dialog.isSearchAvailable());
        const auto box = search(dialog);
        QVERIFY2(!logHasError(dialog), qPrintable(log(dialog)));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(box->text, QString("The analysis found 2 COG homologies."));
        QCOMPARE(box->buttons, 2);

        const auto &matchings = genome->getCogHomologies()->matchings();
        const QList<Hit> hits = hitsOf(matchings, &GC_CogMatching::getIdCogProtein);
        QCOMPARE(hits.size(), 2);
        QVERIFY(near(hits.at(0), 301, 300 + forward.size(), 1));
        QVERIFY(near(hits.at(1), 1501, 1500 + reverse.size(), 4));

        const GC_CogMatching *first = matchings.first();
        QCOMPARE(first->getCogCode(), QString("COG0001"));
        QCOMPARE(first->getGroupCode(), QString("H"));
        QCOMPARE(first->getClassId(), 2);
        QCOMPARE(first->getGenomeId(), genome->getId());
        // The first category listed for protein 4's COG.
        QCOMPARE(matchings.last()->getGroupCode(), QString("T"));
        QCOMPARE(matchings.last()->getClassId(), 3);

        // E-values exactly as tblastn printed them, in double precision.
        QFile result(dialog.resultPath());
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QList<QByteArray> fields = result.readLine().split('\t');
        QCOMPARE(first->getEvalue(), fields.at(4).toDouble());
        QVERIFY(first->getEvalue() > 0.0 && first->getEvalue() < 1e-20);
        QCOMPARE(first->getBitscore(), fields.at(5).trimmed().toDouble());
    }

    void rfamSearchUsesChosenTaskAndSkipsUnknownSequences()
    {
        const QString rf1 = Fixture::rfamSequence(1);
        const QString rf2 = Fixture::reverseComplement(Fixture::rfamSequence(2));
        const QString unknown = Fixture::rfamSequence(Fixture::missingRfamSequenceId);
        GC_GenomeScene scene;
        GC_Genome *genome =
            addGenome(scene, genomeWith(2000, {{201, rf1}, {801, rf2}, {1401, unknown}}));

        GC_RFAMBlastn_dialog dialog;
        dialog.setGenome(genome);
        dialog.setScene(&scene);
        auto *combo = child<QComboBox>(dialog, "blastCombobox");
        auto *label = child<QLabel>(dialog, "blastLabel");
        QCOMPARE(dialog.task(), QString("megablast"));
        QCOMPARE(combo->currentText(), QString("megablast"));
        QCOMPARE(label->text(), QString("Highly similar sequences"));
        // The user steps the list up to dc-megablast.
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(dialog.task(), QString("dc-megablast"));
        QCOMPARE(label->text(), QString("More dissimilar sequences"));

        const auto box = search(dialog);
        QVERIFY2(!logHasError(dialog), qPrintable(log(dialog)));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY2(box->text.startsWith("The analysis found 3 RFAM candidate homologies."),
                 qPrintable(box->text));

        const auto &matchings = genome->getRfamHomologies()->matchings();
        const QList<Hit> hits = hitsOf(matchings, &GC_RfamMatching::getRfamSeqId);
        QCOMPARE(hits.size(), 2);
        QVERIFY(near(hits.at(0), 201, 200 + rf1.size(), 1));
        QVERIFY(near(hits.at(1), 801, 800 + rf2.size(), 2));
        QCOMPARE(matchings.first()->getRfamCode(), QString("RF00001"));
        QCOMPARE(matchings.last()->getRfamCode(), QString("RF00005"));
        QVERIFY(matchings.first()->getEvalue() < 1e-20);
    }

    void rrnaSearchRunsBothDatabases()
    {
        const QString lsu = Fixture::rrnaSequence(101);
        const QString ssu = Fixture::reverseComplement(Fixture::rrnaSequence(201));
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, genomeWith(3000, {{401, lsu}, {1601, ssu}}));

        GC_RRNABlastn_dialog dialog;
        dialog.setGenome(genome);
        dialog.setGenomeScene(&scene);
        QVERIFY2(dialog.isSearchAvailable(), qPrintable(log(dialog)));
        // The databases were copied into the work folder.
        const QDir work(dialog.workDir());
        QCOMPARE(work.entryList({"LSU_106_silva_80.*", "SSU_106_silva_80.*"}, QDir::Files).size(), 14);

        const auto box = search(dialog);
        QVERIFY2(!logHasError(dialog), qPrintable(log(dialog)));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(box->text, QString("The analysis found a total of 2 rRNA homologies."));

        const auto &matchings = genome->getrRNAHomologies()->matchings();
        const QList<Hit> hits = hitsOf(matchings, &GC_rRNAMatching::getRrnaSeqId);
        QCOMPARE(hits.size(), 2);
        QVERIFY(near(hits.at(0), 401, 400 + lsu.size(), 101));
        QVERIFY(near(hits.at(1), 1601, 1600 + ssu.size(), 201));
        QCOMPARE(matchings.first()->getGroupId(), 1);
        QCOMPARE(matchings.last()->getGroupId(), 2);
    }

    // ---------------------------------------------------------------- canned output

    void keptHitsFollowOverlapAndLengthRules()
    {
        // RFAM lengths: 1 -> 120, 2 -> 72, 3 -> 74, 4 -> 150; 99 is unknown.
        settingsPath("blastnpath", cannedBlast("blastn-canned",
            "1\t120\t100\t219\t1e-50\t200\n"      // kept
            "2\t72\t150\t200\t1e-20\t100\n"       // all covered: dropped
            "3\t74\t400\t300\t1e-30\t90\n"        // reverse strand: kept as 300..400
            "4\t150\t1000\t1300\t1e-9\t50\n"      // twice the length: refused, still claims
            "2\t72\t1100\t1200\t1e-9\t50\n"       // under the refused hit: dropped
            "2\t72\t1950\t2020\t1e-9\t50\n"       // kept
            "3\t74\t2000\t2100\t1e-9\t50\n"       // a fifth covered: kept
            "3\t74\t2079\t2179\t1e-9\t50\n"       // 21 of 100 covered: dropped
            "2\t72\t3000\t3143\t1e-9\t50\n"       // one short of twice the length: kept
            "2\t72\t3200\t3344\t1e-9\t50\n"       // twice the length: refused
            "99\t100\t3500\t3600\t1e-9\t50\n"     // unknown sequence: refused
            "1\t120\t4950\t5100\t1e-9\t50"));     // cut at the genome's end; no line feed
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(5000, 3));

        GC_RFAMBlastn_dialog dialog;
        dialog.setGenome(genome);
        dialog.setScene(&scene);
        const auto box = search(dialog);
        QVERIFY2(!logHasError(dialog), qPrintable(log(dialog)));
        QCOMPARE(dialog.lineCount(), 12);
        QVERIFY(box->text.startsWith("The analysis found 12 RFAM candidate homologies."));

        QList<QList<int>> kept;
        for (const Hit &hit : hitsOf(genome->getRfamHomologies()->matchings(), &GC_RfamMatching::getRfamSeqId))
            kept.append({hit.start, hit.end, hit.reference});
        const QList<QList<int>> expected = {{100, 219, 1}, {300, 400, 3}, {1950, 2020, 2},
                                            {2000, 2100, 3}, {3000, 3143, 2}, {4950, 5000, 1}};
        QCOMPARE(kept, expected);
        QCOMPARE(dialog.addedCount(), 6);
    }

    void cogLengthRuleIsSixTimesTheProteinLength()
    {
        // Protein 1 has 60 amino acids.
        settingsPath("tblastnpath", cannedBlast("tblastn-canned",
            "1\t60\t1\t361\t1e-9\t50\n"
            "1\t60\t1000\t641\t1e-9\t50\n"
            "99\t60\t2000\t2100\t1e-9\t50\n"));
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(3000, 4));
        GC_COGTblastn_dialog dialog;
        dialog.setGenome(genome);
        search(dialog);
        QVERIFY2(!logHasError(dialog), qPrintable(log(dialog)));
        const QList<Hit> hits =
            hitsOf(genome->getCogHomologies()->matchings(), &GC_CogMatching::getIdCogProtein);
        QCOMPARE(hits.size(), 1);
        QCOMPARE(hits.first().start, 641);
        QCOMPARE(hits.first().end, 1000);
    }

    // ---------------------------------------------------------------- failures

    void missingReferencesAndProgramsDisableSearch()
    {
        QTemporaryDir empty;
        GC_ReferenceDatabases::setFolder(empty.path());
        {
            GC_COGTblastn_dialog cog;
            QVERIFY(!cog.isSearchAvailable());
            QVERIFY(!child<QPushButton>(cog, "searchButton")->isEnabled());
            QVERIFY(log(cog).contains(QDir(empty.path()).filePath("cogprots80.fas")));
            GC_RRNABlastn_dialog rrna;
            QVERIFY(!rrna.isSearchAvailable());
            QVERIFY(log(rrna).contains(QDir(empty.path()).filePath("SSU_106_silva_80")));
        }
        GC_ReferenceDatabases::setFolder(m_fixture->folder());

        // A program neither where the settings say nor on the PATH.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QDir::tempPath() + "/nowhere"));
        QSettings().setValue("blastnpath", "/opt/none/blastn");
        GC_RFAMBlastn_dialog rfam;
        qputenv("PATH", path);
        QVERIFY(!rfam.isSearchAvailable());
        QVERIFY(!child<QPushButton>(rfam, "searchButton")->isEnabled());
        QVERIFY(log(rfam).startsWith("Error: the file:"));
        QVERIFY(log(rfam).contains("/opt/none/blastn"));
        QVERIFY(log(rfam).contains("does not exists."));

        // The program runs without its reference database and says so.
        GC_ReferenceDatabases::close(GC_ReferenceDatabases::Rrna);
        GC_RRNABlastn_dialog closed;
        GC_ReferenceDatabases::open(GC_ReferenceDatabases::Rrna);
        QVERIFY(!closed.isSearchAvailable());
        QVERIFY(log(closed).contains("rrnas.sqlite3"));
        // One that would not open says why, in the words every reader uses.
        GC_ReferenceDatabases::close(GC_ReferenceDatabases::Rrna);
        {
            SqliteFileLock lock(m_fixture->path("rrnas.sqlite3"));
            QVERIFY(lock.isHeld());
            QVERIFY(!GC_ReferenceDatabases::open(GC_ReferenceDatabases::Rrna));
        }
        GC_RRNABlastn_dialog locked;
        QVERIFY(GC_ReferenceDatabases::open(GC_ReferenceDatabases::Rrna));
        QVERIFY(!locked.isSearchAvailable());
        QVERIFY2(log(locked).contains("could not be opened (the file is in use by another program"), qPrintable(log(locked)));
    }

    void failedProgramsEndInAnErrorLine_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("error");
        QTest::newRow("makeblastdb exit code") << 0 << "makeblastdbpath" << QByteArray("echo bad >&2; exit 1\n")
                                               << "the process has failed (blaststep2)";
        QTest::newRow("tblastn exit code") << 0 << "tblastnpath" << QByteArray("echo '1\t60\t1\t100\t1e-9\t50'; exit 3\n")
                                           << "the process has failed (blastFinished())";
        QTest::newRow("blastn crash") << 1 << "blastnpath" << QByteArray("kill -SEGV $$\n")
                                      << "the process has failed (blastFinished())";
        QTest::newRow("first rRNA run") << 2 << "blastnpath"
                                        << QByteArray("echo run >> \"$HOME/rrna-runs\"; exit 2\n")
                                        << "the process has failed (blaststep2)";
        QTest::newRow("not executable") << 1 << "blastnpath" << QByteArray() << "not executable";
    }

    void failedProgramsEndInAnErrorLine()
    {
        QFETCH(int, family);
        QFETCH(QString, key);
        QFETCH(QByteArray, body);
        QFETCH(QString, error);
        QString program = script("failing", body);
        if (body.isEmpty())
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner);
        QSettings().setValue(key, program);
        QFile::remove(QDir::homePath() + "/rrna-runs");

        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(2000, 5));
        std::unique_ptr<QDialog> dialog;
        if (family == 0)
            dialog = searchDialog<GC_COGTblastn_dialog>(genome);
        else if (family == 1)
            dialog = searchDialog<GC_RFAMBlastn_dialog>(genome);
        else
            dialog = searchDialog<GC_RRNABlastn_dialog>(genome);

        if (body.isEmpty()) {
            QVERIFY(log(*dialog).contains(error));
            return;
        }
        const auto box = search(*dialog);
        QVERIFY2(log(*dialog).contains("Error: " + error), qPrintable(log(*dialog)));
        QVERIFY(dialog->isVisible());
        QVERIFY(box->text.isEmpty());
        QCOMPARE(genome->countCogMatchings() + genome->countRfamMatchings() + genome->countrRNAMatchings(), 0);
        if (family == 2) {
            QFile runs(QDir::homePath() + "/rrna-runs");
            QVERIFY(runs.open(QIODevice::ReadOnly));
            QCOMPARE(runs.readAll(), QByteArray("run\n"));
        }
        dialog->reject();
    }

    void staleResultsAreNeverRead()
    {
        settingsPath("tblastnpath", script("tblastn-silent", "exit 0\n"));
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(2000, 6));
        GC_COGTblastn_dialog dialog;
        dialog.setGenome(genome);
        QVERIFY(TestData::writeFile(dialog.resultPath(), "1\t60\t1\t180\t1e-9\t50\n"));
        const auto box = search(dialog, QMessageBox::Discard);
        QCOMPARE(box->text, QString("No COG homologies were found"));
        QCOMPARE(box->buttons, 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(genome->countCogMatchings(), 0);
    }

    // ---------------------------------------------------------------- accept and reject

    void cancelAndDiscardLeaveNoNewHits()
    {
        GC_GenomeScene scene;
        const QString rf1 = Fixture::rfamSequence(1);
        GC_Genome *genome = addGenome(scene, genomeWith(1000, {{101, rf1}}));
        genome->getCogHomologies()->addCogMatching(500, 600, 5, "COG0086", "K", 1, 1e-5, 30.0f);

        // Cancel before a search touches nothing.
        {
            GC_COGTblastn_dialog dialog;
            dialog.setGenome(genome);
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.isVisible());
            QCOMPARE(genome->countCogMatchings(), 1);
        }
        // Discard after a search: nothing added, the work files go with the dialog.
        QString workDir;
        {
            GC_RFAMBlastn_dialog dialog;
            dialog.setGenome(genome);
            workDir = dialog.workDir();
            const auto box = search(dialog, QMessageBox::Discard);
            QVERIFY(box->text.startsWith("The analysis found 1 RFAM"));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(genome->countRfamMatchings(), 0);
            QVERIFY(QFile::exists(workDir + "/seq.fas"));
        }
        QVERIFY(!QFile::exists(workDir + "/seq.fas"));
        QVERIFY(QDir(workDir).entryList({"seq.n*"}, QDir::Files).isEmpty());
    }

    void cancelStopsARunningSearch()
    {
        settingsPath("tblastnpath", script("tblastn-slow", "echo started > \"$HOME/slow\"; exec sleep 60\n"));
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(1000, 8));
        genome->getCogHomologies()->addCogMatching(100, 200, 5, "COG0086", "K", 1, 1e-5, 30.0f);
        QElapsedTimer clock;
        clock.start();
        {
            GC_COGTblastn_dialog dialog;
            dialog.setGenome(genome);
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
            QTRY_VERIFY(QFile::exists(QDir::homePath() + "/slow"));
            QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            // Once the stopped program is gone, it can report nothing more.
            const QPointer<QProcess> program = dialog.findChild<QProcess *>();
            QTRY_VERIFY(!program);
            QVERIFY(!logHasError(dialog));
        }
        QVERIFY(clock.elapsed() < 20000);
        // A search that did not finish takes none of the earlier hits.
        QCOMPARE(genome->countCogMatchings(), 1);
    }

    void unfinishedSearchesKeepTheEarlierHits()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(3000, 9));
        // An earlier search's hits, stored in the genome's source file (under
        // its key 7, next to another genome's) and held by its bars.
        const QString source = QDir::tempPath() + "/earlier.kestal";
        QFile::remove(source);
        QVERIFY(writeCogRows(source, {{7, 2, 100, 200, 1e-30, 80.5}, {7, 3, 400, 600, 2e-9, 41.0},
                                      {8, 2, 100, 200, 1e-30, 80.5}}));
        genome->setDatabase(source);
        genome->setDatabaseId(7);
        QCOMPARE(genome->countDatabaseCogMatchings(), 2);
        genome->getCogHomologies()->addCogMatching(100, 200, 5, "COG0086", "K", 1, 1e-5, 30.0);
        genome->getRfamHomologies()->addRfamMatching(300, 400, 1, "RF00001", 1e-9, 40.0);
        genome->getrRNAHomologies()->addrRNAMatching(500, 700, 101, 1, 1e-9, 50.0);
        const QStringList earlierRows = cogRows(source);
        auto earlierHitsStay = [&] {
            QCOMPARE(genome->countCogMatchings(), 1);
            QCOMPARE(genome->countRfamMatchings(), 1);
            QCOMPARE(genome->countrRNAMatchings(), 1);
            QCOMPARE(cogRows(source), earlierRows);
            QCOMPARE(genome->getDatabaseCogMatchingsCount(), 2);
        };

        ProgressDialogWatch watch;
        // tblastn fails; blastn fails for RFAM and rRNA.
        settingsPath("tblastnpath", script("tblastn-fails", "echo '1\t60\t1\t180\t1e-9\t50'; exit 3\n"));
        settingsPath("blastnpath", script("blastn-fails", "exit 2\n"));
        for (int family = 0; family < 3; ++family) {
            std::unique_ptr<QDialog> dialog =
                family == 0 ? searchDialog<GC_COGTblastn_dialog>(genome)
                : family == 1 ? searchDialog<GC_RFAMBlastn_dialog>(genome)
                              : searchDialog<GC_RRNABlastn_dialog>(genome);
            search(*dialog);
            QVERIFY2(logHasError(*dialog), qPrintable(log(*dialog)));
            dialog->reject();
            earlierHitsStay();
        }

        // The search finishes but its hits are discarded.
        settingsPath("tblastnpath", cannedBlast("tblastn-one", "1\t60\t1\t180\t1.27e-127\t48.1\n"));
        {
            GC_COGTblastn_dialog dialog;
            dialog.setGenome(genome);
            const auto box = search(dialog, QMessageBox::Discard);
            QCOMPARE(box->text, QString("The analysis found 1 COG homologies."));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        earlierHitsStay();
        QCOMPARE(watch.shown, QStringList());

        // Saved, but the COG collection's proteins page went bad since it
        // was opened: its look-ups fail, which is no "no such protein".
        {
            QTemporaryDir damaged;
            for (const char *name : {"cog.sqlite3", "cogprots80.fas"})
                QVERIFY(QFile::copy(m_fixture->path(name), damaged.filePath(name)));
            GC_ReferenceDatabases::setFolder(damaged.path());
            QVERIFY(GC_ReferenceDatabases::open(GC_ReferenceDatabases::Cog));
            {
                QSqlQuery cog(GC_ReferenceDatabases::database(GC_ReferenceDatabases::Cog));
                QVERIFY(cog.exec("SELECT rootpage FROM sqlite_master WHERE name = 'cog_proteins'") && cog.next());
                QVERIFY(SqlitePageDamage::zeroPage(damaged.filePath("cog.sqlite3"), cog.value(0).toInt()));
                QVERIFY(cog.exec("PRAGMA shrink_memory"));
            }
            GC_COGTblastn_dialog dialog;
            dialog.setGenome(genome);
            search(dialog);
            QVERIFY2(log(dialog).contains("Error: the reference collection cog.sqlite3 could not be read: the file "
                                          "is damaged") && log(dialog).contains("The genome keeps its earlier homologies."),
                     qPrintable(log(dialog)));
            QVERIFY(dialog.isVisible() && dialog.result() != int(QDialog::Accepted));
            dialog.reject();
            QVERIFY(m_fixture->open());
        }
        earlierHitsStay();
        QCOMPARE(watch.shown, QStringList());

        // Saved: the new hit replaces the earlier ones in memory and in the
        // file, with its values exactly as tblastn printed them.
        {
            GC_COGTblastn_dialog dialog;
            dialog.setGenome(genome);
            search(dialog);
            QVERIFY2(!logHasError(dialog), qPrintable(log(dialog)));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(genome->countCogMatchings(), 1);
        const GC_CogMatching *hit = genome->getCogHomologies()->matchings().first();
        QCOMPARE(hit->getStart(), 1);
        QCOMPARE(hit->getEvalue(), 1.27e-127);
        QCOMPARE(hit->getBitscore(), 48.1);
        QCOMPARE(cogRows(source), QStringList({"7|1|1|180|1.27e-127|48.1", "8|2|100|200|1e-30|80.5"}));
        QCOMPARE(genome->getDatabaseCogMatchingsCount(), 1);
        QCOMPARE(watch.shown, QStringList({"Removing current entries...|Abort|window-modal"}));
    }

    void searchesRunTheirCommandLines()
    {
        // Every program writes its name and arguments, one run a line.
        const QString runs = QDir::homePath() + "/runs.txt";
        for (const char *program : {"makeblastdb", "tblastn", "blastn"})
            settingsPath((QByteArray(program) + "path").constData(),
                         script(QString("recording-") + program,
                                "echo \"" + QByteArray(program) + " $*\" >> '" + runs.toUtf8() + "'\n"));
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(1000, 10));
        const QString output = " -outfmt 6 qseqid length sstart send evalue bitscore";
        auto commandsOf = [&](QDialog &dialog, const QString &noneFound) {
            QFile::remove(runs);
            child<QDoubleSpinBox>(dialog, "evalueSpin")->setValue(0.00001);
            const auto box = search(dialog, QMessageBox::Discard);
            [&] { QCOMPARE(box->text, noneFound); }();
            QFile file(runs);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                                  : QStringList();
        };
        const QString makeblastdb = "makeblastdb -in seq.fas -dbtype nucl -hash_index -out seq";

        GC_COGTblastn_dialog cog;
        cog.setGenome(genome);
        QCOMPARE(commandsOf(cog, "No COG homologies were found"),
                 QStringList({makeblastdb, "tblastn -db seq -query "
                                               + GC_ReferenceDatabases::filePath("cogprots80.fas")
                                               + " -evalue 1e-05" + output}));

        GC_RFAMBlastn_dialog rfam;
        rfam.setGenome(genome);
        QCOMPARE(commandsOf(rfam, "No RFAM homologies were found"),
                 QStringList({makeblastdb, "blastn -db seq -query "
                                               + GC_ReferenceDatabases::filePath("rfams.fas")
                                               + " -task megablast -evalue 1e-05" + output}));

        GC_RRNABlastn_dialog rrna;
        rrna.setGenome(genome);
        const QString options = " -query seq.fas -task dc-megablast -template_type optimal -template_length 21 "
                                "-max_target_seqs 10 -evalue 1e-05 -outfmt 6 sgi length qstart qend evalue bitscore";
        QCOMPARE(commandsOf(rrna, "No rRNA homologies were found"),
                 QStringList({"blastn -db LSU_106_silva_80" + options, "blastn -db SSU_106_silva_80" + options}));
    }

    void unusableWorkFolderFailsEverySearch()
    {
        // A regular file stands where the work folder belongs; the user's own
        // files beside it carry the work files' names.
        const QString work = GC_BlastWorkFolder().path();
        const QString aside = work + ".aside";
        QVERIFY(GC_BlastWorkFolder().ensure());
        QVERIFY(QDir().rename(work, aside));
        QVERIFY(TestData::writeFile(work, "not a folder"));
        const QString home = QDir::homePath();
        for (const char *name : {"seq.fas", "blastresult.txt", "seq.nsq"})
            QVERIFY(TestData::writeFile(home + "/" + name, "mine"));

        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, Fixture::filler(2000, 11));
        genome->getCogHomologies()->addCogMatching(100, 200, 5, "COG0086", "K", 1, 1e-5, 30.0);
        genome->getRfamHomologies()->addRfamMatching(300, 400, 1, "RF00001", 1e-9, 40.0);
        genome->getrRNAHomologies()->addrRNAMatching(500, 700, 101, 1, 1e-9, 50.0);
        QStringList logs;
        for (int family = 0; family < 3; ++family) {
            std::unique_ptr<QDialog> dialog =
                family == 0 ? searchDialog<GC_COGTblastn_dialog>(genome)
                : family == 1 ? searchDialog<GC_RFAMBlastn_dialog>(genome)
                              : searchDialog<GC_RRNABlastn_dialog>(genome);
            // rRNA cannot even copy its databases: its search is unavailable.
            if (family < 2)
                search(*dialog);
            logs << log(*dialog);
            dialog->reject();
        }

        const QByteArray workContent = contents(work);
        QFile::remove(work);
        QVERIFY(QDir().rename(aside, work));
        for (const QString &text : logs)
            QVERIFY2(text.contains("Error") && text.contains(work + " is not a folder"), qPrintable(text));
        QCOMPARE(workContent, QByteArray("not a folder"));
        for (const char *name : {"seq.fas", "blastresult.txt", "seq.nsq"})
            QCOMPARE(contents(home + "/" + name), QByteArray("mine"));
        QCOMPARE(genome->countCogMatchings() + genome->countRfamMatchings() + genome->countrRNAMatchings(), 3);
    }

    void sceneSlotShowsAndPlacesTheBarWhenAccepted()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = addGenome(scene, genomeWith(3000, {{401, Fixture::rrnaSequence(102)}}));
        scene.slotViewrRNAHomologies(false);
        scene.setModified(false);

        // Cancelled: nothing shown.
        genome->setSelected(true);
        answerDialog(false);
        scene.slotGenomeBlastnrRNA();
        QVERIFY(!genome->getShowrRNAHomologies());
        QVERIFY(!scene.showrRNAHomologies());

        genome->setSelected(true);
        answerDialog(true);
        scene.slotGenomeBlastnrRNA();
        QCOMPARE(genome->countrRNAMatchings(), 1);
        QVERIFY(genome->getShowrRNAHomologies());
        QVERIFY(scene.showrRNAHomologies());
        QVERIFY(genome->getrRNAHomologies()->isVisible());
        QVERIFY(scene.isModified());
        // The dialog was deleted.
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows)
            QVERIFY(!qobject_cast<GC_RRNABlastn_dialog *>(window));
    }

private:
    template <typename Dialog> static std::unique_ptr<QDialog> searchDialog(GC_Genome *genome)
    {
        auto dialog = std::make_unique<Dialog>();
        dialog->setGenome(genome);
        return dialog;
    }

    static void settingsPath(const char *key, const QString &path) { QSettings().setValue(key, path); }

    // Rows of a cog_matchings table: genome id, protein, start, end, E-value, bit score.
    struct CogRow
    {
        int genomeId, protein, start, end;
        double evalue, bitscore;
    };

    static bool writeCogRows(const QString &path, const QList<CogRow> &rows)
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "cog_rows");
            db.setDatabaseName(path);
            QSqlQuery query(db);
            ok = db.open() && query.exec(GC_CogMatching::createTableSql());
            for (const CogRow &row : rows) {
                ok = ok && query.prepare(GC_CogMatching::insertSql());
                query.addBindValue(row.protein);
                query.addBindValue(row.genomeId);
                query.addBindValue(row.start);
                query.addBindValue(row.end);
                query.addBindValue(row.evalue);
                query.addBindValue(row.bitscore);
                ok = ok && query.exec();
            }
        }
        QSqlDatabase::removeDatabase("cog_rows");
        return ok;
    }

    // "genomeId|protein|start|end|evalue|bitscore", values printed in full precision.
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QStringList cogRows(const QString &path)
    {
        QStringList rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "cog_rows");
            db.setDatabaseName(path);
            QSqlQuery query(db);
            if (db.open()
                && query.exec("SELECT genomeId, id_cog_protein, start, end, evalue, bitscore "
                              "FROM cog_matchings ORDER BY genomeId, start")) {
                while (query.next()) {
                    QStringList fields;
                    for (int i = 0; i < 4; ++i)
                        fields << query.value(i).toString();
                    fields << QString::number(query.value(4).toDouble(), 'g', QLocale::FloatingPointShortest)
                           << QString::number(query.value(5).toDouble(), 'g', QLocale::FloatingPointShortest);
                    rows << fields.join('|');
                }
            }
        }
        QSqlDatabase::removeDatabase("cog_rows");
        return rows;
    }

    // Answers the next search dialog: Search then Save, or Cancel.
    static void answerDialog(bool searchAndSave)
    {
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [clock, poll, searchAndSave] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && qobject_cast<QDialog *>(modal)) {
                auto *button = modal->findChild<QPushButton *>(searchAndSave ? "searchButton" : "cancelButton");
                if (searchAndSave)
                    answerBox(QMessageBox::Save);
                *poll = nullptr;
                if (button)
                    button->click();
                return;
            }
            if (clock->elapsed() < 60000)
                QTimer::singleShot(20, *poll);
        };
        QTimer::singleShot(0, *poll);
    }
};

KESTAL_TEST_MAIN(TestHomologySearch)
#include "tst_homologysearch.moc"
