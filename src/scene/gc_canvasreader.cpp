#include "gc_canvasreader.h"

#include "gc_canvasvalue.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomerows.h"
#include "gc_genomescene.h"
#include "gc_sqlconnection.h"

#include <QDebug>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

QString damagedText(const QString &fileName, const QString &problem)
{
    return QStringLiteral("The file \"%1\" is damaged and cannot be read.\nSQLite reports: %2")
        .arg(fileName, problem);
}

bool failed(QString *damage, const QString &table, const QSqlQuery &query)
{
    *damage = QStringLiteral("reading the %1 table: %2").arg(table, query.lastError().text());
    return false;
}

// Every row of a table's select, read before any other statement runs on
// the connection. A table the file does not have gives no rows; a file
// that fails halfway, or gives more rows than the table counts, is damaged.
bool readRows(const QSqlDatabase &db, const QString &sql, const QString &table,
              QList<QSqlRecord> *rows, QString *damage)
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
    while (query.next()) {
        if (limit >= 0 && rows->size() >= limit) {
            *damage = QStringLiteral("the %1 table gives more rows than it holds").arg(table);
            return false;
        }
        rows->append(query.record());
    }
    if (query.lastError().isValid())
        return failed(damage, table, query);
    return true;
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
        // Checked before anything else reads it: a damaged SQLite file may
        // not even show its type.
        if (GC_SqlConnection::isSqliteFile(fileName)) {
            const QString problem = connection.integrityProblem();
            if (!problem.isEmpty()) {
                qWarning().noquote() << "GC_GenomeScene::loadKestalCanvas():" << fileName
                                     << "is damaged:" << problem;
                m_scene->setLastErrorText(damagedText(fileName, problem));
                return false;
            }
        }
        if (GC_FileUtils::filetype(fileName) != FILETYPE_CANVAS) {
            m_scene->setLastErrorText(
                QStringLiteral("File \"%1\" isn't a Kestal Canvas file or doesn't exist").arg(fileName));
            return false;
        }
        if (connection.isOpen()) {
            QString damage;
            if (!read(connection.database(), fileName, &damage)) {
                qWarning().noquote() << "GC_GenomeScene::loadKestalCanvas():" << fileName
                                     << "is damaged:" << damage;
                m_scene->setLastErrorText(damagedText(fileName, damage));
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
    QList<QSqlRecord> matchingRows;
    if (!readRows(db, GC_Genome::sqlSelect(), QStringLiteral("genomes"), &genomeRows, damage)
        || !readRows(db, GC_GenomeMatching::sqlSelect(), QStringLiteral("genomematchings"),
                     &matchingRows, damage))
        return false;

    // Genomes, kept here until the whole file has been read.
    QList<GC_Genome *> genomes;
    QList<GC_FreeText *> texts;
    auto discard = [&]() {
        qDeleteAll(genomes);
        qDeleteAll(texts);
        return false;
    };
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
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (query.exec(GC_FreeText::sqlSelect())) {
            while (query.next()) {
                auto *text = new GC_FreeText;
                text->loadFromQuery(query);
                texts.append(text);
            }
            if (query.lastError().isValid()) {
                failed(damage, QStringLiteral("freetext"), query);
                return discard();
            }
        } else if (GC_SqlConnection::isDamage(db, QStringLiteral("freetext"), query.lastError())) {
            failed(damage, QStringLiteral("freetext"), query);
            return discard();
        }
    }

    // Genome id -> genome, all rows and by row; a repeated id maps to the
    // later genome, and the earlier ones take fresh ids (one id, one genome:
    // saving both under it would mix their rows on the next load). The
    // counter is past every id of the file by now.
    QHash<int, GC_Genome *> genomeById;
    QHash<int, GC_Genome *> topById;
    QHash<int, GC_Genome *> lowById;
    for (qsizetype i = 0; i < genomes.size(); ++i) {
        GC_Genome *genome = genomes.at(i);
        const int id = genome->getId();
        if (GC_Genome *earlier = genomeById.value(id))
            earlier->takeNewId();
        const bool top = genomeRows.at(i).value(1).toInt() == 0;
        if (top)
            m_scene->insertTopGenome(genome);
        else
            m_scene->insertLowGenome(genome);
        genomeById.insert(id, genome);
        (top ? topById : lowById).insert(id, genome);
        if (genome->countGenes() > 200)
            genome->setShowGenes(false);
    }

    // Ids stay unique: a repeated id (older files joined several
    // comparisons) takes the next free one.
    QSet<int> usedIds;
    for (const GC_GenomeMatching *matching : m_scene->matchings())
        usedIds.insert(matching->id());
    for (const QSqlRecord &row : std::as_const(matchingRows)) {
        // A side takes the genome of its own row when an id stands in both
        // rows.
        const int topId = row.value(1).toInt();
        const int lowId = row.value(4).toInt();
        GC_Genome *top = topById.value(topId, genomeById.value(topId));
        GC_Genome *low = lowById.value(lowId, genomeById.value(lowId));
        if (!top || !low) {
            qWarning() << "GC_GenomeScene::loadKestalCanvas(): matching" << row.value(0).toInt()
                       << "names genome" << (top ? lowId : topId)
                       << "which the file does not hold; skipped";
            continue;
        }
        auto *matching = new GC_GenomeMatching;
        const int id = row.value(0).toInt();
        matching->setId(usedIds.contains(id) ? GC_GenomeMatching::nextId : id);
        usedIds.insert(matching->id());
        matching->setTop(top, row.value(2).toInt(), row.value(3).toInt());
        matching->setLow(low, row.value(5).toInt(), row.value(6).toInt());
        matching->setSimilarity(row.value(7).toDouble());
        matching->setBitScore(row.value(8).toDouble());
        matching->setColor(GC_CanvasValue::toColor(row.value(9)));
        m_scene->insertMatching(matching);
    }
    for (GC_FreeText *text : std::as_const(texts))
        m_scene->insertFreeText(text);
    return true;
}
