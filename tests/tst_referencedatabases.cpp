#include "kestal_test.h"
#include "reference_database_fixture.h"

#include "gc_cogmatching.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rfammatching.h"
#include "gc_rrnamatching.h"
#include "permissions_obeyed.h"
#include "sqlite_file_lock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using Collection = GC_ReferenceDatabases::Collection;

// Runs a BLAST+ program to completion; fails the test on a failed start or
// a non-zero exit. Returns its standard output.
QString runProgram(const QString &name, const QStringList &arguments, const QString &workDir)
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStandardPaths::findExecutable(name), arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000)
        || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning().noquote() << name << "failed:" << process.errorString()
                             << QString::fromLocal8Bit(process.readAllStandardError());
        return QStringLiteral("<failed>");
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool writeGenome(const QString &path, const QString &dna)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(">seq\n" + dna.toLatin1() + "\n");
    return true;
}

// Tabular BLAST lines as lists of fields.
QList<QStringList> tabularLines(const QString &output)
{
    QList<QStringList> lines;
    for (const QString &line : output.split('\n', Qt::SkipEmptyParts))
        lines << line.split('\t');
    return lines;
}

} // namespace

// The reference collections: opening them as the program does, going on
// without them, and the stand-ins that tests of the searches build on.
class TestReferenceDatabases : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { GC_ReferenceDatabases::closeAll(); }

    // --- openers -------------------------------------------------------
    void defaultFolderIsUnderTheApplication()
    {
        QCOMPARE(GC_ReferenceDatabases::defaultFolder(), QCoreApplication::applicationDirPath() + "/databases");
        QCOMPARE(GC_ReferenceDatabases::connectionName(GC_ReferenceDatabases::Cog), QString("cog_proteins"));
        QCOMPARE(GC_ReferenceDatabases::connectionName(GC_ReferenceDatabases::Rfam), QString("rfam_seqs"));
        QCOMPARE(GC_ReferenceDatabases::connectionName(GC_ReferenceDatabases::Rrna), QString("rrna_seqs"));
    }

    void opensTheFixtureUnderFixedNames()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QVERIFY2(fixture.open(), qPrintable(fixture.errorString()));
        QCOMPARE(GC_ReferenceDatabases::folder(), fixture.folder());
        QCOMPARE(GC_ReferenceDatabases::filePath("cogprots80.fas"), fixture.path("cogprots80.fas"));
        for (const char *name : {"cog_proteins", "rfam_seqs", "rrna_seqs"}) {
            QVERIFY(QSqlDatabase::contains(name));
            QVERIFY2(QSqlDatabase::database(name, false).isOpen(), name);
        }
        QSqlQuery query(GC_ReferenceDatabases::database(GC_ReferenceDatabases::Cog));
        QVERIFY(query.exec("SELECT count(*) FROM cog_groups"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 25);
    }

    void referenceFilesAreOnlyRead()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QVERIFY(fixture.open());
        QSqlQuery query(GC_ReferenceDatabases::database(GC_ReferenceDatabases::Rfam));
        QVERIFY(!query.exec("DELETE FROM rfam_seqs"));
    }

    void otherReadersAreNotLockedOut()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QVERIFY(fixture.open());
        GC_CogMatching cog;
        cog.setCogCode("COG0002");
        QCOMPARE(cog.getCogName(), QString("Acetylglutamate semialdehyde dehydrogenase"));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "second_reader");
            other.setDatabaseName(fixture.path("cog.sqlite3"));
            QVERIFY(other.open());
            QSqlQuery query(other);
            QVERIFY2(query.exec("SELECT count(*) FROM cog_proteins"), qPrintable(query.lastError().text()));
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toInt(), ReferenceDatabaseFixture::cogProteins().size());
        }
        QSqlDatabase::removeDatabase("second_reader");
    }

    void missingFolderLeavesTheProgramRunning()
    {
        GC_ReferenceDatabases::setFolder("/nonexistent/kestal/databases");
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening COG db \"/nonexistent/kestal/databases/cog.sqlite3\""));
        QVERIFY(!GC_ReferenceDatabases::openCog());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening RFAM db \"/nonexistent/.*/rfams.sqlite3\""));
        QVERIFY(!GC_ReferenceDatabases::openRfam());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening RRNA db \"/nonexistent/.*/rrnas.sqlite3\""));
        QVERIFY(!GC_ReferenceDatabases::openRrna());
        QVERIFY(!GC_ReferenceDatabases::isOpen(GC_ReferenceDatabases::Cog));

        // Every look-up answers its miss text.
        GC_CogMatching cog;
        cog.setCogCode("COG0001");
        cog.setGroupCode("H");
        QCOMPARE(cog.getCogName(), QString("error"));
        QCOMPARE(cog.getGroupName(), QString("error"));
        QCOMPARE(cog.getClassName(), QString("error"));
        GC_RfamMatching rfam;
        rfam.setRfamCode("RF00001");
        QCOMPARE(rfam.getRfamName(), QString());
        GC_rRNAMatching rrna;
        rrna.setGroupId(1);
        QCOMPARE(rrna.getGroupName(), QString());
        QCOMPARE(rrna.getGroupDescription(), QString());
        GC_ReferenceDatabases::setFolder(QString());
    }

    void missingFileIsNotCreated()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        GC_ReferenceDatabases::setFolder(dir.path());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening COG db"));
        QVERIFY(!GC_ReferenceDatabases::openCog());
        QVERIFY(!QFile::exists(dir.filePath("cog.sqlite3")));
        GC_ReferenceDatabases::setFolder(QString());
    }

    void fileThatIsNoDatabaseFails()
    {
        QTemporaryDir dir;
        QFile junk(dir.filePath("rrnas.sqlite3"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        GC_ReferenceDatabases::setFolder(dir.path());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening RRNA db"));
        QVERIFY(!GC_ReferenceDatabases::openRrna());
        QVERIFY(!GC_ReferenceDatabases::isOpen(GC_ReferenceDatabases::Rrna));

        // A collection with one blanked table page still opens as a
        // database, but would answer look-ups with rows missing.
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QFile whole(fixture.path("rrnas.sqlite3"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        const int pageSize = (uchar(bytes.at(16)) << 8) | uchar(bytes.at(17));
        QVERIFY(bytes.size() >= 2 * pageSize);
        QFile blanked(dir.filePath("rrnas.sqlite3"));
        QVERIFY(blanked.open(QIODevice::WriteOnly | QIODevice::Truncate));
        blanked.write(bytes.left(bytes.size() - pageSize) + QByteArray(pageSize, '\0'));
        blanked.close();
        GC_ReferenceDatabases::setFolder(dir.path());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening RRNA db.*damaged"));
        QVERIFY(!GC_ReferenceDatabases::openRrna());
        QVERIFY(GC_ReferenceDatabases::lastErrorText(GC_ReferenceDatabases::Rrna).startsWith("the file is damaged"));

        // A whole collection another program holds locked for longer than
        // the wait is in use, not damaged.
        QFile::remove(dir.filePath("rrnas.sqlite3"));
        QVERIFY(QFile::copy(fixture.path("rrnas.sqlite3"), dir.filePath("rrnas.sqlite3")));
        {
            SqliteFileLock lock(dir.filePath("rrnas.sqlite3"));
            QVERIFY(lock.isHeld());
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening RRNA db.*in use by another program"));
            QVERIFY(!GC_ReferenceDatabases::openRrna());
            const QString reason = GC_ReferenceDatabases::lastErrorText(GC_ReferenceDatabases::Rrna);
            QVERIFY2(reason.contains("in use by another program"), qPrintable(reason));
            QVERIFY2(!reason.contains("damaged"), qPrintable(reason));
        }

        // A collection kept in write-ahead-log mode is read as it is. In a
        // folder its user cannot write, where SQLite can make no shared-memory
        // file for it, it is refused in words that say so, not as damaged.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_wal");
            db.setDatabaseName(dir.filePath("rrnas.sqlite3"));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("PRAGMA journal_mode=WAL") && query.next());
            QCOMPARE(query.value(0).toString(), QString("wal"));
        }
        QSqlDatabase::removeDatabase("tst_wal");
        QVERIFY2(GC_ReferenceDatabases::openRrna(), qPrintable(GC_ReferenceDatabases::lastErrorText(GC_ReferenceDatabases::Rrna)));
        QVERIFY(GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rrna, "SELECT count(*) FROM sqlite_master", {}).toInt() > 0);
        GC_ReferenceDatabases::close(GC_ReferenceDatabases::Rrna);
        // A reader leaves its empty log and shared memory behind; an
        // installed collection has none.
        QCOMPARE(QFileInfo(dir.filePath("rrnas.sqlite3-wal")).size(), 0);
        QVERIFY(QFile::remove(dir.filePath("rrnas.sqlite3-wal")) && QFile::remove(dir.filePath("rrnas.sqlite3-shm")));
        const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
        QVERIFY(QFile::setPermissions(dir.path(), readOnly));
        bool held = false;
        {
            const PermissionsObeyed obeyed;
            held = obeyed.isHeld();
            if (held) {
                QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening RRNA db.*write-ahead-log mode"));
                QVERIFY(!GC_ReferenceDatabases::openRrna());
            }
        }
        QVERIFY(QFile::setPermissions(dir.path(), readOnly | QFileDevice::WriteOwner));
        if (held) {
            const QString reason = GC_ReferenceDatabases::lastErrorText(GC_ReferenceDatabases::Rrna);
            QVERIFY2(reason.contains("kept in write-ahead-log mode"), qPrintable(reason));
            QVERIFY2(!reason.contains("damaged"), qPrintable(reason));
        }
        GC_ReferenceDatabases::setFolder(QString());
    }

    void reopeningReplacesTheConnection()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        GC_ReferenceDatabases::setFolder("/nonexistent");
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error opening COG db"));
        QVERIFY(!GC_ReferenceDatabases::openCog());
        GC_CogMatching cog;
        cog.setCogCode("COG0001");
        QCOMPARE(cog.getCogName(), QString("error"));

        QVERIFY(fixture.open());
        QCOMPARE(cog.getCogName(), QString("Glutamate-1-semialdehyde aminotransferase"));
        // A second open of the same collection leaves one working connection.
        QVERIFY(GC_ReferenceDatabases::openCog());
        QCOMPARE(cog.getCogName(), QString("Glutamate-1-semialdehyde aminotransferase"));
        GC_ReferenceDatabases::close(GC_ReferenceDatabases::Cog);
        QVERIFY(!QSqlDatabase::contains("cog_proteins"));
        QCOMPARE(cog.getCogName(), QString("error"));
    }

    void fixtureRestoresTheFolder()
    {
        GC_ReferenceDatabases::setFolder("/somewhere/else");
        {
            ReferenceDatabaseFixture fixture;
            QVERIFY(fixture.build());
            QVERIFY(fixture.open());
        }
        QCOMPARE(GC_ReferenceDatabases::folder(), QString("/somewhere/else"));
        QVERIFY(!QSqlDatabase::contains("rfam_seqs"));
        GC_ReferenceDatabases::setFolder(QString());
    }

    // --- the stand-ins answer every query the program runs on them ------
    void everyReferenceQueryRuns_data()
    {
        QTest::addColumn<int>("collection");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QVariantList>("expected");

        const int cog = GC_ReferenceDatabases::Cog;
        const int rfam = GC_ReferenceDatabases::Rfam;
        const int rrna = GC_ReferenceDatabases::Rrna;
        QTest::newRow("cog name") << cog << "SELECT name from cog_orthologies where code=?"
                                  << QVariantList{"COG0515"} << QVariantList{"Serine/threonine protein kinase"};
        QTest::newRow("group name") << cog << "SELECT name from cog_groups where code=?"
                                    << QVariantList{"K"} << QVariantList{"Transcription"};
        QTest::newRow("class name")
            << cog << "SELECT CC.name from cog_groups CG, cog_classes CC where CG.code=? and CG.class_id=CC.id"
            << QVariantList{"E"} << QVariantList{"Metabolism"};
        // A quoted number still matches an integer key.
        QTest::newRow("protein by text id") << cog << "SELECT code_cog, sequence_length from cog_proteins where id=?"
                                            << QVariantList{"4"} << QVariantList{"COG0515", 90};
        QTest::newRow("first category") << cog << "SELECT code_group from cog_orthologies_groups where code_cog=?"
                                        << QVariantList{"COG0515"} << QVariantList{"T"};
        QTest::newRow("class of group") << cog << "SELECT class_id from cog_groups where code=?"
                                        << QVariantList{"S"} << QVariantList{4};
        QTest::newRow("groups by class") << cog << "SELECT code, name from cog_groups order by class_id"
                                         << QVariantList{} << QVariantList{"J", "Translation, ribosomal structure and biogenesis"};
        QTest::newRow("rfam code") << rfam << "SELECT code_rfam from rfam_seqs where id=?"
                                   << QVariantList{3} << QVariantList{"RF00005"};
        QTest::newRow("rfam name") << rfam << "SELECT name from rfam_groups where code=?"
                                   << QVariantList{"RF00010"} << QVariantList{"RNaseP_bact_a"};
        QTest::newRow("rfam info") << rfam << "SELECT name, description from rfam_groups where code=?"
                                   << QVariantList{"RF00177"} << QVariantList{"SSU_rRNA_bacteria", ""};
        QTest::newRow("rfam max id") << rfam << "SELECT max(id) from rfam_seqs" << QVariantList{}
                                     << QVariantList{6};
        QTest::newRow("rfam length") << rfam << "SELECT length, code_rfam from rfam_seqs where id=?"
                                     << QVariantList{"5"} << QVariantList{200, "RF00177"};
        QTest::newRow("rrna group name") << rrna << "SELECT name from rrna_groups where id=?"
                                         << QVariantList{"2"} << QVariantList{"SSU"};
        QTest::newRow("rrna description") << rrna << "SELECT description from rrna_groups where id=?"
                                          << QVariantList{1} << QVariantList{"Large subunit ribosomal RNA (23S/28S)"};
        QTest::newRow("rrna stored hit") << rrna << "SELECT id_group,name from rrna_seqs where id=?"
                                         << QVariantList{201} << QVariantList{2, "Escherichia coli 16S rRNA"};
        QTest::newRow("rrna length") << rrna << "SELECT length, id_group from rrna_seqs where id=?"
                                     << QVariantList{"301"} << QVariantList{150, 3};
    }

    void everyReferenceQueryRuns()
    {
        QFETCH(int, collection);
        QFETCH(QString, sql);
        QFETCH(QVariantList, values);
        QFETCH(QVariantList, expected);
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QVERIFY(fixture.open());
        const QVariantList row = GC_ReferenceLookup::firstRow(Collection(collection), sql, values);
        QCOMPARE(row.size(), expected.size());
        for (int i = 0; i < row.size(); ++i)
            QCOMPARE(row.at(i).toString(), expected.at(i).toString());
    }

    void referenceRowsMissWhereDocumented()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY(fixture.build());
        QVERIFY(fixture.open());
        bool found = true;
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Cog, "SELECT code_cog from cog_proteins where id=?",
                                       {ReferenceDatabaseFixture::missingCogProteinId}, &found);
        QVERIFY(!found);
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rfam, "SELECT code_rfam from rfam_seqs where id=?",
                                       {ReferenceDatabaseFixture::missingRfamSequenceId}, &found);
        QVERIFY(!found);
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rrna, "SELECT id_group from rrna_seqs where id=?",
                                       {ReferenceDatabaseFixture::missingRrnaSequenceId}, &found);
        QVERIFY(!found);
        // A broken statement is a miss, not a crash.
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("cannot prepare"));
        GC_ReferenceLookup::firstValue(GC_ReferenceDatabases::Rrna, "SELECT nothing FROM nowhere", {}, &found);
        QVERIFY(!found);
    }

    // --- the FASTA collections and BLAST databases work with BLAST+ ----
    void cogProteinsAreFoundByTblastn()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QTemporaryDir work;
        const QString protein4 = ReferenceDatabaseFixture::codingSequence(ReferenceDatabaseFixture::cogProteinSequence(4));
        const QString protein2 = ReferenceDatabaseFixture::codingSequence(ReferenceDatabaseFixture::cogProteinSequence(2));
        QCOMPARE(protein4.size(), 270);
        const QString genome = ReferenceDatabaseFixture::filler(500, 1) + protein4 + ReferenceDatabaseFixture::filler(400, 2)
                               + ReferenceDatabaseFixture::reverseComplement(protein2)
                               + ReferenceDatabaseFixture::filler(300, 3);
        QVERIFY(writeGenome(work.filePath("seq.fas"), genome));
        QVERIFY(runProgram("makeblastdb", {"-in", "seq.fas", "-dbtype", "nucl", "-hash_index", "-out", "seq"},
                           work.path()) != "<failed>");
        const QString output = runProgram("tblastn", {"-db", "seq", "-query", fixture.path("cogprots80.fas"),
                                                      "-evalue", "0.0001", "-outfmt",
                                                      "6 qseqid length sstart send evalue bitscore"},
                                          work.path());
        const QList<QStringList> lines = tabularLines(output);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).mid(0, 4), (QStringList{"2", "70", "1380", "1171"}));
        QCOMPARE(lines.at(1).mid(0, 4), (QStringList{"4", "90", "501", "770"}));
        QVERIFY(lines.at(1).at(4).toDouble() < 1e-30);
    }

    void rfamSequencesAreFoundByBlastn()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        QTemporaryDir work;
        const QString genome = ReferenceDatabaseFixture::filler(300, 4) + ReferenceDatabaseFixture::rfamSequence(1)
                               + ReferenceDatabaseFixture::filler(300, 5);
        QVERIFY(writeGenome(work.filePath("seq.fas"), genome));
        QVERIFY(runProgram("makeblastdb", {"-in", "seq.fas", "-dbtype", "nucl", "-hash_index", "-out", "seq"},
                           work.path()) != "<failed>");
        const QString output = runProgram("blastn", {"-db", "seq", "-query", fixture.path("rfams.fas"), "-task",
                                                     "megablast", "-evalue", "0.0001", "-outfmt",
                                                     "6 qseqid length sstart send evalue bitscore"},
                                          work.path());
        const QList<QStringList> lines = tabularLines(output);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.at(0).mid(0, 4), (QStringList{"1", "120", "301", "420"}));
    }

    void silvaCopiesAreSearchedByGi()
    {
        ReferenceDatabaseFixture fixture;
        QVERIFY2(fixture.build(), qPrintable(fixture.errorString()));
        // The search copies seven files of each database into its work folder.
        QTemporaryDir work;
        for (const QString database : {"LSU_106_silva_80", "SSU_106_silva_80"}) {
            for (const char *extension : {".nhd", ".nhi", ".nhr", ".nin", ".nnd", ".nni", ".nsq"})
                QVERIFY(QFile::copy(fixture.path(database + extension), work.filePath(database + extension)));
        }
        const QString genome = ReferenceDatabaseFixture::filler(200, 6)
                               + ReferenceDatabaseFixture::rrnaSequence(101).mid(50, 300)
                               + ReferenceDatabaseFixture::filler(200, 7)
                               + ReferenceDatabaseFixture::reverseComplement(ReferenceDatabaseFixture::rrnaSequence(201))
                               + ReferenceDatabaseFixture::filler(200, 8)
                               + ReferenceDatabaseFixture::rrnaSequence(ReferenceDatabaseFixture::missingRrnaSequenceId);
        QVERIFY(writeGenome(work.filePath("seq.fas"), genome));
        const QStringList options = {"-query", "seq.fas", "-task", "dc-megablast", "-template_type", "optimal",
                                     "-template_length", "21", "-max_target_seqs", "10", "-evalue", "0.001",
                                     "-outfmt", "6 sgi length qstart qend evalue bitscore"};
        const QList<QStringList> lsu = tabularLines(runProgram("blastn", QStringList{"-db", "LSU_106_silva_80"} + options, work.path()));
        QCOMPARE(lsu.size(), 2);
        // The alignment may run a base into the filler where it matches by chance.
        QCOMPARE(lsu.at(0).at(0), QString("101"));
        QCOMPARE(lsu.at(0).at(2), QString("201"));
        QVERIFY(qAbs(lsu.at(0).at(3).toInt() - 500) <= 2);
        QCOMPARE(lsu.at(1).at(0), QString::number(ReferenceDatabaseFixture::missingRrnaSequenceId));
        const QList<QStringList> ssu = tabularLines(runProgram("blastn", QStringList{"-db", "SSU_106_silva_80"} + options, work.path()));
        QCOMPARE(ssu.size(), 1);
        QCOMPARE(ssu.at(0).at(0), QString("201"));
        QVERIFY(qAbs(ssu.at(0).at(2).toInt() - 701) <= 2);
        QVERIFY(qAbs(ssu.at(0).at(3).toInt() - 1000) <= 2);
    }

    void sequencesAreStable()
    {
        // Later tests place these sequences at fixed genome positions.
        QCOMPARE(ReferenceDatabaseFixture::cogProteinSequence(1).size(), 60);
        QVERIFY(ReferenceDatabaseFixture::cogProteinSequence(1).startsWith('M'));
        QCOMPARE(ReferenceDatabaseFixture::cogProteinSequence(1), ReferenceDatabaseFixture::cogProteinSequence(1));
        QVERIFY(ReferenceDatabaseFixture::cogProteinSequence(42).isEmpty());
        QCOMPARE(ReferenceDatabaseFixture::rrnaSequence(101).size(), 400);
        QCOMPARE(ReferenceDatabaseFixture::reverseComplement("AACGTN"), QString("NACGTT"));
        QCOMPARE(ReferenceDatabaseFixture::codingSequence("MK"), QString("ATGAAA"));
        QVERIFY(ReferenceDatabaseFixture::filler(50, 1) != ReferenceDatabaseFixture::filler(50, 2));
    }
};

KESTAL_TEST_MAIN(TestReferenceDatabases)
#include "tst_referencedatabases.moc"
