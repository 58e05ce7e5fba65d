#include "sqlite_page_damage.h"

#include <QFile>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

// Changes page number (counted from 1), or the last page for 0.
bool changePage(const QString &path, qint64 number, const std::function<bool(QByteArray &)> &change)
{
    struct stat before {};
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &before) != 0 || !file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    const qint64 pageSize = header.size() < 18 ? 0 : (uchar(header.at(16)) << 8 | uchar(header.at(17)));
    const qint64 at = number > 0 ? (number - 1) * pageSize : file.size() - pageSize;
    if (pageSize < 512 || file.size() < 2 * pageSize || at < pageSize || !file.seek(at))
        return false;
    QByteArray page = file.read(pageSize);
    if (page.size() != pageSize || !change(page) || !file.seek(at)
        || file.write(page) != pageSize || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

bool SqlitePageDamage::zeroPage(const QString &path, qint64 number)
{
    return changePage(path, number, [](QByteArray &page) {
        page.fill('\0');
        return true;
    });
}

bool SqlitePageDamage::zeroLastPage(const QString &path)
{
    return zeroPage(path, 0);
}

bool SqlitePageDamage::dropRowsOfLastPage(const QString &path, int rows)
{
    return changePage(path, 0, [rows](QByteArray &page) {
        // A table leaf's header: its kind 13, then the cell count at 3.
        const int cells = uchar(page.at(3)) << 8 | uchar(page.at(4));
        if (page.at(0) != 13 || cells <= rows)
            return false;
        page[3] = char((cells - rows) >> 8);
        page[4] = char(cells - rows);
        return true;
    });
}
