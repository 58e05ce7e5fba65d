#include "gc_rrnahomologies.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rrnamatching.h"

#include <QPainter>

#include <utility>

namespace {

// Hover zones: searched hits at least this wide, stored hits half as wide.
const int searchedZone = 200;
const int storedZone = 100;

} // namespace

GC_rRNAHomologies::GC_rRNAHomologies()
    : GC_HomologyBar(QStringLiteral("Ribosomal RNA homologies (Silva database)"))
{
}

GC_rRNAHomologies::~GC_rRNAHomologies()
{
    qDeleteAll(m_matchings);
}

bool GC_rRNAHomologies::drawsBorders() const
{
    return m_horizontalBorders;
}

void GC_rRNAHomologies::setHorizontalBorders(bool on)
{
    if (on == m_horizontalBorders)
        return;
    m_horizontalBorders = on;
    update();
}

void GC_rRNAHomologies::paintHits(QPainter *painter, const GC_Genome &genome, int low, int high)
{
    for (const GC_rRNAMatching *hit : m_matchings) {
        if (!(low < hit->getEnd() && high > hit->getStart()))
            continue;
        painter->fillRect(pixelBox(genome, hit->getStart(), hit->getEnd()), Qt::black);
    }
}

bool GC_rRNAHomologies::familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const
{
    return scene.showrRNAHomologies() && genome.getShowrRNAHomologies();
}

void GC_rRNAHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    clearPositionMap();
    clearLeftOutRows();
    update();
}

bool GC_rRNAHomologies::insertMatching(GC_rRNAMatching *matching, int minimumZone)
{
    const int key = int(m_matchings.size());
    const auto zone = GC_PositionIndex::hoverZone(matching->getStart(), matching->getEnd(), minimumZone);
    if (!indexZone(zone.first, zone.second, key, "GC_rRNAHomologies::addrRNAMatching")) {
        delete matching;
        return false;
    }
    matching->setGenomeId(parentGenome()->getId());
    m_matchings.insert(key, matching);
    update();
    return true;
}

bool GC_rRNAHomologies::addrRNAMatching(int start, int end, int rrnaSeqId, int groupId,
                                        double evalue, double bitscore)
{
    if (start >= end)
        std::swap(start, end);
    auto *matching = new GC_rRNAMatching();
    matching->setStart(start);
    matching->setEnd(end);
    matching->setRrnaSeqId(rrnaSeqId);
    matching->setGroupId(groupId);
    matching->setEvalue(evalue);
    matching->setBitscore(bitscore);
    return insertMatching(matching, searchedZone);
}

bool GC_rRNAHomologies::addrRNAMatching(int start, int end, int rrnaSeqId, double evalue,
                                        double bitscore)
{
    if (start >= end)
        std::swap(start, end);
    const QVariantList row = GC_ReferenceLookup::firstRow(
        GC_ReferenceDatabases::Rrna, QStringLiteral("SELECT id_group,name from rrna_seqs where id=?"),
        {rrnaSeqId});
    if (row.size() < 2) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error querying RRNA db (sequence %1)").arg(rrnaSeqId);
        return false;
    }
    auto *matching = new GC_rRNAMatching();
    matching->setStart(start);
    matching->setEnd(end);
    matching->setRrnaSeqId(rrnaSeqId);
    matching->setGroupId(row.at(0).toInt());
    matching->setSequenceName(row.at(1).toString());
    matching->setEvalue(evalue);
    matching->setBitscore(bitscore);
    return insertMatching(matching, storedZone);
}

GC_rRNAMatching *GC_rRNAHomologies::matchingAtScene(double sceneX) const
{
    const int key = keyAt(sceneX);
    return key < 0 ? nullptr : m_matchings.value(key, nullptr);
}

GC_Interval GC_rRNAHomologies::matchingAt(double sceneX) const
{
    const GC_rRNAMatching *hit = matchingAtScene(sceneX);
    return hit ? hit->interval() : GC_Interval(0, 0);
}

QString GC_rRNAHomologies::legendHtmlAt(double sceneX) const
{
    GC_rRNAMatching *hit = matchingAtScene(sceneX);
    return hit ? hit->toolTipHtml() : QString();
}

bool GC_rRNAHomologies::openDatabase()
{
    return GC_ReferenceDatabases::openRrna();
}

QSqlDatabase GC_rRNAHomologies::database()
{
    return GC_ReferenceDatabases::database(GC_ReferenceDatabases::Rrna);
}
