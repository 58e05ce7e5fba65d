#include "gc_genome.h"

#include "gc_anotation.h"
#include "gc_coghomologies.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genomelengthcontrolpoint.h"
#include "gc_genomematching.h"
#include "gc_genomerows.h"
#include "gc_genomescene.h"
#include "gc_genomesource.h"
#include "gc_genometext.h"
#include "gc_log.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_ruler.h"
#include "gc_coveragecalculator.h"
#include "gc_style.h"
#include "gc_userreach.h"

#include <QFileInfo>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>

int GC_Genome::genomeIdCounter = 0;

GC_Genome::GC_Genome()
    : GC_SequenceArrowItem(nullptr)
{
    nameLabel = new GC_GenomeText(this);
    ruler = new GC_Ruler();
    ruler->setParentItem(this);
    gcContentBar = new GC_GCcontentBar();
    gcContentBar->setParentItem(this);
    cogHomologies = new GC_CogHomologies();
    cogHomologies->setParentItem(this);
    rfamHomologies = new GC_RfamHomologies();
    rfamHomologies->setParentItem(this);
    rRNAHomologies = new GC_rRNAHomologies();
    rRNAHomologies->setParentItem(this);

    setFillColor(QColor(24, 116, 205));
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemUsesExtendedStyleOption
             | ItemSendsGeometryChanges);
    id = genomeIdCounter++;
    setName(QString());
    setDnaSequence(QString());
    // The other switches start at their defaults; the children read them
    // when they re-evaluate their visibility in a scene.
    ruler->setVisible(showRuler);
    gcContentBar->setVisible(showGCcontent);
    cogHomologies->setVisible(false);
    rfamHomologies->setVisible(false);
    rRNAHomologies->setVisible(false);
    nameLabel->setColor(Qt::black);
    nameLabel->setFont(QFont());
    nameLabel->setPositionFlag(0);
    nameLabel->setAngle(0.0);
    setTextY(0.0);
    updateTextPosition();
    GC_SequenceArrowItem::setHeightBig(5.0);
    setHeadLength(3.0);
    GC_SequenceArrowItem::setHeightSmall(4.0);
    setZValue(1.0);
}

GC_Genome::GC_Genome(const GC_Genome &other)
    : GC_SequenceArrowItem(other)
{
    nameLabel = new GC_GenomeText(this);
    ruler = new GC_Ruler(*other.ruler);
    ruler->setParentItem(this);
    // The bar keeps its settings; its counts come from this genome.
    gcContentBar = new GC_GCcontentBar(*other.gcContentBar);
    gcContentBar->setParentItem(this);
    cogHomologies = new GC_CogHomologies();
    cogHomologies->setParentItem(this);
    rfamHomologies = new GC_RfamHomologies();
    rfamHomologies->setParentItem(this);
    rRNAHomologies = new GC_rRNAHomologies();
    rRNAHomologies->setParentItem(this);

    setFlags(other.flags());
    gcContent = other.gcContent;
    id = other.id;
    placement = 0;

    setName(other.getName());
    setCoords(other.coords);
    setOrientation(other.orientation);
    setPixPerNuc(other.pixPerNuc);
    stored = GC_StoredHitShares(other.getDatabase(), other.getDatabaseId());
    setDnaSequence(other.getDnaSequence());

    setShowGenes(other.showGenes);
    setShowAnotations(other.showAnotations);
    setShowMatchings(other.showMatchings);
    setShowRuler(other.showRuler);
    setShowGCcontent(other.showGCcontent);
    setShowCogHomologies(other.showCogHomologies);
    setShowRfamHomologies(other.showRfamHomologies);
    setShowrRNAHomologies(other.showrRNAHomologies);
    setShowText(other.showText);
    // Outside a scene the children cannot ask it; start them as the switches say.
    ruler->setVisible(showRuler);
    gcContentBar->setVisible(showGCcontent);
    cogHomologies->setVisible(false);
    rfamHomologies->setVisible(false);
    rRNAHomologies->setVisible(false);

    setTextColor(other.getTextColor());
    setTextFont(other.getTextFont());
    setTextX(other.textX);
    setTextY(other.getTextY());
    setTextAngle(other.getTextAngle());
    setTextPositionFlag(other.getTextPositionFlag());
    updateTextPosition();

    genes.reserve(other.genes.size());
    for (const GC_Gene *gene : other.genes)
        addGene(new GC_Gene(*gene));
    anotations.reserve(other.anotations.size());
    for (const GC_Anotation *anotation : other.anotations)
        addAnotation(new GC_Anotation(*anotation));

    setZValue(1.0);
}

