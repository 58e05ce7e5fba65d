#include "coverage_scene.h"

#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"

GC_Genome *CoverageScene::addGenome(int id, int length, bool top, const QString &name)
{
    GC_Genome::genomeIdCounter = id;
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, length));
    genome->setName(name.isEmpty() ? QStringLiteral("genome %1").arg(id) : name);
    if (top)
        scene.insertTopGenome(genome);
    else
        scene.insertLowGenome(genome);
    scene.addItem(genome);
    genome->updateChildren();
    return genome;
}

GC_Gene *CoverageScene::addGene(GC_Genome *genome, int from, int to, const QString &name)
{
    auto *gene = new GC_Gene;
    gene->setFromTo(from, to);
    gene->setName(name.isEmpty() ? QStringLiteral("gene_%1_%2").arg(from).arg(to) : name);
    genome->addGene(gene);
    return gene;
}

GC_GenomeMatching *CoverageScene::addMatching(GC_Genome *top, int topFrom, int topTo,
                                              GC_Genome *low, int lowFrom, int lowTo,
                                              double bitScore)
{
    scene.addMatching(top, low, topFrom, topTo, lowFrom, lowTo, 90.0, bitScore);
    return scene.matchings().last();
}
