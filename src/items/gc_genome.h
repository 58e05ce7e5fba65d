#ifndef GC_GENOME_H
#define GC_GENOME_H

#include "gc_interval.h"
#include "gc_itemtypes.h"
#include "gc_sequencearrowitem.h"
#include "gc_storedhitshares.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QString>

class GC_Anotation;
class GC_CogHomologies;
class GC_GCcontentBar;
class GC_Gene;
class GC_GenomeLengthControlPoint;
class GC_GenomeMatching;
class GC_GenomeScene;
class GC_GenomeText;
class GC_RfamHomologies;
class GC_Ruler;
class GC_Style;
class GC_rRNAHomologies;
class QSqlDatabase;
class QSqlQuery;
class QSqlRecord;

// Gene coverage.
#include "gc_intervalmap.h"
#include <QSet>
class GC_CoverageWidgetListItem;
class QListWidgetItem;

// One genome, or the shown stretch of it, drawn as a horizontal arrow. It owns
// its ruler, GC-content bar, homology bars, name label, genes, annotations
// and (while selected) its two length handles, and keeps the matchings that
// join it to other genomes. Every item drawn against a genome maps
// nucleotides to x through nucToX / xToNuc, all O(1).
class GC_Genome : public GC_SequenceArrowItem
{
public:
    GC_Genome();
    ~GC_Genome() override;

    // Styling, copying and duplication.
    // A copy has the other's settings, sequence (read into memory when it was
    // kept in the source file), genes and annotations, and the same id until
    // duplicate() gives it its own; no matchings and empty homology bars.
    explicit GC_Genome(const GC_Genome &other);
    void setStyle(const GC_Style &style, bool force, bool children);
    // Adds a copy 20 units right and down, in the same row, with copies of
    // the matchings joined to it; its id is new to the scene and the process.
    // Returns the copy (null outside a scene).
    GC_Genome *duplicate();

    int type() const override { return ITEMTYPE_GENOME; }

    void setHeightBig(qreal h) override;
    void setHeightSmall(qreal h) override;
    bool isReverse() const override { return orientation == -1; }
    qreal getArrowStartX() const override { return 0.0; }
    qreal getArrowEndX() const override { return pixPerNuc * coords.length(); }

    // Identity, source and name.
    int getId() const { return id; }
    int getDatabaseId() const { return stored.key(); }
    void setDatabaseId(int value) { stored.setKey(value); }
    QString getDatabase() const { return stored.path(); }
    void setDatabase(const QString &path) { stored.setPath(path); }
    QString getName() const;
    void setName(const QString &name);

    // The process-wide counter new genomes take their id from.
    static int genomeIdCounter;

    // Range, orientation and scale.
    GC_Interval getCoords() const { return coords; }
    void setCoords(const GC_Interval &range);
    void setNucFrom(int n);
    void setNucTo(int n);
    int getOrientation() const { return orientation; }
    void setOrientation(int value);
    void reverse();
    double getPixPerNuc() const { return pixPerNuc; }
    // Refuses a scale that is zero, negative or not finite (returns false);
    // holds any other within GC_UserReach's range.
    bool setPixPerNuc(double value);
    void zoomIn(const QPointF &scenePoint);
    void zoomOut(const QPointF &scenePoint);

    // Nucleotide <-> x in item coordinates.
    double xToNuc(double x) const;
    double nucToX(int n) const;
    double nucStartX(int n) const;
    double nucEndX(int n) const;
    QPointF getNucStartScenePoint(int n, bool lower) const;
    QPointF getNucEndScenePoint(int n, bool lower) const;
    double getSceneRightX() const;
    void moveRangeTo(double x, int from, int to);
    double getVisibleLeftX() const;
    double getVisibleRightX() const;
    int getVisibleLeftNuc() const;
    int getVisibleRightNuc() const;

