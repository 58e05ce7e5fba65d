#include "gc_comparisondatabasebuilder.h"

#include "gc_comparisondatabase.h"
#include "gc_fileutils.h"
#include "gc_genbankparser.h"
#include "gc_log.h"
#include "gc_rowinsert.h"
#include "gc_sequencefilereader.h"
#include "gc_sequencetext.h"
#include "gc_sqlconnection.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QThreadPool>

namespace {

QVariant textOrNull(const QMap<QString, QString> &map, const QString &key)
{
    const auto it = map.constFind(key);
    return it == map.cend() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(*it);
}

} // namespace

bool GC_ComparisonDatabaseBuilder::fail(const QString &message)
{
    m_lastErrorText = message;
    qCDebug(lcKestal).noquote() << "GC_ComparisonDatabaseBuilder::build():" << message;
    return false;
}

bool GC_ComparisonDatabaseBuilder::build(QMap<QString, int> &genomeIds)
{
    m_lastErrorText.clear();
    m_builtIds.clear();
    m_nextId = 0;
    if (m_path.isEmpty())
        return fail(QStringLiteral("no file was given for the comparison database"));
    // Each file is read on a thread of its own while the rows of the one
    // before are written; the rows keep the files' order.
    std::future<Reading> next = readAhead(0);
    if (QFile::exists(m_path) && !QFile::remove(m_path))
        return fail(QString("cannot remove the old file %1").arg(m_path));

    bool ok = true;
    {
        GC_SqlConnection connection("gc_buildDatabase", m_path);
        if (!connection.isOpen())
            return fail(QString("DB ERROR : %1").arg(connection.errorText()));
        QSqlDatabase db = connection.database();
        QSqlQuery query(db);
        // A work file, made anew by every build and removed when one fails:
        // waiting for the disk to hold each page would only slow the road.
        for (const char *pragma : {"PRAGMA synchronous = OFF", "PRAGMA journal_mode = MEMORY"}) {
            if (ok && !query.exec(pragma))
                ok = fail(QString("%1: %2").arg(pragma, query.lastError().text()));
        }
        if (ok && !db.transaction())
            ok = fail(QString("cannot begin a transaction: %1").arg(db.lastError().text()));
        for (const QString &statement : GC_ComparisonDatabase::createStatements()) {
            if (ok && !query.exec(statement))
                ok = fail(QString("%1: %2").arg(statement, query.lastError().text()));
        }
        QSqlQuery genomeInsert(db);
        QSqlQuery segmentInsert(db);
        if (ok && (!genomeInsert.prepare(GC_ComparisonDatabase::insertGenomeStatement())
                   || !segmentInsert.prepare(GC_ComparisonDatabase::segmentInsert().statement())))
            ok = fail(QString("cannot prepare the inserts: %1").arg(db.lastError().text()));
        for (int i = 0; ok && i < m_genbankFiles.size(); ++i) {
            std::future<Reading> current = std::move(next);
            next = readAhead(i + 1);
            Reading reading = current.valid() ? current.get() : Reading();
            ok = addGenbankFile(m_genbankFiles.at(i), reading, genomeInsert, segmentInsert);
            releaseAside(std::move(reading));
        }
        if (ok)
            ok = addFastaRecords(m_fastaRecords, QString(), genomeInsert);
        if (ok && !db.commit())
            ok = fail(QString("cannot commit: %1").arg(db.lastError().text()));
        if (!ok)
            db.rollback();
    }
    if (!ok) {
        // A half-built database must never reach the blaster or a reader.
        QFile::remove(m_path);
        return false;
    }
    for (auto it = m_builtIds.cbegin(); it != m_builtIds.cend(); ++it)
        genomeIds.insert(it.key(), it.value());
    return true;
}

std::future<GC_ComparisonDatabaseBuilder::Reading> GC_ComparisonDatabaseBuilder::readAhead(int index) const
{
    // Files that came read are not read again.
    if (index >= m_genbankFiles.size() || m_genbankRecords.contains(m_genbankFiles.at(index)))
        return {};
    return std::async(std::launch::async, [path = m_genbankFiles.at(index)] {
        auto reader = std::make_shared<GC_SequenceFileReader>(path);
        reader->read();
        return reader;
    });
}

