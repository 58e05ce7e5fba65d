#include "gc_matchseqblastn_dialog.h"

#include "gc_log.h"
#include "ui_gc_matchseqblastn_dialog.h"

#include "gc_blastrunner.h"
#include "gc_blasttoolpath.h"
#include "gc_builddatabase.h"
#include "gc_fileutils.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_rundatabase.h"
#include "gc_sequencefilereader.h"
#include "gc_sqlconnection.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMessageBox>
#include <QSettings>
#include <QSqlQuery>

namespace {

const char *const TargetFasta = "seq1.fas";
const char *const QueryFasta = "seq2.fas";
const char *const TargetDatabase = "seq1";
const char *const ResultFileName = "blastresult.txt";

// Import progress is shown every so many lines: a label update per line
// would cost more than the matching it reports.
const int AdvanceEvery = 1000;

QString missingProgramMessage(const QString &configuredPath)
{
    return GC_MatchSeqBlastn_dialog::tr("<b>Error:</b> the file: <br> %1 <br>does not exists.")
        .arg(configuredPath.toHtmlEscaped());
}

// One tab-separated line "sstart send qstart qend pident bitscore".
struct BlastHit
{
    int sstart = 0, send = 0, qstart = 0, qend = 0;
    double pident = 0.0, bitscore = 0.0;
};

bool parseHit(const QByteArray &line, BlastHit *hit)
{
    const QList<QByteArray> fields = line.trimmed().split('\t');
    if (fields.size() < 6)
        return false;
    hit->sstart = fields.at(0).toInt();
    hit->send = fields.at(1).toInt();
    hit->qstart = fields.at(2).toInt();
    hit->qend = fields.at(3).toInt();
    hit->pident = fields.at(4).toDouble();
    hit->bitscore = fields.at(5).toDouble();
    return true;
}

} // namespace

GC_MatchSeqBlastn_dialog::GC_MatchSeqBlastn_dialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::GC_MatchSeqBlastn_dialog)
{
    ui->setupUi(this);
    ui->searchButton->setEnabled(false);

    // The list shows the task that a search will run.
    setTask("dc-megablast");

    // A folder that cannot be used is reported again, in the dialog, by a search.
    QString reason;
    if (!m_workFolder.ensure(&reason))
        qCDebug(lcKestal).noquote() << "GC_MatchSeqBlastn_dialog:" << reason;
    qCDebug(lcKestal) << "GC_MatchSeqBlastn_dialog: work folder" << m_workFolder.path();
    m_resultPath = m_workFolder.filePath(ResultFileName);

    QString message;
    if (!resolveTools(&message)) {
        ui->actionLabel->setText(message);
        showWholeStatus();
        ui->progressBar->setValue(0);
        ui->progressBar->setEnabled(false);
    }

    m_runner = new GC_BlastRunner(this);
    // Output goes to the result file as it comes; nothing is kept in memory.
    m_runner->setKeepOutput(false);
    connect(m_runner, &GC_BlastRunner::outputRead, this, &GC_MatchSeqBlastn_dialog::readStdout);
    connect(m_runner, &GC_BlastRunner::finished, this, &GC_MatchSeqBlastn_dialog::blastFinished);
}

GC_MatchSeqBlastn_dialog::~GC_MatchSeqBlastn_dialog()
{
    // Stop blastn before its database files are removed.
    delete m_runner;
    m_runner = nullptr;
    m_result.close();
    QString reason;
    if (!m_workFolder.removeFiles(workFileNames(), &reason))
        qCDebug(lcKestal).noquote() << "GC_MatchSeqBlastn_dialog:" << reason;
    delete ui;
}

// ---------------------------------------------------------------------------
// Choices

void GC_MatchSeqBlastn_dialog::setScene(GC_GenomeScene *scene)
{
    m_scene = scene;
    m_genomes = scene ? scene->genomes() : QList<GC_Genome *>();
    m_targetGenome = nullptr;
    ui->genomesCombo->clear();
    if (m_genomes.isEmpty()) {
        qCDebug(lcKestal) << "GC_MatchSeqBlastn_dialog::setScene(): genome list is empty";
        return;
    }
    for (GC_Genome *genome : std::as_const(m_genomes))
        ui->genomesCombo->addItem(genome->getName());
    setGenome(0);
}

void GC_MatchSeqBlastn_dialog::setGenome(int index)
{
    if (index < 0 || index >= m_genomes.size())
        return;
    m_targetGenome = m_genomes.at(index);
    if (ui->genomesCombo->currentIndex() != index)
        ui->genomesCombo->setCurrentIndex(index);
    qCDebug(lcKestal) << "Selected genome id: " << m_targetGenome->getId();
}

void GC_MatchSeqBlastn_dialog::setInputFile(const QString &path)
{
    ui->filenameInput->setText(path);
    ui->searchButton->setEnabled(true);
    ui->progressBar->setEnabled(true);
}

