#include "gc_genbankparser.h"

#include "gc_fileutils.h"
#include "gc_log.h"
#include "gc_textlinereader.h"

#include <QFileInfo>
#include <QStringList>

#include <climits>

namespace {

const int FeatureKeyWidth = 21;
// Continuation lines of the header start in this column (0-based).
const int HeaderValueColumn = 12;

bool isStretchFeature(const QString &kind)
{
    return kind == "CDS" || kind == "tRNA" || kind == "rRNA" || kind == "mRNA";
}

bool isKeptFeature(const QString &kind)
{
    return kind == "source" || isStretchFeature(kind);
}

// Appends the letters of one ORIGIN line, lower-cased; digits and blanks go.
void appendSequenceLetters(const QString &line, QString &sequence)
{
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z')
            sequence.append(c);
        else if (u >= 'A' && u <= 'Z')
            sequence.append(QChar(u + ('a' - 'A')));
    }
}

struct LocationPiece
{
    QString text;
    bool reverse;
};

// Cuts a location into its stretches in one pass. Every name before a
// bracket (join, order, complement, ...) is an operator and goes, as do the
// partial-end signs; a stretch lies on the reverse strand when any
// complement() encloses it, however deep. pieceCount counts the
// comma-separated pieces, empty ones included.
QList<LocationPiece> locationPieces(const QString &location, int *pieceCount)
{
    QList<LocationPiece> pieces;
    QList<bool> enclosing; // per open bracket: is it a complement?
    int complements = 0;
    int count = 1;
    QString current;
    auto flush = [&]() {
        if (!current.isEmpty())
            pieces.append({current, complements > 0});
        current.clear();
    };
    for (const QChar c : location) {
        switch (c.unicode()) {
        case '(': {
            const bool complement = current == QLatin1String("complement");
            enclosing.append(complement);
            if (complement)
                ++complements;
            current.clear();
            break;
        }
        case ')':
            flush();
            if (!enclosing.isEmpty() && enclosing.takeLast())
                --complements;
            break;
        case ',':
            flush();
            ++count;
            break;
        case '<':
        case '>':
            break;
        default:
            if (!c.isSpace())
                current.append(c);
        }
    }
    flush();
    *pieceCount = count;
    return pieces;
}

enum CoordinateReading { CoordinateOk, NotACoordinate, OutOfRange };

// A position of a range text: decimal digits with an optional minus sign.
CoordinateReading readCoordinate(const QString &text, int length, int *value)
{
    qsizetype i = text.startsWith('-') ? 1 : 0;
    if (i >= text.size())
        return NotACoordinate;
    qint64 number = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < '0' || c > '9')
            return NotACoordinate;
        if (number <= INT_MAX)
            number = number * 10 + (c - '0');
    }
    if (text.startsWith('-') || number < 1 || number > length)
        return OutOfRange;
    *value = int(number);
    return CoordinateOk;
}

} // namespace

void GC_GenbankParser::splitHeaderLine(const QString &line, QString &key, QString &value)
{
    qsizetype start = 0;
    while (start < line.size() && line.at(start).isSpace())
        ++start;
    if (start >= HeaderValueColumn || start >= line.size()) {
        key.clear();
        value = line.mid(start).trimmed();
        return;
    }
    // The keyword is the first word, however few blanks follow it.
    qsizetype end = start;
    while (end < line.size() && !line.at(end).isSpace())
        ++end;
    key = line.mid(start, end - start);
    value = line.mid(end).trimmed();
}

bool GC_GenbankParser::fail(const QString &reason)
{
    m_lastErrorText = reason;
    return false;
}

bool GC_GenbankParser::parse()
{
    return read(true);
}

bool GC_GenbankParser::check()
{
    return read(false);
}

