#include "gc_homologyhitline.h"

#include <QByteArrayView>

bool GC_HomologyHitLine::parse(const QByteArray &line)
{
    QByteArrayView fields[6];
    qsizetype begin = 0;
    const qsizetype size = line.size();
    for (int i = 0; i < 6; ++i) {
        if (begin > size)
            return false;
        qsizetype end = line.indexOf('\t', begin);
        if (end < 0)
            end = size;
        fields[i] = QByteArrayView(line).sliced(begin, end - begin).trimmed();
        begin = end + 1;
    }

    bool ok[5] = {};
    const int referenceId = fields[0].toInt(&ok[0]);
    const int first = fields[2].toInt(&ok[1]);
    const int last = fields[3].toInt(&ok[2]);
    const double evalue = fields[4].toDouble(&ok[3]);
    const double bitscore = fields[5].toDouble(&ok[4]);
    for (bool fieldOk : ok) {
        if (!fieldOk)
            return false;
    }
    m_referenceId = referenceId;
    m_first = first;
    m_last = last;
    m_evalue = evalue;
    m_bitscore = bitscore;
    return true;
}
