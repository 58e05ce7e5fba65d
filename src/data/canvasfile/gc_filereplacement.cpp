#include "gc_filereplacement.h"

#include "gc_extendedattributes.h"
#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_saveleftover.h"
#include "gc_sourcefilehold.h"
#include "gc_sqlconnection.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isLink(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool existsAsEntry(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}

QByteArray linkTarget(const QByteArray &path)
{
    QByteArray target(4096, '\0');
    const ssize_t size = ::readlink(path.constData(), target.data(), size_t(target.size()));
    return size < 0 || size >= target.size() ? QByteArray() : target.left(size);
}

// The real folder a path names, as the system resolves it ("x/../y" taken
// after the links before it); empty, with the reason in error, when it
// cannot be.
QByteArray realFolder(const QByteArray &folder, int *error)
{
    char *real = ::realpath(folder.constData(), nullptr);
    if (!real) {
        *error = errno;
        return QByteArray();
    }
    QByteArray result(real);
    std::free(real);
    return result;
}

// Syncs a folder's entries, so that a rename in it outlasts a power cut:
// 0, or the error. A folder this user may write but not read is synced
// with its whole file system, through a file open in it.
int syncFolder(const QByteArray &folder, int fileInIt)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return error == EACCES && ::syncfs(fileInIt) == 0 ? 0 : error;
    }
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// The lock a save holds on its temporary file while the file lies under
// that name: one byte SQLite never locks, taken by open file description,
// so that neither SQLite's locks in this process nor its closing of the
// file touch it.
struct flock saveLock(short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return lock;
}

bool isFileNamed(int fd, const QByteArray &path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0 && S_ISREG(held.st_mode)
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Locks a file just created as a running save's: 0, EAGAIN when another
// save took it for a leftover in the moment before (that save removes
// it), or the error.
int holdAsOwn(int fd, const QByteArray &path)
{
    struct flock lock = saveLock(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0)
        return errno == EACCES ? EAGAIN : errno;
    return isFileNamed(fd, path) ? 0 : EAGAIN;
}

// Removes its journal with a save's file, where the journal is SQLite's,
// of a database of pageSize bytes a page (0: not known).
void removeJournalOf(const QByteArray &path, int pageSize)
{
    const QByteArray journal = path + "-journal";
    const int fd = ::open(journal.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && GC_SaveLeftover::isJournal(fd, pageSize))
        ::unlink(journal.constData());
    ::close(fd);
}

// Removes a file of a save's temporary name that no running save holds,
// holding it meanwhile, so that no save can take it up; its journal first,
// so that nothing is left without its file. Only a file that holds what a
// save writes goes: a file of the user's that merely bears such a name
// stays, its journal too.
bool removeUnheld(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock = saveLock(F_RDLCK);
    int pageSize = 0;
    const bool leftover = ::fcntl(fd, F_OFD_SETLK, &lock) == 0 && isFileNamed(fd, path)
        && GC_SaveLeftover::isDatabase(fd, &pageSize);
    if (leftover)
        removeJournalOf(path, pageSize);
    const bool removed = leftover && ::unlink(path.constData()) == 0;
    ::close(fd);
    return removed;
}

} // namespace

GC_FileReplacement::GC_FileReplacement(const QString &fileName)
    : m_fileName(fileName)
{
}

GC_FileReplacement::~GC_FileReplacement()
{
    removeTemporaryFile();
    m_lock.reset();
    releaseTemporaryFile();
}

bool GC_FileReplacement::fail(const QString &message)
{
    if (m_errorText.isEmpty())
        m_errorText = message;
    return false;
}

QString GC_FileReplacement::unfinishedKey()
{
    return QStringLiteral("unfinished");
}

bool GC_FileReplacement::begin()
{
    if (!resolveTarget())
        return false;
    struct stat old {};
    m_replacing = ::stat(QFile::encodeName(m_target).constData(), &old) == 0;
    if (m_replacing) {
        // A rename needs only the folder: the file's own permissions must
        // be asked for, as the system judges them for the user the program
        // runs as (its effective ids, as any open of the file).
        if (::faccessat(AT_FDCWD, QFile::encodeName(m_target).constData(), W_OK, AT_EACCESS) != 0)
            return fail(QStringLiteral("The file \"%1\" is read-only and cannot be replaced.\n"
                                       "Use Save As to save the document under another name.")
                            .arg(m_target));
        m_owner = old.st_uid;
        m_group = old.st_gid;
        m_mode = old.st_mode & 07777;
    }
    if (!createTemporaryFile() || !lockTarget())
        return false;
    removeLeftovers();
    return true;
}

