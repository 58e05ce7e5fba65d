#include "gc_storedvaluecheck.h"

#include "gc_fileutils.h"
#include "gc_genomesource.h"
#include "gc_queryend.h"
#include "gc_sqlconnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include <cmath>

qsizetype GC_StoredValueCheck::firstNonLetter(QStringView sequence)
{
    const char16_t *data = sequence.utf16();
    const qsizetype size = sequence.size();
    for (qsizetype i = 0; i < size; ++i) {
        // Setting bit 5 maps A-Z onto a-z and nothing else into that range.
        if (char16_t((data[i] | 0x20) - u'a') > 25)
            return i;
    }
    return -1;
}

QString GC_StoredValueCheck::sequence(const QString &table, const QString &genome,
                                      QStringView sequence)
{
    const qsizetype at = firstNonLetter(sequence);
    if (at < 0)
        return QString();
    return QStringLiteral("the %1 table holds a sequence with %2 at position %3, which is not a "
                          "letter (genome \"%4\")")
        .arg(table, GC_FileUtils::describeCharacter(sequence.at(at)))
        .arg(at + 1)
        .arg(genome);
}

namespace {

bool withinReach(qint64 value)
{
    return value >= -GC_StoredValueCheck::maxCoordinate
        && value <= GC_StoredValueCheck::maxCoordinate;
}

QString beyondReach(const QString &table, qint64 from, qint64 to)
{
    return QStringLiteral("the %1 table holds a coordinate that no genome reaches (%2..%3)")
        .arg(table)
        .arg(from)
        .arg(to);
}

QString fieldName(const QSqlQuery &row, int column)
{
    return row.record().fieldName(column);
}

QString fieldName(const QSqlRecord &row, int column)
{
    return row.fieldName(column);
}

// A stored value in words: text quoted (cut short), numbers as they read.
QString described(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("%1 bytes of data").arg(value.toByteArray().size());
    QString text = value.toString();
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("...");
    return QStringLiteral("the text \"%1\"").arg(text);
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return true;
    default:
        return value.isNull();
    }
}

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

// Only a value found wrong is named: its column's name is looked up then,
// not for every value of every row.
template<typename Row>
QString columnProblem(const QString &table, const Row &row, const QVariant &value,
                      const GC_StoredValueCheck::Column &rule)
{
    const auto column = [&] { return fieldName(row, rule.index); };
    using Column = GC_StoredValueCheck::Column;
    if (!isNumber(value)) {
        // Qt 4 stored its booleans as these words.
        const QString word = value.toString().trimmed().toLower();
        if (rule.kind == Column::Switch && value.typeId() == QMetaType::QString
            && (word == QLatin1String("true") || word == QLatin1String("false")))
            return QString();
        const QString belongs = rule.kind == Column::Switch
            ? QStringLiteral("a switch (a number, \"true\" or \"false\")")
            : QStringLiteral("a number");
        return QStringLiteral("the %1 table holds %2 in its %3 column, where %4 belongs")
            .arg(table, described(value), column(), belongs);
    }
    const double read = value.toDouble();
    if (rule.kind == Column::Real && !std::isfinite(read))
        return GC_StoredValueCheck::real(table, column(), read);
    if (rule.kind != Column::Switch && !(read >= rule.lowest && read <= rule.highest))
        return QStringLiteral("the %1 table holds %2 in its %3 column, beyond what can be set "
                              "there (%4..%5)")
            .arg(table, number(read), column(), number(rule.lowest), number(rule.highest));
    return QString();
}

template<typename Row>
QString columnsOf(const QString &table, const Row &row,
                  std::initializer_list<GC_StoredValueCheck::Column> rules)
{
    for (const GC_StoredValueCheck::Column &rule : rules) {
        const QString wrong = columnProblem(table, row, row.value(rule.index), rule);
        if (!wrong.isEmpty())
            return wrong;
    }
    return QString();
}

} // namespace

