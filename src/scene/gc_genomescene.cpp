#include "gc_genomescene.h"

#include "gc_fileutils.h"
#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_legend.h"

#include <QDebug>
#include <QDir>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlError>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The temporary comparison database that the match-sequence comparison builds.
QString temporaryComparisonPath()
{
    return GC_FileUtils::tempCanvasPath();
}

// Y of the rows after a layout.
const double LowRowYWidth = 300.0;
const double LowRowYProportional = 600.0;

} // namespace

GC_GenomeScene::GC_GenomeScene(QWidget *mainWindow)
    : QGraphicsScene(mainWindow)
    , m_mainWindow(mainWindow)
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
    // The base class deletes the items afterwards, in no particular order.
    detachAllMatchings();
    clearLists();
}

void GC_GenomeScene::setModified(bool value)
{
    if (value && m_loading > 0)
        return;
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
    qDebug() << "Mode: " << mode;
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

GC_Genome *GC_GenomeScene::addGenome()
{
    return addGenome(temporaryComparisonPath());
}

GC_Genome *GC_GenomeScene::addGenome(const QString &databasePath)
{
    const QString connectionName = "tmpDb";
    GC_Genome *genome = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
        db.setDatabaseName(databasePath);
        // Read-only: a missing file must not be created empty.
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
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
                qWarning() << "GC_GenomeScene::addGenome(): " << query.lastError().text();
            }
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    setSceneRect(QRectF());
    return genome;
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
}

// Matchings refer to genomes; unhooking them before the toolkit deletes the
// items means no matching reaches a genome deleted before it.
void GC_GenomeScene::detachAllMatchings()
{
    for (GC_GenomeMatching *matching : matchings())
        matching->detachFromGenomes();
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
    clearLists();
    clear();
    --m_loading;
    setSceneRect(QRectF());
    m_fileName.clear();
    m_lastErrorText.clear();
    setModified(false);
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
    setSceneRect(QRectF());
}

// Packs a row from the left margin, one scale for all.
void GC_GenomeScene::placeRow(const QList<GC_Genome *> &row, double pixPerNuc, double y)
{
    double x = m_margin;
    for (GC_Genome *genome : row) {
        genome->setPixPerNuc(pixPerNuc);
        genome->setPos(x, y);
        x = genome->getSceneRightX() + m_separationBetweenGenomes;
    }
}

// Spreads a row over the width it would fill at its own scale, centring each
// genome in its share.
void GC_GenomeScene::spreadRow(const QList<GC_Genome *> &row, double pixPerNuc, double y,
                               double available, qint64 rowLength)
{
    double x = m_margin;
    for (GC_Genome *genome : row) {
        const double n = genome->getCoords().length();
        const double pad = (available * n / rowLength - pixPerNuc * n) / 2.0;
        genome->setPixPerNuc(pixPerNuc);
        genome->setPos(x + pad, y);
        x = genome->getSceneRightX() + pad + m_separationBetweenGenomes;
    }
}

void GC_GenomeScene::slotViewAdjustToWidth()
{
    QGraphicsView *view = firstView();
    if (!view)
        return;
    slotSceneShowAllGenomes();
    const double width = view->viewport()->width();
    const qint64 topLength = topGenomesLength();
    const qint64 lowLength = lowGenomesLength();
    const qsizetype topCount = m_topGenomes.size();
    const qsizetype lowCount = m_lowGenomes.size();

    if (topCount == 1 && lowCount == 0) {
        GC_Genome *genome = m_topGenomes.first();
        genome->setPixPerNuc((width - 2.0 * m_margin) / topLength);
        genome->setPos(m_margin, 0.0);
    } else {
        if (topLength > 0) {
            const double pixPerNuc
                = (width - (m_separationBetweenGenomes * (topCount - 1) + 2.0 * m_margin))
                / topLength;
            placeRow(m_topGenomes, pixPerNuc, 0.0);
        }
        if (lowLength > 0) {
            const double pixPerNuc
                = (width - (2.0 * m_margin + m_separationBetweenGenomes * (lowCount - 1)))
                / lowLength;
            placeRow(m_lowGenomes, pixPerNuc, LowRowYWidth);
        }
    }
    setSceneRect(QRectF());
    if (topCount + lowCount > 0)
        setModified(true);
}

