#include "toolkit/CButton.h"

#include <algorithm>

#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "toolkit/CGApplication.h"

namespace {
// One coordinate of a fill: constant + W·(W >> shiftW) + H·(H >> shiftH) + A·a + B·b,
// with a = H >> 4 and b = W >> 6, in floating point and truncated toward zero.
struct Term {
    double constant, perW, perH, perA, perB;
    int shiftW, shiftH;

    int At(int w, int h) const
    {
        double a = h >> 4, b = w >> 6;
        return int(constant + perW * (w >> shiftW) + perH * (h >> shiftH) + perA * a + perB * b);
    }
};

constexpr Term N(double c) { return {c, 0, 0, 0, 0, 0, 0}; }
constexpr Term Wd(double c, double perB = 0) { return {c, 1, 0, 0, perB, 0, 0}; }
constexpr Term Hd(double c, double perA = 0) { return {c, 0, 1, perA, 0, 0, 0}; }
constexpr Term WShift(int s) { return {0, 1, 0, 0, 0, s, 0}; }
constexpr Term HShift(int s) { return {0, 0, 1, 0, 0, 0, s}; }
constexpr Term A(double f) { return {0, 0, 0, f, 0, 0, 0}; }
constexpr Term B(double f) { return {0, 0, 0, 0, f, 0, 0}; }

struct Fill {
    uint8_t r, g, b;
    Term x, y, w, h;
};

constexpr int MostFills = 6;
struct Look {
    int count;
    Fill fills[MostFills];
};

#define WHOLE N(0), N(0), Wd(0), Hd(0)

enum LookIndex {
    SmallPressed, SmallFocusedHover, SmallFocused, SmallHover, SmallPlain,
    FocusedPressed, FocusedHover, Focused, NarrowHover, NarrowPlain, WideHover, WidePlain,
};

// The faces, in the order of LookIndex; each is a sequence of fills.
const Look Looks[] = {
    {2, {{255, 164, 72, WHOLE}, {255, 232, 198, N(1), N(1), Wd(-2), HShift(1)}}},
    {2, {{255, 172, 154, WHOLE}, {255, 248, 232, N(1), N(1), Wd(-2), HShift(1)}}},
    {2, {{175, 255, 128, WHOLE}, {248, 255, 236, N(1), N(1), Wd(-2), HShift(1)}}},
    {3, {{136, 208, 255, WHOLE}, {198, 225, 255, N(1), N(1), Wd(-2), HShift(1)},
         {250, 254, 255, N(1), N(2), WShift(1), HShift(2)}}},
    {3, {{200, 200, 198, WHOLE}, {245, 245, 242, N(1), N(1), Wd(-2), HShift(1)},
         {255, 255, 250, N(1), N(2), WShift(1), HShift(2)}}},
    {4, {{248, 182, 52, WHOLE}, {252, 235, 153, N(1), N(2), Wd(0, -1), Hd(0, -4)},
         {254, 246, 224, N(2), N(4), Wd(0, -4), Hd(0, -10)}, {255, 252, 246, N(3), N(5), Wd(0, -6), Hd(0, -14)}}},
    {3, {{255, 192, 186, WHOLE}, {255, 218, 208, N(1), N(2), Wd(0, -2), Hd(0, -4)},
         {255, 242, 232, N(2), N(4), Wd(0, -4), Hd(0, -8)}}},
    {3, {{175, 255, 128, WHOLE}, {215, 255, 178, N(1), N(2), Wd(0, -1), Hd(0, -4)},
         {245, 255, 232, N(2), N(4), Wd(0, -4), Hd(0, -8)}}},
    {6, {{136, 208, 255, WHOLE}, {196, 226, 254, B(0.5), B(1), Wd(0, -1), Hd(0, -4)},
         {208, 232, 255, B(0.75), B(1.25), Wd(0, -1.5), Hd(0, -2.75)},
         {228, 242, 255, B(1), B(1.5), Wd(0, -4), Hd(0, -10)},
         {238, 248, 255, B(1.5), B(2.45), Wd(0, -4), Hd(0, -10)},
         {252, 254, 255, B(1.75), A(2.5), Wd(0, -6), Hd(0, -14)}}},
    {5, {{102, 102, 101, WHOLE}, {226, 226, 226, N(1), N(1), Wd(-2), Hd(-2)},
         {232, 232, 232, N(1), N(1), Wd(0, -2), Hd(0, -2)}, {244, 244, 245, N(2), N(2), Wd(0, -4), Hd(0, -4)},
         {252, 252, 255, N(3), N(5), Wd(0, -6), Hd(0, -14)}}},
    {3, {{158, 222, 255, N(1), N(1), Wd(0), Hd(0)}, {250, 254, 255, N(1), N(2), Wd(-4), HShift(1)},
         {238, 248, 255, N(1), N(1), Wd(-2), HShift(2)}}},
    {3, {{212, 212, 198, N(1), N(1), Wd(0), Hd(0)}, {255, 255, 250, N(1), N(2), Wd(-4), HShift(1)},
         {245, 245, 242, N(1), N(1), Wd(-4), HShift(2)}}},
};
#undef WHOLE

constexpr int SmallBelow = 12;
constexpr int WideFrom = 256;
constexpr int IconGap = 4;

LookIndex ChooseLook(int w, int h, bool focused, bool hover, bool pressed)
{
    if (std::min(w, h) < SmallBelow) {
        if (focused)
            return pressed ? SmallPressed : hover ? SmallFocusedHover : SmallFocused;
        return hover ? SmallHover : SmallPlain;
    }
    if (focused)
        return pressed ? FocusedPressed : hover ? FocusedHover : Focused;
    if (w < WideFrom)
        return hover ? NarrowHover : NarrowPlain;
    return hover ? WideHover : WidePlain;
}
}  // namespace

