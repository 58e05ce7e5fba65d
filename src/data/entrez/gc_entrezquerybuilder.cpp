#include "gc_entrezquerybuilder.h"

#include <QStringList>

namespace {
const QString andWord = QStringLiteral(" AND ");
const QString blankOnly = QStringLiteral(" ");
const QString notWord = QStringLiteral(" NOT ");
} // namespace

QString GC_EntrezQueryBuilder::rewritePiece(const QString &piece, const QString &blank)
{
    QString text = piece;
    if (text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char(' '));
    // One pass, so the blanks of the operators written here are not
    // rewritten again.
    QString term;
    term.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char(' ')) {
            term += text.at(i);
        } else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('-')) {
            term += notWord;
            ++i;
        } else {
            term += blank;
        }
    }
    return term;
}

QString GC_EntrezQueryBuilder::fieldList(const QString &text, const QString &blank)
{
    const QString simple = text.simplified();
    if (simple.isEmpty())
        return QString();
    QStringList pieces = simple.split(QLatin1Char(','));
    for (QString &piece : pieces)
        piece = rewritePiece(piece, blank);
    return pieces.join(QStringLiteral(" OR "));
}

QString GC_EntrezQueryBuilder::basicTerm(const QString &text)
{
    return fieldList(text, andWord);
}

QString GC_EntrezQueryBuilder::advancedTerm(const Advanced &fields)
{
    const struct
    {
        const QString &text;
        const QString &blank;
        const char *tag;
    } rows[] = {
        {fields.accessions, andWord, "[ACCN]"}, {fields.genes, blankOnly, "[GENE]"},
        {fields.organisms, blankOnly, "[ORGN]"},     {fields.anywhere, blankOnly, "[ALL]"},
        {fields.definition, blankOnly, "[TITL]"},    {fields.proteins, blankOnly, "[PROT]"},
    };
    QString term;
    for (const auto &row : rows) {
        const QString list = fieldList(row.text, row.blank);
        if (list.isEmpty())
            continue;
        if (!term.isEmpty())
            term += andWord;
        term += list + QLatin1String(row.tag);
    }
    return term;
}
