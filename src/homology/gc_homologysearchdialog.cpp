#include "gc_homologysearchdialog.h"

#include "gc_blastrunner.h"
#include "gc_blasttoolpath.h"
#include "gc_genome.h"
#include "gc_homologycoverage.h"
#include "gc_homologyhitline.h"
#include "gc_log.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTextBrowser>

namespace {

const char *const ResultFileName = "blastresult.txt";

// Progress while the hits are added is shown every so many lines: a label
// update per line would cost more than the hit it reports.
const int AdvanceEvery = 100;

} // namespace

GC_HomologySearchDialog::GC_HomologySearchDialog(const char *className, QWidget *parent)
    : QDialog(parent)
    , m_className(className)
{
    QString reason;
    if (!m_workFolder.ensure(&reason))
        qCDebug(lcKestal).noquote() << m_className << ":" << reason;
    qCDebug(lcKestal).noquote() << m_className << ": work folder" << m_workFolder.path();

    m_runner = new GC_BlastRunner(this);
    // Output goes to the result file as it comes; nothing is kept in memory.
    m_runner->setKeepOutput(false);
    connect(m_runner, &GC_BlastRunner::outputRead, this, &GC_HomologySearchDialog::readStdout);
    connect(m_runner, &GC_BlastRunner::finished, this, &GC_HomologySearchDialog::runnerFinished);
}

GC_HomologySearchDialog::~GC_HomologySearchDialog()
{
    // Stop BLAST before its files are removed.
    delete m_runner;
    m_runner = nullptr;
    m_result.close();
    m_workFolder.removeFiles(m_filesOnDestruction);
}

QString GC_HomologySearchDialog::resultPath() const
{
    return m_workFolder.filePath(ResultFileName);
}

void GC_HomologySearchDialog::setForm(const Form &form)
{
    m_form = form;
}

void GC_HomologySearchDialog::setGenome(GC_Genome *genome)
{
    m_genome = genome;
    qCDebug(lcKestal).noquote() << QStringLiteral("%1::setGenome() : GenomeID: %2")
                              .arg(QLatin1String(m_className))
                              .arg(genome ? genome->getId() : -1);
}

void GC_HomologySearchDialog::setWorkFiles(const QStringList &beforeRun,
                                           const QStringList &onDestruction)
{
    m_filesBeforeRun = beforeRun;
    m_filesOnDestruction = onDestruction;
}

// ---------------------------------------------------------------------------
// Construction checks

QString GC_HomologySearchDialog::missingFileMessage(const QString &path)
{
    return tr("<b>Error:</b> the file: <br> %1 <br>does not exists.").arg(path.toHtmlEscaped());
}

void GC_HomologySearchDialog::makeUnavailable(const QString &html)
{
    m_available = false;
    m_form.log->setHtml(html);
    m_form.search->setEnabled(false);
    m_form.progress->setValue(0);
    m_form.progress->setEnabled(false);
}

bool GC_HomologySearchDialog::requireFile(const QString &path)
{
    if (QFileInfo(path).isFile())
        return true;
    makeUnavailable(missingFileMessage(path));
    return false;
}

QString GC_HomologySearchDialog::requireProgram(const char *settingsKey, const char *programName)
{
    QString reason;
    const QString program = GC_BlastToolPath::resolve(settingsKey, programName, &reason);
    if (!program.isEmpty())
        return program;
    const QString configured = QSettings().value(settingsKey, programName).toString();
    makeUnavailable(QFileInfo::exists(configured) ? tr("<b>Error:</b> %1").arg(reason.toHtmlEscaped())
                                                  : missingFileMessage(configured));
    return QString();
}

bool GC_HomologySearchDialog::requireReference(int collection)
{
    const auto which = GC_ReferenceDatabases::Collection(collection);
    if (GC_ReferenceDatabases::isOpen(which))
        return true;
    const QString path = GC_ReferenceDatabases::filePath(GC_ReferenceDatabases::fileName(which));
    // Why it did not open, in the words every reader of a file uses.
    const QString why = GC_ReferenceDatabases::lastErrorText(which);
    makeUnavailable(QFileInfo(path).isFile()
                        ? tr("<b>Error:</b> the reference database %1 could not be opened%2.")
                              .arg(path.toHtmlEscaped(),
                                   why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why.toHtmlEscaped()))
                        : missingFileMessage(path));
    return false;
}

// ---------------------------------------------------------------------------
// Buttons

void GC_HomologySearchDialog::on_cancelButton_clicked()
{
    reject();
}

void GC_HomologySearchDialog::reject()
{
    QDialog::reject();
    // The runner answers with finished(false), which the ended run ignores.
    m_running = false;
    if (m_runner)
        m_runner->kill();
    m_result.close();
}

