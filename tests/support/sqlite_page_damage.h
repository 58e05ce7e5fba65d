#ifndef SQLITE_PAGE_DAMAGE_H
#define SQLITE_PAGE_DAMAGE_H

#include <QString>

// Damage as a failing disk leaves it after a reader checked the file: the
// file's last page (the last rows of the table written last) goes bad in
// place, while size, header and time of last change stay. False when the
// file cannot be written or given back its time.
namespace SqlitePageDamage {
bool zeroLastPage(const QString &path);
}

#endif
