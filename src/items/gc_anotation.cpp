#include "gc_anotation.h"

#include "gc_anotationcontrolpoint.h"
#include "gc_anotationtext.h"
#include "gc_canvasvalue.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_style.h"

#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QStyleOptionGraphicsItem>
#include <QVariant>

#include <cmath>

GC_Anotation::GC_Anotation()
{
    label = new GC_AnotationText(this);
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    label->setY(0.0);
    label->setColor(Qt::black);
    setTextFont(QFont());
}

GC_Anotation::GC_Anotation(const GC_Anotation &other)
    : GC_Anotation()
{
    setFlags(other.flags());
    id = other.id;
    setPos(other.pos());
    setName(other.getName());
    setCoords(other.coords);
    setHeight(other.height);
    setTextY(other.getTextY());
    setTextAngle(other.getTextAngle());
    setTextPositionFlag(other.getTextPositionFlag());
    setLineColor(other.lineColor);
    setFillColor(other.fillColor);
    setTextColor(other.getTextColor());
    setTextFont(other.getTextFont());
    setShowText(other.showText);
}

GC_Anotation::~GC_Anotation() = default;

GC_Genome *GC_Anotation::getGenome() const
{
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
}

QRectF GC_Anotation::boundingRect() const
{
    const GC_Genome *genome = getGenome();
    if (!genome)
        return QRectF();
    const double x1 = genome->nucStartX(coords.start());
    const double x2 = genome->nucEndX(coords.end());
    return QRectF(std::min(x1, x2), -height / 2.0, std::abs(x2 - x1), height);
}

void GC_Anotation::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                         QWidget *widget)
{
    Q_UNUSED(widget);
    painter->fillRect(option->exposedRect,
                      QBrush(fillColor, isSelected() ? Qt::Dense4Pattern : Qt::SolidPattern));
}

QColor GC_Anotation::getTextColor() const
{
    return label->color();
}

QString GC_Anotation::getName() const
{
    return label->text();
}

double GC_Anotation::getTextY() const
{
    return label->y();
}

double GC_Anotation::getTextAngle() const
{
    return label->angle();
}

int GC_Anotation::getTextPositionFlag() const
{
    return label->positionFlag();
}

QFont GC_Anotation::getTextFont() const
{
    return label->font();
}

void GC_Anotation::setName(const QString &name)
{
    if (name == label->text())
        return;
    setToolTip(name);
    label->setText(name);
    placeText();
}

void GC_Anotation::setCoords(const GC_Interval &range)
{
    if (range == coords)
        return;
    prepareGeometryChange();
    coords = range;
    placeControlPoints();
    placeText();
}

void GC_Anotation::setHeight(double value)
{
    if (value < 0)
        value = 0;
    if (value == height)
        return;
    prepareGeometryChange();
    height = value;
}

void GC_Anotation::setShowText(bool value)
{
    if (value == showText)
        return;
    showText = value;
    label->updateVisibility();
}

void GC_Anotation::setLineColor(const QColor &color)
{
    if (color == lineColor)
        return;
    lineColor = color;
    update();
}

void GC_Anotation::setFillColor(const QColor &color)
{
    if (color == fillColor)
        return;
    fillColor = color;
    update();
}

void GC_Anotation::setTextColor(const QColor &color)
{
    label->setColor(color);
}

void GC_Anotation::setTextY(double y)
{
    label->setY(y);
}

void GC_Anotation::setTextAngle(double angle)
{
    label->setAngle(angle);
}

void GC_Anotation::setTextPositionFlag(int flag)
{
    label->setPositionFlag(flag);
}

void GC_Anotation::setTextFont(const QFont &font)
{
    if (font == label->font())
        return;
    label->setFont(font);
    placeText();
}

void GC_Anotation::applyStyle(const GC_Style &style, bool force)
{
    if (force || style.applyAnotationY)
        setY(style.anotationY);
    if (force || style.applyAnotationHeight)
        setHeight(style.anotationHeight);
    if (force || style.applyAnotationShowText)
        setShowText(style.anotationShowText);
    if (force || style.applyAnotationTextY)
        setTextY(style.anotationTextY);
    if (force || style.applyAnotationTextAngle)
        setTextAngle(style.anotationTextAngle);
    if (force || style.applyAnotationTextPositionFlag)
        setTextPositionFlag(style.anotationTextPositionFlag);
    if (force || style.applyAnotationLineColor)
        setLineColor(style.anotationLineColor);
    if (force || style.applyAnotationFillColor)
        setFillColor(style.anotationFillColor);
    if (force || style.applyAnotationTextColor)
        setTextColor(style.anotationTextColor);
    if (force || style.applyAnotationTextFont)
        setTextFont(style.anotationTextFont);
}

void GC_Anotation::updateGeometry()
{
    prepareGeometryChange();
    placeControlPoints();
    placeText();
}

void GC_Anotation::placeText()
{
    const QRectF box = boundingRect();
    label->setX(box.left() + 0.5 * box.width());
}

