#include "gc_genomerows.h"

#include "gc_anotation.h"
#include "gc_canvasrowcounter.h"
#include "gc_canvasvalue.h"
#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomesource.h"
#include "gc_homologyrowwriter.h"
#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_rfamhomologies.h"
#include "gc_rfammatching.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnamatching.h"
#include "gc_ruler.h"
#include "gc_sequencetext.h"
#include "gc_sharedgenomeid.h"
#include "gc_sqlconnection.h"
#include "gc_storedhitshares.h"
#include "gc_storedvaluecheck.h"
#include "gc_userreach.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {

bool fail(QString *errorText, const QString &what, const QSqlQuery &query)
{
    if (errorText)
        *errorText = QStringLiteral("%1: %2").arg(what, query.lastError().text());
    return false;
}

// Writes each item as one row with write, stepping the counter before each.
template<typename List, typename Write>
bool writeRows(const List &items, QSqlQuery &query, int &rowCounter, QString *errorText,
               Write write)
{
    for (const auto &item : items) {
        if (!GC_CanvasRowCounter::commitEvery1000(query, rowCounter, errorText))
            return false;
        if (!write(item))
            return fail(errorText, QStringLiteral("writing a homology hit"), query);
    }
    return true;
}

// Writes the hits a bar holds, then the stored rows it left out as they
// were read (with the family's insertSql), under the genome's id.
template<typename Bar>
bool writeHits(const Bar &bar, const QString &insertSql, int genomeId, QSqlQuery &query,
               int &rowCounter, QString *errorText)
{
    return writeRows(bar.matchings(), query, rowCounter, errorText,
                     [&](const auto *hit) { return hit->saveItem(query, genomeId); })
        && writeRows(bar.leftOutRows(), query, rowCounter, errorText,
                     [&](const GC_HomologyRowWriter::Row &row) {
                         return GC_HomologyRowWriter::write(query, insertSql, row.referenceId, genomeId,
                                                            row.start, row.end, row.evalue,
                                                            row.bitscore, "GC_GenomeRows::save::Fail ");
                     });
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
        "VALUES ( ? , ? , ? , ? , ? , ? , ? , ? , ? , %1 , ? , ? , ? , ? , ? , ? , ? , ? , ? , ? , "
        "? , ? , ? , ? , ? , ? , ? , ? )")
        .arg(GC_SequenceText::placeholder());
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
    query.addBindValue(GC_SequenceText::bound(sequence.isNull() ? QString("") : sequence));
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

    // Per family: a bar that holds hits, or stored rows it left out, has
    // read the stored rows and is written; otherwise the rows stored in the
    // source file, which were never loaded, are copied (also those that
    // could not be counted: the file may hold some).
    const int id = genome.getId();
    const int stored[3] = {genome.getDatabaseCogMatchingsCount(),
                           genome.getDatabaseRfamMatchingsCount(),
                           genome.getDatabaserRNAMatchingsCount()};
    const GC_HomologyBar *bars[3] = {genome.getCogHomologies(), genome.getRfamHomologies(),
                                     genome.getrRNAHomologies()};
    const int held[3] = {genome.countCogMatchings(), genome.countRfamMatchings(),
                         genome.countrRNAMatchings()};
    for (int family = GC_GenomeSource::Cog; family <= GC_GenomeSource::Rrna; ++family) {
        bool ok = true;
        if (held[family] >= 1 || !bars[family]->leftOutRows().isEmpty() || stored[family] == 0) {
            switch (family) {
            case GC_GenomeSource::Cog:
                ok = writeHits(*genome.getCogHomologies(), GC_CogMatching::insertSql(), id, query,
                               rowCounter, errorText);
                break;
            case GC_GenomeSource::Rfam:
                ok = writeHits(*genome.getRfamHomologies(), GC_RfamMatching::insertSql(), id, query,
                               rowCounter, errorText);
                break;
            default:
                ok = writeHits(*genome.getrRNAHomologies(), GC_rRNAMatching::insertSql(), id, query,
                               rowCounter, errorText);
                break;
            }
        } else {
            QString reason;
            ok = genome.storedHits().copy(GC_GenomeSource::Family(family), id, query, &reason);
            if (!ok && errorText)
                *errorText = QStringLiteral("Genome \"%1\": %2").arg(genome.getName(), reason);
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

namespace {

bool damaged(QString *damage, const QString &table, const QSqlQuery &query)
{
    if (damage)
        *damage = GC_QueryEnd::tableDamage(table, query);
    return false;
}

// Steps through the rows one select gives for an id, handing each to take,
// which answers what is wrong with the row's values (empty when nothing).
// A select that cannot run on this file (an older file without the table)
// gives no rows; a file that stops giving rows halfway, or gives a row of
// impossible values, is damaged: false.
template<typename Take>
bool readRowsOf(const QSqlDatabase &database, const QString &sql, int fileId,
                const QString &table, QString *damage, Take take)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        if (GC_SqlConnection::isDamage(database, table, query.lastError()))
            return damaged(damage, table, query);
        if (table == QLatin1String("genes"))
            qCDebug(lcKestal).noquote() << "ERROR in prepare: " << ('"' + query.lastError().text() + '"');
        return true;
    }
    query.addBindValue(fileId);
    if (!query.exec()) {
        if (GC_SqlConnection::isDamage(database, table, query.lastError()))
            return damaged(damage, table, query);
        return true;
    }
    while (query.next()) {
        const QString wrong = take(query);
        if (!wrong.isEmpty()) {
            if (damage)
                *damage = wrong;
            return false;
        }
    }
    if (GC_QueryEnd::stoppedShort(query))
        return damaged(damage, table, query);
    return true;
}

// Every value of the current row from column first on, as one text: rows
// with the same text are copies of each other. columns is counted on the
// first row.
QString rowContent(const QSqlQuery &query, int first, int &columns)
{
    if (columns < 0)
        columns = query.record().count();
    QStringList values;
    for (int column = first; column < columns; ++column)
        values << query.value(column).toString();
    return values.join(QChar(0x1f));
}

using Check = GC_StoredValueCheck;

// What is wrong with the values of a genes row: its numbers, its range,
// its orientation.
QString geneRowProblem(const QSqlQuery &query)
{
    const QString table = QStringLiteral("genes");
    QString wrong = Check::columns(
        table, query,
        {Check::idColumn(0), Check::realColumn(1, GC_UserReach::maxUpDown),
         Check::coordinateColumn(3), Check::coordinateColumn(4), Check::wholeColumn(5),
         Check::switchColumn(6), Check::realColumn(7, GC_UserReach::maxSize),
         Check::realColumn(8, GC_UserReach::maxSize), Check::realColumn(9, GC_UserReach::maxSize),
         Check::wholeColumn(12)});
    if (wrong.isEmpty())
        wrong = Check::storedRange(table, query.value(3).toLongLong(), query.value(4).toLongLong());
    if (wrong.isEmpty())
        wrong = Check::orientation(table, query.value(5));
    return wrong;
}

// The same for an anotations row: its numbers and its range.
QString anotationRowProblem(const QSqlQuery &query)
{
    const QString table = QStringLiteral("anotations");
    const QString wrong = Check::columns(
        table, query,
        {Check::idColumn(0), Check::realColumn(1, GC_UserReach::maxUpDown),
         Check::coordinateColumn(3), Check::coordinateColumn(4),
         Check::realColumn(5, GC_UserReach::maxSize), Check::switchColumn(6),
         Check::realColumn(7, GC_UserReach::maxUpDown), Check::realColumn(8),
         Check::wholeColumn(9)});
    return wrong.isEmpty()
        ? Check::storedRange(table, query.value(3).toLongLong(), query.value(4).toLongLong())
        : wrong;
}

// The same for a genomes row: its numbers (ids, positions, scale, label
// placement, sizes and switches), sequence, shown range and orientation.
// Shown ranges are read as written, even below nucleotide 1 or past the
// sequence's end: older versions stored such values from cuts, clicks and
// handle drags. Only a range no genome reaches is damage.
QString genomeRowProblem(const QSqlRecord &row)
{
    const QString table = QStringLiteral("genomes");
    // Read as genome 0, a row without an id would take the rows of that
    // genome, and hide those of no genome.
    if (row.isNull(0))
        return Check::owner(table, QStringLiteral("id"), QVariant(), {});
    QString wrong = Check::columns(
        table, row,
        {Check::idColumn(0), Check::wholeColumn(1), Check::realColumn(2, GC_UserReach::maxAcross),
         Check::realColumn(3, GC_UserReach::maxUpDown), Check::coordinateColumn(5),
         Check::coordinateColumn(6), Check::wholeColumn(7),
         Check::realColumn(8, GC_UserReach::minPixPerNuc, GC_UserReach::maxPixPerNuc),
         Check::switchColumn(9), Check::switchColumn(10), Check::switchColumn(11),
         Check::switchColumn(12), Check::switchColumn(13),
         Check::realColumn(16, GC_UserReach::maxLabelLengths),
         Check::realColumn(17, GC_UserReach::maxUpDown), Check::realColumn(18),
         Check::wholeColumn(19), Check::realColumn(20, GC_UserReach::maxSize),
         Check::realColumn(21, GC_UserReach::maxSize), Check::realColumn(22, GC_UserReach::maxSize),
         Check::wholeColumn(25), Check::switchColumn(26)});
    if (wrong.isEmpty())
        wrong = Check::sequence(table, row.value(4).toString(), row.value(27).toString());
    if (wrong.isEmpty())
        wrong = Check::storedRange(table, row.value(5).toLongLong(), row.value(6).toLongLong());
    if (wrong.isEmpty())
        wrong = Check::orientation(table, row.value(7));
    return wrong;
}

// The same for a ruler row.
QString rulerRowProblem(const QSqlQuery &query)
{
    return Check::columns(
        QStringLiteral("ruler"), query,
        {Check::realColumn(0, GC_UserReach::maxUpDown), Check::wholeColumn(1),
         Check::wholeColumn(2), Check::switchColumn(3), Check::wholeColumn(4),
         Check::realColumn(5, GC_UserReach::maxSize), Check::realColumn(6, GC_UserReach::maxSize),
         Check::wholeColumn(7), Check::wholeColumn(8), Check::wholeColumn(9)});
}

// Reads the items one select gives for an id, each with its stored values
// and range when rows is given; rowProblem judges each row first. Nothing
// is kept from a damaged file.
template<typename Item>
bool readItems(const QSqlDatabase &database, const QString &sql, int fileId, const char *table,
               QString (*rowProblem)(const QSqlQuery &), QList<Item *> *items,
               QList<GC_SharedGenomeId::Row> *rows, QString *damage)
{
    int columns = -1;
    const bool read = readRowsOf(database, sql, fileId, QLatin1String(table), damage,
                                 [&](const QSqlQuery &query) {
        const QString wrong = rowProblem(query);
        if (!wrong.isEmpty())
            return wrong;
        auto *item = new Item;
        item->loadItem(query);
        items->append(item);
        if (rows)
            rows->append({rowContent(query, 0, columns), item->getCoords()});
        return QString();
    });
    if (!read) {
        qDeleteAll(*items);
        items->clear();
    }
    return read;
}

// Reads the family's stored hit rows of a shared id and has them dealt out
// among the genomes carrying it.
bool dealSharedHits(GC_GenomeSource::Family family, int fileId, const QList<GC_Genome *> &genomes,
                    const QList<GC_Interval> &ranges, const QSqlDatabase &database,
                    QString *damage)
{
    const QString table = GC_GenomeSource::tableName(family);
    QList<qint64> rowIds;
    QList<GC_SharedGenomeId::Row> rows;
    const QString sql
        = QStringLiteral("SELECT rowid, start, end, * FROM %1 WHERE genomeId = ?").arg(table);
    int columns = -1;
    if (!readRowsOf(database, sql, fileId, table, damage, [&](const QSqlQuery &query) {
            rowIds.append(query.value(0).toLongLong());
            rows.append({rowContent(query, 3, columns),
                         GC_Interval(query.value(1).toInt(), query.value(2).toInt())});
            return QString();
        }))
        return false;
    QList<GC_StoredHitShares *> holders;
    for (GC_Genome *genome : genomes)
        holders.append(&genome->storedHits());
    GC_StoredHitShares::deal(family, holders, ranges, rowIds, rows);
    return true;
}

} // namespace

