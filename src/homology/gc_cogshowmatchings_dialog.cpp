#include "gc_cogshowmatchings_dialog.h"

#include "gc_genome.h"
#include "gc_coghomologies.h"

#include "ui_gc_cogshowmatchings_dialog.h"

namespace {

const GC_HomologyShowDialog::Texts cogTexts = {
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "<p>%1 COG homologies have been found</p><br>"),
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "<p><b>Do you want to load these COG homologies?</b></p>"),
    QT_TRANSLATE_NOOP("GC_HomologyShowDialog", "Loading COG homologies from database"),
    GC_GenomeSource::Cog,
};

} // namespace

GC_CogShowMatchings_dialog::GC_CogShowMatchings_dialog(QWidget *parent)
    : GC_HomologyShowDialog(cogTexts, parent)
    , ui(new Ui::GC_CogShowMatchings_dialog)
{
    ui->setupUi(this);
    attachWidgets(ui->textBrowser, ui->progressBar, ui->labelAdvance, ui->searchButton);
}

GC_CogShowMatchings_dialog::~GC_CogShowMatchings_dialog()
{
    delete ui;
}

int GC_CogShowMatchings_dialog::storedCount(const GC_Genome &genome) const
{
    return genome.getDatabaseCogMatchingsCount();
}

bool GC_CogShowMatchings_dialog::addStoredHit(GC_Genome &genome, int start, int end, int referenceId, double evalue,
                         double bitscore)
{
    return genome.getCogHomologies()->addCogMatching(start, end, referenceId, evalue, bitscore);
}
