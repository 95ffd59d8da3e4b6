// The window procedure and the event loop of CGApplication.
#include <algorithm>
#include <cstdint>

#include "core/CObjectList.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"
#include "toolkit/CWComponent.h"
#include "toolkit/CWindow.h"

using namespace platform;

namespace {
constexpr uint32_t PrivateResize = WM_USER + EV_RESIZE;
constexpr uint32_t PrivateEnter = WM_USER + EV_MOUSEENTER;
constexpr int32_t WheelRowsPerNotch = 3;

CGApplication* Owner() { return static_cast<CGApplication*>(CApplication::Instance()); }

int32_t Unsigned16(uintptr_t v) { return static_cast<int32_t>(v & 0xFFFF); }

// Input messages of the window system and the events the loop delivers for them.
constexpr struct {
    uint32_t message;
    uint32_t event;
} InputTranslation[] = {
    {WM_KEYDOWN, EV_KEYDOWN},         {WM_KEYUP, EV_KEYUP},         {WM_CHAR, EV_CHAR},
    {WM_MOUSEMOVE, EV_MOUSEMOVE},     {WM_LBUTTONDOWN, EV_LBUTTONDOWN}, {WM_LBUTTONUP, EV_LBUTTONUP},
    {WM_RBUTTONDOWN, EV_RBUTTONDOWN}, {WM_RBUTTONUP, EV_RBUTTONUP}, {WM_MBUTTONDOWN, EV_MBUTTONDOWN},
    {WM_MBUTTONUP, EV_MBUTTONUP},     {WM_MOUSEWHEEL, EV_WHEEL},
};

// The event for an input message, or 0 for any other message.
uint32_t InputEvent(uint32_t message)
{
    for (const auto& entry : InputTranslation)
        if (entry.message == message)
            return entry.event;
    return 0;
}
}  // namespace

// Input is not handled here: it is queued again as WM_USER + event code, so that the
// loop delivers it with the activation, capture and click rules.
intptr_t CGApplication::WindowProcedure(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    CGApplication* app = Owner();
    PWindowSystem* system = app ? app->system : nullptr;
    if (!system)
        return 0;
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        system->PostMessage(window, PrivateResize, message, lParam);
        break;
    case WM_PAINT:
        app->Paint(window);
        break;
    case WM_CLOSE:
        system->PostMessage(window, WM_USER + EV_CLOSE, wParam, lParam);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            app->EndSession();
        return 0;
    default:
        if (uint32_t event = InputEvent(message)) {
            system->PostMessage(window, WM_USER + event, wParam, lParam);
            return 0;
        }
        break;
    }
    return system->DefWindowProc(window, message, wParam, lParam);
}

void CGApplication::Paint(PHandle window)
{
    PRect update;
    if (!system->GetUpdateRect(window, update, 1))
        return;
    auto* target = static_cast<CWindow*>(FindWindow(window));
    if (!target)
        return;
    target->Blit(update.left, update.top, update.Width(), update.Height());
    CEvent paint;
    paint.type = EV_PAINT;
    paint.x = update.left;
    paint.y = update.top;
    paint.width = update.Width();
    paint.height = update.Height();
    paint.source = this;
    SendEvent(target, paint);
}

// One turn: take a message (waiting for it, or with timers running only until the
// next timer is due), deliver it, then tick the timers.
void CGApplication::Step()
{
    if (!looping || !system || !timers)
        return;
    PMessage message;
    bool received;
    if (timers->count == 0) {
        received = system->GetMessage(message);
    } else {
        received = system->PeekMessage(message);
        if (!received)
            system->WaitMessage(MillisecondsToNextTimer());
    }
    if (received)
        Handle(message);
    TickTimers();
}

void CGApplication::Handle(const PMessage& message)
{
    if (message.message == WM_ENDSESSION) {
        if (message.wParam)
            EndSession();
        return;
    }
    CEvent event;
    int kind = Translate(message, event);
    if (kind == Native) {
        system->TranslateMessage(message);
        system->DispatchMessage(message);
        return;
    }
    event.source = this;
    if (kind == ToPointed) {
        if (CWComponent* pointed = FindWindow(message.window); pointed && event.value != 0)
            SendEvent(pointed, event);
        return;
    }
    if (activationMode == ExclusiveActivation && kind == ToTarget) {
        // An exclusive component keeps the target its clicks are judged against.
        judgedTarget = currentTarget;
        currentTarget = FindWindow(message.window);
        Deliver(kind, message, event);
        currentTarget = judgedTarget;
        judgedTarget = nullptr;
        return;
    }
    if (activationMode != ExclusiveActivation)
        currentTarget = FindWindow(message.window);
    if (currentTarget && kind == Activating && currentTarget != activeWindow)
        Activate(currentTarget);
    Deliver(kind, message, event);
}

void CGApplication::EndSession()
{
    if (sessionEnd)
        sessionEnd();
    Stop();
}

