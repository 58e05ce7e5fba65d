#include "reference_database_fixture.h"

#include "gc_referencedatabases.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTextStream>
#include <QUuid>

#include <random>

namespace {

const QString lsuDatabase = QStringLiteral("LSU_106_silva_80");
const QString ssuDatabase = QStringLiteral("SSU_106_silva_80");

// std::mt19937's output is fixed by the standard: the same sequences on every
// run and platform. (Distributions are not, so the modulo is taken here.)
class SequenceGenerator
{
public:
    explicit SequenceGenerator(quint32 seed) : engine(seed) {}
    int next(int bound) { return int(engine() % quint32(bound)); }
    QString text(const char *alphabet, int size, int length)
    {
        QString result;
        result.reserve(length);
        for (int i = 0; i < length; ++i)
            result.append(QLatin1Char(alphabet[next(size)]));
        return result;
    }

private:
    std::mt19937 engine;
};

// Seeds keep the families apart so that no two references share a stretch.
QString proteinFor(int id, int length)
{
    SequenceGenerator generator(1000u + quint32(id));
    return QStringLiteral("M") + generator.text("ACDEFGHIKLMNPQRSTVWY", 20, length - 1);
}

QString dnaFor(quint32 seed, int length)
{
    SequenceGenerator generator(seed);
    return generator.text("ACGT", 4, length);
}

struct QueryRunner
{
    QSqlDatabase db;
    QString error;

    bool exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery query(db);
        if (!query.prepare(sql)) {
            error = sql + QStringLiteral(": ") + query.lastError().text();
            return false;
        }
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values.at(i));
        if (!query.exec()) {
            error = sql + QStringLiteral(": ") + query.lastError().text();
            return false;
        }
        return true;
    }
};