bool GC_GenomeRows::load(GC_Genome &genome, const QSqlRecord &row, const QSqlDatabase &database,
                         bool withItems, int occurrence, QString *damage)
{
    const QString sequence = row.value(27).toString();
    QString problem = genomeRowProblem(row);
    if (!problem.isEmpty()) {
        if (damage)
            *damage = problem;
        return false;
    }
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
    genome.setDnaSequence(sequence);

    const int id = genome.getDatabaseId();
    {
        QSqlQuery ruler(database);
        ruler.setForwardOnly(true);
        if (!ruler.prepare(GC_Ruler::sqlSelect())) {
            if (GC_SqlConnection::isDamage(database, QStringLiteral("ruler"), ruler.lastError()))
                return damaged(damage, QStringLiteral("ruler"), ruler);
        } else {
            ruler.addBindValue(id);
            if (ruler.exec()) {
                // The occurrence-th ruler row of the id, or the last there is.
                for (int skip = 0; skip <= occurrence && ruler.next(); ++skip) {
                    problem = rulerRowProblem(ruler);
                    if (!problem.isEmpty()) {
                        if (damage)
                            *damage = problem;
                        return false;
                    }
                    genome.getRuler()->loadItem(ruler);
                }
                if (GC_QueryEnd::stoppedShort(ruler))
                    return damaged(damage, QStringLiteral("ruler"), ruler);
            } else if (GC_SqlConnection::isDamage(database, QStringLiteral("ruler"),
                                                  ruler.lastError())) {
                return damaged(damage, QStringLiteral("ruler"), ruler);
            }
        }
    }
    if (withItems) {
        QList<GC_Gene *> genes;
        if (!readItems(database, genesSelect(database), id, "genes", geneRowProblem, &genes,
                       nullptr, damage))
            return false;
        for (GC_Gene *gene : std::as_const(genes))
            genome.addGene(gene);
        QList<GC_Anotation *> anotations;
        if (!readItems(database, GC_Anotation::sqlSelect(), id, "anotations", anotationRowProblem,
                       &anotations, nullptr, damage))
            return false;
        for (GC_Anotation *anotation : std::as_const(anotations))
            genome.addAnotation(anotation);
    }
    genome.countDatabaseCogMatchings();
    genome.countDatabaseRfamMatchings();
    genome.countDatabaserRNAMatchings();
    return true;
}

