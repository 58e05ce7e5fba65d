#include "test_data.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace TestData {

QByteArray randomDna(int length, quint32 seed)
{
    static const char letters[] = "acgt";
    QRandomGenerator random(seed);
    QByteArray dna(length, 'a');
    for (int i = 0; i < length; ++i)
        dna[i] = letters[random.bounded(4)];
    return dna;
}

QByteArray reverseComplement(const QByteArray &dna)
{
    QByteArray result(dna.size(), 'n');
    for (int i = 0; i < dna.size(); ++i) {
        char c = dna.at(dna.size() - 1 - i);
        switch (c) {
        case 'a': c = 't'; break;
        case 'c': c = 'g'; break;
        case 'g': c = 'c'; break;
        case 't': c = 'a'; break;
        default: c = 'n'; break;
        }
        result[i] = c;
    }
    return result;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size()
           && file.flush();
}

QByteArray genbankRecord(const QString &definition, const QByteArray &featureLines,
                         const QByteArray &sequence)
{
    QByteArray text;
    text += QString("LOCUS       TEST%1 %2 bp    DNA     linear   SYN 01-JAN-2026\n")
                .arg(qHash(definition) % 10000)
                .arg(sequence.size())
                .toLatin1();
    text += "DEFINITION  " + definition.toLatin1() + "\n";
    text += "ACCESSION   TEST\nVERSION     TEST.1\n";
    text += "FEATURES             Location/Qualifiers\n";
    text += featureLines;
    text += "ORIGIN      \n";
    for (int i = 0; i < sequence.size(); i += 60) {
        text += QByteArray::number(i + 1).rightJustified(9, ' ');
        for (int j = i; j < qMin(i + 60, int(sequence.size())); j += 10)
            text += ' ' + sequence.mid(j, 10);
        text += '\n';
    }
    text += "//\n";
    return text;
}

} // namespace TestData
