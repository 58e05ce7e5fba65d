#ifndef GC_COMPARISONREADER_H
#define GC_COMPARISONREADER_H

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class GC_Genome;
class GC_GenomeScene;

// Reads comparison databases (genomes, segments, matchings) into the
// scene's lists: targets of matchings go to the top row, queries to the low
// row, each genome with a gene per segment, and a matching per matchings
// row. Genomes are told apart by name across all databases of one call.
// A genome that is the target of one comparison and the query of another
// (or both in a self comparison) gets one genome item in each row, each
// with its own genes, so nothing is listed or saved twice.
class GC_ComparisonReader
{
public:
    explicit GC_ComparisonReader(GC_GenomeScene *scene);

    // False when a database is damaged or in use (checked before it is
    // read), or when one could not be read and nothing else was placed;
    // the last failure is left in the scene's lastErrorText.
    bool load(const QStringList &paths);

private:
    struct Segment
    {
        int id;
        QString name;
        int from;
        int to;
        QString note;
        QString locusTag;
    };
    // What one genome row gave, shared by the items made from it.
    struct GenomeData
    {
        QString path;
        int key = -1;
        QString name;
        int length = 0;
        QString sequence;
        QList<Segment> segments;
        GC_Genome *top = nullptr;
        GC_Genome *low = nullptr;
    };

    // False, with the reason in the scene's lastErrorText, when the
    // database is damaged or in use by another program.
    bool readDatabase(const QString &path);
    // Each false, with the text in the scene's lastErrorText.
    bool damaged(const QString &path, const QString &problem);
    bool refused(const QString &path, const QString &text);
    GC_Genome *placed(GenomeData &data, bool top);

    GC_GenomeScene *m_scene;
    // By genome name, over every database of the call.
    QHash<QString, GenomeData> m_genomes;
    bool m_failed = false;
};

#endif
