#include "gc_genomematching.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_hairlinecoverage.h"
#include "gc_paintarea.h"
#include "gc_style.h"

#include <QPaintEngine>
#include <QPainter>
#include <QSet>
#include <QSqlQuery>
#include <QStyleOptionGraphicsItem>
#include <QVariant>

#include <algorithm>
#include <cmath>

int GC_GenomeMatching::nextId = 0;

GC_GenomeMatching::GC_GenomeMatching()
{
    setFlags(ItemIsSelectable | ItemUsesExtendedStyleOption);
    setZValue(0.0);
}

GC_GenomeMatching::GC_GenomeMatching(const GC_GenomeMatching &other)
    : QGraphicsItem(nullptr)
{
    setFlags(other.flags());
    setColor(other.m_color);
    m_similarity = other.m_similarity;
    setBitScore(other.m_bitScore);
    m_topFrom = other.m_topFrom;
    m_topTo = other.m_topTo;
    m_lowFrom = other.m_lowFrom;
    m_lowTo = other.m_lowTo;
    // A defined id until the copy is given its own.
    m_id = -1;
    setZValue(0.0);
}

GC_GenomeMatching::~GC_GenomeMatching() = default;

GC_Interval GC_GenomeMatching::coordsOn(const GC_Genome *genome) const
{
    if (genome && genome == m_topGenome)
        return topCoords();
    if (genome && genome == m_lowGenome)
        return lowCoords();
    return GC_Interval();
}

void GC_GenomeMatching::setId(int value)
{
    m_id = value;
    if (value >= nextId)
        nextId = value + 1;
}

void GC_GenomeMatching::setSimilarity(double value)
{
    if (value == m_similarity)
        return;
    m_similarity = value;
    update();
}

void GC_GenomeMatching::setBitScore(double value)
{
    m_bitScore = value;
    // Stronger matchings lie beneath weaker ones.
    setZValue(-value);
}

void GC_GenomeMatching::setColor(const QColor &value)
{
    if (value == m_color)
        return;
    m_color = value;
    update();
}

void GC_GenomeMatching::setTop(GC_Genome *genome, int from, int to)
{
    if (genome == m_topGenome && from == m_topFrom && to == m_topTo)
        return;
    prepareGeometryChange();
    m_geometryValid = false;
    if (m_topGenome && m_topGenome != genome && m_topGenome != m_lowGenome)
        m_topGenome->removeMatching(this);
    m_topGenome = genome;
    m_topFrom = from;
    m_topTo = to;
    if (genome)
        genome->addMatching(this); // listed once: the genome ignores a repeat
}

void GC_GenomeMatching::setLow(GC_Genome *genome, int from, int to)
{
    if (genome == m_lowGenome && from == m_lowFrom && to == m_lowTo)
        return;
    prepareGeometryChange();
    m_geometryValid = false;
    if (m_lowGenome && m_lowGenome != genome && m_lowGenome != m_topGenome)
        m_lowGenome->removeMatching(this);
    m_lowGenome = genome;
    m_lowFrom = from;
    m_lowTo = to;
    if (genome)
        genome->addMatching(this);
}

void GC_GenomeMatching::setTopGenome(GC_Genome *genome)
{
    setTop(genome, m_topFrom, m_topTo);
}

void GC_GenomeMatching::setLowGenome(GC_Genome *genome)
{
    setLow(genome, m_lowFrom, m_lowTo);
}

void GC_GenomeMatching::detachFromGenomes()
{
    if (m_topGenome)
        m_topGenome->removeMatching(this);
    if (m_lowGenome)
        m_lowGenome->removeMatching(this);
}

void GC_GenomeMatching::applyStyle(const GC_Style &style, bool force)
{
    if ((force || style.applyMatchingReverseColor) && !isDirect())
        setColor(style.matchingReverseColor);
    if ((force || style.applyMatchingStraightColor) && isDirect())
        setColor(style.matchingStraightColor);
}

