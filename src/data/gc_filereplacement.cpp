#include "gc_filereplacement.h"

#include "gc_log.h"
#include "gc_sqlconnection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRandomGenerator>
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

bool syncToDisk(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
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
}

bool GC_FileReplacement::fail(const QString &message)
{
    if (m_errorText.isEmpty())
        m_errorText = message;
    return false;
}

bool GC_FileReplacement::begin()
{
    if (!resolveTarget())
        return false;
    m_replacing = QFileInfo::exists(m_target);
    if (m_replacing) {
        // A rename needs only the folder: the file's own permissions must
        // be asked for, as the system judges them for the user the program
        // runs as (its effective ids, as any open of the file).
        if (::faccessat(AT_FDCWD, QFile::encodeName(m_target).constData(), W_OK, AT_EACCESS) != 0)
            return fail(QStringLiteral("The file \"%1\" is read-only and cannot be replaced.\n"
                                       "Use Save As to save the document under another name.")
                            .arg(m_target));
        // The "User" flags say what this user may do, not what the file grants.
        m_permissions = QFile::permissions(m_target)
                        & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    }
    return createTemporaryFile() && lockTarget();
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
            ::close(fd);
            m_temporary = name;
            return true;
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

bool GC_FileReplacement::lockTarget()
{
    // Only an SQLite file can be held by another program's transaction;
    // any other file the user chose to overwrite is simply replaced.
    if (!m_replacing || !GC_SqlConnection::isSqliteFile(m_target))
        return true;
    static QAtomicInt serial;
    m_lock = std::make_unique<GC_SqlConnection>(
        QStringLiteral("gc_filereplacement_lock_%1").arg(serial.fetchAndAddRelaxed(1)), m_target);
    if (m_lock->isOpen()) {
        // Waits out another program's write as an opening waits; held, it
        // keeps every other writer out until the new file is in place.
        QSqlQuery query(m_lock->database());
        if (query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return true;
        if (GC_SqlConnection::isInUse(query.lastError())) {
            m_lock.reset();
            return fail(GC_SqlConnection::inUseReplaceText(m_target));
        }
        // A file damaged beyond a transaction holds nothing another
        // program could be writing: replacing it loses nothing.
        qCDebug(lcKestal).noquote() << "GC_FileReplacement: no lock on" << m_target << ":"
                                    << query.lastError().text();
    }
    m_lock.reset();
    return true;
}

bool GC_FileReplacement::commit()
{
    if (m_temporary.isEmpty())
        return fail(QStringLiteral("There is no new file to put in the place of \"%1\".").arg(m_target));
    if (!syncToDisk(m_temporary))
        return fail(QStringLiteral("The file \"%1\" cannot be written to disk.").arg(m_temporary));
    if (m_replacing && !QFile::setPermissions(m_temporary, m_permissions))
        return fail(QStringLiteral("The file \"%1\" cannot be given the permissions of \"%2\".")
                        .arg(m_temporary, m_target));
    if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0) {
        const int error = errno;
        return fail(QStringLiteral("The file \"%1\" cannot be renamed to \"%2\": %3.")
                        .arg(m_temporary, m_target, qt_error_string(error)));
    }
    m_temporary.clear();
    m_lock.reset();
    return true;
}

void GC_FileReplacement::removeTemporaryFile()
{
    if (m_temporary.isEmpty())
        return;
    QFile::remove(m_temporary);
    QFile::remove(m_temporary + QStringLiteral("-journal"));
    m_temporary.clear();
}
