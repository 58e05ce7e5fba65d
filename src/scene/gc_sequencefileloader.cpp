#include "gc_sequencefileloader.h"

#include "gc_fileutils.h"
#include "gc_genbankparser.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomerows.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_sequencefilereader.h"
#include "gc_sqlconnection.h"
#include "gc_storedvaluecheck.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <memory>

GC_SequenceFileLoader::GC_SequenceFileLoader(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

bool GC_SequenceFileLoader::load(const QString &fileName, int genomeIndex, QStringList *leftOut)
{
    qCDebug(lcKestal) << "GC_GenomeScene::loadGenomeFromFile()";
    // Every failure leaves its reason in the scene's error text.
    QString unreadable;
    const int type = GC_FileUtils::filetype(fileName, &unreadable);
    if (!unreadable.isEmpty())
        return fail(unreadable);
    if (type == FILETYPE_COMPARISON || type == FILETYPE_CANVAS) {
        const qsizetype before = m_scene->topGenomes().size();
        {
            GC_SqlConnection connection(QStringLiteral("loadgenomefromfile"), fileName,
                                        GC_SqlConnection::ReadOnly);
            const QString problem = connection.readProblem(fileName);
            if (!problem.isEmpty())
                return fail(problem);
            if (connection.isOpen()) {
                const bool read = type == FILETYPE_COMPARISON
                    ? loadComparison(connection.database(), fileName, genomeIndex)
                    : loadCanvas(connection.database(), fileName, genomeIndex);
                if (!read)
                    return false;
            }
        }
        // A database that gives no genome (unreadable, or no genome of that
        // index) is a failed opening, not an empty document.
        if (m_scene->topGenomes().size() == before)
            return fail(QStringLiteral("No genome could be read from %1").arg(fileName));
        return true;
    }
    // The builder of comparisons reads sequence files through the same
    // reader, so a file refused here is refused there too.
    GC_SequenceFileReader reader(fileName);
    if (!reader.read())
        return fail(reader.errorText());
    if (reader.kind() == GC_FileUtils::GenbankFile) {
        loadGenbank(reader.genbank());
        return true;
    }
    // Said in the words the open wizard uses for a Genbank file's records.
    const QList<QPair<QString, QString>> &records = reader.fastaRecords();
    if (leftOut && records.size() > 1)
        leftOut->append(QString("%1 holds %2 records; only the first, \"%3\", is read")
                            .arg(fileName, QString::number(records.size()), records.first().first));
    loadFasta(records.first());
    return true;
}

bool GC_SequenceFileLoader::fail(const QString &reason)
{
    m_scene->setLastErrorText(reason);
    return false;
}

void GC_SequenceFileLoader::place(GC_Genome *genome, bool arrange)
{
    if (genome->countGenes() > 200)
        genome->setShowGenes(false);
    m_scene->insertTopGenome(genome);
    if (arrange)
        genome->arrangeChildren(0);
}

bool GC_SequenceFileLoader::loadComparison(const QSqlDatabase &db, const QString &fileName,
                                           int genomeIndex)
{
    QSqlQuery genomeRow(db);
    if (!genomeRow.prepare(QStringLiteral("SELECT id, name, length, dna_sequence FROM genomes WHERE id = ?")))
        return true;
    genomeRow.addBindValue(genomeIndex);
    if (!genomeRow.exec() || !genomeRow.next())
        return !failedOnDamage(db, fileName, QStringLiteral("genomes"), genomeRow);
    const QString name = genomeRow.value(1).toString();
    const QString sequence = genomeRow.value(3).toString();
    const qint64 length = genomeRow.value(2).toLongLong();
    QString wrong = GC_StoredValueCheck::sequence(QStringLiteral("genomes"), name, sequence);
    if (wrong.isEmpty())
        wrong = GC_StoredValueCheck::storedRange(QStringLiteral("genomes"), 1, length);
    if (!wrong.isEmpty())
        return fail(GC_SqlConnection::damagedText(fileName, wrong));
    auto genome = std::make_unique<GC_Genome>();
    genome->setDatabase(fileName);
    genome->setName(name);
    genome->setDnaSequence(sequence);
    genome->setCoords(GC_Interval(1, int(length)));

    QSqlQuery segments(db);
    segments.setForwardOnly(true);
    if (segments.prepare(QStringLiteral(
            "SELECT oid, name, segment_from, segment_to FROM segments WHERE id_genome = ?"))) {
        segments.addBindValue(genomeIndex);
        if (segments.exec()) {
            while (segments.next()) {
                const qint64 from = segments.value(2).toLongLong();
                const qint64 to = segments.value(3).toLongLong();
                const QString wrongSegment =
                    GC_StoredValueCheck::coordinates(QStringLiteral("segments"), from, to);
                if (!wrongSegment.isEmpty())
                    return fail(GC_SqlConnection::damagedText(fileName, wrongSegment));
                auto *gene = new GC_Gene;
                gene->setId(segments.value(0).toInt());
                gene->setName(segments.value(1).toString());
                gene->setFromTo(int(from), int(to));
                genome->addGene(gene);
            }
        }
        if (failedOnDamage(db, fileName, QStringLiteral("segments"), segments))
            return false;
    }
    place(genome.release(), true);
    return true;
}

bool GC_SequenceFileLoader::loadCanvas(const QSqlDatabase &db, const QString &fileName,
                                       int genomeIndex)
{
    // The genome that carries the index as its id once the canvas is open:
    // of several genomes rows under that id (older files), the last one,
    // the earlier ones taking new ids there. Failing that, the first genome.
    QList<QSqlRecord> rows;
    if (!genomeRows(db, fileName, genomeIndex, &rows))
        return false;
    qsizetype chosen = rows.size() - 1;
    if (rows.isEmpty()) {
        QSqlQuery first(db);
        if (!first.exec(GC_Genome::sqlSelect() + QStringLiteral(" LIMIT 1")) || !first.next())
            return !failedOnDamage(db, fileName, QStringLiteral("genomes"), first);
        if (first.isNull(0))
            return fail(GC_SqlConnection::damagedText(
                fileName,
                GC_StoredValueCheck::owner(QStringLiteral("genomes"), QStringLiteral("id"), QVariant(), {})));
        if (!genomeRows(db, fileName, first.value(0).toInt(), &rows))
            return false;
        chosen = 0;
        if (rows.isEmpty())
            return true;
    }
    // Which of several ruler rows of an id a genome takes would be a
    // guess: the file is refused, as opening it whole refuses it.
    const QString extraRuler = GC_StoredValueCheck::rulersBeyondGenomeRows(db);
    if (!extraRuler.isEmpty())
        return fail(GC_SqlConnection::damagedText(fileName, extraRuler));
    // Every genome of the id is read, so that the genes, annotations and
    // stored hits of the id are dealt out as opening the canvas deals them,
    // and the chosen one keeps only its own.
    QList<GC_Genome *> genomes;
    const bool shared = rows.size() > 1;
    QString damage;
    bool read = true;
    for (qsizetype i = 0; read && i < rows.size(); ++i) {
        genomes.append(new GC_Genome);
        genomes.last()->setDatabase(fileName);
        read = genomes.last()->loadItem(rows.at(i), db, !shared, int(i), &damage);
    }
    if (read && shared)
        read = GC_GenomeRows::loadSharedItems(rows.first().value(0).toInt(), genomes, db, &damage);
    GC_Genome *genome = read ? genomes.takeAt(chosen) : nullptr;
    qDeleteAll(genomes);
    if (!genome)
        return fail(GC_SqlConnection::damagedText(fileName, damage));
    place(genome, false);
    return true;
}

bool GC_SequenceFileLoader::genomeRows(const QSqlDatabase &db, const QString &fileName, int id,
                                       QList<QSqlRecord> *rows)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(GC_Genome::sqlSelect() + QStringLiteral(" WHERE id = ? ORDER BY rowid")))
        return true;
    query.addBindValue(id);
    if (query.exec()) {
        while (query.next())
            rows->append(query.record());
    }
    return !failedOnDamage(db, fileName, QStringLiteral("genomes"), query);
}

