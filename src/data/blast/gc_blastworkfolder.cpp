#include "gc_blastworkfolder.h"

#include "gc_log.h"
#include "gc_runmark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

struct RunFolder
{
    QMutex mutex;
    QString path;
    bool made = false; // by this run, and not removed since
    std::unique_ptr<GC_RunMark> mark;
};

RunFolder &runFolderState()
{
    static RunFolder state;
    return state;
}

bool folderFailure(QString *errorText, const QString &path, const QString &why)
{
    if (errorText)
        *errorText = QStringLiteral("the BLAST work folder %1 %2").arg(path, why);
    return false;
}

} // namespace

GC_BlastWorkFolder::GC_BlastWorkFolder()
    : m_path(runFolder())
{
}

GC_BlastWorkFolder::GC_BlastWorkFolder(const QString &subfolder)
    : m_path(runFolder() + QLatin1Char('/') + subfolder)
{
}

QString GC_BlastWorkFolder::runFolder()
{
    RunFolder &state = runFolderState();
    QMutexLocker lock(&state.mutex);
    // Unguessable, so that nobody can have made it beforehand.
    if (state.path.isEmpty())
        state.path = QDir::homePath() + QStringLiteral("/blasttemp/run-")
                     + QString::number(QRandomGenerator::system()->generate64(), 36);
    return state.path;
}

bool GC_BlastWorkFolder::ensureRunFolder(QString *errorText)
{
    const QString path = runFolder();
    RunFolder &state = runFolderState();
    QMutexLocker lock(&state.mutex);
    // "blasttemp" itself is shared by every run of the program.
    const QString shared = QFileInfo(path).path();
    const QFileInfo sharedInfo(shared);
    if (sharedInfo.exists() && !sharedInfo.isDir())
        return folderFailure(errorText, shared, QStringLiteral("is not a folder"));
    if (!QDir().mkpath(shared))
        return folderFailure(errorText, shared, QStringLiteral("cannot be created"));
    const QFileInfo folder(path);
    if (folder.exists() || folder.isSymLink()) {
        if (!folder.isDir())
            return folderFailure(errorText, path, QStringLiteral("is not a folder"));
        if (!state.made || folder.isSymLink())
            return folderFailure(errorText, path, QStringLiteral("was not made by this run of Kestal"));
        return true;
    }
    // mkdir fails where anything of that name appeared meanwhile.
    if (!QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return folderFailure(errorText, path, QStringLiteral("cannot be created"));
    state.made = true;
    // Without the mark the run works all the same; only a kill would leave
    // the folder behind.
    QString markError;
    state.mark = GC_RunMark::place(path, &markError);
    if (!state.mark)
        qCInfo(lcKestal).noquote() << markError;
    return true;
}

void GC_BlastWorkFolder::removeRunFolder()
{
    const QString path = runFolder();
    RunFolder &state = runFolderState();
    QMutexLocker lock(&state.mutex);
    const QFileInfo folder(path);
    // Never through a link: only the folder this run made.
    if (!state.made || !folder.isDir() || folder.isSymLink())
        return;
    if (!QDir(path).removeRecursively())
        qCDebug(lcKestal).noquote() << "GC_BlastWorkFolder: cannot remove" << path;
    state.mark.reset();
    state.made = false;
}

QStringList GC_BlastWorkFolder::removeEndedRuns()
{
    // The pattern of runFolder()'s names.
    return GC_RunMark::removeEndedRuns(QFileInfo(runFolder()).path(), QRegularExpression("run-[0-9a-z]+"));
}

QString GC_BlastWorkFolder::filePath(const QString &fileName) const
{
    return m_path + QLatin1Char('/') + fileName;
}

bool GC_BlastWorkFolder::ensure(QString *errorText) const
{
    if (!ensureRunFolder(errorText))
        return false;
    auto failed = [&](const QString &why) { return folderFailure(errorText, m_path, why); };
    const QFileInfo existing(m_path);
    if (existing.exists() && !existing.isDir())
        return failed(QStringLiteral("is not a folder"));
    if (!QDir().mkpath(m_path))
        return failed(QStringLiteral("cannot be created"));
    const QFileInfo folder(m_path);
    if (!folder.isDir() || !folder.isExecutable())
        return failed(QStringLiteral("cannot be entered"));
    // Permission bits do not tell everything (read-only mounts, root):
    // only a file actually written proves the folder takes the run's files.
    QTemporaryFile probe(filePath(QStringLiteral("probe-XXXXXX")));
    if (!probe.open())
        return failed(QStringLiteral("cannot be written: %1").arg(probe.errorString()));
    return true;
}

bool GC_BlastWorkFolder::removeFiles(const QStringList &fileNames, QString *errorText) const
{
    for (const QString &name : fileNames) {
        const QString path = filePath(name);
        const QFileInfo file(path);
        if (!file.exists() && !file.isSymLink())
            continue;
        if (file.isDir() || !QFile::remove(path)) {
            if (errorText)
                *errorText = QStringLiteral("cannot remove the work file %1").arg(path);
            return false;
        }
    }
    return true;
}

QStringList GC_BlastWorkFolder::databaseFileNames(const QString &databaseName, char type)
{
    // What makeblastdb writes (with -hash_index for nucleotides), plus the
    // alias file of a database too large for one volume.
    static const char *const suffixes[] = {"db", "hd", "hi", "hr", "in", "og", "ot", "sq",
                                           "tf", "to", "al", "sd", "si", "hs", "js"};
    QStringList names;
    for (const char *suffix : suffixes)
        names << databaseName + QLatin1Char('.') + QLatin1Char(type) + QLatin1String(suffix);
    return names;
}

bool GC_BlastWorkFolder::writeFasta(const QString &fileName, const QByteArray &header,
                                    const QString &sequence, QString *errorText) const
{
    return writeFasta(fileName, header, sequence.toLatin1(), errorText);
}

bool GC_BlastWorkFolder::writeFasta(const QString &fileName, const QByteArray &header,
                                    const QByteArray &letters, QString *errorText) const
{
    QFile file(filePath(fileName));
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                    && file.write(header + '\n') == header.size() + 1
                    && file.write(letters) == letters.size() && file.flush();
    if (!ok && errorText)
        *errorText = file.errorString();
    return ok;
}

bool GC_BlastWorkFolder::copyDatabase(const QString &sourceBase, const QStringList &extensions,
                                      QString *errorText) const
{
    const QString name = QFileInfo(sourceBase).fileName();
    for (const QString &extension : extensions) {
        const QFileInfo source(sourceBase + extension);
        const QFileInfo target(filePath(name + extension));
        if (!source.isFile()) {
            if (errorText)
                *errorText = QStringLiteral("%1 does not exist").arg(source.filePath());
            return false;
        }
        if (target.isFile() && target.size() == source.size()
            && target.lastModified() >= source.lastModified())
            continue;

        QFile in(source.filePath());
        QSaveFile out(target.filePath());
        bool ok = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly);
        while (ok && !in.atEnd()) {
            const QByteArray block = in.read(1 << 20);
            ok = !block.isEmpty() && out.write(block) == block.size();
        }
        if (ok)
            ok = out.commit();
        else
            out.cancelWriting();
        if (!ok) {
            if (errorText)
                *errorText = QStringLiteral("cannot copy %1 to %2").arg(source.filePath(), target.filePath());
            return false;
        }
    }
    return true;
}