    // Children and counts.
    GC_Ruler *getRuler() const { return ruler; }
    GC_GenomeText *getNameLabel() const { return nameLabel; }
    GC_GCcontentBar *getGCcontentBar() const { return gcContentBar; }
    GC_CogHomologies *getCogHomologies() const { return cogHomologies; }
    GC_RfamHomologies *getRfamHomologies() const { return rfamHomologies; }
    GC_rRNAHomologies *getrRNAHomologies() const { return rRNAHomologies; }
    int countGenes() const { return int(genes.size()); }
    int countCogMatchings() const;
    int countRfamMatchings() const;
    int countrRNAMatchings() const;
    int getDatabaseCogMatchingsCount() const { return stored.count(GC_GenomeSource::Cog); }
    int getDatabaseRfamMatchingsCount() const { return stored.count(GC_GenomeSource::Rfam); }
    int getDatabaserRNAMatchingsCount() const { return stored.count(GC_GenomeSource::Rrna); }
    int getPlacement() const { return placement; }
    void setPlacement(int value) { placement = value; }

    // Lists. The genome owns genes and annotations (child items); matchings
    // belong to the scene and are only referred to. Adding or removing a
    // matching is O(1): 100,000 of them on one genome are ordinary.
    void addGene(GC_Gene *gene);
    void removeGene(GC_Gene *gene);
    void addAnotation(GC_Anotation *anotation);
    void removeAnotation(GC_Anotation *anotation);
    void addMatching(GC_GenomeMatching *matching);
    void removeMatching(GC_GenomeMatching *matching);
    bool hasMatching(GC_GenomeMatching *matching) const { return matchingIndex.contains(matching); }
    const QList<GC_Gene *> &getGenes() const { return genes; }
    const QList<GC_Anotation *> &getAnotations() const { return anotations; }
    // In no particular order (removal swaps the last matching into the gap).
    const QList<GC_GenomeMatching *> &getMatchings() const { return matchings; }
    int countMatchings() const { return int(matchings.size()); }

    // Gene coverage by the matchings at or above a bit score, leaving out
    // the matchings with the genomes whose ids are excluded; computed by
    // GC_CoverageCalculator. Mode 0-3: totally inside, partially inside,
    // partially outside, totally outside. The caller owns the new items.
    GC_IntervalMap getCoveredRanges(const QSet<int> &excludedGenomes, double bitScore) const;
    QList<GC_CoverageWidgetListItem *> getCoveredGenes(const QSet<int> &excludedGenomes,
                                                       double bitScore, int mode) const;
    QList<QListWidgetItem *> getMatchedGenomes() const;

    // Show switches.
    bool getShowGenes() const { return showGenes; }
    bool getShowAnotations() const { return showAnotations; }
    bool getShowMatchings() const { return showMatchings; }
    bool getShowRuler() const { return showRuler; }
    bool getShowGCcontent() const { return showGCcontent; }
    bool getShowCogHomologies() const { return showCogHomologies; }
    bool getShowRfamHomologies() const { return showRfamHomologies; }
    bool getShowrRNAHomologies() const { return showrRNAHomologies; }
    bool getShowText() const { return showText; }
    void setShowGenes(bool value);
    void setShowAnotations(bool value);
    void setShowMatchings(bool value);
    void setShowRuler(bool value);
    void setShowGCcontent(bool value);
    void setShowCogHomologies(bool value);
    void setShowRfamHomologies(bool value);
    void setShowrRNAHomologies(bool value);
    void setShowText(bool value);
    void updateGenesVisibility();
    void updateAnotationsVisibility();
    void updateMatchingsVisibility();
    void updateRulerVisibility();
    void updateGCcontentVisibility();
    void updateCogHomologiesVisibility();
    void updateRfamHomologiesVisibility();
    void updaterRNAHomologiesVisibility();
    void updateTextVisibility();
    void setVisibleGenome(bool visible);
    void updateControlPointsVisibility();
    void updateChildren();

    // Name label.
    double getTextX() const { return textX; }
    void setTextX(double value);
    double getTextY() const;
    void setTextY(double value);
    void updateTextX();
    void updateTextPosition();
    int getTextPositionFlag() const;
    void setTextPositionFlag(int flag);
    double getTextAngle() const;
    void setTextAngle(double angle);
    QColor getTextColor() const;
    void setTextColor(const QColor &color);
    QFont getTextFont() const;
    void setTextFont(const QFont &font);
    void setTextFontFromString(const QString &description);

