#include "kestal_test.h"

#include "comparison_database_fixture.h"
#include "gc_comparisondatabase.h"
#include "gc_comparisondatabasebuilder.h"
#include "gc_comparisonreader.h"
#include "gc_fileutils.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_sequenceblaster.h"
#include "gc_sqlconnection.h"
#include "sqlite_file_lock.h"
#include "sqlite_page_damage.h"
#include "sqlite_statement_hook.h"
#include "test_data.h"

#include <QSet>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>

using Fixture = ComparisonDatabaseFixture::Genome;
using Match = ComparisonDatabaseFixture::Matching;

class TestComparisonReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    int serial = 0;

    // The first page of a table's rows; 0 when it cannot be read.
    static qint64 rootPage(const QString &path, const QString &table)
    {
        GC_SqlConnection file("root_page", path, GC_SqlConnection::ReadOnly);
        QSqlQuery query(file.database());
        query.prepare("SELECT rootpage FROM sqlite_master WHERE name = ?");
        query.addBindValue(table);
        return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
    }

    QString makeDatabase(const QList<Fixture> &genomes, const QList<Match> &matchings)
    {
        const QString path = dir.filePath(QStringLiteral("comparison%1.kestal").arg(serial++));
        QString error;
        if (!ComparisonDatabaseFixture::build(dir.path(), path, genomes, &error)
            || !ComparisonDatabaseFixture::addMatchings(path, matchings, &error))
            qWarning() << "fixture:" << error;
        return path;
    }

    static QStringList names(const QList<GC_Genome *> &row)
    {
        QStringList result;
        for (const GC_Genome *genome : row)
            result << genome->getName();
        return result;
    }

    static QMap<QString, int> geneCounts(GC_GenomeScene &scene)
    {
        // Row-qualified, so the same genome in both rows is told apart.
        QMap<QString, int> counts;
        for (const GC_Genome *genome : scene.topGenomes())
            counts["top " + genome->getName()] += genome->countGenes();
        for (const GC_Genome *genome : scene.lowGenomes())
            counts["low " + genome->getName()] += genome->countGenes();
        return counts;
    }

    static int matchingsOn(const GC_Genome *genome)
    {
        return genome->countMatchings();
    }

    // Saves the scene to path and reads it back into other.
    static bool cycle(GC_GenomeScene &scene, const QString &path, GC_GenomeScene &other)
    {
        scene.setFileName(path);
        return scene.saveToKestalCanvas() && other.loadKestalCanvas(path);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
    }

    void rowsFollowTheRolesOfTheComparison()
    {
        const QString db = makeDatabase(
            {{"Alpha phage", 3000, {{100, 200}, {900, 400}, {2000, 2100}}, 1},
             {"Beta phage", 2500, {{10, 90}}, 2}},
            {{0, 1, 500, 1, 600, 100, 98.5, 800.0}, {0, 2000, 2500, 1, 2400, 1900, 90.0, 400.0}});
        GC_GenomeScene scene;
        QVERIFY(scene.loadSorvikComparisons({db}));
        QCOMPARE(names(scene.topGenomes()), QStringList{"Alpha phage"});
        QCOMPARE(names(scene.lowGenomes()), QStringList{"Beta phage"});
        GC_Genome *top = scene.topGenomes().first();
        GC_Genome *low = scene.lowGenomes().first();
        QCOMPARE(top->getPlacement(), 0);
        QCOMPARE(low->getPlacement(), 1);
        QCOMPARE(top->getCoords(), GC_Interval(1, 3000));
        QCOMPARE(top->getDnaSequence(), QString::fromLatin1(TestData::randomDna(3000, 1)).toUpper());
        QCOMPARE(top->getDatabase(), db);
        QCOMPARE(top->getDatabaseId(), 0);
        QCOMPARE(low->getDatabaseId(), 1);

        // Genes: one per segment, a reverse segment on strand -1 over the
        // same nucleotides, with note and locus tag.
        QCOMPARE(top->countGenes(), 3);
        const GC_Gene *reverse = nullptr;
        for (const GC_Gene *gene : top->getGenes()) {
            if (gene->getCoords() == GC_Interval(400, 900))
                reverse = gene;
        }
        QVERIFY(reverse);
        QCOMPARE(reverse->getOrientation(), -1);
        QVERIFY(reverse->getLocusTag().startsWith("Alpha phage_"));
        QVERIFY(reverse->getNote().startsWith("note "));
        QVERIFY(!reverse->getName().isEmpty());

        const QList<GC_GenomeMatching *> matchings = scene.matchings();
        QCOMPARE(matchings.size(), 2);
        QCOMPARE(matchings.at(0)->id(), 1); // the row's oid
        QCOMPARE(matchings.at(1)->id(), 2);
        QCOMPARE(matchings.at(1)->topGenome(), top);
        QCOMPARE(matchings.at(1)->lowGenome(), low);
        QCOMPARE(matchings.at(1)->topFrom(), 2000);
        QCOMPARE(matchings.at(1)->lowFrom(), 2400);
        QCOMPARE(matchings.at(1)->lowTo(), 1900);
        QCOMPARE(matchings.at(1)->similarity(), 90.0);
        QCOMPARE(matchings.at(1)->bitScore(), 400.0);
        QVERIFY(!matchings.at(1)->isDirect());
        QCOMPARE(top->countMatchings(), 2);
        // Only the lists are filled; the main thread adds the items.
        QVERIFY(!top->scene());
        scene.addItemsToScene();
        QCOMPARE(top->scene(), &scene);
        QCOMPARE(matchings.at(0)->scene(), &scene);
    }

    void genesAreSwitchedOffAbove200()
    {
        const QString db = makeDatabase(
            {{"Many", 12000, ComparisonDatabaseFixture::evenGenes(12000, 201), 3},
             {"Exactly", 12000, ComparisonDatabaseFixture::evenGenes(12000, 200), 4}},
            {{0, 1, 100, 1, 1, 100, 99.0, 180.0}});
        GC_GenomeScene scene;
        scene.loadSorvikComparisons({db});
        QCOMPARE(scene.topGenomes().first()->countGenes(), 201);
        QVERIFY(!scene.topGenomes().first()->getShowGenes());
        QCOMPARE(scene.lowGenomes().first()->countGenes(), 200);
        QVERIFY(scene.lowGenomes().first()->getShowGenes());
    }

    void genomesWithoutMatchingsAreNotPlaced()
    {
        const QString db = makeDatabase({{"One", 500, {}, 5}, {"Two", 500, {}, 6}, {"Loner", 500, {}, 7}},
                                        {{0, 1, 100, 1, 1, 100, 99.0, 180.0}});
        GC_GenomeScene scene;
        QVERIFY(scene.loadSorvikComparisons({db}));
        QCOMPARE(scene.genomes().size(), 2);
        QVERIFY(!names(scene.genomes()).contains("Loner"));
    }

    // Told the compared pairs, the reader places every pair's target in the
    // top row and its query in the low row, in pair order, matched or not,
    // and names the pairs without matchings. Pairs with matchings are placed
    // as their matchings alone place them.
    void comparedPairsPlaceTheirGenomes_data()
    {
        using Pairs = QList<GC_ComparisonReader::IdPair>;
        using Names = QList<GC_ComparisonReader::NamePair>;
        QTest::addColumn<Pairs>("pairs");
        QTest::addColumn<QStringList>("top");
        QTest::addColumn<QStringList>("low");
        QTest::addColumn<Names>("withoutMatchings");
        QTest::addColumn<bool>("withMatchings");
        // The matchings, where there are any, join A with B and D with E.
        QTest::newRow("nothing found at all") << Pairs{{2, 3}, {0, 1}} << QStringList{"C", "A"}
                                              << QStringList{"D", "B"} << Names{{"C", "D"}, {"A", "B"}} << false;
        QTest::newRow("between matched pairs")
            << Pairs{{0, 1}, {2, 3}, {3, 4}} << QStringList{"A", "C", "D"} << QStringList{"B", "D", "E"}
            << Names{{"C", "D"}} << true;
        QTest::newRow("before a matched pair")
            << Pairs{{2, 1}, {0, 1}, {3, 4}} << QStringList{"C", "A", "D"} << QStringList{"B", "E"}
            << Names{{"C", "B"}} << true;
        QTest::newRow("genome in several pairs")
            << Pairs{{0, 1}, {0, 2}, {2, 0}, {3, 4}} << QStringList{"A", "C", "D"}
            << QStringList{"B", "C", "A", "E"} << Names{{"A", "C"}, {"C", "A"}} << true;
        QTest::newRow("self pair, nothing found")
            << Pairs{{0, 1}, {3, 4}, {2, 2}} << QStringList{"A", "D", "C"} << QStringList{"B", "E", "C"}
            << Names{{"C", "C"}} << true;
        QTest::newRow("every pair matched") << Pairs{{0, 1}, {3, 4}} << QStringList{"A", "D"}
                                            << QStringList{"B", "E"} << Names{} << true;
    }

    static QStringList keptIn(const QStringList &names, const QStringList &allowed)
    {
        QStringList kept;
        for (const QString &name : names) {
            if (allowed.contains(name))
                kept << name;
        }
        return kept;
    }

    void comparedPairsPlaceTheirGenomes()
    {
        QFETCH(QList<GC_ComparisonReader::IdPair>, pairs);
        QFETCH(QStringList, top);
        QFETCH(QStringList, low);
        QFETCH(QList<GC_ComparisonReader::NamePair>, withoutMatchings);
        QFETCH(bool, withMatchings);
        const QList<Match> matchings{{0, 1, 100, 1, 1, 100, 95.0, 150.0},
                                     {0, 300, 400, 1, 500, 400, 90.0, 120.0},
                                     {3, 1, 200, 4, 1, 200, 92.0, 300.0}};
        const QString db = makeDatabase({{"A", 900, {{10, 90}}, 31}, {"B", 800, {}, 32},
                                         {"C", 700, {{5, 60}, {300, 200}}, 33}, {"D", 600, {}, 34},
                                         {"E", 500, {}, 35}},
                                        withMatchings ? matchings : QList<Match>());
        GC_GenomeScene scene;
        GC_ComparisonReader reader(&scene);
        reader.setComparedPairs(pairs);
        QVERIFY(reader.load({db}));
        QCOMPARE(names(scene.topGenomes()), top);
        QCOMPARE(names(scene.lowGenomes()), low);
        QCOMPARE(reader.pairsWithoutMatchings(), withoutMatchings);
        QCOMPARE(scene.countMatchings(), withMatchings ? 3 : 0);
        for (const GC_Genome *genome : scene.topGenomes())
            QCOMPARE(genome->getPlacement(), 0);
        for (const GC_Genome *genome : scene.lowGenomes())
            QCOMPARE(genome->getPlacement(), 1);

        // The pairs with matchings come out as the matchings alone place them.
        GC_GenomeScene byMatchings;
        QVERIFY(byMatchings.loadSorvikComparisons({db}));
        const QStringList matchedTop = names(byMatchings.topGenomes());
        const QStringList matchedLow = names(byMatchings.lowGenomes());
        QCOMPARE(matchedTop, withMatchings ? QStringList({"A", "D"}) : QStringList());
        QCOMPARE(matchedLow, withMatchings ? QStringList({"B", "E"}) : QStringList());
        QCOMPARE(keptIn(names(scene.topGenomes()), matchedTop), matchedTop);
        QCOMPARE(keptIn(names(scene.lowGenomes()), matchedLow), matchedLow);
        QCOMPARE(scene.matchings().size(), byMatchings.matchings().size());
        for (int i = 0; i < scene.matchings().size(); ++i) {
            const GC_GenomeMatching *placed = scene.matchings().at(i);
            const GC_GenomeMatching *alone = byMatchings.matchings().at(i);
            QCOMPARE(placed->id(), alone->id());
            QCOMPARE(placed->topGenome()->getName(), alone->topGenome()->getName());
            QCOMPARE(placed->lowGenome()->getName(), alone->lowGenome()->getName());
        }

        // The genomes of a pair without matchings are saved and come back.
        GC_GenomeScene reloaded;
        QVERIFY(cycle(scene, dir.filePath(QStringLiteral("pairs-%1.kcv").arg(QTest::currentDataTag())), reloaded));
        QCOMPARE(names(reloaded.topGenomes()), top);
        QCOMPARE(names(reloaded.lowGenomes()), low);
    }

    void databasesSharingAGenomeNameShareItsItem()
    {
        // Both databases hold "Shared"; the second one's copy differs, but
        // the genome is read from the first.
        const QString first = makeDatabase({{"Shared", 2000, {{10, 40}}, 8}, {"Left", 1500, {}, 9}},
                                           {{0, 1, 300, 1, 1, 300, 97.0, 500.0}});
        const QString second = makeDatabase({{"Right", 1200, {}, 10}, {"Shared", 2000, {{10, 40}, {50, 80}}, 11}},
                                            {{1, 400, 700, 0, 1, 300, 95.0, 450.0}});
        GC_GenomeScene scene;
        QVERIFY(scene.loadSorvikComparisons({first, second}));
        QCOMPARE(names(scene.topGenomes()), QStringList{"Shared"});
        QCOMPARE(names(scene.lowGenomes()), (QStringList{"Left", "Right"}));
        GC_Genome *shared = scene.topGenomes().first();
        QCOMPARE(shared->getDatabase(), first);
        QCOMPARE(shared->countGenes(), 1);
        QCOMPARE(shared->countMatchings(), 2);
        // Both databases number their one matching 1; ids stay unique.
        const QList<GC_GenomeMatching *> matchings = scene.matchings();
        QCOMPARE(matchings.size(), 2);
        QVERIFY(matchings.at(0)->id() != matchings.at(1)->id());
        QCOMPARE(matchings.at(1)->topFrom(), 400);
    }

    void chainAndSelfPairSurviveSaveAndLoad_data()
    {
        QTest::addColumn<bool>("selfPair");
        QTest::newRow("A-B, B-C") << false;
        QTest::newRow("A-A") << true;
    }

    void chainAndSelfPairSurviveSaveAndLoad()
    {
        QFETCH(bool, selfPair);
        GC_GenomeScene scene;
        if (selfPair) {
            const QString db = makeDatabase({{"A", 3000, {{10, 60}, {700, 500}}, 12}},
                                            {{0, 1, 500, 0, 1001, 1500, 99.0, 900.0},
                                             {0, 2000, 2200, 0, 2200, 2000, 80.0, 300.0}});
            QVERIFY(scene.loadSorvikComparisons({db}));
            QCOMPARE(names(scene.topGenomes()), QStringList{"A"});
            QCOMPARE(names(scene.lowGenomes()), QStringList{"A"});
        } else {
            const QString ab = makeDatabase({{"A", 3000, {{10, 60}}, 13}, {"B", 2500, {{5, 50}, {300, 200}}, 14}},
                                            {{0, 1, 500, 1, 1, 500, 99.0, 900.0}});
            const QString bc = makeDatabase({{"B", 2500, {{5, 50}, {300, 200}}, 14}, {"C", 2000, {{1, 99}}, 15}},
                                            {{0, 1000, 1400, 1, 1, 400, 95.0, 700.0},
                                             {0, 10, 90, 1, 500, 580, 91.0, 120.0}});
            QVERIFY(scene.loadSorvikComparisons({ab, bc}));
            QCOMPARE(names(scene.topGenomes()), (QStringList{"A", "B"}));
            QCOMPARE(names(scene.lowGenomes()), (QStringList{"B", "C"}));
        }
        // Each row has its own item, with its own genes and only the
        // matchings of its side.
        const QList<GC_Genome *> topRow = scene.topGenomes();
        QSet<GC_Genome *> items(topRow.begin(), topRow.end());
        for (GC_Genome *genome : scene.lowGenomes())
            QVERIFY(!items.contains(genome));
        GC_Genome *topItem = scene.topGenomes().last();
        GC_Genome *lowItem = scene.lowGenomes().first();
        QCOMPARE(topItem->getName(), lowItem->getName());
        QVERIFY(topItem->getId() != lowItem->getId());
        QCOMPARE(topItem->countGenes(), lowItem->countGenes());
        QSet<GC_Gene *> topGenes(topItem->getGenes().begin(), topItem->getGenes().end());
        for (GC_Gene *gene : lowItem->getGenes())
            QVERIFY(!topGenes.contains(gene));
        for (const GC_GenomeMatching *matching : topItem->getMatchings())
            QCOMPARE(matching->topGenome(), topItem);
        for (const GC_GenomeMatching *matching : lowItem->getMatchings())
            QCOMPARE(matching->lowGenome(), lowItem);

        const QMap<QString, int> genes = geneCounts(scene);
        const int matchingCount = scene.countMatchings();
        GC_GenomeScene once;
        QVERIFY(cycle(scene, dir.filePath("chain1.kcv"), once));
        QCOMPARE(geneCounts(once), genes);
        QCOMPARE(once.countMatchings(), matchingCount);
        GC_GenomeScene twice;
        QVERIFY(cycle(once, dir.filePath("chain2.kcv"), twice));
        QCOMPARE(geneCounts(twice), genes);
        QCOMPARE(twice.countMatchings(), matchingCount);
        QCOMPARE(names(twice.topGenomes()), names(scene.topGenomes()));
        QCOMPARE(names(twice.lowGenomes()), names(scene.lowGenomes()));
        // One genomes row per item.
        GC_SqlConnection file("count_genomes", dir.filePath("chain2.kcv"), GC_SqlConnection::ReadOnly);
        QSqlQuery count(file.database());
        QVERIFY(count.exec("SELECT count(*), count(DISTINCT id) FROM genomes") && count.next());
        QCOMPARE(count.value(0).toInt(), scene.genomes().size());
        QCOMPARE(count.value(1).toInt(), scene.genomes().size());
    }

    void aDatabaseStoredInUtf16IsReadAsText()
    {
        // Another SQLite program may keep a comparison database in UTF-16;
        // its sequences are the same text as in a UTF-8 one.
        const QString utf8 = makeDatabase({{"Left", 900, {{10, 90}}, 5}, {"Right", 700, {}, 6}},
                                          {{0, 1, 100, 1, 1, 100, 95.0, 150.0}});
        const QString utf16 = dir.filePath("utf16.kestal");
        {
            GC_SqlConnection source("utf8_source", utf8, GC_SqlConnection::ReadOnly);
            GC_SqlConnection target("utf16_target", utf16);
            QSqlQuery write(target.database());
            QVERIFY(write.exec("PRAGMA encoding = 'UTF-16le'"));
            for (const QString &statement : GC_ComparisonDatabase::createStatements())
                QVERIFY2(statement.startsWith("INSERT") || write.exec(statement), qPrintable(statement));
            for (const char *table : {"file_properties", "genomes", "segments", "matchings"}) {
                QSqlQuery read(QStringLiteral("SELECT * FROM %1").arg(table), source.database());
                while (read.next()) {
                    QStringList placeholders;
                    for (int i = 0; i < read.record().count(); ++i)
                        placeholders << "?";
                    QVERIFY(write.prepare(QStringLiteral("INSERT INTO %1 VALUES ( %2 )")
                                              .arg(table, placeholders.join(','))));
                    for (int i = 0; i < read.record().count(); ++i)
                        write.addBindValue(read.value(i));
                    QVERIFY2(write.exec(), qPrintable(write.lastError().text()));
                }
            }
            QVERIFY(write.exec("PRAGMA encoding") && write.next());
            QCOMPARE(write.value(0).toString(), QString("UTF-16le"));
        }
        GC_GenomeScene scene;
        QVERIFY2(scene.loadSorvikComparisons({utf16}), qPrintable(scene.lastErrorText()));
        QCOMPARE(names(scene.topGenomes()), QStringList{"Left"});
        QCOMPARE(scene.topGenomes().first()->getDnaSequence(),
                 QString::fromLatin1(TestData::randomDna(900, 5)).toUpper());
        QCOMPARE(scene.lowGenomes().first()->getDnaSequence(),
                 QString::fromLatin1(TestData::randomDna(700, 6)).toUpper());
        QCOMPARE(scene.topGenomes().first()->countGenes(), 1);
    }

    void pathsThatAreNotComparisonsArePassedOver()
    {
        const QString fasta = dir.filePath("plain.fasta");
        QVERIFY(TestData::writeFile(fasta, ">x\nACGT\n"));
        GC_GenomeScene scene;
        QVERIFY(scene.loadSorvikComparisons({fasta, dir.filePath("missing.kestal")}));
        QVERIFY(scene.genomes().isEmpty());
        QVERIFY(scene.loadSorvikComparisons({}));
        QVERIFY(scene.genomes().isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("missing.kestal")));
    }

    void aBrokenDatabaseLeavesItsErrorText()
    {
        // The probe accepts it, but it has no genomes table.
        const QString path = dir.filePath("broken.kestal");
        {
            GC_SqlConnection file("broken", path);
            QSqlQuery query(file.database());
            QVERIFY(query.exec("CREATE TABLE file_properties ( key TEXT, value TEXT )"));
            QVERIFY(query.exec("INSERT INTO file_properties VALUES ('type', 'genomecomparisson')"));
        }
        QCOMPARE(GC_FileUtils::filetype(path), FILETYPE_COMPARISON);
        GC_GenomeScene scene;
        // Nothing could be read: a failure, not an empty success.
        QVERIFY(!scene.loadSorvikComparisons({path}));
        QVERIFY(scene.genomes().isEmpty());
        QVERIFY(scene.lastErrorText().contains("genomes"));
        // Beside a good database the broken one only leaves its text.
        const QString good = makeDatabase({{"Left", 800, {}, 1}, {"Right", 800, {}, 2}},
                                          {{0, 1, 100, 1, 1, 100, 95.0, 150.0}});
        GC_GenomeScene other;
        QVERIFY(other.loadSorvikComparisons({path, good}));
        QCOMPARE(other.genomes().size(), 2);
        QVERIFY(other.lastErrorText().contains("genomes"));
    }

    void aDamagedDatabaseIsRefused()
    {
        QList<QPair<int, int>> genes;
        for (int i = 0; i < 300; ++i)
            genes.append({10 * i + 1, 10 * i + 8});
        const QString path = makeDatabase({{"Left", 4000, genes, 3}, {"Right", 4000, {}, 4}},
                                          {{0, 1, 100, 1, 1, 100, 95.0, 150.0}});
        const QString good = makeDatabase({{"Other", 800, {}, 1}, {"Side", 800, {}, 2}},
                                          {{0, 1, 100, 1, 1, 100, 95.0, 150.0}});
        // The segments table's root page wiped: its rows cannot be reached.
        QVERIFY(rootPage(path, "segments") > 0);
        QVERIFY(SqlitePageDamage::zeroPage(path, rootPage(path, "segments")));

        GC_GenomeScene scene;
        QVERIFY(!scene.loadSorvikComparisons({good, path}));
        QVERIFY2(scene.lastErrorText().contains(QString("The file \"%1\" is damaged").arg(path)),
                 qPrintable(scene.lastErrorText()));

        // Values no writer stores, which the check of the file cannot see;
        // the refusal names the table. Left is 4000 long, Right 3000.
        const QList<QPair<QString, QString>> valueDamages{
            {"UPDATE genomes SET dna_sequence = substr(dna_sequence, 1, 100) || char(0, 0, 0) "
             "|| substr(dna_sequence, 104) WHERE id = 0", "genomes table"},
            {"UPDATE genomes SET dna_sequence = substr(dna_sequence, 1, 100) || '5*' "
             "|| substr(dna_sequence, 103) WHERE id = 1", "genomes table"},
            {"UPDATE matchings SET target_from = 5883, target_to = -29550", "matchings table"},
            {"UPDATE matchings SET query_to = 3500", "matchings table"},
            {"UPDATE segments SET segment_from = 0 WHERE oid = (SELECT min(oid) FROM segments)", "segments table"},
            {"UPDATE genomes SET length = 2147483647 WHERE id = 1", "genomes table"},
            // 9e999 is SQLite's infinity; a NaN can only be stored as text.
            {"UPDATE matchings SET similarity = -9e999", "matchings table"},
            {"UPDATE matchings SET bitscore = 'NaN'", "matchings table"},
            // A genome row without an id, read as genome 0, would lose its
            // own matchings and take genome 0's.
            {"UPDATE genomes SET id = NULL WHERE id = 1", "genomes table holds nothing in its id"},
            // Tables that fail at their first step, for want of a column.
            {"ALTER TABLE matchings RENAME COLUMN similarity TO likeness", "reading the matchings table"},
            {"ALTER TABLE segments RENAME COLUMN locus_tag TO tag", "reading the segments table"},
            {"ALTER TABLE genomes RENAME COLUMN length TO size", "reading the genomes table"},
        };
        for (const auto &[statement, named] : valueDamages) {
            const QString copy = makeDatabase({{"Left", 4000, {{10, 80}, {300, 200}}, 3}, {"Right", 3000, {}, 4}},
                                              {{0, 1, 100, 1, 1, 100, 95.0, 150.0}});
            {
                GC_GenomeScene intact;
                QVERIFY(intact.loadSorvikComparisons({copy}));
                QCOMPARE(intact.genomes().size(), 2);
            }
            {
                GC_SqlConnection file("damage", copy);
                QSqlQuery query(file.database());
                QVERIFY2(query.exec(statement) && (statement.startsWith("ALTER") || query.numRowsAffected() == 1),
                         qPrintable(statement));
            }
            GC_GenomeScene damaged;
            QVERIFY2(!damaged.loadSorvikComparisons({good, copy}), qPrintable(statement));
            const QString text = damaged.lastErrorText();
            QVERIFY2(text.contains(QString("The file \"%1\" is damaged").arg(copy)), qPrintable(text));
            QVERIFY2(text.contains(named), qPrintable(text));
        }

        // The last page of a table gone bad after the check, while the
        // file is read: the reading stops partway, and the rows before it
        // are no whole table. Each genome row fills a page of its own.
        QList<Match> many;
        for (int i = 0; i < 400; ++i)
            many.append({0, 1 + i, 100 + i, 1, 1 + i, 100 + i, 95.0, 150.0});
        for (const auto &[table, reading] : QList<QPair<QString, QByteArray>>{
                 {"genomes", "SELECT id, name, length"}, {"matchings", "SELECT oid, id_target"}}) {
            const QString partway = makeDatabase({{"Left", 4000, {}, 3}, {"Right", 3000, {}, 4}}, many);
            const qint64 root = rootPage(partway, table);
            bool zeroed = false;
            SqliteStatementHook hook(reading, [&] { zeroed = SqlitePageDamage::zeroLastLeaf(partway, root); });
            GC_GenomeScene stopped;
            QVERIFY2(!stopped.loadSorvikComparisons({partway}) && zeroed, qPrintable(table));
            const QString text = stopped.lastErrorText();
            QVERIFY2(text.contains(QString("The file \"%1\" is damaged").arg(partway))
                         && text.contains(QString("reading the %1 table").arg(table)),
                     qPrintable(text));
        }

        // A database another program holds locked for longer than the
        // reader waits is in use, not damaged.
        SqliteFileLock lock(good);
        QVERIFY(lock.isHeld());
        GC_GenomeScene locked;
        QVERIFY(!locked.loadSorvikComparisons({good}));
        const QString text = locked.lastErrorText();
        QVERIFY2(text.contains(QString("The file \"%1\" is in use by another program").arg(good)), qPrintable(text));
        QVERIFY2(!text.contains("is damaged"), qPrintable(text));
    }

    void realBlastnResultsAreLoaded()
    {
        const QString blastn = QStandardPaths::findExecutable("blastn");
        const QString makeblastdb = QStandardPaths::findExecutable("makeblastdb");
        if (blastn.isEmpty() || makeblastdb.isEmpty())
            QSKIP("BLAST+ is not installed");
        QSettings settings;
        settings.setValue("makeblastdbpath", makeblastdb);
        settings.setValue("blastnpath", blastn);
        // The second genome is the first with its halves swapped.
        const QByteArray dna = TestData::randomDna(4000, 21);
        const QString first = dir.filePath("first.gb");
        const QString second = dir.filePath("second.gb");
        QVERIFY(TestData::writeFile(first, TestData::genbankRecord("First", "", dna)));
        QVERIFY(TestData::writeFile(second, TestData::genbankRecord("Second", "", dna.mid(2000) + dna.left(2000))));
        const QString db = dir.filePath("blasted.kestal");
        GC_ComparisonDatabaseBuilder builder;
        builder.setPath(db);
        builder.setGenbankFiles({first, second});
        QMap<QString, int> ids;
        QVERIFY2(builder.build(ids), qPrintable(builder.lastErrorText()));
        GC_SequenceBlaster blaster;
        blaster.setDatabase(db);
        blaster.setPairs({{0, 1}});
        blaster.blastHanged();
        QVERIFY2(blaster.result(), qPrintable(blaster.lastErrorText()));

        GC_GenomeScene scene;
        QVERIFY(scene.loadSorvikComparisons({db}));
        QCOMPARE(names(scene.topGenomes()), QStringList{"First"});
        QCOMPARE(names(scene.lowGenomes()), QStringList{"Second"});
        QVERIFY(scene.countMatchings() >= 2);
        bool firstHalf = false;
        for (const GC_GenomeMatching *matching : scene.matchings()) {
            if (matching->topCoords().start() <= 10 && matching->topCoords().end() >= 1990)
                firstHalf = matching->lowCoords().start() >= 1990 && matching->lowCoords().start() <= 2010;
        }
        QVERIFY(firstHalf);
    }
};

KESTAL_TEST_MAIN(TestComparisonReader)
#include "tst_comparisonreader.moc"
