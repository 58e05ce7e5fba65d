#ifndef GC_GENOMESCENE_H
#define GC_GENOMESCENE_H

#include <QGraphicsScene>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class GC_CogPieDialog;
class GC_FreeText;
class GC_Genome;
class GC_Interval;
class GC_GenomeMatching;
class GC_Legend;
class GC_RunDatabase;
class GC_SceneHomologyDialogs;
class GC_SceneInput;
class GC_Style;
class QGraphicsSceneContextMenuEvent;
class QKeyEvent;
class QGraphicsItem;
class QGraphicsView;
class QWidget;

// The comparison document and the graphics scene that shows it: genomes in a
// top and a low row, the matchings between them and the free texts, the
// scene-wide show switches every item consults, the bit-score threshold, the
// layout spacing and the interaction mode.
//
// The scene owns every item added to it; the lists hold plain pointers into
// that set. Adding a genome or a matching is O(1); a matching is removed by
// pointer in O(1), so dropping thousands of them costs no scans.
//
// Each concern beyond the document has a collaborator the scene delegates
// to: GC_SceneLayout (layout commands), GC_SceneInput (mouse and keys, the
// hover legend), GC_SceneContextMenu (the context menus),
// GC_SceneHomologyDialogs (the homology bars' dialogs), GC_CanvasWriter and
// the readers (canvas file), GC_WebBlastLink (web BLAST and clipboard) and
// GC_SceneImageRenderer (image export).
class GC_GenomeScene : public QGraphicsScene
{
    Q_OBJECT

public:
    enum Mode { ModeSelect = 0, ModeZoomIn = 1, ModeZoomOut = 2, ModeDelete = 3, ModeAddText = 4 };

    explicit GC_GenomeScene(QWidget *mainWindow = nullptr);
    ~GC_GenomeScene() override;

    QWidget *mainWindow() const { return m_mainWindow; }
    // The first view showing the scene, or null.
    QGraphicsView *firstView() const;

    // ---- Document: file, modification, spacing

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    QString lastErrorText() const { return m_lastErrorText; }
    void setLastErrorText(const QString &text) { m_lastErrorText = text; }

    // Unsaved changes. Every change a user makes to the document marks it;
    // loading leaves it unmodified and saving clears it. The canvas grows
    // to hold the items after each change.
    bool isModified() const { return m_modified; }
    void setModified(bool value);

    double margin() const { return m_margin; }
    void setMargin(double value);
    double separationBetweenGenomes() const { return m_separationBetweenGenomes; }
    void setSeparationBetweenGenomes(double value);

    // Whatever changes items outside the property panel ends with this:
    // items after a change of their own (a zoom by key, a ruler key, a
    // drag), the commands after theirs (menu toggles and cuts, the fitting
    // commands, homology bars shown or hidden, a style applied). It emits
    // changedItem(), so the property panel refills; every changedItem()
    // marks the document modified.
    void itemChanged();

    // ---- Document: genome rows

    // The lists are returned as (implicitly shared) copies, so a caller may
    // remove items while it walks one.
    QList<GC_Genome *> topGenomes() const { return m_topGenomes; }
    QList<GC_Genome *> lowGenomes() const { return m_lowGenomes; }
    QList<GC_Genome *> genomes() const;
    bool isTopGenome(GC_Genome *genome) const;
    int maxGenomeId() const;
    qint64 topGenomesLength() const;
    qint64 lowGenomesLength() const;
    // Loads the first genome of a comparison database into the top row and
    // fits it to the view; null when there is none.
    GC_Genome *addGenome(const QString &databasePath);
    // Keeps a run's comparison database for as long as the document may
    // read it (its genomes' sequences and stored rows): clearScene() and the
    // scene's end let it go, which removes it once nobody else holds it.
    void keepRunDatabase(const std::shared_ptr<GC_RunDatabase> &database);
    // Takes the genome out of its row (not out of the scene).
    void removeGenome(GC_Genome *genome);
    // Deletes the genome with every matching that joins it to another one.
    void deleteGenome(GC_Genome *genome);

