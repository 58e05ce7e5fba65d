#ifndef GC_GENOMEROWS_H
#define GC_GENOMEROWS_H

#include <QList>
#include <QString>

class GC_Genome;
class QSqlDatabase;
class QSqlQuery;
class QSqlRecord;

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
    // held in memory, and each stored row its bar left out (written back as
    // read). Hits never loaded from the genome's source file are
    // copied from it (only its share where it has one). Stops at the first
    // failing statement or at stored hits that cannot be copied: false,
    // with the reason in errorText.
    static bool save(const GC_Genome &genome, QSqlQuery &query, int place, int &rowCounter,
                     QString *errorText);

    // Fills the genome, whose id is already set, from a row of selectSql()
    // and reads its ruler and (with withItems) its genes and annotations
    // from the same database, then counts its stored hits. occurrence is
    // how many earlier genomes rows carry the same id: the ruler rows of an
    // id follow its genomes rows in order. Reads only: an older genes table
    // without the note, locusTag and metadata columns is read as it is.
    // False, with the reason in damage, when the file fails to give the
    // rows it holds.
    static bool load(GC_Genome &genome, const QSqlRecord &row, const QSqlDatabase &database,
                     bool withItems, int occurrence, QString *damage);

    // Reads the genes and annotations stored under fileId and gives each
    // to one of the genomes that share that id in the file (listed in file
    // order; see GC_SharedGenomeId); deals the stored hit rows of the id
    // out among them by the same rule, as their shares of the file's rows.
    // False, with the reason in damage, when the file fails to give its rows.
    static bool loadSharedItems(int fileId, const QList<GC_Genome *> &genomes,
                                const QSqlDatabase &database, QString *damage);

private:
    static QString genesSelect(const QSqlDatabase &database);
};

#endif
