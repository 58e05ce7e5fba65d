#ifndef SQLITE_PAGE_DAMAGE_H
#define SQLITE_PAGE_DAMAGE_H

#include <QString>

// Damage as a failing disk leaves it after a reader checked the file: a
// page (the last holds the last rows of the table written last) goes bad
// in place, while size, header and time of last change stay. False when the
// file cannot be written or given back its time.
namespace SqlitePageDamage {
// Zeroes the page: reading the table stops on an error there.
bool zeroLastPage(const QString &path);
// The same for the page of that number (counted from 1, past the first).
bool zeroPage(const QString &path, qint64 number);
// The page, a table's leaf, counts rows fewer cells: reading the table
// gives that many rows fewer, and no error. False too when the page is no
// such leaf.
bool dropRowsOfLastPage(const QString &path, int rows);
}

#endif
