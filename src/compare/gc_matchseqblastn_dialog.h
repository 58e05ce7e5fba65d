#ifndef GC_MATCHSEQBLASTN_DIALOG_H
#define GC_MATCHSEQBLASTN_DIALOG_H

#include "gc_blastresultfile.h"
#include "gc_blastworkfolder.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

#include <memory>

class GC_BlastRunner;
class GC_Genome;
class GC_GenomeScene;
class GC_RunDatabase;

namespace Ui {
class GC_MatchSeqBlastn_dialog;
}

// Compares one genome of the scene (the target) with a sequence from the
// user's Genbank or FASTA file (the query): makeblastdb formats the target,
// blastn runs the query against it in the background while its tabular
// output is copied to a result file, and, when the user agrees, the query
// is added to the scene as a new genome joined to the target by one matching
// per hit.
//
// Construct, setScene(), exec(). Accepted means the hits were added; every
// other end leaves the scene as it was.
class GC_MatchSeqBlastn_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit GC_MatchSeqBlastn_dialog(QWidget *parent = nullptr);
    ~GC_MatchSeqBlastn_dialog() override;

    // Takes the scene's genomes as the choice of targets; the first one is
    // the target until another is chosen.
    void setScene(GC_GenomeScene *scene);
    void setGenome(int index);
    GC_Genome *targetGenome() const { return m_targetGenome; }

    // What choosing a file does: the path goes into the input field and
    // Search becomes available.
    void setInputFile(const QString &path);

    QString task() const { return m_task; }
    QString workDir() const { return m_workFolder.path(); }
    QString resultPath() const { return m_resultPath; }
    // Lines of blastn's output in the current run.
    int lineCount() const { return m_result.lineCount(); }

public slots:
    // Closing the dialog in any way stops a running search.
    void reject() override;

private slots:
    void on_blastCombobox_textActivated(const QString &text);
    void on_cancelButton_clicked();
    void on_searchButton_clicked();
    void on_genomesCombo_activated(int index);
    void on_selectFileButton_clicked();
    void blaststep1();
    void blaststep2(bool makeblastdbOk, const QString &errorText);
    void blastFinished(bool ok);
    void readStdout(const QByteArray &chunk);

private:
    void setTask(const QString &task);
    // Shows the message and ends the run; Search waits for a file choice.
    void fail(const QString &message);
    // The status line wraps a long reason; the dialog grows to show it whole.
    void showWholeStatus();
    bool resolveTools(QString *message);
    bool prepareResultFile();
    bool writeFasta(const QString &fileName, const QByteArray &header, const QString &sequence);
    bool prepareQuery();
    void importResults();
    // The exact files a run writes besides the result.
    static QStringList workFileNames();
    void showAdvance(int position);

    Ui::GC_MatchSeqBlastn_dialog *ui;
    GC_GenomeScene *m_scene = nullptr;
    QList<GC_Genome *> m_genomes;
    GC_Genome *m_targetGenome = nullptr;
    QString m_task;
    GC_BlastWorkFolder m_workFolder;
    QString m_makeblastdbPath;
    QString m_blastnPath;
    GC_BlastRunner *m_runner = nullptr;
    bool m_running = false;

    // The current run's comparison database: the query, read back as the
    // builder stored it; the genome added from it keeps it with the document.
    std::shared_ptr<GC_RunDatabase> m_database;
    // The current run's copy of blastn's output, and how many lines it holds.
    GC_BlastResultFile m_result;
    QString m_resultPath;
    int m_targetLength = 0;
};

#endif
