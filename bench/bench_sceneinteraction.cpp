// Interaction on a realistic canvas: two 5 Mb genomes of 5,000 genes with
// 100,000 matchings. Image export of the view and of the whole scene, the
// context menu and the removal (hiding) of every matching selected at once,
// a zoom-mode click, hover moves over the canvas, and cloning a genome with
// all its matchings.
#include "bench_report.h"
#include "bench_scenebuilder.h"
#include "bench_view.h"

#include "gc_coghomologies.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_scenecontextmenu.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QMouseEvent>

#include <memory>

namespace {

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &point, Qt::MouseButton button)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button)
                                                                      : Qt::NoButton;
    QMouseEvent event(type, QPointF(point), QPointF(target->mapToGlobal(point)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    GC_GenomeScene scene;
    GC_GenomeView view;
    benchShowView(view, scene);

    BenchSceneBuilder builder;
    builder.matchingCount = 100000;
    builder.build(scene);
    view.centerOn(scene.itemsBoundingRect().center());
    QCoreApplication::processEvents();

    {
        BenchTimer timer;
        QString name = dir.filePath("view.png");
        const bool ok = scene.exportImage(name, "PNG", false, true);
        benchReport(ok ? "export_png_view_1920x1080" : "export_png_view_FAILED",
                    timer.elapsedMs(), "ms");
    }
    {
        const QRectF rect = scene.itemsBoundingRect();
        BenchTimer timer;
        QString name = dir.filePath("scene.png");
        const bool ok = scene.exportImage(name, "PNG", true, true);
        benchReport(QString("export_png_whole_scene_%1x%2%3")
                        .arg(qRound(rect.width()))
                        .arg(qRound(rect.height()))
                        .arg(ok ? "" : "_FAILED"),
                    timer.elapsedMs(), "ms");
    }
    {
        // Bands a few pixels wide, as in a real comparison, each a smoothed
        // polygon the picture's height between the genomes.
        for (GC_Genome *genome : {builder.top(), builder.low()})
            genome->setPixPerNuc(genome->getPixPerNuc() * 10.0);
        QCoreApplication::processEvents();
        const QRectF rect = scene.itemsBoundingRect();
        BenchTimer timer;
        QString name = dir.filePath("wide.png");
        const bool ok = scene.exportImage(name, "PNG", true, true);
        benchReport(QString("export_png_whole_scene_wide_bands_%1x%2%3")
                        .arg(qRound(rect.width()))
                        .arg(qRound(rect.height()))
                        .arg(ok ? "" : "_FAILED"),
                    timer.elapsedMs(), "ms");
        for (GC_Genome *genome : {builder.top(), builder.low()})
            genome->setPixPerNuc(genome->getPixPerNuc() / 10.0);
        QCoreApplication::processEvents();
    }
    {
        BenchTimer timer;
        QString name = dir.filePath("view.svg");
        const bool ok = scene.exportImage(name, "SVG", false, true);
        benchReport(ok ? "export_svg_view" : "export_svg_view_FAILED", timer.elapsedMs(), "ms");
        benchReport("export_svg_view_size", QFileInfo(name).size() / 1e6, "MB");
    }

    // Hover moves across the middle of the view.
    {
        const int moves = 200;
        BenchTimer timer;
        for (int i = 0; i < moves; ++i)
            sendMouse(view.viewport(), QEvent::MouseMove, QPoint(10 + i * 9, 540 + (i % 7)), Qt::NoButton);
        benchReport("hover_move", timer.elapsedMs() / moves, "ms");
    }

    // Hover moves along a shown COG bar (the item under the cursor is
    // looked up on each move).
    {
        builder.top()->setShowCogHomologies(true);
        const QRectF bar = builder.top()->getCogHomologies()->sceneBoundingRect();
        const int moves = 50;
        BenchTimer timer;
        for (int i = 0; i < moves; ++i) {
            const QPointF point(bar.left() + (i + 0.5) * bar.width() / moves, bar.center().y());
            sendMouse(view.viewport(), QEvent::MouseMove, view.mapFromScene(point), Qt::NoButton);
        }
        benchReport("hover_move_over_bar", timer.elapsedMs() / moves, "ms");
        builder.top()->setShowCogHomologies(false);
    }

    // A zoom-mode click on the top genome.
    {
        scene.setMode(GC_GenomeScene::ModeZoomIn);
        const QPoint point = view.mapFromScene(
            builder.top()->mapToScene(QPointF(builder.top()->boundingRect().center().x(), 0)));
        BenchTimer timer;
        sendMouse(view.viewport(), QEvent::MouseButtonPress, point, Qt::LeftButton);
        sendMouse(view.viewport(), QEvent::MouseButtonRelease, point, Qt::LeftButton);
        benchReport("zoom_mode_click", timer.elapsedMs(), "ms");
        scene.setMode(GC_GenomeScene::ModeSelect);
    }

    // Every matching selected: the menu, then removal (which hides them).
    const QList<GC_GenomeMatching *> all = scene.matchings();
    for (GC_GenomeMatching *matching : all)
        matching->setSelected(true);
    {
        BenchTimer timer;
        std::unique_ptr<QMenu> menu(GC_SceneContextMenu::build(&scene, nullptr));
        benchReport("context_menu_100k_matchings_selected", timer.elapsedMs(), "ms");
    }
    {
        BenchTimer timer;
        scene.slotItemRemove();
        benchReport("remove_100k_selected_matchings", timer.elapsedMs(), "ms");
    }
    scene.slotViewMatchingsBitScore(0.0);

    // Cloning the low genome with its 100,000 matchings.
    {
        scene.clearSelection();
        builder.low()->setSelected(true);
        BenchTimer timer;
        scene.slotGenomeClone();
        benchReport("clone_genome_100k_matchings", timer.elapsedMs(), "ms");
    }
    return 0;
}
