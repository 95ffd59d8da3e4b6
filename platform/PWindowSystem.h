#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/PWin32.h"

namespace platform {

// A native window; 0 is none.
using PHandle = uintptr_t;

using PWindowProc = intptr_t (*)(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct PRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

struct PPoint {
    int x = 0;
    int y = 0;
};

// One queued message. `character` is what the key of a WM_KEYDOWN types (a
// Windows-1252 byte, 0 for none); TranslateMessage turns it into WM_CHAR.
struct PMessage {
    PHandle window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t character = 0;
};

// Pixels handed to a window: 32-bit colour references (r + g·256 + b·65536), rows of
// `pitch` pixels, `width` × `height` in all.
struct PPixels {
    const uint32_t* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
};

// The window services the toolkit uses: native windows of one class, the message
// queue, painting, pointer, focus, clipboard and the clock. One backend is installed
// at start-up (x11 for the program, headless for tests); everything above speaks only
// to this interface.
class PWindowSystem {
public:
    virtual ~PWindowSystem() = default;

    // Class and windows.
    virtual int RegisterClass(const char* name, PWindowProc procedure) = 0;
    virtual PHandle CreateWindow(uint32_t exStyle, const char* className, const char* title,
                                 uint32_t style, int x, int y, int width, int height, PHandle parent) = 0;
    // Grows a client rectangle to the outer rectangle of a window of that style.
    virtual void AdjustWindowRect(PRect& rect, uint32_t style, uint32_t exStyle) = 0;
    virtual int DestroyWindow(PHandle window) = 0;
    virtual int ShowWindow(PHandle window, int command) = 0;
    virtual int MoveWindow(PHandle window, int x, int y, int width, int height, int repaint) = 0;
    virtual int SetWindowText(PHandle window, const char* text) = 0;
    virtual int IsWindow(PHandle window) = 0;
    virtual PHandle GetDesktopWindow() = 0;

    // Geometry, in screen coordinates for the window rectangle.
    virtual int GetWindowRect(PHandle window, PRect& rect) = 0;
    virtual int GetClientRect(PHandle window, PRect& rect) = 0;
    virtual int GetCursorPos(PPoint& point) = 0;

    // Queue. GetMessage waits for a message and reports 0 when none can ever come
    // (the headless desktop with nothing injected). WaitMessage waits at most
    // `timeoutMs` (negative: without limit) for one to be ready, and returns 1 if one is.
    virtual int PostMessage(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual int GetMessage(PMessage& message) = 0;
    virtual int PeekMessage(PMessage& message) = 0;
    virtual int WaitMessage(int timeoutMs) = 0;
    virtual int TranslateMessage(const PMessage& message) = 0;
    virtual intptr_t DispatchMessage(const PMessage& message) = 0;
    virtual intptr_t DefWindowProc(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

    // Painting. PaintPixels copies the rectangle (x, y, w, h) of the pixels to the same
    // place of the window and validates the window, as a begin/end paint cycle does.
    virtual int GetUpdateRect(PHandle window, PRect& rect, int erase) = 0;
    virtual int PaintPixels(PHandle window, const PPixels& pixels, int x, int y, int width, int height) = 0;

    // Pointer and keyboard.
    virtual PHandle SetCapture(PHandle window) = 0;
    virtual int ReleaseCapture() = 0;
    virtual PHandle SetFocus(PHandle window) = 0;
    virtual PHandle GetFocus() = 0;
    virtual void SetArrowCursor(PHandle window) = 0;

    // Constant-alpha translucency; WindowAlpha returns 0 where it is not offered.
    virtual int OffersTranslucency() = 0;
    virtual int SetWindowAlpha(PHandle window, int alpha) = 0;
    virtual int ClearWindowAlpha(PHandle window) = 0;

    // Clipboard text as Windows-1252 bytes. GetClipboardText returns 1 with the whole
    // text, 0 when the clipboard holds no text, and -1 when it holds text that could
    // not be read (an owner that stopped answering, a transfer cut short, a text too
    // large): then `text` is left as it was.
    virtual int GetClipboardText(std::string& text) = 0;
    virtual int SetClipboardText(const char* text, size_t length) = 0;

    // Milliseconds of a monotonic clock.
    virtual uint64_t GetClock() = 0;
};

namespace detail {
inline PWindowSystem*& InstalledWindowSystem()
{
    static PWindowSystem* system = nullptr;
    return system;
}
}  // namespace detail

// The backend chosen at start-up; none until one is installed.
inline PWindowSystem* WindowSystem() { return detail::InstalledWindowSystem(); }

// Installs a backend (the caller keeps ownership) and returns the previous one.
inline PWindowSystem* InstallWindowSystem(PWindowSystem* system)
{
    PWindowSystem* previous = detail::InstalledWindowSystem();
    detail::InstalledWindowSystem() = system;
    return previous;
}

}  // namespace platform
