#include "synthetic_genome.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>

namespace {

const char Bases[] = "acgt";
const char AminoAcids[] = "ACDEFGHIKLMNPQRSTVWY";

char complementOf(char c)
{
    switch (c) {
    case 'a': return 't';
    case 'c': return 'g';
    case 'g': return 'c';
    case 't': return 'a';
    default: return 'n';
    }
}

void reverseComplementInPlace(QByteArray &dna, int start, int end) // [start, end)
{
    std::reverse(dna.begin() + start, dna.begin() + end);
    for (int i = start; i < end; ++i)
        dna[i] = complementOf(dna.at(i));
}

bool writeAll(const QString &path, const QByteArray &text, QString *errorText)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size()
        && file.flush())
        return true;
    if (errorText)
        *errorText = QString("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

// Appends a qualifier value wrapped at Genbank's 79 columns.
void appendWrapped(QByteArray &text, const QByteArray &firstLinePrefix, const QByteArray &value)
{
    const QByteArray indent(21, ' ');
    QByteArray line = indent + firstLinePrefix;
    int position = 0;
    while (position < value.size()) {
        const int room = 79 - line.size();
        line += value.mid(position, room);
        position += room;
        text += line + '\n';
        line = indent;
    }
    if (value.isEmpty())
        text += line + '\n';
}

} // namespace

SyntheticGenome SyntheticGenome::random(int length, int geneCount, quint32 seed, const QString &name)
{
    SyntheticGenome genome;
    genome.m_name = name.isEmpty() ? QString("Synthetic genome %1").arg(seed) : name;
    QRandomGenerator random(seed);
    genome.m_sequence.resize(length);
    char *letters = genome.m_sequence.data();
    for (int i = 0; i < length; i += 16) {
        quint64 bits = random.generate64();
        for (int j = i; j < qMin(i + 16, length); ++j, bits >>= 2)
            letters[j] = Bases[bits & 3];
    }
    if (geneCount <= 0)
        return genome;
    // Each gene gets a slot of equal width and sits at a random place in it.
    const int slot = length / geneCount;
    const int maxGene = qMax(300, qMin(1800, slot - 20));
    genome.m_genes.reserve(geneCount);
    for (int g = 0; g < geneCount && slot > 40; ++g) {
        Gene gene;
        const int geneLength = qMin(slot - 20, 300 + int(random.bounded(qMax(1, maxGene - 299))));
        const int start = g * slot + 1 + int(random.bounded(qMax(1, slot - geneLength - 10)));
        gene.from = start;
        gene.to = start + geneLength - 1;
        gene.reverse = random.bounded(2) == 1;
        gene.locusTag = QString("SYN_%1").arg(g + 1, 5, 10, QChar('0'));
        gene.product = g % 3 == 0 ? QString("hypothetical protein")
                                  : QString("synthetic protein family %1").arg(g % 97);
        genome.m_genes << gene;
    }
    return genome;
}