QString GC_StoredValueCheck::coordinates(const QString &table, qint64 from, qint64 to)
{
    if (from >= 1 && to >= 1 && from <= maxCoordinate && to <= maxCoordinate)
        return QString();
    if (from >= 1 && to >= 1)
        return beyondReach(table, from, to);
    return QStringLiteral("the %1 table holds a coordinate below 1 (%2..%3)")
        .arg(table)
        .arg(from)
        .arg(to);
}

QString GC_StoredValueCheck::storedRange(const QString &table, qint64 from, qint64 to)
{
    return withinReach(from) && withinReach(to) ? QString() : beyondReach(table, from, to);
}

QString GC_StoredValueCheck::matching(const QString &table, qint64 from, qint64 to,
                                      const QString &genome, int length)
{
    if (coordinates(table, from, to).isEmpty()
        && (length <= 0 || (from <= length && to <= length)))
        return QString();
    QString text = QStringLiteral("the %1 table holds a matching outside its genome: %2..%3")
                       .arg(table)
                       .arg(from)
                       .arg(to);
    // A row may name a genome the file does not hold.
    if (!genome.isEmpty())
        text += QStringLiteral(" on \"%1\"").arg(genome);
    if (length > 0)
        text += QStringLiteral(", which runs 1..%1").arg(length);
    return text;
}

QString GC_StoredValueCheck::real(const QString &table, const QString &column, double value)
{
    if (std::isfinite(value))
        return QString();
    return QStringLiteral("the %1 table holds %2 in its %3 column, which is not a finite number")
        .arg(table, QString::number(value), column);
}

QString GC_StoredValueCheck::columns(const QString &table, const QSqlQuery &row,
                                     std::initializer_list<Column> rules)
{
    return columnsOf(table, row, rules);
}

QString GC_StoredValueCheck::columns(const QString &table, const QSqlRecord &row,
                                     std::initializer_list<Column> rules)
{
    return columnsOf(table, row, rules);
}

QString GC_StoredValueCheck::orientation(const QString &table, const QVariant &value)
{
    if (value.isNull() || value.toInt() == 1 || value.toInt() == -1)
        return QString();
    return QStringLiteral("the %1 table holds an orientation of %2, which is neither 1 nor -1")
        .arg(table, value.toString());
}

QString GC_StoredValueCheck::homologyHits(const QSqlDatabase &db)
{
    for (int family = GC_GenomeSource::Cog; family <= GC_GenomeSource::Rrna; ++family) {
        const QString table = GC_GenomeSource::tableName(GC_GenomeSource::Family(family));
        {
            // Text where a number belongs: the first such row, if any.
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (query.exec(QStringLiteral(
                    "SELECT genomeId , start , end , evalue , bitscore FROM %1 WHERE "
                    "typeof(genomeId) IN ('text', 'blob') OR typeof(start) IN ('text', 'blob') "
                    "OR typeof(end) IN ('text', 'blob') OR typeof(evalue) IN ('text', 'blob') "
                    "OR typeof(bitscore) IN ('text', 'blob') LIMIT 1")
                               .arg(table))
                && query.next()) {
                const QString wrong = columns(table, query,
                                              {realColumn(0), realColumn(1), realColumn(2),
                                               realColumn(3), realColumn(4)});
                if (!wrong.isEmpty())
                    return wrong;
            }
            // A search that fails finds nothing wrong, and checked nothing.
            if (GC_QueryEnd::stoppedShort(query)
                && GC_SqlConnection::isDamage(db, table, query.lastError()))
                return GC_QueryEnd::tableDamage(table, query);
        }
        // Read back as whole numbers, so a value that is none counts as 0.
        QSqlQuery query(db);
        query.setForwardOnly(true);
        const bool read = query.prepare(
            QStringLiteral("SELECT start , end FROM %1 WHERE coalesce(CAST(start AS INTEGER), 0) "
                           "< 1 OR coalesce(CAST(end AS INTEGER), 0) < 1 OR CAST(start AS "
                           "INTEGER) > ? OR CAST(end AS INTEGER) > ? LIMIT 1")
                .arg(table));
        query.addBindValue(maxCoordinate);
        query.addBindValue(maxCoordinate);
        if (!read || !query.exec()) {
            // An older file without the table has no hits to check.
            if (GC_SqlConnection::isDamage(db, table, query.lastError()))
                return GC_QueryEnd::tableDamage(table, query);
            continue;
        }
        if (query.next())
            return coordinates(table, query.value(0).toLongLong(), query.value(1).toLongLong());
    }
    return QString();
}