    // ---- Document: matchings

    QList<GC_GenomeMatching *> matchings() const;
    int countMatchings() const { return int(m_matchingIndex.size()); }
    bool hasMatching(GC_GenomeMatching *matching) const
    {
        return m_matchingIndex.contains(matching);
    }
    void addMatching(GC_Genome *top, GC_Genome *low, int topFrom, int topTo, int lowFrom, int lowTo,
                     double similarity, double bitScore);
    // Takes the matching out of the list (ids can repeat, pointers cannot).
    // It stays in the scene and is not deleted.
    void removeMatching(GC_GenomeMatching *matching);
    // Takes out the first listed matching with that id; prefer the pointer.
    void removeMatchingById(int id);
    // Unregisters the matching from both genomes and the list, then deletes it.
    void deleteMatching(GC_GenomeMatching *matching);

    // ---- Document: free texts

    QList<GC_FreeText *> freeTexts() const { return m_freeTexts; }
    void addFreeText(const QPointF &pos, GC_FreeText *text = nullptr);
    // For loaders: lists a text without adding it to the scene.
    void insertFreeText(GC_FreeText *text);
    void removeFreeText(GC_FreeText *text);

    // Empties the document; the show switches, threshold, spacing and mode stay.
    void clearScene();

    // ---- Canvas file and loaders

    // The loaders only fill the lists (they run on the opening thread);
    // addItemsToScene puts the items on the canvas.
    bool saveToKestalCanvas();
    bool loadKestalCanvas(const QString &fileName);
    bool loadSorvikComparisons(const QStringList &paths);
    // What the file holds and the genome leaves out (the FASTA records
    // after the first) is added to leftOut, one sentence each.
    bool loadGenomeFromFile(const QString &fileName, int genomeIndex, QStringList *leftOut = nullptr);

    // ---- Show switches and the bit-score threshold

    bool showRulers() const { return m_showRulers; }
    bool showGCcontentBars() const { return m_showGCcontentBars; }
    bool showCogHomologies() const { return m_showCogHomologies; }
    bool showRfamHomologies() const { return m_showRfamHomologies; }
    bool showrRNAHomologies() const { return m_showrRNAHomologies; }
    bool showControlPoints() const { return m_showControlPoints; }
    bool showAnotations() const { return m_showAnotations; }
    bool showMatchings() const { return m_showMatchings; }
    bool showLegends() const { return m_showLegends; }
    bool showGenes() const { return m_showGenes; }
    bool showTexts() const { return m_showTexts; }
    bool showFreeTexts() const { return m_showFreeTexts; }
    double matchingsBitScore() const { return m_matchingsBitScore; }

    // ---- Canvas rectangle

    // The scene rectangle becomes the bounding rectangle of the items as
    // they are now, smaller or larger than before. (Left to itself the
    // toolkit's rectangle only ever grows.)
    void fitSceneRectToItems();
    // Widens the scene rectangle to hold area, never narrows it: a dragged
    // item takes the canvas with it.
    void extendSceneRect(const QRectF &area);

    // ---- Layout (GC_SceneLayout)

    // Moves a bar of a genome to the height, from -80 to 80 in steps of 10,
    // where it overlaps the fewest items.
    void placeWithoutCollision(QGraphicsItem *item);

    // ---- Interaction: mode, selection, hover legend (GC_SceneInput)

    int mode() const { return m_mode; }
    void setMode(int mode);
    QPointF lastContextPos() const { return m_lastContextPos; }
    void setLastContextPos(const QPointF &pos) { m_lastContextPos = pos; }
    // The genome an item is drawn against: itself for a genome, the parent
    // genome of a gene, annotation, ruler or bar; null otherwise.
    static GC_Genome *genomeOfItem(QGraphicsItem *item);
    // The one selected item when exactly one is selected and it has that
    // type, else null. A name label counts as the item it names.
    QGraphicsItem *singleSelectedItem(int type) const;
    // The first selected item when it is a genome or a genome's label, else null.
    GC_Genome *firstSelectedGenome() const;
    // The selected items of that type, a name label counting as the item it
    // names; each item once.
    QList<QGraphicsItem *> selectedItemsOfType(int type) const;
    // The single hover legend; null until first needed and after clearScene.
    GC_Legend *hoverLegend() const { return m_hoverLegend; }
    void setHoverLegend(GC_Legend *legend) { m_hoverLegend = legend; }
    // Shows the hover legend over a homology bar for a hit text, or hides
    // it for an empty one; does nothing when the text equals lastText, and
    // then remembers it there.
    void showHoverLegend(QGraphicsItem *bar, GC_Genome *genome, const QString &text,
                         const GC_Interval &hit, QString &lastText);

