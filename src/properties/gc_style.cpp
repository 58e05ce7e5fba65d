#include "gc_style.h"

#include <QGuiApplication>

#include <cmath>

namespace {

using Flag = GC_Style::Flag;

// Flags a forced apply raises: all but positions and orientations.
const Flag forcedFlags[] = {
    &GC_Style::applyGenomePixPerNuc, &GC_Style::applyGenomeShowGenes,
    &GC_Style::applyGenomeShowAnotations, &GC_Style::applyGenomeShowMatchings,
    &GC_Style::applyGenomeShowRuler, &GC_Style::applyGenomeShowText,
    &GC_Style::applyGenomeTextColor, &GC_Style::applyGenomeTextFont,
    &GC_Style::applyGenomeTextAngle, &GC_Style::applyGenomeTextPositionFlag,
    &GC_Style::applyGenomeHeightBig, &GC_Style::applyGenomeHeightSmall,
    &GC_Style::applyGenomeHeadLength, &GC_Style::applyGenomeLineColor,
    &GC_Style::applyGenomeFillColor, &GC_Style::applyGenomeArrowStyle,

    &GC_Style::applyGeneShowText, &GC_Style::applyGeneTextAutomatic,
    &GC_Style::applyGeneTextAngle, &GC_Style::applyGeneTextPositionFlag,
    &GC_Style::applyGeneTextColor, &GC_Style::applyGeneTextFont,
    &GC_Style::applyGeneHeightBig, &GC_Style::applyGeneHeightSmall,
    &GC_Style::applyGeneHeadLength, &GC_Style::applyGeneLineColor,
    &GC_Style::applyGeneFillColor, &GC_Style::applyGeneArrowStyle,

    &GC_Style::applyRulerTextPlacement, &GC_Style::applyRulerHorizontalLineVisible,
    &GC_Style::applyRulerStyle, &GC_Style::applyRulerHeightBig,
    &GC_Style::applyRulerHeightSmall, &GC_Style::applyRulerNucsPerPeriod,
    &GC_Style::applyRulerPeriodsPerBigLine, &GC_Style::applyRulerPixsPerPeriod,
    &GC_Style::applyRulerLineColor, &GC_Style::applyRulerTextColor,
    &GC_Style::applyRulerTextFont,

    &GC_Style::applyAnotationHeight, &GC_Style::applyAnotationShowText,
    &GC_Style::applyAnotationTextAngle, &GC_Style::applyAnotationTextPositionFlag,
    &GC_Style::applyAnotationLineColor, &GC_Style::applyAnotationFillColor,
    &GC_Style::applyAnotationTextColor, &GC_Style::applyAnotationTextFont,

    &GC_Style::applyMatchingReverseColor, &GC_Style::applyMatchingStraightColor,

    &GC_Style::applySceneMargin, &GC_Style::applySceneSeparationBetweenGenomes,

    &GC_Style::applyFreeTextAngle, &GC_Style::applyFreeTextPositionFlag,
    &GC_Style::applyFreeTextColor, &GC_Style::applyFreeTextFont,
};

// Sizes and scales that must stay above zero, with their flags.
struct PositiveValue
{
    Flag flag;
    double GC_Style::*value;
};
const PositiveValue positiveValues[] = {
    {&GC_Style::applyGenomePixPerNuc, &GC_Style::genomePixPerNuc},
    {&GC_Style::applyGenomeHeightBig, &GC_Style::genomeHeightBig},
    {&GC_Style::applyGenomeHeightSmall, &GC_Style::genomeHeightSmall},
    {&GC_Style::applyGeneHeightBig, &GC_Style::geneHeightBig},
    {&GC_Style::applyGeneHeightSmall, &GC_Style::geneHeightSmall},
    {&GC_Style::applyRulerHeightBig, &GC_Style::rulerHeightBig},
    {&GC_Style::applyRulerHeightSmall, &GC_Style::rulerHeightSmall},
    {&GC_Style::applyAnotationHeight, &GC_Style::anotationHeight},
};

// Colours with their flags: a row that holds no colour has nothing to give.
struct ColorValue
{
    Flag flag;
    QColor GC_Style::*value;
};
const ColorValue colorValues[] = {
    {&GC_Style::applyGenomeTextColor, &GC_Style::genomeTextColor},
    {&GC_Style::applyGenomeLineColor, &GC_Style::genomeLineColor},
    {&GC_Style::applyGenomeFillColor, &GC_Style::genomeFillColor},
    {&GC_Style::applyGeneTextColor, &GC_Style::geneTextColor},
    {&GC_Style::applyGeneLineColor, &GC_Style::geneLineColor},
    {&GC_Style::applyGeneFillColor, &GC_Style::geneFillColor},
    {&GC_Style::applyRulerLineColor, &GC_Style::rulerLineColor},
    {&GC_Style::applyRulerTextColor, &GC_Style::rulerTextColor},
    {&GC_Style::applyAnotationLineColor, &GC_Style::anotationLineColor},
    {&GC_Style::applyAnotationFillColor, &GC_Style::anotationFillColor},
    {&GC_Style::applyAnotationTextColor, &GC_Style::anotationTextColor},
    {&GC_Style::applyMatchingReverseColor, &GC_Style::matchingReverseColor},
    {&GC_Style::applyMatchingStraightColor, &GC_Style::matchingStraightColor},
    {&GC_Style::applyFreeTextColor, &GC_Style::freeTextColor},
};

bool refused(double value)
{
    return !std::isfinite(value) || value <= 0.0;
}

} // namespace