// The toolkit finds each top-level item it takes out of a scene by a scan of
// its list of them, so deleting half of 100,000 bands one by one costs
// billions of steps. Sunk below everything, in the order of deletion, they
// are sorted to the front of that list by the next look-up, where each is
// found and taken off at once.
void GC_GenomeMatching::deleteMatchings(const QList<GC_GenomeMatching *> &matchings)
{
    QSet<QGraphicsScene *> scenes;
    const qsizetype count = matchings.size();
    for (qsizetype i = 0; i < count; ++i) {
        GC_GenomeMatching *matching = matchings[i];
        if (QGraphicsScene *owner = matching->scene()) {
            scenes.insert(owner);
            matching->setVisible(false);
            matching->setZValue(-1.0e15 - double(count - i));
        }
    }
    for (QGraphicsScene *owner : std::as_const(scenes))
        owner->items(QRectF(0.0, 0.0, 1.0, 1.0));
    for (GC_GenomeMatching *matching : matchings)
        delete matching;
}

void GC_GenomeMatching::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    const bool shown = owner && m_topGenome && m_lowGenome && owner->showMatchings()
                       && m_bitScore >= owner->matchingsBitScore()
                       && m_topGenome->getShowMatchings() && m_topGenome->isVisible()
                       && m_lowGenome->getShowMatchings() && m_lowGenome->isVisible();
    setVisible(shown);
}

void GC_GenomeMatching::updateGeometry()
{
    prepareGeometryChange();
    m_geometryValid = false;
}

void GC_GenomeMatching::adjustGenomesToMatching(double sceneX)
{
    if (m_topGenome) {
        const GC_Interval range = topCoords();
        m_topGenome->moveRangeTo(sceneX, range.start(), range.end());
    }
    if (m_lowGenome) {
        const GC_Interval range = lowCoords();
        m_lowGenome->moveRangeTo(sceneX, range.start(), range.end());
    }
}

QString GC_GenomeMatching::toString() const
{
    return QStringLiteral("%1(%2-%3)/%4(%5-%6)")
        .arg(m_topGenome ? m_topGenome->getName() : QString())
        .arg(m_topFrom)
        .arg(m_topTo)
        .arg(m_lowGenome ? m_lowGenome->getName() : QString())
        .arg(m_lowFrom)
        .arg(m_lowTo);
}

QPolygonF GC_GenomeMatching::polygon() const
{
    if (!m_topGenome || !m_lowGenome)
        return QPolygonF(QList<QPointF>(4, QPointF(0, 0)));
    // The band leaves the top genome's edge that faces the low genome.
    const bool topAbove = m_topGenome->y() < m_lowGenome->y();
    QPointF p0 = m_topGenome->getNucStartScenePoint(m_topFrom, topAbove);
    QPointF p1 = m_topGenome->getNucEndScenePoint(m_topTo, topAbove);
    QPointF p2 = m_lowGenome->getNucEndScenePoint(m_lowTo, !topAbove);
    QPointF p3 = m_lowGenome->getNucStartScenePoint(m_lowFrom, !topAbove);
    if (std::abs(p0.x() - p1.x()) < 1.0 && std::abs(p3.x() - p2.x()) < 1.0) {
        p1.setX(p0.x() + 0.1);
        p2.setX(p3.x() + 0.1);
    }
    // Built at its size: a band's corners are kept for every band.
    return QPolygonF({p0, p1, p2, p3});
}

void GC_GenomeMatching::updateGeometryCache() const
{
    if (m_geometryValid)
        return;
    const QPolygonF outline = polygon();
    std::copy(outline.cbegin(), outline.cend(), m_corners.begin());
    m_bounds = outline.boundingRect();
    m_geometryValid = true;
}

QPainterPath GC_GenomeMatching::shape() const
{
    updateGeometryCache();
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(m_corners.cbegin(), m_corners.cend())));
    path.closeSubpath();
    return path;
}

QRectF GC_GenomeMatching::boundingRect() const
{
    // Asked for every band on every repaint: a stored rectangle, no path.
    updateGeometryCache();
    return m_bounds;
}

