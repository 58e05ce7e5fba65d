#ifndef GC_BLASTRESULTFILE_H
#define GC_BLASTRESULTFILE_H

#include <QByteArray>
#include <QFile>
#include <QString>

// The copy of a running BLAST search's tabular output, written to a file as
// it arrives so that nothing is kept in memory. It counts the whole lines and
// tells the first field of the last whole line, which the search dialogs
// show as progress. A failed write is remembered and reported by finish().
class GC_BlastResultFile
{
public:
    // Starts an empty copy at path, with the count at zero; false when the
    // file cannot be opened for writing.
    bool open(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }
    // Appends a chunk of output; true when it completed at least one line,
    // with the first field of the last whole line in *firstField. Does
    // nothing once a write has failed.
    bool append(const QByteArray &chunk, int *firstField);
    // After the search: counts a last line without its line feed and closes
    // the copy; false when any write failed.
    bool finish();
    // Closes the copy as it is (a stopped or failed search).
    void close() { m_file.close(); }

    int lineCount() const { return m_lineCount; }

private:
    QFile m_file;
    bool m_writeFailed = false;
    int m_lineCount = 0;
    // Output after the last line feed: the start of a line still coming.
    QByteArray m_partialLine;
};

#endif
