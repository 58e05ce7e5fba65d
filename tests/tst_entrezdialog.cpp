#include "kestal_test.h"

#include "en_entrezservice.h"
#include "en_request.h"
#include "fake_entrez_server.h"
#include "gc_downloadgenbankentrezdialog.h"
#include "gc_chromsdatabase.h"
#include "gc_downloadgenbankentrezitem.h"
#include "gc_entrezquerybuilder.h"
#include "gc_genbankparser.h"
#include "gc_genbankrecordwriter.h"
#include "gc_pushbutton_custom.h"
#include "modal_answerer.h"
#include "sqlite_page_damage.h"
#include "taxonomy_database_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>

#include <memory>

namespace {

template <typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

QStringList resultRows(QWidget *dialog)
{
    QStringList rows;
    auto *tree = child<QTreeWidget>(dialog, "treeWidget");
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = tree->topLevelItem(i);
        rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
    }
    return rows;
}

// The seven controls that a running search disables.
bool searchIdle(QWidget *dialog)
{
    return child<QWidget>(dialog, "tabwidgetsearch")->isEnabled()
           && child<QWidget>(dialog, "buttonsearch")->isEnabled()
           && child<QWidget>(dialog, "tab_4")->isEnabled()
           && child<QWidget>(dialog, "spinboxmaxhits")->isEnabled()
           && child<QWidget>(dialog, "comboboxdatabase")->isEnabled()
           && !child<QProgressBar>(dialog, "progresssearch")->isEnabled()
           && child<QProgressBar>(dialog, "progresssearch")->maximum() == 1;
}

QString downloadQuestion;