GC_Style::GC_Style()
    : genomeTextFont(QGuiApplication::font())
    , geneTextFont(QGuiApplication::font())
    , rulerTextFont(QGuiApplication::font())
    , anotationTextFont(QGuiApplication::font())
    , freeTextFont(QGuiApplication::font())
{
}

bool GC_Style::operator==(const GC_Style &other) const
{
    return applyGenomeX == other.applyGenomeX
        && applyGenomeY == other.applyGenomeY
        && applyGenomeOrientation == other.applyGenomeOrientation
        && applyGenomePixPerNuc == other.applyGenomePixPerNuc
        && applyGenomeShowGenes == other.applyGenomeShowGenes
        && applyGenomeShowAnotations == other.applyGenomeShowAnotations
        && applyGenomeShowMatchings == other.applyGenomeShowMatchings
        && applyGenomeShowRuler == other.applyGenomeShowRuler
        && applyGenomeShowText == other.applyGenomeShowText
        && applyGenomeTextColor == other.applyGenomeTextColor
        && applyGenomeTextFont == other.applyGenomeTextFont
        && applyGenomeTextX == other.applyGenomeTextX
        && applyGenomeTextY == other.applyGenomeTextY
        && applyGenomeTextAngle == other.applyGenomeTextAngle
        && applyGenomeTextPositionFlag == other.applyGenomeTextPositionFlag
        && applyGenomeHeightBig == other.applyGenomeHeightBig
        && applyGenomeHeightSmall == other.applyGenomeHeightSmall
        && applyGenomeHeadLength == other.applyGenomeHeadLength
        && applyGenomeLineColor == other.applyGenomeLineColor
        && applyGenomeFillColor == other.applyGenomeFillColor
        && applyGenomeArrowStyle == other.applyGenomeArrowStyle
        && genomeX == other.genomeX
        && genomeY == other.genomeY
        && genomeOrientation == other.genomeOrientation
        && genomePixPerNuc == other.genomePixPerNuc
        && genomeShowGenes == other.genomeShowGenes
        && genomeShowAnotations == other.genomeShowAnotations
        && genomeShowMatchings == other.genomeShowMatchings
        && genomeShowRuler == other.genomeShowRuler
        && genomeShowText == other.genomeShowText
        && genomeTextColor == other.genomeTextColor
        && genomeTextFont == other.genomeTextFont
        && genomeTextX == other.genomeTextX
        && genomeTextY == other.genomeTextY
        && genomeTextAngle == other.genomeTextAngle
        && genomeTextPositionFlag == other.genomeTextPositionFlag
        && genomeHeightBig == other.genomeHeightBig
        && genomeHeightSmall == other.genomeHeightSmall
        && genomeHeadLength == other.genomeHeadLength
        && genomeLineColor == other.genomeLineColor
        && genomeFillColor == other.genomeFillColor
        && genomeArrowStyle == other.genomeArrowStyle
        && applyGeneY == other.applyGeneY
        && applyGeneOrientation == other.applyGeneOrientation
        && applyGeneShowText == other.applyGeneShowText
        && applyGeneTextAutomatic == other.applyGeneTextAutomatic
        && applyGeneTextAngle == other.applyGeneTextAngle
        && applyGeneTextPositionFlag == other.applyGeneTextPositionFlag
        && applyGeneTextColor == other.applyGeneTextColor
        && applyGeneTextFont == other.applyGeneTextFont
        && applyGeneTextX == other.applyGeneTextX
        && applyGeneTextY == other.applyGeneTextY
        && applyGeneHeightBig == other.applyGeneHeightBig
        && applyGeneHeightSmall == other.applyGeneHeightSmall
        && applyGeneHeadLength == other.applyGeneHeadLength
        && applyGeneLineColor == other.applyGeneLineColor
        && applyGeneFillColor == other.applyGeneFillColor
        && applyGeneArrowStyle == other.applyGeneArrowStyle
        && geneY == other.geneY
        && geneOrientation == other.geneOrientation
        && geneShowText == other.geneShowText
        && geneTextAutomatic == other.geneTextAutomatic
        && geneTextAngle == other.geneTextAngle
        && geneTextPositionFlag == other.geneTextPositionFlag
        && geneTextColor == other.geneTextColor
        && geneTextFont == other.geneTextFont
        && geneTextX == other.geneTextX
        && geneTextY == other.geneTextY
        && geneHeightBig == other.geneHeightBig
        && geneHeightSmall == other.geneHeightSmall
        && geneHeadLength == other.geneHeadLength
        && geneLineColor == other.geneLineColor
        && geneFillColor == other.geneFillColor
        && geneArrowStyle == other.geneArrowStyle
        && applyRulerY == other.applyRulerY
        && applyRulerOrientation == other.applyRulerOrientation
        && applyRulerTextPlacement == other.applyRulerTextPlacement
        && applyRulerHorizontalLineVisible == other.applyRulerHorizontalLineVisible
        && applyRulerStyle == other.applyRulerStyle
        && applyRulerHeightBig == other.applyRulerHeightBig
        && applyRulerHeightSmall == other.applyRulerHeightSmall
        && applyRulerNucsPerPeriod == other.applyRulerNucsPerPeriod
        && applyRulerPeriodsPerBigLine == other.applyRulerPeriodsPerBigLine
        && applyRulerPixsPerPeriod == other.applyRulerPixsPerPeriod
        && applyRulerLineColor == other.applyRulerLineColor
        && applyRulerTextColor == other.applyRulerTextColor
        && applyRulerTextFont == other.applyRulerTextFont
        && rulerY == other.rulerY
        && rulerOrientation == other.rulerOrientation
        && rulerTextPlacement == other.rulerTextPlacement
        && rulerHorizontalLineVisible == other.rulerHorizontalLineVisible
        && rulerStyle == other.rulerStyle
        && rulerHeightBig == other.rulerHeightBig
        && rulerHeightSmall == other.rulerHeightSmall
        && rulerNucsPerPeriod == other.rulerNucsPerPeriod
        && rulerPeriodsPerBigLine == other.rulerPeriodsPerBigLine
        && rulerPixsPerPeriod == other.rulerPixsPerPeriod
        && rulerLineColor == other.rulerLineColor
        && rulerTextColor == other.rulerTextColor
        && rulerTextFont == other.rulerTextFont
        && applyAnotationY == other.applyAnotationY
        && applyAnotationHeight == other.applyAnotationHeight
        && applyAnotationShowText == other.applyAnotationShowText
        && applyAnotationTextY == other.applyAnotationTextY
        && applyAnotationTextAngle == other.applyAnotationTextAngle
        && applyAnotationTextPositionFlag == other.applyAnotationTextPositionFlag
        && applyAnotationLineColor == other.applyAnotationLineColor
        && applyAnotationFillColor == other.applyAnotationFillColor
        && applyAnotationTextColor == other.applyAnotationTextColor
        && applyAnotationTextFont == other.applyAnotationTextFont
        && anotationY == other.anotationY
        && anotationHeight == other.anotationHeight
        && anotationShowText == other.anotationShowText
        && anotationTextY == other.anotationTextY
        && anotationTextAngle == other.anotationTextAngle
        && anotationTextPositionFlag == other.anotationTextPositionFlag
        && anotationLineColor == other.anotationLineColor
        && anotationFillColor == other.anotationFillColor
        && anotationTextColor == other.anotationTextColor
        && anotationTextFont == other.anotationTextFont
        && applyMatchingReverseColor == other.applyMatchingReverseColor
        && applyMatchingStraightColor == other.applyMatchingStraightColor
        && matchingReverseColor == other.matchingReverseColor
        && matchingStraightColor == other.matchingStraightColor
        && applySceneMargin == other.applySceneMargin
        && applySceneSeparationBetweenGenomes == other.applySceneSeparationBetweenGenomes
        && sceneMargin == other.sceneMargin
        && sceneSeparationBetweenGenomes == other.sceneSeparationBetweenGenomes
        && applyFreeTextX == other.applyFreeTextX
        && applyFreeTextY == other.applyFreeTextY
        && applyFreeTextAngle == other.applyFreeTextAngle
        && applyFreeTextPositionFlag == other.applyFreeTextPositionFlag
        && applyFreeTextColor == other.applyFreeTextColor
        && applyFreeTextFont == other.applyFreeTextFont
        && freeTextX == other.freeTextX
        && freeTextY == other.freeTextY
        && freeTextAngle == other.freeTextAngle
        && freeTextPositionFlag == other.freeTextPositionFlag
        && freeTextColor == other.freeTextColor
        && freeTextFont == other.freeTextFont;
}

GC_Style GC_Style::applicable(bool forced) const
{
    GC_Style result(*this);
    if (forced) {
        for (Flag flag : forcedFlags)
            result.*flag = true;
    }
    for (const PositiveValue &entry : positiveValues) {
        if (refused(result.*entry.value))
            result.*entry.flag = false;
    }
    for (const ColorValue &entry : colorValues) {
        if (!(result.*entry.value).isValid())
            result.*entry.flag = false;
    }
    return result;
}

QList<GC_Style::Flag> GC_Style::refusedFlags() const
{
    QList<Flag> flags;
    for (const PositiveValue &entry : positiveValues) {
        if (this->*entry.flag && refused(this->*entry.value))
            flags << entry.flag;
    }
    return flags;
}
