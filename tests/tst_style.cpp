#include "kestal_test.h"

#include "gc_style.h"

#include <QGuiApplication>
#include <functional>
#include <type_traits>
#include <vector>

// Every field of the record, group by group, flags before values, in the
// order the record must declare them.
#define GENOME_FLAGS(F) \
    F(applyGenomeX) F(applyGenomeY) F(applyGenomeOrientation) F(applyGenomePixPerNuc) \
    F(applyGenomeShowGenes) F(applyGenomeShowAnotations) F(applyGenomeShowMatchings) \
    F(applyGenomeShowRuler) F(applyGenomeShowText) F(applyGenomeTextColor) \
    F(applyGenomeTextFont) F(applyGenomeTextX) F(applyGenomeTextY) F(applyGenomeTextAngle) \
    F(applyGenomeTextPositionFlag) F(applyGenomeHeightBig) F(applyGenomeHeightSmall) \
    F(applyGenomeHeadLength) F(applyGenomeLineColor) F(applyGenomeFillColor) \
    F(applyGenomeArrowStyle)
#define GENOME_VALUES(F) \
    F(genomeX) F(genomeY) F(genomeOrientation) F(genomePixPerNuc) F(genomeShowGenes) \
    F(genomeShowAnotations) F(genomeShowMatchings) F(genomeShowRuler) F(genomeShowText) \
    F(genomeTextColor) F(genomeTextFont) F(genomeTextX) F(genomeTextY) F(genomeTextAngle) \
    F(genomeTextPositionFlag) F(genomeHeightBig) F(genomeHeightSmall) F(genomeHeadLength) \
    F(genomeLineColor) F(genomeFillColor) F(genomeArrowStyle)
#define GENE_FLAGS(F) \
    F(applyGeneY) F(applyGeneOrientation) F(applyGeneShowText) F(applyGeneTextAutomatic) \
    F(applyGeneTextAngle) F(applyGeneTextPositionFlag) F(applyGeneTextColor) \
    F(applyGeneTextFont) F(applyGeneTextX) F(applyGeneTextY) F(applyGeneHeightBig) \
    F(applyGeneHeightSmall) F(applyGeneHeadLength) F(applyGeneLineColor) F(applyGeneFillColor) \
    F(applyGeneArrowStyle)
#define GENE_VALUES(F) \
    F(geneY) F(geneOrientation) F(geneShowText) F(geneTextAutomatic) F(geneTextAngle) \
    F(geneTextPositionFlag) F(geneTextColor) F(geneTextFont) F(geneTextX) F(geneTextY) \
    F(geneHeightBig) F(geneHeightSmall) F(geneHeadLength) F(geneLineColor) F(geneFillColor) \
    F(geneArrowStyle)
#define RULER_FLAGS(F) \
    F(applyRulerY) F(applyRulerOrientation) F(applyRulerTextPlacement) \
    F(applyRulerHorizontalLineVisible) F(applyRulerStyle) F(applyRulerHeightBig) \
    F(applyRulerHeightSmall) F(applyRulerNucsPerPeriod) F(applyRulerPeriodsPerBigLine) \
    F(applyRulerPixsPerPeriod) F(applyRulerLineColor) F(applyRulerTextColor) \
    F(applyRulerTextFont)
#define RULER_VALUES(F) \
    F(rulerY) F(rulerOrientation) F(rulerTextPlacement) F(rulerHorizontalLineVisible) \
    F(rulerStyle) F(rulerHeightBig) F(rulerHeightSmall) F(rulerNucsPerPeriod) \
    F(rulerPeriodsPerBigLine) F(rulerPixsPerPeriod) F(rulerLineColor) F(rulerTextColor) \
    F(rulerTextFont)
#define ANOTATION_FLAGS(F) \
    F(applyAnotationY) F(applyAnotationHeight) F(applyAnotationShowText) F(applyAnotationTextY) \
    F(applyAnotationTextAngle) F(applyAnotationTextPositionFlag) F(applyAnotationLineColor) \
    F(applyAnotationFillColor) F(applyAnotationTextColor) F(applyAnotationTextFont)
