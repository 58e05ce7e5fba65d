#include "kestal_test.h"
#include "modal_answerer.h"
#include "reference_database_fixture.h"
#include "sqlite_file_lock.h"
#include "sqlite_page_damage.h"

#include "gc_cogdialog.h"
#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_cogshowmatchings_dialog.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_referencedatabases.h"
#include "gc_rfamdialog.h"
#include "gc_rfamhomologies.h"
#include "gc_rfammatching.h"
#include "gc_rfamshowmatchings_dialog.h"
#include "gc_rrnadialog.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnamatching.h"
#include "gc_rrnashowmatchings_dialog.h"
#include "gc_sqlconnection.h"

#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <memory>

namespace {

GC_Genome *makeGenome(const QString &name, int length)
{
    auto *genome = new GC_Genome;
    genome->setName(name);
    genome->setCoords(GC_Interval(1, length));
    genome->setPixPerNuc(1.0);
    return genome;
}

struct StoredHit
{
    int referenceId;
    int genomeId;
    int start;
    int end;
    double evalue;
    double bitscore;
};

// A canvas-like file holding the three hit tables with the given rows.
bool writeStoredHits(const QString &path, const QList<StoredHit> &cog,
                     const QList<StoredHit> &rfam, const QList<StoredHit> &rrna)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "stored_hits_writer");
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        const QList<QPair<QString, QString>> tables = {
            { GC_CogMatching::createTableSql(), GC_CogMatching::insertSql() },
            { GC_RfamMatching::createTableSql(), GC_RfamMatching::insertSql() },
            { GC_rRNAMatching::createTableSql(), GC_rRNAMatching::insertSql() },
        };
        const QList<QList<StoredHit>> rows = { cog, rfam, rrna };
        for (int t = 0; ok && t < tables.size(); ++t) {
            ok = query.exec(tables[t].first) && query.prepare(tables[t].second);
            for (const StoredHit &hit : rows[t]) {
                for (const QVariant &value : { QVariant(hit.referenceId), QVariant(hit.genomeId),
                                               QVariant(hit.start), QVariant(hit.end),
                                               QVariant(hit.evalue), QVariant(hit.bitscore) })
                    query.addBindValue(value);
                ok = ok && query.exec();
            }
        }
    }
    QSqlDatabase::removeDatabase("stored_hits_writer");
    return ok;
}

// Makes the file the genome's source, under the genome's own id as its key
// (as a genome read from a canvas has it), and counts its stored rows.
void attachSource(GC_Genome *genome, const QString &path)
{
    genome->setDatabase(path);
    genome->setDatabaseId(genome->getId());
    genome->countDatabaseCogMatchings();
    genome->countDatabaseRfamMatchings();
    genome->countDatabaserRNAMatchings();
}

template <typename Widget>
Widget *child(QWidget *dialog, const char *name)
{
    auto *widget = dialog->findChild<Widget *>(QString::fromLatin1(name));
    if (!widget)
        qWarning("no child %s", name);
    return widget;
}

QStringList comboTexts(QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QPushButton *okButton(QWidget *dialog)
{
    return child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
}

// A canvas's cog_matchings rows by start: "protein|start|evalue|bitscore".
QStringList cogRowsOf(const QString &path)
{
    GC_SqlConnection file("cog_rows_of", path, GC_SqlConnection::ReadOnly);
    QSqlQuery query(file.database());
    QStringList rows;
    query.exec("SELECT id_cog_protein || '|' || start || '|' || evalue || '|' || bitscore FROM cog_matchings "
               "ORDER BY start");
    while (query.next())
        rows << query.value(0).toString();
    return rows;
}

const QStringList displayChoices = { "Display them now", "Remove and Search again" };
const QStringList searchChoice = { "Search now" };

} // namespace

class TestHomologyDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // Per-genome dialogs.
    void genomesListedTopRowFirst();
    void choosingAnotherGenomeReplacesTheActions();
    void okReturnsTheChoice();
    void emptyOrMissingSceneGivesNoAnswer();
    void eachFamilyReadsItsOwnCounts();
    void storedCountsWhenNothingIsHeld();

    // Stored-hit show dialogs.
    void yesLoadsTheGenomesStoredCogRows();
    void eachFamilyFillsOnlyItsOwnBar();
    void missingSourceFileKeepsTheDialogOpen();
    void unreadableTableIsNotALoad();
    void sourceFailingPartwayLoadsNothing();
    void sceneShowsTheBarAfterLoading();
    void sceneLeavesTheBarHiddenWhenDeclined();
    void displayAnswerLoadsOnlyWhenRowsAreStored();

private:
    std::unique_ptr<ReferenceDatabaseFixture> references;
    QTemporaryDir dir;
};

void TestHomologyDialogs::initTestCase()
{
    references = std::make_unique<ReferenceDatabaseFixture>();
    QVERIFY2(references->build(), qPrintable(references->errorString()));
    QVERIFY(references->open());
    QVERIFY(dir.isValid());
}

// ---------------------------------------------------------------- per-genome dialogs

void TestHomologyDialogs::genomesListedTopRowFirst()
{
    GC_GenomeScene scene;
    GC_Genome *low = makeGenome("low genome", 1000);
    GC_Genome *top = makeGenome("top genome", 1000);
    scene.insertLowGenome(low);
    scene.insertTopGenome(top);
    scene.addItemsToScene();

    GC_CogDialog dialog;
    QCOMPARE(child<QLabel>(&dialog, "statusLabel")->text(), QString("TextLabel"));
    dialog.setGenomeScene(&scene);

    auto *genomes = child<QComboBox>(&dialog, "genomesCombo");
    QCOMPARE(comboTexts(genomes), QStringList({ "top genome", "low genome" }));
    QCOMPARE(dialog.selectedGenome(), top);
    QCOMPARE(child<QLabel>(&dialog, "statusLabel")->text(),
             QString("0 putative COG homologies present"));
    QCOMPARE(comboTexts(child<QComboBox>(&dialog, "actionsCombo")), searchChoice);
    QCOMPARE(dialog.action(), QString("SEARCH"));
    QVERIFY(okButton(&dialog)->isEnabled());
}

void TestHomologyDialogs::choosingAnotherGenomeReplacesTheActions()
{
    GC_GenomeScene scene;
    GC_Genome *first = makeGenome("first", 2000);
    GC_Genome *second = makeGenome("second", 2000);
    scene.insertTopGenome(first);
    scene.insertTopGenome(second);
    scene.addItemsToScene();
    QVERIFY(first->getCogHomologies()->addCogMatching(100, 300, 3, "COG0012", "J", 1, 1e-20, 80.0f));

    GC_CogDialog dialog;
    dialog.setGenomeScene(&scene);
    auto *genomes = child<QComboBox>(&dialog, "genomesCombo");
    auto *actions = child<QComboBox>(&dialog, "actionsCombo");
    auto *status = child<QLabel>(&dialog, "statusLabel");

    // Back and forth with the keyboard, as a user would: the list never grows.
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(genomes, Qt::Key_Down);
        QCOMPARE(dialog.selectedGenome(), second);
        QCOMPARE(status->text(), QString("0 putative COG homologies present"));
        QCOMPARE(comboTexts(actions), searchChoice);
        QCOMPARE(dialog.action(), QString("SEARCH"));

        QTest::keyClick(genomes, Qt::Key_Up);
        QCOMPARE(dialog.selectedGenome(), first);
        QCOMPARE(status->text(), QString("1 putative COG homologies present"));
        QCOMPARE(comboTexts(actions), displayChoices);
        QCOMPARE(dialog.action(), QString("DISPLAY"));
    }
    QTest::keyClick(actions, Qt::Key_Down);
    QCOMPARE(actions->currentText(), QString("Remove and Search again"));
    QCOMPARE(dialog.action(), QString("SEARCH"));
    // Choosing an answer neither removes nor searches anything.
    QCOMPARE(first->countCogMatchings(), 1);
}

