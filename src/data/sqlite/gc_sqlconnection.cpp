#include "gc_sqlconnection.h"

#include <QDir>
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
    if (QFileInfo(realFile(path) + QStringLiteral("-journal")).size() <= 0)
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
        return Failed;
    // SQLITE_READONLY_ROLLBACK (a rollback journal) and
    // SQLITE_READONLY_RECOVERY (a write-ahead log) to be played back, which
    // only a connection that may write can do.
    if (code == 776 || code == 264)
        return LeftMidWrite;
    // SQLITE_READONLY_DIRECTORY: a read-only connection meets it only where
    // it would create the shared-memory file of a write-ahead log. Plain
    // SQLITE_CANTOPEN from a statement: the file itself opened with the
    // connection, so what cannot be opened is the shared-memory file or the
    // log beside it. (A connection that may write meets both where a
    // rollback journal cannot be made; its failures are not judged here.)
    // SQLITE_READONLY_CANTLOCK and SQLITE_READONLY_CANTINIT: a shared-memory
    // file this user may only read.
    if (code == 1544 || code == 520 || code == 1288
        || (code == 14 && error.type() != QSqlError::ConnectionError))
        return WriteAheadLogUnreadable;
    // SQLITE_BUSY and SQLITE_LOCKED, with or without their extended bits.
    const int primary = code & 0xff;
    if (primary == 5 || primary == 6)
        return InUse;
    // SQLITE_CORRUPT and SQLITE_NOTADB.
    if (primary == 11 || primary == 26)
        return Damaged;
    return Failed;
}

bool GC_SqlConnection::isUnreadableHere(const QSqlError &error)
{
    switch (failure(error)) {
    case InUse:
    case LeftMidWrite:
    case WriteAheadLogUnreadable:
        return true;
    case Damaged:
    case Failed:
        break;
    }
    return false;
}

QString GC_SqlConnection::failureText(const QString &path, const QSqlError &error)
{
    switch (failure(error)) {
    case InUse:
        return inUseText(path);
    case LeftMidWrite:
        return leftMidWriteText(path);
    case WriteAheadLogUnreadable:
        return writeAheadLogText(path);
    case Damaged:
    case Failed:
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
    case WriteAheadLogUnreadable:
        return QStringLiteral("the file is kept in write-ahead-log mode, which SQLite can read only "
                              "where it may create its shared-memory file beside it, or open the "
                              "one there, and here it can do neither");
    case Damaged:
    case Failed:
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
               "file \"%2\" beside it until then; it holds what the restoring needs.")
        .arg(path, realFile(path) + QStringLiteral("-journal"));
}

QString GC_SqlConnection::writeAheadLogText(const QString &path)
{
    return QStringLiteral(
               "The file \"%1\" is kept in write-ahead-log mode, which SQLite can read only where "
               "it may create its shared-memory file beside it, or open the one there; here it can "
               "do neither.\nOpen it from a folder you may write (copy it there together with the "
               "file \"%2\", if that lies beside it), or ask someone who may write it and its "
               "folder to take it out of that mode (PRAGMA journal_mode=DELETE in the sqlite3 shell).")
        .arg(path, realFile(path) + QStringLiteral("-wal"));
}

QString GC_SqlConnection::realFile(const QString &path)
{
    // SQLite resolves every link on the path as the system does, and names
    // its files after the result.
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() || real == QDir::cleanPath(info.absoluteFilePath()) ? path : real;
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

QByteArray GC_SqlConnection::sqliteHeader()
{
    return QByteArray("SQLite format 3", 16);
}

bool GC_SqlConnection::isSqliteFile(const QString &path)
{
    QFile file(path);
    const QByteArray header = sqliteHeader();
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

bool GC_SqlConnection::isInUse(const QSqlError &error)
{
    return failure(error) == InUse;
}

bool GC_SqlConnection::isDamage(const QSqlError &error)
{
    return failure(error) == Damaged;
}

bool GC_SqlConnection::isDamage(const QSqlDatabase &db, const QString &table, const QSqlError &error)
{
    return isDamage(error) || db.tables().contains(table, Qt::CaseInsensitive);
}
