#include "gc_genomerows.h"

#include "gc_anotation.h"
#include "gc_canvasrowcounter.h"
#include "gc_canvasvalue.h"
#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomesource.h"
#include "gc_rfamhomologies.h"
#include "gc_rfammatching.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnamatching.h"
#include "gc_ruler.h"

#include <QDebug>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

bool fail(QString *errorText, const QString &what, const QSqlQuery &query)
{
    if (errorText)
        *errorText = QStringLiteral("%1: %2").arg(what, query.lastError().text());
    return false;
}

// Writes the hits a bar holds, under the genome's id, stepping the counter
// before each.
template<typename Map>
bool writeHits(const Map &hits, int genomeId, QSqlQuery &query, int &rowCounter,
               QString *errorText)
{
    for (const auto *hit : hits) {
        if (!GC_CanvasRowCounter::commitEvery1000(query, rowCounter, errorText))
            return false;
        if (!hit->saveItem(query, genomeId))
            return fail(errorText, QStringLiteral("writing a homology hit"), query);
    }
    return true;
}

} // namespace

QString GC_GenomeRows::createTableSql()
{
    return QStringLiteral(
        "CREATE TABLE genomes ( id INTEGER , place INTEGER , x REAL , y REAL , name TEXT , nucfrom "
        "INTEGER , nucto INTEGER , orientation INTEGER , pixPerNuc REAL , dnaSequence TEXT , "
        "showGenes INTEGER , showAnotations INTEGER , showMatchings INTEGER , showRuler INTEGER , "
        "showText INTEGER , textColor TEXT , textFont TEXT , textX INTEGER , textY INTEGER , "
        "textAngle REAL , textPositionFlag REAL , heightBig REAL , heightSmall REAL , headLength "
        "REAL , lineColor TEXT , fillColor TEXT , arrowStyle INTEGER , visible INTEGER )");
}

QString GC_GenomeRows::selectSql()
{
    return QStringLiteral(
        "SELECT id , place , x , y , name , nucfrom , nucto , orientation , pixPerNuc , showGenes "
        ", showAnotations , showMatchings , showRuler , showText , textColor , textFont , textX , "
        "textY , textAngle , textPositionFlag , heightBig , heightSmall , headLength , lineColor "
        ", fillColor , arrowStyle , visible , dnaSequence FROM genomes");
}

QString GC_GenomeRows::insertSql()
{
    return QStringLiteral(
        "INSERT INTO genomes ( id , place , x , y , name , nucfrom , nucto , orientation , "
        "pixPerNuc , dnaSequence , showGenes , showAnotations , showMatchings , showRuler , "
        "showText , textColor , textFont , textX , textY , textAngle , textPositionFlag , "
        "heightBig , heightSmall , headLength , lineColor , fillColor , arrowStyle , visible ) "
        "VALUES ( ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , "
        "? , ? , ? , ? , ? , ? , ? , ? )");
}

bool GC_GenomeRows::save(const GC_Genome &genome, QSqlQuery &query, int place, int &rowCounter,
                         QString *errorText)
{
    if (!query.prepare(insertSql()))
        return fail(errorText, QStringLiteral("preparing the genome row"), query);
    query.addBindValue(genome.getId());
    query.addBindValue(place);
    query.addBindValue(genome.x());
    query.addBindValue(genome.y());
    query.addBindValue(genome.getName());
    query.addBindValue(genome.getCoords().start());
    query.addBindValue(genome.getCoords().end());
    query.addBindValue(genome.getOrientation());
    query.addBindValue(genome.getPixPerNuc());
    // An empty sequence is stored as "", not NULL.
    const QString sequence = genome.getDnaSequence();
    query.addBindValue(sequence.isNull() ? QString("") : sequence);
    query.addBindValue(genome.getShowGenes());
    query.addBindValue(genome.getShowAnotations());
    query.addBindValue(genome.getShowMatchings());
    query.addBindValue(genome.getShowRuler());
    query.addBindValue(genome.getShowText());
    query.addBindValue(GC_CanvasValue::fromColor(genome.getTextColor()));
    query.addBindValue(GC_CanvasValue::fromFont(genome.getTextFont()));
    query.addBindValue(genome.getTextX());
    query.addBindValue(genome.getTextY());
    query.addBindValue(genome.getTextAngle());
    query.addBindValue(genome.getTextPositionFlag());
    query.addBindValue(double(genome.getHeightBig()));
    query.addBindValue(double(genome.getHeightSmall()));
    query.addBindValue(double(genome.getHeadLength()));
    query.addBindValue(GC_CanvasValue::fromColor(genome.getLineColor()));
    query.addBindValue(GC_CanvasValue::fromColor(genome.getFillColor()));
    query.addBindValue(genome.getArrowStyle());
    query.addBindValue(genome.isVisible());
    if (!query.exec())
        return fail(errorText, QStringLiteral("writing the genome row of %1").arg(genome.getName()),
                    query);

    if (!genome.getRuler()->saveItem(query))
        return fail(errorText, QStringLiteral("writing the ruler row"), query);

    for (const GC_Gene *gene : genome.getGenes()) {
        if (!GC_CanvasRowCounter::commitEvery1000(query, rowCounter, errorText))
            return false;
        if (!gene->saveItem(query))
            return fail(errorText, QStringLiteral("writing a gene row"), query);
    }
    for (const GC_Anotation *anotation : genome.getAnotations()) {
        if (!GC_CanvasRowCounter::commitEvery1000(query, rowCounter, errorText))
            return false;
        if (!anotation->saveItem(query))
            return fail(errorText, QStringLiteral("writing an annotation row"), query);
    }

    // Per family: hits held in memory are written; otherwise the rows
    // stored in the source file, which were never loaded, are copied.
    const int id = genome.getId();
    const int stored[3] = {genome.getDatabaseCogMatchingsCount(),
                           genome.getDatabaseRfamMatchingsCount(),
                           genome.getDatabaserRNAMatchingsCount()};
    const int held[3] = {genome.countCogMatchings(), genome.countRfamMatchings(),
                         genome.countrRNAMatchings()};
    for (int family = GC_GenomeSource::Cog; family <= GC_GenomeSource::Rrna; ++family) {
        bool ok = true;
        if (held[family] >= 1 || stored[family] <= 0) {
            switch (family) {
            case GC_GenomeSource::Cog:
                ok = writeHits(genome.getCogHomologies()->matchings(), id, query, rowCounter,
                               errorText);
                break;
            case GC_GenomeSource::Rfam:
                ok = writeHits(genome.getRfamHomologies()->matchings(), id, query, rowCounter,
                               errorText);
                break;
            default:
                ok = writeHits(genome.getrRNAHomologies()->matchings(), id, query, rowCounter,
                               errorText);
                break;
            }
        } else {
            ok = GC_GenomeSource::copyRows(genome.getDatabase(),
                                           GC_GenomeSource::Family(family),
                                           genome.getDatabaseId(), id, query, nullptr, errorText);
        }
        if (!ok)
            return false;
    }
    return true;
}

