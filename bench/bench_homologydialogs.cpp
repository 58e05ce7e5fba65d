// The homology dialogs on a 5 Mb genome: the COG statistics of 5,000 hits
// (one pass over the position index), loading 10,000 stored COG rows through
// the show dialog, and what the statistics dialog adds to making a scene.
#include "bench_cogreference.h"
#include "bench_report.h"

#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_cogpiedialog.h"
#include "gc_cogshowmatchings_dialog.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_referencedatabases.h"

#include <QApplication>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <random>

namespace {

const int genomeLength = 5000000;
const int hitCount = 5000;
const int storedRows = 10000;
const int proteinCount = 2000;

// A canvas-like file with storedRows COG rows of genome key 0.
void buildStoredHits(const QString &path)
{
    std::mt19937 engine(7);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench_stored");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec(GC_CogMatching::createTableSql());
        query.exec("BEGIN");
        query.prepare(GC_CogMatching::insertSql());
        for (int i = 0; i < storedRows; ++i) {
            const int length = 300 + int(engine() % 2000u);
            const int start = 1 + int(engine() % quint32(genomeLength - length));
            query.addBindValue(i % proteinCount);
            query.addBindValue(0);
            query.addBindValue(start);
            query.addBindValue(start + length - 1);
            query.addBindValue(1e-40);
            query.addBindValue(150.0);
            query.exec();
        }
        query.exec("COMMIT");
    }
    QSqlDatabase::removeDatabase("bench_stored");
}

GC_Genome *makeGenome(GC_GenomeScene &scene)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, genomeLength));
    genome->setPixPerNuc(1000.0 / genomeLength);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    return genome;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    BenchCogReference reference;
    reference.proteinCount = proteinCount;
    reference.withCogNames = true;
    reference.write(dir.filePath("cog.sqlite3"));
    GC_ReferenceDatabases::setFolder(dir.path());
    GC_CogHomologies::openDatabase();
    GC_CogHomologies::loadGroupColors();

    BenchTimer timer;
    const int scenes = 20;
    for (int i = 0; i < scenes; ++i)
        GC_GenomeScene scene;
    benchReport("scene_construct_with_statistics_dialog", timer.elapsedMs() / scenes, "ms");

    GC_GenomeScene scene;
    GC_Genome *genome = makeGenome(scene);
    std::mt19937 engine(3);
    for (int i = 0; i < hitCount; ++i) {
        const int length = 300 + int(engine() % 2700u);
        const int start = 1 + int(engine() % quint32(genomeLength - length));
        genome->getCogHomologies()->addCogMatching(start, start + length - 1, i % proteinCount,
                                                   "COG0001", QString(QChar('A' + i % 25)),
                                                   1 + i % 4, 1e-50, 120.0f);
    }

    GC_CogPieDialog *dialog = scene.cogPieDialog();
    const int rounds = 10;
    timer.restart();
    for (int i = 0; i < rounds; ++i) {
        dialog->matchings = genome->getCogHomologies()->matchings();
        dialog->positionMap = genome->getCogHomologies()->positionMap();
        dialog->computeStatistics();
    }
    benchReport("cog_statistics_5k_hits_5mb", timer.elapsedMs() / rounds, "ms");
    if (dialog->statisticsModel()->rowCount() != 26)
        benchReport("cog_statistics_unexpected_rows", dialog->statisticsModel()->rowCount(), "rows");

    // Loading stored rows: the dialog's share is the read and the progress;
    // the bar's share is its three reference look-ups per row.
    const QString stored = dir.filePath("stored.kestal");
    buildStoredHits(stored);
    GC_Genome *target = makeGenome(scene);
    target->setDatabase(stored);
    target->setDatabaseId(0);
    target->countDatabaseCogMatchings();
    GC_CogShowMatchings_dialog show;
    show.setGenome(target);
    show.setScene(&scene);
    show.show();
    timer.restart();
    show.findChild<QPushButton *>("searchButton")->click();
    const double loadMs = timer.elapsedMs();
    benchReport("cog_show_dialog_load_10k_stored_rows", loadMs, "ms");
    benchReport("cog_show_dialog_rows_loaded", target->countCogMatchings(), "hits");

    // The same rows straight into a bar, for the dialog's own overhead.
    target->getCogHomologies()->clearMatchings();
    timer.restart();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench_direct");
        db.setDatabaseName(stored);
        db.open();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.exec("SELECT start, end, id_cog_protein, evalue, bitscore FROM cog_matchings");
        while (query.next())
            target->getCogHomologies()->addCogMatching(query.value(0).toInt(), query.value(1).toInt(),
                                                       query.value(2).toInt(),
                                                       query.value(3).toDouble(),
                                                       float(query.value(4).toDouble()));
    }
    QSqlDatabase::removeDatabase("bench_direct");
    benchReport("cog_bar_add_10k_stored_rows_without_dialog", timer.elapsedMs(), "ms");
    GC_ReferenceDatabases::closeAll();
    return 0;
}
