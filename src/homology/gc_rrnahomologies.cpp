#include "gc_rrnahomologies.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rrnamatching.h"

#include <QDebug>
#include <QGraphicsView>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Hover zones: searched hits at least this wide, stored hits half as wide.
const int searchedZone = 200;
const int storedZone = 100;

} // namespace

GC_rRNAHomologies::GC_rRNAHomologies()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption | ItemIsFocusable
             | ItemSendsGeometryChanges);
    setCacheMode(ItemCoordinateCache);
    setHeight(20.0);
    setToolTip(QStringLiteral("Ribosomal RNA homologies (Silva database)"));
}

GC_rRNAHomologies::~GC_rRNAHomologies()
{
    qDeleteAll(m_matchings);
}

GC_Genome *GC_rRNAHomologies::parentGenome() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(parent)
                                                         : nullptr;
}

void GC_rRNAHomologies::setHeight(double h)
{
    h = std::max(h, 5.0);
    if (h == m_height)
        return;
    prepareGeometryChange();
    m_height = h;
    update();
}

void GC_rRNAHomologies::setHorizontalBorders(bool on)
{
    if (on == m_horizontalBorders)
        return;
    m_horizontalBorders = on;
    update();
}

QRectF GC_rRNAHomologies::boundingRect() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return QRectF();
    QRectF rect = genome->boundingRect();
    double left = rect.left();
    double right = rect.right();
    if (genome->scene() && !genome->scene()->views().isEmpty()) {
        left = std::max(left, genome->getVisibleLeftX());
        right = std::min(right, genome->getVisibleRightX());
    }
    return QRectF(left, -0.5, std::max(0.0, right - left), m_height + 10.5);
}

void GC_rRNAHomologies::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setClipRect(option->exposedRect);
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return;

    int low = genome->getVisibleLeftNuc();
    int high = genome->getVisibleRightNuc();
    if (genome->getOrientation() != 1)
        std::swap(low, high);

    if (m_horizontalBorders) {
        const double left = genome->getVisibleLeftX();
        const double right = genome->getVisibleRightX();
        painter->drawLine(QLineF(left, m_height, right, m_height));
        painter->drawLine(QLineF(left, 0.0, right, 0.0));
    }
    painter->setPen(Qt::NoPen);
    for (const GC_rRNAMatching *hit : m_matchings) {
        if (!(low < hit->getEnd() && high > hit->getStart()))
            continue;
        // Whole pixels outwards, so a short hit stays visible; min/max keep
        // that true on a reversed genome too.
        const double x1 = genome->nucToX(hit->getStart());
        const double x2 = genome->nucToX(hit->getEnd());
        const double left = std::floor(std::min(x1, x2));
        const double right = std::ceil(std::max(x1, x2));
        painter->fillRect(QRectF(left, 0.0, right - left, m_height), Qt::black);
    }
}

QVariant GC_rRNAHomologies::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}

void GC_rRNAHomologies::updateVisibility()
{
    GC_GenomeScene *genomeScene = qobject_cast<GC_GenomeScene *>(scene());
    GC_Genome *genome = parentGenome();
    if (!genomeScene || !genome)
        return;
    setVisible(genomeScene->showrRNAHomologies() && genome->getShowrRNAHomologies());
}

void GC_rRNAHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    m_positionMap.clear();
    update();
}

bool GC_rRNAHomologies::insertMatching(GC_rRNAMatching *matching, int minimumZone)
{
    const GC_Genome *genome = parentGenome();
    const int key = int(m_matchings.size());
    const auto zone = GC_PositionIndex::hoverZone(matching->getStart(), matching->getEnd(), minimumZone);
    if (!genome || !m_positionMap.addZone(genome->getCoords(), zone.first, zone.second, key)) {
        qDebug().noquote() << QStringLiteral("GC_rRNAHomologies::addrRNAMatching(): hit %1..%2 "
                                             "cannot be placed on this bar")
                                  .arg(matching->getStart())
                                  .arg(matching->getEnd());
        delete matching;
        return false;
    }
    matching->setGenomeId(genome->getId());
    m_matchings.insert(key, matching);
    update();
    return true;
}

bool GC_rRNAHomologies::addrRNAMatching(int start, int end, int rrnaSeqId, int groupId,
                                        double evalue, float bitscore)
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
                                        float bitscore)
{
    if (start >= end)
        std::swap(start, end);
    const QVariantList row = GC_ReferenceLookup::firstRow(
        GC_ReferenceDatabases::Rrna, QStringLiteral("SELECT id_group,name from rrna_seqs where id=?"),
        {rrnaSeqId});
    if (row.size() < 2) {
        qWarning().noquote() << QStringLiteral("Error querying RRNA db (sequence %1)").arg(rrnaSeqId);
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
    const GC_Genome *genome = parentGenome();
    if (!genome || m_positionMap.isEmpty())
        return nullptr;
    const double position = std::floor(genome->xToNuc(sceneX - scenePos().x()));
    if (!(position >= m_positionMap.firstPosition() && position <= m_positionMap.lastPosition()))
        return nullptr;
    const int key = m_positionMap.value(int(position));
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