void TestHomologyDialogs::okReturnsTheChoice()
{
    GC_GenomeScene scene;
    GC_Genome *top = makeGenome("top", 1000);
    GC_Genome *low = makeGenome("low", 1000);
    scene.insertTopGenome(top);
    scene.insertLowGenome(low);
    scene.addItemsToScene();

    GC_RfamDialog dialog;
    dialog.setGenomeScene(&scene);
    QTest::keyClick(child<QComboBox>(&dialog, "genomesCombo"), Qt::Key_Down);
    ModalAnswerer::clickButton(QMessageBox::Ok);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedGenome(), low);
    QCOMPARE(dialog.action(), QString("SEARCH"));

    GC_RfamDialog cancelled;
    cancelled.setGenomeScene(&scene);
    ModalAnswerer::clickButton(QMessageBox::Cancel);
    QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
}

void TestHomologyDialogs::emptyOrMissingSceneGivesNoAnswer()
{
    GC_GenomeScene empty;
    GC_RRNADialog dialog;
    QTest::ignoreMessage(QtDebugMsg, "GC_RRNADialog::setGenomeScene(): genome list is empty");
    dialog.setGenomeScene(&empty);
    QCOMPARE(child<QComboBox>(&dialog, "genomesCombo")->count(), 0);
    QCOMPARE(child<QComboBox>(&dialog, "actionsCombo")->count(), 0);
    QCOMPARE(child<QLabel>(&dialog, "statusLabel")->text(), QString("TextLabel"));
    QCOMPARE(dialog.selectedGenome(), nullptr);
    QVERIFY(dialog.action().isEmpty());
    // Nothing to answer: OK cannot accept a dialog without a genome.
    QVERIFY(!okButton(&dialog)->isEnabled());

    GC_CogDialog noScene;
    QTest::ignoreMessage(QtDebugMsg, "GC_CogDialog::setGenomeScene(): GenomeScene is NULL");
    noScene.setGenomeScene(nullptr);
    QCOMPARE(noScene.selectedGenome(), nullptr);
    QVERIFY(noScene.action().isEmpty());
    QVERIFY(!okButton(&noScene)->isEnabled());
}

void TestHomologyDialogs::eachFamilyReadsItsOwnCounts()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    for (int i = 0; i < 2; ++i)
        QVERIFY(genome->getRfamHomologies()->addRfamMatching(100 + 500 * i, 200 + 500 * i, 1,
                                                             "RF00001", 1e-10, 50.0f));
    for (int i = 0; i < 4; ++i)
        QVERIFY(genome->getrRNAHomologies()->addrRNAMatching(100 + 500 * i, 200 + 500 * i, 101, 1,
                                                             1e-10, 50.0f));

    GC_CogDialog cog;
    cog.setGenomeScene(&scene);
    QCOMPARE(child<QLabel>(&cog, "statusLabel")->text(),
             QString("0 putative COG homologies present"));
    GC_RfamDialog rfam;
    rfam.setGenomeScene(&scene);
    QCOMPARE(child<QLabel>(&rfam, "statusLabel")->text(),
             QString("2 putative RFAM homologies present"));
    QCOMPARE(rfam.action(), QString("DISPLAY"));
    GC_RRNADialog rrna;
    rrna.setGenomeScene(&scene);
    QCOMPARE(child<QLabel>(&rrna, "statusLabel")->text(),
             QString("4 putative rRNA homologies present"));
    QCOMPARE(rrna.windowTitle(), QString("Dialog"));
    QCOMPARE(cog.windowTitle(), QString("COG analysis"));
}

