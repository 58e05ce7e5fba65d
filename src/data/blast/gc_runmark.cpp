#include "gc_runmark.h"

#include "gc_log.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char MarkName[] = "kestal-run.lock";

// Closes a descriptor when it goes out of scope.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether folder is an ended run's: a folder of the user's, not a link,
// whose mark is in place and nobody holds. The mark stays locked in lock
// meanwhile, so that no other start takes the folder for its own removal.
bool isEndedRun(const QString &folder, uid_t user, Descriptor &lock)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat named = {};
    if (::lstat(path.constData(), &named) != 0 || !S_ISDIR(named.st_mode) || named.st_uid != user)
        return false;
    Descriptor opened;
    opened.fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat folderStat = {};
    if (opened.fd < 0 || ::fstat(opened.fd, &folderStat) != 0 || !sameFile(folderStat, named))
        return false;
    // Read-write: over NFS an exclusive lock needs a descriptor that writes.
    lock.fd = ::openat(opened.fd, MarkName, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat mark = {};
    if (lock.fd < 0 || ::fstat(lock.fd, &mark) != 0 || !S_ISREG(mark.st_mode) || mark.st_uid != user)
        return false;
    // Held by a live run, or by another start removing the folder now.
    if (::flock(lock.fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    // A run that ends removes its mark before it lets the lock go: a mark no
    // longer in its place is such a run's, and its folder is going already.
    struct stat inPlace = {};
    return ::fstatat(opened.fd, MarkName, &inPlace, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(inPlace, mark);
}

} // namespace

GC_RunMark::GC_RunMark(const QString &folder, int descriptor)
    : m_folder(folder)
    , m_descriptor(descriptor)
{
}

std::unique_ptr<GC_RunMark> GC_RunMark::place(const QString &folder, QString *errorText)
{
    const QByteArray mark = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(MarkName));
    const QByteArray unlocked = mark + ".new";
    const int descriptor = ::open(unlocked.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0
        && ::rename(unlocked.constData(), mark.constData()) == 0)
        return std::unique_ptr<GC_RunMark>(new GC_RunMark(folder, descriptor));
    const int error = errno;
    if (descriptor >= 0) {
        ::unlink(unlocked.constData());
        ::close(descriptor);
    }
    if (errorText)
        *errorText = QStringLiteral("cannot mark %1 as the folder of a running Kestal: %2")
                         .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
    return nullptr;
}

GC_RunMark::~GC_RunMark()
{
    // Missing when the folder went with everything in it first.
    const QByteArray mark = QFile::encodeName(m_folder + QLatin1Char('/') + QLatin1String(MarkName));
    if (::unlink(mark.constData()) != 0 && errno != ENOENT)
        qCDebug(lcKestal).noquote() << "GC_RunMark: cannot remove" << QFile::decodeName(mark);
    ::close(m_descriptor);
}

QStringList GC_RunMark::removeEndedRuns(const QString &parent, const QRegularExpression &namePattern)
{
    QStringList removed;
    const uid_t user = ::geteuid();
    const QRegularExpression wholeName(QRegularExpression::anchoredPattern(namePattern.pattern()));
    QDirIterator entries(parent, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    while (entries.hasNext()) {
        const QString folder = entries.next();
        if (!wholeName.match(entries.fileName()).hasMatch())
            continue;
        Descriptor lock;
        if (!isEndedRun(folder, user, lock))
            continue;
        if (QDir(folder).removeRecursively())
            removed << folder;
        else
            qCDebug(lcKestal).noquote() << "GC_RunMark: cannot remove all of the ended run's folder" << folder;
    }
    if (!removed.isEmpty())
        qCDebug(lcKestal).noquote() << "GC_RunMark: removed the folders of ended runs" << removed.join(", ");
    return removed;
}
