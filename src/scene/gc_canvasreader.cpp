#include "gc_canvasreader.h"

#include "gc_canvasvalue.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomerows.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_matchingidallocator.h"
#include "gc_queryend.h"
#include "gc_sqlconnection.h"
#include "gc_storedvaluecheck.h"
#include "gc_userreach.h"

#include <QColor>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>

namespace {

bool failed(QString *damage, const QString &table, const QSqlQuery &query)
{
    *damage = GC_QueryEnd::tableDamage(table, query);
    return false;
}

// Steps through every row of a table's select, handing each to take,
// before any other statement runs on the connection; take answers what is
// wrong with the row's values (empty when nothing). A table the file does
// not have gives no rows; a file that fails halfway, gives more rows than
// the table counts or a row of impossible values, is damaged.
template<typename Take>
bool readRows(const QSqlDatabase &db, const QString &sql, const QString &table, QString *damage,
              Take take)
{
    qint64 limit = -1;
    {
        QSqlQuery count(db);
        if (count.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) && count.next())
            limit = count.value(0).toLongLong();
        else if (GC_SqlConnection::isDamage(db, table, count.lastError()))
            return failed(damage, table, count);
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        return !GC_SqlConnection::isDamage(db, table, query.lastError())
            || failed(damage, table, query);
    for (qint64 rows = 0; query.next(); ++rows) {
        if (limit >= 0 && rows >= limit) {
            *damage = QStringLiteral("the %1 table gives more rows than it holds").arg(table);
            return false;
        }
        *damage = take(query);
        if (!damage->isEmpty())
            return false;
    }
    if (GC_QueryEnd::stoppedShort(query))
        return failed(damage, table, query);
    return true;
}

// What the reader needs of a genomematchings row.
struct MatchingRow
{
    int id;
    int topId;
    qint64 topFrom;
    qint64 topTo;
    int lowId;
    qint64 lowFrom;
    qint64 lowTo;
    double similarity;
    double bitScore;
    QColor color;
    // The genomes the ids name, once the genomes are read.
    GC_Genome *top = nullptr;
    GC_Genome *low = nullptr;
};

// Why a file is not read as a canvas. A sequence file is named as what it
// is: it is compared, not opened.
QString notACanvasText(const QString &fileName)
{
    QString kind;
    switch (GC_FileUtils::sequenceFileKind(fileName)) {
    case GC_FileUtils::GenbankFile:
        kind = QStringLiteral("a Genbank file");
        break;
    case GC_FileUtils::FastaFile:
        kind = QStringLiteral("a FASTA file");
        break;
    case GC_FileUtils::NoSequenceFile:
        return QStringLiteral("File \"%1\" isn't a Kestal Canvas file or doesn't exist").arg(fileName);
    }
    return QStringLiteral("File \"%1\" is %2, not a Kestal Canvas file: sequence files are compared through "
                          "File > Open")
        .arg(fileName, kind);
}

} // namespace

