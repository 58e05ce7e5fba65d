#ifndef SQLITE_FILE_LOCK_H
#define SQLITE_FILE_LOCK_H

#include <QSemaphore>
#include <QString>

class QThread;

// Holds an SQLite file locked the way another program would: a connection
// of its own, in a thread of its own, inside BEGIN EXCLUSIVE, so that no
// other connection can read the file until the lock is let go. The lock is
// taken before the constructor returns and let go by the destructor, or
// after releaseAfterMs when that is given (so that a reader already
// waiting on the lock in this thread gets it).
//
// A lock held until the destructor outlasts any wait; while it lives, the
// program's connections wait a tenth of a second for a lock instead of
// their usual few seconds, so that a test of it stays quick.
class SqliteFileLock
{
public:
    explicit SqliteFileLock(const QString &path, int releaseAfterMs = -1);
    ~SqliteFileLock();
    SqliteFileLock(const SqliteFileLock &) = delete;
    SqliteFileLock &operator=(const SqliteFileLock &) = delete;

    bool isHeld() const { return m_held; }

private:
    QThread *m_thread = nullptr;
    QSemaphore m_taken;
    QSemaphore m_release;
    bool m_held = false;
    int m_busyTimeout = -1;
};

#endif
