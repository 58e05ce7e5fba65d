#include "gc_genbankparser.h"

#include "gc_fileutils.h"
#include "gc_log.h"
#include "gc_textlinereader.h"

#include <QHash>
#include <QStringList>

#include <climits>

namespace {

const int FeatureKeyWidth = 21;
// Continuation lines of the header start in this column (0-based).
const int HeaderValueColumn = 12;

const signed char SkippedByte = 0;
const signed char RefusedByte = -1;

// Sorts the bytes of ORIGIN lines in one look-up: a letter (its lower case),
// a digit or blank to skip, or anything else, which no sequence holds.
struct OriginByteTable
{
    signed char code[256];
    bool nucleotide[256];
};

const OriginByteTable &originBytes()
{
    static const OriginByteTable table = [] {
        OriginByteTable bytes{};
        for (int c = 0; c < 256; ++c) {
            bytes.code[c] = RefusedByte;
            bytes.nucleotide[c] = GC_FileUtils::isNucleotideLetter(char16_t(c));
        }
        for (int c = 'a'; c <= 'z'; ++c) {
            bytes.code[c] = char(c);
            bytes.code[c - 'a' + 'A'] = char(c);
        }
        for (int c = '0'; c <= '9'; ++c)
            bytes.code[c] = SkippedByte;
        for (const char c : {' ', '\t', '\v', '\f'})
            bytes.code[uchar(c)] = SkippedByte;
        return bytes;
    }();
    return table;
}

// The letters of the ORIGIN lines, lower-cased, gathered as bytes: no
// string is built per line.
class OriginLetters
{
public:
    // roomHint: about how many bytes the ORIGIN lines take, so that the
    // letters grow in one allocation.
    explicit OriginLetters(qint64 roomHint)
    {
        m_letters.reserve(qsizetype(qBound(qint64(0), roomHint, qint64(1) << 30)));
    }

    // Appends the letters of one line; at a byte that is neither a letter,
    // a digit nor a blank, answers its offset within the line (-1 when the
    // whole line is taken).
    qsizetype append(QByteArrayView line)
    {
        const OriginByteTable &table = originBytes();
        const qsizetype before = m_letters.size();
        m_letters.resize(before + line.size());
        char *out = m_letters.data() + before;
        bool nucleotides = true;
        qsizetype refused = -1;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const uchar byte = uchar(line.at(i));
            const signed char code = table.code[byte];
            if (code > 0) {
                *out++ = code;
                nucleotides &= table.nucleotide[uchar(code)];
            } else if (code == RefusedByte) {
                refused = i;
                break;
            }
        }
        m_letters.truncate(out - m_letters.constData());
        m_nucleotides = m_nucleotides && nucleotides;
        return refused;
    }

    bool isEmpty() const { return m_letters.isEmpty(); }
    bool allNucleotides() const { return m_nucleotides; }
    QString text() const { return QString::fromLatin1(m_letters); }

private:
    QByteArray m_letters;
    bool m_nucleotides = true;
};

// The qualifiers kept for a stretch, by their name in the file.
struct KeptQualifier
{
    const char *name;
    QString key;
};

const QString *keptQualifierKey(QByteArrayView name)
{
    static const KeptQualifier kept[] = {
        {"/locus_tag", QStringLiteral("locus_tag")}, {"/function", QStringLiteral("function")},
        {"/product", QStringLiteral("product")},     {"/note", QStringLiteral("note")},
        {"/protein_id", QStringLiteral("protein_id")}, {"/db_xref", QStringLiteral("db_xref")}};
    for (const KeptQualifier &qualifier : kept) {
        if (name == qualifier.name)
            return &qualifier.key;
    }
    return nullptr;
}

