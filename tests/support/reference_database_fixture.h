#ifndef REFERENCE_DATABASE_FIXTURE_H
#define REFERENCE_DATABASE_FIXTURE_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Tiny stand-ins of the reference collections that the program reads from
// its "databases" folder, built in a temporary folder:
//
//   cog.sqlite3      cog_classes(id, name)           1..4
//                    cog_groups(code, name, class_id) the 25 category letters
//                    cog_orthologies(code, name)
//                    cog_orthologies_groups(code_cog, code_group)
//                    cog_proteins(id, code_cog, sequence_length, name)
//   cogprots80.fas   the COG proteins, ">id" headers, plus protein 99 that
//                    cog_proteins lacks
//   rfams.sqlite3    rfam_groups(code, name, description)
//                    rfam_seqs(id, code_rfam, length)
//   rfams.fas        the RFAM sequences, ">id" headers, plus sequence 99 that
//                    rfam_seqs lacks
//   rrnas.sqlite3    rrna_groups(id, name, description)
//                    rrna_seqs(id, id_group, name, length)
//   LSU_106_silva_80, SSU_106_silva_80
//                    version-4 nucleotide BLAST databases (real makeblastdb,
//                    ">gi|id" headers so blastn's sgi field is the rrna_seqs
//                    id; the seven files .nhd .nhi .nhr .nin .nnd .nni .nsq
//                    are enough to search). LSU also holds 999, which
//                    rrna_seqs lacks.
//
// Rows (see the tables below for every value):
//   COG proteins 1..5 are ordinary (categories H, E, J, T+R, K: protein 4's
//   COG is listed under T first, then R); 6 has a COG without category; 7 a
//   COG whose category "X" is not in cog_groups; 8 a COG without a row in
//   cog_orthologies. Protein 5's COG name holds an apostrophe.
//   RFAM sequences 1..5 belong to RF00001, RF00005 (2 and 3), RF00010 and
//   RF00177 (empty description); 6 belongs to RF09999, which rfam_groups lacks.
//   rRNA groups: 1 LSU, 2 SSU, 3 ITS (empty description). rRNA sequences 101,
//   102 (LSU), 201, 202 (SSU), 301 (ITS, in the SSU database), 401 (group 9,
//   which rrna_groups lacks, in the LSU database).
//
// Every sequence is pseudo-random with a fixed seed, so it is the same on
// every run and no two references resemble each other; filler() makes DNA
// that matches none of them. A genome that should hit a COG protein carries
// codingSequence(cogProteinSequence(id)).
class ReferenceDatabaseFixture
{
public:
    struct CogProtein
    {
        int id;
        QString cogCode;
        int length;          // amino acids
        QStringList groups;  // cog_orthologies_groups rows of its COG, in order
        QString cogName;     // empty: no cog_orthologies row
    };
    struct CogGroup
    {
        QString code;
        QString name;
        int classId;
    };
    struct RfamSequence
    {
        int id;
        QString code;
        int length;
    };
    struct RfamGroup
    {
        QString code;
        QString name;
        QString description;
    };
    struct RrnaSequence
    {
        int id;
        int groupId;
        QString name;
        int length;
        QString blastDatabase;  // "LSU_106_silva_80" or "SSU_106_silva_80"
    };
    struct RrnaGroup
    {
        int id;
        QString name;
        QString description;
    };

    static const QList<CogProtein> &cogProteins();
    static const QList<CogGroup> &cogGroups();  // in class order, as inserted
    static QString cogClassName(int classId);   // 1..4
    static const QList<RfamSequence> &rfamSequences();
    static const QList<RfamGroup> &rfamGroups();
    static const QList<RrnaSequence> &rrnaSequences();
    static const QList<RrnaGroup> &rrnaGroups();

    // Ids present in the FASTA collections or BLAST databases but missing
    // from the SQLite tables.
    static constexpr int missingCogProteinId = 99;
    static constexpr int missingRfamSequenceId = 99;
    static constexpr int missingRrnaSequenceId = 999;

    // Reference sequences (protein for COG, DNA for RFAM and rRNA); empty for
    // an unknown id.
    static QString cogProteinSequence(int id);
    static QString rfamSequence(int id);
    static QString rrnaSequence(int id);
    // DNA coding for a protein (one fixed codon per amino acid, no stop).
    static QString codingSequence(const QString &protein);
    static QString reverseComplement(const QString &dna);
    // Random DNA that matches no reference; the same for the same seed.
    static QString filler(int length, quint32 seed);

    // Makes an empty temporary folder; nothing is built yet.
    ReferenceDatabaseFixture();
    // Closes the reference connections if open() made them and restores the
    // reference folder that was current before.
    ~ReferenceDatabaseFixture();

    ReferenceDatabaseFixture(const ReferenceDatabaseFixture &) = delete;
    ReferenceDatabaseFixture &operator=(const ReferenceDatabaseFixture &) = delete;

    // Writes every file listed above. False with errorString() on failure.
    bool build();
    // Opens the three connections as the program does (GC_ReferenceDatabases::openAll).
    bool open();

    QString folder() const { return dir.path(); }
    QString path(const QString &fileName) const { return dir.filePath(fileName); }
    QString errorString() const { return error; }

private:
    bool buildCog();
    bool buildRfam();
    bool buildRrna();
    bool writeFasta(const QString &fileName, const QList<QPair<QString, QString>> &records);
    bool makeBlastDatabase(const QString &fastaName, const QString &databaseName);
    bool fail(const QString &message);

    QTemporaryDir dir;
    QString error;
    QString previousFolder;
    bool opened = false;
};

#endif