void GC_Genome::setStyle(const GC_Style &style, bool force, bool children)
{
    if (force || style.applyGenomeX)
        setX(style.genomeX);
    if (force || style.applyGenomeY)
        setY(style.genomeY);
    if (force || style.applyGenomeOrientation)
        setOrientation(style.genomeOrientation);
    if (force || style.applyGenomePixPerNuc)
        setPixPerNuc(style.genomePixPerNuc); // a scale of 0 is refused
    if (force || style.applyGenomeShowGenes)
        setShowGenes(style.genomeShowGenes);
    if (force || style.applyGenomeShowAnotations)
        setShowAnotations(style.genomeShowAnotations);
    if (force || style.applyGenomeShowMatchings)
        setShowMatchings(style.genomeShowMatchings);
    if (force || style.applyGenomeShowRuler)
        setShowRuler(style.genomeShowRuler);
    if (force || style.applyGenomeShowText)
        setShowText(style.genomeShowText);
    if (force || style.applyGenomeTextColor)
        setTextColor(style.genomeTextColor);
    if (force || style.applyGenomeTextFont)
        setTextFont(style.genomeTextFont);
    if (force || style.applyGenomeTextX)
        setTextX(style.genomeTextX);
    if (force || style.applyGenomeTextY)
        setTextY(style.genomeTextY);
    if (force || style.applyGenomeTextAngle)
        setTextAngle(style.genomeTextAngle);
    if (force || style.applyGenomeTextPositionFlag)
        setTextPositionFlag(style.genomeTextPositionFlag);
    if (force || style.applyGenomeHeightBig)
        setHeightBig(style.genomeHeightBig);
    if (force || style.applyGenomeHeightSmall)
        setHeightSmall(style.genomeHeightSmall);
    if (force || style.applyGenomeHeadLength)
        setHeadLength(style.genomeHeadLength);
    if (force || style.applyGenomeLineColor)
        setLineColor(style.genomeLineColor);
    if (force || style.applyGenomeFillColor)
        setFillColor(style.genomeFillColor);
    if (force || style.applyGenomeArrowStyle)
        setArrowStyle(style.genomeArrowStyle);
    if (!children)
        return;
    for (GC_Gene *gene : std::as_const(genes))
        gene->applyStyle(style, force);
    for (GC_Anotation *anotation : std::as_const(anotations))
        anotation->applyStyle(style, force);
    for (GC_GenomeMatching *matching : std::as_const(matchings))
        matching->applyStyle(style, force);
    ruler->applyStyle(style, force);
}

GC_Genome *GC_Genome::duplicate()
{
    GC_GenomeScene *owner = genomeScene();
    if (!owner)
        return nullptr;
    auto *copy = new GC_Genome(*this);
    copy->setPos(pos() + QPointF(20.0, 20.0));
    owner->addItem(copy);

    // Each copied band joins the copy on this genome's side and keeps its
    // other genome; it takes a fresh id of its own.
    const QList<GC_GenomeMatching *> current = matchings;
    for (GC_GenomeMatching *matching : current) {
        auto *band = new GC_GenomeMatching(*matching);
        band->setId(GC_GenomeMatching::nextId);
        const bool onTop = matching->topGenome() == this;
        band->setTopGenome(onTop ? copy : matching->topGenome());
        band->setLowGenome(onTop && matching->lowGenome() != this ? matching->lowGenome() : copy);
        owner->insertMatching(band);
        owner->addItem(band);
    }

    if (owner->isTopGenome(this))
        owner->insertTopGenome(copy);
    else
        owner->insertLowGenome(copy);

    // New to the scene's rows and to the process: a genome made later (which
    // takes the counter) can never repeat it.
    const int newId = std::max(owner->maxGenomeId() + 1, genomeIdCounter);
    copy->id = newId;
    genomeIdCounter = std::max(genomeIdCounter, newId + 1);

    copy->updateChildren();
    owner->setModified(true);
    return copy;
}

GC_Genome::~GC_Genome()
{
    // Children go with the item; matchings belong to the scene, and whoever
    // deletes a genome takes its matchings out first.
}

GC_GenomeScene *GC_Genome::genomeScene() const
{
    return qobject_cast<GC_GenomeScene *>(scene());
}

QString GC_Genome::getName() const
{
    return nameLabel->text();
}

void GC_Genome::setName(const QString &name)
{
    nameLabel->setText(name);
    setToolTip(name);
}

// ---------------------------------------------------------------- arrow

void GC_Genome::setHeightBig(qreal h)
{
    if ((h < 0 ? 0 : h) == heightBig)
        return;
    GC_SequenceArrowItem::setHeightBig(h);
    for (GC_GenomeMatching *matching : std::as_const(matchings))
        matching->updateGeometry();
}

