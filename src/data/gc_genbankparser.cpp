#include "gc_genbankparser.h"

#include <QFile>
#include <QStringConverter>
#include <QStringList>
#include <QTextStream>

namespace {

const int HeaderKeyWidth = 12;
const int FeatureKeyWidth = 21;

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

// Drops the location marks that carry no coordinates: partial-end signs,
// brackets and "join".
QString stripLocationMarks(const QString &location)
{
    QString result;
    result.reserve(location.size());
    for (int i = 0; i < location.size(); ++i) {
        const QChar c = location.at(i);
        if (c == '<' || c == '>' || c == '(' || c == ')')
            continue;
        if (c == 'j' && QStringView(location).mid(i, 4) == u"join") {
            i += 3;
            continue;
        }
        if (c == ',' && result.endsWith(','))
            continue;
        result.append(c);
    }
    return result;
}

} // namespace

bool GC_GenbankParser::parse()
{
    m_lastErrorText.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_lastErrorText = QString("cannot open the file %1: %2").arg(fileName, file.errorString());
        return false;
    }
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::System);

    header["VERSION"] = QString();
    header["GI"] = QString();
    QString sequence;
    sequence.reserve(int(qMin<qint64>(file.size(), 1 << 30)));

    State state = HeaderState;
    bool sawLocus = false;
    bool sawOrigin = false;
    bool sawRecordEnd = false;
    QString currentKey;
    QString pendingKind;
    QString pendingLocation;
    QString pendingQualifiers;

    QString line;
    while (stream.readLineInto(&line)) {
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
            const QString key = line.left(HeaderKeyWidth).trimmed();
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

        const QString key = line.left(FeatureKeyWidth).trimmed();
        const QString value = line.mid(FeatureKeyWidth).trimmed();
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
        } else if (key == "ORIGIN") {
            state = SequenceState;
            sawOrigin = true;
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

    sequence.squeeze(); // the reservation was the whole file
    header["SEQUENCE"] = sequence;
    header["LOCUS"] = header.value("LOCUS").simplified();
    const QStringList versionPieces = header.value("VERSION").split(':');
    if (versionPieces.size() >= 2)
        header["GI"] = versionPieces.at(1).trimmed();
    file.close();

    if (!sawOrigin && !sawLocus) {
        m_lastErrorText = QString("%1 is not a Genbank file").arg(fileName);
        return false;
    }
    if (!sawOrigin) {
        m_lastErrorText = QString("%1 has no ORIGIN section: the Genbank record is truncated").arg(fileName);
        return false;
    }
    if (!sawRecordEnd) {
        m_lastErrorText = QString("%1 ends before the record end \"//\": the Genbank record is truncated").arg(fileName);
        return false;
    }
    if (sequence.isEmpty()) {
        m_lastErrorText = QString("%1 holds no sequence letters").arg(fileName);
        return false;
    }
    return true;
}

void GC_GenbankParser::readHeaderLine(const QString &line, QString &currentKey)
{
    const QString key = line.left(HeaderKeyWidth).trimmed();
    const QString value = line.mid(HeaderKeyWidth).trimmed();
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

void GC_GenbankParser::finishStretches(QString location, const QString &qualifiers)
{
    // complement() may wrap the whole location or single pieces of a join;
    // the outer one is taken off before the brackets go, so the two stay apart.
    bool featureReverse = false;
    if (location.startsWith("complement(")) {
        location.remove(0, 11);
        if (location.endsWith(')'))
            location.chop(1);
        featureReverse = true;
    }
    location = stripLocationMarks(location);

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
            values["translation"] = withoutWhiteSpace(value);
        }
    }
    if (!metadata.isEmpty())
        values["metadata"] = metadata;

    const QStringList pieces = location.split(',');
    const bool severalPieces = pieces.size() >= 2;
    int stretchNumber = 1;
    for (QString piece : pieces) {
        if (piece.isEmpty())
            continue;
        bool reverse = featureReverse;
        if (piece.contains("complement")) {
            piece.remove("complement");
            reverse = !reverse;
        }
        if (piece.isEmpty())
            continue;
        QMap<QString, QString> &entry = features[piece];
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            entry[it.key()] = it.value();
        entry["complement"] = reverse ? "1" : "0";
        if (values.contains("product") && severalPieces)
            entry["product"] += QString("(Exon; %1)").arg(stretchNumber);
        ++stretchNumber;
    }
}
