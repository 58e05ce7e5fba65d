#include "gc_sequenceblaster.h"

#include "gc_blastrunner.h"
#include "gc_blasttoolpath.h"
#include "gc_blastxmlreader.h"
#include "gc_comparisondatabase.h"
#include "gc_sqlconnection.h"

#include <QDebug>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {
const char *TargetFile = "seq1";
const char *QueryFile = "seq2";
const char *DatabaseName = "seq1.db";
const char *OutputFile = "out";
} // namespace

GC_SequenceBlaster::GC_SequenceBlaster(QObject *parent)
    : QObject(parent)
    , m_runner(new GC_BlastRunner(this))
{
    qDebug().noquote() << "GC_SequenceBlaster: work folder" << m_workFolder.path();
    m_runner->setWorkingDirectory(m_workFolder.path());
    connect(m_runner, &GC_BlastRunner::finished, this, &GC_SequenceBlaster::runnerFinished);
}

void GC_SequenceBlaster::setDatabase(const QString &path)
{
    m_database = path;
    m_pairIndex = 0;
}

void GC_SequenceBlaster::startRun(bool synchronous)
{
    m_synchronous = synchronous;
    m_result = true;
    m_errors.clear();
    // Paths are looked up per run so that a changed setting takes effect.
    QString makeblastdbError;
    QString blastnError;
    m_makeblastdbPath = GC_BlastToolPath::resolve("makeblastdbpath", "makeblastdb", &makeblastdbError);
    m_blastnPath = GC_BlastToolPath::resolve("blastnpath", "blastn", &blastnError);
    m_setupError = m_makeblastdbPath.isEmpty() ? "makeblastdb: " + makeblastdbError
                   : m_blastnPath.isEmpty()    ? "blastn: " + blastnError
                                               : QString();
    // Without its own folder a run must not start: it would write and remove
    // its work files wherever the process happens to be.
    QString folderError;
    if (m_setupError.isEmpty() && !m_workFolder.ensure(&folderError))
        m_setupError = folderError;
    emit progressMessage(0, tr("Starting BLAST process."));
}

void GC_SequenceBlaster::blastHanged()
{
    startRun(true);
    while (m_pairIndex < m_pairs.size()) {
        emit progressMessage(0, tr("Sequence pair %1 of %2").arg(m_pairIndex + 1).arg(m_pairs.size()));
        blaststep1(m_pairs.at(m_pairIndex).first, m_pairs.at(m_pairIndex).second);
        ++m_pairIndex;
    }
}

void GC_SequenceBlaster::blast()
{
    if (m_stage != Idle) {
        qWarning() << "GC_SequenceBlaster::blast(): a run is already going on";
        return;
    }
    startRun(false);
    nextAsynchronousPair();
    qDebug() << "GC_SequenceBlast::blast() finished";
}

void GC_SequenceBlaster::nextAsynchronousPair()
{
    if (m_pairIndex < m_pairs.size()) {
        emit progressMessage(0, tr("Sequence pair %1 of %2").arg(m_pairIndex + 1).arg(m_pairs.size()));
        blaststep1(m_pairs.at(m_pairIndex).first, m_pairs.at(m_pairIndex).second);
    } else {
        emit blastfinished();
    }
}

void GC_SequenceBlaster::blaststep1(int seq1, int seq2)
{
    m_targetId = seq1;
    m_queryId = seq2;
    if (!m_setupError.isEmpty()) {
        pairFailed(m_setupError);
        return;
    }
    // No earlier pair's database or output may be taken for this one's.
    if (!removeWorkFiles())
        return;
    if (!writeWorkFiles(seq1, seq2))
        return;
    m_stage = MakingDatabase;
    const QStringList arguments{"-in", TargetFile, "-dbtype", "nucl", "-hash_index", "-out", DatabaseName};
    qWarning().noquote() << "GC_SequenceBlaster::blaststep1 Command :"
                         << (QStringList{m_makeblastdbPath} + arguments).join(' ');
    runProgram(m_makeblastdbPath, arguments);
}

void GC_SequenceBlaster::blaststep2(bool makeblastdbOk)
{
    if (!makeblastdbOk) {
        pairFailed(m_runner->errorText());
        return;
    }
    QStringList arguments{"-db", DatabaseName, "-query", QueryFile, "-out", OutputFile, "-outfmt", "5"};
    // The task goes unquoted onto the command line: blanks separate words.
    arguments << "-task" << m_options.task().split(' ', Qt::SkipEmptyParts);
    m_stage = Searching;
    qWarning().noquote() << "GC_SequenceBlaster::blaststep2 Blast command"
                         << (QStringList{m_blastnPath} + arguments).join(' ');
    runProgram(m_blastnPath, arguments);
}

