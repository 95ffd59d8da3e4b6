#include "platform/headless/PHeadlessSystem.h"

#include <algorithm>

namespace platform {

PHeadlessSystem::PHeadlessSystem(int width, int height) : desktopWidth(width), desktopHeight(height) {}

PHeadlessSystem::~PHeadlessSystem() = default;

PHandle PHeadlessSystem::CreateWindow(uint32_t exStyle, const char* className, const char* title,
                                      uint32_t style, int x, int y, int width, int height, PHandle parent)
{
    PWindowProc procedure = ProcedureOfClass(className);
    if (!procedure)
        return 0;
    bool child = (style & WS_CHILD) != 0;
    if (child && !Find(parent))
        return 0;
    Window w;
    w.handle = nextHandle++;
    w.parent = child ? parent : 0;
    w.style = style;
    w.exStyle = exStyle;
    w.x = x;
    w.y = y;
    w.width = std::max(0, width);
    w.height = std::max(0, height);
    w.title = title ? title : "";
    w.pixels.assign(size_t(w.width) * size_t(w.height), 0xFFFFFF);
    PHandle handle = w.handle;
    windows.emplace(handle, std::move(w));
    AddWindow(handle, procedure);
    if (child)
        Find(parent)->children.push_back(handle);
    else
        topLevels.push_back(handle);
    if (style & WS_VISIBLE)
        ShowWindow(handle, SW_SHOWNORMAL);
    return handle;
}

// Frames are drawn by the framework itself, so client and outer rectangles coincide.
void PHeadlessSystem::AdjustWindowRect(PRect&, uint32_t, uint32_t) {}

int PHeadlessSystem::DestroyWindow(PHandle window)
{
    Window* w = Find(window);
    if (!w)
        return 0;
    std::vector<PHandle> children = w->children;
    for (PHandle child : children)
        DestroyWindow(child);
    w = Find(window);
    if (w->parent) {
        auto& siblings = Find(w->parent)->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    } else {
        topLevels.erase(std::remove(topLevels.begin(), topLevels.end(), window), topLevels.end());
    }
    Forget(window);
    windows.erase(window);
    return 1;
}

int PHeadlessSystem::ShowWindow(PHandle window, int command)
{
    Window* w = Find(window);
    if (!w)
        return 0;
    bool wasVisible = w->visible;
    if (command == SW_HIDE) {
        w->visible = false;
        if (capture == window)
            capture = 0;
        return wasVisible;
    }
    w->visible = true;
    Raise(*w);
    InvalidateTree(*w, true);
    // Showing a top-level window activates it, and with it the keyboard focus.
    if (!w->parent)
        focus = window;
    return wasVisible;
}

int PHeadlessSystem::MoveWindow(PHandle window, int x, int y, int width, int height, int repaint)
{
    Window* w = Find(window);
    if (!w)
        return 0;
    width = std::max(0, width);
    height = std::max(0, height);
    bool moved = x != w->x || y != w->y;
    bool sized = width != w->width || height != w->height;
    w->x = x;
    w->y = y;
    if (sized) {
        std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0xFFFFFF);
        for (int row = 0; row < std::min(height, w->height); row++)
            std::copy_n(w->pixels.begin() + row * w->width, std::min(width, w->width), pixels.begin() + row * width);
        w->pixels.swap(pixels);
        w->width = width;
        w->height = height;
    }
    if (repaint && (moved || sized))
        InvalidateTree(*w, true);
    PWindowProc procedure = ProcedureOf(window);
    // A real window system sends these at once, through the window procedure.
    if (moved)
        procedure(window, WM_MOVE, 0, MakeLParam(x, y));
    if (sized && Find(window))
        procedure(window, WM_SIZE, 0, MakeLParam(width, height));
    return 1;
}

int PHeadlessSystem::SetWindowText(PHandle window, const char* text)
{
    Window* w = Find(window);
    if (!w)
        return 0;
    w->title = text ? text : "";
    return 1;
}

int PHeadlessSystem::IsWindow(PHandle window) { return Find(window) ? 1 : 0; }

int PHeadlessSystem::GetWindowRect(PHandle window, PRect& rect)
{
    if (window == DesktopHandle) {
        rect = {0, 0, desktopWidth, desktopHeight};
        return 1;
    }
    Window* w = Find(window);
    if (!w)
        return 0;
    PPoint origin = ScreenOrigin(*w);
    rect = {origin.x, origin.y, origin.x + w->width, origin.y + w->height};
    return 1;
}