bool GC_FileReplacement::resolveTarget()
{
    // Each link is read against the real folder it lies in, as the system
    // does: "../x" in a link reached through a linked folder leaves the
    // folder the link really is in. The last file need not exist yet.
    QByteArray path = QFile::encodeName(m_fileName);
    for (int links = 0; links < 40; ++links) {
        const int slash = path.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
        int error = 0;
        const QByteArray real = realFolder(folder, &error);
        if (real.isEmpty()) {
            const QString name = QFile::decodeName(folder);
            if (error == ENOENT || error == ENOTDIR)
                return fail(QStringLiteral("The folder \"%1\" does not exist.").arg(name));
            if (error == ELOOP)
                break;
            return fail(QStringLiteral("The folder \"%1\" cannot be reached: %2.").arg(name, qt_error_string(error)));
        }
        const QByteArray place = (real.endsWith('/') ? real : real + '/') + path.mid(slash + 1);
        if (!isLink(place)) {
            m_target = QFile::decodeName(place);
            return true;
        }
        const QByteArray target = linkTarget(place);
        if (target.isEmpty())
            break;
        path = target.startsWith('/') ? target : place.left(place.lastIndexOf('/') + 1) + target;
    }
    return fail(QStringLiteral("The links from \"%1\" lead nowhere.").arg(m_fileName));
}

bool GC_FileReplacement::createTemporaryFile()
{
    // A name of its own, created here and nowhere else: a file the save did
    // not make is never overwritten or removed. A journal under the name
    // would be taken for the new file's own, so such a name is passed by.
    // Held locked from its first moment: unheld, it is taken for a leftover.
    const int mode = m_replacing ? 0600 : 0644;
    const QString folder = QFileInfo(m_target).path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = m_target + QStringLiteral("temp-")
                             + QString::number(QRandomGenerator::global()->generate(), 16);
        const QByteArray encoded = QFile::encodeName(name);
        if (existsAsEntry(encoded + "-journal"))
            continue;
        const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            const int held = holdAsOwn(fd, encoded);
            if (held == 0) {
                m_temporary = name;
                m_held = fd;
                return keepOwnership(fd);
            }
            if (held != EAGAIN && isFileNamed(fd, encoded))
                ::unlink(encoded.constData());
            ::close(fd);
            if (held == EAGAIN)
                continue;
            return fail(QStringLiteral("No file can be locked in the folder \"%1\": %2.")
                            .arg(folder, qt_error_string(held)));
        }
        const int error = errno;
        if (error == EEXIST)
            continue;
        if (error == EACCES || error == EPERM || error == EROFS)
            return fail(QStringLiteral("The folder \"%1\" cannot be written: %2.").arg(folder, qt_error_string(error)));
        if (error == ENOENT || error == ENOTDIR)
            return fail(QStringLiteral("The folder \"%1\" does not exist.").arg(folder));
        return fail(QStringLiteral("The file \"%1\" cannot be created: %2.").arg(name, qt_error_string(error)));
    }
    return fail(QStringLiteral("No temporary file could be created in the folder \"%1\".").arg(folder));
}

bool GC_FileReplacement::keepOwnership(int fd)
{
    if (!m_replacing)
        return true;
    struct stat made {};
    if (::fstat(fd, &made) != 0)
        return fail(QStringLiteral("The file \"%1\" cannot be examined: %2.")
                        .arg(m_temporary, qt_error_string(errno)));
    if (made.st_uid == m_owner && made.st_gid == m_group)
        return true;
    // Given before anything is written, so that the file is never someone
    // else's with this user's content for longer than needed. Only root may
    // give a file away, and a user only to a group of their own: where the
    // system refuses, the old file is written in place instead.
    if (::fchown(fd, m_owner, m_group) != 0) {
        qCDebug(lcKestal).noquote() << "GC_FileReplacement:" << m_target
                                    << "keeps its owner by a write in place:" << qt_error_string(errno);
        m_inPlace = true;
    }
    return true;
}

