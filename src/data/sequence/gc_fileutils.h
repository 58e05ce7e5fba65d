#ifndef GC_FILEUTILS_H
#define GC_FILEUTILS_H

#include <QList>
#include <QPair>
#include <QString>

// File-type codes passed along every opening road.
const int FILETYPE_NONE = 0;
const int FILETYPE_COMPARISON = 3;
const int FILETYPE_CANVAS = 4;
const int FILETYPE_GENOME = 5;
const int FILETYPE_GENBANK_FASTA = 6;

// Stateless helpers that tell what a file is before it is read. Every
// failure ends in the neutral answer ("", FILETYPE_NONE) or a refusal in words.
namespace GC_FileUtils {


// The DEFINITION field with its continuation lines, simplified; "" when the
// file has none or no ACCESSION line follows it.
QString genbankDefinition(const QString &path);

// What a text file holds, decided once for every reader: FASTA when its
// first line that is not blank begins with '>'; Genbank when that line is a
// LOCUS or DEFINITION line, or a later line holds "DEFINITION"; FASTA when a
// later line begins with '>'.
enum SequenceFileKind { NoSequenceFile, GenbankFile, FastaFile };
SequenceFileKind sequenceFileKind(const QString &path, QString *problem = nullptr);

// Every record of a FASTA file in file order, (simplified name, sequence
// without white space). False, with a message naming the file and the
// record, when the file holds no record, text before its first header, a
// record without a name or without sequence letters, a character that is
// not a nucleotide letter, or a name used twice.
bool readFastaFile(const QString &path, QList<QPair<QString, QString>> *records, QString *errorText);

// A character as a message shows it: itself in quotes where it prints,
// otherwise its code ("the character U+0000").
QString describeCharacter(QChar c);

// Empty when every character of the sequence is a nucleotide letter (the
// IUPAC codes ACGTU RYSWKM BDHV N, either case); otherwise what is wrong.
// Gaps are not letters: a genome has none.
QString sequenceProblem(const QString &sequence);

// True for the nucleotide letters sequenceProblem() accepts.
bool isNucleotideLetter(char16_t c);

// How a sequence file's reader names a character that no genome holds,
// given as GC_TextLineReader::describeCharacterAt() names it: holds "-" on
// line 12, which is not a nucleotide letter.
QString notNucleotideOnLine(const QString &character, qint64 lineNumber);

// The text with every blank and line break taken out (sequence and
// translation lines are wrapped in the files).
QString withoutWhiteSpace(const QString &text);

// FILETYPE_COMPARISON, FILETYPE_CANVAS or FILETYPE_NONE, from the 'type' row
// of the database's file_properties table. Opens read-only: probing never
// creates a file, and changes one only where SQLite undoes a change that a
// stopped program left unfinished. unreadable, when given, says in words
// why a file's kind could not be read when that is no fault of the file
// (another program holds it locked, it was left mid-write, or its
// write-ahead log cannot be read here), and names the temporary file of a
// save that stopped half-way, which is no canvas, and says a file whose
// rows that tell its kind fail partway as damaged; it stays empty for a
// file that is no database, and for one that fails before its first row
// (the check that follows the probe says what is wrong with it).
int filetype(const QString &path, QString *unreadable = nullptr);

// What the user reads of the file a save left when it stopped half-way.
QString unfinishedSaveText(const QString &path);

} // namespace GC_FileUtils

#endif
