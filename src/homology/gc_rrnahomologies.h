#ifndef GC_RRNAHOMOLOGIES_H
#define GC_RRNAHOMOLOGIES_H

#include "gc_homologybar.h"
#include "gc_interval.h"
#include "gc_itemtypes.h"

#include <QMap>
#include <QSqlDatabase>
#include <QString>

class GC_Genome;
class GC_rRNAMatching;

// The bar under a genome (its parent) on which its ribosomal RNA hits are
// drawn, all as black boxes. It owns the hit records (keys 0, 1, 2, ... in
// order of addition). A short hit answers the hover over a zone of at least 200
// positions (100 for a stored hit) centred on it; where zones overlap the
// later hit answers.
class GC_rRNAHomologies : public GC_HomologyBar
{
public:
    GC_rRNAHomologies();
    ~GC_rRNAHomologies() override;

    int type() const override { return ITEMTYPE_RRNAHOMOLOGIES; }

    bool horizontalBorders() const { return m_horizontalBorders; }
    void setHorizontalBorders(bool on);

    const QMap<int, GC_rRNAMatching *> &matchings() const { return m_matchings; }
    void clearMatchings() override;

    // A hit found by a search. Start and end may come in either order.
    // False when it cannot be placed (no genome, or positions beyond any
    // genome).
    bool addrRNAMatching(int start, int end, int rrnaSeqId, int groupId, double evalue,
                         double bitscore);
    // A stored hit; its group and name are looked up in the rRNA collection.
    // Refused (false, "Error querying RRNA db") when the collection lacks the
    // sequence.
    bool addrRNAMatching(int start, int end, int rrnaSeqId, double evalue, double bitscore);

    // The hit under a scene x: its ends, or (0, 0); its HTML, or "".
    GC_Interval matchingAt(double sceneX) const;
    QString legendHtmlAt(double sceneX) const;

    // The rRNA reference collection ("rrna_seqs").
    static bool openDatabase();
    static QSqlDatabase database();

protected:
    bool familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const override;
    void paintHits(QPainter *painter, const GC_Genome &genome, int low, int high) override;
    bool drawsBorders() const override;

private:
    bool insertMatching(GC_rRNAMatching *matching, int minimumZone);
    GC_rRNAMatching *matchingAtScene(double sceneX) const;

    bool m_horizontalBorders = true;
    QMap<int, GC_rRNAMatching *> m_matchings;
};

#endif
