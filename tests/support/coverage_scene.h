#ifndef COVERAGE_SCENE_H
#define COVERAGE_SCENE_H

#include "gc_genomescene.h"

#include <QString>

class GC_Gene;
class GC_Genome;
class GC_GenomeMatching;

// A small comparison for coverage tests: genomes with chosen ids and names in
// a scene, named genes on them and matchings of chosen bit scores.
class CoverageScene
{
public:
    GC_GenomeScene scene;

    // A genome of the given id (taken from the process-wide counter), range
    // (1, length), in the top or low row.
    GC_Genome *addGenome(int id, int length, bool top, const QString &name = QString());
    // A gene in feature order (to < from is the reverse strand).
    GC_Gene *addGene(GC_Genome *genome, int from, int to, const QString &name = QString());
    GC_GenomeMatching *addMatching(GC_Genome *top, int topFrom, int topTo, GC_Genome *low,
                                   int lowFrom, int lowTo, double bitScore);
};

#endif
