#include "tools/windemo/CDemoTile.h"

#include <cstdio>

#include "graphics/CCanvas.h"
#include "toolkit/CGApplication.h"

CDemoTile::CDemoTile(CGApplication* app, const char* tileName) : CWindow(app), name(tileName)
{
    className = "CDemoTile";
}

CDemoTile::~CDemoTile() { LeaveRegistry(); }

void CDemoTile::HandleEvent(CEvent event)
{
    if (alive && event.source == application) {
        switch (event.type) {
        case EV_SHOW:
        case EV_RESIZE:
            Draw();
            break;
        case EV_MOUSEENTER:
            hover = 1;
            Draw();
            break;
        case EV_MOUSELEAVE:
            hover = 0;
            Draw();
            break;
        case EV_LBUTTONDOWN:
            pressed = 1;
            Draw();
            SetExclusive();  // the release comes back here wherever the pointer is
            break;
        case EV_LBUTTONUP:
            pressed = 0;
            Draw();
            Release();
            Activate();
            break;
        case EV_CLICK:
            clicks++;
            Draw();
            break;
        default:
            break;
        }
    }
    CWindow::HandleEvent(event);
}

void CDemoTile::Draw()
{
    CCanvas* canvas = GetCanvas();
    CGApplication* app = GetApplication();
    if (!canvas)
        return;
    uint32_t face = pressed ? app->packColour(248, 182, 52) : hover ? app->packColour(136, 208, 255)
                                                                     : app->packColour(226, 226, 226);
    canvas->SetColour(face);
    canvas->FillRect(0, 0, width, height);
    canvas->SetColour(app->packColour(0, 0, 0));
    canvas->Outline(0, 0, width - 1, height - 1);
    char line[64];
    std::snprintf(line, sizeof line, "%s: %d clic%s", name, clicks, clicks == 1 ? "" : "s");
    canvas->DrawText(line, 8, height / 2 + 6);
    Update();
}
