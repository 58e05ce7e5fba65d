#ifndef GC_GENOMEPROPERTIES_H
#define GC_GENOMEPROPERTIES_H

#include "gc_arrowpropertyset.h"

class GC_Genome;

// The "Genome" rows: source file, name, length, orientation, scale, show
// switches, the arrow ("Segment") and the name label ("Text").
class GC_GenomeProperties : public GC_ArrowPropertySet
{
public:
    explicit GC_GenomeProperties(GC_Genome *genome);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;
    void fix() override;

protected:
    void fillEditors() override;

private:
    enum Family { Cog, Rfam };
    // Whether the genome has hits of the family, stored or in memory.
    bool hasHomologies(Family family) const;
    void showHomologies(Family family, bool show);
    void syncHomologySwitches();

    GC_Genome *genome;
    QTreeWidgetItem *databaseRow = nullptr;
    QTreeWidgetItem *lengthRow = nullptr;
    QTextEdit *name = nullptr;
    QComboBox *orientation = nullptr;
    QDoubleSpinBox *pixPerNuc = nullptr;
    QCheckBox *showGenes = nullptr;
    QCheckBox *showAnotations = nullptr;
    QCheckBox *showMatchings = nullptr;
    QCheckBox *showRuler = nullptr;
    QCheckBox *showText = nullptr;
    QCheckBox *showGCcontent = nullptr;
    QCheckBox *showCog = nullptr;
    QCheckBox *showRfam = nullptr;
    QDoubleSpinBox *textAngle = nullptr;
    QComboBox *textAnchor = nullptr;
    GC_ColorPicker *textColor = nullptr;
    GC_FontPicker *textFont = nullptr;
};

#endif