void GC_Genome::setHeightSmall(qreal h)
{
    const qreal old = heightSmall;
    GC_SequenceArrowItem::setHeightSmall(h);
    if (heightSmall == old)
        return;
    for (GC_GenomeMatching *matching : std::as_const(matchings))
        matching->updateGeometry();
}

void GC_Genome::arrowStyleChanged()
{
    // Bands meet the arrow at its body or head height, by style.
    for (GC_GenomeMatching *matching : std::as_const(matchings))
        matching->updateGeometry();
}

// ---------------------------------------------------------------- range

void GC_Genome::prepareChildrenGeometryChange()
{
    ruler->prepareGeometryChange();
    gcContentBar->prepareGeometryChange();
    cogHomologies->prepareGeometryChange();
    rfamHomologies->prepareGeometryChange();
    rRNAHomologies->prepareGeometryChange();
}

void GC_Genome::updateDependentGeometry()
{
    for (GC_Gene *gene : std::as_const(genes))
        gene->updateGeometry();
    for (GC_Anotation *anotation : std::as_const(anotations))
        anotation->updateGeometry();
    for (GC_GenomeMatching *matching : std::as_const(matchings))
        matching->updateGeometry();
}

void GC_Genome::setCoords(const GC_Interval &range)
{
    qCDebug(lcKestal).noquote() << QStringLiteral("GC_Genome::setCoords(): %1, %2").arg(range.start()).arg(range.end());
    if (range == coords)
        return;
    prepareGeometryChange();
    invalidateShape();
    coords = range;
    const qsizetype genesBefore = genes.size();

    // Genes and annotations wholly outside the new range go; one pass each.
    QList<GC_Gene *> keptGenes;
    keptGenes.reserve(genes.size());
    for (GC_Gene *gene : std::as_const(genes)) {
        if (gene->getCoords().overlaps(range))
            keptGenes.append(gene);
        else
            delete gene;
    }
    genes.swap(keptGenes);

    QList<GC_Anotation *> keptAnotations;
    keptAnotations.reserve(anotations.size());
    for (GC_Anotation *anotation : std::as_const(anotations)) {
        if (anotation->getCoords().overlaps(range))
            keptAnotations.append(anotation);
        else
            delete anotation;
    }
    anotations.swap(keptAnotations);

    // Matchings outside the range leave this genome, the other genome and
    // the scene's list (by pointer: ids can repeat), then are deleted. A
    // genome not yet in a scene cannot reach the scene's list, so there the
    // matching is only detached from both genomes and left to its owner.
    GC_GenomeScene *owner = genomeScene();
    const QList<GC_GenomeMatching *> current = matchings;
    QList<GC_GenomeMatching *> dropped;
    for (GC_GenomeMatching *matching : current) {
        if (matching->coordsOn(this).overlaps(range))
            continue;
        qCDebug(lcKestal, "Deleting matching id: %d", matching->id());
        matching->detachFromGenomes();
        removeMatching(matching);
        if (owner) {
            owner->removeMatching(matching);
            dropped.append(matching);
        }
    }
    GC_GenomeMatching::deleteMatchings(dropped);

    prepareChildrenGeometryChange();
    updateDependentGeometry();
    updateTextPosition();

    // Lists of genes held elsewhere (the coverage panel) must not outlive them.
    if (owner && genes.size() != genesBefore)
        emit owner->coverageCalculateRequest();
}

void GC_Genome::setNucFrom(int n)
{
    if (orientation == 1)
        moveBy(nucStartX(n), 0.0);
    setCoords(GC_Interval(n, coords.end()));
}

void GC_Genome::setNucTo(int n)
{
    if (orientation == -1)
        moveBy(nucEndX(n), 0.0);
    setCoords(GC_Interval(coords.start(), n));
}

void GC_Genome::setOrientation(int value)
{
    if (value == orientation)
        return;
    invalidateShape();
    orientation = value;
    prepareChildrenGeometryChange();
    updateDependentGeometry();
    updateTextPosition();
    update();
}

void GC_Genome::reverse()
{
    setOrientation(orientation == 1 ? -1 : 1);
}

bool GC_Genome::setPixPerNuc(double value)
{
    // A scale of zero, below zero or not finite would collapse the arrow and
    // send every mapping (and the ruler's tick loop) to infinity. Zooms and
    // handle drags stop at the panel's range, so every scale a user reaches
    // is one a canvas may store.
    if (!std::isfinite(value) || value <= 0.0)
        return false;
    value = std::clamp(value, GC_UserReach::minPixPerNuc, GC_UserReach::maxPixPerNuc);
    if (value == pixPerNuc)
        return true;
    prepareGeometryChange();
    invalidateShape();
    pixPerNuc = value;
    prepareChildrenGeometryChange();
    updateDependentGeometry();
    updateControlPoints();
    updateTextPosition();
    return true;
}

