#include "gc_gccontentbar.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_paintarea.h"

#include <QFontMetricsF>
#include <QGraphicsView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
QFont figuresFont()
{
    return QFont(QStringLiteral("Helvetica"), 8);
}

// Room the line of figures needs, measured on the widest text it can show.
QRectF figuresSample()
{
    static const QRectF sample = QFontMetricsF(figuresFont()).boundingRect(
        QStringLiteral("GC content: Min: 100.0%,  Max: 100.0%,  Overall: 100.0%"));
    return sample;
}

qint64 clampToRange(double value, qint64 low, qint64 high)
{
    if (!(value >= double(low)))
        return low;
    if (!(value <= double(high)))
        return high;
    return qint64(value);
}
} // namespace

GC_GCcontentBar::GC_GCcontentBar()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption | ItemIsFocusable
             | ItemSendsGeometryChanges);
    // No item cache: the bar is as wide as its genome (millions of pixels
    // when zoomed in) and paints only what is exposed, from cached counts.
    setCacheMode(NoCache);
}

// The copy has no genome yet: its counts and extremes come from its own
// genome once it has one.
GC_GCcontentBar::GC_GCcontentBar(const GC_GCcontentBar &other)
    : QGraphicsItem(nullptr)
{
    setFlags(other.flags());
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
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
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

void GC_GCcontentBar::sequenceChanged()
{
    m_countsValid = false;
    update();
}

const GC_GCcountIndex &GC_GCcontentBar::counts() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome) {
        static const GC_GCcountIndex none;
        return none;
    }
    // A sequence kept only in the source file is read once per source.
    if (!m_countsValid || m_countsDatabase != genome->getDatabase()
        || m_countsDbId != genome->getDatabaseId()) {
        m_counts.build(genome->getDnaSequence());
        m_countsDatabase = genome->getDatabase();
        m_countsDbId = genome->getDatabaseId();
        m_countsValid = true;
        ++m_countsRevision;
    }
    return m_counts;
}

void GC_GCcontentBar::refreshExtremes() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome) {
        m_minGC = m_maxGC = 0.0;
        m_extremesRevision = -1;
        return;
    }
    const GC_GCcountIndex &index = counts();
    const qint64 from = genome->getCoords().start();
    const qint64 to = genome->getCoords().end();
    const int window = std::max(m_windowSize, 5);
    if (m_extremesRevision == m_countsRevision && m_extremesFrom == from && m_extremesTo == to
        && m_extremesWindow == window)
        return;
    index.windowExtremes(from, to, window, &m_minGC, &m_maxGC);
    m_extremesRevision = m_countsRevision;
    m_extremesFrom = from;
    m_extremesTo = to;
    m_extremesWindow = window;
}

double GC_GCcontentBar::minGC() const
{
    refreshExtremes();
    return m_minGC;
}

double GC_GCcontentBar::maxGC() const
{
    refreshExtremes();
    return m_maxGC;
}

void GC_GCcontentBar::computeGCcontent(int window)
{
    window = std::max(window, 5);
    if (window == m_windowSize)
        return;
    prepareGeometryChange();
    m_windowSize = window;
    refreshExtremes();
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

// The whole shown range of the genome, wherever the view looks: painting
// draws only the exposed part. Above the bars, room for the line of figures.
QRectF GC_GCcontentBar::boundingRect() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return QRectF();
    const QRectF rect = genome->boundingRect();
    const QRectF text = figuresSample();
    const double top = std::min(29.5, 30.0 - 5.0 + text.top());
    const double right = std::max(rect.right(), rect.left() + 10.0 + text.right());
    return QRectF(rect.left(), top, right - rect.left(), m_height + 40.0 - top);
}