    // ---- Homology dialogs (GC_SceneHomologyDialogs)

    // The COG statistics dialog, made once with the scene.
    GC_CogPieDialog *cogPieDialog() const;

    // ---- Drawing frames

    // Advanced once per drawing of the scene (each repaint of a view, each
    // render), so items may keep state for one frame.
    quint64 paintFrame() const { return m_paintFrame; }

    // ---- Image export (GC_SceneImageRenderer)

    // Renders the view's visible area or the whole canvas (the items'
    // bounding rectangle) into fileName, which gains "." + format when its
    // upper-cased suffix differs. False, with lastErrorText() saying why,
    // when nothing was written.
    bool exportImage(QString &fileName, const QString &format, bool wholeScene,
                     bool antialiasing);

signals:
    void message(QString text);
    void anotationAdded();
    void changedItem();
    void modifiedChanged(bool modified);
    void coverageRequested(GC_Genome *genome);
    void coverageCalculateRequest();

public slots:
    // ---- Document: loading

    void addItemsToScene();
    void insertTopGenome(GC_Genome *genome);
    void insertLowGenome(GC_Genome *genome);
    void insertMatching(GC_GenomeMatching *matching);

    // ---- Show switches

    void slotViewRulers(bool show);
    void slotViewGCcontentBars(bool show);
    void slotViewCogHomologies(bool show);
    void slotViewRfamHomologies(bool show);
    void slotViewrRNAHomologies(bool show);
    void slotViewControlPoints(bool show);
    void slotViewAnotations(bool show);
    void slotViewMatchings(bool show);
    void slotViewLegends(bool show);
    void slotViewGenes(bool show);
    void slotViewTexts(bool show);
    void slotViewFreeTexts(bool show);
    void slotViewMatchingsBitScore(qreal bitScore);

    void slotSceneToggleControlPoints();
    void slotSceneToggleAnotations();
    void slotSceneToggleGenes();
    void slotSceneToggleGCcontentBars();
    void slotSceneToggleCogHomologies();
    void slotSceneToggleRfamHomologies();
    void slotSceneTogglerRNAHomologies();
    void slotSceneToggleRulers();
    void slotSceneToggleMatchings();
    void slotSceneToggleLegends();
    void slotSceneToggleText();
    void slotSceneToggleFreeTexts();

    // ---- Genome visibility

    void slotSceneShowAllGenomes();
    void slotGenomeShowSelectedGenomes();
    void slotGenomeHideSelectedGenomes();
    void slotMatchingShowOnlySelectedGenomes();
    void slotMatchingFitScene();

    // ---- Layout (GC_SceneLayout)

    void slotViewAdjustToWidth();
    void slotViewAdjustProportional();
    void slotViewAdjustMatchingToView(GC_GenomeMatching *matching);
    void slotViewFitCanvasToItems();

    // ---- Item commands of the context menus

    void slotItemRemove();
    void slotExpandGenome();
    void slotShrinkGenome();

    void slotGenomeAddAnotation();
    void slotGenomeClone();
    void slotGenomeSetLeftmost();
    void slotGenomeSetRightmost();
    void slotGenomeCoverage();
    void slotGenomeToggleOrientation();
    void slotGenomeToggleAnotations();
    void slotGenomeToggleGenes();
    void slotGenomeToggleRuler();
    void slotGenomeToggleGCcontentBars();
    void slotGenomeToggleMatchings();
    void slotGenomeToggleLabel();
    void slotGeneToggleOrientation();
    void slotRulerToggleOrientation();
    void slotSceneAddFreeText();
    void slotApplyStyle(const GC_Style &style, bool forced, bool allItems, bool childItems);

