#include "taxonomy_database_fixture.h"

#include "gc_chromsdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
const char *const buildConnection = "taxonomy_fixture_build";

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values, QString *error)
{
    if (!query.prepare(statement)) {
        *error = query.lastError().text();
        return false;
    }
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        *error = statement + ": " + query.lastError().text();
        return false;
    }
    return true;
}
} // namespace

TaxonomyDatabaseFixture::TaxonomyDatabaseFixture() = default;

TaxonomyDatabaseFixture::~TaxonomyDatabaseFixture()
{
    close();
}

bool TaxonomyDatabaseFixture::build()
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", buildConnection);
        db.setDatabaseName(path());
        if (!db.open()) {
            error = db.lastError().text();
            ok = false;
        } else {
            QSqlQuery query(db);
            const QStringList schema = {
                "CREATE TABLE subtaxa (taxid INTEGER, subtaxid INTEGER)",
                "CREATE TABLE taxnames (taxid INTEGER, name TEXT)",
                "CREATE TABLE chroms (taxid INTEGER, parent_taxid INTEGER, gi INTEGER, "
                "accession TEXT, taxname TEXT, dna_length INTEGER, gene_count INTEGER, "
                "protein_count INTEGER)",
            };
            for (const QString &statement : schema)
                ok = ok && run(query, statement, {}, &error);
            const QList<QPair<int, int>> subtaxa = {{1, 2},       {1, 10239}, {2, 1224},
                                                    {2, 1239},    {1224, 562}, {1239, 1423},
                                                    {10239, 28883}, {10239, 0}};
            for (const auto &pair : subtaxa)
                ok = ok && run(query, "INSERT INTO subtaxa VALUES (?, ?)", {pair.first, pair.second}, &error);
            const QList<QPair<int, QString>> names = {{2, "Bacteria"},        {10239, "Viruses"},
                                                      {1224, "Proteobacteria"}, {1239, "Firmicutes"},
                                                      {562, "Escherichia coli"}, {28883, "Caudovirales"}};
            for (const auto &name : names)
                ok = ok && run(query, "INSERT INTO taxnames VALUES (?, ?)", {name.first, name.second}, &error);
            const QList<QVariantList> chroms = {
                {511145, 562, 49175990, "NC_000913", "Escherichia coli K-12 MG1655", 4641652, 4497, 4140},
                {386585, 562, 15829254, "NC_002695", "Escherichia coli O157:H7 Sakai", 5498450, 0,
                 QVariant()},
                {386585, 562, 10955266, "NC_002128", "Escherichia coli O157:H7 plasmid pO157", 92721,
                 100, 85},
                {224308, 1423, 16077068, "NC_000964", "Bacillus subtilis 168", 4215606, 4325, 4176},
                {10710, 28883, 9626243, "NC_001416", "Enterobacteria phage lambda", 0, -1, 73},
            };
            for (const QVariantList &row : chroms)
                ok = ok && run(query, "INSERT INTO chroms VALUES (?, ?, ?, ?, ?, ?, ?, ?)", row, &error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(buildConnection);
    return ok;
}

bool TaxonomyDatabaseFixture::open()
{
    opened = openChromsDatabase(path());
    if (!opened)
        error = QStringLiteral("the taxonomy database did not open");
    return opened;
}

void TaxonomyDatabaseFixture::close()
{
    if (!opened)
        return;
    {
        QSqlDatabase db = QSqlDatabase::database("chroms", false);
        db.close();
    }
    QSqlDatabase::removeDatabase("chroms");
    chromsDatabaseOpen = false;
    opened = false;
}

bool TaxonomyDatabaseFixture::exec(const QString &statement)
{
    // Through a connection of its own: the program's may be read-only.
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", buildConnection);
        db.setDatabaseName(path());
        if (db.open()) {
            QSqlQuery query(db);
            ok = run(query, statement, {}, &error);
            db.close();
        } else {
            error = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(buildConnection);
    return ok;
}
