#include "kestal_test.h"
#include "modal_answerer.h"
#include "test_data.h"

#include "gc_blastworkfolder.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_matchseqblastn_dialog.h"
#include "gc_sequencefilereader.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTextDocument>

#include <algorithm>
#include <memory>

// The match-sequence dialog driven as a user would, with the real
// makeblastdb and blastn (stand-in scripts only where a failure is needed).
//
// The target is 20 kb of random DNA; queries are built from pieces of it.
class TestMatchSeqDialog : public QObject
{
    Q_OBJECT

private:
    QByteArray m_target;
    QString m_makeblastdb;
    QString m_blastn;

    struct Run
    {
        QString boxText;
        int boxButtons = 0;
        // "title / text" of each box that said what the file leaves out.
        QStringList leftOut;
    };

    struct Hit
    {
        int topFrom, topTo, lowFrom, lowTo;
        bool operator<(const Hit &o) const
        {
            return std::tie(topFrom, topTo, lowFrom, lowTo)
                   < std::tie(o.topFrom, o.topTo, o.lowFrom, o.lowTo);
        }
        bool operator==(const Hit &o) const
        {
            return std::tie(topFrom, topTo, lowFrom, lowTo)
                   == std::tie(o.topFrom, o.topTo, o.lowFrom, o.lowTo);
        }
    };

    // 1-based inclusive piece of the target.
    QByteArray piece(int from, int to) const { return m_target.mid(from - 1, to - from + 1); }

    QString dataPath(const QString &name) const { return QDir::tempPath() + "/data/" + name; }