bool GC_GenbankParser::read(bool withFeatures)
{
    m_lastErrorText.clear();
    GC_TextLineReader reader(fileName);
    if (!reader.open())
        return fail(reader.errorText());

    header["VERSION"] = QString();
    header["GI"] = QString();
    QString sequence;
    // The letters are fewer than the file's bytes: one allocation, trimmed
    // after the last line.
    sequence.reserve(qsizetype(qMin<qint64>(QFileInfo(fileName).size(), 1 << 30)));

    State state = HeaderState;
    bool sawLocus = false;
    bool sawOrigin = false;
    bool sawRecordEnd = false;
    QString currentKey;
    QString pendingKind;
    QString pendingLocation;
    QString pendingQualifiers;
    QString key;
    QString value;

    QString line;
    while (reader.readLine(line)) {
        // One record per file: whatever follows its end mark is not ours.
        if (line.startsWith("//")) {
            sawRecordEnd = true;
            break;
        }
        if (state == SequenceState) {
            appendSequenceLetters(line, sequence);
            continue;
        }
        if (state == HeaderState) {
            splitHeaderLine(line, key, value);
            if (key == "FEATURES") {
                state = FeatureState;
                continue;
            }
            // A record without features still has its sequence read.
            if (key == "ORIGIN") {
                state = SequenceState;
                sawOrigin = true;
                continue;
            }
            if (key == "LOCUS")
                sawLocus = true;
            readHeaderLine(line, currentKey);
            continue;
        }

        key = line.left(FeatureKeyWidth).trimmed();
        // The ORIGIN line may carry a note after its keyword.
        if (line.startsWith("ORIGIN") && (line.size() == 6 || line.at(6).isSpace())) {
            key = QStringLiteral("ORIGIN");
            state = SequenceState;
            sawOrigin = true;
        }
        if (!withFeatures)
            continue;
        value = line.mid(FeatureKeyWidth).trimmed();
        if (!key.isEmpty() && !pendingLocation.isEmpty()) {
            finishFeature(pendingKind, pendingLocation, pendingQualifiers);
            pendingLocation.clear();
            pendingQualifiers.clear();
        }
        if (key.isEmpty()) {
            // A location wrapped over several lines continues until the
            // first qualifier.
            if (!pendingLocation.isEmpty() && pendingQualifiers.isEmpty() && !value.startsWith('/')) {
                pendingLocation.append(value);
            } else if (value.startsWith('/')) {
                pendingQualifiers.append('\n');
                pendingQualifiers.append(value);
            } else {
                pendingQualifiers.append(' ');
                pendingQualifiers.append(value);
            }
        } else if (isKeptFeature(key)) {
            pendingKind = key;
            pendingLocation = value;
            pendingQualifiers.clear();
        } else {
            pendingKind.clear();
        }
    }
    // A file cut off inside its features still gives the last one.
    if (state == FeatureState && !pendingLocation.isEmpty())
        finishFeature(pendingKind, pendingLocation, pendingQualifiers);

    sequence.squeeze();
    header["SEQUENCE"] = sequence;
    header["LOCUS"] = header.value("LOCUS").simplified();
    const QStringList versionPieces = header.value("VERSION").split(':');
    if (versionPieces.size() >= 2)
        header["GI"] = versionPieces.at(1).trimmed();

    if (reader.hasError())
        return fail(reader.errorText());
    if (!sawLocus) {
        return fail(sawOrigin ? QString("%1 is not a Genbank file: it has an ORIGIN section but no LOCUS line")
                                    .arg(fileName)
                              : QString("%1 is not a Genbank file").arg(fileName));
    }
    if (isProteinRecord())
        return fail(QString("%1 is a protein record (its LOCUS line counts \"aa\"), not a nucleotide genome")
                        .arg(fileName));
    if (!sawOrigin)
        return fail(QString("%1 has no ORIGIN section: the Genbank record is truncated").arg(fileName));
    if (!sawRecordEnd)
        return fail(QString("%1 ends before the record end \"//\": the Genbank record is truncated").arg(fileName));
    if (sequence.isEmpty())
        return fail(QString("%1 holds no sequence letters").arg(fileName));
    const QString problem = GC_FileUtils::sequenceProblem(sequence);
    if (!problem.isEmpty())
        return fail(QString("%1: the sequence of its ORIGIN section is not nucleotides: %2").arg(fileName, problem));
    return true;
}

bool GC_GenbankParser::isProteinRecord() const
{
    // "LOCUS AAB12345 360 aa linear BCT ...": the length is counted in residues.
    const QStringList fields = header.value("LOCUS").split(' ');
    for (int i = 1; i < fields.size(); ++i) {
        bool number = false;
        fields.at(i - 1).toLongLong(&number);
        if (number && fields.at(i) == QLatin1String("aa"))
            return true;
    }
    return false;
}

