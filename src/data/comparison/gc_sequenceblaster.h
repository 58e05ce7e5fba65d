#ifndef GC_SEQUENCEBLASTER_H
#define GC_SEQUENCEBLASTER_H

#include "gc_blastoptions.h"
#include "gc_blastworkfolder.h"
#include "gc_pairstoreorder.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVector>

#include <atomic>
#include <climits>
#include <memory>
#include <vector>

class GC_BlastRunner;
class QEventLoop;
class QTimer;

// Compares pairs of genomes of a comparison database with makeblastdb and
// blastn and stores every HSP as a row of its matchings table. For each
// pair (target id, query id) the target becomes the BLAST database and the
// query is searched against it.
//
// Several pairs run at once, up to concurrentPairs(), each in a lane: a
// subfolder of the program run's BLAST work folder that no other running
// pair uses. The lanes' work files go with the blaster. The programs run
// as separate processes; everything else (reading the sequences, storing the
// rows) happens on the blaster's own thread, so the comparison database has
// one writer at a time and each pair is stored in one transaction.
//
// Pairs are stored in the order they were given, whatever order they end
// in: a pair that ends before an earlier one keeps its output in its work
// subfolder until every earlier pair is stored or has failed. So the rows,
// their order and their ids (which number the matchings of a canvas) are
// those of a run of one pair at a time, however many pairs run at once.
//
// A pair whose run fails in any way stores no row and makes result() false;
// the synchronous run still compares every other pair, while the
// asynchronous run starts no further pair after a failure, stops the running
// pairs that come after the failed one in the list and stores none of the
// later pairs that already ended, as a run of one pair at a time would.
class GC_SequenceBlaster : public QObject
{
    Q_OBJECT

public:
    explicit GC_SequenceBlaster(QObject *parent = nullptr);
    ~GC_SequenceBlaster() override;

    void setDatabase(const QString &path);
    QString database() const { return m_database; }
    void setPairs(const QList<QPair<int, int>> &pairs) { m_pairs = pairs; }
    void setOptions(const GC_BlastOptions &options) { m_options = options; }
    // How many pairs run at once (at least 1); starts as the number of cores.
    void setConcurrentPairs(int count);
    int concurrentPairs() const { return m_concurrentPairs; }

    // True when every pair of the last run was compared and stored.
    bool result() const { return m_result; }
    // The reasons of the failed pairs of the last run, one per line, in the
    // order of the pairs.
    QString lastErrorText() const;
    // The BLAST work folder of this run of the program
    // (GC_BlastWorkFolder::runFolder()); the pairs work in subfolders of it.
    QString workFolder() const { return m_workFolder.path(); }
    // The subfolder where the pair at pairIndex worked in the last run,
    // while the blaster lives; empty for a pair that was not started.
    QString pairWorkFolder(int pairIndex) const;

public slots:
    // Asynchronous run: returns at once; blastfinished() or blastfailed()
    // ends it, once no program runs any more.
    void blast();
    // Synchronous run: returns when every pair is done. Needs no running
    // event loop on the calling thread. Emits blastfailed() for each failed
    // pair. An interruption request of the calling thread cancels it.
    void blastHanged();
    // Stops every program of the run in progress and starts no further
    // pair; the stopped pairs store nothing and fail. Any thread may call it.
    void cancel();

signals:
    void blastfinished();
    void blastfailed();
    // "Starting BLAST process.", then how many pairs have ended out of how
    // many: once as the pairs start and again as each one ends.
    void progressMessage(int track, QString message);

private:
    enum Stage { Idle, MakingDatabase, Searching };

    // One pair at a time runs in a lane: its work folder and its runner.
    struct Lane
    {
        explicit Lane(const QString &folderName)
            : folder(folderName)
        {
        }
        GC_BlastWorkFolder folder;
        int index = 0; // its place among the lanes
        GC_BlastRunner *runner = nullptr;
        int pairIndex = -1; // -1 while the lane is free
        int targetId = -1;
        int queryId = -1;
        Stage stage = Idle;
        bool stopped = false; // killed by a cancel or by the end of an asynchronous run
    };

    void startRun(bool synchronous);
    void advance();
    void finishRun();
    void checkInterruption();
    void stopRunningPairs();
    void startPair(Lane &lane, int pairIndex);

    void blaststep1(Lane &lane);
    void blaststep2(Lane &lane, bool makeblastdbOk);
    void blaststep3(Lane &lane, bool blastnOk);
    void runnerFinished(Lane &lane, bool ok);
    void runProgram(Lane &lane, const QString &program, const QStringList &arguments);

    bool writeWorkFiles(Lane &lane);
    bool removeWorkFiles(Lane &lane);
    bool holdOutput(Lane &lane);
    void storeHeldPairs();
    bool storeMatchings(int pairIndex, const QString &resultFile, QString *errorText);
    void pairFailed(Lane &lane, const QString &reason);
    void countFailure(int pairIndex, const QString &reason);
    void pairEnded(Lane &lane);
    void reportPairsDone();
    QString describePair(const Lane &lane) const;

    QString m_database;
    GC_BlastOptions m_options;
    QList<QPair<int, int>> m_pairs;
    int m_concurrentPairs = 1;
    QString m_makeblastdbPath;
    QString m_blastnPath;
    QString m_setupError;
    GC_BlastWorkFolder m_workFolder;
    std::vector<std::unique_ptr<Lane>> m_lanes;
    int m_laneCount = 1;        // the lanes the current run uses
    QVector<int> m_laneOfPair;  // per pair index, the lane it ran in, or -1
    int m_pairIndex = 0;        // the next pair to start
    int m_runningPairs = 0;
    int m_pairsDone = 0;        // pairs that have ended, compared or failed
    GC_PairStoreOrder m_storeOrder;
    int m_firstFailedPair = INT_MAX; // of an asynchronous run: nothing after it is stored
    bool m_runActive = false;
    bool m_advancing = false;
    bool m_stopping = false;    // no further pair starts
    bool m_result = true;
    bool m_synchronous = true;
    std::atomic<bool> m_cancelRequested{false};
    QMap<int, QString> m_errors; // by pair index; INT_MAX for the run as a whole
    QEventLoop *m_loop = nullptr;
    QTimer *m_interruptionWatch = nullptr;
};

#endif
