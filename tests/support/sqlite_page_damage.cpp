#include "sqlite_page_damage.h"

#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

// The pages of a file, from page 2 on (the first holds the file's header
// before its b-tree page), as change sees and changes them.
class Pages
{
public:
    Pages(QByteArray &bytes, qint64 pageSize)
        : m_bytes(bytes)
        , m_pageSize(pageSize)
    {
    }
    qint64 count() const { return m_bytes.size() / m_pageSize; }
    qint64 size() const { return m_pageSize; }
    char *page(qint64 number) { return m_bytes.data() + (number - 1) * m_pageSize; }
    // A table's leaf (kind 13), and its cell count.
    bool isTableLeaf(qint64 number) { return number > 1 && page(number)[0] == 13; }
    int cells(qint64 number)
    {
        const char *bytes = page(number);
        return uchar(bytes[3]) << 8 | uchar(bytes[4]);
    }

private:
    QByteArray &m_bytes;
    qint64 m_pageSize;
};

bool changePages(const QString &path, const std::function<bool(Pages &)> &change)
{
    struct stat before {};
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &before) != 0 || !file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const qint64 pageSize = bytes.size() < 100 ? 0 : (uchar(bytes.at(16)) << 8 | uchar(bytes.at(17)));
    if (pageSize < 512 || bytes.size() % pageSize != 0 || bytes.size() < 2 * pageSize)
        return false;
    Pages pages(bytes, pageSize);
    if (!change(pages) || !file.seek(0) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

bool SqlitePageDamage::zeroPage(const QString &path, qint64 page)
{
    return changePages(path, [page](Pages &pages) {
        const qint64 number = page > 0 ? page : pages.count();
        if (number < 2 || number > pages.count())
            return false;
        std::fill_n(pages.page(number), pages.size(), '\0');
        return true;
    });
}

bool SqlitePageDamage::zeroLastLeaf(const QString &path, qint64 rootPage)
{
    return changePages(path, [rootPage](Pages &pages) {
        // A table's interior page (kind 5) names its last child at 8.
        qint64 number = rootPage;
        for (int depth = 0; depth < 20 && number > 1 && number <= pages.count(); ++depth) {
            const char *page = pages.page(number);
            if (page[0] == 13) {
                std::fill_n(pages.page(number), pages.size(), '\0');
                return true;
            }
            if (page[0] != 5)
                break;
            number = qint64(uchar(page[8])) << 24 | uchar(page[9]) << 16 | uchar(page[10]) << 8 | uchar(page[11]);
        }
        return false;
    });
}

bool SqlitePageDamage::dropRowsOfLastLeaf(const QString &path, int rows)
{
    return changePages(path, [rows](Pages &pages) {
        for (qint64 number = pages.count(); number > 1; --number) {
            const int cells = pages.cells(number);
            if (pages.isTableLeaf(number) && cells > rows) {
                pages.page(number)[3] = char((cells - rows) >> 8);
                pages.page(number)[4] = char(cells - rows);
                return true;
            }
        }
        return false;
    });
}

bool SqlitePageDamage::copyLeafOverTheLast(const QString &path)
{
    return changePages(path, [](Pages &pages) {
        // The last table leaf may be part full: the one before it is not.
        qint64 last = pages.count();
        for (int leaves = 0; last > 1; --last)
            if (pages.isTableLeaf(last) && ++leaves == 2)
                break;
        for (qint64 copied = last - 1; copied > 1; --copied) {
            if (pages.isTableLeaf(copied) && pages.cells(copied) == pages.cells(last)) {
                std::copy_n(pages.page(copied), pages.size(), pages.page(last));
                return true;
            }
        }
        return false;
    });
}
