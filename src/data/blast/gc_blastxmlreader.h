#ifndef GC_BLASTXMLREADER_H
#define GC_BLASTXMLREADER_H

#include "gc_blasthsp.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

// Reads the HSPs of a BLAST XML report (blastn -outfmt 5) line by line, in
// time linear in the file size, and hands each to a callback as soon as its
// Hsp_hseq line is read. blastn writes every value element on a line of its
// own; the values persist from one HSP to the next as they are read.
class GC_BlastXmlReader
{
public:
    // Return false from the callback to stop reading (a failure).
    using HspHandler = std::function<bool(const GC_BlastHsp &)>;

    bool readFile(const QString &path, const HspHandler &handler);
    bool read(QIODevice *device, const HspHandler &handler);

    int hspCount() const { return m_hspCount; }
    QString lastErrorText() const { return m_lastErrorText; }

    // Splits a trimmed line holding one whole element, "<tag>value</tag>",
    // into the closing tag's name and the value, by position. False for a
    // line that is not one element (an opening or closing tag alone).
    static bool splitElementLine(const QByteArray &line, QByteArray &tag, QByteArray &value);

private:
    int m_hspCount = 0;
    QString m_lastErrorText;
};

#endif
