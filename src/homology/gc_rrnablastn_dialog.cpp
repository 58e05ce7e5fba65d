#include "gc_rrnablastn_dialog.h"

#include "gc_log.h"
#include "ui_gc_rrnablastn_dialog.h"

#include "gc_genome.h"
#include "gc_homologyhitline.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rrnahomologies.h"

#include <QFileInfo>
#include <QIcon>

#include <cstdlib>

namespace {

const char *const GenomeFasta = "seq.fas";

const QString sequenceQuery = QStringLiteral("SELECT length, id_group from rrna_seqs where id=?");

} // namespace

GC_RRNABlastn_dialog::GC_RRNABlastn_dialog(QWidget *parent)
    : GC_HomologySearchDialog("GC_RRNABlastn_dialog", parent)
    , ui(new Ui::GC_RRNABlastn_dialog)
    , m_lsuDatabase(QStringLiteral("LSU_106_silva_80"))
    , m_ssuDatabase(QStringLiteral("SSU_106_silva_80"))
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/icon_rrna_search.svg")));
    setForm({ui->textBrowser, ui->labelAdvance, ui->progressBar, ui->searchButton, ui->evalueSpin});
    // The database copies stay for later searches.
    setWorkFiles({GenomeFasta, QStringLiteral("blastresult.txt")},
                 {GenomeFasta, QStringLiteral("blastresult.txt")});

    // Each failing check replaces the message: the last one shows.
    prepareDatabase(m_lsuDatabase);
    prepareDatabase(m_ssuDatabase);
    requireReference(GC_ReferenceDatabases::Rrna);
    m_blastnPath = requireProgram("blastnpath", "blastn");
}

GC_RRNABlastn_dialog::~GC_RRNABlastn_dialog()
{
    delete ui;
}

QStringList GC_RRNABlastn_dialog::databaseExtensions()
{
    return {".nhd", ".nhi", ".nhr", ".nin", ".nnd", ".nni", ".nsq"};
}

bool GC_RRNABlastn_dialog::prepareDatabase(const QString &name)
{
    const QString source = GC_ReferenceDatabases::filePath(name);
    if (!QFileInfo(source + QStringLiteral(".nhd")).isFile()) {
        makeUnavailable(missingFileMessage(source));
        return false;
    }
    QString reason;
    if (!workFolder().ensure(&reason) || !workFolder().copyDatabase(source, databaseExtensions(), &reason)) {
        makeUnavailable(tr("<b>Error:</b> %1").arg(reason.toHtmlEscaped()));
        return false;
    }
    return true;
}

int GC_RRNABlastn_dialog::replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows)
{
    GC_rRNAHomologies *bar = genome()->getrRNAHomologies();
    bar->clearMatchings();
    int added = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const GC_HomologyRowWriter::Row &row = rows.at(i);
        if (bar->addrRNAMatching(row.start, row.end, row.referenceId, m_groupIds.at(i), row.evalue,
                                 row.bitscore))
            ++added;
    }
    return added;
}

void GC_RRNABlastn_dialog::startRun(const QString &database, const char *logText)
{
    startBlast(m_blastnPath, {"-db", database, "-query", GenomeFasta, "-task", "dc-megablast",
                              "-template_type", "optimal", "-template_length", "21",
                              "-max_target_seqs", "10", "-evalue", evalueText(), "-outfmt",
                              "6 sgi length qstart qend evalue bitscore"},
               logText);
}

void GC_RRNABlastn_dialog::blaststep1()
{
    if (!beginRun() || !writeGenomeFasta(GenomeFasta))
        return;
    m_secondRun = false;
    startRun(m_lsuDatabase, "GC_RRNABlastn::blaststep1 Command : ");
}

void GC_RRNABlastn_dialog::blastRunEnded(bool ok)
{
    if (m_secondRun)
        blastFinished(ok);
    else
        blaststep2(ok);
}

void GC_RRNABlastn_dialog::blaststep2(bool ok)
{
    if (!ok) {
        fail(tr("<p><b>Error:</b> the process has failed (blaststep2)</p>") + runFailureDetails());
        return;
    }
    // The result file stays open: this run's output follows the first one's.
    m_secondRun = true;
    startRun(m_ssuDatabase, "GC_RRNABlastn::blaststep2-Blast command: ");
}

void GC_RRNABlastn_dialog::blastFinished(bool ok)
{
    if (!ok) {
        fail(tr("<b>Error:</b> the process has failed (blastFinished())") + runFailureDetails());
        return;
    }
    finishSearch({tr("No rRNA homologies were found"),
                  tr("The analysis found a total of %1 rRNA homologies."),
                  tr("Do you want to save them in the genome?"),
                  tr("Creating rRNA homologies graphic elements")});
}

bool GC_RRNABlastn_dialog::addHit(const GC_HomologyHitLine &hit, int low, int high)
{
    const QVariantList sequence =
        GC_ReferenceLookup::firstRow(GC_ReferenceDatabases::Rrna, sequenceQuery, {hit.referenceId()});
    if (sequence.size() < 2) {
        qCDebug(lcKestal).noquote() << "Error obtaining rRNA sequence length" << hit.referenceId();
        return false;
    }
    const qint64 length = sequence.at(0).toLongLong();
    if (std::llabs(qint64(high) - low) >= 2 * length) {
        qCDebug(lcKestal).noquote() << QStringLiteral("Error: rrnamatch too large: %1-%2 (seqlen: %3")
                                  .arg(low)
                                  .arg(high)
                                  .arg(length);
        return false;
    }
    m_groupIds.append(sequence.at(1).toInt());
    return true;
}