SyntheticGenome SyntheticGenome::derived(const Changes &changes, quint32 seed, const QString &name) const
{
    QRandomGenerator random(seed);
    SyntheticGenome copy;
    copy.m_name = name.isEmpty() ? m_name + " (derived)" : name;
    QByteArray dna = m_sequence;
    QVector<Gene> genes = m_genes;
    const int span = changes.maxBlockLength - changes.minBlockLength + 1;
    auto blockLength = [&]() {
        return qMin(int(dna.size()) / 4, changes.minBlockLength + int(random.bounded(qMax(1, span))));
    };
    auto cuts = [](const Gene &gene, int a, int b) { // block [a, b], 1-based
        return gene.from <= b && gene.to >= a && !(gene.from >= a && gene.to <= b);
    };

    for (int n = 0; n < changes.inversions && dna.size() > 100; ++n) {
        const int length = blockLength();
        const int a = 1 + int(random.bounded(int(dna.size()) - length));
        const int b = a + length - 1;
        reverseComplementInPlace(dna, a - 1, b);
        QVector<Gene> kept;
        kept.reserve(genes.size());
        for (Gene gene : genes) {
            if (cuts(gene, a, b))
                continue;
            if (gene.from >= a && gene.to <= b) {
                const int from = a + b - gene.to;
                gene.to = a + b - gene.from;
                gene.from = from;
                gene.reverse = !gene.reverse;
            }
            kept << gene;
        }
        genes = kept;
    }

    for (int n = 0; n < changes.movedBlocks && dna.size() > 100; ++n) {
        const int length = blockLength();
        const int a = 1 + int(random.bounded(int(dna.size()) - length));
        const int b = a + length - 1;
        const QByteArray block = dna.mid(a - 1, length);
        dna.remove(a - 1, length);
        const int insertAfter = int(random.bounded(int(dna.size()) + 1)); // letters before the block
        dna.insert(insertAfter, block);
        QVector<Gene> kept;
        kept.reserve(genes.size());
        for (Gene gene : genes) {
            if (cuts(gene, a, b))
                continue;
            const bool inside = gene.from >= a && gene.to <= b;
            if (inside) {
                gene.from += insertAfter - (a - 1);
                gene.to += insertAfter - (a - 1);
            } else {
                if (gene.from > b) { // shift left by the removed block
                    gene.from -= length;
                    gene.to -= length;
                }
                if (gene.from > insertAfter) {
                    gene.from += length;
                    gene.to += length;
                } else if (gene.to > insertAfter) {
                    continue; // the block landed inside this gene
                }
            }
            kept << gene;
        }
        genes = kept;
    }

    // Point changes in one pass.
    QVector<QPair<int, int>> shifts; // (old position, change in length there)
    QByteArray mutated;
    mutated.reserve(dna.size() + dna.size() / 50);
    const quint32 substitution = quint32(changes.substitutionRate * 4294967295.0);
    const quint32 indel = quint32(changes.indelRate * 4294967295.0);
    for (int i = 0; i < dna.size(); ++i) {
        const quint32 roll = random.generate();
        if (roll < indel) {
            const int size = 1 + int(random.bounded(10));
            if (random.bounded(2) == 0) {
                for (int k = 0; k < size; ++k)
                    mutated += Bases[random.bounded(4)];
                mutated += dna.at(i);
                shifts << qMakePair(i + 1, size);
            } else {
                const int removed = qMin(size, int(dna.size()) - i);
                shifts << qMakePair(i + 1, -removed);
                i += removed - 1;
            }
        } else if (roll < indel + substitution) {
            const char current = dna.at(i);
            char other = Bases[random.bounded(4)];
            while (other == current)
                other = Bases[random.bounded(4)];
            mutated += other;
        } else {
            mutated += dna.at(i);
        }
    }
    // Each gene end moves by the net length change before it.
    QVector<int> positions;
    QVector<int> netChange;
    positions.reserve(shifts.size());
    netChange.reserve(shifts.size());
    int total = 0;
    for (const auto &shift : std::as_const(shifts)) {
        total += shift.second;
        positions << shift.first;
        netChange << total;
    }
    auto moved = [&](int position) {
        const auto it = std::lower_bound(positions.cbegin(), positions.cend(), position + 1);
        const int before = int(it - positions.cbegin());
        return position + (before > 0 ? netChange.at(before - 1) : 0);
    };
    std::sort(genes.begin(), genes.end(), [](const Gene &x, const Gene &y) { return x.from < y.from; });
    const int newLength = mutated.size();
    for (Gene gene : std::as_const(genes)) {
        gene.from = qBound(1, moved(gene.from), newLength);
        gene.to = qBound(1, moved(gene.to), newLength);
        if (gene.to - gene.from >= 30)
            copy.m_genes << gene;
    }
    copy.m_sequence = mutated;
    return copy;
}

