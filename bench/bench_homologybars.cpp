// The three homology bars of a 5 Mb genome with 5,000 hits each: filling
// their position indexes (searched and stored hits), the memory the indexes
// take, hover look-ups and a whole-genome repaint.
#include "bench_cogreference.h"
#include "bench_report.h"

#include "gc_coghomologies.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_referencedatabases.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTemporaryDir>

#include <random>

namespace {

const int genomeLength = 5000000;
const int hitCount = 5000;
const int proteinCount = 2000;

struct Hit
{
    int start;
    int end;
};

// Hits spread over the genome with a fixed seed, lengths between the two
// bounds; every tenth is given end first, as reverse-strand BLAST hits are.
QList<Hit> makeHits(quint32 seed, int shortest, int longest)
{
    std::mt19937 engine(seed);
    QList<Hit> hits;
    hits.reserve(hitCount);
    for (int i = 0; i < hitCount; ++i) {
        const int length = shortest + int(engine() % quint32(longest - shortest + 1));
        const int start = 1 + int(engine() % quint32(genomeLength - length));
        if (i % 10 == 0)
            hits.append({start + length - 1, start});
        else
            hits.append({start, start + length - 1});
    }
    return hits;
}

double indexMegabytes(const GC_PositionIndex &index)
{
    const double positions = double(index.lastPosition()) - index.firstPosition() + 1;
    return positions * sizeof(int) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    BenchCogReference reference;
    reference.proteinCount = proteinCount;
    reference.write(dir.filePath("cog.sqlite3"));
    GC_ReferenceDatabases::setFolder(dir.path());
    GC_CogHomologies::openDatabase();

    GC_GenomeScene scene;
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, genomeLength));
    genome->setPixPerNuc(1000.0 / genomeLength);
    scene.insertTopGenome(genome);
    scene.addItemsToScene();
    GC_CogHomologies *cog = genome->getCogHomologies();
    GC_RfamHomologies *rfam = genome->getRfamHomologies();
    GC_rRNAHomologies *rrna = genome->getrRNAHomologies();

    const QList<Hit> cogHits = makeHits(1, 300, 3000);
    const QList<Hit> rfamHits = makeHits(2, 50, 400);
    const QList<Hit> rrnaHits = makeHits(3, 1000, 3000);

    BenchTimer all;
    BenchTimer timer;
    for (int i = 0; i < hitCount; ++i) {
        cog->addCogMatching(cogHits[i].start, cogHits[i].end, i % proteinCount, "COG0001",
                            QString(QChar('A' + i % 25)), 1 + i % 4, 1e-50, 120.0f);
    }
    benchReport("cog_bar_add_5k_searched_hits_5mb", timer.elapsedMs(), "ms");
    timer.restart();
    for (int i = 0; i < hitCount; ++i)
        rfam->addRfamMatching(rfamHits[i].start, rfamHits[i].end, i % 100,
                              QString("RF%1").arg(i % 300, 5, 10, QChar('0')), 1e-10, 60.0f);
    benchReport("rfam_bar_add_5k_searched_hits_5mb", timer.elapsedMs(), "ms");
    timer.restart();
    for (int i = 0; i < hitCount; ++i)
        rrna->addrRNAMatching(rrnaHits[i].start, rrnaHits[i].end, i % 50, 1 + i % 2, 0.0, 2000.0f);
    benchReport("rrna_bar_add_5k_searched_hits_5mb", timer.elapsedMs(), "ms");
    benchReport("homology_bars_fill_3x5k_hits_5mb", all.elapsedMs(), "ms");
    benchReport("homology_bar_index_memory_5mb",
                indexMegabytes(cog->positionMap()) + indexMegabytes(rfam->positionMap())
                    + indexMegabytes(rrna->positionMap()),
                "MB");

    // Hover: one look-up per pointer move.
    timer.restart();
    const int moves = 1000000;
    qint64 found = 0;
    const double left = genome->scenePos().x();
    for (int i = 0; i < moves; ++i)
        found += cog->matchingAt(left + (i % 1000) + 0.25).start() > 0;
    benchReport("cog_bar_hover_lookup", timer.elapsedMs() * 1e6 / moves, "ns");

    // A repaint of the whole COG bar at whole-genome zoom.
    genome->setShowCogHomologies(true);
    QImage image(1000, 40, QImage::Format_ARGB32);
    timer.restart();
    const int frames = 20;
    for (int i = 0; i < frames; ++i) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionGraphicsItem option;
        option.exposedRect = cog->boundingRect();
        cog->paint(&painter, &option);
    }
    benchReport("cog_bar_paint_5k_hits_whole_genome", timer.elapsedMs() / frames, "ms");

    // Stored hits: three look-ups in the COG collection per hit.
    cog->clearMatchings();
    timer.restart();
    int added = 0;
    for (int i = 0; i < hitCount; ++i) {
        const Hit hit = {cogHits[i].start, cogHits[i].start + (i % 1000)};
        added += cog->addCogMatching(hit.start, hit.end, i % proteinCount, 1e-50, 120.0f);
    }
    benchReport("cog_bar_add_5k_stored_hits_5mb", timer.elapsedMs(), "ms");
    if (added != hitCount || found == 0)
        benchReport("cog_bar_unexpected_misses", hitCount - added, "hits");
    GC_ReferenceDatabases::closeAll();
    return 0;
}
