#include "kestal_test.h"

#include "gc_freetext.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_sceneimagerenderer.h"
#include "gc_userreach.h"
#include "scene_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cmath>
#include <memory>

using namespace SceneFixture;

namespace {

// A genome of 1000 nt at one pixel per nucleotide at (40, 50) in an empty
// frame that makes the canvas 1200 by 500; a 400 by 300 view shows part of
// it.
struct Canvas
{
    GC_GenomeScene scene;
    std::unique_ptr<GC_GenomeView> view;
    GC_Genome *genome = nullptr;

    Canvas()
    {
        genome = genomeWithSequence(1000, "g", 5);
        genome->setHeightBig(20);
        scene.addItem(genome);
        scene.insertTopGenome(genome);
        genome->updateChildren();
        genome->setPos(40, 50);
        scene.addRect(QRectF(0, 0, 1200.4, 500.6), Qt::NoPen);
        view = showView(scene, 400, 300);
    }
};

bool isWhite(const QColor &color)
{
    return color.red() > 245 && color.green() > 245 && color.blue() > 245;
}

// The bundled example as it opens, in a view 1214 by 300 pixels.
struct Example
{
    GC_GenomeScene scene;
    std::unique_ptr<GC_GenomeView> view;
    bool loaded = false;

    Example()
    {
        loaded = scene.loadKestalCanvas(kestalTestDataPath("../../examples/phages.kcv"));
        view = showView(scene, 1214, 300);
        scene.addItemsToScene();
    }

    // The scene part the view shows.
    QRectF shown() const { return view->mapToScene(view->viewport()->rect()).boundingRect(); }

    // A viewport point on the genome itself (not on a gene or label over it).
    QPoint pointOnGenome(GC_Genome *genome) const
    {
        const QRectF arrow = genome->sceneBoundingRect();
        for (double x = arrow.left() + 1; x < arrow.right(); x += 3) {
            const QPoint point = view->mapFromScene(QPointF(x, arrow.center().y()));
            if (scene.itemAt(view->mapToScene(point), view->transform()) == genome)
                return point;
        }
        return QPoint(-1, -1);
    }

    // Runs a layout command the way the menu does, events handled after it.
    void run(const QString &command)
    {
        if (command == "width")
            scene.slotViewAdjustToWidth();
        else if (command == "proportional")
            scene.slotViewAdjustProportional();
        else if (command == "trim")
            scene.slotViewFitCanvasToItems();
        else
            qFatal("unknown command %s", qPrintable(command));
        QCoreApplication::processEvents();
    }
};

// Two genomes of 1000 nucleotides at the given places, joined by a band.
GC_Genome *genomesWithABand(GC_GenomeScene &scene, const QPointF &topPlace, const QPointF &lowPlace)
{
    GC_Genome *top = genomeWithSequence(1000, "top", 1);
    GC_Genome *low = genomeWithSequence(1000, "low", 2);
    scene.insertTopGenome(top);
    scene.insertLowGenome(low);
    scene.addItemsToScene();
    top->setPos(topPlace);
    low->setPos(lowPlace);
    scene.addMatching(top, low, 100, 900, 100, 900, 90.0, 500.0);
    return top;
}

// The width and height of the PNG of the whole canvas, or (-1, -1).
QSize wholeCanvasSize(GC_GenomeScene &scene, const QString &fileName)
{
    QString name = fileName;
    if (!scene.exportImage(name, "PNG", true, false))
        return QSize(-1, -1);
    return QImage(name).size();
}

// The width and height stored in a saved canvas's scene row.
QSizeF savedSceneSize(GC_GenomeScene &scene, const QString &fileName)
{
    scene.setFileName(fileName);
    if (!scene.saveToKestalCanvas())
        return QSizeF(-1, -1);
    QSizeF size(-1, -1);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst_scene_row");
        db.setDatabaseName(fileName);
        QSqlQuery query(db);
        if (db.open() && query.exec("SELECT width, height FROM scene") && query.next())
            size = QSizeF(query.value(0).toDouble(), query.value(1).toDouble());
    }
    QSqlDatabase::removeDatabase("tst_scene_row");
    return size;
}

} // namespace

