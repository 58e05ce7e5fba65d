#ifndef SQLITE_PAGE_DAMAGE_H
#define SQLITE_PAGE_DAMAGE_H

#include <QString>

// Damage as a failing disk leaves it after a reader checked the file: one
// page goes bad in place, while size, header and time of last change stay.
// Pages count from 1; 0 is the last, which holds the last rows of the table
// written last. False when the file cannot be changed so.
namespace SqlitePageDamage {
// Zeroed: reading its table stops on an error there.
bool zeroPage(const QString &path, qint64 page);
inline bool zeroLastPage(const QString &path) { return zeroPage(path, 0); }
// The last page, a table's leaf, counts rows fewer cells: reading the table
// gives that many rows fewer, and no error.
bool dropRowsOfLastPage(const QString &path, int rows);
}

#endif
