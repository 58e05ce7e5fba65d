#include "gc_genomeproperties.h"

#include "gc_coghomologies.h"
#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_rfamhomologies.h"
#include "gc_userreach.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTreeWidget>

namespace {
const QList<int> orientationCodes = {-1, 1};
const QList<int> anchorCodes = {0, 1, 2};
} // namespace

GC_GenomeProperties::GC_GenomeProperties(GC_Genome *genome)
    : GC_ArrowPropertySet(genome)
    , genome(genome)
{
}

bool GC_GenomeProperties::hasHomologies(Family family) const
{
    if (family == Cog)
        return genome->getDatabaseCogMatchingsCount() > 0 || genome->countCogMatchings() > 0;
    return genome->getDatabaseRfamMatchingsCount() > 0 || genome->countRfamMatchings() > 0;
}

void GC_GenomeProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_Genome *g = genome;
    name = newTextEdit([this, g] { g->setName(name->toPlainText()); });
    orientation = newComboBox({"Left", "Right"}, [this, g] {
        g->setOrientation(orientationCodes.value(orientation->currentIndex(), -1));
    });
    // A scale of 0 would give the genome no width; the genome refuses it.
    pixPerNuc = newDoubleSpinBox(0.0, 0.0, QString(), [this, g] {
        g->setPixPerNuc(pixPerNuc->value());
    });
    pixPerNuc->setDecimals(10);
    pixPerNuc->setRange(GC_UserReach::minPixPerNuc, GC_UserReach::maxPixPerNuc);
    showGenes = newCheckBox([this, g] { g->setShowGenes(showGenes->isChecked()); });
    showAnotations = newCheckBox([this, g] { g->setShowAnotations(showAnotations->isChecked()); });
    showMatchings = newCheckBox([this, g] { g->setShowMatchings(showMatchings->isChecked()); });
    showRuler = newCheckBox([this, g] { g->setShowRuler(showRuler->isChecked()); });
    showText = newCheckBox([this, g] { g->setShowText(showText->isChecked()); });
    showGCcontent = newCheckBox([this, g] { g->setShowGCcontent(showGCcontent->isChecked()); });
    if (hasHomologies(Cog))
        showCog = newCheckBox([this] { showHomologies(Cog, showCog->isChecked()); });
    if (hasHomologies(Rfam))
        showRfam = newCheckBox([this] { showHomologies(Rfam, showRfam->isChecked()); });
    textColor = newColorPicker([this, g] { g->setTextColor(textColor->color()); });
    textFont = newFontPicker([this, g] { g->setTextFont(textFont->font()); });
    textAngle = newDoubleSpinBox(0.0, 360.0, " degrees", [this, g] {
        g->setTextAngle(textAngle->value());
    });
    textAnchor = newComboBox({"Left", "Center", "Right"}, [this, g] {
        g->setTextPositionFlag(anchorCodes.value(textAnchor->currentIndex(), 0));
    });
    newArrowEditors(" px", {"Box", "Arrow"});

    QTreeWidgetItem *top = addTopLevel(tree, "Genome");
    top->setSizeHint(1, textColor->sizeHint());
    databaseRow = addTextRow(top, "Database name");
    addRow(top, "Name", name);
    lengthRow = addTextRow(top, "Length");
    addRow(top, "Orientation", orientation);
    addRow(top, "Pixels per nucleotide", pixPerNuc);
    addRow(top, "Show genes", showGenes);
    addRow(top, "Show anotations", showAnotations);
    addRow(top, "Show matchings", showMatchings);
    addRow(top, "Show coordinates", showRuler);
    addRow(top, "Show text", showText);
    addRow(top, "Show GC content", showGCcontent);
    if (showCog)
        addRow(top, "Show COG homologies", showCog);
    if (showRfam)
        addRow(top, "Show RFAM homologies", showRfam);
    QTreeWidgetItem *segment = addGroup(top, "Segment");
    addRow(segment, "Arrow height", heightBig);
    addRow(segment, "Arrow length", headLength);
    addRow(segment, "Height", heightSmall);
    addRow(segment, "Line color", lineColor);
    addRow(segment, "Fill color", fillColor);
    addRow(segment, "Style", arrowStyle);
    QTreeWidgetItem *text = addGroup(top, "Text");
    addRow(text, "Angle", textAngle);
    addRow(text, "Anchor", textAnchor);
    addRow(text, "Color", textColor);
    addRow(text, "Font", textFont);

    fill();
    connectEditors(panel);
}

void GC_GenomeProperties::fillEditors()
{
    const QString path = genome->getDatabase();
    databaseRow->setText(1, path);
    databaseRow->setToolTip(1, path);
    lengthRow->setText(1, QString::number(genome->getCoords().length()));
    setPlainText(name, genome->getName());
    selectCode(orientation, orientationCodes, genome->getOrientation());
    pixPerNuc->setValue(genome->getPixPerNuc());
    showGenes->setChecked(genome->getShowGenes());
    showAnotations->setChecked(genome->getShowAnotations());
    showMatchings->setChecked(genome->getShowMatchings());
    showRuler->setChecked(genome->getShowRuler());
    showText->setChecked(genome->getShowText());
    showGCcontent->setChecked(genome->getShowGCcontent());
    syncHomologySwitches();
    fillArrowEditors();
    textAngle->setValue(genome->getTextAngle());
    selectCode(textAnchor, anchorCodes, genome->getTextPositionFlag());
    textColor->setColor(genome->getTextColor());
    textFont->setFont(genome->getTextFont());
}

void GC_GenomeProperties::fix()
{
    limitArrowBody();
    syncHomologySwitches();
}

void GC_GenomeProperties::syncHomologySwitches()
{
    // The switches follow the genome: a show that did not happen (nothing
    // to show, a dialog declined) leaves them as they were before.
    if (showCog) {
        const QSignalBlocker blocker(showCog);
        showCog->setChecked(genome->getShowCogHomologies());
    }
    if (showRfam) {
        const QSignalBlocker blocker(showRfam);
        showRfam->setChecked(genome->getShowRfamHomologies());
    }
}

void GC_GenomeProperties::showHomologies(Family family, bool show)
{
    const bool shown =
        family == Cog ? genome->getShowCogHomologies() : genome->getShowRfamHomologies();
    // Only a change of the switch acts: showing places the bar anew.
    if (show == shown)
        return;
    GC_GenomeScene *owner = genome->genomeScene();
    if (owner && owner->firstSelectedGenome() == genome) {
        if (family == Cog)
            owner->slotGenomeShowHideCogMatchings(show);
        else
            owner->slotGenomeShowHideRfamMatchings(show);
        return;
    }
    // The scene's commands act on its first selected genome; a genome shown
    // while an item of no kind the panel shows comes first in the selection is
    // handled here for the hits in memory.
    QGraphicsItem *bar = nullptr;
    int loaded = 0;
    if (family == Cog) {
        bar = genome->getCogHomologies();
        loaded = genome->countCogMatchings();
    } else {
        bar = genome->getRfamHomologies();
        loaded = genome->countRfamMatchings();
    }
    if (show && loaded <= 0)
        return;
    if (family == Cog)
        genome->setShowCogHomologies(show);
    else
        genome->setShowRfamHomologies(show);
    if (show && owner)
        owner->placeWithoutCollision(bar);
}
