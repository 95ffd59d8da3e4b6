#include "toolkit/CBasicWindow.h"

#include <algorithm>

#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "toolkit/CBasicWindowDecoration.h"
#include "toolkit/CButton.h"
#include "toolkit/CGApplication.h"

namespace {
constexpr int LowestTitleBar = 20;
constexpr int Frame = 2;
constexpr int CloseWidth = 12;
constexpr int CloseHeight = 10;

// The height of the title bar for a title measured in the default font.
int TitleBarHeight(CApplication* app, const char* title)
{
    Variable font(new CFont(app));
    font.As<CFont>()->SetDefault();
    return std::max(LowestTitleBar, font.As<CFont>()->TextHeight(title ? title : "N|_") + 4);
}
}  // namespace

CBasicWindow::CBasicWindow(CGApplication* app) : CWindow(app) { className = "CBasicWindow"; }

CBasicWindow::~CBasicWindow()
{
    LeaveRegistry();
    if (created)
        DestroyBasic();
}

int CBasicWindow::Destroy() { return DestroyBasic(); }

void CBasicWindow::HandleEvent(CEvent event)
{
    if (!alive) {
        CWindow::HandleEvent(event);
        return;
    }
    BasicEvent(event);
}

// The background pattern: a warm fill, shaded bands at the top and bottom, thin
// vertical stripes and a frame.
void CBasicWindow::Draw()
{
    CCanvas* surface = GetCanvas();
    if (!surface)
        return;
    CGApplication* app = GetApplication();
    surface->SetColour(app->packColour(255, 242, 202));
    surface->FillRect(0, 0, width, height);
    for (int i = 1; i <= 15; i++) {
        uint32_t step = uint32_t(2 * (i - 1));
        surface->SetColour(app->packColour(223 + step, 215 + step, 170 + step));
        surface->Line(i / 4, height - i - 1, width - i / 4, height - i - 1);
        surface->Line(i / 8, i, width - i / 8, i);
    }
    if (width > 8 && height > 8) {
        surface->SetColour(app->packColour(255, 232, 198));
        for (int stripe = 4; stripe < width; stripe += 5)
            surface->Line(stripe, 0, stripe, height);
        surface->SetColour(app->packColour(177, 148, 121));
        surface->Outline(0, 0, width - 1, height - 1);
    }
}

void CBasicWindow::Create(int left, int top, int w, int h, CWindow* parentWindow, const char* title,
                          uint32_t r, uint32_t g, uint32_t b)
{
    CGApplication* app = GetApplication();
    if (created || !app || !app->GetSystem())
        return;
    if (parentWindow || title == NoTitle) {
        CWindow::Create(left, top, w, h, parentWindow, title, r, g, b);
        return;
    }
    int titleHeight = TitleBarHeight(app, title);
    auto* frame = new CBasicWindowDecoration(app);
    decoration = frame;
    frame->titleHeight = titleHeight;
    frame->CWindow::Create(left, top, w + 2 * Frame, h + 2 * Frame + titleHeight, nullptr, NoTitle, 250, 245, 210);
    frame->SetTitleText(title ? title : CApplication::Title() ? CApplication::Title() : "");
    frame->client = this;

    auto* close = new CButton(app);
    frame->closeButton = close;
    close->Create(frame->width - titleHeight, titleHeight / 2 - 3, CloseWidth, CloseHeight, frame, nullptr, 255,
                  20, 120);
    // Drawn once the close button exists, which the drawing puts in its final place.
    frame->Draw();
    // Made last, the close button would hold the keyboard: Enter would close the window.
    frame->Activate();
    CWindow::Create(Frame, titleHeight + Frame, w, h, frame, nullptr, r, g, b);
}

void CBasicWindow::Show()
{
    auto* frame = decoration.CheckedAs<CBasicWindowDecoration>();
    if (frame && !frame->visible)
        frame->Show();
    CWindow::Show();
}

void CBasicWindow::SetIcon(CBCell* cell)
{
    Variable hold(cell);
    if (auto* frame = decoration.CheckedAs<CBasicWindowDecoration>()) {
        frame->icon = cell;
        frame->Draw();
    }
}

void CBasicWindow::BasicEvent(CEvent event)
{
    auto* frame = decoration.CheckedAs<CBasicWindowDecoration>();
    if (event.source == application) {
        switch (event.type) {
        case EV_CREATE:
            Draw();
            break;
        case EV_SHOW:
            if (frame && !frame->visible)
                frame->Show();
            break;
        case EV_HIDE:
            if (frame)
                frame->Hide();
            break;
        case EV_RESIZE:
            ApplyResize(event);
            Draw();
            event.type = EV_NONE;
            break;
        default:
            break;
        }
    } else if (frame && event.source == frame && event.type == EV_CLOSE && visible) {
        frame->Hide();
        Hide();
    }
    CWindow::HandleEvent(event);
}

int CBasicWindow::DestroyBasic()
{
    if (!created)
        return CWindow::Destroy();
    CWindow::Destroy();
    if (auto* frame = decoration.CheckedAs<CBasicWindowDecoration>()) {
        frame->client = nullptr;
        if (frame->created)
            frame->Destroy();
    }
    decoration.Clear();
    return 0;
}
