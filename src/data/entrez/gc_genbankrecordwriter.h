#ifndef GC_GENBANKRECORDWRITER_H
#define GC_GENBANKRECORDWRITER_H

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

// Writes the records of an efetch answer (Genbank flat files, each ending
// with a "//" line) into a folder, one file per record, named after the
// record's DEFINITION with the extension ".gb".
//
// Names come from downloaded text, so they are made safe first: no path
// separators or characters that file systems refuse, no leading dots, a
// bounded length. A file this writer did not make is never overwritten: the
// name gets " (2)", " (3)" ... instead. A record (by accession) that this
// writer wrote before under the same name goes back into its own file, so
// fetching a record again gives one file, not two. Each file is written
// under a temporary name and renamed only when complete, and ends with the
// record's "//" line.
class GC_GenbankRecordWriter
{
public:
    explicit GC_GenbankRecordWriter(const QString &folder = QString());

    // Where the next records go; what was written before is remembered.
    void setFolder(const QString &value) { folder = value; }
    // Writes every record of text; returns the absolute paths written, in
    // record order. The records of this call that could not be written are
    // listed by failures().
    QStringList writeRecords(const QString &text);
    QStringList failures() const { return failed; }

    // The DEFINITION text of a record, lines joined, white space simplified
    // and one final full stop dropped; empty when the record has none.
    static QString definition(const QString &record);
    // The first word of the record's ACCESSION line; empty when it has none.
    static QString accession(const QString &record);
    // name made fit to be a file name on any common file system.
    static QString safeFileName(const QString &name);

private:
    QString freePath(const QString &baseName) const;
    bool writeFile(const QString &path, const QString &record, QString *error) const;

    QString folder;
    QStringList failed;
    // Every path written, and the one written for each record under each
    // first-choice name (keyed by that name's path and the accession).
    QSet<QString> taken;
    QHash<QPair<QString, QString>, QString> ownFiles;
};

#endif