QByteArray withoutQuotes(QByteArrayView text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    char *out = result.data();
    for (const char c : text) {
        if (c != '"')
            *out++ = c;
    }
    result.truncate(out - result.constData());
    return result;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// A line that starts with the keyword, alone or before a blank.
bool isKeywordLine(QByteArrayView line, QByteArrayView keyword)
{
    return line.startsWith(keyword) && (line.size() == keyword.size() || isBlank(line.at(keyword.size())));
}

// The records that follow the end of the one read: one per LOCUS line.
int laterRecords(GC_TextLineReader &reader)
{
    int count = 0;
    QByteArrayView line;
    while (reader.readLine(line)) {
        if (isKeywordLine(line, "LOCUS"))
            ++count;
    }
    return count;
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
    // Sized once the ORIGIN line is reached: the rest of the file bounds it.
    OriginLetters sequence(0);
    QString refusedOriginLine;

    State state = HeaderState;
    bool sawLocus = false;
    bool sawOrigin = false;
    bool sawContig = false;
    bool sawRecordEnd = false;
    m_recordCount = 0;
    QString currentKey;
    FeatureKind pendingKind = OtherFeature;
    QByteArray pendingLocation;
    QByteArray pendingQualifiers;
    QString key;
    QString value;
    auto startSequence = [&]() {
        state = SequenceState;
        sawOrigin = true;
        sequence = OriginLetters(reader.bytesLeft());
    };

    QByteArrayView line;
    while (reader.readLine(line)) {
        // One record per file: whatever follows its end mark is not read.
        if (line.startsWith("//")) {
            sawRecordEnd = true;
            break;
        }
        if (state == SequenceState) {
            // Past a refused line only the record end is looked for.
            if (refusedOriginLine.isEmpty()) {
                const qsizetype refused = sequence.append(line);
                if (refused >= 0)
                    refusedOriginLine = QString("%1: its ORIGIN section %2")
                                            .arg(fileName, GC_FileUtils::notNucleotideOnLine(
                                                               reader.describeCharacterAt(line, refused),
                                                               reader.lineNumber()));
            }
            continue;
        }
        if (state == HeaderState) {
            const QString text = reader.text(line);
            splitHeaderLine(text, key, value);
            if (key == "FEATURES") {
                state = FeatureState;
                continue;
            }
            // A record without features still has its sequence read.
            if (key == "ORIGIN") {
                startSequence();
                continue;
            }
            if (key == "LOCUS")
                sawLocus = true;
            sawContig = sawContig || key == "CONTIG";
            readHeaderLine(text, currentKey);
            continue;
        }

        // The ORIGIN line may carry a note after its keyword.
        const bool origin = isKeywordLine(line, "ORIGIN");
        if (origin)
            startSequence();
        sawContig = sawContig || isKeywordLine(line, "CONTIG");
        if (!withFeatures)
            continue;
        const qsizetype keyWidth = qMin<qsizetype>(line.size(), FeatureKeyWidth);
        const QByteArrayView featureKey = line.first(keyWidth).trimmed();
        const QByteArrayView featureValue = line.sliced(keyWidth).trimmed();
        if (!featureKey.isEmpty() && !pendingLocation.isEmpty()) {
            finishFeature(pendingKind, pendingLocation, pendingQualifiers, reader);
            pendingLocation.clear();
            pendingQualifiers.clear();
        }
        if (!featureKey.isEmpty()) {
            pendingKind = origin ? OtherFeature : featureKind(featureKey);
            if (pendingKind != OtherFeature) {
                pendingLocation = featureValue.toByteArray();
                pendingQualifiers.clear();
            }
        } else if (pendingKind == OtherFeature) {
            // The lines of features that are not kept are never used.
        } else if (!pendingLocation.isEmpty() && pendingQualifiers.isEmpty() && !featureValue.startsWith('/')) {
            // A location wrapped over several lines continues until the
            // first qualifier.
            pendingLocation.append(featureValue);
        } else {
            pendingQualifiers.append(featureValue.startsWith('/') ? '\n' : ' ');
            pendingQualifiers.append(featureValue);
        }
    }
    // A file cut off inside its features still gives the last one.
    if (state == FeatureState && !pendingLocation.isEmpty())
        finishFeature(pendingKind, pendingLocation, pendingQualifiers, reader);
    const bool readFailed = reader.hasError();
    const QString readError = reader.errorText();
    if (sawRecordEnd)
        m_recordCount = 1 + laterRecords(reader);

    header["SEQUENCE"] = sequence.text();
    header["LOCUS"] = header.value("LOCUS").simplified();
    const QStringList versionPieces = header.value("VERSION").split(':');
    if (versionPieces.size() >= 2)
        header["GI"] = versionPieces.at(1).trimmed();

    if (readFailed)
        return fail(readError);
    if (!sawLocus) {
        return fail(sawOrigin ? QString("%1 is not a Genbank file: it has an ORIGIN section but no LOCUS line")
                                    .arg(fileName)
                              : QString("%1 is not a Genbank file").arg(fileName));
    }
    if (isProteinRecord())
        return fail(QString("%1 is a protein record (its LOCUS line counts \"aa\"), not a nucleotide genome")
                        .arg(fileName));
    if (!sawOrigin && !sawRecordEnd)
        return fail(QString("%1 has no ORIGIN section: the Genbank record is truncated").arg(fileName));
    if (!sawOrigin)
        return fail(sawContig
                        ? QString("%1 holds no sequence: its CONTIG line builds it from other records").arg(fileName)
                        : QString("%1 holds no sequence: its record has no ORIGIN section").arg(fileName));
    if (!sawRecordEnd)
        return fail(QString("%1 ends before the record end \"//\": the Genbank record is truncated").arg(fileName));
    if (!refusedOriginLine.isEmpty())
        return fail(refusedOriginLine);
    if (sequence.isEmpty())
        return fail(QString("%1 holds no sequence letters").arg(fileName));
    if (!sequence.allNucleotides())
        return fail(QString("%1: the sequence of its ORIGIN section is not nucleotides: %2")
                        .arg(fileName, GC_FileUtils::sequenceProblem(header.value("SEQUENCE"))));
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

GC_GenbankParser::FeatureKind GC_GenbankParser::featureKind(QByteArrayView key)
{
    if (key == "CDS" || key == "tRNA" || key == "rRNA" || key == "mRNA")
        return StretchFeature;
    return key == "source" ? SourceFeature : OtherFeature;
}

void GC_GenbankParser::finishFeature(FeatureKind kind, QByteArrayView location, QByteArrayView qualifiers,
                                     const GC_TextLineReader &reader)
{
    if (kind == SourceFeature)
        finishSource(reader.text(qualifiers));
    else if (kind == StretchFeature)
        finishStretches(reader.text(location), qualifiers, reader);
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

void GC_GenbankParser::finishStretches(const QString &location, QByteArrayView qualifiers,
                                       const GC_TextLineReader &reader)
{
    static const QString complementKey = QStringLiteral("complement");
    static const QString productKey = QStringLiteral("product");
    static const QString translationKey = QStringLiteral("translation");
    static const QString metadataKey = QStringLiteral("metadata");
    static const QString forward = QStringLiteral("0");
    static const QString reverse = QStringLiteral("1");

    // One qualifier per line; only the kept ones are made into strings.
    QMap<QString, QString> values;
    QByteArray metadata;
    for (qsizetype start = 0; start <= qualifiers.size();) {
        qsizetype end = qualifiers.indexOf('\n', start);
        if (end < 0)
            end = qualifiers.size();
        const QByteArrayView piece = qualifiers.sliced(start, end - start);
        start = end + 1;
        const qsizetype equals = piece.indexOf('=');
        const QByteArrayView name = equals < 0 ? piece : piece.first(equals);
        const QByteArrayView rawValue = equals < 0 ? QByteArrayView() : piece.sliced(equals + 1);
        if (const QString *key = keptQualifierKey(name)) {
            const QByteArray value = withoutQuotes(rawValue);
            values.insert(*key, reader.text(value));
            metadata.append(name).append(": ").append(value).append('\n');
        } else if (name == "/translation") {
            values.insert(translationKey, GC_FileUtils::withoutWhiteSpace(reader.text(withoutQuotes(rawValue))));
        }
    }
    if (!metadata.isEmpty())
        values.insert(metadataKey, reader.text(metadata));

    int pieceCount = 0;
    const QList<LocationPiece> pieces = locationPieces(location, &pieceCount);
    const bool numbered = values.contains(productKey) && pieceCount >= 2;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QMap<QString, QString> stretch = i + 1 < pieces.size() ? values : std::move(values);
        stretch.insert(complementKey, pieces.at(i).reverse ? reverse : forward);
        if (numbered)
            stretch[productKey] += QString("(Exon; %1)").arg(i + 1);
        // Stretches of several features on one range share its entry.
        QMap<QString, QString> &entry = features[pieces.at(i).text];
        if (entry.isEmpty()) {
            entry = std::move(stretch);
            m_rangeOrder.append(pieces.at(i).text);
        } else {
            for (auto it = stretch.cbegin(); it != stretch.cend(); ++it)
                entry.insert(it.key(), it.value());
        }
    }
}

GC_GenbankParser::StretchFault GC_GenbankParser::stretchFault(const QString &range, int length, int *from,
                                                              int *to)
{
    const qsizetype dots = range.indexOf(QLatin1String(".."));
    if (dots < 0)
        return NoStretch;
    const CoordinateReading first = readCoordinate(range.left(dots), length, from);
    const CoordinateReading second = readCoordinate(range.mid(dots + 2), length, to);
    if (first == NotACoordinate || second == NotACoordinate)
        return range.contains(':') ? OnOtherRecord : NotPositions;
    if (first == OutOfRange || second == OutOfRange)
        return OutsideSequence;
    return *from > *to ? AcrossOrigin : UsableStretch;
}

QList<GC_GenbankParser::Stretch> GC_GenbankParser::stretches(QStringList *warnings) const
{
    QList<Stretch> result;
    const int length = int(header.value("SEQUENCE").size());
    int position = 0;
    for (auto it = features.cbegin(); it != features.cend(); ++it, ++position) {
        const QString &range = it.key();
        int first = 0;
        int second = 0;
        QString reason;
        switch (stretchFault(range, length, &first, &second)) {
        case NoStretch:
            continue; // a single base or a site between two bases
        case UsableStretch:
            break;
        case OnOtherRecord:
            reason = QString("lies on another record");
            break;
        case NotPositions:
            reason = QString("is not a stretch between two positions");
            break;
        case OutsideSequence:
            reason = QString("lies outside the sequence (1..%1)").arg(length);
            break;
        case AcrossOrigin:
            reason = QString("runs across the origin of the sequence");
            break;
        }
        if (!reason.isEmpty()) {
            const QString line = QString("%1: the feature at %2 %3; it is skipped").arg(fileName, range, reason);
            qCDebug(lcKestal).noquote() << line;
            if (warnings)
                warnings->append(line);
            continue;
        }
        const bool forward = it.value().value(QStringLiteral("complement")) == QLatin1String("0");
        Stretch stretch;
        stretch.position = position;
        stretch.from = forward ? first : second;
        stretch.to = forward ? second : first;
        stretch.range = range;
        stretch.values = &it.value();
        result.append(stretch);
    }
    return result;
}

QStringList GC_GenbankParser::warnings() const
{
    QStringList sentences;
    if (m_recordCount > 1) {
        QString name = header.value("DEFINITION").simplified();
        if (name.isEmpty())
            name = header.value("LOCUS").section(' ', 0, 0);
        sentences.append(QString("%1 holds %2 records; only the first, \"%3\", is read")
                             .arg(fileName, QString::number(m_recordCount), name));
    }

    // The skipped stretches by fault, each named as its feature's location
    // names it, in file order.
    QHash<int, QStringList> skipped;
    const int length = int(header.value("SEQUENCE").size());
    for (const QString &range : m_rangeOrder) {
        const auto entry = features.constFind(range);
        if (entry == features.cend())
            continue;
        int from = 0;
        int to = 0;
        const StretchFault fault = stretchFault(range, length, &from, &to);
        if (fault == UsableStretch || fault == NoStretch)
            continue;
        const bool reverse = entry->value(QStringLiteral("complement")) == QLatin1String("1");
        skipped[fault].append(reverse ? QString("complement(%1)").arg(range) : range);
    }
    const struct
    {
        StretchFault fault;
        const char *one;
        const char *several;
    } reasons[] = {{AcrossOrigin, "it runs across the origin", "they run across the origin"},
                   {OutsideSequence, "it lies outside the %1 bases of the sequence",
                    "they lie outside the %1 bases of the sequence"},
                   {OnOtherRecord, "it lies on another record", "they lie on other records"},
                   {NotPositions, "it is not a stretch between two positions",
                    "they are not stretches between two positions"}};
    // A long list is cut: the count says how many there are.
    const int named = 10;
    for (const auto &reason : reasons) {
        const QStringList ranges = skipped.value(reason.fault);
        if (ranges.isEmpty())
            continue;
        QString list = ranges.mid(0, named).join(", ");
        if (ranges.size() > named)
            list += QString(" and %1 more").arg(ranges.size() - named);
        const bool one = ranges.size() == 1;
        QString why = QString::fromLatin1(one ? reason.one : reason.several);
        if (reason.fault == OutsideSequence)
            why = why.arg(length);
        sentences.append(QString("%1: %2 %3 skipped: %4 (%5)")
                             .arg(fileName, QString::number(ranges.size()), one ? "feature" : "features", why, list));
    }
    return sentences;
}
