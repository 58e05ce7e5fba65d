#include "kestal_test.h"

#include "gc_coggroupcolors.h"

#include <QSettings>

// The process-wide COG category colours: defaults, settings round trip and
// values that are no colour.
class TestCogGroupColors : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings settings;
        settings.clear();
        settings.sync();
        GC_CogGroupColors::cogGroupColors().clear();
    }

    void firstStartGivesTheBuiltInColours()
    {
        GC_CogGroupColors::loadGroupColors();
        const auto &colors = GC_CogGroupColors::cogGroupColors();
        QCOMPARE(colors.size(), 26);
        QCOMPARE(GC_CogGroupColors::codes().join(' '),
                 QString("-1 J L K A B E I C H F G P Q O M D U T V N Y Z W R S"));
        QCOMPARE(colors.value("-1"), QColor(255, 255, 255));
        QCOMPARE(colors.value("J"), QColor(102, 0, 0));
        QCOMPARE(colors.value("B"), QColor(204, 51, 51));
        QCOMPARE(colors.value("Q"), QColor(204, 255, 204));
        QCOMPARE(colors.value("O"), QColor(153, 102, 153));
        QCOMPARE(colors.value("V"), QColor(255, 255, 90));
        QCOMPARE(colors.value("W"), QColor(255, 255, 204));
        QCOMPARE(colors.value("S"), QColor(153, 51, 255));
        for (auto it = colors.cbegin(); it != colors.cend(); ++it) {
            QVERIFY2(it.value().isValid(), qPrintable(it.key()));
            QCOMPARE(it.value().alpha(), 255);
            QCOMPARE(it.value(), GC_CogGroupColors::defaultColor(it.key()));
        }
        // Loading writes nothing to the settings.
        QVERIFY(QSettings().allKeys().isEmpty());
    }

    void saveWritesExactlyTheTwentySixKeys()
    {
        GC_CogGroupColors::loadGroupColors();
        // A look-up of an unknown code adds it to the map, not to the settings.
        QVERIFY(!GC_CogGroupColors::groupColor("ZZ").isValid());
        QVERIFY(GC_CogGroupColors::cogGroupColors().contains("ZZ"));
        GC_CogGroupColors::saveColorSettings();

        QSettings settings;
        QStringList keys = settings.allKeys();
        keys.sort();
        QStringList expected;
        for (const QString &code : GC_CogGroupColors::codes())
            expected << "cogGroupColor," + code;
        expected.sort();
        QCOMPARE(keys, expected);
        QCOMPARE(settings.value("cogGroupColor,R").value<QColor>(), QColor(153, 0, 204));
    }

    void changedColourSurvivesARestart()
    {
        GC_CogGroupColors::loadGroupColors();
        GC_CogGroupColors::setGroupColor("J", QColor(1, 2, 3));
        GC_CogGroupColors::saveColorSettings();

        GC_CogGroupColors::cogGroupColors().clear();
        GC_CogGroupColors::loadGroupColors();
        QCOMPARE(GC_CogGroupColors::groupColor("J"), QColor(1, 2, 3));
        QCOMPARE(GC_CogGroupColors::groupColor("L"), QColor(153, 0, 0));
    }

    void storedTextsAndOtherValues()
    {
        {
            QSettings settings;
            settings.setValue("cogGroupColor,K", "red");
            settings.setValue("cogGroupColor,L", "#00ff80");
            settings.setValue("cogGroupColor,A", "no colour at all");
            settings.setValue("cogGroupColor,B", 5);
        }
        GC_CogGroupColors::loadGroupColors();
        QCOMPARE(GC_CogGroupColors::groupColor("K"), QColor(Qt::red));
        QCOMPARE(GC_CogGroupColors::groupColor("L"), QColor(0, 255, 128));
        QVERIFY(!GC_CogGroupColors::groupColor("A").isValid());
        QVERIFY(!GC_CogGroupColors::groupColor("B").isValid());
        QCOMPARE(GC_CogGroupColors::groupColor("J"), QColor(102, 0, 0));

        // The invalid colour is written back and stays until set again.
        GC_CogGroupColors::saveColorSettings();
        GC_CogGroupColors::cogGroupColors().clear();
        GC_CogGroupColors::loadGroupColors();
        QVERIFY(!GC_CogGroupColors::groupColor("A").isValid());
        QCOMPARE(GC_CogGroupColors::groupColor("K"), QColor(Qt::red));
    }

    void missingCodeIsWrittenAsInvalid()
    {
        // Nothing loaded: every code is missing and gets saved as invalid.
        GC_CogGroupColors::saveColorSettings();
        QCOMPARE(GC_CogGroupColors::cogGroupColors().size(), 26);
        GC_CogGroupColors::loadGroupColors();
        QVERIFY(!GC_CogGroupColors::groupColor("J").isValid());
    }

    void lookupsThatAddAndThatDoNot()
    {
        GC_CogGroupColors::loadGroupColors();
        QVERIFY(!GC_CogGroupColors::peekColor("X").isValid());
        QVERIFY(!GC_CogGroupColors::cogGroupColors().contains("X"));
        QVERIFY(!GC_CogGroupColors::groupColor("X").isValid());
        QVERIFY(GC_CogGroupColors::cogGroupColors().contains("X"));

        // Loading again replaces the 26 colours and leaves other codes.
        GC_CogGroupColors::setGroupColor("X", QColor(Qt::blue));
        GC_CogGroupColors::setGroupColor("J", QColor(Qt::green));
        GC_CogGroupColors::loadGroupColors();
        QCOMPARE(GC_CogGroupColors::peekColor("X"), QColor(Qt::blue));
        QCOMPARE(GC_CogGroupColors::peekColor("J"), QColor(102, 0, 0));
        QCOMPARE(GC_CogGroupColors::settingsKey("-1"), QString("cogGroupColor,-1"));
    }
};

KESTAL_TEST_MAIN(TestCogGroupColors)
#include "tst_coggroupcolors.moc"
