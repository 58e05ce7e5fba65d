#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <QElapsedTimer>
#include <QString>

// Prints one figure as "BENCH <name> <value> <unit>" so runs can be compared.
void benchReport(const QString &name, double value, const QString &unit);

// Measures the wall time of one block in milliseconds.
class BenchTimer
{
public:
    BenchTimer() { m_timer.start(); }
    double elapsedMs() const { return m_timer.nsecsElapsed() / 1e6; }
    void restart() { m_timer.restart(); }

private:
    QElapsedTimer m_timer;
};

#endif
