#include "gc_genomescene.h"

#include "gc_canvasreader.h"
#include "gc_canvaswriter.h"
#include "gc_comparisonreader.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_legend.h"
#include "gc_log.h"
#include "gc_rundatabase.h"
#include "gc_sequencefileloader.h"
#include "gc_sqlconnection.h"

#include "gc_anotation.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_ruler.h"
#include "gc_scenehomologydialogs.h"
#include "gc_sceneinput.h"
#include "gc_sceneitemremoval.h"
#include "gc_scenelayout.h"
#include "gc_sceneimagerenderer.h"
#include "gc_style.h"
#include "gc_webblastlink.h"

#include <QDir>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlError>
#include <QVariant>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSet>

#include <algorithm>
#include <memory>

GC_GenomeScene::GC_GenomeScene(QWidget *mainWindow)
    : QGraphicsScene(mainWindow)
    , m_mainWindow(mainWindow)
    , m_input(std::make_unique<GC_SceneInput>(this))
    , m_homologyDialogs(std::make_unique<GC_SceneHomologyDialogs>(this))
{
    setItemIndexMethod(QGraphicsScene::NoIndex);
    // Whatever announces a change of items (keys, menu commands, zooms)
    // changes the document.
    connect(this, &GC_GenomeScene::changedItem, this, [this]() { setModified(true); });
    slotViewRulers(true);
    slotViewGCcontentBars(true);
    slotViewCogHomologies(true);
    slotViewRfamHomologies(true);
    slotViewrRNAHomologies(true);
    slotViewControlPoints(false);
    slotViewAnotations(true);
    slotViewMatchings(true);
    m_showLegends = true;
    slotViewGenes(true);
    slotViewTexts(true);
    slotViewFreeTexts(true);
    slotViewMatchingsBitScore(0.0);
    setModified(false);
    setMode(ModeSelect);
}

GC_GenomeScene::~GC_GenomeScene()
{
    // The statistics dialog goes before the items whose hits it shows.
    m_homologyDialogs.reset();
    // The base class deletes the items afterwards, in no particular order.
    detachAllMatchings();
    deleteUnplacedItems();
    clearLists();
}

void GC_GenomeScene::setModified(bool value)
{
    if (value && m_loading > 0)
        return;
    if (value)
        growSceneRectToItemsSoon();
    if (m_modified == value)
        return;
    m_modified = value;
    emit modifiedChanged(value);
}

void GC_GenomeScene::setMargin(double value)
{
    if (m_margin == value)
        return;
    m_margin = value;
    setModified(true);
}

void GC_GenomeScene::setSeparationBetweenGenomes(double value)
{
    if (m_separationBetweenGenomes == value)
        return;
    m_separationBetweenGenomes = value;
    setModified(true);
}

void GC_GenomeScene::setMode(int mode)
{
    m_mode = mode;
    if (mode == ModeZoomIn || mode == ModeZoomOut)
        clearSelection();
    qCDebug(lcKestal) << "Mode: " << mode;
}

void GC_GenomeScene::itemChanged()
{
    emit changedItem();
}

// ---------------------------------------------------------------------------
// Genome rows

QList<GC_Genome *> GC_GenomeScene::genomes() const
{
    return m_topGenomes + m_lowGenomes;
}

bool GC_GenomeScene::isTopGenome(GC_Genome *genome) const
{
    return m_genomeRow.value(genome, false);
}

int GC_GenomeScene::maxGenomeId() const
{
    int result = -1;
    for (const GC_Genome *genome : m_topGenomes)
        result = std::max(result, genome->getId());
    for (const GC_Genome *genome : m_lowGenomes)
        result = std::max(result, genome->getId());
    return result;
}

static qint64 rowLength(const QList<GC_Genome *> &row)
{
    qint64 total = 0;
    for (const GC_Genome *genome : row)
        total += genome->getCoords().length();
    return total;
}

qint64 GC_GenomeScene::topGenomesLength() const
{
    return rowLength(m_topGenomes);
}

qint64 GC_GenomeScene::lowGenomesLength() const
{
    return rowLength(m_lowGenomes);
}

void GC_GenomeScene::insertTopGenome(GC_Genome *genome)
{
    if (genome && !m_genomeRow.contains(genome)) {
        m_genomeRow.insert(genome, true);
        m_topGenomes.append(genome);
    }
}

void GC_GenomeScene::insertLowGenome(GC_Genome *genome)
{
    if (genome && !m_genomeRow.contains(genome)) {
        m_genomeRow.insert(genome, false);
        m_lowGenomes.append(genome);
    }
}

void GC_GenomeScene::removeGenome(GC_Genome *genome)
{
    const auto it = m_genomeRow.constFind(genome);
    if (it == m_genomeRow.constEnd())
        return;
    if (it.value())
        m_topGenomes.removeOne(genome);
    else
        m_lowGenomes.removeOne(genome);
    m_genomeRow.erase(it);
    setModified(true);
}