void GC_GenbankParser::readHeaderLine(const QString &line, QString &currentKey)
{
    QString key;
    QString value;
    splitHeaderLine(line, key, value);
    if (key == "LOCUS" || key == "DEFINITION" || key == "ACCESSION" || key == "VERSION"
        || key == "ORGANISM")
        currentKey = key;
    else if (!key.isEmpty())
        currentKey.clear();
    if (currentKey.isEmpty())
        return;
    auto entry = header.find(currentKey);
    if (entry == header.end()) {
        header.insert(currentKey, value);
    } else {
        entry->append(' ');
        entry->append(value);
    }
    // The lines after the organism name hold its lineage.
    if (currentKey == "ORGANISM")
        currentKey = "LINEAGE";
}

void GC_GenbankParser::finishFeature(const QString &kind, const QString &location,
                                     const QString &qualifiers)
{
    if (kind == "source")
        finishSource(qualifiers);
    else if (isStretchFeature(kind))
        finishStretches(location, qualifiers);
}

void GC_GenbankParser::finishSource(const QString &qualifiers)
{
    const QStringList pieces = qualifiers.split("taxon:");
    if (pieces.size() >= 2) {
        // The id ends with its qualifier line; the qualifiers after it
        // (/country, /strain ...) are not part of it.
        QString taxid = pieces.at(1);
        const int lineEnd = taxid.indexOf('\n');
        if (lineEnd >= 0)
            taxid.truncate(lineEnd);
        header["TAXID"] = taxid.remove('"').trimmed();
    }
}

void GC_GenbankParser::finishStretches(const QString &location, const QString &qualifiers)
{
    QMap<QString, QString> values;
    QString metadata;
    const QStringList lines = qualifiers.split('\n');
    for (const QString &piece : lines) {
        const int equals = piece.indexOf('=');
        const QString name = equals < 0 ? piece : piece.left(equals);
        QString value = equals < 0 ? QString() : piece.mid(equals + 1);
        value.remove('"');
        if (name == "/locus_tag" || name == "/function" || name == "/product" || name == "/note"
            || name == "/protein_id" || name == "/db_xref") {
            values[name.mid(1)] = value;
            metadata += name + ": " + value + "\n";
        } else if (name == "/translation") {
            values["translation"] = GC_FileUtils::withoutWhiteSpace(value);
        }
    }
    if (!metadata.isEmpty())
        values["metadata"] = metadata;

    int pieceCount = 0;
    const QList<LocationPiece> pieces = locationPieces(location, &pieceCount);
    int stretchNumber = 1;
    for (const LocationPiece &piece : pieces) {
        QMap<QString, QString> &entry = features[piece.text];
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            entry[it.key()] = it.value();
        entry["complement"] = piece.reverse ? "1" : "0";
        if (values.contains("product") && pieceCount >= 2)
            entry["product"] += QString("(Exon; %1)").arg(stretchNumber);
        ++stretchNumber;
    }
}

QList<GC_GenbankParser::Stretch> GC_GenbankParser::stretches(QStringList *warnings) const
{
    QList<Stretch> result;
    const int length = int(header.value("SEQUENCE").size());
    int position = 0;
    for (auto it = features.cbegin(); it != features.cend(); ++it, ++position) {
        const QString &range = it.key();
        const qsizetype dots = range.indexOf(QLatin1String(".."));
        if (dots < 0)
            continue; // a single base or a site between two bases
        Stretch stretch;
        int first = 0;
        int second = 0;
        const CoordinateReading firstReading = readCoordinate(range.left(dots), length, &first);
        const CoordinateReading secondReading = readCoordinate(range.mid(dots + 2), length, &second);
        QString reason;
        if (firstReading == NotACoordinate || secondReading == NotACoordinate)
            reason = range.contains(':') ? QString("lies on another record")
                                         : QString("is not a stretch between two positions");
        else if (firstReading == OutOfRange || secondReading == OutOfRange)
            reason = QString("lies outside the sequence (1..%1)").arg(length);
        else if (first > second)
            reason = QString("runs across the origin of the sequence");
        if (!reason.isEmpty()) {
            const QString line = QString("%1: the feature at %2 %3; it is skipped").arg(fileName, range, reason);
            qCDebug(lcKestal).noquote() << line;
            if (warnings)
                warnings->append(line);
            continue;
        }
        const bool forward = it.value().value("complement") == QLatin1String("0");
        stretch.position = position;
        stretch.from = forward ? first : second;
        stretch.to = forward ? second : first;
        stretch.range = range;
        stretch.values = &it.value();
        result.append(stretch);
    }
    return result;
}
