#ifndef GC_HOMOLOGYSEARCHDIALOG_H
#define GC_HOMOLOGYSEARCHDIALOG_H

#include "gc_blastresultfile.h"
#include "gc_blastworkfolder.h"
#include "gc_genomesource.h"
#include "gc_homologyrowwriter.h"

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

class GC_BlastRunner;
class GC_Genome;
class GC_GenomeScene;
class GC_HomologyHitLine;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;

// What the COG, RFAM and rRNA search dialogs share. A search writes the
// genome as FASTA into the work folder, runs BLAST+ (makeblastdb waits to
// its end, the search itself runs in the background while its tabular
// output is copied to "blastresult.txt"), then asks whether to keep the hits
// and, if so, reads them back in output order, drops those more than a fifth
// covered by hits kept before them (GC_HomologyCoverage) and sets the rest
// aside. Only then do they replace the genome's hits of the family, in one
// step: the rows stored in its source file (one transaction) and the hits of
// its bar. Until that step the genome keeps its earlier hits, in memory and
// on disk, whatever ends the search (cancel, failure, Discard, a reference
// collection that cannot be read while the hits are looked up).
// Every failure is an "<b>Error:</b>" line in the log pane; the work files
// of an earlier run are removed before each run.
//
// The derived dialog builds its form, calls setForm(), checks what its
// search needs (requireFile, requireProgram, requireReference) and runs its
// own steps from blaststep1() on.
// Construct, setGenome(), set the scene, exec(): accepted means the hits
// replaced the genome's earlier ones; every other end leaves those as they were.
class GC_HomologySearchDialog : public QDialog
{
    Q_OBJECT

public:
    ~GC_HomologySearchDialog() override;

    void setGenome(GC_Genome *genome);
    GC_Genome *genome() const { return m_genome; }
    GC_GenomeScene *genomeScene() const { return m_genomeScene; }
    QString workDir() const { return m_workFolder.path(); }
    QString resultPath() const;
    // Whole lines of BLAST output in this search.
    int lineCount() const { return m_result.lineCount(); }
    // Hits placed on the bar when the search was saved.
    int addedCount() const { return m_addedCount; }
    // False when a reference file, database or program is missing.
    bool isSearchAvailable() const { return m_available; }

public slots:
    // Closing the dialog in any way stops a running search.
    void reject() override;

protected slots:
    void on_cancelButton_clicked();
    void on_searchButton_clicked();
    // Prepares and starts this family's BLAST run.
    virtual void blaststep1() = 0;
    void readStdout(const QByteArray &chunk);

protected:
    struct Form
    {
        QTextBrowser *log;
        QLabel *advance;
        QProgressBar *progress;
        QPushButton *search;
        QDoubleSpinBox *evalue;
    };
    struct AskTexts
    {
        QString none;        // message when BLAST printed no hit
        QString found;       // "%1" is the number of lines
        QString question;    // informative text under found
        QString annotating;  // label while the hits are added
    };

    GC_HomologySearchDialog(const char *className, QWidget *parent);
    void setForm(const Form &form);
    void storeGenomeScene(GC_GenomeScene *scene) { m_genomeScene = scene; }

    // Construction checks; a failing one shows its message and disables the
    // search (the last failing message stays).
    bool requireFile(const QString &path);
    // The program to run ("" when missing), from the settings key.
    QString requireProgram(const char *settingsKey, const char *programName);
    bool requireReference(int collection);
    void makeUnavailable(const QString &html);
    static QString missingFileMessage(const QString &path);

    // Which hit table of the genome's source file the family's hits go to.
    virtual GC_GenomeSource::Family family() const = 0;
    // Removes the files a run leaves (exact names).
    void setWorkFiles(const QStringList &beforeRun, const QStringList &onDestruction);
    const GC_BlastWorkFolder &workFolder() const { return m_workFolder; }

    // Run steps. Each failing step has shown its error and ended the run.
    bool beginRun();
    bool writeGenomeFasta(const QString &fileName);
    // logText goes to the log before the command line.
    bool runMakeblastdb(const QString &program, const QStringList &arguments, const char *logText);
    // Starts BLAST in the background; blastRunEnded() follows.
    void startBlast(const QString &program, const QStringList &arguments, const char *logText);
    virtual void blastRunEnded(bool ok) = 0;
    // Ends the run with the HTML line (an "<b>Error:</b>" text).
    void fail(const QString &html);
    // The last run's failure, as HTML to follow an error line.
    QString runFailureDetails() const;
    QString evalueText() const;
    bool isRunning() const { return m_running; }

    // Progress while BLAST runs: the reference id of the last whole line.
    virtual void showSearchProgress(int referenceId);

    // After the last run ended well: closes the result, asks whether to
    // keep the hits and adds them (accepted) or rejects.
    void finishSearch(const AskTexts &texts);
    // Sets aside one hit that passed the overlap rule (low <= high), with
    // what the family looks up for it; false when it is refused.
    virtual bool addHit(const GC_HomologyHitLine &hit, int low, int high) = 0;
    // Forgets the hits set aside.
    virtual void clearPendingHits() = 0;
    // Empties the family's bar and places the hits set aside on it (rows,
    // in the order addHit() took them, beside what it looked up); returns
    // how many it took.
    virtual int replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows) = 0;
    // Replaces the genome's hits of the family by those set aside: first the
    // rows stored in its source file, if it has any (one transaction), then
    // its bar. False, with the error shown and the earlier hits kept, when
    // the source file cannot be written.
    virtual bool applyPendingHits();

private slots:
    void runnerFinished(bool ok);

private:
    bool closeResult();
    void importHits(const QString &annotatingText);
    void showAdvance(int value, int maximum);

    const char *m_className;
    Form m_form = {};
    GC_Genome *m_genome = nullptr;
    GC_GenomeScene *m_genomeScene = nullptr;
    GC_BlastWorkFolder m_workFolder;
    QStringList m_filesBeforeRun;
    QStringList m_filesOnDestruction;
    GC_BlastRunner *m_runner = nullptr;
    bool m_available = true;
    bool m_running = false;

    // Forgets the hits set aside, here and in the family's own lists.
    void forgetPendingHits();

    GC_BlastResultFile m_result;
    // The rows of the hits set aside, for the source file and the bar.
    QList<GC_HomologyRowWriter::Row> m_pendingRows;
    int m_addedCount = 0;
};

#endif