#define ANOTATION_VALUES(F) \
    F(anotationY) F(anotationHeight) F(anotationShowText) F(anotationTextY) \
    F(anotationTextAngle) F(anotationTextPositionFlag) F(anotationLineColor) \
    F(anotationFillColor) F(anotationTextColor) F(anotationTextFont)
#define MATCHING_FLAGS(F) \
    F(applyMatchingReverseColor) F(applyMatchingStraightColor)
#define MATCHING_VALUES(F) \
    F(matchingReverseColor) F(matchingStraightColor)
#define SCENE_FLAGS(F) \
    F(applySceneMargin) F(applySceneSeparationBetweenGenomes)
#define SCENE_VALUES(F) \
    F(sceneMargin) F(sceneSeparationBetweenGenomes)
#define FREETEXT_FLAGS(F) \
    F(applyFreeTextX) F(applyFreeTextY) F(applyFreeTextAngle) F(applyFreeTextPositionFlag) \
    F(applyFreeTextColor) F(applyFreeTextFont)
#define FREETEXT_VALUES(F) \
    F(freeTextX) F(freeTextY) F(freeTextAngle) F(freeTextPositionFlag) F(freeTextColor) \
    F(freeTextFont)
#define ALL_FLAGS(F) \
    GENOME_FLAGS(F) GENE_FLAGS(F) RULER_FLAGS(F) ANOTATION_FLAGS(F) MATCHING_FLAGS(F) \
    SCENE_FLAGS(F) FREETEXT_FLAGS(F)
#define ALL_VALUES(F) \
    GENOME_VALUES(F) GENE_VALUES(F) RULER_VALUES(F) ANOTATION_VALUES(F) MATCHING_VALUES(F) \
    SCENE_VALUES(F) FREETEXT_VALUES(F)
#define GROUPS(G) \
    G(GENOME_FLAGS, GENOME_VALUES) G(GENE_FLAGS, GENE_VALUES) G(RULER_FLAGS, RULER_VALUES) \
    G(ANOTATION_FLAGS, ANOTATION_VALUES) G(MATCHING_FLAGS, MATCHING_VALUES) \
    G(SCENE_FLAGS, SCENE_VALUES) G(FREETEXT_FLAGS, FREETEXT_VALUES)

namespace {

// A value unlike the default and unlike every other field of its kind.
void writeDistinct(bool &value, int) { value = true; }
void writeDistinct(int &value, int k) { value = 100 + k; }
void writeDistinct(double &value, int k) { value = 0.5 + k; }
void writeDistinct(QColor &value, int k) { value = QColor::fromRgb(k * 7 % 256, k * 13 % 256, k * 29 % 256); }
void writeDistinct(QFont &value, int k)
{
    value = QFont("Serif");
    value.setPointSize(6 + k);
}

void alter(bool &value) { value = !value; }
void alter(int &value) { value += 1000; }
void alter(double &value) { value += 1000.0; }
void alter(QColor &value) { value = QColor(1, 2, 3, 4); }
void alter(QFont &value) { value.setPointSize(77); }

GC_Style fullyWritten()
{
    GC_Style s;
    int k = 1;
#define WRITE(name) writeDistinct(s.name, k++);
    ALL_FLAGS(WRITE)
    ALL_VALUES(WRITE)
#undef WRITE
    return s;
}

} // namespace

