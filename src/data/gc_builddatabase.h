#ifndef GC_BUILDDATABASE_H
#define GC_BUILDDATABASE_H

#include "gc_genbankparser.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Builds the comparison database at GC_FileUtils::tempCanvasPath() from
// Genbank files and FASTA records; genomeIds receives name key -> id.
// False, with the reason in errorText, when any input is unusable; the file
// is then removed rather than left half-built.
bool gc_buildDatabase(const QStringList &genbankFiles, const QMap<QString, QString> &fastaRecords,
                      QMap<QString, int> &genomeIds, QString *errorText = nullptr);

// The same, with some of the Genbank files already read (path -> reading):
// those readings are stored as they are, without reading the files again.
bool gc_buildDatabase(const QStringList &genbankFiles, const QMap<QString, GC_GenbankParser> &genbankRecords,
                      const QMap<QString, QString> &fastaRecords, QMap<QString, int> &genomeIds,
                      QString *errorText = nullptr);

#endif
