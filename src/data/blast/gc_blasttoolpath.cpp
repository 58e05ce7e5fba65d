#include "gc_blasttoolpath.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

QString GC_BlastToolPath::resolve(const QString &settingsKey, const QString &programName,
                                  QString *errorText)
{
    const QString configured = QSettings().value(settingsKey, programName).toString();
    return resolvePath(configured, programName, errorText);
}

QString GC_BlastToolPath::resolvePath(const QString &configuredPath, const QString &programName,
                                      QString *errorText)
{
    if (errorText)
        errorText->clear();
    for (const QString &candidate : {configuredPath, configuredPath + ".exe"}) {
        const QFileInfo info(candidate);
        if (candidate.isEmpty() || !info.isFile())
            continue;
        // An existing file that cannot run is a configuration fault to
        // report, not a reason to run some other copy of the program.
        if (!info.isExecutable()) {
            if (errorText)
                *errorText = QString("%1 is not executable").arg(info.absoluteFilePath());
            return QString();
        }
        return info.absoluteFilePath();
    }
    const QString onPath = QStandardPaths::findExecutable(programName);
    if (onPath.isEmpty() && errorText) {
        *errorText = QString("the file: %1 does not exists, and %2 is not on the PATH")
                         .arg(configuredPath, programName);
    }
    return onPath;
}
