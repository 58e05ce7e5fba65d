#include "gc_sequenceblaster.h"

#include "gc_blastrunner.h"
#include "gc_blasttoolpath.h"
#include "gc_blastxmlreader.h"
#include "gc_comparisondatabase.h"
#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_sequencetext.h"
#include "gc_sqlconnection.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>

#include <climits>

namespace {
const char *TargetFile = "seq1";
const char *QueryFile = "seq2";
const char *DatabaseName = "seq1.db";
const char *OutputFile = "out";
// How often a synchronous run looks whether its thread was asked to stop.
const int InterruptionCheckMsecs = 100;

// Every file a pair writes into its lane, but the outputs held for their turn.
QStringList workFileNames()
{
    return QStringList{TargetFile, QueryFile, OutputFile} + GC_BlastWorkFolder::databaseFileNames(DatabaseName, 'n');
}

// The output of the pair at pairIndex, kept until its turn to be stored.
QString heldOutputName(int pairIndex)
{
    return QString("%1-%2").arg(OutputFile).arg(pairIndex + 1);
}
} // namespace

GC_SequenceBlaster::GC_SequenceBlaster(QObject *parent)
    : QObject(parent)
    , m_concurrentPairs(qMax(1, QThread::idealThreadCount()))
    , m_interruptionWatch(new QTimer(this))
{
    qCDebug(lcKestal).noquote() << "GC_SequenceBlaster: work folder" << m_workFolder.path();
    m_interruptionWatch->setInterval(InterruptionCheckMsecs);
    connect(m_interruptionWatch, &QTimer::timeout, this, &GC_SequenceBlaster::checkInterruption);
}

// The lanes served this blaster's runs alone: whatever still runs is
// stopped, then the files of each lane and the lane itself are removed.
GC_SequenceBlaster::~GC_SequenceBlaster()
{
    for (const auto &lane : m_lanes) {
        delete lane->runner;
        lane->runner = nullptr;
        if (!QFileInfo(lane->folder.path()).isDir())
            continue;
        QStringList names = workFileNames();
        for (int pair = 0; pair < m_laneOfPair.size(); ++pair) {
            if (m_laneOfPair.at(pair) == lane->index)
                names << heldOutputName(pair);
        }
        QString reason;
        if (!lane->folder.removeFiles(names, &reason) || !QDir().rmdir(lane->folder.path()))
            qCDebug(lcKestal).noquote() << "GC_SequenceBlaster: keeps" << lane->folder.path() << reason;
    }
}

void GC_SequenceBlaster::setDatabase(const QString &path)
{
    m_database = path;
    m_pairIndex = 0;
}

void GC_SequenceBlaster::setConcurrentPairs(int count)
{
    m_concurrentPairs = qMax(1, count);
}

QString GC_SequenceBlaster::lastErrorText() const
{
    return QStringList(m_errors.values()).join('\n');
}

QString GC_SequenceBlaster::pairWorkFolder(int pairIndex) const
{
    const int lane = m_laneOfPair.value(pairIndex, -1);
    return lane < 0 ? QString() : m_lanes.at(lane)->folder.path();
}