void TestHomologyDialogs::storedCountsWhenNothingIsHeld()
{
    GC_GenomeScene scene;
    GC_Genome *stored = makeGenome("stored", 9000);
    GC_Genome *both = makeGenome("both", 9000);
    GC_Genome *unreadable = makeGenome("unreadable", 9000);
    scene.insertTopGenome(stored);
    scene.insertTopGenome(both);
    scene.insertTopGenome(unreadable);
    scene.addItemsToScene();

    const QString path = dir.filePath("counts.kestal");
    QList<StoredHit> cog;
    for (int i = 0; i < 10; ++i) {
        cog.append({ 3, stored->getId(), 101 + 400 * i, 340 + 400 * i, 1e-5, 10.0 });
        cog.append({ 3, both->getId(), 101 + 400 * i, 340 + 400 * i, 1e-5, 10.0 });
    }
    QVERIFY(writeStoredHits(path, cog, {}, {}));
    attachSource(stored, path);
    attachSource(both, path);
    attachSource(unreadable, dir.filePath("no-such-file.kestal"));
    QCOMPARE(unreadable->getDatabaseCogMatchingsCount(), -1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(both->getCogHomologies()->addCogMatching(100 + 300 * i, 300 + 300 * i, 3,
                                                         "COG0012", "J", 1, 1e-20, 80.0f));

    GC_CogDialog dialog;
    dialog.setGenomeScene(&scene);
    auto *genomes = child<QComboBox>(&dialog, "genomesCombo");
    auto *status = child<QLabel>(&dialog, "statusLabel");
    auto *actions = child<QComboBox>(&dialog, "actionsCombo");
    QCOMPARE(status->text(), QString("10 putative COG homologies present"));
    QCOMPARE(comboTexts(actions), displayChoices);
    QCOMPARE(dialog.action(), QString("DISPLAY"));

    // Hits held in memory win over a larger stored count.
    QTest::keyClick(genomes, Qt::Key_Down);
    QCOMPARE(status->text(), QString("3 putative COG homologies present"));
    QCOMPARE(dialog.action(), QString("DISPLAY"));

    QTest::keyClick(genomes, Qt::Key_Down);
    QCOMPARE(status->text(), QString("-1 putative COG homologies present"));
    QCOMPARE(comboTexts(actions), searchChoice);
    QCOMPARE(dialog.action(), QString("SEARCH"));
}

// ---------------------------------------------------------------- show dialogs

void TestHomologyDialogs::yesLoadsTheGenomesStoredCogRows()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();

    // The rows are filed under the genome's key in its source file.
    const int key = 42;
    const QString path = dir.filePath("cog.kestal");
    QList<StoredHit> cog;
    for (int i = 0; i < 4; ++i)
        cog.append({ 1 + i, key, 101 + 400 * i, 340 + 400 * i, i == 0 ? 1e-300 : 1e-30, 48.1 });
    // Spans six times the protein's 80 amino acids: the bar refuses it.
    cog.append({ 3, key, 3001, 3500, 1e-30, 99.0 });
    cog.append({ 3, key + 1, 101, 340, 1e-30, 99.0 });
    QVERIFY(writeStoredHits(path, cog, {}, {}));
    genome->setDatabase(path);
    genome->setDatabaseId(key);
    QCOMPARE(genome->countDatabaseCogMatchings(), 5);

    GC_CogShowMatchings_dialog dialog;
    dialog.setGenome(genome);
    dialog.setScene(&scene);
    const QString asked = child<QTextBrowser>(&dialog, "textBrowser")->toPlainText();
    QVERIFY(asked.contains("5 COG homologies have been found"));
    QVERIFY(asked.contains("Do you want to load these COG homologies?"));
    // The refused row is not left out in silence.
    QString leftOut;
    ModalAnswerer::clickButtonTextThen("Yes", [&leftOut](QWidget *box) {
        leftOut = qobject_cast<QMessageBox *>(box) ? qobject_cast<QMessageBox *>(box)->text() : QString();
        box->close();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(leftOut, QString("1 of the 5 stored COG homologies are not shown: their reference sequences "
                              "are not in the reference collection cog.sqlite3, or the hits are far longer "
                              "than their references. They stay in the canvas."));

    QCOMPARE(genome->countCogMatchings(), 4);
    QCOMPARE(genome->getRfamHomologies()->matchings().size(), 0);
    QSet<int> starts;
    for (const GC_CogMatching *hit : genome->getCogHomologies()->matchings())
        starts.insert(hit->getStart());
    QCOMPARE(starts, QSet<int>({ 101, 501, 901, 1301 }));
    // Kept exactly as stored, far below a float's range too.
    const GC_CogMatching *first = genome->getCogHomologies()->matchings().first();
    QVERIFY(first->getEvalue() == 1e-300);
    QCOMPARE(first->getBitscore(), 48.1);
    // Progress counts the rows handed over before the current one.
    QCOMPARE(child<QLabel>(&dialog, "labelAdvance")->text(), QString("4/5"));
    QCOMPARE(child<QProgressBar>(&dialog, "progressBar")->value(), 80);
    QVERIFY(!child<QPushButton>(&dialog, "searchButton")->isEnabled());
    // The dialog changes neither the stored count nor the show flag.
    QCOMPARE(genome->getDatabaseCogMatchingsCount(), 5);
    QVERIFY(!genome->getShowCogHomologies());

    // The per-genome dialog now reports the hits held.
    GC_CogDialog choice;
    choice.setGenomeScene(&scene);
    QCOMPARE(child<QLabel>(&choice, "statusLabel")->text(),
             QString("4 putative COG homologies present"));
    QCOMPARE(choice.action(), QString("DISPLAY"));

    // Saved as another canvas, then in place: the refused row too, as read.
    // A bar emptied for new hits takes it along.
    const QString saved = dir.filePath("cog_saved.kcv");
    scene.setFileName(saved);
    for (int save = 0; save < 2; ++save) {
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        QCOMPARE(cogRowsOf(saved), QStringList({ "1|101|1.0e-300|48.1", "2|501|1.0e-30|48.1", "3|901|1.0e-30|48.1",
                                                 "4|1301|1.0e-30|48.1", "3|3001|1.0e-30|99.0" }));
    }
    genome->getCogHomologies()->clearMatchings();
    genome->getCogHomologies()->addCogMatching(2001, 2240, 5, "COG0086", "K", 1, 1e-9, 30.5);
    QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
    QCOMPARE(cogRowsOf(saved), QStringList({ "5|2001|1.0e-09|30.5" }));

    // A genome sharing the key with others (older canvases) loads only the
    // rows dealt to it.
    GC_GenomeScene other;
    GC_Genome *sharing = makeGenome("sharing", 5000);
    other.insertTopGenome(sharing);
    other.addItemsToScene();
    sharing->setDatabase(path);
    sharing->setDatabaseId(key);
    GC_GenomeSource::Share share;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_share");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery rowIds("SELECT rowid FROM cog_matchings WHERE start IN (501, 1301)", db);
        while (rowIds.next())
            share.insert(rowIds.value(0).toLongLong());
    }
    QSqlDatabase::removeDatabase("tst_share");
    QCOMPARE(share.size(), 2);
    sharing->storedHits().setShare(GC_GenomeSource::Cog, share);
    QCOMPARE(sharing->getDatabaseCogMatchingsCount(), 2);
    GC_CogShowMatchings_dialog shared;
    shared.setGenome(sharing);
    shared.setScene(&other);
    QVERIFY(child<QTextBrowser>(&shared, "textBrowser")->toPlainText()
                .contains("2 COG homologies have been found"));
    ModalAnswerer::clickButtonText("Yes");
    QCOMPARE(shared.exec(), int(QDialog::Accepted));
    QSet<int> sharedStarts;
    for (const GC_CogMatching *hit : sharing->getCogHomologies()->matchings())
        sharedStarts.insert(hit->getStart());
    QCOMPARE(sharedStarts, QSet<int>({ 501, 1301 }));
}

void TestHomologyDialogs::eachFamilyFillsOnlyItsOwnBar()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    const QString path = dir.filePath("families.kestal");
    const int id = genome->getId();
    QVERIFY(writeStoredHits(path, { { 3, id, 101, 340, 1e-5, 10.0 } },
                            { { 1, id, 100, 180, 1e-5, 10.0 }, { 2, id, 1000, 1070, 1e-5, 10.0 } },
                            { { 101, id, 200, 400, 1e-5, 10.0 }, { 201, id, 1200, 1400, 1e-5, 10.0 },
                              { 102, id, 2200, 2400, 1e-5, 10.0 } }));
    attachSource(genome, path);

    GC_RfamShowMatchings_dialog rfam;
    rfam.setGenome(genome);
    rfam.setScene(&scene);
    QCOMPARE(child<QLabel>(&rfam, "label")->text(), QString("Load pre-computed RFAM homologies"));
    QVERIFY(child<QTextBrowser>(&rfam, "textBrowser")->toPlainText().contains("RFAM homologies have been found"));
    ModalAnswerer::clickButtonText("Yes");
    QCOMPARE(rfam.exec(), int(QDialog::Accepted));
    QCOMPARE(genome->countRfamMatchings(), 2);
    QCOMPARE(genome->countCogMatchings(), 0);
    QCOMPARE(genome->countrRNAMatchings(), 0);

    GC_rRNAShowMatchings_dialog rrna;
    rrna.setGenome(genome);
    rrna.setGenomeScene(&scene);
    QCOMPARE(rrna.scene(), &scene);
    QVERIFY(child<QTextBrowser>(&rrna, "textBrowser")->toPlainText().contains("rRNA homologies have been found"));
    ModalAnswerer::clickButtonText("Yes");
    QCOMPARE(rrna.exec(), int(QDialog::Accepted));
    QCOMPARE(genome->countrRNAMatchings(), 3);
    QCOMPARE(genome->countRfamMatchings(), 2);
    QCOMPARE(genome->countCogMatchings(), 0);
}

