#ifndef KESTAL_MAIN_H
#define KESTAL_MAIN_H

#include "gc_blastoptions.h"
#include "gc_genbankparser.h"
#include "gc_genomescene.h"

#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QPair>
#include <QPointer>
#include <QStringList>

class GC_CoverageWidget;
class GC_ItemPropertiesWidget;
class GC_MagicStylerWidget;
class GC_Genome;
class GC_GenomeView;
class GC_ThreadOpen;
class GC_WaitDialog;
class GC_ThreadSave;
class QAction;
class QCloseEvent;
class QDockWidget;
class QDoubleSpinBox;
class QMenu;
class QToolBar;
class QToolButton;

// The program's main window: holds the comparison document, shows it in a
// view, and offers every command through menus, two tool bars and three docks.
// Opening and saving run on threads of their own; the window is disabled
// until the thread has reported back.
class Kestal_Main : public QMainWindow
{
    Q_OBJECT

public:
    // What an opening reads; the opening thread gets a copy.
    struct OpenRequest
    {
        int fileType = 0;
        int genomeIndex = 0;
        QString fileName;
        QStringList inputFiles;
        // Genbank files among inputFiles as the wizard read them, by path.
        QMap<QString, GC_GenbankParser> genbankRecords;
        QMap<QString, QString> fastaSequences;
        QList<QPair<QString, QString>> pairs;
        GC_BlastOptions blastOptions;
        // Empty: the label follows the file type.
        QString waitLabel;
    };

    Kestal_Main();
    ~Kestal_Main() override;

    // Opens a canvas file (the command-line argument) on the opening thread.
    void openFile(const QString &fileName);
    // Starts any opening on the opening thread behind a wait dialog.
    void startOpening(const OpenRequest &request);

    GC_GenomeScene *genomeScene() { return &scene; }
    GC_GenomeView *genomeView() const { return view; }
    // True while an opening or saving thread runs.
    bool isBusy() const;

signals:
    // After an opening has been taken over (or refused) on the main thread.
    void openFinished(bool ok);
    // After a save has ended and its outcome has been shown.
    void saveFinished(bool ok);

public slots:
    void slotFileOpen();
    void slotFileOpenFinished(bool flag);
    void slotFileExport();
    bool slotFileSave();
    void slotFileSaveFinished();
    bool slotFileSaveAs();
    bool slotFileClose();
    void slotSelectionChanged();
    void slotToggleCursorButton(bool checked);
    void slotToggleZoomInButton(bool checked);
    void slotToggleZoomOutButton(bool checked);
    void slotToggleDeleteButton(bool checked);
    void slotToggleTextButton(bool checked);
    void slotCogDialog();
    void slotRfamDialog();
    void slotrRNADialog();
    void slotMatchSeqDialog();
    void slotUtilitiesGenbankEntrezDownloader();
    void slotBitScoreChangedFromCoverageWidget(qreal bitscore);
    void slotAnotationAdded();
    void slotBitScoreChanged(double value);
    void slotCoverageRequest(GC_Genome *genome);
    void about();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createDockWindows();
    void createCentralView();
    void readSettings();
    void writeSettings();
    QAction *makeAction(const char *name, const QString &text, const QString &icon = QString());
    QToolButton *makeToolButton(const char *name, const QString &icon, const QString &toolTip,
                                bool checkable);
    void setDocumentCommandsEnabled(bool enabled);
    void setMode(QToolButton *chosen, int mode, const QCursor &cursor);
    QCursor iconCursor(const QString &image) const;
    // Runs the open wizard; false when it was cancelled.
    bool chooseOpenRequest(OpenRequest *request);
    void startSaving();
    // Runs Save and waits for the saving thread; true only when the document
    // was written.
    bool saveAndWait();

    QAction *openAct = nullptr;
    QAction *exportAct = nullptr;
    QAction *saveAct = nullptr;
    QAction *saveAsAct = nullptr;
    QAction *closeAct = nullptr;
    QAction *fitToWholeViewAct = nullptr;
    QAction *fitProportionalAct = nullptr;
    QAction *trimCanvasAct = nullptr;
    QAction *controlPointsAct = nullptr;
    QAction *anotationsAct = nullptr;
    QAction *matchingsAct = nullptr;
    QAction *labelsAct = nullptr;
    QAction *genesAct = nullptr;
    QAction *rulersAct = nullptr;
    QAction *freeTextAct = nullptr;
    QAction *entrezAct = nullptr;
    QAction *exitAct = nullptr;
    QAction *aboutAct = nullptr;
    QDoubleSpinBox *bitScoreSpinBox = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *viewMenu = nullptr;
    QMenu *toolsMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QToolButton *cursorButton = nullptr;
    QToolButton *zoomInButton = nullptr;
    QToolButton *zoomOutButton = nullptr;
    QToolButton *deleteButton = nullptr;
    QToolButton *textButton = nullptr;
    QToolButton *silvaButton = nullptr;
    QToolButton *matchSeqButton = nullptr;
    QToolButton *cogButton = nullptr;
    QToolButton *rfamButton = nullptr;
    QToolBar *fileToolBar = nullptr;
    QToolBar *viewToolBar = nullptr;
    QDockWidget *coverageDock = nullptr;
    QDockWidget *styleDock = nullptr;
    GC_MagicStylerWidget *styleTool = nullptr;
    GC_ItemPropertiesWidget *propertiesWidget = nullptr;
    GC_CoverageWidget *coverageWidget = nullptr;
    GC_GenomeView *view = nullptr;
    GC_GenomeScene scene;

    QPointer<GC_ThreadOpen> m_openThread;
    QPointer<GC_ThreadSave> m_saveThread;
    QPointer<GC_WaitDialog> m_openDialog;
    QPointer<GC_WaitDialog> m_saveDialog;
    bool m_saving = false;
    bool m_lastSaveSucceeded = false;
    // The name a Save As replaced, given back when that save fails.
    QString m_fileNameBeforeSaveAs;
    bool m_restoreNameOnFailure = false;
};

#endif
