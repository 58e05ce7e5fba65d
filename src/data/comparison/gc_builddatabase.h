#ifndef GC_BUILDDATABASE_H
#define GC_BUILDDATABASE_H

#include "gc_genbankparser.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class GC_RunDatabase;

// Builds a new comparison database of its own (GC_RunDatabase) from Genbank
// files and FASTA records; genomeIds receives name key -> id. The database
// lives as long as someone holds it. Null, with the reason in errorText,
// when any input is unusable or the file cannot be made: nothing
// half-built is left.
std::shared_ptr<GC_RunDatabase> gc_buildDatabase(const QStringList &genbankFiles,
                                                 const QMap<QString, QString> &fastaRecords,
                                                 QMap<QString, int> &genomeIds, QString *errorText = nullptr);

// The same, with some of the Genbank files already read (path -> reading):
// those readings are stored as they are, without reading the files again.
std::shared_ptr<GC_RunDatabase> gc_buildDatabase(const QStringList &genbankFiles,
                                                 const QMap<QString, GC_GenbankParser> &genbankRecords,
                                                 const QMap<QString, QString> &fastaRecords,
                                                 QMap<QString, int> &genomeIds, QString *errorText = nullptr);

#endif
