#include "bench_scenebuilder.h"

#include "gc_anotation.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

namespace {

QString randomSequence(QRandomGenerator &random, int length)
{
    static const char letters[] = "ACGT";
    QString sequence(length, QLatin1Char('A'));
    for (int i = 0; i < length; ++i)
        sequence[i] = QLatin1Char(letters[random.bounded(4)]);
    return sequence;
}

} // namespace

void BenchSceneBuilder::build(GC_GenomeScene &scene)
{
    QRandomGenerator random(seed);
    m_top = new GC_Genome;
    m_top->setName(QStringLiteral("synthetic genome A"));
    m_top->setCoords(GC_Interval(1, genomeLength));
    m_low = new GC_Genome;
    m_low->setName(QStringLiteral("synthetic genome B"));
    m_low->setCoords(GC_Interval(1, genomeLength));
    if (withSequence) {
        const QString sequence = randomSequence(random, genomeLength);
        m_top->setDnaSequence(sequence);
        m_low->setDnaSequence(sequence);
    }

    // The low genome: the top one's blocks in a shuffled order, a quarter
    // of them inverted.
    const int blockLength = genomeLength / blockCount;
    QList<int> order(blockCount);
    std::iota(order.begin(), order.end(), 0);
    for (int i = blockCount - 1; i > 0; i -= 3)
        std::swap(order[i], order[int(random.bounded(i + 1))]);
    QList<Block> &blocks = m_blocks;
    blocks.resize(blockCount);
    for (int position = 0; position < blockCount; ++position) {
        const int index = order[position];
        blocks[index] = {index * blockLength + 1, blockLength, position * blockLength + 1,
                         random.bounded(4) == 0};
    }

    // Genes spread evenly with some jitter, on both strands, in both genomes.
    const int spacing = genomeLength / geneCount;
    for (int i = 0; i < geneCount; ++i) {
        const int start = 1 + i * spacing + int(random.bounded(spacing / 4 + 1));
        const int end = std::min(genomeLength, start + spacing / 2 + int(random.bounded(spacing / 4 + 1)));
        const bool reverse = random.bounded(2) == 0;
        auto *gene = new GC_Gene;
        gene->setId(i);
        gene->setName(QStringLiteral("gene_%1").arg(i));
        gene->setFromTo(reverse ? end : start, reverse ? start : end);
        m_top->addGene(gene);
        auto *copy = new GC_Gene;
        copy->setId(i);
        copy->setName(gene->getName());
        const int a = lowPosition(start), b = lowPosition(end);
        copy->setFromTo(reverse ? b : a, reverse ? a : b);
        m_low->addGene(copy);
    }

    scene.insertTopGenome(m_top);
    scene.insertLowGenome(m_low);
    scene.addItemsToScene();
    m_top->arrangeChildren(0);
    m_low->arrangeChildren(1);

    m_matchingSeed = seed + 1;
    addMatchings(scene, matchingCount);
    scene.slotViewAdjustToWidth();
}

int BenchSceneBuilder::lowPosition(int topPosition) const
{
    const int blockLength = genomeLength / blockCount;
    const Block &block = m_blocks[std::min(blockCount - 1, (topPosition - 1) / blockLength)];
    const int offset = topPosition - block.topStart;
    return block.inverted ? block.lowStart + block.length - 1 - offset : block.lowStart + offset;
}

// Matchings: stretches within one block, in hit order.
void BenchSceneBuilder::addMatchings(GC_GenomeScene &scene, int count)
{
    QRandomGenerator random(m_matchingSeed++);
    for (int i = 0; i < count; ++i) {
        const Block &block = m_blocks[int(random.bounded(blockCount))];
        const int length = 100 + int(random.bounded(2000));
        const int offset = int(random.bounded(block.length - length));
        const int topFrom = block.topStart + offset;
        const int topTo = topFrom + length - 1;
        scene.addMatching(m_top, m_low, topFrom, topTo, lowPosition(topFrom), lowPosition(topTo),
                          60.0 + random.bounded(40.0), 50.0 + random.bounded(3000.0));
    }
}

void BenchSceneBuilder::addAnotations(int count)
{
    QRandomGenerator random(seed + 2);
    GC_Genome *genomes[] = {m_top, m_low};
    const int spacing = std::max(1, 2 * genomeLength / std::max(1, count));
    for (int i = 0; i < count; ++i) {
        const int start = 1 + (i / 2) * spacing + int(random.bounded(spacing / 2 + 1));
        const int end = std::min(genomeLength, start + 50 + int(random.bounded(spacing / 2 + 1)));
        auto *anotation = new GC_Anotation;
        anotation->setId(i);
        anotation->setName(QStringLiteral("site_%1").arg(i));
        anotation->setCoords(GC_Interval(start, end));
        anotation->setY(i % 2 ? 14.0 : -14.0);
        genomes[i % 2]->addAnotation(anotation);
        anotation->updateVisibility();
        anotation->updateTextVisibility();
    }
}
