// Writing and reading hit rows of a canvas file, and the reference look-ups
// that reloading stored COG hits makes per row.
#include "bench_cogreference.h"
#include "bench_report.h"

#include "gc_cogmatching.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

const int hitCount = 100000;

void writeHits(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench_canvas");
    db.setDatabaseName(path);
    db.open();
    QSqlQuery query(db);
    query.exec(GC_CogMatching::createTableSql());
    query.exec("BEGIN");
    int rows = 0;
    BenchTimer timer;
    for (int i = 0; i < hitCount; ++i) {
        GC_CogMatching hit;
        hit.setGenomeId(0);
        hit.setIdCogProtein(i % 500);
        hit.setStart(i * 50);
        hit.setEnd(i * 50 + 300);
        hit.setEvalue(1.27e-127);
        hit.setBitscore(250.0f);
        if (++rows > 1000) {
            rows = 0;
            query.exec("COMMIT");
            query.exec("BEGIN");
        }
        hit.saveItem(query);
    }
    query.exec("COMMIT");
    benchReport("cog_rows_write_100k", timer.elapsedMs(), "ms");

    timer.restart();
    QSqlQuery select(db);
    select.setForwardOnly(true);
    select.prepare(GC_CogMatching::selectSql());
    select.addBindValue(0);
    select.exec();
    int read = 0;
    while (select.next()) {
        GC_CogMatching hit;
        hit.loadFromQuery(select);
        ++read;
    }
    benchReport("cog_rows_read_100k", timer.elapsedMs(), "ms");
    select = QSqlQuery();
    query = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("bench_canvas");
}

void lookUpStoredHits(const QString &folder)
{
    BenchCogReference reference;
    reference.proteinCount = 5000;
    reference.proteinLength = 300;
    reference.cogCount = 2000;
    reference.write(folder + "/cog.sqlite3");
    GC_ReferenceDatabases::setFolder(folder);
    GC_ReferenceDatabases::openCog();
    BenchTimer timer;
    int found = 0;
    for (int i = 0; i < hitCount; ++i) {
        const QVariantList protein = GC_ReferenceLookup::firstRow(
            GC_ReferenceDatabases::Cog, "SELECT code_cog, sequence_length from cog_proteins where id=?", {i % 5000});
        const QVariant group = GC_ReferenceLookup::firstValue(
            GC_ReferenceDatabases::Cog, "SELECT code_group from cog_orthologies_groups where code_cog=?",
            {protein.value(0)});
        const QVariant classId = GC_ReferenceLookup::firstValue(
            GC_ReferenceDatabases::Cog, "SELECT class_id from cog_groups where code=?", {group});
        found += classId.toInt() > 0;
    }
    benchReport("cog_stored_hit_lookups_100k", timer.elapsedMs(), "ms");
    if (found != hitCount)
        benchReport("cog_stored_hit_lookups_missed", hitCount - found, "rows");
    GC_ReferenceDatabases::closeAll();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    writeHits(dir.filePath("bench.kestal"));
    lookUpStoredHits(dir.path());
    return 0;
}