void GC_Genome::zoomIn(const QPointF &scenePoint)
{
    zoomBy(scenePoint, 1.2);
}

void GC_Genome::zoomOut(const QPointF &scenePoint)
{
    zoomBy(scenePoint, 1.0 / 1.2);
}

void GC_Genome::zoomBy(const QPointF &scenePoint, double factor)
{
    const double x = mapFromScene(scenePoint).x();
    const double n = xToNuc(x);
    if (!setPixPerNuc(pixPerNuc * factor))
        return;
    // A point far off a deeply zoomed genome lies beyond any nucleotide.
    const double d = nucToX(int(std::clamp(n, -2147483648.0, 2147483647.0))) - x;
    setX(this->x() - d);
    if (GC_GenomeScene *owner = genomeScene()) {
        owner->itemChanged();
        owner->fitSceneRectToItems();
    }
}

// ---------------------------------------------------------------- mapping

double GC_Genome::xToNuc(double x) const
{
    if (orientation == 1)
        return x / pixPerNuc + coords.start() - 0.5;
    return coords.end() + 0.5 - x / pixPerNuc;
}

double GC_Genome::nucToX(int n) const
{
    if (orientation == 1)
        return (0.5 + (double(n) - coords.start())) * pixPerNuc;
    return (0.5 + (double(coords.end()) - n)) * pixPerNuc;
}

double GC_Genome::nucStartX(int n) const
{
    return orientation == 1 ? nucToX(n) - 0.5 * pixPerNuc : nucToX(n) + 0.5 * pixPerNuc;
}

double GC_Genome::nucEndX(int n) const
{
    return orientation == 1 ? nucToX(n) + 0.5 * pixPerNuc : nucToX(n) - 0.5 * pixPerNuc;
}

QPointF GC_Genome::getNucStartScenePoint(int n, bool lower) const
{
    const double half = (arrowStyle == 1 ? heightSmall : heightBig) / 2.0;
    return mapToScene(QPointF(nucStartX(n), lower ? half : -half));
}

QPointF GC_Genome::getNucEndScenePoint(int n, bool lower) const
{
    const double half = (arrowStyle == 1 ? heightSmall : heightBig) / 2.0;
    return mapToScene(QPointF(nucEndX(n), lower ? half : -half));
}

double GC_Genome::getSceneRightX() const
{
    return mapToScene(QPointF(boundingRect().right(), 0.0)).x();
}

void GC_Genome::moveRangeTo(double x, int from, int to)
{
    const double offset = orientation == 1 ? nucStartX(from) : nucEndX(to);
    setX(x - offset);
}

// Without a view the whole genome counts as visible.
double GC_Genome::getVisibleLeftX() const
{
    if (!scene() || scene()->views().isEmpty())
        return 0.0;
    const QGraphicsView *view = scene()->views().first();
    const float left = float(view->mapToScene(QPoint(0, 0)).x() - x());
    return left < 0.0f ? 0.0 : double(left);
}

double GC_Genome::getVisibleRightX() const
{
    const double rightEnd = boundingRect().right();
    if (!scene() || scene()->views().isEmpty())
        return rightEnd;
    const QGraphicsView *view = scene()->views().first();
    const float right =
        float(view->mapToScene(QPoint(view->viewport()->width(), 0)).x() - x());
    return std::min(double(right), rightEnd);
}

int GC_Genome::getVisibleLeftNuc() const
{
    return int(std::ceil(xToNuc(getVisibleLeftX())));
}

int GC_Genome::getVisibleRightNuc() const
{
    return int(std::ceil(xToNuc(getVisibleRightX())));
}

// ---------------------------------------------------------------- counts

// The hits held in memory by each homology bar.
int GC_Genome::countCogMatchings() const
{
    return int(cogHomologies->matchings().size());
}

int GC_Genome::countRfamMatchings() const
{
    return int(rfamHomologies->matchings().size());
}

int GC_Genome::countrRNAMatchings() const
{
    return int(rRNAHomologies->matchings().size());
}

// ---------------------------------------------------------------- lists

void GC_Genome::addGene(GC_Gene *gene)
{
    if (!gene)
        return;
    genes.append(gene);
    gene->setParentItem(this);
    gene->updateGeometry();
}

