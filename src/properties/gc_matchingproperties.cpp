#include "gc_matchingproperties.h"

#include "gc_colorpicker.h"
#include "gc_genome.h"
#include "gc_genomematching.h"

#include <QTreeWidget>

GC_MatchingProperties::GC_MatchingProperties(GC_GenomeMatching *matching)
    : matching(matching)
{
}

GC_MatchingProperties::Stretch GC_MatchingProperties::addStretch(QTreeWidgetItem *parent,
                                                                 const char *text)
{
    QTreeWidgetItem *group = addGroup(parent, text);
    Stretch stretch;
    stretch.name = addTextRow(group, "Name");
    stretch.from = addTextRow(group, "From");
    stretch.to = addTextRow(group, "To");
    stretch.length = addTextRow(group, "Length");
    return stretch;
}

void GC_MatchingProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_GenomeMatching *m = matching;
    color = newColorPicker([this, m] { m->setColor(color->color()); });

    QTreeWidgetItem *group = addTopLevel(tree, "Matching");
    group->setSizeHint(1, color->sizeHint());
    similarity = addTextRow(group, "Similarity");
    bitScore = addTextRow(group, "Bit score");
    top = addStretch(group, "Sequence 1");
    low = addStretch(group, "Sequence 2");
    addRow(group, "Fill color", color);

    fill();
    connectEditors(panel);
}

void GC_MatchingProperties::fillEditors()
{
    similarity->setText(1, QString("%1%").arg(matching->similarity()));
    bitScore->setText(1, QString::number(matching->bitScore(), 'g', 6));
    const auto fillStretch = [](const Stretch &stretch, const GC_Genome *genome,
                                const GC_Interval &range) {
        stretch.name->setText(1, genome ? genome->getName() : QString());
        stretch.from->setText(1, QString::number(range.start()));
        stretch.to->setText(1, QString::number(range.end()));
        stretch.length->setText(1, QString::number(range.length()));
    };
    fillStretch(top, matching->topGenome(), matching->topCoords());
    fillStretch(low, matching->lowGenome(), matching->lowCoords());
    color->setColor(matching->color());
}
