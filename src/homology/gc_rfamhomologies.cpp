#include "gc_rfamhomologies.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rfammatching.h"

#include <QPainter>

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
    : GC_HomologyBar(QStringLiteral("RFAM homologies"))
{
}

GC_RfamHomologies::~GC_RfamHomologies()
{
    qDeleteAll(m_matchings);
}

bool GC_RfamHomologies::drawsBorders() const
{
    return m_horizontalBorders;
}

void GC_RfamHomologies::setHorizontalBorders(bool on)
{
    if (on == m_horizontalBorders)
        return;
    m_horizontalBorders = on;
    update();
}

void GC_RfamHomologies::paintHits(QPainter *painter, const GC_Genome &genome, int low, int high)
{
    for (const GC_RfamMatching *hit : m_matchings) {
        if (!(low < hit->getEnd() && high > hit->getStart()))
            continue;
        const QString code = hit->getRfamCode();
        if (isCodeHidden(code))
            continue;
        painter->fillRect(pixelBox(genome, hit->getStart(), hit->getEnd()), getColor(code));
    }
}

bool GC_RfamHomologies::familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const
{
    return scene.showRfamHomologies() && genome.getShowRfamHomologies();
}

void GC_RfamHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    clearPositionMap();
    clearLeftOutRows();
    m_codeCounts.clear();
    update();
}

bool GC_RfamHomologies::insertMatching(GC_RfamMatching *matching, int minimumZone)
{
    const int key = int(m_matchings.size());
    const auto zone = GC_PositionIndex::hoverZone(matching->getStart(), matching->getEnd(), minimumZone);
    if (!indexZone(zone.first, zone.second, key, "GC_RfamHomologies::addRfamMatching")) {
        delete matching;
        return false;
    }
    matching->setGenomeId(parentGenome()->getId());
    m_matchings.insert(key, matching);
    ++m_codeCounts[matching->getRfamCode()];
    update();
    return true;
}

bool GC_RfamHomologies::addRfamMatching(int start, int end, int rfamSeqId, const QString &rfamCode,
                                        double evalue, double bitscore)
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
                                        double bitscore)
{
    if (start >= end)
        std::swap(start, end);
    bool found = false;
    const QString code = GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rfam,
                                                        QStringLiteral("SELECT code_rfam from rfam_seqs where id=?"),
                                                        {rfamSeqId}, &found)
                             .toString();
    if (!found) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error querying RFAM db (sequence %1)").arg(rfamSeqId);
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
    const int key = keyAt(sceneX);
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