    // ---- Homology bars (GC_SceneHomologyDialogs)

    void slotGenomeTblastnCog();
    void slotGenomeBlastnRfam();
    void slotGenomeBlastnrRNA();
    void slotGenomeShowCogMatchings();
    void slotGenomeShowRfamMatchings();
    void slotGenomeShowrRNAMatchings();
    void slotGenomeShowHideCogMatchings(bool show);
    void slotGenomeShowHideRfamMatchings(bool show);
    void slotGenomeShowHiderRNAMatchings(bool show);
    void slotCogHomologiesStatistics();
    void slotRfamHomologiesStatistics();

    // ---- Web BLAST and clipboard (GC_WebBlastLink)

    void slotGenomeCopySequenceToClipboard();
    void slotGeneBlastN();
    void slotGeneBlastX();
    void slotGeneCopySequenceToClipboard();
    void slotAnotationCopySequenceToClipboard();
    void slotMatchingTopBlastN();
    void slotMatchingTopBlastX();
    void slotMatchingTopCopySequenceToClipboard();
    void slotMatchingLowBlastN();
    void slotMatchingLowBlastX();
    void slotMatchingLowCopySequenceToClipboard();

protected:
    // Mouse and keys, handed to GC_SceneInput.
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    // A drag that moved an item changes the document.
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;

    // Advances the drawing frame.
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private:
    // ---- Document
    void forEachGenome(void (GC_Genome::*update)());
    void growSceneRectToItemsSoon();
    void compactMatchings() const;
    void detachAllMatchings();
    // Items a loader listed but nobody added to the scene (which deletes
    // its own); called after detachAllMatchings.
    void deleteUnplacedItems();
    void clearLists();

    // ---- Item commands
    void postZoomKey(int key, const QString &noneText, const QString &singleText);
    void cutShownRange(bool fromStart);
    void blastMatchingSection(bool upper, int program);

    QList<GC_Genome *> m_topGenomes;
    QList<GC_Genome *> m_lowGenomes;
    // Row of each listed genome (true for the top row).
    QHash<GC_Genome *, bool> m_genomeRow;
    // Matchings in insertion order. Removal leaves a null hole that the next
    // read of the list closes, so removing many is linear overall.
    mutable QList<GC_GenomeMatching *> m_matchings;
    mutable QHash<GC_GenomeMatching *, qsizetype> m_matchingIndex;
    mutable qsizetype m_matchingHoles = 0;
    QList<GC_FreeText *> m_freeTexts;
    QString m_fileName;
    std::vector<std::shared_ptr<GC_RunDatabase>> m_runDatabases;
    bool m_showRulers = true;
    bool m_showGCcontentBars = true;
    bool m_showCogHomologies = true;
    bool m_showRfamHomologies = true;
    bool m_showrRNAHomologies = true;
    bool m_showControlPoints = false;
    bool m_showAnotations = true;
    bool m_showMatchings = true;
    bool m_showLegends = true;
    bool m_showGenes = true;
    bool m_showTexts = true;
    bool m_showFreeTexts = true;
    double m_matchingsBitScore = 0.0;
    double m_margin = 30.0;
    double m_separationBetweenGenomes = 7.0;
    bool m_modified = false;
    bool m_sceneRectGrowthPending = false;
    // While above zero, changes are loading, not editing.
    int m_loading = 0;
    QString m_lastErrorText;
    int m_mode = ModeSelect;
    QWidget *m_mainWindow = nullptr;
    QPointF m_lastContextPos;
    GC_Legend *m_hoverLegend = nullptr;
    quint64 m_paintFrame = 0;

    std::unique_ptr<GC_SceneInput> m_input;
    std::unique_ptr<GC_SceneHomologyDialogs> m_homologyDialogs;
};

#endif
