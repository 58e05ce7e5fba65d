#include "test_data.h"

#include "kestal_test.h"

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
    // Records of different definitions have different accessions.
    const QByteArray accession = "TEST" + QByteArray::number(qHash(definition) % 10000);
    text += QString("LOCUS       %1 %2 bp    DNA     linear   SYN 01-JAN-2026\n")
                .arg(QString::fromLatin1(accession))
                .arg(sequence.size())
                .toLatin1();
    text += "DEFINITION  " + definition.toLatin1() + "\n";
    text += "ACCESSION   " + accession + "\nVERSION     " + accession + ".1\n";
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

QByteArray fileForm(const QByteArray &text, const QString &form)
{
    QByteArray result = text;
    if (form == "crlf") {
        result.replace("\n", "\r\n");
    } else if (form == "cr") {
        result.replace('\n', '\r');
    } else if (form == "utf16le" || form == "utf16be") {
        const QString decoded = QString::fromLatin1(text);
        const bool little = form == "utf16le";
        result = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (const QChar c : decoded) {
            const char low = char(c.unicode() & 0xFF);
            const char high = char(c.unicode() >> 8);
            result.append(little ? low : high);
            result.append(little ? high : low);
        }
    } else if (form == "nul") {
        result.insert(result.size() / 2, QByteArray(4, '\0'));
    } else if (form == "junk") {
        QRandomGenerator random(15);
        result = QByteArray(4096, '\0');
        for (char &c : result)
            c = char(random.bounded(256));
    }
    return result;
}

QByteArray corpusFile(const QString &name, const QString &form)
{
    QFile file(kestalTestDataPath("corpus/" + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no corpus file %s", qPrintable(name));
    return fileForm(file.readAll(), form);
}

bool processRunning(qint64 pid)
{
    QFile file(QString("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stat = file.readAll();
    const int end = stat.lastIndexOf(')');
    if (!stat.startsWith(QByteArray::number(pid) + " (") || end < 0 || end + 2 >= stat.size())
        return false;
    const char state = stat.at(end + 2);
    return state != 'Z' && state != 'X';
}

} // namespace TestData
