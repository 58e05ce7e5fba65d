#include "sqlite_page_damage.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

bool SqlitePageDamage::zeroLastPage(const QString &path)
{
    struct stat before {};
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &before) != 0 || !file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    const qint64 pageSize = header.size() < 18 ? 0 : (uchar(header.at(16)) << 8 | uchar(header.at(17)));
    if (pageSize < 512 || file.size() < 2 * pageSize || !file.seek(file.size() - pageSize)
        || file.write(QByteArray(int(pageSize), '\0')) != pageSize || !file.flush())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}
