#ifndef SQLITE_STATEMENT_HOOK_H
#define SQLITE_STATEMENT_HOOK_H

#include <QByteArray>

#include <functional>

// While it lives, runs a function when a statement whose text starts with
// prefix starts on a connection the program opens, then drops that
// connection's cached pages: the statement reads the file as it is on disk
// by then. A file can so go bad at one exact moment of a reading, after the
// reader checked it. One hook at a time.
class SqliteStatementHook
{
public:
    SqliteStatementHook(const QByteArray &prefix, std::function<void()> run);
    ~SqliteStatementHook();
    SqliteStatementHook(const SqliteStatementHook &) = delete;
    SqliteStatementHook &operator=(const SqliteStatementHook &) = delete;

private:
    static int onOpen(void *db, const char **error, const void *api);
    static int onStatement(unsigned kind, void *db, void *statement, void *text);

    QByteArray m_prefix;
    std::function<void()> m_run;
};

#endif
