#include "sqlite_file_lock.h"

#include "gc_sqlconnection.h"

#include <QAtomicInt>
#include <QSqlQuery>
#include <QThread>

SqliteFileLock::SqliteFileLock(const QString &path, int releaseAfterMs)
{
    static QAtomicInt serial;
    const QString name = QStringLiteral("sqlite_file_lock_%1").arg(serial.fetchAndAddRelaxed(1));
    m_thread = QThread::create([this, path, name, releaseAfterMs] {
        GC_SqlConnection connection(name, path);
        QSqlQuery query(connection.database());
        m_held = query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        m_taken.release();
        if (!m_held)
            return;
        m_release.tryAcquire(1, releaseAfterMs);
        query.exec(QStringLiteral("ROLLBACK"));
    });
    m_thread->start();
    m_taken.acquire();
    if (releaseAfterMs < 0) {
        m_busyTimeout = GC_SqlConnection::busyTimeout();
        GC_SqlConnection::setBusyTimeout(100);
    }
}

SqliteFileLock::~SqliteFileLock()
{
    m_release.release();
    m_thread->wait();
    delete m_thread;
    if (m_busyTimeout >= 0)
        GC_SqlConnection::setBusyTimeout(m_busyTimeout);
}
