#include "kestal_test.h"
#include "file_dialog_answerer.h"
#include "signal_wait.h"
#include "test_data.h"

#include "gc_fileopenwizard.h"
#include "gc_fileutils.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_threadopen.h"
#include "gc_waitdialog.h"
#include "kestal_main.h"
#include "modal_answerer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

// The main road end to end: two related Genbank files chosen in the open
// wizard, compared with the real BLAST+, loaded into a scene, saved as a
// canvas and opened again.
class TestRoad : public QObject
{
    Q_OBJECT

private:
    struct GeneRecord
    {
        int from; // from > to: reverse strand
        int to;
    };

    // What a genome is expected to show.
    struct Expected
    {
        QString name;
        int length = 0;
        QList<GeneRecord> genes;
    };

    // A stretch of the target found again in the query.
    struct Block
    {
        int targetStart, targetEnd;
        int queryStart, queryEnd;
        bool reversed;
    };

    QTemporaryDir *folder = nullptr;
    Expected target;
    Expected query;
    QList<Block> blocks;
    QString targetFile;
    QString queryFile;
    QByteArray targetDna;

    static QByteArray featureLines(const QList<GeneRecord> &genes)
    {
        QByteArray lines;
        int n = 0;
        for (const GeneRecord &gene : genes) {
            const QByteArray range = gene.from <= gene.to
                                         ? QByteArray::number(gene.from) + ".." + QByteArray::number(gene.to)
                                         : "complement(" + QByteArray::number(gene.to) + ".."
                                               + QByteArray::number(gene.from) + ")";
            lines += "     CDS             " + range + "\n";
            lines += "                     /locus_tag=\"T" + QByteArray::number(++n) + "\"\n";
            lines += "                     /product=\"protein " + QByteArray::number(n) + "\"\n";
        }
        return lines;
    }

    // Letters that differ, one by one, from the ones a perfect match would
    // continue with, so that no extension runs past a block's end.
    static QByteArray mismatching(const QByteArray &continuation)
    {
        static const QByteArray letters("acgt");
        QByteArray result;
        for (char c : continuation)
            result += letters.at((letters.indexOf(c) + 1) % 4);
        return result;
    }

    static bool sameGenes(const QList<GC_Gene *> &genes, const QList<GeneRecord> &expected)
    {
        if (genes.size() != expected.size())
            return false;
        QSet<QString> have;
        QSet<QString> want;
        for (const GC_Gene *gene : genes)
            have.insert(QString("%1-%2-%3").arg(gene->getCoords().start()).arg(gene->getCoords().end())
                            .arg(gene->isReverse()));
        for (const GeneRecord &gene : expected)
            want.insert(QString("%1-%2-%3").arg(qMin(gene.from, gene.to)).arg(qMax(gene.from, gene.to))
                            .arg(gene.from > gene.to));
        return have == want;
    }

    static GC_Genome *genomeNamed(GC_GenomeScene &scene, const QString &name)
    {
        for (GC_Genome *genome : scene.genomes()) {
            if (genome->getName() == name)
                return genome;
        }
        return nullptr;
    }

    // The matching joining exactly the block, ends paired the right way round.
    static GC_GenomeMatching *matchingOf(GC_GenomeScene &scene, const Block &block)
    {
        for (GC_GenomeMatching *m : scene.matchings()) {
            if (m->topCoords() != GC_Interval(block.targetStart, block.targetEnd)
                || m->lowCoords() != GC_Interval(block.queryStart, block.queryEnd))
                continue;
            if (m->isDirect() == block.reversed)
                continue;
            // Where the target block begins, the query block begins too, or
            // ends when it is reversed.
            const int queryAtTargetStart = m->topFrom() == block.targetStart ? m->lowFrom() : m->lowTo();
            if (queryAtTargetStart == (block.reversed ? block.queryEnd : block.queryStart))
                return m;
        }
        return nullptr;
    }

