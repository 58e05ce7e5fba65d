#ifndef GC_COGHOMOLOGIES_H
#define GC_COGHOMOLOGIES_H

#include "gc_interval.h"
#include "gc_itemtypes.h"
#include "gc_positionindex.h"

#include <QColor>
#include <QGraphicsItem>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

class GC_CogMatching;
class GC_Genome;

// The bar under a genome (its parent) on which its COG hits are drawn, each
// a box in the colour of its COG category. It lies at x 0 within the genome,
// so genome x is also bar x. It owns the hit records; keys run 0, 1, 2, ...
// in order of addition, and where hits overlap the later one owns the
// positions, for hovering as for painting.
class GC_CogHomologies : public QGraphicsItem
{
public:
    GC_CogHomologies();
    ~GC_CogHomologies() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return ITEMTYPE_COGHOMOLOGIES; }

    GC_Genome *parentGenome() const;
    double height() const { return m_height; }
    // At least 5 pixels; repaints only when the height changes.
    void setHeight(double h);
    // COG super-categories 1 to 4; other numbers are ignored (false).
    void setSuperCategoryVisible(int n, bool visible);
    bool isSuperCategoryVisible(int n) const;
    void updateVisibility();

    const QMap<int, GC_CogMatching *> &matchings() const { return m_matchings; }
    const GC_PositionIndex &positionMap() const { return m_positionMap; }
    void clearMatchings();

    // A hit found by a search, all its values known. Start and end may come
    // in either order. False when it cannot be placed (no genome, or
    // positions beyond any genome).
    bool addCogMatching(int start, int end, int idCogProtein, const QString &cogCode,
                        const QString &groupCode, int classId, double evalue, float bitscore);
    // A stored hit: COG, category and super-category are looked up in the
    // COG collection. Refused (false) when its span is at least six times
    // its protein's length in amino acids, which includes a protein the
    // collection lacks.
    bool addCogMatching(int start, int end, int idCogProtein, double evalue, float bitscore);

    // The hit under a scene x: its ends, or (0, 0); its HTML, or "".
    // Hidden super-categories still answer.
    GC_Interval matchingAt(double sceneX) const;
    QString matchingToolTip(double sceneX) const;

    // Public forwarder: the genome announces its geometry changes for us.
    void prepareGeometryChange() { QGraphicsItem::prepareGeometryChange(); }

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
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    GC_CogMatching *matchingAtScene(double sceneX) const;
    bool insertMatching(GC_CogMatching *matching);

    double m_height = 0.0;
    bool m_superCategoryVisible[4] = {true, true, true, true};
    QMap<int, GC_CogMatching *> m_matchings;
    GC_PositionIndex m_positionMap;
};

#endif
