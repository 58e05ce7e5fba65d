// A save of another copy of the program, held just before its temporary
// file is renamed over the saved file:
//   save_driver <canvas to open> <file to save>
// prints "holding" there and waits to be ended. Exit code 0 when the save
// went through without getting there, 1 when it failed, 2 when the canvas
// could not be opened.

#include "gc_genomescene.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
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

} // namespace

// The program's own renames come here (the library is linked in); the rest
// go on to the C library.
extern "C" int rename(const char *from, const char *to) noexcept
{
    if (isTemporary(from)) {
        std::fputs("holding\n", stdout);
        std::fflush(stdout);
        for (;;)
            pause();
    }
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: save_driver <canvas to open> <file to save>\n";
        return 2;
    }
    GC_GenomeScene scene;
    if (!scene.loadKestalCanvas(arguments.at(1))) {
        QTextStream(stderr) << scene.lastErrorText() << '\n';
        return 2;
    }
    scene.setFileName(arguments.at(2));
    // Only now: the opening's files are not the save's.
    s_temporaryStart = QFile::encodeName(QFileInfo(arguments.at(2)).fileName()) + "temp-";
    if (scene.saveToKestalCanvas())
        return 0;
    QTextStream(stderr) << scene.lastErrorText() << '\n';
    return 1;
}
