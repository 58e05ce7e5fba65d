#include "gc_canvasreader.h"

#include "gc_anotation.h"
#include "gc_canvasvalue.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_sqlconnection.h"

#include <QDebug>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Genome ids that more than one genomes row carries, with their counts.
QHash<int, int> repeatedGenomeIds(const QSqlDatabase &db)
{
    QHash<int, int> repeats;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT id, count(*) FROM genomes GROUP BY id HAVING count(*) > 1"))) {
        while (query.next())
            repeats.insert(query.value(0).toInt(), query.value(1).toInt());
    }
    return repeats;
}

// Older files wrote a genome that stood in both rows once per row, genes and
// annotations included, so the rows of that id hold its items once per
// copy, in the order of the copies. The occurrence-th copy keeps its share;
// this gives the others.
template<typename Item>
QList<Item *> otherShares(const QList<Item *> &items, int copies, int occurrence)
{
    if (items.size() % copies != 0)
        return {};
    const qsizetype size = items.size() / copies;
    QList<Item *> others = items.mid(0, size * occurrence);
    others += items.mid(size * (occurrence + 1));
    return others;
}

void keepOwnShare(GC_Genome *genome, int copies, int occurrence)
{
    for (GC_Gene *gene : otherShares(genome->getGenes(), copies, occurrence))
        genome->removeGene(gene);
    for (GC_Anotation *anotation : otherShares(genome->getAnotations(), copies, occurrence))
        genome->removeAnotation(anotation);
}

} // namespace

GC_CanvasReader::GC_CanvasReader(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

bool GC_CanvasReader::load(const QString &fileName)
{
    if (GC_FileUtils::filetype(fileName) != FILETYPE_CANVAS) {
        m_scene->setLastErrorText(
            QStringLiteral("File \"%1\" isn't a Kestal Canvas file or doesn't exist").arg(fileName));
        return false;
    }
    {
        GC_SqlConnection connection(QStringLiteral("gc_genomescene_loadkestalcanvas"), fileName,
                                    GC_SqlConnection::ReadOnly);
        if (connection.isOpen()) {
            const QSqlDatabase db = connection.database();
            // Genome id -> genome, all rows and by row; a repeated id maps
            // to the later genome.
            QHash<int, GC_Genome *> genomeById;
            QHash<int, GC_Genome *> topById;
            QHash<int, GC_Genome *> lowById;
            const QHash<int, int> repeats = repeatedGenomeIds(db);
            QHash<int, int> seen;
            {
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (query.exec(GC_Genome::sqlSelect())) {
                    while (query.next()) {
                        auto *genome = new GC_Genome;
                        genome->setDatabase(fileName);
                        genome->loadItem(query, db);
                        const int id = genome->getId();
                        if (repeats.contains(id))
                            keepOwnShare(genome, repeats.value(id), seen[id]++);
                        if (GC_Genome *earlier = genomeById.value(id)) {
                            // One id, one genome: saving both under it would
                            // give each the other's genes on the next load.
                            earlier->takeNewId();
                        }
                        const bool top = query.value(1).toInt() == 0;
                        if (top)
                            m_scene->insertTopGenome(genome);
                        else
                            m_scene->insertLowGenome(genome);
                        genomeById.insert(id, genome);
                        (top ? topById : lowById).insert(id, genome);
                        if (genome->countGenes() > 200)
                            genome->setShowGenes(false);
                    }
                }
            }
            {
                // Ids stay unique: a repeated id (older files joined several
                // comparisons) takes the next free one.
                QSet<int> usedIds;
                for (const GC_GenomeMatching *matching : m_scene->matchings())
                    usedIds.insert(matching->id());
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (query.exec(GC_GenomeMatching::sqlSelect())) {
                    while (query.next()) {
                        // A side takes the genome of its own row when an id
                        // stands in both rows.
                        const int topId = query.value(1).toInt();
                        const int lowId = query.value(4).toInt();
                        GC_Genome *top = topById.value(topId, genomeById.value(topId));
                        GC_Genome *low = lowById.value(lowId, genomeById.value(lowId));
                        if (!top || !low) {
                            qWarning() << "GC_GenomeScene::loadKestalCanvas(): matching"
                                       << query.value(0).toInt() << "names genome"
                                       << (top ? query.value(4).toInt() : query.value(1).toInt())
                                       << "which the file does not hold; skipped";
                            continue;
                        }
                        auto *matching = new GC_GenomeMatching;
                        const int id = query.value(0).toInt();
                        matching->setId(usedIds.contains(id) ? GC_GenomeMatching::nextId : id);
                        usedIds.insert(matching->id());
                        matching->setTop(top, query.value(2).toInt(), query.value(3).toInt());
                        matching->setLow(low, query.value(5).toInt(), query.value(6).toInt());
                        matching->setSimilarity(query.value(7).toDouble());
                        matching->setBitScore(query.value(8).toDouble());
                        matching->setColor(GC_CanvasValue::toColor(query.value(9)));
                        m_scene->insertMatching(matching);
                    }
                }
            }
            {
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (query.exec(GC_FreeText::sqlSelect())) {
                    while (query.next()) {
                        auto *text = new GC_FreeText;
                        text->loadFromQuery(query);
                        m_scene->insertFreeText(text);
                    }
                }
            }
        }
    }
    m_scene->setFileName(fileName);
    return true;
}
