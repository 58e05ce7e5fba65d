#include "kestal_test.h"
#include "reference_database_fixture.h"

#include "gc_cogmatching.h"
#include "gc_genomesource.h"
#include "gc_referencedatabases.h"
#include "gc_rfammatching.h"
#include "gc_rrnamatching.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <memory>

namespace {

GC_CogMatching cogHit(int proteinId, const QString &cogCode, const QString &groupCode)
{
    GC_CogMatching hit;
    hit.setIdCogProtein(proteinId);
    hit.setCogCode(cogCode);
    hit.setGroupCode(groupCode);
    return hit;
}

GC_RfamMatching rfamHit(const QString &code, int start, int end, double evalue, double bitscore)
{
    GC_RfamMatching hit;
    hit.setRfamCode(code);
    hit.setStart(start);
    hit.setEnd(end);
    hit.setEvalue(evalue);
    hit.setBitscore(bitscore);
    return hit;
}

GC_rRNAMatching rrnaHit(int groupId, int start, int end, double evalue, double bitscore)
{
    GC_rRNAMatching hit;
    hit.setGroupId(groupId);
    hit.setStart(start);
    hit.setEnd(end);
    hit.setEvalue(evalue);
    hit.setBitscore(bitscore);
    return hit;
}

// A canvas file with the three hit tables, on its own connection.
class CanvasFile
{
public:
    explicit CanvasFile(const QString &path) : name("canvas_" + QFileInfo(path).fileName())
    {
        db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
    }
    ~CanvasFile()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    bool createTables()
    {
        QSqlQuery query(db);
        return query.exec(GC_CogMatching::createTableSql()) && query.exec(GC_RfamMatching::createTableSql())
               && query.exec(GC_rRNAMatching::createTableSql());
    }
    QStringList columns(const QString &table)
    {
        QStringList result;
        QSqlQuery query(db);
        query.exec("PRAGMA table_info(" + table + ")");
        while (query.next())
            result << query.value(1).toString() + " " + query.value(2).toString();
        return result;
    }
    QSqlDatabase db;

private:
    QString name;
};

} // namespace

