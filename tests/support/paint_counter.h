#ifndef PAINT_COUNTER_H
#define PAINT_COUNTER_H

#include <QEvent>
#include <QObject>

// Counts the paints a widget receives, once installed as its event filter:
// a test waits for the paint a step causes instead of a fixed time.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

#endif
