#include "gc_referencelookup.h"

#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_sqlconnection.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>

namespace {

struct Statement
{
    QSqlQuery query;
    int columns = -1;  // known after the first row; reading the record is slow
};

struct CachedStatements
{
    // Key: connection name, a line feed, the SQL text.
    QHash<QString, std::shared_ptr<Statement>> queries;
    int failures = 0;
    QString lastFailure;
};

CachedStatements &cache()
{
    static CachedStatements statements;
    return statements;
}

void countFailure(const QSqlError &error)
{
    ++cache().failures;
    cache().lastFailure = GC_SqlConnection::failureReason(error);
}

Statement *preparedStatement(GC_ReferenceDatabases::Collection collection, const QString &sql)
{
    QSqlDatabase db = GC_ReferenceDatabases::database(collection);
    if (!db.isOpen())
        return nullptr;
    const QString key = GC_ReferenceDatabases::connectionName(collection) + QLatin1Char('\n') + sql;
    auto found = cache().queries.constFind(key);
    if (found != cache().queries.constEnd())
        return found->get();

    auto statement = std::make_shared<Statement>(Statement{QSqlQuery(db), -1});
    statement->query.setForwardOnly(true);
    if (!statement->query.prepare(sql)) {
        qCDebug(lcKestal).noquote() << "GC_ReferenceLookup: cannot prepare" << sql << ":"
                           << statement->query.lastError().text();
        countFailure(statement->query.lastError());
        return nullptr;
    }
    cache().queries.insert(key, statement);
    return statement.get();
}

} // namespace

QVariantList GC_ReferenceLookup::firstRow(GC_ReferenceDatabases::Collection collection,
                                          const QString &sql, const QVariantList &values)
{
    QVariantList row;
    Statement *statement = preparedStatement(collection, sql);
    if (!statement)
        return row;
    QSqlQuery *query = &statement->query;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    if (query->exec() && query->next()) {
        if (statement->columns < 0)
            statement->columns = query->record().count();
        row.reserve(statement->columns);
        for (int c = 0; c < statement->columns; ++c)
            row.append(query->value(c));
    }
    if (GC_QueryEnd::stoppedShort(*query)) {
        qCDebug(lcKestal).noquote() << "GC_ReferenceLookup: cannot read" << sql << ":"
                                    << query->lastError().text();
        countFailure(query->lastError());
    }
    // Resets the statement so that it holds no read lock between look-ups.
    query->finish();
    return row;
}

QVariant GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Collection collection,
                                        const QString &sql, const QVariantList &values, bool *found)
{
    const QVariantList row = firstRow(collection, sql, values);
    if (found)
        *found = !row.isEmpty();
    return row.isEmpty() ? QVariant() : row.first();
}

int GC_ReferenceLookup::failureCount()
{
    return cache().failures;
}

QString GC_ReferenceLookup::lastFailure()
{
    return cache().lastFailure;
}

void GC_ReferenceLookup::releaseQueries(const QString &connectionName)
{
    const QString prefix = connectionName + QLatin1Char('\n');
    auto &queries = cache().queries;
    for (auto it = queries.begin(); it != queries.end();) {
        if (it.key().startsWith(prefix))
            it = queries.erase(it);
        else
            ++it;
    }
}
