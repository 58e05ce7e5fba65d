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
// The last leaf of the table whose root is rootPage zeroed: reading the
// table gives the rows before it, then stops on an error.
bool zeroLastLeaf(const QString &path, qint64 rootPage);
// The last page that is a table's leaf of more than rows cells counts rows
// fewer: reading the table gives that many rows fewer, and no error.
bool dropRowsOfLastPage(const QString &path, int rows);
// The last full table leaf holds a copy of the leaf before it with as many
// cells: reading the table gives as many rows as before, those of the
// copied leaf twice and none of its own, and no error.
bool copyLeafOverTheLast(const QString &path);
}

#endif
