#ifndef GC_SHAREDGENOMEID_H
#define GC_SHAREDGENOMEID_H

#include "gc_interval.h"

#include <QList>
#include <QString>

// Older canvas files can hold several genomes rows under one id (a clone
// and a compared sequence could take the same id; a genome shown in both
// rows was written once per row). Their gene and annotation rows then name
// only the id, and this decides which of those genomes each row goes to:
//  - a row goes to a genome whose shown range it overlaps (a genome keeps
//    nothing wholly outside its range);
//  - identical copies of a row are dealt one to each genome it overlaps, in
//    file order (the genome written once per row, items included);
//  - among several genomes a row overlaps, or none, the file's write order
//    decides: the writer puts each genome's rows right after the genome, so
//    rows stay with their neighbours in the file, switching genome as
//    rarely as the ranges allow; a row no choice settles goes to the first
//    genome in file order.
// Every row goes to exactly one genome: none is lost or given twice.
class GC_SharedGenomeId
{
public:
    struct Row
    {
        QString content; // every stored value but the row's place
        GC_Interval range;
    };

    // ranges: the genomes sharing the id, in file order; rows: their rows,
    // in file order. Answers the index in ranges of each row's genome.
    static QList<int> owners(const QList<GC_Interval> &ranges, const QList<Row> &rows);
};

#endif
