#ifndef GC_SOURCEFILEHOLD_H
#define GC_SOURCEFILEHOLD_H

#include <QMutex>
#include <QString>

#include <memory>

class GC_RunDatabase;

// The file a document's genomes were read from, held open from the reading
// on, so that what is read from it later (the stored hits a save copies, a
// dialog shows or a count counts, a sequence not kept in memory) comes from
// that very file, never from another that has taken its name since (another
// program's save, a copy over it), nor from the file as another program
// changed it since, in place or through its write-ahead log. Every genome
// read from one file shares one hold.
class GC_SourceFileHold
{
public:
    // The hold on the file path names now: one already made while the file
    // is still as it was, otherwise a new one. Null for an empty path.
    static std::shared_ptr<GC_SourceFileHold> hold(const QString &path);
    // The hold on the file at path while the file is still as it was read;
    // null otherwise. Before this program changes how the file stores its
    // rows, but not the rows (folding its write-ahead log), so that the
    // hold can accept the change.
    static std::shared_ptr<GC_SourceFileHold> unchangedHold(const QString &path);

    ~GC_SourceFileHold();
    GC_SourceFileHold(const GC_SourceFileHold &) = delete;
    GC_SourceFileHold &operator=(const GC_SourceFileHold &) = delete;

    // The name the file was read under.
    QString path() const { return m_path; }

    // The file to open for the document's rows: path() while it still names
    // the held file as it was; once another file has taken the name, a
    // private copy of the held file, which stays whole while it is held.
    // Empty, with the reason in words in problem, when the held file itself
    // was changed since (written over in place or through its log), or the
    // copy fails.
    QString readablePath(QString *problem);

    // After this program wrote the document's rows into readablePath(): what
    // the file holds now is the document's.
    void acceptChanges();

private:
    // The same file as the system sees it at a moment: which file, its size
    // and time of last change, and its first bytes (an SQLite file counts
    // its changes there, which a clock too coarse for quick writes misses).
    struct Identity
    {
        qint64 device = -1;
        qint64 inode = -1;
        qint64 size = -1;
        qint64 modified = -1;
        QByteArray header;
        bool operator==(const Identity &other) const;
    };

    // What the write-ahead log beside the file holds: nothing (no log, or
    // one without a frame), or its header and size. A commit into the log
    // makes it longer, or starts it anew under a new header; a checkpoint
    // changes the file itself.
    struct LogState
    {
        qint64 size = 0;
        QByteArray header;
        bool operator==(const LogState &other) const;
    };

    explicit GC_SourceFileHold(const QString &path);
    // The held file as it is now.
    Identity heldIdentity() const;
    // The log as it is now, read by the name SQLite gives it.
    LogState logState() const;
    // Whether the name still leads to the held file.
    bool named() const;
    // Whether the name still leads to the held file, as it was read.
    bool unchanged() const;
    QString copyHeldFile(QString *problem);

    QString m_path;
    QString m_logPath;
    int m_fd = -1;
    Identity m_identity;
    LogState m_log;
    std::shared_ptr<GC_RunDatabase> m_copy;
    mutable QMutex m_mutex;
};

#endif
