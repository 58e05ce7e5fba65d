#include "kestal_test.h"
#include "modal_answerer.h"
#include "scene_fixture.h"
#include "signal_wait.h"
#include "test_data.h"

#include "gc_blasttoolpath.h"
#include "gc_chromsdatabase.h"
#include "gc_colorpicker.h"
#include "gc_coveragewidget.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_genomescene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomeview.h"
#include "gc_itempropertieswidget.h"
#include "gc_magicstylerwidget.h"
#include "gc_startup.h"
#include "gc_waitdialog.h"
#include "kestal_main.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QWizard>
#include <QRadioButton>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QDockWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <csignal>
#include <memory>

namespace {

// Answers the next modal file dialog with path (accepting it), or cancels it
// when path is empty; then runs next, if any, to answer what follows.
void answerFileDialog(const QString &path, std::function<void()> next = {})
{
    ModalAnswerer::handle([path, next](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            qWarning("expected a file dialog");
            modal->close();
            return;
        }
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
        }
        if (next)
            next();
    });
}

// The open wizard's steps for opening the one sequence file at path.
std::function<void(QWizard *)> openingOneSequenceFile(const QString &path)
{
    return [path](QWizard *wizard) {
        wizard->button(QWizard::NextButton)->click(); // Genbank and/or Fasta files
        answerFileDialog(path);
        wizard->findChild<QPushButton *>("buttonAddInputFiles")->click();
        wizard->button(QWizard::NextButton)->click(); // one file: no pairs to choose
        wizard->button(QWizard::FinishButton)->click();
    };
}

// Answers the next open wizard: steps drive it to its end (Finish or Cancel).
void answerOpenWizard(std::function<void(QWizard *)> steps)
{
    ModalAnswerer::handle([steps](QWidget *modal) {
        auto *wizard = qobject_cast<QWizard *>(modal);
        if (!wizard) {
            qWarning("expected the open wizard");
            modal->close();
            return;
        }
        steps(wizard);
    });
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QString("|") : action->text());
    return texts;
}

// How many connections leave one of an object's signals (a protected
// question of QObject, asked through a class derived from it).
struct SignalReceivers : QObject
{
    static int count(const QObject *sender, const char *signal)
    {
        return (sender->*&SignalReceivers::receivers)(signal);
    }
};

} // namespace

