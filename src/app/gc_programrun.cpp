#include "gc_programrun.h"

#include "gc_blastrunner.h"
#include "gc_blastworkfolder.h"
#include "gc_log.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int endingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler's way to the event loop: it may do next to nothing itself.
int signalPipe[2] = {-1, -1};

void onEndingSignal(int signalNumber)
{
    const int savedErrno = errno;
    GC_BlastRunner::stopEveryProgram();
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

GC_ProgramRun::GC_ProgramRun(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcKestal) << "GC_ProgramRun: no pipe for signals; a terminate signal ends Kestal at once";
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &GC_ProgramRun::signalArrived);
    struct sigaction action = {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : endingSignals) {
        struct sigaction previous = {};
        // A signal the starter chose to ignore (nohup) stays ignored.
        if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

GC_ProgramRun::~GC_ProgramRun()
{
    if (m_notifier) {
        struct sigaction action = {};
        action.sa_handler = SIG_DFL;
        sigemptyset(&action.sa_mask);
        for (const int signalNumber : endingSignals) {
            struct sigaction current = {};
            if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == onEndingSignal)
                ::sigaction(signalNumber, &action, nullptr);
        }
        delete m_notifier;
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
    GC_BlastWorkFolder::removeRunFolder();
}

void GC_ProgramRun::signalArrived()
{
    unsigned char number = 0;
    unsigned char next = 0;
    while (::read(signalPipe[0], &next, 1) == 1)
        number = next;
    if (number == 0)
        return;
    qCInfo(lcKestal).noquote() << QStringLiteral("Kestal is ending on signal %1").arg(number);
    // Without questions: whoever sent the signal wants the program gone.
    QCoreApplication::exit(128 + number);
}