void GC_GenomeScene::deleteGenome(GC_Genome *genome)
{
    if (!genome)
        return;
    const QList<GC_GenomeMatching *> joined = genome->getMatchings();
    for (GC_GenomeMatching *matching : joined)
        deleteMatching(matching);
    removeGenome(genome);
    if (m_hoverLegend && genome->isAncestorOf(m_hoverLegend))
        m_hoverLegend = nullptr;
    delete genome;
    setModified(true);
}

GC_Genome *GC_GenomeScene::addGenome(const QString &databasePath)
{
    const QString connectionName = "tmpDb";
    GC_Genome *genome = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
        db.setDatabaseName(databasePath);
        // Read-only: a missing file must not be created empty.
        db.setConnectOptions(GC_SqlConnection::connectOptions(GC_SqlConnection::ReadOnly));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec("SELECT name, dna_sequence, length from genomes") && query.next()) {
                const QString name = query.value(0).toString();
                const QString sequence = query.value(1).toString();
                int length = query.value(2).toInt();
                if (length < 1)
                    length = int(sequence.size());
                if (length >= 1) {
                    genome = new GC_Genome;
                    genome->setName(name);
                    genome->setDnaSequence(sequence);
                    genome->setDatabaseId(0);
                    genome->setDatabase(databasePath);
                    genome->setCoords(GC_Interval(1, length));
                    insertTopGenome(genome);
                    addItem(genome);
                    genome->updateChildren();
                    genome->arrangeChildren(0);
                    if (QGraphicsView *view = firstView()) {
                        genome->setPixPerNuc((view->viewport()->width() - 2.0 * m_margin)
                                             / genome->getCoords().length());
                        genome->setPos(m_margin, 0.0);
                    }
                    setModified(true);
                }
            } else if (query.lastError().isValid()) {
                qCDebug(lcKestal) << "GC_GenomeScene::addGenome(): " << query.lastError().text();
            }
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    fitSceneRectToItems();
    return genome;
}

void GC_GenomeScene::keepRunDatabase(const std::shared_ptr<GC_RunDatabase> &database)
{
    if (database)
        m_runDatabases.push_back(database);
}

// ---------------------------------------------------------------------------
// Matchings

QList<GC_GenomeMatching *> GC_GenomeScene::matchings() const
{
    compactMatchings();
    return m_matchings;
}

void GC_GenomeScene::compactMatchings() const
{
    if (m_matchingHoles == 0)
        return;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < m_matchings.size(); ++i) {
        GC_GenomeMatching *matching = m_matchings.at(i);
        if (!matching)
            continue;
        if (kept != i) {
            m_matchings[kept] = matching;
            m_matchingIndex[matching] = kept;
        }
        ++kept;
    }
    m_matchings.resize(kept);
    m_matchingHoles = 0;
}

void GC_GenomeScene::insertMatching(GC_GenomeMatching *matching)
{
    if (!matching || m_matchingIndex.contains(matching))
        return;
    m_matchingIndex.insert(matching, m_matchings.size());
    m_matchings.append(matching);
}

void GC_GenomeScene::addMatching(GC_Genome *top, GC_Genome *low, int topFrom, int topTo,
                                 int lowFrom, int lowTo, double similarity, double bitScore)
{
    auto *matching = new GC_GenomeMatching;
    matching->setId(GC_GenomeMatching::nextId);
    matching->setTop(top, topFrom, topTo);
    matching->setLow(low, lowFrom, lowTo);
    matching->setSimilarity(similarity);
    matching->setBitScore(bitScore);
    insertMatching(matching);
    addItem(matching);
    // A new matching obeys the current switches and threshold at once.
    matching->updateVisibility();
    setModified(true);
}

void GC_GenomeScene::removeMatching(GC_GenomeMatching *matching)
{
    const auto it = m_matchingIndex.constFind(matching);
    if (it == m_matchingIndex.constEnd())
        return;
    m_matchings[it.value()] = nullptr;
    m_matchingIndex.erase(it);
    ++m_matchingHoles;
    setModified(true);
}

void GC_GenomeScene::removeMatchingById(int id)
{
    for (GC_GenomeMatching *matching : matchings()) {
        if (matching->id() == id) {
            removeMatching(matching);
            return;
        }
    }
}

void GC_GenomeScene::deleteMatching(GC_GenomeMatching *matching)
{
    if (!matching || (matching->scene() != this && !hasMatching(matching)))
        return;
    removeMatching(matching);
    matching->detachFromGenomes();
    delete matching;
    setModified(true);
}

// ---------------------------------------------------------------------------
// Free texts

