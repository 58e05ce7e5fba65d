#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_coghomologies.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_ruler.h"
#include "gc_sqlconnection.h"
#include "gc_style.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>

namespace {

GC_Genome *makeGenome(GC_GenomeScene &scene, int length, bool top)
{
    auto *genome = new GC_Genome;
    genome->setCoords(GC_Interval(1, length));
    if (top)
        scene.insertTopGenome(genome);
    else
        scene.insertLowGenome(genome);
    scene.addItemsToScene();
    return genome;
}

GC_Gene *makeGene(int from, int to, const QString &name)
{
    auto *gene = new GC_Gene;
    gene->setFromTo(from, to);
    gene->setName(name);
    gene->setNote("note of " + name);
    gene->setLocusTag("TAG_" + name);
    gene->setMetadata("/product=\"" + name + "\"");
    return gene;
}

// A source file holding one genome's sequence, as a canvas or comparison
// database keeps it.
bool writeSourceFile(const QString &path, int id, const QString &sequence)
{
    const QString connection = "genomecopy_source";
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            ok = query.exec("CREATE TABLE genomes ( id INTEGER , dna_sequence TEXT )");
            ok = ok && query.prepare("INSERT INTO genomes ( id , dna_sequence ) VALUES ( ? , ? )");
            query.addBindValue(id);
            query.addBindValue(sequence);
            ok = ok && query.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace

// Styling a genome, copying it and duplicating it on the canvas.
class TestGenomeCopy : public QObject
{
    Q_OBJECT

private slots:
    void styleWithOnlyTheFillColourFlag()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1000, true);
        genome->setPos(5, 6);
        auto *gene = makeGene(10, 90, "a");
        genome->addGene(gene);
        const QColor geneFill = gene->getFillColor();
        const QColor line = genome->getLineColor();
        const double heightBig = genome->getHeightBig();

        GC_Style style;
        style.applyGenomeFillColor = true;
        style.genomeFillColor = Qt::magenta;
        style.genomeLineColor = Qt::cyan;
        style.genomeHeightBig = 40.0;
        style.genomeX = 300.0;
        style.applyGeneFillColor = true;
        style.geneFillColor = Qt::yellow;
        genome->setStyle(style, false, false);
        QCOMPARE(genome->getFillColor(), QColor(Qt::magenta));
        QCOMPARE(genome->getLineColor(), line);
        QCOMPARE(genome->getHeightBig(), heightBig);
        QCOMPARE(genome->pos(), QPointF(5, 6));
        QCOMPARE(gene->getFillColor(), geneFill); // children not asked
    }

