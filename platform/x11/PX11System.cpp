#include "platform/x11/PX11System.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "PX11State.h"  // private to this backend

namespace platform {

namespace {
constexpr long WindowEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                              KeyReleaseMask | StructureNotifyMask;

// X reports protocol errors asynchronously; a request on a window that has just gone
// (focus to an unmapped window, say) must not end the program.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

int ShiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        shift++;
    }
    return shift;
}

struct MotifHints {
    unsigned long flags, functions, decorations;
    long inputMode;
    unsigned long status;
};
}  // namespace

std::unique_ptr<PX11System> PX11System::Open(const char* displayName)
{
    Display* display = XOpenDisplay(displayName);
    if (!display)
        return nullptr;
    XSetErrorHandler(IgnoreErrors);
    auto s = std::make_unique<State>();
    s->display = display;
    s->screen = DefaultScreen(display);
    s->root = RootWindow(display, s->screen);
    s->visual = DefaultVisual(display, s->screen);
    s->depth = DefaultDepth(display, s->screen);
    s->redShift = ShiftOf(s->visual->red_mask);
    s->greenShift = ShiftOf(s->visual->green_mask);
    s->blueShift = ShiftOf(s->visual->blue_mask);
    s->gc = XCreateGC(display, s->root, 0, nullptr);
    s->arrow = XCreateFontCursor(display, XC_left_ptr);
    s->helper = XCreateSimpleWindow(display, s->root, -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, s->helper, PropertyChangeMask);

    char compositorName[32];
    std::snprintf(compositorName, sizeof compositorName, "_NET_WM_CM_S%d", s->screen);
    s->wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    s->wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    s->wmState = XInternAtom(display, "_NET_WM_STATE", False);
    s->wmStateAbove = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    s->motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    s->opacity = XInternAtom(display, "_NET_WM_WINDOW_OPACITY", False);
    s->compositor = XInternAtom(display, compositorName, False);
    s->netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    s->utf8String = XInternAtom(display, "UTF8_STRING", False);
    s->clipboard = XInternAtom(display, "CLIPBOARD", False);
    s->targets = XInternAtom(display, "TARGETS", False);
    s->text = XInternAtom(display, "TEXT", False);
    s->incr = XInternAtom(display, "INCR", False);
    s->timestamp = XInternAtom(display, "AJUSTOR_TIMESTAMP", False);
    return std::unique_ptr<PX11System>(new PX11System(std::move(s)));
}

PX11System::PX11System(std::unique_ptr<State> s) : state(std::move(s)) { state->owner = this; }

PX11System::~PX11System()
{
    Display* d = state->display;
    XFreeCursor(d, state->arrow);
    XFreeGC(d, state->gc);
    XDestroyWindow(d, state->helper);
    XCloseDisplay(d);
}

PHandle PX11System::CreateWindow(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                                 int x, int y, int width, int height, PHandle parent)
{
    PWindowProc procedure = ProcedureOfClass(className);
    if (!procedure)
        return 0;
    bool child = (style & WS_CHILD) != 0;
    if (child && !state->Find(parent))
        return 0;
    Display* d = state->display;
    XSetWindowAttributes attributes{};
    attributes.event_mask = WindowEvents;
    attributes.background_pixmap = None;  // the program paints every pixel itself
    attributes.bit_gravity = NorthWestGravity;
    Window window = XCreateWindow(d, child ? Window(parent) : state->root, x, y, unsigned(std::max(width, 1)),
                                  unsigned(std::max(height, 1)), 0, CopyFromParent, InputOutput, CopyFromParent,
                                  CWEventMask | CWBackPixmap | CWBitGravity, &attributes);
    if (!window)
        return 0;
    State::WindowRecord record;
    record.parent = child ? Window(parent) : 0;
    record.style = style;
    record.exStyle = exStyle;
    record.x = x;
    record.y = y;
    record.width = std::max(width, 0);
    record.height = std::max(height, 0);
    state->windows[window] = record;
    AddWindow(window, procedure);

    if (!child) {
        XSetWMProtocols(d, window, &state->wmDeleteWindow, 1);
        XSizeHints hints{};
        hints.flags = USPosition | PPosition | PSize;
        hints.x = x;
        hints.y = y;
        hints.width = std::max(width, 1);
        hints.height = std::max(height, 1);
        XSetWMNormalHints(d, window, &hints);
        XClassHint classHint{const_cast<char*>("ajustor"), const_cast<char*>("Ajustor")};
        XSetClassHint(d, window, &classHint);
        if (style & WS_POPUP) {
            // The framework draws its own title bar: no decorations from the window manager.
            MotifHints motif{2, 0, 0, 0, 0};
            XChangeProperty(d, window, state->motifHints, state->motifHints, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&motif), 5);
        }
        if (exStyle & WS_EX_TOPMOST)
            XChangeProperty(d, window, state->wmState, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&state->wmStateAbove), 1);
    }
    SetWindowText(window, title);
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNORMAL);
    XFlush(d);
    return window;
}

