#include "bench_report.h"

#include <cstdio>

void benchReport(const QString &name, double value, const QString &unit)
{
    std::printf("BENCH %s %.3f %s\n", qPrintable(name), value, qPrintable(unit));
    std::fflush(stdout);
}
