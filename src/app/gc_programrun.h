#ifndef GC_PROGRAMRUN_H
#define GC_PROGRAMRUN_H

#include <QObject>

class QSocketNotifier;

// The end of a run of the program, however it comes. A terminate, interrupt
// or hang-up signal (what a desktop's force-quit, Ctrl+C or a closed
// terminal send) ends it the way Exit does but without asking anything: the
// BLAST programs are stopped at once, the event loop ends with the exit code
// 128 + the signal's number, and the main window goes as usual, taking the
// document's comparison databases with it. When the run ends, its BLAST
// work folder is removed.
//
// Make one, and only one, after the application object and before the main
// window, so that it outlives the window. A kill cannot be caught; the BLAST
// programs end with the program all the same (GC_BlastRunner), and the next
// start removes the run's folders (GC_Startup::removeEndedRuns()).
class GC_ProgramRun : public QObject
{
    Q_OBJECT

public:
    explicit GC_ProgramRun(QObject *parent = nullptr);
    ~GC_ProgramRun() override;

private:
    void signalArrived();

    QSocketNotifier *m_notifier = nullptr;
};

#endif
