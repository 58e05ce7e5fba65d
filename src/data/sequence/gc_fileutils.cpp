#include "gc_fileutils.h"

#include "gc_filereplacement.h"
#include "gc_genbankparser.h"
#include "gc_queryend.h"
#include "gc_sqlconnection.h"
#include "gc_textlinereader.h"

#include <QSet>
#include <QSqlQuery>

namespace {

// Appends the letters of one FASTA sequence line; at the first byte that
// is neither a nucleotide letter nor a blank, answers its offset within the
// line.
qsizetype appendNucleotides(QByteArrayView line, QByteArray &sequence)
{
    const qsizetype before = sequence.size();
    sequence.resize(before + line.size());
    char *out = sequence.data() + before;
    qsizetype refused = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (GC_FileUtils::isNucleotideLetter(uchar(c))) {
            *out++ = c;
        } else if (c != ' ' && (c < '\t' || c > '\r')) {
            refused = i;
            break;
        }
    }
    sequence.truncate(out - sequence.constData());
    return refused;
}

} // namespace

namespace GC_FileUtils {

QString describeCharacter(QChar c)
{
    if (c.isPrint())
        return QString("\"%1\"").arg(c);
    return QString("the character U+%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
}

SequenceFileKind sequenceFileKind(const QString &path, QString *problem)
{
    GC_TextLineReader reader(path);
    if (!reader.open()) {
        if (problem)
            *problem = reader.errorText();
        return NoSequenceFile;
    }
    QString line;
    bool first = true;
    bool sawText = false;
    while (reader.readLine(line)) {
        // A Genbank DEFINITION always comes before any line that starts
        // with '>': the first such line makes a FASTA file.
        if (line.startsWith('>'))
            return FastaFile;
        if (!sawText && !line.trimmed().isEmpty()) {
            if (line.startsWith(QLatin1String("LOCUS")) || line.startsWith(QLatin1String("DEFINITION")))
                return GenbankFile;
            sawText = true;
        }
        if (!first && line.contains(QLatin1String("DEFINITION")))
            return GenbankFile;
        first = false;
    }
    if (reader.hasError()) {
        if (problem)
            *problem = reader.errorText();
        return NoSequenceFile;
    }
    if (problem)
        *problem = first ? QString("%1 is empty").arg(path)
                         : QString("%1 is neither a Genbank nor a FASTA file").arg(path);
    return NoSequenceFile;
}

bool readFastaFile(const QString &path, QList<QPair<QString, QString>> *records, QString *errorText)
{
    records->clear();
    GC_TextLineReader reader(path);
    QString problem;
    if (reader.open()) {
        QSet<QString> names;
        QString name;
        // Letters are gathered as bytes and made a string once per record.
        QByteArray sequence;
        bool inRecord = false;
        // Closes the record read so far; false when it cannot be a genome.
        auto finish = [&]() {
            if (!inRecord)
                return true;
            if (sequence.isEmpty()) {
                problem = QString("the FASTA record \"%1\" holds no sequence letters").arg(name);
                return false;
            }
            records->append(qMakePair(name, QString::fromLatin1(sequence)));
            sequence.clear();
            return true;
        };
        QByteArrayView line;
        while (problem.isEmpty() && reader.readLine(line)) {
            const qint64 lineNumber = reader.lineNumber();
            if (line.startsWith('>')) {
                if (!finish())
                    break;
                name = reader.text(line.sliced(1)).simplified();
                inRecord = true;
                if (name.isEmpty())
                    problem = QString("the FASTA header on line %1 gives no record name").arg(lineNumber);
                else if (names.contains(name))
                    problem = QString("the FASTA record name \"%1\" is used twice").arg(name);
                names.insert(name);
            } else if (!inRecord) {
                const QByteArrayView text = line.trimmed();
                if (!text.isEmpty() && !text.startsWith(';'))
                    problem = QString("line %1 comes before the first FASTA header (a line beginning with \">\")")
                                  .arg(lineNumber);
            } else {
                const qsizetype bad = appendNucleotides(line, sequence);
                if (bad >= 0)
                    problem = QString("the FASTA record \"%1\" %2")
                                  .arg(name, notNucleotideOnLine(reader.describeCharacterAt(line, bad), lineNumber));
            }
        }
        if (problem.isEmpty() && reader.hasError())
            problem = reader.errorText();
        else if (problem.isEmpty() && finish() && records->isEmpty())
            problem = QString("it holds no FASTA record");
    } else {
        problem = reader.errorText();
    }
    if (problem.isEmpty())
        return true;
    records->clear();
    if (errorText)
        *errorText = problem.contains(path) ? problem : QString("%1: %2").arg(path, problem);
    return false;
}

bool isNucleotideLetter(char16_t c)
{
    switch (c | 0x20) { // lower case for letters
    case 'a': case 'c': case 'g': case 't': case 'u':
    case 'r': case 'y': case 's': case 'w': case 'k': case 'm':
    case 'b': case 'd': case 'h': case 'v': case 'n':
        return c < 0x80;
    default:
        return false;
    }
}

QString notNucleotideOnLine(const QString &character, qint64 lineNumber)
{
    return QString("holds %1 on line %2, which is not a nucleotide letter").arg(character).arg(lineNumber);
}

QString sequenceProblem(const QString &sequence)
{
    const char16_t *data = reinterpret_cast<const char16_t *>(sequence.constData());
    for (qsizetype i = 0; i < sequence.size(); ++i) {
        if (!isNucleotideLetter(data[i]))
            return QString("it holds %1 at position %2, which is not a nucleotide letter")
                .arg(describeCharacter(sequence.at(i)))
                .arg(i + 1);
    }
    return QString();
}

QString genbankDefinition(const QString &path)
{
    GC_TextLineReader reader(path);
    if (!reader.open())
        return QString();
    QString line;
    reader.readLine(line);
    // Lines are cut into keyword and value as the Genbank reader cuts them,
    // so the name listed here is the name the reader gives the genome.
    QString definition;
    bool seen = false;
    bool gathering = false;
    QString key;
    QString value;
    while (reader.readLine(line)) {
        GC_GenbankParser::splitHeaderLine(line, key, value);
        if (!seen) {
            if (key == QLatin1String("DEFINITION")) {
                definition = value;
                seen = gathering = true;
            }
            continue;
        }
        if (key == QLatin1String("ACCESSION") || key == QLatin1String("FEATURES")
            || key == QLatin1String("ORIGIN"))
            return definition.simplified();
        if (!key.isEmpty())
            gathering = false;
        else if (gathering)
            definition += QLatin1Char(' ') + value;
    }
    return QString();
}

int filetype(const QString &path, QString *unreadable)
{
    if (unreadable)
        unreadable->clear();
    GC_SqlConnection connection("gc_fileutils_filetype", path, GC_SqlConnection::ReadOnly);
    if (!connection.isOpen())
        return FILETYPE_NONE;
    // Fails alike for a file that is no database and one without the table.
    QSqlQuery query(connection.database());
    if (!query.prepare("SELECT key, value FROM file_properties WHERE key IN ( 'type' , ? )")) {
        if (unreadable && GC_SqlConnection::isUnreadableHere(query.lastError()))
            *unreadable = GC_SqlConnection::failureText(path, query.lastError());
        return FILETYPE_NONE;
    }
    query.addBindValue(GC_FileReplacement::unfinishedKey());
    if (!query.exec()) {
        if (unreadable && GC_SqlConnection::isUnreadableHere(query.lastError()))
            *unreadable = GC_SqlConnection::failureText(path, query.lastError());
        return FILETYPE_NONE;
    }
    QString type;
    bool unfinished = false;
    while (query.next()) {
        if (query.value(0).toString() == QLatin1String("type"))
            type = query.value(1).toString();
        else
            unfinished = true;
    }
    // The type, or the mark of a save that stopped, may lie past the error.
    if (GC_QueryEnd::stoppedShort(query)) {
        if (unreadable)
            *unreadable = GC_QueryEnd::failureText(path, QStringLiteral("file_properties"), query);
        return FILETYPE_NONE;
    }
    if (unfinished) {
        if (unreadable)
            *unreadable = unfinishedSaveText(path);
        return FILETYPE_NONE;
    }
    if (type == "sorvikcomparison" || type == "genomecomparisson")
        return FILETYPE_COMPARISON;
    if (type == "kestalcanvas")
        return FILETYPE_CANVAS;
    return FILETYPE_NONE;
}

QString unfinishedSaveText(const QString &path)
{
    return QStringLiteral("The file \"%1\" was left by a save that stopped before it finished: it "
                          "holds only part of a canvas and cannot be opened.\nThe canvas that save "
                          "was writing was left as it was before; open that one instead.")
        .arg(path);
}

QString withoutWhiteSpace(const QString &text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : text) {
        if (!c.isSpace())
            *out++ = c;
    }
    result.truncate(out - result.constData());
    return result;
}

} // namespace GC_FileUtils