void GC_HomologySearchDialog::on_searchButton_clicked()
{
    if (m_running || !m_available)
        return;
    m_form.search->setEnabled(false);
    if (!m_genome) {
        fail(tr("<p><b>Error:</b> there is no genome to search</p>"));
        return;
    }
    // The genome's earlier hits stay until this search's hits replace them.
    m_form.progress->setRange(0, 0);
    blaststep1();
}

// ---------------------------------------------------------------------------
// The run

bool GC_HomologySearchDialog::beginRun()
{
    QString reason;
    if (!m_workFolder.ensure(&reason)) {
        fail(tr("<p><b>Error:</b> Unable to write to %1: %2</p>")
                 .arg(m_workFolder.path().toHtmlEscaped(), reason.toHtmlEscaped()));
        return false;
    }
    // Nothing of an earlier (perhaps failed) run may be read as this one's.
    if (!m_workFolder.removeFiles(m_filesBeforeRun, &reason)) {
        fail(tr("<p><b>Error:</b> %1</p>").arg(reason.toHtmlEscaped()));
        return false;
    }
    m_addedCount = 0;
    if (!m_result.open(resultPath())) {
        fail(tr("<p><b>Error:</b> Unable to write to %1</p>").arg(resultPath().toHtmlEscaped()));
        return false;
    }
    m_running = true;
    return true;
}

bool GC_HomologySearchDialog::writeGenomeFasta(const QString &fileName)
{
    const QString dna = m_genome->getDnaSequence(GC_Interval());
    if (dna.isEmpty()) {
        fail(tr("<p><b>Error:</b> the genome has no sequence to search</p>"));
        return false;
    }
    QString reason;
    if (!m_workFolder.writeFasta(fileName, QByteArrayLiteral(">seq"), dna, &reason)) {
        fail(tr("<p><b>Error:</b> Unable to write to %1</p>")
                 .arg(m_workFolder.filePath(fileName).toHtmlEscaped()));
        return false;
    }
    return true;
}

bool GC_HomologySearchDialog::runMakeblastdb(const QString &program, const QStringList &arguments,
                                             const char *logText)
{
    // makeblastdb runs to its end before the search starts; the interface waits.
    GC_BlastRunner makeblastdb;
    makeblastdb.setProgram(program);
    makeblastdb.setArguments(arguments);
    makeblastdb.setWorkingDirectory(m_workFolder.path());
    qCDebug(lcKestal).noquote().nospace() << logText << makeblastdb.commandLine();
    if (makeblastdb.run())
        return true;
    fail(tr("<p><b>Error:</b> the process has failed (blaststep2)</p>")
         + QStringLiteral("<p>%1</p>").arg(makeblastdb.errorText().toHtmlEscaped()));
    return false;
}

void GC_HomologySearchDialog::startBlast(const QString &program, const QStringList &arguments,
                                         const char *logText)
{
    m_runner->setProgram(program);
    m_runner->setArguments(arguments);
    m_runner->setWorkingDirectory(m_workFolder.path());
    qCDebug(lcKestal).noquote().nospace() << logText << m_runner->commandLine();
    m_runner->start();
}

void GC_HomologySearchDialog::runnerFinished(bool ok)
{
    // A cancelled or failed run has already ended.
    if (!m_running)
        return;
    blastRunEnded(ok);
}

QString GC_HomologySearchDialog::runFailureDetails() const
{
    return QStringLiteral("<p>%1</p>").arg(m_runner->errorText().toHtmlEscaped());
}

void GC_HomologySearchDialog::fail(const QString &html)
{
    m_running = false;
    m_result.close();
    m_form.log->append(html);
    m_form.progress->setRange(0, 1);
    m_form.progress->setValue(0);
    qCDebug(lcKestal).noquote() << m_className << ":" << html;
}

QString GC_HomologySearchDialog::evalueText() const
{
    return QString::number(m_form.evalue->value(), 'g', 6);
}

void GC_HomologySearchDialog::readStdout(const QByteArray &chunk)
{
    if (!m_running)
        return;
    int referenceId = 0;
    if (m_result.append(chunk, &referenceId))
        showSearchProgress(referenceId);
}

void GC_HomologySearchDialog::showSearchProgress(int)
{
}

void GC_HomologySearchDialog::showAdvance(int value, int maximum)
{
    m_form.advance->setText(QStringLiteral("%1/%2").arg(value).arg(maximum));
}

