#ifndef GC_QUERYEND_H
#define GC_QUERYEND_H

#include <QString>

class QSqlQuery;

// How a query's reading of rows ended. QSqlQuery::next() answers false both
// past the last row and on an error partway (a damaged page, say): rows read
// up to such an error are only part of the rows, and must never pass for
// all of them.
class GC_QueryEnd
{
public:
    // Whether the reading failed: the statement could not run, or a step
    // stopped on an error before the last row. Asked right after the
    // stepping (or the running) it judges.
    static bool stoppedShort(const QSqlQuery &query);
    // What reading the table met, as the details of a damaged file
    // (GC_SqlConnection::damagedText): the words every reader uses.
    static QString tableDamage(const QString &table, const QSqlQuery &query);
    // What the user reads of the file at path when its reading of the table
    // stopped short: why it cannot be read now or here, or else that it is
    // damaged, with tableDamage() as the details.
    static QString failureText(const QString &path, const QString &table, const QSqlQuery &query);
};

#endif