// The window manager puts its frame outside the client area.
void PX11System::AdjustWindowRect(PRect&, uint32_t, uint32_t) {}

int PX11System::DestroyWindow(PHandle window)
{
    if (!state->Find(window))
        return 0;
    state->Forget(window);
    XDestroyWindow(state->display, window);
    XFlush(state->display);
    return 1;
}

int PX11System::ShowWindow(PHandle window, int command)
{
    State::WindowRecord* record = state->Find(window);
    if (!record)
        return 0;
    bool was = record->mapped;
    Display* d = state->display;
    if (command == SW_HIDE) {
        record->mapped = false;
        XUnmapWindow(d, window);
        if (state->capture == window)
            ReleaseCapture();
    } else {
        record->mapped = true;
        if (record->parent)
            XMapWindow(d, window);
        else
            XMapRaised(d, window);
    }
    XFlush(d);
    return was;
}

int PX11System::MoveWindow(PHandle window, int x, int y, int width, int height, int repaint)
{
    State::WindowRecord* record = state->Find(window);
    if (!record)
        return 0;
    width = std::max(width, 0);
    height = std::max(height, 0);
    bool moved = x != record->x || y != record->y;
    bool sized = width != record->width || height != record->height;
    record->x = x;
    record->y = y;
    record->width = width;
    record->height = height;
    XMoveResizeWindow(state->display, window, x, y, unsigned(std::max(width, 1)), unsigned(std::max(height, 1)));
    if (repaint && sized)
        Invalidate(window, {0, 0, width, height});
    XFlush(state->display);
    PWindowProc procedure = ProcedureOf(window);
    if (moved)
        procedure(window, WM_MOVE, 0, MakeLParam(x, y));
    if (sized && state->Find(window))
        procedure(window, WM_SIZE, 0, MakeLParam(width, height));
    return 1;
}