// The main window driven offscreen: menus, command states, modes, settings,
// and the file commands with their failure roads.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    template <typename T>
    static T *child(Kestal_Main &window, const char *name)
    {
        T *object = window.findChild<T *>(name);
        if (!object)
            qFatal("no child %s", name);
        return object;
    }

    static const QStringList &documentActions()
    {
        static const QStringList names{"saveAct", "saveAsAct", "closeAct", "exportAct",
                                       "fitToWholeViewAct", "fitProportionalAct",
                                       "controlPointsAct", "anotationsAct", "trimCanvasAct",
                                       "matchingsAct", "genesAct", "rulersAct", "labelsAct",
                                       "freeTextAct"};
        return names;
    }

    static const QStringList &modeButtons()
    {
        static const QStringList names{"cursorButton", "zoomInButton", "zoomOutButton",
                                       "deleteButton", "textButton"};
        return names;
    }

    // The one wait dialog in sight; null when there is none or more than one.
    static GC_WaitDialog *shownWaitDialog(Kestal_Main &window)
    {
        QList<GC_WaitDialog *> shown;
        for (GC_WaitDialog *dialog : window.findChildren<GC_WaitDialog *>()) {
            if (dialog->isVisible())
                shown << dialog;
        }
        return shown.size() == 1 ? shown.first() : nullptr;
    }

    // A document in the window without going through a loader.
    static void makeDocument(Kestal_Main &window)
    {
        window.genomeScene()->addFreeText(QPointF(20, 20));
        window.genomeScene()->setModified(false);
        window.slotFileOpenFinished(true);
    }

    // The folders of comparison databases in a temporary folder.
    static QStringList runFolders(const QString &temporaryFolder)
    {
        return QDir(temporaryFolder).entryList({"kestal-*"}, QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    static QByteArray fileContent(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    static QString writeScript(const QString &path, const QString &body)
    {
        if (!TestData::writeFile(path, "#!/bin/sh\n" + body.toUtf8()))
            qFatal("cannot write %s", qPrintable(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // Starts a copy of the program that compares the files as told (query
    // name, target name, files), with the home, temporary and settings
    // folders under root; ending is "quit" or "stay".
    static void startCopy(QProcess &copy, const QString &root, const QString &ending, const QString &blastn,
                          const QStringList &comparison)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *folder : {"home", "tmp", "config"}) {
            QDir().mkpath(root + "/" + folder);
        }
        environment.insert("HOME", root + "/home");
        environment.insert("TMPDIR", root + "/tmp");
        environment.insert("XDG_CONFIG_HOME", root + "/config");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        copy.setProcessEnvironment(environment);
        copy.start(KESTAL_COMPARISON_DRIVER, QStringList{ending, blastn} + comparison);
        if (!copy.waitForStarted(30000))
            qWarning("the copy of the program did not start: %s", qPrintable(copy.errorString()));
    }

    // What a copy of the program printed about the document it opened.
    static QStringList shownGenomes(QProcess &copy)
    {
        return QString::fromUtf8(copy.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void init()
    {
        QSettings().clear();
    }

    // ---- start-up ----------------------------------------------------------

    void startupSeedsOnlyMissingToolPaths()
    {
        QSettings settings;
        settings.setValue("blastnpath", "/opt/somewhere/blastn");
        const QStringList written = GC_Startup::seedToolPaths("/opt/kestal");
        QCOMPARE(written, (QStringList{"makeblastdbpath", "tblastnpath"}));
        QCOMPARE(settings.value("makeblastdbpath").toString(), QString("/opt/kestal/makeblastdb"));
        QCOMPARE(settings.value("tblastnpath").toString(), QString("/opt/kestal/tblastn"));
        QCOMPARE(settings.value("blastnpath").toString(), QString("/opt/somewhere/blastn"));
        // A second start writes nothing.
        QVERIFY(GC_Startup::seedToolPaths("/elsewhere").isEmpty());
        QCOMPARE(settings.value("makeblastdbpath").toString(), QString("/opt/kestal/makeblastdb"));
    }

    void seededPathsStillFindTheInstalledBlast()
    {
        // The seeded application-folder paths do not exist on a Debian
        // install; the programs on PATH are used instead.
        GC_Startup::seedToolPaths(QCoreApplication::applicationDirPath());
        const QString makeblastdb = GC_BlastToolPath::resolve("makeblastdbpath", "makeblastdb");
        const QString blastn = GC_BlastToolPath::resolve("blastnpath", "blastn");
        QVERIFY(QFileInfo(makeblastdb).isExecutable());
        QVERIFY(QFileInfo(blastn).isExecutable());
        QCOMPARE(QFileInfo(blastn).fileName(), QString("blastn"));
    }

    void startupWithoutDatabasesFolder()
    {
        QVERIFY(!QDir(QCoreApplication::applicationDirPath() + "/databases").exists());
        GC_Startup::openReferenceData();
        QVERIFY(!chromsDatabaseOpen);
        // A missing taxonomy database is not created empty.
        QVERIFY(!QFile::exists(chromsDatabasePath()));
        Kestal_Main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.genomeView()->isEnabled());
        QVERIFY(window.isEnabled());
    }

    void chromsDatabaseOpensAnExistingFile()
    {
        const QString path = QDir::tempPath() + "/chroms.sqlite3";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "make_chroms");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery(db).exec("CREATE TABLE t (x INTEGER)");
        }
        QSqlDatabase::removeDatabase("make_chroms");
        QVERIFY(openChromsDatabase(path));
        QVERIFY(chromsDatabaseOpen);
        QVERIFY(QSqlDatabase::database("chroms").isOpen());
        QVERIFY(!openChromsDatabase(path + ".missing"));
        QVERIFY(!chromsDatabaseOpen);
    }

    // ---- construction, menus, commands ------------------------------------

    void iconsOfTheWindowLoad()
    {
        for (const char *icon : {":/icons/open.png", ":/icons/icon_save.svg", ":/icons/cursor.png",
                                 ":/icons/zoom_in24.png", ":/icons/deletered24.png",
                                 ":/icons/kestal-icon.png", ":/icons/icon_wait.svg",
                                 ":/icons/silva_logo.png", ":/icons/exit.png"}) {
            QVERIFY2(!QPixmap(icon).isNull(), icon);
        }
    }

    void menusAndToolBars()
    {
        Kestal_Main window;
        const QList<QAction *> menus = window.menuBar()->actions();
        QStringList titles;
        for (const QAction *menu : menus)
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&View", "&Tools", "&Help"}));
        QCOMPARE(actionTexts(child<QMenu>(window, "fileMenu")),
                 (QStringList{"&Open...", "|", "&Export", "|", "&Save", "Save &As...", "|", "&Close",
                              "E&xit"}));
        QCOMPARE(actionTexts(child<QMenu>(window, "viewMenu")),
                 (QStringList{"&Fit to whole view", "&Fit proportional", "|", "&Control Points",
                              "&Anotations", "&Matchings", "&Genes", "&Rulers", "&Labels",
                              "&Free text", "|", "Style tool"}));
        QCOMPARE(actionTexts(child<QMenu>(window, "toolsMenu")),
                 QStringList{"Genbank Entrez Downloader"});
        QCOMPARE(actionTexts(child<QMenu>(window, "helpMenu")), QStringList{"About"});
        QCOMPARE(child<QAction>(window, "exitAct")->shortcut(), QKeySequence("Ctrl+Q"));

        auto *fileBar = child<QToolBar>(window, "toolbarFile");
        QCOMPARE(fileBar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(fileBar->actions().size(), 3);
        auto *viewBar = child<QToolBar>(window, "toolbarView");
        QCOMPARE(viewBar->actions().size(), 17);
        QVERIFY(viewBar->actions().contains(child<QAction>(window, "trimCanvasAct")));
        QVERIFY(window.findChild<QDockWidget *>("dockProperties"));
        QVERIFY(window.findChild<QDockWidget *>("dockCoverage"));
        QVERIFY(child<QDockWidget>(window, "dockStyleTool")->isHidden());
        QCOMPARE(window.windowTitle(), QString("Kestal"));
        QCOMPARE(child<QAction>(window, "matchingsAct")->isChecked(), true);
        QCOMPARE(child<QAction>(window, "anotationsAct")->isChecked(), false);
    }

    void documentCommandsFollowTheDocument()
    {
        Kestal_Main window;
        window.show();
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("Welcome to Kestal, an interactive genomic comparison tool."));
        for (const QString &name : documentActions())
            QVERIFY2(!child<QAction>(window, qPrintable(name))->isEnabled(), qPrintable(name));
        for (const QString &name : modeButtons())
            QVERIFY2(!child<QToolButton>(window, qPrintable(name))->isEnabled(), qPrintable(name));
        QVERIFY(!child<QDoubleSpinBox>(window, "bitScoreSpinBox")->isEnabled());
        QVERIFY(!window.genomeView()->isEnabled());
        for (const char *name : {"openAct", "exitAct", "aboutAct"})
            QVERIFY2(child<QAction>(window, name)->isEnabled(), name);

        makeDocument(window);
        for (const QString &name : documentActions())
            QVERIFY2(child<QAction>(window, qPrintable(name))->isEnabled(), qPrintable(name));
        for (const QString &name : modeButtons())
            QVERIFY2(child<QToolButton>(window, qPrintable(name))->isEnabled(), qPrintable(name));
        QVERIFY(child<QDoubleSpinBox>(window, "bitScoreSpinBox")->isEnabled());
        QVERIFY(window.genomeView()->isEnabled());
        // Their dialogs are not part of the program yet.
        for (const char *name : {"matchSeqButton", "cogButton", "rfamButton", "silvaButton"})
            QVERIFY2(child<QToolButton>(window, name)->isEnabled(), name);
        QVERIFY(child<QAction>(window, "entrezAct")->isEnabled());

        QVERIFY(window.slotFileClose());
        QVERIFY(window.genomeScene()->freeTexts().isEmpty());
        for (const QString &name : documentActions())
            QVERIFY2(!child<QAction>(window, qPrintable(name))->isEnabled(), qPrintable(name));
        QVERIFY(!window.genomeView()->isEnabled());
    }

    // The panel's genome and its left-out genomes belong to the document:
    // ids start again in the next one, and would name other genomes there.
    void closingEmptiesTheCoveragePanel()
    {
        Kestal_Main window;
        GC_GenomeScene *scene = window.genomeScene();
        const auto compare = [scene, &window] {
            GC_Genome *top = SceneFixture::genomeWithSequence(3000, "top", 3);
            GC_Genome *low = SceneFixture::genomeWithSequence(3000, "low", 4);
            SceneFixture::addGene(top, 200, 500);
            SceneFixture::addGene(top, 900, 1200);
            scene->addItem(top);
            scene->addItem(low);
            scene->insertTopGenome(top);
            scene->insertLowGenome(low);
            scene->addMatching(top, low, 100, 1500, 100, 1500, 98.0, 2000.0);
            makeDocument(window);
            emit scene->coverageRequested(top);
        };
        compare();
        GC_Genome *top = scene->topGenomes().first();
        GC_Genome *low = scene->lowGenomes().first();
        auto *coverage = child<GC_CoverageWidget>(window, "GC_CoverageWidget");
        auto *rows = coverage->findChild<QTreeWidget *>("treeWidget");
        auto *count = coverage->findChild<QLabel *>("label");
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(count->text(), QString("2 matched genes"));

        // The low genome left out in the options: nothing covers the genes,
        // also after the panel looked at another genome of the document.
        ModalAnswerer::handle([](QWidget *options) {
            auto *included = options->findChild<QListWidget *>("includedgenomeslist");
            QCOMPARE(included->count(), 1);
            included->item(0)->setSelected(true);
            options->findChild<QPushButton *>("buttonremove")->click();
            options->findChild<QPushButton *>("pushButton")->click();
        });
        coverage->findChild<QPushButton *>("buttonoptions")->click();
        QCOMPARE(coverage->getExcludedGenomes(), QSet<int>({low->getId()}));
        QCOMPARE(count->text(), QString("0 matched genes"));
        emit scene->coverageRequested(low);
        emit scene->coverageRequested(top);
        QCOMPARE(coverage->getExcludedGenomes(), QSet<int>({low->getId()}));
        QCOMPARE(count->text(), QString("0 matched genes"));

        scene->setModified(false);
        QVERIFY(window.slotFileClose());
        QVERIFY(!coverage->isEnabled());
        QVERIFY(coverage->getGenome() == nullptr);
        QCOMPARE(rows->topLevelItemCount(), 0);
        QCOMPARE(count->text(), QString("0 genes"));
        QVERIFY(coverage->getExcludedGenomes().isEmpty());

        // The same comparison again, with the same ids: nothing is left out.
        compare();
        QCOMPARE(count->text(), QString("2 matched genes"));
    }

    void propertyPanelIsJoinedToTheSceneOnce()
    {
        auto window = std::make_unique<Kestal_Main>();
        GC_GenomeScene *scene = window->genomeScene();
        auto *panel = child<GC_ItemPropertiesWidget>(*window, "GC_ItemPropertiesWidget");
        const char *selection = SIGNAL(selectionChanged());
        const char *changes = SIGNAL(changedItem());
        const int selectionReceivers = SignalReceivers::count(scene, selection);
        const int changeReceivers = SignalReceivers::count(scene, changes);
        panel->setScene(nullptr);
        QCOMPARE(SignalReceivers::count(scene, selection), selectionReceivers - 1);
        QCOMPARE(SignalReceivers::count(scene, changes), changeReceivers - 1);
        panel->setScene(scene);
        QCOMPARE(SignalReceivers::count(scene, selection), selectionReceivers);

        // Shut down while the panel shows an item: the scene goes before the
        // panel, and its base class drops the selection on the way.
        makeDocument(*window);
        scene->freeTexts().first()->setSelected(true);
        QTRY_VERIFY(panel->shownItem());
        window.reset();
    }

    void modeButtonsAreExclusive()
    {
        Kestal_Main window;
        makeDocument(window);
        GC_GenomeScene *scene = window.genomeScene();
        auto *cursor = child<QToolButton>(window, "cursorButton");
        auto *zoomIn = child<QToolButton>(window, "zoomInButton");
        auto *remove = child<QToolButton>(window, "deleteButton");
        QVERIFY(cursor->isChecked());

        // Clicking the checked button leaves none checked and the mode alone.
        QTest::mouseClick(cursor, Qt::LeftButton);
        for (const QString &name : modeButtons())
            QVERIFY(!child<QToolButton>(window, qPrintable(name))->isChecked());
        QCOMPARE(scene->mode(), int(GC_GenomeScene::ModeSelect));

        QTest::mouseClick(zoomIn, Qt::LeftButton);
        QCOMPARE(scene->mode(), int(GC_GenomeScene::ModeZoomIn));
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(scene->mode(), int(GC_GenomeScene::ModeDelete));
        for (const QString &name : modeButtons())
            QCOMPARE(child<QToolButton>(window, qPrintable(name))->isChecked(), name == "deleteButton");
        QCOMPARE(window.genomeView()->cursor().shape(), Qt::BitmapCursor);

        QTest::mouseClick(cursor, Qt::LeftButton);
        QCOMPARE(scene->mode(), int(GC_GenomeScene::ModeSelect));
        QCOMPARE(window.genomeView()->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!remove->isChecked());
    }

    void viewSwitchesReachTheScene()
    {
        Kestal_Main window;
        makeDocument(window);
        GC_GenomeScene *scene = window.genomeScene();
        child<QAction>(window, "rulersAct")->trigger();
        QVERIFY(!scene->showRulers());
        child<QAction>(window, "matchingsAct")->setChecked(false);
        QVERIFY(!scene->showMatchings());
        // The triggered() switches do not follow a check set by the program.
        child<QAction>(window, "genesAct")->setChecked(false);
        QVERIFY(scene->showGenes());
    }

    void addedAnotationShowsAnotationsAndControlPoints()
    {
        Kestal_Main window;
        GC_GenomeScene *scene = window.genomeScene();
        scene->slotViewAnotations(false);
        emit scene->anotationAdded();
        QVERIFY(child<QAction>(window, "anotationsAct")->isChecked());
        QVERIFY(child<QAction>(window, "controlPointsAct")->isChecked());
        QVERIFY(scene->showAnotations());
        QVERIFY(scene->showControlPoints());
    }

    void missingTaxonomyDatabaseIsReportedByTheDownloader()
    {
        chromsDatabaseOpen = false;
        Kestal_Main window;
        QString boxText;
        QString dialogClass;
        // First the message box, then the download dialog itself.
        ModalAnswerer::handle([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                boxText = box->text();
            ModalAnswerer::handle([&](QWidget *dialog) {
                dialogClass = dialog->metaObject()->className();
                static_cast<QDialog *>(dialog)->reject();
            });
            static_cast<QDialog *>(modal)->accept();
        });
        window.slotUtilitiesGenbankEntrezDownloader();
        QCOMPARE(boxText, QString("Unable to open chroms database\nBrowsing will be disable"));
        QCOMPARE(dialogClass, QString("GC_DownloadGenbankEntrezDialog"));
    }

    void aboutNamesTheProgram()
    {
        Kestal_Main window;
        ModalAnswerer::handle([](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QString("About Kestal"));
            QVERIFY(box->text().startsWith("<h2>Kestal</h2>"));
            QVERIFY(box->text().contains("Interactive software for comparative genomics."));
            box->accept();
        });
        child<QAction>(window, "aboutAct")->trigger();
    }

    // ---- settings ----------------------------------------------------------

    void firstStartPlacementAndThreshold()
    {
        Kestal_Main window;
        QCOMPARE(window.pos(), QPoint(100, 50));
        QCOMPARE(window.size(), QSize(1024, 768));
        QCOMPARE(child<QDoubleSpinBox>(window, "bitScoreSpinBox")->value(), 50.0);
        QCOMPARE(child<QDoubleSpinBox>(window, "bitScoreSpinBox")->singleStep(), 10.0);
        QCOMPARE(window.genomeScene()->matchingsBitScore(), 50.0);
        QCOMPARE(child<GC_CoverageWidget>(window, "GC_CoverageWidget")->getBitScore(), 50.0);
    }

    void storedScoreIsRestored()
    {
        QSettings().setValue("lastScore", 120.0);
        Kestal_Main window;
        QCOMPARE(child<QDoubleSpinBox>(window, "bitScoreSpinBox")->value(), 120.0);
        QCOMPARE(window.genomeScene()->matchingsBitScore(), 120.0);
        QCOMPARE(child<GC_CoverageWidget>(window, "GC_CoverageWidget")->getBitScore(), 120.0);
    }

    void coverageThresholdReachesSpinBoxAndScene()
    {
        Kestal_Main window;
        auto *coverage = child<GC_CoverageWidget>(window, "GC_CoverageWidget");
        QCOMPARE(coverage->parentWidget(), child<QDockWidget>(window, "dockCoverage"));
        emit coverage->bitScoreChanged(230.0);
        QCOMPARE(child<QDoubleSpinBox>(window, "bitScoreSpinBox")->value(), 230.0);
        QCOMPARE(window.genomeScene()->matchingsBitScore(), 230.0);
    }

    void settingsAreWrittenOnCloseAndReadBack()
    {
        {
            Kestal_Main window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.resize(900, 700);
            child<QDoubleSpinBox>(window, "bitScoreSpinBox")->setValue(75.5);
            child<QDockWidget>(window, "dockCoverage")->hide();
            child<QAction>(window, "styleToolAct")->trigger();
            QVERIFY(child<QDockWidget>(window, "dockStyleTool")->isVisible());
            QVERIFY(window.close());
        }
        QSettings settings;
        QVERIFY(settings.contains("kestal_main_geometry"));
        QVERIFY(settings.contains("kestal_main_state"));
        QCOMPARE(settings.value("lastScore").toDouble(), 75.5);
        QVERIFY(settings.contains("cogGroupColor,J"));

        Kestal_Main again;
        QCOMPARE(again.size(), QSize(900, 700));
        QCOMPARE(child<QDoubleSpinBox>(again, "bitScoreSpinBox")->value(), 75.5);
        QVERIFY(child<QDockWidget>(again, "dockCoverage")->isHidden());
        QVERIFY(!child<QDockWidget>(again, "dockStyleTool")->isHidden());
    }

    void cancelledCloseKeepsWindowAndWritesNothing_data()
    {
        QTest::addColumn<bool>("typing");
        QTest::newRow("changed") << false;
        // A value typed into the property panel and not yet finished is a
        // change like any other.
        QTest::newRow("a value still being typed") << true;
    }

    void cancelledCloseKeepsWindowAndWritesNothing()
    {
        QFETCH(bool, typing);
        Kestal_Main window;
        window.show();
        makeDocument(window);
        GC_FreeText *text = window.genomeScene()->freeTexts().first();
        if (typing) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            text->setSelected(true);
            auto *tree = child<GC_ItemPropertiesWidget>(window, "GC_ItemPropertiesWidget")->findChild<QTreeWidget *>();
            QTRY_COMPARE(tree->findItems("X", Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
            auto *x = qobject_cast<QDoubleSpinBox *>(
                tree->itemWidget(tree->findItems("X", Qt::MatchExactly | Qt::MatchRecursive).first(), 1));
            QVERIFY(x);
            x->setFocus();
            QTRY_VERIFY(x->hasFocus());
            x->selectAll();
            QTest::keyClicks(x->findChild<QLineEdit *>(), "55");
        } else {
            window.genomeScene()->setModified(true);
        }
        ModalAnswerer::clickButton(QMessageBox::Cancel);
        QVERIFY(!window.close());
        QCOMPARE(ModalAnswerer::lastText(),
                 QString("Your data has unsaved changes. Do you want to save it now?"));
        QVERIFY(window.isVisible());
        QCOMPARE(window.genomeScene()->freeTexts().size(), 1);
        QVERIFY(!QSettings().contains("lastScore"));
        QCOMPARE(text->x() == 55.0, typing);
        window.genomeScene()->setModified(false);
    }

    void answeringNoClosesWithoutSaving()
    {
        Kestal_Main window;
        makeDocument(window);
        window.genomeScene()->setModified(true);
        ModalAnswerer::clickButton(QMessageBox::No);
        QVERIFY(window.slotFileClose());
        QVERIFY(window.genomeScene()->freeTexts().isEmpty());
        QVERIFY(!child<QAction>(window, "saveAct")->isEnabled());
    }

    // ---- file commands -----------------------------------------------------

    void cancelledSaveAsSavesNothing()
    {
        Kestal_Main window;
        window.show();
        makeDocument(window);
        answerFileDialog(QString());
        QVERIFY(!window.slotFileSaveAs());
        QVERIFY(window.genomeScene()->fileName().isEmpty());
        QVERIFY(!QSettings().contains("lastDirSave"));
    }

    void saveIntoUnwritableFolderKeepsTheDocument()
    {
        Kestal_Main window;
        window.show();
        makeDocument(window);
        window.genomeScene()->setModified(true);
        window.genomeScene()->setFileName("/no/such/folder/kept.kcv");
        QSignalSpy saved(&window, &Kestal_Main::saveFinished);
        ModalAnswerer::clickButton(QMessageBox::Ok);
        QVERIFY(window.slotFileSave());
        QVERIFY(waitForSignal(saved, 30000));
        QCOMPARE(saved.first().at(0).toBool(), false);
        QVERIFY2(ModalAnswerer::lastText().contains("could not be saved"),
                 qPrintable(ModalAnswerer::lastText()));
        QVERIFY(window.isEnabled());
        QVERIFY(window.genomeScene()->isModified());
        QCOMPARE(window.genomeScene()->freeTexts().size(), 1);
        QVERIFY(!QFile::exists("/no/such/folder/kept.kcv"));
        window.genomeScene()->setModified(false);
    }

    void failedSaveAsGivesTheOldNameBack()
    {
        Kestal_Main window;
        window.show();
        makeDocument(window);
        window.genomeScene()->setFileName(QDir::tempPath() + "/old.kcv");
        QSignalSpy saved(&window, &Kestal_Main::saveFinished);
        answerFileDialog("/no/such/folder/new", [] { ModalAnswerer::clickButton(QMessageBox::Ok); });
        QVERIFY(window.slotFileSaveAs());
        QVERIFY(waitForSignal(saved, 30000));
        QCOMPARE(saved.first().at(0).toBool(), false);
        QCOMPARE(window.genomeScene()->fileName(), QDir::tempPath() + "/old.kcv");
        QVERIFY(!QFile::exists("/no/such/folder/new.kcv"));
    }

    void closeThatAnswersSaveStopsWhenTheSaveFails()
    {
        Kestal_Main window;
        window.show();
        makeDocument(window);
        window.genomeScene()->setModified(true);
        window.genomeScene()->setFileName("/no/such/folder/close.kcv");
        // Save in the question, then OK on the failure box.
        ModalAnswerer::handle([](QWidget *modal) {
            qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Save)->click();
            ModalAnswerer::clickButton(QMessageBox::Ok);
        });
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(window.genomeScene()->freeTexts().size(), 1);
        QVERIFY(window.genomeScene()->isModified());
        QVERIFY(!QSettings().contains("lastScore"));
        window.genomeScene()->setModified(false);
    }

    void saveAsNamesTheFileAndRemembersIt()
    {
        const QString folder = QDir::tempPath() + "/saveas";
        QDir().mkpath(folder);
        const struct
        {
            QString typed, written;
        } cases[] = {{"results", "results.kcv"},
                     {"named.kcv", "named.kcv"},
                     {"SHOUT.KCV", "SHOUT.KCV.kcv"}};
        for (const auto &c : cases) {
            Kestal_Main window;
            window.show();
            makeDocument(window);
            QSignalSpy saved(&window, &Kestal_Main::saveFinished);
            answerFileDialog(folder + "/" + c.typed);
            QVERIFY(window.slotFileSaveAs());
            QVERIFY(waitForSignal(saved, 30000));
            QCOMPARE(saved.first().at(0).toBool(), true);
            const QString written = folder + "/" + c.written;
            QCOMPARE(window.genomeScene()->fileName(), written);
            QCOMPARE(QSettings().value("lastDirSave").toString(), written);
            QCOMPARE(GC_FileUtils::filetype(written), FILETYPE_CANVAS);
            QVERIFY(window.isEnabled());
        }
    }

    // Compares two small sequences through the window; answers the opening.
    static bool openComparison(Kestal_Main &window)
    {
        Kestal_Main::OpenRequest request;
        request.fileType = FILETYPE_GENBANK_FASTA;
        const QByteArray dna = TestData::randomDna(3000, 17);
        request.fastaSequences = {{"left", QString(dna)}, {"right", QString(dna.mid(400, 1800))}};
        request.pairs = {{"left", "right"}};
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        window.startOpening(request);
        GC_WaitDialog *wait = shownWaitDialog(window);
        if (!wait || wait->label() != "Executing BLAST, please wait...")
            return false;
        return waitForSignal(opened, 120000) && opened.size() == 1 && opened.first().at(0).toBool();
    }

    void comparisonIsFittedAndACanvasKeepsItsLayout()
    {
        const QString path = QDir::tempPath() + "/layout.kcv";
        Kestal_Main window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(openComparison(window));
        GC_GenomeScene *scene = window.genomeScene();
        // Fitted to the view: each row's one genome spans the width between margins.
        const double width = window.genomeView()->viewport()->width() - 2.0 * scene->margin();
        for (GC_Genome *genome : scene->genomes()) {
            QVERIFY2(qAbs(genome->getArrowEndX() - width) < 1.0,
                     qPrintable(QString("%1 vs %2").arg(genome->getArrowEndX()).arg(width)));
        }

        GC_Genome *first = scene->genomes().first();
        first->setPixPerNuc(0.05);
        scene->setFileName(path);
        QSignalSpy saved(&window, &Kestal_Main::saveFinished);
        QVERIFY(window.slotFileSave());
        QVERIFY(waitForSignal(saved, 30000));
        QVERIFY(!window.genomeScene()->isModified()); // so Close asks nothing
        QVERIFY(window.slotFileClose());

        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        window.openFile(path);
        QVERIFY(waitForSignal(opened, 30000));
        QCOMPARE(scene->genomes().first()->getPixPerNuc(), 0.05);
    }

    // The bundled example opens at its top left, its top row's name, ruler
    // and genes in sight.
    void openedCanvasShowsItsTopLeft()
    {
        Kestal_Main window;
        window.resize(900, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        window.openFile(kestalTestDataPath("../../examples/phages.kcv"));
        QVERIFY(waitForSignal(opened, 60000));
        QVERIFY(opened.first().at(0).toBool());
        const QPointF corner = window.genomeScene()->sceneRect().topLeft();
        QTRY_VERIFY((window.genomeView()->mapToScene(QPoint(0, 0)) - corner).manhattanLength() < 1.0);
    }

    void cogDialogSearchSelectsTheChosenGenomeAlone()
    {
        Kestal_Main window;
        window.show();
        QVERIFY(openComparison(window));
        GC_GenomeScene *scene = window.genomeScene();
        const QList<GC_Genome *> genomes = scene->genomes();
        QCOMPARE(genomes.size(), 2);
        genomes.at(0)->setSelected(true);

        QString searchDialog;
        QList<QGraphicsItem *> selectedAtSearch;
        ModalAnswerer::handle([&](QWidget *modal) {
            auto *combo = modal->findChild<QComboBox *>("genomesCombo");
            QVERIFY(combo);
            combo->setCurrentIndex(1);
            emit combo->activated(1);
            QCOMPARE(modal->findChild<QComboBox *>("actionsCombo")->currentText(), QString("Search now"));
            ModalAnswerer::handle([&](QWidget *search) {
                searchDialog = search->metaObject()->className();
                selectedAtSearch = scene->selectedItems();
                qobject_cast<QDialog *>(search)->reject();
            });
            qobject_cast<QDialog *>(modal)->accept();
        });
        QTest::mouseClick(child<QToolButton>(window, "cogButton"), Qt::LeftButton);
        QTRY_VERIFY(!searchDialog.isEmpty());
        QCOMPARE(searchDialog, QString("GC_COGTblastn_dialog"));
        QCOMPARE(selectedAtSearch, QList<QGraphicsItem *>{genomes.at(1)});
        scene->setModified(false);
    }

    void rejectedRfamDialogChangesNothing()
    {
        Kestal_Main window;
        window.show();
        QVERIFY(openComparison(window));
        GC_GenomeScene *scene = window.genomeScene();
        scene->genomes().at(0)->setSelected(true);
        QString answered;
        ModalAnswerer::handle([&answered](QWidget *modal) {
            answered = modal->metaObject()->className();
            qobject_cast<QDialog *>(modal)->reject();
        });
        QTest::mouseClick(child<QToolButton>(window, "rfamButton"), Qt::LeftButton);
        QCOMPARE(answered, QString("GC_RfamDialog"));
        QCOMPARE(scene->selectedItems(), QList<QGraphicsItem *>{scene->genomes().at(0)});
        scene->setModified(false);
    }

    void propertyPanelSitsInItsDock()
    {
        Kestal_Main window;
        auto *panel = window.findChild<GC_ItemPropertiesWidget *>();
        QVERIFY(panel);
        QCOMPARE(child<QDockWidget>(window, "dockProperties")->widget(), panel);
    }

    // The View menu shows the style tool beside the property panel; applied
    // to the selected matchings, its reverse colour reaches the inverted
    // bands only.
    void styleToolDockColoursTheInvertedMatchings()
    {
        Kestal_Main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *dock = child<QDockWidget>(window, "dockStyleTool");
        auto *tool = window.findChild<GC_MagicStylerWidget *>();
        QCOMPARE(dock->widget(), tool);
        QVERIFY(!tool->isEnabled());

        GC_GenomeScene *scene = window.genomeScene();
        GC_Genome *top = SceneFixture::genomeWithSequence(1000, "alpha", 1);
        GC_Genome *low = SceneFixture::genomeWithSequence(1000, "gamma", 2);
        for (GC_Genome *genome : {top, low}) {
            scene->addItem(genome);
            genome->updateChildren();
        }
        scene->insertTopGenome(top);
        scene->insertLowGenome(low);
        low->setPos(0, 200);
        scene->addMatching(top, low, 301, 400, 301, 400, 90.0, 200.0);
        scene->addMatching(top, low, 801, 900, 100, 1, 90.0, 150.0);
        scene->addMatching(top, low, 1, 60, 900, 960, 90.0, 150.0);
        scene->addMatching(top, low, 500, 560, 700, 640, 90.0, 150.0);
        scene->setModified(false);
        window.slotFileOpenFinished(true);
        QVERIFY(tool->isEnabled());

        child<QAction>(window, "styleToolAct")->trigger();
        QVERIFY(dock->isVisible());
        QCOMPARE(window.tabifiedDockWidgets(dock),
                 QList<QDockWidget *>{child<QDockWidget>(window, "dockProperties")});
        // In front of the tab it shares, not behind the property panel.
        QTRY_VERIFY(!dock->visibleRegion().isEmpty());
        QVERIFY(child<QDockWidget>(window, "dockProperties")->visibleRegion().isEmpty());
        QHash<GC_GenomeMatching *, QColor> before;
        for (GC_GenomeMatching *matching : scene->matchings()) {
            matching->setSelected(true);
            before.insert(matching, matching->color());
        }

        auto *tree = tool->findChild<QTreeWidget *>("treeWidget");
        const QList<QTreeWidgetItem *> rows =
            tree->findItems("Reverse color", Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(rows.size(), 1);
        qobject_cast<GC_ColorPicker *>(tree->itemWidget(rows.first(), 2))->setColor(Qt::darkRed);
        auto *apply = qobject_cast<QCheckBox *>(tree->itemWidget(rows.first(), 1));
        tree->scrollToItem(rows.first());
        QTest::mouseClick(apply, Qt::LeftButton, {}, QPoint(6, apply->height() / 2));
        QVERIFY(apply->isChecked());
        QTest::mouseClick(tool->findChild<QPushButton *>("buttonApply"), Qt::LeftButton);

        int inverted = 0;
        for (GC_GenomeMatching *matching : scene->matchings()) {
            if (matching->isDirect()) {
                QCOMPARE(matching->color(), before.value(matching));
            } else {
                QCOMPARE(matching->color(), QColor(Qt::darkRed));
                ++inverted;
            }
        }
        QCOMPARE(inverted, 2);
        QVERIFY(scene->isModified());
        scene->setModified(false);
    }

    void closeThatSavesLeavesACanvasThatOpensAgain()
    {
        const QString path = QDir::tempPath() + "/closed.kcv";
        Kestal_Main window;
        window.show();
        QVERIFY(openComparison(window));
        QCOMPARE(window.genomeScene()->genomes().size(), 2);
        const int matchings = window.genomeScene()->countMatchings();
        QVERIFY(matchings > 0);
        QVERIFY(child<QAction>(window, "saveAct")->isEnabled());
        window.genomeScene()->addFreeText(QPointF(5, 5));
        QVERIFY(window.genomeScene()->isModified());

        // Save in the question; the document has no name yet, so Save As asks.
        ModalAnswerer::handle([path](QWidget *modal) {
            qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Save)->click();
            answerFileDialog(path);
        });
        QVERIFY(window.slotFileClose());
        QVERIFY(window.genomeScene()->genomes().isEmpty());
        QCOMPARE(GC_FileUtils::filetype(path), FILETYPE_CANVAS);
        QCOMPARE(shownWaitDialog(window), nullptr);

        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        window.openFile(path);
        GC_WaitDialog *wait = shownWaitDialog(window);
        QVERIFY(wait);
        QCOMPARE(wait->label(), QString("Opening Kestal Canvas file..."));
        QPointer<GC_WaitDialog> waitPointer(wait);
        QVERIFY(waitForSignal(opened, 60000));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(0).toBool(), true);
        QTRY_VERIFY(waitPointer.isNull());
        QCOMPARE(window.genomeScene()->genomes().size(), 2);
        QCOMPARE(window.genomeScene()->countMatchings(), matchings);
        QCOMPARE(window.genomeScene()->freeTexts().size(), 1);
        QCOMPARE(window.genomeScene()->fileName(), path);
        QVERIFY(!window.genomeScene()->isModified());

        // A canvas saves back to its file without asking.
        window.genomeScene()->addFreeText(QPointF(50, 50));
        QSignalSpy saved(&window, &Kestal_Main::saveFinished);
        QVERIFY(window.slotFileSave());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(waitForSignal(saved, 30000));
        QCOMPARE(saved.first().at(0).toBool(), true);
        QVERIFY(!window.genomeScene()->isModified());
        QVERIFY(window.close());
    }

    void exitThatSavesWaitsForTheSave()
    {
        const QString path = QDir::tempPath() + "/exit.kcv";
        Kestal_Main window;
        window.show();
        QVERIFY(openComparison(window));
        window.genomeScene()->setFileName(path);
        window.genomeScene()->addFreeText(QPointF(5, 5));
        ModalAnswerer::clickButton(QMessageBox::Save);
        child<QAction>(window, "exitAct")->trigger();
        QVERIFY(!window.isVisible());
        QCOMPARE(GC_FileUtils::filetype(path), FILETYPE_CANVAS);
        QVERIFY(QSettings().contains("lastScore"));
    }

    void failedOpeningShowsTheReason()
    {
        Kestal_Main window;
        window.show();
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        ModalAnswerer::clickButton(QMessageBox::Ok);
        window.openFile("/no/such/folder/missing.kcv");
        QVERIFY(!window.isEnabled());
        QVERIFY(waitForSignal(opened, 30000));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(0).toBool(), false);
        QVERIFY2(ModalAnswerer::lastText().contains("/no/such/folder/missing.kcv"),
                 qPrintable(ModalAnswerer::lastText()));
        QVERIFY(window.isEnabled());
        QVERIFY(!child<QAction>(window, "saveAct")->isEnabled());

        // A Genbank file given as a canvas is named as what it is, with the
        // way such files are opened.
        const QString genbank = kestalTestDataPath("MH816966.1.gbk");
        ModalAnswerer::clickButton(QMessageBox::Ok);
        window.openFile(genbank);
        QVERIFY(waitForSignal(opened, 30000, 2));
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.last().at(0).toBool(), false);
        QCOMPARE(ModalAnswerer::lastText(),
                 QString("The file could not be opened.\n\nFile \"%1\" is a Genbank file, not a Kestal Canvas "
                         "file: sequence files are compared through File > Open")
                     .arg(genbank));
        QVERIFY(window.isEnabled());
        QVERIFY(!child<QAction>(window, "saveAct")->isEnabled());
    }

    void openCommandReadsASequenceFile()
    {
        const QString path = QDir::tempPath() + "/lonely.fasta";
        QVERIFY(TestData::writeFile(path, ">lonely\n" + TestData::randomDna(1500, 9) + "\n"));
        Kestal_Main window;
        window.show();
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        answerOpenWizard(openingOneSequenceFile(path));
        window.slotFileOpen();
        GC_WaitDialog *wait = shownWaitDialog(window);
        QVERIFY(wait);
        QCOMPARE(wait->label(), QString("Opening file..."));
        QVERIFY(!window.isEnabled());
        QVERIFY(waitForSignal(opened, 60000));
        QCOMPARE(opened.first().at(0).toBool(), true);
        QCOMPARE(window.genomeScene()->genomes().size(), 1);
        QVERIFY(window.genomeScene()->fileName().isEmpty());
        QVERIFY(child<QAction>(window, "saveAct")->isEnabled());
        QVERIFY(window.isEnabled());
    }

    void cancelledOpenAfterACloseLeavesNoDocument()
    {
        Kestal_Main window;
        window.show();
        makeDocument(window);
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        answerOpenWizard([](QWizard *wizard) { wizard->button(QWizard::CancelButton)->click(); });
        window.slotFileOpen();
        QVERIFY(opened.isEmpty());
        QVERIFY(window.genomeScene()->freeTexts().isEmpty());
        QVERIFY(!child<QAction>(window, "saveAct")->isEnabled());
        QVERIFY(window.isEnabled());
        QVERIFY(!window.isBusy());
    }

    void openingAFileOfNoKnownKindSaysSo()
    {
        const QString path = QDir::tempPath() + "/notes.txt";
        QVERIFY(TestData::writeFile(path, "just some words\nand more\n"));
        Kestal_Main window;
        window.show();
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        // The wizard asks for a canvas, refuses the file on its page and is
        // cancelled.
        QString refusal;
        answerOpenWizard([path, &refusal](QWizard *wizard) {
            wizard->findChild<QRadioButton *>("radioKestalCanvas")->setChecked(true);
            wizard->button(QWizard::NextButton)->click();
            answerFileDialog(path);
            wizard->findChild<QPushButton *>("buttonBrowseInputFile")->click();
            ModalAnswerer::clickButton(QMessageBox::Ok);
            wizard->button(QWizard::NextButton)->click();
            refusal = ModalAnswerer::lastText();
            wizard->button(QWizard::CancelButton)->click();
        });
        window.slotFileOpen();
        QVERIFY2(refusal.contains("isn't a Kestal visualization canvas"), qPrintable(refusal));
        QVERIFY(opened.isEmpty());
        QVERIFY(window.isEnabled());
        QCOMPARE(QSettings().value("lastDirOpen").toString(), path);
    }

    void canvasOpenedThroughTheWizardSaysOpeningFile()
    {
        const QString path = QDir::tempPath() + "/wizard.kcv";
        {
            GC_GenomeScene source;
            source.addFreeText(QPointF(10, 10));
            source.setFileName(path);
            QVERIFY(source.saveToKestalCanvas());
        }
        Kestal_Main window;
        window.show();
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        answerOpenWizard([path](QWizard *wizard) {
            wizard->findChild<QRadioButton *>("radioKestalCanvas")->setChecked(true);
            wizard->button(QWizard::NextButton)->click();
            answerFileDialog(path);
            wizard->findChild<QPushButton *>("buttonBrowseInputFile")->click();
            wizard->button(QWizard::NextButton)->click();
            wizard->button(QWizard::FinishButton)->click();
        });
        window.slotFileOpen();
        GC_WaitDialog *wait = shownWaitDialog(window);
        QVERIFY(wait);
        // Only the command-line opening names the canvas in the label.
        QCOMPARE(wait->label(), QString("Opening file..."));
        QVERIFY(waitForSignal(opened, 30000));
        QCOMPARE(opened.first().at(0).toBool(), true);
        QCOMPARE(window.genomeScene()->freeTexts().size(), 1);
        QCOMPARE(window.genomeScene()->fileName(), path);
    }

    void openWithUnsavedChangesAndCancelKeepsTheDocument()
    {
        Kestal_Main window;
        window.show();
        makeDocument(window);
        window.genomeScene()->setModified(true);
        ModalAnswerer::clickButton(QMessageBox::Cancel);
        window.slotFileOpen();
        // No file dialog followed the cancelled question.
        QCOMPARE(ModalAnswerer::lastText(),
                 QString("Your data has unsaved changes. Do you want to save it now?"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(window.genomeScene()->freeTexts().size(), 1);
        window.genomeScene()->setModified(false);
    }

    void closingIsRefusedWhileAThreadRuns()
    {
        Kestal_Main window;
        window.show();
        Kestal_Main::OpenRequest request;
        request.fileType = FILETYPE_GENBANK_FASTA;
        const QByteArray dna = TestData::randomDna(20000, 11);
        request.fastaSequences = {{"first", QString(dna)}, {"second", QString(dna.mid(3000, 9000))}};
        request.pairs = {{"first", "second"}};
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        window.startOpening(request);
        QVERIFY(window.isBusy());
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(waitForSignal(opened, 120000));
        QCOMPARE(opened.first().at(0).toBool(), true);
        QVERIFY(!window.isBusy());
        // A fresh comparison is unsaved work: closing asks.
        QVERIFY(window.genomeScene()->isModified());
        ModalAnswerer::clickButton(QMessageBox::No);
        QVERIFY(window.close());
    }

    // A comparison's database lives while its document is open; closing
    // the document, or opening another one in its place, removes it.
    void closingOrReplacingTheDocumentRemovesItsComparisonDatabase()
    {
        const QString path = QDir::tempPath() + "/replacing.fasta";
        QVERIFY(TestData::writeFile(path, ">replacing\n" + TestData::randomDna(1500, 5) + "\n"));
        Kestal_Main window;
        window.show();
        QVERIFY(openComparison(window));
        QString database = window.genomeScene()->genomes().first()->getDatabase();
        QVERIFY(QFile::exists(database));

        // Another opening in its place, the unsaved comparison given up.
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        ModalAnswerer::handle([path](QWidget *modal) {
            qobject_cast<QMessageBox *>(modal)->button(QMessageBox::No)->click();
            answerOpenWizard(openingOneSequenceFile(path));
        });
        window.slotFileOpen();
        QVERIFY(waitForSignal(opened, 60000));
        QVERIFY(opened.first().at(0).toBool());
        QCOMPARE(window.genomeScene()->genomes().size(), 1);
        QVERIFY(!QFile::exists(database));
        QCOMPARE(runFolders(QDir::tempPath()), QStringList());

        window.genomeScene()->setModified(false);
        QVERIFY(window.slotFileClose());
        QVERIFY(openComparison(window));
        database = window.genomeScene()->genomes().first()->getDatabase();
        QVERIFY(QFile::exists(database));
        window.genomeScene()->setModified(false);
        QVERIFY(window.slotFileClose());
        QVERIFY(!QFile::exists(database));
        QCOMPARE(runFolders(QDir::tempPath()), QStringList());
    }

    // Two copies of the program comparing at the same time, with one home
    // and one temporary folder: each shows its own genomes, read from its
    // own database, and at their end nothing of theirs is left, while files
    // someone else left where the copies used to work stay untouched.
    void twoCopiesComparingAtOnceNeverMix()
    {
        const QString root = QDir::tempPath() + "/copies";
        const QString started = root + "/started";
        const QString go = root + "/go";
        QVERIFY(QDir().mkpath(started));
        // blastn waits until both copies are inside BLAST.
        const QString blastn = writeScript(root + "/bin/blastn",
                                           "touch '" + started + "'/$$\n"
                                           "while [ ! -e '" + go + "' ]; do sleep 0.1; done\n"
                                           "exec '" + QStandardPaths::findExecutable("blastn") + "' \"$@\"\n");
        const QByteArray alpha = TestData::randomDna(3000, 41);
        const QByteArray beta = TestData::randomDna(3000, 42);
        const QString alphaFile = root + "/alpha.fas";
        const QString betaFile = root + "/beta.fas";
        QVERIFY(TestData::writeFile(alphaFile, ">alpha one\n" + alpha + "\n>alpha two\n" + alpha.mid(300, 2000) + "\n"));
        QVERIFY(TestData::writeFile(betaFile, ">beta one\n" + beta + "\n>beta two\n" + beta.mid(500, 2000) + "\n"));
        const QStringList planted{root + "/tmp/temp.kestal", root + "/home/blasttemp/lane-1/seq1",
                                  root + "/home/blasttemp/lane-1/out"};
        for (const QString &file : planted)
            QVERIFY(TestData::writeFile(file, "someone else's"));

        QProcess first;
        QProcess second;
        startCopy(first, root, "quit", blastn, {"alpha two", "alpha one", alphaFile});
        QTRY_COMPARE_WITH_TIMEOUT(QDir(started).entryList(QDir::Files).size(), 1, 60000);
        startCopy(second, root, "quit", blastn, {"beta two", "beta one", betaFile});
        QTRY_COMPARE_WITH_TIMEOUT(QDir(started).entryList(QDir::Files).size(), 2, 60000);
        QVERIFY(TestData::writeFile(go, ""));
        QVERIFY(first.waitForFinished(120000));
        QVERIFY(second.waitForFinished(120000));

        const QStringList firstShows = shownGenomes(first);
        const QStringList secondShows = shownGenomes(second);
        QCOMPARE(firstShows.filter(QRegularExpression("^genome ")).size(), 2);
        QCOMPARE(firstShows.filter(QRegularExpression("^genome alpha (one|two)\t")).size(), 2);
        QCOMPARE(secondShows.filter(QRegularExpression("^genome beta (one|two)\t")).size(), 2);
        QVERIFY(firstShows.contains("opened 1") && secondShows.contains("opened 1"));
        const QString firstDatabase = firstShows.first().section('\t', 1);
        const QString secondDatabase = secondShows.first().section('\t', 1);
        QVERIFY2(firstDatabase != secondDatabase, qPrintable(firstDatabase));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);

        QCOMPARE(runFolders(root + "/tmp"), QStringList());
        QCOMPARE(QDir(root + "/home/blasttemp").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList({"lane-1"}));
        for (const QString &file : planted)
            QCOMPARE(fileContent(file), QByteArray("someone else's"));
    }

    // Ended in the middle of a comparison by a terminate signal (a
    // desktop's force-quit), an interrupt or a hang-up, the program ends
    // cleanly and so does its BLAST program, with what a wrapper around
    // BLAST started; nothing of the run is left. Killed, the program cannot
    // clean up, but its BLAST program still ends, and the next start of the
    // program removes the killed run's folders, never those of a copy still
    // running.
    void endedInsideBlastTheProgramTakesBlastAlong_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("wrapped");
        QTest::newRow("terminate") << int(SIGTERM) << false;
        QTest::newRow("interrupt") << int(SIGINT) << false;
        QTest::newRow("hang-up") << int(SIGHUP) << false;
        QTest::newRow("terminate, blastn a wrapper") << int(SIGTERM) << true;
        QTest::newRow("kill, then a start beside a live copy") << int(SIGKILL) << false;
    }

    void endedInsideBlastTheProgramTakesBlastAlong()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, wrapped);
        const QString root = QDir::tempPath() + "/ended-" + QTest::currentDataTag();
        const QString pids = root + "/blastn.pids";
        // A blastn that would run for minutes, itself or in a child of its
        // own; each adds a line "<its pid> <the sleeping pid>".
        const QString blastn = writeScript(root + "/bin/blastn", wrapped ? "sleep 300 &\n"
                                                                           "echo $$ $! >> '" + pids + "'\n"
                                                                           "wait\n"
                                                                         : "echo $$ $$ >> '" + pids + "'\n"
                                                                           "exec sleep 300\n");
        const auto started = [&pids] {
            return QString::fromLatin1(fileContent(pids)).split('\n').filter(QRegularExpression("^\\d+ \\d+$"));
        };
        // The comparison database and BLAST work folders of the runs under root.
        const auto folders = [&root] {
            QStringList found;
            for (const QString &name : runFolders(root + "/tmp"))
                found << "tmp/" + name;
            for (const QString &name : QDir(root + "/home/blasttemp").entryList({"run-*"}, QDir::AllEntries))
                found << "blasttemp/" + name;
            return found;
        };
        const QByteArray dna = TestData::randomDna(3000, 43);
        const QString input = root + "/pair.fas";
        QVERIFY(TestData::writeFile(input, ">long one\n" + dna + "\n>long two\n" + dna.mid(100, 2000) + "\n"));
        const QStringList comparison{"long two", "long one", input};

        QProcess copy;
        QProcess liveCopy;
        const auto noneLeft = qScopeGuard([&started] {
            for (const QString &line : started()) {
                for (const QString &pid : line.split(' ')) {
                    if (TestData::processRunning(pid.toLongLong()))
                        ::kill(pid_t(pid.toLongLong()), SIGKILL);
                }
            }
        });
        startCopy(copy, root, "stay", blastn, comparison);
        QTRY_COMPARE_WITH_TIMEOUT(started().size(), 1, 60000);
        const QStringList copyFolders = folders();
        QCOMPARE(copyFolders.size(), 2);
        QStringList liveFolders;
        if (signalNumber == SIGKILL) {
            // A second copy, started while the first runs, leaves its folders be.
            startCopy(liveCopy, root, "stay", blastn, comparison);
            QTRY_COMPARE_WITH_TIMEOUT(started().size(), 2, 60000);
            for (const QString &folder : folders()) {
                if (!copyFolders.contains(folder))
                    liveFolders << folder;
            }
            QCOMPARE(liveFolders.size(), 2);
            QCOMPARE(folders().size(), 4);
        }
        const QStringList programs = started().first().split(' ');
        for (const QString &pid : programs)
            QVERIFY(TestData::processRunning(pid.toLongLong()));

        QVERIFY(::kill(pid_t(copy.processId()), signalNumber) == 0);
        QVERIFY(copy.waitForFinished(15000));
        for (const QString &pid : programs)
            QTRY_VERIFY_WITH_TIMEOUT(!TestData::processRunning(pid.toLongLong()), 5000);
        if (signalNumber == SIGKILL) {
            QCOMPARE(copy.exitStatus(), QProcess::CrashExit);
            QCOMPARE(folders().size(), 4);
            QProcess next;
            startCopy(next, root, "quit", QStandardPaths::findExecutable("blastn"), comparison);
            QVERIFY(next.waitForFinished(120000));
            QVERIFY(shownGenomes(next).contains("opened 1"));
            QCOMPARE(folders(), liveFolders);
            return;
        }
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.exitCode(), 128 + signalNumber);
        QCOMPARE(runFolders(root + "/tmp"), QStringList());
        QCOMPARE(QDir(root + "/home/blasttemp").entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void failedComparisonShowsTheReason()
    {
        const QString fake = QDir::tempPath() + "/bin/blastn";
        QVERIFY(TestData::writeFile(fake, "not a program\n"));
        QFile::setPermissions(fake, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QSettings().setValue("blastnpath", fake);

        Kestal_Main window;
        window.show();
        Kestal_Main::OpenRequest request;
        request.fileType = FILETYPE_GENBANK_FASTA;
        const QByteArray dna = TestData::randomDna(2000, 13);
        request.fastaSequences = {{"first", QString(dna)}, {"second", QString(dna.mid(100, 900))}};
        request.pairs = {{"first", "second"}};
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        ModalAnswerer::clickButton(QMessageBox::Ok, 60000);
        window.startOpening(request);
        QVERIFY(waitForSignal(opened, 60000));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(0).toBool(), false);
        QVERIFY2(ModalAnswerer::lastText().contains("BLAST+ failed"), qPrintable(ModalAnswerer::lastText()));
        QVERIFY(window.genomeScene()->genomes().isEmpty());
        QVERIFY(window.isEnabled());
        QVERIFY(!child<QAction>(window, "saveAct")->isEnabled());
    }

    // Of two pairs only one shares letters: the other pair's genomes are
    // shown all the same, and the user is told, over the canvas, that BLAST
    // found nothing between them.
    void comparisonWithoutMatchesShowsItsGenomesAndSaysSo()
    {
        Kestal_Main window;
        window.show();
        Kestal_Main::OpenRequest request;
        request.fileType = FILETYPE_GENBANK_FASTA;
        const QByteArray dna = TestData::randomDna(3000, 17);
        request.fastaSequences = {{"left", QString(dna)},
                                  {"right", QString(dna.mid(400, 1800))},
                                  {"stranger", QString(TestData::randomDna(1500, 61))},
                                  {"other", QString(TestData::randomDna(1500, 62))}};
        request.pairs = {{"right", "left"}, {"other", "stranger"}};
        // Megablast finds no chance match between unrelated letters.
        request.blastOptions.setTask("megablast");
        QSignalSpy opened(&window, &Kestal_Main::openFinished);
        QString told;
        QStringList onCanvas;
        ModalAnswerer::handle([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            told = box->text();
            QCOMPARE(box->icon(), QMessageBox::Information);
            for (const GC_Genome *genome : window.genomeScene()->genomes()) {
                if (genome->scene() == window.genomeScene())
                    onCanvas << genome->getName();
            }
            box->button(QMessageBox::Ok)->click();
        }, 120000);
        window.startOpening(request);
        QVERIFY(waitForSignal(opened, 120000));
        QCOMPARE(opened.first().at(0).toBool(), true);
        QCOMPARE(told, QString("BLAST found no matches between stranger and other"));
        QCOMPARE(onCanvas, (QStringList{"left", "stranger", "right", "other"}));
        GC_GenomeScene *scene = window.genomeScene();
        QCOMPARE(scene->topGenomes().size(), 2);
        QCOMPARE(scene->topGenomes().at(1)->countMatchings(), 0);
        QVERIFY(scene->topGenomes().at(0)->countMatchings() > 0);
        QVERIFY(child<QAction>(window, "saveAct")->isEnabled());
        window.genomeScene()->setModified(false);
    }
};

KESTAL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
