#include "signal_wait.h"

#include <QSignalSpy>
#include <QTest>

bool waitForSignal(QSignalSpy &spy, int timeoutMs, int count)
{
    return QTest::qWaitFor([&] { return spy.count() >= count; }, timeoutMs);
}
