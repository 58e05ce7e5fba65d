#include "gc_ruler.h"

#include "gc_canvasvalue.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_paintarea.h"
#include "gc_rulerlabelroom.h"
#include "gc_style.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QSqlQuery>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <climits>
#include <cmath>

GC_Ruler::GC_Ruler()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    setOrientation(0);
    setTextPlacement(0);
    setHorizontalLineVisible(true);
    setStyle(1);
    setHeightBig(10.0);
    setHeightSmall(5.0);
    setNucsPerPeriod(10);
    setPeriodsPerBigLine(4);
    setPixsPerPeriod(15);
    setLineColor(Qt::red);
    setTextColor(Qt::red);
    setTextFont(QFont());
}

GC_Ruler::GC_Ruler(const GC_Ruler &other)
    : QGraphicsItem(nullptr)
{
    setFlags(other.flags());
    setPos(other.pos());
    setOrientation(other.orientation);
    setTextPlacement(other.textPlacement);
    setHorizontalLineVisible(other.horizontalLineVisible);
    setStyle(other.style);
    setHeightBig(other.heightBig);
    setHeightSmall(other.heightSmall);
    setNucsPerPeriod(other.nucsPerPeriod);
    setPeriodsPerBigLine(other.periodsPerBigLine);
    setPixsPerPeriod(other.pixsPerPeriod);
    setLineColor(other.lineColor);
    setTextColor(other.textColor);
    setTextFont(other.textFont);
}

GC_Ruler::~GC_Ruler() = default;

GC_Genome *GC_Ruler::getGenome() const
{
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
}

void GC_Ruler::setOrientation(int value)
{
    if (value == orientation)
        return;
    prepareGeometryChange();
    orientation = value;
}

void GC_Ruler::setTextPlacement(int value)
{
    if (value == textPlacement)
        return;
    prepareGeometryChange();
    textPlacement = value;
}

void GC_Ruler::setHorizontalLineVisible(bool value)
{
    if (value == horizontalLineVisible)
        return;
    horizontalLineVisible = value;
    update();
}

void GC_Ruler::setStyle(int value)
{
    if (value == style)
        return;
    prepareGeometryChange();
    style = value;
}

void GC_Ruler::setHeightBig(double value)
{
    if (value < 0)
        value = 0;
    if (value == heightBig)
        return;
    prepareGeometryChange();
    heightBig = value;
    setHeightSmall(heightSmall);
}

void GC_Ruler::setHeightSmall(double value)
{
    if (value < 0)
        value = 0;
    if (value > heightBig)
        value = heightBig;
    if (value == heightSmall)
        return;
    heightSmall = value;
    update();
}

void GC_Ruler::setNucsPerPeriod(double value)
{
    if (value < 1.0)
        value = 1.0;
    if (value == nucsPerPeriod)
        return;
    nucsPerPeriod = int(value);
    update();
}

void GC_Ruler::setPeriodsPerBigLine(int value)
{
    value = std::max(value, 1);
    if (value == periodsPerBigLine)
        return;
    periodsPerBigLine = value;
    update();
}

void GC_Ruler::setPixsPerPeriod(int value)
{
    value = std::max(value, 1);
    if (value == pixsPerPeriod)
        return;
    pixsPerPeriod = value;
    update();
}

void GC_Ruler::setLineColor(const QColor &color)
{
    if (color == lineColor)
        return;
    lineColor = color;
    update();
}

void GC_Ruler::setTextColor(const QColor &color)
{
    if (color == textColor)
        return;
    textColor = color;
    update();
}

void GC_Ruler::setTextFont(const QFont &font)
{
    if (font == textFont)
        return;
    prepareGeometryChange();
    textFont = font;
}

void GC_Ruler::setTextFont(const QString &description)
{
    QFont font;
    if (font.fromString(description))
        setTextFont(font);
}

void GC_Ruler::flipSide()
{
    if (orientation == 0)
        setOrientation(2);
    else if (orientation == 2)
        setOrientation(0);
    if (textPlacement == 0)
        setTextPlacement(1);
    else if (textPlacement == 1)
        setTextPlacement(0);
}

void GC_Ruler::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    const GC_Genome *genome = getGenome();
    if (!owner || !genome)
        return;
    setVisible(owner->showRulers() && genome->getShowRuler());
}

QRectF GC_Ruler::labelSample() const
{
    return QFontMetricsF(textFont).boundingRect(QStringLiteral("000.000.000"));
}