bool GC_FileReplacement::lockTarget()
{
    // Only an SQLite file can be held by another program's transaction;
    // any other file the user chose to overwrite is simply replaced.
    if (!m_replacing || !GC_SqlConnection::isSqliteFile(m_target)) {
        m_inPlace = false;
        return true;
    }
    static QAtomicInt serial;
    m_lock = std::make_unique<GC_SqlConnection>(
        QStringLiteral("gc_filereplacement_lock_%1").arg(serial.fetchAndAddRelaxed(1)), m_target);
    if (m_lock->isOpen()) {
        QSqlQuery query(m_lock->database());
        // A write-ahead log beside the old file would be played over the
        // new one, which has none of its own: it is folded into the old
        // file first. That needs the file to itself, so a program that
        // still has it open keeps it in use. The rows stay what they were,
        // so a document read from the file still holds it as its own.
        const std::shared_ptr<GC_SourceFileHold> held = GC_SourceFileHold::unchangedHold(m_target);
        if (!query.exec(QStringLiteral("PRAGMA journal_mode = DELETE")) || !query.next()
            || query.value(0).toString().compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
            return refuseUnlocked(query.lastError());
        query.finish();
        if (held)
            held->acceptChanges();
        // Waits out another program's write as an opening waits; held, it
        // keeps every other writer out until the new content is in place.
        if (query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return true;
        return refuseUnlocked(query.lastError());
    }
    m_lock.reset();
    m_inPlace = false;
    return true;
}

bool GC_FileReplacement::refuseUnlocked(const QSqlError &error)
{
    m_lock.reset();
    switch (GC_SqlConnection::failure(error)) {
    case GC_SqlConnection::Damaged:
        // A file damaged beyond a transaction holds nothing another
        // program could be writing: replacing it loses nothing.
        qCDebug(lcKestal).noquote() << "GC_FileReplacement: no lock on" << m_target << ":"
                                    << error.text();
        m_inPlace = false;
        return true;
    case GC_SqlConnection::InUse:
        return fail(GC_SqlConnection::inUseReplaceText(m_target));
    default:
        break;
    }
    // Anything else (a log beside the file this user may not write, a
    // journal that cannot be made) could leave another program's changes
    // to be played over the new file, or lose them: the file stays.
    const bool logged = QFileInfo::exists(m_target + QStringLiteral("-wal"));
    return fail(QStringLiteral("The file \"%1\" cannot be replaced now: %2.%3\n"
                               "Use Save As to save the document under another name.")
                    .arg(m_target, error.isValid() ? error.text() : QStringLiteral("it cannot be locked"),
                         logged ? QStringLiteral("\nA program that had it open left its write-ahead "
                                                 "log beside it, which must be folded into it first; "
                                                 "that needs permission to write \"%1-wal\" and "
                                                 "\"%1-shm\".").arg(m_target)
                                : QString()));
}

void GC_FileReplacement::removeLeftovers() const
{
    // Temporary files of earlier saves of this file that stopped, at
    // whatever moment (just created, half written, or complete before the
    // rename): a file of this save's exact name pattern that no save holds,
    // empty or SQLite's (its first page maybe not yet written). Anything
    // else stays as it is.
    const QFileInfo target(m_target);
    const QString prefix = target.fileName() + QStringLiteral("temp-");
    static const QRegularExpression suffix(QStringLiteral("^[0-9a-f]{1,8}$"));
    const QFileInfoList entries =
        QDir(target.path()).entryInfoList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        const QString path = entry.filePath();
        if (path == m_temporary || entry.isSymLink()
            || !suffix.match(entry.fileName().mid(prefix.size())).hasMatch())
            continue;
        if (removeUnheld(QFile::encodeName(path)))
            qCDebug(lcKestal).noquote() << "GC_FileReplacement: removed" << path
                                        << ", left by a save that stopped";
    }
}

bool GC_FileReplacement::copyIntoTarget()
{
    // Inside the transaction that holds the lock: the old file holds either
    // all its old content or all the new, whatever stops the program.
    QSqlQuery query(m_lock->database());
    auto quoted = [](const QString &name) {
        return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    };
    auto failed = [&](const QString &what) {
        const QString error = query.lastError().text();
        query.exec(QStringLiteral("ROLLBACK"));
        return fail(QStringLiteral("The file \"%1\" cannot be written in place (%2): %3")
                        .arg(m_target, what, error));
    };
    // Attached only now that the new file is written and closed: reading it
    // inside this transaction keeps it locked to its end.
    if (!query.prepare(QStringLiteral("ATTACH DATABASE ? AS fresh")))
        return failed(QStringLiteral("opening the new content"));
    query.addBindValue(m_temporary);
    if (!query.exec())
        return failed(QStringLiteral("opening the new content"));
    // Two columns of each row a schema query gives; false when it fails,
    // also partway: a table missed would be left behind or never copied.
    auto pairs = [&](const QString &statement, QList<QPair<QString, QString>> *rows) {
        if (!query.exec(statement))
            return false;
        while (query.next())
            rows->append({query.value(0).toString(), query.value(1).toString()});
        return !GC_QueryEnd::stoppedShort(query);
    };
    QList<QPair<QString, QString>> old;
    if (!pairs(QStringLiteral("SELECT type, name FROM main.sqlite_master "
                              "WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite_%'"),
               &old))
        return failed(QStringLiteral("reading its tables"));
    // Indexes and triggers go with their tables.
    for (const auto &object : std::as_const(old)) {
        if (!query.exec(QStringLiteral("DROP %1 main.%2")
                            .arg(object.first == QLatin1String("view") ? QStringLiteral("VIEW") : QStringLiteral("TABLE"),
                                 quoted(object.second))))
            return failed(QStringLiteral("removing %1").arg(object.second));
    }
    QList<QPair<QString, QString>> fresh;
    if (!pairs(QStringLiteral("SELECT name, sql FROM fresh.sqlite_master WHERE type = 'table' "
                              "AND name NOT LIKE 'sqlite_%' ORDER BY rowid"),
               &fresh))
        return failed(QStringLiteral("reading the new tables"));
    for (const auto &table : std::as_const(fresh)) {
        // The CREATE text is the new file's own; unqualified, it makes the
        // table in the old file.
        if (!query.exec(table.second)
            || !query.exec(QStringLiteral("INSERT INTO main.%1 SELECT * FROM fresh.%1 ORDER BY rowid")
                               .arg(quoted(table.first))))
            return failed(QStringLiteral("writing %1").arg(table.first));
    }
    if (!clearUnfinishedMark(query))
        return failed(QStringLiteral("completing it"));
    if (!query.exec(QStringLiteral("COMMIT")))
        return failed(QStringLiteral("committing"));
    query.exec(QStringLiteral("DETACH DATABASE fresh"));
    return true;
}

bool GC_FileReplacement::commit()
{
    if (m_temporary.isEmpty())
        return fail(QStringLiteral("There is no new file to put in the place of \"%1\".").arg(m_target));
    if (m_replacing && !m_inPlace)
        keepAttributes();
    qCDebug(lcKestal).noquote() << "GC_FileReplacement: putting" << m_temporary << "in the place of"
                                << m_target << (m_inPlace ? "(written in place)" : "");
    if (m_inPlace) {
        if (!copyIntoTarget())
            return false;
        m_lock.reset();
        removeTemporaryFile();
        return true;
    }
    // Written to disk with its mark, then completed: a save stopped before
    // the rename leaves a file never taken for a canvas, which the next
    // save removes, since no save holds it.
    if (::fsync(m_held) != 0)
        return fail(QStringLiteral("The file \"%1\" cannot be written to disk.").arg(m_temporary));
    {
        GC_SqlConnection finishing(QStringLiteral("gc_filereplacement_finish"), m_temporary);
        QSqlQuery query(finishing.database());
        if (!finishing.isOpen() || !clearUnfinishedMark(query))
            return fail(QStringLiteral("The file \"%1\" cannot be completed: %2.")
                            .arg(m_temporary, finishing.isOpen() ? query.lastError().text()
                                                                 : finishing.errorText()));
    }
    if (m_replacing && ::fchmod(m_held, m_mode) != 0)
        return fail(QStringLiteral("The file \"%1\" cannot be given the permissions of \"%2\".")
                        .arg(m_temporary, m_target));
    if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0) {
        const int error = errno;
        return fail(QStringLiteral("The file \"%1\" cannot be renamed to \"%2\": %3.")
                        .arg(m_temporary, m_target, qt_error_string(error)));
    }
    m_temporary.clear();
    const int synced = syncFolder(QFile::encodeName(QFileInfo(m_target).path()), m_held);
    releaseTemporaryFile();
    m_lock.reset();
    if (synced != 0)
        return fail(QStringLiteral("The file \"%1\" was written, but its folder could not be written to disk: %2.\n"
                                   "Save again to be sure it is kept.")
                        .arg(m_target, qt_error_string(synced)));
    return true;
}

