#ifndef GC_FILEREPLACEMENT_H
#define GC_FILEREPLACEMENT_H

#include <QFile>
#include <QString>

#include <memory>

class GC_SqlConnection;

// Puts a newly written file in the place of the file a path names, so that
// a failed write leaves the old file as it was. The file replaced is the
// one the system opens through the path (links followed as the system
// follows them); the links stay. The new file is written beside it under a
// unique temporary name, created here, and takes its permissions. A file
// its user may not write is refused, and so is an SQLite file another
// program holds locked: the lock is waited for as an opening waits, then
// held until the new file is in place, so that no other program commits
// into a file about to be replaced.
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

    // Syncs the temporary file, gives it the old file's permissions and
    // renames it over the old file. False, with errorText(), when a step
    // fails; the old file is then untouched.
    bool commit();

    QString errorText() const { return m_errorText; }

private:
    bool resolveTarget();
    bool createTemporaryFile();
    bool lockTarget();
    void removeTemporaryFile();
    bool fail(const QString &message);

    QString m_fileName;
    QString m_target;
    QString m_temporary;
    bool m_replacing = false;
    QFile::Permissions m_permissions;
    std::unique_ptr<GC_SqlConnection> m_lock;
    QString m_errorText;
};

#endif
