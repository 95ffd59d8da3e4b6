#pragma once

// Private to the X11 backend: the connection and what it knows of each window.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/PCodePage.h"
#include "platform/x11/PX11System.h"

namespace platform {

struct PX11System::State {
    struct WindowRecord {
        Window parent = 0;  // 0 for a top-level window
        uint32_t style = 0;
        uint32_t exStyle = 0;
        int x = 0, y = 0, width = 0, height = 0;
        bool mapped = false;
        std::string title;
    };

    PX11System* owner = nullptr;  // whose message path the events join
    Display* display = nullptr;
    int screen = 0;
    Window root = 0;
    Window helper = 0;  // owns the clipboard selection
    Visual* visual = nullptr;
    int depth = 0;
    int redShift = 16, greenShift = 8, blueShift = 0;
    GC gc = nullptr;
    Cursor arrow = 0;

    Atom wmProtocols = 0, wmDeleteWindow = 0, wmState = 0, wmStateAbove = 0, motifHints = 0;
    Atom opacity = 0, compositor = 0, netWmName = 0, utf8String = 0;
    Atom clipboard = 0, targets = 0, text = 0, incr = 0, transfer = 0;

    std::unordered_map<Window, WindowRecord> windows;
    Window capture = 0;
    std::vector<uint32_t> pixelBuffer;

    std::string clipboardText;  // Windows-1252, what this program offers
    bool ownsClipboard = false;

    WindowRecord* Find(Window window);
    bool Shown(Window window);
    void Forget(Window window);
    // Reads every event the server has sent, without waiting.
    void Drain();
    void Translate(XEvent& event);
    void PushInput(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam, uint32_t character = 0);
    void AnswerSelectionRequest(const XSelectionRequestEvent& request);
    bool WaitReadable(int timeoutMs);
};

// Virtual-key code and typed character of a key event.
uint32_t VirtualKeyOf(XKeyEvent& event);
uint32_t CharacterOf(XKeyEvent& event);

}  // namespace platform
