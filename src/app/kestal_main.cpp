#include "kestal_main.h"

#include "gc_chromsdatabase.h"
#include "gc_cogdialog.h"
#include "gc_coghomologies.h"
#include "gc_coveragewidget.h"
#include "gc_downloadgenbankentrezdialog.h"
#include "gc_exportimagedialog.h"
#include "gc_fileopenwizard.h"
#include "gc_fileutils.h"
#include "gc_genome.h"
#include "gc_genomeview.h"
#include "gc_itempropertieswidget.h"
#include "gc_log.h"
#include "gc_magicstylerwidget.h"
#include "gc_matchseqblastn_dialog.h"
#include "gc_rfamdialog.h"
#include "gc_rrnadialog.h"
#include "gc_threadopen.h"
#include "gc_threadsave.h"
#include "gc_waitdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {
const char *const keyGeometry = "kestal_main_geometry";
const char *const keyState = "kestal_main_state";
const char *const keyScore = "lastScore";
const char *const keyLastSave = "lastDirSave";
} // namespace

Kestal_Main::Kestal_Main()
    : QMainWindow(nullptr)
    , scene(this)
{
    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    createDockWindows();
    createCentralView();
    slotFileClose();
    setWindowTitle(tr("Kestal"));
    setWindowIcon(QIcon(":/icons/kestal-icon.png"));
    readSettings();
}

Kestal_Main::~Kestal_Main()
{
    // The scene must outlive any thread that still reads or fills it. An
    // opening still running (the program is ending on a signal) is
    // stopped: its BLAST programs end, and it fails.
    if (m_openThread) {
        m_openThread->requestInterruption();
        m_openThread->wait();
    }
    if (m_saveThread)
        m_saveThread->wait();
}

bool Kestal_Main::isBusy() const
{
    return (m_openThread && m_openThread->isRunning()) || m_saving
        || (m_saveThread && m_saveThread->isRunning());
}

// ---------------------------------------------------------------------------
// Construction

QAction *Kestal_Main::makeAction(const char *name, const QString &text, const QString &icon)
{
    QAction *action = icon.isEmpty() ? new QAction(text, this) : new QAction(QIcon(icon), text, this);
    action->setObjectName(name);
    return action;
}

