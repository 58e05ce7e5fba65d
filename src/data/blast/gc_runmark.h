#ifndef GC_RUNMARK_H
#define GC_RUNMARK_H

#include <QString>
#include <QStringList>

#include <memory>

class QRegularExpression;

// The sign that a folder belongs to a run of the program still alive: a file
// "kestal-run.lock" in it, locked (flock) for as long as the mark lives. The
// lock goes with the run however the run ends, a kill included, so a later
// start can tell the folders of ended runs, which nothing else would ever
// remove, from those of a run alive now (a second copy of the program).
class GC_RunMark
{
public:
    // Marks folder, which the run has just made, as a live run's. The file is
    // locked under another name and then renamed into place, so that nobody
    // ever finds the mark of a live run unlocked. Null, with the reason in
    // errorText, when it cannot be placed.
    static std::unique_ptr<GC_RunMark> place(const QString &folder, QString *errorText = nullptr);
    // Removes the mark's file, then lets the lock go.
    ~GC_RunMark();

    GC_RunMark(const GC_RunMark &) = delete;
    GC_RunMark &operator=(const GC_RunMark &) = delete;

    // Removes, with everything in them, the folders of parent whose whole
    // name matches namePattern, that are folders (no links) of the user's and
    // hold the mark of a run that has ended (its file there, lockable at
    // once). Folders of live runs, folders without a mark and whatever else
    // parent holds stay. Answers the folders removed.
    static QStringList removeEndedRuns(const QString &parent, const QRegularExpression &namePattern);

private:
    GC_RunMark(const QString &folder, int descriptor);

    QString m_folder;
    int m_descriptor = -1;
};

#endif
