#include "sqlite_page_damage.h"

#include "gc_sqlconnection.h"

#include <QFile>
#include <QSqlQuery>
#include <QVariant>

#include <fcntl.h>
#include <sys/stat.h>

bool SqlitePageDamage::zeroLastLeaf(const QString &path, const QString &table)
{
    qint64 page = 0;
    {
        GC_SqlConnection connection(QStringLiteral("sqlite_page_damage"), path, GC_SqlConnection::ReadOnly);
        QSqlQuery query(connection.database());
        query.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"));
        query.addBindValue(table);
        if (query.exec() && query.next())
            page = query.value(0).toLongLong();
    }
    struct stat before {};
    QFile file(path);
    if (page < 2 || ::stat(QFile::encodeName(path).constData(), &before) != 0
        || !file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = file.readAll();
    auto bigEndian = [&bytes](qint64 at, int size) {
        qint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | uchar(bytes.at(at + i));
        return value;
    };
    const qint64 pageSize = bytes.size() < 100 ? 0 : bigEndian(16, 2);
    // Interior table pages (type 5) lead on through their right-most child
    // to the leaf (type 13) that holds the last rows.
    for (int depth = 0;; ++depth) {
        const qint64 at = (page - 1) * pageSize;
        if (depth > 16 || pageSize < 512 || page < 2 || at + pageSize > bytes.size()
            || (bytes.at(at) != 5 && bytes.at(at) != 13))
            return false;
        if (bytes.at(at) == 13)
            break;
        page = bigEndian(at + 8, 4);
    }
    if (!file.seek((page - 1) * pageSize) || file.write(QByteArray(int(pageSize), '\0')) != pageSize
        || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}