void GC_GCcontentBar::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                            QWidget *widget)
{
    Q_UNUSED(widget);
    painter->setClipRect(option->exposedRect, Qt::IntersectClip);
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return;
    const double pixPerNuc = genome->getPixPerNuc();
    if (m_windowSize < 6) {
        const double n = std::round(1.0 / pixPerNuc);
        computeGCcontent(int(clampToRange(n * 10.0, 0, INT_MAX)));
    }
    painter->setBrush(m_fillEnabled ? QBrush(m_fillColor) : QBrush(Qt::NoBrush));
    painter->setPen(m_outlineEnabled ? QPen(m_outlineColor) : QPen(Qt::NoPen));

    const GC_GCcountIndex &index = counts();
    const qint64 from = genome->getCoords().start();
    const qint64 to = std::min<qint64>(genome->getCoords().end(), index.length());
    const double bottom = m_height + 30.0;
    const QRectF area = GC_PaintArea::visibleRect(painter, option);
    if (to >= from && !area.isEmpty()) {
        // Nucleotides under the exposed rectangle, whatever the orientation.
        const double a = genome->xToNuc(area.left());
        const double b = genome->xToNuc(area.right());
        const qint64 lo = clampToRange(std::floor(std::min(a, b)), from, to);
        const qint64 hi = clampToRange(std::ceil(std::max(a, b)), from, to);
        // Formatted only when the category is on.
        qCDebug(lcKestal, "GC_GCcontentBar: startingNuc: %d, endingNuc: %d", int(lo), int(hi));
        // Windows are counted from the range's start, so scrolling never
        // shifts them; windows under a pixel are drawn in groups a pixel wide.
        const qint64 w = m_windowSize;
        qint64 step = w;
        if (w * pixPerNuc < 1.0)
            step = clampToRange(double(w) * std::ceil(1.0 / (w * pixPerNuc)), w, to - from + 1);
        QVector<QRectF> bars;
        bars.reserve(int(std::min<qint64>((hi - lo) / step + 2, 1 << 20)));
        for (qint64 i = from + (lo - from) / step * step; i <= hi; i += step) {
            const qint64 last = std::min(i + step - 1, to);
            const double h = index.fraction(i, last) * m_height;
            const double x1 = genome->nucStartX(int(i));
            const double x2 = genome->nucEndX(int(last));
            bars.append(QRectF(std::min(x1, x2), bottom - h, std::abs(x2 - x1), h));
        }
        painter->drawRects(bars);
    }

    // In a view the line stays at the view's left; a picture of the whole
    // scene (no widget) shows it at the genome's start.
    if (widget) {
        followView();
        m_figuresX = figuresLeft();
    } else if (const GC_Genome *genome = parentGenome()) {
        m_figuresX = genome->boundingRect().left() + 10.0;
    }
    painter->setFont(figuresFont());
    painter->drawText(QPointF(m_figuresX, bottom - 5.0 - m_height * maxGC()), figuresText());
}

double GC_GCcontentBar::figuresLeft() const
{
    const GC_Genome *genome = parentGenome();
    if (!genome)
        return 10.0;
    // Near the genome's end the line stops where it still fits over it.
    const QRectF rect = genome->boundingRect();
    const double first = rect.left() + 10.0;
    const double last = std::max(first, rect.right() - figuresSample().right());
    return std::clamp(genome->getVisibleLeftX() - x() + 10.0, first, last);
}

QRectF GC_GCcontentBar::figuresRect(double x) const
{
    // A pixel more all round for antialiasing.
    return figuresSample()
        .translated(x, m_height + 30.0 - 5.0 - m_height * maxGC())
        .adjusted(-1.0, -1.0, 1.0, 1.0);
}

void GC_GCcontentBar::followView()
{
    QGraphicsView *view =
        scene() && !scene()->views().isEmpty() ? scene()->views().first() : nullptr;
    if (view == m_watchedView.data())
        return;
    m_viewWatch.reset();
    m_watchedView = view;
    if (!view)
        return;
    m_viewWatch = std::make_unique<QObject>();
    QObject::connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, m_viewWatch.get(),
                     [this] { figuresMoved(); });
}

void GC_GCcontentBar::figuresMoved()
{
    const double left = figuresLeft();
    if (left == m_figuresX)
        return;
    update(figuresRect(m_figuresX));
    update(figuresRect(left));
    m_figuresX = left;
}

QString GC_GCcontentBar::figuresText() const
{
    // A genome without sequence has no overall fraction: it reads 0.
    const GC_Genome *genome = parentGenome();
    const double overall = genome && std::isfinite(genome->getGCcontent())
                               ? genome->getGCcontent()
                               : 0.0;
    const double key[3] = {minGC(), maxGC(), overall};
    if (!std::equal(key, key + 3, m_figuresKey)) {
        m_figuresText = QString::asprintf("GC content: Min: %.1f%%,  Max: %.1f%%,  Overall: %.1f%%",
                                          100.0 * key[0], 100.0 * key[1], 100.0 * key[2]);
        std::copy(key, key + 3, m_figuresKey);
    }
    return m_figuresText;
}

QVariant GC_GCcontentBar::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    if (change == ItemParentHasChanged)
        m_countsValid = false;
    return QGraphicsItem::itemChange(change, value);
}
