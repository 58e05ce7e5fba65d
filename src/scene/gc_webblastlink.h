#ifndef GC_WEBBLASTLINK_H
#define GC_WEBBLASTLINK_H

#include <QString>
#include <QUrl>

class GC_GenomeMatching;

// Builds the NCBI web BLAST address that carries a whole search form with a
// sequence as its query, and hands it to the desktop's browser. Also picks
// the stretch of a matching that is drawn above or below.
class GC_WebBlastLink
{
public:
    enum Program { BlastN, BlastX };

    // Scheme and host of the service; the templates hold path and query.
    static QString serviceRoot();
    // Path and query with %1 standing for the sequence.
    static QString queryTemplate(Program program);
    // The template filled with the sequence as it is (no escaping), parsed
    // tolerantly.
    static QUrl url(Program program, const QString &sequence);
    // Opens url(program, sequence) in the default browser; when no browser
    // can be opened, a message gives the address instead.
    static void open(Program program, const QString &sequence);

    // The stretch of the genome drawn higher (upper) or lower, read left to
    // right on the forward strand. When both genomes lie at the same height
    // the top genome is upper and the low genome lower.
    static QString upperSection(const GC_GenomeMatching *matching);
    static QString lowerSection(const GC_GenomeMatching *matching);

    // Replaces the desktop clipboard's text (not the selection buffer).
    static void copyToClipboard(const QString &text);
};

#endif
