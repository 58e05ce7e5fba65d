#include "bench_privatehome.h"

#include <QCoreApplication>
#include <QFile>

BenchPrivateHome::BenchPrivateHome(const char *benchName)
{
    for (const char *variable : {"HOME", "TMPDIR", "XDG_CONFIG_HOME"})
        qputenv(variable, QFile::encodeName(m_folder.path()));
    QCoreApplication::setOrganizationName("KestalBench");
    QCoreApplication::setApplicationName(benchName);
}
