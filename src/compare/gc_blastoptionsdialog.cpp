#include "gc_blastoptionsdialog.h"

#include "ui_gc_blastoptionsdialog.h"

GC_BlastOptionsDialog::GC_BlastOptionsDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::GC_BlastOptionsDialog)
{
    ui->setupUi(this);
    setOptions(GC_BlastOptions());
}

GC_BlastOptionsDialog::~GC_BlastOptionsDialog()
{
    delete ui;
}

void GC_BlastOptionsDialog::setOptions(const GC_BlastOptions &options)
{
    ui->spinboxWordSize->setValue(options.wordSize());
    ui->spinboxGapOpen->setValue(options.gapOpen());
    ui->spinboxGapExtend->setValue(options.gapExtend());
    ui->spinboxPenalty->setValue(options.penalty());
    ui->spinboxReward->setValue(options.reward());
}

GC_BlastOptions GC_BlastOptionsDialog::options() const
{
    GC_BlastOptions result;
    result.setTask(ui->comboBoxAlgorithm->currentText());
    result.setWordSize(ui->spinboxWordSize->value());
    result.setGapOpen(ui->spinboxGapOpen->value());
    result.setGapExtend(ui->spinboxGapExtend->value());
    result.setPenalty(ui->spinboxPenalty->value());
    result.setReward(ui->spinboxReward->value());
    return result;
}
