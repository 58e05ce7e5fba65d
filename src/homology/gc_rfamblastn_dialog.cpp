#include "gc_rfamblastn_dialog.h"

#include "gc_log.h"
#include "ui_gc_rfamblastn_dialog.h"

#include "gc_genome.h"
#include "gc_homologyhitline.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rfamhomologies.h"

#include <QFileInfo>
#include <QIcon>

#include <cstdlib>

namespace {

const char *const GenomeFasta = "seq.fas";
const char *const GenomeDatabase = "seq";

const QString sequenceQuery = QStringLiteral("SELECT length, code_rfam from rfam_seqs where id=?");

} // namespace

GC_RFAMBlastn_dialog::GC_RFAMBlastn_dialog(QWidget *parent)
    : GC_HomologySearchDialog("GC_RFAMBlastn_dialog", parent)
    , ui(new Ui::GC_RFAMBlastn_dialog)
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon_rfam_search.svg")));
    setForm({ui->textBrowser, ui->labelAdvance, ui->progressBar, ui->searchButton, ui->evalueSpin});
    // The result stays until the next search empties it.
    const QStringList genomeDatabase = GC_BlastWorkFolder::databaseFileNames(QStringLiteral("seq"), 'n');
    setWorkFiles(QStringList{GenomeFasta, QStringLiteral("blastresult.txt")} + genomeDatabase,
                 QStringList{GenomeFasta} + genomeDatabase);
    setTask(QStringLiteral("megablast"));

    // Each failing check replaces the message: the last one shows.
    m_queryPath = GC_ReferenceDatabases::filePath(QStringLiteral("rfams.fas"));
    requireFile(m_queryPath);
    requireReference(GC_ReferenceDatabases::Rfam);
    m_makeblastdbPath = requireProgram("makeblastdbpath", "makeblastdb");
    m_blastnPath = requireProgram("blastnpath", "blastn");

    m_progressMaximum = GC_ReferenceLookup::firstValue(
        GC_ReferenceDatabases::Rfam, QStringLiteral("SELECT max(id) from rfam_seqs"), {}).toInt();
    qCDebug(lcKestal) << "Total rfam seqs: " << m_progressMaximum;
}

GC_RFAMBlastn_dialog::~GC_RFAMBlastn_dialog()
{
    delete ui;
}

void GC_RFAMBlastn_dialog::setTask(const QString &task)
{
    m_task = task;
    const int index = ui->blastCombobox->findText(task);
    if (index >= 0 && ui->blastCombobox->currentIndex() != index)
        ui->blastCombobox->setCurrentIndex(index);
    if (task == QLatin1String("blastn"))
        ui->blastLabel->setText(tr("Somewhat similar sequences"));
    else if (task == QLatin1String("megablast"))
        ui->blastLabel->setText(tr("Highly similar sequences"));
    else if (task == QLatin1String("dc-megablast"))
        ui->blastLabel->setText(tr("More dissimilar sequences"));
}

void GC_RFAMBlastn_dialog::on_blastCombobox_textActivated(const QString &text)
{
    setTask(text);
}

int GC_RFAMBlastn_dialog::replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows)
{
    GC_RfamHomologies *bar = genome()->getRfamHomologies();
    bar->clearMatchings();
    int added = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const GC_HomologyRowWriter::Row &row = rows.at(i);
        if (bar->addRfamMatching(row.start, row.end, row.referenceId, m_rfamCodes.at(i), row.evalue,
                                 row.bitscore))
            ++added;
    }
    return added;
}

void GC_RFAMBlastn_dialog::blaststep1()
{
    if (!beginRun() || !writeGenomeFasta(GenomeFasta))
        return;
    const bool ok = runMakeblastdb(m_makeblastdbPath, {"-in", GenomeFasta, "-dbtype", "nucl",
                                                       "-hash_index", "-out", GenomeDatabase},
                                   "GC_RFAMBlastn::blaststep1 Command : ");
    blaststep2(ok);
}

void GC_RFAMBlastn_dialog::blaststep2(bool ok)
{
    if (!ok)
        return;
    if (!QFileInfo(m_queryPath).isFile()) {
        fail(missingFileMessage(m_queryPath));
        return;
    }
    startBlast(m_blastnPath, {"-db", GenomeDatabase, "-query", m_queryPath, "-task", m_task,
                              "-evalue", evalueText(), "-outfmt",
                              "6 qseqid length sstart send evalue bitscore"},
               "GC_RFAMBlastn::blaststep2: commmand: ");
}

void GC_RFAMBlastn_dialog::showSearchProgress(int referenceId)
{
    if (m_progressMaximum > 0) {
        ui->progressBar->setRange(0, m_progressMaximum);
        ui->progressBar->setValue(qBound(0, referenceId, m_progressMaximum));
    }
    ui->labelAdvance->setText(QStringLiteral("%1/%2").arg(referenceId).arg(m_progressMaximum));
}

void GC_RFAMBlastn_dialog::blastFinished(bool ok)
{
    if (!ok) {
        fail(tr("<b>Error:</b> the process has failed (blastFinished())") + runFailureDetails());
        return;
    }
    finishSearch({tr("No RFAM homologies were found"),
                  tr("The analysis found %1 RFAM candidate homologies.\n"
                     "(The final number may decrease because of possible overlap)"),
                  tr("Do you want to save them in the genome?"),
                  tr("Creating RFAM homologies graphic elements")});
}

bool GC_RFAMBlastn_dialog::addHit(const GC_HomologyHitLine &hit, int low, int high)
{
    const QVariantList sequence =
        GC_ReferenceLookup::firstRow(GC_ReferenceDatabases::Rfam, sequenceQuery, {hit.referenceId()});
    if (sequence.size() < 2) {
        qCDebug(lcKestal).noquote() << "Error obtaining RFAM sequence length: " << sequenceQuery
                           << hit.referenceId();
        return false;
    }
    const qint64 length = sequence.at(0).toLongLong();
    if (std::llabs(qint64(high) - low) >= 2 * length) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error: rfammatch too large: %1-%2 (seqlen: %3")
                                  .arg(low)
                                  .arg(high)
                                  .arg(length);
        return false;
    }
    m_rfamCodes.append(sequence.at(1).toString());
    return true;
}