    QString writeQuery(const QString &name, const QByteArray &content)
    {
        const QString path = dataPath(name);
        if (!TestData::writeFile(path, content))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QString script(const QString &name, const QByteArray &body)
    {
        const QString path = QDir::tempPath() + "/bin/" + name;
        if (!TestData::writeFile(path, "#!/bin/sh\n" + body))
            qFatal("cannot write %s", qPrintable(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    GC_Genome *addTarget(GC_GenomeScene &scene)
    {
        auto *genome = new GC_Genome;
        genome->setName("target");
        genome->setDnaSequence(QString::fromLatin1(m_target));
        genome->setCoords(GC_Interval(1, int(m_target.size())));
        scene.insertLowGenome(genome);
        scene.addItemsToScene();
        return genome;
    }

    template <typename T> static T *child(QObject &dialog, const char *name)
    {
        T *widget = dialog.findChild<T *>(name);
        if (!widget)
            qFatal("no child %s", name);
        return widget;
    }

    static QString action(GC_MatchSeqBlastn_dialog &dialog)
    {
        return child<QLabel>(dialog, "actionLabel")->text();
    }

    // What the status line shows, laid out as the label lays out its text;
    // empty when the dialog at its size cuts any of it.
    static QString shownWhole(GC_MatchSeqBlastn_dialog &dialog)
    {
        const QLabel *label = child<QLabel>(dialog, "actionLabel");
        const bool whole = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                             : label->width() >= label->sizeHint().width();
        if (!whole || !dialog.rect().contains(label->geometry()))
            return QString();
        if (label->textFormat() == Qt::PlainText
            || (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text())))
            return label->text();
        QTextDocument document;
        document.setHtml(label->text());
        return document.toPlainText();
    }

    // Answers the boxes of a run: each one that says what the file leaves
    // out with OK, the closing one with the button.
    static void answerBoxes(std::shared_ptr<Run> run, std::shared_ptr<bool> waiting,
                            QMessageBox::StandardButton answer)
    {
        ModalAnswerer::handle([run, waiting, answer](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!*waiting || !box)
                return;
            if (box->buttons().size() == 1 && box->button(QMessageBox::Ok)) {
                run->leftOut.append(box->windowTitle() + " / " + box->text());
                box->button(QMessageBox::Ok)->click();
                answerBoxes(run, waiting, answer);
                return;
            }
            run->boxText = box->text();
            run->boxButtons = int(box->buttons().size());
            if (QAbstractButton *button = box->button(answer))
                button->click();
            else
                box->button(QMessageBox::Discard)->click();
        }, 120000);
    }

    // Clicks Search, answers the message boxes and waits until the dialog
    // closes or shows an error.
    static Run search(GC_MatchSeqBlastn_dialog &dialog,
                      QMessageBox::StandardButton answer = QMessageBox::Save)
    {
        auto run = std::make_shared<Run>();
        // An answerer left waiting by a run that showed no box must not take
        // a later test's box.
        auto waiting = std::make_shared<bool>(true);
        answerBoxes(run, waiting, answer);
        QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(dialog.isHidden() || action(dialog).contains("Error"), 120000);
        }();
        *waiting = false;
        return *run;
    }

    static QList<Hit> hitsOf(const GC_GenomeScene &scene)
    {
        QList<Hit> hits;
        for (GC_GenomeMatching *m : scene.matchings())
            hits << Hit{m->topFrom(), m->topTo(), m->lowFrom(), m->lowTo()};
        std::sort(hits.begin(), hits.end());
        return hits;
    }

    static bool near(int a, int b) { return qAbs(a - b) <= 3; }

private slots:
    void initTestCase()
    {
        m_target = TestData::randomDna(20000, 2026);
        m_makeblastdb = QStandardPaths::findExecutable("makeblastdb");
        m_blastn = QStandardPaths::findExecutable("blastn");
        if (m_makeblastdb.isEmpty() || m_blastn.isEmpty())
            QSKIP("BLAST+ is not installed");
    }

    void init()
    {
        QSettings settings;
        settings.setValue("makeblastdbpath", m_makeblastdb);
        settings.setValue("blastnpath", m_blastn);
    }

    void forwardAndReversedPiecesBecomeMatchings()
    {
        // Query: target 2001..4000 forward at 1..2000, unrelated spacer, then
        // target 10001..12000 reverse complemented at 2301..4300.
        const QByteArray query = piece(2001, 4000) + TestData::randomDna(300, 7)
                                 + TestData::reverseComplement(piece(10001, 12000));
        const QString path = writeQuery("query.gb", TestData::genbankRecord("query phage", "", query));

        // Someone else's file where the query's database used to be built.
        const QString planted = QDir::tempPath() + "/temp.kestal";
        QVERIFY(TestData::writeFile(planted, "someone else's"));

        GC_GenomeScene scene;
        GC_Genome *target = addTarget(scene);
        auto dialog = std::make_unique<GC_MatchSeqBlastn_dialog>();
        dialog->setScene(&scene);
        QCOMPARE(dialog->targetGenome(), target);
        dialog->setInputFile(path);
        dialog->show();
        const Run run = search(*dialog);

        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QFile plantedFile(planted);
        QVERIFY(plantedFile.open(QIODevice::ReadOnly));
        QCOMPARE(plantedFile.readAll(), QByteArray("someone else's"));
        // The program run's own work folder under "blasttemp".
        QCOMPARE(QFileInfo(dialog->workDir()).path(), QDir::homePath() + "/blasttemp");
        QCOMPARE(run.boxText, QString("The analysis found 2 candidate homology regions"));
        QCOMPARE(scene.genomes().size(), 2);
        QCOMPARE(scene.topGenomes().size(), 1);
        GC_Genome *added = scene.topGenomes().first();
        QCOMPARE(added->getCoords().length(), int(query.size()));
        QCOMPARE(added->getDnaSequence().toLower(), QString::fromLatin1(query));

        const QList<GC_GenomeMatching *> matchings = scene.matchings();
        QCOMPARE(matchings.size(), 2);
        for (GC_GenomeMatching *m : matchings) {
            QCOMPARE(m->topGenome(), added);
            QCOMPARE(m->lowGenome(), target);
            QVERIFY(m->similarity() > 99.0);
            QVERIFY(m->bitScore() > 1000.0);
        }
        const QList<Hit> hits = hitsOf(scene);
        // Forward: both ranges ascending.
        QVERIFY2(near(hits[0].topFrom, 1) && near(hits[0].topTo, 2000) && near(hits[0].lowFrom, 2001)
                     && near(hits[0].lowTo, 4000),
                 qPrintable(matchings[0]->toString()));
        // Reversed: the target range runs backwards, as blastn reports it.
        QVERIFY(near(hits[1].topFrom, 2301) && near(hits[1].topTo, 4300));
        QVERIFY(near(hits[1].lowFrom, 12000) && near(hits[1].lowTo, 10001));
        QVERIFY(hits[1].lowFrom > hits[1].lowTo);

        // The added genome reads from the search's own database for as long
        // as the document is open; closing it takes the database away.
        const QString database = added->getDatabase();
        QVERIFY(database != planted);
        QVERIFY(QFileInfo(QFileInfo(database).path()).fileName().startsWith("kestal-"));
        dialog.reset();
        QVERIFY(QFile::exists(database));
        scene.clearScene();
        QVERIFY(!QFileInfo::exists(QFileInfo(database).path()));
        QVERIFY(QFile::remove(planted));
    }

    // The query file is taken or refused as the open wizard takes or refuses
    // it, in the same words; what it leaves out is said (PATH stands for its
    // path). Taken files are compared by their first record, 1000 letters.
    void queryFileIsReadAsTheWizardReadsIt_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first FASTA record without letters")
            << "empty.fas" << TestData::corpusFile("emptyrecord.fas")
            << "refused: the FASTA record \"first\" holds no sequence letters";
        QTest::newRow("text before the first header")
            << "before.fas" << "query from the lab\n>x\n" + piece(5001, 6000)
            << "refused: line 1 comes before the first FASTA header";
        QTest::newRow("name used twice")
            << "twice.fas" << TestData::corpusFile("repeated.fas") << "refused: the FASTA record name \"same\" is used twice";
        QTest::newRow("two FASTA records")
            << "two.fas" << ">first piece\n" + piece(5001, 6000) + "\n>second piece\n" + piece(15001, 16000) + "\n"
            << "compared: first piece | 5001..6000 | Part of a file left out / Not all of the file is compared:\n\n"
               "PATH holds 2 records; only the first, \"first piece\", is compared";
        QByteArray nameless = TestData::genbankRecord("nameless", "", piece(5001, 6000));
        nameless.replace("DEFINITION  nameless\n", "");
        QTest::newRow("Genbank record without DEFINITION") << "nameless.gb" << nameless << "compared:  | 5001..6000 | ";
        QTest::newRow("two Genbank records, a feature across the origin")
            << "two.gb"
            << TestData::genbankRecord("query phage", "     CDS             900..100\n", piece(5001, 6000))
                   + TestData::genbankRecord("other phage", "", piece(15001, 16000))
            << "compared: query phage | 5001..6000 | Part of a file left out / Not all of the file is compared:\n\n"
               "PATH holds 2 records; only the first, \"query phage\", is read\n"
               "PATH: 1 feature skipped: it runs across the origin (900..100)";
        QTest::newRow("neither Genbank nor FASTA")
            << "words.txt" << QByteArray("just some words\n")
            << "refused: Unsupported input file format: PATH is neither a Genbank nor a FASTA file";
    }

