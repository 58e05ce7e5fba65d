#include "gc_saveleftover.h"

#include "gc_sqlconnection.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <unistd.h>

namespace {

// Every page size SQLite uses is a power of two from 512 to 65536 bytes.
const int smallestPage = 512;
const int largestPage = 65536;

QByteArray readStart(int fd, int size)
{
    QByteArray bytes(size, '\0');
    const ssize_t read = ::pread(fd, bytes.data(), size_t(size), 0);
    bytes.truncate(read < 0 ? 0 : int(read));
    return bytes;
}

qint64 fileSize(int fd)
{
    const off_t end = ::lseek(fd, 0, SEEK_END);
    return end < 0 ? -1 : qint64(end);
}

bool isPowerOfTwoWithin(quint32 value, quint32 lowest, quint32 highest)
{
    return value >= lowest && value <= highest && (value & (value - 1)) == 0;
}

bool allZeros(const QByteArray &bytes, int from)
{
    return std::all_of(bytes.cbegin() + from, bytes.cend(), [](char byte) { return byte == '\0'; });
}

} // namespace

bool GC_SaveLeftover::isDatabase(int fd, int *pageSize)
{
    if (pageSize)
        *pageSize = 0;
    const qint64 size = fileSize(fd);
    if (size == 0)
        return true;
    const QByteArray header = GC_SqlConnection::sqliteHeader();
    const QByteArray start = readStart(fd, smallestPage);
    if (start.startsWith(header)) {
        // Stored big-endian at 16; 1 stands for 65536.
        if (pageSize && start.size() >= 18) {
            const int stored = qFromBigEndian<quint16>(start.constData() + 16);
            *pageSize = stored == 1 ? largestPage : stored;
        }
        return true;
    }
    // Whatever its page size, such a file is whole pages, each a multiple
    // of the smallest, and its first page at least that long.
    return size >= smallestPage && size % smallestPage == 0 && allZeros(start, 0);
}

bool GC_SaveLeftover::isJournal(int fd, int databasePageSize)
{
    static const QByteArray magic = QByteArray::fromHex("d9d505f920a163d7");
    if (fileSize(fd) == 0)
        return true;
    const QByteArray start = readStart(fd, smallestPage);
    if (start.startsWith(magic))
        return true;
    // Magic and record count (12 bytes), nonce, page count of the database,
    // sector size, page size; zeros pad the header to the smaller of the
    // sector and the page.
    const int fields = 28;
    if (start.size() < fields || !allZeros(start.left(12), 0))
        return false;
    const quint32 sector = qFromBigEndian<quint32>(start.constData() + 20);
    const quint32 page = qFromBigEndian<quint32>(start.constData() + 24);
    if (!isPowerOfTwoWithin(sector, 32, largestPage) || !isPowerOfTwoWithin(page, smallestPage, largestPage)
        || (databasePageSize > 0 && page != quint32(databasePageSize)))
        return false;
    const int headerEnd = int(std::min({sector, page, quint32(start.size())}));
    return allZeros(start.left(headerEnd), fields);
}
