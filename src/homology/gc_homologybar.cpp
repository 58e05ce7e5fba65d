#include "gc_homologybar.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"
#include "gc_log.h"
#include "gc_paintarea.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>
#include <utility>

GC_HomologyBar::GC_HomologyBar(const QString &toolTip)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    // No item cache: the bar is as wide as its genome (millions of pixels
    // when zoomed in), and a cached pixmap would reach a picture as a
    // bitmap; it paints only what is exposed.
    setCacheMode(NoCache);
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

// The whole shown range of the genome, wherever the view looks: a picture
// of the whole scene holds every hit, and the canvas does not follow the
// view. Painting draws only the exposed part.
QRectF GC_HomologyBar::boundingRect() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return QRectF();
    const QRectF rect = genome->boundingRect();
    return QRectF(rect.left(), -0.5, rect.width(), m_height + 10.5);
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

    // What this paint can show: in a view the part it shows, in a picture
    // the part the picture holds.
    const QRectF extent = boundingRect();
    const QRectF area = GC_PaintArea::visibleRect(painter, option);
    const double left = std::max(area.left(), extent.left());
    const double right = std::min(area.right(), extent.right());
    if (!(left <= right))
        return;
    int low = int(std::ceil(genome->xToNuc(left)));
    int high = int(std::ceil(genome->xToNuc(right)));
    if (genome->getOrientation() != 1)
        std::swap(low, high);

    if (drawsBorders()) {
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