class TestImageExport : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void namesFollowTheFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no suffix") << "map" << "PNG" << "map.PNG";
        QTest::newRow("same suffix") << "map.png" << "PNG" << "map.png";
        QTest::newRow("other suffix") << "map.jpg" << "PNG" << "map.jpg.PNG";
        QTest::newRow("svg") << "out.svg" << "SVG" << "out.svg";
        QTest::newRow("lower-case format") << "out.png" << "png" << "out.png.png";
        QTest::newRow("dotted folder") << "a.b/map" << "BMP" << "a.b/map.BMP";
    }

    void namesFollowTheFormat()
    {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(GC_SceneImageRenderer::fileNameForFormat(name, format), expected);
    }

    void visibleAreaPngHasTheViewportSizeOnWhite()
    {
        Canvas c;
        QString name = path("view");
        QVERIFY(c.scene.exportImage(name, "PNG", false, true));
        QCOMPARE(name, path("view.PNG"));
        QImage image(name, "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(400, 300));
        QVERIFY(isWhite(image.pixelColor(390, 290)));
        // The genome is drawn in its fill colour.
        const QPoint onGenome = c.view->mapFromScene(c.genome->mapToScene(QPointF(200, 0)));
        QVERIFY(!isWhite(image.pixelColor(onGenome)));
    }

    void wholeScenePngHasTheSceneSizeWhateverTheZoom()
    {
        Canvas c;
        c.view->scale(3.0, 3.0);
        QString name = path("whole.png");
        QVERIFY(c.scene.exportImage(name, "PNG", true, false));
        QCOMPARE(name, path("whole.png"));
        const QImage image(name);
        QCOMPARE(image.size(), QSize(1200, 501));
        QVERIFY(isWhite(image.pixelColor(1190, 490)));
        // The row added by rounding 500.6 up is white too, not left unpainted.
        for (int x = 0; x < image.width(); x += 7)
            QVERIFY2(isWhite(image.pixelColor(x, 500)), qPrintable(QString::number(x)));
        QVERIFY(!isWhite(image.pixelColor(220, 50)));
    }

    // Laying out again, in any order, or dragging a genome away and back
    // and trimming, leaves the canvas (picture and saved scene row) the
    // size a fresh layout gives; each layout shows the top row in the view
    // wherever the view looked before.
    void wholeCanvasIsWhatTheLayoutHolds_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("proportional, width") << QStringList{"proportional", "width"};
        QTest::newRow("width, proportional") << QStringList{"width", "proportional"};
        QTest::newRow("proportional twice, width, trim")
            << QStringList{"proportional", "proportional", "width", "trim"};
        QTest::newRow("width, drag away and back, trim") << QStringList{"width", "drag", "trim"};
    }

    void wholeCanvasIsWhatTheLayoutHolds()
    {
        QFETCH(QStringList, commands);
        QString lastLayout;
        for (const QString &command : commands) {
            if (command == "width" || command == "proportional")
                lastLayout = command;
        }
        Example fresh;
        QVERIFY(fresh.loaded);
        fresh.run(lastLayout);
        const QSize freshSize = wholeCanvasSize(fresh.scene, path("fresh.png"));
        QVERIFY(freshSize.height() > 300);

        Example c;
        QVERIFY(c.loaded);
        GC_Genome *top = c.scene.topGenomes().first();
        for (const QString &command : commands) {
            if (command == "drag") {
                const QPoint start = c.pointOnGenome(top);
                QVERIFY(start.x() >= 0);
                const QPointF home = top->pos();
                QTest::mousePress(c.view->viewport(), Qt::LeftButton, {}, start);
                QTest::mouseMove(c.view->viewport(), start + QPoint(3000, 900));
                QCOMPARE(top->pos(), home + QPointF(3000, 900));
                // The canvas holds the genome while it is away.
                QVERIFY(c.scene.sceneRect().contains(top->sceneBoundingRect()));
                QTest::mouseMove(c.view->viewport(), start);
                QTest::mouseRelease(c.view->viewport(), Qt::LeftButton, {}, start);
                QCOMPARE(top->pos(), home);
                continue;
            }
            // Looking at the far corner first.
            for (QScrollBar *bar : {c.view->horizontalScrollBar(), c.view->verticalScrollBar()})
                bar->setValue(bar->maximum());
            c.run(command);
            if (command != "trim") {
                for (GC_Genome *genome : c.scene.topGenomes())
                    QVERIFY2(c.shown().contains(genome->sceneBoundingRect()), qPrintable(command));
            }
        }
        QCOMPARE(wholeCanvasSize(c.scene, path("again.png")), freshSize);
        const QSizeF saved = savedSceneSize(c.scene, path("again.kcv"));
        QCOMPARE(QSize(qRound(saved.width()), qRound(saved.height())), freshSize);
    }

    // A band far taller than the strips the screen fills it in, drawn
    // smoothed into a picture: an even fill, no row set apart from the rows
    // above and below it.
    void tallBandsAreDrawnWithoutSeams_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("PNG") << "PNG";
        QTest::newRow("SVG") << "SVG";
    }

    void tallBandsAreDrawnWithoutSeams()
    {
        QFETCH(QString, format);
        GC_GenomeScene scene;
        genomesWithABand(scene, QPointF(20, 20), QPointF(20, 433));
        // The band alone between the two arrows.
        scene.slotViewGCcontentBars(false);
        scene.slotViewRulers(false);
        scene.slotViewTexts(false);
        const auto view = showView(scene, 400, 300);
        QString name = path("band." + format.toLower());
        QVERIFY(scene.exportImage(name, format, true, true));
        const QRectF canvas = scene.itemsBoundingRect();
        const QSize size(qRound(canvas.width()), qRound(canvas.height()));
        const QImage image = format == "SVG" ? drawnSvg(name, size, Qt::white) : QImage(name);
        QCOMPARE(image.size(), size);

        const QRect band = scene.matchings()
                               .first()
                               ->sceneBoundingRect()
                               .translated(-canvas.topLeft())
                               .toRect()
                               .adjusted(2, 2, -2, -2);
        QVERIFY(band.height() > 300);
        QVERIFY(!isWhite(image.pixelColor(band.center())));
        QList<int> seams;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) {
                const QRgb above = image.pixel(x, y - 1);
                if (image.pixel(x, y + 1) == above && image.pixel(x, y) != above) {
                    seams.append(y);
                    break;
                }
            }
        }
        QVERIFY2(seams.isEmpty(), qPrintable(QString("%1 rows, the first %2")
                                                  .arg(seams.size())
                                                  .arg(seams.value(0))));
    }

    void bmpAndJpgAreWrittenAndReadBack()
    {
        Canvas c;
        for (const QString &format : {QString("BMP"), QString("JPG")}) {
            QString name = path("picture." + format.toLower());
            QVERIFY(c.scene.exportImage(name, format, false, true));
            QCOMPARE(name, path("picture." + format.toLower()));
            const QImage image(name);
            QVERIFY2(!image.isNull(), qPrintable(format));
            QCOMPARE(image.size(), QSize(400, 300));
            QVERIFY(isWhite(image.pixelColor(395, 295)));
        }
    }

    void svgParsesAndShowsTheVisibleArea()
    {
        Canvas c;
        for (bool whole : {false, true}) {
            QString name = path(whole ? "whole" : "visible");
            QVERIFY(c.scene.exportImage(name, "SVG", whole, true));
            QCOMPARE(QFileInfo(name).suffix(), QString("SVG"));
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            bool sawSvg = false;
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"svg")
                    sawSvg = true;
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(sawSvg);
            QSvgRenderer renderer(name);
            QVERIFY(renderer.isValid());
            // The visible area or the whole scene rectangle, rounded.
            QCOMPARE(renderer.viewBox(), whole ? QRect(0, 0, 1200, 501) : QRect(0, 0, 400, 300));
            // No background: an empty corner stays transparent.
            QImage image(400, 300, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            QCOMPARE(image.pixelColor(395, 295).alpha(), 0);
        }
    }

    // The whole scene fills the page: the page in millimetres is the view
    // box at 96 to the inch, and shapes at the scene's corners reach the
    // corners of the rendered file.
    void wholeSceneSvgFillsItsPage()
    {
        GC_GenomeScene scene;
        scene.addRect(0, 0, 50, 50, Qt::NoPen, Qt::red);
        scene.addRect(1450, 350, 50, 50, Qt::NoPen, Qt::blue);
        scene.setSceneRect(0, 0, 1500, 400);
        const auto view = showView(scene, 400, 300);
        QString name = path("page.svg");
        QVERIFY(scene.exportImage(name, "SVG", true, true));

        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        while (!xml.atEnd() && !(xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"svg")) {
        }
        const QXmlStreamAttributes page = xml.attributes();
        QCOMPARE(page.value("viewBox").toString().simplified(), QString("0 0 1500 400"));
        auto pixels = [](QStringView millimetres) {
            if (!millimetres.endsWith(u"mm"))
                return -1.0;
            return millimetres.chopped(2).toDouble() / 25.4 * 96.0;
        };
        QVERIFY(qAbs(pixels(page.value("width")) - 1500.0) < 0.5);
        QVERIFY(qAbs(pixels(page.value("height")) - 400.0) < 0.5);

        const QImage image = drawnSvg(name, QSize(1500, 400), Qt::transparent);
        QVERIFY(!image.isNull());
        for (const QPoint &corner : {QPoint(1, 1), QPoint(48, 48)})
            QCOMPARE(image.pixelColor(corner), QColor(Qt::red));
        for (const QPoint &corner : {QPoint(1452, 352), QPoint(1498, 398)})
            QCOMPARE(image.pixelColor(corner), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(750, 200).alpha(), 0);
    }

    void failuresReturnFalseAndWriteNothing()
    {
        Canvas c;
        QString empty;
        QVERIFY(!c.scene.exportImage(empty, "PNG", false, true));
        QVERIFY(empty.isEmpty());
        QString noFormat = path("noformat");
        QVERIFY(!c.scene.exportImage(noFormat, QString(), false, true));
        QVERIFY(!QFileInfo::exists(noFormat));

        // An unwritable place: a folder that does not exist.
        QString missing = path("no/such/folder/out.png");
        QVERIFY(!c.scene.exportImage(missing, "PNG", false, true));
        QVERIFY(!c.scene.lastErrorText().isEmpty());
        QVERIFY(!QFileInfo::exists(missing));
        QString missingSvg = path("no/such/folder/out.svg");
        QVERIFY(!c.scene.exportImage(missingSvg, "SVG", false, true));

        // A format no image writer knows.
        QString unknown = path("out.XYZ");
        QVERIFY(!c.scene.exportImage(unknown, "XYZ", false, true));
        QVERIFY(!QFileInfo::exists(unknown));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).filter("out.XYZ").isEmpty());
    }

    void aFailedExportKeepsTheOldFile()
    {
        Canvas c;
        QString name = path("keep.XYZ");
        QFile old(name);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old image");
        old.close();
        QVERIFY(!c.scene.exportImage(name, "XYZ", false, true));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old image"));
    }

    // A whole canvas too large for a picture is refused in words that give
    // the size the picture would have and what to do instead; the view of
    // the same canvas is still exported.
    void aSceneTooLargeToDrawIsRefused_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("change");
        QTest::newRow("more pixels than memory allows") << "PNG" << "area";
        for (const QString format : {"PNG", "SVG"}) {
            QTest::newRow(qPrintable("a genome at 1,000,000 pixels per nucleotide, " + format))
                << format << "scale";
            QTest::newRow(qPrintable("a name label far from the rest, " + format)) << format << "label";
            QTest::newRow(qPrintable("wider than an int, " + format)) << format << "wide";
        }
    }

    void aSceneTooLargeToDrawIsRefused()
    {
        QFETCH(QString, format);
        QFETCH(QString, change);
        Canvas c;
        if (change == "area") {
            c.scene.addRect(QRectF(0, 0, 200000, 100000), Qt::NoPen);
        } else if (change == "scale") {
            QVERIFY(c.genome->setPixPerNuc(1.0e6));
        } else if (change == "label") {
            c.genome->setTextX(-900000.0);
        } else {
            // Its width taken modulo 2^32 would be 476.
            c.scene.addRect(QRectF(0, 0, 4294967296.0 + 476.0, 472), Qt::NoPen);
        }
        const QRectF rect = c.scene.itemsBoundingRect();
        const QString size = QString("would be %1 by %2 pixels")
                                 .arg(QLocale().toString(qint64(std::round(rect.width()))),
                                      QLocale().toString(qint64(std::round(rect.height()))));
        QString name = path("huge." + format.toLower());
        QVERIFY(!c.scene.exportImage(name, format, true, true));
        QVERIFY2(c.scene.lastErrorText().contains(size), qPrintable(c.scene.lastErrorText()));
        QVERIFY2(c.scene.lastErrorText().contains("Export the current view instead"),
                 qPrintable(c.scene.lastErrorText()));
        QVERIFY(!QFileInfo::exists(name));
        QString view = path("view." + format.toLower());
        QVERIFY2(c.scene.exportImage(view, format, false, true), qPrintable(c.scene.lastErrorText()));
        QVERIFY(QFileInfo(view).size() > 0);
    }

    // A genome drawn at the largest scale grows the canvas; the scale set
    // back, the picture of the whole canvas is what the items hold again,
    // though the window's canvas keeps the size it grew to.
    void wholeCanvasDrawsOnceTheScaleIsBack()
    {
        Example c;
        QVERIFY(c.loaded);
        const QSize fresh = wholeCanvasSize(c.scene, path("fresh.png"));
        GC_Genome *top = c.scene.topGenomes().first();
        const double scale = top->getPixPerNuc();
        // As the property panel writes a scale.
        QVERIFY(top->setPixPerNuc(GC_UserReach::maxPixPerNuc));
        c.scene.setModified(true);
        QTRY_VERIFY(c.scene.sceneRect().width() > 1.0e9);
        QVERIFY(top->setPixPerNuc(scale));
        c.scene.setModified(true);
        QString name = path("back.png");
        QVERIFY2(c.scene.exportImage(name, "PNG", true, true), qPrintable(c.scene.lastErrorText()));
        QCOMPARE(QImage(name).size(), fresh);
    }

    // A picture shows no selection marks: not a band's hatching, a
    // genome's dashed outline and handles or a label's frame; the items
    // stay selected, and the panel hears of no change.
    void picturesShowNoSelectionMarks()
    {
        GC_GenomeScene scene;
        GC_Genome *top = genomesWithABand(scene, QPointF(40, 60), QPointF(40, 300));
        scene.addFreeText(QPointF(60, 180));
        scene.slotViewControlPoints(true);
        const auto view = showView(scene, 1100, 420);
        auto picture = [&](const QString &name) {
            QString file = path(name);
            return scene.exportImage(file, "PNG", true, true) ? QImage(file) : QImage();
        };
        const QImage plain = picture("plain.png");
        QVERIFY(!plain.isNull());
        const QList<QGraphicsItem *> chosen{scene.matchings().first(), top, scene.freeTexts().first()};
        for (QGraphicsItem *item : chosen)
            item->setSelected(true);
        QSignalSpy selection(&scene, &QGraphicsScene::selectionChanged);
        QVERIFY(picture("selected.png") == plain);
        for (QGraphicsItem *item : chosen)
            QVERIFY(item->isSelected());
        QCOMPARE(selection.size(), 0);
    }

    void withoutAViewNothingIsDrawn()
    {
        GC_GenomeScene scene;
        QString name = path("noview.png");
        QVERIFY(!scene.exportImage(name, "PNG", true, true));
        QVERIFY(!QFileInfo::exists(name));
    }
};

KESTAL_TEST_MAIN(TestImageExport)
#include "tst_imageexport.moc"