void GC_Genome::removeGene(GC_Gene *gene)
{
    if (!gene)
        return;
    genes.removeOne(gene);
    delete gene;
}

void GC_Genome::addAnotation(GC_Anotation *anotation)
{
    if (!anotation)
        return;
    anotation->setParentItem(this);
    anotations.append(anotation);
    anotation->updateGeometry();
}

void GC_Genome::removeAnotation(GC_Anotation *anotation)
{
    if (!anotation)
        return;
    anotations.removeOne(anotation);
    delete anotation;
}

void GC_Genome::addMatching(GC_GenomeMatching *matching)
{
    if (!matching || matchingIndex.contains(matching))
        return;
    matchingIndex.insert(matching, matchings.size());
    matchings.append(matching);
}

void GC_Genome::removeMatching(GC_GenomeMatching *matching)
{
    if (!matching)
        return;
    auto it = matchingIndex.find(matching);
    if (it == matchingIndex.end())
        return;
    // Swap the last matching into the gap: O(1), order is not kept.
    const qsizetype index = it.value();
    matchingIndex.erase(it);
    GC_GenomeMatching *last = matchings.takeLast();
    if (last != matching) {
        matchings[index] = last;
        matchingIndex[last] = index;
    }
}

// ---------------------------------------------------------------- switches

void GC_Genome::setShowGenes(bool value)
{
    if (value == showGenes)
        return;
    showGenes = value;
    updateGenesVisibility();
}

void GC_Genome::setShowAnotations(bool value)
{
    if (value == showAnotations)
        return;
    showAnotations = value;
    updateAnotationsVisibility();
}

void GC_Genome::setShowMatchings(bool value)
{
    if (value == showMatchings)
        return;
    showMatchings = value;
    updateMatchingsVisibility();
}

void GC_Genome::setShowRuler(bool value)
{
    if (value == showRuler)
        return;
    showRuler = value;
    updateRulerVisibility();
}

void GC_Genome::setShowGCcontent(bool value)
{
    if (value == showGCcontent)
        return;
    showGCcontent = value;
    updateGCcontentVisibility();
}

void GC_Genome::setShowCogHomologies(bool value)
{
    if (value == showCogHomologies)
        return;
    showCogHomologies = value;
    updateCogHomologiesVisibility();
}

void GC_Genome::setShowRfamHomologies(bool value)
{
    if (value == showRfamHomologies)
        return;
    showRfamHomologies = value;
    updateRfamHomologiesVisibility();
}

void GC_Genome::setShowrRNAHomologies(bool value)
{
    qCDebug(lcKestal).noquote() << QStringLiteral("genome:setShowrRNAHomologies: %1")
                              .arg(value ? QLatin1String("true") : QLatin1String("false"));
    if (value == showrRNAHomologies)
        return;
    showrRNAHomologies = value;
    updaterRNAHomologiesVisibility();
}

void GC_Genome::setShowText(bool value)
{
    if (value == showText)
        return;
    showText = value;
    updateTextVisibility();
}

void GC_Genome::updateGenesVisibility()
{
    for (GC_Gene *gene : std::as_const(genes))
        gene->updateVisibility();
}

void GC_Genome::updateAnotationsVisibility()
{
    for (GC_Anotation *anotation : std::as_const(anotations))
        anotation->updateVisibility();
}

void GC_Genome::updateMatchingsVisibility()
{
    for (GC_GenomeMatching *matching : std::as_const(matchings))
        matching->updateVisibility();
}

void GC_Genome::updateRulerVisibility()
{
    ruler->updateVisibility();
}

void GC_Genome::updateGCcontentVisibility()
{
    gcContentBar->updateVisibility();
}

void GC_Genome::updateCogHomologiesVisibility()
{
    cogHomologies->updateVisibility();
}

void GC_Genome::updateRfamHomologiesVisibility()
{
    rfamHomologies->updateVisibility();
}

void GC_Genome::updaterRNAHomologiesVisibility()
{
    rRNAHomologies->updateVisibility();
}

void GC_Genome::updateTextVisibility()
{
    nameLabel->updateVisibility();
    for (GC_Anotation *anotation : std::as_const(anotations))
        anotation->updateTextVisibility();
}

void GC_Genome::setVisibleGenome(bool visible)
{
    if (visible == isVisible())
        return;
    setVisible(visible);
    updateMatchingsVisibility();
}

void GC_Genome::updateControlPointsVisibility()
{
    GC_GenomeScene *owner = genomeScene();
    if (!owner)
        return;
    if (leftHandle && rightHandle) {
        leftHandle->setVisible(owner->showControlPoints());
        rightHandle->setVisible(owner->showControlPoints());
    }
    for (GC_Anotation *anotation : std::as_const(anotations))
        anotation->updateControlPointsVisibility();
    for (GC_Gene *gene : std::as_const(genes))
        gene->updateControlPointsVisibility();
}

