#include "gc_genbankrecordwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const int maximumNameLength = 150;
}

GC_GenbankRecordWriter::GC_GenbankRecordWriter(const QString &folder)
    : folder(folder)
{
}

QString GC_GenbankRecordWriter::definition(const QString &record)
{
    const int start = record.indexOf(QLatin1String("DEFINITION"));
    if (start < 0)
        return QString();
    const int textStart = start + int(qstrlen("DEFINITION"));
    const int end = record.indexOf(QLatin1String("\nACCESSION"), textStart);
    if (end < 0)
        return QString();
    QString name = record.mid(textStart, end - textStart).simplified();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

QString GC_GenbankRecordWriter::accession(const QString &record)
{
    const QLatin1String keyword("\nACCESSION");
    const int start = record.indexOf(keyword);
    if (start < 0)
        return QString();
    const int textStart = start + int(keyword.size());
    int end = record.indexOf(QLatin1Char('\n'), textStart);
    if (end < 0)
        end = int(record.size());
    return record.mid(textStart, end - textStart).simplified().section(QLatin1Char(' '), 0, 0);
}

QString GC_GenbankRecordWriter::safeFileName(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        const bool refused = c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c);
        safe += refused ? QLatin1Char('_') : c;
    }
    safe = safe.simplified();
    while (safe.contains(QLatin1String("..")))
        safe.replace(QLatin1String(".."), QLatin1String("."));
    // No hidden files, and nothing that reads as "." or "..".
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    if (safe.size() > maximumNameLength)
        safe.truncate(maximumNameLength);
    // Some file systems drop trailing dots and blanks.
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.chop(1);
    return safe;
}

QStringList GC_GenbankRecordWriter::writeRecords(const QString &text)
{
    QStringList written;
    failed.clear();
    const QStringList records = text.split(QStringLiteral("\n//\n"));
    for (QString record : records) {
        // An answer that ends without a line break after its last "//".
        if (record.endsWith(QLatin1String("\n//")))
            record.chop(3);
        if (record.trimmed().isEmpty())
            continue;  // what follows the last record's "//" line
        const QString name = safeFileName(definition(record));
        if (name.isEmpty()) {
            failed << QObject::tr("A record without a DEFINITION line was not saved: %1")
                          .arg(record.trimmed().left(60).section(QLatin1Char('\n'), 0, 0));
            continue;
        }
        const QString firstChoice = QFileInfo(QDir(folder).filePath(name + QLatin1String(".gb")))
                                        .absoluteFilePath();
        const QString id = accession(record);
        const QPair<QString, QString> key(firstChoice, id);
        const QString own = id.isEmpty() ? QString() : ownFiles.value(key);
        const QString path = own.isEmpty() ? freePath(name) : own;
        QString error;
        if (!writeFile(path, record, &error)) {
            failed << QObject::tr("%1: %2").arg(QDir::toNativeSeparators(path), error);
            continue;
        }
        taken.insert(path);
        if (!id.isEmpty())
            ownFiles.insert(key, path);
        written << path;
    }
    return written;
}

QString GC_GenbankRecordWriter::freePath(const QString &baseName) const
{
    const QDir dir(folder);
    QString path = QFileInfo(dir.filePath(baseName + QLatin1String(".gb"))).absoluteFilePath();
    for (int n = 2; QFileInfo::exists(path) || taken.contains(path); ++n)
        path = QFileInfo(dir.filePath(QStringLiteral("%1 (%2).gb").arg(baseName).arg(n)))
                   .absoluteFilePath();
    return path;
}

bool GC_GenbankRecordWriter::writeFile(const QString &path, const QString &record,
                                       QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    // The answer was read as Latin-1, so this gives back its bytes unchanged.
    // The "//" line the split took off goes back: a Genbank file without it
    // reads as truncated.
    const QByteArray bytes = record.toLatin1() + "\n//\n";
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
