#include "gc_fileutils.h"

#include "gc_sqlconnection.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QStringConverter>
#include <QTextStream>

namespace {

bool openText(QFile &file, QTextStream &stream)
{
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    stream.setDevice(&file);
    stream.setEncoding(QStringConverter::System);
    return true;
}

QString withoutWhiteSpace(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            result.append(c);
    }
    return result;
}

// Reads FASTA records in file order and hands each (name, sequence) to
// record(); stops when record() answers false.
template <typename Recorder>
bool readFastaRecords(const QString &path, int maximumCount, Recorder record)
{
    QFile file(path);
    QTextStream stream;
    if (!openText(file, stream))
        return false;
    QString name;
    QString sequence;
    int count = 0;
    bool sawHeader = false;
    QString line;
    while (stream.readLineInto(&line)) {
        if (line.startsWith('>')) {
            if (!sequence.isEmpty()) {
                record(name.simplified(), withoutWhiteSpace(sequence));
                ++count;
                if (maximumCount > 0 && count >= maximumCount)
                    return true;
            }
            name = line.mid(1);
            sequence.clear();
            sawHeader = true;
        } else {
            sequence.append(line);
        }
    }
    // A file without any header holds no record.
    if (sawHeader && !sequence.isEmpty() && (maximumCount <= 0 || count < maximumCount))
        record(name.simplified(), withoutWhiteSpace(sequence));
    return true;
}

} // namespace

namespace GC_FileUtils {

QString tempCanvasPath()
{
    return QDir::tempPath() + "/temp.kestal";
}

bool isFasta(const QString &path)
{
    QFile file(path);
    QTextStream stream;
    if (!openText(file, stream))
        return false;
    QString line;
    while (stream.readLineInto(&line)) {
        if (line.startsWith('>'))
            return true;
    }
    return false;
}

bool isGenbank(const QString &path)
{
    QFile file(path);
    QTextStream stream;
    if (!openText(file, stream))
        return false;
    QString line;
    stream.readLineInto(&line);
    while (stream.readLineInto(&line)) {
        if (line.contains("DEFINITION"))
            return true;
    }
    return false;
}

QString genbankDefinition(const QString &path)
{
    QFile file(path);
    QTextStream stream;
    if (!openText(file, stream))
        return QString();
    QString line;
    stream.readLineInto(&line);
    QString definition;
    bool seen = false;
    while (stream.readLineInto(&line)) {
        if (!seen) {
            const int position = line.indexOf("DEFINITION");
            if (position < 0)
                continue;
            definition.append(line.mid(position + 11));
            seen = true;
        } else if (line.contains("ACCESSION")) {
            return definition.simplified();
        } else {
            definition.append(line);
        }
    }
    return QString();
}

QMap<QString, QString> sequenceRecordList(const QString &path, int maximumCount)
{
    QMap<QString, QString> records;
    readFastaRecords(path, maximumCount, [&records](const QString &name, const QString &sequence) {
        records.insert(name, sequence);
    });
    return records;
}

QPair<QString, QString> readFastaRecord(const QString &path)
{
    QPair<QString, QString> first;
    readFastaRecords(path, 1, [&first](const QString &name, const QString &sequence) {
        first = qMakePair(name, sequence);
    });
    return first;
}

int filetype(const QString &path)
{
    GC_SqlConnection connection("gc_fileutils_filetype", path, GC_SqlConnection::ReadOnly);
    if (!connection.isOpen())
        return FILETYPE_NONE;
    QSqlDatabase db = connection.database();
    if (!db.tables().contains("file_properties"))
        return FILETYPE_NONE;
    QSqlQuery query(db);
    if (!query.exec("SELECT value FROM file_properties WHERE key = 'type'") || !query.next())
        return FILETYPE_NONE;
    const QString type = query.value(0).toString();
    if (type == "sorvikcomparison" || type == "genomecomparisson")
        return FILETYPE_COMPARISON;
    if (type == "kestalcanvas")
        return FILETYPE_CANVAS;
    return FILETYPE_NONE;
}

} // namespace GC_FileUtils