void GC_GenomeScene::addFreeText(const QPointF &pos, GC_FreeText *text)
{
    if (!text) {
        text = new GC_FreeText;
        text->setText("NEW TEXT");
        text->setPos(pos);
    }
    if (text->scene() != this)
        addItem(text);
    insertFreeText(text);
    text->updateVisibility();
    setModified(true);
}

void GC_GenomeScene::insertFreeText(GC_FreeText *text)
{
    if (text && !m_freeTexts.contains(text))
        m_freeTexts.append(text);
}

void GC_GenomeScene::removeFreeText(GC_FreeText *text)
{
    if (text && m_freeTexts.removeAll(text) > 0)
        setModified(true);
}

// ---------------------------------------------------------------------------
// Loading and clearing

void GC_GenomeScene::addItemsToScene()
{
    // Putting loaded items on the canvas is not an edit.
    ++m_loading;
    for (GC_Genome *genome : genomes()) {
        if (genome->scene() != this)
            addItem(genome);
        genome->updateChildren();
    }
    for (GC_GenomeMatching *matching : matchings()) {
        if (matching->scene() != this)
            addItem(matching);
        matching->updateVisibility();
    }
    for (GC_FreeText *text : std::as_const(m_freeTexts)) {
        if (text->scene() != this)
            addItem(text);
        text->updateVisibility();
    }
    --m_loading;
    // The canvas follows what was loaded, not what the scene held before.
    fitSceneRectToItems();
}

// Matchings refer to genomes; unhooking them before the toolkit deletes the
// items means no matching reaches a genome deleted before it.
void GC_GenomeScene::detachAllMatchings()
{
    for (GC_GenomeMatching *matching : matchings())
        matching->detachFromGenomes();
}

void GC_GenomeScene::deleteUnplacedItems()
{
    for (GC_GenomeMatching *matching : matchings()) {
        if (!matching->scene())
            delete matching;
    }
    for (GC_Genome *genome : genomes()) {
        if (!genome->scene())
            delete genome;
    }
    for (GC_FreeText *text : std::as_const(m_freeTexts)) {
        if (!text->scene())
            delete text;
    }
}

void GC_GenomeScene::clearLists()
{
    m_topGenomes.clear();
    m_lowGenomes.clear();
    m_genomeRow.clear();
    m_matchings.clear();
    m_matchingIndex.clear();
    m_matchingHoles = 0;
    m_freeTexts.clear();
    m_hoverLegend = nullptr;
}

void GC_GenomeScene::clearScene()
{
    ++m_loading;
    detachAllMatchings();
    deleteUnplacedItems();
    clearLists();
    clear();
    --m_loading;
    setSceneRect(QRectF());
    m_fileName.clear();
    // No genome reads the run databases any more.
    m_runDatabases.clear();
    m_lastErrorText.clear();
    setModified(false);
}

// ---------------------------------------------------------------------------
// Canvas file and loaders

bool GC_GenomeScene::saveToKestalCanvas()
{
    return GC_CanvasWriter(this).save();
}

bool GC_GenomeScene::loadKestalCanvas(const QString &fileName)
{
    return GC_CanvasReader(this).load(fileName);
}

bool GC_GenomeScene::loadSorvikComparisons(const QStringList &paths)
{
    return GC_ComparisonReader(this).load(paths);
}

bool GC_GenomeScene::loadGenomeFromFile(const QString &fileName, int genomeIndex,
                                        QStringList *leftOut)
{
    return GC_SequenceFileLoader(this).load(fileName, genomeIndex, leftOut);
}

// ---------------------------------------------------------------------------
// Show switches

void GC_GenomeScene::forEachGenome(void (GC_Genome::*update)())
{
    for (GC_Genome *genome : std::as_const(m_topGenomes))
        (genome->*update)();
    for (GC_Genome *genome : std::as_const(m_lowGenomes))
        (genome->*update)();
}

void GC_GenomeScene::slotViewRulers(bool show)
{
    m_showRulers = show;
    forEachGenome(&GC_Genome::updateRulerVisibility);
}

void GC_GenomeScene::slotViewGCcontentBars(bool show)
{
    m_showGCcontentBars = show;
    forEachGenome(&GC_Genome::updateGCcontentVisibility);
}

void GC_GenomeScene::slotViewCogHomologies(bool show)
{
    m_showCogHomologies = show;
    forEachGenome(&GC_Genome::updateCogHomologiesVisibility);
}

void GC_GenomeScene::slotViewRfamHomologies(bool show)
{
    m_showRfamHomologies = show;
    forEachGenome(&GC_Genome::updateRfamHomologiesVisibility);
}

void GC_GenomeScene::slotViewrRNAHomologies(bool show)
{
    m_showrRNAHomologies = show;
    forEachGenome(&GC_Genome::updaterRNAHomologiesVisibility);
}

void GC_GenomeScene::slotViewControlPoints(bool show)
{
    m_showControlPoints = show;
    forEachGenome(&GC_Genome::updateControlPointsVisibility);
}

