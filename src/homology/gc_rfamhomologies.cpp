#include "gc_rfamhomologies.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rfammatching.h"

#include <QDebug>
#include <QGraphicsView>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Hover zones: searched hits at least this wide, stored hits half as wide.
const int searchedZone = 200;
const int storedZone = 100;

QMap<QString, QColor> &codeColors()
{
    static QMap<QString, QColor> colors;
    return colors;
}

QMap<QString, bool> &hiddenCodes()
{
    static QMap<QString, bool> codes;
    return codes;
}

QString infoRow(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><td align=right><b>") + label + QStringLiteral("</b></td><td>: ")
           + value.toHtmlEscaped() + QStringLiteral("</td></tr>");
}

} // namespace

GC_RfamHomologies::GC_RfamHomologies()
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemUsesExtendedStyleOption | ItemIsFocusable
             | ItemSendsGeometryChanges);
    setCacheMode(ItemCoordinateCache);
    setHeight(20.0);
    setToolTip(QStringLiteral("RFAM homologies"));
}

GC_RfamHomologies::~GC_RfamHomologies()
{
    qDeleteAll(m_matchings);
}

GC_Genome *GC_RfamHomologies::parentGenome() const
{
    QGraphicsItem *parent = parentItem();
    return parent && parent->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(parent)
                                                         : nullptr;
}

void GC_RfamHomologies::setHeight(double h)
{
    h = std::max(h, 5.0);
    if (h == m_height)
        return;
    prepareGeometryChange();
    m_height = h;
    update();
}

void GC_RfamHomologies::setHorizontalBorders(bool on)
{
    if (on == m_horizontalBorders)
        return;
    m_horizontalBorders = on;
    update();
}

QRectF GC_RfamHomologies::boundingRect() const
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

void GC_RfamHomologies::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
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

    if (m_horizontalBorders) {
        const double left = genome->getVisibleLeftX();
        const double right = genome->getVisibleRightX();
        painter->drawLine(QLineF(left, m_height, right, m_height));
        painter->drawLine(QLineF(left, 0.0, right, 0.0));
    }
    painter->setPen(Qt::NoPen);
    for (const GC_RfamMatching *hit : m_matchings) {
        if (!(low < hit->getEnd() && high > hit->getStart()))
            continue;
        const QString code = hit->getRfamCode();
        if (isCodeHidden(code))
            continue;
        // Whole pixels outwards, so a short hit stays visible; min/max keep
        // that true on a reversed genome too.
        const double x1 = genome->nucToX(hit->getStart());
        const double x2 = genome->nucToX(hit->getEnd());
        const double left = std::floor(std::min(x1, x2));
        const double right = std::ceil(std::max(x1, x2));
        painter->fillRect(QRectF(left, 0.0, right - left, m_height), getColor(code));
    }
}

QVariant GC_RfamHomologies::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return QPointF(x(), value.toPointF().y());
    return QGraphicsItem::itemChange(change, value);
}

void GC_RfamHomologies::updateVisibility()
{
    GC_GenomeScene *genomeScene = qobject_cast<GC_GenomeScene *>(scene());
    GC_Genome *genome = parentGenome();
    if (!genomeScene || !genome)
        return;
    setVisible(genomeScene->showRfamHomologies() && genome->getShowRfamHomologies());
}

void GC_RfamHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    m_positionMap.clear();
    m_codeCounts.clear();
    update();
}

bool GC_RfamHomologies::insertMatching(GC_RfamMatching *matching, int minimumZone)
{
    const GC_Genome *genome = parentGenome();
    const int key = int(m_matchings.size());
    const auto zone = GC_PositionIndex::hoverZone(matching->getStart(), matching->getEnd(), minimumZone);
    if (!genome || !m_positionMap.addZone(genome->getCoords(), zone.first, zone.second, key)) {
        qDebug().noquote() << QStringLiteral("GC_RfamHomologies::addRfamMatching(): hit %1..%2 "
                                             "cannot be placed on this bar")
                                  .arg(matching->getStart())
                                  .arg(matching->getEnd());
        delete matching;
        return false;
    }
    matching->setGenomeId(genome->getId());
    m_matchings.insert(key, matching);
    ++m_codeCounts[matching->getRfamCode()];
    update();
    return true;
}