    // Everything a reader must give back, in a comparable form.
    static QStringList describe(GC_GenomeScene &scene)
    {
        QStringList lines;
        for (GC_Genome *genome : scene.topGenomes())
            lines << QString("top %1 %2..%3").arg(genome->getName()).arg(genome->getCoords().start())
                         .arg(genome->getCoords().end());
        for (GC_Genome *genome : scene.lowGenomes())
            lines << QString("low %1 %2..%3").arg(genome->getName()).arg(genome->getCoords().start())
                         .arg(genome->getCoords().end());
        for (GC_Genome *genome : scene.genomes()) {
            for (const GC_Gene *gene : genome->getGenes())
                lines << QString("gene %1 %2 %3..%4 %5").arg(genome->getName(), gene->getLocusTag())
                             .arg(gene->getCoords().start()).arg(gene->getCoords().end())
                             .arg(gene->getOrientation());
        }
        for (GC_GenomeMatching *m : scene.matchings())
            lines << QString("match %1 %2..%3 %4 %5..%6 %7").arg(m->topGenome()->getName())
                         .arg(m->topFrom()).arg(m->topTo()).arg(m->lowGenome()->getName())
                         .arg(m->lowFrom()).arg(m->lowTo()).arg(m->bitScore(), 0, 'f', 1);
        lines.sort();
        return lines;
    }

    // Hands the wizard's answers to the opening thread as the main window
    // does, and waits for it.
    static bool openWithThread(GC_GenomeScene &scene, const GC_FileOpenWizard &wizard, QString *error)
    {
        GC_ThreadOpen thread;
        thread.setScene(&scene);
        thread.setGenomeIndex(wizard.selectedGenomeIndex());
        thread.setFileName(wizard.fileName());
        thread.setInputFiles(wizard.inputFiles());
        thread.setGenbankRecords(wizard.genbankRecords());
        thread.setFastaSequences(wizard.fastaSequences());
        thread.setBlastOptions(wizard.blastOptions());
        thread.setPairs(wizard.pairs());
        thread.setFileType(wizard.result());
        QSignalSpy finished(&thread, &GC_ThreadOpen::openingFinished);
        thread.start();
        if (!thread.wait(120000)) {
            *error = "the opening thread did not end";
            return false;
        }
        *error = thread.lastErrorText();
        return finished.size() == 1 && finished.first().at(0).toBool();
    }

private slots:
    void initTestCase()
    {
        folder = new QTemporaryDir(QDir::tempPath() + "/road-XXXXXX");
        QVERIFY(folder->isValid());
        QSettings settings;
        settings.setValue("makeblastdbpath", QStandardPaths::findExecutable("makeblastdb"));
        settings.setValue("blastnpath", QStandardPaths::findExecutable("blastn"));

        // The query holds a stretch of the target as it is and another one
        // reverse-complemented, each between unrelated sequence.
        const QByteArray t = TestData::randomDna(4000, 61);
        targetDna = t;
        const QByteArray direct = t.mid(500, 1200);    // target 501..1700
        const QByteArray inverted = t.mid(2200, 1000); // target 2201..3200
        const QByteArray invertedCopy = TestData::reverseComplement(inverted);
        QByteArray q = TestData::randomDna(300, 62);
        q += mismatching(t.mid(497, 3));
        const int directStart = q.size() + 1;
        q += direct;
        q += mismatching(t.mid(1700, 3));
        q += TestData::randomDna(400, 63);
        // Beside the reversed copy a perfect match would go on with the
        // reverse complement of the target's neighbours.
        q += mismatching(TestData::reverseComplement(t.mid(3200, 3)));
        const int invertedStart = q.size() + 1;
        q += invertedCopy;
        q += mismatching(TestData::reverseComplement(t.mid(2197, 3)));
        q += TestData::randomDna(300, 64);

        blocks = {{501, 1700, directStart, directStart + 1199, false},
                  {2201, 3200, invertedStart, invertedStart + 999, true}};

        target = {"Alpha road phage", int(t.size()), {{601, 900}, {1500, 1201}, {3001, 3300}}};
        query = {"Beta road phage", int(q.size()), {{directStart + 100, directStart + 399}, {1200, 1101}}};
        targetFile = folder->filePath("alpha.gb");
        queryFile = folder->filePath("beta.gb");
        QVERIFY(TestData::writeFile(targetFile, TestData::genbankRecord(target.name, featureLines(target.genes), t)));
        QVERIFY(TestData::writeFile(queryFile, TestData::genbankRecord(query.name, featureLines(query.genes), q)));
    }

