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
};

#endif
