#include "gc_coghomologies.h"

#include "gc_coggroupcolors.h"
#include "gc_cogmatching.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"

#include <QPainter>

#include <cstdlib>
#include <utility>

namespace {

const QString proteinQuery =
    QStringLiteral("SELECT code_cog, sequence_length from cog_proteins where id=?");
const QString categoryQuery =
    QStringLiteral("SELECT code_group from cog_orthologies_groups where code_cog=?");
const QString classQuery = QStringLiteral("SELECT class_id from cog_groups where code=?");

QString tableRow(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><td align=right width=100px><b>") + label
           + QStringLiteral("</b></td><td> ") + value + QStringLiteral("</td></tr>");
}

} // namespace

GC_CogHomologies::GC_CogHomologies()
    : GC_HomologyBar(QStringLiteral("Cluster of Orthologous Genes (COG) homologies"))
{
}

GC_CogHomologies::~GC_CogHomologies()
{
    qDeleteAll(m_matchings);
}

void GC_CogHomologies::setSuperCategoryVisible(int n, bool visible)
{
    if (n >= 1 && n <= 4)
        m_superCategoryVisible[n - 1] = visible;
}

bool GC_CogHomologies::isSuperCategoryVisible(int n) const
{
    return n >= 1 && n <= 4 && m_superCategoryVisible[n - 1];
}

void GC_CogHomologies::paintHits(QPainter *painter, const GC_Genome &genome, int low, int high)
{
    for (const GC_CogMatching *hit : m_matchings) {
        const int classId = hit->getClassId();
        if (classId >= 1 && classId <= 4 && !m_superCategoryVisible[classId - 1])
            continue;
        if (!(low < hit->getEnd() && hit->getStart() < high))
            continue;
        const double x1 = genome.nucToX(hit->getStart());
        const double x2 = genome.nucToX(hit->getEnd());
        painter->fillRect(QRectF(QPointF(x1, 0.0), QPointF(x2, height())).normalized(),
                          groupColor(hit->getGroupCode()));
    }
}

bool GC_CogHomologies::familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const
{
    return scene.showCogHomologies() && genome.getShowCogHomologies();
}

void GC_CogHomologies::clearMatchings()
{
    qDeleteAll(m_matchings);
    m_matchings.clear();
    clearPositionMap();
    clearLeftOutRows();
    update();
}

bool GC_CogHomologies::insertMatching(GC_CogMatching *matching)
{
    const int key = int(m_matchings.size());
    if (!indexZone(matching->getStart(), matching->getEnd(), key, "GC_CogHomologies::addCogMatching")) {
        delete matching;
        return false;
    }
    matching->setGenomeId(parentGenome()->getId());
    m_matchings.insert(key, matching);
    update();
    return true;
}

bool GC_CogHomologies::addCogMatching(int start, int end, int idCogProtein,
                                      const QString &cogCode, const QString &groupCode,
                                      int classId, double evalue, double bitscore)
{
    if (start >= end)
        std::swap(start, end);
    auto *matching = new GC_CogMatching();
    matching->setStart(start);
    matching->setEnd(end);
    matching->setIdCogProtein(idCogProtein);
    matching->setCogCode(cogCode);
    matching->setGroupCode(groupCode);
    matching->setClassId(classId);
    matching->setEvalue(evalue);
    matching->setBitscore(bitscore);
    return insertMatching(matching);
}

bool GC_CogHomologies::addCogMatching(int start, int end, int idCogProtein, double evalue,
                                      double bitscore)
{
    // The genome's range is marked uncovered before anything is looked up,
    // whether or not this hit is then placed.
    seedPositionMap();
    if (start >= end)
        std::swap(start, end);

    QString cogCode;
    qint64 proteinLength = 0;
    const QVariantList protein =
        GC_ReferenceLookup::firstRow(GC_ReferenceDatabases::Cog, proteinQuery, {idCogProtein});
    if (protein.size() < 2) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error: \"%1\" (id %2)").arg(proteinQuery).arg(idCogProtein);
    } else {
        cogCode = protein.at(0).toString();
        proteinLength = protein.at(1).toLongLong();
    }
    const QString groupCode =
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Cog, categoryQuery, {cogCode}).toString();
    const int classId =
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Cog, classQuery, {groupCode}).toInt();

    // A stored hit spanning twice its protein's coding length or more is no
    // true hit of it (the length is in amino acids).
    if (std::llabs(qint64(end) - start) >= 6 * proteinLength) {
        qCDebug(lcKestal).noquote() << QStringLiteral("addCogMatching 2 too large: %1, %2 -> cogprotein %3")
                                  .arg(start)
                                  .arg(end)
                                  .arg(idCogProtein);
        return false;
    }
    return addCogMatching(start, end, idCogProtein, cogCode, groupCode, classId, evalue, bitscore);
}

GC_CogMatching *GC_CogHomologies::matchingAtScene(double sceneX) const
{
    const int key = keyAt(sceneX);
    return key < 0 ? nullptr : m_matchings.value(key, nullptr);
}

GC_Interval GC_CogHomologies::matchingAt(double sceneX) const
{
    const GC_CogMatching *hit = matchingAtScene(sceneX);
    return hit ? GC_Interval(hit->getStart(), hit->getEnd()) : GC_Interval(0, 0);
}

QString GC_CogHomologies::matchingToolTip(double sceneX) const
{
    GC_CogMatching *hit = matchingAtScene(sceneX);
    if (!hit)
        return QString();
    const QString alignment =
        QStringLiteral("<tr><td colspan=2 align=center>(<b>Aln: </b>%1bp, <b>E-val:</b> %2, "
                       "<b>Bitscore:</b> %3)</td></tr></table></body></html>")
            .arg(std::abs(hit->getEnd() - hit->getStart()))
            .arg(QString::number(hit->getEvalue(), 'g', 1),
                 QString::number(hit->getBitscore(), 'g', 6));
    return QStringLiteral("<html><body><table cellpadding=0 cellspacing=2 "
                          "style='font: 10px sans-serif;'>")
           + tableRow(hit->getCogCode().toHtmlEscaped() + QStringLiteral(": "),
                      hit->getCogName().toHtmlEscaped())
           + tableRow(QStringLiteral("Group: "),
                      hit->getGroupName().toHtmlEscaped() + QStringLiteral(" (")
                          + hit->getGroupCode().toHtmlEscaped() + QStringLiteral(")"))
           + tableRow(QStringLiteral("Class: "), hit->getClassName().toHtmlEscaped() + QStringLiteral(" "))
           + alignment;
}

bool GC_CogHomologies::openDatabase()
{
    return GC_ReferenceDatabases::openCog();
}

QSqlDatabase GC_CogHomologies::database()
{
    return GC_ReferenceDatabases::database(GC_ReferenceDatabases::Cog);
}

QMap<QString, QColor> &GC_CogHomologies::cogGroupColors()
{
    return GC_CogGroupColors::cogGroupColors();
}

void GC_CogHomologies::loadGroupColors()
{
    GC_CogGroupColors::loadGroupColors();
}

void GC_CogHomologies::saveColorSettings()
{
    GC_CogGroupColors::saveColorSettings();
}

QColor GC_CogHomologies::groupColor(const QString &code) const
{
    return GC_CogGroupColors::groupColor(code);
}

void GC_CogHomologies::setGroupColor(const QString &code, const QColor &color)
{
    GC_CogGroupColors::setGroupColor(code, color);
    update();
}
