#include "gc_rowinsert.h"

#include <QSqlQuery>

GC_RowInsert::GC_RowInsert(const QString &table, const QStringList &columns)
{
    for (const QString &column : columns)
        m_placeholders.append(QLatin1Char(':') + column);
    m_statement = QStringLiteral("INSERT INTO %1 ( %2 ) VALUES ( %3 )")
                      .arg(table, columns.join(QLatin1String(" , ")), m_placeholders.join(QLatin1String(" , ")));
}

void GC_RowInsert::bind(QSqlQuery &query, std::initializer_list<QVariant> values) const
{
    Q_ASSERT(qsizetype(values.size()) == m_placeholders.size());
    qsizetype column = 0;
    for (const QVariant &value : values)
        query.bindValue(m_placeholders.at(column++), value);
}
