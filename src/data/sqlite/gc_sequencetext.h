#ifndef GC_SEQUENCETEXT_H
#define GC_SEQUENCETEXT_H

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// Whole sequences pass to and from SQLite as their UTF-8 bytes. Bound or
// read as a QString they go through SQLite's UTF-16 conversion, one
// character at a time: milliseconds per megabase, paid on every build,
// comparison, load and save. Qt converts the bytes much faster, and the
// statements turn them into TEXT and back (CAST), so what is stored is
// the same text as ever.
class GC_SequenceText
{
public:
    // The placeholder of a sequence in an INSERT of a file this program
    // creates (UTF-8, SQLite's default encoding).
    static QString placeholder() { return QStringLiteral("CAST( ? AS TEXT )"); }
    // The value to bind to placeholder(); an empty sequence is bound as it
    // is, so that NULL and "" stay apart.
    static QVariant bound(const QString &sequence);

    // The column expression that reads sequence column from db: its bytes
    // where the file holds UTF-8 text, the text itself otherwise.
    static QString column(const QSqlDatabase &db, const QString &column);
    // The sequence read through column().
    static QString value(const QVariant &column);
    // The same as Latin-1 letters, the way BLAST input files hold them.
    static QByteArray latin1(const QVariant &column);
};

#endif
