#ifndef GC_COMPARISONREADER_H
#define GC_COMPARISONREADER_H

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

class GC_Genome;
class GC_GenomeScene;
class QSqlQuery;

// Reads comparison databases (genomes, segments, matchings) into the
// scene's lists: targets of matchings go to the top row, queries to the low
// row, each genome with a gene per segment, and a matching per matchings
// row. Genomes are told apart by name across all databases of one call.
// A genome that is the target of one comparison and the query of another
// (or both in a self comparison) gets one genome item in each row, each
// with its own genes, so nothing is listed or saved twice.
//
// The database does not know which pairs were compared; a caller that does
// gives them, so that a pair BLAST found nothing for still shows its genomes.
class GC_ComparisonReader
{
public:
    typedef QPair<int, int> IdPair;
    typedef QPair<QString, QString> NamePair;

    explicit GC_ComparisonReader(GC_GenomeScene *scene);

    // The pairs compared in the one database load() is given, each (target
    // id, query id) in the order they were compared. Every pair's target is
    // placed in the top row and its query in the low row, in pair order,
    // whether BLAST matched them or not: as the matchings, stored in pair
    // order, place the genomes of the pairs they join.
    void setComparedPairs(const QList<IdPair> &pairs) { m_pairs = pairs; }
    // After load(): the compared pairs that no matchings row joins, each
    // (target name, query name), in pair order.
    QList<NamePair> pairsWithoutMatchings() const { return m_pairsWithoutMatchings; }

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
    // For a reading of the table that failed or stopped short: in use,
    // unreadable here, or damaged.
    bool unread(const QString &path, const QString &table, const QSqlQuery &query);
    bool refused(const QString &path, const QString &text);
    GC_Genome *placed(GenomeData &data, bool top);
    void placeComparedPairs(const QHash<int, QString> &nameById, const QSet<IdPair> &matched);

    GC_GenomeScene *m_scene;
    // By genome name, over every database of the call.
    QHash<QString, GenomeData> m_genomes;
    bool m_failed = false;
    QList<IdPair> m_pairs;
    QList<NamePair> m_pairsWithoutMatchings;
};

#endif
