#ifndef SYNTHETIC_GENOME_H
#define SYNTHETIC_GENOME_H

#include <QByteArray>
#include <QString>
#include <QVector>

// A reproducible synthetic genome with genes, for benchmarks at realistic
// sizes: random(5000000, 5000, seed) gives a 5 Mb genome with 5,000 genes,
// and derived() a relative of it with point mutations, small indels,
// inversions and moved blocks, its genes carried along. Both can be written
// as Genbank (with /translation qualifiers, as real files have) or FASTA.
class SyntheticGenome
{
public:
    struct Gene
    {
        int from = 0; // 1-based, from <= to
        int to = 0;
        bool reverse = false;
        QString locusTag;
        QString product;
    };

    struct Changes
    {
        double substitutionRate = 0.03; // per nucleotide
        double indelRate = 0.001;       // per nucleotide, 1-10 letters each
        int inversions = 8;
        int movedBlocks = 8;
        int minBlockLength = 10000;
        int maxBlockLength = 150000;
    };

    // Random letters (about half GC) and geneCount non-overlapping genes of
    // 300 to about 1,800 letters on random strands.
    static SyntheticGenome random(int length, int geneCount, quint32 seed,
                                  const QString &name = QString());

    // A relative of this genome. Genes cut by a rearrangement are dropped;
    // the others keep their locus tags at their new positions (their ends
    // moved by the indels before them).
    SyntheticGenome derived(const Changes &changes, quint32 seed, const QString &name = QString()) const;

    // A genome unrelated to this one (random letters and genes, as
    // random()) but for count stretches of length letters copied from this
    // genome, with point substitutions at substitutionRate: two species that
    // share a few conserved regions, so BLAST finds few matches and ends
    // quickly.
    SyntheticGenome sharingStretches(int count, int length, double substitutionRate, quint32 seed,
                                     const QString &name = QString()) const;

    QString name() const { return m_name; }
    const QByteArray &sequence() const { return m_sequence; }
    const QVector<Gene> &genes() const { return m_genes; }

    bool writeGenbank(const QString &path, QString *errorText = nullptr) const;
    bool writeFasta(const QString &path, QString *errorText = nullptr) const;

private:
    QString m_name;
    QByteArray m_sequence; // lower-case acgt
    QVector<Gene> m_genes;  // ascending by start
};

#endif