namespace {

// Device coordinates this far off the shown area lie beyond any device:
// the rasteriser's fixed-point range is a few times larger.
constexpr double farOff = 1.0e6;
// Rows of a strip of a tall band (drawInStrips).
constexpr double stripRows = 60.0;

QPointF along(const QPointF &a, const QPointF &b, double t)
{
    return a + (b - a) * t;
}

// Cuts the line to the rectangle (Liang-Barsky); false when none of it is
// inside.
bool clipLine(QPointF &from, QPointF &to, const QRectF &rect)
{
    const QPointF d = to - from;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {from.x() - rect.left(), rect.right() - from.x(), from.y() - rect.top(),
                         rect.bottom() - from.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const QPointF start = from;
    from = start + d * t0;
    to = start + d * t1;
    return true;
}

} // namespace

void GC_GenomeMatching::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget);
    updateGeometryCache();
    QColor fill = m_color.isValid() ? m_color : QColor(Qt::black);
    fill.setAlphaF(float(std::clamp(2.0 * m_similarity / 100.0 - 1.0, 0.0, 1.0)));
    if (fill.alpha() == 0)
        return;
    const QTransform &device = painter->worldTransform();
    std::array<QPointF, 4> corners = m_corners;
    QPointF onDevice[4];
    for (int i = 0; i < 4; ++i)
        onDevice[i] = device.map(corners[i]);
    auto extentOnDevice = [&onDevice]() {
        const auto [left, right] = std::minmax({onDevice[0].x(), onDevice[1].x(), onDevice[2].x(), onDevice[3].x()});
        const auto [top, bottom] = std::minmax({onDevice[0].y(), onDevice[1].y(), onDevice[2].y(), onDevice[3].y()});
        return QRectF(QPointF(left, top), QPointF(right, bottom));
    };
    auto near = [](const QRectF &extent) {
        return extent.left() > -farOff && extent.right() < farOff && extent.top() > -farOff
            && extent.bottom() < farOff;
    };
    QRectF extent = extentOnDevice();
    const bool hairline = std::abs(onDevice[1].x() - onDevice[0].x()) < 1.0
                       && std::abs(onDevice[2].x() - onDevice[3].x()) < 1.0;
    // Most bands lie on the device, or run a little past it. One reaching
    // far off it is cut to the part that shows; one several times taller
    // than the device only to the device's rows, which costs nothing to find
    // (the painter clips the rest, as for any band).
    const bool far = !near(extent);
    const double deviceRows = painter->device() ? painter->device()->height() : 0.0;
    const bool tall = !far && !hairline && deviceRows > 0.0
                      && extent.height() > 3.0 * deviceRows + 2.0 * stripRows;
    QRectF visible;
    QRectF shown(0.0, 0.0, 1.0, deviceRows);
    if (far) {
        visible = GC_PaintArea::visibleRect(painter, option);
        if (visible.isEmpty())
            return;
        shown = device.mapRect(visible);
    }
    if (hairline) {
        paintHairline(painter, fill, (onDevice[0] + onDevice[1]) / 2.0,
                      (onDevice[2] + onDevice[3]) / 2.0, far ? shown : QRectF());
        return;
    }
    // Only the rows that show are drawn (and two more each way): a band down
    // to a genome a thousand million pixels away costs what its shown part
    // costs.
    if (far || tall) {
        if (!cutToRows(corners.data(), onDevice, shown.top() - 2.0, shown.bottom() + 2.0))
            return;
        extent = extentOnDevice();
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(QBrush(fill, isSelected() ? Qt::Dense4Pattern : Qt::SolidPattern));
    // The painter clips to the device itself; only a band reaching far off
    // the canvas (deep zoom) is cut to the shown part first, so the
    // rasteriser never sees coordinates beyond its range.
    if (near(extent)) {
        drawInStrips(painter, corners.data(), onDevice);
    } else {
        const QPolygonF outline(QList<QPointF>(corners.cbegin(), corners.cend()));
        painter->drawPolygon(outline.intersected(QPolygonF(visible)), Qt::OddEvenFill);
    }
}

