#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_canvasrowcounter.h"
#include "gc_coghomologies.h"
#include "gc_cogmatching.h"
#include "gc_cogshowmatchings_dialog.h"
#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_rfamhomologies.h"
#include "gc_rfammatching.h"
#include "gc_rrnahomologies.h"
#include "gc_rrnamatching.h"
#include "gc_ruler.h"
#include "gc_sqlconnection.h"
#include "modal_answerer.h"
#include "permissions_obeyed.h"
#include "scene_fixture.h"
#include "sqlite_file_lock.h"
#include "sqlite_page_damage.h"
#include "test_data.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of a statement on a file, each row's values joined by '|'.
QStringList rows(const QString &path, const QString &sql)
{
    QStringList result;
    GC_SqlConnection file(QStringLiteral("tst_rows"), path, GC_SqlConnection::ReadOnly);
    QSqlQuery query(file.database());
    if (!query.exec(sql))
        return {QStringLiteral("ERROR")};
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << query.value(i).toString();
        result << values.join('|');
    }
    return result;
}

QString scalar(const QString &path, const QString &sql)
{
    const QStringList all = rows(path, sql);
    return all.isEmpty() ? QString() : all.first();
}

// Builds a database from a file of SQL statements, one per ";" line end.
bool buildFromSql(const QString &sqlPath, const QString &path)
{
    QString text = QString::fromUtf8(fileBytes(sqlPath));
    QStringList statements;
    QString current;
    for (const QString &line : text.split('\n')) {
        if (line.startsWith("--"))
            continue;
        current += line + '\n';
        if (line.trimmed().endsWith(';')) {
            statements << current.trimmed();
            current.clear();
        }
    }
    GC_SqlConnection file(QStringLiteral("tst_build"), path);
    QSqlQuery query(file.database());
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            qWarning() << statement;
            return false;
        }
    }
    return !statements.isEmpty();
}

// The example canvas with one kind of damage, placed by the file's own page
// size and the root pages its schema names.
QByteArray damagedExample(const QString &damage)
{
    const QString example = kestalTestDataPath("../../examples/phages.kcv");
    QByteArray bytes = fileBytes(example);
    const qsizetype pageSize = (uchar(bytes.at(16)) << 8) | uchar(bytes.at(17));
    auto rootOffset = [&](const QString &table) {
        return (scalar(example, QString("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(table)).toInt() - 1)
            * pageSize;
    };
    auto bigEndian = [&](qsizetype at, int size) {
        int value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | uchar(bytes.at(at + i));
        return value;
    };
    if (damage == "genomes-loop") {
        // The interior root's right child becomes the root itself.
        const qsizetype root = rootOffset("genomes");
        const int page = int(root / pageSize) + 1;
        for (int i = 0; i < 4; ++i)
            bytes[root + 8 + i] = char(page >> (8 * (3 - i)));
    } else if (damage == "genes-zero") {
        bytes.replace(rootOffset("genes"), pageSize, QByteArray(pageSize, '\0'));
    } else if (damage == "genes-cells") {
        // The cell count of the first leaf under the genes root.
        const qsizetype root = rootOffset("genes");
        const qsizetype leaf = (bigEndian(root + bigEndian(root + 12, 2), 4) - 1) * pageSize;
        bytes[leaf + 4] = char(bytes.at(leaf + 4) ^ 0x40);
    } else if (damage == "genes-column") {
        const qsizetype at = bytes.indexOf("lineColor TEXT , fillColor TEXT , arrowStyle INTEGER, note");
        bytes[at + 8] = '2';
    } else if (damage == "truncated") {
        bytes.truncate(bytes.size() / pageSize / 2 * pageSize);
    } else {
        // Values SQLite's check cannot see: the example with one statement run on it.
        const QHash<QString, QString> statements{
            {"sequence-nul", "UPDATE genomes SET dnaSequence = substr(dnaSequence, 1, 30000) "
                             "|| char(0, 0, 0, 0, 0, 0, 0, 0) || substr(dnaSequence, 30009) WHERE id = 0"},
            {"sequence-punctuation", "UPDATE genomes SET dnaSequence = substr(dnaSequence, 1, 500) || '7-.' "
                                     "|| substr(dnaSequence, 504) WHERE id = 1"},
            {"matching-below", "UPDATE genomematchings SET topFrom = 5883, topTo = -29550 "
                               "WHERE rowid = (SELECT min(rowid) FROM genomematchings)"},
            {"matching-beyond", "UPDATE genomematchings SET topTo = 70000 "
                                "WHERE rowid = (SELECT min(rowid) FROM genomematchings)"},
            {"genome-zero", "UPDATE genomes SET nucfrom = 0 WHERE id = 1"},
            {"gene-below", "UPDATE genes SET nucfrom = -5 WHERE rowid = (SELECT min(rowid) FROM genes)"},
            {"anotation-below", "INSERT INTO anotations ( id , genomeId , nucfrom , nucto ) VALUES ( 1 , 0 , -10 , 20 )"},
            {"hit-below", "INSERT INTO cog_matchings VALUES ( 3 , 0 , 0 , 40 , 1e-20 , 55.5 )"},
            // 9e999 is SQLite's infinity; a NaN can only be stored as text.
            {"genome-x-infinite", "UPDATE genomes SET x = -9e999 WHERE id = 0"},
            {"genome-angle-nan", "UPDATE genomes SET textAngle = 'NaN' WHERE id = 1"},
            {"gene-y-infinite", "UPDATE genes SET y = 9e999 WHERE rowid = (SELECT min(rowid) FROM genes)"},
            {"ruler-height-nan", "UPDATE ruler SET heightBig = 'nan' WHERE genomeId = 1"},
            {"anotation-height-infinite", "INSERT INTO anotations ( id , genomeId , nucfrom , nucto , height ) "
                                          "VALUES ( 1 , 0 , 100 , 200 , -9e999 )"},
            {"freetext-angle-infinite", "INSERT INTO freetext ( x , y , angle , text ) VALUES ( 10 , 10 , 9e999 , 'note' )"},
            {"matching-similarity-nan", "UPDATE genomematchings SET similarity = 'nan' "
                                        "WHERE rowid = (SELECT min(rowid) FROM genomematchings)"},
            {"genome-orientation", "UPDATE genomes SET orientation = 94 WHERE id = 0"},
            {"gene-orientation", "UPDATE genes SET orientation = 94 WHERE rowid = (SELECT max(rowid) FROM genes)"},
            {"genome-end-int-max", "UPDATE genomes SET nucto = 2147483647 WHERE id = 0"},
            {"anotation-end-past-int", "INSERT INTO anotations ( id , genomeId , nucfrom , nucto ) "
                                       "VALUES ( 1 , 1 , 5 , 4294967301 )"},
            {"hit-far", "INSERT INTO cog_matchings VALUES ( 3 , 0 , 40 , 2000000000 , 1e-20 , 55.5 )"},
            {"genome-x-text", "UPDATE genomes SET x = 'abc' WHERE id = 0"},
            {"switch-text", "UPDATE genomes SET showRuler = 'yes' WHERE id = 1"},
            {"hit-evalue-text", "INSERT INTO cog_matchings VALUES ( 3 , 0 , 10 , 40 , 'small' , 55.5 )"},
            {"genome-x-far", "UPDATE genomes SET x = 1e300 WHERE id = 0"},
            {"genome-y-far", "UPDATE genomes SET y = 1e12 WHERE id = 1"},
            {"genome-scale", "UPDATE genomes SET pixPerNuc = 1e7 WHERE id = 0"},
            {"genome-height", "UPDATE genomes SET heightBig = 1e300 WHERE id = 1"},
            {"matching-id-int-max", "UPDATE genomematchings SET id = 2147483647 "
                                    "WHERE rowid = (SELECT min(rowid) FROM genomematchings)"},
            {"gene-of-genome-5", "UPDATE genes SET genomeId = 5 WHERE rowid = (SELECT min(rowid) FROM genes)"},
            {"anotation-of-genome-int-max", "INSERT INTO anotations ( id , genomeId , nucfrom , nucto ) "
                                            "VALUES ( 1 , 2147483647 , 100 , 200 )"},
            {"matching-to-genome-5", "UPDATE genomematchings SET lowGenomeId = 5 "
                                     "WHERE rowid = (SELECT min(rowid) FROM genomematchings)"},
            {"ruler-twice", "INSERT INTO ruler SELECT * FROM ruler WHERE genomeId = 1"},
            {"genome-id-null", "UPDATE genomes SET id = NULL WHERE id = 0; "
                               "UPDATE genes SET genomeId = 5 WHERE rowid = (SELECT max(rowid) FROM genes)"},
        };
        QTemporaryDir scratch;
        const QString copy = scratch.filePath("copy.kcv");
        if (!statements.contains(damage) || !TestData::writeFile(copy, bytes))
            return bytes;
        {
            GC_SqlConnection file(QStringLiteral("tst_damage"), copy);
            QSqlQuery query(file.database());
            for (const QString &statement : statements.value(damage).split("; ")) {
                if (!query.exec(statement) || query.numRowsAffected() != 1)
                    return bytes;
            }
        }
        bytes = fileBytes(copy);
    }
    return bytes;
}

// While it lives, runs an action once, in the thread that logs it, on the
// first log line that contains a text: a way to change a file at one
// exact moment of a reading.
class OnLogLine
{
public:
    OnLogLine(const QString &text, std::function<void()> action)
    {
        s_text = text;
        s_action = std::move(action);
        s_previous = qInstallMessageHandler(&OnLogLine::handle);
    }
    ~OnLogLine()
    {
        qInstallMessageHandler(s_previous);
        s_action = nullptr;
    }
    OnLogLine(const OnLogLine &) = delete;
    OnLogLine &operator=(const OnLogLine &) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (s_action && message.contains(s_text))
            std::exchange(s_action, nullptr)();
        if (s_previous)
            s_previous(type, context, message);
    }
    static inline QString s_text;
    static inline std::function<void()> s_action;
    static inline QtMessageHandler s_previous = nullptr;
};

// Starts another copy of the program, held as arguments say (see
// save_driver): false when it did not get there.
bool startHeld(QProcess &copy, const QStringList &arguments)
{
    copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy.start(KESTAL_SAVE_DRIVER, arguments);
    return copy.waitForReadyRead(60000) && copy.readAll() == "holding\n";
}

// Leaves the file as another program leaves it that is killed in the middle
// of a change ("midwrite": changed pages already in the file) or with a
// change committed into its write-ahead log ("logged").
bool killedWhileChanging(const QString &how, const QString &file)
{
    QProcess copy;
    const bool held = startHeld(copy, {how, file});
    copy.kill();
    return copy.waitForFinished(60000) && held;
}

// Puts a file in write-ahead-log mode, as "PRAGMA journal_mode=WAL" in the
// sqlite3 shell does, and closes it. False when it could not be done.
bool putInWriteAheadLogMode(const QString &file)
{
    GC_SqlConnection connection(QStringLiteral("tst_wal_writer"), file);
    QSqlQuery query(connection.database());
    return query.exec("PRAGMA journal_mode=WAL") && query.next() && query.value(0).toString() == "wal";
}

GC_Gene *makeGene(int id, int from, int to, const QString &name)
{
    auto *gene = new GC_Gene;
    gene->setId(id);
    gene->setName(name);
    gene->setFromTo(from, to);
    return gene;
}

// What lies beside a file under its name with something appended: the
// files a save left behind.
QStringList leftoversBeside(const QString &file)
{
    const QFileInfo info(file);
    QStringList found = QDir(info.path()).entryList({info.fileName() + "*"},
                                                    QDir::AllEntries | QDir::Hidden | QDir::System);
    found.removeAll(info.fileName());
    return found;
}

// A POSIX access list in the kernel's attribute form (version 2, then tag,
// permissions and id of each entry, little-endian): owner, group and others
// as mode 660 gives them, and user 4245 who may read and write.
const QByteArray accessListOf660AndUser4245 = QByteArray::fromHex(
    "02000000" "01000600ffffffff" "0200060095100000" "04000600ffffffff" "10000600ffffffff" "20000000ffffffff");

// A file's extended attribute, or "none".
QByteArray attribute(const QString &path, const char *name)
{
    QByteArray value(4096, '\0');
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value.data(), size_t(value.size()));
    return size < 0 ? QByteArray("none") : value.left(size);
}

// Runs body held to file permissions as an ordinary user is, root
// included; a text starting with "held:" when that could not be done.
QString obeyingPermissions(const std::function<QString()> &body)
{
    const PermissionsObeyed obeyed;
    return obeyed.isHeld() ? body() : QStringLiteral("held: root's powers could not be set aside");
}

} // namespace

namespace {

// While a file is watched, the inode it had at each sync of its folder: a
// sync seen with a save's new file in place came after the rename.
std::mutex syncsMutex;
QByteArray watchedFile;
struct stat watchedFolder {};
QList<ino_t> inodesAtFolderSyncs;

void watchFolderSyncs(const QString &file)
{
    const std::lock_guard<std::mutex> guard(syncsMutex);
    watchedFile = QFile::encodeName(file);
    ::stat(QFile::encodeName(QFileInfo(file).path()).constData(), &watchedFolder);
    inodesAtFolderSyncs.clear();
}

} // namespace