GC_CanvasReader::GC_CanvasReader(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

bool GC_CanvasReader::load(const QString &fileName)
{
    {
        GC_SqlConnection connection(QStringLiteral("gc_genomescene_loadkestalcanvas"), fileName,
                                    GC_SqlConnection::ReadOnly);
        // What a file is said to be comes first: the file of a save that
        // stopped half-way is that, whatever else may be wrong with it.
        QString unreadable;
        const bool canvas = GC_FileUtils::filetype(fileName, &unreadable) == FILETYPE_CANVAS;
        // Checked before anything else reads it: a damaged SQLite file may
        // not even show its type.
        const QString problem = unreadable.isEmpty() ? connection.readProblem(fileName) : unreadable;
        if (!problem.isEmpty()) {
            qCDebug(lcKestal).noquote() << "GC_GenomeScene::loadKestalCanvas():" << problem;
            m_scene->setLastErrorText(problem);
            return false;
        }
        if (!canvas) {
            m_scene->setLastErrorText(notACanvasText(fileName));
            return false;
        }
        if (connection.isOpen()) {
            QString damage;
            if (!read(connection.database(), fileName, &damage)) {
                qCDebug(lcKestal).noquote() << "GC_GenomeScene::loadKestalCanvas():" << fileName
                                     << "is damaged:" << damage;
                m_scene->setLastErrorText(GC_SqlConnection::damagedText(fileName, damage));
                return false;
            }
        }
    }
    m_scene->setFileName(fileName);
    return true;
}

bool GC_CanvasReader::read(const QSqlDatabase &db, const QString &fileName, QString *damage)
{
    QList<QSqlRecord> genomeRows;
    QList<MatchingRow> matchingRows;
    const QString matchingTable = QStringLiteral("genomematchings");
    const bool readAll =
        readRows(db, GC_Genome::sqlSelect(), QStringLiteral("genomes"), damage,
                 [&](const QSqlQuery &query) {
                     genomeRows.append(query.record());
                     return QString();
                 })
        && readRows(db, GC_GenomeMatching::sqlSelect(), matchingTable, damage,
                    [&](const QSqlQuery &query) {
                        using Check = GC_StoredValueCheck;
                        // Ids, ends, similarity and bit score.
                        const QString wrong = Check::columns(
                            matchingTable, query,
                            {Check::idColumn(0), Check::idColumn(1), Check::coordinateColumn(2),
                             Check::coordinateColumn(3), Check::idColumn(4),
                             Check::coordinateColumn(5), Check::coordinateColumn(6),
                             Check::realColumn(7), Check::realColumn(8)});
                        if (!wrong.isEmpty())
                            return wrong;
                        matchingRows.append(
                            {query.value(0).toInt(), query.value(1).toInt(),
                             query.value(2).toLongLong(), query.value(3).toLongLong(),
                             query.value(4).toInt(), query.value(5).toLongLong(),
                             query.value(6).toLongLong(), query.value(7).toDouble(),
                             query.value(8).toDouble(), GC_CanvasValue::toColor(query.value(9))});
                        return QString();
                    });
    // Items are kept here until the whole file has been read.
    QList<GC_Genome *> genomes;
    QList<GC_FreeText *> texts;
    auto discard = [&]() {
        qDeleteAll(genomes);
        qDeleteAll(texts);
        return false;
    };
    if (!readAll
        || !readRows(db, GC_FreeText::sqlSelect(), QStringLiteral("freetext"), damage,
                     [&](const QSqlQuery &query) {
                         // Position, angle and anchor.
                         using Check = GC_StoredValueCheck;
                         const QString wrong = Check::columns(
                             QStringLiteral("freetext"), query,
                             {Check::realColumn(0, GC_UserReach::maxAcross),
                              Check::realColumn(1, GC_UserReach::maxUpDown), Check::realColumn(4),
                              Check::wholeColumn(5)});
                         if (wrong.isEmpty()) {
                             auto *text = new GC_FreeText;
                             text->loadFromQuery(query);
                             texts.append(text);
                         }
                         return wrong;
                     }))
        return discard();
    *damage = GC_StoredValueCheck::homologyHits(db);
    if (!damage->isEmpty())
        return discard();
    QHash<int, int> rowsPerId;
    for (const QSqlRecord &row : std::as_const(genomeRows))
        ++rowsPerId[row.value(0).toInt()];
    QHash<int, int> occurrences;
    QHash<int, QList<GC_Genome *>> sharing;
    for (const QSqlRecord &row : std::as_const(genomeRows)) {
        const int id = row.value(0).toInt();
        const bool shared = rowsPerId.value(id) > 1;
        auto *genome = new GC_Genome;
        genomes.append(genome);
        genome->setDatabase(fileName);
        if (!genome->loadItem(row, db, !shared, occurrences[id]++, damage))
            return discard();
        if (shared)
            sharing[id].append(genome);
    }
    // Genes and annotations of an id several genomes rows carry go each to
    // one of them.
    for (auto it = sharing.cbegin(); it != sharing.cend(); ++it) {
        if (!GC_GenomeRows::loadSharedItems(it.key(), it.value(), db, damage))
            return discard();
    }
    // Every row that names the genome it belongs to names one of the file:
    // a save writes none under another id, and such a row, read by no
    // genome, would be dropped by the next save.
    const QSet<int> genomeIds(rowsPerId.keyBegin(), rowsPerId.keyEnd());
    *damage = GC_StoredValueCheck::rowsOfNoGenome(db, genomeIds);
    if (!damage->isEmpty())
        return discard();
    // Genome id -> genome, all rows and by row; a repeated id maps to the
    // later genome, and the earlier ones take fresh ids (one id, one genome:
    // saving both under it would mix their rows on the next load). The
    // counter is past every id of the file by now.
    QHash<int, GC_Genome *> genomeById;
    QHash<int, GC_Genome *> topById;
    QHash<int, GC_Genome *> lowById;
    // A genome's length as far as its row tells it: that of its stored
    // sequence (or its shown range, where that reaches further); not known
    // for a genome stored without its sequence.
    QHash<const GC_Genome *, int> lengths;
    for (qsizetype i = 0; i < genomes.size(); ++i) {
        GC_Genome *genome = genomes.at(i);
        const int id = genome->getId();
        if (GC_Genome *earlier = genomeById.value(id))
            earlier->takeNewId();
        genomeById.insert(id, genome);
        (genomeRows.at(i).value(1).toInt() == 0 ? topById : lowById).insert(id, genome);
        const int stored = int(genomeRows.at(i).value(27).toString().size());
        lengths.insert(genome, stored > 0 ? std::max(stored, genome->getCoords().end()) : 0);
    }
    // Every matching within its genomes before anything is placed.
    for (MatchingRow &row : matchingRows) {
        // A side takes the genome of its own row when an id stands in both
        // rows.
        row.top = topById.value(row.topId, genomeById.value(row.topId));
        row.low = lowById.value(row.lowId, genomeById.value(row.lowId));
        if (!row.top || !row.low) {
            *damage = GC_StoredValueCheck::owner(
                matchingTable, row.top ? QStringLiteral("lowGenomeId") : QStringLiteral("topGenomeId"),
                row.top ? row.lowId : row.topId, genomeIds);
            return discard();
        }
        *damage = GC_StoredValueCheck::matching(matchingTable, row.topFrom, row.topTo,
                                                row.top->getName(), lengths.value(row.top));
        if (damage->isEmpty())
            *damage = GC_StoredValueCheck::matching(matchingTable, row.lowFrom, row.lowTo,
                                                    row.low->getName(), lengths.value(row.low));
        if (!damage->isEmpty())
            return discard();
    }

    for (qsizetype i = 0; i < genomes.size(); ++i) {
        GC_Genome *genome = genomes.at(i);
        if (genomeRows.at(i).value(1).toInt() == 0)
            m_scene->insertTopGenome(genome);
        else
            m_scene->insertLowGenome(genome);
        if (genome->countGenes() > 200)
            genome->setShowGenes(false);
    }

    GC_MatchingIdAllocator matchingIds(m_scene->matchings());
    for (const MatchingRow &row : std::as_const(matchingRows)) {
        auto *matching = new GC_GenomeMatching;
        matchingIds.assign(matching, row.id);
        // Within reach of a genome by now, so whole numbers of an int.
        matching->setTop(row.top, int(row.topFrom), int(row.topTo));
        matching->setLow(row.low, int(row.lowFrom), int(row.lowTo));
        matching->setSimilarity(row.similarity);
        matching->setBitScore(row.bitScore);
        matching->setColor(row.color);
        m_scene->insertMatching(matching);
    }
    for (GC_FreeText *text : std::as_const(texts))
        m_scene->insertFreeText(text);
    return true;
}
