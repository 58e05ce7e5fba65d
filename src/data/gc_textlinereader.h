#ifndef GC_TEXTLINEREADER_H
#define GC_TEXTLINEREADER_H

#include <QFile>
#include <QString>
#include <QStringDecoder>

// Reads a text file line by line in one pass, whatever its line ends (LF,
// CRLF or the old CR alone) and however long its lines. The encoding is
// taken from a byte-order mark (UTF-8, UTF-16 LE/BE); without one the file
// is read in the system's 8-bit encoding. A file holding NUL bytes without
// a UTF-16 mark is binary, not text: reading stops with an error.
class GC_TextLineReader
{
public:
    explicit GC_TextLineReader(const QString &path);
    GC_TextLineReader(const GC_TextLineReader &) = delete;
    GC_TextLineReader &operator=(const GC_TextLineReader &) = delete;

    // False, with errorText() saying why, when the file cannot be read.
    bool open();

    // The next line without its end; false at the end of the file or when
    // reading failed (then hasError()).
    bool readLine(QString &line);

    bool hasError() const { return !m_errorText.isEmpty(); }
    QString errorText() const { return m_errorText; }

private:
    bool fill();
    void startDecoding(const QByteArray &firstBytes);

    QFile m_file;
    QStringDecoder m_decoder;
    bool m_wide = false;
    bool m_started = false;
    bool m_atEnd = false;
    bool m_skipLineFeed = false;
    QString m_buffer;
    qsizetype m_position = 0;
    QString m_errorText;
};

#endif