void GC_Ruler::applyStyle(const GC_Style &style, bool force)
{
    if (force || style.applyRulerY)
        setY(style.rulerY);
    if (force || style.applyRulerOrientation)
        setOrientation(style.rulerOrientation);
    if (force || style.applyRulerTextPlacement)
        setTextPlacement(style.rulerTextPlacement);
    if (force || style.applyRulerHorizontalLineVisible)
        setHorizontalLineVisible(style.rulerHorizontalLineVisible);
    if (force || style.applyRulerStyle)
        setStyle(style.rulerStyle);
    if (force || style.applyRulerHeightBig)
        setHeightBig(style.rulerHeightBig);
    if (force || style.applyRulerHeightSmall)
        setHeightSmall(style.rulerHeightSmall);
    if (force || style.applyRulerNucsPerPeriod)
        setNucsPerPeriod(style.rulerNucsPerPeriod);
    if (force || style.applyRulerPeriodsPerBigLine)
        setPeriodsPerBigLine(style.rulerPeriodsPerBigLine);
    if (force || style.applyRulerPixsPerPeriod)
        setPixsPerPeriod(style.rulerPixsPerPeriod);
    if (force || style.applyRulerLineColor)
        setLineColor(style.rulerLineColor);
    if (force || style.applyRulerTextColor)
        setTextColor(style.rulerTextColor);
    if (force || style.applyRulerTextFont)
        setTextFont(style.rulerTextFont);
}

qint64 GC_Ruler::tickPeriod() const
{
    const GC_Genome *genome = getGenome();
    return periodFor(genome ? genome->getPixPerNuc() : 1.0, pixsPerPeriod);
}

qint64 GC_Ruler::periodFor(double pixPerNuc, int pixsPerPeriod)
{
    // Any period above the largest coordinate draws the same ticks (the two
    // ends only), so the search stops there whatever the scale: zero, tiny
    // or not a number.
    const qint64 largest = qint64(10000000000LL);
    const double target = double(std::max(pixsPerPeriod, 1)) / pixPerNuc;
    qint64 period = 10;
    while (period < largest && !(double(period) >= target))
        period *= 10;
    return period;
}

qint64 GC_Ruler::longPeriod(qint64 period, int periodsPerBigLine)
{
    // A long period beyond any coordinate behaves as one that never comes.
    const qint64 farAway = qint64(1) << 50;
    const int periods = std::max(periodsPerBigLine, 1);
    return period < 1 || periods > farAway / period ? farAway : period * periods;
}

QList<GC_Ruler::Tick> GC_Ruler::ticks(int from, int to, qint64 lo, qint64 hi, qint64 period,
                                      int periodsPerBigLine, const QLocale &locale)
{
    QList<Tick> result;
    if (period < 1 || to < from)
        return result;
    const qint64 p = period;
    const qint64 farAway = qint64(1) << 50;
    const qint64 big = longPeriod(p, periodsPerBigLine);
    const qint64 start = std::max<qint64>(lo, from);
    const qint64 end = std::min<qint64>(hi, to);
    if (start > end + p)
        return result;
    qint64 t = start / p * p;
    qint64 nextBig = start / big * big;
    if (nextBig < t)
        nextBig += big;
    // start >= 1 and end <= INT_MAX: at most (end - start) / p + 2 steps.
    for (; t <= end + p; t += p) {
        Tick tick;
        tick.value = t;
        if (t == 0)
            tick.nucleotide = 1;
        else if (t >= to)
            tick.nucleotide = to;
        else if (t <= from)
            tick.nucleotide = from;
        else
            tick.nucleotide = int(t);
        const bool due = t == nextBig;
        tick.big = t == 0 || t >= to || t <= from || (due && t + p < to && t - p > from);
        // Only a multiple of the long period moves the next one on: the
        // ends are long whatever they are, and a due tick drawn short beside
        // an end still counts. So a tick is long or short by its value
        // alone, whichever part is repainted.
        if (due)
            nextBig = nextBig > farAway ? nextBig : nextBig + big;
        if (tick.big) {
            if (t == 0)
                tick.label = QStringLiteral("1");
            else if (t >= to)
                tick.label = locale.toString(to);
            else if (t > from)
                tick.label = locale.toString(t);
            else
                tick.label = locale.toString(from);
        }
        result.append(tick);
        // Later ticks would only repeat the end's, at the same place.
        if (t >= to)
            break;
    }
    return result;
}

