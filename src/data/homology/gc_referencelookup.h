#ifndef GC_REFERENCELOOKUP_H
#define GC_REFERENCELOOKUP_H

#include "gc_referencedatabases.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

// Single-row look-ups in a reference collection. Values are always bound to
// the statement's "?" placeholders, never pasted into it: codes and ids come
// from files and BLAST output. Each statement is prepared once per connection
// and reused, so loading thousands of stored hits costs no re-parsing.
// GUI thread only.
class GC_ReferenceLookup
{
public:
    // The columns of the first row that sql returns with values bound in
    // order; empty when there is no row, the statement fails (counted in
    // failureCount()) or the collection is not open.
    static QVariantList firstRow(GC_ReferenceDatabases::Collection collection, const QString &sql,
                                 const QVariantList &values);
    // The first column of that row; found tells whether there was a row.
    static QVariant firstValue(GC_ReferenceDatabases::Collection collection, const QString &sql,
                               const QVariantList &values, bool *found = nullptr);

    // Look-ups that failed since the program started: the statement could
    // not be prepared or run, or its reading stopped on an error. A look-up
    // that finds no row is none, nor one in a collection that is not open.
    // Work that must not take such a failure for "no row" compares the count
    // before and after.
    static int failureCount();
    // Why the last of them failed, as a reason inside a longer message.
    static QString lastFailure();

    // Drops the statements kept for a connection; called before it closes.
    static void releaseQueries(const QString &connectionName);
};

#endif
