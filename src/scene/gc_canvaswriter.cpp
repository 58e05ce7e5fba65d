#include "gc_canvaswriter.h"

#include "gc_anotation.h"
#include "gc_canvasrowcounter.h"
#include "gc_cogmatching.h"
#include "gc_filereplacement.h"
#include "gc_freetext.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_log.h"
#include "gc_rfammatching.h"
#include "gc_rrnamatching.h"
#include "gc_ruler.h"
#include "gc_sqlconnection.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

GC_CanvasWriter::GC_CanvasWriter(GC_GenomeScene *scene)
    : m_scene(scene)
{
}

QString GC_CanvasWriter::fileProperties()
{
    return QStringLiteral("CREATE TABLE file_properties ( key TEXT , value TEXT )");
}

QString GC_CanvasWriter::sceneTable()
{
    return QStringLiteral("CREATE TABLE scene ( x REAL , y REAL , width REAL , height REAL , "
                          "margin REAL , separationBetweenGenomes REAL )");
}

bool GC_CanvasWriter::fail(const QString &message)
{
    if (m_errorText.isEmpty())
        m_errorText = message;
    return false;
}

bool GC_CanvasWriter::run(QSqlQuery &query, const QString &statement)
{
    if (query.exec(statement))
        return true;
    return fail(QStringLiteral("%1: %2").arg(statement, query.lastError().text()));
}

bool GC_CanvasWriter::save()
{
    const QString fileName = m_scene->fileName();
    if (fileName.isEmpty()) {
        m_scene->setLastErrorText(QStringLiteral("Error gc_genomescenedatesavefile: no file name"));
        return false;
    }
    GC_FileReplacement replacement(fileName);
    bool ok = replacement.begin();
    if (ok) {
        GC_SqlConnection connection(QStringLiteral("gc_genomescene_savetokestalcanvas"),
                                    replacement.temporaryFile());
        if (!connection.isOpen()) {
            ok = fail(QStringLiteral("Error gc_genomescenedatesavefile: %1").arg(connection.errorText()));
        } else {
            QSqlQuery query(connection.database());
            ok = writeAll(query);
            if (!ok)
                query.exec(QStringLiteral("ROLLBACK"));
        }
    }
    if (ok)
        ok = replacement.commit();
    if (!ok) {
        fail(replacement.errorText());
        m_scene->setLastErrorText(m_errorText);
        qCDebug(lcKestal).noquote() << "GC_GenomeScene::saveToKestalCanvas():" << m_errorText;
        return false;
    }

    // The genomes' stored rows now live in the new file, whatever becomes
    // of the files they were read from, or of the links to it; in a canvas
    // a genome's key is its id.
    for (GC_Genome *genome : m_scene->genomes()) {
        genome->setDatabase(replacement.target());
        genome->setDatabaseId(genome->getId());
    }
    m_scene->setModified(false);
    return true;
}

bool GC_CanvasWriter::writeAll(QSqlQuery &query)
{
    // The file is new and replaces the canvas only when complete, so the
    // intermediate commits need neither a journal on disk nor a sync of
    // their own: the finished file is synced once before the rename. It
    // stays locked while it is written, so that no other program reads it
    // half-way.
    if (!run(query, QStringLiteral("PRAGMA journal_mode = MEMORY"))
        || !run(query, QStringLiteral("PRAGMA synchronous = OFF"))
        || !run(query, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")))
        return false;
    if (!run(query, QStringLiteral("BEGIN")) || !run(query, fileProperties())
        || !markUnfinished(query)
        || !run(query, QStringLiteral("INSERT INTO file_properties VALUES ( 'version' , 1 )"))
        || !run(query, QStringLiteral("INSERT INTO file_properties VALUES ( 'type' , 'kestalcanvas' )"))
        || !run(query, sceneTable()))
        return false;
    const QStringList tables = {GC_Genome::sqlCreateTable(),        GC_Gene::sqlCreateTable(),
                                GC_Anotation::sqlCreateTable(),     GC_Ruler::sqlCreateTable(),
                                GC_GenomeMatching::sqlCreateTable(), GC_FreeText::sqlCreateTable(),
                                GC_CogMatching::createTableSql(),    GC_RfamMatching::createTableSql(),
                                GC_rRNAMatching::createTableSql()};
    for (const QString &create : tables) {
        if (!run(query, create))
            return false;
    }

    const QRectF rect = m_scene->sceneRect();
    if (!query.prepare(QStringLiteral("INSERT INTO scene ( x, y, width, height, margin, "
                                      "separationBetweenGenomes ) VALUES ( ? , ? , ? , ? , ? , ? )")))
        return fail(QStringLiteral("scene row: %1").arg(query.lastError().text()));
    for (const double value : {rect.x(), rect.y(), rect.width(), rect.height(), m_scene->margin(),
                               m_scene->separationBetweenGenomes()})
        query.addBindValue(value);
    if (!query.exec())
        return fail(QStringLiteral("scene row: %1").arg(query.lastError().text()));
    if (!run(query, QStringLiteral("COMMIT")) || !run(query, QStringLiteral("BEGIN")))
        return false;

    int counter = 0;
    QString error;
    QSet<GC_Genome *> written;
    for (int place = 0; place <= 1; ++place) {
        const QList<GC_Genome *> row = place == 0 ? m_scene->topGenomes() : m_scene->lowGenomes();
        for (GC_Genome *genome : row) {
            if (!genome->saveItem(query, place, counter, &error))
                return fail(error);
            written.insert(genome);
        }
    }

    const QList<GC_GenomeMatching *> matchings = m_scene->matchings();
    qCDebug(lcKestal) << "GC_GenomeScene::saveKestalToCanvas(): _matchings: " << matchings.size();
    for (const GC_GenomeMatching *matching : matchings) {
        // A matching must join two genomes of the file, or it could not be
        // read back.
        if (!written.contains(matching->topGenome()) || !written.contains(matching->lowGenome())) {
            qCDebug(lcKestal) << "GC_GenomeScene::saveToKestalCanvas(): matching" << matching->id()
                       << "joins a genome that is not in the document; not saved";
            continue;
        }
        if (!GC_CanvasRowCounter::commitEvery1000(query, counter, &error))
            return fail(error);
        if (!matching->saveItem(query))
            return fail(QStringLiteral("matching row: %1").arg(query.lastError().text()));
    }
    for (const GC_FreeText *text : m_scene->freeTexts()) {
        if (!GC_CanvasRowCounter::commitEvery1000(query, counter, &error))
            return fail(error);
        if (!text->saveToDb(query))
            return fail(QStringLiteral("free text row: %1").arg(query.lastError().text()));
    }
    // The mark stays until the file is in the canvas's place
    // (GC_FileReplacement::commit).
    return run(query, QStringLiteral("COMMIT"));
}

bool GC_CanvasWriter::markUnfinished(QSqlQuery &query)
{
    if (query.prepare(QStringLiteral("INSERT INTO file_properties VALUES ( ? , 1 )"))) {
        query.addBindValue(GC_FileReplacement::unfinishedKey());
        if (query.exec())
            return true;
    }
    return fail(QStringLiteral("file properties: %1").arg(query.lastError().text()));
}
