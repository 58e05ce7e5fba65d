#ifndef GC_FILEOPENWIZARD_H
#define GC_FILEOPENWIZARD_H

#include "gc_blastoptions.h"
#include "gc_genbankparser.h"
#include "gc_sequencefilecache.h"

#include <QList>
#include <QMap>
#include <QMultiMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QWizard>

namespace Ui {
class GC_FileOpenWizard;
}

// Asks what to open: a canvas file (or a comparison database), one sequence
// file, or several Genbank/FASTA files with the pairs to compare and the BLAST
// task. It only checks and reads names; the opening thread does the work.
// The dialog result is the file-type code to open with, 0 when cancelled:
// FILETYPE_CANVAS, FILETYPE_COMPARISON, FILETYPE_GENOME or
// FILETYPE_GENBANK_FASTA.
class GC_FileOpenWizard : public QWizard
{
    Q_OBJECT

public:
    explicit GC_FileOpenWizard(QWidget *parent = nullptr);
    ~GC_FileOpenWizard() override;

    // The canvas or comparison database of page 2, or the one sequence file
    // of the files page; empty when neither was set.
    QString fileName() const;
    // What the opening thread reads for the answered code: the comparison
    // database for FILETYPE_COMPARISON; for FILETYPE_GENBANK_FASTA only the
    // files read as Genbank, in list order (their FASTA records travel in
    // fastaSequences(), so nothing reaches the builder twice); otherwise the
    // listed files.
    QStringList inputFiles() const;
    // Every file of the files page, in list order.
    QStringList listedFiles() const;
    // The files read as Genbank by the last reading of the list, in list order.
    QStringList genbankFiles() const { return genbankPaths; }
    // Those files as they were read, by path: the comparison stores these
    // readings rather than reading the files again.
    QMap<QString, GC_GenbankParser> genbankRecords() const { return genbankReadings; }
    // FASTA record name -> sequence. Names are unique once the files page has
    // been passed: repeated names are refused there.
    QMap<QString, QString> fastaSequences() const;
    // One (query name, target name) per row of the pair list, in row order.
    QList<QPair<QString, QString>> pairs() const;
    GC_BlastOptions blastOptions() const { return options; }
    int selectedGenomeIndex() const;

public slots:
    void accept() override;

public:
    bool validateCurrentPage() override;
    int nextId() const override;

private slots:
    void loadGenbanksFasta();
    void on_buttonDownload_clicked();
    void on_buttonBrowseInputFile_clicked();
    void on_buttonDownloadGenbank_clicked();
    void on_buttonAddInputFiles_clicked();
    void on_buttonRemoveIntpuFiles_clicked();
    void on_buttonAddPair_clicked();
    void on_buttonRemovePair_clicked();
    void fitSubTitle();

private:
    bool validateFilesPage();
    bool refuseRepeatedNames();
    void addInputPaths(const QStringList &paths);
    QStringList downloadGenbankFiles();
    void warn(const QString &title, const QString &text);

    Ui::GC_FileOpenWizard *ui;
    QMap<QString, int> genomeIndexMap;
    QMap<QString, QString> genbankMap;
    QMultiMap<QString, QString> fastaMap;
    GC_BlastOptions options;
    bool examplesMode = false;
    int fileTypeCode = 0;

    // Filled with the maps by loadGenbanksFasta().
    QStringList genbankPaths;
    QMap<QString, GC_GenbankParser> genbankReadings;
    // Genome name -> the files it was read from, in list order; a name with
    // more than one source would put matchings on the wrong genome.
    QMap<QString, QStringList> nameSources;
    // Why files of the list could not be read, by the last reading.
    QStringList unreadableFiles;
    // Each chosen file is read once, when it is added, and read again only
    // when it has changed since.
    GC_SequenceFileCache readings;
};

#endif