void GC_GenomeScene::slotViewAnotations(bool show)
{
    m_showAnotations = show;
    forEachGenome(&GC_Genome::updateAnotationsVisibility);
}

void GC_GenomeScene::slotViewMatchings(bool show)
{
    m_showMatchings = show;
    for (GC_GenomeMatching *matching : matchings())
        matching->updateVisibility();
}

void GC_GenomeScene::slotViewLegends(bool show)
{
    m_showLegends = show;
}

void GC_GenomeScene::slotViewGenes(bool show)
{
    m_showGenes = show;
    forEachGenome(&GC_Genome::updateGenesVisibility);
}

void GC_GenomeScene::slotViewTexts(bool show)
{
    m_showTexts = show;
    forEachGenome(&GC_Genome::updateTextVisibility);
}

void GC_GenomeScene::slotViewFreeTexts(bool show)
{
    m_showFreeTexts = show;
    for (GC_FreeText *text : std::as_const(m_freeTexts))
        text->updateVisibility();
}

void GC_GenomeScene::slotViewMatchingsBitScore(qreal bitScore)
{
    m_matchingsBitScore = bitScore;
    for (GC_GenomeMatching *matching : matchings())
        matching->updateVisibility();
}

void GC_GenomeScene::slotSceneToggleControlPoints() { slotViewControlPoints(!m_showControlPoints); }
void GC_GenomeScene::slotSceneToggleAnotations() { slotViewAnotations(!m_showAnotations); }
void GC_GenomeScene::slotSceneToggleGenes() { slotViewGenes(!m_showGenes); }
void GC_GenomeScene::slotSceneToggleGCcontentBars() { slotViewGCcontentBars(!m_showGCcontentBars); }
void GC_GenomeScene::slotSceneToggleCogHomologies() { slotViewCogHomologies(!m_showCogHomologies); }
void GC_GenomeScene::slotSceneToggleRfamHomologies() { slotViewRfamHomologies(!m_showRfamHomologies); }
void GC_GenomeScene::slotSceneTogglerRNAHomologies() { slotViewrRNAHomologies(!m_showrRNAHomologies); }
void GC_GenomeScene::slotSceneToggleRulers() { slotViewRulers(!m_showRulers); }
void GC_GenomeScene::slotSceneToggleMatchings() { slotViewMatchings(!m_showMatchings); }
void GC_GenomeScene::slotSceneToggleLegends() { slotViewLegends(!m_showLegends); }
void GC_GenomeScene::slotSceneToggleText() { slotViewTexts(!m_showTexts); }
void GC_GenomeScene::slotSceneToggleFreeTexts() { slotViewFreeTexts(!m_showFreeTexts); }

// ---------------------------------------------------------------------------
// Genome visibility

void GC_GenomeScene::slotSceneShowAllGenomes()
{
    bool changed = false;
    for (GC_Genome *genome : genomes()) {
        changed = changed || !genome->isVisible();
        genome->setVisibleGenome(true);
    }
    if (changed)
        setModified(true);
}

void GC_GenomeScene::slotGenomeShowSelectedGenomes()
{
    // Hiding deselects, so take the selection first.
    const QList<QGraphicsItem *> selected = selectedItems();
    for (GC_Genome *genome : genomes())
        genome->setVisibleGenome(false);
    for (QGraphicsItem *item : selected) {
        if (item->type() != ITEMTYPE_GENOME)
            continue;
        GC_Genome *genome = static_cast<GC_Genome *>(item);
        genome->setVisibleGenome(true);
        genome->setSelected(true);
    }
    setModified(true);
}

void GC_GenomeScene::slotGenomeHideSelectedGenomes()
{
    bool changed = false;
    for (QGraphicsItem *item : selectedItems()) {
        if (item->type() != ITEMTYPE_GENOME)
            continue;
        static_cast<GC_Genome *>(item)->setVisibleGenome(false);
        changed = true;
    }
    if (changed)
        setModified(true);
}

void GC_GenomeScene::slotMatchingShowOnlySelectedGenomes()
{
    const QList<QGraphicsItem *> selected = selectedItems();
    for (GC_Genome *genome : genomes())
        genome->setVisibleGenome(false);
    for (QGraphicsItem *item : selected) {
        if (item->type() != ITEMTYPE_MATCHING)
            continue;
        GC_GenomeMatching *matching = static_cast<GC_GenomeMatching *>(item);
        if (matching->topGenome())
            matching->topGenome()->setVisibleGenome(true);
        if (matching->lowGenome())
            matching->lowGenome()->setVisibleGenome(true);
        matching->setSelected(true);
    }
    setModified(true);
}

void GC_GenomeScene::slotMatchingFitScene()
{
}

// ---------------------------------------------------------------------------
// Layout

