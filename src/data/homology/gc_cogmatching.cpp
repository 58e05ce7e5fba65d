#include "gc_cogmatching.h"

#include "gc_referencelookup.h"

#include <QSqlQuery>

namespace {

// Runs a one-column look-up in the COG collection; "error" when no row.
QString cogLookup(const QString &sql, const QString &code)
{
    bool found = false;
    const QVariant value = GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Cog, sql, {code}, &found);
    return found ? value.toString() : QStringLiteral("error");
}

} // namespace

QString GC_CogMatching::getCogName()
{
    cogName = cogLookup(QStringLiteral("SELECT name from cog_orthologies where code=?"), cogCode);
    return cogName;
}

QString GC_CogMatching::getGroupName()
{
    groupName = cogLookup(QStringLiteral("SELECT name from cog_groups where code=?"), groupCode);
    return groupName;
}

QString GC_CogMatching::getClassName()
{
    className = cogLookup(QStringLiteral("SELECT CC.name from cog_groups CG, cog_classes CC "
                                         "where CG.code=? and CG.class_id=CC.id"),
                          groupCode);
    return className;
}

bool GC_CogMatching::saveItem(QSqlQuery &query, std::optional<int> genomeId) const
{
    return writeRow(query, insertSql(), genomeId.value_or(getGenomeId()),
                    "GC_CogMatching::saveItem::Fail ");
}

QString GC_CogMatching::createTableSql()
{
    return QStringLiteral("CREATE TABLE cog_matchings (id_cog_protein INTEGER, genomeId INTEGER, "
                          "start INTEGER, end INTEGER, evalue REAL, bitscore REAL)");
}

QString GC_CogMatching::insertSql()
{
    return QStringLiteral("INSERT INTO cog_matchings (id_cog_protein, genomeId, start, end, evalue, "
                          "bitscore) VALUES ( ? , ? , ? , ? , ? , ?)");
}

QString GC_CogMatching::selectSql()
{
    return QStringLiteral("SELECT id_cog_protein, start, end, evalue, bitscore FROM cog_matchings "
                          "WHERE genomeId = ?");
}
