#include "gc_rfamdialog.h"

#include "gc_genome.h"

#include "ui_gc_rfamdialog.h"

#include <QPushButton>

GC_RfamDialog::GC_RfamDialog(QWidget *parent)
    : GC_HomologyGenomeDialog(parent)
    , ui(new Ui::GC_RfamDialog)
{
    ui->setupUi(this);
    attachWidgets(ui->genomesCombo, ui->statusLabel, ui->actionsCombo,
                  ui->buttonBox->button(QDialogButtonBox::Ok));
}

GC_RfamDialog::~GC_RfamDialog()
{
    delete ui;
}

int GC_RfamDialog::heldCount(const GC_Genome &genome) const
{
    return genome.countRfamMatchings();
}

int GC_RfamDialog::storedCount(const GC_Genome &genome) const
{
    return genome.getDatabaseRfamMatchingsCount();
}

QString GC_RfamDialog::countText() const
{
    return tr("%1 putative RFAM homologies present");
}
