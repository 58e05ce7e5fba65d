#ifndef GC_SEQUENCEBLASTER_H
#define GC_SEQUENCEBLASTER_H

#include "gc_blastoptions.h"
#include "gc_blastworkfolder.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class GC_BlastRunner;

// Compares pairs of genomes of a comparison database with makeblastdb and
// blastn and stores every HSP as a row of its matchings table. For each
// pair (target id, query id) the target becomes the BLAST database and the
// query is searched against it. A pair whose run fails in any way stores no
// row and makes result() false; the other pairs are still compared by the
// synchronous run, while the asynchronous run stops at the first failure.
class GC_SequenceBlaster : public QObject
{
    Q_OBJECT

public:
    explicit GC_SequenceBlaster(QObject *parent = nullptr);

    void setDatabase(const QString &path);
    QString database() const { return m_database; }
    void setPairs(const QList<QPair<int, int>> &pairs) { m_pairs = pairs; }
    void setOptions(const GC_BlastOptions &options) { m_options = options; }

    // True when every pair of the last run was compared and stored.
    bool result() const { return m_result; }
    // The reasons of the failed pairs of the last run, one per line.
    QString lastErrorText() const { return m_errors.join('\n'); }
    // The "blasttemp" folder under the home folder where the work files go.
    QString workFolder() const { return m_workFolder.path(); }

public slots:
    // Asynchronous run: returns at once; blastfinished() or blastfailed() ends it.
    void blast();
    // Synchronous run: returns when every pair is done.
    void blastHanged();

signals:
    void blastfinished();
    void blastfailed();
    void progressMessage(int track, QString message);

private slots:
    void blaststep1(int seq1, int seq2);
    void blaststep2(bool makeblastdbOk);
    void blaststep3(bool blastnOk);
    void runnerFinished(bool ok);

private:
    enum Stage { Idle, MakingDatabase, Searching };

    void startRun(bool synchronous);
    void nextAsynchronousPair();
    bool writeWorkFiles(int seq1, int seq2);
    bool writeFasta(const QString &fileName, const QString &header, const QByteArray &sequence);
    bool removeWorkFiles();
    bool storeMatchings();
    void pairFailed(const QString &reason);
    void pairDone();
    void runProgram(const QString &program, const QStringList &arguments);

    QString m_database;
    GC_BlastOptions m_options;
    QList<QPair<int, int>> m_pairs;
    QString m_makeblastdbPath;
    QString m_blastnPath;
    QString m_setupError;
    GC_BlastWorkFolder m_workFolder;
    int m_targetId = -1;
    int m_queryId = -1;
    int m_pairIndex = 0;
    GC_BlastRunner *m_runner = nullptr;
    Stage m_stage = Idle;
    bool m_result = true;
    bool m_synchronous = true;
    QStringList m_errors;
};

#endif
