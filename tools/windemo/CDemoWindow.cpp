#include "tools/windemo/CDemoWindow.h"

#include <cstdio>

#include "graphics/CCanvas.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"
#include "tools/windemo/CDemoTile.h"

namespace {
const char* const TileNames[3] = {"Uno", "Dos", "Tres"};
constexpr int StripeTop = 200;
}  // namespace

CDemoWindow::CDemoWindow(CGApplication* app) : CWindow(app) { className = "CDemoWindow"; }

CDemoWindow::~CDemoWindow() { LeaveRegistry(); }

void CDemoWindow::HandleEvent(CEvent event)
{
    if (!alive) {
        CWindow::HandleEvent(event);
        return;
    }
    // Escape ends the demonstration whichever window has the keyboard.
    if (event.type == EV_KEYDOWN && event.value == int32_t(platform::VK_ESCAPE))
        GetApplication()->Stop();
    if (event.source == application) {
        switch (event.type) {
        case EV_CREATE:
            Build();
            break;
        case EV_SHOW:
            Draw();
            break;
        case EV_CLOSE:
            GetApplication()->Stop();
            break;
        default:
            break;
        }
    } else if (event.source == timer.Get() && event.type == EV_TIMER) {
        phase = (phase + 4) % width;
        Draw();
    } else if (event.type == EV_CLICK) {
        for (int i = 0; i < 3; i++)
            if (event.source == tiles[i].Get())
                lastClicked = i;
        Draw();
    }
    CWindow::HandleEvent(event);
}

void CDemoWindow::Draw()
{
    CCanvas* canvas = GetCanvas();
    CGApplication* app = GetApplication();
    if (!canvas)
        return;
    canvas->SetColour(app->packColour(252, 242, 202));
    canvas->FillRect(0, 0, width, height);
    canvas->SetColour(app->packColour(5, 2, 1));
    canvas->DrawText("Ventanas hijas, temporizador de 25 ms; Escape cierra.", 16, 30);
    char status[80];
    if (lastClicked >= 0)
        std::snprintf(status, sizeof status, "\xDAltimo clic en \"%s\".", TileNames[lastClicked]);
    else
        std::snprintf(status, sizeof status, "Ning\xFA" "n clic todav\xED" "a.");
    canvas->DrawText(status, 16, 180);
    canvas->SetColour(app->packColour(177, 148, 121));
    canvas->FillRect(0, StripeTop, width, 20);
    canvas->SetColour(app->packColour(255, 164, 72));
    canvas->FillRect(phase, StripeTop, 40, 20);
    Update();
}

void CDemoWindow::Build()
{
    CGApplication* app = GetApplication();
    for (int i = 0; i < 3; i++) {
        tiles[i] = new CDemoTile(app, TileNames[i]);
        CDemoTile* tile = tiles[i].As<CDemoTile>();
        tile->Create(16 + i * 150, 60, 136, 80, this, nullptr, 226, 226, 226);
        tile->Show();
    }
    tiles[0].As<CWComponent>()->SetNext(tiles[1].As<CWComponent>());
    tiles[1].As<CWComponent>()->SetNext(tiles[2].As<CWComponent>());
    tiles[2].As<CWComponent>()->SetNext(tiles[0].As<CWComponent>());
    timer = new CTimer(app);
    timer.As<CTimer>()->Create(this);
    timer.As<CTimer>()->SetInterval(25);
    timer.As<CTimer>()->SetEnabled(1);
}