    void queryFileIsReadAsTheWizardReadsIt()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString path = writeQuery(file, content);
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        if (expected.startsWith("refused: ")) {
            QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
            // Shown as written, whole, at the dialog's own size.
            QTRY_VERIFY2(shownWhole(dialog).contains(QString(expected).mid(9).replace("PATH", path)),
                         qPrintable(shownWhole(dialog) + " / " + action(dialog)));
            QVERIFY2(action(dialog).contains(expected.mid(9).replace("PATH", path).toHtmlEscaped()),
                     qPrintable(action(dialog)));
            // The words of the reader every other road asks.
            GC_SequenceFileReader reader(path);
            QVERIFY(!reader.read());
            QVERIFY2(action(dialog).contains(reader.errorText().toHtmlEscaped()), qPrintable(action(dialog)));
            QCOMPARE(scene.genomes().size(), 1);
            return;
        }
        const Run run = search(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(scene.topGenomes().size(), 1);
        QCOMPARE(scene.topGenomes().first()->getCoords().length(), 1000);
        const QList<Hit> hits = hitsOf(scene);
        QCOMPARE(hits.size(), 1);
        QVERIFY2(near(hits[0].lowFrom, 5001) && near(hits[0].lowTo, 6000), qPrintable(file));
        QCOMPARE(QString("compared: %1 | 5001..6000 | %2")
                     .arg(scene.topGenomes().first()->getName(), run.leftOut.join(" // ").replace(path, "PATH")),
                 expected);
    }

