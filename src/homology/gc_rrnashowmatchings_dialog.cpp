#include "gc_rrnashowmatchings_dialog.h"

#include "gc_genome.h"
#include "gc_rrnahomologies.h"

#include "ui_gc_rrnashowmatchings_dialog.h"

namespace {

const GC_HomologyShowDialog::Texts rrnaTexts = {
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "<p>%1 rRNA homologies have been found</p><br>"),
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "<p><b>Do you want to load these RRNA homologies?</b></p>"),
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "Loading rRNA homologies from database"),
    GC_GenomeSource::Rrna,
};

} // namespace

GC_rRNAShowMatchings_dialog::GC_rRNAShowMatchings_dialog(QWidget *parent)
    : GC_HomologyShowDialog(rrnaTexts, parent)
    , ui(new Ui::GC_rRNAShowMatchings_dialog)
{
    ui->setupUi(this);
    attachWidgets(ui->textBrowser, ui->progressBar, ui->labelAdvance, ui->searchButton);
}

GC_rRNAShowMatchings_dialog::~GC_rRNAShowMatchings_dialog()
{
    delete ui;
}

int GC_rRNAShowMatchings_dialog::storedCount(const GC_Genome &genome) const
{
    return genome.getDatabaserRNAMatchingsCount();
}

bool GC_rRNAShowMatchings_dialog::addStoredHit(GC_Genome &genome, int start, int end, int referenceId, double evalue,
                         double bitscore)
{
    return genome.getrRNAHomologies()->addrRNAMatching(start, end, referenceId, evalue, bitscore);
}
