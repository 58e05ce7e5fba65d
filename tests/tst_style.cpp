#include "gc_style.h"
#include "kestal_test.h"

#include <QGuiApplication>
#include <functional>
#include <vector>

// The style record: defaults, copies, and the layout of its seven groups.
class TestStyle : public QObject
{
    Q_OBJECT

private:
    // A record with every field set to a value unlike its default and unlike
    // every other field of its kind, so a swapped or missed field shows.
    static GC_Style fullyWritten()
    {
        GC_Style s;
        int k = 1;
        auto nextDouble = [&k]() { return 0.5 + k++; };
        auto nextInt = [&k]() { return 100 + k++; };
        auto nextColor = [&k]() {
            const int i = k++;
            return QColor::fromRgb(i * 7 % 256, i * 13 % 256, i * 29 % 256);
        };
        auto nextFont = [&k]() {
            QFont f("Serif");
            f.setPointSize(6 + k++);
            return f;
        };
        s.applyGenomeX = true;
        s.applyGenomeY = true;
        s.applyGenomeOrientation = true;
        s.applyGenomePixPerNuc = true;
        s.applyGenomeShowGenes = true;
        s.applyGenomeShowAnotations = true;
        s.applyGenomeShowMatchings = true;
        s.applyGenomeShowRuler = true;
        s.applyGenomeShowText = true;
        s.applyGenomeTextColor = true;
        s.applyGenomeTextFont = true;
        s.applyGenomeTextX = true;
        s.applyGenomeTextY = true;
        s.applyGenomeTextAngle = true;
        s.applyGenomeTextPositionFlag = true;
        s.applyGenomeHeightBig = true;
        s.applyGenomeHeightSmall = true;
        s.applyGenomeHeadLength = true;
        s.applyGenomeLineColor = true;
        s.applyGenomeFillColor = true;
        s.applyGenomeArrowStyle = true;
        s.genomeX = nextDouble();
        s.genomeY = nextDouble();
        s.genomeOrientation = nextInt();
        s.genomePixPerNuc = nextDouble();
        s.genomeShowGenes = true;
        s.genomeShowAnotations = true;
        s.genomeShowMatchings = true;
        s.genomeShowRuler = true;
        s.genomeShowText = true;
        s.genomeTextColor = nextColor();
        s.genomeTextFont = nextFont();
        s.genomeTextX = nextDouble();
        s.genomeTextY = nextDouble();
        s.genomeTextAngle = nextDouble();
        s.genomeTextPositionFlag = nextInt();
        s.genomeHeightBig = nextDouble();
        s.genomeHeightSmall = nextDouble();
        s.genomeHeadLength = nextDouble();
        s.genomeLineColor = nextColor();
        s.genomeFillColor = nextColor();
        s.genomeArrowStyle = nextInt();
        s.applyGeneY = true;
        s.applyGeneOrientation = true;
        s.applyGeneShowText = true;
        s.applyGeneTextAutomatic = true;
        s.applyGeneTextAngle = true;
        s.applyGeneTextPositionFlag = true;
        s.applyGeneTextColor = true;
        s.applyGeneTextFont = true;
        s.applyGeneTextX = true;
        s.applyGeneTextY = true;
        s.applyGeneHeightBig = true;
        s.applyGeneHeightSmall = true;
        s.applyGeneHeadLength = true;
        s.applyGeneLineColor = true;
        s.applyGeneFillColor = true;
        s.applyGeneArrowStyle = true;
        s.geneY = nextDouble();
        s.geneOrientation = nextInt();
        s.geneShowText = true;
        s.geneTextAutomatic = true;
        s.geneTextAngle = nextDouble();
        s.geneTextPositionFlag = nextInt();
        s.geneTextColor = nextColor();
        s.geneTextFont = nextFont();
        s.geneTextX = nextDouble();
        s.geneTextY = nextDouble();
        s.geneHeightBig = nextDouble();
        s.geneHeightSmall = nextDouble();
        s.geneHeadLength = nextDouble();
        s.geneLineColor = nextColor();
        s.geneFillColor = nextColor();
        s.geneArrowStyle = nextInt();
        s.applyRulerY = true;
        s.applyRulerOrientation = true;
        s.applyRulerTextPlacement = true;
        s.applyRulerHorizontalLineVisible = true;
        s.applyRulerStyle = true;
        s.applyRulerHeightBig = true;
        s.applyRulerHeightSmall = true;
        s.applyRulerNucsPerPeriod = true;
        s.applyRulerPeriodsPerBigLine = true;
        s.applyRulerPixsPerPeriod = true;
        s.applyRulerLineColor = true;
        s.applyRulerTextColor = true;
        s.applyRulerTextFont = true;
        s.rulerY = nextDouble();
        s.rulerOrientation = nextInt();
        s.rulerTextPlacement = nextInt();
        s.rulerHorizontalLineVisible = true;
        s.rulerStyle = nextInt();
        s.rulerHeightBig = nextDouble();
        s.rulerHeightSmall = nextDouble();
        s.rulerNucsPerPeriod = nextInt();
        s.rulerPeriodsPerBigLine = nextInt();
        s.rulerPixsPerPeriod = nextInt();
        s.rulerLineColor = nextColor();
        s.rulerTextColor = nextColor();
        s.rulerTextFont = nextFont();
        s.applyAnotationY = true;
        s.applyAnotationHeight = true;
        s.applyAnotationShowText = true;
        s.applyAnotationTextY = true;
        s.applyAnotationTextAngle = true;
        s.applyAnotationTextPositionFlag = true;
        s.applyAnotationLineColor = true;
        s.applyAnotationFillColor = true;
        s.applyAnotationTextColor = true;
        s.applyAnotationTextFont = true;
        s.anotationY = nextDouble();
        s.anotationHeight = nextDouble();
        s.anotationShowText = true;
        s.anotationTextY = nextDouble();
        s.anotationTextAngle = nextDouble();
        s.anotationTextPositionFlag = nextInt();
        s.anotationLineColor = nextColor();
        s.anotationFillColor = nextColor();
        s.anotationTextColor = nextColor();
        s.anotationTextFont = nextFont();
        s.applyMatchingReverseColor = true;
        s.applyMatchingStraightColor = true;
        s.matchingReverseColor = nextColor();
        s.matchingStraightColor = nextColor();
        s.applySceneMargin = true;
        s.applySceneSeparationBetweenGenomes = true;
        s.sceneMargin = nextDouble();
        s.sceneSeparationBetweenGenomes = nextDouble();
        s.applyFreeTextX = true;
        s.applyFreeTextY = true;
        s.applyFreeTextAngle = true;
        s.applyFreeTextPositionFlag = true;
        s.applyFreeTextColor = true;
        s.applyFreeTextFont = true;
        s.freeTextX = nextDouble();
        s.freeTextY = nextDouble();
        s.freeTextAngle = nextDouble();
        s.freeTextPositionFlag = nextInt();
        s.freeTextColor = nextColor();
        s.freeTextFont = nextFont();
        return s;
    }