void Kestal_Main::createActions()
{
    openAct = makeAction("openAct", tr("&Open..."), ":/icons/open.png");
    openAct->setStatusTip(tr("Open the wizard for opening different files formats"));
    connect(openAct, &QAction::triggered, this, &Kestal_Main::slotFileOpen);

    exportAct = makeAction("exportAct", tr("&Export"), ":/icons/document_export.png");
    exportAct->setStatusTip(tr("Export the current visualization to an image file."));
    connect(exportAct, &QAction::triggered, this, &Kestal_Main::slotFileExport);

    saveAct = makeAction("saveAct", tr("&Save"), ":/icons/icon_save.svg");
    saveAct->setStatusTip(tr("Save the current visualization."));
    connect(saveAct, &QAction::triggered, this, &Kestal_Main::slotFileSave);

    saveAsAct = makeAction("saveAsAct", tr("Save &As..."), ":/icons/icon_saveas.svg");
    saveAsAct->setStatusTip(tr("Save the current visualization as a file."));
    connect(saveAsAct, &QAction::triggered, this, &Kestal_Main::slotFileSaveAs);

    closeAct = makeAction("closeAct", tr("&Close"), ":/icons/document_close.png");
    closeAct->setStatusTip(tr("Close the current visualization."));
    connect(closeAct, &QAction::triggered, this, &Kestal_Main::slotFileClose);

    fitToWholeViewAct = makeAction("fitToWholeViewAct", tr("&Fit to whole view"),
                                   ":/icons/icon_adjusttowidth.png");
    connect(fitToWholeViewAct, &QAction::triggered, &scene, &GC_GenomeScene::slotViewAdjustToWidth);

    fitProportionalAct = makeAction("fitProportionalAct", tr("&Fit proportional"),
                                    ":/icons/icon_adjustproportional.png");
    connect(fitProportionalAct, &QAction::triggered, &scene,
            &GC_GenomeScene::slotViewAdjustProportional);

    // The first three follow check states set by the program too (toggled);
    // the last four only the user's clicks (triggered).
    auto makeSwitch = [this](const char *name, const QString &text, bool checked) {
        QAction *action = makeAction(name, text);
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    controlPointsAct = makeSwitch("controlPointsAct", tr("&Control Points"), false);
    connect(controlPointsAct, &QAction::toggled, &scene, &GC_GenomeScene::slotViewControlPoints);
    anotationsAct = makeSwitch("anotationsAct", tr("&Anotations"), false);
    connect(anotationsAct, &QAction::toggled, &scene, &GC_GenomeScene::slotViewAnotations);
    matchingsAct = makeSwitch("matchingsAct", tr("&Matchings"), true);
    connect(matchingsAct, &QAction::toggled, &scene, &GC_GenomeScene::slotViewMatchings);
    genesAct = makeSwitch("genesAct", tr("&Genes"), true);
    connect(genesAct, &QAction::triggered, &scene, &GC_GenomeScene::slotViewGenes);
    rulersAct = makeSwitch("rulersAct", tr("&Rulers"), true);
    connect(rulersAct, &QAction::triggered, &scene, &GC_GenomeScene::slotViewRulers);
    labelsAct = makeSwitch("labelsAct", tr("&Labels"), true);
    connect(labelsAct, &QAction::triggered, &scene, &GC_GenomeScene::slotViewTexts);
    freeTextAct = makeSwitch("freeTextAct", tr("&Free text"), true);
    connect(freeTextAct, &QAction::triggered, &scene, &GC_GenomeScene::slotViewFreeTexts);

    trimCanvasAct = makeAction("trimCanvasAct", tr("&Trim canvas"), ":/icons/zoom_best_fit.png");
    connect(trimCanvasAct, &QAction::triggered, &scene, &GC_GenomeScene::slotViewFitCanvasToItems);

    entrezAct = makeAction("entrezAct", tr("Genbank Entrez Downloader"));
    connect(entrezAct, &QAction::triggered, this,
            &Kestal_Main::slotUtilitiesGenbankEntrezDownloader);

    exitAct = makeAction("exitAct", tr("E&xit"), ":/icons/exit.png");
    exitAct->setShortcut(QKeySequence(tr("Ctrl+Q")));
    connect(exitAct, &QAction::triggered, this, &QWidget::close);

    aboutAct = makeAction("aboutAct", tr("About"), ":/icons/kestal2.png");
    connect(aboutAct, &QAction::triggered, this, &Kestal_Main::about);

    bitScoreSpinBox = new QDoubleSpinBox(this);
    bitScoreSpinBox->setObjectName("bitScoreSpinBox");
    bitScoreSpinBox->setMinimum(0.0);
    bitScoreSpinBox->setMaximum(999999.0);
    connect(bitScoreSpinBox, &QDoubleSpinBox::valueChanged, this,
            &Kestal_Main::slotBitScoreChanged);
}

void Kestal_Main::createMenus()
{
    fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName("fileMenu");
    fileMenu->addAction(openAct);
    fileMenu->addSeparator();
    fileMenu->addAction(exportAct);
    fileMenu->addSeparator();
    fileMenu->addAction(saveAct);
    fileMenu->addAction(saveAsAct);
    fileMenu->addSeparator();
    fileMenu->addAction(closeAct);
    fileMenu->addAction(exitAct);

    viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->setObjectName("viewMenu");
    viewMenu->addAction(fitToWholeViewAct);
    viewMenu->addAction(fitProportionalAct);
    viewMenu->addSeparator();
    viewMenu->addAction(controlPointsAct);
    viewMenu->addAction(anotationsAct);
    viewMenu->addAction(matchingsAct);
    viewMenu->addAction(genesAct);
    viewMenu->addAction(rulersAct);
    viewMenu->addAction(labelsAct);
    viewMenu->addAction(freeTextAct);

    toolsMenu = menuBar()->addMenu(tr("&Tools"));
    toolsMenu->setObjectName("toolsMenu");
    toolsMenu->addAction(entrezAct);

    helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName("helpMenu");
    helpMenu->addAction(aboutAct);
}

QToolButton *Kestal_Main::makeToolButton(const char *name, const QString &icon,
                                         const QString &toolTip, bool checkable)
{
    auto *button = new QToolButton;
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setToolTip(toolTip);
    button->setCheckable(checkable);
    button->setEnabled(false);
    return button;
}

void Kestal_Main::createToolBars()
{
    fileToolBar = addToolBar(tr("&File"));
    fileToolBar->setObjectName("toolbarFile");
    fileToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    fileToolBar->addAction(openAct);
    fileToolBar->addSeparator();
    fileToolBar->addAction(saveAct);

    cursorButton = makeToolButton("cursorButton", ":/icons/cursor.png", tr("Normal selection"), true);
    cursorButton->setChecked(true);
    connect(cursorButton, &QToolButton::toggled, this, &Kestal_Main::slotToggleCursorButton);
    zoomInButton = makeToolButton("zoomInButton", ":/icons/zoom_in.png", tr("Zoom In scene"), true);
    connect(zoomInButton, &QToolButton::toggled, this, &Kestal_Main::slotToggleZoomInButton);
    zoomOutButton = makeToolButton("zoomOutButton", ":/icons/zoom_out.png", tr("Zoom out scene"), true);
    connect(zoomOutButton, &QToolButton::toggled, this, &Kestal_Main::slotToggleZoomOutButton);
    textButton = makeToolButton("textButton", ":/icons/select_color_text64.png",
                                tr("Add a Text to the Scene"), true);
    connect(textButton, &QToolButton::toggled, this, &Kestal_Main::slotToggleTextButton);
    deleteButton = makeToolButton("deleteButton", ":/icons/deletered.png", tr("Delete elements"), true);
    connect(deleteButton, &QToolButton::toggled, this, &Kestal_Main::slotToggleDeleteButton);

    cogButton = makeToolButton("cogButton", ":/icons/cog_logo.png", tr("COG"), false);
    connect(cogButton, &QToolButton::clicked, this, &Kestal_Main::slotCogDialog);
    rfamButton = makeToolButton("rfamButton", ":/icons/rfam_logo.png", tr("RFAM"), false);
    connect(rfamButton, &QToolButton::clicked, this, &Kestal_Main::slotRfamDialog);
    silvaButton = makeToolButton("silvaButton", ":/icons/silva_logo.png", tr("Silva"), false);
    connect(silvaButton, &QToolButton::clicked, this, &Kestal_Main::slotrRNADialog);
    matchSeqButton = makeToolButton("matchSeqButton", ":/icons/matchseq.png",
                                    tr("Match custom sequence"), false);
    connect(matchSeqButton, &QToolButton::clicked, this, &Kestal_Main::slotMatchSeqDialog);

    viewToolBar = addToolBar(tr("&View"));
    viewToolBar->setObjectName("toolbarView");
    viewToolBar->addWidget(cursorButton);
    viewToolBar->addWidget(zoomInButton);
    viewToolBar->addWidget(zoomOutButton);
    viewToolBar->addWidget(textButton);
    viewToolBar->addWidget(deleteButton);
    viewToolBar->addSeparator();
    viewToolBar->addAction(fitToWholeViewAct);
    viewToolBar->addAction(fitProportionalAct);
    viewToolBar->addAction(trimCanvasAct);
    viewToolBar->addSeparator();
    viewToolBar->addWidget(matchSeqButton);
    viewToolBar->addWidget(cogButton);
    viewToolBar->addWidget(rfamButton);
    viewToolBar->addWidget(silvaButton);
    viewToolBar->addSeparator();
    viewToolBar->addWidget(new QLabel(tr("  Min Bitscore: ")));
    viewToolBar->addWidget(bitScoreSpinBox);
}

void Kestal_Main::createStatusBar()
{
    statusBar()->showMessage(tr("Welcome to Kestal, a comparative genomics tool."));
}

void Kestal_Main::createDockWindows()
{
    auto *propertiesDock = new QDockWidget(tr("Properties"), this);
    propertiesDock->setObjectName("dockProperties");
    propertiesWidget = new GC_ItemPropertiesWidget(propertiesDock);
    propertiesWidget->setScene(&scene);
    propertiesDock->setWidget(propertiesWidget);
    addDockWidget(Qt::RightDockWidgetArea, propertiesDock);

    coverageDock = new QDockWidget(tr("Genome coverage"), this);
    coverageDock->setObjectName("dockCoverage");
    coverageWidget = new GC_CoverageWidget(coverageDock);
    coverageDock->setWidget(coverageWidget);
    addDockWidget(Qt::BottomDockWidgetArea, coverageDock);

    // The style tool shares the properties dock's place and stays hidden
    // until the View menu shows it; the saved window state keeps both.
    styleDock = new QDockWidget(tr("Style tool"), this);
    styleDock->setObjectName("dockStyleTool");
    styleTool = new GC_MagicStylerWidget(styleDock);
    styleTool->buildTree();
    styleDock->setWidget(styleTool);
    tabifyDockWidget(propertiesDock, styleDock);
    propertiesDock->raise();
    styleDock->hide();
    styleDock->toggleViewAction()->setObjectName("styleToolAct");
    // Asked for from the menu, it comes in front of the tab it shares.
    connect(styleDock->toggleViewAction(), &QAction::triggered, styleDock, [this](bool shown) {
        if (shown)
            styleDock->raise();
    });
    viewMenu->addSeparator();
    viewMenu->addAction(styleDock->toggleViewAction());
    connect(styleTool, &GC_MagicStylerWidget::applyStyle, &scene, &GC_GenomeScene::slotApplyStyle);

    connect(coverageWidget, &GC_CoverageWidget::bitScoreChanged, this,
            &Kestal_Main::slotBitScoreChangedFromCoverageWidget);
    connect(&scene, &GC_GenomeScene::coverageRequested, this, &Kestal_Main::slotCoverageRequest);
    connect(&scene, &GC_GenomeScene::coverageCalculateRequest, coverageWidget,
            &GC_CoverageWidget::calculate);
    connect(&scene, &GC_GenomeScene::anotationAdded, this, &Kestal_Main::slotAnotationAdded);
}

void Kestal_Main::createCentralView()
{
    view = new GC_GenomeView(this);
    view->setObjectName("genomeView");
    view->setScene(&scene);
    view->setEnabled(false);
    setCentralWidget(view);
}

void Kestal_Main::readSettings()
{
    QSettings settings;
    if (settings.contains(keyGeometry)) {
        restoreGeometry(settings.value(keyGeometry).toByteArray());
    } else {
        move(100, 50);
        resize(1024, 768);
    }
    if (settings.contains(keyState))
        restoreState(settings.value(keyState).toByteArray(), 0);

    bitScoreSpinBox->setSingleStep(10.0);
    bitScoreSpinBox->setValue(50.0);
    if (settings.contains(keyScore))
        bitScoreSpinBox->setValue(settings.value(keyScore).toDouble());
}

void Kestal_Main::writeSettings()
{
    QSettings settings;
    settings.setValue(keyGeometry, saveGeometry());
    settings.setValue(keyState, saveState(0));
    settings.setValue(keyScore, bitScoreSpinBox->value());
}

void Kestal_Main::setDocumentCommandsEnabled(bool enabled)
{
    const QList<QObject *> commands = {
        view, bitScoreSpinBox, saveAct, saveAsAct, closeAct, exportAct, fitToWholeViewAct,
        fitProportionalAct, controlPointsAct, anotationsAct, trimCanvasAct, matchingsAct,
        genesAct, rulersAct, labelsAct, freeTextAct, cursorButton, zoomInButton, zoomOutButton,
        deleteButton, textButton, silvaButton, matchSeqButton, cogButton, rfamButton, styleTool};
    for (QObject *command : commands)
        command->setProperty("enabled", enabled);
}

// ---------------------------------------------------------------------------
// Close handler

void Kestal_Main::closeEvent(QCloseEvent *event)
{
    // The scene must not go away under a thread that reads or fills it.
    if (isBusy()) {
        statusBar()->showMessage(tr("Please wait until the file has been opened or saved."));
        event->ignore();
        return;
    }
    if (!slotFileClose()) {
        event->ignore();
        return;
    }
    writeSettings();
    GC_CogHomologies::saveColorSettings();
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------------------
// Modes

QCursor Kestal_Main::iconCursor(const QString &image) const
{
    const QPixmap pixmap(image);
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

void Kestal_Main::setMode(QToolButton *chosen, int mode, const QCursor &cursor)
{
    for (QToolButton *button : {cursorButton, zoomInButton, zoomOutButton, deleteButton, textButton}) {
        if (button != chosen)
            button->setChecked(false);
    }
    scene.setMode(mode);
    view->setCursor(cursor);
}

void Kestal_Main::slotToggleCursorButton(bool checked)
{
    if (checked)
        setMode(cursorButton, GC_GenomeScene::ModeSelect, QCursor(Qt::ArrowCursor));
}

void Kestal_Main::slotToggleZoomInButton(bool checked)
{
    if (checked)
        setMode(zoomInButton, GC_GenomeScene::ModeZoomIn, iconCursor(":/icons/zoom_in24.png"));
}

void Kestal_Main::slotToggleZoomOutButton(bool checked)
{
    if (checked)
        setMode(zoomOutButton, GC_GenomeScene::ModeZoomOut, iconCursor(":/icons/zoom_out24.png"));
}

void Kestal_Main::slotToggleDeleteButton(bool checked)
{
    if (checked)
        setMode(deleteButton, GC_GenomeScene::ModeDelete, iconCursor(":/icons/deletered24.png"));
}

void Kestal_Main::slotToggleTextButton(bool checked)
{
    if (checked)
        setMode(textButton, GC_GenomeScene::ModeAddText, iconCursor(":/icons/select_color_text24.png"));
}

// ---------------------------------------------------------------------------
// Dialogs of other parts of the program

namespace {

// The per-genome dialog of a homology family: the user picks a genome and
// whether to show its stored hits or to search anew.
template <typename Dialog>
void runGenomeDialog(GC_GenomeScene &scene, void (GC_GenomeScene::*display)(bool),
                     void (GC_GenomeScene::*search)())
{
    Dialog dialog;
    dialog.setGenomeScene(&scene);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString action = dialog.action();
    GC_Genome *genome = dialog.selectedGenome();
    scene.clearSelection();
    if (genome)
        genome->setSelected(true);
    if (action == "DISPLAY")
        (scene.*display)(true);
    else if (action == "SEARCH")
        (scene.*search)();
}

} // namespace

void Kestal_Main::slotCogDialog()
{
    runGenomeDialog<GC_CogDialog>(scene, &GC_GenomeScene::slotGenomeShowHideCogMatchings,
                                  &GC_GenomeScene::slotGenomeTblastnCog);
}

void Kestal_Main::slotRfamDialog()
{
    runGenomeDialog<GC_RfamDialog>(scene, &GC_GenomeScene::slotGenomeShowHideRfamMatchings,
                                   &GC_GenomeScene::slotGenomeBlastnRfam);
}

void Kestal_Main::slotrRNADialog()
{
    runGenomeDialog<GC_RRNADialog>(scene, &GC_GenomeScene::slotGenomeShowHiderRNAMatchings,
                                   &GC_GenomeScene::slotGenomeBlastnrRNA);
}

void Kestal_Main::slotMatchSeqDialog()
{
    GC_MatchSeqBlastn_dialog dialog;
    dialog.setScene(&scene);
    if (dialog.exec() == QDialog::Accepted)
        qCDebug(lcKestal) << "Aceptar";
    else
        qCDebug(lcKestal) << "Rechazar";
}

void Kestal_Main::slotUtilitiesGenbankEntrezDownloader()
{
    if (!chromsDatabaseOpen) {
        QMessageBox box;
        box.setText(tr("Unable to open chroms database\nBrowsing will be disable"));
        box.exec();
    }
    GC_DownloadGenbankEntrezDialog dialog(this);
    dialog.setupBrowseTab();
    dialog.exec();
}

void Kestal_Main::slotSelectionChanged()
{
    qCDebug(lcKestal) << "slotSelectionChanged!";
}

void Kestal_Main::about()
{
    QMessageBox::about(this, tr("About Kestal"),
                       tr("<h2>Kestal</h2>"
                          "<p>Interactive software for comparative genomics.</p>"
                          "<p>Open Genbank or FASTA genomes, compare them with NCBI BLAST+ "
                          "and explore the matches on a zoomable canvas.</p>"));
}

// ---------------------------------------------------------------------------
// Bit score and coverage

void Kestal_Main::slotBitScoreChanged(double value)
{
    scene.slotViewMatchingsBitScore(value);
    coverageWidget->slotBitScoreChanged(value);
}

void Kestal_Main::slotBitScoreChangedFromCoverageWidget(qreal bitscore)
{
    bitScoreSpinBox->setValue(bitscore);
    scene.slotViewMatchingsBitScore(bitscore);
}

void Kestal_Main::slotCoverageRequest(GC_Genome *genome)
{
    coverageDock->setVisible(true);
    coverageWidget->slotSetGenome(genome);
}

void Kestal_Main::slotAnotationAdded()
{
    anotationsAct->setChecked(true);
    controlPointsAct->setChecked(true);
    scene.slotViewControlPoints(true);
    scene.slotViewAnotations(true);
}

// ---------------------------------------------------------------------------
// File commands

void Kestal_Main::slotFileOpen()
{
    if (!slotFileClose())
        return;
    OpenRequest request;
    if (!chooseOpenRequest(&request))
        return;
    startOpening(request);
}

bool Kestal_Main::chooseOpenRequest(OpenRequest *request)
{
    GC_FileOpenWizard wizard(this);
    request->fileType = wizard.exec();
    if (request->fileType == FILETYPE_NONE)
        return false;
    request->genomeIndex = wizard.selectedGenomeIndex();
    request->fileName = wizard.fileName();
    request->inputFiles = wizard.inputFiles();
    request->genbankRecords = wizard.genbankRecords();
    request->fastaSequences = wizard.fastaSequences();
    request->blastOptions = wizard.blastOptions();
    request->pairs = wizard.pairs();
    return true;
}

void Kestal_Main::openFile(const QString &fileName)
{
    OpenRequest request;
    request.fileType = FILETYPE_CANVAS;
    request.fileName = fileName;
    request.waitLabel = tr("Opening Kestal Canvas file...");
    startOpening(request);
}

void Kestal_Main::startOpening(const OpenRequest &request)
{
    setEnabled(false);

    auto *dialog = new GC_WaitDialog(this);
    dialog->setTitle(tr("Kestal"));
    if (!request.waitLabel.isEmpty())
        dialog->setLabel(request.waitLabel);
    else if (request.fileType == FILETYPE_GENBANK_FASTA)
        dialog->setLabel(tr("Executing BLAST, please wait..."));
    else
        dialog->setLabel(tr("Opening file..."));

    auto *thread = new GC_ThreadOpen(this);
    thread->setScene(&scene);
    thread->setGenomeIndex(request.genomeIndex);
    thread->setFileName(request.fileName);
    thread->setInputFiles(request.inputFiles);
    thread->setGenbankRecords(request.genbankRecords);
    thread->setFastaSequences(request.fastaSequences);
    thread->setBlastOptions(request.blastOptions);
    thread->setPairs(request.pairs);
    thread->setFileType(request.fileType);

    connect(thread, &GC_ThreadOpen::message, dialog, &GC_WaitDialog::setLabel);
    connect(thread, &GC_ThreadOpen::openingFinished, this, &Kestal_Main::slotFileOpenFinished);
    connect(thread, &QThread::finished, dialog, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_openThread = thread;
    m_openDialog = dialog;

    dialog->show();
    thread->start(QThread::InheritPriority);
}

void Kestal_Main::slotFileOpenFinished(bool flag)
{
    QString reason;
    QStringList notices;
    if (m_openThread) {
        // openingFinished() is the last thing run() does; let it return
        // before the scene is touched here.
        m_openThread->wait();
        reason = m_openThread->lastErrorText();
        notices = m_openThread->notices();
    }
    // Deleted later; out of sight now, before any message or next dialog.
    if (m_openDialog)
        m_openDialog->hide();
    if (flag) {
        scene.addItemsToScene();
        if (scene.fileName().isEmpty()) {
            scene.slotViewAdjustToWidth();
        } else {
            // A canvas keeps its layout. The view starts at its top left,
            // not where the old scroll position lands in the new range.
            view->showCanvasTopLeft();
        }
        setDocumentCommandsEnabled(true);
        statusBar()->clearMessage();
    } else {
        // Whatever a failed loader left in the lists is not a document.
        scene.clearScene();
    }
    setEnabled(true);
    if (!flag) {
        qCDebug(lcKestal).noquote() << "Kestal_Main: opening failed:" << reason;
        QMessageBox::warning(this, tr("Kestal"), tr("The file could not be opened.\n\n%1").arg(reason));
    } else if (!notices.isEmpty()) {
        // Said over the canvas it explains (genomes without match bands).
        QMessageBox::information(this, tr("Kestal"), notices.join('\n'));
    }
    emit openFinished(flag);
}

bool Kestal_Main::slotFileSave()
{
    if (scene.fileName().isEmpty())
        return slotFileSaveAs();
    startSaving();
    return true;
}

void Kestal_Main::startSaving()
{
    setEnabled(false);
    m_saving = true;

    auto *dialog = new GC_WaitDialog(this);
    dialog->setTitle(tr("Kestal"));
    dialog->setLabel(tr("Saving Kestal Canvas file..."));

    auto *thread = new GC_ThreadSave(this);
    thread->setScene(&scene);
    connect(thread, &QThread::finished, this, &Kestal_Main::slotFileSaveFinished);
    connect(thread, &QThread::finished, dialog, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_saveThread = thread;
    m_saveDialog = dialog;

    dialog->show();
    thread->start(QThread::InheritPriority);
}

void Kestal_Main::slotFileSaveFinished()
{
    bool ok = false;
    QString reason = tr("The saving thread ended without an outcome.");
    if (m_saveThread) {
        m_saveThread->wait();
        ok = m_saveThread->succeeded();
        reason = m_saveThread->lastErrorText();
    }
    if (m_saveDialog)
        m_saveDialog->hide();
    m_saving = false;
    m_lastSaveSucceeded = ok;
    if (ok) {
        scene.setModified(false);
        statusBar()->showMessage(tr("Saved %1").arg(scene.fileName()), 5000);
    } else if (m_restoreNameOnFailure) {
        // The document still belongs to the file it came from.
        scene.setFileName(m_fileNameBeforeSaveAs);
    }
    m_restoreNameOnFailure = false;
    setEnabled(true);
    if (!ok) {
        qCDebug(lcKestal).noquote() << "Kestal_Main: saving failed:" << reason;
        QMessageBox::warning(this, tr("Kestal"),
                             tr("The canvas could not be saved; the document is kept open.\n\n%1")
                                 .arg(reason));
    }
    emit saveFinished(ok);
}

bool Kestal_Main::slotFileSaveAs()
{
    QSettings settings;
    const QString start = settings.value(keyLastSave, QDir::homePath()).toString();
    QString fileName = QFileDialog::getSaveFileName(this, tr("Save as..."), start);
    if (fileName.isEmpty())
        return false;
    if (!fileName.endsWith(".kcv"))
        fileName += ".kcv";
    m_fileNameBeforeSaveAs = scene.fileName();
    m_restoreNameOnFailure = true;
    scene.setFileName(fileName);
    slotFileSave();
    settings.setValue(keyLastSave, fileName);
    return true;
}

bool Kestal_Main::saveAndWait()
{
    if (!slotFileSave())
        return false;
    if (m_saving) {
        QEventLoop loop;
        connect(this, &Kestal_Main::saveFinished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return m_lastSaveSucceeded;
}

bool Kestal_Main::slotFileClose()
{
    // A number typed into the property panel is written when its box lets go
    // of it: unfinished, it is a change all the same.
    if (QWidget *editing = focusWidget())
        editing->clearFocus();
    if (scene.isModified()) {
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, tr("Closing genome comparisson"),
            tr("Your data has unsaved changes. Do you want to save it now?"),
            QMessageBox::Save | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer == QMessageBox::Save) {
            if (!saveAndWait())
                return false;
        } else if (answer != QMessageBox::No) {
            return false;
        }
    }
    scene.clearScene();
    setDocumentCommandsEnabled(false);
    coverageWidget->forgetDocument();
    statusBar()->showMessage(tr("Welcome to Kestal, an interactive genomic comparison tool."));
    return true;
}

void Kestal_Main::slotFileExport()
{
    GC_ExportImageDialog dialog(this);
    dialog.setScene(&scene);
    dialog.exec();
}
