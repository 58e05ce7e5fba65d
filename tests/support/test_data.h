#ifndef TEST_DATA_H
#define TEST_DATA_H

#include <QByteArray>
#include <QString>

// Small data builders shared by the tests.
namespace TestData {

// A reproducible random DNA string (lower case acgt) for a seed.
QByteArray randomDna(int length, quint32 seed);

// The reverse complement of a lower-case DNA string.
QByteArray reverseComplement(const QByteArray &dna);

// Writes text to path (creating folders); false on any failure.
bool writeFile(const QString &path, const QByteArray &content);

// A Genbank record with the given definition, features block (the lines
// after "FEATURES", already indented) and sequence, formatted as Genbank
// writes it (60 letters per ORIGIN line).
QByteArray genbankRecord(const QString &definition, const QByteArray &featureLines,
                         const QByteArray &sequence);

// The text of a file as another system or program may write it: "lf" (as
// is), "crlf", "cr" (old Mac line ends), "utf16le"/"utf16be" (with the
// byte-order mark), "nul" (NUL bytes inside), "junk" (random bytes).
QByteArray fileForm(const QByteArray &text, const QString &form);

// Whether the process pid runs (not one ended and waiting to be reaped).
bool processRunning(qint64 pid);

// A file of the checked-in reader corpus (tests/data/corpus) in that form.
QByteArray corpusFile(const QString &name, const QString &form = QStringLiteral("lf"));

} // namespace TestData

#endif
