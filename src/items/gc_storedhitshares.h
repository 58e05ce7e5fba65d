#ifndef GC_STOREDHITSHARES_H
#define GC_STOREDHITSHARES_H

#include "gc_genomesource.h"
#include "gc_sharedgenomeid.h"
#include "gc_sourcefilehold.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QSqlQuery;

// The homology hits one genome keeps in its source file: the file, the
// genome's key in it, how many rows of each family there are and, where
// the genomes of an older canvas carry one key, which of the key's rows
// are this genome's (its share). The count, the rows the show dialogs
// load, the rows a save copies and the rows a new search replaces are the
// same rows.
class GC_StoredHitShares
{
public:
    using Family = GC_GenomeSource::Family;
    using Share = GC_GenomeSource::Share;

    GC_StoredHitShares() = default;
    // Nothing counted yet, and no share.
    GC_StoredHitShares(const QString &path, int key);

    QString path() const { return m_source ? m_source->path() : QString(); }
    int key() const { return m_key; }
    // A share names rows of one key in one file: a new file or key forgets
    // the shares. The file is held from here on (GC_SourceFileHold).
    void setPath(const QString &path);
    // The file to open for the rows: the file they were read from, which
    // may by now be a private copy of it; empty, with the reason in
    // problem, when that file was changed by another program since.
    QString readablePath(QString *problem = nullptr) const;
    void setKey(int key);

    // The family's rows as last counted: 0 until counted, -1 when they
    // could not be counted.
    int count(Family family) const { return m_counts[family]; }
    // Counts them now (the share's, or every row of the key), without
    // keeping the count; -1 when they cannot be counted.
    int countNow(Family family) const;
    // Counts them now and keeps the count.
    int recount(Family family);
    // The family's share; null while every row of the key is this genome's.
    const Share *share(Family family) const;
    // Gives the genome its share of the family's rows, and counts them.
    void setShare(Family family, const Share &rowIds);

    // Replaces the family's rows (the share's, which then names the new
    // rows) by rows; false, with the reason, when the file cannot be
    // written.
    bool replace(Family family, const QList<GC_HomologyRowWriter::Row> &rows, QString *errorText);
    // Copies the family's rows (the share's) into the canvas being written,
    // under genomeId. Rows that could not be counted are counted again
    // first, so that they are copied all the same. False, with the reason
    // in words, when rows the file may hold cannot be read or written, or
    // when the file gives another number of rows than counted (damaged
    // since).
    bool copy(Family family, int genomeId, QSqlQuery &canvasQuery, QString *errorText) const;

    // Deals the family's rows of a key that several genomes carry out among
    // them, as their genes are dealt (GC_SharedGenomeId): ranges are the
    // genomes' shown ranges and holders their stored hits, in file order;
    // rowIds and rows the key's rows, in file order.
    static void deal(Family family, const QList<GC_StoredHitShares *> &holders,
                     const QList<GC_Interval> &ranges, const QList<qint64> &rowIds,
                     const QList<GC_SharedGenomeId::Row> &rows);

private:
    void forgetShares();

    std::shared_ptr<GC_SourceFileHold> m_source;
    int m_key = -1;
    int m_counts[3] = {0, 0, 0};
    std::optional<Share> m_shares[3];
};

#endif
