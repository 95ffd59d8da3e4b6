// Opens a window with three child windows and a timer on the X display, so a person
// can try the event loop. With "--captura file.bmp" it runs on the in-memory desktop
// instead, clicks a tile and writes what the desktop shows to the file.
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/headless/PHeadlessSystem.h"
#include "platform/x11/PX11System.h"
#include "toolkit/CGApplication.h"
#include "tools/windemo/CDemoWindow.h"

namespace {
constexpr int Width = 480;
constexpr int Height = 260;

Variable OpenDemoWindow(CGApplication* app)
{
    Variable window(new CDemoWindow(app));
    CEvent desktop = app->GetDesktopSize();
    window.As<CWindow>()->Create((desktop.x - Width) >> 1, (desktop.y - Height) >> 1, Width, Height, nullptr,
                                 nullptr, 252, 242, 202);
    window.As<CWindow>()->Show();
    return window;
}

int Capture(const char* path)
{
    platform::PHeadlessSystem desktop;
    platform::InstallWindowSystem(&desktop);
    auto* app = new CGApplication();
    app->Initialise();
    Variable window = OpenDemoWindow(app);
    app->looping = 1;
    auto runFor = [&](int ms) {
        for (int t = 0; t < ms; t += 25) {
            desktop.AdvanceClock(25);
            app->Step();
            while (desktop.Pending())
                app->Step();
        }
    };
    runFor(200);
    int x = (1024 - Width) / 2 + 16 + 150 + 60, y = (768 - Height) / 2 + 100;
    desktop.Click(x, y);
    runFor(400);
    app->looping = 0;
    int saved = desktop.SaveImage(0, path);
    window.Clear();
    app->Cleanup();
    delete app;
    platform::InstallWindowSystem(nullptr);
    if (!saved)
        std::fprintf(stderr, "No se pudo escribir %s\n", path);
    return saved ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    CApplication::Title("Ajustor: prueba de ventanas");
    SetValidationMode(TrustRegistered);
    if (argc == 3 && std::strcmp(argv[1], "--captura") == 0)
        return Capture(argv[2]);

    std::unique_ptr<platform::PX11System> display = platform::OpenX11OrExit();
    platform::InstallWindowSystem(display.get());
    auto* app = new CGApplication();
    if (!app->Initialise())
        return 1;
    Variable window = OpenDemoWindow(app);
    app->Run();
    window.Clear();
    app->Cleanup();
    delete app;
    platform::InstallWindowSystem(nullptr);
    return 0;
}
