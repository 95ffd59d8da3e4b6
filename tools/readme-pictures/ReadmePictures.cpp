// Pictures of the program for the README, made by the program itself on the in-memory
// desktop: the main window with an example data set loaded through "Cargar", the
// result window of "Ajuste Simple", its plot, and its plot with axes (the window and
// the PNG it exports), and the result window of "Ajuste York". Run it in a folder whose
// "Dades" holds the data set (tools/make-readme-pictures does all of this).
//
//   readme-pictures PICTURE-FOLDER DATA-FILE-NAME OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "app/AjustorProgram.h"
#include "app/Basicad.h"
#include "app/CMainw.h"
#include "app/Grafica.h"
#include "app/LabPlot.h"
#include "app/CYorkWindow.h"
#include "core/CApplication.h"
#include "graphics/CCanvas.h"
#include "platform/PngWriter.h"
#include "platform/headless/PHeadlessSystem.h"
#include "toolkit/CGApplication.h"

namespace {
platform::PHeadlessSystem desktop(1024, 768);

void Pump(CGApplication* app)
{
    app->looping = 1;
    for (int guard = 0; guard < 100000 && desktop.Pending(); guard++)
        app->Step();
    app->looping = 0;
}

void Click(CGApplication* app, int x, int y)
{
    desktop.Click(x, y);
    Pump(app);
}

void Type(CGApplication* app, const std::string& text)
{
    for (char c : text)
        desktop.TypeKey(c >= 'a' && c <= 'z' ? uint32_t(c - 32) : 0, uint8_t(c));
    Pump(app);
}

// A decorated window, title bar included, as a PNG (the desktop writes BMP; the
// canvas reads it back and writes PNG).
bool Save(CBasicWindow* window, const std::string& path)
{
    CWindow* frame = window->decoration.As<CWindow>();
    std::string bmp = path + ".bmp";
    if (!frame || !desktop.SaveImage(frame->handle, bmp.c_str()))
        return false;
    Variable canvas(new CCanvas(CApplication::Instance()));
    bool written = canvas.As<CCanvas>()->Load(bmp.c_str()) &&
                   WriteSurfacePng(*canvas.As<CCanvas>()->GetSurface(), path.c_str());
    std::remove(bmp.c_str());
    return written;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("uso: readme-pictures CARPETA-DE-IMAGENES FICHERO-DE-DATOS CARPETA-DE-SALIDA\n", stderr);
        return 2;
    }
    std::string out = argv[3];
    platform::InstallWindowSystem(&desktop);
    PrepareAjustor();
    auto* app = new CGApplication();
    if (!app->Initialise())
        return 1;
    Variable window = OpenMainWindow(app, argv[1]);
    auto* main = window.As<CMainw>();
    Pump(app);
    // "Cargar": the chooser's name field holds the folder; the name follows it.
    Click(app, 212 + 2 + 8 + 74, 144 + 22 + 58 + 24);
    Type(app, std::string("/") + argv[2]);
    Click(app, 128 + 2 + 209 + 82, 64 + 22 + 330 + 11);
    bool ok = Save(main, out + "/ventana-principal.png");
    Click(app, 212 + 2 + 8 + 74, 144 + 22 + 394 + 19);  // "Ajuste Simple"
    auto* result = main->resultWindow.CheckedAs<Basicad>();
    ok = ok && result && Save(result, out + "/ajuste-simple.png");
    ok = ok && result && Save(result->plotWindow.As<CBasicWindow>(), out + "/grafica.png");
    // "Ver grafica": the plot with axes in its window, and exported as the file a
    // student hands in (written as "Exportar grafica" writes it).
    if (ok) {
        Click(app, 64 + 2 + 278 + 82, 64 + 22 + 296 + 18);
        auto* axes = result->labPlotWindow.CheckedAs<Grafica>();
        ok = axes && Save(axes, out + "/grafica-con-ejes.png") &&
             WriteLabPlot(app, axes->GetInput(), (out + "/grafica-ajuste-simple.png").c_str());
    }
    if (result) {  // out of the way of the main window's buttons, as closing them does
        if (auto* axes = result->labPlotWindow.CheckedAs<Grafica>())
            axes->Hide();
        result->plotWindow.As<CWindow>()->Hide();
        result->Hide();
        Pump(app);
    }
    Click(app, 212 + 2 + 8 + 74, 144 + 22 + 354 + 19);  // "Ajuste York"
    auto* york = main->resultWindow.CheckedAs<CYorkWindow>();
    ok = ok && york && Save(york, out + "/ajuste-york.png");
    window.Clear();
    app->Cleanup();
    delete app;
    platform::InstallWindowSystem(nullptr);
    if (!ok)
        std::fputs("readme-pictures: no se pudieron hacer las imagenes\n", stderr);
    return ok ? 0 : 1;
}
