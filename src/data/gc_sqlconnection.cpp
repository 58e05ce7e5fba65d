#include "gc_sqlconnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

GC_SqlConnection::GC_SqlConnection(const QString &connectionName, const QString &path, Mode mode)
    : m_name(connectionName)
{
    // A stale connection of the same name (left by a crash elsewhere) would
    // make addDatabase() replace it with a warning; start clean instead.
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_name);
    db.setDatabaseName(path);
    if (mode == ReadOnly) {
        // Read-only must not create the file as a side effect.
        if (!QFileInfo(path).isFile()) {
            m_errorText = QString("the file %1 does not exist").arg(path);
            return;
        }
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
    }
    if (!db.open())
        m_errorText = db.lastError().text();
}

GC_SqlConnection::~GC_SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool GC_SqlConnection::isOpen() const
{
    return QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase GC_SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QString GC_SqlConnection::damage(const QString &path) const
{
    return isSqliteFile(path) ? integrityProblem() : QString();
}

QString GC_SqlConnection::damagedText(const QString &path, const QString &problem)
{
    return QStringLiteral("The file \"%1\" is damaged and cannot be read.\nSQLite reports: %2")
        .arg(path, problem);
}

QString GC_SqlConnection::integrityProblem() const
{
    if (!isOpen())
        return m_errorText.isEmpty() ? QStringLiteral("the file cannot be opened") : m_errorText;
    return integrityProblem(database());
}

QString GC_SqlConnection::integrityProblem(const QSqlDatabase &db)
{
    QSqlQuery check(db);
    check.setForwardOnly(true);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")))
        return check.lastError().text();
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

bool GC_SqlConnection::isDamage(const QSqlError &error)
{
    // SQLITE_CORRUPT and SQLITE_NOTADB, with or without their extended bits.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 11 || code == 26);
}

bool GC_SqlConnection::isDamage(const QSqlDatabase &db, const QString &table, const QSqlError &error)
{
    return isDamage(error) || db.tables().contains(table, Qt::CaseInsensitive);
}
