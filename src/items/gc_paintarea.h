#ifndef GC_PAINTAREA_H
#define GC_PAINTAREA_H

#include <QRectF>

class QPainter;
class QStyleOptionGraphicsItem;

// The part of an item that a paint call can actually show: the exposed
// rectangle cut to the painter's clip and device. Items as wide as a zoomed
// genome (millions of pixels) draw only this, also when a whole scene is
// rendered, where the exposed rectangle is the item's full extent.
class GC_PaintArea
{
public:
    static QRectF visibleRect(const QPainter *painter, const QStyleOptionGraphicsItem *option);
};

#endif
