#include "gc_chromsdatabase.h"

#include "gc_log.h"
#include "gc_sqlconnection.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

bool chromsDatabaseOpen = false;

namespace {
const char *const connectionName = "chroms";
}

QString chromsDatabasePath()
{
    return QCoreApplication::applicationDirPath() + "/databases/chroms.sqlite3";
}

bool openChromsDatabase()
{
    return openChromsDatabase(chromsDatabasePath());
}

bool openChromsDatabase(const QString &path)
{
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    chromsDatabaseOpen = false;
    // SQLite would create an empty file where none exists; a browser over an
    // empty database is worse than none.
    if (!QFileInfo(path).isFile()) {
        qCDebug(lcKestal).noquote() << "Error opening chroms db:" << path << "does not exist";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(GC_SqlConnection::connectOptions(GC_SqlConnection::ReadOnly));
    if (!db.open()) {
        qCDebug(lcKestal).noquote() << "Error opening chroms db:" << db.lastError().text();
        return false;
    }
    // A damaged taxonomy would show a browser with branches missing.
    const QString reason = GC_SqlConnection::integrityReason(db);
    if (!reason.isEmpty()) {
        qCDebug(lcKestal).noquote() << "Error opening chroms db:" << path << reason;
        db.close();
        return false;
    }
    chromsDatabaseOpen = true;
    qCDebug(lcKestal).noquote() << path + " was opened successfully";
    return true;
}