int PX11System::SetWindowText(PHandle window, const char* title)
{
    State::WindowRecord* record = state->Find(window);
    if (!record)
        return 0;
    record->title = title ? title : "";
    std::string latin1 = Cp1252ToLatin1(record->title);
    std::string utf8 = Cp1252ToUtf8(record->title);
    XStoreName(state->display, window, latin1.c_str());
    XChangeProperty(state->display, window, state->netWmName, state->utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
    XFlush(state->display);
    return 1;
}

int PX11System::IsWindow(PHandle window) { return state->Find(window) ? 1 : 0; }

PHandle PX11System::GetDesktopWindow() { return state->root; }

int PX11System::GetWindowRect(PHandle window, PRect& rect)
{
    if (window == state->root)
        return GetClientRect(window, rect);
    State::WindowRecord* record = state->Find(window);
    if (!record)
        return 0;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(state->display, window, state->root, 0, 0, &x, &y, &child);
    rect = {x, y, x + record->width, y + record->height};
    return 1;
}

int PX11System::GetClientRect(PHandle window, PRect& rect)
{
    if (window == state->root) {
        rect = {0, 0, DisplayWidth(state->display, state->screen), DisplayHeight(state->display, state->screen)};
        return 1;
    }
    State::WindowRecord* record = state->Find(window);
    if (!record)
        return 0;
    rect = {0, 0, record->width, record->height};
    return 1;
}

int PX11System::GetCursorPos(PPoint& point)
{
    Window rootReturn, childReturn;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    if (!XQueryPointer(state->display, state->root, &rootReturn, &childReturn, &rootX, &rootY, &x, &y, &mask))
        return 0;
    point = {rootX, rootY};
    return 1;
}

int PX11System::PaintPixels(PHandle window, const PPixels& source, int x, int y, int width, int height)
{
    State::WindowRecord* record = state->Find(window);
    if (!record)
        return 0;
    Validate(window);
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min({x + width, record->width, source.width});
    int bottom = std::min({y + height, record->height, source.height});
    if (!source.pixels || right <= left || bottom <= top)
        return 1;
    int w = right - left, h = bottom - top;
    std::vector<uint32_t>& buffer = state->pixelBuffer;
    if (buffer.size() < size_t(w) * size_t(h))
        buffer.resize(size_t(w) * size_t(h));
    for (int row = 0; row < h; row++) {
        const uint32_t* from = source.pixels + size_t(top + row) * source.pitch + left;
        uint32_t* to = buffer.data() + size_t(row) * w;
        for (int column = 0; column < w; column++) {
            uint32_t c = from[column];
            to[column] = ((c & 0xFF) << state->redShift) | (((c >> 8) & 0xFF) << state->greenShift) |
                         (((c >> 16) & 0xFF) << state->blueShift);
        }
    }
    XImage image{};
    image.width = w;
    image.height = h;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(buffer.data());
    image.byte_order = LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = state->depth;
    image.bytes_per_line = w * 4;
    image.bits_per_pixel = 32;
    image.red_mask = state->visual->red_mask;
    image.green_mask = state->visual->green_mask;
    image.blue_mask = state->visual->blue_mask;
    if (!XInitImage(&image))
        return 0;
    XPutImage(state->display, window, state->gc, &image, 0, 0, left, top, unsigned(w), unsigned(h));
    XFlush(state->display);
    return 1;
}

PHandle PX11System::SetCapture(PHandle window)
{
    PHandle previous = state->capture;
    if (!state->Find(window))
        return previous;
    unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    XGrabPointer(state->display, window, False, mask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    state->capture = window;
    XFlush(state->display);
    return previous;
}

int PX11System::ReleaseCapture()
{
    XUngrabPointer(state->display, CurrentTime);
    state->capture = 0;
    XFlush(state->display);
    return 1;
}

PHandle PX11System::SetFocus(PHandle window)
{
    PHandle previous = GetFocus();
    if (state->Find(window) && state->Shown(window)) {
        XSetInputFocus(state->display, window, RevertToParent, CurrentTime);
        XFlush(state->display);
    }
    return previous;
}

PHandle PX11System::GetFocus()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(state->display, &focus, &revert);
    return state->Find(focus) ? focus : 0;
}

void PX11System::SetArrowCursor(PHandle window)
{
    if (state->Find(window))
        XDefineCursor(state->display, window, state->arrow);
}

// Constant alpha needs a compositing manager to show.
int PX11System::OffersTranslucency()
{
    return XGetSelectionOwner(state->display, state->compositor) != None ? 1 : 0;
}

int PX11System::SetWindowAlpha(PHandle window, int alpha)
{
    if (!state->Find(window) || !OffersTranslucency())
        return 0;
    unsigned long value = 0x01010101ul * unsigned(std::clamp(alpha, 0, 255));
    XChangeProperty(state->display, window, state->opacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&value), 1);
    XFlush(state->display);
    return 1;
}

int PX11System::ClearWindowAlpha(PHandle window)
{
    if (!state->Find(window))
        return 0;
    XDeleteProperty(state->display, window, state->opacity);
    XFlush(state->display);
    return 1;
}

uint64_t PX11System::GetClock()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool PX11System::IsShown(PHandle window) { return state->Find(window) && state->Shown(window); }

std::string PX11System::GetWindowText(PHandle window)
{
    State::WindowRecord* record = state->Find(window);
    return record ? record->title : std::string();
}

std::unique_ptr<PX11System> OpenX11OrExit()
{
    std::unique_ptr<PX11System> system = PX11System::Open();
    if (!system) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "No se puede abrir la pantalla X11 (DISPLAY=%s).\n", name && *name ? name : "sin definir");
        std::exit(1);
    }
    return system;
}

PX11System::State::WindowRecord* PX11System::State::Find(Window window)
{
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

bool PX11System::State::Shown(Window window)
{
    for (WindowRecord* r = Find(window); r; r = Find(r->parent))
        if (!r->mapped)
            return false;
    return true;
}

// Drops a window and its descendants, with everything queued for them.
void PX11System::State::Forget(Window window)
{
    std::vector<Window> doomed{window};
    for (size_t i = 0; i < doomed.size(); i++)
        for (auto& [handle, record] : windows)
            if (record.parent == doomed[i])
                doomed.push_back(handle);
    for (Window w : doomed) {
        windows.erase(w);
        owner->RemoveWindow(w);
        if (capture == w) {
            XUngrabPointer(display, CurrentTime);
            capture = 0;
        }
    }
}

}  // namespace platform
