#include "kestal_test.h"

#include "gc_interval.h"
#include "gc_intervalmap.h"

#include <QRandomGenerator>

#include <climits>

// Interval arithmetic and the merging set of intervals.
class TestInterval : public QObject
{
    Q_OBJECT

private:
    static QList<GC_Interval> keysOf(const GC_IntervalMap &map) { return map.intervals(); }

private slots:
    void constructionOrdersTheEnds()
    {
        const GC_Interval a(10, 3);
        QCOMPARE(a.start(), 3);
        QCOMPARE(a.end(), 10);
        QCOMPARE(a.length(), 8);
        const GC_Interval b(7, 7);
        QCOMPARE(b.length(), 1);
        QCOMPARE(b.startIndex(), 6);
        // A length past the int range, which no genome has, stops at its top.
        QCOMPARE(GC_Interval(1, INT_MAX).length(), INT_MAX);
        QCOMPARE(GC_Interval(-5, INT_MAX).length(), INT_MAX);
    }

    void validity()
    {
        QVERIFY(!GC_Interval().isValid());
        QCOMPARE(GC_Interval().start(), -1);
        QVERIFY(!GC_Interval(-1, 5).isValid());
        QVERIFY(!GC_Interval(5, -1).isValid());
        QVERIFY(GC_Interval(0, 0).isValid());
    }

    void distanceTo()
    {
        const GC_Interval range(10, 20);
        QCOMPARE(range.distanceTo(4), 6);
        QCOMPARE(range.distanceTo(10), 0);
        QCOMPARE(range.distanceTo(15), 0);
        QCOMPARE(range.distanceTo(20), 0);
        QCOMPARE(range.distanceTo(25), 5);
        QCOMPARE(range.distanceTo(INT_MIN), INT_MAX);
        QCOMPARE(GC_Interval(INT_MIN, -10).distanceTo(INT_MAX), INT_MAX);
        QVERIFY(range.endsBefore(21));
        QVERIFY(!range.endsBefore(20));
        QVERIFY(range.startsAfter(9));
        QVERIFY(!range.startsAfter(10));
        QVERIFY(range.startsAfterEndOf(GC_Interval(1, 9)));
        QVERIFY(!range.startsAfterEndOf(GC_Interval(1, 10)));
    }

    void overlapTouchAndOrder()
    {
        const GC_Interval a(1, 10);
        QVERIFY(a.touches(GC_Interval(11, 20)));
        QVERIFY(!a.overlaps(GC_Interval(11, 20)));
        QVERIFY(!a.touches(GC_Interval(12, 20)));
        QVERIFY(a.overlaps(GC_Interval(10, 20)));
        QVERIFY(GC_Interval(11, 20).touches(a));
        QVERIFY(a < GC_Interval(11, 20));
        QVERIFY(!(a < GC_Interval(10, 20)));
        QVERIFY(!(GC_Interval(10, 20) < a));
        QVERIFY(a == GC_Interval(10, 1));
        QVERIFY(a != GC_Interval(1, 11));
        // No overflow at the top of the int range.
        QVERIFY(GC_Interval(INT_MAX - 1, INT_MAX).touches(GC_Interval(1, 2)) == false);
    }

    void uniteAndContains()
    {
        GC_Interval a(1, 10);
        a.unite(GC_Interval(11, 20));
        QCOMPARE(a, GC_Interval(1, 20));
        GC_Interval b(1, 10);
        b.unite(GC_Interval(12, 20));
        QCOMPARE(b, GC_Interval(1, 10));
        b.unite(GC_Interval(3, 5));
        QCOMPARE(b, GC_Interval(1, 10));
        QVERIFY(b.contains(GC_Interval(1, 10)));
        QVERIFY(b.contains(GC_Interval(3, 5)));
        QVERIFY(!b.contains(GC_Interval(0, 5)));
        QCOMPARE(b.minStart(GC_Interval(-3, 2)), -3);
        QCOMPARE(b.maxEnd(GC_Interval(-3, 2)), 10);
    }

