#include "gc_rrnamatching.h"

#include "gc_referencelookup.h"

#include <QSqlQuery>

namespace {

QString tableRow(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><td align=right><b>") + label + QStringLiteral("</b></td><td>: ") + value
           + QStringLiteral("</td></tr>");
}

} // namespace

QString GC_rRNAMatching::getGroupName()
{
    if (groupName.isEmpty()) {
        groupName = GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rrna,
                                                   QStringLiteral("SELECT name from rrna_groups where id=?"),
                                                   {groupId})
                        .toString();
    }
    return groupName;
}

QString GC_rRNAMatching::getGroupDescription() const
{
    return GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rrna,
                                          QStringLiteral("SELECT description from rrna_groups where id=?"),
                                          {groupId})
        .toString();
}

QString GC_rRNAMatching::toolTipHtml()
{
    QString text = QStringLiteral("<table cellpadding=1 cellspacing=1 bgcolor=#F9F6F4 width=100%>");
    text += tableRow(QStringLiteral("rRNA type"), getGroupName().toHtmlEscaped());
    const QString description = getGroupDescription();
    if (!description.isEmpty())
        text += tableRow(QStringLiteral("rRNA description"), description.toHtmlEscaped());
    text += tableRow(QStringLiteral("Alignment length"), QString::number(alignmentLength()));
    text += tableRow(QStringLiteral("E-value"), QString::number(getEvalue(), 'g', 6));
    text += tableRow(QStringLiteral("Bitscore"), QString::number(getBitscore(), 'g', 6));
    text += QStringLiteral("</table>");
    return text;
}

bool GC_rRNAMatching::saveItem(QSqlQuery &query, std::optional<int> genomeId) const
{
    return writeRow(query, insertSql(), genomeId.value_or(getGenomeId()),
                    "GC_rRNAMatching::saveItem::Fail ");
}

QString GC_rRNAMatching::createTableSql()
{
    return QStringLiteral("CREATE TABLE rrna_matchings (rrna_seqid INTEGER, genomeId INTEGER, "
                          "start INTEGER, end INTEGER, evalue REAL, bitscore REAL)");
}

QString GC_rRNAMatching::insertSql()
{
    return QStringLiteral("INSERT INTO rrna_matchings (rrna_seqid, genomeId, start, end, evalue, "
                          "bitscore) VALUES ( ? , ? , ? , ? , ? , ?)");
}

QString GC_rRNAMatching::selectSql()
{
    return QStringLiteral("SELECT rrna_seqid, start, end, evalue, bitscore FROM rrna_matchings "
                          "WHERE genomeId = ?");
}
