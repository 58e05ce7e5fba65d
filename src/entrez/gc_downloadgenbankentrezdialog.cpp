#include "gc_downloadgenbankentrezdialog.h"
#include "gc_log.h"
#include "ui_gc_downloadgenbankentrezdialog.h"

#include "en_entrezservice.h"
#include "en_request_httptextdata.h"
#include "gc_chromsdatabase.h"
#include "gc_downloadgenbankentrezitem.h"
#include "gc_entrezquerybuilder.h"
#include "gc_genomesbrowser_treemodel.h"
#include "gc_pushbutton_custom.h"
#include "gc_queryend.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTableWidget>


namespace {
const char *const esearchPath = "/entrez/eutils/esearch.fcgi";
const char *const esummaryPath = "/entrez/eutils/esummary.fcgi";
const char *const efetchPath = "/entrez/eutils/efetch.fcgi";

// The answers are read as 8-bit text up to the first zero byte.
QString answerText(const QByteArray &data)
{
    const int zero = data.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? data : data.left(zero));
}

// The text after marker up to the next '<', trimmed; null when the marker or
// the '<' is missing. Parsed by position: answers can be long single lines.
QString itemValue(const QString &text, const QString &marker)
{
    const int start = text.indexOf(marker);
    if (start < 0)
        return QString();
    const int valueStart = start + marker.size();
    const int end = text.indexOf(QLatin1Char('<'), valueStart);
    if (end < 0)
        return QString();
    return text.mid(valueStart, end - valueStart).trimmed();
}

QLabel *addedLabel()
{
    auto *label = new QLabel(QObject::tr("Added"));
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

GC_DownloadGenbankEntrezDialog::GC_DownloadGenbankEntrezDialog(QWidget *parent)
    : QDialog(parent, Qt::Window)
    , ui(new Ui::GC_DownloadGenbankEntrezDialog)
{
    ui->setupUi(this);
    const QSettings settings;
    if (settings.contains(geometryKey()))
        restoreGeometry(settings.value(geometryKey()).toByteArray());
    ui->treeWidget->setSortingEnabled(true);
    ui->treeWidget->header()->setSectionResizeMode(2, QHeaderView::Stretch);
}

GC_DownloadGenbankEntrezDialog::~GC_DownloadGenbankEntrezDialog()
{
    releaseRequest();
    delete ui;
    ui = nullptr;
    delete browseModel;
    browseModel = nullptr;
    delete browseTable;
    browseTable = nullptr;
    addedTaxa.clear();
}

void GC_DownloadGenbankEntrezDialog::closeEvent(QCloseEvent *event)
{
    releaseRequest();
    QSettings settings;
    settings.setValue(geometryKey(), saveGeometry());
    QDialog::closeEvent(event);
}

void GC_DownloadGenbankEntrezDialog::addResultRow(const QString &gi, const QString &accession,
                                                  const QString &title, const QString &size)
{
    auto *item = new GC_DownloadGenbankEntrezItem;
    item->setText(0, gi);
    item->setText(1, accession);
    item->setText(2, title);
    item->setText(3, size);
    ui->treeWidget->addTopLevelItem(item);
}

QString GC_DownloadGenbankEntrezDialog::databaseName() const
{
    return ui->comboboxdatabase->currentText().simplified();
}

QString GC_DownloadGenbankEntrezDialog::searchTerm() const
{
    if (ui->tabwidgetsearch->currentIndex() == 0)
        return GC_EntrezQueryBuilder::basicTerm(ui->basicterm->text());
    GC_EntrezQueryBuilder::Advanced fields;
    fields.accessions = ui->advaccessionnumbers->text();
    fields.genes = ui->advgenenames->text();
    fields.organisms = ui->advorganismsnames->text();
    fields.anywhere = ui->advwordsanywhere->text();
    fields.definition = ui->advwordsindefinition->text();
    fields.proteins = ui->advproteinsnames->text();
    return GC_EntrezQueryBuilder::advancedTerm(fields);
}

EN_Request_HttpTextData *GC_DownloadGenbankEntrezDialog::newRequest(const char *path)
{
    releaseRequest();
    request = new EN_Request_HttpTextData(this);
    request->setUrl(EN_EntrezService::url(QLatin1String(path)));
    return request;
}

void GC_DownloadGenbankEntrezDialog::releaseRequest()
{
    if (!request)
        return;
    disconnect(request, nullptr, this, nullptr);
    request->deleteLater();
    request = nullptr;
}

void GC_DownloadGenbankEntrezDialog::setSearchBusy(bool busy)
{
    const QList<QWidget *> controls = {ui->tabwidgetsearch, ui->buttonsearch, ui->tab_4, ui->label,
                                       ui->label_2, ui->spinboxmaxhits, ui->comboboxdatabase};
    for (QWidget *control : controls)
        control->setEnabled(!busy);
    ui->progresssearch->setEnabled(busy);
    ui->progresssearch->setMaximum(busy ? 0 : 1);
}

void GC_DownloadGenbankEntrezDialog::setFetchRunning(bool running)
{
    ui->tab_3->setEnabled(!running);
    ui->buttondownload->setEnabled(!running);
    ui->treeWidget->setEnabled(!running);
}

void GC_DownloadGenbankEntrezDialog::showRequestError(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, tr("HTTP Get"), text, QMessageBox::Ok, this);
    if (request && !request->errorString().isEmpty())
        box.setInformativeText(request->errorString());
    box.exec();
}

