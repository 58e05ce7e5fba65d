#include "gc_sqlconnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <atomic>

GC_SqlConnection::GC_SqlConnection(const QString &connectionName, const QString &path, Mode mode)
    : m_name(connectionName)
{
    // A stale connection of the same name (left by a crash elsewhere) would
    // make addDatabase() replace it with a warning; start clean instead.
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_name);
    db.setDatabaseName(path);
    // Read-only must not create the file as a side effect.
    if (mode == ReadOnly && !QFileInfo(path).isFile()) {
        m_errorText = QString("the file %1 does not exist").arg(path);
        return;
    }
    if (mode == ReadOnly)
        undoUnfinishedChange(m_name, path);
    db.setConnectOptions(connectOptions(mode));
    if (!db.open())
        m_errorText = db.lastError().text();
}

void GC_SqlConnection::undoUnfinishedChange(const QString &connectionName, const QString &path)
{
    // SQLite undoes the change on the next read, on a connection that may
    // write; one read, waiting on locks like any other, does it.
    if (QFileInfo(path + QStringLiteral("-journal")).size() <= 0)
        return;
    GC_SqlConnection writer(connectionName + QStringLiteral("_undo"), path, ReadWrite);
    if (!writer.isOpen())
        return;
    QSqlQuery read(writer.database());
    read.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

GC_SqlConnection::~GC_SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_reading)
            db.rollback();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

namespace {
// Long enough for another program to finish a save, short enough that a
// file held for good is reported while the user still waits for it.
std::atomic<int> busyTimeoutMs{3000};
} // namespace

int GC_SqlConnection::busyTimeout()
{
    return busyTimeoutMs;
}

void GC_SqlConnection::setBusyTimeout(int milliseconds)
{
    busyTimeoutMs = milliseconds;
}

QString GC_SqlConnection::connectOptions(Mode mode)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout());
    if (mode == ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    return options;
}

bool GC_SqlConnection::isOpen() const
{
    return QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase GC_SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QString GC_SqlConnection::readProblem(const QString &path)
{
    if (!isSqliteFile(path))
        return QString();
    if (!isOpen())
        return damagedText(path, integrityProblem());
    QSqlDatabase db = database();
    // A deferred transaction: the check's read takes the shared lock, and
    // the transaction keeps it for every later statement.
    m_reading = db.transaction();
    QSqlError failed;
    const QString problem = integrityProblem(db, &failed);
    if (failed.isValid())
        return failureText(path, failed);
    return problem.isEmpty() ? QString() : damagedText(path, problem);
}

GC_SqlConnection::Failure GC_SqlConnection::failure(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        return Damaged;
    // SQLITE_READONLY_ROLLBACK (a rollback journal) and
    // SQLITE_READONLY_RECOVERY (a write-ahead log) to be played back, which
    // only a connection that may write can do.
    if (code == 776 || code == 264)
        return LeftMidWrite;
    // SQLITE_BUSY and SQLITE_LOCKED, with or without their extended bits.
    const int primary = code & 0xff;
    return primary == 5 || primary == 6 ? InUse : Damaged;
}

QString GC_SqlConnection::failureText(const QString &path, const QSqlError &error)
{
    switch (failure(error)) {
    case InUse:
        return inUseText(path);
    case LeftMidWrite:
        return leftMidWriteText(path);
    case Damaged:
        break;
    }
    return damagedText(path, error.text());
}

QString GC_SqlConnection::failureReason(const QSqlError &error)
{
    switch (failure(error)) {
    case InUse:
        return QStringLiteral("the file is in use by another program, which holds it locked");
    case LeftMidWrite:
        return QStringLiteral("the file was left mid-write by a program that stopped, and the "
                              "unfinished change cannot be undone without permission to write "
                              "the file and its folder");
    case Damaged:
        break;
    }
    return damagedReason(error.text());
}

QString GC_SqlConnection::damagedReason(const QString &problem)
{
    return QStringLiteral("the file is damaged: %1").arg(problem);
}

QString GC_SqlConnection::integrityReason(const QSqlDatabase &db)
{
    QSqlError failed;
    const QString problem = integrityProblem(db, &failed);
    if (failed.isValid())
        return failureReason(failed);
    return problem.isEmpty() ? QString() : damagedReason(problem);
}

QString GC_SqlConnection::damagedText(const QString &path, const QString &problem)
{
    return QStringLiteral("The file \"%1\" is damaged and cannot be read.\nDetails: %2")
        .arg(path, problem);
}

QString GC_SqlConnection::inUseText(const QString &path)
{
    return QStringLiteral("The file \"%1\" is in use by another program, which holds it locked, "
                          "and cannot be read now.\nTry again when that program has finished with it.")
        .arg(path);
}

QString GC_SqlConnection::inUseReplaceText(const QString &path)
{
    return QStringLiteral("The file \"%1\" is in use by another program, which holds it locked, "
                          "and cannot be replaced now.\nTry again when that program has finished with it.")
        .arg(path);
}

QString GC_SqlConnection::leftMidWriteText(const QString &path)
{
    return QStringLiteral(
               "The file \"%1\" was left mid-write by a program that stopped before it finished, "
               "and cannot be read until that unfinished change is undone, which needs permission "
               "to write the file and its folder.\nOpen it once where you may write them (or ask "
               "their owner to): the file is then restored as it was before the change. Keep the "
               "file \"%1-journal\" beside it until then; it holds what the restoring needs.")
        .arg(path);
}

QString GC_SqlConnection::integrityProblem() const
{
    if (!isOpen())
        return m_errorText.isEmpty() ? QStringLiteral("the file cannot be opened") : m_errorText;
    return integrityProblem(database());
}

QString GC_SqlConnection::integrityProblem(const QSqlDatabase &db, QSqlError *failed)
{
    if (failed)
        *failed = QSqlError();
    QSqlQuery check(db);
    check.setForwardOnly(true);
    if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (failed)
            *failed = check.lastError();
        return check.lastError().text();
    }
    // SQLite answers one row "ok", or one row per problem found; a few of
    // them say enough.
    QStringList problems;
    while (problems.size() < 3 && check.next()) {
        const QString line = check.value(0).toString();
        if (line == QLatin1String("ok"))
            return QString();
        problems << line;
    }
    if (problems.isEmpty() && check.lastError().isValid())
        problems << check.lastError().text();
    return problems.isEmpty() ? QStringLiteral("the check gave no answer") : problems.join('\n');
}

bool GC_SqlConnection::isSqliteFile(const QString &path)
{
    QFile file(path);
    static const QByteArray header("SQLite format 3", 16);
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

bool GC_SqlConnection::isInUse(const QSqlError &error)
{
    return failure(error) == InUse;
}

bool GC_SqlConnection::isDamage(const QSqlError &error)
{
    // SQLITE_CORRUPT and SQLITE_NOTADB, without their extended bits.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 11 || code == 26);
}

bool GC_SqlConnection::isDamage(const QSqlDatabase &db, const QString &table, const QSqlError &error)
{
    return isDamage(error) || db.tables().contains(table, Qt::CaseInsensitive);
}
