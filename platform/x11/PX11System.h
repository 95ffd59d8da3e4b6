#pragma once

#include <memory>
#include <string>

#include "platform/PMessagePath.h"

namespace platform {

// Real windows on an X server: one X window per native window, X input turned into
// the window messages the toolkit expects, the CLIPBOARD selection shared with other
// programs, and translucency through the compositor's opacity property.
class PX11System : public PMessagePath {
public:
    // Connects to the display (null: $DISPLAY); null when it cannot be opened.
    static std::unique_ptr<PX11System> Open(const char* displayName = nullptr);
    ~PX11System() override;

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

    // Whether the window is mapped and all its ancestors are (it can be seen).
    bool IsShown(PHandle window);
    std::string GetWindowText(PHandle window);

    struct State;

protected:
    void CollectNativeInput() override;
    bool WaitNativeInput(int timeoutMs) override;
    bool IsShownOnScreen(PHandle window) override;

private:
    explicit PX11System(std::unique_ptr<State> state);
    std::unique_ptr<State> state;
};

// The window system of the program: X11, or a message on standard error and the end
// of the process when no display can be opened.
std::unique_ptr<PX11System> OpenX11OrExit();

}  // namespace platform
