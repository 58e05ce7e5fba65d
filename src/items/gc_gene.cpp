#include "gc_gene.h"

#include "gc_canvasvalue.h"
#include "gc_genecontrolpoint.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_rowinsert.h"
#include "gc_style.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>


GC_Gene::GC_Gene()
    : GC_SequenceArrowItem(nullptr)
{
    setFillColor(QColor(205, 127, 50, 255));
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    setName(QString());
    GC_SequenceArrowItem::setHeightBig(13.0);
    setHeadLength(8.0);
    GC_SequenceArrowItem::setHeightSmall(10.0);
}

GC_Gene::GC_Gene(const GC_Gene &other)
    : GC_SequenceArrowItem(other)
{
    setFlags(other.flags());
    id = other.id;
    setName(other.name);
    note = other.note;
    locusTag = other.locusTag;
    metadata = other.metadata;
    coords = other.coords;
    orientation = other.orientation;
    showText = other.showText;
}

GC_Gene::~GC_Gene() = default;

GC_Genome *GC_Gene::getGenome() const
{
    return gc_parentItemOfType<GC_Genome>(this, ITEMTYPE_GENOME);
}

qreal GC_Gene::getArrowStartX() const
{
    const GC_Genome *genome = getGenome();
    return genome ? genome->nucStartX(coords.start()) : 0.0;
}

qreal GC_Gene::getArrowEndX() const
{
    const GC_Genome *genome = getGenome();
    return genome ? genome->nucEndX(coords.end()) : 0.0;
}

void GC_Gene::setName(const QString &text)
{
    setToolTip(text);
    name = text;
}

void GC_Gene::setCoords(const GC_Interval &range)
{
    if (range == coords)
        return;
    prepareGeometryChange();
    coords = range;
    placeControlPoints();
}

void GC_Gene::setOrientation(int value)
{
    if (value == orientation)
        return;
    orientation = value;
    update();
    placeControlPoints();
}

void GC_Gene::setFromTo(int from, int to)
{
    setOrientation(from <= to ? 1 : -1);
    setCoords(GC_Interval(from, to));
}

void GC_Gene::invertOrientation()
{
    setOrientation(orientation == -1 ? 1 : -1);
}

void GC_Gene::applyStyle(const GC_Style &style, bool force)
{
    if (force || style.applyGeneY)
        setY(style.geneY);
    if (force || style.applyGeneOrientation)
        setOrientation(style.geneOrientation);
    if (force || style.applyGeneShowText)
        setShowText(style.geneShowText);
    if (force || style.applyGeneHeightBig)
        setHeightBig(style.geneHeightBig);
    if (force || style.applyGeneHeightSmall)
        setHeightSmall(style.geneHeightSmall);
    if (force || style.applyGeneHeadLength)
        setHeadLength(style.geneHeadLength);
    if (force || style.applyGeneLineColor)
        setLineColor(style.geneLineColor);
    if (force || style.applyGeneFillColor)
        setFillColor(style.geneFillColor);
    if (force || style.applyGeneArrowStyle)
        setArrowStyle(style.geneArrowStyle);
}

void GC_Gene::updateGeometry()
{
    prepareGeometryChange();
    invalidateShape();
    placeControlPoints();
}

void GC_Gene::updateVisibility()
{
    GC_GenomeScene *owner = qobject_cast<GC_GenomeScene *>(scene());
    GC_Genome *genome = getGenome();
    if (!owner || !genome)
        return;
    setVisible(owner->showGenes() && genome->getShowGenes());
}

void GC_Gene::updateControlPointsVisibility()
{
    handles.updateVisibility(this);
}

bool GC_Gene::overlaps(const GC_Gene *other) const
{
    return other && coords.overlaps(other->coords);
}

// ---------------------------------------------------------------- handles

GC_GeneControlPoint *GC_Gene::getStartHandle() const
{
    return static_cast<GC_GeneControlPoint *>(handles.start());
}

GC_GeneControlPoint *GC_Gene::getEndHandle() const
{
    return static_cast<GC_GeneControlPoint *>(handles.end());
}

