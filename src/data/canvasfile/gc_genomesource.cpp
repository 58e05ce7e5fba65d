#include "gc_genomesource.h"

#include "gc_cogmatching.h"
#include "gc_homologyrowwriter.h"
#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_rfammatching.h"
#include "gc_rrnamatching.h"
#include "gc_sqlconnection.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <limits>

namespace {

// First column of each hit table: the reference sequence's id.
QString referenceColumn(GC_GenomeSource::Family family)
{
    switch (family) {
    case GC_GenomeSource::Cog:
        return QStringLiteral("id_cog_protein");
    case GC_GenomeSource::Rfam:
        return QStringLiteral("rfam_seqid");
    case GC_GenomeSource::Rrna:
        break;
    }
    return QStringLiteral("rrna_seqid");
}

QString insertStatement(GC_GenomeSource::Family family)
{
    switch (family) {
    case GC_GenomeSource::Cog:
        return GC_CogMatching::insertSql();
    case GC_GenomeSource::Rfam:
        return GC_RfamMatching::insertSql();
    case GC_GenomeSource::Rrna:
        break;
    }
    return GC_rRNAMatching::insertSql();
}

// Whether the file certainly has no such table: false also when its
// schema cannot be read.
bool lacksTable(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    if (!query.prepare(
            QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?")))
        return false;
    query.addBindValue(table);
    return query.exec() && query.next() && query.value(0).toInt() == 0;
}

} // namespace

QString GC_GenomeSource::tableName(Family family)
{
    switch (family) {
    case Cog:
        return QStringLiteral("cog_matchings");
    case Rfam:
        return QStringLiteral("rfam_matchings");
    case Rrna:
        break;
    }
    return QStringLiteral("rrna_matchings");
}

QString GC_GenomeSource::familyName(Family family)
{
    switch (family) {
    case Cog:
        return QStringLiteral("COG");
    case Rfam:
        return QStringLiteral("RFAM");
    case Rrna:
        break;
    }
    return QStringLiteral("rRNA");
}

QString GC_GenomeSource::selectHitsSql(Family family, bool withRowId)
{
    return QStringLiteral("SELECT start, end, %1, evalue, bitscore%2 FROM %3 WHERE genomeId = ? %4")
        .arg(referenceColumn(family), withRowId ? QStringLiteral(", rowid") : QString(),
             tableName(family), withRowId ? QStringLiteral("ORDER BY rowid") : QString());
}

QString GC_GenomeSource::readSequence(const QString &path, int key)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QString();
    GC_SqlConnection connection(QStringLiteral("gc_genome_dna_sequence"), path,
                                GC_SqlConnection::ReadOnly);
    if (!connection.isOpen())
        return QString();
    QString sequence;
    {
        QSqlQuery query(connection.database());
        for (const char *statement : {"SELECT dna_sequence FROM genomes WHERE id = ? ",
                                      "SELECT dnaSequence FROM genomes WHERE id = ? "}) {
            if (!query.prepare(QLatin1String(statement)))
                continue;
            query.addBindValue(key);
            if (query.exec() && query.next()) {
                // Rows of older canvases can share a key: the genome's own
                // row is then not known, and another's sequence is no
                // sequence of this genome.
                sequence = query.value(0).toString();
                if (query.next() || GC_QueryEnd::stoppedShort(query))
                    sequence.clear();
                break;
            }
        }
    }
    return sequence;
}

int GC_GenomeSource::countRows(const QString &path, Family family, int key, QString *problem)
{
    auto uncounted = [&](const QString &why) {
        if (problem)
            *problem = why;
        return -1;
    };
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        qCDebug(lcKestal).noquote() << "Database: " << ('"' + path + '"') << " does not exists";
        return uncounted(path.isEmpty() ? QString() : QStringLiteral("the file is no longer there"));
    }
    GC_SqlConnection connection(QStringLiteral("gc_kestal_file"), path, GC_SqlConnection::ReadOnly);
    if (!connection.isOpen())
        return uncounted(QStringLiteral("it cannot be opened: %1").arg(connection.errorText()));
    const QString table = tableName(family);
    int count = -1;
    QString why;
    {
        QSqlQuery query(connection.database());
        if (query.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE genomeId = ? ").arg(table))) {
            query.addBindValue(key);
            if (query.exec() && query.next())
                count = query.value(0).toInt();
        }
        if (count < 0 && problem) {
            // A file without the table holds none of the family's rows; any
            // other failure may hide some.
            const QSqlError error = query.lastError();
            if (GC_SqlConnection::isUnreadableHere(error) || !lacksTable(connection.database(), table))
                why = GC_SqlConnection::failureReason(error);
        }
        if (count < 0 && family != Cog)
            qCDebug(lcKestal).noquote() << "Database problem with" << table;
    }
    return count < 0 ? uncounted(why) : count;
}

