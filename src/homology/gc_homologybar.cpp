#include "gc_homologybar.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"
#include "gc_log.h"

#include <QGraphicsView>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>
#include <utility>

GC_HomologyBar::GC_HomologyBar(const QString &toolTip)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    setCacheMode(ItemCoordinateCache);
    setHeight(20.0);
    setToolTip(toolTip);
}

GC_Genome *GC_HomologyBar::parentGenome() const
{
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
}

void GC_HomologyBar::setHeight(double h)
{
    h = std::max(h, 5.0);
    if (h == m_height)
        return;
    prepareGeometryChange();
    m_height = h;
    update();
}

QRectF GC_HomologyBar::boundingRect() const
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

QVariant GC_HomologyBar::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}

void GC_HomologyBar::updateVisibility()
{
    GC_GenomeScene *genomeScene = qobject_cast<GC_GenomeScene *>(scene());
    GC_Genome *genome = parentGenome();
    if (!genomeScene || !genome)
        return;
    setVisible(familyShown(*genomeScene, *genome));
}

bool GC_HomologyBar::indexZone(int from, int to, int key, const char *caller)
{
    const GC_Genome *genome = parentGenome();
    if (!genome || !m_positionMap.addZone(genome->getCoords(), from, to, key)) {
        qCDebug(lcKestal).noquote() << QStringLiteral("%1(): hit %2..%3 cannot be placed on this bar")
                                  .arg(QLatin1String(caller))
                                  .arg(from)
                                  .arg(to);
        return false;
    }
    return true;
}

void GC_HomologyBar::seedPositionMap()
{
    if (const GC_Genome *genome = parentGenome())
        m_positionMap.seed(genome->getCoords());
}

int GC_HomologyBar::keyAt(double sceneX) const
{
    const GC_Genome *genome = parentGenome();
    if (!genome || m_positionMap.isEmpty())
        return GC_PositionIndex::noHit;
    const double position = std::floor(genome->xToNuc(sceneX - scenePos().x()));
    if (!(position >= m_positionMap.firstPosition() && position <= m_positionMap.lastPosition()))
        return GC_PositionIndex::noHit;
    return m_positionMap.value(int(position));
}

void GC_HomologyBar::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
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

    if (drawsBorders()) {
        const double left = genome->getVisibleLeftX();
        const double right = genome->getVisibleRightX();
        painter->drawLine(QLineF(left, m_height, right, m_height));
        painter->drawLine(QLineF(left, 0.0, right, 0.0));
    }
    painter->setPen(Qt::NoPen);
    paintHits(painter, *genome, low, high);
}

QRectF GC_HomologyBar::pixelBox(const GC_Genome &genome, int start, int end) const
{
    // min/max keep the box the right way round on a reversed genome.
    const double x1 = genome.nucToX(start);
    const double x2 = genome.nucToX(end);
    const double left = std::floor(std::min(x1, x2));
    const double right = std::ceil(std::max(x1, x2));
    return QRectF(left, 0.0, right - left, m_height);
}