// The hit records: reference look-ups and their miss texts, hover texts, and
// their rows in a real canvas file.
class TestHomologyRecords : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        fixture = std::make_unique<ReferenceDatabaseFixture>();
        QVERIFY2(fixture->build(), qPrintable(fixture->errorString()));
        QVERIFY2(fixture->open(), qPrintable(fixture->errorString()));
    }
    void cleanupTestCase() { fixture.reset(); }

    // --- COG look-ups ----------------------------------------------------
    void cogNamesComeFromTheReference()
    {
        GC_CogMatching hit = cogHit(5, "COG0086", "K");
        QCOMPARE(hit.getCogName(), QString("DNA-directed RNA polymerase, beta' subunit"));
        QCOMPARE(hit.getGroupName(), QString("Transcription"));
        QCOMPARE(hit.getClassName(), QString("Information storage and processing"));
        GC_CogMatching metabolism = cogHit(2, "COG0002", "E");
        QCOMPARE(metabolism.getClassName(), QString("Metabolism"));
    }

    void cogMissesReadError()
    {
        GC_CogMatching noName = cogHit(8, "COG3002", "S");
        QCOMPARE(noName.getCogName(), QString("error"));
        QCOMPARE(noName.getGroupName(), QString("Function unknown"));
        GC_CogMatching unlisted = cogHit(7, "COG3001", "X");
        QCOMPARE(unlisted.getGroupName(), QString("error"));
        QCOMPARE(unlisted.getClassName(), QString("error"));
        GC_CogMatching noCategory = cogHit(6, "COG3000", QString());
        QCOMPARE(noCategory.getGroupName(), QString("error"));
        QCOMPARE(noCategory.getClassName(), QString("error"));
    }

    void codesAreBoundNotPasted()
    {
        // A pasted code would turn these into queries that match every row.
        GC_CogMatching hostile = cogHit(1, "COG0001' OR '1'='1", "H' OR '1'='1");
        QCOMPARE(hostile.getCogName(), QString("error"));
        QCOMPARE(hostile.getGroupName(), QString("error"));
        QCOMPARE(hostile.getClassName(), QString("error"));
        GC_RfamMatching rfam = rfamHit("x' OR '1'='1", 1, 2, 0, 0);
        QCOMPARE(rfam.getRfamName(), QString());
    }

    // --- RFAM -------------------------------------------------------------
    void rfamToolTip()
    {
        GC_RfamMatching hit = rfamHit("RF00001", 120, 240, 7.04e-63, 222.5f);
        QCOMPARE(hit.getRfamName(), QString("5S_rRNA"));
        QCOMPARE(hit.getToolTip(), QString("<b>RFAM code</b>: RF00001<br>"
                                           "<b>RFAM name</b>: 5S_rRNA<br>"
                                           "<b>Alignment length</b>: 120<br>"
                                           "<b>E-value</b>: 7.04e-63<br>"
                                           "<b>Bitscore</b>: 222.5<br>"));
    }

    void rfamFamilyWithoutNameAndOnePositionHit()
    {
        GC_RfamMatching hit = rfamHit("RF09999", 5000, 5000, 1e-5, 40.1f);
        QCOMPARE(hit.getToolTip(), QString("<b>RFAM code</b>: RF09999<br>"
                                           "<b>RFAM name</b>: <br>"
                                           "<b>Alignment length</b>: 0<br>"
                                           "<b>E-value</b>: 1e-05<br>"
                                           "<b>Bitscore</b>: 40.1<br>"));
    }

    void rfamNameNotFoundIsAskedAgain()
    {
        GC_RfamMatching hit = rfamHit("RF00005", 1, 72, 0, 0);
        GC_ReferenceDatabases::close(GC_ReferenceDatabases::Rfam);
        QCOMPARE(hit.getRfamName(), QString());
        QVERIFY(GC_ReferenceDatabases::openRfam());
        QCOMPARE(hit.getRfamName(), QString("tRNA"));
        // Found names are kept.
        GC_ReferenceDatabases::close(GC_ReferenceDatabases::Rfam);
        QCOMPARE(hit.getRfamName(), QString("tRNA"));
        QVERIFY(GC_ReferenceDatabases::openRfam());
    }

    // --- rRNA -------------------------------------------------------------
    void rrnaToolTipWithDescription()
    {
        GC_rRNAMatching hit = rrnaHit(1, 900, 100, 2.45e-158, 544.0f);
        QCOMPARE(hit.getGroupName(), QString("LSU"));
        QCOMPARE(hit.toolTipHtml(),
                 QString("<table cellpadding=1 cellspacing=1 bgcolor=#F9F6F4 width=100%>"
                         "<tr><td align=right><b>rRNA type</b></td><td>: LSU</td></tr>"
                         "<tr><td align=right><b>rRNA description</b></td><td>: Large subunit ribosomal RNA (23S/28S)</td></tr>"
                         "<tr><td align=right><b>Alignment length</b></td><td>: 800</td></tr>"
                         "<tr><td align=right><b>E-value</b></td><td>: 2.45e-158</td></tr>"
                         "<tr><td align=right><b>Bitscore</b></td><td>: 544</td></tr></table>"));
    }

    void rrnaGroupWithoutDescriptionHasFourRows()
    {
        GC_rRNAMatching hit = rrnaHit(3, 10, 160, 0.0001, 99.5f);
        const QString html = hit.toolTipHtml();
        QCOMPARE(html.count("<tr>"), 4);
        QVERIFY(html.contains("<td>: ITS</td>"));
        QVERIFY(!html.contains("rRNA description"));
        QVERIFY(html.contains("<td>: 0.0001</td>"));
    }

    void rrnaGroupMissing()
    {
        GC_rRNAMatching hit = rrnaHit(9, 1, 150, 0, 0);
        QCOMPARE(hit.getGroupName(), QString());
        QCOMPARE(hit.getGroupDescription(), QString());
        QVERIFY(hit.toolTipHtml().contains("<b>rRNA type</b></td><td>: </td>"));
    }

    // --- canvas rows -------------------------------------------------------
    void tableLayout()
    {
        QTemporaryDir dir;
        CanvasFile canvas(dir.filePath("layout.kestal"));
        QVERIFY(canvas.createTables());
        const QString rest = ",genomeId INTEGER,start INTEGER,end INTEGER,evalue REAL,bitscore REAL";
        QCOMPARE(canvas.columns("cog_matchings").join(','), "id_cog_protein INTEGER" + rest);
        QCOMPARE(canvas.columns("rfam_matchings").join(','), "rfam_seqid INTEGER" + rest);
        QCOMPARE(canvas.columns("rrna_matchings").join(','), "rrna_seqid INTEGER" + rest);
    }

    void rowsSurviveACanvasFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("roundtrip.kestal");
        const double tiny = std::numeric_limits<double>::denorm_min();
        const QList<double> evalues = {1.27e-127, 0.0, 1e-50, 1e-5, 0.000123, 3.0, tiny};
        const int count = 2500;  // crosses the writer's commit every 1000 rows
        {
            CanvasFile canvas(path);
            QVERIFY(canvas.createTables());
            QSqlQuery query(canvas.db);
            QVERIFY(query.exec("BEGIN"));
            int rows = 0;
            auto commitEvery1000 = [&] {
                if (++rows > 1000) {
                    rows = 0;
                    QVERIFY(query.exec("COMMIT"));
                    QVERIFY(query.exec("BEGIN"));
                }
            };
            // One genome's hits go out COG first, then RFAM, then rRNA, on one query.
            for (int i = 0; i < count; ++i) {
                GC_CogMatching hit;
                hit.setGenomeId(i % 2);
                hit.setIdCogProtein(i);
                hit.setStart(i * 10);
                hit.setEnd(i * 10 + 9);
                hit.setEvalue(evalues.at(i % evalues.size()));
                hit.setBitscore(100.1 + i);
                commitEvery1000();
                QVERIFY(hit.saveItem(query));
            }
            for (int i = 0; i < 3; ++i) {
                GC_RfamMatching hit = rfamHit("RF00001", 100 * i, 100 * i + 50, evalues.at(i), 50.5f);
                hit.setRfamSeqId(i + 1);
                hit.setGenomeId(1);
                commitEvery1000();
                QVERIFY(hit.saveItem(query));
                GC_rRNAMatching rrna = rrnaHit(1, 200 * i, 200 * i + 99, evalues.at(i + 2), 60.25f);
                rrna.setRrnaSeqId(101 + i);
                rrna.setGenomeId(1);
                commitEvery1000();
                QVERIFY(rrna.saveItem(query));
            }
            QVERIFY(query.exec("COMMIT"));
        }

        CanvasFile canvas(path);
        QSqlQuery select(canvas.db);
        QVERIFY(select.prepare(GC_CogMatching::selectSql()));
        select.addBindValue(1);
        QVERIFY(select.exec());
        int read = 0;
        while (select.next()) {
            GC_CogMatching hit;
            hit.loadFromQuery(select);
            const int i = hit.getIdCogProtein();
            QCOMPARE(i % 2, 1);
            QCOMPARE(hit.getStart(), i * 10);
            QCOMPARE(hit.getEnd(), i * 10 + 9);
            QVERIFY(hit.getEvalue() == evalues.at(i % evalues.size()));
            QCOMPARE(hit.getBitscore(), 100.1 + i);
            ++read;
        }
        QCOMPARE(read, count / 2);

        QSqlQuery exact(canvas.db);
        QVERIFY(exact.exec("SELECT evalue FROM cog_matchings WHERE id_cog_protein = 0"));
        QVERIFY(exact.next());
        QVERIFY(exact.value(0).toDouble() == 1.27e-127);

        // Stored rows copied into a new canvas keep their values exactly.
        {
            CanvasFile copy(dir.filePath("copy.kestal"));
            QVERIFY(copy.createTables());
            QSqlQuery insert(copy.db);
            int copied = 0;
            QString error;
            QVERIFY2(GC_GenomeSource::copyRows(path, GC_GenomeSource::Cog, 1, 77, insert, &copied, &error),
                     qPrintable(error));
            QCOMPARE(copied, count / 2);
            QSqlQuery back(copy.db);
            QVERIFY(back.exec("SELECT id_cog_protein, genomeId, evalue, bitscore FROM cog_matchings"));
            int checked = 0;
            while (back.next()) {
                const int i = back.value(0).toInt();
                QCOMPARE(back.value(1).toInt(), 77);
                QVERIFY(back.value(2).toDouble() == evalues.at(i % evalues.size()));
                QCOMPARE(back.value(3).toDouble(), 100.1 + i);
                ++checked;
            }
            QCOMPARE(checked, count / 2);
        }
        // A source that fails halfway through its rows fails the copy
        // rather than saving only the rows read so far.
        {
            const QString brokenPath = dir.filePath("broken-source.kestal");
            {
                CanvasFile broken(brokenPath);
                QSqlQuery build(broken.db);
                QVERIFY(build.exec("CREATE TABLE raw (n INTEGER, s INTEGER)"));
                QVERIFY(build.exec("INSERT INTO raw VALUES (1, 10), (2, 20), (3, -9223372036854775808)"));
                // abs() of the smallest integer overflows while the third row is read.
                QVERIFY(build.exec("CREATE VIEW cog_matchings AS SELECT n AS id_cog_protein, 1 AS genomeId, "
                                   "abs(s) AS start, 5 AS end, 1e-5 AS evalue, 40.5 AS bitscore FROM raw"));
            }
            CanvasFile copy(dir.filePath("copy-of-broken.kestal"));
            QVERIFY(copy.createTables());
            QSqlQuery insert(copy.db);
            QString error;
            QVERIFY(!GC_GenomeSource::copyRows(brokenPath, GC_GenomeSource::Cog, 1, 77, insert, nullptr, &error));
            QVERIFY2(error.contains("broken-source.kestal"), qPrintable(error));
        }

        QVERIFY(select.prepare(GC_RfamMatching::selectSql()));
        select.addBindValue(1);
        QVERIFY(select.exec());
        QList<GC_RfamMatching> rfams;
        while (select.next()) {
            rfams.append(GC_RfamMatching());
            rfams.last().loadFromQuery(select);
        }
        QCOMPARE(rfams.size(), 3);
        QCOMPARE(rfams.at(0).getRfamSeqId(), 1);
        QCOMPARE(rfams.at(0).getEvalue(), 1.27e-127);
        QCOMPARE(rfams.at(2).getEnd(), 250);
        QCOMPARE(rfams.at(2).getBitscore(), 50.5);

        QVERIFY(select.prepare(GC_rRNAMatching::selectSql()));
        select.addBindValue(1);
        QVERIFY(select.exec());
        QList<GC_rRNAMatching> rrnas;
        while (select.next()) {
            rrnas.append(GC_rRNAMatching());
            rrnas.last().loadFromQuery(select);
        }
        QCOMPARE(rrnas.size(), 3);
        QCOMPARE(rrnas.at(1).getRrnaSeqId(), 102);
        QCOMPARE(rrnas.at(1).getStart(), 200);
        QCOMPARE(rrnas.at(0).getEvalue(), 1e-50);
        QCOMPARE(rrnas.at(2).getBitscore(), 60.25);
    }

    void tinyEvalueIsShownNotZero()
    {
        GC_RfamMatching rfam = rfamHit("RF00001", 1, 100, 1.27e-127, 250.0f);
        QVERIFY(rfam.getToolTip().contains("<b>E-value</b>: 1.27e-127<br>"));
        GC_rRNAMatching rrna = rrnaHit(2, 1, 100, 1e-50, 250.0f);
        QVERIFY(rrna.toolTipHtml().contains("<td>: 1e-50</td>"));
    }

    void failingRowIsLoggedAndTheSaveGoesOn()
    {
        QTemporaryDir dir;
        CanvasFile canvas(dir.filePath("partial.kestal"));
        QSqlQuery query(canvas.db);
        // Only the rRNA table exists.
        QVERIFY(query.exec(GC_rRNAMatching::createTableSql()));
        GC_CogMatching cog;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^GC_CogMatching::saveItem::Fail \\S"));
        QVERIFY(!cog.saveItem(query));
        GC_RfamMatching rfam;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^GC_RfamMatching::saveItem::Fail \\S"));
        QVERIFY(!rfam.saveItem(query));
        GC_rRNAMatching rrna = rrnaHit(2, 5, 50, 0.5, 1.0f);
        QVERIFY(rrna.saveItem(query));
        // The canvas writer passes the genome's present id.
        QVERIFY(rrna.saveItem(query, 7));
        QVERIFY(query.exec("SELECT genomeId FROM rrna_matchings ORDER BY genomeId"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), rrna.getGenomeId());
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 7);
        QVERIFY(!query.next());
    }

private:
    std::unique_ptr<ReferenceDatabaseFixture> fixture;
};

KESTAL_TEST_MAIN(TestHomologyRecords)
#include "tst_homologyrecords.moc"
