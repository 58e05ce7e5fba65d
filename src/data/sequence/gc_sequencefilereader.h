#ifndef GC_SEQUENCEFILEREADER_H
#define GC_SEQUENCEFILEREADER_H

#include "gc_fileutils.h"
#include "gc_genbankparser.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Reads one Genbank or FASTA file as genomes. Every road that takes a
// sequence file (the open wizard, the comparison-database builder, the
// single-file loader, the match-sequence dialog) asks this class, so they
// accept and refuse the same files, in the same words.
class GC_SequenceFileReader
{
public:
    explicit GC_SequenceFileReader(const QString &path);

    // Reads the whole file: the Genbank record with its features, or every
    // FASTA record. False, with errorText() naming the file and the fault,
    // when the file cannot give a genome.
    bool read();

    // The same decision as read() without reading Genbank features: cheap
    // enough to run when a file is chosen.
    bool check();

    GC_FileUtils::SequenceFileKind kind() const { return m_kind; }
    QString errorText() const { return m_errorText; }
    // What the last read() or check() answered.
    bool succeeded() const { return m_succeeded; }

    // What the file holds that the reading leaves out, one sentence per
    // kind, each naming the file (see GC_GenbankParser::warnings()), after a
    // read() that succeeded; after check() only the records after the first.
    // Made when asked: the roads that do not show them do not pay for them.
    QStringList warnings() const;

    // After read() of a Genbank file.
    const GC_GenbankParser &genbank() const { return m_genbank; }
    // After read() of a FASTA file: (name, sequence) in file order, names unique.
    const QList<QPair<QString, QString>> &fastaRecords() const { return m_fastaRecords; }

private:
    bool run(bool withFeatures);

    QString m_path;
    GC_FileUtils::SequenceFileKind m_kind = GC_FileUtils::NoSequenceFile;
    GC_GenbankParser m_genbank;
    QList<QPair<QString, QString>> m_fastaRecords;
    QString m_errorText;
    bool m_succeeded = false;
};

#endif
