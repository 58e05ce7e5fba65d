#include "gc_coverageoptionsdialog.h"
#include "ui_gc_coverageoptionsdialog.h"

#include "gc_genome.h"

#include <QCloseEvent>
#include <QListWidgetItem>
#include <QSettings>

GC_CoverageOptionsDialog::GC_CoverageOptionsDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::GC_CoverageOptionsDialog)
{
    ui->setupUi(this);
    // Not named after the button, so the form's auto-connection leaves it be.
    connect(ui->buttonaddall, &QPushButton::clicked, this,
            &GC_CoverageOptionsDialog::includeAllGenomes);

    const QSettings settings;
    if (settings.contains(geometryKey()))
        restoreGeometry(settings.value(geometryKey()).toByteArray());
}

GC_CoverageOptionsDialog::~GC_CoverageOptionsDialog()
{
    delete ui;
}

void GC_CoverageOptionsDialog::setScore(double score)
{
    ui->doubleSpinBox->setValue(score);
}

void GC_CoverageOptionsDialog::setMode(int mode)
{
    ui->comboBox->setCurrentIndex(mode);
}

void GC_CoverageOptionsDialog::setExcludedGenomes(const QSet<int> &excluded)
{
    if (!genome)
        return;
    const QList<QListWidgetItem *> items = genome->getMatchedGenomes();
    for (QListWidgetItem *item : items) {
        if (excluded.contains(item->data(Qt::UserRole).toInt()))
            ui->excludedgenomeslist->addItem(item);
        else
            ui->includedgenomeslist->addItem(item);
    }
}

double GC_CoverageOptionsDialog::getScore() const
{
    return ui->doubleSpinBox->value();
}

int GC_CoverageOptionsDialog::getMode() const
{
    return ui->comboBox->currentIndex();
}

QSet<int> GC_CoverageOptionsDialog::getExcludedGenomes() const
{
    QSet<int> excluded;
    for (int row = 0; row < ui->excludedgenomeslist->count(); ++row)
        excluded.insert(ui->excludedgenomeslist->item(row)->data(Qt::UserRole).toInt());
    return excluded;
}

void GC_CoverageOptionsDialog::closeEvent(QCloseEvent *event)
{
    QSettings settings;
    settings.setValue(geometryKey(), saveGeometry());
    QDialog::closeEvent(event);
}

void GC_CoverageOptionsDialog::moveSelectedRows(QListWidget *from, QListWidget *to)
{
    const QList<QListWidgetItem *> selected = from->selectedItems();
    for (QListWidgetItem *item : selected) {
        from->takeItem(from->row(item));
        to->addItem(item);
        item->setSelected(false);
    }
}

void GC_CoverageOptionsDialog::on_buttonadd_clicked()
{
    moveSelectedRows(ui->excludedgenomeslist, ui->includedgenomeslist);
}

void GC_CoverageOptionsDialog::on_buttonremove_clicked()
{
    moveSelectedRows(ui->includedgenomeslist, ui->excludedgenomeslist);
}

void GC_CoverageOptionsDialog::on_pushButton_2_clicked()
{
    reject();
}

void GC_CoverageOptionsDialog::on_pushButton_clicked()
{
    accept();
}

void GC_CoverageOptionsDialog::includeAllGenomes()
{
    while (ui->excludedgenomeslist->count() > 0)
        ui->includedgenomeslist->addItem(ui->excludedgenomeslist->takeItem(0));
}