void GC_DownloadGenbankEntrezDialog::showNoResults()
{
    QMessageBox box(QMessageBox::Critical, tr("No results"),
                    QStringLiteral("No sequences were found for this query"), QMessageBox::Ok, this);
    box.exec();
}

void GC_DownloadGenbankEntrezDialog::on_buttonsearch_clicked()
{
    EN_Request_HttpTextData *search = newRequest(esearchPath);
    search->addQueryItem(QStringLiteral("db"), databaseName());
    search->addQueryItem(QStringLiteral("term"), searchTerm());
    search->addQueryItem(QStringLiteral("retmax"), ui->spinboxmaxhits->value());
    search->addQueryItem(QStringLiteral("tool"), EN_EntrezService::toolName());
    search->addQueryItem(QStringLiteral("email"), EN_EntrezService::contactEmail());
    connect(search, SIGNAL(done(bool)), this, SLOT(slotSearchFinished(bool)));
    search->get();
    setSearchBusy(true);
}

void GC_DownloadGenbankEntrezDialog::slotSearchFinished(bool error)
{
    if (!request)
        return;
    if (error) {
        showRequestError(tr("Error getting the data from Entrez Esearch\n"));
        releaseRequest();
        setSearchBusy(false);
        return;
    }
    request->readResult();
    const QString text = answerText(request->data());
    qCDebug(lcKestal, "esearchHttpDoneSlot(): result = (%s)\n", qPrintable(text));

    QStringList ids;
    const QString open = QStringLiteral("<Id>");
    const QString close = QStringLiteral("</Id>");
    for (int from = 0;;) {
        const int start = text.indexOf(open, from);
        if (start < 0)
            break;
        const int end = text.indexOf(close, start + open.size());
        if (end < 0)
            break;
        ids << text.mid(start + open.size(), end - start - open.size());
        from = end + close.size();
    }
    if (ids.isEmpty()) {
        showNoResults();
        setSearchBusy(false);
        releaseRequest();
        return;
    }

    EN_Request_HttpTextData *summary = newRequest(esummaryPath);
    summary->addQueryItem(QStringLiteral("db"), databaseName());
    summary->addQueryItem(QStringLiteral("id"), ids.join(QLatin1Char(',')));
    summary->addQueryItem(QStringLiteral("retmode"), QStringLiteral("xml"));
    summary->addQueryItem(QStringLiteral("tool"), EN_EntrezService::toolName());
    summary->addQueryItem(QStringLiteral("email"), EN_EntrezService::contactEmail());
    connect(summary, SIGNAL(done(bool)), this, SLOT(slotSummaryFinished(bool)));
    summary->get();
}