void GC_GenomeScene::slotViewAdjustProportional()
{
    QGraphicsView *view = firstView();
    if (!view)
        return;
    if (m_topGenomes.size() == 1 && m_lowGenomes.isEmpty()) {
        slotViewAdjustToWidth();
        return;
    }
    slotSceneShowAllGenomes();
    const double width = view->viewport()->width();
    const qint64 topLength = topGenomesLength();
    const qint64 lowLength = lowGenomesLength();
    const double topGaps = m_separationBetweenGenomes * (m_topGenomes.size() - 1);
    const double lowGaps = m_separationBetweenGenomes * (m_lowGenomes.size() - 1);
    const double topAvailable = width - (2.0 * m_margin + topGaps);
    const double lowAvailable = width - (2.0 * m_margin + lowGaps);

    // One scale for both rows; an empty row does not limit it.
    double pixPerNuc = std::numeric_limits<double>::infinity();
    if (topLength > 0)
        pixPerNuc = topAvailable / topLength;
    if (lowLength > 0)
        pixPerNuc = std::min(pixPerNuc, lowAvailable / lowLength);
    if (!std::isfinite(pixPerNuc))
        return;

    if (pixPerNuc * topLength + topGaps <= pixPerNuc * lowLength + lowGaps) {
        if (topLength > 0)
            spreadRow(m_topGenomes, pixPerNuc, 0.0, topAvailable, topLength);
        placeRow(m_lowGenomes, pixPerNuc, LowRowYProportional);
    } else {
        placeRow(m_topGenomes, pixPerNuc, 0.0);
        if (lowLength > 0)
            spreadRow(m_lowGenomes, pixPerNuc, LowRowYProportional, lowAvailable, lowLength);
    }
    setSceneRect(QRectF());
    setModified(true);
}

void GC_GenomeScene::slotViewAdjustMatchingToView(GC_GenomeMatching *matching)
{
    QGraphicsView *view = firstView();
    if (!view || !matching || !matching->topGenome() || !matching->lowGenome())
        return;
    for (GC_Genome *genome : genomes())
        genome->setVisibleGenome(false);
    GC_Genome *top = matching->topGenome();
    GC_Genome *low = matching->lowGenome();
    top->setVisibleGenome(true);
    low->setVisibleGenome(true);
    matching->setSelected(true);

    const double available = view->viewport()->width() - 2.0 * m_margin;
    top->setPixPerNuc(available / matching->topCoords().length());
    low->setPixPerNuc(available / matching->lowCoords().length());
    matching->adjustGenomesToMatching(m_margin + view->mapToScene(QPoint(0, 0)).x());
    view->centerOn(matching);
    setSceneRect(QRectF());
    setModified(true);
}

void GC_GenomeScene::placeWithoutCollision(QGraphicsItem *item)
{
    if (!item)
        return;
    int bestCount = 9999999;
    double bestY = 0.0;
    for (int y = -80; y <= 80; y += 10) {
        item->setY(y);
        const int count = int(collidingItems(item, Qt::IntersectsItemShape).size());
        if (count < bestCount) {
            bestCount = count;
            bestY = y;
        }
    }
    item->setY(bestY);
}

// ---------------------------------------------------------------------------
// Mouse

void GC_GenomeScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QGraphicsItem *grabber = mouseGrabberItem();
        if (grabber && (grabber->flags() & QGraphicsItem::ItemIsMovable)
            && event->scenePos() != event->buttonDownScenePos(Qt::LeftButton))
            setModified(true);
    }
    QGraphicsScene::mouseReleaseEvent(event);
}
