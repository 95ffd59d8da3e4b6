#include "tools/widgetdemo/StatePictures.h"

#include <cstdio>

#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "platform/PngWriter.h"
#include "platform/headless/PHeadlessSystem.h"
#include "toolkit/CBasicWindow.h"
#include "toolkit/CBasicWindowDecoration.h"
#include "toolkit/CButton.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CLabel.h"
#include "toolkit/CSkinButton.h"

namespace {
struct State {
    const char* name;
    uint32_t focused, hover, pressed;
};
const State States[] = {
    {"normal", 0, 0, 0}, {"encima", 0, 1, 0}, {"foco", 1, 0, 0}, {"foco y encima", 1, 1, 0}, {"pulsado", 1, 1, 1},
};
constexpr int StateCount = 5;
constexpr int Column = 160;

struct Session {
    CGApplication* app;
    platform::PHeadlessSystem& desktop;
    std::string folder;
    std::string pictures;
    bool ok = true;

    CWindow* Host(Variable& holder, int w, int h)
    {
        holder = new CWindow(app);
        auto* host = holder.As<CWindow>();
        host->Create(0, 0, w, h, nullptr, NoTitle, 255, 242, 202);
        host->Show();
        return host;
    }

    void Heading(CWindow* host, const char* text, int x, int y)
    {
        host->GetCanvas()->SetColourRGB(5, 2, 1);
        host->GetCanvas()->DrawText(text, x, y);
        host->Update();
    }

    CBCell* Picture(Variable& holder, const char* name, int w = 0, int h = 0)
    {
        Variable original(new CBCell(app));
        original.As<CBCell>()->Load((pictures + "/" + name).c_str());
        holder = w ? original.As<CBCell>()->Scaled(w, h) : original.As<CBCell>();
        return holder.As<CBCell>();
    }

    void Save(CWindow* window, const char* name)
    {
        ok = SaveDesktopPicture(desktop, window->handle, folder + "/" + name) && ok;
    }

