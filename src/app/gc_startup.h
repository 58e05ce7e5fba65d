#ifndef GC_STARTUP_H
#define GC_STARTUP_H

#include <QString>
#include <QStringList>

// The program's start-up steps before the main window exists, kept apart
// from main() so that each can be run on its own.
class GC_Startup
{
public:
    // Organization "VEXA", application "Kestal", version "1.0".
    static void setSettingsIdentity();

    // Appends applicationFolder + "/plugins" to the library paths and logs
    // the list.
    static void addPluginPath(const QString &applicationFolder);

    // Writes "makeblastdbpath", "blastnpath" and "tblastnpath" (the
    // application folder followed by the program name) only where the
    // settings store holds no value; existing values are kept as they are.
    // Paths that do not exist are fine: the BLAST callers fall back to ".exe"
    // and then to the program on PATH. Answers the keys written.
    static QStringList seedToolPaths(const QString &applicationFolder);

    // Opens the COG, RFAM and rRNA reference databases and the taxonomy
    // database, then loads the COG category colours. Each opener logs its
    // own outcome; nothing here stops start-up.
    static void openReferenceData();

    // Removes what runs of the program that were killed left behind: the
    // folders of their comparison databases and their BLAST work folders,
    // never a folder of a run alive now. Answers the folders removed.
    static QStringList removeEndedRuns();

    // Everything above, in order, for the running application.
    static void run();
};

#endif
