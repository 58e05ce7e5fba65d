#include "gc_comparisonreader.h"

#include "gc_fileutils.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_matchingidallocator.h"
#include "gc_queryend.h"
#include "gc_sequencetext.h"
#include "gc_sqlconnection.h"
#include "gc_storedvaluecheck.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

GC_ComparisonReader::GC_ComparisonReader(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

bool GC_ComparisonReader::load(const QStringList &paths)
{
    m_genomes.clear();
    m_failed = false;
    m_pairsWithoutMatchings.clear();
    const qsizetype before = m_scene->topGenomes().size() + m_scene->lowGenomes().size();
    for (const QString &path : paths) {
        // A damaged database fails the whole opening: a document quietly
        // missing part of it is worse than none.
        if (!readDatabase(path))
            return false;
    }
    // An unreadable database with nothing else to show is a failed opening,
    // not an empty document.
    return !(m_failed && m_scene->topGenomes().size() + m_scene->lowGenomes().size() == before);
}

// The genome item standing for data in one row, made on first need.
GC_Genome *GC_ComparisonReader::placed(GenomeData &data, bool top)
{
    GC_Genome *&item = top ? data.top : data.low;
    if (item)
        return item;
    item = new GC_Genome;
    item->setDnaSequence(data.sequence);
    item->setDatabaseId(data.key);
    item->setDatabase(data.path);
    item->setName(data.name);
    item->setCoords(GC_Interval(1, data.length));
    for (const Segment &segment : std::as_const(data.segments)) {
        auto *gene = new GC_Gene;
        gene->setId(segment.id);
        gene->setName(segment.name);
        gene->setFromTo(segment.from, segment.to);
        gene->setNote(segment.note);
        gene->setLocusTag(segment.locusTag);
        item->addGene(gene);
    }
    if (item->countGenes() > 200)
        item->setShowGenes(false);
    if (top)
        m_scene->insertTopGenome(item);
    else
        m_scene->insertLowGenome(item);
    item->arrangeChildren(top ? 0 : 1);
    return item;
}

// A genome in several pairs keeps the one item per row it got first.
void GC_ComparisonReader::placeComparedPairs(const QHash<int, QString> &nameById,
                                             const QSet<IdPair> &matched)
{
    for (const IdPair &pair : std::as_const(m_pairs)) {
        const auto target = nameById.constFind(pair.first);
        const auto query = nameById.constFind(pair.second);
        if (target == nameById.constEnd() || query == nameById.constEnd())
            continue;
        placed(m_genomes[*target], true);
        placed(m_genomes[*query], false);
        if (!matched.contains(pair))
            m_pairsWithoutMatchings.append(NamePair(*target, *query));
    }
}

bool GC_ComparisonReader::readDatabase(const QString &path)
{
    GC_SqlConnection connection(QStringLiteral("gc_genomescene_loadsorvikcomparisons"), path,
                                GC_SqlConnection::ReadOnly);
    // Checked before anything reads it, the type probe included: damage
    // can hide what kind of file it is.
    const QString problem = connection.readProblem(path);
    if (!problem.isEmpty())
        return refused(path, problem);
    QString unreadable;
    if (GC_FileUtils::filetype(path, &unreadable) != FILETYPE_COMPARISON)
        return unreadable.isEmpty() || refused(path, unreadable);
    if (!connection.isOpen()) {
        m_scene->setLastErrorText(QStringLiteral("File %1 is not a SQLite database.").arg(path));
        m_failed = true;
        return true;
    }
    const QSqlDatabase db = connection.database();
    // Genome rows are read in full before the segments statement runs on
    // the same connection.
    struct GenomeRow
    {
        int id;
        QString name;
        qint64 length;
        QString sequence;
    };
    QList<GenomeRow> genomeRows;
    {
        QSqlQuery genomes(db);
        genomes.setForwardOnly(true);
        const QString sequence = GC_SequenceText::column(db, QStringLiteral("dna_sequence"));
        const QString genomeTable = QStringLiteral("genomes");
        if (!genomes.exec(QStringLiteral("SELECT id, name, length, %1 FROM genomes").arg(sequence))) {
            // Only a file without the table holds no genomes; any other
            // failure would open the document without this file's.
            if (GC_SqlConnection::isDamage(db, genomeTable, genomes.lastError()))
                return unread(path, genomeTable, genomes);
            m_scene->setLastErrorText(genomes.lastError().text());
            m_failed = true;
            return true;
        }
        while (genomes.next()) {
            // Read as genome 0, a row without an id would take that
            // genome's matchings, and lose its own.
            if (genomes.isNull(0))
                return damaged(path, GC_StoredValueCheck::owner(genomeTable, QStringLiteral("id"), QVariant(), {}));
            genomeRows.append({genomes.value(0).toInt(), genomes.value(1).toString(),
                               genomes.value(2).toLongLong(),
                               GC_SequenceText::value(genomes.value(3))});
        }
        if (GC_QueryEnd::stoppedShort(genomes))
            return unread(path, genomeTable, genomes);
    }
    // This database's genome ids -> genome names and lengths.
    QHash<int, QString> nameById;
    QHash<int, int> lengthById;
    {
        QSqlQuery segments(db);
        segments.setForwardOnly(true);
        const bool segmentsReady = segments.prepare(QStringLiteral(
            "SELECT oid, name, segment_from, segment_to, metadata, note, locus_tag FROM segments "
            "WHERE id_genome = ?"));
        // Only a file without the table (an older kind) has no genes to
        // read; any other failure would open its genomes without them.
        const QString segmentTable = QStringLiteral("segments");
        if (!segmentsReady && GC_SqlConnection::isDamage(db, segmentTable, segments.lastError()))
            return unread(path, segmentTable, segments);
        for (GenomeRow &row : genomeRows) {
            QString wrong =
                GC_StoredValueCheck::sequence(QStringLiteral("genomes"), row.name, row.sequence);
            if (wrong.isEmpty())
                wrong = GC_StoredValueCheck::storedRange(QStringLiteral("genomes"), 1, row.length);
            if (!wrong.isEmpty())
                return damaged(path, wrong);
            nameById.insert(row.id, row.name);
            // Within reach of a genome by now, so a whole number of an int.
            const int length = int(row.length);
            lengthById.insert(row.id, std::max(length, int(row.sequence.size())));
            if (m_genomes.contains(row.name))
                continue;
            GenomeData &data = m_genomes[row.name];
            data.path = path;
            data.key = row.id;
            data.name = row.name;
            data.length = length;
            data.sequence = std::move(row.sequence);
            if (!segmentsReady)
                continue;
            segments.addBindValue(row.id);
            if (!segments.exec()) {
                if (GC_SqlConnection::isDamage(db, segmentTable, segments.lastError()))
                    return unread(path, segmentTable, segments);
                continue;
            }
            while (segments.next()) {
                const QString wrong = GC_StoredValueCheck::coordinates(
                    QStringLiteral("segments"), segments.value(2).toLongLong(),
                    segments.value(3).toLongLong());
                if (!wrong.isEmpty())
                    return damaged(path, wrong);
                data.segments.append({segments.value(0).toInt(), segments.value(1).toString(),
                                      segments.value(2).toInt(), segments.value(3).toInt(),
                                      segments.value(5).toString(), segments.value(6).toString()});
            }
            if (GC_QueryEnd::stoppedShort(segments))
                return unread(path, segmentTable, segments);
        }
    }

    // Every row read, and within its genomes, before anything is placed.
    struct MatchingRow
    {
        int id;
        int target;
        qint64 targetFrom;
        qint64 targetTo;
        int query;
        qint64 queryFrom;
        qint64 queryTo;
        double similarity;
        double bitScore;
    };
    QList<MatchingRow> matchingRows;
    const QString matchingTable = QStringLiteral("matchings");
    {
        QSqlQuery matchings(db);
        matchings.setForwardOnly(true);
        if (!matchings.exec(QStringLiteral("SELECT oid, id_target, target_from, target_to, id_query, "
                                           "query_from, query_to, similarity, bitscore FROM matchings")))
            return !GC_SqlConnection::isDamage(db, matchingTable, matchings.lastError())
                || unread(path, matchingTable, matchings);
        while (matchings.next()) {
            matchingRows.append({matchings.value(0).toInt(), matchings.value(1).toInt(),
                                 matchings.value(2).toLongLong(), matchings.value(3).toLongLong(),
                                 matchings.value(4).toInt(), matchings.value(5).toLongLong(),
                                 matchings.value(6).toLongLong(), matchings.value(7).toDouble(),
                                 matchings.value(8).toDouble()});
        }
        if (GC_QueryEnd::stoppedShort(matchings))
            return unread(path, matchingTable, matchings);
    }
    for (const MatchingRow &row : std::as_const(matchingRows)) {
        QString wrong = GC_StoredValueCheck::matching(matchingTable, row.targetFrom, row.targetTo,
                                                      nameById.value(row.target),
                                                      lengthById.value(row.target));
        if (wrong.isEmpty())
            wrong = GC_StoredValueCheck::matching(matchingTable, row.queryFrom, row.queryTo,
                                                  nameById.value(row.query),
                                                  lengthById.value(row.query));
        if (wrong.isEmpty())
            wrong = GC_StoredValueCheck::real(matchingTable, QStringLiteral("similarity"),
                                              row.similarity);
        if (wrong.isEmpty())
            wrong = GC_StoredValueCheck::real(matchingTable, QStringLiteral("bitscore"),
                                              row.bitScore);
        if (!wrong.isEmpty())
            return damaged(path, wrong);
    }
    const QString wrongHit = GC_StoredValueCheck::homologyHits(db);
    if (!wrongHit.isEmpty())
        return damaged(path, wrongHit);

    if (!m_pairs.isEmpty()) {
        QSet<IdPair> matched;
        for (const MatchingRow &row : std::as_const(matchingRows))
            matched.insert(IdPair(row.target, row.query));
        placeComparedPairs(nameById, matched);
    }

    GC_MatchingIdAllocator matchingIds(m_scene->matchings());
    for (const MatchingRow &row : std::as_const(matchingRows)) {
        const auto target = nameById.constFind(row.target);
        const auto query = nameById.constFind(row.query);
        GC_Genome *top = target == nameById.constEnd() ? nullptr : placed(m_genomes[*target], true);
        GC_Genome *low = query == nameById.constEnd() ? nullptr : placed(m_genomes[*query], false);
        if (!top || !low)
            continue;
        auto *matching = new GC_GenomeMatching;
        matchingIds.assign(matching, row.id);
        // Within reach of a genome by now, so whole numbers of an int.
        matching->setTop(top, int(row.targetFrom), int(row.targetTo));
        matching->setLow(low, int(row.queryFrom), int(row.queryTo));
        matching->setSimilarity(row.similarity);
        matching->setBitScore(row.bitScore);
        m_scene->insertMatching(matching);
    }
    return true;
}

bool GC_ComparisonReader::damaged(const QString &path, const QString &problem)
{
    return refused(path, GC_SqlConnection::damagedText(path, problem));
}

bool GC_ComparisonReader::unread(const QString &path, const QString &table, const QSqlQuery &query)
{
    return refused(path, GC_QueryEnd::failureText(path, table, query));
}

bool GC_ComparisonReader::refused(const QString &path, const QString &text)
{
    qCDebug(lcKestal).noquote() << "GC_GenomeScene::loadSorvikComparisons():" << path << "refused:"
                                << text;
    m_scene->setLastErrorText(text);
    return false;
}
