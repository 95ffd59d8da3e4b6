#pragma once

// Private to the X11 backend: the connection and what it knows of each window.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
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
    Atom clipboard = 0, targets = 0, text = 0, incr = 0, timestamp = 0;

    std::unordered_map<Window, WindowRecord> windows;
    Window capture = 0;
    std::vector<uint32_t> pixelBuffer;

    std::string clipboardText;  // Windows-1252, what this program offers
    bool ownsClipboard = false;

    // Properties of the helper window that pastes arrive in. Each paste takes one that
    // no earlier transfer can still write to: one given up while its owner was still
    // sending is drained (read and dropped, so the owner can finish) and only then
    // reused; one whose owner never answered is not reused at all.
    std::vector<Atom> idleProperties;
    std::vector<Atom> drainedProperties;
    int propertiesMade = 0;

    // A large text this program sends in pieces (the incremental protocol): the next
    // piece goes when the requestor deletes the last one.
    struct Outgoing {
        Window requestor = 0;
        Atom property = 0;
        Atom type = 0;
        std::string bytes;
        size_t sent = 0;
        std::chrono::steady_clock::time_point deadline;
    };
    std::vector<Outgoing> outgoing;

    WindowRecord* Find(Window window);
    bool Shown(Window window);
    void Forget(Window window);
    // Reads every event the server has sent, without waiting.
    void Drain();
    void Translate(XEvent& event);
    void PushInput(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam, uint32_t character = 0);
    void AnswerSelectionRequest(const XSelectionRequestEvent& request);
    void PropertyChanged(const XPropertyEvent& change);
    void DrainGivenUp(const XPropertyEvent& change);
    void SendNextPiece(const XPropertyEvent& change);
    bool WaitReadable(int timeoutMs);
};

// Virtual-key code and typed character of a key event.
uint32_t VirtualKeyOf(XKeyEvent& event);
uint32_t CharacterOf(XKeyEvent& event);

}  // namespace platform
