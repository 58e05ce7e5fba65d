#ifndef GC_CHROMSDATABASE_H
#define GC_CHROMSDATABASE_H

#include <QString>

// The taxonomy database the Entrez browser reads: application folder +
// "/databases/chroms.sqlite3", kept open for the whole run under the
// connection "chroms".

// False until openChromsDatabase() succeeds.
extern bool chromsDatabaseOpen;

// Opens the connection "chroms" read-only on the taxonomy database and sets
// chromsDatabaseOpen to the outcome, which it also returns. A missing file is
// a failure (it is never created empty). Logs either way.
bool openChromsDatabase();

// The same on another file (tests, other installs).
bool openChromsDatabase(const QString &path);

// The default file: application folder + "/databases/chroms.sqlite3".
QString chromsDatabasePath();

#endif
