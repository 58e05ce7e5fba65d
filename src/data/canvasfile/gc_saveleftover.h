#ifndef GC_SAVELEFTOVER_H
#define GC_SAVELEFTOVER_H

// What a save that stopped at any moment leaves in its temporary file and
// that file's rollback journal, told by content alone: a file of the user's
// that merely bears such a name holds something else. Reads through an
// open descriptor, from its start; changes nothing.
class GC_SaveLeftover
{
public:
    // A save's database: empty, as it is at first; begun with SQLite's
    // header; or with its first page not yet written, where SQLite wrote
    // other pages out of its full cache first: whole pages, the first all
    // zeros. pageSize, when given, receives the page size its header names
    // (0 where it has none).
    static bool isDatabase(int fd, int *pageSize = nullptr);
    // The rollback journal of such a database: empty, begun with SQLite's
    // journal magic, or a journal header whose magic and record count SQLite
    // has not written yet (it writes them only once the rest is synced):
    // twelve zero bytes, then a sector and a page size SQLite can use, the
    // page size the database's own where it names one (databasePageSize),
    // and zeros to the end of the header.
    static bool isJournal(int fd, int databasePageSize);
};

#endif
