#include "gc_startup.h"

#include "gc_chromsdatabase.h"
#include "gc_coghomologies.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

void GC_Startup::setSettingsIdentity()
{
    QCoreApplication::setOrganizationName("VEXA");
    QCoreApplication::setOrganizationDomain("kestal.org");
    QCoreApplication::setApplicationName("Kestal");
    QCoreApplication::setApplicationVersion("1.0");
}

void GC_Startup::addPluginPath(const QString &applicationFolder)
{
    QStringList paths = QCoreApplication::libraryPaths();
    paths.append(applicationFolder + "/plugins");
    QCoreApplication::setLibraryPaths(paths);
    qDebug().noquote() << "Library paths for plugins:\n";
    qDebug().noquote() << "\"" + QCoreApplication::libraryPaths().join(":") + "\"";
}

QStringList GC_Startup::seedToolPaths(const QString &applicationFolder)
{
    static const char *const keys[][2] = {
        {"makeblastdbpath", "/makeblastdb"},
        {"blastnpath", "/blastn"},
        {"tblastnpath", "/tblastn"},
    };
    QSettings settings;
    QStringList written;
    for (const auto &key : keys) {
        if (settings.contains(key[0]))
            continue;
        settings.setValue(key[0], applicationFolder + key[1]);
        written << key[0];
    }
    return written;
}

void GC_Startup::openReferenceData()
{
    GC_CogHomologies::openDatabase();
    GC_RfamHomologies::openDatabase();
    GC_rRNAHomologies::openDatabase();
    openChromsDatabase();
    GC_CogHomologies::loadGroupColors();
}

void GC_Startup::run()
{
    setSettingsIdentity();
    const QString applicationFolder = QCoreApplication::applicationDirPath();
    addPluginPath(applicationFolder);
    seedToolPaths(applicationFolder);
    openReferenceData();
}
