#ifndef SIGNAL_WAIT_H
#define SIGNAL_WAIT_H

class QSignalSpy;

// Runs the event loop until the spy holds at least `count` signals or
// `timeoutMs` has passed; answers whether the count was reached.
//
// QSignalSpy::wait waits for a signal still to come, but a spy records a
// signal the moment another thread emits it: a thread that ends at once
// may have emitted before the wait begins, and the wait would then sit out
// its whole timeout. Counting what the spy already holds cannot miss it.
bool waitForSignal(QSignalSpy &spy, int timeoutMs, int count = 1);

#endif
