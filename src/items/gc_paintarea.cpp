#include "gc_paintarea.h"

#include <QPaintDevice>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>

QRectF GC_PaintArea::visibleRect(const QPainter *painter, const QStyleOptionGraphicsItem *option)
{
    QRectF area = option->exposedRect;
    if (!painter)
        return area;
    if (painter->hasClipping())
        area &= painter->clipBoundingRect();
    const QPaintDevice *device = painter->device();
    bool invertible = false;
    const QTransform toItem = painter->deviceTransform().inverted(&invertible);
    // Some devices (an SVG generator without a size, a picture) report no
    // extent: then the exposed rectangle and the clip decide alone.
    if (device && invertible && device->width() > 0 && device->height() > 0) {
        // Generous by the pixel ratio: too large only costs a little drawing.
        const double ratio = std::max(1.0, device->devicePixelRatioF());
        area &= toItem.mapRect(QRectF(0, 0, device->width() * ratio, device->height() * ratio));
    }
    return area;
}
