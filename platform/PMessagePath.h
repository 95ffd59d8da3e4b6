#pragma once

#include <string>
#include <unordered_map>

#include "platform/PMessageQueue.h"
#include "platform/PWindowSystem.h"

namespace platform {

// What every window system does the same way: the window class, the message queue
// and its order (posted messages, then input, then paints), update regions, key-down
// to character translation, dispatch and default processing. A backend only turns its
// native events into input messages and copies pixels to the screen, so the headless
// desktop the tests drive takes the very path the program takes on a display.
class PMessagePath : public PWindowSystem {
public:
    int RegisterClass(const char* name, PWindowProc procedure) override;

    int PostMessage(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    int GetMessage(PMessage& message) override;
    int PeekMessage(PMessage& message) override;
    int WaitMessage(int timeoutMs) override;
    int TranslateMessage(const PMessage& message) override;
    intptr_t DispatchMessage(const PMessage& message) override;
    intptr_t DefWindowProc(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    int GetUpdateRect(PHandle window, PRect& rect, int erase) override;

    // Whether a message (posted, input or paint) is waiting, without asking the
    // native system for more.
    bool HasMessage();

protected:
    // The procedure of a registered class, or null.
    PWindowProc ProcedureOfClass(const char* className) const;
    void AddWindow(PHandle window, PWindowProc procedure);
    // Forgets a window with everything queued for it.
    void RemoveWindow(PHandle window);
    PWindowProc ProcedureOf(PHandle window) const;
    void QueueInput(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam, uint32_t character = 0);
    // Adds a rectangle to the window's update region (kept as one bounding rectangle).
    void Invalidate(PHandle window, const PRect& rect);
    void Validate(PHandle window);

    // Turns the native events that have already arrived into input messages.
    virtual void CollectNativeInput() {}
    // Waits at most `timeoutMs` (negative: without limit) for native events; false
    // when none came or none can ever come.
    virtual bool WaitNativeInput(int) { return false; }
    // Only windows that can be seen (they and every ancestor shown) are painted.
    virtual bool IsShownOnScreen(PHandle window) = 0;

private:
    struct Entry {
        PWindowProc procedure = nullptr;
        PRect update;
    };

    bool TakePaint(PMessage& message);

    std::unordered_map<std::string, PWindowProc> classes;
    std::unordered_map<PHandle, Entry> entries;
    PMessageQueue posted;
    PMessageQueue input;
};

}  // namespace platform
