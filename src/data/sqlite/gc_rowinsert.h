#ifndef GC_ROWINSERT_H
#define GC_ROWINSERT_H

#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>

class QSqlQuery;

// An INSERT of one row into the named columns of a table, for statements
// run once per item (genes, segments). Its values are bound by name: for
// each value bound by position Qt formats a placeholder name of its own,
// which costs about as much as SQLite's insert of the row.
class GC_RowInsert
{
public:
    GC_RowInsert(const QString &table, const QStringList &columns);

    QString statement() const { return m_statement; }

    // Binds values to the columns, in their order, to a query prepared
    // with statement().
    void bind(QSqlQuery &query, std::initializer_list<QVariant> values) const;

private:
    QString m_statement;
    QStringList m_placeholders;
};

#endif
