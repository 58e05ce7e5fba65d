#include "bench_view.h"

#include "bench_report.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>

void benchShowView(QGraphicsView &view, QGraphicsScene &scene, int width, int height)
{
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(width, height);
    view.setScene(&scene);
    view.show();
}

double benchRenderOnce(QGraphicsView &view, QImage &image)
{
    BenchTimer timer;
    image.fill(Qt::white);
    QPainter painter(&image);
    view.render(&painter, QRectF(image.rect()), view.viewport()->rect());
    painter.end();
    return timer.elapsedMs();
}