void GC_SequenceBlaster::startRun(bool synchronous)
{
    m_synchronous = synchronous;
    m_result = true;
    m_errors.clear();
    m_stopping = false;
    m_cancelRequested = false;
    m_laneOfPair.fill(-1, m_pairs.size());
    m_storeOrder.start(m_pairs.size(), m_pairIndex);
    m_firstFailedPair = INT_MAX;

    // Paths are looked up per run so that a changed setting takes effect.
    QString makeblastdbError;
    QString blastnError;
    m_makeblastdbPath = GC_BlastToolPath::resolve("makeblastdbpath", "makeblastdb", &makeblastdbError);
    m_blastnPath = GC_BlastToolPath::resolve("blastnpath", "blastn", &blastnError);
    m_setupError = m_makeblastdbPath.isEmpty() ? "makeblastdb: " + makeblastdbError
                   : m_blastnPath.isEmpty()    ? "blastn: " + blastnError
                                               : QString();

    // A lane per pair that runs at the same time, never more than there are
    // pairs; lanes are reused, so the work files on disk stay bounded by
    // the number of lanes whatever the number of pairs.
    m_laneCount = qMax(1, qMin(m_concurrentPairs, int(m_pairs.size()) - m_pairIndex));
    while (int(m_lanes.size()) < m_laneCount) {
        auto lane = std::make_unique<Lane>(QString("lane-%1").arg(m_lanes.size() + 1));
        lane->index = int(m_lanes.size());
        lane->runner = new GC_BlastRunner(this);
        lane->runner->setWorkingDirectory(lane->folder.path());
        Lane *owner = lane.get();
        connect(lane->runner, &GC_BlastRunner::finished, this,
                [this, owner](bool ok) { runnerFinished(*owner, ok); });
        m_lanes.push_back(std::move(lane));
    }
    // Without its own folder a pair must not start: it would write and
    // remove its work files wherever the process happens to be.
    QString folderError;
    if (m_setupError.isEmpty() && !m_workFolder.ensure(&folderError))
        m_setupError = folderError;
    for (int i = 0; i < m_laneCount && m_setupError.isEmpty(); ++i) {
        if (!m_lanes.at(i)->folder.ensure(&folderError))
            m_setupError = folderError;
    }
    emit progressMessage(0, tr("Starting BLAST process."));
    // Pairs run at once: the count of ended pairs is what tells progress.
    m_pairsDone = m_pairIndex;
    if (m_pairIndex < m_pairs.size())
        reportPairsDone();
    m_runActive = true;
    m_interruptionWatch->start();
    checkInterruption();
}

void GC_SequenceBlaster::blastHanged()
{
    if (m_runActive) {
        qCDebug(lcKestal) << "GC_SequenceBlaster::blastHanged(): a run is already going on";
        return;
    }
    startRun(true);
    advance();
    // The programs' ends are signalled through an event loop; the calling
    // thread may have none running, so this run brings its own.
    if (m_runActive) {
        QEventLoop loop;
        m_loop = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_loop = nullptr;
    }
}

void GC_SequenceBlaster::blast()
{
    if (m_runActive) {
        qCDebug(lcKestal) << "GC_SequenceBlaster::blast(): a run is already going on";
        return;
    }
    startRun(false);
    advance();
    qCDebug(lcKestal) << "GC_SequenceBlast::blast() finished";
}

void GC_SequenceBlaster::cancel()
{
    m_cancelRequested = true;
    if (QThread::currentThread() == thread())
        stopRunningPairs();
    else
        QMetaObject::invokeMethod(this, &GC_SequenceBlaster::stopRunningPairs, Qt::QueuedConnection);
}

void GC_SequenceBlaster::checkInterruption()
{
    if (thread()->isInterruptionRequested())
        cancel();
}

void GC_SequenceBlaster::stopRunningPairs()
{
    if (!m_runActive || !m_cancelRequested)
        return;
    m_stopping = true;
    for (const auto &lane : m_lanes) {
        if (lane->pairIndex < 0)
            continue;
        lane->stopped = true;
        lane->runner->kill(); // its finished(false) ends the pair
    }
    advance(); // ends the run when nothing was running
}

// Fills the free lanes with the next pairs; ends the run once no pair runs
// and none is left to start.
void GC_SequenceBlaster::advance()
{
    // A pair that fails while being started comes back here; the loop of
    // the outer call takes its lane.
    if (m_advancing || !m_runActive)
        return;
    m_advancing = true;
    // A pair that fails before its first program starts frees its lane at
    // once: look again until no lane takes a pair.
    bool started = true;
    while (started && !m_stopping && m_pairIndex < m_pairs.size()) {
        started = false;
        for (int i = 0; i < m_laneCount && !m_stopping && m_pairIndex < m_pairs.size(); ++i) {
            if (m_lanes.at(i)->pairIndex < 0) {
                startPair(*m_lanes.at(i), m_pairIndex++);
                started = true;
            }
        }
    }
    m_advancing = false;
    storeHeldPairs();
    if (m_runningPairs == 0 && (m_stopping || m_pairIndex >= m_pairs.size()))
        finishRun();
}

