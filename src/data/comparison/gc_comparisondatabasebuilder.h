#ifndef GC_COMPARISONDATABASEBUILDER_H
#define GC_COMPARISONDATABASEBUILDER_H

#include "gc_genbankparser.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <future>
#include <memory>

class GC_SequenceFileReader;
class QSqlQuery;

// Makes a new comparison database from Genbank files and FASTA records:
// genomes and segments filled, matchings empty. Ids run from 0 over the
// files in list order, then over the records in ascending name order.
// The build is all or nothing: on any failure the file is removed.
class GC_ComparisonDatabaseBuilder
{
public:
    // Where to write; a file there is replaced. Nothing is built without it.
    void setPath(const QString &path) { m_path = path; }
    QString path() const { return m_path; }

    // Genbank files (a FASTA file given here is read as FASTA, each of its
    // records one genome in name order). Files among records (path ->
    // their whole reading, GC_SequenceFileReader::read()) are not read again.
    void setGenbankFiles(const QStringList &paths, const QMap<QString, GC_GenbankParser> &records = {})
    {
        m_genbankFiles = paths;
        m_genbankRecords = records;
    }
    void setFastaRecords(const QMap<QString, QString> &records) { m_fastaRecords = records; }

    // Builds the file; on success genomeIds receives each genome's name key
    // (simplified definition, or record name) and id, a repeated key taking
    // the later id.
    bool build(QMap<QString, int> &genomeIds);

    QString lastErrorText() const { return m_lastErrorText; }

private:
    using Reading = std::shared_ptr<GC_SequenceFileReader>;

    bool fail(const QString &message);
    std::future<Reading> readAhead(int index) const;
    static void releaseAside(Reading reading);
    bool addGenbankFile(const QString &path, const Reading &reading, QSqlQuery &genomeInsert,
                        QSqlQuery &segmentInsert);
    bool addGenbankRecord(const GC_GenbankParser &parser, QSqlQuery &genomeInsert, QSqlQuery &segmentInsert);
    bool addSegments(const GC_GenbankParser &parser, QSqlQuery &segmentInsert);
    bool addFastaRecords(const QMap<QString, QString> &records, const QString &source,
                         QSqlQuery &genomeInsert);
    bool addGenome(const QVariant &name, const QString &sequence, QSqlQuery &genomeInsert);

    QString m_path;
    QStringList m_genbankFiles;
    QMap<QString, GC_GenbankParser> m_genbankRecords;
    QMap<QString, QString> m_fastaRecords;
    QMap<QString, int> m_builtIds;
    int m_nextId = 0;
    QString m_lastErrorText;
};

#endif
