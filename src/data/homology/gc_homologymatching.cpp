#include "gc_homologymatching.h"

#include "gc_homologyrowwriter.h"

#include <QSqlQuery>
#include <QVariant>
#include <cstdlib>

void GC_HomologyMatching::loadFromQuery(const QSqlQuery &query)
{
    m_referenceId = query.value(0).toInt();
    start = query.value(1).toInt();
    end = query.value(2).toInt();
    evalue = query.value(3).toDouble();
    bitscore = query.value(4).toDouble();
}

int GC_HomologyMatching::alignmentLength() const
{
    return std::abs(end - start);
}

bool GC_HomologyMatching::writeRow(QSqlQuery &query, const QString &insertSql, int rowGenomeId,
                                   const char *failurePrefix) const
{
    return GC_HomologyRowWriter::write(query, insertSql, m_referenceId, rowGenomeId, start, end,
                                       evalue, bitscore, failurePrefix);
}
