// The main window's save and open commands at realistic size: two 5 Mb
// genomes with 5,000 genes each and 100,000 matchings, saved through the
// saving thread and opened again through the opening thread, from the
// command to the moment the window is usable again.
#include "bench_report.h"
#include "bench_scenebuilder.h"

#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "kestal_main.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Runs the event loop until the window reports the outcome of a thread.
bool waitForOutcome(Kestal_Main &window, void (Kestal_Main::*finished)(bool))
{
    QEventLoop loop;
    bool outcome = false;
    QObject::connect(&window, finished, &loop, [&](bool ok) {
        outcome = ok;
        loop.quit();
    });
    loop.exec();
    return outcome;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VEXA");
    QCoreApplication::setApplicationName("KestalBench");
    QTemporaryDir dir;
    const QString canvas = dir.filePath(QStringLiteral("window.kcv"));

    Kestal_Main window;
    window.resize(1920, 1080);
    window.show();
    GC_GenomeScene &scene = *window.genomeScene();
    BenchSceneBuilder builder;
    builder.matchingCount = 100000;
    builder.build(scene);
    window.slotFileOpenFinished(true);
    const int matchings = scene.countMatchings();

    // A failure box would stop the run; say so and close it.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            qWarning("unexpected box: %s", qPrintable(modal->windowTitle()));
            modal->close();
        }
    });
    watchdog.start(1000);

    scene.setFileName(canvas);
    BenchTimer timer;
    window.slotFileSave();
    if (!waitForOutcome(window, &Kestal_Main::saveFinished)) {
        qWarning("save failed");
        return 1;
    }
    benchReport(QStringLiteral("window_save_2x5Mb_10k_genes_100k_matchings"), timer.elapsedMs(), "ms");

    timer.restart();
    if (!window.slotFileClose())
        return 1;
    benchReport(QStringLiteral("window_close_document_100k_matchings"), timer.elapsedMs(), "ms");

    timer.restart();
    window.openFile(canvas);
    if (!waitForOutcome(window, &Kestal_Main::openFinished)) {
        qWarning("open failed");
        return 1;
    }
    benchReport(QStringLiteral("window_open_2x5Mb_10k_genes_100k_matchings"), timer.elapsedMs(), "ms");
    if (scene.countMatchings() != matchings) {
        qWarning("reopened canvas lost matchings");
        return 1;
    }
    return 0;
}
