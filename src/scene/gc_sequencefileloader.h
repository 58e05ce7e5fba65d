#ifndef GC_SEQUENCEFILELOADER_H
#define GC_SEQUENCEFILELOADER_H

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class GC_GenbankParser;
class GC_Genome;
class GC_GenomeScene;
class QSqlDatabase;
class QSqlQuery;
class QSqlRecord;

// Puts one genome, read from a single file, at the end of the scene's top
// row, with no comparison: a genome of a comparison database or of a
// canvas (chosen by index), a Genbank record with a gene per feature
// stretch, or the first record of a FASTA file.
class GC_SequenceFileLoader
{
public:
    explicit GC_SequenceFileLoader(GC_GenomeScene *scene);

    // False, with the reason in the scene's lastErrorText(), when the file is
    // none of the four kinds or yields no genome. The FASTA records after
    // the first, which the genome leaves out, are named in leftOut (what a
    // Genbank file leaves out was said when the file was chosen).
    bool load(const QString &fileName, int genomeIndex, QStringList *leftOut = nullptr);

private:
    // Read through db, the file's connection, checked already. False, with
    // the scene's error text set, when the file is damaged; true also when
    // no genome could be read (load() says so).
    bool loadComparison(const QSqlDatabase &db, const QString &fileName, int genomeIndex);
    bool loadCanvas(const QSqlDatabase &db, const QString &fileName, int genomeIndex);
    // Appends the genomes rows under one id to rows, in file order. False,
    // with the scene's error text set, when their reading fails partway.
    bool genomeRows(const QSqlDatabase &db, const QString &fileName, int id, QList<QSqlRecord> *rows);
    // Whether the reading of table that query ran failed on a file that has
    // the table: then the file is damaged, and the scene's error text says so.
    bool failedOnDamage(const QSqlDatabase &db, const QString &fileName, const QString &table,
                        const QSqlQuery &query);
    void loadGenbank(const GC_GenbankParser &parser);
    void loadFasta(const QPair<QString, QString> &record);
    bool fail(const QString &reason);
    void place(GC_Genome *genome, bool arrange);

    GC_GenomeScene *m_scene;
};

#endif
