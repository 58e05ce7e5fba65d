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
    // Item to device coordinates without the offset of a painting redirected
    // into the window's backing store (which deviceTransform() includes): a
    // view inside a window is painted at its place in the window, but its
    // own size is the device's.
    const QTransform toItem = painter->combinedTransform().inverted(&invertible);
    // Some devices (an SVG generator without a size, a picture) report no
    // extent: then the exposed rectangle and the clip decide alone.
    if (device && invertible && device->width() > 0 && device->height() > 0) {
        // Generous by the pixel ratio: too large only costs a little drawing.
        const double ratio = std::max(1.0, device->devicePixelRatioF());
        area &= toItem.mapRect(QRectF(0, 0, device->width() * ratio, device->height() * ratio));
    }
    return area;
}