    void styleReachesTheChildren()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(scene, 1000, true);
        GC_Genome *low = makeGenome(scene, 1000, false);
        auto *gene = makeGene(10, 90, "a");
        top->addGene(gene);
        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(100, 200));
        top->addAnotation(anotation);
        scene.addMatching(top, low, 1, 100, 1, 100, 90.0, 200.0);
        GC_GenomeMatching *matching = scene.matchings().first();

        GC_Style style;
        style.applyGeneFillColor = true;
        style.geneFillColor = Qt::yellow;
        style.applyAnotationFillColor = true;
        style.anotationFillColor = Qt::darkCyan;
        style.applyMatchingStraightColor = true;
        style.matchingStraightColor = Qt::darkRed;
        style.applyRulerPixsPerPeriod = true;
        style.rulerPixsPerPeriod = 33;
        top->setStyle(style, false, true);
        QCOMPARE(gene->getFillColor(), QColor(Qt::yellow));
        QCOMPARE(anotation->getFillColor(), QColor(Qt::darkCyan));
        QCOMPARE(matching->color(), QColor(Qt::darkRed));
        QCOMPARE(top->getRuler()->getPixsPerPeriod(), 33);
    }

    // Forced, every value is applied, the position included; a scale of 0
    // in an unfilled record is refused.
    void forcedStyleMovesTheGenome()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 1000, true);
        GC_Style style;
        style.genomeX = 120.0;
        style.genomeY = 80.0;
        style.genomeOrientation = -1;
        style.genomePixPerNuc = 0.0;
        style.genomeShowRuler = false;
        style.genomeTextAngle = 30.0;
        style.genomeHeightBig = 12.0;
        style.genomeHeightSmall = 6.0;
        style.genomeFillColor = Qt::green;
        genome->setStyle(style, true, false);
        QCOMPARE(genome->pos(), QPointF(120, 80));
        QCOMPARE(genome->getOrientation(), -1);
        QCOMPARE(genome->getPixPerNuc(), 1.0);
        QVERIFY(!genome->getShowRuler());
        QCOMPARE(genome->getTextAngle(), 30.0);
        QCOMPARE(genome->getHeightBig(), 12.0);
        QCOMPARE(genome->getHeightSmall(), 6.0);
        QCOMPARE(genome->getFillColor(), QColor(Qt::green));
    }

    void copyCarriesSettingsGenesAndAnotations()
    {
        GC_GenomeScene scene;
        GC_Genome *genome = makeGenome(scene, 2000, true);
        genome->setName("phage T7");
        genome->setDnaSequence(QString(2000, QLatin1Char('G')));
        genome->setCoords(GC_Interval(11, 1990));
        genome->setOrientation(-1);
        genome->setPixPerNuc(0.5);
        genome->setDatabaseId(4);
        genome->setShowGCcontent(true);
        genome->setShowGenes(false);
        genome->setTextAngle(12.0);
        genome->setFillColor(Qt::darkYellow);
        genome->getRuler()->setPixsPerPeriod(50);
        genome->getGCcontentBar()->setHeight(55.0);
        genome->addGene(makeGene(100, 400, "rpoB"));
        genome->addGene(makeGene(900, 500, "rpoC"));
        auto *anotation = new GC_Anotation;
        anotation->setCoords(GC_Interval(600, 700));
        anotation->setName("island");
        genome->addAnotation(anotation);
        GC_Genome *other = makeGenome(scene, 2000, false);
        scene.addMatching(genome, other, 20, 100, 20, 100, 90.0, 100.0);

        GC_Genome copy(*genome);
        QCOMPARE(copy.getId(), genome->getId());
        QCOMPARE(copy.getName(), QString("phage T7"));
        QCOMPARE(copy.getCoords(), GC_Interval(11, 1990));
        QCOMPARE(copy.getOrientation(), -1);
        QCOMPARE(copy.getPixPerNuc(), 0.5);
        QCOMPARE(copy.getDatabaseId(), 4);
        QCOMPARE(copy.getDnaSequence().size(), 2000);
        QCOMPARE(copy.getGCcontent(), 1.0);
        QVERIFY(copy.getShowGCcontent());
        QVERIFY(!copy.getShowGenes());
        QCOMPARE(copy.getTextAngle(), 12.0);
        QCOMPARE(copy.getFillColor(), QColor(Qt::darkYellow));
        QCOMPARE(copy.getRuler()->getPixsPerPeriod(), 50);
        QCOMPARE(copy.getRuler()->getGenome(), &copy);
        QCOMPARE(copy.getGCcontentBar()->height(), 55.0);
        QCOMPARE(copy.getGCcontentBar()->parentGenome(), &copy);
        QCOMPARE(copy.getGCcontentBar()->maxGC(), 1.0);

        QCOMPARE(copy.countGenes(), 2);
        const GC_Gene *gene = copy.getGenes().at(1);
        QVERIFY(gene != genome->getGenes().at(1));
        QCOMPARE(gene->getGenome(), &copy);
        QCOMPARE(gene->getName(), QString("rpoC"));
        QCOMPARE(gene->getCoords(), GC_Interval(500, 900));
        QCOMPARE(gene->getOrientation(), -1);
        QCOMPARE(gene->getNote(), QString("note of rpoC"));
        QCOMPARE(gene->getLocusTag(), QString("TAG_rpoC"));
        QCOMPARE(gene->getMetadata(), QString("/product=\"rpoC\""));
        QCOMPARE(copy.getAnotations().size(), 1);
        QCOMPARE(copy.getAnotations().first()->getName(), QString("island"));
        QCOMPARE(copy.getAnotations().first()->getGenome(), &copy);

        // No matchings and empty homology bars of its own.
        QCOMPARE(copy.countMatchings(), 0);
        QCOMPARE(genome->countMatchings(), 1);
        QCOMPARE(copy.getDatabaseCogMatchingsCount(), 0);
        QVERIFY(copy.getCogHomologies() != genome->getCogHomologies());
    }

    // A sequence kept only in the source file is held in memory by the copy.
    void copyReadsTheSequenceFromTheSourceFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("source.kcv");
        const QString sequence = "ACGTACGTGGCCAAGGTT";
        QVERIFY(writeSourceFile(path, 7, sequence));
        GC_Genome genome;
        genome.setCoords(GC_Interval(1, int(sequence.size())));
        genome.setDatabase(path);
        genome.setDatabaseId(7);
        QCOMPARE(genome.getDnaSequence(), sequence);

        GC_Genome copy(genome);
        {
            // Changed in place by another program: the genome no longer
            // reads it, the copy need not.
            GC_SqlConnection other("genomecopy_other", path);
            QVERIFY(QSqlQuery(other.database()).exec("UPDATE genomes SET dna_sequence = 'TTTT'"));
        }
        QCOMPARE(genome.getDnaSequence(), QString());
        QCOMPARE(copy.getDnaSequence(), sequence);
        QCOMPARE(copy.getDatabase(), path);
    }

    // A genome of the low row with three matchings: the copy stands 20 right
    // and 20 down in the low row, with three new matchings to the same top
    // genomes, each with an id of its own.
    void duplicateJoinsCopiedMatchings()
    {
        GC_GenomeScene scene;
        GC_Genome *topA = makeGenome(scene, 1000, true);
        GC_Genome *topB = makeGenome(scene, 1000, true);
        GC_Genome *low = makeGenome(scene, 1000, false);
        low->setPos(40, 200);
        low->addGene(makeGene(10, 200, "g"));
        scene.addMatching(topA, low, 1, 100, 1, 100, 90.0, 100.0);
        scene.addMatching(topA, low, 200, 300, 400, 300, 80.0, 50.0);
        scene.addMatching(topB, low, 500, 600, 700, 800, 70.0, 30.0);
        const QList<GC_GenomeMatching *> originals = scene.matchings();
        QSet<int> ids;
        for (GC_GenomeMatching *m : originals)
            ids.insert(m->id());
        QCOMPARE(ids.size(), 3);

        GC_Genome *copy = low->duplicate();
        QVERIFY(copy);
        QCOMPARE(copy->scene(), &scene);
        QCOMPARE(copy->pos(), QPointF(60, 220));
        QVERIFY(scene.lowGenomes().contains(copy));
        QVERIFY(!scene.isTopGenome(copy));
        QCOMPARE(copy->countGenes(), 1);

        QCOMPARE(scene.countMatchings(), 6);
        QCOMPARE(low->countMatchings(), 3);
        QCOMPARE(copy->countMatchings(), 3);
        for (GC_GenomeMatching *m : copy->getMatchings()) {
            QCOMPARE(m->lowGenome(), copy);
            QVERIFY(m->topGenome() == topA || m->topGenome() == topB);
            QCOMPARE(m->scene(), &scene);
            QVERIFY(scene.hasMatching(m));
            QVERIFY2(!ids.contains(m->id()), qPrintable(QString::number(m->id())));
            ids.insert(m->id());
        }
        QCOMPARE(ids.size(), 6);
        QCOMPARE(topA->countMatchings(), 4);
        QCOMPARE(topB->countMatchings(), 2);
        // The copied band of the reverse hit keeps its ends.
        bool reverseCopied = false;
        for (GC_GenomeMatching *m : copy->getMatchings())
            reverseCopied |= m->lowFrom() == 400 && m->lowTo() == 300 && m->topFrom() == 200;
        QVERIFY(reverseCopied);
        // A later matching cannot take an id the copies took.
        scene.addMatching(topB, copy, 1, 10, 1, 10, 50.0, 20.0);
        QVERIFY(GC_GenomeMatching::nextId > *std::max_element(ids.begin(), ids.end()));
    }

    // The copy's id is new to the scene and to the process: genomes made
    // afterwards never repeat it.
    void duplicateTakesAFreshGenomeId()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(scene, 500, true);
        GC_Genome *low = makeGenome(scene, 500, false);
        QSet<int> ids = {top->getId(), low->getId()};

        GC_Genome *copy = top->duplicate();
        QVERIFY(!ids.contains(copy->getId()));
        QCOMPARE(copy->getId(), scene.maxGenomeId());
        QVERIFY(scene.isTopGenome(copy));
        ids.insert(copy->getId());
        GC_Genome later;
        QVERIFY(!ids.contains(later.getId()));

        // Ids read from a file can lie above the counter: the copy then
        // takes the largest plus one and the counter moves past it.
        GC_Genome::genomeIdCounter = 0;
        GC_Genome *again = low->duplicate();
        QCOMPARE(again->getId(), copy->getId() + 1);
        QVERIFY(GC_Genome::genomeIdCounter > again->getId());
        GC_Genome afterwards;
        QVERIFY(afterwards.getId() > again->getId());
        QVERIFY(scene.isModified());
    }

    // A copied band obeys the threshold and switches as its original does.
    void duplicatedBandsFollowTheThreshold()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(scene, 1000, true);
        GC_Genome *low = makeGenome(scene, 1000, false);
        low->setPos(0, 200);
        scene.addMatching(top, low, 1, 100, 1, 100, 90.0, 10.0);
        scene.addMatching(top, low, 200, 300, 200, 300, 90.0, 500.0);
        scene.slotViewMatchingsBitScore(100.0);
        int shownBefore = 0;
        for (GC_GenomeMatching *m : low->getMatchings())
            shownBefore += m->isVisible() ? 1 : 0;
        QCOMPARE(shownBefore, 1);

        GC_Genome *copy = low->duplicate();
        QVERIFY(copy);
        for (GC_GenomeMatching *m : copy->getMatchings())
            QCOMPARE(m->isVisible(), m->bitScore() >= 100.0);
    }

    // A clone whose bands are later cut away, saved and read back: every
    // band in the file joins two saved genomes, none twice.
    void aCutCloneSavesAndReloadsItsRemainingBands()
    {
        GC_GenomeScene scene;
        GC_Genome *top = makeGenome(scene, 1000, true);
        GC_Genome *low = makeGenome(scene, 1000, false);
        low->setPos(0, 200);
        for (int i = 0; i < 10; ++i)
            scene.addMatching(top, low, 1 + 100 * i, 50 + 100 * i, 1 + 100 * i, 50 + 100 * i,
                              90.0, 100.0);
        GC_Genome *copy = low->duplicate();
        QVERIFY(copy);
        QCOMPARE(scene.countMatchings(), 20);
        // The clone keeps 1..500: its five bands beyond go, the original's stay.
        copy->setNucTo(500);
        QCOMPARE(copy->countMatchings(), 5);
        QCOMPARE(low->countMatchings(), 10);
        QCOMPARE(top->countMatchings(), 15);
        QCOMPARE(scene.countMatchings(), 15);

        QTemporaryDir dir;
        const QString file = dir.filePath("clone.kcv");
        scene.setFileName(file);
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        GC_GenomeScene again;
        QVERIFY(again.loadKestalCanvas(file));
        QCOMPARE(again.lowGenomes().size(), 2);
        QCOMPARE(again.countMatchings(), 15);
        QSet<int> ids;
        for (GC_GenomeMatching *m : again.matchings()) {
            QVERIFY(m->topGenome() && m->lowGenome());
            ids.insert(m->id());
        }
        QCOMPARE(ids.size(), 15);
        int onClone = 0;
        for (GC_Genome *genome : again.lowGenomes())
            onClone += genome->getCoords() == GC_Interval(1, 500) ? genome->countMatchings() : 0;
        QCOMPARE(onClone, 5);
    }

    void duplicateOutsideASceneDoesNothing()
    {
        GC_Genome genome;
        const int counter = GC_Genome::genomeIdCounter;
        QCOMPARE(genome.duplicate(), nullptr);
        QCOMPARE(GC_Genome::genomeIdCounter, counter);
    }
};

KESTAL_TEST_MAIN(TestGenomeCopy)
#include "tst_genomecopy.moc"
