#include "gc_queryend.h"

#include "gc_sqlconnection.h"

#include <QSqlError>
#include <QSqlQuery>

bool GC_QueryEnd::stoppedShort(const QSqlQuery &query)
{
    // Running a statement clears its error, and a step past the last row
    // sets none.
    return query.lastError().isValid();
}

QString GC_QueryEnd::tableDamage(const QString &table, const QSqlQuery &query)
{
    return QStringLiteral("reading the %1 table: %2").arg(table, query.lastError().text());
}

QString GC_QueryEnd::failureText(const QString &path, const QString &table, const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    return GC_SqlConnection::isUnreadableHere(error)
        ? GC_SqlConnection::failureText(path, error)
        : GC_SqlConnection::damagedText(path, tableDamage(table, query));
}
