#include "toolkit/CLabel.h"

#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "toolkit/CGApplication.h"

namespace {
// How each text style writes: the shadow first, then the text, each at an offset
// from (x, H - 1); style 0 writes the text only.
struct StyleStroke {
    bool shadow;
    int shadowDx, shadowDy;
    int textDx, textDy;
};
const StyleStroke Styles[] = {
    {false, 0, 0, 0, 0},
    {true, 0, 0, 1, 1},
    {true, 1, 1, 0, 0},
};

constexpr int ImageGap = 4;

bool IsPointerEvent(int32_t type) { return type >= EV_LBUTTONDOWN && type <= EV_WHEELDOWN; }
}  // namespace

CLabel::CLabel(CGApplication* app) : CWindow(app) { className = "CLabel"; }

CLabel::~CLabel() { LeaveRegistry(); }

void CLabel::HandleEvent(CEvent event)
{
    if (!alive) {
        CWindow::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case EV_RESIZE:
        ApplyResize(event);
        Draw();
        break;
    case EV_SHOW:
        Draw();
        break;
    case EV_CREATE:
        text = new CString(application);
        textStyle = 1;
        alignment = AlignLeft;
        labelImage.Clear();
        textColour = GetApplication()->packColour(0, 0, 0);
        shadowColour = GetApplication()->packColour(255, 255, 255);
        break;
    default:
        // The window under the label treats a click on it as a click on itself.
        if (IsPointerEvent(event.type) && parent)
            parent->HandleEvent(event);
        break;
    }
    CWindow::HandleEvent(event);
}

void CLabel::Draw()
{
    CCanvas* surface = GetCanvas();
    if (!surface)
        return;
    if (CCanvas* below = parent ? parent->GetCanvas() : nullptr)
        below->DrawOn(surface, 0, 0, x, y, width, height);
    auto* words = text.CheckedAs<CString>();
    int tw = words && alignment != AlignLeft ? surface->GetFont()->TextWidth(words) : 0;
    int left = alignment == AlignLeft ? 0 : alignment == AlignCentre ? (width - tw) >> 1 : width - tw;
    if (auto* image = labelImage.CheckedAs<CBCell>()) {
        surface->DrawCell(image, 0, height - image->GetHeight());
        left = image->GetWidth() + ImageGap;
    }
    const StyleStroke& style = Styles[textStyle >= 0 && textStyle <= 2 ? textStyle : 0];
    if (words && style.shadow) {
        surface->SetColour(shadowColour);
        surface->DrawText(words, left + style.shadowDx, height - 1 + style.shadowDy);
    }
    if (words) {
        surface->SetColour(textColour);
        surface->DrawText(words, left + style.textDx, height - 1 + style.textDy);
    }
    Update();
}

void CLabel::SetText(const char* value)
{
    if (auto* words = text.CheckedAs<CString>())
        words->SetText(value ? value : "");
    Draw();
}

void CLabel::SetImage(CBCell* cell)
{
    labelImage = cell;
    Draw();
}

void CLabel::SetAlignment(int32_t n)
{
    if (n < AlignLeft || n > AlignRight)
        return;
    alignment = n;
    Draw();
}
