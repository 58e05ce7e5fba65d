// A real comparison of two synthetic 5 Mb relatives (5,000 genes each):
// database build from Genbank files, then makeblastdb + blastn and storing.
#include "bench_privatehome.h"
#include "bench_report.h"
#include "synthetic_genome.h"

#include "gc_blastoptions.h"
#include "gc_builddatabase.h"
#include "gc_fileutils.h"
#include "gc_sequenceblaster.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

int main(int argc, char **argv)
{
    BenchPrivateHome folder("bench_blaster");
    QCoreApplication app(argc, argv);
    const QString task = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("megablast");

    BenchTimer timer;
    const SyntheticGenome first = SyntheticGenome::random(5000000, 5000, 21, "Synthetic strain A");
    const SyntheticGenome second = first.derived(SyntheticGenome::Changes(), 22, "Synthetic strain B");
    const QString pathA = folder.filePath("a.gb");
    const QString pathB = folder.filePath("b.gb");
    if (!first.writeGenbank(pathA) || !second.writeGenbank(pathB))
        qFatal("cannot write the genomes");
    benchReport("synthetic_5mb_pair_generate_and_write", timer.elapsedMs(), "ms");
    benchReport("synthetic_derived_genes_kept", second.genes().size(), "genes");

    timer.restart();
    QMap<QString, int> ids;
    QString error;
    if (!gc_buildDatabase({pathA, pathB}, {}, ids, &error))
        qFatal("build failed: %s", qPrintable(error));
    benchReport("comparison_database_build_two_5mb_genomes", timer.elapsedMs(), "ms");

    GC_BlastOptions options;
    options.setTask(task);
    GC_SequenceBlaster blaster;
    blaster.setOptions(options);
    blaster.setPairs({{0, 1}});
    blaster.setDatabase(GC_FileUtils::tempCanvasPath());
    timer.restart();
    blaster.blastHanged();
    if (!blaster.result())
        qFatal("blaster failed: %s", qPrintable(blaster.lastErrorText()));
    benchReport("blaster_5mb_pair_" + task, timer.elapsedMs(), "ms");

    int matchings = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench");
        db.setDatabaseName(GC_FileUtils::tempCanvasPath());
        db.open();
        QSqlQuery query("SELECT count(*) FROM matchings", db);
        if (query.next())
            matchings = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("bench");
    benchReport("blaster_5mb_pair_" + task + "_matchings", matchings, "rows");
    return 0;
}
