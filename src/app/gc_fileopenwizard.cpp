#include "gc_fileopenwizard.h"
#include "ui_gc_fileopenwizard.h"

#include "gc_downloadgenbankentrezdialog.h"
#include "gc_fileutils.h"
#include "gc_sequencefilereader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSet>
#include <QSettings>

#include <algorithm>

namespace {

const char *const keyLastDirOpen = "lastDirOpen";
// The common Genbank (.gbk, .gbff, .gbf) and FASTA (.fa, .fna, .fasta)
// extensions are all offered; the second filter shows any other name.
const QString sequenceExtensions = QStringLiteral("(*.gb *.gbk *.gbff *.gbf *.fas *.fa *.fasta *.fna *.txt)");
const QString anyFile = QStringLiteral(";;All files (*)");
const QString sequenceFilter = "Genbank or fasta files " + sequenceExtensions + anyFile;
// Per row of the files list: what the file's genome is known by.
const int GenomeKeysRole = Qt::UserRole;

// The name the builder gives a Genbank file's genome.
QString genbankName(const GC_SequenceFileReader &reader)
{
    return reader.genbank().header.value("DEFINITION").simplified();
}

// The keys a listed file's genomes are recognised by: the Genbank
// accession with its version, and every genome name.
QStringList genomeKeys(const GC_SequenceFileReader &reader)
{
    QStringList keys;
    if (reader.kind() == GC_FileUtils::GenbankFile) {
        // A record without a VERSION line is known by its accession alone.
        QString version = reader.genbank().header.value("VERSION").simplified().section(' ', 0, 0);
        if (version.isEmpty())
            version = reader.genbank().header.value("ACCESSION").simplified().section(' ', 0, 0);
        if (!version.isEmpty())
            keys.append("version:" + version);
        const QString definition = genbankName(reader);
        if (!definition.isEmpty())
            keys.append("name:" + definition);
    } else {
        for (const auto &record : reader.fastaRecords())
            keys.append("name:" + record.first);
    }
    return keys;
}

enum PageId { PageType = 1, PageFile = 2, PageDefinition = 3, PageFiles = 4, PagePairs = 5, PageFinish = 6 };

} // namespace

GC_FileOpenWizard::GC_FileOpenWizard(QWidget *parent)
    : QWizard(parent), ui(new Ui::GC_FileOpenWizard)
{
    ui->setupUi(this);
    ui->radioExamples->hide();
    // Long genome names share the width and wrap.
    ui->listPairs->header()->setSectionResizeMode(QHeaderView::Stretch);
    connect(this, &QWizard::currentIdChanged, this, &GC_FileOpenWizard::fitSubTitle);
}

GC_FileOpenWizard::~GC_FileOpenWizard()
{
    delete ui;
}

QString GC_FileOpenWizard::fileName() const
{
    return ui->lineInputFile->text();
}

QStringList GC_FileOpenWizard::listedFiles() const
{
    QStringList files;
    files.reserve(ui->listInputFiles->count());
    for (int i = 0; i < ui->listInputFiles->count(); ++i)
        files.append(ui->listInputFiles->item(i)->text());
    return files;
}

QStringList GC_FileOpenWizard::inputFiles() const
{
    if (fileTypeCode == FILETYPE_COMPARISON)
        return QStringList() << fileName();
    if (fileTypeCode == FILETYPE_GENBANK_FASTA)
        return genbankPaths;
    return listedFiles();
}

QMap<QString, QString> GC_FileOpenWizard::fastaSequences() const
{
    QMap<QString, QString> sequences;
    for (auto it = fastaMap.cbegin(); it != fastaMap.cend(); ++it)
        sequences.insert(it.key(), it.value());
    return sequences;
}

QList<QPair<QString, QString>> GC_FileOpenWizard::pairs() const
{
    QList<QPair<QString, QString>> list;
    list.reserve(ui->listPairs->topLevelItemCount());
    for (int i = 0; i < ui->listPairs->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = ui->listPairs->topLevelItem(i);
        list.append(qMakePair(row->text(1), row->text(0)));
    }
    return list;
}

int GC_FileOpenWizard::selectedGenomeIndex() const
{
    const QList<QListWidgetItem *> selected = ui->listDefinition->selectedItems();
    if (selected.isEmpty())
        return 0;
    return genomeIndexMap.value(selected.first()->text(), 0);
}

