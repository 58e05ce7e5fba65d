#include "gc_sourcefilehold.h"

#include "gc_log.h"
#include "gc_rundatabase.h"
#include "gc_sqlconnection.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutexLocker>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What an SQLite file's header holds: its change counter, size in pages
// and schema cookie among them.
const int headerSize = 100;
// A write-ahead log's header: its checkpoint sequence and salts among them.
const int logHeaderSize = 32;

// Every hold alive, by the real name of its file.
QMutex registryMutex;
QHash<QString, std::weak_ptr<GC_SourceFileHold>> &registry()
{
    static QHash<QString, std::weak_ptr<GC_SourceFileHold>> holds;
    return holds;
}

// Links lead to the file they name: one file, one hold.
QString registryKey(const QString &path)
{
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

} // namespace

bool GC_SourceFileHold::Identity::operator==(const Identity &other) const
{
    return device == other.device && inode == other.inode && size == other.size
           && modified == other.modified && header == other.header;
}

bool GC_SourceFileHold::LogState::operator==(const LogState &other) const
{
    return size == other.size && header == other.header;
}

// The file is held open, never opened and closed again here: closing any
// descriptor of a file lets go of every lock the program's SQLite
// connections hold on it. So its state is read through the held descriptor.
GC_SourceFileHold::GC_SourceFileHold(const QString &path)
    : m_path(path)
    , m_logPath(GC_SqlConnection::realFile(path) + QStringLiteral("-wal"))
{
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd >= 0) {
        m_identity = heldIdentity();
        m_log = logState();
    }
}

GC_SourceFileHold::~GC_SourceFileHold()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

GC_SourceFileHold::Identity GC_SourceFileHold::heldIdentity() const
{
    Identity identity;
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return identity;
    identity.device = qint64(info.st_dev);
    identity.inode = qint64(info.st_ino);
    identity.size = qint64(info.st_size);
    identity.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    identity.header.resize(headerSize);
    const ssize_t got = ::pread(m_fd, identity.header.data(), headerSize, 0);
    identity.header.resize(got > 0 ? int(got) : 0);
    return identity;
}

// SQLite locks a log's shared memory and the file, never the log itself:
// opening and closing the log here lets go of no lock.
GC_SourceFileHold::LogState GC_SourceFileHold::logState() const
{
    LogState state;
    const QByteArray name = QFile::encodeName(m_logPath);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || info.st_size <= logHeaderSize)
        return state;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // Not known: unlike any state read.
        state.size = -1;
        return state;
    }
    state.header.resize(logHeaderSize);
    const ssize_t got = ::pread(fd, state.header.data(), logHeaderSize, 0);
    state.header.resize(got > 0 ? int(got) : 0);
    struct stat opened {};
    state.size = ::fstat(fd, &opened) == 0 ? qint64(opened.st_size) : -1;
    ::close(fd);
    return state;
}

bool GC_SourceFileHold::named() const
{
    struct stat info {};
    return m_fd >= 0 && ::stat(QFile::encodeName(m_path).constData(), &info) == 0
           && qint64(info.st_dev) == m_identity.device && qint64(info.st_ino) == m_identity.inode;
}

bool GC_SourceFileHold::unchanged() const
{
    return named() && heldIdentity() == m_identity && logState() == m_log;
}

std::shared_ptr<GC_SourceFileHold> GC_SourceFileHold::hold(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    const QString key = registryKey(path);
    QMutexLocker locker(&registryMutex);
    auto &holds = registry();
    for (auto it = holds.begin(); it != holds.end();)
        it = it->expired() ? holds.erase(it) : std::next(it);
    if (std::shared_ptr<GC_SourceFileHold> held = holds.value(key).lock()) {
        QMutexLocker heldLocker(&held->m_mutex);
        if (!held->m_copy && held->unchanged())
            return held;
    }
    std::shared_ptr<GC_SourceFileHold> fresh(new GC_SourceFileHold(path));
    holds.insert(key, fresh);
    return fresh;
}

std::shared_ptr<GC_SourceFileHold> GC_SourceFileHold::unchangedHold(const QString &path)
{
    QMutexLocker locker(&registryMutex);
    std::shared_ptr<GC_SourceFileHold> held = registry().value(registryKey(path)).lock();
    if (!held)
        return nullptr;
    QMutexLocker heldLocker(&held->m_mutex);
    return !held->m_copy && held->unchanged() ? held : nullptr;
}

QString GC_SourceFileHold::readablePath(QString *problem)
{
    QMutexLocker locker(&m_mutex);
    if (m_copy)
        return m_copy->path();
    // A file that could not be held (none was there) is read by its name,
    // which says what is missing.
    if (m_fd < 0 || unchanged())
        return m_path;
    // Only a file whose rows were all in it, none in its log, is whole in
    // a copy.
    if (!named() && heldIdentity() == m_identity && m_log == LogState())
        return copyHeldFile(problem);
    if (problem)
        *problem = QStringLiteral("the file was changed by another program since the document "
                                  "was read from it, so what it holds now may not be the "
                                  "document's");
    return QString();
}

QString GC_SourceFileHold::copyHeldFile(QString *problem)
{
    // The name now leads to another file (or none); the file the document
    // was read from is still whole, held open here: its rows are read from
    // a private copy of it from now on.
    auto failed = [&](const QString &why) {
        m_copy.reset();
        if (problem)
            *problem = why;
        return QString();
    };
    QString error;
    m_copy = GC_RunDatabase::create(&error);
    if (!m_copy)
        return failed(QStringLiteral("another file has taken its name, and the file the "
                                     "document was read from cannot be copied: %1").arg(error));
    const QByteArray target = QFile::encodeName(m_copy->path());
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool copied = out >= 0;
    char buffer[1 << 16];
    for (off_t offset = 0; copied;) {
        const ssize_t got = ::pread(m_fd, buffer, sizeof buffer, offset);
        if (got == 0)
            break;
        copied = got > 0 && ::write(out, buffer, size_t(got)) == got;
        offset += got;
    }
    const int copyError = errno;
    if (out >= 0 && ::close(out) != 0)
        copied = false;
    if (!copied)
        return failed(QStringLiteral("another file has taken its name, and the file the "
                                     "document was read from cannot be copied: %1")
                          .arg(qt_error_string(copyError)));
    qCDebug(lcKestal).noquote() << "GC_SourceFileHold:" << m_path
                                << "now names another file; the document's rows are read from"
                                << m_copy->path();
    return m_copy->path();
}

void GC_SourceFileHold::acceptChanges()
{
    QMutexLocker locker(&m_mutex);
    // The file held keeps its device and inode: named() still judges it.
    if (m_copy || !named())
        return;
    m_identity = heldIdentity();
    m_log = logState();
}