bool GC_RfamHomologies::addRfamMatching(int start, int end, int rfamSeqId, const QString &rfamCode,
                                        double evalue, float bitscore)
{
    if (start >= end)
        std::swap(start, end);
    auto *matching = new GC_RfamMatching();
    matching->setStart(start);
    matching->setEnd(end);
    matching->setRfamSeqId(rfamSeqId);
    matching->setRfamCode(rfamCode);
    matching->setEvalue(evalue);
    matching->setBitscore(bitscore);
    return insertMatching(matching, searchedZone);
}

bool GC_RfamHomologies::addRfamMatching(int start, int end, int rfamSeqId, double evalue,
                                        float bitscore)
{
    if (start >= end)
        std::swap(start, end);
    bool found = false;
    const QString code = GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rfam,
                                                        QStringLiteral("SELECT code_rfam from rfam_seqs where id=?"),
                                                        {rfamSeqId}, &found)
                             .toString();
    if (!found) {
        qWarning().noquote() << QStringLiteral("Error querying RFAM db (sequence %1)").arg(rfamSeqId);
        return false;
    }
    auto *matching = new GC_RfamMatching();
    matching->setStart(start);
    matching->setEnd(end);
    matching->setRfamSeqId(rfamSeqId);
    matching->setRfamCode(code);
    matching->setEvalue(evalue);
    matching->setBitscore(bitscore);
    return insertMatching(matching, storedZone);
}

GC_RfamMatching *GC_RfamHomologies::matchingAtScene(double sceneX) const
{
    const GC_Genome *genome = parentGenome();
    if (!genome || m_positionMap.isEmpty())
        return nullptr;
    const double position = std::floor(genome->xToNuc(sceneX - scenePos().x()));
    if (!(position >= m_positionMap.firstPosition() && position <= m_positionMap.lastPosition()))
        return nullptr;
    const int key = m_positionMap.value(int(position));
    return key < 0 ? nullptr : m_matchings.value(key, nullptr);
}

GC_Interval GC_RfamHomologies::matchingAt(double sceneX) const
{
    const GC_RfamMatching *hit = matchingAtScene(sceneX);
    return hit ? hit->interval() : GC_Interval(0, 0);
}

QString GC_RfamHomologies::getToolTip(double sceneX) const
{
    GC_RfamMatching *hit = matchingAtScene(sceneX);
    return hit ? hit->getToolTip() : QString();
}

bool GC_RfamHomologies::openDatabase()
{
    return GC_ReferenceDatabases::openRfam();
}

QSqlDatabase GC_RfamHomologies::database()
{
    return GC_ReferenceDatabases::database(GC_ReferenceDatabases::Rfam);
}

QColor GC_RfamHomologies::getColor(const QString &code)
{
    return codeColors().value(code, QColor(Qt::black));
}

void GC_RfamHomologies::setCodeColor(const QString &code, const QColor &color)
{
    codeColors().insert(code, color);
}

bool GC_RfamHomologies::isCodeHidden(const QString &code)
{
    return hiddenCodes().contains(code);
}

void GC_RfamHomologies::setCodeVisible(const QString &code, bool visible)
{
    if (visible)
        hiddenCodes().remove(code);
    else
        hiddenCodes().insert(code, true);
}

QString GC_RfamHomologies::getRfamName(const QString &code)
{
    bool found = false;
    const QVariant name = GC_ReferenceLookup::firstValue(
        GC_ReferenceDatabases::Rfam, QStringLiteral("SELECT name from rfam_groups where code=?"), {code},
        &found);
    return found ? name.toString() : QStringLiteral("Error");
}

QString GC_RfamHomologies::getRfamInfoHtml(const QString &code)
{
    const QVariantList row = GC_ReferenceLookup::firstRow(
        GC_ReferenceDatabases::Rfam,
        QStringLiteral("SELECT name, description from rfam_groups where code=?"), {code});
    if (row.size() < 2)
        return QStringLiteral("<p>Error trying to get information of RFAM: %1</p>").arg(code.toHtmlEscaped());
    QString html = QStringLiteral("<table cellpadding=1 cellspacing=1 width=100%>");
    html += infoRow(QStringLiteral("RFAM code"), code);
    html += infoRow(QStringLiteral("RFAM name"), row.at(0).toString());
    const QString description = row.at(1).toString();
    if (!description.isEmpty())
        html += infoRow(QStringLiteral("RFAM description"), description);
    html += QStringLiteral("</table>");
    return html;
}
