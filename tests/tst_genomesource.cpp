#include "kestal_test.h"

#include "comparison_database_fixture.h"
#include "gc_comparisondatabasebuilder.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_rfamhomologies.h"
#include "gc_sqlconnection.h"

#include <QSqlQuery>
#include <QTemporaryDir>

class TestGenomeSource : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    static int count(const QString &file, const QString &sql)
    {
        GC_SqlConnection connection("tst_count", file, GC_SqlConnection::ReadOnly);
        QSqlQuery query(connection.database());
        return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
    }

    // A canvas with two genomes: the first with rfamHits RFAM hits, the
    // second with two.
    QString canvasWithRfamHits(const QString &name, int rfamHits, QList<int> *ids)
    {
        GC_GenomeScene scene;
        for (int g = 0; g < 2; ++g) {
            auto *genome = new GC_Genome;
            genome->setDnaSequence(QString(2000, 'A'));
            genome->setCoords(GC_Interval(1, 2000));
            genome->addGene(new GC_Gene);
            for (int hit = 0; hit < (g == 0 ? rfamHits : 2); ++hit)
                genome->getRfamHomologies()->addRfamMatching(10 * hit + 1, 10 * hit + 9, hit, "RF", 1e-5f, 50.0f);
            scene.insertTopGenome(genome);
            ids->append(genome->getId());
        }
        scene.setFileName(dir.filePath(name));
        if (!scene.saveToKestalCanvas())
            return QString();
        return dir.filePath(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
    }

    void theSequenceIsReadFromTheSourceFile()
    {
        const QString db = dir.filePath("sequence.kestal");
        GC_ComparisonDatabaseBuilder builder;
        builder.setPath(db);
        builder.setFastaRecords({{"first", "TTTT"}, {"second", "ACGTACGT"}});
        QMap<QString, int> ids;
        QVERIFY2(builder.build(ids), qPrintable(builder.lastErrorText()));

        GC_Genome genome;
        genome.setDatabase(db);
        genome.setDatabaseId(ids.value("second"));
        QCOMPARE(genome.getDnaSequence(GC_Interval(3, 5)), QString("GTA"));
        QCOMPARE(genome.getDnaSequence(), QString("ACGTACGT"));
        // Not kept in memory: each call reads the file again, the very file
        // it was read from. Another database put in its place is not read;
        // the file itself, written over in place, no longer is either.
        const QString other = dir.filePath("other.kestal");
        GC_ComparisonDatabaseBuilder otherBuilder;
        otherBuilder.setPath(other);
        otherBuilder.setFastaRecords({{"first", "GGGG"}, {"second", "CCCCCCCC"}});
        QVERIFY2(otherBuilder.build(ids), qPrintable(otherBuilder.lastErrorText()));
        QVERIFY(QFile::rename(db, db + ".aside") && QFile::rename(other, db));
        QCOMPARE(genome.getDnaSequence(), QString("ACGTACGT"));
        GC_Genome overwritten;
        overwritten.setDatabase(db);
        overwritten.setDatabaseId(ids.value("second"));
        QCOMPARE(overwritten.getDnaSequence(), QString("CCCCCCCC"));
        {
            GC_SqlConnection writer("genomesource_writer", db);
            QVERIFY(QSqlQuery(writer.database()).exec("UPDATE genomes SET dna_sequence = 'AAAA'"));
        }
        QCOMPARE(overwritten.getDnaSequence(), QString());

        // A canvas names the column dnaSequence.
        GC_GenomeScene scene;
        auto *saved = new GC_Genome;
        saved->setDnaSequence("GGGCCCAT");
        saved->setCoords(GC_Interval(1, 8));
        scene.insertTopGenome(saved);
        scene.setFileName(dir.filePath("sequence.kcv"));
        QVERIFY(scene.saveToKestalCanvas());
        GC_Genome reader;
        reader.setDatabase(dir.filePath("sequence.kcv"));
        reader.setDatabaseId(saved->getId());
        QCOMPARE(reader.getDnaSequence(GC_Interval(7, 8)), QString("AT"));
    }

    void storedHitsAreCounted()
    {
        QList<int> ids;
        const QString canvas = canvasWithRfamHits("count.kcv", 12, &ids);
        QVERIFY(!canvas.isEmpty());
        GC_Genome genome;
        genome.setDatabase(canvas);
        genome.setDatabaseId(ids.at(0));
        QCOMPARE(genome.countDatabaseRfamMatchings(), 12);
        QCOMPARE(genome.getDatabaseRfamMatchingsCount(), 12);
        QCOMPARE(genome.countDatabaseCogMatchings(), 0);

        // No file, or a file without the table: -1.
        genome.setDatabase(dir.filePath("gone.kcv"));
        QCOMPARE(genome.countDatabaseRfamMatchings(), -1);
        QCOMPARE(genome.getDatabaseRfamMatchingsCount(), -1);
        QVERIFY(!QFile::exists(dir.filePath("gone.kcv")));
        const QString db = dir.filePath("nohits.kestal");
        QVERIFY(ComparisonDatabaseFixture::build(dir.path(), db, {{"x", 100, {}, 1}}));
        genome.setDatabase(db);
        QCOMPARE(genome.countDatabaserRNAMatchings(), -1);
    }

    void deletingAFamilyEmptiesItInMemoryAndInTheFile()
    {
        QList<int> ids;
        const QString canvas = canvasWithRfamHits("delete.kcv", 12, &ids);
        GC_GenomeScene scene;
        QVERIFY(scene.loadKestalCanvas(canvas));
        scene.addItemsToScene();
        GC_Genome *genome = scene.topGenomes().first();
        QCOMPARE(genome->getDatabaseRfamMatchingsCount(), 12);
        genome->getRfamHomologies()->addRfamMatching(1, 5, 1, "RF", 1e-3f, 10.0f);
        genome->setShowRfamHomologies(true);
        genome->setSelected(true);
        QVERIFY(genome->isSelected());

        QCOMPARE(genome->deleteRfamMatchings(), 0);
        QCOMPARE(genome->countRfamMatchings(), 0);
        QVERIFY(!genome->getShowRfamHomologies());
        QVERIFY(!genome->isSelected());
        QCOMPARE(count(canvas, QString("SELECT count(*) FROM rfam_matchings WHERE genomeId = %1").arg(ids.at(0))), 0);
        // The other genome's rows stay.
        QCOMPARE(count(canvas, QString("SELECT count(*) FROM rfam_matchings WHERE genomeId = %1").arg(ids.at(1))), 2);

        // Only the hit tables can be emptied this way.
        genome->deleteRecordsFromTableDatabase("genes");
        QCOMPARE(count(canvas, "SELECT count(*) FROM genes"), 2);

        // A genome owning a share of a key that others carry too (older
        // canvases) replaces only its share, which then names the new rows.
        GC_Genome sharing;
        sharing.setDatabase(canvas);
        sharing.setDatabaseId(ids.at(1));
        const int first = count(canvas, QString("SELECT min(rowid) FROM rfam_matchings WHERE genomeId = %1").arg(ids.at(1)));
        sharing.storedHits().setShare(GC_GenomeSource::Rfam, {first});
        QCOMPARE(sharing.getDatabaseRfamMatchingsCount(), 1);
        QString reason;
        QVERIFY2(sharing.storedHits().replace(GC_GenomeSource::Rfam,
                                              {{7, 100, 200, 1e-9, 70.0}, {8, 300, 400, 1e-9, 70.0}}, &reason),
                 qPrintable(reason));
        QCOMPARE(sharing.countDatabaseRfamMatchings(), 2);
        QCOMPARE(count(canvas, QString("SELECT count(*) FROM rfam_matchings WHERE genomeId = %1").arg(ids.at(1))), 3);
        QCOMPARE(count(canvas, QString("SELECT count(*) FROM rfam_matchings WHERE rowid = %1").arg(first)), 0);
        qint64 sum = 0;
        for (const qint64 rowId : *sharing.storedHits().share(GC_GenomeSource::Rfam))
            sum += rowId;
        QCOMPARE(sum, qint64(count(canvas, "SELECT sum(rowid) FROM rfam_matchings WHERE rfam_seqid IN (7, 8)")));
        QCOMPARE(sharing.deleteRfamMatchings(), 0);
        QCOMPARE(count(canvas, QString("SELECT count(*) FROM rfam_matchings WHERE genomeId = %1").arg(ids.at(1))), 1);
    }

    void readingRaisesTheIdCounter()
    {
        const QString file = dir.filePath("ids.kcv");
        {
            GC_SqlConnection connection("tst_ids", file);
            QSqlQuery query(connection.database());
            QVERIFY(query.exec(GC_Genome::sqlCreateTable()));
            QVERIFY(query.exec("INSERT INTO genomes ( id , place , nucfrom , nucto , pixPerNuc ) "
                               "VALUES ( 7 , 0 , 1 , 100 , 1.0 )"));
            QVERIFY(query.exec("INSERT INTO genomes ( id , place , nucfrom , nucto , pixPerNuc ) "
                               "VALUES ( 3 , 0 , 1 , 100 , 1.0 )"));
        }
        GC_SqlConnection connection("tst_ids_read", file, GC_SqlConnection::ReadOnly);
        QSqlQuery query(connection.database());
        QVERIFY(query.exec(GC_Genome::sqlSelect()));

        QVERIFY(query.next());
        GC_Genome seven;
        GC_Genome::genomeIdCounter = 7;
        seven.loadItem(query, connection.database());
        QCOMPARE(seven.getId(), 7);
        QCOMPARE(seven.getDatabaseId(), 7);
        QCOMPARE(GC_Genome::genomeIdCounter, 8);

        QVERIFY(query.next());
        GC_Genome three;
        GC_Genome::genomeIdCounter = 10;
        three.loadItem(query, connection.database());
        QCOMPARE(three.getId(), 3);
        QCOMPARE(GC_Genome::genomeIdCounter, 10);
        QCOMPARE(three.getCoords(), GC_Interval(1, 100));
    }
};

KESTAL_TEST_MAIN(TestGenomeSource)
#include "tst_genomesource.moc"
