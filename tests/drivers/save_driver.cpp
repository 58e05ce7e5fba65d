// Another copy of the program, stopped where a test needs it:
//   save_driver save <canvas to open> <file to save>
//     holds its save just before the temporary file is renamed over the
//     saved file;
//   save_driver midwrite <file>
//     holds the file mid-change: every genomes and genes row changed inside
//     a transaction, with a cache so small that changed pages go into the
//     file before the commit;
//   save_driver logged <file>
//     holds the file open in write-ahead-log mode with a change committed
//     into the log.
// Each prints "holding" there and waits to be ended; exit code 1 when the
// save or change failed, 2 when the canvas could not be opened.

#include "gc_genomescene.h"
#include "gc_sqlconnection.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

// The start of the save's temporary file names: "<file name>temp-".
QByteArray s_temporaryStart;

bool isTemporary(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;
    return !s_temporaryStart.isEmpty()
        && std::strncmp(name, s_temporaryStart.constData(), size_t(s_temporaryStart.size())) == 0;
}

[[noreturn]] void hold()
{
    std::fputs("holding\n", stdout);
    std::fflush(stdout);
    for (;;)
        pause();
}

bool change(QSqlQuery &query, const QString &how)
{
    if (how == QLatin1String("midwrite"))
        return query.exec("PRAGMA cache_size = 1") && query.exec("BEGIN")
            && query.exec("UPDATE genomes SET name = 'unfinished' , dnaSequence = 'ACGT'")
            && query.exec("UPDATE genes SET name = 'unfinished'");
    return query.exec("PRAGMA journal_mode=WAL") && query.next() && query.value(0).toString() == "wal"
        && query.exec("UPDATE genomes SET name = 'logged'");
}

} // namespace

// The program's own renames come here (the library is linked in); the rest
// go on to the C library.
extern "C" int rename(const char *from, const char *to) noexcept
{
    if (isTemporary(from))
        hold();
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString how = arguments.value(1);
    if (how != "save" && arguments.size() == 3) {
        GC_SqlConnection file(QStringLiteral("save_driver"), arguments.at(2));
        QSqlQuery query(file.database());
        if (change(query, how))
            hold();
        QTextStream(stderr) << query.lastError().text() << '\n';
        return 1;
    }
    GC_GenomeScene scene;
    if (how != "save" || arguments.size() != 4 || !scene.loadKestalCanvas(arguments.at(2))) {
        QTextStream(stderr) << scene.lastErrorText() << '\n';
        return 2;
    }
    scene.setFileName(arguments.at(3));
    // Only now: the opening's files are not the save's.
    s_temporaryStart = QFile::encodeName(QFileInfo(arguments.at(3)).fileName()) + "temp-";
    if (scene.saveToKestalCanvas())
        return 0;
    QTextStream(stderr) << scene.lastErrorText() << '\n';
    return 1;
}
