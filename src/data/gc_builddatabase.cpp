#include "gc_builddatabase.h"

#include "gc_comparisondatabasebuilder.h"

bool gc_buildDatabase(const QStringList &genbankFiles, const QMap<QString, QString> &fastaRecords,
                      QMap<QString, int> &genomeIds, QString *errorText)
{
    return gc_buildDatabase(genbankFiles, {}, fastaRecords, genomeIds, errorText);
}

bool gc_buildDatabase(const QStringList &genbankFiles, const QMap<QString, GC_GenbankParser> &genbankRecords,
                      const QMap<QString, QString> &fastaRecords, QMap<QString, int> &genomeIds,
                      QString *errorText)
{
    GC_ComparisonDatabaseBuilder builder;
    builder.setGenbankFiles(genbankFiles, genbankRecords);
    builder.setFastaRecords(fastaRecords);
    const bool ok = builder.build(genomeIds);
    if (errorText)
        *errorText = builder.lastErrorText();
    return ok;
}