int CGApplication::Translate(const PMessage& message, CEvent& event)
{
    event.x = Unsigned16(uintptr_t(message.lParam));
    event.y = Unsigned16(uintptr_t(message.lParam) >> 16);
    if (message.message < WM_USER || message.message > WM_USER + EV_WHEEL)
        return Native;
    event.type = int32_t(message.message - WM_USER);
    switch (event.type) {
    case EV_RESIZE: {
        if (message.wParam != WM_SIZE)
            return Native;
        PRect outer;
        system->GetWindowRect(message.window, outer);
        event.x = outer.left;
        event.y = outer.top;
        event.width = Unsigned16(uintptr_t(message.lParam));
        event.height = Unsigned16(uintptr_t(message.lParam) >> 16);
        return ToTarget;
    }
    case EV_LBUTTONDOWN:
    case EV_MBUTTONDOWN:
    case EV_RBUTTONDOWN:
        system->SetCapture(message.window);
        captured = true;
        return Activating;
    case EV_LBUTTONUP:
    case EV_MBUTTONUP:
    case EV_RBUTTONUP:
        system->ReleaseCapture();
        captured = false;
        return Activating;
    case EV_WHEEL:
        event.value = WheelRows(message.wParam);
        return ToPointed;
    case EV_KEYDOWN:
    case EV_KEYUP:
    case EV_CHAR:
        event.key = int32_t(message.wParam & 0xFF);
        event.value = int32_t(message.wParam);
        return ToActive;
    case EV_MOUSEMOVE:
        DetectEnter(message);
        return ToActive;
    case EV_MOUSEENTER:
        return ToTarget;
    case EV_CLOSE:
        return Activating;
    default:
        return Native;
    }
}

// While the pointer is captured, only the active component's own window is entered.
void CGApplication::DetectEnter(const PMessage& message)
{
    if (message.window == movedHandle)
        return;
    bool enter = !captured || (activeWindow && activeWindow->GetHandle() == message.window);
    if (enter)
        system->PostMessage(message.window, PrivateEnter, message.wParam, message.lParam);
    movedHandle = message.window;
}

void CGApplication::Deliver(int kind, const PMessage&, CEvent& event)
{
    if (kind == ToTarget && currentTarget) {
        if (event.type == EV_MOUSEENTER) {
            CWComponent* left = FindWindow(enteredHandle);
            if (left) {
                CEvent leave;
                leave.type = EV_MOUSELEAVE;
                leave.source = this;
                SendEvent(left, leave);
            }
            enteredHandle = currentTarget ? currentTarget->GetHandle() : 0;
        }
        SendEvent(currentTarget, event);
        return;
    }
    if (!activeWindow)
        return;
    SendEvent(activeWindow, event);
    if (event.type == EV_LBUTTONUP && currentTarget)
        DetectClick(event);
}

// A release is a click when the pointer is strictly inside the window that got the press.
void CGApplication::DetectClick(CEvent event)
{
    PPoint pointer;
    PRect rect;
    if (!system->GetCursorPos(pointer) || !system->GetWindowRect(currentTarget->GetHandle(), rect))
        return;
    if (rect.left < pointer.x && pointer.x < rect.right && rect.top < pointer.y && pointer.y < rect.bottom) {
        event.type = EV_CLICK;
        SendEvent(currentTarget, event);
    }
}

// Rows for a turn of the wheel (the delta in the high word, 120 a notch, positive away
// from the user); what a fine wheel turns short of a row is kept for its next turn.
int32_t CGApplication::WheelRows(uintptr_t wParam)
{
    int32_t delta = int16_t(HiWord(wParam));
    if (wheelRest * delta > 0)
        wheelRest = 0;  // turned back: what was left of the other way goes
    int32_t turned = wheelRest - delta * WheelRowsPerNotch;
    int32_t rows = turned / WHEEL_DELTA;
    wheelRest = turned - rows * WHEEL_DELTA;
    return rows;
}

void CGApplication::TickTimers()
{
    uint64_t now = system->GetClock();
    if (!tickTaken) {
        previousTick = now;
        tickTaken = true;
        return;
    }
    uint32_t elapsed = uint32_t(std::min<uint64_t>(now - previousTick, UINT32_MAX));
    if (elapsed == 0)
        return;
    previousTick = now;
    // A tick may create or delete timers; each timer still listed is ticked once.
    for (uint32_t i = 0; timers && i < timers->count;) {
        CObject* timer = timers->items[i];
        static_cast<CTimer*>(timer)->Tick(elapsed);
        if (timers && i < timers->count && timers->items[i] == timer)
            i++;
    }
}

// How long the loop may sleep before some enabled timer is due; -1 when none is.
int CGApplication::MillisecondsToNextTimer()
{
    if (!tickTaken)
        return 0;
    uint64_t sinceTick = system->GetClock() - previousTick;
    int64_t soonest = -1;
    for (uint32_t i = 0; i < timers->count; i++) {
        auto* timer = static_cast<CTimer*>(timers->items[i]);
        if (!timer || !timer->enabled)
            continue;
        int64_t due = int64_t(timer->interval) + 1 - int64_t(timer->accumulated) - int64_t(sinceTick);
        due = std::max<int64_t>(due, 0);
        if (soonest < 0 || due < soonest)
            soonest = due;
    }
    return int(std::min<int64_t>(soonest, INT32_MAX));
}
