#include "platform/PMessagePath.h"

#include <algorithm>

#include "platform/EndSignals.h"

namespace platform {

int PMessagePath::RegisterClass(const char* name, PWindowProc procedure)
{
    if (!name || !procedure)
        return 0;
    classes[name] = procedure;
    return 1;
}

int PMessagePath::PostMessage(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (window && !entries.count(window))
        return 0;
    posted.Push(PMessage{window, message, wParam, lParam});
    return 1;
}

// Posted messages come before input, input before paints, as on a real desktop. An
// end of the session asked for by a signal comes first of all.
int PMessagePath::PeekMessage(PMessage& message)
{
    if (TakeEndRequest()) {
        message = PMessage{0, WM_ENDSESSION, 1, 0};
        return 1;
    }
    if (posted.Pop(message))
        return 1;
    CollectNativeInput();
    return input.Pop(message) || TakePaint(message);
}

int PMessagePath::GetMessage(PMessage& message)
{
    while (!PeekMessage(message))
        if (!WaitNativeInput(-1))
            return 0;
    return 1;
}

int PMessagePath::WaitMessage(int timeoutMs)
{
    CollectNativeInput();
    if (HasMessage())
        return 1;
    if (WaitNativeInput(timeoutMs))
        CollectNativeInput();
    return HasMessage() ? 1 : 0;
}

int PMessagePath::TranslateMessage(const PMessage& message)
{
    if (message.message != WM_KEYDOWN || message.character == 0)
        return 0;
    return PostMessage(message.window, WM_CHAR, message.character, message.lParam);
}

intptr_t PMessagePath::DispatchMessage(const PMessage& message)
{
    PWindowProc procedure = ProcedureOf(message.window);
    return procedure ? procedure(message.window, message.message, message.wParam, message.lParam) : 0;
}

intptr_t PMessagePath::DefWindowProc(PHandle window, uint32_t message, uintptr_t, intptr_t)
{
    if (!entries.count(window))
        return 0;
    if (message == WM_PAINT)
        Validate(window);
    if (message == WM_CLOSE)
        DestroyWindow(window);
    return 0;
}

int PMessagePath::GetUpdateRect(PHandle window, PRect& rect, int)
{
    auto found = entries.find(window);
    rect = found == entries.end() ? PRect() : found->second.update;
    return rect.Empty() ? 0 : 1;
}

bool PMessagePath::HasMessage()
{
    if (!posted.Empty() || !input.Empty())
        return true;
    for (auto& [handle, entry] : entries)
        if (!entry.update.Empty() && IsShownOnScreen(handle))
            return true;
    return false;
}

PWindowProc PMessagePath::ProcedureOfClass(const char* className) const
{
    auto found = classes.find(className ? className : "");
    return found == classes.end() ? nullptr : found->second;
}

void PMessagePath::AddWindow(PHandle window, PWindowProc procedure) { entries[window] = Entry{procedure, PRect()}; }

void PMessagePath::RemoveWindow(PHandle window)
{
    entries.erase(window);
    posted.RemoveWindow(window);
    input.RemoveWindow(window);
}

PWindowProc PMessagePath::ProcedureOf(PHandle window) const
{
    auto found = entries.find(window);
    return found == entries.end() ? nullptr : found->second.procedure;
}

void PMessagePath::QueueInput(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                              uint32_t character)
{
    input.Push(PMessage{window, message, wParam, lParam, character});
}

void PMessagePath::Invalidate(PHandle window, const PRect& rect)
{
    auto found = entries.find(window);
    if (found == entries.end() || rect.Empty())
        return;
    PRect& update = found->second.update;
    if (update.Empty())
        update = rect;
    else
        update = {std::min(update.left, rect.left), std::min(update.top, rect.top), std::max(update.right, rect.right),
                  std::max(update.bottom, rect.bottom)};
}

void PMessagePath::Validate(PHandle window)
{
    auto found = entries.find(window);
    if (found != entries.end())
        found->second.update = PRect();
}

bool PMessagePath::TakePaint(PMessage& message)
{
    for (auto& [handle, entry] : entries) {
        if (entry.update.Empty() || !IsShownOnScreen(handle))
            continue;
        message = PMessage{handle, WM_PAINT};
        return true;
    }
    return false;
}

}  // namespace platform
