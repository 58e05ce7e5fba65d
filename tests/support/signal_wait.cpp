#include "signal_wait.h"

#include <QDeadlineTimer>
#include <QSignalSpy>

#include <algorithm>

bool waitForSignal(QSignalSpy &spy, int timeoutMs, int count)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (spy.count() < count) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        // A signal that lands between the count and the wait does not end
        // the wait early; short slices keep that delay small.
        spy.wait(int(std::min<qint64>(left, 100)));
    }
    return true;
}
