#include "gc_builddatabase.h"

#include "gc_comparisondatabasebuilder.h"
#include "gc_rundatabase.h"

std::shared_ptr<GC_RunDatabase> gc_buildDatabase(const QStringList &genbankFiles,
                                                 const QMap<QString, QString> &fastaRecords,
                                                 QMap<QString, int> &genomeIds, QString *errorText)
{
    return gc_buildDatabase(genbankFiles, {}, fastaRecords, genomeIds, errorText);
}

std::shared_ptr<GC_RunDatabase> gc_buildDatabase(const QStringList &genbankFiles,
                                                 const QMap<QString, GC_GenbankParser> &genbankRecords,
                                                 const QMap<QString, QString> &fastaRecords,
                                                 QMap<QString, int> &genomeIds, QString *errorText)
{
    std::shared_ptr<GC_RunDatabase> database = GC_RunDatabase::create(errorText);
    if (!database)
        return nullptr;
    GC_ComparisonDatabaseBuilder builder;
    builder.setPath(database->path());
    builder.setGenbankFiles(genbankFiles, genbankRecords);
    builder.setFastaRecords(fastaRecords);
    const bool ok = builder.build(genomeIds);
    if (errorText)
        *errorText = builder.lastErrorText();
    return ok ? database : nullptr;
}
