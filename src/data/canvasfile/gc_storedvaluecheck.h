#ifndef GC_STOREDVALUECHECK_H
#define GC_STOREDVALUECHECK_H

#include <QSet>
#include <QString>
#include <QStringView>

#include <initializer_list>
#include <limits>

class QSqlDatabase;
class QSqlQuery;
class QSqlRecord;
class QVariant;

// Values that no writer of this program stores in a canvas or a comparison
// database, and that SQLite's quick check cannot see because they lie
// inside a row: a sequence holding anything but letters, a coordinate below
// 1, a matching that runs past the end of its genome, a real that is not a
// finite number, an orientation that is neither 1 nor -1, text where a
// number belongs, a value beyond what a user can set (GC_UserReach). A
// file holding one is damaged. Each check answers what is wrong, in words
// naming the table, or an empty string. Genome ranges, genes and
// annotations are only held within reach of a genome (storedRange): older
// files hold them past the end of the sequence, and older edits on the
// canvas could store them below 1.
class GC_StoredValueCheck
{
public:
    // No genome the program can hold reaches this far (a sequence of a
    // thousand million letters would not fit in memory), and the length
    // of any range within minus to plus this much still fits an int.
    static constexpr qint64 maxCoordinate = 1000000000;

    // The place of the first character that is not a letter A-Z or a-z;
    // -1 when there is none. One pass over the characters.
    static qsizetype firstNonLetter(QStringView sequence);

    // The sequence of the genome named genome.
    static QString sequence(const QString &table, const QString &genome, QStringView sequence);
    // The two ends of a range: from 1 to maxCoordinate.
    static QString coordinates(const QString &table, qint64 from, qint64 to);
    // The two ends of a range as older versions stored them: anywhere
    // within maxCoordinate of nucleotide 1 either way.
    static QString storedRange(const QString &table, qint64 from, qint64 to);
    // The ends of a matching on the genome named genome, of length
    // nucleotides; 0 where the length is not known, which checks the
    // bounds of coordinates() only.
    static QString matching(const QString &table, qint64 from, qint64 to, const QString &genome,
                            int length);
    // A value read as a real (a position, scale, size, angle or score): a
    // finite number. column names it.
    static QString real(const QString &table, const QString &column, double value);
    // How a column of a row is read, and the values it may hold. A save
    // binds numbers as SQLite integers or reals and switches as what the
    // SQLite layer makes of a boolean: a number, or the texts "true" and
    // "false" older versions wrote. A column holding nothing reads as 0.
    struct Column
    {
        enum Kind {
            Real,  // a finite number within lowest..highest
            Whole, // a number within lowest..highest, read as an int
            Switch // a number, "true" or "false"
        };
        int index;
        Kind kind;
        double lowest = -std::numeric_limits<double>::infinity();
        double highest = std::numeric_limits<double>::infinity();
    };
    // A whole number of an int. Ids are counted on from the largest read, one
    // for each new item: they stay a thousand million or more below the
    // int's top.
    static Column wholeColumn(int index)
    {
        return {index, Column::Whole, -2147483648.0, 2147483647.0};
    }
    static Column idColumn(int index) { return {index, Column::Whole, -2147483648.0, 1e9}; }
    static Column realColumn(int index, double limit = std::numeric_limits<double>::infinity())
    {
        return {index, Column::Real, -limit, limit};
    }
    static Column realColumn(int index, double lowest, double highest)
    {
        return {index, Column::Real, lowest, highest};
    }
    static Column switchColumn(int index) { return {index, Column::Switch}; }
    // A nucleotide position, whose reach coordinates(), storedRange() and
    // matching() judge once it is read as a 64-bit whole number.
    static Column coordinateColumn(int index) { return {index, Column::Whole, -1e18, 1e18}; }
    // The columns of a row, each as its rule says.
    static QString columns(const QString &table, const QSqlQuery &row,
                           std::initializer_list<Column> rules);
    static QString columns(const QString &table, const QSqlRecord &row,
                           std::initializer_list<Column> rules);
    // An orientation: 1 or -1; a missing one reads as forward.
    static QString orientation(const QString &table, const QVariant &value);
    // The homology hit tables of the file (those it has).
    static QString homologyHits(const QSqlDatabase &db);
    // The genome a row belongs to, as the id in its column names it: one of
    // genomeIds, the ids of the file's genomes rows. A save writes such a
    // row only under a genome it writes; a row naming none is read by no
    // genome, and the next save would drop it.
    static QString owner(const QString &table, const QString &column, const QVariant &value,
                         const QSet<int> &genomeIds);
    // The tables whose rows name their genome (genes, annotations, rulers,
    // homology hits; those the file has): the first row naming none of
    // genomeIds, searched by SQLite rather than read row by row; then
    // rulersBeyondGenomeRows().
    static QString rowsOfNoGenome(const QSqlDatabase &db, const QSet<int> &genomeIds);
    // A ruler row beyond the one each genome row of its id reads: which of
    // them a genome takes would depend on the reader.
    static QString rulersBeyondGenomeRows(const QSqlDatabase &db);
};

#endif
