#include "kestal_test.h"
#include "file_dialog_answerer.h"
#include "modal_answerer.h"
#include "sqlite_file_lock.h"
#include "test_data.h"

#include "gc_builddatabase.h"
#include "gc_fileopenwizard.h"
#include "gc_fileutils.h"
#include "gc_rundatabase.h"
#include "gc_sqlconnection.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

// The open wizard driven as a user drives it: radio buttons, file dialogs,
// list and pair buttons, Next/Back/Finish/Cancel, and the warnings it shows.
class TestFileOpenWizard : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *dataDir = nullptr;

    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = dataDir->filePath(name);
        if (!TestData::writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QString genbank(const QString &name, const QString &definition, quint32 seed)
    {
        return write(name, TestData::genbankRecord(definition, QByteArray(), TestData::randomDna(300, seed)));
    }

    QString database(const QString &name, const QString &type)
    {
        const QString path = dataDir->filePath(name);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_fileopenwizard");
            db.setDatabaseName(path);
            if (!db.open())
                qFatal("cannot open %s", qPrintable(path));
            QSqlQuery query(db);
            query.exec("CREATE TABLE file_properties (key TEXT, value TEXT)");
            query.prepare("INSERT INTO file_properties (key, value) VALUES (?, ?)");
            query.addBindValue("type");
            query.addBindValue(type);
            if (!query.exec())
                qFatal("cannot write %s", qPrintable(path));
            db.close();
        }
        QSqlDatabase::removeDatabase("tst_fileopenwizard");
        return path;
    }

    template <typename T>
    static T *widget(GC_FileOpenWizard &wizard, const char *name)
    {
        T *child = wizard.findChild<T *>(name);
        if (!child)
            qFatal("no widget %s", name);
        return child;
    }

    static void click(GC_FileOpenWizard &wizard, QWizard::WizardButton which)
    {
        wizard.button(which)->click();
    }

    static void clickButton(GC_FileOpenWizard &wizard, const char *name)
    {
        widget<QPushButton>(wizard, name)->click();
    }

    // Texts of the message boxes that came up while action ran; each is
    // answered with OK as a user would.
    static QStringList warningsDuring(const std::function<void()> &action)
    {
        QStringList texts;
        QTimer watcher;
        watcher.setInterval(10);
        QObject::connect(&watcher, &QTimer::timeout, [&texts] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box && box->isVisible()) {
                texts.append(box->windowTitle() + " / " + box->text());
                box->button(QMessageBox::Ok)->click();
            }
        });
        watcher.start();
        action();
        watcher.stop();
        return texts;
    }

    static QStringList comboItems(QComboBox *combo)
    {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        return items;
    }

    static QStringList rows(QListWidget *list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    // Opens the wizard, keeps the Genbank/FASTA choice and reaches the files page.
    void toFilesPage(GC_FileOpenWizard &wizard)
    {
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 4);
    }

    // Lists files on the files page through the Add dialog.
    void addFiles(GC_FileOpenWizard &wizard, const QStringList &paths)
    {
        FileDialogAnswerer::choose(paths);
        clickButton(wizard, "buttonAddInputFiles");
    }

    void toPairsPage(GC_FileOpenWizard &wizard, const QStringList &paths)
    {
        toFilesPage(wizard);
        addFiles(wizard, paths);
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 5);
    }

