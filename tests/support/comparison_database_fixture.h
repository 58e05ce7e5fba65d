#ifndef COMPARISON_DATABASE_FIXTURE_H
#define COMPARISON_DATABASE_FIXTURE_H

#include <QList>
#include <QString>

// Comparison databases for tests, made by the program's own builder from
// Genbank files written for the purpose, with matchings rows added as the
// blaster stores them.
namespace ComparisonDatabaseFixture {

struct Genome
{
    QString name;             // the DEFINITION, which names the genome
    int length = 1000;
    // Genes as (from, to) in feature order; from > to is the reverse strand.
    QList<QPair<int, int>> genes;
    quint32 seed = 1;
};

struct Matching
{
    int target;               // genome ids: list order in build(), from 0
    int targetFrom;
    int targetTo;
    int query;
    int queryFrom;
    int queryTo;
    double similarity;
    double bitScore;
};

// Writes each genome as a Genbank file in folder and builds the database at
// path; ids follow the list order. False with error on failure.
bool build(const QString &folder, const QString &path, const QList<Genome> &genomes,
           QString *error = nullptr);

// Appends matchings rows to the database at path.
bool addMatchings(const QString &path, const QList<Matching> &matchings, QString *error = nullptr);

// Genes spread evenly over a genome: count genes of 30 nucleotides, every
// third one on the reverse strand.
QList<QPair<int, int>> evenGenes(int length, int count);

} // namespace ComparisonDatabaseFixture

#endif