    void outputOverFourKilobytesIsImportedWhole()
    {
        // 500 pieces of 70 letters from all over the target: one hit each,
        // far more output than one 4 KB read.
        QByteArray query;
        for (int i = 0; i < 500; ++i) {
            const int from = 1 + (i * 7919) % 19900;
            query += piece(from, from + 69);
        }
        const QString path = writeQuery("many.fas", ">many\n" + query + "\n");
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        const Run run = search(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        // blastn run again by hand on the same work files.
        QProcess blastn;
        blastn.setWorkingDirectory(dialog.workDir());
        blastn.start(m_blastn, {"-db", "seq1", "-query", "seq2.fas", "-task", "dc-megablast",
                                "-evalue", "0.0001", "-outfmt",
                                "6 sstart send qstart qend pident bitscore"});
        QVERIFY(blastn.waitForFinished(120000));
        QCOMPARE(blastn.exitCode(), 0);
        const QByteArray printed = blastn.readAllStandardOutput();
        QVERIFY2(printed.size() > 3 * 4096, QByteArray::number(printed.size()));
        const QList<QByteArray> lines = printed.trimmed().split('\n');

        QFile result(dialog.resultPath());
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), printed);
        QCOMPARE(dialog.lineCount(), int(lines.size()));
        QCOMPARE(run.boxText,
                 QString("The analysis found %1 candidate homology regions").arg(lines.size()));
        QCOMPARE(scene.countMatchings(), int(lines.size()));

