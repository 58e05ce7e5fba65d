#include "gc_freetext.h"

#include "gc_canvasvalue.h"
#include "gc_genomescene.h"
#include "gc_style.h"

#include <QBrush>
#include <QSqlQuery>
#include <QVariant>

GC_FreeText::GC_FreeText()
    : GC_LabelItem(nullptr)
{
    setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
    setZValue(2.0);
}

void GC_FreeText::updateVisibility()
{
    const GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    setVisible(owner && owner->showFreeTexts());
}

void GC_FreeText::setStyle(const GC_Style &style, bool all)
{
    if (all || style.applyFreeTextColor)
        setColor(style.freeTextColor);
    if (all || style.applyFreeTextFont)
        setFont(style.freeTextFont);
    if (all || style.applyFreeTextX)
        setX(style.freeTextX);
    if (all || style.applyFreeTextY)
        setY(style.freeTextY);
    if (all || style.applyFreeTextAngle)
        setAngle(style.freeTextAngle);
    if (all || style.applyFreeTextPositionFlag)
        setPositionFlag(style.freeTextPositionFlag);
}

QString GC_FreeText::sqlCreateTable()
{
    return "CREATE TABLE freetext( x REAL, y REAL, color TEXT, font TEXT, angle REAL, "
           "positionFlag INTEGER, text TEXT )";
}

QString GC_FreeText::sqlSelect()
{
    return "SELECT x, y, color, font, angle, positionFlag, text FROM freetext";
}

QString GC_FreeText::sqlInsert()
{
    return "INSERT INTO freetext( x, y, color, font, angle, positionFlag, text ) "
           "VALUES ( ? , ? , ? , ? , ? , ? , ?)";
}

bool GC_FreeText::saveToDb(QSqlQuery &query) const
{
    const QString insert = sqlInsert();
    if (query.lastQuery() != insert && !query.prepare(insert))
        return false;
    query.addBindValue(x());
    query.addBindValue(y());
    query.addBindValue(color().name());
    query.addBindValue(font().toString());
    query.addBindValue(angle());
    query.addBindValue(positionFlag());
    // An empty text is stored as an empty string, not as NULL.
    query.addBindValue(text().isNull() ? QString("") : text());
    return query.exec();
}

void GC_FreeText::loadFromQuery(const QSqlQuery &query)
{
    setX(query.value(0).toDouble());
    setY(query.value(1).toDouble());
    setColor(GC_CanvasValue::toColor(query.value(2), color()));
    setFont(GC_CanvasValue::toFont(query.value(3), font()));
    setAngle(query.value(4).toDouble());
    setPositionFlag(query.value(5).toInt());
    setText(query.value(6).toString());
}
