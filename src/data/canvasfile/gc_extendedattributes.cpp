#include "gc_extendedattributes.h"

#include "gc_log.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <sys/xattr.h>

namespace {

// Reads a list or value into out through call(buffer, size), which answers
// the size needed when given no buffer; false, errno set, when it fails.
// The size is asked again when the value grew in between.
template <typename Call>
bool readSized(Call call, QByteArray *out)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t needed = call(nullptr, 0);
        if (needed < 0)
            return false;
        out->resize(needed);
        if (needed == 0)
            return true;
        const ssize_t size = call(out->data(), size_t(needed));
        if (size >= 0) {
            out->resize(size);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    return false;
}

QList<QByteArray> namesIn(const QByteArray &list)
{
    QList<QByteArray> names = list.split('\0');
    names.removeAll(QByteArray());
    return names;
}

// A label of the system's security modules, which only they or root may
// set: a file without it is guarded as its folder's files are.
bool passedBy(const QByteArray &name, int error)
{
    return name.startsWith("security.") && (error == EPERM || error == EACCES || error == ENOTSUP);
}

} // namespace

bool GC_ExtendedAttributes::read(const QString &path)
{
    m_attributes.clear();
    m_errorText.clear();
    const QByteArray file = QFile::encodeName(path);
    QByteArray list;
    if (!readSized([&](char *buffer, size_t size) { return ::listxattr(file.constData(), buffer, size); },
                   &list)) {
        // A file system without attributes gives its files none.
        const int error = errno;
        if (error == ENOTSUP)
            return true;
        m_errorText = QStringLiteral("The attributes of \"%1\" cannot be read: %2.")
                          .arg(path, qt_error_string(error));
        return false;
    }
    for (const QByteArray &name : namesIn(list)) {
        QByteArray value;
        if (!readSized([&](char *buffer, size_t size) {
                return ::getxattr(file.constData(), name.constData(), buffer, size);
            },
                       &value)) {
            const int error = errno;
            if (error == ENODATA)
                continue;
            m_errorText = QStringLiteral("The attribute \"%1\" of \"%2\" cannot be read: %3.")
                              .arg(QString::fromLatin1(name), path, qt_error_string(error));
            return false;
        }
        m_attributes.append({name, value});
    }
    return true;
}

bool GC_ExtendedAttributes::giveTo(int fd)
{
    m_errorText.clear();
    QByteArray list;
    if (!readSized([&](char *buffer, size_t size) { return ::flistxattr(fd, buffer, size); }, &list)
        && errno != ENOTSUP)
        return fail(QByteArray(), errno);
    QSet<QByteArray> kept;
    for (const auto &attribute : std::as_const(m_attributes))
        kept.insert(attribute.first);
    for (const QByteArray &name : namesIn(list)) {
        if (!kept.contains(name) && ::fremovexattr(fd, name.constData()) != 0 && errno != ENODATA
            && !passedBy(name, errno))
            return fail(name, errno);
    }
    for (const auto &attribute : std::as_const(m_attributes)) {
        if (::fsetxattr(fd, attribute.first.constData(), attribute.second.constData(),
                        size_t(attribute.second.size()), 0)
            == 0)
            continue;
        const int error = errno;
        if (!passedBy(attribute.first, error))
            return fail(attribute.first, error);
        qCDebug(lcKestal).noquote() << "GC_ExtendedAttributes:" << attribute.first
                                    << "not given:" << qt_error_string(error);
    }
    return true;
}

bool GC_ExtendedAttributes::fail(const QByteArray &name, int error)
{
    m_errorText = name.isEmpty()
        ? QStringLiteral("the attributes of the new file cannot be listed: %1.").arg(qt_error_string(error))
        : QStringLiteral("the attribute \"%1\" cannot be given to the new file: %2.")
              .arg(QString::fromLatin1(name), qt_error_string(error));
    return false;
}
