#include "gc_textlinereader.h"

#include "gc_fileutils.h"

#include <QFileInfo>
#include <QStringList>

#include <cstring>

namespace {

const qint64 ChunkSize = 1 << 20;

QString hexadecimal(uint value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

GC_TextLineReader::GC_TextLineReader(const QString &path)
    : m_file(path)
{
}

bool GC_TextLineReader::open()
{
    if (QFileInfo(m_file.fileName()).isDir()) {
        m_errorText = QString("%1 is a folder, not a file").arg(m_file.fileName());
        return false;
    }
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_errorText = QString("cannot open the file %1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return true;
}

void GC_TextLineReader::startDecoding(QByteArrayView firstBytes)
{
    if (firstBytes.startsWith("\xEF\xBB\xBF")) {
        m_utf8 = true;
    } else if (firstBytes.startsWith("\xFF\xFE")) {
        // The decoder drops the byte-order mark itself.
        m_wideDecoder = QStringDecoder(QStringConverter::Utf16LE);
        m_wide = true;
    } else if (firstBytes.startsWith("\xFE\xFF")) {
        m_wideDecoder = QStringDecoder(QStringConverter::Utf16BE);
        m_wide = true;
    }
    m_started = true;
}

bool GC_TextLineReader::fill()
{
    if (m_atEnd || hasError())
        return false;
    // Only the unread rest is kept, so a long line grows by appending.
    if (m_position > 0) {
        m_buffer.remove(0, m_position);
        for (NextByte *next : {&m_lineFeed, &m_carriageReturn}) {
            next->at = next->at >= m_position ? next->at - m_position : -1;
            next->clearTo = qMax<qsizetype>(0, next->clearTo - m_position);
        }
        m_position = 0;
    }
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + ChunkSize);
    const qint64 got = m_file.read(m_buffer.data() + kept, ChunkSize);
    m_buffer.truncate(kept + qMax<qint64>(got, 0));
    if (got <= 0) {
        if (got < 0 || m_file.error() != QFileDevice::NoError)
            m_errorText = QString("cannot read the file %1: %2").arg(m_file.fileName(), m_file.errorString());
        m_atEnd = true;
        return false;
    }
    if (!m_started) {
        startDecoding(QByteArrayView(m_buffer.constData() + kept, got));
        if (m_utf8)
            m_buffer.remove(kept, 3);
    }
    if (m_wide) {
        const QString text = m_wideDecoder.decode(QByteArrayView(m_buffer.constData() + kept, got));
        if (text.contains(QChar(0))) {
            m_errorText =
                QString("%1 holds NUL characters: it is a binary file, not a text file").arg(m_file.fileName());
            return false;
        }
        m_buffer.truncate(kept);
        m_buffer.append(text.toUtf8());
        return true;
    }
    if (std::memchr(m_buffer.constData() + kept, 0, size_t(m_buffer.size() - kept))) {
        m_errorText = QString("%1 holds NUL bytes: it is a binary file, not a text file (UTF-16 text is "
                              "read when it begins with its byte-order mark)")
                          .arg(m_file.fileName());
        return false;
    }
    return true;
}

qsizetype GC_TextLineReader::find(NextByte &next, char byte, qsizetype from)
{
    if (next.at >= from)
        return next.at;
    const qsizetype start = qMax(from, next.clearTo);
    const qsizetype size = m_buffer.size();
    const void *hit = start < size ? std::memchr(m_buffer.constData() + start, byte, size_t(size - start)) : nullptr;
    if (hit) {
        next.at = static_cast<const char *>(hit) - m_buffer.constData();
        return next.at;
    }
    next.at = -1;
    next.clearTo = size;
    return size;
}

bool GC_TextLineReader::readLine(QByteArrayView &line)
{
    if (!m_file.isOpen() || hasError())
        return false;
    for (;;) {
        // A CR that ended the last line may be followed by the LF of a CRLF.
        if (m_skipLineFeed && m_position < m_buffer.size()) {
            if (m_buffer.at(m_position) == '\n')
                ++m_position;
            m_skipLineFeed = false;
        }
        if (!m_skipLineFeed) {
            const qsizetype end = qMin(find(m_lineFeed, '\n', m_position), find(m_carriageReturn, '\r', m_position));
            if (end < m_buffer.size()) {
                line = QByteArrayView(m_buffer.constData() + m_position, end - m_position);
                m_skipLineFeed = m_buffer.at(end) == '\r';
                m_position = end + 1;
                ++m_lineNumber;
                return true;
            }
        }
        if (!fill()) {
            if (hasError() || m_position >= m_buffer.size())
                return false;
            line = QByteArrayView(m_buffer.constData() + m_position, m_buffer.size() - m_position);
            m_position = m_buffer.size();
            ++m_lineNumber;
            return true;
        }
    }
}

bool GC_TextLineReader::readLine(QString &line)
{
    QByteArrayView bytes;
    if (!readLine(bytes))
        return false;
    line = text(bytes);
    return true;
}

QString GC_TextLineReader::text(QByteArrayView bytes) const
{
    return m_utf8 || m_wide ? QString::fromUtf8(bytes) : QString::fromLocal8Bit(bytes);
}

QString GC_TextLineReader::describeCharacterAt(QByteArrayView line, qsizetype at) const
{
    const uchar first = uchar(line.at(at));
    if (first < 0x80)
        return GC_FileUtils::describeCharacter(QChar(first));
    // The fewest bytes that decode to one character; a byte that begins
    // none stands alone.
    qsizetype length = 1;
    QString character = text(line.sliced(at, 1));
    for (qsizetype n = 2; character == QChar(QChar::ReplacementCharacter) && n <= 4 && at + n <= line.size(); ++n) {
        const QString decoded = text(line.sliced(at, n));
        if (decoded.toUcs4().size() == 1 && decoded != QChar(QChar::ReplacementCharacter)) {
            character = decoded;
            length = n;
        }
    }
    const char32_t code = character.toUcs4().value(0);
    const QString codePoint = "U+" + hexadecimal(code, 4);
    const QString shown = QChar::isPrint(code) ? QString("\"%1\"").arg(character) : "the character " + codePoint;
    // The bytes of a UTF-16 file were turned into UTF-8 when read: only its
    // code point is the file's.
    if (m_wide)
        return QChar::isPrint(code) ? QString("%1 (%2)").arg(shown, codePoint) : shown;
    QStringList bytes;
    for (const char byte : line.sliced(at, length))
        bytes.append("0x" + hexadecimal(uchar(byte), 2));
    return QString("%1 (%2 %3)").arg(shown, length == 1 ? "byte" : "bytes", bytes.join(' '));
}

qint64 GC_TextLineReader::bytesLeft() const
{
    return m_file.size() - m_file.pos() + (m_buffer.size() - m_position);
}
