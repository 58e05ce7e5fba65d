#ifndef GC_BLASTWORKFOLDER_H
#define GC_BLASTWORKFOLDER_H

#include <QString>
#include <QStringList>

// Where a BLAST run writes its work files under fixed names: the folder of
// this run of the program (a folder of its own under "blasttemp" in the
// user's home folder, see runFolder()) or a subfolder of it. A run works in
// this folder only: it fails when the folder cannot be created, entered or
// written, and it removes exactly the files it names, never by a pattern,
// so nothing else of the user's is touched.
class GC_BlastWorkFolder
{
public:
    // The program run's folder itself.
    GC_BlastWorkFolder();
    // A subfolder of it, so that concurrent runs never share files.
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

    // The folder of this run of the program: "blasttemp/run-" and a random
    // name, made by ensure() with mkdir, which fails where anything of that
    // name exists, and readable by the user alone. So two copies of the
    // program never share work files, and no file someone else made there
    // is ever read. The same path for the whole run. It bears the mark of a
    // live run (GC_RunMark) until removeRunFolder().
    static QString runFolder();
    // Removes the run's folder with everything in it, once nothing runs any
    // more (at the program's end). The folder is the run's alone: all it
    // holds was written by the run.
    static void removeRunFolder();
    // Removes the folders of runs of the program that ended without removing
    // theirs (killed); answers them. For the program's start.
    static QStringList removeEndedRuns();

private:
    static bool ensureRunFolder(QString *errorText);

    QString m_path;
};

#endif
