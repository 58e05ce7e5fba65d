#ifndef GC_GENOMESOURCE_H
#define GC_GENOMESOURCE_H

#include "gc_homologyrowwriter.h"

#include <QList>
#include <QSet>
#include <QString>

class QSqlQuery;

// The SQLite file a genome was loaded from (a comparison database or a
// canvas): it holds the sequence of a genome not kept in memory and the
// homology rows not loaded into its bars. Every call opens its own
// short-lived connection; reading never changes the file.
class GC_GenomeSource
{
public:
    // The three homology families; the scene routes its bars' commands by
    // the same values.
    enum Family { Cog = 0, Rfam = 1, Rrna = 2 };

    // "cog_matchings", "rfam_matchings", "rrna_matchings".
    static QString tableName(Family family);
    // "COG", "RFAM", "rRNA": the family as the user knows it.
    static QString familyName(Family family);

    // Start, end, reference id, E-value and bit score of the family's rows
    // under one key (bound), and the rowid sixth when withRowId, in rowid
    // order then: what the show dialogs load and a save copies.
    static QString selectHitsSql(Family family, bool withRowId);

    // Where older canvases hold several genomes under one key, the rows of
    // the key are dealt out among them: a genome's share names its rows by
    // their rowids. Functions below that take a share touch only those rows
    // of the key; a null share stands for every row of the key.
    using Share = QSet<qint64>;

    // The whole sequence of the genome whose key in the file is key; empty
    // when the file, the row or the column is missing, and when several
    // rows carry the key. Comparison databases name the column
    // dna_sequence, canvases dnaSequence.
    static QString readSequence(const QString &path, int key);

    // Rows of the family's table for the key; -1 when they cannot be
    // counted (no file, no table). problem, when given, tells in words why
    // a file that may hold rows could not be counted (gone, cannot be
    // opened or read); it stays empty where there is nothing to count (no
    // source file, a file without the table).
    static int countRows(const QString &path, Family family, int key, QString *problem = nullptr);

    // Replaces the family's rows of the key (of the share, which then names
    // the new rows) by rows, in one transaction: the file holds either all
    // the old rows or all the new ones. False, with the reason, when the
    // file cannot be opened or written.
    static bool replaceRows(const QString &path, Family family, int key,
                            const QList<GC_HomologyRowWriter::Row> &rows, QString *errorText,
                            Share *share = nullptr);

    // Copies the family's rows of the key (of the share) into the canvas
    // being written, under genomeId. A source that is gone, cannot be opened
    // or cannot be read (held locked by another program) fails the copy, as
    // do a failed insert and rows given twice or out of their order (a page
    // damaged since it was read): false, with words naming the file and the
    // family in errorText. copied receives the number of rows written.
    static bool copyRows(const QString &path, Family family, int key, int genomeId,
                         QSqlQuery &canvasQuery, int *copied, QString *errorText,
                         const Share *share = nullptr);
    // What the user reads when the family's stored hits of path cannot be
    // copied, for the reason given.
    static QString copyFailureText(Family family, const QString &path, const QString &reason);
};

#endif