int PHeadlessSystem::GetClientRect(PHandle window, PRect& rect)
{
    if (window == DesktopHandle) {
        rect = {0, 0, desktopWidth, desktopHeight};
        return 1;
    }
    Window* w = Find(window);
    if (!w)
        return 0;
    rect = {0, 0, w->width, w->height};
    return 1;
}

int PHeadlessSystem::GetCursorPos(PPoint& point)
{
    point = pointer;
    return 1;
}

int PHeadlessSystem::PaintPixels(PHandle window, const PPixels& source, int x, int y, int width, int height)
{
    Window* w = Find(window);
    if (!w)
        return 0;
    Validate(window);
    if (!source.pixels)
        return 1;
    int left = std::max({x, 0}), top = std::max({y, 0});
    int right = std::min({x + width, w->width, source.width});
    int bottom = std::min({y + height, w->height, source.height});
    for (int row = top; row < bottom; row++)
        for (int column = left; column < right; column++)
            w->pixels[size_t(row) * w->width + column] = source.pixels[size_t(row) * source.pitch + column];
    return 1;
}

PHandle PHeadlessSystem::SetCapture(PHandle window)
{
    PHandle previous = capture;
    capture = Find(window) ? window : 0;
    return previous;
}

int PHeadlessSystem::ReleaseCapture()
{
    capture = 0;
    return 1;
}

PHandle PHeadlessSystem::SetFocus(PHandle window)
{
    PHandle previous = focus;
    if (Find(window))
        focus = window;
    return previous;
}

int PHeadlessSystem::SetWindowAlpha(PHandle window, int alpha)
{
    Window* w = Find(window);
    if (!w || !translucency)
        return 0;
    w->alpha = std::clamp(alpha, 0, 255);
    return 1;
}

int PHeadlessSystem::ClearWindowAlpha(PHandle window)
{
    Window* w = Find(window);
    if (!w)
        return 0;
    w->alpha = -1;
    return 1;
}

int PHeadlessSystem::GetClipboardText(std::string& text)
{
    if (clipboardBroken)
        return -1;
    if (!clipboardHasText)
        return 0;
    text = clipboard;
    return 1;
}

int PHeadlessSystem::SetClipboardText(const char* text, size_t length)
{
    clipboard.assign(text ? text : "", text ? length : 0);
    clipboardHasText = true;
    clipboardBroken = false;
    return 1;
}

PHeadlessSystem::Window* PHeadlessSystem::Find(PHandle window)
{
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

PPoint PHeadlessSystem::ScreenOrigin(const Window& w)
{
    PPoint origin{w.x, w.y};
    for (Window* up = Find(w.parent); up; up = Find(up->parent)) {
        origin.x += up->x;
        origin.y += up->y;
    }
    return origin;
}

bool PHeadlessSystem::IsShownOnScreen(PHandle window)
{
    Window* w = Find(window);
    return w && ShownOnScreen(*w);
}

bool PHeadlessSystem::ShownOnScreen(const Window& w)
{
    if (!w.visible)
        return false;
    for (Window* up = Find(w.parent); up; up = Find(up->parent))
        if (!up->visible)
            return false;
    return true;
}

void PHeadlessSystem::InvalidateTree(Window& w, bool withChildren)
{
    Invalidate(w.handle, {0, 0, w.width, w.height});
    if (!withChildren)
        return;
    for (PHandle child : w.children)
        if (Window* c = Find(child))
            InvalidateTree(*c, true);
}

// Brings a window to the front of its siblings; topmost windows stay above the others.
void PHeadlessSystem::Raise(Window& w)
{
    std::vector<PHandle>& stack = w.parent ? Find(w.parent)->children : topLevels;
    stack.erase(std::remove(stack.begin(), stack.end(), w.handle), stack.end());
    stack.push_back(w.handle);
    std::stable_partition(stack.begin(), stack.end(), [this](PHandle h) {
        Window* s = Find(h);
        return !(s && (s->exStyle & WS_EX_TOPMOST));
    });
}

void PHeadlessSystem::Forget(PHandle window)
{
    RemoveWindow(window);
    if (capture == window)
        capture = 0;
    if (focus == window)
        focus = 0;
}

}  // namespace platform
