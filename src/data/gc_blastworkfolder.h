#ifndef GC_BLASTWORKFOLDER_H
#define GC_BLASTWORKFOLDER_H

#include <QString>
#include <QStringList>

// The folder "blasttemp" under the user's home folder (or a subfolder of it)
// where a BLAST run writes its work files under fixed names. A run works in
// this folder only: it fails when the folder cannot be created, entered or
// written, and it removes exactly the files it names, never by a pattern,
// so nothing else of the user's is touched.
class GC_BlastWorkFolder
{
public:
    GC_BlastWorkFolder();
    // A subfolder of "blasttemp", so that concurrent runs never share files.
    explicit GC_BlastWorkFolder(const QString &subfolder);

    QString path() const { return m_path; }
    QString filePath(const QString &fileName) const;

    // Creates the folder when missing and checks that it is a folder that
    // can be entered and written; false with a reason naming the folder.
    bool ensure(QString *errorText = nullptr) const;

    // Removes the named files of the folder (plain names, no patterns);
    // missing ones are no failure. False, with the reason, when one stays.
    bool removeFiles(const QStringList &fileNames, QString *errorText = nullptr) const;

    // The files makeblastdb writes for the nucleotide ('n') or protein ('p')
    // database databaseName, so that a run can remove exactly those.
    static QStringList databaseFileNames(const QString &databaseName, char type);

    // Writes header, a line feed and the sequence (no line feed after it).
    bool writeFasta(const QString &fileName, const QByteArray &header, const QString &sequence,
                    QString *errorText = nullptr) const;
    // The same with the sequence as Latin-1 letters.
    bool writeFasta(const QString &fileName, const QByteArray &header, const QByteArray &letters,
                    QString *errorText = nullptr) const;

    // Brings a copy of the BLAST database sourceBase (the files sourceBase +
    // each extension) into the folder under the database's own name. A copy
    // that already matches its source (same size, not older) stays; any
    // other is replaced through a temporary file, so that an interrupted
    // copy is never taken for a database. False, with the reason, when a
    // source file is missing or a copy fails.
    bool copyDatabase(const QString &sourceBase, const QStringList &extensions,
                      QString *errorText = nullptr) const;

private:
    QString m_path;
};

#endif