// A file read holds tens of thousands of small strings; freeing them takes
// longer than writing its segment rows, and nothing needs to wait for it.
void GC_ComparisonDatabaseBuilder::releaseAside(Reading reading)
{
    if (reading)
        QThreadPool::globalInstance()->start([reading = std::move(reading)]() mutable { reading.reset(); });
}

bool GC_ComparisonDatabaseBuilder::addGenbankFile(const QString &path, const Reading &reading,
                                                  QSqlQuery &genomeInsert, QSqlQuery &segmentInsert)
{
    const auto read = m_genbankRecords.constFind(path);
    if (read != m_genbankRecords.cend())
        return addGenbankRecord(*read, genomeInsert, segmentInsert);
    const GC_SequenceFileReader &reader = *reading;
    if (!reader.succeeded())
        return fail(reader.errorText());
    if (reader.kind() == GC_FileUtils::FastaFile) {
        QMap<QString, QString> records;
        for (const auto &record : reader.fastaRecords())
            records.insert(record.first, record.second);
        return addFastaRecords(records, path, genomeInsert);
    }
    return addGenbankRecord(reader.genbank(), genomeInsert, segmentInsert);
}

bool GC_ComparisonDatabaseBuilder::addGenbankRecord(const GC_GenbankParser &parser, QSqlQuery &genomeInsert,
                                                    QSqlQuery &segmentInsert)
{
    const auto definition = parser.header.constFind("DEFINITION");
    const QVariant name = definition == parser.header.cend()
                              ? QVariant(QMetaType(QMetaType::QString))
                              : QVariant(*definition);
    const QString key = definition == parser.header.cend() ? QString() : definition->simplified();
    const int id = m_nextId;
    if (!addGenome(name, parser.header.value("SEQUENCE"), genomeInsert))
        return false;
    m_builtIds.insert(key, id);
    return addSegments(parser, segmentInsert);
}

bool GC_ComparisonDatabaseBuilder::addSegments(const GC_GenbankParser &parser, QSqlQuery &segmentInsert)
{
    const int genomeId = m_nextId - 1;
    // Stretches off this sequence are skipped with a warning line, as the
    // single-file loader skips them.
    const QList<GC_GenbankParser::Stretch> stretches = parser.stretches();
    for (const GC_GenbankParser::Stretch &stretch : stretches) {
        const QMap<QString, QString> &values = *stretch.values;
        GC_ComparisonDatabase::segmentInsert().bind(
            segmentInsert, {genomeId, textOrNull(values, QStringLiteral("product")), stretch.from, stretch.to,
                            textOrNull(values, QStringLiteral("metadata")), textOrNull(values, QStringLiteral("note")),
                            textOrNull(values, QStringLiteral("locus_tag"))});
        if (!segmentInsert.exec())
            return fail(QString("cannot store the segment %1 of %2: %3")
                            .arg(stretch.range, parser.fileName, segmentInsert.lastError().text()));
    }
    return true;
}

bool GC_ComparisonDatabaseBuilder::addFastaRecords(const QMap<QString, QString> &records,
                                                   const QString &source, QSqlQuery &genomeInsert)
{
    const QString from = source.isEmpty() ? QString() : " of " + source;
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        if (it.value().isEmpty())
            return fail(QString("the FASTA record \"%1\"%2 holds no sequence letters").arg(it.key(), from));
        const QString problem = GC_FileUtils::sequenceProblem(it.value());
        if (!problem.isEmpty())
            return fail(QString("the FASTA record \"%1\"%2 is not nucleotides: %3").arg(it.key(), from, problem));
        const int id = m_nextId;
        if (!addGenome(it.key(), it.value(), genomeInsert))
            return false;
        m_builtIds.insert(it.key(), id);
    }
    return true;
}

bool GC_ComparisonDatabaseBuilder::addGenome(const QVariant &name, const QString &sequence,
                                             QSqlQuery &genomeInsert)
{
    genomeInsert.addBindValue(m_nextId);
    genomeInsert.addBindValue(name);
    genomeInsert.addBindValue(GC_SequenceText::bound(sequence));
    genomeInsert.addBindValue(sequence.size());
    if (!genomeInsert.exec())
        return fail(QString("Error : %1").arg(genomeInsert.lastError().text()));
    ++m_nextId;
    return true;
}
