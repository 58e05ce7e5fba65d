#ifndef BENCH_COGREFERENCE_H
#define BENCH_COGREFERENCE_H

#include <QString>

// A synthetic COG reference collection for the benchmarks: proteinCount
// proteins of proteinLength amino acids with ids from firstProteinId, whose
// COG codes repeat every cogCount ids (0: one COG per protein), each COG in
// one of the 25 categories and each category in one of 4 classes.
class BenchCogReference
{
public:
    int proteinCount = 2000;
    int firstProteinId = 0;
    int proteinLength = 400;
    int cogCount = 0;
    // Adds an empty COG name table (cog_orthologies).
    bool withCogNames = false;

    // Writes the collection as the SQLite file at path (usually
    // "<folder>/cog.sqlite3").
    void write(const QString &path) const;
};

#endif
