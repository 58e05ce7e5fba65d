#ifndef GC_BLASTTOOLPATH_H
#define GC_BLASTTOOLPATH_H

#include <QString>

// Finds the BLAST+ program to run: the path stored under a settings key
// ("makeblastdbpath", "blastnpath", "tblastnpath"), that path with ".exe",
// then the plain program name on PATH.
class GC_BlastToolPath
{
public:
    // The executable to run, or "" with the reason in errorText.
    static QString resolve(const QString &settingsKey, const QString &programName,
                           QString *errorText = nullptr);

    // The same from a configured path instead of the settings store.
    static QString resolvePath(const QString &configuredPath, const QString &programName,
                               QString *errorText = nullptr);
};

#endif
