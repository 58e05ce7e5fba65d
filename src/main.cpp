#include "gc_programrun.h"
#include "gc_startup.h"
#include "kestal_main.h"

#include <QApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    GC_Startup::run();
    // Outlives the window: it cleans up after it.
    GC_ProgramRun programRun;

    Kestal_Main window;
    window.show();
    // Only the first argument counts: a canvas file to open.
    if (argc > 1)
        window.openFile(QFile::decodeName(argv[1]));
    return app.exec();
}
