#ifndef GC_FILEREPLACEMENT_H
#define GC_FILEREPLACEMENT_H

#include <QFile>
#include <QString>

#include <memory>

class GC_SqlConnection;
class QSqlError;
class QSqlQuery;

// Puts a newly written file in the place of the file a path names, so that
// a failed write leaves the old file as it was. The file replaced is the
// one the system opens through the path (links followed as the system
// follows them); the links stay. The new file is written beside it under a
// unique temporary name, created here, and takes the old file's owner,
// group, mode and extended attributes (its access list among them). Where
// this user may not give it the old owner or group (a canvas of someone
// else's in a shared folder) or every attribute, an SQLite file is instead
// rewritten in place, in one transaction, so that it stays as it was. The
// new file is held locked from its creation until it is put in place, so
// that a later save tells a file left by a save that stopped, at whatever
// moment, from one still being written, and removes it. A file its user
// may not write is refused, and so is an SQLite file another program holds
// locked: the lock is waited for as an opening waits, then held until the
// new content is in place, so that no other program commits into a file
// about to be replaced. A write-ahead log the old file has is folded into
// it first, so that it can never be played over the new file. A rename is
// synced with its folder before the save counts as done.
class GC_FileReplacement
{
public:
    explicit GC_FileReplacement(const QString &fileName);
    // Removes the temporary file (and its journal) unless it was put in place.
    ~GC_FileReplacement();
    GC_FileReplacement(const GC_FileReplacement &) = delete;
    GC_FileReplacement &operator=(const GC_FileReplacement &) = delete;

    // Finds the file to replace, checks that it may be replaced and creates
    // the temporary file. False, with the reason in errorText(), when the
    // save cannot go on; nothing is changed then.
    bool begin();
    // The temporary file to write, once begin() went through.
    QString temporaryFile() const { return m_temporary; }
    // The file replaced: the real file behind any links.
    QString target() const { return m_target; }

    // Gives the temporary file the old file's extended attributes and mode,
    // syncs it, renames it over the old file and syncs the folder; or
    // copies its content into the old file. False, with errorText(), when a
    // step fails; the old file is then untouched, unless only the last sync
    // of the folder failed.
    bool commit();

    // What a save writes into its temporary file until its last step, so
    // that a save that stopped half-way is never taken for a canvas: the
    // key of a file_properties row.
    static QString unfinishedKey();

    QString errorText() const { return m_errorText; }

private:
    bool resolveTarget();
    bool createTemporaryFile();
    bool keepOwnership(int fd);
    void keepAttributes();
    bool lockTarget();
    bool refuseUnlocked(const QSqlError &error);
    void removeLeftovers() const;
    bool copyIntoTarget();
    static bool clearUnfinishedMark(QSqlQuery &query);
    void removeTemporaryFile();
    void releaseTemporaryFile();
    bool fail(const QString &message);

    QString m_fileName;
    QString m_target;
    QString m_temporary;
    // The temporary file, open and locked while it lies under its name.
    int m_held = -1;
    bool m_replacing = false;
    // The old file's owner, group and mode (permission bits).
    uint m_owner = 0;
    uint m_group = 0;
    uint m_mode = 0;
    // The new content goes into the old file rather than replacing it.
    bool m_inPlace = false;
    std::unique_ptr<GC_SqlConnection> m_lock;
    QString m_errorText;
};

#endif
