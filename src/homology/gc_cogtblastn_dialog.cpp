#include "gc_cogtblastn_dialog.h"

#include "gc_log.h"
#include "ui_gc_cogtblastn_dialog.h"

#include "gc_coghomologies.h"
#include "gc_genome.h"
#include "gc_homologyhitline.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"

#include <QFileInfo>
#include <QIcon>
#include <QProgressDialog>

#include <cstdlib>

namespace {

const char *const GenomeFasta = "seq.fas";
const char *const GenomeDatabase = "seq";

const QString proteinQuery =
    QStringLiteral("SELECT code_cog, sequence_length from cog_proteins where id=?");
const QString categoryQuery =
    QStringLiteral("SELECT code_group from cog_orthologies_groups where code_cog=?");
const QString classQuery = QStringLiteral("SELECT class_id from cog_groups where code=?");

} // namespace

GC_COGTblastn_dialog::GC_COGTblastn_dialog(QWidget *parent)
    : GC_HomologySearchDialog("GC_COGTblastn_dialog", parent)
    , ui(new Ui::GC_COGTblastn_dialog)
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon_cog_search.svg")));
    setForm({ui->textBrowser, ui->labelAdvance, ui->progressBar, ui->searchButton, ui->evalueSpin});
    const QStringList genomeDatabase = GC_BlastWorkFolder::databaseFileNames(QStringLiteral("seq"), 'n');
    setWorkFiles(QStringList{GenomeFasta, QStringLiteral("blastresult.txt")} + genomeDatabase,
                 QStringList{GenomeFasta, QStringLiteral("blastresult.txt")} + genomeDatabase);

    // Each failing check replaces the message: the last one shows.
    m_queryPath = GC_ReferenceDatabases::filePath(QStringLiteral("cogprots80.fas"));
    requireFile(m_queryPath);
    requireReference(GC_ReferenceDatabases::Cog);
    m_makeblastdbPath = requireProgram("makeblastdbpath", "makeblastdb");
    m_tblastnPath = requireProgram("tblastnpath", "tblastn");
}

GC_COGTblastn_dialog::~GC_COGTblastn_dialog()
{
    delete ui;
}

bool GC_COGTblastn_dialog::applyPendingHits()
{
    // The earlier entries go only now, when the new ones take their place.
    QProgressDialog removing(tr("Removing current entries..."), tr("Abort"), 0, 1, this);
    removing.setWindowModality(Qt::WindowModal);
    removing.setMinimumDuration(0);
    removing.setValue(0);
    removing.show();
    const bool applied = GC_HomologySearchDialog::applyPendingHits();
    removing.setValue(1);
    return applied;
}

int GC_COGTblastn_dialog::replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows)
{
    GC_CogHomologies *bar = genome()->getCogHomologies();
    bar->clearMatchings();
    int added = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const GC_HomologyRowWriter::Row &row = rows.at(i);
        const Lookup &lookup = m_lookups.at(i);
        if (bar->addCogMatching(row.start, row.end, row.referenceId, lookup.cogCode, lookup.groupCode,
                                lookup.classId, row.evalue, row.bitscore))
            ++added;
    }
    return added;
}

void GC_COGTblastn_dialog::blaststep1()
{
    if (!beginRun() || !writeGenomeFasta(GenomeFasta))
        return;
    const bool ok = runMakeblastdb(m_makeblastdbPath, {"-in", GenomeFasta, "-dbtype", "nucl",
                                                       "-hash_index", "-out", GenomeDatabase},
                                   "GC_COGTblastn::blaststep1 Command : ");
    blaststep2(ok);
}

void GC_COGTblastn_dialog::blaststep2(bool ok)
{
    if (!ok)
        return;
    if (!QFileInfo(m_queryPath).isFile()) {
        fail(missingFileMessage(m_queryPath));
        return;
    }
    startBlast(m_tblastnPath, {"-db", GenomeDatabase, "-query", m_queryPath, "-evalue", evalueText(),
                               "-outfmt", "6 qseqid length sstart send evalue bitscore"},
               "GC_COGTblastn::blaststep2-Blast command: ");
}

void GC_COGTblastn_dialog::showSearchProgress(int referenceId)
{
    ui->progressBar->setRange(0, m_progressMaximum);
    ui->progressBar->setValue(qBound(0, referenceId, m_progressMaximum));
    ui->labelAdvance->setText(QStringLiteral("%1/%2").arg(referenceId).arg(m_progressMaximum));
}

void GC_COGTblastn_dialog::blastFinished(bool ok)
{
    if (!ok) {
        fail(tr("<b>Error:</b> the process has failed (blastFinished())") + runFailureDetails());
        return;
    }
    finishSearch({tr("No COG homologies were found"), tr("The analysis found %1 COG homologies."),
                  tr("Do you want to save all those homologies in the genome?"),
                  tr("Creating annotations with COG homologies")});
}

bool GC_COGTblastn_dialog::addHit(const GC_HomologyHitLine &hit, int low, int high)
{
    const QVariantList protein =
        GC_ReferenceLookup::firstRow(GC_ReferenceDatabases::Cog, proteinQuery, {hit.referenceId()});
    if (protein.size() < 2) {
        qCDebug(lcKestal).noquote() << "Error: " << proteinQuery << hit.referenceId();
        return false;
    }
    const QString cogCode = protein.at(0).toString();
    const qint64 proteinLength = protein.at(1).toLongLong();
    // A hit spanning six times its protein's length in amino acids (twice
    // its coding length) or more is no true hit of it.
    if (std::llabs(qint64(high) - low) >= 6 * proteinLength) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error: cogmatch too large: %1-%2").arg(low).arg(high);
        return false;
    }
    const QString groupCode =
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Cog, categoryQuery, {cogCode}).toString();
    const int classId =
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Cog, classQuery, {groupCode}).toInt();
    m_lookups.append({cogCode, groupCode, classId});
    return true;
}
