#include "gc_cogpiedialog.h"

#include "gc_coggroupcolors.h"
#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_cogpieview.h"
#include "gc_queryend.h"

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPair>
#include <QSplitter>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QVariant>
#include <QVector>

namespace {

const char *const NoCategoryCode = "-1";

QString percentText(qint64 count, qint64 total)
{
    // No position at all (no hit was ever loaded): every row reads 0.0.
    const double percent = total > 0 ? double(count) * 100.0 / double(total) : 0.0;
    return QString::number(percent, 'f', 1);
}

} // namespace

GC_CogPieDialog::GC_CogPieDialog()
    : QDialog(nullptr)
{
    setupModel();
    setupViews();
    setWindowTitle(tr("GC homologies statistics"));
    resize(800, 600);
    // A window of its own that must not keep the program running once the
    // main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
}

GC_CogPieDialog::~GC_CogPieDialog()
{
    delete selectionModel;
    delete pieView;
    delete model;
}

void GC_CogPieDialog::setupModel()
{
    model = new QStandardItemModel(0, 3, this);
    model->setHeaderData(0, Qt::Horizontal, tr("COG group"));
    model->setHeaderData(1, Qt::Horizontal, tr("Base pairs"));
    model->setHeaderData(2, Qt::Horizontal, tr("Percent"));
}

void GC_CogPieDialog::setupViews()
{
    auto *splitter = new QSplitter;
    auto *table = new QTableView;
    pieView = new GC_CogPieView;
    splitter->addWidget(table);
    splitter->addWidget(pieView);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    table->setModel(model);
    pieView->setModel(model);
    selectionModel = new QItemSelectionModel(model);
    table->setSelectionModel(selectionModel);
    pieView->setSelectionModel(selectionModel);

    // The header has its sections only once the table has the model.
    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(false);
    for (int section = 0; section < 3; ++section)
        header->setSectionResizeMode(section, QHeaderView::Fixed);
    header->resizeSection(0, 50);
    header->resizeSection(1, 30);
    header->resizeSection(2, 30);
    table->verticalHeader()->hide();

    auto *layout = new QHBoxLayout;
    layout->addWidget(splitter);
    setLayout(layout);
}

void GC_CogPieDialog::insertRow(int row, const QString &name, float value, const QColor &color,
                                const QString &percentage)
{
    model->insertRows(row, 1, QModelIndex());
    model->setData(model->index(row, 0), name);
    model->setData(model->index(row, 0), color, Qt::DecorationRole);
    model->setData(model->index(row, 1), value);
    model->setData(model->index(row, 1), int(Qt::AlignRight), Qt::TextAlignmentRole);
    model->setData(model->index(row, 2), percentage + QLatin1Char('%'));
    model->setData(model->index(row, 2), int(Qt::AlignRight), Qt::TextAlignmentRole);
}

bool GC_CogPieDialog::computeStatistics(QString *problem)
{
    model->removeRows(0, model->rowCount());

    // The categories of the COG collection, in class order.
    QList<QPair<QString, QString>> groups;
    const QSqlDatabase reference = GC_CogHomologies::database();
    if (reference.isOpen()) {
        QSqlQuery query(reference);
        query.setForwardOnly(true);
        if (query.exec(QStringLiteral("SELECT code, name from cog_groups order by class_id"))) {
            while (query.next())
                groups.append({ query.value(0).toString(), query.value(1).toString() });
        }
        // Categories missing would hide their share of the genome.
        if (GC_QueryEnd::stoppedShort(query)) {
            if (problem)
                *problem = GC_QueryEnd::failureText(reference.databaseName(),
                                                    QStringLiteral("cog_groups"), query);
            return false;
        }
    }

    // Positions per hit first (one pass over the dense index), then per
    // category: no map look-up per position. Hit keys run 0, 1, 2, ...
    const int lastKey = matchings.isEmpty() ? -1 : matchings.lastKey();
    QVector<qint64> positionsPerKey(std::max(0, lastKey + 1), 0);
    qint64 uncovered = 0;
    positionMap.forEachEntry([&](int, int key) {
        if (key == GC_PositionIndex::noHit)
            ++uncovered;
        else if (key >= 0 && key <= lastKey)
            ++positionsPerKey[key];
    });
    const qint64 total = positionMap.size();

    QHash<QString, qint64> counts;
    for (auto it = matchings.cbegin(); it != matchings.cend(); ++it) {
        if (it.key() < 0 || !it.value())
            continue;
        const qint64 positions = positionsPerKey.at(it.key());
        if (positions > 0)
            counts[it.value()->getGroupCode()] += positions;
    }

    // A hit filed under the no-category code counts with the uncovered part.
    const QString noCategory = QString::fromLatin1(NoCategoryCode);
    const qint64 noCategoryCount = uncovered + counts.value(noCategory, 0);
    insertRow(0, tr("Non protein-coding region or no COG assigned"), float(noCategoryCount),
              GC_CogGroupColors::peekColor(noCategory), percentText(noCategoryCount, total));
    int row = 1;
    for (const auto &group : std::as_const(groups)) {
        if (group.first == noCategory)
            continue;
        const qint64 count = counts.value(group.first, 0);
        insertRow(row++, group.second, float(count), GC_CogGroupColors::peekColor(group.first),
                  percentText(count, total));
    }
    return true;
}
