#include "gc_blastxmlreader.h"

#include <QFile>

bool GC_BlastXmlReader::splitElementLine(const QByteArray &line, QByteArray &tag, QByteArray &value)
{
    // Same captures as the pattern "<(.*)[^>]*>(.*)</(.*)>" with greedy
    // quantifiers: the tag runs from the last "</" to the last '>', the value
    // from the last '>' before that "</". Each search is one backward scan.
    const int lastClose = line.lastIndexOf('>');
    if (lastClose < 3)
        return false;
    const int closeTag = line.lastIndexOf("</", lastClose - 2);
    if (closeTag < 1)
        return false;
    const int valueStart = line.lastIndexOf('>', closeTag - 1);
    if (valueStart < 1)
        return false;
    const int open = line.indexOf('<');
    if (open < 0 || open >= valueStart)
        return false;
    tag = line.mid(closeTag + 2, lastClose - closeTag - 2);
    value = line.mid(valueStart + 1, closeTag - valueStart - 1);
    return true;
}

bool GC_BlastXmlReader::readFile(const QString &path, const HspHandler &handler)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_hspCount = 0;
        m_lastErrorText = QString("cannot open the BLAST output %1: %2").arg(path, file.errorString());
        return false;
    }
    return read(&file, handler);
}

bool GC_BlastXmlReader::read(QIODevice *device, const HspHandler &handler)
{
    m_hspCount = 0;
    m_lastErrorText.clear();
    GC_BlastHsp hsp;
    QByteArray tag;
    QByteArray value;
    while (!device->atEnd()) {
        const QByteArray line = device->readLine().trimmed();
        if (line.isEmpty() || !splitElementLine(line, tag, value))
            continue;
        if (!tag.startsWith("Hsp_"))
            continue;
        const QByteArray name = tag.mid(4);
        if (name == "bit-score") {
            hsp.bitScore = value.toDouble();
        } else if (name == "hit-from") {
            hsp.hitFrom = value.toInt();
        } else if (name == "hit-to") {
            hsp.hitTo = value.toInt();
        } else if (name == "query-from") {
            hsp.queryFrom = value.toInt();
        } else if (name == "query-to") {
            hsp.queryTo = value.toInt();
        } else if (name == "identity") {
            hsp.identity = value.toInt();
        } else if (name == "align-len") {
            hsp.alignLength = value.toInt();
        } else if (name == "qseq") {
            hsp.querySequence = value;
        } else if (name == "hseq") {
            hsp.hitSequence = value;
            ++m_hspCount;
            if (!handler(hsp)) {
                if (m_lastErrorText.isEmpty())
                    m_lastErrorText = "reading the BLAST output was stopped";
                return false;
            }
        }
    }
    return true;
}