void TestHomologyDialogs::missingSourceFileKeepsTheDialogOpen()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    const QString path = dir.filePath("gone.kestal");
    attachSource(genome, path);

    GC_CogShowMatchings_dialog dialog;
    dialog.setGenome(genome);
    auto *yes = child<QPushButton>(&dialog, "searchButton");
    ModalAnswerer::handle([&](QWidget *) {
        yes->click();
        // Still open, showing why, with only "No" left.
        QVERIFY(dialog.isVisible());
        QCOMPARE(child<QTextBrowser>(&dialog, "textBrowser")->toPlainText(),
                 QString("Database %1 does not exists").arg(path));
        QVERIFY(!yes->isEnabled());
        QCOMPARE(child<QLabel>(&dialog, "labelAdvance")->text(),
                 QString("Loading COG homologies from database"));
        child<QPushButton>(&dialog, "cancelButton")->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(genome->countCogMatchings(), 0);
    // Asking must not have created the file.
    QVERIFY(!QFile::exists(path));
}

void TestHomologyDialogs::unreadableTableIsNotALoad()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    // An SQLite file without the hit tables.
    const QString path = dir.filePath("notables.kestal");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "notables");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("CREATE TABLE genomes (id INTEGER)"));
    }
    QSqlDatabase::removeDatabase("notables");
    attachSource(genome, path);

    GC_rRNAShowMatchings_dialog dialog;
    dialog.setGenome(genome);
    ModalAnswerer::handle([&](QWidget *) {
        child<QPushButton>(&dialog, "searchButton")->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(child<QTextBrowser>(&dialog, "textBrowser")->toPlainText().startsWith("Error:"));
        child<QPushButton>(&dialog, "cancelButton")->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));

    // A source another program holds locked is said to be in use.
    const QString held = dir.filePath("held.kestal");
    QVERIFY(writeStoredHits(held, {}, {}, {{1, genome->getId(), 101, 340, 1e-5, 10.0}}));
    attachSource(genome, held);
    SqliteFileLock lock(held);
    QVERIFY(lock.isHeld());
    GC_rRNAShowMatchings_dialog locked;
    locked.setGenome(genome);
    QString text;
    ModalAnswerer::handle([&](QWidget *) {
        child<QPushButton>(&locked, "searchButton")->click();
        text = child<QTextBrowser>(&locked, "textBrowser")->toPlainText();
        child<QPushButton>(&locked, "cancelButton")->click();
    });
    QCOMPARE(locked.exec(), int(QDialog::Rejected));
    QVERIFY2(text.contains("could not be read: the file is in use by another program"), qPrintable(text));

}

