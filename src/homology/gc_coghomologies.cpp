#include "gc_coghomologies.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_cogmatching.h"

#include <QPainter>
#include <QGraphicsView>
#include <QStyleOptionGraphicsItem>

#include <algorithm>

GC_CogHomologies::GC_CogHomologies()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    setCacheMode(ItemCoordinateCache);
    setHeight(20.0);
    setToolTip(QStringLiteral("Cluster of Orthologous Genes (COG) homologies"));
}

GC_CogHomologies::~GC_CogHomologies()
{
    clearMatchings();
}

GC_Genome *GC_CogHomologies::parentGenome() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(parent)
                                                         : nullptr;
}

void GC_CogHomologies::setHeight(double h)
{
    h = std::max(h, 5.0);
    if (h == m_height)
        return;
    prepareGeometryChange();
    m_height = h;
    update();
}

QRectF GC_CogHomologies::boundingRect() const
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

void GC_CogHomologies::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setClipRect(option->exposedRect);
    // Hit records and their category colours are drawn here once the bar
    // holds them; with no hit there is nothing to draw.
}

QVariant GC_CogHomologies::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}

void GC_CogHomologies::updateVisibility()
{
    GC_GenomeScene *genomeScene = qobject_cast<GC_GenomeScene *>(scene());
    GC_Genome *genome = parentGenome();
    if (!genomeScene || !genome)
        return;
    setVisible(genomeScene->showCogHomologies() && genome->getShowCogHomologies());
}

void GC_CogHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    update();
}

void GC_CogHomologies::addCogMatching(int start, int end, int proteinId, const QString &cogCode,
                                      const QString &groupCode, int classId, float evalue,
                                      float bitscore)
{
    auto *hit = new GC_CogMatching;
    hit->setStart(start);
    hit->setEnd(end);
    hit->setIdCogProtein(proteinId);
    hit->setCogCode(cogCode);
    hit->setGroupCode(groupCode);
    hit->setClassId(classId);
    hit->setEvalue(evalue);
    hit->setBitscore(bitscore);
    if (GC_Genome *genome = parentGenome())
        hit->setGenomeId(genome->getId());
    m_matchings.insert(int(m_matchings.size()), hit);
    update();
}

GC_Interval GC_CogHomologies::matchingAt(double sceneX) const
{
    Q_UNUSED(sceneX);
    return GC_Interval(0, 0);
}

QString GC_CogHomologies::matchingToolTip(double sceneX) const
{
    Q_UNUSED(sceneX);
    return QString();
}
