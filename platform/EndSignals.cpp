#include "platform/EndSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {
volatile sig_atomic_t requested = 0;
int wakeEnds[2] = {-1, -1};

// Only what a signal handler may do: a flag and a write.
void OnEndSignal(int)
{
    int saved = errno;
    requested = 1;
    if (wakeEnds[1] >= 0) {
        char byte = 1;
        ssize_t ignored = write(wakeEnds[1], &byte, 1);
        (void)ignored;
    }
    errno = saved;
}
}  // namespace

void CatchEndSignals()
{
    if (wakeEnds[0] < 0 && pipe(wakeEnds) == 0) {
        for (int fd : wakeEnds) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool TakeEndRequest()
{
    if (!requested)
        return false;
    requested = 0;
    char bytes[64];
    while (wakeEnds[0] >= 0 && read(wakeEnds[0], bytes, sizeof bytes) > 0) {
    }
    return true;
}

int EndRequestDescriptor() { return wakeEnds[0]; }

}  // namespace platform
