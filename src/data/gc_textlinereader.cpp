#include "gc_textlinereader.h"

#include <QFileInfo>

#include <cstring>

namespace {

const qint64 ChunkSize = 1 << 20;

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

void GC_TextLineReader::startDecoding(const QByteArray &firstBytes)
{
    QStringConverter::Encoding encoding = QStringConverter::System;
    if (firstBytes.startsWith("\xEF\xBB\xBF")) {
        encoding = QStringConverter::Utf8;
    } else if (firstBytes.startsWith("\xFF\xFE")) {
        encoding = QStringConverter::Utf16LE;
        m_wide = true;
    } else if (firstBytes.startsWith("\xFE\xFF")) {
        encoding = QStringConverter::Utf16BE;
        m_wide = true;
    }
    // The decoder drops the byte-order mark itself.
    m_decoder = QStringDecoder(encoding);
    m_started = true;
}

bool GC_TextLineReader::fill()
{
    if (m_atEnd || hasError())
        return false;
    const QByteArray bytes = m_file.read(ChunkSize);
    if (bytes.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            m_errorText = QString("cannot read the file %1: %2").arg(m_file.fileName(), m_file.errorString());
        m_atEnd = true;
        return false;
    }
    if (!m_started)
        startDecoding(bytes);
    if (!m_wide && std::memchr(bytes.constData(), 0, size_t(bytes.size()))) {
        m_errorText = QString("%1 holds NUL bytes: it is a binary file, not a text file (UTF-16 text is "
                              "read when it begins with its byte-order mark)")
                          .arg(m_file.fileName());
        return false;
    }
    // Only the unread rest is kept, so a long line grows by appending.
    if (m_position > 0) {
        m_buffer.remove(0, m_position);
        m_position = 0;
    }
    const QString text = m_decoder.decode(bytes);
    if (m_wide && text.contains(QChar(0))) {
        m_errorText = QString("%1 holds NUL characters: it is a binary file, not a text file").arg(m_file.fileName());
        return false;
    }
    m_buffer.append(text);
    return true;
}

bool GC_TextLineReader::readLine(QString &line)
{
    if (!m_file.isOpen() || hasError())
        return false;
    qsizetype scan = m_position;
    for (;;) {
        // A CR that ended the last line may be followed by the LF of a CRLF.
        if (m_skipLineFeed && m_position < m_buffer.size()) {
            if (m_buffer.at(m_position) == QLatin1Char('\n'))
                ++m_position;
            m_skipLineFeed = false;
            scan = m_position;
        }
        const char16_t *data = reinterpret_cast<const char16_t *>(m_buffer.constData());
        const qsizetype size = m_buffer.size();
        while (scan < size && data[scan] != u'\n' && data[scan] != u'\r')
            ++scan;
        if (scan < size) {
            line = m_buffer.mid(m_position, scan - m_position);
            m_skipLineFeed = data[scan] == u'\r';
            m_position = scan + 1;
            return true;
        }
        const qsizetype scanned = scan - m_position;
        if (!fill()) {
            if (hasError())
                return false;
            if (m_position >= m_buffer.size())
                return false;
            line = m_buffer.mid(m_position);
            m_position = m_buffer.size();
            return true;
        }
        scan = m_position + scanned;
    }
}