QGraphicsView *GC_GenomeScene::firstView() const
{
    const QList<QGraphicsView *> all = views();
    return all.isEmpty() ? nullptr : all.first();
}

void GC_GenomeScene::slotViewFitCanvasToItems()
{
    fitSceneRectToItems();
}

void GC_GenomeScene::fitSceneRectToItems()
{
    setSceneRect(itemsBoundingRect());
}

void GC_GenomeScene::extendSceneRect(const QRectF &area)
{
    const QRectF rect = sceneRect();
    if (!rect.contains(area))
        setSceneRect(rect | area);
}

// An edit may put an item past the canvas's edge (a text added beside it, a
// bar shown above a genome). Edits come in bursts, and the bounding
// rectangle walks every item: once when the burst is over.
void GC_GenomeScene::growSceneRectToItemsSoon()
{
    if (m_sceneRectGrowthPending)
        return;
    m_sceneRectGrowthPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_sceneRectGrowthPending = false;
            extendSceneRect(itemsBoundingRect());
        },
        Qt::QueuedConnection);
}

void GC_GenomeScene::slotViewAdjustToWidth()
{
    GC_SceneLayout(this).adjustToWidth();
}

void GC_GenomeScene::slotViewAdjustProportional()
{
    GC_SceneLayout(this).adjustProportional();
}

void GC_GenomeScene::slotViewAdjustMatchingToView(GC_GenomeMatching *matching)
{
    GC_SceneLayout(this).adjustMatchingToView(matching);
}

void GC_GenomeScene::placeWithoutCollision(QGraphicsItem *item)
{
    GC_SceneLayout(this).placeWithoutCollision(item);
}

// ---------------------------------------------------------------------------
// Mouse and keys: the input collaborator does the work; the toolkit's own
// handling runs where it did.

void GC_GenomeScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (!m_input->mousePress(event))
        QGraphicsScene::mousePressEvent(event);
}

void GC_GenomeScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    qCDebug(lcKestal, "Double click received!");
    mousePressEvent(event);
}

void GC_GenomeScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_mode != ModeSelect) {
        event->ignore();
        return;
    }
    QGraphicsScene::mouseMoveEvent(event);
    m_input->mouseMoved(event);
}

void GC_GenomeScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    m_input->mouseReleased(event);
    QGraphicsScene::mouseReleaseEvent(event);
}

void GC_GenomeScene::keyPressEvent(QKeyEvent *event)
{
    QGraphicsScene::keyPressEvent(event);
    m_input->keyPressed(event);
}

void GC_GenomeScene::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    m_input->contextMenu(event);
}

void GC_GenomeScene::showHoverLegend(QGraphicsItem *bar, GC_Genome *genome, const QString &text,
                                     const GC_Interval &hit, QString &lastText)
{
    m_input->showHoverLegend(bar, genome, text, hit, lastText);
}

// ---------------------------------------------------------------------------
// Drawing frames

void GC_GenomeScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    ++m_paintFrame;
    QGraphicsScene::drawBackground(painter, rect);
}

// ---------------------------------------------------------------------------
// Item commands of the context menus, web BLAST links, clipboard and image
// export.

namespace {

void warnClose(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text, QMessageBox::Close);
}

} // namespace

GC_Genome *GC_GenomeScene::genomeOfItem(QGraphicsItem *item)
{
    if (!item)
        return nullptr;
    switch (item->type()) {
    case ITEMTYPE_GENOME:
        return static_cast<GC_Genome *>(item);
    case ITEMTYPE_ANOTATION:
    case ITEMTYPE_GENE:
    case ITEMTYPE_RULER:
    case ITEMTYPE_GCCONTENTBAR:
    case ITEMTYPE_COGHOMOLOGIES:
    case ITEMTYPE_RFAMHOMOLOGIES:
    case ITEMTYPE_RRNAHOMOLOGIES:
        return gc_parentItemOfType<GC_Genome>(item, ITEMTYPE_GENOME);
    default:
        return nullptr;
    }
}

QGraphicsItem *GC_GenomeScene::singleSelectedItem(int type) const
{
    // A label picked up alone or with its owner stands for the owner.
    QGraphicsItem *single = nullptr;
    const QList<QGraphicsItem *> selected = selectedItems();
    for (QGraphicsItem *item : selected) {
        QGraphicsItem *named = gc_namedItem(item);
        if (single && named != single)
            return nullptr;
        single = named;
    }
    return single && single->type() == type ? single : nullptr;
}

GC_Genome *GC_GenomeScene::firstSelectedGenome() const
{
    const QList<QGraphicsItem *> selected = selectedItems();
    if (selected.isEmpty())
        return nullptr;
    QGraphicsItem *first = gc_namedItem(selected.first());
    return first->type() == ITEMTYPE_GENOME ? static_cast<GC_Genome *>(first) : nullptr;
}

