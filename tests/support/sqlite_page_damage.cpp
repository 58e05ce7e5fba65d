#include "sqlite_page_damage.h"

#include "gc_sqlconnection.h"

#include <QFile>
#include <QSqlQuery>
#include <QVariant>

#include <fcntl.h>
#include <sys/stat.h>

namespace SqlitePageDamage {

namespace {

qint64 rootPage(const QString &path, const QString &table)
{
    GC_SqlConnection connection(QStringLiteral("sqlite_page_damage"), path, GC_SqlConnection::ReadOnly);
    QSqlQuery query(connection.database());
    if (!query.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE type = 'table' AND name = ?")))
        return 0;
    query.addBindValue(table);
    return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
}

quint32 bigEndian(const QByteArray &bytes, qint64 at, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | uchar(bytes.at(at + i));
    return value;
}

} // namespace

bool zeroLastLeaf(const QString &path, const QString &table)
{
    struct stat before {};
    const qint64 root = rootPage(path, table);
    if (root < 2 || ::stat(QFile::encodeName(path).constData(), &before) != 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 100)
        return false;
    const quint32 stored = bigEndian(bytes, 16, 2);
    const qint64 pageSize = stored == 1 ? 65536 : stored;
    // Interior table pages (type 5) lead on through their right-most child.
    qint64 page = root;
    for (int depth = 0;; ++depth) {
        const qint64 at = (page - 1) * pageSize;
        if (depth > 16 || page < 2 || at + pageSize > bytes.size())
            return false;
        if (uchar(bytes.at(at)) == 0x0d)
            break;
        if (uchar(bytes.at(at)) != 0x05)
            return false;
        page = bigEndian(bytes, at + 8, 4);
    }
    if (!file.seek((page - 1) * pageSize) || file.write(QByteArray(int(pageSize), '\0')) != pageSize
        || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace SqlitePageDamage
