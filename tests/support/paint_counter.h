#ifndef PAINT_COUNTER_H
#define PAINT_COUNTER_H

#include <QEvent>
#include <QObject>

// Counts the paints of the widget it filters: a test waits for a step's paint.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

#endif