QList<QGraphicsItem *> GC_GenomeScene::selectedItemsOfType(int type) const
{
    // Picked up together, a label and the item it names count once.
    QList<QGraphicsItem *> result;
    QSet<QGraphicsItem *> seen;
    for (QGraphicsItem *item : selectedItems()) {
        QGraphicsItem *named = gc_namedItem(item);
        if (named->type() == type && !seen.contains(named)) {
            seen.insert(named);
            result.append(named);
        }
    }
    return result;
}

// ---------------------------------------------------------------- removal

void GC_GenomeScene::slotItemRemove()
{
    const GC_SceneItemRemoval::Outcome outcome = GC_SceneItemRemoval(this).removeSelected();
    if (outcome.changed)
        setModified(true);
    if (outcome.geneRemoved)
        emit coverageCalculateRequest();
}

// ---------------------------------------------------------------- expand and shrink

void GC_GenomeScene::postZoomKey(int key, const QString &noneText, const QString &singleText)
{
    const QList<QGraphicsItem *> selected = selectedItems();
    if (selected.isEmpty()) {
        warnClose("No items", noneText);
        return;
    }
    if (selected.size() > 1 || selected.first()->type() != ITEMTYPE_GENOME) {
        warnClose("Error", singleText);
        return;
    }
    // Delivered like a typed key, to the item with keyboard focus.
    QCoreApplication::postEvent(
        this, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(), true, 1));
}

void GC_GenomeScene::slotExpandGenome()
{
    postZoomKey(Qt::Key_Plus, "Please select a genome to expand\n",
                "Please select a single genome to expand\n");
}

void GC_GenomeScene::slotShrinkGenome()
{
    postZoomKey(Qt::Key_Minus, "Please select a genome to shrink\n",
                "Please select a single genome to shrink\n");
}

// ---------------------------------------------------------------- genome commands

void GC_GenomeScene::slotGenomeAddAnotation()
{
    auto *genome = static_cast<GC_Genome *>(singleSelectedItem(ITEMTYPE_GENOME));
    if (!genome)
        return;
    auto *anotation = new GC_Anotation;
    genome->addAnotation(anotation);
    const double x = genome->mapFromScene(m_lastContextPos).x();
    // Thirty pixels around the click, but never below nucleotide 1 (a click
    // near the start would reach there): no writer stores such a coordinate.
    const int a = std::max(1, int(genome->xToNuc(x - 15.0)));
    const int b = std::max(1, int(genome->xToNuc(x + 15.0)));
    anotation->setCoords(GC_Interval(a, b));
    anotation->setName(QString("Anotation : %1").arg(genome->getName()));
    anotation->updateGeometry();
    setModified(true);
    emit anotationAdded();
}

void GC_GenomeScene::slotGenomeClone()
{
    auto *genome = static_cast<GC_Genome *>(singleSelectedItem(ITEMTYPE_GENOME));
    if (!genome)
        return;
    genome->duplicate();
    setModified(true);
}

void GC_GenomeScene::cutShownRange(bool fromStart)
{
    auto *genome = static_cast<GC_Genome *>(singleSelectedItem(ITEMTYPE_GENOME));
    if (!genome)
        return;
    // The range never grows here, nor reaches below nucleotide 1.
    const GC_Interval shown = genome->getCoords();
    const int n = std::clamp(int(genome->xToNuc(genome->mapFromScene(m_lastContextPos).x())),
                             shown.start(), shown.end());
    // The clicked nucleotide becomes the left (or right) end as drawn; the
    // genome asks the coverage panel to recompute when genes drop out.
    if (fromStart == (genome->getOrientation() == -1))
        genome->setNucTo(n);
    else
        genome->setNucFrom(n);
    itemChanged();
}

void GC_GenomeScene::slotGenomeSetLeftmost()
{
    cutShownRange(true);
}

void GC_GenomeScene::slotGenomeSetRightmost()
{
    cutShownRange(false);
}

void GC_GenomeScene::slotGenomeCoverage()
{
    if (auto *genome = static_cast<GC_Genome *>(singleSelectedItem(ITEMTYPE_GENOME)))
        emit coverageRequested(genome);
}

namespace {

QList<GC_Genome *> selectedGenomes(const GC_GenomeScene &scene)
{
    QList<GC_Genome *> result;
    for (QGraphicsItem *item : scene.selectedItemsOfType(ITEMTYPE_GENOME))
        result.append(static_cast<GC_Genome *>(item));
    return result;
}

} // namespace

void GC_GenomeScene::slotGenomeToggleOrientation()
{
    for (GC_Genome *genome : selectedGenomes(*this))
        genome->reverse();
    itemChanged();
}