    void mapMergesOverlappingInserts()
    {
        GC_IntervalMap map;
        map.insert(GC_Interval(1, 100));
        map.insert(GC_Interval(50, 200));
        QCOMPARE(keysOf(map), QList<GC_Interval>({GC_Interval(1, 200)}));

        GC_IntervalMap bridged;
        bridged.insert(GC_Interval(1, 10));
        bridged.insert(GC_Interval(20, 30));
        bridged.insert(GC_Interval(5, 25));
        QCOMPARE(keysOf(bridged), QList<GC_Interval>({GC_Interval(1, 30)}));

        // One insert swallowing many keys, some at its very edges.
        GC_IntervalMap many;
        for (int i = 0; i < 10; ++i)
            many.insert(GC_Interval(i * 10 + 1, i * 10 + 5));
        many.insert(GC_Interval(15, 71));
        QCOMPARE(keysOf(many),
                 QList<GC_Interval>({GC_Interval(1, 5), GC_Interval(11, 75), GC_Interval(81, 85),
                                     GC_Interval(91, 95)}));
        QCOMPARE(many.totalLength(), qint64(5 + 65 + 5 + 5));
    }

    void adjacentKeysStaySeparateUntilMerged()
    {
        GC_IntervalMap map;
        map.insert(GC_Interval(1, 10));
        map.insert(GC_Interval(21, 30));
        map.insert(GC_Interval(11, 20));
        QCOMPARE(keysOf(map), QList<GC_Interval>({GC_Interval(1, 10), GC_Interval(11, 20),
                                                  GC_Interval(21, 30)}));
        QCOMPARE(map.totalLength(), qint64(30));
        map.mergeTouching();
        QCOMPARE(keysOf(map), QList<GC_Interval>({GC_Interval(1, 30)}));
        QVERIFY(map.anyContains(GC_Interval(1, 30)));

        GC_IntervalMap gap;
        gap.insert(GC_Interval(1, 5));
        gap.insert(GC_Interval(7, 9));
        gap.mergeTouching();
        QCOMPARE(keysOf(gap), QList<GC_Interval>({GC_Interval(1, 5), GC_Interval(7, 9)}));

        GC_IntervalMap empty;
        empty.mergeTouching();
        QVERIFY(empty.isEmpty());
        QCOMPARE(empty.totalLength(), qint64(0));
    }

    void mapQueries()
    {
        GC_IntervalMap map;
        QVERIFY(!map.anyOverlaps(GC_Interval(1, 5)));
        QVERIFY(!map.anyContains(GC_Interval(1, 5)));
        map.insert(GC_Interval(10, 20));
        map.insert(GC_Interval(40, 60));
        QVERIFY(map.anyOverlaps(GC_Interval(20, 30)));
        QVERIFY(map.anyOverlaps(GC_Interval(1, 100)));
        QVERIFY(!map.anyOverlaps(GC_Interval(21, 39)));
        QVERIFY(!map.anyOverlaps(GC_Interval(61, 70)));
        QVERIFY(map.anyContains(GC_Interval(45, 60)));
        QVERIFY(!map.anyContains(GC_Interval(15, 45)));
        QVERIFY(!map.anyContains(GC_Interval(1, 9)));
    }

    void mapAgreesWithBruteForce()
    {
        // Random inserts against a per-nucleotide reference.
        QRandomGenerator random(11);
        GC_IntervalMap map;
        QVector<bool> covered(2001, false);
        for (int i = 0; i < 300; ++i) {
            const int a = 1 + int(random.bounded(2000));
            const int b = qMin(2000, a + int(random.bounded(20)));
            map.insert(GC_Interval(a, b));
            for (int n = a; n <= b; ++n)
                covered[n] = true;
        }
        qint64 expected = 0;
        for (int n = 1; n <= 2000; ++n)
            expected += covered[n];
        QCOMPARE(map.totalLength(), expected);
        const QList<GC_Interval> keys = map.intervals();
        for (int i = 1; i < keys.size(); ++i)
            QVERIFY(keys[i - 1].end() < keys[i].start());
        for (int n = 1; n <= 2000; ++n)
            QCOMPARE(map.anyOverlaps(GC_Interval(n, n)), bool(covered[n]));
    }
};

KESTAL_TEST_MAIN(TestInterval)
#include "tst_interval.moc"