    // Every field, as a change that makes a record differ in that field only.
    static std::vector<std::function<void(GC_Style&)>> fieldChanges()
    {
        std::vector<std::function<void(GC_Style&)>> changes;
        changes.push_back([](GC_Style& s) { s.applyGenomeX = !s.applyGenomeX; });
        changes.push_back([](GC_Style& s) { s.applyGenomeY = !s.applyGenomeY; });
        changes.push_back(
            [](GC_Style& s) { s.applyGenomeOrientation = !s.applyGenomeOrientation; });
        changes.push_back([](GC_Style& s) { s.applyGenomePixPerNuc = !s.applyGenomePixPerNuc; });
        changes.push_back([](GC_Style& s) { s.applyGenomeShowGenes = !s.applyGenomeShowGenes; });
        changes.push_back(
            [](GC_Style& s) { s.applyGenomeShowAnotations = !s.applyGenomeShowAnotations; });
        changes.push_back(
            [](GC_Style& s) { s.applyGenomeShowMatchings = !s.applyGenomeShowMatchings; });
        changes.push_back([](GC_Style& s) { s.applyGenomeShowRuler = !s.applyGenomeShowRuler; });
        changes.push_back([](GC_Style& s) { s.applyGenomeShowText = !s.applyGenomeShowText; });
        changes.push_back([](GC_Style& s) { s.applyGenomeTextColor = !s.applyGenomeTextColor; });
        changes.push_back([](GC_Style& s) { s.applyGenomeTextFont = !s.applyGenomeTextFont; });
        changes.push_back([](GC_Style& s) { s.applyGenomeTextX = !s.applyGenomeTextX; });
        changes.push_back([](GC_Style& s) { s.applyGenomeTextY = !s.applyGenomeTextY; });
        changes.push_back([](GC_Style& s) { s.applyGenomeTextAngle = !s.applyGenomeTextAngle; });
        changes.push_back(
            [](GC_Style& s) { s.applyGenomeTextPositionFlag = !s.applyGenomeTextPositionFlag; });
        changes.push_back([](GC_Style& s) { s.applyGenomeHeightBig = !s.applyGenomeHeightBig; });
        changes.push_back(
            [](GC_Style& s) { s.applyGenomeHeightSmall = !s.applyGenomeHeightSmall; });
        changes.push_back([](GC_Style& s) { s.applyGenomeHeadLength = !s.applyGenomeHeadLength; });
        changes.push_back([](GC_Style& s) { s.applyGenomeLineColor = !s.applyGenomeLineColor; });
        changes.push_back([](GC_Style& s) { s.applyGenomeFillColor = !s.applyGenomeFillColor; });
        changes.push_back([](GC_Style& s) { s.applyGenomeArrowStyle = !s.applyGenomeArrowStyle; });
        changes.push_back([](GC_Style& s) { s.genomeX += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeOrientation += 1000; });
        changes.push_back([](GC_Style& s) { s.genomePixPerNuc += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeShowGenes = !s.genomeShowGenes; });
        changes.push_back([](GC_Style& s) { s.genomeShowAnotations = !s.genomeShowAnotations; });
        changes.push_back([](GC_Style& s) { s.genomeShowMatchings = !s.genomeShowMatchings; });
        changes.push_back([](GC_Style& s) { s.genomeShowRuler = !s.genomeShowRuler; });
        changes.push_back([](GC_Style& s) { s.genomeShowText = !s.genomeShowText; });
        changes.push_back([](GC_Style& s) { s.genomeTextColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.genomeTextFont.setPointSize(77); });
        changes.push_back([](GC_Style& s) { s.genomeTextX += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeTextY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeTextAngle += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeTextPositionFlag += 1000; });
        changes.push_back([](GC_Style& s) { s.genomeHeightBig += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeHeightSmall += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeHeadLength += 1000.0; });
        changes.push_back([](GC_Style& s) { s.genomeLineColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.genomeFillColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.genomeArrowStyle += 1000; });
        changes.push_back([](GC_Style& s) { s.applyGeneY = !s.applyGeneY; });
        changes.push_back([](GC_Style& s) { s.applyGeneOrientation = !s.applyGeneOrientation; });
        changes.push_back([](GC_Style& s) { s.applyGeneShowText = !s.applyGeneShowText; });
        changes.push_back(
            [](GC_Style& s) { s.applyGeneTextAutomatic = !s.applyGeneTextAutomatic; });
        changes.push_back([](GC_Style& s) { s.applyGeneTextAngle = !s.applyGeneTextAngle; });
        changes.push_back(
            [](GC_Style& s) { s.applyGeneTextPositionFlag = !s.applyGeneTextPositionFlag; });
        changes.push_back([](GC_Style& s) { s.applyGeneTextColor = !s.applyGeneTextColor; });
        changes.push_back([](GC_Style& s) { s.applyGeneTextFont = !s.applyGeneTextFont; });
        changes.push_back([](GC_Style& s) { s.applyGeneTextX = !s.applyGeneTextX; });
        changes.push_back([](GC_Style& s) { s.applyGeneTextY = !s.applyGeneTextY; });
        changes.push_back([](GC_Style& s) { s.applyGeneHeightBig = !s.applyGeneHeightBig; });
        changes.push_back([](GC_Style& s) { s.applyGeneHeightSmall = !s.applyGeneHeightSmall; });
        changes.push_back([](GC_Style& s) { s.applyGeneHeadLength = !s.applyGeneHeadLength; });
        changes.push_back([](GC_Style& s) { s.applyGeneLineColor = !s.applyGeneLineColor; });
        changes.push_back([](GC_Style& s) { s.applyGeneFillColor = !s.applyGeneFillColor; });
        changes.push_back([](GC_Style& s) { s.applyGeneArrowStyle = !s.applyGeneArrowStyle; });
        changes.push_back([](GC_Style& s) { s.geneY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneOrientation += 1000; });
        changes.push_back([](GC_Style& s) { s.geneShowText = !s.geneShowText; });
        changes.push_back([](GC_Style& s) { s.geneTextAutomatic = !s.geneTextAutomatic; });
        changes.push_back([](GC_Style& s) { s.geneTextAngle += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneTextPositionFlag += 1000; });
        changes.push_back([](GC_Style& s) { s.geneTextColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.geneTextFont.setPointSize(77); });
        changes.push_back([](GC_Style& s) { s.geneTextX += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneTextY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneHeightBig += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneHeightSmall += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneHeadLength += 1000.0; });
        changes.push_back([](GC_Style& s) { s.geneLineColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.geneFillColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.geneArrowStyle += 1000; });
        changes.push_back([](GC_Style& s) { s.applyRulerY = !s.applyRulerY; });
        changes.push_back([](GC_Style& s) { s.applyRulerOrientation = !s.applyRulerOrientation; });
        changes.push_back(
            [](GC_Style& s) { s.applyRulerTextPlacement = !s.applyRulerTextPlacement; });
        changes.push_back([](GC_Style& s) {
            s.applyRulerHorizontalLineVisible = !s.applyRulerHorizontalLineVisible;
        });
        changes.push_back([](GC_Style& s) { s.applyRulerStyle = !s.applyRulerStyle; });
        changes.push_back([](GC_Style& s) { s.applyRulerHeightBig = !s.applyRulerHeightBig; });
        changes.push_back([](GC_Style& s) { s.applyRulerHeightSmall = !s.applyRulerHeightSmall; });
        changes.push_back(
            [](GC_Style& s) { s.applyRulerNucsPerPeriod = !s.applyRulerNucsPerPeriod; });
        changes.push_back(
            [](GC_Style& s) { s.applyRulerPeriodsPerBigLine = !s.applyRulerPeriodsPerBigLine; });
        changes.push_back(
            [](GC_Style& s) { s.applyRulerPixsPerPeriod = !s.applyRulerPixsPerPeriod; });
        changes.push_back([](GC_Style& s) { s.applyRulerLineColor = !s.applyRulerLineColor; });
        changes.push_back([](GC_Style& s) { s.applyRulerTextColor = !s.applyRulerTextColor; });
        changes.push_back([](GC_Style& s) { s.applyRulerTextFont = !s.applyRulerTextFont; });
        changes.push_back([](GC_Style& s) { s.rulerY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.rulerOrientation += 1000; });
        changes.push_back([](GC_Style& s) { s.rulerTextPlacement += 1000; });
        changes.push_back(
            [](GC_Style& s) { s.rulerHorizontalLineVisible = !s.rulerHorizontalLineVisible; });
        changes.push_back([](GC_Style& s) { s.rulerStyle += 1000; });
        changes.push_back([](GC_Style& s) { s.rulerHeightBig += 1000.0; });
        changes.push_back([](GC_Style& s) { s.rulerHeightSmall += 1000.0; });
        changes.push_back([](GC_Style& s) { s.rulerNucsPerPeriod += 1000; });
        changes.push_back([](GC_Style& s) { s.rulerPeriodsPerBigLine += 1000; });
        changes.push_back([](GC_Style& s) { s.rulerPixsPerPeriod += 1000; });
        changes.push_back([](GC_Style& s) { s.rulerLineColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.rulerTextColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.rulerTextFont.setPointSize(77); });
        changes.push_back([](GC_Style& s) { s.applyAnotationY = !s.applyAnotationY; });
        changes.push_back([](GC_Style& s) { s.applyAnotationHeight = !s.applyAnotationHeight; });
        changes.push_back(
            [](GC_Style& s) { s.applyAnotationShowText = !s.applyAnotationShowText; });
        changes.push_back([](GC_Style& s) { s.applyAnotationTextY = !s.applyAnotationTextY; });
        changes.push_back(
            [](GC_Style& s) { s.applyAnotationTextAngle = !s.applyAnotationTextAngle; });
        changes.push_back([](GC_Style& s) {
            s.applyAnotationTextPositionFlag = !s.applyAnotationTextPositionFlag;
        });
        changes.push_back(
            [](GC_Style& s) { s.applyAnotationLineColor = !s.applyAnotationLineColor; });
        changes.push_back(
            [](GC_Style& s) { s.applyAnotationFillColor = !s.applyAnotationFillColor; });
        changes.push_back(
            [](GC_Style& s) { s.applyAnotationTextColor = !s.applyAnotationTextColor; });
        changes.push_back(
            [](GC_Style& s) { s.applyAnotationTextFont = !s.applyAnotationTextFont; });
        changes.push_back([](GC_Style& s) { s.anotationY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.anotationHeight += 1000.0; });
        changes.push_back([](GC_Style& s) { s.anotationShowText = !s.anotationShowText; });
        changes.push_back([](GC_Style& s) { s.anotationTextY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.anotationTextAngle += 1000.0; });
        changes.push_back([](GC_Style& s) { s.anotationTextPositionFlag += 1000; });
        changes.push_back([](GC_Style& s) { s.anotationLineColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.anotationFillColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.anotationTextColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.anotationTextFont.setPointSize(77); });
        changes.push_back(
            [](GC_Style& s) { s.applyMatchingReverseColor = !s.applyMatchingReverseColor; });
        changes.push_back(
            [](GC_Style& s) { s.applyMatchingStraightColor = !s.applyMatchingStraightColor; });
        changes.push_back([](GC_Style& s) { s.matchingReverseColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.matchingStraightColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.applySceneMargin = !s.applySceneMargin; });
        changes.push_back([](GC_Style& s) {
            s.applySceneSeparationBetweenGenomes = !s.applySceneSeparationBetweenGenomes;
        });
        changes.push_back([](GC_Style& s) { s.sceneMargin += 1000.0; });
        changes.push_back([](GC_Style& s) { s.sceneSeparationBetweenGenomes += 1000.0; });
        changes.push_back([](GC_Style& s) { s.applyFreeTextX = !s.applyFreeTextX; });
        changes.push_back([](GC_Style& s) { s.applyFreeTextY = !s.applyFreeTextY; });
        changes.push_back([](GC_Style& s) { s.applyFreeTextAngle = !s.applyFreeTextAngle; });
        changes.push_back(
            [](GC_Style& s) { s.applyFreeTextPositionFlag = !s.applyFreeTextPositionFlag; });
        changes.push_back([](GC_Style& s) { s.applyFreeTextColor = !s.applyFreeTextColor; });
        changes.push_back([](GC_Style& s) { s.applyFreeTextFont = !s.applyFreeTextFont; });
        changes.push_back([](GC_Style& s) { s.freeTextX += 1000.0; });
        changes.push_back([](GC_Style& s) { s.freeTextY += 1000.0; });
        changes.push_back([](GC_Style& s) { s.freeTextAngle += 1000.0; });
        changes.push_back([](GC_Style& s) { s.freeTextPositionFlag += 1000; });
        changes.push_back([](GC_Style& s) { s.freeTextColor = QColor(1, 2, 3, 4); });
        changes.push_back([](GC_Style& s) { s.freeTextFont.setPointSize(77); });
        return changes;
    }

private slots:
    void defaultRecordHoldsNoStyle()
    {
        const GC_Style s;
        // Colours invalid, fonts the application's default.
        for (const QColor& c : { s.genomeTextColor, s.genomeLineColor, s.genomeFillColor,
                 s.geneTextColor, s.geneLineColor, s.geneFillColor, s.rulerLineColor,
                 s.rulerTextColor, s.anotationLineColor, s.anotationFillColor, s.anotationTextColor,
                 s.matchingReverseColor, s.matchingStraightColor, s.freeTextColor })
            QVERIFY(!c.isValid());
        for (const QFont& f : { s.genomeTextFont, s.geneTextFont, s.rulerTextFont,
                 s.anotationTextFont, s.freeTextFont })
            QCOMPARE(f, QGuiApplication::font());
        // A record nobody filled must not ask any reader to apply anything.
        GC_Style noneApplied = fullyWritten();
        noneApplied.applyGenomeX = false;
        noneApplied.applyGenomeY = false;
        noneApplied.applyGenomeOrientation = false;
        noneApplied.applyGenomePixPerNuc = false;
        noneApplied.applyGenomeShowGenes = false;
        noneApplied.applyGenomeShowAnotations = false;
        noneApplied.applyGenomeShowMatchings = false;
        noneApplied.applyGenomeShowRuler = false;
        noneApplied.applyGenomeShowText = false;
        noneApplied.applyGenomeTextColor = false;
        noneApplied.applyGenomeTextFont = false;
        noneApplied.applyGenomeTextX = false;
        noneApplied.applyGenomeTextY = false;
        noneApplied.applyGenomeTextAngle = false;
        noneApplied.applyGenomeTextPositionFlag = false;
        noneApplied.applyGenomeHeightBig = false;
        noneApplied.applyGenomeHeightSmall = false;
        noneApplied.applyGenomeHeadLength = false;
        noneApplied.applyGenomeLineColor = false;
        noneApplied.applyGenomeFillColor = false;
        noneApplied.applyGenomeArrowStyle = false;
        noneApplied.applyGeneY = false;
        noneApplied.applyGeneOrientation = false;
        noneApplied.applyGeneShowText = false;
        noneApplied.applyGeneTextAutomatic = false;
        noneApplied.applyGeneTextAngle = false;
        noneApplied.applyGeneTextPositionFlag = false;
        noneApplied.applyGeneTextColor = false;
        noneApplied.applyGeneTextFont = false;
        noneApplied.applyGeneTextX = false;
        noneApplied.applyGeneTextY = false;
        noneApplied.applyGeneHeightBig = false;
        noneApplied.applyGeneHeightSmall = false;
        noneApplied.applyGeneHeadLength = false;
        noneApplied.applyGeneLineColor = false;
        noneApplied.applyGeneFillColor = false;
        noneApplied.applyGeneArrowStyle = false;
        noneApplied.applyRulerY = false;
        noneApplied.applyRulerOrientation = false;
        noneApplied.applyRulerTextPlacement = false;
        noneApplied.applyRulerHorizontalLineVisible = false;
        noneApplied.applyRulerStyle = false;
        noneApplied.applyRulerHeightBig = false;
        noneApplied.applyRulerHeightSmall = false;
        noneApplied.applyRulerNucsPerPeriod = false;
        noneApplied.applyRulerPeriodsPerBigLine = false;
        noneApplied.applyRulerPixsPerPeriod = false;
        noneApplied.applyRulerLineColor = false;
        noneApplied.applyRulerTextColor = false;
        noneApplied.applyRulerTextFont = false;
        noneApplied.applyAnotationY = false;
        noneApplied.applyAnotationHeight = false;
        noneApplied.applyAnotationShowText = false;
        noneApplied.applyAnotationTextY = false;
        noneApplied.applyAnotationTextAngle = false;
        noneApplied.applyAnotationTextPositionFlag = false;
        noneApplied.applyAnotationLineColor = false;
        noneApplied.applyAnotationFillColor = false;
        noneApplied.applyAnotationTextColor = false;
        noneApplied.applyAnotationTextFont = false;
        noneApplied.applyMatchingReverseColor = false;
        noneApplied.applyMatchingStraightColor = false;
        noneApplied.applySceneMargin = false;
        noneApplied.applySceneSeparationBetweenGenomes = false;
        noneApplied.applyFreeTextX = false;
        noneApplied.applyFreeTextY = false;
        noneApplied.applyFreeTextAngle = false;
        noneApplied.applyFreeTextPositionFlag = false;
        noneApplied.applyFreeTextColor = false;
        noneApplied.applyFreeTextFont = false;
        GC_Style fresh;
        // Same flags as the default: copy the default's values over and compare.
        noneApplied.genomeX = fresh.genomeX;
        noneApplied.genomeY = fresh.genomeY;
        noneApplied.genomeOrientation = fresh.genomeOrientation;
        noneApplied.genomePixPerNuc = fresh.genomePixPerNuc;
        noneApplied.genomeShowGenes = fresh.genomeShowGenes;
        noneApplied.genomeShowAnotations = fresh.genomeShowAnotations;
        noneApplied.genomeShowMatchings = fresh.genomeShowMatchings;
        noneApplied.genomeShowRuler = fresh.genomeShowRuler;
        noneApplied.genomeShowText = fresh.genomeShowText;
        noneApplied.genomeTextColor = fresh.genomeTextColor;
        noneApplied.genomeTextFont = fresh.genomeTextFont;
        noneApplied.genomeTextX = fresh.genomeTextX;
        noneApplied.genomeTextY = fresh.genomeTextY;
        noneApplied.genomeTextAngle = fresh.genomeTextAngle;
        noneApplied.genomeTextPositionFlag = fresh.genomeTextPositionFlag;
        noneApplied.genomeHeightBig = fresh.genomeHeightBig;
        noneApplied.genomeHeightSmall = fresh.genomeHeightSmall;
        noneApplied.genomeHeadLength = fresh.genomeHeadLength;
        noneApplied.genomeLineColor = fresh.genomeLineColor;
        noneApplied.genomeFillColor = fresh.genomeFillColor;
        noneApplied.genomeArrowStyle = fresh.genomeArrowStyle;
        noneApplied.geneY = fresh.geneY;
        noneApplied.geneOrientation = fresh.geneOrientation;
        noneApplied.geneShowText = fresh.geneShowText;
        noneApplied.geneTextAutomatic = fresh.geneTextAutomatic;
        noneApplied.geneTextAngle = fresh.geneTextAngle;
        noneApplied.geneTextPositionFlag = fresh.geneTextPositionFlag;
        noneApplied.geneTextColor = fresh.geneTextColor;
        noneApplied.geneTextFont = fresh.geneTextFont;
        noneApplied.geneTextX = fresh.geneTextX;
        noneApplied.geneTextY = fresh.geneTextY;
        noneApplied.geneHeightBig = fresh.geneHeightBig;
        noneApplied.geneHeightSmall = fresh.geneHeightSmall;
        noneApplied.geneHeadLength = fresh.geneHeadLength;
        noneApplied.geneLineColor = fresh.geneLineColor;
        noneApplied.geneFillColor = fresh.geneFillColor;
        noneApplied.geneArrowStyle = fresh.geneArrowStyle;
        noneApplied.rulerY = fresh.rulerY;
        noneApplied.rulerOrientation = fresh.rulerOrientation;
        noneApplied.rulerTextPlacement = fresh.rulerTextPlacement;
        noneApplied.rulerHorizontalLineVisible = fresh.rulerHorizontalLineVisible;
        noneApplied.rulerStyle = fresh.rulerStyle;
        noneApplied.rulerHeightBig = fresh.rulerHeightBig;
        noneApplied.rulerHeightSmall = fresh.rulerHeightSmall;
        noneApplied.rulerNucsPerPeriod = fresh.rulerNucsPerPeriod;
        noneApplied.rulerPeriodsPerBigLine = fresh.rulerPeriodsPerBigLine;
        noneApplied.rulerPixsPerPeriod = fresh.rulerPixsPerPeriod;
        noneApplied.rulerLineColor = fresh.rulerLineColor;
        noneApplied.rulerTextColor = fresh.rulerTextColor;
        noneApplied.rulerTextFont = fresh.rulerTextFont;
        noneApplied.anotationY = fresh.anotationY;
        noneApplied.anotationHeight = fresh.anotationHeight;
        noneApplied.anotationShowText = fresh.anotationShowText;
        noneApplied.anotationTextY = fresh.anotationTextY;
        noneApplied.anotationTextAngle = fresh.anotationTextAngle;
        noneApplied.anotationTextPositionFlag = fresh.anotationTextPositionFlag;
        noneApplied.anotationLineColor = fresh.anotationLineColor;
        noneApplied.anotationFillColor = fresh.anotationFillColor;
        noneApplied.anotationTextColor = fresh.anotationTextColor;
        noneApplied.anotationTextFont = fresh.anotationTextFont;
        noneApplied.matchingReverseColor = fresh.matchingReverseColor;
        noneApplied.matchingStraightColor = fresh.matchingStraightColor;
        noneApplied.sceneMargin = fresh.sceneMargin;
        noneApplied.sceneSeparationBetweenGenomes = fresh.sceneSeparationBetweenGenomes;
        noneApplied.freeTextX = fresh.freeTextX;
        noneApplied.freeTextY = fresh.freeTextY;
        noneApplied.freeTextAngle = fresh.freeTextAngle;
        noneApplied.freeTextPositionFlag = fresh.freeTextPositionFlag;
        noneApplied.freeTextColor = fresh.freeTextColor;
        noneApplied.freeTextFont = fresh.freeTextFont;
        QVERIFY(noneApplied == fresh);
    }