void GC_GenomeScene::slotGenomeToggleAnotations()
{
    for (GC_Genome *genome : selectedGenomes(*this))
        genome->setShowAnotations(!genome->getShowAnotations());
    itemChanged();
}

void GC_GenomeScene::slotGenomeToggleGenes()
{
    for (GC_Genome *genome : selectedGenomes(*this))
        genome->setShowGenes(!genome->getShowGenes());
    itemChanged();
}

void GC_GenomeScene::slotGenomeToggleRuler()
{
    for (GC_Genome *genome : selectedGenomes(*this))
        genome->setShowRuler(!genome->getShowRuler());
    itemChanged();
}

void GC_GenomeScene::slotGenomeToggleMatchings()
{
    for (GC_Genome *genome : selectedGenomes(*this))
        genome->setShowMatchings(!genome->getShowMatchings());
    itemChanged();
}

void GC_GenomeScene::slotGenomeToggleLabel()
{
    for (GC_Genome *genome : selectedGenomes(*this))
        genome->setShowText(!genome->getShowText());
    itemChanged();
}

void GC_GenomeScene::slotGenomeToggleGCcontentBars()
{
    for (GC_Genome *genome : selectedGenomes(*this)) {
        qCDebug(lcKestal) << "Toggling value of genome->showGC() ";
        genome->setShowGCcontent(!genome->getShowGCcontent());
        placeWithoutCollision(genome->getGCcontentBar());
    }
    itemChanged();
}

void GC_GenomeScene::slotGeneToggleOrientation()
{
    for (QGraphicsItem *item : selectedItemsOfType(ITEMTYPE_GENE))
        static_cast<GC_Gene *>(item)->invertOrientation();
    itemChanged();
}

void GC_GenomeScene::slotRulerToggleOrientation()
{
    for (QGraphicsItem *item : selectedItems())
        if (item->type() == ITEMTYPE_RULER)
            static_cast<GC_Ruler *>(item)->flipSide();
    itemChanged();
}

// ---------------------------------------------------------------- homology bars

void GC_GenomeScene::slotGenomeShowCogMatchings() { m_homologyDialogs->toggleHomologyBar(GC_GenomeSource::Cog); }
void GC_GenomeScene::slotGenomeShowRfamMatchings() { m_homologyDialogs->toggleHomologyBar(GC_GenomeSource::Rfam); }
void GC_GenomeScene::slotGenomeShowrRNAMatchings() { m_homologyDialogs->toggleHomologyBar(GC_GenomeSource::Rrna); }
void GC_GenomeScene::slotGenomeShowHideCogMatchings(bool show) { m_homologyDialogs->showHideHomologyBar(GC_GenomeSource::Cog, show); }
void GC_GenomeScene::slotGenomeShowHideRfamMatchings(bool show) { m_homologyDialogs->showHideHomologyBar(GC_GenomeSource::Rfam, show); }
void GC_GenomeScene::slotGenomeShowHiderRNAMatchings(bool show) { m_homologyDialogs->showHideHomologyBar(GC_GenomeSource::Rrna, show); }
void GC_GenomeScene::slotGenomeTblastnCog() { m_homologyDialogs->searchHomologies(GC_GenomeSource::Cog); }
void GC_GenomeScene::slotGenomeBlastnRfam() { m_homologyDialogs->searchHomologies(GC_GenomeSource::Rfam); }
void GC_GenomeScene::slotGenomeBlastnrRNA() { m_homologyDialogs->searchHomologies(GC_GenomeSource::Rrna); }

GC_CogPieDialog *GC_GenomeScene::cogPieDialog() const
{
    return m_homologyDialogs->cogPieDialog();
}

void GC_GenomeScene::slotCogHomologiesStatistics()
{
    m_homologyDialogs->showCogStatistics();
}

void GC_GenomeScene::slotRfamHomologiesStatistics()
{
    qCDebug(lcKestal, "slotCogHomologiesStatistics");
}

// ---------------------------------------------------------------- text and style

void GC_GenomeScene::slotSceneAddFreeText()
{
    addFreeText(m_lastContextPos, nullptr);
}