void GC_Genome::updateChildren()
{
    prepareChildrenGeometryChange();
    ruler->updateVisibility();
    gcContentBar->updateVisibility();
    cogHomologies->updateVisibility();
    rfamHomologies->updateVisibility();
    rRNAHomologies->updateVisibility();
    updateTextPosition();
    nameLabel->updateVisibility();
    for (GC_Anotation *anotation : std::as_const(anotations)) {
        anotation->updateGeometry();
        anotation->updateVisibility();
        anotation->updateTextVisibility();
    }
    for (GC_Gene *gene : std::as_const(genes)) {
        gene->updateGeometry();
        gene->updateVisibility();
    }
    for (GC_GenomeMatching *matching : std::as_const(matchings)) {
        matching->updateGeometry();
        matching->updateVisibility();
    }
}

// ---------------------------------------------------------------- label

void GC_Genome::setTextX(double value)
{
    if (value == textX)
        return;
    textX = value;
    updateTextPosition();
}

double GC_Genome::getTextY() const
{
    return nameLabel->y();
}

void GC_Genome::setTextY(double value)
{
    if (value == nameLabel->y())
        return;
    placingLabel = true;
    nameLabel->setY(value);
    placingLabel = false;
    updateTextPosition();
}

// textX is measured from the arrow's start: its left end forward, its right
// end in reverse. updateTextPosition and updateTextX are exact inverses, so
// the label keeps its place over any number of zooms.
void GC_Genome::updateTextX()
{
    if (placingLabel)
        return;
    const QRectF rect = boundingRect();
    if (rect.width() <= 0.0)
        return;
    const double labelX = nameLabel->x();
    textX = orientation == 1 ? (labelX - rect.left()) / rect.width()
                             : (rect.right() - labelX) / rect.width();
}

void GC_Genome::updateTextPosition()
{
    const QRectF rect = boundingRect();
    const double labelX = orientation == 1 ? rect.left() + textX * rect.width()
                                           : rect.right() - textX * rect.width();
    placingLabel = true;
    nameLabel->setX(labelX);
    placingLabel = false;
}

int GC_Genome::getTextPositionFlag() const
{
    return nameLabel->positionFlag();
}

void GC_Genome::setTextPositionFlag(int flag)
{
    nameLabel->setPositionFlag(flag);
}

double GC_Genome::getTextAngle() const
{
    return nameLabel->angle();
}

void GC_Genome::setTextAngle(double angle)
{
    nameLabel->setAngle(angle);
}

QColor GC_Genome::getTextColor() const
{
    return nameLabel->color();
}

void GC_Genome::setTextColor(const QColor &color)
{
    nameLabel->setColor(color);
}

QFont GC_Genome::getTextFont() const
{
    return nameLabel->font();
}

void GC_Genome::setTextFont(const QFont &font)
{
    nameLabel->setFont(font);
}

void GC_Genome::setTextFontFromString(const QString &description)
{
    nameLabel->setFontString(description);
}

// ---------------------------------------------------------------- sequence