void GC_MatchSeqBlastn_dialog::setTask(const QString &task)
{
    m_task = task;
    const int index = ui->blastCombobox->findText(task);
    if (index >= 0 && ui->blastCombobox->currentIndex() != index)
        ui->blastCombobox->setCurrentIndex(index);
    if (task == "blastn")
        ui->blastLabel->setText(tr("Somewhat similar sequences"));
    else if (task == "megablast")
        ui->blastLabel->setText(tr("Highly similar sequences"));
    else if (task == "dc-megablast")
        ui->blastLabel->setText(tr("More dissimilar sequences"));
}

void GC_MatchSeqBlastn_dialog::on_blastCombobox_textActivated(const QString &text)
{
    setTask(text);
}

void GC_MatchSeqBlastn_dialog::on_genomesCombo_activated(int index)
{
    setGenome(index);
}

void GC_MatchSeqBlastn_dialog::on_selectFileButton_clicked()
{
    const QString start = QSettings().value("lastDirOpen", QDir::homePath()).toString();
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Choose the input file"), start,
        tr("Genbank or Fasta files (*.gb *.fas *.fasta *.fna *.txt)"));
    if (!path.isEmpty())
        setInputFile(path);
}

void GC_MatchSeqBlastn_dialog::on_cancelButton_clicked()
{
    reject();
}

void GC_MatchSeqBlastn_dialog::reject()
{
    QDialog::reject();
    // The runner answers with finished(false), which only sets the error text.
    if (m_running && m_runner)
        m_runner->kill();
    m_result.close();
}

// ---------------------------------------------------------------------------
// The run

bool GC_MatchSeqBlastn_dialog::resolveTools(QString *message)
{
    bool ok = true;
    const QSettings settings;
    const struct {
        const char *key;
        const char *program;
        QString *path;
    } tools[] = {{"makeblastdbpath", "makeblastdb", &m_makeblastdbPath},
                 {"blastnpath", "blastn", &m_blastnPath}};
    // Each missing program replaces the message: the last one shows.
    for (const auto &tool : tools) {
        QString reason;
        *tool.path = GC_BlastToolPath::resolve(tool.key, tool.program, &reason);
        if (!tool.path->isEmpty())
            continue;
        ok = false;
        const QString configured = settings.value(tool.key, tool.program).toString();
        *message = QFileInfo::exists(configured)
                       ? tr("<b>Error:</b> %1").arg(reason.toHtmlEscaped())
                       : missingProgramMessage(configured);
    }
    return ok;
}

void GC_MatchSeqBlastn_dialog::fail(const QString &message)
{
    m_running = false;
    m_result.close();
    ui->actionLabel->setText(message);
    showWholeStatus();
    ui->progressBar->setRange(0, 1);
    ui->progressBar->setValue(0);
    qCDebug(lcKestal).noquote() << "GC_MatchSeqBlastn_dialog:" << message;
}

void GC_MatchSeqBlastn_dialog::showWholeStatus()
{
    QLayout *whole = layout();
    if (!whole || !whole->hasHeightForWidth())
        return;
    whole->activate();
    const int needed = whole->totalHeightForWidth(width());
    if (needed > height())
        resize(width(), needed);
}

void GC_MatchSeqBlastn_dialog::on_searchButton_clicked()
{
    ui->searchButton->setEnabled(false);
    ui->progressBar->setRange(0, 0);
    qCDebug(lcKestal) << "BLAST genome : " << ui->filenameInput->text();
    qCDebug(lcKestal) << "GENOME target: " << (m_targetGenome ? m_targetGenome->getId() : -1);
    blaststep1();
}

QStringList GC_MatchSeqBlastn_dialog::workFileNames()
{
    return QStringList{TargetFasta, QueryFasta}
           + GC_BlastWorkFolder::databaseFileNames(TargetDatabase, 'n');
}

bool GC_MatchSeqBlastn_dialog::prepareResultFile()
{
    // Every run starts from an empty result and count, so nothing of an
    // earlier (perhaps failed) run can be imported.
    if (!m_result.open(m_resultPath)) {
        fail(tr("<p><b>Error:</b> Unable to write to %1</p>")
                 .arg(QFileInfo(m_resultPath).absoluteFilePath().toHtmlEscaped()));
        return false;
    }
    return true;
}

bool GC_MatchSeqBlastn_dialog::writeFasta(const QString &fileName, const QByteArray &header,
                                          const QString &sequence)
{
    QString reason;
    if (m_workFolder.writeFasta(fileName, header, sequence, &reason))
        return true;
    fail(tr("<p><b>Error:</b> Unable to write to %1: %2</p>")
             .arg(m_workFolder.filePath(fileName).toHtmlEscaped(), reason.toHtmlEscaped()));
    return false;
}

