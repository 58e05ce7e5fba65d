#ifndef GC_STOREDVALUECHECK_H
#define GC_STOREDVALUECHECK_H

#include <QString>
#include <QStringView>

class QSqlDatabase;

// Values that no writer of this program stores in a canvas or a comparison
// database, and that SQLite's quick check cannot see because they lie
// inside a row: a sequence holding anything but letters, a coordinate below
// 1, a matching that runs past the end of its genome. A file holding one is
// damaged. Each check answers what is wrong, in words naming the table, or
// an empty string. Genome ranges, genes and annotations are not checked:
// older files hold them past the end of the sequence, and older edits on the
// canvas could store them below 1.
class GC_StoredValueCheck
{
public:
    // The place of the first character that is not a letter A-Z or a-z;
    // -1 when there is none. One pass over the characters.
    static qsizetype firstNonLetter(QStringView sequence);

    // The sequence of the genome named genome.
    static QString sequence(const QString &table, const QString &genome, QStringView sequence);
    // The two ends of a range.
    static QString coordinates(const QString &table, int from, int to);
    // The ends of a matching on the genome named genome, of length
    // nucleotides; 0 where the length is not known, which checks the lower
    // bound only.
    static QString matching(const QString &table, int from, int to, const QString &genome,
                            int length);
    // The homology hit tables of the file (those it has).
    static QString homologyHits(const QSqlDatabase &db);
};

#endif
