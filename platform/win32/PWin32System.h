#pragma once

#include <memory>
#include <string>

#include "platform/PWindowSystem.h"

namespace platform {

// Real windows on the Windows desktop: the Win32 window class, message queue, painting,
// capture, focus, clipboard and layered windows, behind the same interface as the other
// backends. Texts cross to the system as UTF-16, converted from and to Windows-1252, so
// the program reads and writes the same bytes whatever the system's ANSI code page is.
class PWin32System : public PWindowSystem {
public:
    // Null when the desktop cannot be reached (a service session without one).
    static std::unique_ptr<PWin32System> Open();
    ~PWin32System() override;

    int RegisterClass(const char* name, PWindowProc procedure) override;
    PHandle CreateWindow(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                         int x, int y, int width, int height, PHandle parent) override;
    void AdjustWindowRect(PRect& rect, uint32_t style, uint32_t exStyle) override;
    int DestroyWindow(PHandle window) override;
    int ShowWindow(PHandle window, int command) override;
    int MoveWindow(PHandle window, int x, int y, int width, int height, int repaint) override;
    int SetWindowText(PHandle window, const char* text) override;
    int IsWindow(PHandle window) override;
    PHandle GetDesktopWindow() override;

    int GetWindowRect(PHandle window, PRect& rect) override;
    int GetClientRect(PHandle window, PRect& rect) override;
    int GetCursorPos(PPoint& point) override;

    int PostMessage(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    int GetMessage(PMessage& message) override;
    int PeekMessage(PMessage& message) override;
    int WaitMessage(int timeoutMs) override;
    int TranslateMessage(const PMessage& message) override;
    intptr_t DispatchMessage(const PMessage& message) override;
    intptr_t DefWindowProc(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    int GetUpdateRect(PHandle window, PRect& rect, int erase) override;
    int PaintPixels(PHandle window, const PPixels& pixels, int x, int y, int width, int height) override;

    PHandle SetCapture(PHandle window) override;
    int ReleaseCapture() override;
    PHandle SetFocus(PHandle window) override;
    PHandle GetFocus() override;
    void SetArrowCursor(PHandle window) override;

    int OffersTranslucency() override;
    int SetWindowAlpha(PHandle window, int alpha) override;
    int ClearWindowAlpha(PHandle window) override;

    int GetClipboardText(std::string& text) override;
    int SetClipboardText(const char* text, size_t length) override;

    uint64_t GetClock() override;

    // The window's text as Windows-1252 bytes.
    std::string GetWindowText(PHandle window);

    struct State;

private:
    explicit PWin32System(std::unique_ptr<State> state);
    std::unique_ptr<State> state;
};

// The window system of the program on Windows, or a message on standard error and the
// end of the process when there is no desktop to show windows on.
std::unique_ptr<PWin32System> OpenWin32OrExit();

}  // namespace platform
