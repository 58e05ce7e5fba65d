#include "gc_genomesbrowser_treemodel.h"

#include "gc_queryend.h"

#include <QHash>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// Answers learnt from the database, shared by every model of the run.
struct AnswerCaches
{
    QHash<QPair<int, int>, int> child;     // (parent, row) -> child taxid, 0 for none
    QHash<int, int> rowCount;              // taxid -> number of children
    QHash<int, QString> name;              // taxid -> name
    QHash<int, int> parent;                // taxid -> parent taxid
    QHash<int, int> grandparent;           // parent taxid -> its own parent
    QHash<int, int> rowUnderParent;        // taxid -> row among its parent's children
};

AnswerCaches &caches()
{
    static AnswerCaches tables;
    return tables;
}

// Runs one lookup with the taxid bound as text, as the ids are compared
// with quoted decimal text.
bool runLookup(QSqlQuery &query, const char *statement, int taxid)
{
    query.setForwardOnly(true);
    if (!query.prepare(QLatin1String(statement)))
        return false;
    query.addBindValue(QString::number(taxid));
    return query.exec();
}

QSqlDatabase chroms()
{
    return QSqlDatabase::database(GC_GenomesBrowser_TreeModel::connectionName(), false);
}

} // namespace

GC_GenomesBrowser_TreeModel::GC_GenomesBrowser_TreeModel(QObject *parent)
    : QAbstractItemModel(parent)
    , rootTaxid(1)
{
}

GC_GenomesBrowser_TreeModel::~GC_GenomesBrowser_TreeModel() = default;

int GC_GenomesBrowser_TreeModel::taxidOf(const QModelIndex &index) const
{
    return index.isValid() ? int(index.internalId()) : rootTaxid;
}

QModelIndex GC_GenomesBrowser_TreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    const int p = taxidOf(parent);
    const QPair<int, int> key(p, row);
    AnswerCaches &cache = caches();
    int child = 0;
    auto found = cache.child.constFind(key);
    if (found != cache.child.constEnd()) {
        child = found.value();
    } else {
        QSqlQuery query(chroms());
        if (runLookup(query, "SELECT subtaxid from subtaxa where taxid=?", p)) {
            bool onRow = query.next();
            for (int i = 0; onRow && i < row; ++i)
                onRow = query.next();
            if (onRow)
                child = query.value(0).toInt();
        }
        if (failed(query, "subtaxa"))
            return QModelIndex();
        cache.child.insert(key, child);
    }
    if (child == 0)
        return QModelIndex();
    return createIndex(row, column, quintptr(child));
}

QModelIndex GC_GenomesBrowser_TreeModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return QModelIndex();
    const int c = int(index.internalId());
    AnswerCaches &cache = caches();

    int p;
    auto foundParent = cache.parent.constFind(c);
    if (foundParent != cache.parent.constEnd()) {
        p = foundParent.value();
    } else {
        QSqlQuery query(chroms());
        p = runLookup(query, "SELECT taxid from subtaxa where subtaxid=?", c) && query.next()
                ? query.value(0).toInt()
                : 1;
        if (failed(query, "subtaxa"))
            return QModelIndex();
        cache.parent.insert(c, p);
    }
    if (p == rootTaxid)
        return QModelIndex();

    int g;
    auto foundGrandparent = cache.grandparent.constFind(p);
    if (foundGrandparent != cache.grandparent.constEnd()) {
        g = foundGrandparent.value();
    } else {
        QSqlQuery query(chroms());
        g = runLookup(query, "SELECT taxid from subtaxa where subtaxid=?", p) && query.next()
                ? query.value(0).toInt()
                : 0;
        if (failed(query, "subtaxa"))
            return QModelIndex();
        cache.grandparent.insert(p, g);
    }

    int r;
    auto foundRow = cache.rowUnderParent.constFind(p);
    if (foundRow != cache.rowUnderParent.constEnd()) {
        r = foundRow.value();
    } else {
        r = 0;
        QSqlQuery query(chroms());
        if (runLookup(query, "SELECT subtaxid from subtaxa where taxid=?", g)) {
            while (query.next() && query.value(0).toInt() != p)
                ++r;
        }
        if (failed(query, "subtaxa"))
            return QModelIndex();
        cache.rowUnderParent.insert(p, r);
    }
    return createIndex(r, 0, quintptr(p));
}

int GC_GenomesBrowser_TreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const int t = taxidOf(parent);
    AnswerCaches &cache = caches();
    auto found = cache.rowCount.constFind(t);
    if (found != cache.rowCount.constEnd())
        return found.value();
    QSqlQuery query(chroms());
    if (!runLookup(query, "SELECT count(subtaxid) from subtaxa where taxid=?", t) || !query.next()) {
        failed(query, "subtaxa");
        return 0;  // not cached: the database may answer next time
    }
    const int count = query.value(0).toInt();
    cache.rowCount.insert(t, count);
    return count;
}

int GC_GenomesBrowser_TreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant GC_GenomesBrowser_TreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    const int taxid = int(index.internalId());
    AnswerCaches &cache = caches();
    auto found = cache.name.constFind(taxid);
    if (found != cache.name.constEnd())
        return found.value();
    QSqlQuery query(chroms());
    if (!runLookup(query, "SELECT name from taxnames where taxid=?", taxid) || !query.next()) {
        failed(query, "taxnames");
        return QString();
    }
    const QString name = query.value(0).toString();
    cache.name.insert(taxid, name);
    return name;
}

QVariant GC_GenomesBrowser_TreeModel::headerData(int, Qt::Orientation, int role) const
{
    // Only as text: a string answered for the size, font or alignment roles
    // would be read as a broken value of that kind.
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    return QStringLiteral("Taxon Name");
}

bool GC_GenomesBrowser_TreeModel::failed(const QSqlQuery &query, const char *table) const
{
    if (!GC_QueryEnd::stoppedShort(query))
        return false;
    const QString text =
        GC_QueryEnd::failureText(chroms().databaseName(), QLatin1String(table), query);
    emit const_cast<GC_GenomesBrowser_TreeModel *>(this)->readFailed(text);
    return true;
}

Qt::ItemFlags GC_GenomesBrowser_TreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}