void GC_DownloadGenbankEntrezDialog::slotSummaryFinished(bool error)
{
    if (!request)
        return;
    if (error) {
        showRequestError(tr("Error getting the summary from Entrez eSummary\n"));
    } else {
        request->readResult();
        const QStringList pieces = answerText(request->data()).split(QStringLiteral("<DocSum>"));
        if (pieces.size() < 2) {
            showNoResults();
        } else {
            ui->treeWidget->clear();
            ui->treeWidget->setSortingEnabled(false);
            for (int i = 1; i < pieces.size(); ++i) {
                const QString &piece = pieces.at(i);
                const QString accession =
                    itemValue(piece, QStringLiteral("<Item Name=\"Caption\" Type=\"String\">"));
                if (accession.isNull())
                    continue;
                const QString title =
                    itemValue(piece, QStringLiteral("<Item Name=\"Title\" Type=\"String\">"));
                if (title.isNull())
                    continue;
                const QString gi = itemValue(piece, QStringLiteral("<Item Name=\"Gi\" Type=\"Integer\">"));
                if (gi.isNull())
                    continue;
                const QString length =
                    itemValue(piece, QStringLiteral("<Item Name=\"Length\" Type=\"Integer\">"));
                if (length.isNull())
                    continue;
                addResultRow(gi, accession, title, length);
            }
            ui->tabwidget->setCurrentIndex(2);
        }
    }
    setSearchBusy(false);
    releaseRequest();
}

void GC_DownloadGenbankEntrezDialog::on_buttoncancel_clicked()
{
    if (!request) {
        reject();
        return;
    }
    releaseRequest();
    setSearchBusy(false);
}

void GC_DownloadGenbankEntrezDialog::on_buttoncancelresults_clicked()
{
    if (!request) {
        reject();
        return;
    }
    releaseRequest();
    setFetchRunning(false);
    ui->labelprogress->setText(tr("Download cancelled"));
}

void GC_DownloadGenbankEntrezDialog::on_buttondownload_clicked()
{
    QList<QTreeWidgetItem *> rows = ui->treeWidget->selectedItems();
    if (rows.isEmpty()) {
        for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i)
            rows << ui->treeWidget->topLevelItem(i);
    }
    if (rows.isEmpty()) {
        QMessageBox::information(this, tr("Importing sequences..."),
                                 tr("There are no sequences in the results list to download."));
        return;
    }
    QString ids;
    for (const QTreeWidgetItem *row : rows) {
        if (ids.isEmpty())
            ids = row->text(1);
        else
            ids += QLatin1Char(',') + row->text(1);
    }
    QMessageBox question(QMessageBox::Question, tr("Importing sequences..."),
                         tr("%1 sequences are going to be downloaded\nShould we proceed?").arg(rows.size()),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question.setDefaultButton(QMessageBox::Yes);
    if (question.exec() != QMessageBox::Yes)
        return;

    downloadFolder = QFileDialog::getExistingDirectory(this, tr("Select folder"), QDir::homePath(),
                                                       QFileDialog::ShowDirsOnly);
    if (downloadFolder.isEmpty())
        return;

    EN_Request_HttpTextData *fetch = newRequest(efetchPath);
    fetch->addQueryItem(QStringLiteral("db"), databaseName());
    fetch->addQueryItem(QStringLiteral("id"), ids);
    fetch->addQueryItem(QStringLiteral("rettype"), QStringLiteral("gbwithparts"));
    fetch->addQueryItem(QStringLiteral("retmode"), QStringLiteral("text"));
    fetch->addQueryItem(QStringLiteral("tool"), EN_EntrezService::toolName());
    fetch->addQueryItem(QStringLiteral("email"), EN_EntrezService::contactEmail());
    connect(fetch, SIGNAL(done(bool)), this, SLOT(slotFetchFinished(bool)));
    connect(fetch, SIGNAL(progressRead(int,int)), this, SLOT(slotFetchProgress(int,int)));
    fetch->get();
    ui->labelprogress->setText(tr("Starting donwload"));
    setFetchRunning(true);
}

void GC_DownloadGenbankEntrezDialog::slotFetchProgress(int current, int)
{
    ui->labelprogress->setText(
        tr(" %1 Kilobytes downloaded").arg(QString::number(double(current / 1024), 'f', 2)));
}

