#ifndef GC_COGHOMOLOGIES_H
#define GC_COGHOMOLOGIES_H

#include "gc_homologybar.h"
#include "gc_interval.h"
#include "gc_itemtypes.h"

#include <QColor>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

class GC_CogMatching;
class GC_Genome;

// The bar under a genome (its parent) on which its COG hits are drawn, each
// a box in the colour of its COG category. It owns the hit records; keys run
// 0, 1, 2, ... in order of addition, and where hits overlap the later one
// owns the positions, for hovering as for painting.
class GC_CogHomologies : public GC_HomologyBar
{
public:
    GC_CogHomologies();
    ~GC_CogHomologies() override;

    int type() const override { return ITEMTYPE_COGHOMOLOGIES; }

    // COG super-categories 1 to 4; other numbers are ignored (false).
    void setSuperCategoryVisible(int n, bool visible);
    bool isSuperCategoryVisible(int n) const;

    const QMap<int, GC_CogMatching *> &matchings() const { return m_matchings; }
    void clearMatchings() override;

    // A hit found by a search, all its values known. Start and end may come
    // in either order. False when it cannot be placed (no genome, or
    // positions beyond any genome).
    bool addCogMatching(int start, int end, int idCogProtein, const QString &cogCode,
                        const QString &groupCode, int classId, double evalue, double bitscore);
    // A stored hit: COG, category and super-category are looked up in the
    // COG collection. Refused (false) when its span is at least six times
    // its protein's length in amino acids, which includes a protein the
    // collection lacks.
    bool addCogMatching(int start, int end, int idCogProtein, double evalue, double bitscore);

    // The hit under a scene x: its ends, or (0, 0); its HTML, or "".
    // Hidden super-categories still answer.
    GC_Interval matchingAt(double sceneX) const;
    QString matchingToolTip(double sceneX) const;

    // The COG reference collection ("cog_proteins").
    static bool openDatabase();
    static QSqlDatabase database();

    // The process-wide COG category colours.
    static QMap<QString, QColor> &cogGroupColors();
    static void loadGroupColors();
    static void saveColorSettings();
    // A code the map lacks is added with, and answers, an invalid colour.
    QColor groupColor(const QString &code) const;
    // Changes the colour for every bar; this one repaints now.
    void setGroupColor(const QString &code, const QColor &color);

protected:
    bool familyShown(const GC_GenomeScene &scene, const GC_Genome &genome) const override;
    void paintHits(QPainter *painter, const GC_Genome &genome, int low, int high) override;

private:
    GC_CogMatching *matchingAtScene(double sceneX) const;
    bool insertMatching(GC_CogMatching *matching);

    bool m_superCategoryVisible[4] = {true, true, true, true};
    QMap<int, GC_CogMatching *> m_matchings;
};

#endif