    void cleanupTestCase()
    {
        delete folder;
    }

    void genbankFilesToCanvasAndBack()
    {
        // The wizard: both files, the pair Alpha (target) / Beta (query), the default task.
        GC_FileOpenWizard wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        wizard.button(QWizard::NextButton)->click();
        FileDialogAnswerer::choose({queryFile, targetFile});
        wizard.findChild<QPushButton *>("buttonAddInputFiles")->click();
        wizard.button(QWizard::NextButton)->click();
        QCOMPARE(wizard.currentId(), 5);
        QCOMPARE(wizard.findChild<QComboBox *>("comboBoxTarget")->currentText(), target.name);
        QCOMPARE(wizard.findChild<QComboBox *>("comboBoxQuery")->currentText(), query.name);
        wizard.findChild<QPushButton *>("buttonAddPair")->click();
        wizard.button(QWizard::NextButton)->click();
        wizard.button(QWizard::FinishButton)->click();
        QCOMPARE(wizard.result(), FILETYPE_GENBANK_FASTA);
        QCOMPARE(wizard.blastOptions().task(), QString("dc-megablast"));

        // Compared and loaded.
        GC_GenomeScene scene;
        GC_GenomeView view;
        view.setScene(&scene);
        view.resize(1000, 600);
        view.show();
        QString error;
        QVERIFY2(openWithThread(scene, wizard, &error), qPrintable(error));
        scene.addItemsToScene();
        scene.slotViewAdjustToWidth();

        QCOMPARE(scene.topGenomes().size(), 1);
        QCOMPARE(scene.lowGenomes().size(), 1);
        GC_Genome *alpha = genomeNamed(scene, target.name);
        GC_Genome *beta = genomeNamed(scene, query.name);
        QVERIFY(alpha && beta);
        QCOMPARE(scene.topGenomes().first(), alpha); // targets above, queries below
        QCOMPARE(alpha->getCoords(), GC_Interval(1, target.length));
        QCOMPARE(beta->getCoords(), GC_Interval(1, query.length));
        QVERIFY(sameGenes(alpha->getGenes(), target.genes));
        QVERIFY(sameGenes(beta->getGenes(), query.genes));
        for (const Block &block : blocks) {
            GC_GenomeMatching *m = matchingOf(scene, block);
            QVERIFY2(m, qPrintable(QString("no matching %1..%2 / %3..%4; have:\n%5")
                                       .arg(block.targetStart).arg(block.targetEnd).arg(block.queryStart)
                                       .arg(block.queryEnd).arg(describe(scene).join('\n'))));
            QCOMPARE(m->topGenome(), alpha);
            QCOMPARE(m->lowGenome(), beta);
            QVERIFY(alpha->hasMatching(m));
            QVERIFY(beta->hasMatching(m));
            QVERIFY(m->bitScore() > 500);
            QCOMPARE(m->similarity(), 100.0);
        }
        const QStringList loaded = describe(scene);
        QFile::remove(folder->filePath("comparison.kcv"));
        QVERIFY(QFile::copy(alpha->getDatabase(), folder->filePath("comparison.kcv")));

        // Saved, then opened into a fresh scene.
        const QString canvas = folder->filePath("road.kcv");
        scene.setFileName(canvas);
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        QVERIFY(!scene.isModified());
        QCOMPARE(GC_FileUtils::filetype(canvas), FILETYPE_CANVAS);

        GC_GenomeScene reopened;
        QVERIFY2(reopened.loadKestalCanvas(canvas), qPrintable(reopened.lastErrorText()));
        reopened.addItemsToScene();
        QCOMPARE(reopened.fileName(), canvas);
        QCOMPARE(describe(reopened), loaded);
        for (const Block &block : blocks)
            QVERIFY(matchingOf(reopened, block));
    }