void GC_Anotation::placeControlPoints()
{
    handles.place(getGenome(), coords);
}

void GC_Anotation::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    const GC_Genome *genome = getGenome();
    if (!owner || !genome)
        return;
    setVisible(owner->showAnotations() && genome->getShowAnotations());
}

void GC_Anotation::updateTextVisibility()
{
    label->updateVisibility();
}

void GC_Anotation::updateControlPointsVisibility()
{
    handles.updateVisibility(this);
}

double GC_Anotation::boundControlPointX(GC_AnotationControlPoint *handle, double x) const
{
    return handles.bound(getGenome(), handle, x);
}

void GC_Anotation::controlPointMoved(GC_AnotationControlPoint *handle)
{
    setCoords(handles.dragged(getGenome(), handle, coords));
}

QVariant GC_Anotation::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (scene()) {
        if (change == ItemPositionChange)
            return QPointF(0.0, value.toPointF().y());
        if (change == ItemSelectedHasChanged) {
            if (handles.followSelection<GC_AnotationControlPoint>(this, value.toBool(), coords))
                placeText();
            return value;
        }
        // One that arrives on a canvas obeys its switches at once, like
        // those already there.
        if (change == ItemSceneHasChanged || change == ItemParentHasChanged) {
            updateVisibility();
            updateTextVisibility();
        }
    }
    return QGraphicsItem::itemChange(change, value);
}

// ---------------------------------------------------------------- canvas rows

QString GC_Anotation::sqlCreateTable()
{
    return QStringLiteral(
        "CREATE TABLE anotations ( id INTEGER , genomeId INTEGER , y REAL , name TEXT , nucfrom "
        "INTEGER , nucto INTEGER , height REAL , showText INTEGER , textY REAL , textAngle REAL , "
        "textPositionFlag INTEGER , lineColor TEXT , fillColor TEXT , textColor TEXT , textFont "
        "TEXT ) ;");
}

QString GC_Anotation::sqlSelect()
{
    return QStringLiteral(
        "SELECT id , y , name , nucfrom , nucto , height , showText , textY , textAngle , "
        "textPositionFlag , lineColor , fillColor , textColor , textFont FROM anotations WHERE "
        "genomeId = ? ");
}

QString GC_Anotation::sqlInsert()
{
    return QStringLiteral(
        "INSERT INTO anotations ( id , genomeId , y , name , nucfrom , nucto , height , showText , "
        "textY , textAngle , textPositionFlag , lineColor , fillColor , textColor , textFont ) "
        "VALUES ( ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? ) ");
}

bool GC_Anotation::saveItem(QSqlQuery &query) const
{
    const GC_Genome *genome = getGenome();
    if (!genome)
        return true;
    // Consecutive annotations share one prepared statement.
    const QString insert = sqlInsert();
    if (query.lastQuery() != insert && !query.prepare(insert)) {
        qCDebug(lcKestal).noquote() << "GC_Anotation::saveItem::Fail" << query.lastError().text();
        return false;
    }
    query.addBindValue(id);
    query.addBindValue(genome->getId());
    query.addBindValue(y());
    query.addBindValue(getName().isNull() ? QString("") : getName());
    query.addBindValue(coords.start());
    query.addBindValue(coords.end());
    query.addBindValue(height);
    query.addBindValue(showText);
    query.addBindValue(getTextY());
    query.addBindValue(getTextAngle());
    query.addBindValue(getTextPositionFlag());
    query.addBindValue(GC_CanvasValue::fromColor(lineColor));
    query.addBindValue(GC_CanvasValue::fromColor(fillColor));
    query.addBindValue(GC_CanvasValue::fromColor(getTextColor()));
    query.addBindValue(GC_CanvasValue::fromFont(getTextFont()));
    if (query.exec()) {
        qCDebug(lcKestal) << "GC_Anotation::saveItem::Success";
        return true;
    }
    qCDebug(lcKestal).noquote() << "GC_Anotation::saveItem::Fail" << query.lastError().text();
    return false;
}

void GC_Anotation::loadItem(const QSqlQuery &query)
{
    id = query.value(0).toInt();
    setY(query.value(1).toDouble());
    setName(query.value(2).toString());
    setCoords(GC_Interval(query.value(3).toInt(), query.value(4).toInt()));
    setHeight(query.value(5).toDouble());
    setShowText(GC_CanvasValue::toBool(query.value(6)));
    setTextY(query.value(7).toDouble());
    setTextAngle(query.value(8).toDouble());
    setTextPositionFlag(query.value(9).toInt());
    setLineColor(GC_CanvasValue::toColor(query.value(10), lineColor));
    setFillColor(GC_CanvasValue::toColor(query.value(11), fillColor));
    setTextColor(GC_CanvasValue::toColor(query.value(12), getTextColor()));
    setTextFont(GC_CanvasValue::toFont(query.value(13), getTextFont()));
}