void GC_Genome::setDnaSequence(const QString &sequence)
{
    // Sequences are ASCII letters: upper-cased and counted in one pass,
    // without the Unicode tables QString::toUpper() looks every letter up in.
    QString upper(sequence.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(upper.data());
    bool ascii = true;
    qint64 gc = 0;
    for (const QChar c : sequence) {
        char16_t u = c.unicode();
        ascii = ascii && u < 0x80;
        if (u >= 'a' && u <= 'z')
            u -= 'a' - 'A';
        gc += u == 'G' || u == 'C';
        *out++ = u;
    }
    dnaSequence = ascii && !sequence.isEmpty() ? upper : sequence.toUpper();
    gcContent = dnaSequence.isEmpty() ? std::numeric_limits<double>::quiet_NaN()
                                      : double(gc) / double(dnaSequence.size());
    if (gcContentBar)
        gcContentBar->sequenceChanged();
}

QString GC_Genome::getDnaSequence(const GC_Interval &range) const
{
    QString sequence = dnaSequence;
    if (sequence.isEmpty())
        sequence = GC_GenomeSource::readSequence(stored.readablePath(), getDatabaseId());
    if (range.isValid())
        return sequence.mid(range.startIndex(), range.length());
    return sequence;
}

// ---------------------------------------------------------------- layout

void GC_Genome::arrangeChildren(int placementValue)
{
    placement = placementValue;
    const double H = heightBig;
    const bool above = placementValue == 0;
    double y = above ? -(H * 0.5 + 3.0) : H * 0.5 + 3.0;
    if (genes.size() >= 2) {
        const double g = genes.first()->getHeightBig();
        y = above ? y - g * 0.5 : y + g * 0.5;
        for (GC_Gene *gene : std::as_const(genes))
            gene->setY(y);
        y = above ? y - (g * 0.5 + 3.0) : y + g * 0.5 + 3.0;
    }
    ruler->setOrientation(above ? 0 : 2);
    ruler->setTextPlacement(above ? 0 : 1);
    ruler->setY(y);
    gcContentBar->setY(y);
    gcContentBar->setPlacement(above ? 0 : 2);
    const double rulerHeight = ruler->boundingRect().height();
    const double labelHeight = nameLabel->boundingRect().height();
    placingLabel = true;
    if (above) {
        const double y2 = y - (3.0 + rulerHeight);
        nameLabel->setY(y2 - (labelHeight * 0.5 - 10.0));
    } else {
        const double y2 = y + 3.0 + rulerHeight;
        nameLabel->setY(y2 + labelHeight * 0.5 + 10.0);
    }
    placingLabel = false;
}

// ---------------------------------------------------------------- handles

void GC_Genome::updateControlPoints()
{
    if (!leftHandle || !rightHandle)
        return;
    leftHandle->placeAt(0.0);
    rightHandle->placeAt(boundingRect().right());
}

double GC_Genome::limitControlPointX(GC_GenomeLengthControlPoint *handle, double x) const
{
    if (!leftHandle || !rightHandle)
        return 0.0;
    if (handle == leftHandle)
        return std::min(x, rightHandle->x());
    if (handle == rightHandle)
        return std::max(x, leftHandle->x());
    return 0.0;
}

void GC_Genome::updatePixPerNucFromControlPoints(GC_GenomeLengthControlPoint *handle)
{
    if (!leftHandle || !rightHandle)
        return;
    const double width = rightHandle->x() - leftHandle->x();
    // Handles dragged onto each other would give a scale of 0: refuse it and
    // put the handles back on the genome's ends.
    if (!(width > 0.0) || !std::isfinite(width / coords.length())) {
        updateControlPoints();
        return;
    }
    if (handle == leftHandle) {
        moveBy(leftHandle->x(), 0.0);
        leftHandle->placeAt(0.0);
        rightHandle->placeAt(width);
    }
    setPixPerNuc(width / coords.length());
    // A scale held at the panel's range leaves the right end short of (or
    // past) where the handle was let go.
    updateControlPoints();
}

void GC_Genome::createControlPoints()
{
    leftHandle = new GC_GenomeLengthControlPoint(this);
    leftHandle->setShapeType(0);
    rightHandle = new GC_GenomeLengthControlPoint(this);
    rightHandle->setShapeType(1);
    updateControlPoints();
    const bool show = genomeScene() && genomeScene()->showControlPoints();
    leftHandle->setVisible(show);
    rightHandle->setVisible(show);
}

void GC_Genome::deleteControlPoints()
{
    delete leftHandle;
    delete rightHandle;
    leftHandle = nullptr;
    rightHandle = nullptr;
}

// ---------------------------------------------------------------- events

void GC_Genome::keyPressEvent(QKeyEvent *event)
{
    if (!scene() || scene()->views().isEmpty())
        return;
    const QGraphicsView *view = scene()->views().first();
    const QPolygonF topRow =
        view->mapToScene(QRect(0, 0, std::max(1, view->viewport()->width()), 1));
    QRectF visible = topRow.boundingRect();
    QRectF genomeRect = sceneBoundingRect();
    genomeRect.setTop(visible.top());
    genomeRect.setHeight(visible.height());
    const QPointF centre = visible.intersected(genomeRect).center();
    if (event->key() == Qt::Key_Plus)
        zoomIn(centre);
    else if (event->key() == Qt::Key_Minus)
        zoomOut(centre);
}

QVariant GC_Genome::itemChange(GraphicsItemChange change, const QVariant &value)
{
    switch (change) {
    case ItemPositionHasChanged:
        // Bands cache their outline: they must hear of every move.
        for (GC_GenomeMatching *matching : std::as_const(matchings))
            matching->updateGeometry();
        return value;
    case ItemVisibleHasChanged:
        updateMatchingsVisibility();
        break;
    case ItemSelectedHasChanged:
        if (!scene())
            break;
        if (!value.toBool() && leftHandle && rightHandle)
            deleteControlPoints();
        else if (value.toBool() && !leftHandle && !rightHandle)
            createControlPoints();
        return value;
    default:
        break;
    }
    return GC_SequenceArrowItem::itemChange(change, value);
}

// ---------------------------------------------------------------- coverage

GC_IntervalMap GC_Genome::getCoveredRanges(const QSet<int> &excludedGenomes, double bitScore) const
{
    return GC_CoverageCalculator::coveredRanges(this, excludedGenomes, bitScore);
}

QList<GC_CoverageWidgetListItem *> GC_Genome::getCoveredGenes(const QSet<int> &excludedGenomes,
                                                              double bitScore, int mode) const
{
    return GC_CoverageCalculator::coveredGenes(this, excludedGenomes, bitScore, mode);
}

QList<QListWidgetItem *> GC_Genome::getMatchedGenomes() const
{
    return GC_CoverageCalculator::matchedGenomes(this);
}

// ---------------------------------------------------------------- canvas rows

QString GC_Genome::sqlCreateTable()
{
    return GC_GenomeRows::createTableSql();
}

QString GC_Genome::sqlSelect()
{
    return GC_GenomeRows::selectSql();
}

QString GC_Genome::sqlInsert()
{
    return GC_GenomeRows::insertSql();
}

bool GC_Genome::saveItem(QSqlQuery &query, int place, int &rowCounter, QString *errorText) const
{
    return GC_GenomeRows::save(*this, query, place, rowCounter, errorText);
}

void GC_Genome::loadItem(const QSqlQuery &query, const QSqlDatabase &canvas)
{
    loadItem(query.record(), canvas, true, 0, nullptr);
}

bool GC_Genome::loadItem(const QSqlRecord &row, const QSqlDatabase &canvas, bool withItems,
                         int occurrence, QString *damage)
{
    // In a canvas the genome's key is its own id.
    id = row.value(0).toInt();
    stored.setKey(id);
    // The counter moves past ids of rows found sound only.
    if (!GC_GenomeRows::load(*this, row, canvas, withItems, occurrence, damage))
        return false;
    if (genomeIdCounter <= id)
        genomeIdCounter = id + 1;
    return true;
}

// ---------------------------------------------------------------- source file

int GC_Genome::countDatabaseCogMatchings()
{
    const int count = stored.recount(GC_GenomeSource::Cog);
    qCDebug(lcKestal) << "GC_Genome::countDatabaseCogMatchings(): cnt=" << count;
    return count;
}

int GC_Genome::countDatabaseRfamMatchings()
{
    const int count = stored.recount(GC_GenomeSource::Rfam);
    qCDebug(lcKestal) << "GC_Genome::countDatabaseRfamMatchings(): cnt=" << count;
    return count;
}

int GC_Genome::countDatabaserRNAMatchings()
{
    const int count = stored.recount(GC_GenomeSource::Rrna);
    qCDebug(lcKestal) << "GC_Genome::countDatabaserRNAMatchings(): cnt=" << count;
    return count;
}

void GC_Genome::deleteRecordsFromTableDatabase(const QString &table)
{
    // Only the three hit tables can be emptied: the name goes into the SQL.
    for (int family = GC_GenomeSource::Cog; family <= GC_GenomeSource::Rrna; ++family) {
        if (GC_GenomeSource::tableName(GC_GenomeSource::Family(family)) == table) {
            QString reason;
            if (!stored.replace(GC_GenomeSource::Family(family), {}, &reason))
                qCDebug(lcKestal).noquote() << "GC_Genome::deleteRecordsFromTableDatabase():" << reason;
            return;
        }
    }
    qCDebug(lcKestal).noquote() << "GC_Genome::deleteRecordsFromTableDatabase(): no such table" << table;
}

int GC_Genome::deleteCogMatchings()
{
    setShowCogHomologies(false);
    setSelected(false);
    cogHomologies->clearMatchings();
    deleteRecordsFromTableDatabase(GC_GenomeSource::tableName(GC_GenomeSource::Cog));
    return countDatabaseCogMatchings();
}

int GC_Genome::deleteRfamMatchings()
{
    setShowRfamHomologies(false);
    setSelected(false);
    rfamHomologies->clearMatchings();
    deleteRecordsFromTableDatabase(GC_GenomeSource::tableName(GC_GenomeSource::Rfam));
    return countDatabaseRfamMatchings();
}

int GC_Genome::deleterRNAMatchings()
{
    setShowrRNAHomologies(false);
    setSelected(false);
    rRNAHomologies->clearMatchings();
    deleteRecordsFromTableDatabase(GC_GenomeSource::tableName(GC_GenomeSource::Rrna));
    return countDatabaserRNAMatchings();
}