    // The same road as the user takes it: File > Open runs the wizard, the
    // opening thread compares behind the wait dialog, Save As writes the
    // canvas, and the canvas opens again in the window. Each file is read
    // once, when it is chosen: the comparison stores that reading, so a file
    // changed after the choice (here the query loses its genes) does not
    // change the comparison.
    void throughTheMainWindow()
    {
        const QString chosenTarget = folder->filePath("chosen-alpha.gb");
        const QString chosenQuery = folder->filePath("chosen-beta.gb");
        QVERIFY(QFile::copy(targetFile, chosenTarget));
        QVERIFY(QFile::copy(queryFile, chosenQuery));
        QFile queryRecord(queryFile);
        QVERIFY(queryRecord.open(QIODevice::ReadOnly));
        const QByteArray queryText = queryRecord.readAll();
        const QByteArray withoutGenes = queryText.left(queryText.indexOf("     CDS"))
                                        + queryText.mid(queryText.indexOf("ORIGIN"));
        Kestal_Main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        bool wizardDone = false;
        ModalAnswerer::handle([&](QWidget *modal) {
            auto *wizard = qobject_cast<GC_FileOpenWizard *>(modal);
            if (!wizard) {
                modal->close();
                return;
            }
            wizard->button(QWizard::NextButton)->click();
            FileDialogAnswerer::choose({chosenTarget, chosenQuery});
            wizard->findChild<QPushButton *>("buttonAddInputFiles")->click();
            wizard->button(QWizard::NextButton)->click();
            wizard->findChild<QPushButton *>("buttonAddPair")->click();
            wizard->button(QWizard::NextButton)->click();
            wizard->button(QWizard::FinishButton)->click();
            wizardDone = wizard->result() == FILETYPE_GENBANK_FASTA
                         && TestData::writeFile(chosenQuery, withoutGenes);
        });
        window.slotFileOpen();
        QVERIFY(wizardDone);
        auto *wait = window.findChild<GC_WaitDialog *>();
        QVERIFY(wait);
        QCOMPARE(wait->label(), QString("Executing BLAST, please wait..."));
        QVERIFY(waitForSignal(opened, 120000));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(0).toBool(), true);
        QVERIFY(window.isEnabled());

        GC_GenomeScene &scene = *window.genomeScene();
        GC_Genome *alpha = genomeNamed(scene, target.name);
        GC_Genome *beta = genomeNamed(scene, query.name);
        QVERIFY(alpha && beta);
        QCOMPARE(scene.genomes().size(), 2);
        QVERIFY(sameGenes(alpha->getGenes(), target.genes));
        QVERIFY(sameGenes(beta->getGenes(), query.genes));
        for (const Block &block : blocks)
            QVERIFY(matchingOf(scene, block));
        QVERIFY(alpha->scene() == &scene); // on the canvas, not only listed
        const QStringList loaded = describe(scene);

        const QString canvas = folder->filePath("window.kcv");
        QSignalSpy saved(&window, &Kestal_Main::saveFinished);
        FileDialogAnswerer::choose({canvas});
        QVERIFY(window.slotFileSaveAs());
        QVERIFY(waitForSignal(saved, 60000));
        QCOMPARE(saved.first().at(0).toBool(), true);
        QCOMPARE(GC_FileUtils::filetype(canvas), FILETYPE_CANVAS);

