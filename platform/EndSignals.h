#pragma once

namespace platform {

// The end of the session asked of the program: SIGTERM and SIGHUP on Linux (a log-out,
// a shutdown, the terminal gone). The handler only notes the request and wakes the
// waiting loop through a pipe; the program then ends in its own time. Windows has no
// such signals: nothing is caught there.
void CatchEndSignals();
// Whether an end was asked for since the last call; the wake-up is drained.
bool TakeEndRequest();
// The descriptor that becomes readable when an end is asked for, for a wait on it;
// -1 before CatchEndSignals and on Windows.
int EndRequestDescriptor();

}  // namespace platform
