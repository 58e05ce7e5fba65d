#ifndef SQLITE_PAGE_DAMAGE_H
#define SQLITE_PAGE_DAMAGE_H

#include <QString>

// Damage to an SQLite file as a failing disk leaves it, after a reader has
// checked the file: one page goes bad in place while the file keeps its
// size, its header and its time of last change, so that nothing but reading
// that page tells.
namespace SqlitePageDamage {

// Zeroes the page holding a table's last rows (the leaf its b-tree's right
// edge leads to). False when the table or its pages cannot be found, or the
// file cannot be written or given back its time.
bool zeroLastLeaf(const QString &path, const QString &table);

} // namespace SqlitePageDamage

#endif