SyntheticGenome SyntheticGenome::sharingStretches(int count, int length, double substitutionRate, quint32 seed,
                                                  const QString &name) const
{
    const int size = m_sequence.size();
    SyntheticGenome other = random(size, m_genes.size(), seed, name);
    if (length <= 0 || length >= size)
        return other;
    QRandomGenerator random(seed + 1);
    const quint32 substitution = quint32(substitutionRate * 4294967295.0);
    for (int n = 0; n < count; ++n) {
        const int from = int(random.bounded(size - length));
        const int to = int(random.bounded(size - length));
        for (int i = 0; i < length; ++i) {
            char letter = m_sequence.at(from + i);
            if (random.generate() < substitution) {
                char changed = Bases[random.bounded(4)];
                while (changed == letter)
                    changed = Bases[random.bounded(4)];
                letter = changed;
            }
            other.m_sequence[to + i] = letter;
        }
    }
    return other;
}

bool SyntheticGenome::writeGenbank(const QString &path, QString *errorText) const
{
    const int length = m_sequence.size();
    QByteArray text;
    text.reserve(length + length / 3 + m_genes.size() * 900);
    const QByteArray accession = QString("SYN%1").arg(qHash(m_name) % 100000, 6, 10, QChar('0')).toLatin1();
    text += "LOCUS       " + accession + "            " + QByteArray::number(length)
            + " bp    DNA     circular BCT 01-JAN-2026\n";
    text += "DEFINITION  " + m_name.toLatin1() + ", complete genome.\n";
    text += "ACCESSION   " + accession + "\nVERSION     " + accession + ".1\nKEYWORDS    .\n";
    text += "SOURCE      Synthetic bacterium\n  ORGANISM  Synthetic bacterium\n"
            "            Bacteria; Synthetic.\n";
    text += "FEATURES             Location/Qualifiers\n";
    text += "     source          1.." + QByteArray::number(length) + "\n";
    text += "                     /organism=\"Synthetic bacterium\"\n"
            "                     /mol_type=\"genomic DNA\"\n"
            "                     /db_xref=\"taxon:32630\"\n";
    QRandomGenerator random(qHash(m_name));
    for (const Gene &gene : m_genes) {
        const QByteArray range = QByteArray::number(gene.from) + ".." + QByteArray::number(gene.to);
        const QByteArray location = gene.reverse ? "complement(" + range + ")" : range;
        const QByteArray tag = gene.locusTag.toLatin1();
        text += "     gene            " + location + "\n";
        text += "                     /locus_tag=\"" + tag + "\"\n";
        text += "     CDS             " + location + "\n";
        text += "                     /locus_tag=\"" + tag + "\"\n";
        text += "                     /codon_start=1\n                     /transl_table=11\n";
        appendWrapped(text, "/product=\"", gene.product.toLatin1() + "\"");
        text += "                     /protein_id=\"" + tag + ".1\"\n";
        QByteArray protein(qMax(1, (gene.to - gene.from + 1) / 3 - 1), 'M');
        for (int i = 1; i < protein.size(); ++i)
            protein[i] = AminoAcids[random.bounded(20)];
        appendWrapped(text, "/translation=\"", protein + "\"");
    }
    text += "ORIGIN      \n";
    for (int i = 0; i < length; i += 60) {
        text += QByteArray::number(i + 1).rightJustified(9, ' ');
        for (int j = i; j < qMin(i + 60, length); j += 10) {
            text += ' ';
            text += QByteArray::fromRawData(m_sequence.constData() + j, qMin(10, length - j));
        }
        text += '\n';
    }
    text += "//\n";
    return writeAll(path, text, errorText);
}

bool SyntheticGenome::writeFasta(const QString &path, QString *errorText) const
{
    QByteArray text;
    text.reserve(m_sequence.size() + m_sequence.size() / 60 + 200);
    text += '>' + m_name.toLatin1() + '\n';
    for (int i = 0; i < m_sequence.size(); i += 60)
        text += m_sequence.mid(i, 60) + '\n';
    return writeAll(path, text, errorText);
}