void TestHomologyDialogs::sourceFailingPartwayLoadsNothing()
{
    // A canvas whose first genome holds 20,000 stored COG hits.
    const QString path = dir.filePath("failing.kcv");
    QVERIFY(QFile::copy(kestalTestDataPath("../../examples/phages.kcv"), path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "many_hits");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 19999) "
            "INSERT INTO cog_matchings SELECT 1 + i % 5, 0, 1 + i * 3 % 68000, 100 + i * 3 % 68000, "
            "1e-30, 48.5 FROM n"));
    }
    QSqlDatabase::removeDatabase("many_hits");

    GC_GenomeScene scene;
    QVERIFY2(scene.loadKestalCanvas(path), qPrintable(scene.lastErrorText()));
    GC_Genome *genome = nullptr;
    for (GC_Genome *candidate : scene.topGenomes() + scene.lowGenomes())
        genome = candidate->getDatabaseId() == 0 ? candidate : genome;
    QVERIFY(genome);
    // Opened whole; then a page late in the hits' table goes bad on disk.
    QVERIFY(SqlitePageDamage::zeroLastPage(path));

    // What the dialog shows once "Yes" is pressed, when it stays open.
    auto shownOnLoading = [&](const QString &found) {
        GC_CogShowMatchings_dialog dialog;
        dialog.setGenome(genome);
        QString shown = "closed";
        if (!child<QTextBrowser>(&dialog, "textBrowser")->toPlainText().contains(found))
            return QString("not asked about ") + found;
        ModalAnswerer::handle([&](QWidget *) {
            // A box of hits left out, had the click loaded some, is closed.
            ModalAnswerer::handle([](QWidget *box) { box->close(); });
            child<QPushButton>(&dialog, "searchButton")->click();
            if (dialog.isVisible()) {
                shown = child<QTextBrowser>(&dialog, "textBrowser")->toPlainText();
                child<QPushButton>(&dialog, "cancelButton")->click();
            }
        });
        dialog.exec();
        ModalAnswerer::disarm();
        return shown;
    };
    QString shown = shownOnLoading("20000 COG homologies have been found");
    QVERIFY2(shown.startsWith(QString("Error: The file \"%1\" is damaged and cannot be read.").arg(path))
                 && shown.contains("reading the cog_matchings table: "),
             qPrintable(shown));
    QCOMPARE(genome->countCogMatchings(), 0);

    // Stored hits read whole, but a COG collection whose proteins' page went
    // bad since it was opened: the look-ups fail, and nothing is loaded.
    const QString hits = dir.filePath("cog_hits.kestal");
    QVERIFY(writeStoredHits(hits, {{1, genome->getId(), 101, 340, 1e-30, 48.1}}, {}, {}));
    attachSource(genome, hits);
    const QString collection = dir.filePath("failing_collection");
    QVERIFY(QDir().mkpath(collection) && QFile::copy(references->path("cog.sqlite3"), collection + "/cog.sqlite3"));
    GC_ReferenceDatabases::setFolder(collection);
    QVERIFY(GC_ReferenceDatabases::open(GC_ReferenceDatabases::Cog));
    {
        QSqlQuery cog(GC_ReferenceDatabases::database(GC_ReferenceDatabases::Cog));
        QVERIFY(cog.exec("SELECT rootpage FROM sqlite_master WHERE name = 'cog_proteins'") && cog.next());
        QVERIFY(SqlitePageDamage::zeroPage(collection + "/cog.sqlite3", cog.value(0).toInt()));
        // Read again from the disk, as a page no longer in memory is.
        QVERIFY(cog.exec("PRAGMA shrink_memory"));
    }
    shown = shownOnLoading("1 COG homologies have been found");
    QVERIFY(references->open());
    QVERIFY2(shown.startsWith("Error: the reference collection cog.sqlite3 could not be read: the file is damaged"),
             qPrintable(shown));
    QCOMPARE(genome->countCogMatchings(), 0);
}