void GC_FileReplacement::keepAttributes()
{
    // Read as they are just before the file is replaced.
    GC_ExtendedAttributes attributes;
    if (attributes.read(m_target) && attributes.giveTo(m_held))
        return;
    // Only an SQLite file this save holds can be written in place.
    m_inPlace = m_lock != nullptr;
    qCDebug(lcKestal).noquote() << "GC_FileReplacement:" << m_target
                                << (m_inPlace ? "keeps its attributes by a write in place:"
                                              : "loses its attributes:")
                                << attributes.errorText();
}

bool GC_FileReplacement::clearUnfinishedMark(QSqlQuery &query)
{
    // A file without the table (no canvas) carries no mark.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE type = 'table' "
                                   "AND name = 'file_properties'"))
        || !query.next())
        return false;
    if (query.value(0).toInt() == 0)
        return true;
    if (!query.prepare(QStringLiteral("DELETE FROM main.file_properties WHERE key = ?")))
        return false;
    query.addBindValue(unfinishedKey());
    return query.exec();
}

void GC_FileReplacement::removeTemporaryFile()
{
    // Removed while still held, so that no other save takes it up meanwhile.
    if (m_temporary.isEmpty())
        return;
    QFile::remove(m_temporary + QStringLiteral("-journal"));
    QFile::remove(m_temporary);
    m_temporary.clear();
    releaseTemporaryFile();
}

void GC_FileReplacement::releaseTemporaryFile()
{
    if (m_held < 0)
        return;
    ::close(m_held);
    m_held = -1;
}