// The program's own syncs come here (the library is linked in) on their
// way to the C library's.
extern "C" int fsync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    const int result = real(fd);
    const std::lock_guard<std::mutex> guard(syncsMutex);
    struct stat synced {};
    struct stat file {};
    if (result == 0 && ::fstat(fd, &synced) == 0 && synced.st_dev == watchedFolder.st_dev
        && synced.st_ino == watchedFolder.st_ino && ::stat(watchedFile.constData(), &file) == 0)
        inodesAtFolderSyncs.append(file.st_ino);
    return result;
}

class TestCanvasFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    // Exports a loaded scene as PNG and as SVG, the view and the whole
    // canvas, as the export dialog does.
    void exportImages(GC_GenomeScene &scene, const QString &name)
    {
        scene.addItemsToScene();
        const auto view = SceneFixture::showView(scene, 800, 400);
        for (const QString format : {"PNG", "SVG"}) {
            for (const bool whole : {false, true}) {
                QString file = path(name + (whole ? "_whole" : "_view"));
                QVERIFY2(scene.exportImage(file, format, whole, true), qPrintable(scene.lastErrorText()));
                QVERIFY(QFileInfo(file).size() > 0);
            }
        }
    }

    // The tables of an empty canvas, for files written row by row the way
    // older versions wrote them.
    static bool createCanvasTables(QSqlQuery &query)
    {
        if (!query.exec("CREATE TABLE file_properties ( key TEXT , value TEXT )")
            || !query.exec("INSERT INTO file_properties VALUES ( 'type' , 'kestalcanvas' )"))
            return false;
        for (const QString &create : {GC_Genome::sqlCreateTable(), GC_Gene::sqlCreateTable(),
                                      GC_Anotation::sqlCreateTable(), GC_Ruler::sqlCreateTable(),
                                      GC_GenomeMatching::sqlCreateTable(), GC_FreeText::sqlCreateTable()}) {
            if (!query.exec(create))
                return false;
        }
        return true;
    }

    static bool createHitTables(QSqlQuery &query)
    {
        return query.exec(GC_CogMatching::createTableSql()) && query.exec(GC_RfamMatching::createTableSql())
               && query.exec(GC_rRNAMatching::createTableSql());
    }

    // The stored hit rows of each family in a file: all of them, or a
    // genome's.
    static QString hitCounts(const QString &file, int genomeId = -1)
    {
        QStringList counts;
        for (const char *table : {"cog_matchings", "rfam_matchings", "rrna_matchings"})
            counts << scalar(file, QString("SELECT count(*) FROM %1%2").arg(table,
                                   genomeId < 0 ? QString() : QString(" WHERE genomeId = %1").arg(genomeId)));
        return counts.join('+');
    }

    static QString storedCounts(const GC_Genome *genome)
    {
        return QString("%1+%2+%3").arg(genome->getDatabaseCogMatchingsCount())
            .arg(genome->getDatabaseRfamMatchingsCount()).arg(genome->getDatabaserRNAMatchingsCount());
    }

    // Opens a canvas that another program moves away once its genomes rows
    // are read, and back once it is open: no stored hit could be counted.
    // Loads the canvas while its file cannot be opened a second time, from
    // the first genome's reading on: its stored hits cannot be counted.
    static bool loadWhileBrieflyUnreadable(GC_GenomeScene &scene, const QString &file)
    {
        const QFile::Permissions permissions = QFile::permissions(file);
        bool opened = false;
        {
            OnLogLine away("GC_Genome::setCoords(): ", [&] { QFile::setPermissions(file, {}); });
            const PermissionsObeyed obeyed;
            opened = obeyed.isHeld() && scene.loadKestalCanvas(file);
        }
        return QFile::setPermissions(file, permissions) && opened;
    }

    // A scene with every stored item kind and non-default values throughout.
    void buildFullScene(GC_GenomeScene &scene)
    {
        auto *top = new GC_Genome;
        top->setName("Top genome");
        top->setDnaSequence(QString::fromLatin1(TestData::randomDna(5000, 3)));
        top->setCoords(GC_Interval(101, 4900));
        top->setOrientation(-1);
        top->setPixPerNuc(0.35);
        top->setPos(40.5, -12.25);
        top->setShowGenes(false);
        top->setShowMatchings(false);
        top->setShowRuler(false);
        top->setTextColor(QColor("#123456"));
        QFont font("DejaVu Sans", 13);
        font.setBold(true);
        font.setItalic(true);
        top->setTextFont(font);
        top->setTextX(0.25);
        top->setTextY(12.0);
        top->setTextAngle(33.5);
        top->setTextPositionFlag(2);
        top->setHeightBig(9.5);
        top->setHeightSmall(6.5);
        top->setHeadLength(4.25);
        top->setLineColor(QColor(10, 20, 30));
        top->setFillColor(QColor(200, 100, 50, 128));
        top->setArrowStyle(0);

        GC_Ruler *ruler = top->getRuler();
        ruler->setY(-20.0);
        ruler->setOrientation(2);
        ruler->setTextPlacement(1);
        ruler->setHorizontalLineVisible(false);
        ruler->setStyle(0);
        ruler->setHeightBig(12.0);
        ruler->setHeightSmall(4.0);
        ruler->setNucsPerPeriod(100);
        ruler->setPeriodsPerBigLine(5);
        ruler->setPixsPerPeriod(20);
        ruler->setLineColor(Qt::blue);
        ruler->setTextColor(Qt::darkGreen);
        ruler->setTextFont(QFont("Serif", 7));

        GC_Gene *gene = makeGene(7, 200, 500, "dnaA");
        gene->setNote("replication initiator");
        gene->setLocusTag("TOP_0007");
        gene->setMetadata("db_xref=GeneID:1");
        gene->setShowText(false);
        gene->setY(-8.5);
        gene->setHeightBig(7.0);
        gene->setHeightSmall(3.0);
        gene->setHeadLength(2.5);
        gene->setLineColor(QColor("#010203"));
        gene->setFillColor(QColor("#a0b0c0"));
        gene->setArrowStyle(0);
        top->addGene(gene);
        top->addGene(makeGene(8, 900, 700, "reverse one"));
        top->addGene(makeGene(9, 4000, 4100, QString()));

        auto *anotation = new GC_Anotation;
        anotation->setId(3);
        anotation->setName("promoter");
        anotation->setCoords(GC_Interval(300, 350));
        anotation->setHeight(14.0);
        anotation->setShowText(false);
        anotation->setTextY(-5.0);
        anotation->setTextAngle(45.0);
        anotation->setTextPositionFlag(0);
        anotation->setLineColor(QColor("#111111"));
        anotation->setFillColor(QColor("#22ee22"));
        anotation->setTextColor(QColor("#3333cc"));
        QFont anotationFont("DejaVu Serif", 9);
        anotationFont.setUnderline(true);
        anotation->setTextFont(anotationFont);
        anotation->setY(15.0);
        top->addAnotation(anotation);
        auto *second = new GC_Anotation;
        second->setId(4);
        second->setCoords(GC_Interval(1000, 1200));
        top->addAnotation(second);

        top->getCogHomologies()->addCogMatching(100, 400, 3, "COG0001", "H", 1, 1e-30f, 250.5f);
        top->getCogHomologies()->addCogMatching(450, 800, 5, "COG0005", "K", 2, 2e-8f, 40.0f);
        top->getRfamHomologies()->addRfamMatching(500, 600, 2, "RF00005", 1e-10f, 80.0f);
        top->getrRNAHomologies()->addrRNAMatching(700, 900, 101, 1, 1e-20f, 120.0f);

        auto *low = new GC_Genome;
        low->setName("Low genome");
        low->setDnaSequence(QString::fromLatin1(TestData::randomDna(3000, 4)));
        low->setCoords(GC_Interval(1, 3000));
        low->setPos(30.0, 300.0);
        low->setVisibleGenome(false);
        low->addGene(makeGene(1, 10, 90, "low gene"));

        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        top->arrangeChildren(0);
        low->arrangeChildren(1);
        // Placing the rows moves the labels; put the top one back.
        top->setTextY(12.0);
        const struct { int id, tf, tt, lf, lt; double sim, bits; const char *color; } bands[] = {
            {11, 200, 600, 10, 400, 97.25, 812.5, "#ff0000"},
            {12, 1000, 1500, 2500, 2000, 88.0, 100.0, nullptr},
            {13, 4000, 4100, 1, 101, 75.5, 60.125, "#00ccff"},
        };
        for (const auto &band : bands) {
            auto *matching = new GC_GenomeMatching;
            matching->setId(band.id);
            matching->setTop(top, band.tf, band.tt);
            matching->setLow(low, band.lf, band.lt);
            matching->setSimilarity(band.sim);
            matching->setBitScore(band.bits);
            if (band.color)
                matching->setColor(QColor(band.color));
            scene.insertMatching(matching);
        }
        auto *text = new GC_FreeText;
        text->setText("Hello canvas");
        text->setPos(10.5, 20.25);
        text->setColor(QColor("#445566"));
        text->setFont(QFont("DejaVu Sans Mono", 15));
        text->setAngle(-30.0);
        text->setPositionFlag(2);
        scene.insertFreeText(text);
        auto *empty = new GC_FreeText;
        empty->setText(QString());
        scene.insertFreeText(empty);
        scene.addItemsToScene();
        scene.setMargin(25.0);
        scene.setSeparationBetweenGenomes(9.0);
    }

    static void compareGenomes(const GC_Genome *a, const GC_Genome *b)
    {
        QCOMPARE(b->getId(), a->getId());
        QCOMPARE(b->getName(), a->getName());
        QCOMPARE(b->getCoords(), a->getCoords());
        QCOMPARE(b->getOrientation(), a->getOrientation());
        QCOMPARE(b->getPixPerNuc(), a->getPixPerNuc());
        QCOMPARE(b->pos(), a->pos());
        QCOMPARE(b->getDnaSequence(), a->getDnaSequence());
        QCOMPARE(b->getShowGenes(), a->getShowGenes());
        QCOMPARE(b->getShowAnotations(), a->getShowAnotations());
        QCOMPARE(b->getShowMatchings(), a->getShowMatchings());
        QCOMPARE(b->getShowRuler(), a->getShowRuler());
        QCOMPARE(b->getShowText(), a->getShowText());
        QCOMPARE(b->getTextColor(), a->getTextColor());
        QCOMPARE(b->getTextFont(), a->getTextFont());
        QCOMPARE(b->getTextX(), a->getTextX());
        QCOMPARE(b->getTextY(), a->getTextY());
        QCOMPARE(b->getTextAngle(), a->getTextAngle());
        QCOMPARE(b->getTextPositionFlag(), a->getTextPositionFlag());
        QCOMPARE(b->getHeightBig(), a->getHeightBig());
        QCOMPARE(b->getHeightSmall(), a->getHeightSmall());
        QCOMPARE(b->getHeadLength(), a->getHeadLength());
        QCOMPARE(b->getLineColor(), a->getLineColor());
        // The alpha channel is not kept.
        QColor fill = a->getFillColor();
        fill.setAlpha(255);
        QCOMPARE(b->getFillColor(), fill);
        QCOMPARE(b->getArrowStyle(), a->getArrowStyle());
        QCOMPARE(b->isVisible(), a->isVisible());

        const GC_Ruler *ra = a->getRuler();
        const GC_Ruler *rb = b->getRuler();
        QCOMPARE(rb->y(), ra->y());
        QCOMPARE(rb->getOrientation(), ra->getOrientation());
        QCOMPARE(rb->getTextPlacement(), ra->getTextPlacement());
        QCOMPARE(rb->getHorizontalLineVisible(), ra->getHorizontalLineVisible());
        QCOMPARE(rb->getStyle(), ra->getStyle());
        QCOMPARE(rb->getHeightBig(), ra->getHeightBig());
        QCOMPARE(rb->getHeightSmall(), ra->getHeightSmall());
        QCOMPARE(rb->getNucsPerPeriod(), ra->getNucsPerPeriod());
        QCOMPARE(rb->getPeriodsPerBigLine(), ra->getPeriodsPerBigLine());
        QCOMPARE(rb->getPixsPerPeriod(), ra->getPixsPerPeriod());
        QCOMPARE(rb->getLineColor(), ra->getLineColor());
        QCOMPARE(rb->getTextColor(), ra->getTextColor());
        QCOMPARE(rb->getTextFont(), ra->getTextFont());

        QCOMPARE(b->countGenes(), a->countGenes());
        for (int i = 0; i < a->countGenes(); ++i) {
            const GC_Gene *ga = a->getGenes().at(i);
            const GC_Gene *gb = b->getGenes().at(i);
            QCOMPARE(gb->getId(), ga->getId());
            QCOMPARE(gb->getName(), ga->getName());
            QCOMPARE(gb->getCoords(), ga->getCoords());
            QCOMPARE(gb->getOrientation(), ga->getOrientation());
            QCOMPARE(gb->getShowText(), ga->getShowText());
            QCOMPARE(gb->y(), ga->y());
            QCOMPARE(gb->getHeightBig(), ga->getHeightBig());
            QCOMPARE(gb->getHeightSmall(), ga->getHeightSmall());
            QCOMPARE(gb->getHeadLength(), ga->getHeadLength());
            QCOMPARE(gb->getLineColor(), ga->getLineColor());
            QCOMPARE(gb->getFillColor(), ga->getFillColor());
            QCOMPARE(gb->getArrowStyle(), ga->getArrowStyle());
            QCOMPARE(gb->getNote(), ga->getNote());
            QCOMPARE(gb->getLocusTag(), ga->getLocusTag());
            QCOMPARE(gb->getMetadata(), ga->getMetadata());
        }
        QCOMPARE(b->getAnotations().size(), a->getAnotations().size());
        for (int i = 0; i < a->getAnotations().size(); ++i) {
            const GC_Anotation *aa = a->getAnotations().at(i);
            const GC_Anotation *ab = b->getAnotations().at(i);
            QCOMPARE(ab->getId(), aa->getId());
            QCOMPARE(ab->getName(), aa->getName());
            QCOMPARE(ab->getCoords(), aa->getCoords());
            QCOMPARE(ab->getHeight(), aa->getHeight());
            QCOMPARE(ab->getShowText(), aa->getShowText());
            QCOMPARE(ab->y(), aa->y());
            QCOMPARE(ab->getTextY(), aa->getTextY());
            QCOMPARE(ab->getTextAngle(), aa->getTextAngle());
            QCOMPARE(ab->getTextPositionFlag(), aa->getTextPositionFlag());
            QCOMPARE(ab->getLineColor(), aa->getLineColor());
            QCOMPARE(ab->getFillColor(), aa->getFillColor());
            QCOMPARE(ab->getTextColor(), aa->getTextColor());
            QCOMPARE(ab->getTextFont(), aa->getTextFont());
        }
    }

    static QStringList hitRows(const QString &file, const QString &table, int genomeId)
    {
        return rows(file, QStringLiteral("SELECT * FROM %1 WHERE genomeId = %2 ORDER BY start")
                              .arg(table)
                              .arg(genomeId));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
    }

    void emptySceneFile()
    {
        GC_GenomeScene scene;
        scene.setFileName(path("empty.kcv"));
        scene.setModified(true);
        QVERIFY(scene.saveToKestalCanvas());
        QVERIFY(!scene.isModified());
        QCOMPARE(leftoversBeside(path("empty.kcv")), QStringList());
        QCOMPARE(GC_FileUtils::filetype(path("empty.kcv")), FILETYPE_CANVAS);
        QCOMPARE(rows(path("empty.kcv"), "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"),
                 (QStringList{"file_properties", "scene", "genomes", "genes", "anotations", "ruler",
                              "genomematchings", "freetext", "cog_matchings", "rfam_matchings",
                              "rrna_matchings"}));
        QCOMPARE(rows(path("empty.kcv"), "SELECT key, value, typeof(value) FROM file_properties"),
                 (QStringList{"version|1|text", "type|kestalcanvas|text"}));
        const QStringList sceneRow = rows(path("empty.kcv"), "SELECT * FROM scene");
        QCOMPARE(sceneRow.size(), 1);
        QVERIFY(sceneRow.first().endsWith("|30|7"));
        for (const char *table : {"genomes", "genes", "anotations", "ruler", "genomematchings",
                                  "freetext", "cog_matchings", "rfam_matchings", "rrna_matchings"})
            QCOMPARE(scalar(path("empty.kcv"), QStringLiteral("SELECT count(*) FROM %1").arg(table)),
                     QString("0"));

        GC_GenomeScene loaded;
        QVERIFY(loaded.loadKestalCanvas(path("empty.kcv")));
        QVERIFY(loaded.genomes().isEmpty());
        QCOMPARE(loaded.fileName(), path("empty.kcv"));
    }

    void fullRoundTrip()
    {
        GC_GenomeScene scene;
        buildFullScene(scene);
        scene.setFileName(path("full.kcv"));
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        const QString file = path("full.kcv");

        // How the values sit in the file.
        GC_Genome *top = scene.topGenomes().first();
        GC_Genome *low = scene.lowGenomes().first();
        QCOMPARE(rows(file, "SELECT id, place FROM genomes"),
                 (QStringList{QString("%1|0").arg(top->getId()), QString("%1|1").arg(low->getId())}));
        QCOMPARE(scalar(file, "SELECT typeof(textX) || textX || typeof(textY) || textY || "
                              "typeof(textPositionFlag) || textPositionFlag FROM genomes WHERE place = 0"),
                 QString("real0.25integer12real2.0"));
        QCOMPARE(scalar(file, "SELECT showGenes, showAnotations, visible FROM genomes WHERE place = 1"),
                 QString("1|1|0"));
        QCOMPARE(scalar(file, "SELECT fillColor FROM genomes WHERE place = 0"), QString("#c86432"));
        QCOMPARE(scalar(file, "SELECT fillColor FROM genomematchings WHERE id = 12"), QString("#000000"));
        QCOMPARE(scalar(file, "SELECT count(*) FROM genes"), QString("4"));
        QCOMPARE(scalar(file, "SELECT count(*) FROM ruler"), QString("2"));

        GC_GenomeScene loaded;
        QVERIFY(loaded.loadKestalCanvas(file));
        QCOMPARE(loaded.topGenomes().size(), 1);
        QCOMPARE(loaded.lowGenomes().size(), 1);
        QVERIFY(GC_Genome::genomeIdCounter > std::max(top->getId(), low->getId()));
        GC_Genome *top2 = loaded.topGenomes().first();
        GC_Genome *low2 = loaded.lowGenomes().first();
        compareGenomes(top, top2);
        compareGenomes(low, low2);
        QCOMPARE(top2->getDatabase(), file);
        QCOMPARE(top2->getDatabaseId(), top->getId());
        // Stored hits are counted, not loaded.
        QCOMPARE(top2->countCogMatchings(), 0);
        QCOMPARE(top2->getDatabaseCogMatchingsCount(), 2);
        QCOMPARE(top2->getDatabaseRfamMatchingsCount(), 1);
        QCOMPARE(top2->getDatabaserRNAMatchingsCount(), 1);
        QCOMPARE(low2->getDatabaseCogMatchingsCount(), 0);
        QCOMPARE(rows(file, "SELECT id_cog_protein, genomeId, start, end, bitscore, "
                            "(evalue BETWEEN 0.99e-30 AND 1.01e-30) OR (evalue BETWEEN 1.99e-8 AND 2.01e-8) "
                            "FROM cog_matchings ORDER BY start"),
                 (QStringList{QString("3|%1|100|400|250.5|1").arg(top->getId()),
                              QString("5|%1|450|800|40|1").arg(top->getId())}));
        QCOMPARE(hitRows(file, "rrna_matchings", top->getId()).size(), 1);

        QCOMPARE(loaded.countMatchings(), 3);
        const QList<GC_GenomeMatching *> before = scene.matchings();
        const QList<GC_GenomeMatching *> after = loaded.matchings();
        for (int i = 0; i < before.size(); ++i) {
            QCOMPARE(after.at(i)->id(), before.at(i)->id());
            QCOMPARE(after.at(i)->topGenome(), top2);
            QCOMPARE(after.at(i)->lowGenome(), low2);
            QCOMPARE(after.at(i)->topFrom(), before.at(i)->topFrom());
            QCOMPARE(after.at(i)->topTo(), before.at(i)->topTo());
            QCOMPARE(after.at(i)->lowFrom(), before.at(i)->lowFrom());
            QCOMPARE(after.at(i)->lowTo(), before.at(i)->lowTo());
            QCOMPARE(after.at(i)->similarity(), before.at(i)->similarity());
            QCOMPARE(after.at(i)->bitScore(), before.at(i)->bitScore());
            QCOMPARE(after.at(i)->color(),
                     before.at(i)->color().isValid() ? before.at(i)->color() : QColor(Qt::black));
        }
        QVERIFY(GC_GenomeMatching::nextId > 13);

        QCOMPARE(loaded.freeTexts().size(), 2);
        for (int i = 0; i < 2; ++i) {
            const GC_FreeText *a = scene.freeTexts().at(i);
            const GC_FreeText *b = loaded.freeTexts().at(i);
            QCOMPARE(b->text(), a->text());
            QCOMPARE(b->pos(), a->pos());
            QCOMPARE(b->color(), a->color());
            QCOMPARE(b->font(), a->font());
            QCOMPARE(b->angle(), a->angle());
            QCOMPARE(b->positionFlag(), a->positionFlag());
        }
        QVERIFY(!loaded.isModified());
        loaded.addItemsToScene();
        QCOMPARE(top2->scene(), &loaded);
    }

    void moreThan200GenesSwitchesGenesOff()
    {
        GC_GenomeScene scene;
        for (const int count : {201, 200}) {
            auto *genome = new GC_Genome;
            genome->setCoords(GC_Interval(1, 10000));
            for (int g = 0; g < count; ++g)
                genome->addGene(makeGene(g, 1 + g * 40, 30 + g * 40, QString()));
            scene.insertTopGenome(genome);
        }
        scene.setFileName(path("genes.kcv"));
        QVERIFY(scene.saveToKestalCanvas());
        GC_GenomeScene loaded;
        QVERIFY(loaded.loadKestalCanvas(path("genes.kcv")));
        QCOMPARE(loaded.topGenomes().at(0)->countGenes(), 201);
        QVERIFY(!loaded.topGenomes().at(0)->getShowGenes());
        QVERIFY(loaded.topGenomes().at(1)->getShowGenes());
    }

    void savingOverTheSourceKeepsStoredHomologyRows()
    {
        GC_GenomeScene first;
        buildFullScene(first);
        const QString a = path("source_a.kcv");
        first.setFileName(a);
        QVERIFY(first.saveToKestalCanvas());
        const QStringList cogRows = rows(a, "SELECT * FROM cog_matchings");
        const QStringList rfamRows = rows(a, "SELECT * FROM rfam_matchings");
        const QStringList rrnaRows = rows(a, "SELECT * FROM rrna_matchings");
        QCOMPARE(cogRows.size(), 2);

        GC_GenomeScene scene;
        QVERIFY(scene.loadKestalCanvas(a));
        GC_Genome *top = scene.topGenomes().first();
        QCOMPARE(top->countCogMatchings(), 0);
        // Saved over the file the hits are stored in: copied from the old
        // file while the new one is written.
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        QCOMPARE(rows(a, "SELECT * FROM cog_matchings"), cogRows);
        QCOMPARE(rows(a, "SELECT * FROM rfam_matchings"), rfamRows);
        QCOMPARE(rows(a, "SELECT * FROM rrna_matchings"), rrnaRows);

        // Another canvas put in the file's place since the document was read
        // (another program's save): Save As and Save still copy the
        // document's own rows, from the file it was read from.
        {
            const QString replaced = path("source_replaced.kcv");
            QVERIFY(QFile::copy(a, replaced));
            GC_GenomeScene held;
            QVERIFY(held.loadKestalCanvas(replaced));
            GC_GenomeScene other;
            other.setFileName(path("source_replacement.kcv"));
            QVERIFY(other.saveToKestalCanvas());
            QCOMPARE(::rename(QFile::encodeName(other.fileName()).constData(),
                              QFile::encodeName(replaced).constData()), 0);
            for (const QString &target : {path("source_replaced_saved_as.kcv"), replaced}) {
                held.setFileName(target);
                QVERIFY2(held.saveToKestalCanvas(), qPrintable(held.lastErrorText()));
                QCOMPARE(rows(target, "SELECT * FROM cog_matchings"), cogRows);
                QCOMPARE(rows(target, "SELECT * FROM rrna_matchings"), rrnaRows);
            }
        }

        // Save As, remove the old file, save again: nothing is lost, since
        // the genomes now read their stored rows from the new file.
        const QString b = path("source_b.kcv");
        scene.setFileName(b);
        QVERIFY(scene.saveToKestalCanvas());
        QCOMPARE(top->getDatabase(), b);
        QVERIFY(QFile::remove(a));
        top->setPos(top->pos() + QPointF(5.0, 0.0));
        QVERIFY(scene.saveToKestalCanvas());
        QCOMPARE(rows(b, "SELECT * FROM cog_matchings"), cogRows);
        QCOMPARE(rows(b, "SELECT * FROM rfam_matchings"), rfamRows);
        QCOMPARE(rows(b, "SELECT * FROM rrna_matchings"), rrnaRows);

        // Rows that could not be counted when the file was read are counted
        // again by the save, which keeps every one of them.
        GC_GenomeScene uncounted;
        QVERIFY(loadWhileBrieflyUnreadable(uncounted, b));
        QCOMPARE(storedCounts(uncounted.topGenomes().first()), QString("-1+-1+-1"));
        QVERIFY2(uncounted.saveToKestalCanvas(), qPrintable(uncounted.lastErrorText()));
        QCOMPARE(rows(b, "SELECT * FROM cog_matchings"), cogRows);
        QCOMPARE(rows(b, "SELECT * FROM rfam_matchings"), rfamRows);
        QCOMPARE(rows(b, "SELECT * FROM rrna_matchings"), rrnaRows);
        // A file without the hit tables (older canvases) cannot be counted
        // either, but holds none: it is saved all the same.
        const QString tableless = path("source_without_hit_tables.kcv");
        {
            GC_SqlConnection connection("tst_tableless", tableless);
            QSqlQuery query(connection.database());
            QVERIFY(createCanvasTables(query));
            QVERIFY(query.exec("INSERT INTO genomes ( id , place , name , nucfrom , nucto , pixPerNuc , visible ) "
                               "VALUES ( 3 , 0 , 'A' , 1 , 100 , 1.0 , 1 )"));
        }
        GC_GenomeScene older;
        QVERIFY(older.loadKestalCanvas(tableless));
        QCOMPARE(storedCounts(older.topGenomes().first()), QString("-1+-1+-1"));
        older.setFileName(path("source_without_hit_tables_saved.kcv"));
        QVERIFY2(older.saveToKestalCanvas(), qPrintable(older.lastErrorText()));
        QCOMPARE(hitCounts(older.fileName()), QString("0+0+0"));

        // Once one COG hit is held in memory, only the held hits are
        // written for COG; the other families are still copied.
        top->getCogHomologies()->addCogMatching(10, 20, 4, "COG0004", "T", 3, 1e-3f, 15.0f);
        QVERIFY(scene.saveToKestalCanvas());
        QCOMPARE(rows(b, "SELECT id_cog_protein, genomeId, start, end FROM cog_matchings"),
                 QStringList{QString("4|%1|10|20").arg(top->getId())});
        QCOMPARE(rows(b, "SELECT * FROM rfam_matchings"), rfamRows);
    }

    void filesNamedLikeTheTemporaryFileAreLeftAlone()
    {
        GC_GenomeScene scene;
        buildFullScene(scene);
        const QString file = path("leftover.kcv");
        // The user's own files under names a save might take: not of its
        // name pattern (empty ones too, as a save's file is at first), or of
        // it but not what a save writes (a date is all hex digits; zeros in
        // no whole page); the journal of a stopped save's file; and a folder.
        const QHash<QString, QByteArray> usersOwn = {
            {"temp", "not a database"}, {"temp-journal", "not a journal"}, {".temp", ""}, {"temp-123456789", ""},
            {"temp-1", "notes"}, {"temp-1-journal", "notes"}, {"temp-beef", "notes"}, {"temp-20240101", "notes"},
            {"temp-2", QByteArray(100, '\0') + QByteArray(290, 'n')}, {"temp-7a8b9c-journal", "notes"},
            {"temp-3", QByteArray(512, '\0') + QByteArray(100, 'n')}};
        QStringList kept{"leftover.kcvtempfolder"};
        for (auto it = usersOwn.cbegin(); it != usersOwn.cend(); ++it) {
            QVERIFY(TestData::writeFile(file + it.key(), it.value()));
            kept << "leftover.kcv" + it.key();
        }
        QVERIFY(QDir().mkpath(file + "tempfolder/inside"));
        scene.setFileName(path("finished.kcv"));
        QVERIFY(scene.saveToKestalCanvas());
        const QString finished = scene.fileName();

        // What stopped saves of this canvas left: a file half written,
        // marked unfinished and never taken for a canvas, with its journal
        // as SQLite leaves it before its first sync, and a copy with its
        // journal synced; one just made, still empty; one whose first page
        // SQLite had not written yet, its cache full; one complete, stopped
        // before its rename.
        const QString stopped = file + "temp-1a2b3c";
        QVERIFY(QFile::copy(finished, stopped));
        {
            GC_SqlConnection connection("tst_leftover", stopped);
            QVERIFY(QSqlQuery(connection.database()).exec("INSERT INTO file_properties VALUES ( 'unfinished' , 1 )"));
        }
        GC_GenomeScene refused;
        QVERIFY(!refused.loadKestalCanvas(stopped));
        QVERIFY2(refused.lastErrorText().contains(
                     QString("The file \"%1\" was left by a save that stopped before it finished").arg(stopped)),
                 qPrintable(refused.lastErrorText()));
        {
            GC_SqlConnection connection("tst_leftover_journal", stopped);
            QSqlQuery query(connection.database());
            QVERIFY(query.exec("BEGIN") && query.exec("UPDATE genomes SET name = 'stopped'"));
            const QByteArray journal = fileBytes(stopped + "-journal");
            QVERIFY(query.exec("ROLLBACK"));
            QVERIFY(journal.size() > 512 && journal.startsWith(QByteArray(12, '\0')));
            QVERIFY(TestData::writeFile(stopped + "-journal", journal));
            QVERIFY(QFile::copy(stopped, file + "temp-5a6b7c"));
            QVERIFY(TestData::writeFile(file + "temp-5a6b7c-journal",
                                        QByteArray::fromHex("d9d505f920a163d7") + journal.mid(8)));
        }
        QVERIFY(TestData::writeFile(file + "temp-4d5e6f", ""));
        QVERIFY(TestData::writeFile(file + "temp-0c0d0e", QByteArray(4096, '\0') + QByteArray(4096, '\r')));
        QVERIFY(QFile::copy(finished, file + "temp-7a8b9c"));

        // Another copy of the program, its save held just before its rename:
        // the stopped saves' files are gone, its own stays while it runs and
        // goes once it is killed.
        QProcess running;
        QVERIFY(startHeld(running, {"save", finished, file}));
        const QStringList whileRunning = leftoversBeside(file);
        QCOMPARE(whileRunning.size(), kept.size() + 1);
        scene.setFileName(file);
        for (int save = 0; save < 2; ++save) {
            QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
            QCOMPARE(GC_FileUtils::filetype(file), FILETYPE_CANVAS);
            for (auto it = usersOwn.cbegin(); it != usersOwn.cend(); ++it)
                QCOMPARE(fileBytes(file + it.key()), it.value());
            QVERIFY(QFileInfo(file + "tempfolder/inside").isDir());
            QCOMPARE(leftoversBeside(file), whileRunning);
        }
        running.kill();
        QVERIFY(running.waitForFinished(60000));
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        QStringList left = leftoversBeside(file);
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);
    }

    void aFailedSaveLeavesTheOldFileAlone_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("canvas locked by another program") << "locked";
        QTest::newRow("canvas read-only for its user") << "read-only";
        QTest::newRow("file size limit reached while writing rows") << "limit";
        // Another program's write-ahead log is never played over a save.
        QTest::newRow("canvas in write-ahead-log mode held open by another program") << "wal-held";
        QTest::newRow("write-ahead log left beside the canvas that its user may not write")
            << "wal-unwritable";
        // Stored hits that were never loaded are copied from the file the
        // genomes were read from; a save without them would lose them.
        QTest::newRow("source of stored hits written over by another canvas after opening")
            << "source-overwritten";
        QTest::newRow("source of stored hits written over by another program through its write-ahead log")
            << "source-logged";
        QTest::newRow("source of stored hits written over through the write-ahead log a program left, saved over")
            << "source-logged-left";
        QTest::newRow("source of stored hits locked by another program") << "source-locked";
        // A page of 20,000 stored hits that counts 20 rows fewer since the
        // opening: the copy ends without an error.
        QTest::newRow("source of stored hits damaged since the opening") << "source-damaged";
        // A leaf of them holds a copy of another since: as many rows, some
        // twice and others missing.
        QTest::newRow("source of stored hits damaged since the opening, as many rows")
            << "source-damaged-count-kept";
        // Hits that could not be counted when the file was read may be
        // there all the same: counted again, or the save fails.
        QTest::newRow("source of uncounted stored hits locked by another program") << "source-uncounted-locked";
    }

    void aFailedSaveLeavesTheOldFileAlone()
    {
        QFETCH(QString, how);
        GC_GenomeScene built;
        buildFullScene(built);
        const QString file = path("keep_" + how + ".kcv");
        built.setFileName(file);
        QVERIFY(built.saveToKestalCanvas());
        const QByteArray before = fileBytes(file);
        QVERIFY(!before.isEmpty());

        // The scene read back from a file holds its hits only there.
        GC_GenomeScene opened;
        const bool fromSource = how.startsWith("source");
        GC_GenomeScene &scene = fromSource ? opened : built;
        QString source = file;
        if (fromSource) {
            source = path("source_of_" + how + ".kcv");
            QVERIFY(QFile::copy(file, source));
            if (how.startsWith("source-logged"))
                QVERIFY(putInWriteAheadLogMode(source));
            if (how.startsWith("source-damaged")) {
                GC_SqlConnection connection("tst_many_hits", source);
                QVERIFY(QSqlQuery(connection.database()).exec(
                    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 19999) "
                    "INSERT INTO cog_matchings SELECT 1 + i % 5, (SELECT id FROM genomes WHERE place = 0), "
                    "1 + i % 4000, 100 + i % 4000, 1e-30, 48.5 FROM n"));
            }
            if (how == "source-uncounted-locked") {
                QVERIFY(loadWhileBrieflyUnreadable(opened, source));
                QCOMPARE(storedCounts(opened.topGenomes().first()), QString("-1+-1+-1"));
            } else {
                QVERIFY(opened.loadKestalCanvas(source));
            }
            if (how == "source-damaged")
                QVERIFY(SqlitePageDamage::dropRowsOfLastPage(source, 20));
            if (how == "source-damaged-count-kept")
                QVERIFY(SqlitePageDamage::copyLeafOverTheLast(source));
            opened.setFileName(how == "source-logged-left" ? source : file);
            if (how == "source-overwritten") {
                // As a copy over it does: the same file, another canvas's rows.
                GC_GenomeScene other;
                other.setFileName(path("other_canvas.kcv"));
                QVERIFY(other.saveToKestalCanvas());
                QFile overwritten(source);
                QVERIFY(overwritten.open(QIODevice::WriteOnly | QIODevice::Truncate));
                QVERIFY(overwritten.write(fileBytes(other.fileName())) > 0);
            }
        } else if (how == "limit") {
            // The next save writes a genome far larger than the limit allows.
            auto *big = new GC_Genome;
            big->setName("big");
            big->setDnaSequence(QString::fromLatin1(TestData::randomDna(3000000, 9)));
            big->setCoords(GC_Interval(1, 3000000));
            scene.insertLowGenome(big);
        }
        if (fromSource && how != "source-uncounted-locked")
            QVERIFY(scene.topGenomes().first()->getDatabaseCogMatchingsCount() > 0);
        scene.setModified(true);
        scene.setLastErrorText(QString());

        bool saved = true;
        const QString real = QFileInfo(file).canonicalFilePath();
        if (how == "locked") {
            // Inside a write transaction: the file is replaced neither at
            // once nor after the wait.
            SqliteFileLock lock(file);
            QVERIFY(lock.isHeld());
            saved = scene.saveToKestalCanvas();
        } else if (how == "read-only") {
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            const QString words = obeyingPermissions(
                [&] { return scene.saveToKestalCanvas() ? QString() : scene.lastErrorText(); });
            QVERIFY2(!words.startsWith("held:"), qPrintable(words));
            saved = words.isEmpty();
            scene.setLastErrorText(words);
        } else if (how == "limit") {
            rlimit old {};
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
            rlimit small = old;
            small.rlim_cur = before.size() + 64 * 1024;
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            saved = scene.saveToKestalCanvas();
            setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, previous);
        } else if (how == "wal-held") {
            GC_SqlConnection other("tst_wal_program", file);
            QSqlQuery query(other.database());
            QVERIFY(query.exec("PRAGMA journal_mode = WAL") && query.exec("PRAGMA wal_autocheckpoint = 0"));
            QVERIFY(query.exec("UPDATE genomes SET name = 'Other program' WHERE place = 0"));
            const QByteArray log = fileBytes(file + "-wal");
            QVERIFY(!log.isEmpty());
            const int wait = GC_SqlConnection::busyTimeout();
            GC_SqlConnection::setBusyTimeout(100);
            saved = scene.saveToKestalCanvas();
            GC_SqlConnection::setBusyTimeout(wait);
            // The file, as read through its log, is the other program's.
            QCOMPARE(fileBytes(file + "-wal"), log);
            QCOMPARE(scalar(file, "SELECT name FROM genomes WHERE place = 0"), QString("Other program"));
            // What a program killed now leaves: the file and its log.
            QVERIFY(QFile::copy(file, path("killed_wal.kcv")));
            QVERIFY(QFile::copy(file + "-wal", path("killed_wal.kcv-wal")));
        } else if (how == "wal-unwritable") {
            if (::geteuid() != 0)
                QSKIP("Needs root: the log is given to another user.");
            // What a killed program leaves, its log and shared memory
            // another user's, readable but not writable by this one.
            {
                GC_SqlConnection other("tst_wal_program", file);
                QSqlQuery query(other.database());
                QVERIFY(query.exec("PRAGMA journal_mode = WAL") && query.exec("PRAGMA wal_autocheckpoint = 0"));
                QVERIFY(query.exec("UPDATE genomes SET name = 'Other program' WHERE place = 0"));
                for (const QString suffix : {"", "-wal", "-shm"})
                    QVERIFY(QFile::copy(file + suffix, path("wal_left") + suffix));
            }
            for (const QString suffix : {"", "-wal", "-shm"}) {
                QFile::remove(file + suffix);
                QVERIFY(QFile::rename(path("wal_left") + suffix, file + suffix));
            }
            for (const QString suffix : {"-wal", "-shm"}) {
                const QByteArray name = QFile::encodeName(file + suffix);
                QVERIFY(::chown(name.constData(), 4242, 0) == 0 && ::chmod(name.constData(), 0640) == 0);
            }
            const QByteArray held = fileBytes(file) + fileBytes(file + "-wal");
            const QString words = obeyingPermissions(
                [&] { return scene.saveToKestalCanvas() ? QString() : scene.lastErrorText(); });
            saved = words.isEmpty();
            scene.setLastErrorText(words);
            QVERIFY2(words.contains("write-ahead log"), qPrintable(words));
            QCOMPARE(fileBytes(file) + fileBytes(file + "-wal"), held);
            QCOMPARE(scalar(file, "SELECT name FROM genomes WHERE place = 0"), QString("Other program"));
        } else if (how.startsWith("source-logged")) {
            // Committed into the log only: the file itself stays as it was
            // read. A program that still has the file open keeps it so.
            const QByteArray read = fileBytes(source);
            auto reader = std::make_unique<GC_SqlConnection>("tst_reader", source, GC_SqlConnection::ReadOnly);
            QVERIFY(QSqlQuery(reader->database()).exec("SELECT count(*) FROM genomes"));
            auto other = std::make_unique<GC_SqlConnection>("tst_other_program", source);
            {
                QSqlQuery query(other->database());
                QVERIFY(query.exec("PRAGMA wal_autocheckpoint = 0") && query.exec("DELETE FROM cog_matchings"));
                QVERIFY(query.numRowsAffected() > 0);
            }
            if (how == "source-logged-left") {
                // Gone while a reader still has the file open, it leaves
                // its log unfolded, as a program that stopped does.
                other.reset();
                reader.reset();
                QVERIFY(QFileInfo(source + "-wal").size() > 0);
            }
            QCOMPARE(fileBytes(source), read);
            saved = scene.saveToKestalCanvas();
        } else if (how.startsWith("source") && how.endsWith("locked")) {
            GC_SqlConnection other("tst_other_program", source);
            QSqlQuery lock(other.database());
            QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
            // Fails after SQLite's short wait for the lock, not never.
            saved = scene.saveToKestalCanvas();
            QCOMPARE(fileBytes(file), before);
            QVERIFY(lock.exec("ROLLBACK"));
        } else {
            saved = scene.saveToKestalCanvas();
        }
        QVERIFY(!saved);
        QVERIFY(!scene.lastErrorText().isEmpty());
        if (fromSource) {
            // In words: which genome, which hits, which file.
            const QString words = scene.lastErrorText();
            QVERIFY2(words.contains(QString("Genome \"Top genome\": the stored COG hits could not be copied "
                                            "from \"%1\"").arg(source)),
                     qPrintable(words));
            if (how.endsWith("locked"))
                QVERIFY2(words.contains("in use by another program"), qPrintable(words));
            if (how == "source-overwritten" || how.startsWith("source-logged"))
                QVERIFY2(words.contains("changed by another program"), qPrintable(words));
            if (how == "source-damaged")
                QVERIFY2(words.contains("the file is damaged: it gave 19982 rows of the cog_matchings table "
                                        "for the genome, where it held 20002"),
                         qPrintable(words));
            if (how == "source-damaged-count-kept")
                QVERIFY2(words.contains("the file is damaged: it gave row"), qPrintable(words));
        }
        const QString words = scene.lastErrorText();
        if (how == "locked")
            QVERIFY2(words.contains(QString("The file \"%1\" is in use by another program").arg(real))
                         && words.contains("cannot be replaced now"),
                     qPrintable(words));
        if (how == "read-only")
            QVERIFY2(words.contains(QString("The file \"%1\" is read-only").arg(real))
                         && words.contains("Save As"),
                     qPrintable(words));
        if (how == "wal-held")
            QVERIFY2(words.contains("in use by another program") && words.contains("cannot be replaced now"),
                     qPrintable(words));
        QVERIFY(scene.isModified());
        // A log is folded into its file by whoever may, as SQLite does at
        // any commit; what the file holds stays the same.
        if (!how.startsWith("wal"))
            QCOMPARE(fileBytes(file), before);
        // The other program's log stays for it.
        const QString name = QFileInfo(file).fileName();
        const QStringList othersLog =
            how == "wal-unwritable" ? QStringList{name + "-shm", name + "-wal"} : QStringList();
        QCOMPARE(leftoversBeside(file), othersLog);
        QCOMPARE(scene.topGenomes().first()->getDatabase(), source);

        if (how == "wal-held") {
            // The log of a killed program, with nobody holding the file, is
            // folded into it first: the file shows what was saved.
            const QString killed = path("killed_wal.kcv");
            scene.setFileName(killed);
            scene.topGenomes().first()->setName("Saved over a log");
            QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
            QCOMPARE(scalar(killed, "SELECT name FROM genomes WHERE place = 0"), QString("Saved over a log"));
            QCOMPARE(leftoversBeside(killed), QStringList());
        }
        if (how == "locked") {
            // A lock let go within the wait only delays the save.
            scene.topGenomes().first()->setName("Saved after the lock");
            SqliteFileLock brief(file, 300);
            QVERIFY(brief.isHeld());
            QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
            QCOMPARE(scalar(file, "SELECT name FROM genomes WHERE place = 0"), QString("Saved after the lock"));
            QCOMPARE(leftoversBeside(file), QStringList());
        }
    }

    void aSaveReplacesTheFileBehindLinksWithItsPermissions()
    {
        QVERIFY(QDir().mkpath(path("kept")));
        const QString real = path("kept/real.kcv");
        {
            GC_GenomeScene scene;
            buildFullScene(scene);
            scene.setFileName(real);
            QVERIFY(scene.saveToKestalCanvas());
        }
        const QString hits = hitCounts(real);
        QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner));
        // A relative link, and a link to that link.
        const QString link = path("real_link.kcv");
        const QString chain = path("chain_link.kcv");
        QVERIFY(QFile::link("kept/real.kcv", link));
        QVERIFY(QFile::link(link, chain));

        GC_GenomeScene scene;
        QVERIFY(scene.loadKestalCanvas(chain));
        scene.topGenomes().first()->setName("Saved through links");
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        QCOMPARE(scene.fileName(), chain);
        QVERIFY(QFileInfo(chain).isSymbolicLink());
        QVERIFY(QFileInfo(link).isSymbolicLink());
        QCOMPARE(QFileInfo(chain).symLinkTarget(), link);
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        QCOMPARE(scalar(real, "SELECT name FROM genomes WHERE place = 0"), QString("Saved through links"));
        QCOMPARE(hitCounts(real), hits);
        const QFile::Permissions kinds = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                         | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                         | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(real) & kinds, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(leftoversBeside(real), QStringList());
        QCOMPARE(leftoversBeside(chain), QStringList());

        // A link to a file not there yet: the file is made where it points.
        const QString ahead = path("ahead_link.kcv");
        QVERIFY(QFile::link("kept/new.kcv", ahead));
        scene.setFileName(ahead);
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        QVERIFY(QFileInfo(ahead).isSymbolicLink());
        QCOMPARE(GC_FileUtils::filetype(path("kept/new.kcv")), FILETYPE_CANVAS);
        QCOMPARE(hitCounts(path("kept/new.kcv")), hits);

        // A link with ".." inside a linked folder leaves the folder the link
        // really is in, as the system reads it, not the folder it was
        // reached through, where another file of the same name lies.
        QVERIFY(QDir().mkpath(path("sys/data/shared")));
        QVERIFY(QDir().mkpath(path("sys/data/proj")));
        QVERIFY(QDir().mkpath(path("sys/home/shared")));
        const QString canvas = path("sys/data/shared/c.kcv");
        QVERIFY(QFile::copy(real, canvas));
        QVERIFY(QFile::link("../shared/c.kcv", path("sys/data/proj/c.kcv")));
        QVERIFY(QFile::link(path("sys/data/proj"), path("sys/home/proj")));
        const QString unrelated = path("sys/home/shared/c.kcv");
        QVERIFY(QFile::copy(real, unrelated));
        const QByteArray unrelatedBytes = fileBytes(unrelated);
        const QString throughLinks = path("sys/home/proj/c.kcv");
        GC_GenomeScene linked;
        QVERIFY2(linked.loadKestalCanvas(throughLinks), qPrintable(linked.lastErrorText()));
        linked.topGenomes().first()->setName("Saved in the real canvas");
        QVERIFY2(linked.saveToKestalCanvas(), qPrintable(linked.lastErrorText()));
        QCOMPARE(scalar(canvas, "SELECT name FROM genomes WHERE place = 0"), QString("Saved in the real canvas"));
        QCOMPARE(hitCounts(canvas), hits);
        QCOMPARE(fileBytes(unrelated), unrelatedBytes);
        QVERIFY(QFileInfo(path("sys/data/proj/c.kcv")).isSymbolicLink());
        QVERIFY(QFileInfo(path("sys/home/proj")).isSymbolicLink());
        QCOMPARE(leftoversBeside(canvas), QStringList());
        QCOMPARE(leftoversBeside(unrelated), QStringList());
        // The genomes read their stored rows from the file just written.
        for (const GC_Genome *genome : linked.genomes())
            QCOMPARE(QFileInfo(genome->getDatabase()).canonicalFilePath(), QFileInfo(canvas).canonicalFilePath());
    }

    void aSharedCanvasKeepsWhoMayUseIt()
    {
        if (::geteuid() != 0)
            QSKIP("Needs root: the canvas is given to other users, who save it in turn.");
        // User A's canvas in group G's folder, mode 660, which its access
        // list lets user C write too, with an attribute of A's: saved by
        // root, by A and by user B of group G, it stays A's and G's with its
        // mode, list and attribute, and holds what each saved.
        const uid_t owner = 4242;
        const uid_t member = 4244;
        const gid_t group = 4343;
        const QString folder = path("group");
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::chown(QFile::encodeName(folder).constData(), 0, group), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 02770), 0);
        const QString theirs = folder + "/theirs.kcv";
        {
            GC_GenomeScene scene;
            buildFullScene(scene);
            scene.setFileName(theirs);
            QVERIFY(scene.saveToKestalCanvas());
        }
        const QString hits = hitCounts(theirs);
        const QByteArray name = QFile::encodeName(theirs);
        QCOMPARE(::chown(name.constData(), owner, group), 0);
        QCOMPARE(::chmod(name.constData(), 0660), 0);
        const QByteArray list = accessListOf660AndUser4245;
        QCOMPARE(::setxattr(name.constData(), "system.posix_acl_access", list.constData(), list.size(), 0), 0);
        QCOMPARE(::setxattr(name.constData(), "user.kestal.note", "kept", 4, 0), 0);
        for (const uid_t saver : {uid_t(0), owner, member}) {
            GC_GenomeScene shared;
            QVERIFY(shared.loadKestalCanvas(theirs));
            const QString saved = QString("Saved by %1").arg(saver);
            shared.topGenomes().first()->setName(saved);
            QString words;
            {
                std::optional<PermissionsObeyed> as;
                if (saver != 0) {
                    as.emplace(saver, saver, std::vector<gid_t>{group});
                    QVERIFY(as->isHeld());
                }
                words = shared.saveToKestalCanvas() ? QString() : shared.lastErrorText();
            }
            QVERIFY2(words.isEmpty(), qPrintable(words));
            struct stat info {};
            QCOMPARE(::stat(name.constData(), &info), 0);
            QCOMPARE(info.st_uid, owner);
            QCOMPARE(info.st_gid, group);
            QCOMPARE(info.st_mode & 07777, mode_t(0660));
            QCOMPARE(attribute(theirs, "system.posix_acl_access"), list);
            QCOMPARE(attribute(theirs, "user.kestal.note"), QByteArray("kept"));
            QCOMPARE(scalar(theirs, "SELECT name FROM genomes WHERE place = 0"), saved);
            QCOMPARE(hitCounts(theirs), hits);
            QCOMPARE(leftoversBeside(theirs), QStringList());
        }
    }

    void aSaveIsOnDiskWithItsFolder()
    {
        // A new file, then one replaced: each time the folder is synced
        // with the new file in place before the save says it is done.
        GC_GenomeScene scene;
        buildFullScene(scene);
        const QString file = path("synced.kcv");
        scene.setFileName(file);
        for (int save = 0; save < 2; ++save) {
            watchFolderSyncs(file);
            QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
            struct stat saved {};
            QCOMPARE(::stat(QFile::encodeName(file).constData(), &saved), 0);
            const std::lock_guard<std::mutex> guard(syncsMutex);
            QVERIFY(inodesAtFolderSyncs.contains(saved.st_ino));
        }
    }

    void aSaveIntoAMissingFolderFails()
    {
        GC_GenomeScene scene;
        buildFullScene(scene);
        scene.setFileName(path("no/such/folder/x.kcv"));
        scene.setModified(true);
        QVERIFY(!scene.saveToKestalCanvas());
        QCOMPARE(scene.lastErrorText(), QString("The folder \"%1\" does not exist.").arg(path("no/such/folder")));
        QVERIFY(scene.isModified());
        QVERIFY(!QFile::exists(path("no")));
    }

    void aSaveIntoAReadOnlyFolderFails()
    {
        const QString folder = path("readonly");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        GC_GenomeScene scene;
        buildFullScene(scene);
        scene.setFileName(folder + "/x.kcv");
        const QString words = obeyingPermissions(
            [&] { return scene.saveToKestalCanvas() ? QString("saved") : scene.lastErrorText(); });
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(words.startsWith(QString("The folder \"%1\" cannot be written").arg(folder)), qPrintable(words));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    void theOldFormatIsReadWithoutChangingIt()
    {
        const QString file = path("qt4.kcv");
        QVERIFY(buildFromSql(kestalTestDataPath("canvas_qt4.sql"), file));
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        const QByteArray before = fileBytes(file);

        GC_GenomeScene scene;
        QVERIFY(scene.loadKestalCanvas(file));
        QCOMPARE(fileBytes(file), before);
        QVERIFY(!QFile::exists(file + "-journal"));
        QCOMPARE(scene.topGenomes().size(), 1);
        QCOMPARE(scene.lowGenomes().size(), 1);
        GC_Genome *top = scene.topGenomes().first();
        GC_Genome *low = scene.lowGenomes().first();
        QCOMPARE(top->getId(), 1);
        QCOMPARE(low->getId(), 4);
        QVERIFY(GC_Genome::genomeIdCounter > 4);
        // "true"/"false" texts.
        QVERIFY(!top->getShowGenes());
        QVERIFY(top->getShowRuler());
        QVERIFY(!low->getShowRuler());
        QVERIFY(top->isVisible());
        QVERIFY(!low->isVisible());
        // 10-field fonts: weight 75 is bold, 50 normal.
        QCOMPARE(top->getTextFont().family(), QString("Sans Serif"));
        QCOMPARE(top->getTextFont().pointSize(), 11);
        QVERIFY(top->getTextFont().bold());
        QVERIFY(!low->getTextFont().bold());
        QCOMPARE(top->getTextColor(), QColor("#aa0000"));
        QCOMPARE(top->getTextX(), 0.5);
        QCOMPARE(top->getTextY(), -14.0);
        QCOMPARE(top->getTextPositionFlag(), 1);
        QVERIFY(!top->getRuler()->getHorizontalLineVisible());
        QVERIFY(low->getRuler()->getHorizontalLineVisible());
        QVERIFY(top->getRuler()->getTextFont().bold());
        // Every gene, from a genes table without note, locusTag and metadata.
        QCOMPARE(top->countGenes(), 3);
        QCOMPARE(low->countGenes(), 2);
        QCOMPARE(top->getGenes().at(1)->getName(), QString("second"));
        QCOMPARE(top->getGenes().at(1)->getOrientation(), -1);
        QVERIFY(!top->getGenes().at(1)->getShowText());
        QVERIFY(top->getGenes().at(0)->getShowText());
        QVERIFY(top->getGenes().at(0)->getNote().isEmpty());
        QCOMPARE(top->getAnotations().size(), 1);
        QVERIFY(!top->getAnotations().first()->getShowText());
        QVERIFY(top->getAnotations().first()->getTextFont().bold());
        QVERIFY(top->getAnotations().first()->getTextFont().italic());
        QCOMPARE(top->getDatabaseCogMatchingsCount(), 2);
        // The repeated matching id 1 is made unique.
        const QList<GC_GenomeMatching *> matchings = scene.matchings();
        QCOMPARE(matchings.size(), 2);
        QCOMPARE(matchings.at(0)->id(), 1);
        QVERIFY(matchings.at(1)->id() != 1);
        QCOMPARE(matchings.at(1)->color(), QColor("#ff00ff"));
        QCOMPARE(top->countMatchings(), 2);
        QCOMPARE(scene.freeTexts().size(), 1);
        QVERIFY(scene.freeTexts().first()->font().bold());
        QCOMPARE(scene.freeTexts().first()->text(), QString("Old note"));

        // Saved in the current form, it keeps everything, stored hits included.
        scene.setFileName(path("qt4_saved.kcv"));
        QVERIFY(scene.saveToKestalCanvas());
        QCOMPARE(fileBytes(file), before);
        QCOMPARE(rows(path("qt4_saved.kcv"), "SELECT id_cog_protein, genomeId, start, end, bitscore FROM cog_matchings"),
                 (QStringList{"3|1|10|40|55.5", "4|1|45|58|30"}));
        GC_GenomeScene again;
        QVERIFY(again.loadKestalCanvas(path("qt4_saved.kcv")));
        compareGenomes(top, again.topGenomes().first());
        compareGenomes(low, again.lowGenomes().first());
        QCOMPARE(again.countMatchings(), 2);
        QVERIFY(rows(path("qt4_saved.kcv"), "SELECT name FROM pragma_table_info('genes')").contains("metadata"));
    }

    void aGenomeWrittenOncePerRowIsSplitInTwo()
    {
        // Older files saved a genome compared with itself once per row,
        // under one id, with its genes and annotations once per row.
        const QString file = path("self_pair_old.kcv");
        {
            GC_SqlConnection connection("tst_self_pair", file);
            QSqlQuery query(connection.database());
            QVERIFY(createCanvasTables(query));
            QVERIFY(createHitTables(query));
            for (int place = 0; place <= 1; ++place) {
                QVERIFY(query.exec(QString("INSERT INTO genomes ( id , place , name , nucfrom , nucto , "
                                           "pixPerNuc , showGenes , visible ) VALUES ( 5 , %1 , 'A' , 1 , "
                                           "3000 , 0.5 , 1 , 1 )").arg(place)));
                for (int gene = 0; gene < 3; ++gene)
                    QVERIFY(query.exec(QString("INSERT INTO genes ( id , genomeId , nucfrom , nucto , "
                                               "orientation ) VALUES ( %1 , 5 , %2 , %3 , 1 )")
                                           .arg(gene).arg(100 * gene + 1).arg(100 * gene + 50)));
                QVERIFY(query.exec("INSERT INTO anotations ( id , genomeId , nucfrom , nucto ) "
                                   "VALUES ( 1 , 5 , 10 , 20 )"));
                // Its stored hits too: 3 COG, 2 RFAM and 1 rRNA, once per row.
                for (int hit = 0; hit < 3; ++hit)
                    QVERIFY(query.exec(QString("INSERT INTO cog_matchings VALUES ( %1 , 5 , %2 , %3 , 1e-9 , 80.5 )")
                                           .arg(hit + 1).arg(100 * hit + 1).arg(100 * hit + 50)));
                for (int hit = 0; hit < 2; ++hit)
                    QVERIFY(query.exec(QString("INSERT INTO rfam_matchings VALUES ( %1 , 5 , %2 , %3 , 1e-5 , 40 )")
                                           .arg(hit + 11).arg(1000 * hit + 600).arg(1000 * hit + 700)));
                QVERIFY(query.exec("INSERT INTO rrna_matchings VALUES ( 21 , 5 , 2000 , 2900 , 0 , 900 )"));
            }
            QVERIFY(query.exec("INSERT INTO genomematchings VALUES ( 1 , 5 , 1 , 500 , 5 , 1001 , 1500 , "
                               "99.0 , 900.0 , '#000000' )"));
        }
        GC_GenomeScene scene;
        QVERIFY(scene.loadKestalCanvas(file));
        QCOMPARE(scene.topGenomes().size(), 1);
        QCOMPARE(scene.lowGenomes().size(), 1);
        GC_Genome *top = scene.topGenomes().first();
        GC_Genome *low = scene.lowGenomes().first();
        QVERIFY(top->getId() != low->getId());
        QCOMPARE(top->countGenes(), 3);
        QCOMPARE(low->countGenes(), 3);
        QCOMPARE(top->getAnotations().size(), 1);
        QCOMPARE(low->getAnotations().size(), 1);
        QCOMPARE(scene.countMatchings(), 1);
        QCOMPARE(scene.matchings().first()->topGenome(), top);
        QCOMPARE(scene.matchings().first()->lowGenome(), low);
        // Each copy of a hit row goes to one of the two.
        QCOMPARE(storedCounts(top), QString("3+2+1"));
        QCOMPARE(storedCounts(low), QString("3+2+1"));

        // Saved, read back and saved again, the file keeps as many hit
        // rows as it had, half of them each genome's.
        for (int cycle = 0; cycle < 2; ++cycle) {
            scene.setFileName(path(QString("self_pair_%1.kcv").arg(cycle)));
            QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
            QCOMPARE(hitCounts(scene.fileName()), QString("6+4+2"));
            QCOMPARE(hitCounts(scene.fileName(), top->getId()), QString("3+2+1"));
            QCOMPARE(hitCounts(scene.fileName(), low->getId()), QString("3+2+1"));
            GC_GenomeScene again;
            QVERIFY(again.loadKestalCanvas(scene.fileName()));
            QCOMPARE(again.topGenomes().first()->countGenes(), 3);
            QCOMPARE(again.lowGenomes().first()->countGenes(), 3);
            QCOMPARE(again.matchings().first()->lowGenome(), again.lowGenomes().first());
            QCOMPARE(storedCounts(again.topGenomes().first()), QString("3+2+1"));
            QCOMPARE(storedCounts(again.lowGenomes().first()), QString("3+2+1"));
        }

        // Deleting one genome's stored hits leaves the other's.
        GC_GenomeScene fresh;
        QVERIFY(fresh.loadKestalCanvas(file));
        GC_Genome *freshTop = fresh.topGenomes().first();
        GC_Genome *freshLow = fresh.lowGenomes().first();
        QCOMPARE(freshTop->deleteRfamMatchings(), 0);
        QCOMPARE(scalar(file, "SELECT count(*) FROM rfam_matchings"), QString("2"));
        fresh.setFileName(path("self_pair_deleted.kcv"));
        QVERIFY2(fresh.saveToKestalCanvas(), qPrintable(fresh.lastErrorText()));
        QCOMPARE(hitCounts(fresh.fileName(), freshTop->getId()), QString("3+0+1"));
        QCOMPARE(hitCounts(fresh.fileName(), freshLow->getId()), QString("3+2+1"));
        QCOMPARE(scalar(path("self_pair_1.kcv"), "SELECT count(DISTINCT id) || '/' || count(*) FROM genomes"),
                 QString("2/2"));
        QCOMPARE(scalar(path("self_pair_1.kcv"), "SELECT count(*) FROM genes"), QString("6"));
    }

    void aDamagedCanvasIsRefused_data()
    {
        QTest::addColumn<QString>("damage");
        // What the refusal names besides the file.
        QTest::addColumn<QString>("named");
        // Found by loading damaged copies of the example.
        QTest::newRow("genomes page leads back to itself") << "genomes-loop" << "";
        QTest::newRow("genes page wiped") << "genes-zero" << "";
        QTest::newRow("genes page miscounts its rows") << "genes-cells" << "";
        QTest::newRow("genes column renamed in the schema") << "genes-column" << "";
        QTest::newRow("cut at a page end") << "truncated" << "";
        // Values no writer stores, which the check of the file cannot see.
        QTest::newRow("NUL characters in a sequence") << "sequence-nul" << "genomes table";
        QTest::newRow("a digit and punctuation in a sequence") << "sequence-punctuation" << "genomes table";
        QTest::newRow("matching 5883..-29550 on a 1..68472 genome") << "matching-below" << "genomematchings table";
        QTest::newRow("matching past its genome's end") << "matching-beyond" << "genomematchings table";
        QTest::newRow("COG hit starting at 0") << "hit-below" << "cog_matchings table";
        QTest::newRow("genome x of -Inf") << "genome-x-infinite" << "genomes table";
        QTest::newRow("genome label angle NaN") << "genome-angle-nan" << "genomes table";
        QTest::newRow("gene y of Inf") << "gene-y-infinite" << "genes table";
        QTest::newRow("ruler height NaN") << "ruler-height-nan" << "ruler table";
        QTest::newRow("annotation height of -Inf") << "anotation-height-infinite" << "anotations table";
        QTest::newRow("free text angle of Inf") << "freetext-angle-infinite" << "freetext table";
        QTest::newRow("matching similarity NaN") << "matching-similarity-nan" << "genomematchings table";
        QTest::newRow("genome orientation 94") << "genome-orientation" << "genomes table";
        QTest::newRow("gene orientation 94") << "gene-orientation" << "genes table";
        QTest::newRow("genome range ending at 2147483647") << "genome-end-int-max" << "genomes table";
        QTest::newRow("annotation ending past the int range") << "anotation-end-past-int" << "anotations table";
        QTest::newRow("COG hit ending at 2000000000") << "hit-far" << "cog_matchings table";
        QTest::newRow("genome x stored as the text 'abc'") << "genome-x-text" << "where a number belongs";
        QTest::newRow("a switch stored as the text 'yes'") << "switch-text" << "genomes table";
        QTest::newRow("COG hit e-value stored as text") << "hit-evalue-text" << "cog_matchings table";
        // Values no panel, drag or zoom gives.
        QTest::newRow("genome x of 1e300") << "genome-x-far" << "genomes table";
        QTest::newRow("genome y of 1e12") << "genome-y-far" << "genomes table";
        QTest::newRow("10,000,000 pixels per nucleotide") << "genome-scale" << "pixPerNuc column";
        QTest::newRow("genome arrow height of 1e300") << "genome-height" << "genomes table";
        QTest::newRow("matching id 2147483647") << "matching-id-int-max" << "genomematchings table";
        // Rows that belong to no genome of the file.
        QTest::newRow("gene of genome 5, the genomes being 0 and 1")
            << "gene-of-genome-5" << "genes table holds 5 in its genomeId column";
        QTest::newRow("annotation of genome 2147483647")
            << "anotation-of-genome-int-max" << "anotations table holds 2147483647 in its genomeId";
        QTest::newRow("matching to genome 5")
            << "matching-to-genome-5" << "genomematchings table holds 5 in its lowGenomeId";
        QTest::newRow("a second ruler of genome 1")
            << "ruler-twice" << "ruler table holds 1 in its genomeId column on 2 rows";
        QTest::newRow("a genome without an id, a gene of genome 5 beside it")
            << "genome-id-null" << "genomes table holds nothing in its id column";
        // Not damage at all: another program holds the file locked for
        // longer than the reader waits.
        QTest::newRow("held locked by another program") << "locked" << "in use by another program";
        // Nor a healthy file in write-ahead-log mode whose shared-memory file
        // SQLite can neither make nor open in a folder its user cannot write.
        QTest::newRow("write-ahead-log mode, closed cleanly") << "wal-closed" << "Open it from a folder you may write";
        QTest::newRow("write-ahead-log mode, its writer killed, its shared memory unreadable")
            << "wal-killed" << "Open it from a folder you may write";
    }

    void aDamagedCanvasIsRefused()
    {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        const QString example = kestalTestDataPath("../../examples/phages.kcv");
        {
            GC_GenomeScene intact;
            QVERIFY(intact.loadKestalCanvas(example));
            QCOMPARE(intact.genomes().size(), 2);
            QCOMPARE(intact.genomes().at(0)->countGenes() + intact.genomes().at(1)->countGenes(), 198);
        }
        const bool locked = damage == "locked";
        const bool logged = damage.startsWith("wal-");
        const QString folder = path(logged ? "wal" : "");
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + "/damaged.kcv";
        const QString sharedMemory = file + "-shm";
        QByteArray bytes = locked || logged ? fileBytes(example) : damagedExample(damage);
        QVERIFY(locked || logged || bytes != fileBytes(example));
        QVERIFY(TestData::writeFile(file, bytes));
        if (logged) {
            QFile::remove(file + "-wal");
            QFile::remove(sharedMemory);
            QVERIFY(damage == "wal-killed" ? killedWhileChanging("logged", file) && QFile::exists(file + "-wal")
                                           : putInWriteAheadLogMode(file));
            bytes = fileBytes(file);
        }
        const auto folderMode = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                | QFileDevice::ExeOther;

        {
            std::optional<SqliteFileLock> lock;
            if (locked) {
                lock.emplace(file);
                QVERIFY(lock->isHeld());
            }
            // A folder its user may not write, nor the shared memory another
            // program left there read.
            std::optional<PermissionsObeyed> obeyed;
            if (logged) {
                QVERIFY(QFile::setPermissions(folder, folderMode));
                QVERIFY(!QFile::exists(sharedMemory) || QFile::setPermissions(sharedMemory, {}));
                obeyed.emplace();
            }
            GC_GenomeScene scene;
            const bool opened = (!obeyed || obeyed->isHeld()) && scene.loadKestalCanvas(file);
            QString probed;
            GC_FileUtils::filetype(file, &probed);
            obeyed.reset();
            if (logged) {
                QVERIFY(QFile::setPermissions(folder, folderMode | QFileDevice::WriteOwner));
                QVERIFY(!QFile::exists(sharedMemory)
                        || QFile::setPermissions(sharedMemory, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
                if (scene.lastErrorText().isEmpty() && !opened)
                    QSKIP("root, whose power to override file permissions could not be set aside");
            }
            // Whatever opens must draw.
            if (opened)
                exportImages(scene, "opened");
            QVERIFY(!opened);
            const QString text = scene.lastErrorText();
            const char *said = locked ? "The file \"%1\" is in use"
                : logged              ? "The file \"%1\" is kept in write-ahead-log mode"
                                      : "The file \"%1\" is damaged";
            QVERIFY2(text.contains(QString(said).arg(file)), qPrintable(text));
            QVERIFY2(text.contains(named), qPrintable(text));
            QVERIFY2(!(locked || logged) || !text.contains("is damaged"), qPrintable(text));
            // What the open wizard and the sequence-file loader ask first.
            if (logged)
                QCOMPARE(probed, text);
            QVERIFY(scene.genomes().isEmpty());
            QVERIFY(scene.matchings().isEmpty());
            QVERIFY(scene.freeTexts().isEmpty());
            QVERIFY(scene.fileName().isEmpty());
        }
        QCOMPARE(fileBytes(file), bytes);
        if (logged) {
            // Where its shared memory can be made or read, it opens.
            GC_GenomeScene scene;
            QVERIFY2(scene.loadKestalCanvas(file), qPrintable(scene.lastErrorText()));
            QCOMPARE(scene.genomes().size(), 2);
            QCOMPARE(scene.genomes().at(0)->getName() == "logged", damage == "wal-killed");
        }
        if (locked) {
            // A lock let go within the wait is waited out.
            SqliteFileLock brief(file, 200);
            QVERIFY(brief.isHeld());
            GC_GenomeScene scene;
            QVERIFY2(scene.loadKestalCanvas(file), qPrintable(scene.lastErrorText()));
            QCOMPARE(scene.genomes().size(), 2);
        }
    }

    // Values a user can set open and draw in the time ordinary ones take,
    // whatever length the bands reach: a genome dragged far down, one zoomed
    // far away to the right.
    void valuesWithinReachDraw_data()
    {
        QTest::addColumn<QString>("statement");
        // The scene part the bands must be seen in (none: not checked).
        QTest::addColumn<QRectF>("bands");
        QTest::newRow("genome y of 1,000,000,000")
            << "UPDATE genomes SET y = 1e9 WHERE id = 1" << QRectF(0, 50, 750, 200);
        QTest::newRow("genome x of 10,000,000,000") << "UPDATE genomes SET x = 1e10 WHERE id = 0" << QRectF();
    }

    void valuesWithinReachDraw()
    {
        QFETCH(QString, statement);
        QFETCH(QRectF, bands);
        const QString file = path("reach.kcv");
        QFile::remove(file);
        QVERIFY(TestData::writeFile(file, fileBytes(kestalTestDataPath("../../examples/phages.kcv"))));
        {
            GC_SqlConnection connection(QStringLiteral("tst_reach"), file);
            QSqlQuery query(connection.database());
            QVERIFY2(query.exec(statement) && query.numRowsAffected() == 1, qPrintable(statement));
        }
        QElapsedTimer clock;
        clock.start();
        GC_GenomeScene scene;
        QVERIFY2(scene.loadKestalCanvas(file), qPrintable(scene.lastErrorText()));
        scene.addItemsToScene();
        const auto view = SceneFixture::showView(scene, 800, 400);
        const QImage shown = view->grab().toImage();
        for (const QString format : {"PNG", "SVG"}) {
            QString picture = path("reach_view");
            QVERIFY2(scene.exportImage(picture, format, false, true), qPrintable(scene.lastErrorText()));
        }
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString("%1 ms").arg(clock.elapsed())));
        int ink = 0;
        for (int y = int(bands.top()); y < int(bands.bottom()); ++y)
            for (int x = int(bands.left()); x < int(bands.right()); ++x)
                ink += shown.pixelColor(x, y) != QColor(Qt::white);
        QVERIFY(bands.isNull() || ink > 0);
    }

    void aCanvasLeftMidWriteOpensAsItWasBefore_data()
    {
        // The path opened; the file itself is always midwrite/c.kcv, its
        // journal beside it.
        QTest::addColumn<QString>("openedAs");
        QTest::newRow("by its own name") << "midwrite/c.kcv";
        QTest::newRow("through a symbolic link in another folder") << "linked/c-link.kcv";
    }

    // Its journal beside it, the file is whole: SQLite restores it as it was
    // before the change, and it opens so.
    void aCanvasLeftMidWriteOpensAsItWasBefore()
    {
        QFETCH(QString, openedAs);
        const QByteArray before = fileBytes(kestalTestDataPath("../../examples/phages.kcv"));
        const QString folder = path("midwrite");
        QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder) && QDir().mkpath(path("linked")));
        const QString file = folder + "/c.kcv";
        const QString journal = file + "-journal";
        const QString link = path(openedAs);
        if (link != file) {
            QFile::remove(link);
            QVERIFY(QFile::link("../midwrite/c.kcv", link));
        }
        auto opensAsBefore = [&]() {
            GC_GenomeScene scene;
            QVERIFY2(scene.loadKestalCanvas(link), qPrintable(scene.lastErrorText()));
            QCOMPARE(scene.genomes().size(), 2);
            QCOMPARE(scene.genomes().at(0)->countGenes() + scene.genomes().at(1)->countGenes(), 198);
            for (const GC_Genome *genome : scene.genomes())
                QVERIFY(genome->getName().startsWith("Escherichia phage"));
            QCOMPARE(fileBytes(file), before);
            QVERIFY(!QFile::exists(journal));
        };
        QVERIFY(TestData::writeFile(file, before));
        QVERIFY(killedWhileChanging("midwrite", file));
        QVERIFY(fileBytes(file) != before);
        QVERIFY(QFileInfo(journal).size() > 0);
        opensAsBefore();
        if (QTest::currentTestFailed())
            return;

        // Where the file and its folder may not be written, the change
        // cannot be undone: the words say so, not "damaged", and the file
        // and its journal stay as they are.
        QVERIFY(killedWhileChanging("midwrite", file));
        const QByteArray midWrite = fileBytes(file);
        const QByteArray journalBytes = fileBytes(journal);
        const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        const auto writable = readOnly | QFileDevice::WriteOwner;
        const auto folderMode = [](QFileDevice::Permissions mode) {
            return mode | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        };
        QVERIFY(QFile::setPermissions(file, readOnly) && QFile::setPermissions(journal, readOnly));
        QVERIFY(QFile::setPermissions(folder, folderMode(readOnly)));
        bool held = false;
        bool opened = false;
        QString text;
        QString probed;
        {
            const PermissionsObeyed obeyed;
            held = obeyed.isHeld();
            if (held) {
                GC_GenomeScene scene;
                opened = scene.loadKestalCanvas(link);
                text = scene.lastErrorText();
                GC_FileUtils::filetype(link, &probed);
            }
        }
        QVERIFY(QFile::setPermissions(folder, folderMode(writable)));
        QVERIFY(QFile::setPermissions(file, writable) && QFile::setPermissions(journal, writable));
        if (!held)
            QSKIP("root, whose power to override file permissions could not be set aside");
        QVERIFY(!opened);
        QCOMPARE(text, GC_SqlConnection::leftMidWriteText(link));
        // The journal to keep is the one there is: beside the real file.
        QVERIFY2(text.contains(QString("Keep the file \"%1\" beside it").arg(QFileInfo(journal).canonicalFilePath())),
                 qPrintable(text));
        // What the open wizard and the sequence-file loader ask first.
        QCOMPARE(probed, text);
        QCOMPARE(fileBytes(file), midWrite);
        QCOMPARE(fileBytes(journal), journalBytes);
        // Once it may be written, it opens as it was.
        opensAsBefore();
    }

    // Cuts, clicks and handle drags near the start of older versions stored
    // such ranges: the user's file opens with them as they were written.
    void olderEditsBelowNucleotideOneLoadAsWritten()
    {
        for (const QString edit : {"genome-zero", "gene-below", "anotation-below"}) {
            const QString file = path(edit + ".kcv");
            QVERIFY(TestData::writeFile(file, damagedExample(edit)));
            GC_GenomeScene scene;
            QVERIFY2(scene.loadKestalCanvas(file), qPrintable(edit + ": " + scene.lastErrorText()));
            QCOMPARE(scene.genomes().size(), 2);
            int lowest = INT_MAX;
            for (GC_Genome *genome : scene.genomes()) {
                lowest = qMin(lowest, genome->getCoords().start());
                for (GC_Gene *gene : genome->getGenes())
                    lowest = qMin(lowest, gene->getCoords().start());
                for (GC_Anotation *anotation : genome->getAnotations())
                    lowest = qMin(lowest, anotation->getCoords().start());
            }
            QCOMPARE(lowest, edit == "genome-zero" ? 0 : edit == "gene-below" ? -5 : -10);
            exportImages(scene, edit);
        }
    }

    void genesOfASharedIdStayWithTheirGenome_data()
    {
        // Older files could give a clone and a compared sequence one id;
        // their gene and annotation rows name only the id. The clone shows
        // from cloneFrom to 40000, the sequence from 1 to sequenceTo.
        QTest::addColumn<bool>("cloneFirst");
        QTest::addColumn<int>("cloneFrom");
        QTest::addColumn<QList<int>>("cloneGenes");
        QTest::addColumn<int>("sequenceTo");
        QTest::addColumn<QList<int>>("sequenceGenes");
        // The letters the sequence's row stores; the clone's stores none.
        QTest::addColumn<int>("letters");
        const QList<int> four{100, 5000, 12000, 30000};
        QTest::newRow("gene-less sequence after the clone") << true << 1 << four << 800 << QList<int>{} << 0;
        QTest::newRow("gene-less sequence before the clone") << false << 1 << four << 800 << QList<int>{} << 0;
        const QList<int> three{6000, 12000, 30000};
        QTest::newRow("both with genes, after") << true << 5001 << three << 3000 << QList<int>{100, 1200} << 0;
        QTest::newRow("both with genes, before") << false << 5001 << three << 3000 << QList<int>{100, 1200} << 0;
        QTest::newRow("sequence stored in the sequence's row only, before the clone")
            << false << 1 << four << 800 << QList<int>{} << 800;
    }

    void genesOfASharedIdStayWithTheirGenome()
    {
        QFETCH(bool, cloneFirst);
        QFETCH(int, cloneFrom);
        QFETCH(QList<int>, cloneGenes);
        QFETCH(int, sequenceTo);
        QFETCH(QList<int>, sequenceGenes);
        QFETCH(int, letters);
        const QString file = path("shared_id_old.kcv");
        QFile::remove(file);
        {
            GC_SqlConnection connection("tst_shared_id", file);
            QSqlQuery query(connection.database());
            QVERIFY(createCanvasTables(query));
            QVERIFY(createHitTables(query));
            // Each genome row followed by its own rows, as the writer puts them.
            auto writeGenome = [&](const QString &name, int place, int from, int to, const QList<int> &genes,
                                   int stored) {
                QVERIFY(query.exec(QString("INSERT INTO genomes ( id , place , name , nucfrom , nucto , pixPerNuc , "
                                           "showGenes , visible , dnaSequence ) VALUES ( 7 , %1 , '%2' , %3 , %4 , "
                                           "0.01 , 1 , 1 , '%5' )")
                                       .arg(place).arg(name).arg(from).arg(to).arg(QString("ACGT").repeated(stored / 4))));
                QVERIFY(query.exec(QString("INSERT INTO ruler ( genomeId , nucsPerPeriod , periodsPerBigLine , "
                                           "pixsPerPeriod ) VALUES ( 7 , %1 , 10 , 10 )")
                                       .arg(place == 0 ? 100 : 250)));
                for (int start : genes)
                    QVERIFY(query.exec(QString("INSERT INTO genes ( id , genomeId , name , nucfrom , nucto , orientation ) "
                                               "VALUES ( %1 , 7 , '%2' , %1 , %3 , 1 )")
                                           .arg(start).arg(name).arg(start + 300)));
                if (!genes.isEmpty())
                    QVERIFY(query.exec(QString("INSERT INTO anotations ( id , genomeId , name , nucfrom , nucto ) "
                                               "VALUES ( 1 , 7 , '%1' , %2 , %3 )")
                                           .arg(name).arg(genes.last()).arg(genes.last() + 50)));
                // Stored hits on its genes, named by the gene's start: a COG
                // hit on each, an RFAM and an rRNA hit on the last.
                for (int start : genes)
                    QVERIFY(query.exec(QString("INSERT INTO cog_matchings VALUES ( %1 , 7 , %1 , %2 , 1e-9 , 80.5 )")
                                           .arg(start).arg(start + 300)));
                if (!genes.isEmpty()) {
                    QVERIFY(query.exec(QString("INSERT INTO rfam_matchings VALUES ( %1 , 7 , %1 , %2 , 1e-5 , 40 )")
                                           .arg(genes.last()).arg(genes.last() + 80)));
                    QVERIFY(query.exec(QString("INSERT INTO rrna_matchings VALUES ( %1 , 7 , %1 , %2 , 0 , 900 )")
                                           .arg(genes.last()).arg(genes.last() + 200)));
                }
            };
            if (cloneFirst)
                writeGenome("clone", 0, cloneFrom, 40000, cloneGenes, 0);
            writeGenome("sequence", 1, 1, sequenceTo, sequenceGenes, letters);
            if (!cloneFirst)
                writeGenome("clone", 0, cloneFrom, 40000, cloneGenes, 0);
        }
        // Every gene and annotation is where it was written, also after a
        // save and a load of what was saved.
        auto check = [&](const GC_GenomeScene &scene) {
            QCOMPARE(scene.topGenomes().size(), 1);
            QCOMPARE(scene.lowGenomes().size(), 1);
            const GC_Genome *clone = scene.topGenomes().first();
            const GC_Genome *sequence = scene.lowGenomes().first();
            QVERIFY(clone->getId() != sequence->getId());
            QCOMPARE(clone->getRuler()->getNucsPerPeriod(), 100);
            QCOMPARE(sequence->getRuler()->getNucsPerPeriod(), 250);
            // What a save writes: each its own row's letters.
            QCOMPARE(clone->getDnaSequence().size(), 0);
            QCOMPARE(sequence->getDnaSequence().size(), letters);
            for (const GC_Genome *genome : {clone, sequence}) {
                const QList<int> &written = genome == clone ? cloneGenes : sequenceGenes;
                QList<int> starts;
                for (const GC_Gene *gene : genome->getGenes()) {
                    QCOMPARE(gene->getName(), genome->getName());
                    starts << gene->getCoords().start();
                }
                QCOMPARE(starts, written);
                QCOMPARE(genome->getAnotations().size(), written.isEmpty() ? 0 : 1);
                for (const GC_Anotation *anotation : genome->getAnotations())
                    QCOMPARE(anotation->getName(), genome->getName());
                const QString hits = written.isEmpty() ? QString("0+0+0")
                                                       : QString("%1+1+1").arg(written.size());
                QCOMPARE(storedCounts(genome), hits);
            }
        };
        // The saved file holds each hit once, under the genome it was written with.
        auto checkSaved = [&](const GC_GenomeScene &scene) {
            for (const GC_Genome *genome : {scene.topGenomes().first(), scene.lowGenomes().first()}) {
                const QList<int> &written = genome == scene.topGenomes().first() ? cloneGenes : sequenceGenes;
                QStringList starts;
                for (int start : written)
                    starts << QString::number(start);
                QCOMPARE(rows(scene.fileName(), QString("SELECT id_cog_protein FROM cog_matchings "
                                                        "WHERE genomeId = %1 ORDER BY start").arg(genome->getId())),
                         starts);
                QCOMPARE(hitCounts(scene.fileName(), genome->getId()),
                         QString("%1+%2+%2").arg(written.size()).arg(written.isEmpty() ? 0 : 1));
            }
            const int withHits = int(!cloneGenes.isEmpty()) + int(!sequenceGenes.isEmpty());
            QCOMPARE(hitCounts(scene.fileName()),
                     QString("%1+%2+%2").arg(cloneGenes.size() + sequenceGenes.size()).arg(withHits));
        };
        GC_GenomeScene scene;
        QVERIFY(scene.loadKestalCanvas(file));
        check(scene);
        if (QTest::currentTestFailed())
            return;

        // Added alone from the file, a genome takes what opening the file
        // deals it and no more: its genes, its ruler, and its share of the
        // stored hits, counted, shown and saved. The id names the genome that
        // keeps the id on opening (the later row); an id the file lacks, the
        // first row.
        for (const int index : {-1, 7}) {
            const bool isClone = (index == 7) != cloneFirst;
            const QList<int> &written = isClone ? cloneGenes : sequenceGenes;
            GC_GenomeScene single;
            QVERIFY2(single.loadGenomeFromFile(file, index), qPrintable(single.lastErrorText()));
            QCOMPARE(single.topGenomes().size(), 1);
            single.addItemsToScene();
            GC_Genome *added = single.topGenomes().first();
            QCOMPARE(added->getName(), QString(isClone ? "clone" : "sequence"));
            QCOMPARE(added->getRuler()->getNucsPerPeriod(), isClone ? 100 : 250);
            QList<int> starts;
            for (const GC_Gene *gene : added->getGenes())
                starts << gene->getCoords().start();
            QCOMPARE(starts, written);
            const QString hits = written.isEmpty() ? QString("0+0+0") : QString("%1+1+1").arg(written.size());
            QCOMPARE(storedCounts(added), hits);

            // The show dialog hands over as many rows as it counts.
            GC_CogShowMatchings_dialog show;
            show.setGenome(added);
            show.setScene(&single);
            QVERIFY(show.findChild<QTextBrowser *>("textBrowser")->toPlainText().contains(
                QString("%1 COG homologies have been found").arg(written.size())));
            // Without the COG collection every hit is refused, and said so.
            QString leftOut;
            if (written.isEmpty())
                ModalAnswerer::clickButtonText("Yes");
            else
                ModalAnswerer::clickButtonTextThen("Yes", [&leftOut](QWidget *box) {
                    leftOut = qobject_cast<QMessageBox *>(box) ? qobject_cast<QMessageBox *>(box)->text() : QString();
                    box->close();
                });
            QCOMPARE(show.exec(), int(QDialog::Accepted));
            QVERIFY2(written.isEmpty() || leftOut.startsWith(QString("%1 of the %1 stored COG homologies are not "
                                                                     "shown: the reference collection cog.sqlite3 "
                                                                     "is not open").arg(written.size())),
                     qPrintable(leftOut));
            QCOMPARE(show.findChild<QLabel *>("labelAdvance")->text(),
                     written.isEmpty() ? QString("Loading COG homologies from database")
                                       : QString("%1/%2").arg(written.size() - 1).arg(written.size()));

            single.setFileName(path("shared_id_added.kcv"));
            QVERIFY2(single.saveToKestalCanvas(), qPrintable(single.lastErrorText()));
            QCOMPARE(hitCounts(single.fileName()), hits);
            QStringList hitStarts;
            for (int start : written)
                hitStarts << QString::number(start);
            QCOMPARE(rows(single.fileName(), "SELECT id_cog_protein FROM cog_matchings ORDER BY start"), hitStarts);
        }

        scene.setFileName(path("shared_id_saved.kcv"));
        QVERIFY2(scene.saveToKestalCanvas(), qPrintable(scene.lastErrorText()));
        checkSaved(scene);
        GC_GenomeScene again;
        QVERIFY(again.loadKestalCanvas(scene.fileName()));
        check(again);
        // And once more from what was saved.
        again.setFileName(path("shared_id_saved_again.kcv"));
        QVERIFY2(again.saveToKestalCanvas(), qPrintable(again.lastErrorText()));
        checkSaved(again);
        GC_GenomeScene third;
        QVERIFY(third.loadKestalCanvas(again.fileName()));
        check(third);
    }

    void otherFilesAreRefused()
    {
        GC_GenomeScene scene;
        const QString fasta = path("not.fasta");
        QVERIFY(TestData::writeFile(fasta, ">x\nACGT\n"));
        QVERIFY(!scene.loadKestalCanvas(fasta));
        // A sequence file is named as what it is.
        QCOMPARE(scene.lastErrorText(), QString("File \"%1\" is a FASTA file, not a Kestal Canvas file: sequence "
                                                "files are compared through File > Open")
                                            .arg(fasta));
        QVERIFY(!scene.loadKestalCanvas(path("missing.kcv")));
        QCOMPARE(scene.lastErrorText(),
                 QString("File \"%1\" isn't a Kestal Canvas file or doesn't exist").arg(path("missing.kcv")));
        const QString comparison = path("comparison.kestal");
        {
            GC_SqlConnection connection("tst_comparison", comparison);
            QSqlQuery query(connection.database());
            QVERIFY(query.exec("CREATE TABLE file_properties ( key TEXT, value TEXT )"));
            QVERIFY(query.exec("INSERT INTO file_properties VALUES ('type', 'genomecomparisson')"));
        }
        QVERIFY(!scene.loadKestalCanvas(comparison));
        QVERIFY(scene.lastErrorText().contains("isn't a Kestal Canvas file"));
        QVERIFY(!QFile::exists(path("missing.kcv")));
        QVERIFY(scene.fileName().isEmpty());
    }

    void theRowCounterCommitsBeforeRow1001()
    {
        const QString file = path("counter.db");
        GC_SqlConnection writer("tst_counter_writer", file);
        QSqlQuery query(writer.database());
        QVERIFY(query.exec("CREATE TABLE t ( v INTEGER )"));
        QVERIFY(query.exec("BEGIN"));
        int counter = 0;
        auto committedRows = [&]() {
            GC_SqlConnection reader("tst_counter_reader", file, GC_SqlConnection::ReadOnly);
            QSqlQuery count(reader.database());
            return count.exec("SELECT count(*) FROM t") && count.next() ? count.value(0).toInt() : -1;
        };
        for (int row = 1; row <= 2002; ++row) {
            QVERIFY(GC_CanvasRowCounter::commitEvery1000(query, counter));
            QVERIFY(query.exec(QString("INSERT INTO t VALUES ( %1 )").arg(row)));
            if (row == 1000)
                QCOMPARE(committedRows(), 0);
            if (row == 1001)
                QCOMPARE(committedRows(), 1000);
            if (row == 2001)
                QCOMPARE(committedRows(), 1000);
        }
        QCOMPARE(committedRows(), 2001);
        QCOMPARE(counter, 0);
        QVERIFY(query.exec("COMMIT"));
    }
};

KESTAL_TEST_MAIN(TestCanvasFile)
#include "tst_canvasfile.moc"
