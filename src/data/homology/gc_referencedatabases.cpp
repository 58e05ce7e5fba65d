#include "gc_referencedatabases.h"

#include "gc_log.h"
#include "gc_referencelookup.h"
#include "gc_sqlconnection.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString &currentFolder()
{
    static QString folder;
    return folder;
}

QString &lastError(GC_ReferenceDatabases::Collection collection)
{
    static QString errors[3];
    return errors[collection];
}

const char *collectionLabel(GC_ReferenceDatabases::Collection collection)
{
    switch (collection) {
    case GC_ReferenceDatabases::Cog:
        return "COG";
    case GC_ReferenceDatabases::Rfam:
        return "RFAM";
    case GC_ReferenceDatabases::Rrna:
        break;
    }
    return "RRNA";
}

// Connections must go before the SQL driver does at application exit.
void closeAllAtExit()
{
    GC_ReferenceDatabases::closeAll();
}

} // namespace

QString GC_ReferenceDatabases::connectionName(Collection collection)
{
    switch (collection) {
    case Cog:
        return QStringLiteral("cog_proteins");
    case Rfam:
        return QStringLiteral("rfam_seqs");
    case Rrna:
        break;
    }
    return QStringLiteral("rrna_seqs");
}

QString GC_ReferenceDatabases::fileName(Collection collection)
{
    switch (collection) {
    case Cog:
        return QStringLiteral("cog.sqlite3");
    case Rfam:
        return QStringLiteral("rfams.sqlite3");
    case Rrna:
        break;
    }
    return QStringLiteral("rrnas.sqlite3");
}

QString GC_ReferenceDatabases::defaultFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/databases");
}

QString GC_ReferenceDatabases::folder()
{
    return currentFolder().isEmpty() ? defaultFolder() : currentFolder();
}

void GC_ReferenceDatabases::setFolder(const QString &folder)
{
    currentFolder() = folder;
}

QString GC_ReferenceDatabases::filePath(const QString &fileName)
{
    return folder() + QLatin1Char('/') + fileName;
}

bool GC_ReferenceDatabases::open(Collection collection)
{
    static bool exitHookInstalled = false;
    if (!exitHookInstalled && QCoreApplication::instance()) {
        qAddPostRoutine(closeAllAtExit);
        exitHookInstalled = true;
    }

    close(collection);
    const QString path = filePath(fileName(collection));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName(collection));
    db.setDatabaseName(path);
    // Read-only: SQLite would otherwise create an empty file where the
    // collection is missing and report success.
    db.setConnectOptions(GC_SqlConnection::connectOptions(GC_SqlConnection::ReadOnly));

    QString reason;
    if (!QFileInfo(path).isFile()) {
        reason = QStringLiteral("no such file");
    } else if (!db.open()) {
        reason = db.lastError().text();
    } else {
        // SQLite opens any file lazily; a first read tells whether it is a database.
        // Nothing writes the collection while the program runs: keeping the
        // shared lock from the next read on spares two system calls and a
        // page check per look-up. A file in write-ahead-log mode cannot be
        // held so through a read-only connection, and is read as it is.
        // A damaged collection would answer look-ups with rows missing.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))
            || !probe.exec(QStringLiteral("PRAGMA journal_mode")) || !probe.next()
            || (probe.value(0).toString() != QLatin1String("wal")
                && !probe.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"))))
            reason = GC_SqlConnection::failureReason(probe.lastError());
        else
            reason = GC_SqlConnection::integrityReason(db);
        if (!reason.isEmpty()) {
            probe = QSqlQuery();
            db.close();
        }
    }

    lastError(collection) = reason;
    if (!reason.isEmpty()) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error opening %1 db \"%2\": %3")
                                    .arg(QLatin1String(collectionLabel(collection)), path, reason);
        return false;
    }
    qCDebug(lcKestal).noquote() << QStringLiteral("\"%1\": successfully opened").arg(path);
    return true;
}

QString GC_ReferenceDatabases::lastErrorText(Collection collection)
{
    return lastError(collection);
}

bool GC_ReferenceDatabases::openAll(const QString &folder)
{
    setFolder(folder);
    const bool cog = open(Cog);
    const bool rfam = open(Rfam);
    const bool rrna = open(Rrna);
    return cog && rfam && rrna;
}

QSqlDatabase GC_ReferenceDatabases::database(Collection collection)
{
    return QSqlDatabase::database(connectionName(collection), false);
}

bool GC_ReferenceDatabases::isOpen(Collection collection)
{
    return database(collection).isOpen();
}

void GC_ReferenceDatabases::close(Collection collection)
{
    const QString name = connectionName(collection);
    if (!QSqlDatabase::contains(name))
        return;
    GC_ReferenceLookup::releaseQueries(name);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void GC_ReferenceDatabases::closeAll()
{
    close(Cog);
    close(Rfam);
    close(Rrna);
}
