#include "gc_referencelookup.h"

#include <QDebug>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>

namespace {

struct CachedStatements
{
    // Key: connection name, a line feed, the SQL text.
    QHash<QString, std::shared_ptr<QSqlQuery>> queries;
};

CachedStatements &cache()
{
    static CachedStatements statements;
    return statements;
}

QSqlQuery *preparedQuery(GC_ReferenceDatabases::Collection collection, const QString &sql)
{
    QSqlDatabase db = GC_ReferenceDatabases::database(collection);
    if (!db.isOpen())
        return nullptr;
    const QString key = GC_ReferenceDatabases::connectionName(collection) + QLatin1Char('\n') + sql;
    auto found = cache().queries.constFind(key);
    if (found != cache().queries.constEnd())
        return found->get();

    auto query = std::make_shared<QSqlQuery>(db);
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        qDebug().noquote() << "GC_ReferenceLookup: cannot prepare" << sql << ":"
                           << query->lastError().text();
        return nullptr;
    }
    cache().queries.insert(key, query);
    return query.get();
}

} // namespace

QVariantList GC_ReferenceLookup::firstRow(GC_ReferenceDatabases::Collection collection,
                                          const QString &sql, const QVariantList &values)
{
    QVariantList row;
    QSqlQuery *query = preparedQuery(collection, sql);
    if (!query)
        return row;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    if (query->exec() && query->next()) {
        const int columns = query->record().count();
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.append(query->value(c));
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