// The band's top side and bottom side are horizontal, so the part of it
// between two heights is again a four-point band with ends on its two
// slanted sides. corners and onDevice become that part; false when it is
// empty. A band whose sides are not level on the device stays whole.
bool GC_GenomeMatching::cutToRows(QPointF *corners, QPointF *onDevice, double top, double bottom)
{
    const double y0 = onDevice[0].y();
    const double y3 = onDevice[3].y();
    if (onDevice[1].y() != y0 || onDevice[2].y() != y3 || y0 == y3)
        return true;
    double from = (top - y0) / (y3 - y0);
    double to = (bottom - y0) / (y3 - y0);
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 0.0);
    to = std::min(to, 1.0);
    if (from > to)
        return false;
    if (from == 0.0 && to == 1.0)
        return true;
    for (QPointF *points : {corners, onDevice}) {
        const QPointF p0 = points[0], p1 = points[1], p2 = points[2], p3 = points[3];
        points[0] = along(p0, p3, from);
        points[1] = along(p1, p2, from);
        points[2] = along(p1, p2, to);
        points[3] = along(p0, p3, to);
    }
    return true;
}

// Under a pixel wide at both ends: one hairline from the middle of one side
// to the middle of the other says the same, far cheaper than filling a
// polygon of as many spans as it is tall. Its ends are put on pixel centres,
// so bands falling on the same pixels draw the very same line, and a line
// already opaque in this colour is not drawn again. A line reaching far off
// the device is first cut to within farOff of the part that shows (device
// rectangle shown; null for a line near the device): whole pixels are
// counted in ints.
void GC_GenomeMatching::paintHairline(QPainter *painter, const QColor &fill, QPointF from,
                                      QPointF to, const QRectF &shown) const
{
    if (!shown.isNull()) {
        constexpr double intReach = 1073741824.0; // 2^30
        const QRectF reach =
            shown.adjusted(-farOff, -farOff, farOff, farOff)
                .intersected(QRectF(-intReach, -intReach, 2.0 * intReach, 2.0 * intReach));
        if (!clipLine(from, to, reach))
            return;
    }
    const QPoint a(int(std::floor(from.x())), int(std::floor(from.y())));
    const QPoint b(int(std::floor(to.x())), int(std::floor(to.y())));
    if (const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene())) {
        GC_HairlineCoverage &coverage = GC_HairlineCoverage::instance();
        coverage.beginFrame(owner, owner->paintFrame(), painter, painter->worldTransform());
        // A band is drawn once per frame: drawn again under the same frame,
        // a new one began unannounced (a view that paints its own background
        // never asks the scene for it).
        if (m_hairlineGeneration == coverage.generation())
            coverage.restart();
        m_hairlineGeneration = coverage.generation();
        if (!coverage.admit(a, b, fill.rgb(), float(fill.alphaF())))
            return;
    }
    bool invertible = false;
    const QTransform back = painter->worldTransform().inverted(&invertible);
    if (!invertible)
        return;
    const QPen pen(fill, 0);
    if (painter->pen() != pen)
        painter->setPen(pen);
    // Unclipped, the raster engine blends a translucent hairline through a
    // general path some fifty times slower than the clipped one; a clip a
    // pixel wider than the line all round changes no pixel and keeps it on
    // the quick path.
    const bool clip = !painter->hasClipping();
    if (clip) {
        painter->save();
        painter->setClipRect(back.mapRect(QRectF(QRect(a, b).normalized().adjusted(-1, -1, 2, 2))));
    }
    painter->drawLine(back.map(QPointF(a) + QPointF(0.5, 0.5)),
                      back.map(QPointF(b) + QPointF(0.5, 0.5)));
    if (clip)
        painter->restore();
}

