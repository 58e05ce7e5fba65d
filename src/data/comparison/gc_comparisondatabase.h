#ifndef GC_COMPARISONDATABASE_H
#define GC_COMPARISONDATABASE_H

#include <QString>
#include <QStringList>

class GC_RowInsert;
class QSqlDatabase;

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
    static const GC_RowInsert &segmentInsert();
    static QString insertMatchingStatement();
    // Reads a genome's sequence the way GC_SequenceText::latin1() and
    // value() take it.
    static QString selectSequenceStatement(const QSqlDatabase &db);
};

#endif
