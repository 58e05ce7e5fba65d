#include "gc_homologyrowwriter.h"

#include "gc_log.h"

#include <QSqlError>
#include <QSqlQuery>

bool GC_HomologyRowWriter::write(QSqlQuery &query, const QString &insertSql, int referenceId,
                                 int genomeId, int start, int end, double evalue, double bitscore,
                                 const char *failurePrefix)
{
    if (query.lastQuery() != insertSql && !query.prepare(insertSql)) {
        qCDebug(lcKestal).noquote() << QLatin1String(failurePrefix) + query.lastError().text();
        return false;
    }
    query.bindValue(0, referenceId);
    query.bindValue(1, genomeId);
    query.bindValue(2, start);
    query.bindValue(3, end);
    query.bindValue(4, evalue);
    query.bindValue(5, bitscore);
    if (!query.exec()) {
        qCDebug(lcKestal).noquote() << QLatin1String(failurePrefix) + query.lastError().text();
        return false;
    }
    return true;
}
