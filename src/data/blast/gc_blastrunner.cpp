#include "gc_blastrunner.h"

#include "gc_log.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTimer>

#include <atomic>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
std::atomic<bool> everyProgramStopped{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
// How often a waiting run() looks whether the program must stop.
const int StopCheckMsecs = 100;
} // namespace

void GC_BlastRunner::stopEveryProgram()
{
    everyProgramStopped = true;
}

GC_BlastRunner::GC_BlastRunner(QObject *parent)
    : QObject(parent)
{
}

GC_BlastRunner::~GC_BlastRunner()
{
    if (m_process) {
        m_process->disconnect(this);
        stopProgram();
        m_process->waitForFinished(3000);
        delete m_process;
    }
}

QString GC_BlastRunner::commandLine() const
{
    QStringList parts{m_program};
    for (const QString &argument : m_arguments)
        parts << (argument.contains(' ') ? '"' + argument + '"' : argument);
    return parts.join(' ');
}

QString GC_BlastRunner::describe(const QString &what) const
{
    QString text = QString("%1 %2").arg(QFileInfo(m_program).fileName(), what);
    const QString details = QString::fromLocal8Bit(m_error).trimmed();
    if (!details.isEmpty())
        text += ": " + details;
    return text;
}

bool GC_BlastRunner::prepare()
{
    m_succeeded = false;
    m_killed = false;
    m_exitCode = -1;
    m_output.clear();
    m_error.clear();
    m_errorText.clear();
    if (m_program.isEmpty()) {
        m_errorText = "no program to run";
        return false;
    }
    if (everyProgramStopped) {
        m_errorText = describe("not started: Kestal is ending");
        return false;
    }
    m_process = new QProcess(this);
#ifdef Q_OS_LINUX
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([parent] {
        // In the child, before the program starts: it gets killed when the
        // starting thread ends; a parent already gone cannot send that.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        // A group of its own, so that a stop reaches what a wrapper script
        // starts as well as the wrapper.
        ::setpgid(0, 0);
    });
#endif
    if (!m_workingDirectory.isEmpty())
        m_process->setWorkingDirectory(m_workingDirectory);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &GC_BlastRunner::readOutput);
    connect(m_process, &QProcess::readyReadStandardError, this, &GC_BlastRunner::readError);
    return true;
}

bool GC_BlastRunner::run()
{
    if (m_process) {
        qCDebug(lcKestal) << "GC_BlastRunner::run(): a program is already running";
        return false;
    }
    m_synchronous = true;
    if (!prepare()) {
        conclude(false, m_errorText);
        return false;
    }
    qCDebug(lcKestal).noquote() << "GC_BlastRunner::run():" << commandLine();
    m_process->start(m_program, m_arguments, QIODevice::ReadWrite);
    if (!m_process->waitForStarted(-1)) {
        conclude(false, describe(QString("could not be started: %1").arg(m_process->errorString())));
        return false;
    }
    m_process->closeWriteChannel();
    if (!waitForProgram())
        return false;
    processFinished(m_process->exitCode(), m_process->exitStatus());
    return m_succeeded;
}

bool GC_BlastRunner::waitForProgram()
{
    const QDeadlineTimer deadline(m_timeoutMsecs);
    // In slices, so that the program's end stops a long run at once.
    while (!m_process->waitForFinished(StopCheckMsecs) && m_process->state() != QProcess::NotRunning) {
        const bool ending = everyProgramStopped;
        if (!ending && !deadline.hasExpired())
            continue;
        stopProgram();
        m_process->waitForFinished(-1);
        readOutput();
        readError();
        conclude(false, describe(ending ? QString("was stopped: Kestal is ending")
                                        : QString("did not finish within %1 ms").arg(m_timeoutMsecs)));
        return false;
    }
    return true;
}

void GC_BlastRunner::start()
{
    if (m_process) {
        qCDebug(lcKestal) << "GC_BlastRunner::start(): a program is already running";
        return;
    }
    m_synchronous = false;
    if (!prepare()) {
        const QString reason = m_errorText;
        // Reported from the event loop so that finished() always follows start().
        QTimer::singleShot(0, this, [this, reason] { conclude(false, reason); });
        return;
    }
    qCDebug(lcKestal).noquote() << "GC_BlastRunner::start():" << commandLine();
    connect(m_process, &QProcess::finished, this, &GC_BlastRunner::processFinished);
    connect(m_process, &QProcess::errorOccurred, this, &GC_BlastRunner::processError);
    if (m_timeoutMsecs >= 0) {
        QTimer::singleShot(m_timeoutMsecs, m_process, [this] {
            m_errorText = describe(QString("did not finish within %1 ms").arg(m_timeoutMsecs));
            m_killed = true;
            stopProgram();
        });
    }
    m_process->start(m_program, m_arguments, QIODevice::ReadWrite);
}

void GC_BlastRunner::kill()
{
    if (!m_process)
        return;
    m_killed = true;
    stopProgram();
}

void GC_BlastRunner::stopProgram()
{
#ifdef Q_OS_LINUX
    // The group bears the program's pid. Until the program is reaped its pid,
    // and with it the group's id, cannot go to another process: signal the
    // group only while the program is a child not yet reaped (waitid with
    // WNOWAIT looks without reaping). A group not made yet (the program
    // still starting) is no failure: the kill below reaches the program.
    const qint64 pid = m_process->processId();
    siginfo_t child = {};
    if (pid > 0 && m_process->state() != QProcess::NotRunning
        && ::waitid(P_PID, id_t(pid), &child, WEXITED | WNOHANG | WNOWAIT) == 0)
        ::kill(-pid_t(pid), SIGKILL);
#endif
    m_process->kill();
}

void GC_BlastRunner::readOutput()
{
    if (!m_process)
        return;
    const QByteArray chunk = m_process->readAllStandardOutput();
    if (chunk.isEmpty())
        return;
    if (m_keepOutput)
        m_output.append(chunk);
    emit outputRead(chunk);
}

void GC_BlastRunner::readError()
{
    if (m_process)
        m_error.append(m_process->readAllStandardError());
}

void GC_BlastRunner::processFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    if (!m_process)
        return;
    readOutput();
    readError();
    m_exitCode = exitCode;
    if (m_killed)
        conclude(false, m_errorText.isEmpty() ? describe("was stopped") : m_errorText);
    else if (exitStatus != QProcess::NormalExit)
        conclude(false, describe("crashed"));
    else if (exitCode != 0)
        conclude(false, describe(QString("failed with exit code %1").arg(exitCode)));
    else
        conclude(true, QString());
}

void GC_BlastRunner::processError(QProcess::ProcessError error)
{
    // Crashes are concluded by finished(); only a failed start has no finish.
    if (error == QProcess::FailedToStart && m_process)
        conclude(false, describe(QString("could not be started: %1").arg(m_process->errorString())));
}

void GC_BlastRunner::conclude(bool ok, const QString &errorText)
{
    m_succeeded = ok;
    m_errorText = errorText;
    if (!ok)
        qCDebug(lcKestal).noquote() << "GC_BlastRunner:" << errorText;
    if (m_process) {
        QProcess *process = m_process;
        m_process = nullptr;
        process->disconnect(this);
        // A waiting caller may sit on a thread without an event loop.
        if (m_synchronous)
            delete process;
        else
            process->deleteLater();
    }
    emit finished(ok);
}
