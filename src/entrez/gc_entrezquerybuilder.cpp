#include "gc_entrezquerybuilder.h"

#include <QStringList>

namespace {
const QString plusAnd = QStringLiteral("+AND+");
const QString plus = QStringLiteral("+");
} // namespace

QString GC_EntrezQueryBuilder::rewritePiece(const QString &piece, const QString &blank)
{
    QString text = piece;
    if (text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char(' '));
    text.replace(QStringLiteral(" -"), QStringLiteral("+NOT+"));
    text.replace(QLatin1Char(' '), blank);
    return text;
}

QString GC_EntrezQueryBuilder::fieldList(const QString &text, const QString &blank)
{
    const QString simple = text.simplified();
    if (simple.isEmpty())
        return QString();
    QStringList pieces = simple.split(QLatin1Char(','));
    for (QString &piece : pieces)
        piece = rewritePiece(piece, blank);
    return pieces.join(QStringLiteral("+OR+"));
}

QString GC_EntrezQueryBuilder::basicTerm(const QString &text)
{
    return fieldList(text, plusAnd);
}

QString GC_EntrezQueryBuilder::advancedTerm(const Advanced &fields)
{
    const struct
    {
        const QString &text;
        const QString &blank;
        const char *tag;
    } rows[] = {
        {fields.accessions, plusAnd, "[ACCN]"}, {fields.genes, plus, "[GENE]"},
        {fields.organisms, plus, "[ORGN]"},     {fields.anywhere, plus, "[ALL]"},
        {fields.definition, plus, "[TITL]"},    {fields.proteins, plus, "[PROT]"},
    };
    QString term;
    for (const auto &row : rows) {
        const QString list = fieldList(row.text, row.blank);
        if (list.isEmpty())
            continue;
        if (!term.isEmpty())
            term += plusAnd;
        term += list + QLatin1String(row.tag);
    }
    return term;
}