    void copiesEqualFieldForField()
    {
        const GC_Style original = fullyWritten();
        const GC_Style copied(original);
        QVERIFY(copied == original);
        GC_Style assigned;
        QVERIFY(assigned != original);
        assigned = original;
        QVERIFY(assigned == original);
        QCOMPARE(copied.genomeTextFont.pointSize(), original.genomeTextFont.pointSize());
        QCOMPARE(copied.freeTextColor, original.freeTextColor);
    }

    void everyFieldTakesPartInComparison()
    {
        const GC_Style original = fullyWritten();
        const auto changes = fieldChanges();
        QCOMPARE(int(changes.size()), 140);
        for (size_t i = 0; i < changes.size(); ++i) {
            GC_Style changed = original;
            changes[i](changed);
            QVERIFY2(changed != original, qPrintable(QString("field %1").arg(i)));
        }
    }

    // Flags and values stay in step only by position: each group declares its
    // flags, then its values, and the groups follow one another in a fixed
    // order. Member addresses follow declaration order.
    void groupsAreLaidOutInOrder()
    {
        GC_Style s;
        std::vector<std::vector<const void*>> groups;
        groups.push_back({ &s.applyGenomeX, &s.applyGenomeY, &s.applyGenomeOrientation,
            &s.applyGenomePixPerNuc, &s.applyGenomeShowGenes, &s.applyGenomeShowAnotations,
            &s.applyGenomeShowMatchings, &s.applyGenomeShowRuler, &s.applyGenomeShowText,
            &s.applyGenomeTextColor, &s.applyGenomeTextFont, &s.applyGenomeTextX,
            &s.applyGenomeTextY, &s.applyGenomeTextAngle, &s.applyGenomeTextPositionFlag,
            &s.applyGenomeHeightBig, &s.applyGenomeHeightSmall, &s.applyGenomeHeadLength,
            &s.applyGenomeLineColor, &s.applyGenomeFillColor, &s.applyGenomeArrowStyle, &s.genomeX,
            &s.genomeY, &s.genomeOrientation, &s.genomePixPerNuc, &s.genomeShowGenes,
            &s.genomeShowAnotations, &s.genomeShowMatchings, &s.genomeShowRuler, &s.genomeShowText,
            &s.genomeTextColor, &s.genomeTextFont, &s.genomeTextX, &s.genomeTextY,
            &s.genomeTextAngle, &s.genomeTextPositionFlag, &s.genomeHeightBig, &s.genomeHeightSmall,
            &s.genomeHeadLength, &s.genomeLineColor, &s.genomeFillColor, &s.genomeArrowStyle });
        groups.push_back({ &s.applyGeneY, &s.applyGeneOrientation, &s.applyGeneShowText,
            &s.applyGeneTextAutomatic, &s.applyGeneTextAngle, &s.applyGeneTextPositionFlag,
            &s.applyGeneTextColor, &s.applyGeneTextFont, &s.applyGeneTextX, &s.applyGeneTextY,
            &s.applyGeneHeightBig, &s.applyGeneHeightSmall, &s.applyGeneHeadLength,
            &s.applyGeneLineColor, &s.applyGeneFillColor, &s.applyGeneArrowStyle, &s.geneY,
            &s.geneOrientation, &s.geneShowText, &s.geneTextAutomatic, &s.geneTextAngle,
            &s.geneTextPositionFlag, &s.geneTextColor, &s.geneTextFont, &s.geneTextX, &s.geneTextY,
            &s.geneHeightBig, &s.geneHeightSmall, &s.geneHeadLength, &s.geneLineColor,
            &s.geneFillColor, &s.geneArrowStyle });
        groups.push_back({ &s.applyRulerY, &s.applyRulerOrientation, &s.applyRulerTextPlacement,
            &s.applyRulerHorizontalLineVisible, &s.applyRulerStyle, &s.applyRulerHeightBig,
            &s.applyRulerHeightSmall, &s.applyRulerNucsPerPeriod, &s.applyRulerPeriodsPerBigLine,
            &s.applyRulerPixsPerPeriod, &s.applyRulerLineColor, &s.applyRulerTextColor,
            &s.applyRulerTextFont, &s.rulerY, &s.rulerOrientation, &s.rulerTextPlacement,
            &s.rulerHorizontalLineVisible, &s.rulerStyle, &s.rulerHeightBig, &s.rulerHeightSmall,
            &s.rulerNucsPerPeriod, &s.rulerPeriodsPerBigLine, &s.rulerPixsPerPeriod,
            &s.rulerLineColor, &s.rulerTextColor, &s.rulerTextFont });
        groups.push_back({ &s.applyAnotationY, &s.applyAnotationHeight, &s.applyAnotationShowText,
            &s.applyAnotationTextY, &s.applyAnotationTextAngle, &s.applyAnotationTextPositionFlag,
            &s.applyAnotationLineColor, &s.applyAnotationFillColor, &s.applyAnotationTextColor,
            &s.applyAnotationTextFont, &s.anotationY, &s.anotationHeight, &s.anotationShowText,
            &s.anotationTextY, &s.anotationTextAngle, &s.anotationTextPositionFlag,
            &s.anotationLineColor, &s.anotationFillColor, &s.anotationTextColor,
            &s.anotationTextFont });
        groups.push_back({ &s.applyMatchingReverseColor, &s.applyMatchingStraightColor,
            &s.matchingReverseColor, &s.matchingStraightColor });
        groups.push_back({ &s.applySceneMargin, &s.applySceneSeparationBetweenGenomes,
            &s.sceneMargin, &s.sceneSeparationBetweenGenomes });
        groups.push_back({ &s.applyFreeTextX, &s.applyFreeTextY, &s.applyFreeTextAngle,
            &s.applyFreeTextPositionFlag, &s.applyFreeTextColor, &s.applyFreeTextFont, &s.freeTextX,
            &s.freeTextY, &s.freeTextAngle, &s.freeTextPositionFlag, &s.freeTextColor,
            &s.freeTextFont });
        const int sizes[] = { 42, 32, 26, 20, 4, 4, 12 };
        const char* prev = nullptr;
        for (size_t g = 0; g < groups.size(); ++g) {
            QCOMPARE(int(groups[g].size()), sizes[g]);
            for (const void* p : groups[g]) {
                const char* c = static_cast<const char*>(p);
                QVERIFY(prev == nullptr || c > prev);
                prev = c;
            }
        }
    }
};

KESTAL_TEST_MAIN(TestStyle)
#include "tst_style.moc"