bool GC_GenomeSource::replaceRows(const QString &path, Family family, int key,
                                  const QList<GC_HomologyRowWriter::Row> &rows, QString *errorText,
                                  Share *share)
{
    auto failed = [&](const QString &why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return failed(QStringLiteral("the file %1 does not exist").arg(path));
    GC_SqlConnection connection(QStringLiteral("gc_kestal_file"), path);
    if (!connection.isOpen())
        return failed(QStringLiteral("cannot open %1: %2").arg(path, connection.errorText()));
    QSqlDatabase database = connection.database();
    if (!database.transaction())
        return failed(QStringLiteral("cannot write %1: %2").arg(path, database.lastError().text()));

    QString problem;
    Share written;
    {
        QSqlQuery query(database);
        const QString statement = QStringLiteral("DELETE FROM %1 WHERE genomeId = ?%2")
                                      .arg(tableName(family),
                                           share ? QStringLiteral(" AND rowid = ?") : QString());
        if (!query.prepare(statement)) {
            problem = query.lastError().text();
        } else if (!share) {
            query.addBindValue(key);
            if (!query.exec())
                problem = query.lastError().text();
        } else {
            for (const qint64 rowId : std::as_const(*share)) {
                query.bindValue(0, key);
                query.bindValue(1, rowId);
                if (!query.exec()) {
                    problem = query.lastError().text();
                    break;
                }
            }
        }
        const QString insert = insertStatement(family);
        for (const GC_HomologyRowWriter::Row &row : rows) {
            if (!problem.isEmpty())
                break;
            if (!GC_HomologyRowWriter::write(query, insert, row.referenceId, key, row.start, row.end,
                                             row.evalue, row.bitscore,
                                             "GC_GenomeSource::replaceRows(): "))
                problem = query.lastError().text();
            else if (share)
                written.insert(query.lastInsertId().toLongLong());
        }
    }
    if (problem.isEmpty() && database.commit()) {
        if (share)
            *share = written;
        return true;
    }
    if (problem.isEmpty())
        problem = database.lastError().text();
    database.rollback();
    return failed(QStringLiteral("cannot write the %1 rows of %2: %3")
                      .arg(tableName(family), path, problem));
}

QString GC_GenomeSource::copyFailureText(Family family, const QString &path, const QString &reason)
{
    return QStringLiteral("the stored %1 hits could not be copied from \"%2\" (%3)")
        .arg(familyName(family), path, reason);
}

bool GC_GenomeSource::copyRows(const QString &path, Family family, int key, int genomeId,
                               QSqlQuery &canvasQuery, int *copied, QString *errorText,
                               const Share *share)
{
    if (copied)
        *copied = 0;
    // Rows that cannot be read now would be missing from the new canvas for
    // good once it replaces the old one: the save fails instead.
    auto failed = [&](const QString &why) {
        if (errorText)
            *errorText = copyFailureText(family, path, why);
        return false;
    };
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return failed(QStringLiteral("the file is no longer there"));
    GC_SqlConnection connection(QStringLiteral("gc_db"), path, GC_SqlConnection::ReadOnly);
    if (!connection.isOpen())
        return failed(QStringLiteral("it cannot be opened: %1").arg(connection.errorText()));
    const QString insert = insertStatement(family);
    const char *failure = family == Cog    ? "GC_CogMatching::saveItem::Fail "
                          : family == Rfam ? "GC_RfamMatching::saveItem::Fail "
                                           : "GC_rRNAMatching::saveItem::Fail ";
    QSqlQuery select(connection.database());
    select.setForwardOnly(true);
    if (!select.prepare(selectHitsSql(family, true)))
        return failed(GC_SqlConnection::failureReason(select.lastError()));
    select.addBindValue(key);
    if (!select.exec())
        return failed(GC_SqlConnection::failureReason(select.lastError()));
    // A table gives a key's rows in the order of their rowids, each once. A
    // page gone bad since the opening can give another page's rows in its
    // place, as many as it held: their rowids come again, out of order.
    qint64 previousRowId = std::numeric_limits<qint64>::min();
    while (select.next()) {
        const qint64 rowId = select.value(5).toLongLong();
        if (rowId <= previousRowId)
            return failed(GC_SqlConnection::damagedReason(
                QStringLiteral("it gave row %1 of the %2 table after row %3")
                    .arg(rowId)
                    .arg(tableName(family))
                    .arg(previousRowId)));
        previousRowId = rowId;
        if (share && !share->contains(rowId))
            continue;
        if (!GC_HomologyRowWriter::write(canvasQuery, insert, select.value(2).toInt(), genomeId,
                                         select.value(0).toInt(), select.value(1).toInt(),
                                         select.value(3).toDouble(), select.value(4).toDouble(),
                                         failure)) {
            if (errorText)
                *errorText = QStringLiteral("the stored %1 hits could not be written (%2)")
                                 .arg(familyName(family), canvasQuery.lastError().text());
            return false;
        }
        if (copied)
            ++*copied;
    }
    // A source that fails while it is read would otherwise save a canvas
    // with only the hits read so far.
    if (select.lastError().isValid())
        return failed(GC_SqlConnection::failureReason(select.lastError()));
    return true;
}
