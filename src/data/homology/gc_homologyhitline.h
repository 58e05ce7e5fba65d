#ifndef GC_HOMOLOGYHITLINE_H
#define GC_HOMOLOGYHITLINE_H

#include <QByteArray>

// One line of the tabular BLAST output the homology searches ask for: six
// tab-separated fields "reference id, alignment length, first, last,
// E-value, bit score" (first > last for a hit on the reverse strand).
// Parsed by position in one pass.
class GC_HomologyHitLine
{
public:
    // False, with the line left unread, when it has fewer than six fields or
    // the reference id, the positions or the scores are not numbers.
    bool parse(const QByteArray &line);

    int referenceId() const { return m_referenceId; }
    int first() const { return m_first; }
    int last() const { return m_last; }
    double evalue() const { return m_evalue; }
    double bitscore() const { return m_bitscore; }

private:
    int m_referenceId = 0;
    int m_first = 0;
    int m_last = 0;
    double m_evalue = 0.0;
    double m_bitscore = 0.0;
};

#endif
