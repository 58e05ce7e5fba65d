#ifndef GC_RUNDATABASE_H
#define GC_RUNDATABASE_H

#include <QString>
#include <QStringList>

#include <memory>

class GC_RunMark;

// The comparison database of one run (one comparison of sequence files, one
// match-sequence search): "comparison.kestal" in a folder of its own, made
// exclusively in the temporary folder and readable by the user alone. So
// two runs never share a database, not even in two copies of the program,
// and no file someone else made is ever read.
//
// Whoever reads the database holds it (the document whose genomes came from
// it, the run building it); when the last holder lets go, the database,
// what SQLite left beside it and the folder are removed, each by its name.
// The folder bears the mark of a live run meanwhile (GC_RunMark), so that
// the next start of the program removes it should the program be killed.
class GC_RunDatabase
{
public:
    // Null, with the reason in errorText, when no folder can be made.
    static std::shared_ptr<GC_RunDatabase> create(QString *errorText = nullptr);
    ~GC_RunDatabase();

    GC_RunDatabase(const GC_RunDatabase &) = delete;
    GC_RunDatabase &operator=(const GC_RunDatabase &) = delete;

    QString path() const;
    QString folder() const { return m_folder; }

    // Removes the folders of comparison databases that runs ended without
    // removing (killed); answers them. For the program's start.
    static QStringList removeEndedRuns();

private:
    GC_RunDatabase(const QString &folder, std::unique_ptr<GC_RunMark> mark);

    QString m_folder;
    std::unique_ptr<GC_RunMark> m_mark;
};

#endif
