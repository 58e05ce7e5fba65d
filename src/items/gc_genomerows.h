#ifndef GC_GENOMEROWS_H
#define GC_GENOMEROWS_H

#include <QString>

class GC_Genome;
class QSqlDatabase;
class QSqlQuery;

// A genome's side of the canvas file: the genomes table and the writing and
// reading of one genome with its dependent rows (ruler, genes, annotations
// and homology hits).
class GC_GenomeRows
{
public:
    static QString createTableSql();
    static QString selectSql();
    static QString insertSql();

    // Writes the genome row, then its ruler, genes, annotations and hits,
    // stepping the canvas row counter before each gene, annotation and hit
    // held in memory. Hits never loaded from the genome's source file are
    // copied from it. Stops at the first failing statement: false, with
    // the reason in errorText.
    static bool save(const GC_Genome &genome, QSqlQuery &query, int place, int &rowCounter,
                     QString *errorText);

    // Fills the genome, whose id is already set, from a row of selectSql()
    // and reads its ruler, genes and annotations from the same database,
    // then counts its stored hits. Reads only: an older genes table without
    // the note, locusTag and metadata columns is read as it is.
    static void load(GC_Genome &genome, const QSqlQuery &row, const QSqlDatabase &database);

private:
    static QString genesSelect(const QSqlDatabase &database);
};

#endif
