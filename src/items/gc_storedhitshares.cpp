#include "gc_storedhitshares.h"

GC_StoredHitShares::GC_StoredHitShares(const QString &path, int key)
    : m_path(path)
    , m_key(key)
{
}

void GC_StoredHitShares::setPath(const QString &path)
{
    m_path = path;
    forgetShares();
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
    return GC_GenomeSource::countRows(m_path, family, m_key);
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
    return GC_GenomeSource::replaceRows(m_path, family, m_key, rows, errorText,
                                        rowIds ? &*rowIds : nullptr);
}

bool GC_StoredHitShares::copy(Family family, int genomeId, QSqlQuery &canvasQuery,
                              QString *errorText) const
{
    const Share *rowIds = share(family);
    if (!rowIds && m_counts[family] < 0) {
        // The file could not be counted when the genome was read (gone or
        // locked for a moment): it may hold rows all the same.
        QString problem;
        const int stored = GC_GenomeSource::countRows(m_path, family, m_key, &problem);
        if (!problem.isEmpty()) {
            if (errorText)
                *errorText = GC_GenomeSource::copyFailureText(family, m_path, problem);
            return false;
        }
        if (stored <= 0)
            return true;
    }
    return GC_GenomeSource::copyRows(m_path, family, m_key, genomeId, canvasQuery, nullptr,
                                     errorText, rowIds);
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
