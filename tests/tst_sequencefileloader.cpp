#include "kestal_test.h"

#include "comparison_database_fixture.h"
#include "gc_comparisondatabasebuilder.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_sqlconnection.h"
#include "sqlite_file_lock.h"
#include "test_data.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <tuple>

class TestSequenceFileLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    static QByteArray feature(const QByteArray &location, const QByteArray &product)
    {
        return "     CDS             " + location + "\n                     /product=\"" + product
               + "\"\n";
    }

    // "from..to" of every segment row of the genome the builder stored from
    // one file (the first row of genomes).
    static QString builtGenome(const QString &path)
    {
        QString result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_built");
            db.setDatabaseName(path);
            if (db.open()) {
                QSqlQuery genome("SELECT id, name, length FROM genomes ORDER BY id LIMIT 1", db);
                if (genome.next()) {
                    QStringList genes;
                    QSqlQuery segments(db);
                    segments.prepare("SELECT segment_from, segment_to FROM segments WHERE id_genome = ? ORDER BY oid");
                    segments.addBindValue(genome.value(0));
                    segments.exec();
                    while (segments.next())
                        genes << segments.value(0).toString() + ".." + segments.value(1).toString();
                    result = QString("%1 | %2 | %3").arg(genome.value(1).toString(), genome.value(2).toString(),
                                                          genes.join(' '));
                }
            }
        }
        QSqlDatabase::removeDatabase("tst_built");
        return result;
    }

    static QList<QPair<int, int>> geneRanges(const GC_Genome *genome)
    {
        QList<QPair<int, int>> ranges;
        for (const GC_Gene *gene : genome->getGenes())
            ranges.append({gene->getCoords().start(), gene->getCoords().end()});
        return ranges;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
    }

    void aGenbankFileGivesAGenePerFeature()
    {
        const QString file = dir.filePath("record.gb");
        const QByteArray features = feature("300..400", "forward") + feature("complement(100..200)", "backward")
                                    + feature("250", "single base") + feature("10..20", "ten")
                                    + feature("9..15", "nine");
        const QByteArray dna = TestData::randomDna(600, 5);
        QVERIFY(TestData::writeFile(file, TestData::genbankRecord("Test phage, complete genome", features, dna)));
        GC_GenomeScene scene;
        QVERIFY(scene.loadGenomeFromFile(file, 0));
        QCOMPARE(scene.topGenomes().size(), 1);
        QVERIFY(scene.lowGenomes().isEmpty());
        const GC_Genome *genome = scene.topGenomes().first();
        QCOMPARE(genome->getName(), QString("Test phage, complete genome"));
        QCOMPARE(genome->getCoords(), GC_Interval(1, 600));
        QCOMPARE(genome->getDnaSequence(), QString::fromLatin1(dna).toUpper());
        QVERIFY(genome->getDatabase().isEmpty());
        QCOMPARE(genome->getPlacement(), 0);
        // Ordered by range text: "10..20", "100..200", "250", "300..400",
        // "9..15"; the single base makes no gene but takes its number.
        QCOMPARE(geneRanges(genome),
                 (QList<QPair<int, int>>{{10, 20}, {100, 200}, {300, 400}, {9, 15}}));
        QList<int> ids;
        QStringList names;
        QList<int> orientations;
        for (const GC_Gene *gene : genome->getGenes()) {
            ids << gene->getId();
            names << gene->getName();
            orientations << gene->getOrientation();
        }
        QCOMPARE(ids, (QList<int>{0, 1, 3, 4}));
        QCOMPARE(names, (QStringList{"ten", "backward", "forward", "nine"}));
        QCOMPARE(orientations, (QList<int>{1, -1, 1, 1}));
        QVERIFY(genome->getShowGenes());
        QVERIFY(!genome->scene());
    }

    void aGenbankFileWithoutFeaturesOrName()
    {
        const QString file = dir.filePath("bare.gb");
        QVERIFY(TestData::writeFile(file, TestData::genbankRecord("", "", TestData::randomDna(90, 6))));
        GC_GenomeScene scene;
        QVERIFY(scene.loadGenomeFromFile(file, 0));
        QCOMPARE(scene.topGenomes().first()->countGenes(), 0);
        QCOMPARE(scene.topGenomes().first()->getName(), QString());
    }

    void moreThan200GenesAreSwitchedOff()
    {
        GC_GenomeScene scene;
        for (const int count : {201, 200}) {
            QByteArray features;
            for (int g = 0; g < count; ++g)
                features += feature(QByteArray::number(1 + 40 * g) + ".." + QByteArray::number(30 + 40 * g), "p");
            const QString file = dir.filePath(QString("many%1.gb").arg(count));
            QVERIFY(TestData::writeFile(file, TestData::genbankRecord("many", features, TestData::randomDna(9000, 7))));
            QVERIFY(scene.loadGenomeFromFile(file, 0));
        }
        QCOMPARE(scene.topGenomes().at(0)->countGenes(), 201);
        QVERIFY(!scene.topGenomes().at(0)->getShowGenes());
        QCOMPARE(scene.topGenomes().at(1)->countGenes(), 200);
        QVERIFY(scene.topGenomes().at(1)->getShowGenes());
    }

    void aFastaFileGivesItsFirstRecord()
    {
        const QString file = dir.filePath("two.fasta");
        QVERIFY(TestData::writeFile(file, ">first  record\nACGT\nacgt\n>second\nTTTTTTTT\n"));
        GC_GenomeScene scene;
        QVERIFY(scene.loadGenomeFromFile(file, 0));
        QCOMPARE(scene.topGenomes().size(), 1);
        const GC_Genome *genome = scene.topGenomes().first();
        QCOMPARE(genome->getName(), QString("first record"));
        QCOMPARE(genome->getDnaSequence(), QString("ACGTACGT"));
        QCOMPARE(genome->getCoords(), GC_Interval(1, 8));
        QCOMPARE(genome->countGenes(), 0);
    }

    void aComparisonDatabaseGivesTheIndexedGenome()
    {
        const QString db = dir.filePath("pair.kestal");
        QString error;
        QVERIFY2(ComparisonDatabaseFixture::build(dir.path(), db,
                                                  {{"Zero", 500, {{5, 50}}, 8},
                                                   {"One", 700, {{10, 100}, {300, 200}}, 9}},
                                                  &error),
                 qPrintable(error));
        GC_GenomeScene scene;
        QVERIFY(scene.loadGenomeFromFile(db, 1));
        const GC_Genome *genome = scene.topGenomes().first();
        QCOMPARE(genome->getName(), QString("One"));
        QCOMPARE(genome->getCoords(), GC_Interval(1, 700));
        QCOMPARE(genome->getDatabase(), db);
        QCOMPARE(geneRanges(genome), (QList<QPair<int, int>>{{10, 100}, {200, 300}}));
        QCOMPARE(genome->getGenes().at(1)->getOrientation(), -1);
        // No genome with that id: a failure, nothing added.
        QVERIFY(!scene.loadGenomeFromFile(db, 5));
        QCOMPARE(scene.topGenomes().size(), 1);
        QVERIFY(scene.lastErrorText().contains(db));

        // Values no writer stores are damage, named by their table.
        for (const auto &[statement, named] : QList<QPair<QString, QString>>{
                 {"UPDATE genomes SET dna_sequence = substr(dna_sequence, 1, 9) || char(0) "
                  "|| substr(dna_sequence, 11) WHERE id = 1", "genomes table"},
                 {"UPDATE segments SET segment_to = -200 WHERE segment_to = 200", "segments table"},
                 {"UPDATE genomes SET length = 2147483647 WHERE id = 1", "genomes table"}}) {
            const QString damaged = dir.filePath("damaged_pair.kestal");
            QFile::remove(damaged);
            QVERIFY(QFile::copy(db, damaged));
            {
                GC_SqlConnection file("damage", damaged);
                QSqlQuery query(file.database());
                QVERIFY2(query.exec(statement) && query.numRowsAffected() == 1, qPrintable(statement));
            }
            QVERIFY(!scene.loadGenomeFromFile(damaged, 1));
            QVERIFY2(scene.lastErrorText().contains(QString("The file \"%1\" is damaged").arg(damaged)),
                     qPrintable(scene.lastErrorText()));
            QVERIFY2(scene.lastErrorText().contains(named), qPrintable(scene.lastErrorText()));
            QCOMPARE(scene.topGenomes().size(), 1);
        }
    }

    void aCanvasGivesTheGenomeWithThatId()
    {
        GC_GenomeScene source;
        QList<int> ids;
        for (const char *name : {"first", "second"}) {
            auto *genome = new GC_Genome;
            genome->setName(name);
            genome->setDnaSequence("ACGTACGTAC");
            genome->setCoords(GC_Interval(1, 10));
            auto *gene = new GC_Gene;
            gene->setFromTo(2, 6);
            genome->addGene(gene);
            source.insertLowGenome(genome);
            ids << genome->getId();
        }
        const QString canvas = dir.filePath("two.kcv");
        source.setFileName(canvas);
        QVERIFY(source.saveToKestalCanvas());

        GC_GenomeScene scene;
        QVERIFY(scene.loadGenomeFromFile(canvas, ids.at(1)));
        QCOMPARE(scene.topGenomes().size(), 1);
        GC_Genome *genome = scene.topGenomes().first();
        QCOMPARE(genome->getName(), QString("second"));
        QCOMPARE(genome->getId(), ids.at(1));
        QCOMPARE(genome->countGenes(), 1);
        QCOMPARE(genome->getDatabase(), canvas);
        QVERIFY(scene.fileName().isEmpty());
        // An index that names no genome takes the first one.
        QVERIFY(scene.loadGenomeFromFile(canvas, -100));
        QCOMPARE(scene.topGenomes().at(1)->getName(), QString("first"));

        // A genes table that does not read as written is damage, not a
        // genome without genes.
        QFile file(canvas);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        const qsizetype at = bytes.indexOf("lineColor TEXT , fillColor TEXT , arrowStyle INTEGER, note");
        QVERIFY(at > 0);
        bytes[at + 8] = '2';
        const QString damaged = dir.filePath("damaged.kcv");
        QVERIFY(TestData::writeFile(damaged, bytes));
        QVERIFY(!scene.loadGenomeFromFile(damaged, ids.at(1)));
        QVERIFY2(scene.lastErrorText().contains("is damaged"), qPrintable(scene.lastErrorText()));
        QCOMPARE(scene.topGenomes().size(), 2);

        // Rows no save writes, which opening the canvas whole refuses: a
        // second ruler of the genome; a genome row without an id, taken
        // first where the index names no genome.
        for (const auto &[statement, index, named] : QList<std::tuple<QString, int, QString>>{
                 {"INSERT INTO ruler SELECT * FROM ruler WHERE genomeId = ?", ids.at(1), "ruler table holds"},
                 {"UPDATE genomes SET id = NULL WHERE id = ?", -100, "genomes table holds nothing in its id"}}) {
            QFile::remove(damaged);
            QVERIFY(QFile::copy(canvas, damaged));
            {
                GC_SqlConnection file("damage", damaged);
                QSqlQuery query(file.database());
                QVERIFY(query.prepare(statement));
                query.addBindValue(statement.startsWith("INSERT") ? ids.at(1) : ids.at(0));
                QVERIFY2(query.exec() && query.numRowsAffected() == 1, qPrintable(statement));
            }
            QVERIFY(!scene.loadGenomeFromFile(damaged, index));
            QVERIFY2(scene.lastErrorText().contains(QString("The file \"%1\" is damaged").arg(damaged))
                         && scene.lastErrorText().contains(named),
                     qPrintable(scene.lastErrorText()));
            QCOMPARE(scene.topGenomes().size(), 2);
        }

        // Held locked by another program for longer than the wait: in use,
        // not damaged, and not some other kind of file either.
        SqliteFileLock lock(canvas);
        QVERIFY(lock.isHeld());
        QVERIFY(!scene.loadGenomeFromFile(canvas, ids.at(1)));
        QVERIFY2(scene.lastErrorText().contains(QString("The file \"%1\" is in use by another program").arg(canvas)),
                 qPrintable(scene.lastErrorText()));
        QCOMPARE(scene.topGenomes().size(), 2);
    }

    // The loader and the comparison builder take the same files, read them
    // alike (genes included) and refuse the same ones with the same reason;
    // every refusal leaves its reason in the scene.
    void sequenceFilesReadOrRefusedAlike_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        const QString features = "read as Phage alpha, one blank after the keyword. | 120 | "
                                 "10..20 30..40 55..50 60..57 64..62 70..66 75..72 80..77 85..95";
        for (const QString form : {"lf", "cr", "utf16le"})
            QTest::newRow(qPrintable("Genbank " + form)) << "f.gb" << TestData::corpusFile("features.gb", form) << features;
        // Its second record is left out of the genome, and said.
        QTest::newRow("IUPAC FASTA") << "i.fas" << TestData::corpusFile("iupac.fas", "crlf")
                                     << "read as IUPAC record | 20 |  // PATH holds 2 records; only the "
                                        "first, \"IUPAC record\", is read";
        QTest::newRow("FASTA comment") << "c.fas" << TestData::corpusFile("comment.fas", "cr") << "read as commented | 8 | ";
        const QList<QPair<QString, QString>> refused{
            {"protein.gb", "is a protein record"},
            {"nolocus.gb", "no LOCUS line"},
            {"contig.gb", "holds no sequence: its CONTIG line builds it from other records"},
            {"latin1.fas", "\"latin\" holds \"\uFFFD\" (byte 0xA0) on line 3"},
            {"emptyrecord.fas", "\"first\" holds no sequence letters"},
            {"gaps.fas", "\"gapped\" holds \"-\" on line 2"},
            {"gaps.gb", "its ORIGIN section holds \"-\" on line 8"},
            {"protein.fas", "\"prot\" holds \"L\""},
            {"repeated.fas", "\"same\" is used twice"}};
        for (const auto &row : refused)
            QTest::newRow(qPrintable(row.first)) << row.first << TestData::corpusFile(row.first)
                                                 << "refused: " + row.second;
        QTest::newRow("empty file") << "empty.gb" << QByteArray() << "refused: is empty";
        QTest::newRow("plain text") << "notes.txt" << QByteArray("just some words\n")
                                    << "refused: neither a Genbank nor a FASTA file";
        QTest::newRow("NUL bytes") << "nul.fas" << TestData::corpusFile("iupac.fas", "nul") << "refused: NUL bytes";
        QTest::newRow("binary junk") << "junk.gb" << TestData::corpusFile("iupac.fas", "junk") << "refused: binary file";
        QTest::newRow("folder") << "folder.gb" << QByteArray() << "refused: is a folder";
    }

    void sequenceFilesReadOrRefusedAlike()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString path = dir.filePath(QString(QTest::currentDataTag()).replace(' ', '_') + "/" + file);
        if (file.startsWith("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(TestData::writeFile(path, content));

        GC_GenomeScene scene;
        QStringList leftOut;
        const bool loaded = scene.loadGenomeFromFile(path, 0, &leftOut);
        GC_ComparisonDatabaseBuilder builder;
        builder.setPath(dir.filePath("alike.kestal"));
        builder.setGenbankFiles({path});
        QMap<QString, int> ids;
        QCOMPARE(builder.build(ids), loaded);
        if (!loaded) {
            QVERIFY(scene.topGenomes().isEmpty());
            QVERIFY2(expected.startsWith("refused: "), qPrintable(scene.lastErrorText()));
            QVERIFY2(scene.lastErrorText().contains(expected.mid(9)), qPrintable(scene.lastErrorText()));
            QVERIFY2(scene.lastErrorText().contains(path), qPrintable(scene.lastErrorText()));
            QCOMPARE(builder.lastErrorText(), scene.lastErrorText());
            return;
        }
        const GC_Genome *genome = scene.topGenomes().first();
        QStringList genes;
        for (const GC_Gene *gene : genome->getGenes())
            genes << QString("%1..%2").arg(gene->getOrientation() < 0 ? gene->getCoords().end() : gene->getCoords().start())
                         .arg(gene->getOrientation() < 0 ? gene->getCoords().start() : gene->getCoords().end());
        const QString read = QString("%1 | %2 | %3").arg(genome->getName()).arg(genome->getCoords().end()).arg(genes.join(' '));
        QCOMPARE(QStringList(QStringList("read as " + read) + leftOut).join(" // ").replace(path, "PATH"), expected);
        QCOMPARE(builtGenome(builder.path()), read);
    }

    void otherFilesAreRefused()
    {
        const QString text = dir.filePath("notes.txt");
        QVERIFY(TestData::writeFile(text, "just some words\n"));
        GC_GenomeScene scene;
        QVERIFY(!scene.loadGenomeFromFile(text, 0));
        QVERIFY(scene.lastErrorText().contains("neither a Genbank nor a FASTA file"));
        QVERIFY(!scene.loadGenomeFromFile(dir.filePath("missing.gb"), 0));
        QVERIFY(scene.lastErrorText().contains("cannot open the file"));
        QVERIFY(scene.topGenomes().isEmpty());
        // A Genbank file the reader cannot finish: a failure with its
        // reason, nothing added.
        const QString broken = dir.filePath("broken.gb");
        QVERIFY(TestData::writeFile(broken, "LOCUS       X 10 bp\nDEFINITION  broken\n"));
        QVERIFY(!scene.loadGenomeFromFile(broken, 0));
        QVERIFY(scene.topGenomes().isEmpty());
        QVERIFY(scene.lastErrorText().contains(broken));
    }
};

KESTAL_TEST_MAIN(TestSequenceFileLoader)
#include "tst_sequencefileloader.moc"