void GC_Gene::placeControlPoints()
{
    handles.place(getGenome(), coords);
}

double GC_Gene::boundControlPointX(GC_GeneControlPoint *handle, double x) const
{
    return handles.bound(getGenome(), handle, x);
}

void GC_Gene::controlPointMoved(GC_GeneControlPoint *handle)
{
    setCoords(handles.dragged(getGenome(), handle, coords));
}

QVariant GC_Gene::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (scene()) {
        if (change == ItemPositionChange)
            return QPointF(x(), value.toPointF().y());
        if (change == ItemSelectedHasChanged) {
            handles.followSelection<GC_GeneControlPoint>(this, value.toBool(), coords);
            return value;
        }
    }
    return GC_SequenceArrowItem::itemChange(change, value);
}

// ---------------------------------------------------------------- canvas rows

QString GC_Gene::sqlCreateTable()
{
    return QStringLiteral(
        "CREATE TABLE genes ( id INTEGER , genomeId INTEGER  , y REAL , name TEXT , nucfrom "
        "INTEGER , nucto INTEGER , orientation INTEGER , showText INTEGER , heightBig REAL , "
        "heightSmall REAL , headLength REAL , lineColor TEXT , fillColor TEXT , arrowStyle "
        "INTEGER, note TEXT, locusTag TEXT, metadata TEXT )");
}

QString GC_Gene::sqlSelect()
{
    return QStringLiteral(
        "SELECT id , y , name , nucfrom , nucto , orientation , showText , heightBig , "
        "heightSmall, headLength , lineColor , fillColor , arrowStyle, note, locusTag, metadata "
        "FROM genes WHERE genomeId = ?");
}

namespace {

const GC_RowInsert &geneInsert()
{
    static const GC_RowInsert insert(QStringLiteral("genes"),
                                     {"id", "genomeId", "y", "name", "nucfrom", "nucto", "orientation",
                                      "showText", "heightBig", "heightSmall", "headLength", "lineColor",
                                      "fillColor", "arrowStyle", "note", "locusTag", "metadata"});
    return insert;
}

} // namespace

QString GC_Gene::sqlInsert()
{
    return geneInsert().statement();
}

bool GC_Gene::saveItem(QSqlQuery &query) const
{
    const GC_Genome *genome = getGenome();
    if (!genome)
        return true;
    const QString insert = sqlInsert();
    if (query.lastQuery() != insert && !query.prepare(insert)) {
        qCDebug(lcKestal).noquote() << "GC_Gene::saveItem::Fail " << query.lastError().text();
        return false;
    }
    geneInsert().bind(query, {id, genome->getId(), y(), name, coords.start(), coords.end(), orientation,
                              showText, heightBig, heightSmall, headLength, lineColor.name(),
                              fillColor.name(), arrowStyle, note, locusTag, metadata});
    if (query.exec())
        return true;
    qCDebug(lcKestal).noquote() << "GC_Gene::saveItem::Fail " << query.lastError().text();
    return false;
}

void GC_Gene::loadItem(const QSqlQuery &query)
{
    id = query.value(0).toInt();
    setY(query.value(1).toDouble());
    setName(query.value(2).toString());
    setCoords(GC_Interval(query.value(3).toInt(), query.value(4).toInt()));
    // The reader lets only 1, -1 and a missing value (forward) through.
    setOrientation(query.value(5).toInt() == -1 ? -1 : 1);
    showText = GC_CanvasValue::toBool(query.value(6));
    setHeightBig(query.value(7).toDouble());
    setHeightSmall(query.value(8).toDouble());
    setHeadLength(query.value(9).toDouble());
    setLineColor(GC_CanvasValue::toColor(query.value(10), lineColor));
    setFillColor(GC_CanvasValue::toColor(query.value(11), fillColor));
    setArrowStyle(query.value(12).toInt());
    note = query.value(13).toString();
    locusTag = query.value(14).toString();
    metadata = query.value(15).toString();
}
