#include "platform/x11/PXvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace platform {

namespace {
constexpr int StartTimeoutMs = 15000;
}  // namespace

// Xvfb picks a free display number itself and writes it to the given descriptor once
// it accepts connections (-displayfd).
int PXvfbServer::Start(int width, int height)
{
    Stop();
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        error = "no pipe";
        return 0;
    }
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::string fd = std::to_string(pipeEnds[1]);
    pid = fork();
    if (pid == 0) {
        // The server ends with its parent, even one that crashed.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(pipeEnds[0]);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    if (pid < 0) {
        close(pipeEnds[0]);
        error = "no fork";
        return 0;
    }
    std::string number;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(StartTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd readable{pipeEnds[0], POLLIN, 0};
        if (poll(&readable, 1, 100) <= 0)
            continue;
        char c;
        if (read(pipeEnds[0], &c, 1) != 1)
            break;
        if (c == '\n')
            break;
        number += c;
    }
    close(pipeEnds[0]);
    if (number.empty()) {
        error = "Xvfb did not start (is the xvfb package installed? tools/install-deps installs it)";
        Stop();
        return 0;
    }
    displayName = ":" + number;
    return 1;
}

void PXvfbServer::Stop()
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    pid = -1;
    displayName.clear();
}

}  // namespace platform