// Answers the download question with Yes and the folder chooser with folder;
// then, if given, the next modal box with button.
void answerDownload(const QString &folder, QMessageBox::StandardButton button = QMessageBox::NoButton)
{
    downloadQuestion.clear();
    ModalAnswerer::handle([folder, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        downloadQuestion = box->text();
        ModalAnswerer::handle([folder, button](QWidget *next) {
            auto *chooser = qobject_cast<QFileDialog *>(next);
            if (!chooser) {
                next->close();
                return;
            }
            if (button != QMessageBox::NoButton)
                ModalAnswerer::clickButton(button);
            chooser->setDirectory(folder);
            chooser->selectFile(folder);
            QMetaObject::invokeMethod(chooser, "accept");
        });
        box->button(QMessageBox::Yes)->click();
    });
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The download dialog driven as a user would, against a local stand-in for
// the Entrez service, plus its query builder, result rows and record files.
class TestEntrezDialog : public QObject
{
    Q_OBJECT

private:
    FakeEntrezServer server;
    TaxonomyDatabaseFixture taxonomy;

    std::unique_ptr<GC_DownloadGenbankEntrezDialog> openDialog()
    {
        auto dialog = std::make_unique<GC_DownloadGenbankEntrezDialog>();
        dialog->setupBrowseTab();
        dialog->show();
        return dialog;
    }

    void runSearch(GC_DownloadGenbankEntrezDialog *dialog)
    {
        QTest::mouseClick(child<QPushButton>(dialog, "buttonsearch"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(searchIdle(dialog), 5000);
    }

    void fillResults(GC_DownloadGenbankEntrezDialog *dialog)
    {
        dialog->addResultRow("1", "AC_1", "one", "10");
        dialog->addResultRow("2", "AC_2", "two", "20");
        dialog->addResultRow("3", "AC_3", "three", "30");
        dialog->addResultRow("4", "AC_4", "four", "40");
        dialog->addResultRow("5", "AC_5", "five", "50");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.start());
        EN_EntrezService::setBaseUrl(server.baseUrl());
        QVERIFY2(taxonomy.build(), qPrintable(taxonomy.errorString()));
        QVERIFY2(taxonomy.open(), qPrintable(taxonomy.errorString()));
    }

    void init()
    {
        server.reset();
        QSettings().remove(GC_DownloadGenbankEntrezDialog::geometryKey());
    }

    // ---- query builder --------------------------------------------------

    void basicTerm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("term");
        QTest::newRow("blank") << "  \t " << "";
        QTest::newRow("words") << "kinase  putative" << "kinase AND putative";
        QTest::newRow("comma blank") << "a, b" << "a OR  AND b";
        QTest::newRow("comma minus") << "a, -b" << "a OR  NOT b";
        QTest::newRow("lone minus") << "foo - bar" << "foo NOT  AND bar";
        QTest::newRow("empty pieces") << "a,,b" << "a OR  OR b";
        QTest::newRow("line breaks") << " a\n\tb " << "a AND b";
    }

    void basicTerm()
    {
        QFETCH(QString, typed);
        QFETCH(QString, term);
        QCOMPARE(GC_EntrezQueryBuilder::basicTerm(typed), term);
    }

    void advancedTerm()
    {
        GC_EntrezQueryBuilder::Advanced fields;
        QCOMPARE(GC_EntrezQueryBuilder::advancedTerm(fields), QString());
        fields.genes = "dnaA";
        QCOMPARE(GC_EntrezQueryBuilder::advancedTerm(fields), QString("dnaA[GENE]"));
        fields.genes = "x,y";
        QCOMPARE(GC_EntrezQueryBuilder::advancedTerm(fields), QString("x OR y[GENE]"));
        fields = {};
        fields.accessions = "AB1 AB2";
        fields.organisms = "AB1 AB2";
        QCOMPARE(GC_EntrezQueryBuilder::advancedTerm(fields), QString("AB1 AND AB2[ACCN] AND AB1 AB2[ORGN]"));
        fields = {};
        fields.anywhere = "-phage";
        fields.definition = "a, b";
        fields.proteins = "p";
        QCOMPARE(GC_EntrezQueryBuilder::advancedTerm(fields),
                 QString(" NOT phage[ALL] AND a OR  b[TITL] AND p[PROT]"));
    }

    // ---- result rows ----------------------------------------------------

    void resultRowsSort()
    {
        QTreeWidget tree;
        tree.setColumnCount(4);
        auto *a = new GC_DownloadGenbankEntrezItem;
        auto *b = new GC_DownloadGenbankEntrezItem;
        tree.addTopLevelItems({a, b});
        a->setText(0, "100");
        b->setText(0, "99");
        a->setText(1, "nc_1");
        b->setText(1, "NC_1");
        a->setSize(9);
        b->setSize(100);
        tree.sortItems(0, Qt::AscendingOrder);
        QVERIFY(*a < *b);  // GI compares as text
        tree.sortItems(1, Qt::AscendingOrder);
        QVERIFY(!(*a < *b) && !(*b < *a));  // case is ignored
        tree.sortItems(3, Qt::AscendingOrder);
        QVERIFY(*a < *b);
        QCOMPARE(tree.topLevelItem(0), a);

        b->setSize(1000000);
        QCOMPARE(b->text(3), QString("1,000,000"));
        QCOMPARE(b->textAlignment(3), int(Qt::AlignRight));
    }

    // ---- the form and its geometry ----------------------------------------

    void geometryIsKeptWhenClosedFromTheTitleBar()
    {
        {
            GC_DownloadGenbankEntrezDialog dialog;
            dialog.show();
            QTest::mouseClick(child<QPushButton>(&dialog, "buttoncancel"), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QVERIFY(!QSettings().contains(GC_DownloadGenbankEntrezDialog::geometryKey()));
        }
        {
            GC_DownloadGenbankEntrezDialog dialog;
            dialog.show();
            dialog.resize(700, 500);
            dialog.close();
            QVERIFY(QSettings().contains(GC_DownloadGenbankEntrezDialog::geometryKey()));
        }
        GC_DownloadGenbankEntrezDialog dialog;
        QCOMPARE(dialog.size(), QSize(700, 500));
        QSettings().remove(GC_DownloadGenbankEntrezDialog::geometryKey());
        QCOMPARE(GC_DownloadGenbankEntrezDialog().size(), QSize(646, 416));
    }

    // ---- search -----------------------------------------------------------

    void searchListsTheSummaries()
    {
        server.setReply(FakeEntrezServer::esearchPath,
                        "<eSearchResult><IdList><Id>15</Id><Id>16</Id>\n<Id>17</Id></IdList></eSearchResult>");
        server.setReply(FakeEntrezServer::esummaryPath,
                        FakeEntrezServer::esummaryAnswer({
                            FakeEntrezServer::docSum("15", "  NC_001416 ", "Phage &amp; friends", "48502"),
                            FakeEntrezServer::docSum("16", "NC_002", "no length", QString()),
                            FakeEntrezServer::docSum("17", "NC_003", "third", "5000"),
                        }));
        auto dialog = openDialog();
        dialog->addResultRow("1", "OLD", "from an earlier search", "1");
        child<QComboBox>(dialog.get(), "comboboxdatabase")->setCurrentIndex(2);
        child<QSpinBox>(dialog.get(), "spinboxmaxhits")->setValue(7);
        child<QTabWidget>(dialog.get(), "tabwidgetsearch")->setCurrentIndex(1);
        child<QLineEdit>(dialog.get(), "advgenenames")->setText("dnaA");
        child<QLineEdit>(dialog.get(), "advorganismsnames")->setText("Bacillus subtilis,Escherichia coli");
        child<QLineEdit>(dialog.get(), "advwordsanywhere")->setText("plasmid -phage");
        child<QLineEdit>(dialog.get(), "basicterm")->setText("ignored");

        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttonsearch"), Qt::LeftButton);
        QVERIFY(!searchIdle(dialog.get()));
        QCOMPARE(child<QProgressBar>(dialog.get(), "progresssearch")->maximum(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(searchIdle(dialog.get()), 5000);

        QCOMPARE(server.queriesFor(FakeEntrezServer::esearchPath),
                 QStringList{"?db=NucGss&term=dnaA[GENE]+AND+Bacillus+subtilis+OR+Escherichia+coli[ORGN]"
                             "+AND+plasmid+NOT+phage[ALL]&retmax=7&tool=kestal&email="
                             + EN_EntrezService::contactEmail()});
        QCOMPARE(server.queriesFor(FakeEntrezServer::esummaryPath),
                 QStringList{"?db=NucGss&id=15,16,17&retmode=xml&tool=kestal&email="
                             + EN_EntrezService::contactEmail()});
        // The earlier row goes; the summary without a length gives no row.
        QCOMPARE(resultRows(dialog.get()),
                 (QStringList{"15|NC_001416|Phage &amp; friends|48502", "17|NC_003|third|5000"}));
        QCOMPARE(child<QTabWidget>(dialog.get(), "tabwidget")->currentIndex(), 2);
    }

    void searchFailuresAreTold_data()
    {
        QTest::addColumn<int>("esearchStatus");
        QTest::addColumn<QByteArray>("esearch");
        QTest::addColumn<int>("esummaryStatus");
        QTest::addColumn<QByteArray>("esummary");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("requests");
        const QByteArray ids = FakeEntrezServer::esearchAnswer({"15"});
        QTest::newRow("esearch fails") << 500 << QByteArray() << 200 << QByteArray()
                                       << "Error getting the data from Entrez Esearch\n" << 1;
        QTest::newRow("no ids") << 200 << FakeEntrezServer::esearchAnswer({}) << 200 << QByteArray()
                                << "No sequences were found for this query" << 1;
        QTest::newRow("empty answer") << 200 << QByteArray() << 200 << QByteArray()
                                      << "No sequences were found for this query" << 1;
        QTest::newRow("esummary fails") << 200 << ids << 404 << QByteArray()
                                        << "Error getting the summary from Entrez eSummary\n" << 2;
        QTest::newRow("no DocSum") << 200 << ids << 200 << QByteArray("<eSummaryResult/>")
                                   << "No sequences were found for this query" << 2;
    }

    void searchFailuresAreTold()
    {
        QFETCH(int, esearchStatus);
        QFETCH(QByteArray, esearch);
        QFETCH(int, esummaryStatus);
        QFETCH(QByteArray, esummary);
        QFETCH(QString, message);
        QFETCH(int, requests);
        server.setReply(FakeEntrezServer::esearchPath, esearch, esearchStatus);
        server.setReply(FakeEntrezServer::esummaryPath, esummary, esummaryStatus);
        auto dialog = openDialog();
        dialog->addResultRow("1", "KEPT", "an earlier row", "1");
        child<QLineEdit>(dialog.get(), "basicterm")->setText("nothing");
        ModalAnswerer::clickButton(QMessageBox::Ok);
        runSearch(dialog.get());
        QCOMPARE(ModalAnswerer::lastText(), message);
        QCOMPARE(server.count(), requests);
        QCOMPARE(resultRows(dialog.get()), QStringList{"1|KEPT|an earlier row|1"});
        QVERIFY(dialog->isVisible());
    }

    void cancelledSearchIgnoresTheLateAnswer()
    {
        server.setReply(FakeEntrezServer::esearchPath, FakeEntrezServer::esearchAnswer({"15"}));
        server.setReply(FakeEntrezServer::esummaryPath,
                        FakeEntrezServer::esummaryAnswer({FakeEntrezServer::docSum("15", "A", "B", "1")}));
        server.setHeld(FakeEntrezServer::esummaryPath, true);
        auto dialog = openDialog();
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttonsearch"), Qt::LeftButton);
        QVERIFY(server.waitForCount(2));
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttoncancel"), Qt::LeftButton);
        QVERIFY(searchIdle(dialog.get()));
        QVERIFY(dialog->isVisible());  // cancelling a search does not close
        // The cancel aborts the held request: its connection closes unanswered,
        // so the late answer has nobody to reach.
        QTRY_COMPARE_WITH_TIMEOUT(server.heldCount(), 0, 5000);
        server.release();
        QVERIFY(resultRows(dialog.get()).isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
        // With nothing running, the same button closes the dialog.
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttoncancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    }

    // ---- fetch ------------------------------------------------------------

    void fetchWritesOneFilePerRecord()
    {
        QTemporaryDir folder;
        QFile existing(folder.filePath("Old phage.gb"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();

        const QByteArray answer =
            FakeEntrezServer::genbankRecord("AC_2", "Enterobacteria phage T4, complete\n            genome.", "acgtacgt")
            + FakeEntrezServer::genbankRecord("AC_4", "../../etc/passwd: a/b", "ttttgggg")
            + FakeEntrezServer::genbankRecord("AC_5", "Old phage", "cccc")
            + FakeEntrezServer::genbankRecord("AC_1", "Old phage", "gggg") + "\n";
        server.setReply(FakeEntrezServer::efetchPath, answer);

        auto dialog = openDialog();
        fillResults(dialog.get());
        auto *tree = child<QTreeWidget>(dialog.get(), "treeWidget");
        tree->findItems("AC_2", Qt::MatchExactly, 1).value(0)->setSelected(true);
        tree->findItems("AC_4", Qt::MatchExactly, 1).value(0)->setSelected(true);
        answerDownload(folder.path());
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        QVERIFY(server.waitForCount(1));
        QCOMPARE(downloadQuestion, QString("2 sequences are going to be downloaded\nShould we proceed?"));
        QCOMPARE(server.queriesFor(FakeEntrezServer::efetchPath),
                 QStringList{"?db=Nucleotide&id=AC_2,AC_4&rettype=gbwithparts&retmode=text&tool=kestal&email="
                             + EN_EntrezService::contactEmail()});
        auto *label = child<QLabel>(dialog.get(), "labelprogress");
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString("Download finished"), 5000);
        QVERIFY(tree->isEnabled());
        QVERIFY(child<QWidget>(dialog.get(), "buttondownload")->isEnabled());

        const QDir dir(folder.path());
        const QStringList expected = {
            dir.filePath("Enterobacteria phage T4, complete genome.gb"),
            dir.filePath("_._etc_passwd_ a_b.gb"),
            dir.filePath("Old phage (2).gb"),
            dir.filePath("Old phage (3).gb"),
        };
        QCOMPARE(dialog->downloadedFiles(), expected);
        QCOMPARE(readFile(dir.filePath("Old phage.gb")), QByteArray("keep me"));
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).size(), 5);  // no temporary leftovers

        // Each file is a whole record that the Genbank reader accepts.
        QCOMPARE(readFile(expected.at(2)), FakeEntrezServer::genbankRecord("AC_5", "Old phage", "cccc"));
        GC_GenbankParser parser;
        parser.setFileName(expected.at(0));
        QVERIFY2(parser.parse(), qPrintable(parser.lastErrorText()));
        QCOMPARE(parser.header.value("SEQUENCE"), QString("acgtacgt"));

        // Fetched again, a record goes back into the file written for it
        // (even one renamed beside the user's own file), listed once.
        const QByteArray t4Again =
            FakeEntrezServer::genbankRecord("AC_2", "Enterobacteria phage T4, complete genome.", "tttt");
        const QByteArray again = FakeEntrezServer::genbankRecord("AC_5", "Old phage", "aaaa") + t4Again;
        server.setReply(FakeEntrezServer::efetchPath, again);
        answerDownload(folder.path());
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        QVERIFY(server.waitForCount(2));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString("Download finished"), 5000);
        QCOMPARE(dialog->downloadedFiles(), expected);
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).size(), 5);
        QCOMPARE(readFile(expected.at(2)), FakeEntrezServer::genbankRecord("AC_5", "Old phage", "aaaa"));
        QCOMPARE(readFile(expected.at(0)), t4Again);
        QCOMPARE(readFile(dir.filePath("Old phage.gb")), QByteArray("keep me"));
    }

    void fetchTakesEveryRowWhenNoneIsSelected()
    {
        auto dialog = openDialog();
        fillResults(dialog.get());
        ModalAnswerer::clickButton(QMessageBox::No);
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        QCOMPARE(ModalAnswerer::lastText(), QString("5 sequences are going to be downloaded\nShould we proceed?"));
        // The click has returned: a fetch it started would be a request the dialog holds.
        QVERIFY(!dialog->findChild<EN_Request *>());
        QCOMPARE(server.count(), 0);

        // Cancelling the folder chooser sends nothing either.
        ModalAnswerer::handle([](QWidget *modal) {
            ModalAnswerer::handle([](QWidget *next) { static_cast<QDialog *>(next)->reject(); });
            qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click();
        });
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        QVERIFY(!dialog->findChild<EN_Request *>());
        QCOMPARE(server.count(), 0);
    }

    void failedFetchIsToldAndWritesNothing()
    {
        QTemporaryDir folder;
        server.setReply(FakeEntrezServer::efetchPath, "LOCUS partial", 502);
        auto dialog = openDialog();
        fillResults(dialog.get());
        answerDownload(folder.path(), QMessageBox::Ok);
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        auto *label = child<QLabel>(dialog.get(), "labelprogress");
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString("Download failed"), 5000);
        QCOMPARE(ModalAnswerer::lastText(), QString("Error getting the data from Entrez Efetch\n"));
        QVERIFY(QDir(folder.path()).isEmpty());
        QVERIFY(dialog->downloadedFiles().isEmpty());
        QVERIFY(child<QWidget>(dialog.get(), "tab_3")->isEnabled());
    }

    void cancelledFetchWritesNothing()
    {
        QTemporaryDir folder;
        server.setReply(FakeEntrezServer::efetchPath, FakeEntrezServer::genbankRecord("AC_1", "one", "acgt"));
        server.setHeld(FakeEntrezServer::efetchPath, true);
        auto dialog = openDialog();
        fillResults(dialog.get());
        answerDownload(folder.path());
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        QVERIFY(server.waitForCount(1));
        QCOMPARE(child<QLabel>(dialog.get(), "labelprogress")->text(), QString("Starting donwload"));
        QVERIFY(!child<QWidget>(dialog.get(), "tab_3")->isEnabled());
        QVERIFY(!child<QWidget>(dialog.get(), "treeWidget")->isEnabled());
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttoncancelresults"), Qt::LeftButton);
        QCOMPARE(child<QLabel>(dialog.get(), "labelprogress")->text(), QString("Download cancelled"));
        QVERIFY(child<QWidget>(dialog.get(), "treeWidget")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(server.heldCount(), 0, 5000);
        server.release();
        QVERIFY(QDir(folder.path()).isEmpty());
        QVERIFY(dialog->isVisible());
    }

    void progressShowsWholeKilobytes()
    {
        auto dialog = openDialog();
        auto *label = child<QLabel>(dialog.get(), "labelprogress");
        const QList<QPair<int, QString>> cases = {{1023, " 0.00 Kilobytes downloaded"},
                                                  {1024, " 1.00 Kilobytes downloaded"},
                                                  {5000, " 4.00 Kilobytes downloaded"}};
        for (const auto &c : cases) {
            QVERIFY(QMetaObject::invokeMethod(dialog.get(), "slotFetchProgress", Q_ARG(int, c.first), Q_ARG(int, 0)));
            QCOMPARE(label->text(), c.second);
        }
    }

    void recordFilesAreNamedSafely()
    {
        QCOMPARE(GC_GenbankRecordWriter::definition("LOCUS x\nDEFINITION  Phage T7,\n            complete.\nACCESSION   x\n"),
                 QString("Phage T7, complete"));
        QCOMPARE(GC_GenbankRecordWriter::definition("LOCUS x\nACCESSION   x\n"), QString());
        QCOMPARE(GC_GenbankRecordWriter::safeFileName(".."), QString());
        QCOMPARE(GC_GenbankRecordWriter::safeFileName("..\\a/b:c*d?"), QString("_a_b_c_d_"));
        QCOMPARE(GC_GenbankRecordWriter::safeFileName("a..b...c"), QString("a.b.c"));
        QCOMPARE(GC_GenbankRecordWriter::safeFileName(QString(400, 'x')).size(), 150);

        // A folder that cannot be written: every record is reported, none listed.
        QTemporaryDir base;
        QFile blocker(base.filePath("notafolder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        GC_GenbankRecordWriter writer(base.filePath("notafolder"));
        const QStringList written = writer.writeRecords(
            QString::fromLatin1(FakeEntrezServer::genbankRecord("A", "one", "ac")
                                + "LOCUS nodefinition\nORIGIN\n//\n"));
        QVERIFY(written.isEmpty());
        QCOMPARE(writer.failures().size(), 2);
    }

    // ---- browse tab ---------------------------------------------------------

    void browseTabNeedsTheTaxonomyDatabase()
    {
        chromsDatabaseOpen = false;
        auto dialog = openDialog();
        chromsDatabaseOpen = true;
        auto *tabs = child<QTabWidget>(dialog.get(), "tabwidget");
        QVERIFY(!tabs->isTabEnabled(0));
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(!dialog->findChild<QTableWidget *>());
    }

    void browseTabListsAndAddsGenomes()
    {
        auto dialog = openDialog();
        QCOMPARE(child<QTabWidget>(dialog.get(), "tabwidget")->currentIndex(), 0);
        auto *box1 = child<QGroupBox>(dialog.get(), "box1");
        auto *box2 = child<QGroupBox>(dialog.get(), "box2");
        QVERIFY(box2->isHidden());
        auto *view = box1->findChild<QTreeView *>();
        QVERIFY(view);
        auto *table = box2->findChild<QTableWidget *>();
        QVERIFY(table);
        QVERIFY(table->isColumnHidden(0));

        QAbstractItemModel *model = view->model();
        const QModelIndex bacteria = model->index(0, 0);
        const QModelIndex proteobacteria = model->index(0, 0, bacteria);
        const QModelIndex coli = model->index(0, 0, proteobacteria);
        QCOMPARE(coli.data().toString(), QString("Escherichia coli"));
        view->expand(bacteria);
        view->expand(proteobacteria);
        auto click = [view](const QModelIndex &index) {
            view->scrollTo(index);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        };

        click(bacteria);  // no genome directly under it
        QVERIFY(box2->isHidden());

        click(coli);
        QVERIFY(!box2->isHidden());
        QCOMPARE(box2->minimumHeight(), box1->height() / 2);
        QCOMPARE(box2->maximumHeight(), 1600);
        QCOMPARE(table->rowCount(), 3);
        auto text = [table](int row, int column) { return table->item(row, column)->text(); };
        QCOMPARE(text(0, 0), QString("49175990"));
        QCOMPARE(text(0, 4), QString("4497"));
        QCOMPARE(text(1, 1), QString("NC_002695"));
        QCOMPARE(text(1, 4), QString("N/A"));  // 0 genes
        QCOMPARE(text(1, 5), QString("N/A"));  // NULL proteins
        QCOMPARE(table->item(1, 4)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(text(2, 1), QString("NC_002695"));  // same taxid: its first record again
        auto *add = qobject_cast<GC_PushButton_Custom *>(table->cellWidget(1, 6));
        QVERIFY(add);
        QCOMPARE(add->text(), QString("Add"));

        QTest::mouseClick(add, Qt::LeftButton);
        auto *added = qobject_cast<QLabel *>(table->cellWidget(1, 6));
        QVERIFY(added);
        QCOMPARE(added->text(), QString("Added"));
        QCOMPARE(table->currentRow(), 1);
        QCOMPARE(child<QTabWidget>(dialog.get(), "tabwidget")->tabBar()->tabTextColor(2), QColor(0, 0, 255));
        QCOMPARE(resultRows(dialog.get()),
                 QStringList{"15829254|NC_002695|Escherichia coli O157:H7 Sakai|5498450"});

        // Elsewhere and back: the added genome stays added.
        const QModelIndex viruses = model->index(1, 0);
        view->expand(viruses);
        const QModelIndex caudovirales = model->index(0, 0, viruses);
        click(caudovirales);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(text(0, 3), QString("0"));
        QCOMPARE(text(0, 4), QString("N/A"));
        QCOMPARE(text(0, 5), QString("73"));
        click(coli);
        QVERIFY(qobject_cast<GC_PushButton_Custom *>(table->cellWidget(0, 6)));
        QVERIFY(qobject_cast<QLabel *>(table->cellWidget(1, 6)));
        QVERIFY(qobject_cast<QLabel *>(table->cellWidget(2, 6)));

        // The added row downloads like a search result.
        QTemporaryDir folder;
        server.setReply(FakeEntrezServer::efetchPath,
                        FakeEntrezServer::genbankRecord("NC_002695", "Escherichia coli O157:H7 Sakai", "acgt"));
        answerDownload(folder.path());
        QTest::mouseClick(child<QPushButton>(dialog.get(), "buttondownload"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dialog->downloadedFiles().size(), 1, 5000);
        QCOMPARE(server.queriesFor(FakeEntrezServer::efetchPath).value(0).section('&', 1, 1),
                 QString("id=NC_002695"));
        QCOMPARE(QFileInfo(dialog->downloadedFiles().at(0)).fileName(),
                 QString("Escherichia coli O157_H7 Sakai.gb"));
    }

    void browseListingFailingPartwayListsNothing()
    {
        // A taxonomy whose genomes span pages, checked whole when opened;
        // then its last page of genomes goes bad on disk, and another
        // program's write makes the open connection read the file anew.
        TaxonomyDatabaseFixture failing;
        QVERIFY(failing.build());
        QVERIFY(failing.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                             "INSERT INTO chroms SELECT 900000 + i, 28883, i, 'NC_' || i, "
                             "printf('phage %0100d', i), 1000, 1, 1 FROM n"));
        QVERIFY(failing.open());
        QVERIFY(SqlitePageDamage::zeroLastPage(failing.path()));
        QVERIFY(failing.exec("INSERT INTO taxnames VALUES (999999, 'unlisted')"));

        auto dialog = openDialog();
        auto *view = child<QGroupBox>(dialog.get(), "box1")->findChild<QTreeView *>();
        const QModelIndex viruses = view->model()->index(1, 0);
        view->expand(viruses);
        const QModelIndex caudovirales = view->model()->index(0, 0, viruses);
        view->scrollTo(caudovirales);
        ModalAnswerer::clickButton(QMessageBox::Ok);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(caudovirales).center());
        QVERIFY(child<QGroupBox>(dialog.get(), "box2")->isHidden());
        QVERIFY2(ModalAnswerer::lastText().startsWith(
                     QString("The file \"%1\" is damaged and cannot be read.\nDetails: reading the chroms table: ")
                         .arg(failing.path())),
                 qPrintable(ModalAnswerer::lastText()));
        dialog.reset();
        failing.close();
        QVERIFY(taxonomy.open());
    }
};

KESTAL_TEST_MAIN(TestEntrezDialog)
#include "tst_entrezdialog.moc"