void GC_SequenceBlaster::finishRun()
{
    if (!m_runActive)
        return;
    m_runActive = false;
    m_interruptionWatch->stop();
    if (m_cancelRequested && m_pairIndex < m_pairs.size()) {
        m_result = false;
        m_errors.insert(INT_MAX, QString("the comparison was cancelled; %1 of %2 pairs were not started")
                                     .arg(m_pairs.size() - m_pairIndex)
                                     .arg(m_pairs.size()));
    }
    if (m_loop)
        m_loop->quit();
    if (!m_synchronous) {
        if (m_result)
            emit blastfinished();
        else
            emit blastfailed();
    }
}

void GC_SequenceBlaster::startPair(Lane &lane, int pairIndex)
{
    lane.pairIndex = pairIndex;
    lane.targetId = m_pairs.at(pairIndex).first;
    lane.queryId = m_pairs.at(pairIndex).second;
    lane.stage = Idle;
    lane.stopped = false;
    m_laneOfPair[pairIndex] = lane.index;
    ++m_runningPairs;
    qCDebug(lcKestal).noquote() << "GC_SequenceBlaster: starting" << describePair(lane) << "in"
                         << lane.folder.path();
    blaststep1(lane);
}

QString GC_SequenceBlaster::describePair(const Lane &lane) const
{
    return QString("pair %1 of %2 (genome %3 against genome %4)")
        .arg(lane.pairIndex + 1)
        .arg(m_pairs.size())
        .arg(lane.queryId)
        .arg(lane.targetId);
}

void GC_SequenceBlaster::blaststep1(Lane &lane)
{
    if (!m_setupError.isEmpty()) {
        pairFailed(lane, m_setupError);
        return;
    }
    // No earlier pair's database or output may be taken for this one's.
    if (!removeWorkFiles(lane))
        return;
    if (!writeWorkFiles(lane))
        return;
    lane.stage = MakingDatabase;
    const QStringList arguments{"-in", TargetFile, "-dbtype", "nucl", "-hash_index", "-out", DatabaseName};
    qCDebug(lcKestal).noquote() << "GC_SequenceBlaster::blaststep1 Command :"
                         << (QStringList{m_makeblastdbPath} + arguments).join(' ') << "-" << describePair(lane);
    runProgram(lane, m_makeblastdbPath, arguments);
}

void GC_SequenceBlaster::blaststep2(Lane &lane, bool makeblastdbOk)
{
    if (!makeblastdbOk) {
        pairFailed(lane, lane.runner->errorText());
        return;
    }
    QStringList arguments{"-db", DatabaseName, "-query", QueryFile, "-out", OutputFile, "-outfmt", "5"};
    // The task goes unquoted onto the command line: blanks separate words.
    arguments << "-task" << m_options.task().split(' ', Qt::SkipEmptyParts);
    lane.stage = Searching;
    qCDebug(lcKestal).noquote() << "GC_SequenceBlaster::blaststep2 Blast command"
                         << (QStringList{m_blastnPath} + arguments).join(' ') << "-" << describePair(lane);
    runProgram(lane, m_blastnPath, arguments);
}

void GC_SequenceBlaster::blaststep3(Lane &lane, bool blastnOk)
{
    qCDebug(lcKestal).noquote() << "GC_SequenceBlaster::blaststep3 -" << describePair(lane);
    lane.stage = Idle;
    if (!blastnOk) {
        pairFailed(lane, lane.runner->errorText());
        return;
    }
    // A pair whose turn has come is stored from its output as it lies;
    // one that ended before an earlier pair waits for its turn.
    if (m_storeOrder.isTurnOf(lane.pairIndex)) {
        QString reason;
        if (!storeMatchings(lane.pairIndex, lane.folder.filePath(OutputFile), &reason)) {
            pairFailed(lane, reason);
            return;
        }
        m_storeOrder.settle(lane.pairIndex);
    } else if (!holdOutput(lane)) {
        return;
    }
    pairEnded(lane);
}

void GC_SequenceBlaster::runProgram(Lane &lane, const QString &program, const QStringList &arguments)
{
    // A cancel that came while the pair was being prepared.
    if (lane.stopped) {
        pairFailed(lane, "stopped before " + program + " started");
        return;
    }
    lane.runner->setProgram(program);
    lane.runner->setArguments(arguments);
    lane.runner->start(); // finished() comes back through runnerFinished()
}