bool GC_HomologySearchDialog::closeResult()
{
    const bool written = m_result.finish();
    if (!written)
        fail(tr("<p><b>Error:</b> Unable to write to %1</p>").arg(resultPath().toHtmlEscaped()));
    return written;
}

void GC_HomologySearchDialog::finishSearch(const AskTexts &texts)
{
    if (!closeResult())
        return;
    m_running = false;
    m_form.progress->setRange(0, 1);
    m_form.progress->setValue(1);

    QMessageBox box(this);
    box.setWindowTitle(windowTitle());
    if (lineCount() < 1) {
        box.setText(texts.none);
        box.setStandardButtons(QMessageBox::Discard);
        box.setDefaultButton(QMessageBox::Discard);
    } else {
        box.setText(texts.found.arg(lineCount()));
        box.setInformativeText(texts.question);
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard);
        box.setDefaultButton(QMessageBox::Save);
    }
    if (box.exec() != QMessageBox::Save) {
        reject();
        return;
    }
    importHits(texts.annotating);
}

void GC_HomologySearchDialog::importHits(const QString &annotatingText)
{
    QFile resultFile(resultPath());
    if (!resultFile.open(QIODevice::ReadOnly)) {
        fail(tr("<p><b>Error:</b> Unable to read %1</p>").arg(resultPath().toHtmlEscaped()));
        return;
    }
    m_form.advance->setText(annotatingText);
    const int total = lineCount();
    m_form.progress->setRange(0, total);
    m_form.progress->setValue(0);

    GC_HomologyCoverage coverage(m_genome->getCoords().end());
    GC_HomologyHitLine hit;
    forgetPendingHits();
    const int failedLookups = GC_ReferenceLookup::failureCount();
    int i = 0;
    while (!resultFile.atEnd()) {
        const QByteArray line = resultFile.readLine();
        ++i;
        if (!hit.parse(line)) {
            if (!line.trimmed().isEmpty())
                qCDebug(lcKestal).noquote() << m_className << ": unreadable line" << line.trimmed();
            continue;
        }
        int low = 0;
        int high = 0;
        coverage.normalise(hit.first(), hit.last(), &low, &high);
        if (!coverage.claim(low, high))
            continue;
        if (addHit(hit, low, high))
            m_pendingRows.append({hit.referenceId(), low, high, hit.evalue(), hit.bitscore()});
        // A look-up that failed is no reference missing from the collection:
        // the hits cannot be told from those it lacks, so none replaces the
        // genome's earlier ones.
        if (GC_ReferenceLookup::failureCount() != failedLookups) {
            forgetPendingHits();
            const QString collection =
                GC_ReferenceDatabases::fileName(GC_ReferenceDatabases::Collection(family()));
            fail(tr("<p><b>Error:</b> the reference collection %1 could not be read: %2</p>"
                    "<p>The genome keeps its earlier homologies.</p>")
                     .arg(collection.toHtmlEscaped(), GC_ReferenceLookup::lastFailure().toHtmlEscaped()));
            return;
        }
        if (i % AdvanceEvery == 0) {
            m_form.progress->setValue(i);
            showAdvance(i, total);
        }
    }
    resultFile.close();
    m_form.progress->setValue(total);
    showAdvance(i, total);
    if (!applyPendingHits())
        return;
    qCDebug(lcKestal).noquote() << m_className << ":" << m_addedCount << "hits added of" << total;
    accept();
}

void GC_HomologySearchDialog::forgetPendingHits()
{
    clearPendingHits();
    m_pendingRows.clear();
}

bool GC_HomologySearchDialog::applyPendingHits()
{
    const GC_GenomeSource::Family which = family();
    // Rows an earlier search stored would otherwise be loaded again on top
    // of these hits, or copied into the next canvas in their place.
    const bool replaceStored = m_genome->storedHits().countNow(which) > 0;
    if (replaceStored) {
        QString reason;
        if (!m_genome->storedHits().replace(which, m_pendingRows, &reason)) {
            forgetPendingHits();
            fail(tr("<p><b>Error:</b> the stored homologies could not be replaced: %1</p>"
                    "<p>The genome keeps its earlier homologies.</p>")
                     .arg(reason.toHtmlEscaped()));
            return false;
        }
    }
    m_addedCount = replaceBarHits(m_pendingRows);
    forgetPendingHits();
    if (!replaceStored)
        return true;
    switch (which) {
    case GC_GenomeSource::Cog:
        m_genome->countDatabaseCogMatchings();
        break;
    case GC_GenomeSource::Rfam:
        m_genome->countDatabaseRfamMatchings();
        break;
    case GC_GenomeSource::Rrna:
        m_genome->countDatabaserRNAMatchings();
        break;
    }
    return true;
}
