#ifndef GC_ENTREZQUERYBUILDER_H
#define GC_ENTREZQUERYBUILDER_H

#include <QString>

// Turns what the user typed into an Entrez search term in plain text: blanks
// kept or made " AND ", comma-separated pieces joined by " OR ", a minus that
// begins a word made " NOT ", each field of the advanced form followed by its
// tag ("[GENE]" ...) and the fields joined by " AND ". The request encodes
// the term on its way out (a blank travels as "+"); the user's letters keep
// their case.
class GC_EntrezQueryBuilder
{
public:
    // One comma-separated piece, blanks replaced by blank.
    static QString rewritePiece(const QString &piece, const QString &blank);
    // A whole line edit: simplified, split at commas, pieces joined by "+OR+";
    // empty when the text holds nothing but white space.
    static QString fieldList(const QString &text, const QString &blank);

    // The Basic page's term.
    static QString basicTerm(const QString &text);

    struct Advanced
    {
        QString accessions;
        QString genes;
        QString organisms;
        QString anywhere;
        QString definition;
        QString proteins;
    };
    // The Advanced page's term.
    static QString advancedTerm(const Advanced &fields);
};

#endif