void GC_SequenceBlaster::runnerFinished(Lane &lane, bool ok)
{
    if (lane.pairIndex < 0)
        return;
    if (lane.stopped) {
        pairFailed(lane, lane.runner->errorText());
        return;
    }
    if (lane.stage == MakingDatabase)
        blaststep2(lane, ok);
    else if (lane.stage == Searching)
        blaststep3(lane, ok);
}

bool GC_SequenceBlaster::removeWorkFiles(Lane &lane)
{
    QString reason;
    if (lane.folder.removeFiles(workFileNames(), &reason))
        return true;
    pairFailed(lane, reason);
    return false;
}

bool GC_SequenceBlaster::writeWorkFiles(Lane &lane)
{
    QByteArray target;
    QByteArray query;
    {
        GC_SqlConnection connection("gc_blast", m_database, GC_SqlConnection::ReadOnly);
        if (!connection.isOpen()) {
            pairFailed(lane, QString("cannot open the comparison database %1: %2")
                                 .arg(m_database, connection.errorText()));
            return false;
        }
        QSqlQuery select(connection.database());
        select.prepare(GC_ComparisonDatabase::selectSequenceStatement(connection.database()));
        const std::pair<int, QByteArray *> wanted[] = {{lane.targetId, &target}, {lane.queryId, &query}};
        for (const auto &[id, sequence] : wanted) {
            select.addBindValue(id);
            if (!select.exec()) {
                pairFailed(lane, QString("error : %1").arg(select.lastError().text()));
                return false;
            }
            if (!select.next()) {
                pairFailed(lane, GC_QueryEnd::stoppedShort(select)
                                     ? QString("error : %1").arg(select.lastError().text())
                                     : QString("genome %1 is not in the comparison database").arg(id));
                return false;
            }
            *sequence = GC_SequenceText::latin1(select.value(0));
            select.finish();
            if (sequence->isEmpty()) {
                pairFailed(lane, QString("genome %1 has no sequence").arg(id));
                return false;
            }
        }
    }
    QString reason;
    if (lane.folder.writeFasta(TargetFile, ">1", target, &reason)
        && lane.folder.writeFasta(QueryFile, ">2", query, &reason))
        return true;
    pairFailed(lane, QString("cannot write the sequences into %1: %2").arg(lane.folder.path(), reason));
    return false;
}

// The output of a pair that ended before its turn is kept under a name of
// its own, so that the lane can take the next pair meanwhile.
bool GC_SequenceBlaster::holdOutput(Lane &lane)
{
    const QString heldName = heldOutputName(lane.pairIndex);
    QString reason;
    if (lane.folder.removeFiles({heldName}, &reason)) {
        QFile output(lane.folder.filePath(OutputFile));
        if (output.rename(lane.folder.filePath(heldName))) {
            m_storeOrder.hold(lane.pairIndex, output.fileName());
            return true;
        }
        reason = QString("cannot keep the output %1 until its turn: %2").arg(output.fileName(), output.errorString());
    }
    pairFailed(lane, reason);
    return false;
}

// Stores, in the order of the pairs, every held output whose turn has come.
void GC_SequenceBlaster::storeHeldPairs()
{
    int pairIndex = -1;
    QString resultFile;
    while (m_storeOrder.takeNextHeld(&pairIndex, &resultFile)) {
        // An asynchronous run keeps nothing of a pair after its first failed
        // one: one pair at a time would never have run it.
        QString reason;
        if (pairIndex < m_firstFailedPair && !storeMatchings(pairIndex, resultFile, &reason))
            countFailure(pairIndex, reason);
        if (!QFile::remove(resultFile))
            qCDebug(lcKestal).noquote() << "GC_SequenceBlaster: cannot remove" << resultFile;
    }
}

