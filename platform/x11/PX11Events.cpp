// The message queue of the X11 backend: X events become window messages.
#include <poll.h>

#include <algorithm>

#include "PX11State.h"  // private to this backend
#include "platform/EndSignals.h"

namespace platform {

namespace {
constexpr uintptr_t MK_LBUTTON = 0x1;
constexpr uintptr_t MK_RBUTTON = 0x2;
constexpr uintptr_t MK_SHIFT = 0x4;
constexpr uintptr_t MK_CONTROL = 0x8;
constexpr uintptr_t MK_MBUTTON = 0x10;

uintptr_t ButtonFlags(unsigned state)
{
    return (state & Button1Mask ? MK_LBUTTON : 0) | (state & Button2Mask ? MK_MBUTTON : 0) |
           (state & Button3Mask ? MK_RBUTTON : 0) | (state & ShiftMask ? MK_SHIFT : 0) |
           (state & ControlMask ? MK_CONTROL : 0);
}

}  // namespace

void PX11System::CollectNativeInput() { state->Drain(); }

bool PX11System::WaitNativeInput(int timeoutMs) { return state->WaitReadable(timeoutMs); }

bool PX11System::IsShownOnScreen(PHandle window) { return IsShown(window); }

void PX11System::State::Drain()
{
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        Translate(event);
    }
}

bool PX11System::State::WaitReadable(int timeoutMs)
{
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) > 0)
        return true;
    // An end of the session asked for by a signal wakes the wait too.
    pollfd waited[2] = {{ConnectionNumber(display), POLLIN, 0}, {EndRequestDescriptor(), POLLIN, 0}};
    return poll(waited, waited[1].fd >= 0 ? 2 : 1, timeoutMs) > 0;
}

void PX11System::State::PushInput(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                                  uint32_t character)
{
    owner->QueueInput(window, message, wParam, lParam, character);
}

void PX11System::State::Translate(XEvent& event)
{
    switch (event.type) {
    case SelectionRequest:
        AnswerSelectionRequest(event.xselectionrequest);
        return;
    case PropertyNotify:
        PropertyChanged(event.xproperty);
        return;
    case SelectionClear:
        if (event.xselectionclear.selection == clipboard)
            ownsClipboard = false;
        return;
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    default:
        break;
    }
    Window window = event.xany.window;
    WindowRecord* record = Find(window);
    if (!record)
        return;
    switch (event.type) {
    case Expose: {
        const XExposeEvent& e = event.xexpose;
        PRect exposed{e.x, e.y, e.x + e.width, e.y + e.height};
        exposed.right = std::min(exposed.right, record->width);
        exposed.bottom = std::min(exposed.bottom, record->height);
        owner->Invalidate(window, exposed);
        return;
    }
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& e = event.xbutton;
        bool press = event.type == ButtonPress;
        if (e.button == Button4 || e.button == Button5) {
            if (press) {
                int delta = e.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
                PushInput(window, WM_MOUSEWHEEL, (uintptr_t(uint16_t(delta)) << 16) | ButtonFlags(e.state),
                          MakeLParam(e.x_root, e.y_root));
            }
            return;
        }
        static constexpr uint32_t Down[] = {0, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
        static constexpr uint32_t Up[] = {0, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
        if (e.button >= 1 && e.button <= 3)
            PushInput(window, press ? Down[e.button] : Up[e.button], ButtonFlags(e.state), MakeLParam(e.x, e.y));
        return;
    }
    case MotionNotify:
        PushInput(window, WM_MOUSEMOVE, ButtonFlags(event.xmotion.state),
                  MakeLParam(event.xmotion.x, event.xmotion.y));
        return;
    case KeyPress:
        PushInput(window, WM_KEYDOWN, VirtualKeyOf(event.xkey), 1, CharacterOf(event.xkey));
        return;
    case KeyRelease:
        PushInput(window, WM_KEYUP, VirtualKeyOf(event.xkey), intptr_t(0xC0000001));
        return;
    case ConfigureNotify: {
        // Only the window manager resizes behind the program's back.
        const XConfigureEvent& e = event.xconfigure;
        if (e.width != std::max(record->width, 1) || e.height != std::max(record->height, 1)) {
            record->width = e.width;
            record->height = e.height;
            PushInput(window, WM_SIZE, 0, MakeLParam(e.width, e.height));
        }
        return;
    }
    case ClientMessage:
        if (event.xclient.message_type == wmProtocols && Atom(event.xclient.data.l[0]) == wmDeleteWindow)
            PushInput(window, WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

}  // namespace platform