bool GC_MatchSeqBlastn_dialog::prepareQuery()
{
    ui->actionLabel->setText(tr("Preparing the query (input) sequence for BLAST"));
    const QString path = ui->filenameInput->text();
    // Read as the open wizard reads it, so that the same files are taken
    // and refused in the same words.
    GC_SequenceFileReader reader(path);
    if (!reader.read()) {
        fail((reader.kind() == GC_FileUtils::NoSequenceFile ? tr("Unsupported input file format")
                                                            : tr("Cannot get the sequence to BLAST"))
             + ": " + reader.errorText().toHtmlEscaped());
        return false;
    }
    QStringList leftOut = reader.warnings();
    QMap<QString, int> genomeIds;
    QString reason;
    // An earlier run's database must never stand in for this one's.
    m_database.reset();
    if (reader.kind() == GC_FileUtils::GenbankFile) {
        ui->actionLabel->setText(tr("Parsing the GENBANK file"));
        m_database = gc_buildDatabase({path}, {{path, reader.genbank()}}, {}, genomeIds, &reason);
    } else {
        ui->actionLabel->setText(tr("Parsing the FASTA file"));
        // The first record is the query.
        const QList<QPair<QString, QString>> &records = reader.fastaRecords();
        if (records.size() > 1)
            leftOut.append(tr("%1 holds %2 records; only the first, \"%3\", is compared")
                               .arg(path, QString::number(records.size()), records.first().first));
        m_database = gc_buildDatabase({}, {{records.first().first, records.first().second}}, genomeIds, &reason);
    }
    if (!m_database) {
        fail(tr("Cannot get the sequence to BLAST") + ": " + reason.toHtmlEscaped());
        return false;
    }
    if (!leftOut.isEmpty())
        QMessageBox::warning(this, tr("Part of a file left out"),
                             tr("Not all of the file is compared:") + "\n\n" + leftOut.join('\n'));

    ui->actionLabel->setText(tr("Generating FASTA file for BLAST"));
    QString sequence;
    {
        GC_SqlConnection connection("gc_blast", m_database->path(), GC_SqlConnection::ReadOnly);
        if (!connection.isOpen()) {
            fail(tr("Cannot open the database with the sequence to BLAST"));
            return false;
        }
        QSqlQuery query(connection.database());
        if (!query.exec("SELECT dna_sequence from genomes where id=0") || !query.next()) {
            fail(tr("Cannot get the sequence to BLAST"));
            return false;
        }
        sequence = query.value(0).toString();
    }
    if (sequence.isEmpty()) {
        fail(tr("Cannot get the sequence to BLAST"));
        return false;
    }
    return writeFasta(QueryFasta, ">seq2", sequence);
}

void GC_MatchSeqBlastn_dialog::blaststep1()
{
    if (m_running)
        return;
    // Refused before anything is written: there must be something to compare.
    if (!m_scene || !m_targetGenome) {
        fail(tr("<b>Error:</b> there is no target genome to compare with"));
        ui->searchButton->setEnabled(true);
        return;
    }
    if (ui->filenameInput->text().trimmed().isEmpty()) {
        fail(tr("<b>Error:</b> choose the file with the sequence to compare"));
        ui->searchButton->setEnabled(true);
        return;
    }
    QString message;
    if (!resolveTools(&message)) {
        fail(message);
        return;
    }
    // Nothing is written, or removed, outside a folder that works; and
    // nothing of an earlier (perhaps failed) run may be read as this one's.
    QString reason;
    if (!m_workFolder.ensure(&reason) || !m_workFolder.removeFiles(workFileNames(), &reason)) {
        fail(tr("<p><b>Error:</b> %1</p>").arg(reason.toHtmlEscaped()));
        return;
    }
    m_running = true;
    if (!prepareResultFile())
        return;

    ui->actionLabel->setText(tr("Preparing the target sequence for BLAST"));
    const QString target = m_targetGenome->getDnaSequence(GC_Interval());
    if (target.isEmpty()) {
        fail(tr("<b>Error:</b> the target genome has no sequence"));
        return;
    }
    m_targetLength = int(target.size());
    if (!writeFasta(TargetFasta, ">seq1", target))
        return;
    if (!prepareQuery())
        return;

    ui->actionLabel->setText(tr("Creating BLAST database with the first sequence"));
    // makeblastdb runs to its end before blastn starts; the interface waits.
    GC_BlastRunner makeblastdb;
    makeblastdb.setProgram(m_makeblastdbPath);
    makeblastdb.setArguments({"-in", TargetFasta, "-dbtype", "nucl", "-hash_index", "-out",
                              TargetDatabase});
    makeblastdb.setWorkingDirectory(m_workFolder.path());
    qCDebug(lcKestal).noquote() << makeblastdb.commandLine();
    const bool ok = makeblastdb.run();
    blaststep2(ok, makeblastdb.errorText());
}

