#ifndef GC_BLASTRUNNER_H
#define GC_BLASTRUNNER_H

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QStringList>

// Runs one BLAST+ program and collects everything it prints. A failed
// start, a crash or a non-zero exit is a failure whose errorText() holds the
// program's stderr. Use run() to wait for the program, or start() and the
// finished(bool) signal from an event loop.
//
// No program outlives Kestal: it is killed when the thread that started it
// ends, however that happens (a kill of Kestal included), so start it from
// a thread that lives as long as the program is needed. Each program runs in
// a process group of its own, and a stop (kill(), the time limit, Kestal's
// end) ends the whole group, so that the children of a wrapper script end
// too; only a kill of Kestal itself reaches the program alone.
class GC_BlastRunner : public QObject
{
    Q_OBJECT

public:
    explicit GC_BlastRunner(QObject *parent = nullptr);
    ~GC_BlastRunner() override;

    void setProgram(const QString &program) { m_program = program; }
    QString program() const { return m_program; }
    void setArguments(const QStringList &arguments) { m_arguments = arguments; }
    QStringList arguments() const { return m_arguments; }
    void setWorkingDirectory(const QString &folder) { m_workingDirectory = folder; }
    QString workingDirectory() const { return m_workingDirectory; }
    // Milliseconds before the program is killed as a failure; -1 (the
    // default) waits for ever.
    void setTimeout(int msecs) { m_timeoutMsecs = msecs; }
    // Whether standardOutput() keeps what was read; a caller that consumes
    // outputRead() chunks itself can turn it off for large outputs.
    void setKeepOutput(bool keep) { m_keepOutput = keep; }

    // Runs the program and waits for it; true when it exited with code 0.
    bool run();
    // Starts the program; finished(bool) follows exactly once, also when the
    // program cannot be started. Both refuse while a program is running.
    void start();
    // Stops a running program; finished(false) follows.
    void kill();

    // For the program's end: run() stops its program at once, and no
    // runner starts another one. Safe to call from a signal handler.
    static void stopEveryProgram();

    bool isRunning() const { return m_process != nullptr; }
    bool succeeded() const { return m_succeeded; }
    int exitCode() const { return m_exitCode; }
    QByteArray standardOutput() const { return m_output; }
    QByteArray standardError() const { return m_error; }
    QString errorText() const { return m_errorText; }
    // The program and its arguments as one line, for logs.
    QString commandLine() const;

signals:
    void outputRead(const QByteArray &chunk);
    void finished(bool ok);

private slots:
    void readOutput();
    void readError();
    void processFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void processError(QProcess::ProcessError error);

private:
    bool prepare();
    // Kills the running program with every process of its group (what a
    // wrapper started); the program's end follows as usual.
    void stopProgram();
    // run()'s wait; false when the program was stopped or took too long.
    bool waitForProgram();
    void conclude(bool ok, const QString &errorText);
    QString describe(const QString &what) const;

    QString m_program;
    QStringList m_arguments;
    QString m_workingDirectory;
    int m_timeoutMsecs = -1;
    bool m_keepOutput = true;

    QProcess *m_process = nullptr;
    bool m_synchronous = false;
    bool m_succeeded = false;
    bool m_killed = false;
    int m_exitCode = -1;
    QByteArray m_output;
    QByteArray m_error;
    QString m_errorText;
};

#endif
