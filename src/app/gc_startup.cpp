#include "gc_startup.h"

#include "gc_blastworkfolder.h"
#include "gc_chromsdatabase.h"
#include "gc_coghomologies.h"
#include "gc_log.h"
#include "gc_referencedatabases.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_rundatabase.h"

#include <QCoreApplication>
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
    qCDebug(lcKestal).noquote() << "Library paths for plugins:\n";
    qCDebug(lcKestal).noquote() << "\"" + QCoreApplication::libraryPaths().join(":") + "\"";
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
    QStringList unavailable;
    const std::pair<bool (*)(), GC_ReferenceDatabases::Collection> collections[] = {
        {&GC_CogHomologies::openDatabase, GC_ReferenceDatabases::Cog},
        {&GC_RfamHomologies::openDatabase, GC_ReferenceDatabases::Rfam},
        {&GC_rRNAHomologies::openDatabase, GC_ReferenceDatabases::Rrna},
    };
    for (const auto &[open, collection] : collections) {
        if (!open())
            unavailable << QStringLiteral("%1 (%2)").arg(GC_ReferenceDatabases::fileName(collection),
                                                         GC_ReferenceDatabases::lastErrorText(collection));
    }
    if (!openChromsDatabase())
        unavailable << QStringLiteral("chroms.sqlite3 (taxonomy)");
    GC_CogHomologies::loadGroupColors();
    // The collections are optional: say once what is unavailable without them.
    if (!unavailable.isEmpty())
        qCInfo(lcKestal).noquote()
            << QStringLiteral("Optional reference collections missing or unusable in %1: %2. The "
                              "searches that need them are unavailable; everything else works.")
                   .arg(GC_ReferenceDatabases::folder(), unavailable.join(QStringLiteral(", ")));
}

QStringList GC_Startup::removeEndedRuns()
{
    return GC_RunDatabase::removeEndedRuns() + GC_BlastWorkFolder::removeEndedRuns();
}

void GC_Startup::run()
{
    setSettingsIdentity();
    const QString applicationFolder = QCoreApplication::applicationDirPath();
    addPluginPath(applicationFolder);
    seedToolPaths(applicationFolder);
    openReferenceData();
    removeEndedRuns();
}
