#include "gc_storedhitshares.h"

#include "gc_sqlconnection.h"

GC_StoredHitShares::GC_StoredHitShares(const QString &path, int key)
    : m_source(GC_SourceFileHold::hold(path))
    , m_key(key)
{
}

void GC_StoredHitShares::setPath(const QString &path)
{
    m_source = GC_SourceFileHold::hold(path);
    forgetShares();
}

QString GC_StoredHitShares::readablePath(QString *problem) const
{
    return m_source ? m_source->readablePath(problem) : QString();
}

void GC_StoredHitShares::setKey(int key)
{
    m_key = key;
    forgetShares();
}

void GC_StoredHitShares::forgetShares()
{
    for (std::optional<Share> &share : m_shares)
        share.reset();
}

int GC_StoredHitShares::countNow(Family family) const
{
    if (const Share *rows = share(family))
        return int(rows->size());
    return GC_GenomeSource::countRows(readablePath(), family, m_key);
}

int GC_StoredHitShares::recount(Family family)
{
    m_counts[family] = countNow(family);
    return m_counts[family];
}

const GC_StoredHitShares::Share *GC_StoredHitShares::share(Family family) const
{
    const std::optional<Share> &rows = m_shares[family];
    return rows ? &*rows : nullptr;
}

void GC_StoredHitShares::setShare(Family family, const Share &rowIds)
{
    m_shares[family] = rowIds;
    m_counts[family] = int(rowIds.size());
}

bool GC_StoredHitShares::replace(Family family, const QList<GC_HomologyRowWriter::Row> &rows,
                                 QString *errorText)
{
    std::optional<Share> &rowIds = m_shares[family];
    QString problem;
    const QString path = readablePath(&problem);
    if (!problem.isEmpty()) {
        if (errorText)
            *errorText = QStringLiteral("cannot write the %1 rows of %2: %3")
                             .arg(GC_GenomeSource::tableName(family), this->path(), problem);
        return false;
    }
    const bool replaced =
        GC_GenomeSource::replaceRows(path, family, m_key, rows, errorText, rowIds ? &*rowIds : nullptr);
    if (replaced && m_source)
        m_source->acceptChanges();
    return replaced;
}

bool GC_StoredHitShares::copy(Family family, int genomeId, QSqlQuery &canvasQuery,
                              QString *errorText) const
{
    const Share *rowIds = share(family);
    if (!rowIds && m_counts[family] == 0)
        return true;
    // Rows are copied only from the very file they were read from.
    QString problem;
    const QString source = readablePath(&problem);
    if (!problem.isEmpty()) {
        if (errorText)
            *errorText = GC_GenomeSource::copyFailureText(family, path(), problem);
        return false;
    }
    int expected = rowIds ? int(rowIds->size()) : m_counts[family];
    if (expected < 0) {
        // The file could not be counted when the genome was read (gone or
        // locked for a moment): it may hold rows all the same.
        expected = GC_GenomeSource::countRows(source, family, m_key, &problem);
        if (!problem.isEmpty()) {
            if (errorText)
                *errorText = GC_GenomeSource::copyFailureText(family, path(), problem);
            return false;
        }
        if (expected <= 0)
            return true;
    }
    int copied = 0;
    if (!GC_GenomeSource::copyRows(source, family, m_key, genomeId, canvasQuery, &copied, errorText,
                                   rowIds))
        return false;
    // A page that went bad since the opening can give fewer rows, or others
    // twice, without an error: the copy would pass for whole.
    if (copied == expected)
        return true;
    if (errorText)
        *errorText = GC_GenomeSource::copyFailureText(
            family, path(),
            GC_SqlConnection::damagedReason(
                QStringLiteral("it gave %1 rows of the %2 table for the genome, where it held %3 when "
                               "the document was read")
                    .arg(copied)
                    .arg(GC_GenomeSource::tableName(family))
                    .arg(expected)));
    return false;
}

void GC_StoredHitShares::deal(Family family, const QList<GC_StoredHitShares *> &holders,
                              const QList<GC_Interval> &ranges, const QList<qint64> &rowIds,
                              const QList<GC_SharedGenomeId::Row> &rows)
{
    if (rows.isEmpty())
        return;
    const QList<int> owners = GC_SharedGenomeId::owners(ranges, rows);
    QList<Share> shares(holders.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        shares[owners.at(i)].insert(rowIds.at(i));
    for (qsizetype i = 0; i < holders.size(); ++i)
        holders.at(i)->setShare(family, shares.at(i));
}
