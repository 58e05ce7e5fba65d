#ifndef GC_GENBANKPARSER_H
#define GC_GENBANKPARSER_H

#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class GC_TextLineReader;

// Reads one Genbank record in one pass into a header map (DEFINITION,
// ACCESSION, VERSION, GI, ORGANISM, LINEAGE, TAXID, LOCUS, SEQUENCE) and a
// feature map from the range text of every stretch of the CDS, tRNA, rRNA
// and mRNA features ("190..255") to its qualifiers ("complement", "product",
// "locus_tag", "note", "function", "protein_id", "db_xref", "translation",
// "metadata").
class GC_GenbankParser
{
public:
    // One stretch of the feature map that lies on this record's sequence.
    struct Stretch
    {
        int position = 0;  // place of its entry in the feature map
        int from = 0;      // 1-based ends; from > to on the reverse strand
        int to = 0;
        QString range;
        const QMap<QString, QString> *values = nullptr;
    };

    GC_GenbankParser() = default;

    void setFileName(const QString &path) { fileName = path; }

    // Fills the maps. False, with lastErrorText(), when the file cannot be
    // opened (maps untouched) or is not a whole nucleotide Genbank record: no
    // LOCUS line, a protein record, no ORIGIN section, no record end "//",
    // an ORIGIN line holding anything but letters, digits and blanks (a gap
    // "-", "." or "*" would shift every later position), no sequence letters
    // or letters that are not nucleotides, binary data.
    bool parse();

    // The same checks as parse(), without reading the features: cheap
    // enough to run when a file is chosen.
    bool check();

    QString lastErrorText() const { return m_lastErrorText; }

    // What a read file holds that the maps leave out, one sentence per kind,
    // each naming the file: the records after the first ("holds 6 records;
    // only the first, "...", is read") and, after parse(), the stretches
    // that stretches() skips, counted and named by their locations ("2
    // features skipped: they run across the origin (242..45,
    // complement(238..50))").
    QStringList warnings() const;

    // The stretches of the feature map that are usable as genes, in map
    // order. Stretches with a single position or a site between two bases
    // ("600^601") give none; those that are not plain numbers, lie outside
    // 1..sequence length, or run across the origin of a circular genome
    // ("6801..100") are skipped with a warning line in warnings.
    QList<Stretch> stretches(QStringList *warnings = nullptr) const;

    // Cuts a header line into its keyword ("" for a continuation line) and
    // the trimmed text after it.
    static void splitHeaderLine(const QString &line, QString &key, QString &value);

    QMap<QString, QString> header;
    QMap<QString, QMap<QString, QString>> features;
    QString fileName;

private:
    enum State { HeaderState, FeatureState, SequenceState };
    enum FeatureKind { OtherFeature, SourceFeature, StretchFeature };
    // Why a range text gives no gene; NoStretch ones are not reported.
    enum StretchFault { UsableStretch, NoStretch, NotPositions, OnOtherRecord, OutsideSequence, AcrossOrigin };

    // The 1-based ends of a range text on a sequence of that length.
    static StretchFault stretchFault(const QString &range, int length, int *from, int *to);

    bool read(bool withFeatures);
    bool fail(const QString &reason);
    void readHeaderLine(const QString &line, QString &currentKey);
    static FeatureKind featureKind(QByteArrayView key);
    void finishFeature(FeatureKind kind, QByteArrayView location, QByteArrayView qualifiers,
                       const GC_TextLineReader &reader);
    void finishSource(const QString &qualifiers);
    void finishStretches(const QString &location, QByteArrayView qualifiers, const GC_TextLineReader &reader);
    bool isProteinRecord() const;

    QString m_lastErrorText;
    // Records in the file, counted when the first one has its end.
    int m_recordCount = 0;
    // The feature map's keys in the order the file gives them.
    QStringList m_rangeOrder;
};

#endif