void TestHomologyDialogs::sceneShowsTheBarAfterLoading()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    const QString path = dir.filePath("scene.kestal");
    QVERIFY(writeStoredHits(path, { { 3, genome->getId(), 101, 340, 1e-5, 10.0 },
                                    { 1, genome->getId(), 701, 900, 1e-5, 10.0 } },
                            {}, {}));
    attachSource(genome, path);
    genome->setSelected(true);

    ModalAnswerer::clickButtonText("Yes");
    scene.slotGenomeShowCogMatchings();
    QCOMPARE(genome->countCogMatchings(), 2);
    QVERIFY(genome->getShowCogHomologies());
    QVERIFY(genome->getCogHomologies()->isVisible());
    QVERIFY(scene.isModified());

    // Shown: the same entry hides it, with no dialog.
    scene.slotGenomeShowCogMatchings();
    QVERIFY(!genome->getShowCogHomologies());
    QVERIFY(!genome->getCogHomologies()->isVisible());
    // Loaded hits show again without asking.
    scene.slotGenomeShowHideCogMatchings(true);
    QVERIFY(genome->getShowCogHomologies());
}

void TestHomologyDialogs::sceneLeavesTheBarHiddenWhenDeclined()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    const QString path = dir.filePath("declined.kestal");
    QVERIFY(writeStoredHits(path, {}, { { 1, genome->getId(), 100, 180, 1e-5, 10.0 } }, {}));
    attachSource(genome, path);
    genome->setSelected(true);

    ModalAnswerer::clickButtonText("No");
    scene.slotGenomeShowRfamMatchings();
    QVERIFY(!genome->getShowRfamHomologies());
    QCOMPARE(genome->countRfamMatchings(), 0);
}

