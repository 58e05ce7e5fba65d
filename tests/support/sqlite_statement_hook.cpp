#include "sqlite_statement_hook.h"

#include <dlfcn.h>

namespace {

// SQLite's own entry points, taken from the library the program loaded, so
// that the hook sees the very connections the program opens.
using EntryPoint = int (*)(void *, const char **, const void *);
using AutoExtension = int (*)(void (*)());
using Trace = int (*)(void *, unsigned, int (*)(unsigned, void *, void *, void *), void *);
using ReleaseMemory = int (*)(void *);

const unsigned traceStatement = 0x01; // SQLITE_TRACE_STMT

struct Library
{
    AutoExtension autoExtension = nullptr;
    AutoExtension cancelAutoExtension = nullptr;
    Trace trace = nullptr;
    ReleaseMemory releaseMemory = nullptr;
};

const Library &library()
{
    static const Library sqlite = [] {
        Library found;
        void *handle = ::dlopen("libsqlite3.so.0", RTLD_NOW);
        if (!handle)
            return found;
        found.autoExtension = reinterpret_cast<AutoExtension>(::dlsym(handle, "sqlite3_auto_extension"));
        found.cancelAutoExtension =
            reinterpret_cast<AutoExtension>(::dlsym(handle, "sqlite3_cancel_auto_extension"));
        found.trace = reinterpret_cast<Trace>(::dlsym(handle, "sqlite3_trace_v2"));
        found.releaseMemory = reinterpret_cast<ReleaseMemory>(::dlsym(handle, "sqlite3_db_release_memory"));
        return found;
    }();
    return sqlite;
}

SqliteStatementHook *current = nullptr;

} // namespace

SqliteStatementHook::SqliteStatementHook(const QByteArray &prefix, std::function<void()> run)
    : m_prefix(prefix)
    , m_run(std::move(run))
{
    const Library &sqlite = library();
    if (current || !sqlite.autoExtension || !sqlite.cancelAutoExtension || !sqlite.trace || !sqlite.releaseMemory)
        return;
    current = this;
    m_held = sqlite.autoExtension(reinterpret_cast<void (*)()>(&SqliteStatementHook::onOpen)) == 0;
    if (!m_held)
        current = nullptr;
}

SqliteStatementHook::~SqliteStatementHook()
{
    if (!m_held)
        return;
    library().cancelAutoExtension(reinterpret_cast<void (*)()>(&SqliteStatementHook::onOpen));
    current = nullptr;
}

int SqliteStatementHook::onOpen(void *db, const char **, const void *)
{
    library().trace(db, traceStatement, &SqliteStatementHook::onTrace, db);
    return 0;
}

int SqliteStatementHook::onTrace(unsigned kind, void *db, void *, void *text)
{
    if (kind != traceStatement || !current || !QByteArray(static_cast<const char *>(text)).startsWith(current->m_prefix))
        return 0;
    ++current->m_runs;
    current->m_run();
    library().releaseMemory(db);
    return 0;
}
