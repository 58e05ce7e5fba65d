#include "gc_rfammatching.h"

#include "gc_referencelookup.h"

#include <QSqlQuery>

QString GC_RfamMatching::getRfamName()
{
    if (rfamName.isEmpty()) {
        rfamName = GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rfam,
                                                  QStringLiteral("SELECT name from rfam_groups where code=?"),
                                                  {rfamCode})
                       .toString();
    }
    return rfamName;
}

QString GC_RfamMatching::getToolTip()
{
    QString text;
    text += QStringLiteral("<b>RFAM code</b>: ") + rfamCode.toHtmlEscaped() + QStringLiteral("<br>");
    text += QStringLiteral("<b>RFAM name</b>: ") + getRfamName().toHtmlEscaped() + QStringLiteral("<br>");
    text += QStringLiteral("<b>Alignment length</b>: ") + QString::number(alignmentLength())
            + QStringLiteral("<br>");
    text += QStringLiteral("<b>E-value</b>: ") + QString::number(getEvalue(), 'g', 6) + QStringLiteral("<br>");
    text += QStringLiteral("<b>Bitscore</b>: ") + QString::number(getBitscore(), 'g', 6)
            + QStringLiteral("<br>");
    return text;
}

bool GC_RfamMatching::saveItem(QSqlQuery &query, std::optional<int> genomeId) const
{
    return writeRow(query, insertSql(), genomeId.value_or(getGenomeId()),
                    "GC_RfamMatching::saveItem::Fail ");
}

QString GC_RfamMatching::createTableSql()
{
    return QStringLiteral("CREATE TABLE rfam_matchings (rfam_seqid INTEGER, genomeId INTEGER, "
                          "start INTEGER, end INTEGER, evalue REAL, bitscore REAL)");
}

QString GC_RfamMatching::insertSql()
{
    return QStringLiteral("INSERT INTO rfam_matchings (rfam_seqid, genomeId, start, end, evalue, "
                          "bitscore) VALUES ( ? , ? , ? , ? , ? , ?)");
}

QString GC_RfamMatching::selectSql()
{
    return QStringLiteral("SELECT rfam_seqid, start, end, evalue, bitscore FROM rfam_matchings "
                          "WHERE genomeId = ?");
}
