#ifndef GC_RFAMHOMOLOGIES_H
#define GC_RFAMHOMOLOGIES_H

#include "gc_homologybar.h"
#include "gc_interval.h"
#include "gc_itemtypes.h"

#include <QColor>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

class GC_Genome;
class GC_RfamMatching;

// The bar under a genome (its parent) on which its RFAM hits are drawn, each
// a box in its family's colour. It owns the hit records (keys 0, 1, 2, ...
// in order of addition) and counts the hits of each family. A short hit answers the
// hover over a zone of at least 200 positions (100 for a stored hit) centred
// on it, so that it can be pointed at; where zones overlap the later hit
// answers, and it is also drawn over the earlier one.
// Family colours and hidden families are shared by every RFAM bar and last
// for the run only.
class GC_RfamHomologies : public GC_HomologyBar
{
public:
    GC_RfamHomologies();
    ~GC_RfamHomologies() override;

    int type() const override { return ITEMTYPE_RFAMHOMOLOGIES; }

    bool horizontalBorders() const { return m_horizontalBorders; }
    void setHorizontalBorders(bool on);

    const QMap<int, GC_RfamMatching *> &matchings() const { return m_matchings; }
    // Family code -> number of this bar's hits of it, in code order.
    const QMap<QString, int> &codeCounts() const { return m_codeCounts; }
    void clearMatchings() override;

    // A hit found by a search. Start and end may come in either order.
    // False when it cannot be placed (no genome, or positions beyond any
    // genome).
    bool addRfamMatching(int start, int end, int rfamSeqId, const QString &rfamCode,
                         double evalue, double bitscore);
    // A stored hit; its family is looked up in the RFAM collection. Refused
    // (false, "Error querying RFAM db") when the collection lacks the sequence.
    bool addRfamMatching(int start, int end, int rfamSeqId, double evalue, double bitscore);

    // The hit under a scene x: its ends, or (0, 0); its HTML, or "".
    // Hidden families still answer.
    GC_Interval matchingAt(double sceneX) const;
    QString getToolTip(double sceneX) const;

    // The RFAM reference collection ("rfam_seqs").
    static bool openDatabase();
    static QSqlDatabase database();

    // Family colours (black until set) and hidden families; neither repaints.
    static QColor getColor(const QString &code);
    static void setCodeColor(const QString &code, const QColor &color);
    static bool isCodeHidden(const QString &code);
    static void setCodeVisible(const QString &code, bool visible);

    // The family's name, or "Error" when the collection has no such family.
    static QString getRfamName(const QString &code);
    // The family's code, name and description (when it has one) as an HTML
    // table, or an error paragraph.
    static QString getRfamInfoHtml(const QString &code);

protected:
    bool familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const override;
    void paintHits(QPainter *painter, const GC_Genome &genome, int low, int high) override;
    bool drawsBorders() const override;

private:
    bool insertMatching(GC_RfamMatching *matching, int minimumZone);
    GC_RfamMatching *matchingAtScene(double sceneX) const;

    bool m_horizontalBorders = true;
    QMap<int, GC_RfamMatching *> m_matchings;
    QMap<QString, int> m_codeCounts;
};

#endif
