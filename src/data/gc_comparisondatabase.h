#ifndef GC_COMPARISONDATABASE_H
#define GC_COMPARISONDATABASE_H

#include <QString>
#include <QStringList>

// The format of a comparison database: genomes, their segments and the
// matchings BLAST finds between them. A reverse-strand segment is stored
// with segment_from greater than segment_to; a matching on the target's
// reverse strand likewise with target_from greater than target_to.
class GC_ComparisonDatabase
{
public:
    // The 'type' value of file_properties that marks such a file.
    static QString typeValue() { return QStringLiteral("genomecomparisson"); }

    // Table creation and the two file_properties rows, in order.
    static QStringList createStatements();

    static QString insertGenomeStatement();
    static QString insertSegmentStatement();
    static QString insertMatchingStatement();
    static QString selectSequenceStatement();
};

#endif