QString GC_GenomeRows::genesSelect(const QSqlDatabase &database)
{
    // Older canvases lack the last three columns: select NULL in their place
    // rather than adding them to a file that is only being read.
    QString sql = GC_Gene::sqlSelect();
    const QSqlRecord columns = database.record(QStringLiteral("genes"));
    for (const char *column : {"note", "locusTag", "metadata"}) {
        if (columns.indexOf(QLatin1String(column)) < 0)
            sql.replace(QLatin1String(", ") + QLatin1String(column), QLatin1String(", NULL"));
    }
    return sql;
}

void GC_GenomeRows::load(GC_Genome &genome, const QSqlQuery &row, const QSqlDatabase &database)
{
    genome.setPos(row.value(2).toDouble(), row.value(3).toDouble());
    genome.setName(row.value(4).toString());
    genome.setCoords(GC_Interval(row.value(5).toInt(), row.value(6).toInt()));
    genome.setOrientation(row.value(7).toInt() == -1 ? -1 : 1);
    genome.setPixPerNuc(row.value(8).toDouble());
    genome.setShowGenes(GC_CanvasValue::toBool(row.value(9)));
    genome.setShowAnotations(GC_CanvasValue::toBool(row.value(10)));
    genome.setShowMatchings(GC_CanvasValue::toBool(row.value(11)));
    genome.setShowRuler(GC_CanvasValue::toBool(row.value(12)));
    genome.setShowText(GC_CanvasValue::toBool(row.value(13)));
    genome.setTextColor(GC_CanvasValue::toColor(row.value(14), genome.getTextColor()));
    genome.setTextFont(GC_CanvasValue::toFont(row.value(15), genome.getTextFont()));
    genome.setTextX(row.value(16).toDouble());
    genome.setTextY(row.value(17).toDouble());
    genome.setTextAngle(row.value(18).toDouble());
    genome.setTextPositionFlag(int(row.value(19).toDouble()));
    genome.setHeightBig(row.value(20).toDouble());
    genome.setHeightSmall(row.value(21).toDouble());
    genome.setHeadLength(row.value(22).toDouble());
    genome.setLineColor(GC_CanvasValue::toColor(row.value(23), genome.getLineColor()));
    genome.setFillColor(GC_CanvasValue::toColor(row.value(24), genome.getFillColor()));
    genome.setArrowStyle(row.value(25).toInt());
    genome.setVisibleGenome(GC_CanvasValue::toBool(row.value(26)));
    genome.setDnaSequence(row.value(27).toString());

    const int id = genome.getId();
    {
        QSqlQuery ruler(database);
        if (ruler.prepare(GC_Ruler::sqlSelect())) {
            ruler.addBindValue(id);
            if (ruler.exec() && ruler.next())
                genome.getRuler()->loadItem(ruler);
        }
    }
    {
        QSqlQuery genes(database);
        genes.setForwardOnly(true);
        if (!genes.prepare(genesSelect(database))) {
            qDebug().noquote() << "ERROR in prepare: " << ('"' + genes.lastError().text() + '"');
        } else {
            genes.addBindValue(id);
            if (genes.exec()) {
                while (genes.next()) {
                    auto *gene = new GC_Gene;
                    gene->loadItem(genes);
                    genome.addGene(gene);
                }
            }
        }
    }
    {
        QSqlQuery anotations(database);
        anotations.setForwardOnly(true);
        if (anotations.prepare(GC_Anotation::sqlSelect())) {
            anotations.addBindValue(id);
            if (anotations.exec()) {
                while (anotations.next()) {
                    auto *anotation = new GC_Anotation;
                    anotation->loadItem(anotations);
                    genome.addAnotation(anotation);
                }
            }
        }
    }
    genome.countDatabaseCogMatchings();
    genome.countDatabaseRfamMatchings();
    genome.countDatabaserRNAMatchings();
}
