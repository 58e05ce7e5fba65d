#ifndef GC_GENBANKPARSER_H
#define GC_GENBANKPARSER_H

#include <QMap>
#include <QString>

// Reads one Genbank record in one pass into a header map (DEFINITION,
// ACCESSION, VERSION, GI, ORGANISM, LINEAGE, TAXID, LOCUS, SEQUENCE) and a
// feature map from the range text of every stretch of the CDS, tRNA, rRNA
// and mRNA features ("190..255") to its qualifiers ("complement", "product",
// "locus_tag", "note", "function", "protein_id", "db_xref", "translation",
// "metadata").
class GC_GenbankParser
{
public:
    GC_GenbankParser() = default;

    void setFileName(const QString &path) { fileName = path; }

    // Fills the maps. False when the file cannot be opened (maps untouched),
    // or when it is not a whole Genbank record: no ORIGIN section, no record
    // end "//", or no sequence letters (maps hold what was read).
    bool parse();

    QString lastErrorText() const { return m_lastErrorText; }

    QMap<QString, QString> header;
    QMap<QString, QMap<QString, QString>> features;
    QString fileName;

private:
    enum State { HeaderState, FeatureState, SequenceState };

    void readHeaderLine(const QString &line, QString &currentKey);
    void finishFeature(const QString &kind, const QString &location, const QString &qualifiers);
    void finishSource(const QString &qualifiers);
    void finishStretches(QString location, const QString &qualifiers);

    QString m_lastErrorText;
};

#endif
