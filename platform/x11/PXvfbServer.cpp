#include "platform/x11/PXvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace platform {

namespace {
constexpr int StartTimeoutMs = 15000;
constexpr int ProbeTimeoutMs = 500;

bool HasProperty(Display* d, Window window, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(d, window, property, 0, 0, False, AnyPropertyType, &type, &format, &count, &left,
                                    &data) == Success &&
                 type != None;
    if (data)
        XFree(data);
    return found;
}

// A window manager is ready once it manages a new top-level window. Owning the manager
// selection WM_S<screen> and publishing a client list come earlier: in a few of a
// hundred fresh starts openbox never showed a window mapped just after them. So probe
// windows are mapped, a new one each time, until one is shown with the WM_STATE a
// manager gives the windows it manages (a window shown without it was mapped before
// the manager took the screen, and proves nothing).
bool ManagerShowsWindows(const std::string& displayName)
{
    Display* d = XOpenDisplay(displayName.c_str());
    if (!d)
        return false;
    std::string selection = "WM_S" + std::to_string(DefaultScreen(d));
    bool shown = false;
    if (XGetSelectionOwner(d, XInternAtom(d, selection.c_str(), False)) != None) {
        Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        XMapWindow(d, probe);
        XSync(d, False);
        Atom wmState = XInternAtom(d, "WM_STATE", False);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ProbeTimeoutMs);
        while (!shown && std::chrono::steady_clock::now() < deadline) {
            XWindowAttributes attributes{};
            shown = XGetWindowAttributes(d, probe, &attributes) && attributes.map_state == IsViewable &&
                    HasProperty(d, probe, wmState);
            if (!shown)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        XDestroyWindow(d, probe);
        XSync(d, False);
    }
    XCloseDisplay(d);
    return shown;
}

void EndChild(pid_t child)
{
    if (child <= 0)
        return;
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}
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
    StopWindowManager();
    EndChild(pid);
    pid = -1;
    displayName.clear();
}

int PXvfbServer::StartWindowManager(const char* program)
{
    StopWindowManager();
    if (displayName.empty()) {
        error = "no X server to manage";
        return 0;
    }
    managerPid = fork();
    if (managerPid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        setenv("DISPLAY", displayName.c_str(), 1);
        execlp(program, program, "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (managerPid < 0) {
        error = "no fork";
        return 0;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(StartTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ManagerShowsWindows(displayName))
            return 1;
        int status = 0;
        if (waitpid(managerPid, &status, WNOHANG) == managerPid) {
            managerPid = -1;
            error = std::string(program) + " ended at once (is it installed? tools/install-deps installs openbox)";
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error = std::string(program) + " did not take over the screen";
    StopWindowManager();
    return 0;
}

void PXvfbServer::StopWindowManager()
{
    EndChild(managerPid);
    managerPid = -1;
}

}  // namespace platform
