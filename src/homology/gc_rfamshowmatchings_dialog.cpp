#include "gc_rfamshowmatchings_dialog.h"

#include "gc_genome.h"
#include "gc_rfamhomologies.h"

#include "ui_gc_rfamshowmatchings_dialog.h"

namespace {

const GC_HomologyShowDialog::Texts rfamTexts = {
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "<p>%1 RFAM homologies have been found</p><br>"),
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "<p><b>Do you want to load these RFAM homologies?</b></p>"),
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "Loading RFAM homologies from database"),
    GC_GenomeSource::Rfam,
};

} // namespace

GC_RfamShowMatchings_dialog::GC_RfamShowMatchings_dialog(QWidget *parent)
    : GC_HomologyShowDialog(rfamTexts, parent)
    , ui(new Ui::GC_RfamShowMatchings_dialog)
{
    ui->setupUi(this);
    attachWidgets(ui->textBrowser, ui->progressBar, ui->labelAdvance, ui->searchButton);
}

GC_RfamShowMatchings_dialog::~GC_RfamShowMatchings_dialog()
{
    delete ui;
}

int GC_RfamShowMatchings_dialog::storedCount(const GC_Genome &genome) const
{
    return genome.getDatabaseRfamMatchingsCount();
}

bool GC_RfamShowMatchings_dialog::addStoredHit(GC_Genome &genome, int start, int end, int referenceId, double evalue,
                         double bitscore)
{
    return genome.getRfamHomologies()->addRfamMatching(start, end, referenceId, evalue, bitscore);
}