void GC_FileOpenWizard::accept()
{
    // The result is the file-type code, not QDialog::Accepted.
    done(fileTypeCode);
}

int GC_FileOpenWizard::nextId() const
{
    switch (currentId()) {
    case PageType:
        return ui->radioGenbankFasta->isChecked() ? PageFiles : PageFile;
    case PageFile:
        return (ui->radioKestalCanvas->isChecked() || ui->radioExamples->isChecked()) ? PageFinish
                                                                                       : PageDefinition;
    case PageDefinition:
        return PageFinish;
    case PageFiles:
        return ui->listInputFiles->count() == 1 ? PageFinish : PagePairs;
    case PagePairs:
        return PageFinish;
    default:
        return -1;
    }
}

bool GC_FileOpenWizard::validateCurrentPage()
{
    switch (currentId()) {
    case PageType:
        if (ui->radioKestalCanvas->isChecked()) {
            ui->wizardPage2->setSubTitle(tr("Browse and choose the Kestal visualization canvas file to open."));
            ui->buttonDownload->hide();
            fileTypeCode = FILETYPE_CANVAS;
        } else if (ui->radioExamples->isChecked()) {
            examplesMode = true;
            ui->wizardPage2->setSubTitle(tr("Browse precomputed examples."));
            ui->buttonDownload->hide();
            fileTypeCode = FILETYPE_CANVAS;
        } else if (ui->radioGenbankFasta->isChecked()) {
            ui->buttonDownloadGenbank->show();
            ui->wizardPage4->setSubTitle(
                tr("Browse and choose the Fasta or Genbank files that will be included in your "
                   "comparison file. You can choose more than one file and they will be displayed "
                   "together. Also, you can donwload Genbank directly from Entrez by pressing the "
                   "Downlaod button."));
        }
        return true;
    case PageFile: {
        if (ui->lineInputFile->text().isEmpty()) {
            warn(tr("Error at selecting file"), tr("No file was chosen. Press \"Browse\" to choose one."));
            return false;
        }
        QString unreadable;
        const int probe = GC_FileUtils::filetype(ui->lineInputFile->text(), &unreadable);
        if (!unreadable.isEmpty()) {
            warn(tr("File cannot be read"), unreadable);
            return false;
        }
        if (probe == FILETYPE_NONE) {
            warn(tr("Error at selecting file"), tr("This file isn't a Kestal visualization canvas."));
            return false;
        }
        // A comparison database is opened as what it is: the canvas reader
        // would refuse it.
        fileTypeCode = probe == FILETYPE_COMPARISON ? FILETYPE_COMPARISON : FILETYPE_CANVAS;
        return true;
    }
    case PageFiles:
        return validateFilesPage();
    case PagePairs:
        if (ui->listPairs->topLevelItemCount() == 0) {
            warn(tr("Not pairs to compare"), tr("You should choose at least 1 pair to compare."));
            return false;
        }
        options.setTask(ui->comboBoxBlast->currentText());
        return true;
    default:
        return QWizard::validateCurrentPage();
    }
}

bool GC_FileOpenWizard::validateFilesPage()
{
    if (ui->listInputFiles->count() == 1) {
        fileTypeCode = FILETYPE_GENOME;
        const QString path = ui->listInputFiles->item(0)->text();
        // Checked again if the file has changed since it was added.
        const GC_SequenceFileReader &reader = readings.read(path);
        if (!reader.succeeded()) {
            warn(tr("Error at selecting file"),
                 tr("The file is not genbank nor fasta") + "\n\n" + reader.errorText());
            ui->listInputFiles->clear();
            return false;
        }
        ui->lineInputFile->setText(path);
        return true;
    }

    loadGenbanksFasta();
    fileTypeCode = FILETYPE_GENBANK_FASTA;
    // A file may have changed since it was added.
    if (!unreadableFiles.isEmpty()) {
        warn(tr("Invalid files chosen"),
             tr("Some files chosen aren't Genbank or Fasta files. Remove them from the list.") + "\n\n"
                 + unreadableFiles.join('\n'));
        return false;
    }
    if (ui->comboBoxQuery->count() < 1) {
        warn(tr("Not enough sequences"), tr("You must select a file"));
        return false;
    }
    if (refuseRepeatedNames())
        return false;
    ui->comboBoxTarget->setCurrentIndex(0);
    ui->comboBoxQuery->setCurrentIndex(1);
    return true;
}

