#include "gc_sqlconnection.h"

#include <QFileInfo>
#include <QSqlError>

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