// Runs body on a fresh SQLite file inside one transaction.
template <typename Body>
QString writeDatabase(const QString &path, Body body)
{
    const QString name = QStringLiteral("fixture_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString error;
    {
        QueryRunner runner{QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name), QString()};
        runner.db.setDatabaseName(path);
        if (!runner.db.open()) {
            error = QStringLiteral("cannot create ") + path + QStringLiteral(": ") + runner.db.lastError().text();
        } else {
            runner.db.transaction();
            if (body(runner) && runner.db.commit())
                error.clear();
            else
                error = runner.error.isEmpty() ? runner.db.lastError().text() : runner.error;
            runner.db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

} // namespace

const QList<ReferenceDatabaseFixture::CogProtein> &ReferenceDatabaseFixture::cogProteins()
{
    static const QList<CogProtein> rows = {
        {1, "COG0001", 60, {"H"}, "Glutamate-1-semialdehyde aminotransferase"},
        {2, "COG0002", 70, {"E"}, "Acetylglutamate semialdehyde dehydrogenase"},
        {3, "COG0012", 80, {"J"}, "Predicted GTPase, probable translation factor"},
        {4, "COG0515", 90, {"T", "R"}, "Serine/threonine protein kinase"},
        {5, "COG0086", 100, {"K"}, "DNA-directed RNA polymerase, beta' subunit"},
        {6, "COG3000", 60, {}, "Uncharacterized protein without category"},
        {7, "COG3001", 60, {"X"}, "Protein of an unlisted category"},
        {8, "COG3002", 60, {"S"}, QString()},
    };
    return rows;
}

const QList<ReferenceDatabaseFixture::CogGroup> &ReferenceDatabaseFixture::cogGroups()
{
    static const QList<CogGroup> rows = {
        {"J", "Translation, ribosomal structure and biogenesis", 1},
        {"A", "RNA processing and modification", 1},
        {"K", "Transcription", 1},
        {"L", "Replication, recombination and repair", 1},
        {"B", "Chromatin structure and dynamics", 1},
        {"C", "Energy production and conversion", 2},
        {"G", "Carbohydrate transport and metabolism", 2},
        {"E", "Amino acid transport and metabolism", 2},
        {"F", "Nucleotide transport and metabolism", 2},
        {"H", "Coenzyme transport and metabolism", 2},
        {"I", "Lipid transport and metabolism", 2},
        {"P", "Inorganic ion transport and metabolism", 2},
        {"Q", "Secondary metabolites biosynthesis, transport and catabolism", 2},
        {"D", "Cell cycle control, cell division, chromosome partitioning", 3},
        {"Y", "Nuclear structure", 3},
        {"V", "Defense mechanisms", 3},
        {"T", "Signal transduction mechanisms", 3},
        {"M", "Cell wall/membrane/envelope biogenesis", 3},
        {"N", "Cell motility", 3},
        {"Z", "Cytoskeleton", 3},
        {"W", "Extracellular structures", 3},
        {"U", "Intracellular trafficking, secretion, and vesicular transport", 3},
        {"O", "Posttranslational modification, protein turnover, chaperones", 3},
        {"R", "General function prediction only", 4},
        {"S", "Function unknown", 4},
    };
    return rows;
}

QString ReferenceDatabaseFixture::cogClassName(int classId)
{
    switch (classId) {
    case 1:
        return QStringLiteral("Information storage and processing");
    case 2:
        return QStringLiteral("Metabolism");
    case 3:
        return QStringLiteral("Cellular processes and signaling");
    case 4:
        return QStringLiteral("Poorly characterized");
    default:
        return QString();
    }
}

const QList<ReferenceDatabaseFixture::RfamSequence> &ReferenceDatabaseFixture::rfamSequences()
{
    static const QList<RfamSequence> rows = {
        {1, "RF00001", 120}, {2, "RF00005", 72},  {3, "RF00005", 74},
        {4, "RF00010", 150}, {5, "RF00177", 200}, {6, "RF09999", 80},
    };
    return rows;
}

const QList<ReferenceDatabaseFixture::RfamGroup> &ReferenceDatabaseFixture::rfamGroups()
{
    static const QList<RfamGroup> rows = {
        {"RF00001", "5S_rRNA", "5S ribosomal RNA"},
        {"RF00005", "tRNA", "tRNA"},
        {"RF00010", "RNaseP_bact_a", "Bacterial RNase P class A"},
        {"RF00177", "SSU_rRNA_bacteria", ""},
    };
    return rows;
}

const QList<ReferenceDatabaseFixture::RrnaSequence> &ReferenceDatabaseFixture::rrnaSequences()
{
    static const QList<RrnaSequence> rows = {
        {101, 1, "Escherichia coli 23S rRNA", 400, lsuDatabase},
        {102, 1, "Bacillus subtilis 23S rRNA", 400, lsuDatabase},
        {201, 2, "Escherichia coli 16S rRNA", 300, ssuDatabase},
        {202, 2, "Bacillus subtilis 16S rRNA", 300, ssuDatabase},
        {301, 3, "Escherichia coli 16S-23S spacer", 150, ssuDatabase},
        {401, 9, "Orphan sequence without group", 150, lsuDatabase},
    };
    return rows;
}

const QList<ReferenceDatabaseFixture::RrnaGroup> &ReferenceDatabaseFixture::rrnaGroups()
{
    static const QList<RrnaGroup> rows = {
        {1, "LSU", "Large subunit ribosomal RNA (23S/28S)"},
        {2, "SSU", "Small subunit ribosomal RNA (16S/18S)"},
        {3, "ITS", ""},
    };
    return rows;
}

QString ReferenceDatabaseFixture::cogProteinSequence(int id)
{
    if (id == missingCogProteinId)
        return proteinFor(id, 60);
    for (const CogProtein &row : cogProteins()) {
        if (row.id == id)
            return proteinFor(id, row.length);
    }
    return QString();
}

QString ReferenceDatabaseFixture::rfamSequence(int id)
{
    if (id == missingRfamSequenceId)
        return dnaFor(2000u + quint32(id), 100);
    for (const RfamSequence &row : rfamSequences()) {
        if (row.id == id)
            return dnaFor(2000u + quint32(id), row.length);
    }
    return QString();
}

QString ReferenceDatabaseFixture::rrnaSequence(int id)
{
    if (id == missingRrnaSequenceId)
        return dnaFor(3000u + quint32(id), 200);
    for (const RrnaSequence &row : rrnaSequences()) {
        if (row.id == id)
            return dnaFor(3000u + quint32(id), row.length);
    }
    return QString();
}

QString ReferenceDatabaseFixture::codingSequence(const QString &protein)
{
    static const QHash<QChar, QString> codons = {
        {'A', "GCT"}, {'R', "CGT"}, {'N', "AAT"}, {'D', "GAT"}, {'C', "TGT"},
        {'Q', "CAA"}, {'E', "GAA"}, {'G', "GGT"}, {'H', "CAT"}, {'I', "ATT"},
        {'L', "CTG"}, {'K', "AAA"}, {'M', "ATG"}, {'F', "TTT"}, {'P', "CCG"},
        {'S', "TCT"}, {'T', "ACC"}, {'W', "TGG"}, {'Y', "TAT"}, {'V', "GTT"},
    };
    QString dna;
    dna.reserve(protein.size() * 3);
    for (const QChar aminoAcid : protein)
        dna += codons.value(aminoAcid.toUpper(), QStringLiteral("NNN"));
    return dna;
}

QString ReferenceDatabaseFixture::reverseComplement(const QString &dna)
{
    QString result;
    result.reserve(dna.size());
    for (auto it = dna.crbegin(); it != dna.crend(); ++it) {
        switch (it->toUpper().unicode()) {
        case 'A': result += QLatin1Char('T'); break;
        case 'C': result += QLatin1Char('G'); break;
        case 'G': result += QLatin1Char('C'); break;
        case 'T': result += QLatin1Char('A'); break;
        default: result += QLatin1Char('N'); break;
        }
    }
    return result;
}

QString ReferenceDatabaseFixture::filler(int length, quint32 seed)
{
    return dnaFor(900000u + seed, length);
}

ReferenceDatabaseFixture::ReferenceDatabaseFixture()
    : previousFolder(GC_ReferenceDatabases::folder())
{
}

ReferenceDatabaseFixture::~ReferenceDatabaseFixture()
{
    if (opened) {
        GC_ReferenceDatabases::closeAll();
        GC_ReferenceDatabases::setFolder(previousFolder);
    }
}

bool ReferenceDatabaseFixture::build()
{
    error.clear();
    if (!dir.isValid())
        return fail(QStringLiteral("cannot make a temporary folder: ") + dir.errorString());
    return buildCog() && buildRfam() && buildRrna();
}

bool ReferenceDatabaseFixture::open()
{
    opened = true;
    if (GC_ReferenceDatabases::openAll(folder()))
        return true;
    return fail(QStringLiteral("the reference connections did not open"));
}

bool ReferenceDatabaseFixture::buildCog()
{
    const QString result = writeDatabase(path("cog.sqlite3"), [](QueryRunner &run) {
        if (!run.exec("CREATE TABLE cog_classes (id INTEGER PRIMARY KEY, name TEXT)")
            || !run.exec("CREATE TABLE cog_groups (code TEXT, name TEXT, class_id INTEGER)")
            || !run.exec("CREATE TABLE cog_orthologies (code TEXT, name TEXT)")
            || !run.exec("CREATE TABLE cog_orthologies_groups (code_cog TEXT, code_group TEXT)")
            || !run.exec("CREATE TABLE cog_proteins (id INTEGER PRIMARY KEY, code_cog TEXT, "
                         "sequence_length INTEGER, name TEXT)"))
            return false;
        for (int classId = 1; classId <= 4; ++classId) {
            if (!run.exec("INSERT INTO cog_classes (id, name) VALUES (?, ?)", {classId, cogClassName(classId)}))
                return false;
        }
        for (const CogGroup &group : cogGroups()) {
            if (!run.exec("INSERT INTO cog_groups (code, name, class_id) VALUES (?, ?, ?)",
                          {group.code, group.name, group.classId}))
                return false;
        }
        for (const CogProtein &protein : cogProteins()) {
            if (!run.exec("INSERT INTO cog_proteins (id, code_cog, sequence_length, name) VALUES (?, ?, ?, ?)",
                          {protein.id, protein.cogCode, protein.length,
                           QStringLiteral("protein %1").arg(protein.id)}))
                return false;
            if (!protein.cogName.isEmpty()
                && !run.exec("INSERT INTO cog_orthologies (code, name) VALUES (?, ?)",
                             {protein.cogCode, protein.cogName}))
                return false;
            for (const QString &group : protein.groups) {
                if (!run.exec("INSERT INTO cog_orthologies_groups (code_cog, code_group) VALUES (?, ?)",
                              {protein.cogCode, group}))
                    return false;
            }
        }
        return true;
    });
    if (!result.isEmpty())
        return fail(result);

    QList<QPair<QString, QString>> records;
    for (const CogProtein &protein : cogProteins())
        records.append({QString::number(protein.id), cogProteinSequence(protein.id)});
    records.append({QString::number(missingCogProteinId), cogProteinSequence(missingCogProteinId)});
    return writeFasta(QStringLiteral("cogprots80.fas"), records);
}

bool ReferenceDatabaseFixture::buildRfam()
{
    const QString result = writeDatabase(path("rfams.sqlite3"), [](QueryRunner &run) {
        if (!run.exec("CREATE TABLE rfam_groups (code TEXT, name TEXT, description TEXT)")
            || !run.exec("CREATE TABLE rfam_seqs (id INTEGER PRIMARY KEY, code_rfam TEXT, length INTEGER)"))
            return false;
        for (const RfamGroup &group : rfamGroups()) {
            if (!run.exec("INSERT INTO rfam_groups (code, name, description) VALUES (?, ?, ?)",
                          {group.code, group.name, group.description}))
                return false;
        }
        for (const RfamSequence &sequence : rfamSequences()) {
            if (!run.exec("INSERT INTO rfam_seqs (id, code_rfam, length) VALUES (?, ?, ?)",
                          {sequence.id, sequence.code, sequence.length}))
                return false;
        }
        return true;
    });
    if (!result.isEmpty())
        return fail(result);

    QList<QPair<QString, QString>> records;
    for (const RfamSequence &sequence : rfamSequences())
        records.append({QString::number(sequence.id), rfamSequence(sequence.id)});
    records.append({QString::number(missingRfamSequenceId), rfamSequence(missingRfamSequenceId)});
    return writeFasta(QStringLiteral("rfams.fas"), records);
}

bool ReferenceDatabaseFixture::buildRrna()
{
    const QString result = writeDatabase(path("rrnas.sqlite3"), [](QueryRunner &run) {
        if (!run.exec("CREATE TABLE rrna_groups (id INTEGER PRIMARY KEY, name TEXT, description TEXT)")
            || !run.exec("CREATE TABLE rrna_seqs (id INTEGER PRIMARY KEY, id_group INTEGER, name TEXT, "
                         "length INTEGER)"))
            return false;
        for (const RrnaGroup &group : rrnaGroups()) {
            if (!run.exec("INSERT INTO rrna_groups (id, name, description) VALUES (?, ?, ?)",
                          {group.id, group.name, group.description}))
                return false;
        }
        for (const RrnaSequence &sequence : rrnaSequences()) {
            if (!run.exec("INSERT INTO rrna_seqs (id, id_group, name, length) VALUES (?, ?, ?, ?)",
                          {sequence.id, sequence.groupId, sequence.name, sequence.length}))
                return false;
        }
        return true;
    });
    if (!result.isEmpty())
        return fail(result);

    for (const QString &database : {lsuDatabase, ssuDatabase}) {
        QList<QPair<QString, QString>> records;
        for (const RrnaSequence &sequence : rrnaSequences()) {
            if (sequence.blastDatabase == database)
                records.append({QStringLiteral("gi|%1 %2").arg(sequence.id).arg(sequence.name),
                                rrnaSequence(sequence.id)});
        }
        if (database == lsuDatabase)
            records.append({QStringLiteral("gi|%1 sequence without rrna_seqs row").arg(missingRrnaSequenceId),
                            rrnaSequence(missingRrnaSequenceId)});
        const QString fastaName = database + QStringLiteral(".fas");
        if (!writeFasta(fastaName, records) || !makeBlastDatabase(fastaName, database))
            return false;
        QFile::remove(path(fastaName));
    }
    return true;
}

bool ReferenceDatabaseFixture::writeFasta(const QString &fileName, const QList<QPair<QString, QString>> &records)
{
    QFile file(path(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot write ") + file.fileName() + QStringLiteral(": ") + file.errorString());
    QTextStream out(&file);
    for (const auto &record : records) {
        out << '>' << record.first << '\n';
        for (int i = 0; i < record.second.size(); i += 60)
            out << record.second.mid(i, 60) << '\n';
    }
    out.flush();
    if (out.status() != QTextStream::Ok || !file.flush())
        return fail(QStringLiteral("cannot write ") + file.fileName());
    return true;
}

bool ReferenceDatabaseFixture::makeBlastDatabase(const QString &fastaName, const QString &databaseName)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("makeblastdb"));
    if (program.isEmpty())
        return fail(QStringLiteral("makeblastdb is not on the PATH"));
    QProcess process;
    process.setWorkingDirectory(folder());
    process.start(program, {"-in", fastaName, "-dbtype", "nucl", "-parse_seqids", "-hash_index",
                            "-blastdb_version", "4", "-out", databaseName});
    if (!process.waitForStarted())
        return fail(QStringLiteral("makeblastdb did not start: ") + process.errorString());
    process.waitForFinished(60000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return fail(QStringLiteral("makeblastdb failed: ") + QString::fromLocal8Bit(process.readAllStandardError()));
    for (const char *extension : {".nhd", ".nhi", ".nhr", ".nin", ".nnd", ".nni", ".nsq"}) {
        if (!QFile::exists(path(databaseName + QLatin1String(extension))))
            return fail(QStringLiteral("makeblastdb wrote no ") + databaseName + QLatin1String(extension));
    }
    return true;
}

bool ReferenceDatabaseFixture::fail(const QString &message)
{
    error = message;
    return false;
}
