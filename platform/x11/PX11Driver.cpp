#include "platform/x11/PX11Driver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace platform {

namespace {
Display* AsDisplay(void* d) { return static_cast<Display*>(d); }
}  // namespace

PX11Driver::~PX11Driver()
{
    if (display)
        XCloseDisplay(AsDisplay(display));
}

int PX11Driver::Open(const char* displayName)
{
    Display* d = XOpenDisplay(displayName);
    if (!d)
        return 0;
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(d);
        return 0;
    }
    display = d;
    return 1;
}

void PX11Driver::MovePointer(int x, int y)
{
    XTestFakeMotionEvent(AsDisplay(display), -1, x, y, CurrentTime);
    XFlush(AsDisplay(display));
}

void PX11Driver::Button(int button, bool down)
{
    XTestFakeButtonEvent(AsDisplay(display), unsigned(button), down, CurrentTime);
    XFlush(AsDisplay(display));
}

// A symbol the keyboard map lacks is bound to a spare key first, and left bound, so
// that the client reads the key with the map it was typed with.
void PX11Driver::TypeKeySymbol(unsigned long symbol)
{
    Display* d = AsDisplay(display);
    KeyCode code = XKeysymToKeycode(d, symbol);
    if (!code)
        code = BindSpareKey(symbol);
    if (!code)
        return;
    XTestFakeKeyEvent(AsDisplay(display), code, True, CurrentTime);
    XTestFakeKeyEvent(AsDisplay(display), code, False, CurrentTime);
    XFlush(AsDisplay(display));
}

unsigned char PX11Driver::BindSpareKey(unsigned long symbol)
{
    Display* d = AsDisplay(display);
    int first = 0, last = 0, perCode = 0;
    XDisplayKeycodes(d, &first, &last);
    KeySym* map = XGetKeyboardMapping(d, KeyCode(first), last - first + 1, &perCode);
    if (!map)
        return 0;
    int spare = 0;
    for (int code = last; code >= first && !spare; code--) {
        bool empty = true;
        for (int i = 0; i < perCode; i++)
            empty = empty && map[(code - first) * perCode + i] == NoSymbol;
        if (empty)
            spare = code;
    }
    XFree(map);
    if (!spare)
        return 0;
    KeySym symbols[2] = {symbol, symbol};
    XChangeKeyboardMapping(d, spare, 2, symbols, 1);
    XSync(d, False);
    return static_cast<unsigned char>(spare);
}

void PX11Driver::RequestClose(unsigned long window)
{
    Display* d = AsDisplay(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
}

void PX11Driver::Sync() { XSync(AsDisplay(display), False); }

bool PX11Driver::IsOnScreen(unsigned long window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(AsDisplay(display), window, &attributes) && attributes.map_state == IsViewable;
}

unsigned long long PX11Driver::ScreenHash(int x, int y, int width, int height)
{
    Display* d = AsDisplay(display);
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return 0;
    unsigned long long hash = 1469598103934665603ull;
    for (int row = 0; row < height; row++) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(image->data + row * image->bytes_per_line);
        for (int i = 0; i < width * image->bits_per_pixel / 8; i++)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    XDestroyImage(image);
    return hash;
}

std::vector<uint32_t> PX11Driver::ScreenPixels(int x, int y, int width, int height)
{
    Display* d = AsDisplay(display);
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    pixels.reserve(size_t(width) * size_t(height));
    for (int row = 0; row < height; row++)
        for (int column = 0; column < width; column++) {
            unsigned long p = XGetPixel(image, column, row);
            uint32_t r = uint32_t((p & image->red_mask) * 255 / image->red_mask);
            uint32_t g = uint32_t((p & image->green_mask) * 255 / image->green_mask);
            uint32_t b = uint32_t((p & image->blue_mask) * 255 / image->blue_mask);
            pixels.push_back(r | g << 8 | b << 16);
        }
    XDestroyImage(image);
    return pixels;
}

}  // namespace platform
