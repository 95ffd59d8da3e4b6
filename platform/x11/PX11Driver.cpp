#include "platform/x11/PX11Driver.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace platform {

namespace {
constexpr int StartTimeoutMs = 15000;

Display* AsDisplay(void* d) { return static_cast<Display*>(d); }
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

PX11Driver::~PX11Driver()
{
    if (display)
        XCloseDisplay(AsDisplay(display));
}

int PX11Driver::Open(const char* displayName)
{
    Display* d = XOpenDisplay(displayName);
    if (!d)
        return 0;
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(d);
        return 0;
    }
    display = d;
    return 1;
}

void PX11Driver::MovePointer(int x, int y)
{
    XTestFakeMotionEvent(AsDisplay(display), -1, x, y, CurrentTime);
    XFlush(AsDisplay(display));
}

void PX11Driver::Button(int button, bool down)
{
    XTestFakeButtonEvent(AsDisplay(display), unsigned(button), down, CurrentTime);
    XFlush(AsDisplay(display));
}

// A symbol the keyboard map lacks is bound to a spare key first, and left bound, so
// that the client reads the key with the map it was typed with.
void PX11Driver::TypeKeySymbol(unsigned long symbol)
{
    Display* d = AsDisplay(display);
    KeyCode code = XKeysymToKeycode(d, symbol);
    if (!code)
        code = BindSpareKey(symbol);
    if (!code)
        return;
    XTestFakeKeyEvent(AsDisplay(display), code, True, CurrentTime);
    XTestFakeKeyEvent(AsDisplay(display), code, False, CurrentTime);
    XFlush(AsDisplay(display));
}

unsigned char PX11Driver::BindSpareKey(unsigned long symbol)
{
    Display* d = AsDisplay(display);
    int first = 0, last = 0, perCode = 0;
    XDisplayKeycodes(d, &first, &last);
    KeySym* map = XGetKeyboardMapping(d, KeyCode(first), last - first + 1, &perCode);
    if (!map)
        return 0;
    int spare = 0;
    for (int code = last; code >= first && !spare; code--) {
        bool empty = true;
        for (int i = 0; i < perCode; i++)
            empty = empty && map[(code - first) * perCode + i] == NoSymbol;
        if (empty)
            spare = code;
    }
    XFree(map);
    if (!spare)
        return 0;
    KeySym symbols[2] = {symbol, symbol};
    XChangeKeyboardMapping(d, spare, 2, symbols, 1);
    XSync(d, False);
    return static_cast<unsigned char>(spare);
}

void PX11Driver::RequestClose(unsigned long window)
{
    Display* d = AsDisplay(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
}

void PX11Driver::Sync() { XSync(AsDisplay(display), False); }

}  // namespace platform