bool GC_FileOpenWizard::refuseRepeatedNames()
{
    QStringList lines;
    for (auto it = nameSources.cbegin(); it != nameSources.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        QStringList files;
        for (const QString &path : it.value())
            files.append(QFileInfo(path).fileName());
        lines.append(tr("\"%1\" in %2").arg(it.key(), files.join(tr(", "))));
    }
    if (lines.isEmpty())
        return false;
    warn(tr("Repeated genome names"),
         tr("Every genome to compare needs a name of its own, but these names are repeated:\n\n%1\n\n"
            "Remove the files that repeat them from the list.")
             .arg(lines.join('\n')));
    return true;
}

void GC_FileOpenWizard::loadGenbanksFasta()
{
    genbankMap.clear();
    fastaMap.clear();
    genbankPaths.clear();
    genbankReadings.clear();
    nameSources.clear();
    unreadableFiles.clear();
    ui->comboBoxTarget->clear();
    ui->comboBoxQuery->clear();
    ui->listPairs->clear();

    const QStringList listed = listedFiles();
    readings.keepOnly(listed);
    for (const QString &path : listed) {
        // Decided as the builder decides; read again if the file has changed
        // since it was added.
        const GC_SequenceFileReader &reader = readings.read(path);
        if (!reader.succeeded()) {
            unreadableFiles.append(reader.errorText());
            continue;
        }
        if (reader.kind() == GC_FileUtils::GenbankFile) {
            const QString definition = genbankName(reader);
            if (definition.isEmpty()) {
                unreadableFiles.append(tr("%1 has no DEFINITION line: its genome has no name").arg(path));
                continue;
            }
            genbankMap.insert(definition, path);
            genbankPaths.append(path);
            genbankReadings.insert(path, reader.genbank());
            nameSources[definition].append(path);
            continue;
        }
        for (const auto &record : reader.fastaRecords()) {
            fastaMap.insert(record.first, record.second);
            nameSources[record.first].append(path);
        }
    }

    for (auto it = genbankMap.cbegin(); it != genbankMap.cend(); ++it) {
        ui->comboBoxTarget->addItem(it.key());
        ui->comboBoxQuery->addItem(it.key());
    }
    for (auto it = fastaMap.cbegin(); it != fastaMap.cend(); ++it) {
        ui->comboBoxTarget->addItem(it.key());
        ui->comboBoxQuery->addItem(it.key());
    }
}

void GC_FileOpenWizard::on_buttonAddPair_clicked()
{
    const QString target = ui->comboBoxTarget->currentText();
    const QString query = ui->comboBoxQuery->currentText();
    for (int i = 0; i < ui->listPairs->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = ui->listPairs->topLevelItem(i);
        const bool same = target == row->text(0) && query == row->text(1);
        const bool swapped = target == row->text(1) && query == row->text(0);
        if (same || swapped) {
            warn(tr("Error choosing sequence pair"), tr("This pair is already in the list."));
            return;
        }
    }
    auto *row = new QTreeWidgetItem(ui->listPairs);
    row->setText(0, target);
    row->setText(1, query);
}

void GC_FileOpenWizard::on_buttonRemovePair_clicked()
{
    qDeleteAll(ui->listPairs->selectedItems());
}

void GC_FileOpenWizard::on_buttonRemoveIntpuFiles_clicked()
{
    qDeleteAll(ui->listInputFiles->selectedItems());
}

void GC_FileOpenWizard::on_buttonAddInputFiles_clicked()
{
    QSettings settings;
    const QString start = settings.value(keyLastDirOpen, QDir::homePath()).toString();
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, tr("Open files"), start, sequenceFilter, nullptr, QFileDialog::DontUseNativeDialog);
    addInputPaths(chosen);
    if (!chosen.isEmpty())
        settings.setValue(keyLastDirOpen, chosen.first());
}