bool GC_GenomeRows::loadSharedItems(int fileId, const QList<GC_Genome *> &genomes,
                                    const QSqlDatabase &database, QString *damage)
{
    QList<GC_Interval> ranges;
    for (const GC_Genome *genome : genomes)
        ranges.append(genome->getCoords());

    QList<GC_Gene *> genes;
    QList<GC_SharedGenomeId::Row> geneRows;
    if (!readItems(database, genesSelect(database), fileId, "genes", geneRowProblem, &genes,
                   &geneRows, damage))
        return false;
    const QList<int> geneOwners = GC_SharedGenomeId::owners(ranges, geneRows);
    for (qsizetype i = 0; i < genes.size(); ++i)
        genomes.at(geneOwners.at(i))->addGene(genes.at(i));

    QList<GC_Anotation *> anotations;
    QList<GC_SharedGenomeId::Row> anotationRows;
    if (!readItems(database, GC_Anotation::sqlSelect(), fileId, "anotations", anotationRowProblem,
                   &anotations, &anotationRows, damage))
        return false;
    const QList<int> anotationOwners = GC_SharedGenomeId::owners(ranges, anotationRows);
    for (qsizetype i = 0; i < anotations.size(); ++i)
        genomes.at(anotationOwners.at(i))->addAnotation(anotations.at(i));

    // The stored hits too, or each genome would copy every hit of the id
    // on the next save.
    for (int family = GC_GenomeSource::Cog; family <= GC_GenomeSource::Rrna; ++family) {
        if (!dealSharedHits(GC_GenomeSource::Family(family), fileId, genomes, ranges, database,
                            damage))
            return false;
    }
    return true;
}
