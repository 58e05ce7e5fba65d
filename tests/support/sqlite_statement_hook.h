#ifndef SQLITE_STATEMENT_HOOK_H
#define SQLITE_STATEMENT_HOOK_H

#include <QByteArray>

#include <functional>

// Runs a function when a statement whose text starts with a given prefix
// starts, on any SQLite connection the program opens while the hook
// lives; the connection's cached pages are dropped right after, so that
// the statement reads the file as it is on disk by then. Lets a test change
// a file at one exact moment of a reading: after the reader checked it and
// before it reads a table, say. isHeld() is false where SQLite's library
// cannot be reached.
class SqliteStatementHook
{
public:
    SqliteStatementHook(const QByteArray &prefix, std::function<void()> run);
    ~SqliteStatementHook();
    SqliteStatementHook(const SqliteStatementHook &) = delete;
    SqliteStatementHook &operator=(const SqliteStatementHook &) = delete;

    bool isHeld() const { return m_held; }
    // How many times the function ran.
    int runs() const { return m_runs; }

private:
    static int onOpen(void *db, const char **error, const void *api);
    static int onTrace(unsigned kind, void *db, void *statement, void *text);

    QByteArray m_prefix;
    std::function<void()> m_run;
    bool m_held = false;
    int m_runs = 0;
};

#endif
