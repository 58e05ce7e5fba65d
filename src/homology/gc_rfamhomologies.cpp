#include "gc_rfamhomologies.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_rfammatching.h"

#include <QPainter>
#include <QGraphicsView>
#include <QStyleOptionGraphicsItem>

#include <algorithm>

GC_RfamHomologies::GC_RfamHomologies()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    setCacheMode(ItemCoordinateCache);
    setHeight(20.0);
    setToolTip(QStringLiteral("RFAM homologies"));
}

GC_RfamHomologies::~GC_RfamHomologies()
{
    clearMatchings();
}

GC_Genome *GC_RfamHomologies::parentGenome() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(parent)
                                                         : nullptr;
}

void GC_RfamHomologies::setHeight(double h)
{
    h = std::max(h, 5.0);
    if (h == m_height)
        return;
    prepareGeometryChange();
    m_height = h;
    update();
}

QRectF GC_RfamHomologies::boundingRect() const
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

void GC_RfamHomologies::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setClipRect(option->exposedRect);
    // Hit records are drawn here once the bar
    // holds them; with no hit there is nothing to draw.
}

QVariant GC_RfamHomologies::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}

void GC_RfamHomologies::updateVisibility()
{
    GC_GenomeScene *genomeScene = qobject_cast<GC_GenomeScene *>(scene());
    GC_Genome *genome = parentGenome();
    if (!genomeScene || !genome)
        return;
    setVisible(genomeScene->showRfamHomologies() && genome->getShowRfamHomologies());
}

void GC_RfamHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    update();
}

void GC_RfamHomologies::addRfamMatching(int start, int end, int rfamSeqId, const QString &rfamCode,
                                        float evalue, float bitscore)
{
    auto *hit = new GC_RfamMatching;
    hit->setStart(start);
    hit->setEnd(end);
    hit->setRfamSeqId(rfamSeqId);
    hit->setRfamCode(rfamCode);
    hit->setEvalue(evalue);
    hit->setBitscore(bitscore);
    if (GC_Genome *genome = parentGenome())
        hit->setGenomeId(genome->getId());
    m_matchings.insert(int(m_matchings.size()), hit);
    update();
}

GC_Interval GC_RfamHomologies::matchingAt(double sceneX) const
{
    Q_UNUSED(sceneX);
    return GC_Interval(0, 0);
}

QString GC_RfamHomologies::getToolTip(double sceneX) const
{
    Q_UNUSED(sceneX);
    return QString();
}