QString GC_StoredValueCheck::owner(const QString &table, const QString &column,
                                   const QVariant &value, const QSet<int> &genomeIds)
{
    // A genome's rows are selected by "genomeId = ?" with its id bound: a
    // whole number matches, stored as an integer or a real; nothing else
    // does.
    QString stored;
    if (value.isNull()) {
        stored = QStringLiteral("nothing");
    } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
        const qint64 id = value.toLongLong();
        if (id >= std::numeric_limits<int>::min() && id <= std::numeric_limits<int>::max()
            && genomeIds.contains(int(id)))
            return QString();
        stored = QString::number(id);
    } else if (value.typeId() == QMetaType::Double) {
        const double id = value.toDouble();
        if (std::floor(id) == id && id >= std::numeric_limits<int>::min()
            && id <= std::numeric_limits<int>::max() && genomeIds.contains(int(id)))
            return QString();
        stored = number(id);
    } else {
        stored = described(value);
    }
    return QStringLiteral("the %1 table holds %2 in its %3 column, which names no genome of the "
                          "file")
        .arg(table, stored, column);
}

QString GC_StoredValueCheck::rowsOfNoGenome(const QSqlDatabase &db, const QSet<int> &genomeIds)
{
    QStringList tables{QStringLiteral("genes"), QStringLiteral("anotations"), QStringLiteral("ruler")};
    for (int family = GC_GenomeSource::Cog; family <= GC_GenomeSource::Rrna; ++family)
        tables << GC_GenomeSource::tableName(GC_GenomeSource::Family(family));
    for (const QString &table : std::as_const(tables)) {
        // Compared as "genomeId = ?" compares when a genome reads its rows.
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (query.exec(QStringLiteral("SELECT genomeId FROM %1 WHERE genomeId IS NULL OR genomeId NOT IN "
                                      "(SELECT id FROM genomes WHERE id IS NOT NULL) LIMIT 1")
                           .arg(table))
            && query.next()) {
            const QString wrong = owner(table, QStringLiteral("genomeId"), query.value(0), genomeIds);
            if (!wrong.isEmpty())
                return wrong;
        }
        // An older file without the table has no such rows.
        if (GC_QueryEnd::stoppedShort(query) && GC_SqlConnection::isDamage(db, table, query.lastError()))
            return GC_QueryEnd::tableDamage(table, query);
    }
    return rulersBeyondGenomeRows(db);
}

QString GC_StoredValueCheck::rulersBeyondGenomeRows(const QSqlDatabase &db)
{
    // A genome row reads one ruler row; a save writes one for each.
    const QString table = QStringLiteral("ruler");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT genomeId , count(*) , (SELECT count(*) FROM genomes WHERE id = "
                                  "ruler.genomeId) AS genomeRows FROM ruler GROUP BY genomeId HAVING "
                                  "count(*) > genomeRows LIMIT 1"))
        && query.next())
        return QStringLiteral("the %1 table holds %2 in its genomeId column on %3 rows, more than the %4 "
                              "genome rows of that id, which read one ruler row each")
            .arg(table, query.value(0).toString(), query.value(1).toString(), query.value(2).toString());
    if (GC_QueryEnd::stoppedShort(query) && GC_SqlConnection::isDamage(db, table, query.lastError()))
        return GC_QueryEnd::tableDamage(table, query);
    return QString();
}