bool GC_SequenceBlaster::storeMatchings(int pairIndex, const QString &resultFile, QString *errorText)
{
    GC_SqlConnection connection("gc_blast3", m_database);
    if (!connection.isOpen()) {
        *errorText = QString("cannot open the comparison database %1: %2").arg(m_database, connection.errorText());
        return false;
    }
    QSqlDatabase db = connection.database();
    // The comparison database is a work file, made anew for every
    // comparison: waiting for the disk to hold each commit would only slow
    // the road. The journal stays, so a failed pair still rolls back.
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous = OFF"))) {
        *errorText = QString("PRAGMA synchronous = OFF: %1").arg(pragma.lastError().text());
        return false;
    }
    // One transaction per pair: a pair is stored whole or not at all.
    if (!db.transaction()) {
        *errorText = QString("cannot begin a transaction: %1").arg(db.lastError().text());
        return false;
    }
    const int targetId = m_pairs.at(pairIndex).first;
    const int queryId = m_pairs.at(pairIndex).second;
    QString insertError;
    bool ok = true;
    {
        QSqlQuery insert(db);
        if (!insert.prepare(GC_ComparisonDatabase::insertMatchingStatement())) {
            insertError = insert.lastError().text();
            ok = false;
        }
        GC_BlastXmlReader reader;
        if (ok) {
            ok = reader.readFile(resultFile, [&](const GC_BlastHsp &hsp) {
                insert.addBindValue(targetId);
                insert.addBindValue(hsp.hitFrom);
                insert.addBindValue(hsp.hitTo);
                insert.addBindValue(queryId);
                insert.addBindValue(hsp.queryFrom);
                insert.addBindValue(hsp.queryTo);
                insert.addBindValue(QString::fromLatin1(hsp.hitSequence));
                insert.addBindValue(QString::fromLatin1(hsp.querySequence));
                insert.addBindValue(hsp.similarity());
                insert.addBindValue(hsp.bitScore);
                if (insert.exec())
                    return true;
                insertError = QString("GC_SequenceBlaster::blaststep3 Error : %1").arg(insert.lastError().text());
                return false;
            });
            if (!ok && insertError.isEmpty())
                insertError = reader.lastErrorText();
        }
    }
    if (ok && !db.commit()) {
        insertError = QString("cannot commit: %1").arg(db.lastError().text());
        ok = false;
    }
    if (!ok) {
        db.rollback();
        *errorText = insertError;
    }
    return ok;
}

void GC_SequenceBlaster::pairFailed(Lane &lane, const QString &reason)
{
    lane.stage = Idle;
    // An asynchronous run that ended at an earlier pair's failure stops the
    // later pairs without counting them: one pair at a time would never
    // have started them.
    if (!lane.stopped || m_cancelRequested)
        countFailure(lane.pairIndex, lane.stopped ? QString("cancelled (%1)").arg(reason) : reason);
    m_storeOrder.settle(lane.pairIndex);
    pairEnded(lane);
}

void GC_SequenceBlaster::countFailure(int pairIndex, const QString &reason)
{
    m_result = false;
    const QString message = QString("pair %1 (genome %2 against genome %3): %4")
                                .arg(pairIndex + 1)
                                .arg(m_pairs.at(pairIndex).second)
                                .arg(m_pairs.at(pairIndex).first)
                                .arg(reason);
    m_errors.insert(pairIndex, message);
    qCDebug(lcKestal).noquote() << "GC_SequenceBlaster:" << message;
    if (m_synchronous) {
        emit blastfailed();
        return;
    }
    // The asynchronous run ends at its first failure in the order of the
    // pairs; an earlier pair still running goes on and may fail first.
    m_stopping = true;
    m_firstFailedPair = qMin(m_firstFailedPair, pairIndex);
    for (const auto &other : m_lanes) {
        if (other->pairIndex > pairIndex) {
            other->stopped = true;
            other->runner->kill();
        }
    }
}

void GC_SequenceBlaster::pairEnded(Lane &lane)
{
    lane.pairIndex = -1;
    lane.stage = Idle;
    --m_runningPairs;
    ++m_pairsDone;
    reportPairsDone();
    advance();
}

void GC_SequenceBlaster::reportPairsDone()
{
    emit progressMessage(0, tr("Sequence pairs done: %1 of %2").arg(m_pairsDone).arg(m_pairs.size()));
}