void GC_MatchSeqBlastn_dialog::blaststep2(bool makeblastdbOk, const QString &errorText)
{
    if (!makeblastdbOk) {
        fail(tr("<p><b>Error:</b> the process has failed (blaststep2)</p>")
             + errorText.toHtmlEscaped());
        return;
    }
    ui->actionLabel->setText(tr("Executing BLAST"));
    const QString evalue = QString::number(ui->evalueSpin->value(), 'g', 6);
    m_runner->setProgram(m_blastnPath);
    m_runner->setArguments({"-db", TargetDatabase, "-query", QueryFasta, "-task", m_task,
                            "-evalue", evalue, "-outfmt",
                            "6 sstart send qstart qend pident bitscore"});
    m_runner->setWorkingDirectory(m_workFolder.path());
    qCDebug(lcKestal).noquote() << "GC_MatchSeqBlastn::blaststep2: commmand: " << m_runner->commandLine();
    m_runner->start();
}

void GC_MatchSeqBlastn_dialog::readStdout(const QByteArray &chunk)
{
    // Progress: the target position of the last whole line.
    int position = 0;
    if (m_result.append(chunk, &position))
        showAdvance(position);
}

void GC_MatchSeqBlastn_dialog::showAdvance(int position)
{
    ui->labelAdvance->setText(QString("%1/%2").arg(position).arg(m_targetLength));
}

void GC_MatchSeqBlastn_dialog::blastFinished(bool ok)
{
    if (!m_running)
        return;
    if (!ok) {
        fail(tr("<b>Error:</b> the process has failed (blastFinished())") + "<br>"
             + m_runner->errorText().toHtmlEscaped());
        return;
    }
    if (!m_result.finish()) {
        fail(tr("<p><b>Error:</b> Unable to write to %1</p>").arg(m_resultPath.toHtmlEscaped()));
        return;
    }
    m_running = false;
    ui->progressBar->setRange(0, 1);
    ui->progressBar->setValue(1);

    QMessageBox box(this);
    box.setWindowTitle(windowTitle());
    if (lineCount() < 1) {
        box.setText(tr("No homology was found with the specified parameters"));
        box.setStandardButtons(QMessageBox::Discard);
        box.setDefaultButton(QMessageBox::Discard);
    } else {
        box.setText(tr("The analysis found %1 candidate homology regions").arg(lineCount()));
        box.setInformativeText(tr("Do you want to save them in the genome?"));
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard);
        box.setDefaultButton(QMessageBox::Save);
    }
    if (box.exec() != QMessageBox::Save) {
        reject();
        return;
    }
    importResults();
}

void GC_MatchSeqBlastn_dialog::importResults()
{
    QFile resultFile(m_resultPath);
    if (!resultFile.open(QIODevice::ReadOnly)) {
        fail(tr("<b>Error:</b> Unable to read %1").arg(m_resultPath.toHtmlEscaped()));
        return;
    }
    ui->actionLabel->setText(tr("Preparing to display the results..."));
    qCDebug(lcKestal) << "Blast output filename: " << m_resultPath;
    const int total = lineCount();
    ui->progressBar->setRange(0, total);
    ui->progressBar->setValue(0);

    GC_Genome *query = m_database ? m_scene->addGenome(m_database->path()) : nullptr;
    if (!query) {
        qCDebug(lcKestal) << "ERROR: GC_MatchSeqBlastn_dialog::blastFinished(): addGenome returned NULL";
        fail(tr("<b>Error:</b> the compared sequence could not be added to the canvas"));
        return;
    }
    m_scene->keepRunDatabase(m_database);

    int i = 0;
    BlastHit hit;
    while (!resultFile.atEnd()) {
        const QByteArray line = resultFile.readLine();
        if (line.trimmed().isEmpty())
            continue;
        if (!parseHit(line, &hit)) {
            qCDebug(lcKestal) << "GC_MatchSeqBlastn_dialog::importResults(): skipped line" << line;
            continue;
        }
        qCDebug(lcKestal, "%d-%d  %d-%d  (%%%f)(%f)", hit.sstart, hit.send, hit.qstart, hit.qend,
                hit.pident, hit.bitscore);
        m_scene->addMatching(query, m_targetGenome, hit.qstart, hit.qend, hit.sstart, hit.send,
                             hit.pident, hit.bitscore);
        ++i;
        if (i % AdvanceEvery == 0) {
            ui->progressBar->setValue(i);
            ui->labelAdvance->setText(QString("%1/%2").arg(i).arg(total));
        }
    }
    ui->progressBar->setValue(i);
    ui->labelAdvance->setText(QString("%1/%2").arg(i).arg(total));
    resultFile.close();
    accept();
}
