#ifndef GC_STYLE_H
#define GC_STYLE_H

#include <QColor>
#include <QFont>
#include <QList>

// One complete style for the canvas, filled by the style tool and read by the
// items' style operations. Each group declares its apply flags first and then
// its values in the same order: the n-th flag guards the n-th value. A reader
// that is not forced applies a value only when its flag is set.
//
// Every flag starts false and every plain value at zero, so a record that was
// not fully written applies nothing rather than garbage. Colours start
// invalid and fonts as the application's default font.
class GC_Style
{
public:
    GC_Style();

    bool operator==(const GC_Style &other) const;
    bool operator!=(const GC_Style &other) const { return !(*this == other); }

    using Flag = bool GC_Style::*;

    // The record an apply is to hand to the items, unforced. Forced, every
    // flag is raised except those of positions and orientations, which only
    // their own box raises: a forced apply must not pile every item on one
    // point or turn them all one way. Either way a flag is lowered where its
    // value would collapse an item (a height or a scale of 0 or below).
    GC_Style applicable(bool forced) const;
    // The raised flags whose values applicable() refuses.
    QList<Flag> refusedFlags() const;

    // Genome group, read by GC_Genome::setStyle.
    bool applyGenomeX = false;
    bool applyGenomeY = false;
    bool applyGenomeOrientation = false;
    bool applyGenomePixPerNuc = false;
    bool applyGenomeShowGenes = false;
    bool applyGenomeShowAnotations = false;
    bool applyGenomeShowMatchings = false;
    bool applyGenomeShowRuler = false;
    bool applyGenomeShowText = false;
    bool applyGenomeTextColor = false;
    bool applyGenomeTextFont = false;
    bool applyGenomeTextX = false;
    bool applyGenomeTextY = false;
    bool applyGenomeTextAngle = false;
    bool applyGenomeTextPositionFlag = false;
    bool applyGenomeHeightBig = false;
    bool applyGenomeHeightSmall = false;
    bool applyGenomeHeadLength = false;
    bool applyGenomeLineColor = false;
    bool applyGenomeFillColor = false;
    bool applyGenomeArrowStyle = false;
    double genomeX = 0.0;
    double genomeY = 0.0;
    int genomeOrientation = 0;
    double genomePixPerNuc = 0.0;
    bool genomeShowGenes = false;
    bool genomeShowAnotations = false;
    bool genomeShowMatchings = false;
    bool genomeShowRuler = false;
    bool genomeShowText = false;
    QColor genomeTextColor;
    QFont genomeTextFont;
    double genomeTextX = 0.0;
    double genomeTextY = 0.0;
    double genomeTextAngle = 0.0;
    int genomeTextPositionFlag = 0;
    double genomeHeightBig = 0.0;
    double genomeHeightSmall = 0.0;
    double genomeHeadLength = 0.0;
    QColor genomeLineColor;
    QColor genomeFillColor;
    int genomeArrowStyle = 0;

    // Gene group, read by GC_Gene::applyStyle. The text values (4 to 10) are
    // carried for the style tool; no item reads them.
    bool applyGeneY = false;
    bool applyGeneOrientation = false;
    bool applyGeneShowText = false;
    bool applyGeneTextAutomatic = false;
    bool applyGeneTextAngle = false;
    bool applyGeneTextPositionFlag = false;
    bool applyGeneTextColor = false;
    bool applyGeneTextFont = false;
    bool applyGeneTextX = false;
    bool applyGeneTextY = false;
    bool applyGeneHeightBig = false;
    bool applyGeneHeightSmall = false;
    bool applyGeneHeadLength = false;
    bool applyGeneLineColor = false;
    bool applyGeneFillColor = false;
    bool applyGeneArrowStyle = false;
    double geneY = 0.0;
    int geneOrientation = 0;
    bool geneShowText = false;
    bool geneTextAutomatic = false;
    double geneTextAngle = 0.0;
    int geneTextPositionFlag = 0;
    QColor geneTextColor;
    QFont geneTextFont;
    double geneTextX = 0.0;
    double geneTextY = 0.0;
    double geneHeightBig = 0.0;
    double geneHeightSmall = 0.0;
    double geneHeadLength = 0.0;
    QColor geneLineColor;
    QColor geneFillColor;
    int geneArrowStyle = 0;

    // Ruler group, read by GC_Ruler::applyStyle, in the column order of the
    // ruler table.
    bool applyRulerY = false;
    bool applyRulerOrientation = false;
    bool applyRulerTextPlacement = false;
    bool applyRulerHorizontalLineVisible = false;
    bool applyRulerStyle = false;
    bool applyRulerHeightBig = false;
    bool applyRulerHeightSmall = false;
    bool applyRulerNucsPerPeriod = false;
    bool applyRulerPeriodsPerBigLine = false;
    bool applyRulerPixsPerPeriod = false;
    bool applyRulerLineColor = false;
    bool applyRulerTextColor = false;
    bool applyRulerTextFont = false;
    double rulerY = 0.0;
    int rulerOrientation = 0;
    int rulerTextPlacement = 0;
    bool rulerHorizontalLineVisible = false;
    int rulerStyle = 0;
    double rulerHeightBig = 0.0;
    double rulerHeightSmall = 0.0;
    int rulerNucsPerPeriod = 0;
    int rulerPeriodsPerBigLine = 0;
    int rulerPixsPerPeriod = 0;
    QColor rulerLineColor;
    QColor rulerTextColor;
    QFont rulerTextFont;

    // Annotation group, read by GC_Anotation::applyStyle.
    bool applyAnotationY = false;
    bool applyAnotationHeight = false;
    bool applyAnotationShowText = false;
    bool applyAnotationTextY = false;
    bool applyAnotationTextAngle = false;
    bool applyAnotationTextPositionFlag = false;
    bool applyAnotationLineColor = false;
    bool applyAnotationFillColor = false;
    bool applyAnotationTextColor = false;
    bool applyAnotationTextFont = false;
    double anotationY = 0.0;
    double anotationHeight = 0.0;
    bool anotationShowText = false;
    double anotationTextY = 0.0;
    double anotationTextAngle = 0.0;
    int anotationTextPositionFlag = 0;
    QColor anotationLineColor;
    QColor anotationFillColor;
    QColor anotationTextColor;
    QFont anotationTextFont;

    // Matching group: the first colour is for matchings whose ranges run
    // opposite ways, the second for direct ones.
    bool applyMatchingReverseColor = false;
    bool applyMatchingStraightColor = false;
    QColor matchingReverseColor;
    QColor matchingStraightColor;

    // Scene group, read by GC_GenomeScene::slotApplyStyle.
    bool applySceneMargin = false;
    bool applySceneSeparationBetweenGenomes = false;
    double sceneMargin = 0.0;
    double sceneSeparationBetweenGenomes = 0.0;

    // Free-text group, read by GC_FreeText::setStyle.
    bool applyFreeTextX = false;
    bool applyFreeTextY = false;
    bool applyFreeTextAngle = false;
    bool applyFreeTextPositionFlag = false;
    bool applyFreeTextColor = false;
    bool applyFreeTextFont = false;
    double freeTextX = 0.0;
    double freeTextY = 0.0;
    double freeTextAngle = 0.0;
    int freeTextPositionFlag = 0;
    QColor freeTextColor;
    QFont freeTextFont;
};

#endif
