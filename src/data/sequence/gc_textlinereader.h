#ifndef GC_TEXTLINEREADER_H
#define GC_TEXTLINEREADER_H

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringDecoder>

// Reads a text file line by line in one pass, whatever its line ends (LF,
// CRLF or the old CR alone) and however long its lines. The encoding is
// taken from a byte-order mark (UTF-8, UTF-16 LE/BE); without one the file
// is read in the system's 8-bit encoding. A file holding NUL bytes without
// a UTF-16 mark is binary, not text: reading stops with an error.
//
// Lines come as bytes, so that a reader of large files (sequences) builds no
// string per line; text() decodes what is to be kept. UTF-16 files are
// handed on as UTF-8, so every line's line breaks, digits and letters are
// single ASCII bytes whatever the file's encoding.
class GC_TextLineReader
{
public:
    explicit GC_TextLineReader(const QString &path);
    GC_TextLineReader(const GC_TextLineReader &) = delete;
    GC_TextLineReader &operator=(const GC_TextLineReader &) = delete;

    // False, with errorText() saying why, when the file cannot be read.
    bool open();

    // The next line's bytes without its end, valid until the next call;
    // false at the end of the file or when reading failed (then hasError()).
    bool readLine(QByteArrayView &line);

    // The next line, decoded.
    bool readLine(QString &line);

    // Bytes of this file's lines as text.
    QString text(QByteArrayView bytes) const;

    // The character that begins at byte `at` of a line, as a message names
    // it: describeCharacter()'s words, and beyond ASCII its code as well (the
    // file's bytes, or the code point of a UTF-16 file), so that a byte the
    // encoding cannot show is still named: "�" (byte 0xA0).
    QString describeCharacterAt(QByteArrayView line, qsizetype at) const;

    // The number of the line last read, counted from 1.
    qint64 lineNumber() const { return m_lineNumber; }

    // At most this many bytes are still to come: enough room for whatever
    // the rest of the file holds.
    qint64 bytesLeft() const;

    bool hasError() const { return !m_errorText.isEmpty(); }
    QString errorText() const { return m_errorText; }

private:
    // Where the next occurrence of one byte lies, remembered so that no
    // byte is searched twice however the lines are cut.
    struct NextByte
    {
        qsizetype at = -1;    // its position, or -1 when not found yet
        qsizetype clearTo = 0; // the buffer holds none of it before here
    };

    bool fill();
    void startDecoding(QByteArrayView firstBytes);
    qsizetype find(NextByte &next, char byte, qsizetype from);

    QFile m_file;
    QStringDecoder m_wideDecoder;
    bool m_wide = false;
    bool m_utf8 = false;
    bool m_started = false;
    bool m_atEnd = false;
    bool m_skipLineFeed = false;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    NextByte m_lineFeed;
    NextByte m_carriageReturn;
    qint64 m_lineNumber = 0;
    QString m_errorText;
};

#endif