    // Sequence.
    void setDnaSequence(const QString &sequence);
    double getGCcontent() const { return gcContent; }
    // The sequence, from memory or else from the source file, cut to the
    // range when it is valid.
    QString getDnaSequence(const GC_Interval &range = GC_Interval()) const;

    // Layout.
    void arrangeChildren(int placementValue);

    // Length handles.
    GC_GenomeLengthControlPoint *getLeftHandle() const { return leftHandle; }
    GC_GenomeLengthControlPoint *getRightHandle() const { return rightHandle; }
    void updateControlPoints();
    double limitControlPointX(GC_GenomeLengthControlPoint *handle, double x) const;
    void updatePixPerNucFromControlPoints(GC_GenomeLengthControlPoint *handle);

    // The scene this genome is in, as the document (null outside one).
    GC_GenomeScene *genomeScene() const;

    // Canvas rows (GC_GenomeRows) and the source file (GC_GenomeSource).
    static QString sqlCreateTable();
    static QString sqlSelect();
    static QString sqlInsert();
    // Writes this genome's row and its dependent rows; false, with the
    // reason in errorText, when a statement fails.
    bool saveItem(QSqlQuery &query, int place, int &rowCounter, QString *errorText = nullptr) const;
    // Fills this new genome from a row of sqlSelect() and reads its ruler,
    // genes and annotations from the same database; the genome keeps the
    // row's id, and the id counter is raised past it.
    void loadItem(const QSqlQuery &query, const QSqlDatabase &canvas);
    // The same from a row read ahead (GC_GenomeRows::load says what the
    // other arguments do); false, with the reason in damage, when the file
    // fails to give the rows it holds.
    bool loadItem(const QSqlRecord &row, const QSqlDatabase &canvas, bool withItems,
                  int occurrence, QString *damage);
    // A fresh id from the counter, for a genome read under an id that
    // another genome of the same file already carries.
    void takeNewId() { id = genomeIdCounter++; }
    // The hits kept in the source file: its path and this genome's key in
    // it, counts and shares.
    const GC_StoredHitShares &storedHits() const { return stored; }
    GC_StoredHitShares &storedHits() { return stored; }
    // Stored hits of one family in the source file (-1: cannot be counted),
    // kept as the stored count.
    int countDatabaseCogMatchings();
    int countDatabaseRfamMatchings();
    int countDatabaserRNAMatchings();
    void deleteRecordsFromTableDatabase(const QString &table);
    // Forget one family's hits in memory and in the source file; return the
    // new stored count.
    int deleteCogMatchings();
    int deleteRfamMatchings();
    int deleterRNAMatchings();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void arrowStyleChanged() override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    void zoomBy(const QPointF &scenePoint, double factor);
    void prepareChildrenGeometryChange();
    void updateDependentGeometry();
    void deleteControlPoints();
    void createControlPoints();

    int id = 0;
    GC_Interval coords = GC_Interval(1, 1);
    int orientation = 1;
    int placement = 0;
    double pixPerNuc = 1.0;
    GC_StoredHitShares stored;
    QString dnaSequence;
    bool showRuler = true;
    bool showGCcontent = false;
    bool showCogHomologies = false;
    bool showRfamHomologies = false;
    bool showrRNAHomologies = false;
    bool showGenes = true;
    bool showAnotations = true;
    bool showMatchings = true;
    bool showText = true;
    GC_GenomeLengthControlPoint *leftHandle = nullptr;
    GC_GenomeLengthControlPoint *rightHandle = nullptr;
    GC_GenomeText *nameLabel = nullptr;
    double textX = 0.0;
    // Set while the genome itself moves its label, so the move is not taken
    // for a drag by the user.
    bool placingLabel = false;
    double gcContent = 0.0;
    GC_Ruler *ruler = nullptr;
    GC_GCcontentBar *gcContentBar = nullptr;
    GC_CogHomologies *cogHomologies = nullptr;
    GC_RfamHomologies *rfamHomologies = nullptr;
    GC_rRNAHomologies *rRNAHomologies = nullptr;
    QList<GC_Gene *> genes;
    QList<GC_Anotation *> anotations;
    QList<GC_GenomeMatching *> matchings;
    QHash<GC_GenomeMatching *, qsizetype> matchingIndex;
};

#endif