private slots:
    void initTestCase()
    {
        dataDir = new QTemporaryDir(QDir::tempPath() + "/wizard-XXXXXX");
        QVERIFY(dataDir->isValid());
    }

    void cleanupTestCase()
    {
        delete dataDir;
    }

    void init()
    {
        QSettings().remove("lastDirOpen");
    }

    // --- construction --------------------------------------------------------

    void startsWithTwoChoicesAndSixPages()
    {
        GC_FileOpenWizard wizard;
        QCOMPARE(wizard.windowTitle(), QString("Open genome files"));
        QCOMPARE(wizard.pageIds(), QList<int>({1, 2, 3, 4, 5, 6}));
        QCOMPARE(wizard.startId(), 1);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        QVERIFY(widget<QRadioButton>(wizard, "radioGenbankFasta")->isChecked());
        QVERIFY(widget<QRadioButton>(wizard, "radioKestalCanvas")->isVisible());
        QVERIFY(!widget<QRadioButton>(wizard, "radioExamples")->isVisible());
        QCOMPARE(comboItems(widget<QComboBox>(wizard, "comboBoxBlast")),
                 QStringList({"dc-megablast", "blastn", "megablast"}));
        QCOMPARE(wizard.blastOptions().task(), QString("blastn")); // untouched until the pairs page
        QCOMPARE(wizard.selectedGenomeIndex(), 0);
        QVERIFY(widget<QPushButton>(wizard, "buttonDownloadGenbank")->isEnabled());
        QVERIFY(widget<QPushButton>(wizard, "buttonDownload")->isEnabled());
    }

    // "Download" runs the Entrez download dialog; closing it without a
    // download adds no file.
    void downloadRunsTheEntrezDialog()
    {
        GC_FileOpenWizard wizard;
        widget<QRadioButton>(wizard, "radioGenbankFasta")->setChecked(true);
        QString opened;
        ModalAnswerer::handle([&opened](QWidget *modal) {
            opened = modal->metaObject()->className();
            static_cast<QDialog *>(modal)->reject();
        });
        QTest::mouseClick(widget<QPushButton>(wizard, "buttonDownloadGenbank"), Qt::LeftButton);
        QCOMPARE(opened, QString("GC_DownloadGenbankEntrezDialog"));
        QCOMPARE(widget<QListWidget>(wizard, "listInputFiles")->count(), 0);
    }

    // The long subtitles of the files and pairs pages are shown whole, not
    // cut at QWizard's two-line header.
    void subtitlesAreShownWhole()
    {
        GC_FileOpenWizard wizard;
        toPairsPage(wizard, {genbank("sub1.gb", "Sub one", 15), genbank("sub2.gb", "Sub two", 16)});
        for (int page : {5, 4}) {
            if (page == 4)
                click(wizard, QWizard::BackButton);
            QCOMPARE(wizard.currentId(), page);
            const QString subTitle = wizard.currentPage()->subTitle();
            QLabel *shown = nullptr;
            for (QLabel *label : wizard.findChildren<QLabel *>()) {
                if (label->text() == subTitle && label->isVisible())
                    shown = label;
            }
            QVERIFY(shown);
            QVERIFY(shown->heightForWidth(shown->width()) > 2 * shown->fontMetrics().lineSpacing());
            // Once the wizard has laid the page out.
            QTRY_VERIFY2(shown->height() >= shown->heightForWidth(shown->width()),
                         qPrintable(QString("page %1: %2 < %3").arg(page).arg(shown->height())
                                        .arg(shown->heightForWidth(shown->width()))));
        }
    }

    void cancelOnAnyPageAnswersZero()
    {
        GC_FileOpenWizard wizard;
        toFilesPage(wizard);
        addFiles(wizard, {genbank("cancel1.gb", "One", 1), genbank("cancel2.gb", "Two", 2)});
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 5);
        click(wizard, QWizard::CancelButton);
        QVERIFY(!wizard.isVisible());
        QCOMPARE(wizard.result(), 0);

        GC_FileOpenWizard first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        click(first, QWizard::CancelButton);
        QCOMPARE(first.result(), 0);
    }

    // --- canvas road ---------------------------------------------------------

    void canvasChoiceBrowsesAndAnswersCanvas()
    {
        const QString canvas = database("canvas.kcv", "kestalcanvas");
        GC_FileOpenWizard wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        widget<QRadioButton>(wizard, "radioKestalCanvas")->setChecked(true);
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 2);
        QCOMPARE(wizard.currentPage()->subTitle(),
                 QString("Browse and choose the Kestal visualization canvas file to open."));
        QVERIFY(!widget<QPushButton>(wizard, "buttonDownload")->isVisible());

        FileDialogAnswerer::choose({canvas});
        clickButton(wizard, "buttonBrowseInputFile");
        QCOMPARE(FileDialogAnswerer::lastTitle(), QString("Choose the input file"));
        QCOMPARE(FileDialogAnswerer::lastNameFilters().value(0), QString("Kestal files (*.kcv *.ktc)"));
        QCOMPARE(FileDialogAnswerer::lastDirectory(), QDir::homePath());
        QCOMPARE(widget<QLineEdit>(wizard, "lineInputFile")->text(), canvas);
        QCOMPARE(QSettings().value("lastDirOpen").toString(), canvas);

        // A cancelled browse keeps the chosen file.
        FileDialogAnswerer::cancel();
        clickButton(wizard, "buttonBrowseInputFile");
        QCOMPARE(FileDialogAnswerer::lastDirectory(), dataDir->path()); // starts beside the last file
        QCOMPARE(wizard.fileName(), canvas);

        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 6);
        click(wizard, QWizard::FinishButton);
        QCOMPARE(wizard.result(), FILETYPE_CANVAS);
        QCOMPARE(wizard.fileName(), canvas);
    }

    void canvasPageRefusesOtherFiles()
    {
        const QString fasta = write("notacanvas.fas", ">x\nacgt\n");
        GC_FileOpenWizard wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        widget<QRadioButton>(wizard, "radioKestalCanvas")->setChecked(true);
        click(wizard, QWizard::NextButton);
        // Nothing chosen, then a FASTA file: both refused, each for its own
        // reason, the page stays.
        QStringList warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings, QStringList({"Error at selecting file / No file was chosen. Press \"Browse\" to choose one."}));
        FileDialogAnswerer::choose({fasta});
        clickButton(wizard, "buttonBrowseInputFile");
        warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings, QStringList({"Error at selecting file / This file isn't a Kestal visualization canvas."}));
        QCOMPARE(wizard.currentId(), 2);

        // A canvas another program holds locked is in use, not something
        // other than a canvas.
        const QString canvas = database("locked.kcv", "kestalcanvas");
        FileDialogAnswerer::choose({canvas});
        clickButton(wizard, "buttonBrowseInputFile");
        SqliteFileLock lock(canvas);
        QVERIFY(lock.isHeld());
        warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings, QStringList({"File cannot be read / " + GC_SqlConnection::inUseText(canvas)}));
        QCOMPARE(wizard.currentId(), 2);
    }

    // A comparison database chosen as a canvas is opened as a comparison
    // database: the canvas reader would refuse it and nothing would open.
    void comparisonDatabaseIsOpenedAsComparison()
    {
        const QString comparison = database("comparison.kcv", "genomecomparisson");
        const QString sorvik = database("sorvik.kcv", "sorvikcomparison");
        for (const QString &path : {comparison, sorvik}) {
            GC_FileOpenWizard wizard;
            wizard.show();
            QVERIFY(QTest::qWaitForWindowExposed(&wizard));
            widget<QRadioButton>(wizard, "radioKestalCanvas")->setChecked(true);
            click(wizard, QWizard::NextButton);
            FileDialogAnswerer::choose({path});
            clickButton(wizard, "buttonBrowseInputFile");
            click(wizard, QWizard::NextButton);
            QCOMPARE(wizard.currentId(), 6);
            click(wizard, QWizard::FinishButton);
            QCOMPARE(wizard.result(), FILETYPE_COMPARISON);
            QCOMPARE(wizard.inputFiles(), QStringList({path}));
        }
    }

    void examplesBrowseStartsInExamplesFolder()
    {
        GC_FileOpenWizard wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        widget<QRadioButton>(wizard, "radioExamples")->setChecked(true);
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 2);
        QCOMPARE(wizard.currentPage()->subTitle(), QString("Browse precomputed examples."));
        const QString examples = QCoreApplication::applicationDirPath() + "/examples";
        const bool made = !QFileInfo::exists(examples) && QDir().mkpath(examples);
        FileDialogAnswerer::cancel();
        clickButton(wizard, "buttonBrowseInputFile");
        if (made)
            QDir().rmdir(examples);
        QCOMPARE(FileDialogAnswerer::lastDirectory(), QDir(examples).absolutePath());
    }

    // --- files page ----------------------------------------------------------

    void addListsSequenceFilesOnceAndRemembersFirst()
    {
        const QString gb = genbank("add.gb", "Added phage", 3);
        const QString fas = write("add.fas", ">rec\nacgtacgt\n");
        const QString junk = write("junk.txt", "nothing here\n");
        // Looks like Genbank but cannot be read as a genome: refused when added.
        const QString protein = write("protein.gbk", TestData::corpusFile("protein.gb"));
        GC_FileOpenWizard wizard;
        toFilesPage(wizard);
        QVERIFY(wizard.currentPage()->subTitle().contains("Downlaod button"));

        QStringList warnings = warningsDuring([&] { addFiles(wizard, {fas, junk, protein, gb}); });
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().startsWith("Invalid files chosen / Some files chosen aren't Genbank or Fasta "
                                             "files. They aren't be added to the list.\n\n"),
                 qPrintable(warnings.first()));
        QVERIFY(warnings.first().contains(junk + " is neither a Genbank nor a FASTA file"));
        QVERIFY(warnings.first().contains(protein + " is a protein record"));
        QCOMPARE(FileDialogAnswerer::lastTitle(), QString("Open files"));
        QCOMPARE(FileDialogAnswerer::lastNameFilters().value(0),
                 QString("Genbank or fasta files (*.gb *.gbk *.gbff *.gbf *.fas *.fa *.fasta *.fna *.txt)"));
        auto *list = widget<QListWidget>(wizard, "listInputFiles");
        QCOMPARE(rows(list), QStringList({fas, gb}));
        QCOMPARE(QSettings().value("lastDirOpen").toString(), fas); // the first chosen, whole path

        // Already listed: skipped without a word; the next dialog starts there.
        warnings = warningsDuring([&] { addFiles(wizard, {gb}); });
        QVERIFY(warnings.isEmpty());
        QCOMPARE(rows(list), QStringList({fas, gb}));
        QCOMPARE(FileDialogAnswerer::lastDirectory(), dataDir->path());
        QCOMPARE(QSettings().value("lastDirOpen").toString(), gb);

        // A cancelled dialog changes neither the list nor the setting.
        FileDialogAnswerer::cancel();
        clickButton(wizard, "buttonAddInputFiles");
        QCOMPARE(list->count(), 2);
        QCOMPARE(QSettings().value("lastDirOpen").toString(), gb);

        // Remove deletes the selected rows; a click toggles a row.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QVERIFY(list->item(0)->isSelected());
        clickButton(wizard, "buttonRemoveIntpuFiles");
        QCOMPARE(rows(list), QStringList({gb}));

        // What a file leaves out is said when it is added, in a box of its
        // own; the file is listed all the same.
        QByteArray phages;
        for (const char *name : {"MH816966.1.gbk", "MK373776.1.gbk"}) {
            QFile phage(kestalTestDataPath(name));
            QVERIFY(phage.open(QIODevice::ReadOnly));
            phages += phage.readAll();
        }
        const QString records = write("two phages.gbk", phages);
        const QString skipping = write("skipping.gb", TestData::corpusFile("features.gb"));
        warnings = warningsDuring([&] { addFiles(wizard, {records, skipping}); });
        const QString leftOut = "Part of a file left out / The file is listed, but not all of it is read:\n\n";
        QCOMPARE(warnings,
                 QStringList({leftOut + records
                                  + " holds 2 records; only the first, \"Escherichia phage FEC19, complete genome.\", "
                                    "is read",
                              leftOut + skipping
                                  + ": 2 features skipped: they run across the origin (100..30, complement(110..5))\n"
                                  + skipping
                                  + ": 4 features skipped: they lie outside the 120 bases of the sequence (-5..8, "
                                    "0..9, 115..130, 1..999999999999)\n"
                                  + skipping + ": 1 feature skipped: it lies on another record (AB000001.1:1..10)"}));
        QCOMPARE(rows(list), QStringList({gb, records, skipping}));
    }

    void noFileIsRefused()
    {
        GC_FileOpenWizard wizard;
        toFilesPage(wizard);
        const QStringList warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings, QStringList({"Not enough sequences / You must select a file"}));
        QCOMPARE(wizard.currentId(), 4);
    }

    void oneSequenceFileSkipsPairs()
    {
        const QString gb = genbank("single.gb", "Single phage", 4);
        GC_FileOpenWizard wizard;
        toFilesPage(wizard);
        addFiles(wizard, {gb});
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 6);
        click(wizard, QWizard::FinishButton);
        QCOMPARE(wizard.result(), FILETYPE_GENOME);
        QCOMPARE(wizard.fileName(), gb);
    }

    void oneFileOfAnotherKindIsRefusedAndCleared()
    {
        // A file may change between Add and Next.
        const QString fas = write("changing.fas", ">x\nacgt\n");
        GC_FileOpenWizard wizard;
        toFilesPage(wizard);
        addFiles(wizard, {fas});
        write("changing.fas", "now plain text\n");
        const QStringList warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings, QStringList({"Error at selecting file / The file is not genbank nor fasta\n\n" + fas
                                        + " is neither a Genbank nor a FASTA file"}));
        QCOMPARE(wizard.currentId(), 4);
        QCOMPARE(widget<QListWidget>(wizard, "listInputFiles")->count(), 0);
    }

    // --- pairs page ----------------------------------------------------------

    void namesAreListedGenbankFirstEachInOrder()
    {
        const QString zeta = genbank("zeta.gb", "Zeta phage", 5);
        const QString alpha = genbank("alpha.gb", "Alpha phage", 6);
        const QString records = write("records.fas", ">b\nacgtacgt\n>a\nccccgggg\n");
        GC_FileOpenWizard wizard;
        toPairsPage(wizard, {records, zeta, alpha});
        const QStringList expected({"Alpha phage", "Zeta phage", "a", "b"});
        auto *target = widget<QComboBox>(wizard, "comboBoxTarget");
        auto *query = widget<QComboBox>(wizard, "comboBoxQuery");
        QCOMPARE(comboItems(target), expected);
        QCOMPARE(comboItems(query), expected);
        QCOMPARE(target->currentIndex(), 0);
        QCOMPARE(query->currentIndex(), 1);
        QCOMPARE(wizard.fastaSequences().value("a"), QString("ccccgggg"));

        // A Genbank record without a DEFINITION is listed, but has no name
        // to pair: Next says so rather than reading it as FASTA.
        const QString nameless = write("nameless.gb", "LOCUS       X 8 bp DNA\nACCESSION   X\nORIGIN\n"
                                                      "        1 acgtacgt\n//\n");
        GC_FileOpenWizard again;
        toFilesPage(again);
        addFiles(again, {zeta, nameless});
        QCOMPARE(widget<QListWidget>(again, "listInputFiles")->count(), 2);
        const QStringList warnings = warningsDuring([&] { click(again, QWizard::NextButton); });
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains(nameless + " has no DEFINITION line"), qPrintable(warnings.first()));
    }

    void pairsKeepTheirOrderAndRefuseRepeats()
    {
        const QString one = genbank("pair1.gb", "One", 7);
        const QString two = genbank("pair2.gb", "Two", 8);
        const QString three = genbank("pair3.gb", "Three", 9);
        GC_FileOpenWizard wizard;
        toPairsPage(wizard, {one, two, three});
        auto *target = widget<QComboBox>(wizard, "comboBoxTarget");
        auto *query = widget<QComboBox>(wizard, "comboBoxQuery");
        auto *pairList = widget<QTreeWidget>(wizard, "listPairs");
        QCOMPARE(pairList->headerItem()->text(0), QString("Target"));
        QCOMPARE(pairList->headerItem()->text(1), QString("Query"));

        // No pair yet: Next is refused.
        QStringList warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings, QStringList({"Not pairs to compare / You should choose at least 1 pair to compare."}));
        QCOMPARE(wizard.currentId(), 5);

        target->setCurrentText("One");
        query->setCurrentText("Two");
        clickButton(wizard, "buttonAddPair");
        target->setCurrentText("Three");
        query->setCurrentText("One");
        clickButton(wizard, "buttonAddPair");
        // The same two names either way round are the same pair.
        target->setCurrentText("Two");
        query->setCurrentText("One");
        warnings = warningsDuring([&] { clickButton(wizard, "buttonAddPair"); });
        QCOMPARE(warnings, QStringList({"Error choosing sequence pair / This pair is already in the list."}));
        // A genome with itself is a pair.
        target->setCurrentText("Two");
        query->setCurrentText("Two");
        warnings = warningsDuring([&] { clickButton(wizard, "buttonAddPair"); });
        QVERIFY(warnings.isEmpty());

        using Pair = QPair<QString, QString>;
        // (query, target) per row, in row order.
        QCOMPARE(wizard.pairs(), QList<Pair>({{"Two", "One"}, {"One", "Three"}, {"Two", "Two"}}));

        pairList->topLevelItem(1)->setSelected(true);
        clickButton(wizard, "buttonRemovePair");
        QCOMPARE(wizard.pairs(), QList<Pair>({{"Two", "One"}, {"Two", "Two"}}));

        // Default task, then the finish.
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 6);
        click(wizard, QWizard::FinishButton);
        QCOMPARE(wizard.result(), FILETYPE_GENBANK_FASTA);
        QCOMPARE(wizard.blastOptions().task(), QString("dc-megablast"));
    }

    void chosenTaskAndGoingBackEmptiesPairs()
    {
        GC_FileOpenWizard wizard;
        toPairsPage(wizard, {genbank("back1.gb", "Back one", 10), genbank("back2.gb", "Back two", 11)});
        clickButton(wizard, "buttonAddPair");
        QCOMPARE(wizard.pairs().size(), 1);
        click(wizard, QWizard::BackButton);
        QCOMPARE(wizard.currentId(), 4);
        click(wizard, QWizard::NextButton);
        QCOMPARE(wizard.currentId(), 5);
        QVERIFY(wizard.pairs().isEmpty());

        clickButton(wizard, "buttonAddPair");
        widget<QComboBox>(wizard, "comboBoxBlast")->setCurrentText("megablast");
        click(wizard, QWizard::NextButton);
        click(wizard, QWizard::FinishButton);
        QCOMPARE(wizard.result(), FILETYPE_GENBANK_FASTA);
        QCOMPARE(wizard.blastOptions().task(), QString("megablast"));
        using Pair = QPair<QString, QString>;
        QCOMPARE(wizard.pairs(), QList<Pair>({{"Back two", "Back one"}}));
    }

    // Matchings are tied to genomes by name: two inputs of one name would put
    // them on the wrong genome. A file that repeats a listed genome (the
    // same record fetched twice comes as "Name (2).gb") is not listed; files
    // that only share some names are refused before the pairs page.
    void repeatedGenomesAreListedOnce_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("skippedWhenAdded");
        QTest::newRow("fetched twice") << "Name.gb" << "Name (2).gb" << true;
        QTest::newRow("two Genbank files of one name") << "first.gb" << "second.gb" << true;
        QTest::newRow("Genbank and FASTA of one name") << "first.gb" << "second.fas" << true;
        QTest::newRow("two FASTA files sharing a name") << "first.fas" << "second.fas" << false;
    }

    void repeatedGenomesAreListedOnce()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, skippedWhenAdded);
        const QByteArray record = TestData::genbankRecord("Same phage", "", TestData::randomDna(300, 12));
        const QString firstPath = first.endsWith(".fas") ? write(first, ">dup\ncccc\n") : write(first, record);
        QString secondPath;
        if (second.endsWith("(2).gb"))
            secondPath = write(second, record);
        else if (second.endsWith(".gb"))
            secondPath = write(second, QByteArray(record).replace("TEST", "OTHER"));
        else
            secondPath = write(second, first.endsWith(".fas") ? ">dup\nacgt\n>other\ngggg\n" : ">Same phage\nacgtacgt\n");
        const QString third = genbank("third.gb", "Third phage", 14);
        GC_FileOpenWizard wizard;
        toFilesPage(wizard);
        auto *list = widget<QListWidget>(wizard, "listInputFiles");
        QStringList warnings = warningsDuring([&] { addFiles(wizard, {firstPath, third, secondPath}); });
        if (skippedWhenAdded) {
            QCOMPARE(warnings, QStringList({"Genome already listed / These files hold a genome that is already in "
                                            "the list, so they were not added:\n\n"
                                            + second + ": the same genome as " + first}));
            QCOMPARE(rows(list), QStringList({firstPath, third}));
            QVERIFY(warningsDuring([&] { click(wizard, QWizard::NextButton); }).isEmpty());
            QCOMPARE(comboItems(widget<QComboBox>(wizard, "comboBoxTarget")),
                     QStringList({"Same phage", "Third phage"}));
            return;
        }
        QVERIFY(warnings.isEmpty());
        warnings = warningsDuring([&] { click(wizard, QWizard::NextButton); });
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().startsWith("Repeated genome names / "), qPrintable(warnings.first()));
        QVERIFY(warnings.first().contains("\"dup\" in first.fas, second.fas"));
        QCOMPARE(wizard.currentId(), 4);

        // Once one of them is gone the pairs page opens.
        list->item(2)->setSelected(true);
        clickButton(wizard, "buttonRemoveIntpuFiles");
        QVERIFY(warningsDuring([&] { click(wizard, QWizard::NextButton); }).isEmpty());
        QCOMPARE(wizard.currentId(), 5);
    }

    // The builder gets the Genbank files as Genbank and the FASTA records as
    // records: a FASTA file in both would give every record two genomes.
    void builderGetsEachGenomeOnce()
    {
        const QString phage1 = kestalTestDataPath("MH816966.1.gbk");
        const QString phage2 = kestalTestDataPath("MK373776.1.gbk");
        const QString records = write("builder.fas", ">r2\nacgtacgtac\n>r1\nggggccccaa\n");
        // Named like a Genbank file, read as the FASTA file it is.
        const QString headless = write("headless.gb", ">r3\nacgtttt\n\n");
        // "DEFINITION Phage alpha...", one blank after the keyword: the name
        // offered is the genome's name in the database.
        const QString oneBlank = write("oneblank.gb", TestData::corpusFile("features.gb", "cr"));
        GC_FileOpenWizard wizard;
        // The stretches of oneblank.gb that are off its sequence are said.
        const QStringList leftOut =
            warningsDuring([&] { toPairsPage(wizard, {phage1, records, headless, phage2, oneBlank}); });
        QCOMPARE(leftOut.size(), 1);
        QVERIFY2(leftOut.first().contains(oneBlank + ": 4 features skipped"), qPrintable(leftOut.first()));
        QCOMPARE(wizard.currentId(), 5);
        clickButton(wizard, "buttonAddPair");
        click(wizard, QWizard::NextButton);
        click(wizard, QWizard::FinishButton);
        QCOMPARE(wizard.result(), FILETYPE_GENBANK_FASTA);

        QCOMPARE(wizard.listedFiles(), QStringList({phage1, records, headless, phage2, oneBlank}));
        QCOMPARE(wizard.inputFiles(), QStringList({phage1, phage2, oneBlank}));
        QCOMPARE(wizard.genbankFiles(), QStringList({phage1, phage2, oneBlank}));
        QCOMPARE(wizard.fastaSequences().keys(), QStringList({"r1", "r2", "r3"}));

        QMap<QString, int> ids;
        QString error;
        const std::shared_ptr<GC_RunDatabase> built =
            gc_buildDatabase(wizard.inputFiles(), wizard.fastaSequences(), ids, &error);
        QVERIFY2(built, qPrintable(error));
        // Every name the wizard offered is a genome of the database, once.
        const QStringList offered = comboItems(widget<QComboBox>(wizard, "comboBoxTarget"));
        QCOMPARE(offered.size(), 6);
        QVERIFY(offered.contains("Phage alpha, one blank after the keyword."));
        for (const QString &name : offered)
            QVERIFY2(ids.contains(name), qPrintable(name));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_fileopenwizard_count");
            db.setDatabaseName(built->path());
            QVERIFY(db.open());
            QSqlQuery count("SELECT COUNT(*) FROM genomes", db);
            QVERIFY(count.next());
            QCOMPARE(count.value(0).toInt(), 6);
            db.close();
        }
        QSqlDatabase::removeDatabase("tst_fileopenwizard_count");
        // The pair names turn into genome ids.
        for (const auto &pair : wizard.pairs()) {
            QVERIFY(ids.contains(pair.first));
            QVERIFY(ids.contains(pair.second));
        }
    }
};

KESTAL_TEST_MAIN(TestFileOpenWizard)
#include "tst_fileopenwizard.moc"