        QList<Hit> expected;
        for (const QByteArray &line : lines) {
            const QList<QByteArray> f = line.split('\t');
            expected << Hit{f[2].toInt(), f[3].toInt(), f[0].toInt(), f[1].toInt()};
        }
        std::sort(expected.begin(), expected.end());
        QCOMPARE(hitsOf(scene), expected);
    }

    void linesCutAcrossReadsAreCountedOnce()
    {
        // Output arriving in pieces: a line split between two writes, and a
        // last line without its line feed.
        QSettings().setValue("blastnpath",
                             script("choppyblastn",
                                    "printf '100\t200\t1\t101\t99.5\t180\n300\t2'\n"
                                    "sleep 0.3\n"
                                    "printf '00\t5\t105\t98.0\t170\n500\t600\t200\t300\t97\t150'\n"));
        const QString path = writeQuery("piece6.fas", ">piece\n" + piece(1, 800));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        const Run run = search(dialog);
        QCOMPARE(run.boxText, QString("The analysis found 3 candidate homology regions"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QList<Hit> hits = hitsOf(scene);
        QCOMPARE(hits, (QList<Hit>{{1, 101, 100, 200}, {5, 105, 300, 200}, {200, 300, 500, 600}}));
        float similarity = 0;
        for (GC_GenomeMatching *m : scene.matchings()) {
            if (m->lowFrom() == 300)
                similarity = float(m->similarity());
        }
        QCOMPARE(similarity, 98.0f);
    }

    void emptyOutputIsRejected()
    {
        const QString path = writeQuery("unrelated.fas", ">unrelated\n" + TestData::randomDna(3000, 555));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        const Run run = search(dialog);
        QCOMPARE(run.boxText, QString("No homology was found with the specified parameters"));
        QCOMPARE(run.boxButtons, 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isHidden());
        QCOMPARE(scene.genomes().size(), 1);
        QCOMPARE(scene.countMatchings(), 0);
        QCOMPARE(QFileInfo(dialog.resultPath()).size(), 0);
    }

    void discardLeavesTheSceneAlone()
    {
        const QString path = writeQuery("piece.fas", ">piece\n" + piece(7001, 8000));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        const Run run = search(dialog, QMessageBox::Discard);
        QCOMPARE(run.boxButtons, 2);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(scene.genomes().size(), 1);
        QCOMPARE(scene.countMatchings(), 0);
    }

    void secondRunAfterAFailureImportsOnlyItsOwnLines()
    {
        // A blastn that prints three hits and then fails.
        const QString failing = script("failingblastn",
                                       "printf '7777\\t7800\\t1\\t24\\t100.0\\t40\\n"
                                       "7777\\t7800\\t1\\t24\\t100.0\\t40\\n"
                                       "7777\\t7800\\t1\\t24\\t100.0\\t40\\n'\n"
                                       "echo 'database is broken' >&2\nexit 1\n");
        QSettings().setValue("blastnpath", failing);
        const QString path = writeQuery("pieces.fas", ">pieces\n" + piece(3001, 4000)
                                                          + TestData::reverseComplement(piece(16001, 17000)));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        search(dialog);
        QVERIFY(dialog.isVisible());
        QVERIFY2(action(dialog).contains("the process has failed (blastFinished())"),
                 qPrintable(action(dialog)));
        QVERIFY(action(dialog).contains("database is broken"));
        QVERIFY(!child<QPushButton>(dialog, "searchButton")->isEnabled());
        QCOMPARE(scene.genomes().size(), 1);
        QCOMPARE(scene.countMatchings(), 0);

        // The file is chosen again through the chooser; the real blastn runs.
        QSettings().setValue("blastnpath", m_blastn);
        ModalAnswerer::handle([path](QWidget *modal) {
            auto *chooser = qobject_cast<QFileDialog *>(modal);
            if (!chooser) {
                modal->close();
                return;
            }
            chooser->selectFile(path);
            static_cast<QDialog *>(chooser)->accept();
        });
        QTest::mouseClick(child<QPushButton>(dialog, "selectFileButton"), Qt::LeftButton);
        QTRY_VERIFY(child<QPushButton>(dialog, "searchButton")->isEnabled());
        QCOMPARE(child<QLineEdit>(dialog, "filenameInput")->text(), path);

        const Run run = search(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(run.boxText, QString("The analysis found 2 candidate homology regions"));
        const QList<Hit> hits = hitsOf(scene);
        QCOMPARE(hits.size(), 2);
        for (const Hit &hit : hits)
            QVERIFY(hit.lowFrom != 7777);
        QVERIFY(near(hits[0].lowFrom, 3001));
        QVERIFY(near(hits[1].lowFrom, 17000) && near(hits[1].lowTo, 16001));
    }

    void searchIsRefusedWithoutTargetOrSequence()
    {
        const QString path = writeQuery("refused.fas", ">piece\n" + piece(1, 500));
        QFile::remove(GC_BlastWorkFolder::runFolder() + "/seq1.fas");
        {
            GC_GenomeScene empty;
            GC_MatchSeqBlastn_dialog dialog;
            dialog.setScene(&empty);
            QCOMPARE(child<QComboBox>(dialog, "genomesCombo")->count(), 0);
            dialog.setInputFile(path);
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
            QVERIFY(action(dialog).contains("no target genome"));
            QVERIFY(dialog.isVisible());
            QVERIFY(empty.genomes().isEmpty());
            QVERIFY(!QFile::exists(dialog.workDir() + "/seq1.fas"));
        }
        {
            GC_GenomeScene scene;
            addTarget(scene);
            GC_MatchSeqBlastn_dialog dialog;
            dialog.setScene(&scene);
            dialog.setInputFile(QString());
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
            QVERIFY(action(dialog).contains("choose the file"));
            QVERIFY(!QFile::exists(dialog.workDir() + "/seq1.fas"));
            QCOMPARE(scene.genomes().size(), 1);
        }
        {
            // A FASTA header with no letters is no sequence either.
            const QString headerOnly = writeQuery("header.fas", ">nothing\n");
            GC_GenomeScene scene;
            addTarget(scene);
            GC_MatchSeqBlastn_dialog dialog;
            dialog.setScene(&scene);
            dialog.setInputFile(headerOnly);
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
            QVERIFY2(action(dialog).contains("Cannot get the sequence to BLAST"),
                     qPrintable(action(dialog)));
            QCOMPARE(scene.genomes().size(), 1);
        }
        {
            const QString other = writeQuery("notes.txt", "just some words\n");
            GC_GenomeScene scene;
            addTarget(scene);
            GC_MatchSeqBlastn_dialog dialog;
            dialog.setScene(&scene);
            dialog.setInputFile(other);
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
            QCOMPARE(action(dialog), "Unsupported input file format: " + other + " is neither a Genbank nor a FASTA file");
        }
    }

    void unwritableResultFileIsAnError()
    {
        const QString path = writeQuery("piece2.fas", ">piece\n" + piece(1, 800));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        QFile::remove(dialog.resultPath());
        QVERIFY(QDir().mkpath(dialog.resultPath()));
        dialog.setInputFile(path);
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
        const QString text = action(dialog);
        QDir(dialog.resultPath()).removeRecursively();
        QVERIFY2(text.contains("Unable to write to") && text.contains(dialog.resultPath()),
                 qPrintable(text));
        QCOMPARE(scene.genomes().size(), 1);
        QVERIFY(dialog.isVisible());
    }

    void taskListShowsTheTaskThatRuns()
    {
        const QString args = QDir::tempPath() + "/bin/args.txt";
        QSettings().setValue("blastnpath", script("silentblastn", "echo \"$@\" > " + args.toLocal8Bit() + "\n"));
        const QString path = writeQuery("piece3.fas", ">piece\n" + piece(1, 800));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        auto *tasks = child<QComboBox>(dialog, "blastCombobox");
        QCOMPARE(tasks->currentText(), QString("dc-megablast"));
        QCOMPARE(dialog.task(), QString("dc-megablast"));
        QCOMPARE(child<QLabel>(dialog, "blastLabel")->text(), QString("More dissimilar sequences"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        tasks->setFocus();
        QTest::keyClick(tasks, Qt::Key_Down);
        QCOMPARE(tasks->currentText(), QString("megablast"));
        QCOMPARE(dialog.task(), QString("megablast"));
        QCOMPARE(child<QLabel>(dialog, "blastLabel")->text(), QString("Highly similar sequences"));
        QTest::keyClick(tasks, Qt::Key_Home);
        QCOMPARE(dialog.task(), QString("blastn"));
        QCOMPARE(child<QLabel>(dialog, "blastLabel")->text(), QString("Somewhat similar sequences"));

        dialog.setInputFile(path);
        search(dialog);
        QFile file(args);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().trimmed(),
                 QByteArray("-db seq1 -query seq2.fas -task blastn -evalue 0.0001 -outfmt "
                            "6 sstart send qstart qend pident bitscore"));
    }

    void cancelStopsARunningSearch()
    {
        QSettings().setValue("blastnpath", script("slowblastn", "exec sleep 60\n"));
        const QString path = writeQuery("piece4.fas", ">piece\n" + piece(1, 800));
        GC_GenomeScene scene;
        addTarget(scene);
        GC_MatchSeqBlastn_dialog dialog;
        dialog.setScene(&scene);
        dialog.setInputFile(path);
        dialog.show();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(child<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
        QCOMPARE(action(dialog), QString("Executing BLAST"));
        QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QTRY_VERIFY_WITH_TIMEOUT(action(dialog).contains("the process has failed"), 10000);
        QVERIFY(clock.elapsed() < 30000);
        QCOMPARE(scene.genomes().size(), 1);
        QCOMPARE(scene.countMatchings(), 0);
    }

    void missingProgramIsReported()
    {
        QSettings().setValue("blastnpath", "/nowhere/blastn");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray("/nowhere"));
        GC_MatchSeqBlastn_dialog dialog;
        qputenv("PATH", path);
        QCOMPARE(action(dialog), QString("<b>Error:</b> the file: <br> /nowhere/blastn <br>does not exists."));
        QVERIFY(!child<QPushButton>(dialog, "searchButton")->isEnabled());
        QVERIFY(!child<QProgressBar>(dialog, "progressBar")->isEnabled());
    }

    void destructionRemovesTheWorkFiles()
    {
        const QString path = writeQuery("piece5.fas", ">piece\n" + piece(9001, 9600));
        GC_GenomeScene scene;
        addTarget(scene);
        QString workDir;
        {
            GC_MatchSeqBlastn_dialog dialog;
            workDir = dialog.workDir();
            // A user's file that only looks like a database file stays.
            QVERIFY(TestData::writeFile(workDir + "/seq1.notes", "mine"));
            dialog.setScene(&scene);
            dialog.setInputFile(path);
            dialog.show();
            search(dialog);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(QFile::exists(workDir + "/seq1.fas"));
            QVERIFY(!QDir(workDir).entryList({"seq1.n*"}).isEmpty());
        }
        QVERIFY(!QFile::exists(workDir + "/seq1.fas"));
        QVERIFY(!QFile::exists(workDir + "/seq2.fas"));
        QCOMPARE(QDir(workDir).entryList({"seq1.n*"}), QStringList({"seq1.notes"}));
        QVERIFY(QFile::exists(workDir + "/blastresult.txt"));
    }

    void unusableWorkFolderFailsTheRun()
    {
        // A regular file where the work folder belongs; the user's files
        // beside it carry the work files' names.
        const QString path = writeQuery("piece6.fas", ">piece\n" + piece(1, 800));
        GC_GenomeScene scene;
        addTarget(scene);
        auto dialog = std::make_unique<GC_MatchSeqBlastn_dialog>();
        const QString work = dialog->workDir();
        const QString aside = work + ".aside";
        QVERIFY(QDir().rename(work, aside));
        QVERIFY(TestData::writeFile(work, "not a folder"));
        const QString home = QDir::homePath();
        for (const char *name : {"seq1.fas", "seq2.fas", "seq1.nsq", "blastresult.txt"})
            QVERIFY(TestData::writeFile(home + "/" + name, "mine"));

        dialog->setScene(&scene);
        dialog->setInputFile(path);
        dialog->show();
        QTest::mouseClick(child<QPushButton>(*dialog, "searchButton"), Qt::LeftButton);
        const QString text = action(*dialog);
        dialog.reset();

        QFile file(work);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        file.close();
        QVERIFY(QFile::remove(work));
        QVERIFY(QDir().rename(aside, work));
        QVERIFY2(text.contains("Error") && text.contains(work + " is not a folder"), qPrintable(text));
        QCOMPARE(content, QByteArray("not a folder"));
        for (const char *name : {"seq1.fas", "seq2.fas", "seq1.nsq", "blastresult.txt"}) {
            QFile mine(home + "/" + name);
            QVERIFY(mine.open(QIODevice::ReadOnly));
            QCOMPARE(mine.readAll(), QByteArray("mine"));
        }
        QCOMPARE(scene.genomes().size(), 1);
    }
};

KESTAL_TEST_MAIN(TestMatchSeqDialog)
#include "tst_matchseqdialog.moc"
