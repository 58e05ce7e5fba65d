#ifndef BENCH_SCENEBUILDER_H
#define BENCH_SCENEBUILDER_H

#include <QList>

class GC_Genome;
class GC_GenomeScene;

// Builds a realistic comparison in a scene: a top genome of genomeLength
// nucleotides with geneCount genes and random sequence, and a low genome
// derived from it by cutting it into blocks, moving and inverting some of
// them, joined by matchingCount matchings along the blocks. The items are
// added to the scene and laid out to the width of its first view.
class BenchSceneBuilder
{
public:
    int genomeLength = 5000000;
    int geneCount = 5000;
    int blockCount = 50;
    int matchingCount = 20000;
    bool withSequence = true;
    quint32 seed = 17;

    void build(GC_GenomeScene &scene);

    GC_Genome *top() const { return m_top; }
    GC_Genome *low() const { return m_low; }

private:
    GC_Genome *m_top = nullptr;
    GC_Genome *m_low = nullptr;
};

#endif
