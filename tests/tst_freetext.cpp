#include "kestal_test.h"

#include "gc_freetext.h"
#include "gc_genomescene.h"
#include "gc_style.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

// Free texts: their canvas rows, their style group and their visibility.
class TestFreeText : public QObject
{
    Q_OBJECT

private:
    // Writes the texts to a new canvas table and reads them back.
    static QList<GC_FreeText *> roundTrip(const QList<GC_FreeText *> &texts)
    {
        QTemporaryDir dir;
        QList<GC_FreeText *> loaded;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "freetext");
            db.setDatabaseName(dir.filePath("canvas.kcv"));
            if (!db.open())
                return loaded;
            QSqlQuery query(db);
            if (!query.exec(GC_FreeText::sqlCreateTable()))
                return loaded;
            for (const GC_FreeText *text : texts)
                if (!text->saveToDb(query))
                    return loaded;
            QSqlQuery select(db);
            if (!select.exec(GC_FreeText::sqlSelect()))
                return loaded;
            while (select.next()) {
                auto *text = new GC_FreeText;
                text->loadFromQuery(select);
                loaded.append(text);
            }
        }
        QSqlDatabase::removeDatabase("freetext");
        return loaded;
    }

private slots:
    void newTextDefaults()
    {
        GC_FreeText text;
        QCOMPARE(text.type(), int(ITEMTYPE_FREETEXT));
        QVERIFY(text.flags() & QGraphicsItem::ItemIsMovable);
        QVERIFY(text.flags() & QGraphicsItem::ItemIsSelectable);
        QCOMPARE(text.zValue(), 2.0);
        QVERIFY(text.parentItem() == nullptr);
    }

    void savedTextReadsBackTheSame()
    {
        GC_FreeText written;
        written.setText("Phage lambda, late genes");
        written.setPos(-12.5, 340.25);
        written.setColor(QColor(200, 30, 60, 128)); // alpha is not kept
        QFont font("Serif");
        font.setPointSize(17);
        font.setBold(true);
        written.setFont(font);
        written.setAngle(33.5);
        written.setPositionFlag(2);
        GC_FreeText empty;
        empty.setText("");

        const QList<GC_FreeText *> loaded = roundTrip({&written, &empty});
        QCOMPARE(loaded.size(), 2);
        const GC_FreeText *read = loaded.at(0);
        QCOMPARE(read->text(), written.text());
        QCOMPARE(read->pos(), written.pos());
        QCOMPARE(read->color(), QColor(200, 30, 60));
        QCOMPARE(read->font().family(), written.font().family());
        QCOMPARE(read->font().pointSize(), 17);
        QVERIFY(read->font().bold());
        QCOMPARE(read->angle(), 33.5);
        QCOMPARE(read->positionFlag(), 2);
        QCOMPARE(loaded.at(1)->text(), QString(""));
        qDeleteAll(loaded);
    }

    void styleAppliesOnlyFlaggedValues()
    {
        GC_Style style;
        style.freeTextX = 10.0;
        style.freeTextY = 20.0;
        style.freeTextAngle = 45.0;
        style.freeTextPositionFlag = 0;
        style.freeTextColor = QColor(0, 0, 255);
        style.freeTextFont = QFont("Monospace", 21);

        GC_FreeText text;
        text.setText("label");
        text.setPos(1, 2);
        text.setStyle(style, false);
        QCOMPARE(text.pos(), QPointF(1, 2));
        QCOMPARE(text.angle(), 0.0);
        QCOMPARE(text.positionFlag(), 1);

        style.applyFreeTextY = true;
        style.applyFreeTextColor = true;
        text.setStyle(style, false);
        QCOMPARE(text.pos(), QPointF(1, 20));
        QCOMPARE(text.color(), QColor(0, 0, 255));
        QCOMPARE(text.angle(), 0.0);

        style.applyFreeTextY = false;
        style.applyFreeTextColor = false;
        text.setStyle(style, true);
        QCOMPARE(text.pos(), QPointF(10, 20));
        QCOMPARE(text.angle(), 45.0);
        QCOMPARE(text.positionFlag(), 0);
        QCOMPARE(text.font().pointSize(), 21);
    }

    void visibleOnlyInASceneWithTheSwitchOn()
    {
        GC_GenomeScene scene;
        auto *text = new GC_FreeText;
        text->updateVisibility();
        QVERIFY(!text->isVisible());
        scene.addFreeText(QPointF(), text);
        QVERIFY(text->isVisible());
        scene.slotViewFreeTexts(false);
        QVERIFY(!text->isVisible());
    }
};

KESTAL_TEST_MAIN(TestFreeText)
#include "tst_freetext.moc"
