#include "sqlite_statement_hook.h"

#include <dlfcn.h>

namespace {

// SQLite's own entry points, from the library the program loaded, so that
// the hook sees the very connections the program opens.
void *library()
{
    static void *const loaded = ::dlopen("libsqlite3.so.0", RTLD_NOW);
    return loaded;
}

template<typename Function>
Function sqlite(const char *name)
{
    return library() ? reinterpret_cast<Function>(::dlsym(library(), name)) : nullptr;
}

using AutoExtension = int (*)(void (*)());
using Trace = int (*)(void *, unsigned, int (*)(unsigned, void *, void *, void *), void *);
using ReleaseMemory = int (*)(void *);
const unsigned traceStatement = 0x01; // SQLITE_TRACE_STMT

SqliteStatementHook *current = nullptr;

} // namespace

SqliteStatementHook::SqliteStatementHook(const QByteArray &prefix, std::function<void()> run)
    : m_prefix(prefix)
    , m_run(std::move(run))
{
    current = this;
    if (auto add = sqlite<AutoExtension>("sqlite3_auto_extension"))
        add(reinterpret_cast<void (*)()>(&SqliteStatementHook::onOpen));
}

SqliteStatementHook::~SqliteStatementHook()
{
    if (auto cancel = sqlite<AutoExtension>("sqlite3_cancel_auto_extension"))
        cancel(reinterpret_cast<void (*)()>(&SqliteStatementHook::onOpen));
    current = nullptr;
}

int SqliteStatementHook::onOpen(void *db, const char **, const void *)
{
    if (auto trace = sqlite<Trace>("sqlite3_trace_v2"))
        trace(db, traceStatement, &SqliteStatementHook::onStatement, db);
    return 0;
}

int SqliteStatementHook::onStatement(unsigned kind, void *db, void *, void *text)
{
    if (kind == traceStatement && current
        && QByteArray(static_cast<const char *>(text)).startsWith(current->m_prefix)) {
        current->m_run();
        if (auto release = sqlite<ReleaseMemory>("sqlite3_db_release_memory"))
            release(db);
    }
    return 0;
}
