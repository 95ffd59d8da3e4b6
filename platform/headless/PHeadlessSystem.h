#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/PMessagePath.h"

namespace platform {

// An in-memory desktop with the semantics of a real window system: a window tree with
// z-order and visibility, a pointer, capture and focus, a message queue, update regions,
// a clipboard and a clock. Tests drive it through the driver operations at the end,
// which inject input the way a real desktop routes it.
class PHeadlessSystem : public PMessagePath {
public:
    enum Button { Left, Middle, Right };

    explicit PHeadlessSystem(int desktopWidth = 1024, int desktopHeight = 768);
    ~PHeadlessSystem() override;

    PHandle CreateWindow(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                         int x, int y, int width, int height, PHandle parent) override;
    void AdjustWindowRect(PRect& rect, uint32_t style, uint32_t exStyle) override;
    int DestroyWindow(PHandle window) override;
    int ShowWindow(PHandle window, int command) override;
    int MoveWindow(PHandle window, int x, int y, int width, int height, int repaint) override;
    int SetWindowText(PHandle window, const char* text) override;
    int IsWindow(PHandle window) override;
    PHandle GetDesktopWindow() override { return DesktopHandle; }

    int GetWindowRect(PHandle window, PRect& rect) override;
    int GetClientRect(PHandle window, PRect& rect) override;
    int GetCursorPos(PPoint& point) override;

    int PaintPixels(PHandle window, const PPixels& pixels, int x, int y, int width, int height) override;

    PHandle SetCapture(PHandle window) override;
    int ReleaseCapture() override;
    PHandle SetFocus(PHandle window) override;
    PHandle GetFocus() override { return focus; }
    void SetArrowCursor(PHandle) override {}

    int OffersTranslucency() override { return translucency; }
    int SetWindowAlpha(PHandle window, int alpha) override;
    int ClearWindowAlpha(PHandle window) override;

    int GetClipboardText(std::string& text) override;
    int SetClipboardText(const char* text, size_t length) override;

    uint64_t GetClock() override { return clock; }

    // Test driver: input goes to the deepest visible window under the pointer, or to
    // the capturing window; keys to the focused window.
    void MovePointer(int x, int y);
    void PressButton(Button button);
    void ReleaseButton(Button button);
    void Click(int x, int y);
    void TurnWheel(int delta);
    void PressKey(uint32_t virtualKey, uint32_t character = 0);
    void ReleaseKey(uint32_t virtualKey);
    void TypeKey(uint32_t virtualKey, uint32_t character = 0);
    void RequestClose(PHandle window);
    // Marks part of a window as needing paint, as uncovering it would.
    void Expose(PHandle window, PRect rect);
    void AdvanceClock(uint64_t milliseconds) { clock += milliseconds; }
    // Reading the clipboard fails, as a transfer cut short does, until text is set again.
    void BreakClipboard() { clipboardBroken = true; }
    void SetTranslucencyOffered(int offered) { translucency = offered; }
    // Whether a message (posted, input or paint) is waiting.
    bool Pending() { return HasMessage(); }

    // Inspection.
    PHandle WindowAt(int x, int y);
    bool IsVisible(PHandle window);
    std::string GetWindowText(PHandle window);
    int GetWindowAlpha(PHandle window);
    PHandle GetCapture() const { return capture; }
    // The pixel last copied to a window at client (x, y); 0 outside.
    uint32_t GetWindowPixel(PHandle window, int x, int y);
    // Writes a window (0: the whole desktop) as a 24-bit BMP file; 1 on success.
    int SaveImage(PHandle window, const char* path);

    static constexpr PHandle DesktopHandle = 1;

private:
    struct Window {
        PHandle handle = 0;
        PHandle parent = 0;
        uint32_t style = 0;
        uint32_t exStyle = 0;
        int x = 0, y = 0, width = 0, height = 0;
        bool visible = false;
        int alpha = -1;
        std::string title;
        std::vector<uint32_t> pixels;
        std::vector<PHandle> children;  // back to front
    };

    Window* Find(PHandle window);
    PPoint ScreenOrigin(const Window& w);
    bool ShownOnScreen(const Window& w);
    PHandle DeepestAt(const std::vector<PHandle>& stack, int x, int y);
    PHandle PointerTarget();
    bool IsShownOnScreen(PHandle window) override;
    void PostPointer(uint32_t message);
    void InvalidateTree(Window& w, bool withChildren);
    void Raise(Window& w);
    void Forget(PHandle window);
    void Compose(const Window& w, int originX, int originY, std::vector<uint32_t>& canvas, int canvasW, int canvasH);
    uintptr_t ButtonFlags() const;

    int desktopWidth;
    int desktopHeight;
    std::unordered_map<PHandle, Window> windows;
    std::vector<PHandle> topLevels;  // back to front
    PHandle nextHandle = 0x100;
    PPoint pointer;
    PHandle capture = 0;
    PHandle focus = 0;
    bool buttons[3] = {false, false, false};
    uint64_t clock = 0;
    std::string clipboard;
    bool clipboardHasText = false;
    bool clipboardBroken = false;
    int translucency = 1;
};

}  // namespace platform