void GC_DownloadGenbankEntrezDialog::slotFetchFinished(bool error)
{
    if (!request)
        return;
    QString outcome = tr("Download finished");
    if (error) {
        showRequestError(tr("Error getting the data from Entrez Efetch\n"));
        outcome = tr("Download failed");
    } else {
        request->readResult();
        // One writer for the dialog's life: a record fetched again goes
        // back into the file written for it before.
        recordWriter.setFolder(downloadFolder);
        const QStringList written = recordWriter.writeRecords(answerText(request->data()));
        for (const QString &path : written) {
            if (!listedFiles.contains(path)) {
                listedFiles.insert(path);
                fileList << path;
            }
        }
        const QStringList failures = recordWriter.failures();
        if (!failures.isEmpty()) {
            outcome = tr("Download finished: %n record(s) could not be saved", nullptr,
                         int(failures.size()));
            QMessageBox box(QMessageBox::Warning, tr("Saving sequences"),
                            tr("Some downloaded records could not be saved in %1.")
                                .arg(QDir::toNativeSeparators(downloadFolder)),
                            QMessageBox::Ok, this);
            box.setDetailedText(failures.join(QLatin1Char('\n')));
            box.exec();
        } else if (written.isEmpty()) {
            outcome = tr("Download finished: the answer held no Genbank records");
        }
    }
    setFetchRunning(false);
    ui->labelprogress->setText(outcome);
    releaseRequest();
}

void GC_DownloadGenbankEntrezDialog::setupBrowseTab()
{
    if (!chromsDatabaseOpen) {
        ui->tabwidget->setTabEnabled(0, false);
        ui->tabwidget->setCurrentIndex(1);
        return;
    }
    if (browseModel)
        return;  // built once per dialog
    auto *treeLayout = new QHBoxLayout(ui->box1);
    browseModel = new GC_GenomesBrowser_TreeModel(this);
    // Queued: the model fails inside the view's painting and layout.
    connect(browseModel, &GC_GenomesBrowser_TreeModel::readFailed, this,
            &GC_DownloadGenbankEntrezDialog::slotBrowseReadFailed, Qt::QueuedConnection);
    browseTreeView.setModel(browseModel);
    treeLayout->addWidget(&browseTreeView);
    connect(&browseTreeView, SIGNAL(clicked(QModelIndex)), this,
            SLOT(browseTreeViewClicked(QModelIndex)));

    auto *tableLayout = new QHBoxLayout(ui->box2);
    browseTable = new QTableWidget(1, 7, this);
    browseTable->setHorizontalHeaderLabels({tr("GI"), tr("Accesion"), tr("Definition"), tr("Size"),
                                            tr("Genes"), tr("Proteins"), QString()});
    browseTable->setColumnWidth(1, 100);
    browseTable->setColumnWidth(3, 80);
    browseTable->setColumnWidth(4, 80);
    browseTable->setColumnWidth(5, 80);
    browseTable->setColumnWidth(6, 70);
    browseTable->setSortingEnabled(false);
    browseTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    browseTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    browseTable->setColumnHidden(0, true);
    tableLayout->addWidget(browseTable);

    ui->box2->setMaximumHeight(0);
    ui->box2->hide();
}