void GC_SequenceBlaster::blaststep3(bool blastnOk)
{
    qWarning() << "GC_SequenceBlaster::blaststep3";
    m_stage = Idle;
    if (!blastnOk) {
        pairFailed(m_runner->errorText());
        return;
    }
    if (!storeMatchings())
        return;
    pairDone();
}

void GC_SequenceBlaster::runProgram(const QString &program, const QStringList &arguments)
{
    m_runner->setProgram(program);
    m_runner->setArguments(arguments);
    if (m_synchronous)
        m_runner->run(); // finished() calls the next step before run() returns
    else
        m_runner->start();
}

void GC_SequenceBlaster::runnerFinished(bool ok)
{
    if (m_stage == MakingDatabase)
        blaststep2(ok);
    else if (m_stage == Searching)
        blaststep3(ok);
}

bool GC_SequenceBlaster::removeWorkFiles()
{
    const QStringList names = QStringList{TargetFile, QueryFile, OutputFile}
                              + GC_BlastWorkFolder::databaseFileNames(DatabaseName, 'n');
    QString reason;
    if (m_workFolder.removeFiles(names, &reason))
        return true;
    pairFailed(reason);
    return false;
}

bool GC_SequenceBlaster::writeWorkFiles(int seq1, int seq2)
{
    QByteArray target;
    QByteArray query;
    {
        GC_SqlConnection connection("gc_blast", m_database, GC_SqlConnection::ReadOnly);
        if (!connection.isOpen()) {
            pairFailed(QString("cannot open the comparison database %1: %2")
                           .arg(m_database, connection.errorText()));
            return false;
        }
        QSqlQuery select(connection.database());
        select.prepare(GC_ComparisonDatabase::selectSequenceStatement());
        const std::pair<int, QByteArray *> wanted[] = {{seq1, &target}, {seq2, &query}};
        for (const auto &[id, sequence] : wanted) {
            select.addBindValue(id);
            if (!select.exec()) {
                pairFailed(QString("error : %1").arg(select.lastError().text()));
                return false;
            }
            if (!select.next()) {
                pairFailed(QString("genome %1 is not in the comparison database").arg(id));
                return false;
            }
            *sequence = select.value(0).toString().toLatin1();
            select.finish();
            if (sequence->isEmpty()) {
                pairFailed(QString("genome %1 has no sequence").arg(id));
                return false;
            }
        }
    }
    return writeFasta(TargetFile, ">1\n", target) && writeFasta(QueryFile, ">2\n", query);
}

bool GC_SequenceBlaster::writeFasta(const QString &fileName, const QString &header,
                                    const QByteArray &sequence)
{
    QFile file(m_workFolder.filePath(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(header.toLatin1()) < 0
        || file.write(sequence) != sequence.size() || !file.flush()) {
        pairFailed(QString("cannot write %1: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    return true;
}

bool GC_SequenceBlaster::storeMatchings()
{
    GC_SqlConnection connection("gc_blast3", m_database);
    if (!connection.isOpen()) {
        pairFailed(QString("cannot open the comparison database %1: %2")
                       .arg(m_database, connection.errorText()));
        return false;
    }
    QSqlDatabase db = connection.database();
    // One transaction per pair: a pair is stored whole or not at all.
    if (!db.transaction()) {
        pairFailed(QString("cannot begin a transaction: %1").arg(db.lastError().text()));
        return false;
    }
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
            ok = reader.readFile(m_workFolder.filePath(OutputFile), [&](const GC_BlastHsp &hsp) {
                insert.addBindValue(m_targetId);
                insert.addBindValue(hsp.hitFrom);
                insert.addBindValue(hsp.hitTo);
                insert.addBindValue(m_queryId);
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
        pairFailed(insertError);
    }
    return ok;
}

void GC_SequenceBlaster::pairFailed(const QString &reason)
{
    m_stage = Idle;
    m_result = false;
    const QString message = QString("pair %1 (genome %2 against genome %3): %4")
                                .arg(m_pairIndex + 1)
                                .arg(m_queryId)
                                .arg(m_targetId)
                                .arg(reason);
    m_errors << message;
    qWarning().noquote() << "GC_SequenceBlaster:" << message;
    emit blastfailed();
    // The asynchronous run ends at its first failure.
}

void GC_SequenceBlaster::pairDone()
{
    if (m_synchronous)
        return; // the loop of blastHanged() moves on
    ++m_pairIndex;
    nextAsynchronousPair();
}
