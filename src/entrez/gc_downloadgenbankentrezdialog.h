#ifndef GC_DOWNLOADGENBANKENTREZDIALOG_H
#define GC_DOWNLOADGENBANKENTREZDIALOG_H

#include "gc_genbankrecordwriter.h"

#include <QDialog>
#include <QHash>
#include <QModelIndex>
#include <QSet>
#include <QStringList>
#include <QTreeView>

class EN_Request_HttpTextData;
class GC_GenomesBrowser_TreeModel;
class QCloseEvent;
class QTableWidget;

namespace Ui {
class GC_DownloadGenbankEntrezDialog;
}

// Finds nucleotide records at the NCBI Entrez service (esearch, then
// esummary) or in the local taxonomy database (Browse tab), lists them on the
// Results tab and fetches the chosen ones (efetch) into Genbank files, one
// per record, in a folder the user picks. downloadedFiles() gives the files
// written. Openers construct it, call setupBrowseTab() and exec() it.
// At most one request runs at a time.
class GC_DownloadGenbankEntrezDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GC_DownloadGenbankEntrezDialog(QWidget *parent = nullptr);
    ~GC_DownloadGenbankEntrezDialog() override;

    // Builds the Browse tab over the taxonomy database, or disables it and
    // opens on the Search tab when that database is not open.
    void setupBrowseTab();
    // Absolute paths of the Genbank files written while the dialog lived.
    QStringList downloadedFiles() const { return fileList; }
    // Appends one row to the Results list.
    void addResultRow(const QString &gi, const QString &accession, const QString &title,
                      const QString &size);

    static QString geometryKey() { return QStringLiteral("downloadgenbankentrez_dialog_geometry"); }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_buttoncancelresults_clicked();
    void on_buttondownload_clicked();
    void on_buttonsearch_clicked();
    void on_buttoncancel_clicked();
    void slotSearchFinished(bool error);
    void slotSummaryFinished(bool error);
    void slotFetchFinished(bool error);
    void slotFetchProgress(int current, int total);
    void browseTreeViewClicked(const QModelIndex &idx);
    void slotAddTaxon(int taxid, int row);
    void slotBrowseReadFailed(const QString &text);

private:
    QString searchTerm() const;
    QString databaseName() const;
    EN_Request_HttpTextData *newRequest(const char *path);
    // Drops the running request; none of its signals reaches the dialog after.
    void releaseRequest();
    void setSearchBusy(bool busy);
    void setFetchRunning(bool running);
    void showRequestError(const QString &text);
    void showNoResults();
    void hideBrowseTable();
    // A failed reading of the taxonomy database, said in a message box.
    void warnBrowseFailure(const QString &text);

    Ui::GC_DownloadGenbankEntrezDialog *ui;
    EN_Request_HttpTextData *request = nullptr;
    QString downloadFolder;
    QStringList fileList;
    QSet<QString> listedFiles;
    GC_GenbankRecordWriter recordWriter;
    GC_GenomesBrowser_TreeModel *browseModel = nullptr;
    QTreeView browseTreeView;
    QTableWidget *browseTable = nullptr;
    QHash<int, bool> addedTaxa;
    bool browseReadFailureSaid = false;
};

#endif
