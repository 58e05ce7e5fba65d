#ifndef GC_BLASTWORKFOLDER_H
#define GC_BLASTWORKFOLDER_H

#include <QString>
#include <QStringList>

// The folder "blasttemp" under the user's home folder where the homology
// searches write their work files under fixed names (each search dialog is
// modal, so the names never collide).
class GC_BlastWorkFolder
{
public:
    GC_BlastWorkFolder();

    QString path() const { return m_path; }
    QString filePath(const QString &fileName) const;

    // Creates the folder when missing; false with the reason otherwise.
    bool ensure(QString *errorText = nullptr) const;

    // Removes the files whose names match (plain names or wildcard
    // patterns such as "seq.n*"); missing ones are no failure.
    void removeFiles(const QStringList &nameFilters) const;

    // Writes header, a line feed and the sequence (no line feed after it).
    bool writeFasta(const QString &fileName, const QByteArray &header, const QString &sequence,
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