void GC_FileOpenWizard::addInputPaths(const QStringList &paths)
{
    if (!ui->radioGenbankFasta->isChecked())
        return;
    QSet<QString> listed;
    // Genome key -> the listed file it came from.
    QHash<QString, QString> listedGenomes;
    for (int i = 0; i < ui->listInputFiles->count(); ++i) {
        const QListWidgetItem *row = ui->listInputFiles->item(i);
        listed.insert(row->text());
        for (const QString &key : row->data(GenomeKeysRole).toStringList())
            listedGenomes.insert(key, row->text());
    }

    QStringList invalid;
    QStringList repeated;
    for (const QString &path : paths) {
        if (listed.contains(path))
            continue;
        // Checked now rather than failing after Finish; the reading is kept
        // for Next and for the comparison.
        const GC_SequenceFileReader &reader = readings.read(path);
        if (!reader.succeeded()) {
            invalid.append(reader.errorText());
            continue;
        }
        // The same record fetched twice comes under a second file name: one
        // genome is listed once. A Genbank file is a repeat when its
        // accession and version or its name is listed; a FASTA file when all
        // its names are.
        const QStringList keys = genomeKeys(reader);
        QString sameAs;
        if (reader.kind() == GC_FileUtils::GenbankFile) {
            for (const QString &key : keys) {
                if (listedGenomes.contains(key)) {
                    sameAs = listedGenomes.value(key);
                    break;
                }
            }
        } else if (!keys.isEmpty()
                   && std::all_of(keys.cbegin(), keys.cend(),
                                  [&](const QString &key) { return listedGenomes.contains(key); })) {
            sameAs = listedGenomes.value(keys.first());
        }
        if (!sameAs.isEmpty()) {
            repeated.append(tr("%1: the same genome as %2")
                                .arg(QFileInfo(path).fileName(), QFileInfo(sameAs).fileName()));
            continue;
        }
        auto *row = new QListWidgetItem(path, ui->listInputFiles);
        row->setData(GenomeKeysRole, keys);
        listed.insert(path);
        for (const QString &key : keys)
            listedGenomes.insert(key, path);
        const QStringList leftOut = reader.warnings();
        if (!leftOut.isEmpty())
            warn(tr("Part of a file left out"),
                 tr("The file is listed, but not all of it is read:") + "\n\n" + leftOut.join('\n'));
    }
    if (!invalid.isEmpty())
        warn(tr("Invalid files chosen"),
             tr("Some files chosen aren't Genbank or Fasta files. They aren't be added to the list.") + "\n\n"
                 + invalid.join('\n'));
    if (!repeated.isEmpty())
        warn(tr("Genome already listed"),
             tr("These files hold a genome that is already in the list, so they were not added:") + "\n\n"
                 + repeated.join('\n'));
}

QStringList GC_FileOpenWizard::downloadGenbankFiles()
{
    GC_DownloadGenbankEntrezDialog dialog(this);
    dialog.setupBrowseTab();
    dialog.exec();
    return dialog.downloadedFiles();
}

void GC_FileOpenWizard::on_buttonDownloadGenbank_clicked()
{
    addInputPaths(downloadGenbankFiles());
}

void GC_FileOpenWizard::on_buttonDownload_clicked()
{
    const QStringList downloaded = downloadGenbankFiles();
    if (!downloaded.isEmpty() && !downloaded.first().isEmpty())
        ui->lineInputFile->setText(downloaded.first());
}

void GC_FileOpenWizard::on_buttonBrowseInputFile_clicked()
{
    QSettings settings;
    const QString start = examplesMode
                              ? QCoreApplication::applicationDirPath() + "/examples"
                              : settings.value(keyLastDirOpen, QDir::homePath()).toString();
    QString filter;
    if (ui->radioKestalCanvas->isChecked() || ui->radioExamples->isChecked())
        filter = "Kestal files (*.kcv *.ktc)" + anyFile;
    else if (ui->radioGenbankFasta->isChecked())
        filter = "Genbank or Fasta files " + sequenceExtensions + anyFile;
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Choose the input file"), start, filter,
                                                        nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return;
    ui->lineInputFile->setText(chosen);
    settings.setValue(keyLastDirOpen, chosen);
}

void GC_FileOpenWizard::fitSubTitle()
{
    // QWizard fixes its header at the height of two subtitle lines, but
    // these subtitles take three or four: let the header grow to show them.
    QWizardPage *page = currentPage();
    if (!page || page->subTitle().isEmpty())
        return;
    const QList<QLabel *> labels = findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() == page->subTitle() && !page->isAncestorOf(label) && label->parentWidget())
            label->parentWidget()->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void GC_FileOpenWizard::warn(const QString &title, const QString &text)
{
    QMessageBox::warning(this, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}
