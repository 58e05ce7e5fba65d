#include "sqlite_page_damage.h"

#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

// The file's pages as change sees and changes them: page(n) is page n's
// first byte, pages() their number.
struct Pages
{
    QByteArray &bytes;
    qint64 size;
    qint64 pages() const { return bytes.size() / size; }
    char *page(qint64 number) { return bytes.data() + (number - 1) * size; }
    // A table's leaf (kind 13; the first page holds the file's header first).
    bool isTableLeaf(qint64 number) { return number > 1 && page(number)[0] == 13; }
    int cells(qint64 number) { return uchar(page(number)[3]) << 8 | uchar(page(number)[4]); }
    void zero(qint64 number) { std::fill_n(page(number), size, '\0'); }
};

bool changePages(const QString &path, const std::function<bool(Pages &)> &change)
{
    struct stat before {};
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &before) != 0 || !file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    Pages pages{bytes, bytes.size() < 100 ? 0 : (uchar(bytes.at(16)) << 8 | uchar(bytes.at(17)))};
    if (pages.size < 512 || bytes.size() % pages.size != 0 || pages.pages() < 2 || !change(pages)
        || !file.seek(0) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

bool SqlitePageDamage::zeroPage(const QString &path, qint64 page)
{
    return changePages(path, [page](Pages &pages) {
        const qint64 number = page > 0 ? page : pages.pages();
        if (number < 2 || number > pages.pages())
            return false;
        pages.zero(number);
        return true;
    });
}

bool SqlitePageDamage::zeroLastLeaf(const QString &path, qint64 rootPage)
{
    return changePages(path, [rootPage](Pages &pages) {
        // A table's interior page (kind 5) names its last child at 8.
        for (qint64 number = rootPage; number > 1 && number <= pages.pages();) {
            const uchar *page = reinterpret_cast<const uchar *>(pages.page(number));
            if (page[0] == 13) {
                pages.zero(number);
                return true;
            }
            if (page[0] != 5)
                break;
            number = qint64(page[8]) << 24 | page[9] << 16 | page[10] << 8 | page[11];
        }
        return false;
    });
}

bool SqlitePageDamage::dropRowsOfLastPage(const QString &path, int rows)
{
    return changePages(path, [rows](Pages &pages) {
        for (qint64 number = pages.pages(); number > 1; --number) {
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
        qint64 last = pages.pages();
        for (int leaves = 0; last > 1 && !(pages.isTableLeaf(last) && ++leaves == 2);)
            --last;
        for (qint64 copied = last - 1; copied > 1; --copied) {
            if (pages.isTableLeaf(copied) && pages.cells(copied) == pages.cells(last)) {
                std::copy_n(pages.page(copied), pages.size, pages.page(last));
                return true;
            }
        }
        return false;
    });
}
