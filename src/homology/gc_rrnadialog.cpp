#include "gc_rrnadialog.h"

#include "gc_genome.h"

#include "ui_gc_rrnadialog.h"

#include <QPushButton>

GC_RRNADialog::GC_RRNADialog(QWidget *parent)
    : GC_HomologyGenomeDialog(parent)
    , ui(new Ui::GC_RRNADialog)
{
    ui->setupUi(this);
    attachWidgets(ui->genomesCombo, ui->statusLabel, ui->actionsCombo,
                  ui->buttonBox->button(QDialogButtonBox::Ok));
}

GC_RRNADialog::~GC_RRNADialog()
{
    delete ui;
}

int GC_RRNADialog::heldCount(const GC_Genome &genome) const
{
    return genome.countrRNAMatchings();
}

int GC_RRNADialog::storedCount(const GC_Genome &genome) const
{
    return genome.getDatabaserRNAMatchingsCount();
}

QString GC_RRNADialog::countText() const
{
    return tr("%1 putative rRNA homologies present");
}