bool GC_SequenceFileLoader::failedOnDamage(const QSqlDatabase &db, const QString &fileName,
                                           const QString &table, const QSqlQuery &query)
{
    // Only a table the file does not have is no damage: it holds no rows.
    if (!GC_QueryEnd::stoppedShort(query)
        || !GC_SqlConnection::isDamage(db, table, query.lastError()))
        return false;
    fail(GC_QueryEnd::failureText(fileName, table, query));
    return true;
}

void GC_SequenceFileLoader::loadGenbank(const GC_GenbankParser &parser)
{
    qCDebug(lcKestal) << "GC_GenomeScene::loadGenomeFromFile";
    auto *genome = new GC_Genome;
    genome->setName(parser.header.value(QStringLiteral("DEFINITION")));
    const QString sequence = parser.header.value(QStringLiteral("SEQUENCE"));
    genome->setCoords(GC_Interval(1, int(sequence.size())));
    genome->setDnaSequence(sequence);
    // Genes are numbered in the map's order (range texts compared as text);
    // an entry that yields no gene still takes its number.
    for (const GC_GenbankParser::Stretch &stretch : parser.stretches()) {
        auto *gene = new GC_Gene;
        gene->setId(stretch.position);
        gene->setName(stretch.values->value(QStringLiteral("product")));
        gene->setFromTo(stretch.from, stretch.to);
        genome->addGene(gene);
    }
    place(genome, true);
}

void GC_SequenceFileLoader::loadFasta(const QPair<QString, QString> &record)
{
    auto *genome = new GC_Genome;
    genome->setName(record.first);
    genome->setCoords(GC_Interval(1, int(record.second.size())));
    genome->setDnaSequence(record.second);
    place(genome, true);
}
