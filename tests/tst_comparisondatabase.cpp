#include "kestal_test.h"
#include "test_data.h"

#include "gc_builddatabase.h"
#include "gc_comparisondatabasebuilder.h"
#include "gc_fileutils.h"
#include "gc_rundatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <unistd.h>

// The comparison database as the builder writes it, read back with plain SQL.
class TestComparisonDatabase : public QObject
{
    Q_OBJECT

private:
    // The database of the last build(); rows() reads it unless told otherwise.
    std::shared_ptr<GC_RunDatabase> m_database;

    bool build(const QStringList &files, const QMap<QString, QString> &records, QMap<QString, int> &ids,
               QString *error = nullptr)
    {
        m_database = gc_buildDatabase(files, records, ids, error);
        return bool(m_database);
    }

    // The folders of comparison databases in the temporary folder.
    static QStringList runFolders()
    {
        return QDir(QDir::tempPath()).entryList({"kestal-*"}, QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = QDir::tempPath() + "/" + name;
        if (!TestData::writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Rows of a query on the built file, each row's columns joined by '|'
    // (NULL shown as "NULL").
    QStringList rows(const QString &sql, const QString &path = QString())
    {
        QStringList result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_read");
            db.setDatabaseName(!path.isEmpty() ? path : m_database ? m_database->path() : QString());
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            if (db.open()) {
                QSqlQuery query(db);
                if (!query.exec(sql))
                    result << "SQL ERROR";
                while (query.next()) {
                    QStringList columns;
                    for (int i = 0; i < query.record().count(); ++i)
                        columns << (query.isNull(i) ? QString("NULL") : query.value(i).toString());
                    result << columns.join('|');
                }
            } else {
                result << "NOT OPEN";
            }
        }
        QSqlDatabase::removeDatabase("tst_read");
        return result;
    }

    QByteArray featureRecord(const QString &definition)
    {
        const QByteArray features =
            "     CDS             190..255\n"
            "                     /locus_tag=\"b1\"\n"
            "                     /product=\"leader\"\n"
            "                     /note=\"short\"\n"
            "     CDS             complement(1000..1200)\n"
            "                     /product=\"reverse\"\n"
            "     CDS             join(20..40,60..80)\n"
            "                     /product=\"split\"\n"
            "     CDS             order(300..310,320..330)\n"
            "     CDS             AB000001.1:400..500\n"
            "     CDS             467\n"
            "     tRNA            600^601\n";
        return TestData::genbankRecord(definition, features, TestData::randomDna(1500, 7));
    }

private slots:
    void schemaAndFileProperties()
    {
        QMap<QString, int> ids;
        QVERIFY(build({}, {}, ids));
        QVERIFY(ids.isEmpty());
        QCOMPARE(rows("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"),
                 QStringList({"file_properties", "genomes", "segments", "matchings"}));
        QCOMPARE(rows("SELECT key, value, typeof(value) FROM file_properties"),
                 QStringList({"version|1|text", "type|genomecomparisson|text"}));
        QCOMPARE(rows("SELECT sql FROM sqlite_master WHERE name = 'segments'"),
                 QStringList({"CREATE TABLE segments ( id_genome INTEGER, name TEXT, segment_from INTEGER, "
                              "segment_to INTEGER , metadata TEXT, note TEXT, locus_tag TEXT )"}));
        QCOMPARE(rows("SELECT count(*) FROM genomes"), QStringList({"0"}));
        QCOMPARE(rows("SELECT count(*) FROM matchings"), QStringList({"0"}));
    }

    void twoGenbankFilesAndAFastaRecord()
    {
        QMap<QString, int> ids{{"kept from before", 9}};
        const QStringList files{kestalTestDataPath("MH816966.1.gbk"), kestalTestDataPath("MK373776.1.gbk")};
        QVERIFY(build(files, {{"b record", "ACGTn"}, {"a record", "ttt"}}, ids));

        QCOMPARE(ids.value("Escherichia phage FEC19, complete genome."), 0);
        QCOMPARE(ids.value("Escherichia phage vB_EcoM_WFH, complete genome."), 1);
        QCOMPARE(ids.value("a record"), 2);
        QCOMPARE(ids.value("b record"), 3);
        QCOMPARE(ids.value("kept from before"), 9);

        QCOMPARE(rows("SELECT id, name, length, length(dna_sequence), metadata FROM genomes ORDER BY id"),
                 QStringList({"0|Escherichia phage FEC19, complete genome.|68472|68472|",
                              "1|Escherichia phage vB_EcoM_WFH, complete genome.|71283|71283|",
                              "2|a record|3|3|", "3|b record|5|5|"}));
        QCOMPARE(rows("SELECT substr(dna_sequence, 1, 20) FROM genomes WHERE id = 0"),
                 QStringList({"ctatcgttactcgctttacc"}));
        // FASTA sequences are stored exactly as given.
        QCOMPARE(rows("SELECT dna_sequence FROM genomes WHERE id = 3"), QStringList({"ACGTn"}));

        QCOMPARE(rows("SELECT count(*) FROM segments WHERE id_genome = 0"), QStringList({"93"}));
        QCOMPARE(rows("SELECT count(*) FROM segments WHERE id_genome = 2 OR id_genome = 3"), QStringList({"0"}));
        // A reverse-strand gene is stored high end first.
        QCOMPARE(rows("SELECT name, segment_from, segment_to, typeof(segment_from), note, locus_tag, metadata "
                      "FROM segments WHERE id_genome = 0 AND segment_to = 1447"),
                 QStringList({"hypothetical protein|1920|1447|integer|NULL|NULL|"
                              "/product: hypothetical protein\n/protein_id: AYD85431.1\n"}));
        QCOMPARE(rows("SELECT segment_from, segment_to FROM segments WHERE id_genome = 0 AND segment_from = 392"),
                 QStringList({"392|1018"}));
        QCOMPARE(rows("SELECT count(*) FROM matchings"), QStringList({"0"}));
    }

    void segmentRows()
    {
        QMap<QString, int> ids;
        QVERIFY(build({write("features.gb", featureRecord("features"))}, {}, ids));
        // Text order of range texts; every stretch of order() is kept; a
        // remote reference and a site between two bases leave no row.
        QCOMPARE(rows("SELECT name, segment_from, segment_to, note, locus_tag FROM segments ORDER BY oid"),
                 QStringList({"reverse|1200|1000|NULL|NULL", "leader|190|255|short|b1",
                              "split(Exon; 1)|20|40|NULL|NULL", "NULL|300|310|NULL|NULL",
                              "NULL|320|330|NULL|NULL", "split(Exon; 2)|60|80|NULL|NULL"}));
        QCOMPARE(rows("SELECT count(*) FROM segments WHERE typeof(segment_from) <> 'integer' "
                      "OR typeof(segment_to) <> 'integer'"),
                 QStringList({"0"}));
    }

    // Two builds at once (two comparisons, perhaps in two copies of the
    // program) each get a database in a new folder of their own: neither
    // reads the other's genomes, and a file someone else left at a fixed
    // path is neither read nor removed. A database goes with its last
    // holder, with what SQLite left beside it, and only that.
    void buildsAtOnceHaveFilesOfTheirOwn()
    {
        const QString planted = QDir::tempPath() + "/temp.kestal";
        QVERIFY(TestData::writeFile(planted, "someone else's"));
        QMap<QString, int> firstIds;
        QMap<QString, int> secondIds;
        std::shared_ptr<GC_RunDatabase> first =
            gc_buildDatabase({}, {{"first", "acgt"}, {"second", "acgt"}}, firstIds);
        std::shared_ptr<GC_RunDatabase> second = gc_buildDatabase({}, {{"third", "gggg"}}, secondIds);
        QVERIFY(first && second);
        QVERIFY(first->folder() != second->folder());
        QCOMPARE(rows("SELECT id, name FROM genomes ORDER BY id", first->path()),
                 QStringList({"0|first", "1|second"}));
        QCOMPARE(rows("SELECT id, name FROM genomes", second->path()), QStringList({"0|third"}));
        QCOMPARE(rows("SELECT count(*) FROM file_properties", second->path()), QStringList({"2"}));
        for (const auto &database : {first, second}) {
            const QFileInfo folder(database->folder());
            QCOMPARE(folder.path(), QDir::tempPath());
            QCOMPARE(folder.permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                              | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                     QFile::Permissions());
        }

        QVERIFY(TestData::writeFile(first->path() + "-journal", ""));
        const QString firstFolder = first->folder();
        first.reset();
        QVERIFY(!QFileInfo::exists(firstFolder));
        QVERIFY(QFile::exists(second->path()));

        // The next start removes what killed runs left, and only that: an
        // ended run's folder of the user's, with its mark, under the run's
        // name. Never the live run's, another user's, a link to an ended
        // one's, one without the mark or one under another name.
        const QString tmp = QDir::tempPath();
        QStringList marked{"kestal-Killed", "kestal-Killed0", "elsewhere"};
        if (::geteuid() == 0)
            marked << "kestal-Others";
        for (const QString &name : marked) {
            for (const char *file : {"/comparison.kestal", "/kestal-run.lock"})
                QVERIFY(TestData::writeFile(tmp + "/" + name + file, "left"));
        }
        QVERIFY(TestData::writeFile(tmp + "/kestal-NoMark/comparison.kestal", "left"));
        QVERIFY(QFile::link(tmp + "/elsewhere", tmp + "/kestal-Linked"));
        QVERIFY(::geteuid() != 0 || ::chown(QFile::encodeName(tmp + "/kestal-Others"), 4242, 4242) == 0);
        QCOMPARE(GC_RunDatabase::removeEndedRuns(), QStringList({tmp + "/kestal-Killed"}));
        QVERIFY(QFile::exists(second->path()));
        QVERIFY(QFileInfo(tmp + "/kestal-Linked").isSymLink());
        const QStringList staying = marked.mid(1) << "kestal-NoMark";
        for (const QString &name : staying) {
            QVERIFY2(QFile::exists(tmp + "/" + name + "/comparison.kestal"), qPrintable(name));
            QVERIFY(QDir(tmp + "/" + name).removeRecursively());
        }
        QVERIFY(QFile::remove(tmp + "/kestal-Linked"));
        const QString notes = second->folder() + "/notes.txt";
        QVERIFY(TestData::writeFile(notes, "not the build's"));
        second.reset();
        QVERIFY(QFile::exists(notes));
        QCOMPARE(QDir(QFileInfo(notes).path()).entryList(QDir::Files), QStringList({"notes.txt"}));
        QFile plantedFile(planted);
        QVERIFY(plantedFile.open(QIODevice::ReadOnly));
        QCOMPARE(plantedFile.readAll(), QByteArray("someone else's"));
        QVERIFY(QDir(QFileInfo(notes).path()).removeRecursively());
        QVERIFY(QFile::remove(planted));
    }

    void sameNameKeepsBothRowsAndTheLaterId()
    {
        QMap<QString, int> ids;
        const QString a = write("same1.gb", TestData::genbankRecord("Same  name", "", "acgt"));
        const QString b = write("same2.gb", TestData::genbankRecord("Same name", "", "ttgg"));
        QVERIFY(build({a, b}, {}, ids));
        QCOMPARE(rows("SELECT id, name FROM genomes ORDER BY id"), QStringList({"0|Same  name", "1|Same name"}));
        QCOMPARE(ids, (QMap<QString, int>{{"Same name", 1}}));
    }

    void fastaFileAmongGenbankPathsIsReadAsFasta()
    {
        QMap<QString, int> ids;
        const QString fasta = write("among.fas", ">zeta\nacgtacgt\n>alpha\nggcc\n");
        const QString genbank = write("among.gb", TestData::genbankRecord("gb genome", "", "tttt"));
        QVERIFY(build({fasta, genbank}, {}, ids));
        QCOMPARE(rows("SELECT id, name, dna_sequence FROM genomes ORDER BY id"),
                 QStringList({"0|alpha|ggcc", "1|zeta|acgtacgt", "2|gb genome|tttt"}));
        QCOMPARE(ids.value("gb genome"), 2);
    }

    void badInputFailsAndLeavesNoFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QByteArray truncated = featureRecord("cut");
        truncated.truncate(truncated.indexOf("ORIGIN"));
        QTest::newRow("not a sequence file") << QByteArray("hello\nworld\n") << "neither a Genbank nor a FASTA file";
        QTest::newRow("empty file") << QByteArray() << "is empty";
        QTest::newRow("truncated Genbank") << truncated << "truncated";
        QTest::newRow("no letters") << QByteArray("LOCUS       X\nORIGIN\n        1 123\n//\n") << "no sequence";
        QTest::newRow("FASTA without letters") << QByteArray(">a\n\n") << "\"a\" holds no sequence letters";
    }

    void badInputFailsAndLeavesNoFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QMap<QString, int> ids;
        QVERIFY(build({}, {{"earlier", "acgt"}}, ids));
        ids.clear();
        const QString good = write("good.gb", TestData::genbankRecord("good", "", "acgt"));
        QString error;
        QVERIFY(!build({good, write("bad.gb", content)}, {}, ids, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(ids.isEmpty());
        // Neither the failed build's folder nor the earlier one is left.
        QCOMPARE(runFolders(), QStringList());
    }

    void missingFileAndEmptyRecordFail()
    {
        QMap<QString, int> ids;
        QString error;
        QVERIFY(!build({QDir::tempPath() + "/nowhere.gb"}, {}, ids, &error));
        QVERIFY2(error.contains("nowhere.gb"), qPrintable(error));
        QVERIFY(!build({}, {{"empty", ""}}, ids, &error));
        QVERIFY2(error.contains("empty"), qPrintable(error));
        // Records handed over by the open wizard are checked as a FASTA file is.
        QVERIFY(!build({}, {{"gapped", "ACGT-ACGT"}}, ids, &error));
        QVERIFY2(error.contains("\"gapped\"") && error.contains("\"-\" at position 5"), qPrintable(error));
        QCOMPARE(runFolders(), QStringList());
        QVERIFY(!QSqlDatabase::contains("gc_buildDatabase"));
    }

    void builderWritesWhereItIsTold()
    {
        GC_ComparisonDatabaseBuilder builder;
        // No path, no file: there is no fixed place to build in.
        QMap<QString, int> none;
        QVERIFY(builder.path().isEmpty());
        QVERIFY(!builder.build(none));
        QVERIFY2(builder.lastErrorText().contains("no file"), qPrintable(builder.lastErrorText()));
        const QString path = QDir::tempPath() + "/elsewhere.kestal";
        builder.setPath(path);
        builder.setFastaRecords({{"x", "acgt"}});
        QMap<QString, int> ids;
        QVERIFY(builder.build(ids));
        QCOMPARE(rows("SELECT name FROM genomes", path), QStringList({"x"}));
        QCOMPARE(GC_FileUtils::filetype(path), FILETYPE_COMPARISON);
    }
};

KESTAL_TEST_MAIN(TestComparisonDatabase)
#include "tst_comparisondatabase.moc"