void GC_GenomeScene::slotApplyStyle(const GC_Style &style, bool forced, bool allItems,
                                    bool childItems)
{
    // The items take the record unforced: what a forced apply may change is
    // settled here, once, in the flags.
    const GC_Style applied = style.applicable(forced);
    if (allItems) {
        for (GC_Genome *genome : genomes())
            genome->setStyle(applied, false, true);
        if (applied.applySceneMargin)
            setMargin(applied.sceneMargin);
        if (applied.applySceneSeparationBetweenGenomes)
            setSeparationBetweenGenomes(applied.sceneSeparationBetweenGenomes);
        itemChanged();
        return;
    }
    // Take the selection first: a style may move items in or out of it. An
    // item picked up with its label is styled once.
    const QList<QGraphicsItem *> selected = selectedItems();
    QSet<QGraphicsItem *> styled;
    for (QGraphicsItem *picked : selected) {
        QGraphicsItem *item = gc_namedItem(picked);
        if (styled.contains(item))
            continue;
        styled.insert(item);
        switch (item->type()) {
        case ITEMTYPE_MATCHING:
            static_cast<GC_GenomeMatching *>(item)->applyStyle(applied, false);
            break;
        case ITEMTYPE_GENOME:
            static_cast<GC_Genome *>(item)->setStyle(applied, false, childItems);
            break;
        case ITEMTYPE_GENE:
            static_cast<GC_Gene *>(item)->applyStyle(applied, false);
            break;
        case ITEMTYPE_RULER:
            static_cast<GC_Ruler *>(item)->applyStyle(applied, false);
            break;
        case ITEMTYPE_ANOTATION:
            static_cast<GC_Anotation *>(item)->applyStyle(applied, false);
            break;
        case ITEMTYPE_FREETEXT:
            static_cast<GC_FreeText *>(item)->setStyle(applied, false);
            break;
        default:
            break;
        }
    }
    if (!selected.isEmpty())
        itemChanged();
}

// ---------------------------------------------------------------- web BLAST and clipboard

void GC_GenomeScene::slotGenomeCopySequenceToClipboard()
{
    if (auto *genome = static_cast<GC_Genome *>(singleSelectedItem(ITEMTYPE_GENOME)))
        GC_WebBlastLink::copyToClipboard(genome->getDnaSequence(GC_Interval()));
}

static QString geneSequence(const GC_Gene *gene)
{
    const GC_Genome *genome = gene->getGenome();
    return genome ? genome->getDnaSequence(gene->getCoords()) : QString();
}

void GC_GenomeScene::slotGeneBlastN()
{
    if (auto *gene = static_cast<GC_Gene *>(singleSelectedItem(ITEMTYPE_GENE)))
        GC_WebBlastLink::open(GC_WebBlastLink::BlastN, geneSequence(gene));
}

void GC_GenomeScene::slotGeneBlastX()
{
    if (auto *gene = static_cast<GC_Gene *>(singleSelectedItem(ITEMTYPE_GENE)))
        GC_WebBlastLink::open(GC_WebBlastLink::BlastX, geneSequence(gene));
}

void GC_GenomeScene::slotGeneCopySequenceToClipboard()
{
    if (auto *gene = static_cast<GC_Gene *>(singleSelectedItem(ITEMTYPE_GENE)))
        GC_WebBlastLink::copyToClipboard(geneSequence(gene));
}

void GC_GenomeScene::slotAnotationCopySequenceToClipboard()
{
    auto *anotation = static_cast<GC_Anotation *>(singleSelectedItem(ITEMTYPE_ANOTATION));
    if (!anotation)
        return;
    const GC_Genome *genome = anotation->getGenome();
    GC_WebBlastLink::copyToClipboard(genome ? genome->getDnaSequence(anotation->getCoords())
                                            : QString());
}

void GC_GenomeScene::blastMatchingSection(bool upper, int program)
{
    auto *matching = static_cast<GC_GenomeMatching *>(singleSelectedItem(ITEMTYPE_MATCHING));
    if (!matching)
        return;
    const QString sequence = upper ? GC_WebBlastLink::upperSection(matching)
                                   : GC_WebBlastLink::lowerSection(matching);
    if (program < 0)
        GC_WebBlastLink::copyToClipboard(sequence);
    else
        GC_WebBlastLink::open(GC_WebBlastLink::Program(program), sequence);
}

void GC_GenomeScene::slotMatchingTopBlastN() { blastMatchingSection(true, GC_WebBlastLink::BlastN); }
void GC_GenomeScene::slotMatchingTopBlastX() { blastMatchingSection(true, GC_WebBlastLink::BlastX); }
void GC_GenomeScene::slotMatchingTopCopySequenceToClipboard() { blastMatchingSection(true, -1); }
void GC_GenomeScene::slotMatchingLowBlastN() { blastMatchingSection(false, GC_WebBlastLink::BlastN); }
void GC_GenomeScene::slotMatchingLowBlastX() { blastMatchingSection(false, GC_WebBlastLink::BlastX); }
void GC_GenomeScene::slotMatchingLowCopySequenceToClipboard() { blastMatchingSection(false, -1); }

// ---------------------------------------------------------------- image export

bool GC_GenomeScene::exportImage(QString &fileName, const QString &format, bool wholeScene,
                                 bool antialiasing)
{
    GC_SceneImageRenderer renderer(this, firstView());
    if (renderer.render(fileName, format, wholeScene, antialiasing))
        return true;
    m_lastErrorText = renderer.errorText();
    qCDebug(lcKestal).noquote() << "GC_GenomeScene::exportImage(): " << m_lastErrorText;
    return false;
}
