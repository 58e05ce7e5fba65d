#include "gc_canvasreader.h"

#include "gc_canvasvalue.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_sqlconnection.h"

#include <QDebug>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

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
            // Genome id -> genome; a repeated id maps to the later genome.
            QHash<int, GC_Genome *> genomeById;
            {
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (query.exec(GC_Genome::sqlSelect())) {
                    while (query.next()) {
                        auto *genome = new GC_Genome;
                        genome->setDatabase(fileName);
                        genome->loadItem(query, db);
                        if (query.value(1).toInt() == 0)
                            m_scene->insertTopGenome(genome);
                        else
                            m_scene->insertLowGenome(genome);
                        genomeById.insert(genome->getId(), genome);
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
                        GC_Genome *top = genomeById.value(query.value(1).toInt());
                        GC_Genome *low = genomeById.value(query.value(4).toInt());
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
