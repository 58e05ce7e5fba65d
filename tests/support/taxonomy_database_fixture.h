#ifndef TAXONOMY_DATABASE_FIXTURE_H
#define TAXONOMY_DATABASE_FIXTURE_H

#include <QString>
#include <QTemporaryDir>

// A tiny taxonomy database with the tables the Entrez browser reads
// (subtaxa, taxnames, chroms), written to chroms.sqlite3 in a temporary
// folder and opened as the connection "chroms".
//
// Tree (taxid name), children in insertion order:
//   1 (root)
//     2 Bacteria
//       1224 Proteobacteria
//         562 Escherichia coli
//       1239 Firmicutes
//         1423 (no taxnames row)
//     10239 Viruses
//       28883 Caudovirales
//       0 (a broken child row)
// Genomes (chroms, in rowid order; taxid under parent_taxid):
//   511145 under 562: gi 49175990 NC_000913 "Escherichia coli K-12 MG1655"
//          4641652 bp, 4497 genes, 4140 proteins
//   386585 under 562: gi 15829254 NC_002695 "Escherichia coli O157:H7 Sakai"
//          5498450 bp, 0 genes, NULL proteins
//   386585 under 562: gi 10955266 NC_002128 "Escherichia coli O157:H7 plasmid pO157"
//          (a second record of the same taxid)
//   224308 under 1423: gi 16077068 NC_000964 "Bacillus subtilis 168"
//   10710 under 28883: gi 9626243 NC_001416 "Enterobacteria phage lambda"
//          0 bp, -1 genes, 73 proteins
class TaxonomyDatabaseFixture
{
public:
    TaxonomyDatabaseFixture();
    ~TaxonomyDatabaseFixture();

    TaxonomyDatabaseFixture(const TaxonomyDatabaseFixture &) = delete;
    TaxonomyDatabaseFixture &operator=(const TaxonomyDatabaseFixture &) = delete;

    // Writes the database file. False with errorString() on failure.
    bool build();
    // Opens it as the connection "chroms" and marks the taxonomy database
    // open, as start-up does.
    bool open();
    // Closes and removes the connection and marks the database closed.
    void close();

    // Runs one statement on the database file (to change the data under a
    // model that has already read it).
    bool exec(const QString &statement);

    QString path() const { return dir.filePath(QStringLiteral("chroms.sqlite3")); }
    QString errorString() const { return error; }

private:
    QTemporaryDir dir;
    QString error;
    bool opened = false;
};

#endif
