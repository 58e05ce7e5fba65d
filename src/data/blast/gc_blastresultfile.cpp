#include "gc_blastresultfile.h"

bool GC_BlastResultFile::open(const QString &path)
{
    m_file.close();
    m_file.setFileName(path);
    m_writeFailed = false;
    m_lineCount = 0;
    m_partialLine.clear();
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool GC_BlastResultFile::append(const QByteArray &chunk, int *firstField)
{
    if (!m_file.isOpen() || m_writeFailed)
        return false;
    if (m_file.write(chunk) != chunk.size()) {
        m_writeFailed = true;
        return false;
    }
    m_lineCount += int(chunk.count('\n'));

    const qsizetype lastEnd = chunk.lastIndexOf('\n');
    if (lastEnd < 0) {
        m_partialLine += chunk;
        return false;
    }
    const qsizetype previousEnd = lastEnd > 0 ? chunk.lastIndexOf('\n', lastEnd - 1) : -1;
    const QByteArray lastLine = previousEnd >= 0
                                    ? chunk.mid(previousEnd + 1, lastEnd - previousEnd - 1)
                                    : m_partialLine + chunk.left(lastEnd);
    m_partialLine = chunk.mid(lastEnd + 1);
    const qsizetype tab = lastLine.indexOf('\t');
    *firstField = lastLine.left(tab < 0 ? lastLine.size() : tab).toInt();
    return true;
}

bool GC_BlastResultFile::finish()
{
    // A last line without its line feed is a line too.
    if (!m_partialLine.trimmed().isEmpty())
        ++m_lineCount;
    m_partialLine.clear();
    const bool written = !m_writeFailed && m_file.flush();
    m_file.close();
    return written;
}
