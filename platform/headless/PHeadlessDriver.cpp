#include <algorithm>
#include <cstdio>

#include "platform/headless/PHeadlessSystem.h"

// The test driver of the in-memory desktop: injected input, inspection and pictures.
namespace platform {

namespace {
constexpr uintptr_t MK_LBUTTON = 0x1;
constexpr uintptr_t MK_RBUTTON = 0x2;
constexpr uintptr_t MK_MBUTTON = 0x10;
constexpr uint32_t DesktopColour = 0xA56E3A;  // r 58, g 110, b 165

void PutLittleEndian(std::FILE* file, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        std::fputc(int((value >> (8 * i)) & 0xFF), file);
}
}  // namespace

void PHeadlessSystem::MovePointer(int x, int y)
{
    if (x == pointer.x && y == pointer.y)
        return;
    pointer = {x, y};
    PostPointer(WM_MOUSEMOVE);
}

void PHeadlessSystem::PressButton(Button button)
{
    static constexpr uint32_t Messages[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
    buttons[button] = true;
    PostPointer(Messages[button]);
}

void PHeadlessSystem::ReleaseButton(Button button)
{
    static constexpr uint32_t Messages[] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
    buttons[button] = false;
    PostPointer(Messages[button]);
}

void PHeadlessSystem::Click(int x, int y)
{
    MovePointer(x, y);
    PressButton(Left);
    ReleaseButton(Left);
}

void PHeadlessSystem::TurnWheel(int delta)
{
    PHandle target = PointerTarget();
    if (target)
        QueueInput(target, WM_MOUSEWHEEL, (uintptr_t(uint16_t(delta)) << 16) | ButtonFlags(),
                  MakeLParam(pointer.x, pointer.y));
}

void PHeadlessSystem::PressKey(uint32_t virtualKey, uint32_t character)
{
    if (focus)
        QueueInput(focus, WM_KEYDOWN, virtualKey, 1, character & 0xFF);
}

void PHeadlessSystem::ReleaseKey(uint32_t virtualKey)
{
    if (focus)
        QueueInput(focus, WM_KEYUP, virtualKey, intptr_t(0xC0000001));
}

void PHeadlessSystem::TypeKey(uint32_t virtualKey, uint32_t character)
{
    PressKey(virtualKey, character);
    ReleaseKey(virtualKey);
}

void PHeadlessSystem::RequestClose(PHandle window)
{
    if (Find(window))
        QueueInput(window, WM_CLOSE, 0, 0);
}

void PHeadlessSystem::Expose(PHandle window, PRect rect)
{
    Window* w = Find(window);
    if (!w)
        return;
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, w->width);
    rect.bottom = std::min(rect.bottom, w->height);
    Invalidate(window, rect);
}

PHandle PHeadlessSystem::WindowAt(int x, int y) { return DeepestAt(topLevels, x, y); }

bool PHeadlessSystem::IsVisible(PHandle window)
{
    Window* w = Find(window);
    return w && ShownOnScreen(*w);
}

std::string PHeadlessSystem::GetWindowText(PHandle window)
{
    Window* w = Find(window);
    return w ? w->title : std::string();
}

int PHeadlessSystem::GetWindowAlpha(PHandle window)
{
    Window* w = Find(window);
    return w ? w->alpha : -1;
}

uint32_t PHeadlessSystem::GetWindowPixel(PHandle window, int x, int y)
{
    Window* w = Find(window);
    if (!w || x < 0 || y < 0 || x >= w->width || y >= w->height)
        return 0;
    return w->pixels[size_t(y) * w->width + x];
}

int PHeadlessSystem::SaveImage(PHandle window, const char* path)
{
    Window* only = Find(window);
    if (window && !only)
        return 0;
    int width = only ? only->width : desktopWidth;
    int height = only ? only->height : desktopHeight;
    std::vector<uint32_t> picture(size_t(width) * size_t(height), DesktopColour);
    if (only) {
        Compose(*only, 0, 0, picture, width, height);
    } else {
        for (PHandle top : topLevels)
            if (Window* w = Find(top); w && w->visible)
                Compose(*w, w->x, w->y, picture, width, height);
    }
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return 0;
    uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    uint32_t imageBytes = rowBytes * uint32_t(height);
    std::fputs("BM", file);
    PutLittleEndian(file, 54 + imageBytes, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, uint32_t(width), 4);
    PutLittleEndian(file, uint32_t(height), 4);
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, imageBytes, 4);
    for (int i = 0; i < 4; i++)
        PutLittleEndian(file, 0, 4);
    for (int row = height - 1; row >= 0; row--) {
        for (int column = 0; column < width; column++) {
            uint32_t c = picture[size_t(row) * width + column];
            std::fputc(int((c >> 16) & 0xFF), file);  // blue, green, red
            std::fputc(int((c >> 8) & 0xFF), file);
            std::fputc(int(c & 0xFF), file);
        }
        for (uint32_t pad = uint32_t(width) * 3; pad < rowBytes; pad++)
            std::fputc(0, file);
    }
    return std::fclose(file) == 0 ? 1 : 0;
}

// Children are drawn over their parent, later siblings over earlier ones.
void PHeadlessSystem::Compose(const Window& w, int originX, int originY, std::vector<uint32_t>& picture,
                              int pictureW, int pictureH)
{
    for (int row = 0; row < w.height; row++) {
        int y = originY + row;
        if (y < 0 || y >= pictureH)
            continue;
        for (int column = 0; column < w.width; column++) {
            int x = originX + column;
            if (x >= 0 && x < pictureW)
                picture[size_t(y) * pictureW + x] = w.pixels[size_t(row) * w.width + column];
        }
    }
    for (PHandle child : w.children)
        if (Window* c = Find(child); c && c->visible)
            Compose(*c, originX + c->x, originY + c->y, picture, pictureW, pictureH);
}

PHandle PHeadlessSystem::DeepestAt(const std::vector<PHandle>& stack, int x, int y)
{
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        Window* w = Find(*it);
        if (!w || !w->visible)
            continue;
        PPoint origin = ScreenOrigin(*w);
        if (x < origin.x || y < origin.y || x >= origin.x + w->width || y >= origin.y + w->height)
            continue;
        PHandle deeper = DeepestAt(w->children, x, y);
        return deeper ? deeper : w->handle;
    }
    return 0;
}

PHandle PHeadlessSystem::PointerTarget() { return capture ? capture : WindowAt(pointer.x, pointer.y); }

// Pointer messages carry client coordinates of the window they are routed to.
void PHeadlessSystem::PostPointer(uint32_t message)
{
    PHandle target = PointerTarget();
    Window* w = Find(target);
    if (!w)
        return;
    PPoint origin = ScreenOrigin(*w);
    QueueInput(target, message, ButtonFlags(), MakeLParam(pointer.x - origin.x, pointer.y - origin.y));
}

uintptr_t PHeadlessSystem::ButtonFlags() const
{
    return (buttons[Left] ? MK_LBUTTON : 0) | (buttons[Middle] ? MK_MBUTTON : 0) | (buttons[Right] ? MK_RBUTTON : 0);
}

}  // namespace platform
