#ifndef GC_GENE_H
#define GC_GENE_H

#include "gc_interval.h"
#include "gc_intervalhandles.h"
#include "gc_itemtypes.h"
#include "gc_sequencearrowitem.h"

#include <QString>

class GC_Genome;
class GC_GeneControlPoint;
class GC_Style;
class QSqlQuery;

// One gene drawn as a small arrow inside its genome (its parent item). Its
// extent is computed from its nucleotide interval through the genome's
// mapping, so it follows every zoom, range and orientation change.
class GC_Gene : public GC_SequenceArrowItem
{
public:
    GC_Gene();
    explicit GC_Gene(const GC_Gene &other);
    ~GC_Gene() override;

    int type() const override { return ITEMTYPE_GENE; }

    bool isReverse() const override { return orientation == -1; }
    qreal getArrowStartX() const override;
    qreal getArrowEndX() const override;

    int getId() const { return id; }
    QString getName() const { return name; }
    QString getNote() const { return note; }
    QString getLocusTag() const { return locusTag; }
    QString getMetadata() const { return metadata; }
    GC_Interval getCoords() const { return coords; }
    int getOrientation() const { return orientation; }
    bool getShowText() const { return showText; }
    GC_Genome *getGenome() const;

    void setId(int value) { id = value; }
    void setNote(const QString &text) { note = text; }
    void setLocusTag(const QString &text) { locusTag = text; }
    void setMetadata(const QString &text) { metadata = text; }
    void setShowText(bool value) { showText = value; }
    void setName(const QString &text);
    void setCoords(const GC_Interval &range);
    void setOrientation(int value);
    // From and to in feature order: to < from means the reverse strand.
    void setFromTo(int from, int to);
    void invertOrientation();
    void applyStyle(const GC_Style &style, bool force);

    void updateGeometry();
    void updateVisibility();
    void updateControlPointsVisibility();
    bool overlaps(const GC_Gene *other) const;

    GC_GeneControlPoint *getStartHandle() const;
    GC_GeneControlPoint *getEndHandle() const;
    void placeControlPoints();
    double boundControlPointX(GC_GeneControlPoint *handle, double x) const;
    void controlPointMoved(GC_GeneControlPoint *handle);

    static QString sqlCreateTable();
    static QString sqlSelect();
    static QString sqlInsert();
    // Prepares the insert only when the query holds another statement, so
    // consecutive genes share one prepared statement. False on failure.
    bool saveItem(QSqlQuery &query) const;
    void loadItem(const QSqlQuery &query);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    int id = -1;
    GC_Interval coords = GC_Interval(1, 1);
    int orientation = 1;
    bool showText = true;
    QString name;
    QString note;
    QString locusTag;
    QString metadata;
    GC_IntervalHandles handles;
};

#endif
