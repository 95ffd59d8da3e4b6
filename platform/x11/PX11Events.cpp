// The message queue of the X11 backend: X events become window messages.
#include <poll.h>

#include <algorithm>

#include "platform/x11/PX11State.h"

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

PRect Union(const PRect& a, const PRect& b)
{
    if (a.Empty())
        return b;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}
}  // namespace

int PX11System::PostMessage(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (window && !state->Find(window))
        return 0;
    state->posted.Push(PMessage{window, message, wParam, lParam});
    return 1;
}

// Posted messages come before input, input before paints.
int PX11System::PeekMessage(PMessage& message)
{
    if (state->posted.Pop(message))
        return 1;
    state->Drain();
    return state->input.Pop(message) || state->TakePaint(message);
}

int PX11System::GetMessage(PMessage& message)
{
    while (!PeekMessage(message))
        state->WaitReadable(-1);
    return 1;
}

int PX11System::WaitMessage(int timeoutMs)
{
    if (state->Ready())
        return 1;
    if (state->WaitReadable(timeoutMs))
        state->Drain();
    return state->Ready() ? 1 : 0;
}

int PX11System::TranslateMessage(const PMessage& message)
{
    if (message.message != WM_KEYDOWN || message.character == 0)
        return 0;
    return PostMessage(message.window, WM_CHAR, message.character, message.lParam);
}

intptr_t PX11System::DispatchMessage(const PMessage& message)
{
    State::WindowRecord* record = state->Find(message.window);
    if (!record)
        return 0;
    return record->procedure(message.window, message.message, message.wParam, message.lParam);
}

intptr_t PX11System::DefWindowProc(PHandle window, uint32_t message, uintptr_t, intptr_t)
{
    State::WindowRecord* record = state->Find(window);
    if (record && message == WM_PAINT)
        record->update = PRect();
    if (record && message == WM_CLOSE)
        DestroyWindow(window);
    return 0;
}

void PX11System::State::Drain()
{
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        Translate(event);
    }
}

bool PX11System::State::Ready()
{
    if (!posted.Empty() || !input.Empty())
        return true;
    if (XEventsQueued(display, QueuedAfterFlush) > 0)
        return true;
    for (auto& [handle, record] : windows)
        if (!record.update.Empty() && Shown(handle))
            return true;
    return false;
}

bool PX11System::State::WaitReadable(int timeoutMs)
{
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) > 0)
        return true;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    return poll(&connection, 1, timeoutMs) > 0;
}

bool PX11System::State::TakePaint(PMessage& message)
{
    for (auto& [handle, record] : windows) {
        if (record.update.Empty() || !Shown(handle))
            continue;
        message = PMessage{handle, WM_PAINT};
        return true;
    }
    return false;
}

void PX11System::State::PushInput(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                                  uint32_t character)
{
    input.Push(PMessage{window, message, wParam, lParam, character});
}

void PX11System::State::Translate(XEvent& event)
{
    switch (event.type) {
    case SelectionRequest:
        AnswerSelectionRequest(event.xselectionrequest);
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
        if (!exposed.Empty())
            record->update = Union(record->update, exposed);
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