// Qt's raster engine hands a fill of more than about a hundred rows to its
// thread pool; for tens of thousands of tall bands that hand-off costs far
// more than the fill, so tall bands are filled in strips of fewer rows where
// the strips cannot show (seamlessStrips). The strips meet on whole device
// rows: each row of pixels then lies in one strip alone and is covered as
// the whole band would cover it, smoothed or not.
void GC_GenomeMatching::drawInStrips(QPainter *painter, const QPointF *corners,
                                     const QPointF *onDevice) const
{
    const double first = onDevice[0].y();
    const double last = onDevice[3].y();
    const double height = std::abs(last - first);
    // A row holds one span of pixels, or smoothed, also the partly covered
    // pixels at each slanted side, about as many as the side runs across
    // in one row. The pool takes fills of about a hundred spans.
    double spansPerRow = 1.0;
    if (height > 0.0 && painter->testRenderHint(QPainter::Antialiasing))
        spansPerRow = 3.0 + std::ceil(std::abs(onDevice[3].x() - onDevice[0].x()) / height)
                      + std::ceil(std::abs(onDevice[2].x() - onDevice[1].x()) / height);
    const double rows = std::clamp(std::floor(90.0 / spansPerRow), 1.0, stripRows);
    if (height <= rows || onDevice[1].y() != first || onDevice[2].y() != last
        || !seamlessStrips(painter)) {
        painter->drawPolygon(corners, 4, Qt::OddEvenFill);
        return;
    }
    const double step = last > first ? rows : -rows;
    const QPointF &p0 = corners[0], &p1 = corners[1], &p2 = corners[2], &p3 = corners[3];
    QPointF points[4];
    double t0 = 0.0;
    for (double row = std::round(first) + step;; row += step) {
        const double t1 = std::abs(row - first) < height ? (row - first) / (last - first) : 1.0;
        points[0] = along(p0, p3, t0);
        points[1] = along(p1, p2, t0);
        points[2] = along(p1, p2, t1);
        points[3] = along(p0, p3, t1);
        painter->drawPolygon(points, 4, Qt::OddEvenFill);
        if (t1 >= 1.0)
            break;
        t0 = t1;
    }
}

// The raster engine fills a pixel as the shape covers it, so strips meeting
// on whole rows tile the band on the screen and in images alike. A vector
// device (SVG, printer) would keep the strips as separate shapes for
// whatever draws it later.
bool GC_GenomeMatching::seamlessStrips(const QPainter *painter)
{
    const QPaintEngine *engine = painter->paintEngine();
    return engine && engine->type() == QPaintEngine::Raster;
}

QVariant GC_GenomeMatching::itemChange(GraphicsItemChange change, const QVariant &value)
{
    // A matching that arrives in a scene obeys its switches and bit-score
    // threshold at once, like those already there.
    if (change == ItemSceneHasChanged)
        updateVisibility();
    return QGraphicsItem::itemChange(change, value);
}

// ---------------------------------------------------------------- canvas rows

QString GC_GenomeMatching::sqlCreateTable()
{
    return QStringLiteral(
        "CREATE TABLE genomematchings ( id INTEGER , topGenomeId INTEGER , topFrom  INTEGER , "
        "topTo INTEGER , lowGenomeId INTEGER , lowFrom INTEGER , lowTo INTEGER , similarity "
        "REAL , bitScore REAL , fillColor TEXT )");
}

QString GC_GenomeMatching::sqlSelect()
{
    return QStringLiteral(
        "SELECT id , topGenomeId , topFrom , topTo , lowGenomeId , lowFrom , lowTo , similarity "
        ", bitScore , fillColor FROM genomematchings");
}

QString GC_GenomeMatching::sqlInsert()
{
    return QStringLiteral(
        "INSERT INTO genomematchings ( id , topGenomeId , topFrom , topTo , lowGenomeId , "
        "lowFrom , lowTo , similarity , bitScore , fillColor ) VALUES ( ? , ? , ? , ? , ? , ? , "
        "? , ? , ? , ? )");
}

bool GC_GenomeMatching::saveItem(QSqlQuery &query) const
{
    // Consecutive matchings share one prepared statement.
    const QString insert = sqlInsert();
    if (query.lastQuery() != insert && !query.prepare(insert))
        return false;
    query.addBindValue(m_id);
    query.addBindValue(m_topGenome ? m_topGenome->getId() : -1);
    query.addBindValue(m_topFrom);
    query.addBindValue(m_topTo);
    query.addBindValue(m_lowGenome ? m_lowGenome->getId() : -1);
    query.addBindValue(m_lowFrom);
    query.addBindValue(m_lowTo);
    query.addBindValue(m_similarity);
    query.addBindValue(m_bitScore);
    query.addBindValue(m_color.isValid() ? m_color.name() : QColor(Qt::black).name());
    return query.exec();
}
