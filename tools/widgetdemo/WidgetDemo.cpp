// The widget gallery: one decorated window with every widget, on the X display, so a
// person can try them. Closing the window ends it. Without a display:
//   widgetdemo --captura file.png|bmp   the gallery on the in-memory desktop, after a
//                                       little input, written to the file;
//   widgetdemo --estados folder         every widget in every state, as PNG files.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/headless/PHeadlessSystem.h"
#include "platform/x11/PX11System.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CGApplication.h"
#include "tools/widgetdemo/CGalleryWindow.h"
#include "tools/widgetdemo/StatePictures.h"

namespace {
Variable OpenGallery(CGApplication* app)
{
    Variable window(new CGalleryWindow(app, CGalleryWindow::FindPictureFolder()));
    CEvent desktop = app->GetDesktopSize();
    window.As<CGalleryWindow>()->Create((desktop.x - CGalleryWindow::Width) >> 1,
                                        (desktop.y - CGalleryWindow::Height) >> 1, CGalleryWindow::Width,
                                        CGalleryWindow::Height, nullptr, "Ajustor: galer\xED" "a de controles", 255,
                                        242, 202);
    window.As<CGalleryWindow>()->Show();
    return window;
}

// Runs the gallery on an in-memory desktop; `work` drives it and writes its pictures.
int Headless(int (*work)(CGApplication*, platform::PHeadlessSystem&, const char*), const char* target)
{
    platform::PHeadlessSystem desktop;
    platform::InstallWindowSystem(&desktop);
    auto* app = new CGApplication();
    app->Initialise();
    int status = work(app, desktop, target);
    app->Cleanup();
    delete app;
    platform::InstallWindowSystem(nullptr);
    if (status)
        std::fprintf(stderr, "No se pudo escribir %s\n", target);
    return status;
}

void RunFor(CGApplication* app, platform::PHeadlessSystem& desktop, int ms)
{
    app->looping = 1;
    for (int t = 0; t < ms; t += 25) {
        desktop.AdvanceClock(25);
        app->Step();
        while (desktop.Pending())
            app->Step();
    }
    app->looping = 0;
}

// The pointer rests on a skin button, a column holds a typed value and the edit box
// has the focus, so that the picture shows the widgets in use.
int Capture(CGApplication* app, platform::PHeadlessSystem& desktop, const char* path)
{
    Variable window = OpenGallery(app);
    auto* gallery = window.As<CGalleryWindow>();
    RunFor(app, desktop, 100);
    int left = (1024 - CGalleryWindow::Width) / 2 + 2, top = (768 - CGalleryWindow::Height) / 2 + 22;
    desktop.Click(left + 170 + 20, top + 208 + 30);
    for (const char* c = "3,75"; *c; c++)
        desktop.TypeKey(uint32_t(*c), uint32_t(*c));
    desktop.TypeKey(platform::VK_RETURN, 13);
    desktop.Click(left + 170 + 200, top + 146 + 12);
    desktop.MovePointer(left + 8 + 70, top + 58 + 24);
    RunFor(app, desktop, 200);
    (void)gallery;
    int saved = SaveDesktopPicture(desktop, 0, path);
    return saved ? 0 : 1;
}

int States(CGApplication* app, platform::PHeadlessSystem& desktop, const char* folder)
{
    return WriteStatePictures(app, desktop, folder, CGalleryWindow::FindPictureFolder()) ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    CApplication::Title("Ajustor: galer\xED" "a de controles");
    SetValidationMode(TrustRegistered);
    if (argc == 3 && std::strcmp(argv[1], "--captura") == 0)
        return Headless(Capture, argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--estados") == 0)
        return Headless(States, argv[2]);

    std::unique_ptr<platform::PX11System> display = platform::OpenX11OrExit();
    platform::InstallWindowSystem(display.get());
    auto* app = new CGApplication();
    if (!app->Initialise())
        return 1;
    Variable window = OpenGallery(app);
    app->Run();
    window.Clear();
    app->Cleanup();
    delete app;
    platform::InstallWindowSystem(nullptr);
    return 0;
}
