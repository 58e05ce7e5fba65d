#ifndef GC_REFERENCEDATABASES_H
#define GC_REFERENCEDATABASES_H

#include <QSqlDatabase>
#include <QString>

// The three reference collections (COG proteins, RFAM families, Silva rRNA)
// that the homology searches and hit records read. Each is one SQLite file
// opened read-only under a fixed connection name for the whole run; the
// FASTA collections and BLAST databases that go with them lie in the same
// folder. A collection that is missing leaves its connection closed, and every
// look-up on it finds no row: the program goes on without it.
class GC_ReferenceDatabases
{
public:
    enum Collection { Cog, Rfam, Rrna };

    // "cog_proteins", "rfam_seqs", "rrna_seqs".
    static QString connectionName(Collection collection);
    // "cog.sqlite3", "rfams.sqlite3", "rrnas.sqlite3".
    static QString fileName(Collection collection);

    // The application folder + "/databases".
    static QString defaultFolder();
    // The folder the collections are read from: the default folder until
    // setFolder() or openAll() names another.
    static QString folder();
    static void setFolder(const QString &folder);
    // A file of the reference folder, e.g. filePath("cogprots80.fas").
    static QString filePath(const QString &fileName);

    // Opens one collection from folder(), replacing an earlier connection of
    // the same name. Logs the outcome; true when the file opened and reads
    // as an SQLite database.
    static bool open(Collection collection);
    // Why the last open() of the collection failed; empty after a success.
    static QString lastErrorText(Collection collection);
    static bool openCog() { return open(Cog); }
    static bool openRfam() { return open(Rfam); }
    static bool openRrna() { return open(Rrna); }
    // Makes folder current and opens all three; true when all three opened.
    static bool openAll(const QString &folder);

    // The connection handle (closed when the collection did not open). It
    // never tries to open the file again.
    static QSqlDatabase database(Collection collection);
    static bool isOpen(Collection collection);

    // Closes a connection and removes its name.
    static void close(Collection collection);
    static void closeAll();
};

#endif
