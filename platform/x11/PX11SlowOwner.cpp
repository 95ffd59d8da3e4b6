#include "platform/x11/PX11SlowOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace platform {

namespace {
struct Transfer {
    Window requestor = 0;
    Atom property = 0;
    Atom type = 0;
    size_t sent = 0;
    int pieces = 0;
    bool ended = false;
};

bool NextEvent(Display* d, XEvent& event, std::chrono::steady_clock::time_point deadline)
{
    while (!XPending(d)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(d), POLLIN, 0};
        poll(&connection, 1, int(std::min<long long>(left.count(), 100)));
    }
    XNextEvent(d, &event);
    return true;
}

void Answer(Display* d, const XSelectionRequestEvent& request, Atom property)
{
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = property;
    XSendEvent(d, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(d);
}
}  // namespace

int ServeClipboardSlowly(const char* displayName, const std::string& text, size_t piece, int pauseMs, int readyFd,
                         int waitMs)
{
    Display* d = XOpenDisplay(displayName);
    if (!d)
        return 0;
    Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom incr = XInternAtom(d, "INCR", False);
    XSetSelectionOwner(d, clipboard, window, CurrentTime);
    bool owner = XGetSelectionOwner(d, clipboard) == window;
    char ready = 1;
    if (!owner || write(readyFd, &ready, 1) != 1) {
        XCloseDisplay(d);
        return 0;
    }
    Transfer transfer;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    XEvent event;
    while (!transfer.ended && NextEvent(d, event, deadline)) {
        if (event.type == SelectionRequest) {
            const XSelectionRequestEvent& request = event.xselectionrequest;
            bool asksText = request.target == utf8 || request.target == XA_STRING;
            if (!asksText || transfer.requestor) {
                Answer(d, request, None);
                continue;
            }
            transfer = {request.requestor, request.property, request.target, 0, 0, false};
            XSelectInput(d, request.requestor, PropertyChangeMask);
            long size = long(text.size());
            XChangeProperty(d, request.requestor, request.property, incr, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&size), 1);
            Answer(d, request, request.property);
        } else if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete &&
                   event.xproperty.window == transfer.requestor && event.xproperty.atom == transfer.property) {
            if (transfer.pieces == 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            size_t size = std::min(piece, text.size() - transfer.sent);
            XChangeProperty(d, transfer.requestor, transfer.property, transfer.type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data() + transfer.sent), int(size));
            XFlush(d);
            transfer.sent += size;
            transfer.pieces++;
            transfer.ended = size == 0;
        }
    }
    XCloseDisplay(d);
    return transfer.ended ? 1 : 0;
}

}  // namespace platform
