#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Input sent through the X server itself (the XTEST extension), as a person's mouse
// and keyboard would send it.
class PX11Driver {
public:
    PX11Driver() = default;
    ~PX11Driver();
    PX11Driver(const PX11Driver&) = delete;
    PX11Driver& operator=(const PX11Driver&) = delete;

    // 0 when the display cannot be opened or lacks XTEST.
    int Open(const char* displayName);
    void MovePointer(int x, int y);
    void Button(int button, bool down);
    // Presses and releases the key that types this key symbol.
    void TypeKeySymbol(unsigned long symbol);
    // Asks a top-level window to close, as a window manager's close button does.
    void RequestClose(unsigned long window);
    void Sync();
    // Whether the server shows the window: mapped, and its ancestors too. A window
    // manager maps a new window when it is ready, which may be long after the program
    // asked.
    bool IsOnScreen(unsigned long window);
    // A hash of the pixels of a rectangle of the screen, to tell when what a program
    // shows has stopped changing; 0 when the rectangle cannot be read.
    unsigned long long ScreenHash(int x, int y, int width, int height);
    // The pixels of a rectangle of the screen as colour references (r + g·256 +
    // b·65536), rows top first; empty when the rectangle cannot be read.
    std::vector<uint32_t> ScreenPixels(int x, int y, int width, int height);

private:
    unsigned char BindSpareKey(unsigned long symbol);
    void* display = nullptr;
};

}  // namespace platform
