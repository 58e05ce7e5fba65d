// A save stopped at one moment, as a kill or a power cut stops the program:
// opens a canvas and saves it under a file name, and at the chosen moment
// of the save is killed (SIGKILL) or holds there until it is ended.
//
//   save_driver created|renaming|holding <canvas to open> <file to save>
//
// created: killed as its temporary file has just been made;
// renaming: killed just before that file is renamed over the saved file;
// holding: prints "holding" there and waits to be ended, a save still
// running. Exit code 0 when the save went through without meeting the
// moment, 1 when it failed, 2 when the canvas could not be opened.

#include "gc_genomescene.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray s_stopAt;
// The start of the save's temporary file names: "<file name>temp-".
QByteArray s_temporaryStart;

bool isTemporary(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;
    return !s_temporaryStart.isEmpty() && std::strncmp(name, s_temporaryStart.constData(), size_t(s_temporaryStart.size())) == 0;
}

} // namespace

// The program's own calls come here (the library is linked in); the rest
// go on to the C library.
extern "C" int open(const char *path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    using Open = int (*)(const char *, int, ...);
    static const auto real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
    const int fd = real(path, flags, mode);
    if (fd >= 0 && (flags & O_CREAT) && s_stopAt == "created" && isTemporary(path))
        raise(SIGKILL);
    return fd;
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    if (isTemporary(from)) {
        if (s_stopAt == "renaming")
            raise(SIGKILL);
        if (s_stopAt == "holding") {
            std::fputs("holding\n", stdout);
            std::fflush(stdout);
            for (;;)
                pause();
        }
    }
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        QTextStream(stderr) << "usage: save_driver created|renaming|holding <canvas to open> <file to save>\n";
        return 2;
    }
    GC_GenomeScene scene;
    if (!scene.loadKestalCanvas(arguments.at(2))) {
        QTextStream(stderr) << scene.lastErrorText() << '\n';
        return 2;
    }
    scene.setFileName(arguments.at(3));
    // Only now: the opening's files are not the save's.
    s_temporaryStart = QFile::encodeName(QFileInfo(arguments.at(3)).fileName()) + "temp-";
    s_stopAt = arguments.at(1).toLatin1();
    if (scene.saveToKestalCanvas())
        return 0;
    QTextStream(stderr) << scene.lastErrorText() << '\n';
    return 1;
}
