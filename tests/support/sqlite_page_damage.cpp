#include "sqlite_page_damage.h"

#include <QFile>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

bool changePage(const QString &path, qint64 number, const std::function<bool(QByteArray &)> &change)
{
    struct stat before {};
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &before) != 0 || !file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    const qint64 pageSize = header.size() < 18 ? 0 : (uchar(header.at(16)) << 8 | uchar(header.at(17)));
    const qint64 at = number > 0 ? (number - 1) * pageSize : file.size() - pageSize;
    if (pageSize < 512 || at < pageSize || !file.seek(at))
        return false;
    QByteArray page = file.read(pageSize);
    if (page.size() != pageSize || !change(page) || !file.seek(at) || file.write(page) != pageSize
        || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

bool SqlitePageDamage::zeroPage(const QString &path, qint64 page)
{
    return changePage(path, page, [](QByteArray &bytes) {
        bytes.fill('\0');
        return true;
    });
}

bool SqlitePageDamage::dropRowsOfLastPage(const QString &path, int rows)
{
    return changePage(path, 0, [rows](QByteArray &bytes) {
        // A table leaf's header: its kind 13, then its cell count at 3.
        const int cells = uchar(bytes.at(3)) << 8 | uchar(bytes.at(4));
        bytes[3] = char((cells - rows) >> 8);
        bytes[4] = char(cells - rows);
        return bytes.at(0) == 13 && cells > rows;
    });
}
