#include "gc_cogdialog.h"

#include "gc_genome.h"

#include "ui_gc_cogdialog.h"

#include <QPushButton>

GC_CogDialog::GC_CogDialog(QWidget *parent)
    : GC_HomologyGenomeDialog(parent)
    , ui(new Ui::GC_CogDialog)
{
    ui->setupUi(this);
    attachWidgets(ui->genomesCombo, ui->statusLabel, ui->actionsCombo,
                  ui->buttonBox->button(QDialogButtonBox::Ok));
}

GC_CogDialog::~GC_CogDialog()
{
    delete ui;
}

int GC_CogDialog::heldCount(const GC_Genome &genome) const
{
    return genome.countCogMatchings();
}

int GC_CogDialog::storedCount(const GC_Genome &genome) const
{
    return genome.getDatabaseCogMatchingsCount();
}

QString GC_CogDialog::countText() const
{
    return tr("%1 putative COG homologies present");
}
