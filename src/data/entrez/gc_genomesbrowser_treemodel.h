#ifndef GC_GENOMESBROWSER_TREEMODEL_H
#define GC_GENOMESBROWSER_TREEMODEL_H

#include <QAbstractItemModel>

class QSqlQuery;

// A read-only tree of the NCBI taxonomy over the taxonomy database (the
// connection "chroms", tables subtaxa and taxnames). Nothing is read ahead:
// each question the view asks is one small query, and every answer is kept
// for the rest of the run in tables shared by all models, as the database
// does not change while the program runs; a look-up that fails is said
// (readFailed) and its answer not kept. An index's internal id is its taxon
// id; the invisible root is taxon 1.
class GC_GenomesBrowser_TreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit GC_GenomesBrowser_TreeModel(QObject *parent = nullptr);
    ~GC_GenomesBrowser_TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    static QString connectionName() { return QStringLiteral("chroms"); }

signals:
    // A look-up failed (the database cannot be read now, or its reading
    // stopped partway), in words for the user. Such an answer is not kept:
    // the view's next question asks the database again.
    void readFailed(const QString &text);

private:
    int taxidOf(const QModelIndex &index) const;
    // Whether the look-up query ran failed; says so through readFailed.
    bool failed(const QSqlQuery &query, const char *table) const;

    int rootTaxid;
};

#endif
