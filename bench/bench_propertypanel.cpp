// The property panel following the selection of a large comparison: a 5 Mb
// genome with 5,000 genes joined by 20,000 matchings. Figures with and
// without the panel connected show what the panel adds to selecting and
// removing many matchings at once, and what showing one genome costs.
#include "bench_report.h"
#include "bench_scenebuilder.h"

#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_itempropertieswidget.h"

#include <QApplication>
#include <QPainterPath>

namespace {

void quietMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

// Selects every matching at once (as a rubber band does), then removes the
// selection (matchings are hidden one by one).
void selectAndRemove(GC_GenomeScene &scene, const QString &name)
{
    QPainterPath everything;
    everything.addRect(scene.itemsBoundingRect().adjusted(-10, -10, 10, 10));
    BenchTimer timer;
    scene.setSelectionArea(everything, Qt::ReplaceSelection, Qt::IntersectsItemBoundingRect);
    QList<QGraphicsItem *> selected = scene.selectedItems();
    for (QGraphicsItem *item : selected)
        if (item->type() != ITEMTYPE_MATCHING)
            item->setSelected(false);
    benchReport(name + "_select", timer.elapsedMs(), "ms");
    timer.restart();
    scene.slotItemRemove();
    QCoreApplication::processEvents();
    benchReport(name + "_remove", timer.elapsedMs(), "ms");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(quietMessages);

    for (bool withPanel : {false, true}) {
        GC_GenomeScene scene;
        BenchSceneBuilder builder;
        builder.build(scene);
        GC_ItemPropertiesWidget panel;
        if (withPanel)
            panel.setScene(&scene);
        selectAndRemove(scene, withPanel ? "panel_20k_matchings" : "nopanel_20k_matchings");
        if (!withPanel)
            continue;

        BenchTimer timer;
        constexpr int rounds = 200;
        for (int i = 0; i < rounds; ++i) {
            scene.clearSelection();
            builder.top()->setSelected(true);
            QCoreApplication::processEvents();
        }
        benchReport("panel_show_genome", timer.elapsedMs() / rounds, "ms");
        timer.restart();
        for (int i = 0; i < rounds; ++i)
            scene.itemChanged();
        benchReport("panel_refill_genome", timer.elapsedMs() / rounds, "ms");
    }
    return 0;
}