QRectF GC_Ruler::boundingRect() const
{
    const GC_Genome *genome = getGenome();
    if (!genome)
        return QRectF(0, 0, 0, 0);
    QRectF rect = genome->boundingRect();
    switch (orientation) {
    case 0:
        rect.setTop(-heightBig);
        rect.setBottom(0);
        break;
    case 1:
        rect.setTop(-heightBig / 2.0);
        rect.setBottom(heightBig / 2.0);
        break;
    case 2:
        rect.setTop(0);
        rect.setBottom(heightBig);
        break;
    default:
        break;
    }
    if (textPlacement != 3) {
        const QRectF sample = labelSample();
        const double w = sample.width();
        const double h = sample.height();
        if (textPlacement == 0)
            rect.setTop(rect.top() - h);
        else if (textPlacement == 1)
            rect.setBottom(rect.bottom() + h);
        else if (textPlacement == 2 && heightBig < h) {
            rect.setTop(-h / 2.0);
            rect.setBottom(h / 2.0);
        }
        if (style == 0) {
            if (rect.width() < w) {
                const double c = std::trunc(rect.center().x());
                rect.setLeft(c - w / 2.0);
                rect.setRight(c + w / 2.0);
            }
        } else if (style == 1) {
            // Half a label width beyond each end.
            rect.adjust(-w / 2.0, 0.0, w / 2.0, 0.0);
        }
    }
    return rect;
}

void GC_Ruler::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    Q_UNUSED(widget);
    const GC_Genome *genome = getGenome();
    if (!genome)
        return;
    const int from = genome->getCoords().start();
    const int to = genome->getCoords().end();
    const bool forward = genome->getOrientation() == 1;

    QPen linePen(lineColor);
    if (isSelected())
        linePen.setStyle(Qt::DashLine);
    const QPen textPen(textColor);
    painter->setFont(textFont);
    painter->setPen(linePen);

    const QRectF sample = labelSample();
    const double w = sample.width();
    const double h = sample.height();

    // Visible nucleotides, widened by half a label so that the label of a
    // tick just outside still shows its visible part. Clamped before the
    // conversion to integers (the area may be far off the genome).
    QRectF area = GC_PaintArea::visibleRect(painter, option);
    if (area.isEmpty())
        return;
    area.adjust(-w / 2.0, 0.0, w / 2.0, 0.0);
    auto clampNuc = [from, to](double n) {
        if (!(n >= from - 1.0))
            return qint64(from) - 1;
        if (!(n <= to + 1.0))
            return qint64(to) + 1;
        return qint64(n);
    };
    const double nucLeft = genome->xToNuc(area.left());
    const double nucRight = genome->xToNuc(area.right());
    const qint64 lo = clampNuc(std::ceil(forward ? nucLeft : nucRight));
    const qint64 hi = clampNuc(std::floor(forward ? nucRight : nucLeft));

    if (horizontalLineVisible) {
        // From the first end's x to the other end's x less the first's, whole
        // pixels; worked out in reals (deeply zoomed they pass the int range)
        // and cut to the shown part.
        const double x1 = std::trunc(genome->nucToX(forward ? from : to));
        const double x2 = std::trunc(genome->nucToX(forward ? to : from)) - x1;
        const double left = std::max(std::min(x1, x2), area.left());
        const double right = std::min(std::max(x1, x2), area.right());
        if (left <= right)
            painter->drawLine(QLineF(left, 0.0, right, 0.0));
    }

    double labelY = sample.top();
    if (textPlacement == 0)
        labelY = -heightBig - h;
    else if (textPlacement == 1)
        labelY = heightBig;
    else if (textPlacement == 2)
        labelY = -h / 2.0;

    auto tickRange = [this](double length, double &top, double &bottom) {
        top = bottom = 0.0;
        if (orientation == 0)
            top = -length;
        else if (orientation == 1) {
            top = -length / 2.0;
            bottom = length / 2.0;
        } else if (orientation == 2)
            bottom = length;
    };
    double bigTop, bigBottom, smallTop, smallBottom;
    tickRange(heightBig, bigTop, bigBottom);
    tickRange(heightSmall, smallTop, smallBottom);

    const qint64 period = tickPeriod();
    const QList<Tick> scale = ticks(from, to, lo, hi, period, periodsPerBigLine);
    const double pixPerNuc = genome->getPixPerNuc();
    if (!m_labelRoom || !m_labelRoom->isFor(from, to, period, periodsPerBigLine, pixPerNuc, textFont))
        m_labelRoom = std::make_unique<GC_RulerLabelRoom>(from, to, period, periodsPerBigLine, pixPerNuc,
                                                          textFont);
    const GC_RulerLabelRoom &room = *m_labelRoom;
    for (const Tick &tick : scale) {
        const double x = genome->nucToX(tick.nucleotide);
        if (!tick.big) {
            painter->drawLine(QLineF(std::trunc(x), smallTop, std::trunc(x), smallBottom));
            continue;
        }
        painter->drawLine(QLineF(std::trunc(x), bigTop, std::trunc(x), bigBottom));
        if (!room.hasRoom(tick))
            continue;
        painter->setPen(textPen);
        painter->drawText(QRectF(x - w / 2.0, labelY, w, h), Qt::AlignCenter, tick.label);
        painter->setPen(linePen);
    }
}

