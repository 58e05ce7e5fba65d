#include "kestal_test.h"
#include "sqlite_page_damage.h"
#include "test_data.h"

#include "gc_builddatabase.h"
#include "gc_fileutils.h"
#include "gc_rundatabase.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

// File-type probing and the reading of FASTA files.
class TestFileUtils : public QObject
{
    Q_OBJECT

private:
    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = QDir::tempPath() + "/" + name;
        if (!TestData::writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QString sqliteFile(const QString &name, const QStringList &statements)
    {
        const QString path = QDir::tempPath() + "/" + name;
        QFile::remove(path);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_fileutils");
            db.setDatabaseName(path);
            if (!db.open())
                qFatal("cannot open %s", qPrintable(path));
            QSqlQuery query(db);
            for (const QString &statement : statements) {
                if (!query.exec(statement))
                    qFatal("cannot run %s", qPrintable(statement));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase("tst_fileutils");
        return path;
    }

private slots:
    void genbankDefinitionJoinsContinuationLines()
    {
        const QByteArray text = "LOCUS       X\nDEFINITION  Foo bar\n            baz\nACCESSION   X\n";
        QCOMPARE(GC_FileUtils::genbankDefinition(write("definition.gb", text)), QString("Foo bar baz"));
        const QByteArray cut = "LOCUS       X\nDEFINITION  Foo bar\n            baz\n";
        QCOMPARE(GC_FileUtils::genbankDefinition(write("cut.gb", cut)), QString());
        QCOMPARE(GC_FileUtils::genbankDefinition(kestalTestDataPath("MH816966.1.gbk")),
                 QString("Escherichia phage FEC19, complete genome."));
    }

    // Each FASTA file is read whole as the row says or refused with a
    // message naming the record.
    void fastaFilesReadOrRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        for (const QString form : {"lf", "crlf", "cr", "utf16le", "utf16be"})
            QTest::newRow(qPrintable("IUPAC " + form))
                << TestData::corpusFile("iupac.fas", form) << "read as IUPAC record=ACGTURYSWKMBDHVNacgt second=GGGGCCCC";
        QTest::newRow("comment") << TestData::corpusFile("comment.fas") << "read as commented=ACGTACGT";
        QTest::newRow("blanks in names and lines")
            << QByteArray(">  My   genome \ncc gg\ntt\tAA\n>b\nacgt") << "read as My genome=ccggttAA b=acgt";
        QTest::newRow("record without letters") << TestData::corpusFile("emptyrecord.fas")
                                                << "refused: \"first\" holds no sequence letters";
        QTest::newRow("gap") << TestData::corpusFile("gaps.fas") << "refused: \"gapped\" holds \"-\" on line 2";
        QTest::newRow("protein") << TestData::corpusFile("protein.fas") << "refused: \"prot\" holds \"L\" on line 2";
        // Beyond ASCII a character is named by its code too.
        QTest::newRow("Latin-1 byte") << TestData::corpusFile("latin1.fas")
                                      << "refused: \"latin\" holds \"\uFFFD\" (byte 0xA0) on line 3";
        QTest::newRow("UTF-16 letter") << TestData::fileForm(">x\nac\xE9gt\n", "utf16be")
                                       << "refused: \"x\" holds \"\u00E9\" (U+00E9) on line 2";
        QTest::newRow("repeated name") << TestData::corpusFile("repeated.fas") << "refused: \"same\" is used twice";
        QTest::newRow("empty file") << QByteArray() << "refused: holds no FASTA record";
        QTest::newRow("text before the header") << QByteArray("acgt\n>x\nacgt\n") << "refused: line 1 comes before";
        QTest::newRow("header without name") << QByteArray(">  \nacgt\n") << "refused: line 1 gives no record name";
        QTest::newRow("NUL bytes") << TestData::corpusFile("iupac.fas", "nul") << "refused: NUL bytes";
    }

    void fastaFilesReadOrRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString path = write("corpus.fas", content);
        QList<QPair<QString, QString>> records;
        QString error;
        if (!GC_FileUtils::readFastaFile(path, &records, &error)) {
            QVERIFY2(expected.startsWith("refused: "), qPrintable(error));
            QVERIFY2(error.contains(expected.mid(9)) && error.contains(path), qPrintable(error));
            QVERIFY(records.isEmpty());
            return;
        }
        QStringList read;
        for (const auto &record : records)
            read << record.first + "=" + record.second;
        QCOMPARE("read as " + read.join(' '), expected);
        QCOMPARE(GC_FileUtils::sequenceFileKind(path), GC_FileUtils::FastaFile);
    }

    void filetypeProbe()
    {
        const QString properties = "CREATE TABLE file_properties ( key TEXT, value TEXT )";
        QCOMPARE(GC_FileUtils::filetype(sqliteFile("canvas.kcv", {properties,
                     "INSERT INTO file_properties VALUES ('type', 'kestalcanvas')"})),
                 FILETYPE_CANVAS);
        QCOMPARE(GC_FileUtils::filetype(sqliteFile("sorvik.db", {properties,
                     "INSERT INTO file_properties VALUES ('type', 'sorvikcomparison')"})),
                 FILETYPE_COMPARISON);
        QCOMPARE(GC_FileUtils::filetype(sqliteFile("other.db", {properties,
                     "INSERT INTO file_properties VALUES ('type', 'KestalCanvas')"})),
                 FILETYPE_NONE);
        QCOMPARE(GC_FileUtils::filetype(sqliteFile("notype.db", {properties,
                     "INSERT INTO file_properties VALUES ('version', '1')"})),
                 FILETYPE_NONE);
        QCOMPARE(GC_FileUtils::filetype(sqliteFile("noprops.db", {"CREATE TABLE x ( a TEXT )"})), FILETYPE_NONE);
        // Properties that fail past their type row: what lies beyond (the
        // mark of a save that stopped) is unknown, and the file is said damaged.
        const QString failing = sqliteFile("failing.kcv", {properties,
            "INSERT INTO file_properties VALUES ('type', 'kestalcanvas')",
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
            "INSERT INTO file_properties SELECT 'note', printf('%0200d', i) FROM n"});
        QVERIFY(SqlitePageDamage::zeroLastPage(failing));
        QString unreadable;
        QCOMPARE(GC_FileUtils::filetype(failing, &unreadable), FILETYPE_NONE);
        QVERIFY2(unreadable.startsWith(QString("The file \"%1\" is damaged and cannot be read.\n"
                                               "Details: reading the file_properties table: ").arg(failing)),
                 qPrintable(unreadable));
        QCOMPARE(GC_FileUtils::filetype(write("probe.fas", ">a\nacgt\n")), FILETYPE_NONE);

        QMap<QString, int> ids;
        const std::shared_ptr<GC_RunDatabase> built = gc_buildDatabase({}, {{"a", "acgt"}}, ids);
        QVERIFY(built);
        QCOMPARE(GC_FileUtils::filetype(built->path()), FILETYPE_COMPARISON);
        // The probe's connection is always released.
        QVERIFY(!QSqlDatabase::contains("gc_fileutils_filetype"));
    }

    void probingAMissingPathCreatesNothing()
    {
        const QString path = QDir::tempPath() + "/never-there.kcv";
        QCOMPARE(GC_FileUtils::filetype(path), FILETYPE_NONE);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(GC_FileUtils::filetype(QString()), FILETYPE_NONE);
    }
};

KESTAL_TEST_MAIN(TestFileUtils)
#include "tst_fileutils.moc"
