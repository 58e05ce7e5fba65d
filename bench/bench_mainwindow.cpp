// The main window's save and open commands at realistic size: two 5 Mb
// genomes with 5,000 genes each and 100,000 matchings, saved through the
// saving thread and opened again through the opening thread, from the
// command to the moment the window is usable again. Then the peak resident
// memory of opening that canvas through the main window, measured in a
// process of its own so that the building and saving above do not count.
#include "bench_privatehome.h"
#include "bench_report.h"
#include "bench_scenebuilder.h"

#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "kestal_main.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

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

const char *const PeakOption = "--open-peak";

// The peak resident memory of this process in KiB. Linux's getrusage()
// carries the parent's resident size at the fork over the exec, so the
// kernel's own high-water mark is read where there is one.
double peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss);
}

// The child process: a fresh window opens the canvas and draws it once.
int openForPeakMemory(const QString &canvas)
{
    Kestal_Main window;
    window.resize(1920, 1080);
    window.show();
    window.openFile(canvas);
    if (!waitForOutcome(window, &Kestal_Main::openFinished)) {
        qWarning("open failed");
        return 1;
    }
    QCoreApplication::processEvents();
    // Drawn into the window's own backing store: a grab would add a pixmap
    // of the window that opening never makes.
    window.repaint();
    // Goal: at most 300 MB.
    benchReport(QStringLiteral("window_open_peak_resident_memory_2x5Mb_10k_genes_100k_matchings"),
                peakResidentKiB() / 1024.0, "MB");
    return window.genomeScene()->countMatchings() == 100000 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    BenchPrivateHome folder("bench_mainwindow");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], PeakOption) == 0)
        return openForPeakMemory(QString::fromLocal8Bit(argv[2]));
    const QString canvas = folder.filePath(QStringLiteral("window.kcv"));

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

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {PeakOption, canvas});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning("the peak memory run failed");
        return 1;
    }
    return 0;
}
