#include "gc_threadopen.h"

#include "gc_builddatabase.h"
#include "gc_comparisonreader.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_rundatabase.h"
#include "gc_sequenceblaster.h"

#include <QFileInfo>

GC_ThreadOpen::GC_ThreadOpen(QObject *parent)
    : QThread(parent)
{
}

void GC_ThreadOpen::run()
{
    m_lastErrorText.clear();
    m_notices.clear();
    bool ok = false;
    if (!m_scene) {
        m_lastErrorText = tr("There is no document to open the file into.");
    } else {
        // Whatever the scene reports while loading reaches the wait dialog.
        const QMetaObject::Connection relay =
            connect(m_scene, &GC_GenomeScene::message, this, &GC_ThreadOpen::message,
                    Qt::DirectConnection);
        m_scene->setLastErrorText(QString());
        ok = open();
        disconnect(relay);
        if (!ok && m_lastErrorText.isEmpty())
            m_lastErrorText = m_scene->lastErrorText();
    }
    if (!ok && m_lastErrorText.isEmpty())
        m_lastErrorText = tr("The file could not be opened.");
    if (ok)
        m_lastErrorText.clear();
    emit openingFinished(ok);
}

bool GC_ThreadOpen::open()
{
    switch (m_fileType) {
    case FILETYPE_CANVAS:
        return readableFile() && m_scene->loadKestalCanvas(m_fileName);
    case FILETYPE_GENOME:
        qCDebug(lcKestal) << "GC_ThreadOpen::run() FILETYPE_GENOME";
        return readableFile() && m_scene->loadGenomeFromFile(m_fileName, m_genomeIndex, &m_notices);
    case FILETYPE_COMPARISON:
        if (m_inputFiles.isEmpty()) {
            m_lastErrorText = tr("No comparison database was given.");
            return false;
        }
        return m_scene->loadSorvikComparisons(m_inputFiles);
    case FILETYPE_GENBANK_FASTA:
        return compareAndLoad();
    default:
        m_lastErrorText = tr("Kestal cannot open this kind of file.");
        return false;
    }
}

bool GC_ThreadOpen::readableFile()
{
    const QFileInfo info(m_fileName);
    if (info.isFile() && info.isReadable())
        return true;
    m_lastErrorText = tr("The file \"%1\" does not exist or cannot be read.").arg(m_fileName);
    return false;
}

QList<GC_ThreadOpen::IdPair> GC_ThreadOpen::makeIdPairs(const QList<NamePair> &pairs,
                                                        const QMap<QString, int> &ids,
                                                        QStringList *skipped)
{
    QList<IdPair> idPairs;
    idPairs.reserve(pairs.size());
    for (const NamePair &pair : pairs) {
        const auto query = ids.constFind(pair.first);
        const auto target = ids.constFind(pair.second);
        // An unknown name must not turn into genome 0 and compare the wrong
        // sequences.
        if (query == ids.constEnd() || target == ids.constEnd()) {
            QStringList missing;
            if (query == ids.constEnd())
                missing.append(QString("\"%1\"").arg(pair.first));
            if (target == ids.constEnd() && pair.second != pair.first)
                missing.append(QString("\"%1\"").arg(pair.second));
            const QString text = tr("\"%1\" with \"%2\": no genome %3 was read from the files")
                                     .arg(pair.first, pair.second, missing.join(tr(" nor ")));
            qCDebug(lcKestal).noquote() << "GC_ThreadOpen::makeIdPairs(): skipping the pair" << text;
            if (skipped)
                skipped->append(text);
            continue;
        }
        idPairs.append(IdPair(target.value(), query.value()));
    }
    return idPairs;
}

bool GC_ThreadOpen::compareAndLoad()
{
    qCDebug(lcKestal) << "blastgenbankfasta begin";
    QMap<QString, int> ids;
    QString buildError;
    // This comparison's own database; it goes when nothing holds it any more.
    const std::shared_ptr<GC_RunDatabase> database =
        gc_buildDatabase(m_inputFiles, m_genbankRecords, m_fastaSequences, ids, &buildError);
    if (!database) {
        m_lastErrorText = tr("The sequences could not be read:\n%1").arg(buildError);
        return false;
    }
    QStringList skipped;
    const QList<IdPair> idPairs = makeIdPairs(m_pairs, ids, &skipped);
    if (idPairs.isEmpty()) {
        m_lastErrorText = skipped.isEmpty()
            ? tr("No pair of genomes was chosen for comparison.")
            : tr("No pair to compare names genomes that were read:\n%1").arg(skipped.join('\n'));
        return false;
    }

    if (!skipped.isEmpty())
        m_notices << tr("Not every chosen pair was compared:\n%1").arg(skipped.join('\n'));

    GC_SequenceBlaster blaster;
    // The wait dialog shows which pair is being compared.
    connect(&blaster, &GC_SequenceBlaster::progressMessage, this,
            [this](int, const QString &text) { emit message(text); }, Qt::DirectConnection);
    blaster.setOptions(m_blastOptions);
    blaster.setPairs(idPairs);
    blaster.setDatabase(database->path());
    blaster.blastHanged();
    if (!blaster.result()) {
        qCDebug(lcKestal) << "blaster.result() returned false";
        m_lastErrorText = tr("The comparison with BLAST+ failed:\n%1").arg(blaster.lastErrorText());
        return false;
    }
    // The reader is told the pairs: one that BLAST found nothing for still
    // shows its genomes, and the user is told about it.
    GC_ComparisonReader reader(m_scene);
    reader.setComparedPairs(idPairs);
    if (!reader.load(QStringList() << blaster.database()))
        return false;
    for (const GC_ComparisonReader::NamePair &pair : reader.pairsWithoutMatchings())
        m_notices << tr("BLAST found no matches between %1 and %2").arg(pair.first, pair.second);
    // The genomes read their sequences and stored rows from it while the
    // document is open.
    m_scene->keepRunDatabase(database);
    return true;
}
