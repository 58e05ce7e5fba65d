#include "gc_gccontentbar.h"

#include "gc_genome.h"
#include "gc_genomescene.h"

#include <QDebug>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <cmath>
#include <climits>

namespace {
// G and C letters among the count nucleotides from the 0-based index on.
int countGC(const QString &sequence, qsizetype index, int count)
{
    int gc = 0;
    const qsizetype last = std::min<qsizetype>(sequence.size(), index + count);
    for (qsizetype i = std::max<qsizetype>(0, index); i < last; ++i) {
        const QChar c = sequence.at(i);
        if (c == QLatin1Char('G') || c == QLatin1Char('C'))
            ++gc;
    }
    return gc;
}
} // namespace

GC_GCcontentBar::GC_GCcontentBar()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption | ItemIsFocusable
             | ItemSendsGeometryChanges);
    setCacheMode(ItemCoordinateCache);
}

// The copy has no genome yet: its extremes are computed once it is shown
// under its own genome (updateVisibility recomputes the window).
GC_GCcontentBar::GC_GCcontentBar(const GC_GCcontentBar &other)
    : QGraphicsItem(nullptr)
{
    setFlags(other.flags());
    setCacheMode(other.cacheMode());
    setPos(other.pos());
    setHeight(other.m_height);
    computeGCcontent(other.m_windowSize);
    setPlacement(other.m_placement);
    setFillColor(other.m_fillColor);
    setOutlineColor(other.m_outlineColor);
    setTextColor(other.m_textColor);
    setFont(other.m_font);
    setFillEnabled(other.m_fillEnabled);
    setOutlineEnabled(other.m_outlineEnabled);
}

GC_GCcontentBar::~GC_GCcontentBar() = default;

GC_Genome *GC_GCcontentBar::parentGenome() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(parent)
                                                         : nullptr;
}

void GC_GCcontentBar::setPlacement(int value)
{
    if (value == m_placement)
        return;
    prepareGeometryChange();
    m_placement = value;
}

void GC_GCcontentBar::setFillEnabled(bool value)
{
    if (value == m_fillEnabled)
        return;
    m_fillEnabled = value;
    update();
}

void GC_GCcontentBar::setOutlineEnabled(bool value)
{
    if (value == m_outlineEnabled)
        return;
    m_outlineEnabled = value;
    update();
}

void GC_GCcontentBar::setHeight(double value)
{
    value = std::max(value, 30.0);
    if (value == m_height)
        return;
    prepareGeometryChange();
    m_height = value;
    update();
}

void GC_GCcontentBar::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    prepareGeometryChange();
    m_font = font;
}

void GC_GCcontentBar::setFillColor(const QColor &color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    update();
}

void GC_GCcontentBar::setOutlineColor(const QColor &color)
{
    if (color == m_outlineColor)
        return;
    m_outlineColor = color;
    update();
}

void GC_GCcontentBar::setTextColor(const QColor &color)
{
    if (color == m_textColor)
        return;
    m_textColor = color;
    update();
}

void GC_GCcontentBar::computeGCcontent(int window)
{
    window = std::max(window, 5);
    if (window == m_windowSize && !m_extremesStale)
        return;
    m_extremesStale = true;
    if (const GC_Genome *genome = parentGenome()) {
        m_extremesStale = false;
        const QString sequence = genome->getDnaSequence();
        const GC_Interval range = genome->getCoords();
        m_maxGC = 0.0;
        m_minGC = 1.0;
        for (qint64 i = range.start(); i <= range.end(); i += window) {
            const float fraction = float(countGC(sequence, i - 1, window)) / float(window);
            m_maxGC = std::max(m_maxGC, double(fraction));
            m_minGC = std::min(m_minGC, double(fraction));
        }
    }
    prepareGeometryChange();
    m_windowSize = window;
    update();
}

void GC_GCcontentBar::updateWindow()
{
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return;
    computeGCcontent(int(0.01 * std::abs(genome->xToNuc(genome->getVisibleLeftX())
                                         - genome->xToNuc(genome->getVisibleRightX()))));
}

void GC_GCcontentBar::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    const GC_Genome *genome = parentGenome();
    if (!owner || !genome)
        return;
    if (owner->showGCcontentBars() && genome->getShowGCcontent()) {
        updateWindow();
        setVisible(true);
    } else {
        setVisible(false);
    }
}

QRectF GC_GCcontentBar::boundingRect() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return QRectF();
    const QRectF rect = genome->boundingRect();
    const double left = std::max(rect.left(), genome->getVisibleLeftX());
    const double right = std::min(rect.right(), genome->getVisibleRightX());
    return QRectF(left, 29.5, std::max(0.0, right - left), m_height + 40.0 - 29.5);
}

void GC_GCcontentBar::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                            QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setClipRect(option->exposedRect);
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return;
    const bool forward = genome->getOrientation() == 1;
    const int start = forward ? genome->getVisibleLeftNuc() : genome->getVisibleRightNuc();
    const int end = forward ? genome->getVisibleRightNuc() : genome->getVisibleLeftNuc();
    const double pixPerNuc = genome->getPixPerNuc();
    const int n = int(std::round(1.0 / pixPerNuc));
    if (m_windowSize < 6)
        computeGCcontent(n * 10);
    painter->setBrush(m_fillEnabled ? QBrush(m_fillColor) : QBrush(Qt::NoBrush));
    painter->setPen(m_outlineEnabled ? QPen(m_outlineColor) : QPen(Qt::NoPen));

    const QString sequence = genome->getDnaSequence();
    const int w = m_windowSize;
    const double bottom = m_height + 30.0;
    for (qint64 i = start; i <= end; i += w) {
        const double h = double(countGC(sequence, i - 1, w)) / w * m_height;
        // On a reverse genome the window's nucleotides lie left of nucleotide
        // i: the bar spans the x range of the whole window either way.
        const double x1 = genome->nucStartX(int(i));
        const double x2 = genome->nucEndX(int(std::min<qint64>(i + w - 1, INT_MAX)));
        painter->drawRect(QRectF(std::min(x1, x2), bottom - h, std::abs(x2 - x1), h));
    }
    painter->setFont(QFont(QStringLiteral("Helvetica"), 8));
    painter->drawText(
        QPointF(genome->getVisibleLeftX() + 10.0, bottom - 5.0 - m_height * m_maxGC),
        QString::asprintf("GC content: Min: %.1f%%,  Max: %.1f%%,  Overall: %.1f%%",
                          100.0 * m_minGC, 100.0 * m_maxGC, 100.0 * genome->getGCcontent()));
}

QVariant GC_GCcontentBar::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}