void GC_DownloadGenbankEntrezDialog::browseTreeViewClicked(const QModelIndex &idx)
{
    if (!browseTable || !idx.isValid())
        return;
    const int taxid = int(idx.internalId());
    const QSqlDatabase db = QSqlDatabase::database(GC_GenomesBrowser_TreeModel::connectionName(), false);
    // A listing that fails partway would pass for the whole: nothing is listed.
    const auto unreadable = [&](const QSqlQuery &failed) {
        hideBrowseTable();
        warnBrowseFailure(GC_QueryEnd::failureText(db.databaseName(), QStringLiteral("chroms"), failed));
    };

    QList<int> taxa;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (query.prepare(QStringLiteral("SELECT taxid from chroms where parent_taxid=?"))) {
            query.addBindValue(QString::number(taxid));
            if (query.exec()) {
                while (query.next())
                    taxa << query.value(0).toInt();
            }
        }
        if (GC_QueryEnd::stoppedShort(query)) {
            unreadable(query);
            return;
        }
    }
    if (taxa.isEmpty()) {
        hideBrowseTable();
        return;
    }

    ui->box2->show();
    ui->box2->setMinimumHeight(ui->box1->height() / 2);
    ui->box2->setMaximumHeight(1600);
    browseTable->clearContents();
    browseTable->setRowCount(int(taxa.size()));
    QStringList listed;
    for (int taxon : taxa)
        listed << QString::number(taxon);
    qCDebug(lcKestal, "taxaList: (%s)", qPrintable(listed.join(QStringLiteral(", "))));

    QSqlQuery record(db);
    record.setForwardOnly(true);
    const QString statement = QStringLiteral(
        "SELECT gi, accession, taxname, dna_length, gene_count, protein_count from chroms where taxid=?");
    const bool prepared = record.prepare(statement);
    for (int i = 0; i < taxa.size(); ++i) {
        const int taxon = taxa.at(i);
        qCDebug(lcKestal, "i: %d, QSTR: \"%s\" (taxid %d)", i, qPrintable(statement), taxon);
        if (!prepared)
            break;
        record.bindValue(0, QString::number(taxon));
        if (!record.exec() || !record.next()) {
            if (GC_QueryEnd::stoppedShort(record)) {
                unreadable(record);
                return;
            }
            continue;
        }

        const Qt::Alignment rightCentred = Qt::AlignRight | Qt::AlignVCenter;
        browseTable->setItem(i, 0, new QTableWidgetItem(record.value(0).toString()));
        browseTable->setItem(i, 1, new QTableWidgetItem(record.value(1).toString()));
        browseTable->setItem(i, 2, new QTableWidgetItem(record.value(2).toString()));
        auto *size = new QTableWidgetItem(record.value(3).toString());
        size->setTextAlignment(rightCentred);
        browseTable->setItem(i, 3, size);
        for (int column = 4; column <= 5; ++column) {
            const QVariant value = record.value(column);
            const bool known = !value.isNull() && value.toLongLong() >= 1;
            auto *count = new QTableWidgetItem(known ? value.toString() : tr("N/A"));
            count->setTextAlignment(rightCentred);
            browseTable->setItem(i, column, count);
        }
        if (addedTaxa.contains(taxon)) {
            browseTable->setCellWidget(i, 6, addedLabel());
        } else {
            auto *button = new GC_PushButton_Custom;
            button->setText(tr("Add"));
            button->setId(taxon);
            button->setRow(i);
            connect(button, SIGNAL(activated(int,int)), this, SLOT(slotAddTaxon(int,int)));
            browseTable->setCellWidget(i, 6, button);
        }
        record.finish();
    }
}

void GC_DownloadGenbankEntrezDialog::hideBrowseTable()
{
    ui->box2->setMaximumHeight(0);
    ui->box2->hide();
}

void GC_DownloadGenbankEntrezDialog::warnBrowseFailure(const QString &text)
{
    QMessageBox::warning(this, tr("Taxonomy database"), text);
}

void GC_DownloadGenbankEntrezDialog::slotBrowseReadFailed(const QString &text)
{
    // The view asks the same questions at every repaint: said once.
    if (browseReadFailureSaid)
        return;
    browseReadFailureSaid = true;
    warnBrowseFailure(text);
}

void GC_DownloadGenbankEntrezDialog::slotAddTaxon(int taxid, int row)
{
    if (!browseTable || row < 0 || row >= browseTable->rowCount())
        return;
    addedTaxa.insert(taxid, true);
    if (QWidget *old = browseTable->cellWidget(row, 6)) {
        old->hide();
        old->deleteLater();
    }
    browseTable->setCellWidget(row, 6, addedLabel());
    browseTable->setCurrentCell(row, 0);
    if (auto *bar = ui->tabwidget->findChild<QTabBar *>(QStringLiteral("qt_tabwidget_tabbar")))
        bar->setTabTextColor(2, QColor(0, 0, 255));

    auto cellText = [this, row](int column) {
        const QTableWidgetItem *item = browseTable->item(row, column);
        return item ? item->text() : QString();
    };
    addResultRow(cellText(0), cellText(1), cellText(2), cellText(3));
}