CButton::CButton(CGApplication* app) : CWindow(app) { className = "CButton"; }

CButton::~CButton() { LeaveRegistry(); }

void CButton::HandleEvent(CEvent event)
{
    if (alive)
        ButtonEvent(event);
    CWindow::HandleEvent(event);
}

void CButton::Draw()
{
    CCanvas* surface = GetCanvas();
    if (!surface)
        return;
    CGApplication* app = GetApplication();
    const Look& look = Looks[ChooseLook(width, height, focused, hover, pressed)];
    for (int i = 0; i < look.count; i++) {
        const Fill& fill = look.fills[i];
        surface->SetColour(app->packColour(fill.r, fill.g, fill.b));
        surface->FillRect(fill.x.At(width, height), fill.y.At(width, height), fill.w.At(width, height),
                          fill.h.At(width, height));
    }
    surface->SetColour(app->packColour(0, 0, 0));
    surface->Outline(0, 0, width - 1, height - 1);
    DrawCaptionAndIcon();
}

void CButton::SetCaption(const char* text)
{
    if (auto* words = caption.CheckedAs<CString>())
        words->SetText(text ? text : "");
    Draw();
}

void CButton::SetButtonIcon(CBCell* cell) { buttonIcon = cell; }

void CButton::CopyParentBackground()
{
    CCanvas* below = parent ? parent->GetCanvas() : nullptr;
    CCanvas* own = GetCanvas();
    if (below && own && width > 0 && height > 0)
        below->DrawOn(own, 0, 0, x, y, width, height);
}

void CButton::DrawCaptionAndIcon()
{
    CCanvas* surface = GetCanvas();
    CGApplication* app = GetApplication();
    auto* words = caption.CheckedAs<CString>();
    auto* font = captionFont.CheckedAs<CFont>();
    auto* icon = buttonIcon.CheckedAs<CBCell>();
    surface->SetColour(app->packColour(8 * hover, 0, 32 * focused));
    bool hasCaption = words && words->GetLength() > 0;
    int tw = hasCaption && font ? font->TextWidth(words) : 0;
    int th = hasCaption && font ? font->TextHeight(words->GetBuffer(), words->GetLength()) : 0;
    if (!icon) {
        if (hasCaption)
            surface->DrawText(words, (width - tw) >> 1, (th + height) >> 1);
    } else if (!hasCaption) {
        surface->DrawCell(icon, (width - icon->GetWidth()) >> 1, (height - icon->GetHeight()) >> 1);
    } else {
        int x0 = (width - (tw + icon->GetWidth()) - IconGap) >> 1;
        surface->DrawCell(icon, x0, (height - icon->GetHeight()) >> 1);
        surface->DrawText(words, x0 + icon->GetWidth() + IconGap, (th + height) >> 1);
    }
    Update();
}

// The record may become EV_CLICK (Enter), which the base handler then passes up.
void CButton::ButtonEvent(CEvent& event)
{
    switch (event.type) {
    case EV_CREATE:
        // Made active by its construction, the button shows it from the start.
        hover = pressed = 0;
        focused = GetApplication()->activeWindow == this;
        caption = new CString(application);
        captionFont = GetCanvas() ? GetCanvas()->GetFont() : nullptr;
        if (GetCanvas())
            GetCanvas()->SetColour(GetApplication()->packColour(0, 0, 6));
        break;
    case EV_RESIZE:
        ApplyResize(event);
        CopyParentBackground();
        Draw();
        break;
    case EV_SHOW:
        CopyParentBackground();
        Draw();
        break;
    case EV_FOCUS:
    case EV_UNFOCUS:
        focused = event.type == EV_FOCUS;
        if (visible && created)
            Draw();
        break;
    case EV_LBUTTONDOWN:
        if (!pressed) {
            pressed = 1;
            Draw();
            SetExclusive();
        }
        break;
    case EV_LBUTTONUP:
        if (pressed) {
            pressed = 0;
            Draw();
            Release();
            Activate();
        }
        break;
    case EV_KEYDOWN:
        if (event.value == int32_t(platform::VK_RETURN) && !pressed) {
            pressed = 1;
            Draw();
            pressed = 0;
            Draw();
            event.type = EV_CLICK;
        }
        break;
    case EV_MOUSEENTER:
    case EV_MOUSELEAVE:
        if (hover != uint32_t(event.type == EV_MOUSEENTER)) {
            hover = event.type == EV_MOUSEENTER;
            Draw();
        }
        break;
    default:
        break;
    }
}
