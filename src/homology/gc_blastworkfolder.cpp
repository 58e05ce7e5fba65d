#include "gc_blastworkfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

GC_BlastWorkFolder::GC_BlastWorkFolder()
    : m_path(QDir::homePath() + QStringLiteral("/blasttemp"))
{
}

QString GC_BlastWorkFolder::filePath(const QString &fileName) const
{
    return m_path + QLatin1Char('/') + fileName;
}

bool GC_BlastWorkFolder::ensure(QString *errorText) const
{
    if (QDir().mkpath(m_path))
        return true;
    if (errorText)
        *errorText = QStringLiteral("cannot create the folder %1").arg(m_path);
    return false;
}

void GC_BlastWorkFolder::removeFiles(const QStringList &nameFilters) const
{
    const QDir dir(m_path);
    if (!dir.exists())
        return;
    const QStringList names = dir.entryList(nameFilters, QDir::Files | QDir::Hidden);
    for (const QString &name : names)
        QFile::remove(dir.filePath(name));
}

bool GC_BlastWorkFolder::writeFasta(const QString &fileName, const QByteArray &header,
                                    const QString &sequence, QString *errorText) const
{
    QFile file(filePath(fileName));
    const QByteArray dna = sequence.toLatin1();
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                    && file.write(header + '\n') == header.size() + 1
                    && file.write(dna) == dna.size() && file.flush();
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