void GC_Ruler::keyPressEvent(QKeyEvent *event)
{
    GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    if (!owner)
        return;
    if (event->key() == Qt::Key_Plus)
        setPeriodsPerBigLine(periodsPerBigLine == INT_MAX ? INT_MAX : periodsPerBigLine + 1);
    else if (event->key() == Qt::Key_Minus)
        setPeriodsPerBigLine(periodsPerBigLine - 1);
    else
        return;
    owner->itemChanged();
}

QVariant GC_Ruler::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}

// ---------------------------------------------------------------- canvas rows

QString GC_Ruler::sqlCreateTable()
{
    return QStringLiteral(
        "CREATE TABLE ruler ( genomeId INTEGER , y REAL , orientation INTEGER , textPlacement "
        "INTEGER , horizontalLineVisible INTEGER , style INTEGER , heightBig REAL , heightSmall "
        "REAL , nucsPerPeriod INTEGER , periodsPerBigLine INTEGER , pixsPerPeriod INTEGER , "
        "lineColor TEXT , textColor TEXT , textFont TEXT ) ");
}

QString GC_Ruler::sqlSelect()
{
    return QStringLiteral(
        "SELECT y , orientation , textPlacement , horizontalLineVisible , style , heightBig , "
        "heightSmall , nucsPerPeriod , periodsPerBigLine , pixsPerPeriod , lineColor , textColor "
        ", textFont FROM ruler WHERE genomeId = ?");
}

QString GC_Ruler::sqlInsert()
{
    return QStringLiteral(
        "INSERT INTO ruler ( genomeId , y , orientation , textPlacement , horizontalLineVisible , "
        "style , heightBig , heightSmall , nucsPerPeriod , periodsPerBigLine , pixsPerPeriod , "
        "lineColor , textColor , textFont )  VALUES ( ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , "
        "? , ? , ? ) ");
}

bool GC_Ruler::saveItem(QSqlQuery &query) const
{
    const GC_Genome *genome = getGenome();
    if (!genome)
        return true;
    if (!query.prepare(sqlInsert()))
        return false;
    query.addBindValue(genome->getId());
    query.addBindValue(y());
    query.addBindValue(orientation);
    query.addBindValue(textPlacement);
    query.addBindValue(horizontalLineVisible);
    query.addBindValue(style);
    query.addBindValue(heightBig);
    query.addBindValue(heightSmall);
    query.addBindValue(nucsPerPeriod);
    query.addBindValue(periodsPerBigLine);
    query.addBindValue(pixsPerPeriod);
    query.addBindValue(GC_CanvasValue::fromColor(lineColor));
    query.addBindValue(GC_CanvasValue::fromColor(textColor));
    query.addBindValue(GC_CanvasValue::fromFont(textFont));
    return query.exec();
}

void GC_Ruler::loadItem(const QSqlQuery &query)
{
    setY(query.value(0).toDouble());
    setOrientation(query.value(1).toInt());
    setTextPlacement(query.value(2).toInt());
    setHorizontalLineVisible(GC_CanvasValue::toBool(query.value(3)));
    setStyle(query.value(4).toInt());
    setHeightBig(query.value(5).toDouble());
    setHeightSmall(query.value(6).toDouble());
    setNucsPerPeriod(query.value(7).toInt());
    setPeriodsPerBigLine(query.value(8).toInt());
    setPixsPerPeriod(query.value(9).toInt());
    setLineColor(GC_CanvasValue::toColor(query.value(10), lineColor));
    setTextColor(GC_CanvasValue::toColor(query.value(11), textColor));
    setTextFont(GC_CanvasValue::toFont(query.value(12), textFont));
}