// The style record: defaults, copies, and the layout of its seven groups.
class TestStyle : public QObject
{
    Q_OBJECT

private slots:
    void defaultRecordHoldsNoStyle()
    {
        const GC_Style s;
        for (const QColor &c : {s.genomeTextColor, s.genomeLineColor, s.genomeFillColor,
                                s.geneTextColor, s.geneLineColor, s.geneFillColor,
                                s.rulerLineColor, s.rulerTextColor, s.anotationLineColor,
                                s.anotationFillColor, s.anotationTextColor,
                                s.matchingReverseColor, s.matchingStraightColor,
                                s.freeTextColor})
            QVERIFY(!c.isValid());
        for (const QFont &f : {s.genomeTextFont, s.geneTextFont, s.rulerTextFont,
                               s.anotationTextFont, s.freeTextFont})
            QCOMPARE(f, QGuiApplication::font());
        // A record nobody filled asks no reader to apply anything.
#define CHECK_OFF(name) QVERIFY2(!s.name, #name);
        ALL_FLAGS(CHECK_OFF)
#undef CHECK_OFF
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
        std::vector<std::pair<const char *, std::function<void(GC_Style &)>>> changes;
#define CHANGE(name) changes.emplace_back(#name, [](GC_Style &s) { alter(s.name); });
        ALL_FLAGS(CHANGE)
        ALL_VALUES(CHANGE)
#undef CHANGE
        QCOMPARE(int(changes.size()), 140);
        for (const auto &change : changes) {
            GC_Style changed = original;
            change.second(changed);
            QVERIFY2(changed != original, change.first);
        }
    }

    void valuesHaveTheirKinds()
    {
        int flags = 0, doubles = 0, ints = 0, bools = 0, colors = 0, fonts = 0;
#define COUNT_FLAG(name) flags += std::is_same_v<decltype(GC_Style::name), bool>;
#define COUNT_KIND(name)                                                                          \
    doubles += std::is_same_v<decltype(GC_Style::name), double>;                                  \
    ints += std::is_same_v<decltype(GC_Style::name), int>;                                        \
    bools += std::is_same_v<decltype(GC_Style::name), bool>;                                      \
    colors += std::is_same_v<decltype(GC_Style::name), QColor>;                                   \
    fonts += std::is_same_v<decltype(GC_Style::name), QFont>;
        ALL_FLAGS(COUNT_FLAG)
        ALL_VALUES(COUNT_KIND)
#undef COUNT_KIND
#undef COUNT_FLAG
        QCOMPARE(flags, 70);
        QCOMPARE(doubles, 28);
        QCOMPARE(ints, 14);
        QCOMPARE(bools, 9);
        QCOMPARE(colors, 14);
        QCOMPARE(fonts, 5);
    }

    // Flags and values stay in step only by position: each group declares its
    // flags, then its values, and the groups follow one another in a fixed
    // order. Member addresses follow declaration order.
    void groupsAreLaidOutInOrder()
    {
        GC_Style s;
        std::vector<std::vector<const void *>> groups;
        std::vector<int> flagCounts;
        std::vector<int> valueCounts;
#define ADDRESS(name) groups.back().push_back(&s.name);
#define COUNT_FLAG(name) ++flagCounts.back();
#define COUNT_VALUE(name) ++valueCounts.back();
#define GROUP(FLAGS, VALUES)                                                                      \
    groups.emplace_back();                                                                        \
    flagCounts.push_back(0);                                                                      \
    valueCounts.push_back(0);                                                                     \
    FLAGS(ADDRESS) VALUES(ADDRESS) FLAGS(COUNT_FLAG) VALUES(COUNT_VALUE)
        GROUPS(GROUP)
#undef GROUP
#undef COUNT_VALUE
#undef COUNT_FLAG
#undef ADDRESS
        QCOMPARE(flagCounts, std::vector<int>({21, 16, 13, 10, 2, 2, 6}));
        QCOMPARE(valueCounts, flagCounts);
        const char *previous = nullptr;
        for (const auto &group : groups) {
            for (const void *address : group) {
                const char *current = static_cast<const char *>(address);
                QVERIFY(previous == nullptr || current > previous);
                previous = current;
            }
        }
    }
};

KESTAL_TEST_MAIN(TestStyle)
#include "tst_style.moc"
