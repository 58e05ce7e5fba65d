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
    // Adds count more matchings between the two genomes of build().
    void addMatchings(GC_GenomeScene &scene, int count);
    // Adds count annotations, half on each genome, spread along them.
    void addAnotations(int count);

    GC_Genome *top() const { return m_top; }
    GC_Genome *low() const { return m_low; }

private:
    struct Block
    {
        int topStart;
        int length;
        int lowStart;
        bool inverted;
    };
    int lowPosition(int topPosition) const;

    QList<Block> m_blocks;
    quint32 m_matchingSeed = 0;
    GC_Genome *m_top = nullptr;
    GC_Genome *m_low = nullptr;
};

#endif