        QVERIFY(window.slotFileClose());
        QVERIFY(scene.genomes().isEmpty());
        opened.clear();
        window.openFile(canvas);
        QVERIFY(waitForSignal(opened, 60000));
        QCOMPARE(opened.first().at(0).toBool(), true);
        QCOMPARE(scene.fileName(), canvas);
        QCOMPARE(describe(scene), loaded);
        QVERIFY(window.close());
    }

    // A comparison database picked where a canvas is expected opens as the
    // comparison it is; read as a canvas it would be refused.
    void comparisonDatabaseChosenAsCanvasOpens()
    {
        const QString comparison = folder->filePath("comparison.kcv");
        QVERIFY(QFile::exists(comparison)); // left by the road above
        GC_FileOpenWizard wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        wizard.findChild<QRadioButton *>("radioKestalCanvas")->setChecked(true);
        wizard.button(QWizard::NextButton)->click();
        FileDialogAnswerer::choose({comparison});
        wizard.findChild<QPushButton *>("buttonBrowseInputFile")->click();
        wizard.button(QWizard::NextButton)->click();
        wizard.button(QWizard::FinishButton)->click();
        QCOMPARE(wizard.result(), FILETYPE_COMPARISON);

        GC_GenomeScene asCanvas;
        QVERIFY(!asCanvas.loadKestalCanvas(comparison) || asCanvas.genomes().isEmpty());

        GC_GenomeScene scene;
        QString error;
        QVERIFY2(openWithThread(scene, wizard, &error), qPrintable(error));
        scene.addItemsToScene();
        QVERIFY(genomeNamed(scene, target.name));
        QVERIFY(genomeNamed(scene, query.name));
        for (const Block &block : blocks)
            QVERIFY(matchingOf(scene, block));
    }

    // FASTA records reach the comparison once, as records, beside a Genbank
    // genome: one genome each, joined by their matching.
    void fastaRecordBesideGenbankComesOnce()
    {
        const QString fasta = folder->filePath("pieces.fasta");
        QVERIFY(TestData::writeFile(fasta, ">piece\n" + targetDna.mid(1000, 600) + "\n"));
        GC_FileOpenWizard wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        wizard.button(QWizard::NextButton)->click();
        FileDialogAnswerer::choose({targetFile, fasta});
        wizard.findChild<QPushButton *>("buttonAddInputFiles")->click();
        wizard.button(QWizard::NextButton)->click();
        QCOMPARE(wizard.findChild<QComboBox *>("comboBoxQuery")->currentText(), QString("piece"));
        wizard.findChild<QPushButton *>("buttonAddPair")->click();
        wizard.button(QWizard::NextButton)->click();
        wizard.button(QWizard::FinishButton)->click();
        QCOMPARE(wizard.result(), FILETYPE_GENBANK_FASTA);

        GC_GenomeScene scene;
        QString error;
        QVERIFY2(openWithThread(scene, wizard, &error), qPrintable(error));
        scene.addItemsToScene();
        QCOMPARE(scene.genomes().size(), 2);
        // The reader joins genomes of one name, so count them where they were built.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_road_count");
            db.setDatabaseName(scene.genomes().first()->getDatabase());
            QVERIFY(db.open());
            QSqlQuery count("SELECT COUNT(*) FROM genomes", db);
            QVERIFY(count.next());
            QCOMPARE(count.value(0).toInt(), 2);
            db.close();
        }
        QSqlDatabase::removeDatabase("tst_road_count");
        GC_Genome *piece = genomeNamed(scene, "piece");
        QVERIFY(piece);
        QCOMPARE(piece->getCoords(), GC_Interval(1, 600));
        QVERIFY(matchingOf(scene, {1001, 1600, 1, 600, false}));
    }
};

KESTAL_TEST_MAIN(TestRoad)
#include "tst_road.moc"