void TestHomologyDialogs::displayAnswerLoadsOnlyWhenRowsAreStored()
{
    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome("g", 5000);
    GC_Genome *bare = makeGenome("bare", 5000);
    scene.insertTopGenome(genome);
    scene.insertLowGenome(bare);
    scene.addItemsToScene();
    const QString path = dir.filePath("display.kestal");
    QVERIFY(writeStoredHits(path, {}, {}, { { 101, genome->getId(), 200, 400, 1e-5, 10.0 },
                                            { 201, genome->getId(), 1200, 1400, 1e-5, 10.0 } }));
    attachSource(genome, path);
    attachSource(bare, path);
    QCOMPARE(genome->getDatabaserRNAMatchingsCount(), 2);
    QCOMPARE(bare->getDatabaserRNAMatchingsCount(), 0);

    // No stored rows: nothing to ask, nothing shown.
    bool asked = false;
    bare->setSelected(true);
    ModalAnswerer::handle([&](QWidget *modal) { asked = true; modal->close(); });
    scene.slotGenomeShowHiderRNAMatchings(true);
    ModalAnswerer::disarm();
    QVERIFY(!asked);
    QVERIFY(!bare->getShowrRNAHomologies());

    scene.clearSelection();
    genome->setSelected(true);
    ModalAnswerer::clickButtonText("Yes");
    scene.slotGenomeShowHiderRNAMatchings(true);
    QCOMPARE(genome->countrRNAMatchings(), 2);
    QVERIFY(genome->getShowrRNAHomologies());
    QVERIFY(genome->getrRNAHomologies()->isVisible());

    scene.slotGenomeShowHiderRNAMatchings(false);
    QVERIFY(!genome->getShowrRNAHomologies());
    QCOMPARE(genome->countrRNAMatchings(), 2);
}

KESTAL_TEST_MAIN(TestHomologyDialogs)
#include "tst_homologydialogs.moc"