    void Buttons();
    void SkinButtons();
    void Labels();
    void Decorated();
};

void SetState(CButton* button, const State& state)
{
    button->focused = state.focused;
    button->hover = state.hover;
    button->pressed = state.pressed;
    button->Draw();
}

void Session::Buttons()
{
    struct Size {
        int w, h;
        const char* caption;
        const char* icon;
    } sizes[] = {{12, 10, nullptr, nullptr}, {110, 30, "Aceptar", nullptr}, {148, 38, "Ajuste Simple", "calx.cel"},
                 {148, 24, nullptr, "calc.cel"}};
    constexpr int Rows = 4;
    Variable holder, icons[Rows];
    CWindow* host = Host(holder, 20 + StateCount * Column, 30 + Rows * 50);
    Variable widgets[Rows][StateCount];
    for (int s = 0; s < StateCount; s++)
        Heading(host, States[s].name, 10 + s * Column, 20);
    for (int row = 0; row < Rows; row++) {
        if (sizes[row].icon)
            Picture(icons[row], sizes[row].icon);
        for (int s = 0; s < StateCount; s++) {
            auto* button = new CButton(app);
            widgets[row][s] = button;
            button->Create(10 + s * Column, 30 + row * 50, sizes[row].w, sizes[row].h, host, nullptr, 226, 226, 226);
            button->SetButtonIcon(icons[row].As<CBCell>());
            if (sizes[row].caption)
                button->SetCaption(sizes[row].caption);
            button->Show();
        }
    }
    // Set once all exist: making a widget takes the focus from the one before.
    for (int row = 0; row < Rows; row++)
        for (int s = 0; s < StateCount; s++)
            SetState(widgets[row][s].As<CButton>(), States[s]);
    Save(host, "botones.png");

    // The wide style (256 pixels and more) has looks of its own.
    Variable wideHolder, wideButtons[StateCount];
    CWindow* wide = Host(wideHolder, 10 + 300 + 10, 10 + StateCount * 40);
    for (int s = 0; s < StateCount; s++) {
        auto* button = new CButton(app);
        wideButtons[s] = button;
        button->Create(10, 10 + s * 40, 300, 30, wide, nullptr, 226, 226, 226);
        button->SetCaption(States[s].name);
        button->Show();
    }
    for (int s = 0; s < StateCount; s++)
        SetState(wideButtons[s].As<CButton>(), States[s]);
    Save(wide, "botones-anchos.png");
}

void Session::SkinButtons()
{
    Variable holder, grey, blue, orange, roundGrey, roundBlue, roundOrange, icon, info;
    CWindow* host = Host(holder, 20 + StateCount * Column, 40 + 60 + 90);
    Picture(grey, "perla_gris_Boto.cel", 142, 42);
    Picture(blue, "perla_blau_Boto.cel", 142, 42);
    Picture(orange, "perla_valkora_Boto.cel", 142, 42);
    Picture(roundGrey, "Redonet_gris.cel", 72, 72);
    Picture(roundBlue, "Redonet_blau.cel", 72, 72);
    Picture(roundOrange, "Redonet_valkora.cel", 72, 72);
    Picture(icon, "NCarpeta.cel");
    Picture(info, "Info.cel");
    Variable widgets[2][StateCount];
    for (int s = 0; s < StateCount; s++) {
        Heading(host, States[s].name, 10 + s * Column, 20);
        for (int kind = 0; kind < 2; kind++) {
            auto* button = new CSkinButton(app);
            widgets[kind][s] = button;
            bool round = kind == 1;
            button->Create(10 + s * Column, round ? 90 : 30, round ? 72 : 148, round ? 72 : 48, host, nullptr, 255,
                           242, 202);
            button->SetSkinNormal((round ? roundGrey : grey).As<CBCell>());
            button->SetSkinFocused((round ? roundGrey : grey).As<CBCell>());
            button->SetSkinHover((round ? roundBlue : blue).As<CBCell>());
            button->SetSkinFocusedHover((round ? roundBlue : blue).As<CBCell>());
            button->SetSkinPressed((round ? roundOrange : orange).As<CBCell>());
            button->SetButtonIcon((round ? info : icon).As<CBCell>());
            if (!round)
                button->SetCaption("Cargar");
            button->Show();
        }
    }
    for (int s = 0; s < StateCount; s++)
        for (int kind = 0; kind < 2; kind++)
            SetState(widgets[kind][s].As<CButton>(), States[s]);
    Save(host, "botones-piel.png");
}

void Session::Labels()
{
    Variable holder, image;
    CWindow* host = Host(holder, 340, 10 + 7 * 28);
    Picture(image, "trev_i.cel");
    struct {
        const char* text;
        int alignment, style;
        bool withImage;
    } cases[] = {{"Izquierda, estilo 1", 0, 1, false},   {"Centrado, estilo 1", 1, 1, false},
                 {"Derecha, estilo 1", 2, 1, false},     {"Con imagen (alineaci\xF3n ignorada)", 2, 1, true},
                 {"Estilo 0: sin sombra", 0, 0, false}, {"Estilo 2: sombra abajo", 0, 2, false},
                 {"Estilo 1 en rojo", 0, 1, false}};
    Variable widgets[7];
    for (int i = 0; i < 7; i++) {
        auto* label = new CLabel(app);
        widgets[i] = label;
        label->Create(10, 10 + i * 28, 320, 24, host, nullptr, 0, 0, 0);
        label->textStyle = cases[i].style;
        if (i == 6)
            label->textColour = app->packColour(200, 30, 20);
        label->SetAlignment(cases[i].alignment);
        if (cases[i].withImage)
            label->SetImage(image.As<CBCell>());
        label->SetText(cases[i].text);
        label->Show();
    }
    // A frame around each label's place shows its edges.
    host->GetCanvas()->SetColourRGB(177, 148, 121);
    for (int i = 0; i < 7; i++)
        host->GetCanvas()->Outline(9, 9 + i * 28, 321, 25);
    host->Update();
    Save(host, "etiquetas.png");
}

void Session::Decorated()
{
    Variable holder;
    auto* window = new CBasicWindow(app);
    holder = window;
    window->Create(20, 20, 300, 120, nullptr, "Ventana decorada", 255, 242, 202);
    window->Show();
    auto* frame = window->decoration.As<CBasicWindowDecoration>();
    Save(frame, "ventana.png");
    // Renaming in place: the right button on the title bar opens the editor.
    desktop.MovePointer(20 + 150, 20 + 10);
    desktop.PressButton(platform::PHeadlessSystem::Right);
    while (desktop.Pending())
        app->Step();
    desktop.ReleaseButton(platform::PHeadlessSystem::Right);
    while (desktop.Pending())
        app->Step();
    Save(frame, "ventana-renombrando.png");
    desktop.TypeKey(platform::VK_ESCAPE, 27);
    while (desktop.Pending())
        app->Step();
    window->Hide();
}
}  // namespace

int WriteStatePictures(CGApplication* app, platform::PHeadlessSystem& desktop, const std::string& folder,
                       const std::string& pictureFolder)
{
    Session session{app, desktop, folder, pictureFolder};
    app->looping = 1;
    session.Buttons();
    session.SkinButtons();
    session.Labels();
    session.Decorated();
    app->looping = 0;
    return session.ok ? 1 : 0;
}

// The desktop writes BMP; a PNG is made by reading that back into a canvas.
int SaveDesktopPicture(platform::PHeadlessSystem& desktop, unsigned long window, const std::string& path)
{
    bool png = path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0;
    std::string bmp = png ? path.substr(0, path.size() - 4) + ".tmp.bmp" : path;
    if (!desktop.SaveImage(window, bmp.c_str()))
        return 0;
    if (!png)
        return 1;
    Variable canvas(new CCanvas(CApplication::Instance()));
    int written = canvas.As<CCanvas>()->Load(bmp.c_str()) && canvas.As<CCanvas>()->GetSurface() &&
                  WriteSurfacePng(*canvas.As<CCanvas>()->GetSurface(), path.c_str());
    std::remove(bmp.c_str());
    return written;
}
