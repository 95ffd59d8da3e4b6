#include "tools/widgetdemo/CGalleryWindow.h"

#include <unistd.h>

#include <climits>
#include <string>

#include "core/CString.h"
#include "graphics/CBCell.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CLabel.h"
#include "toolkit/CScroller.h"
#include "toolkit/CSkinButton.h"
#include "toolkit/CTextEdit.h"

namespace {
struct ButtonSpec {
    const char* caption;
    const char* icon;
    int x, y, w, h;
};

const ButtonSpec SkinSpecs[] = {
    {"Nuevo", "doc.cel", 8, 8, 148, 48},
    {"Cargar", "NCarpeta.cel", 8, 58, 148, 48},
    {"Guardar", "NCarpetaG.cel", 8, 108, 148, 48},
    {"Guardar Como", "cd.cel", 8, 158, 148, 48},
};
const ButtonSpec PlainSpecs[] = {
    {"Ajuste Simple", "calx.cel", 8, 300, 148, 38},
    {"Ajuste Ponderado", "calc.cel", 8, 340, 148, 38},
    {"Un bot\xF3n ancho, con el estilo plano", nullptr, 170, 104, 300, 30},
};
const char* const ColumnCaptions[] = {"X", "Y", "Errores Y == w"};

constexpr int LabelLeft = 170;
constexpr int LabelWidth = 300;
constexpr int ColumnTop = 208;
constexpr int ColumnWidth = 130;
constexpr int ColumnHeight = 180;

bool Exists(const std::string& path) { return access(path.c_str(), R_OK) == 0; }
}  // namespace

CGalleryWindow::CGalleryWindow(CGApplication* app, const std::string& pictureFolder)
    : CBasicWindow(app), folder(pictureFolder)
{
    className = "CGalleryWindow";
}

CGalleryWindow::~CGalleryWindow() { LeaveRegistry(); }

void CGalleryWindow::HandleEvent(CEvent event)
{
    if (!alive) {
        CBasicWindow::HandleEvent(event);
        return;
    }
    bool create = event.source == application && event.type == EV_CREATE;
    if (event.type == EV_CLOSE && event.source == decoration.Get())
        GetApplication()->Stop();
    else if (event.type == EV_CLICK && event.source != application)
        ShowClicked(event.source);
    CBasicWindow::HandleEvent(event);
    // The widgets copy the background under them: it is painted first.
    if (create)
        Build();
}

std::string CGalleryWindow::FindPictureFolder()
{
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return ".";
    std::string exe(self, size_t(n));
    std::string beside = exe.substr(0, exe.rfind('/'));
    if (Exists(beside + "/perla_gris_Boto.cel"))
        return beside;
    return beside + "/../../app";
}

void CGalleryWindow::Build()
{
    BuildButtons();
    BuildLabels();
    BuildEditors();
}

void CGalleryWindow::BuildButtons()
{
    CGApplication* app = GetApplication();
    CBCell* grey = ScaledPicture("perla_gris_Boto.cel", 142, 42);
    CBCell* blue = ScaledPicture("perla_blau_Boto.cel", 142, 42);
    CBCell* orange = ScaledPicture("perla_valkora_Boto.cel", 142, 42);
    for (int i = 0; i < SkinButtons; i++) {
        const ButtonSpec& spec = SkinSpecs[i];
        auto* button = new CSkinButton(app);
        skinButtons[i] = button;
        button->Create(spec.x, spec.y, spec.w, spec.h, this, nullptr, 255, 242, 202);
        button->SetSkinNormal(grey);
        button->SetSkinFocused(grey);
        button->SetSkinHover(blue);
        button->SetSkinFocusedHover(blue);
        button->SetSkinPressed(orange);
        button->SetButtonIcon(Picture(spec.icon));
        button->SetCaption(spec.caption);
        button->Show();
    }
    auto* info = new CSkinButton(app);
    infoButton = info;
    info->Create(46, 214, 72, 72, this, nullptr, 255, 242, 202);
    CBCell* roundGrey = ScaledPicture("Redonet_gris.cel", 72, 72);
    CBCell* roundBlue = ScaledPicture("Redonet_blau.cel", 72, 72);
    info->SetSkinNormal(roundGrey);
    info->SetSkinFocused(roundGrey);
    info->SetSkinHover(roundBlue);
    info->SetSkinFocusedHover(roundBlue);
    info->SetSkinPressed(ScaledPicture("Redonet_valkora.cel", 72, 72));
    info->SetButtonIcon(Picture("Info.cel"));
    info->Show();
    for (int i = 0; i < PlainButtons; i++) {
        const ButtonSpec& spec = PlainSpecs[i];
        auto* button = new CButton(app);
        plainButtons[i] = button;
        button->Create(spec.x, spec.y, spec.w, spec.h, this, nullptr, 226, 226, 226);
        if (spec.icon)
            button->SetButtonIcon(Picture(spec.icon));
        button->SetCaption(spec.caption);
        button->Show();
    }
}

void CGalleryWindow::BuildLabels()
{
    CGApplication* app = GetApplication();
    const char* const texts[Labels] = {"Alineado a la izquierda", "Centrado", "Alineado a la derecha",
                                       "Con imagen: el texto empieza tras ella"};
    for (int i = 0; i < Labels; i++) {
        auto* label = new CLabel(app);
        labels[i] = label;
        label->Create(LabelLeft, 8 + 22 * i, LabelWidth, i == 3 ? 24 : 20, this, nullptr, 255, 242, 202);
        label->SetAlignment(i < 3 ? i : CLabel::AlignRight);
        if (i == 3)
            label->SetImage(Picture("trev_i.cel"));
        label->SetText(texts[i]);
        label->Show();
    }
    auto* last = new CLabel(app);
    status = last;
    last->Create(8, 410, Width - 16, 20, this, nullptr, 255, 242, 202);
    last->textStyle = 2;
    last->textColour = app->packColour(120, 40, 10);
    last->SetText("Pulse un bot\xF3n; arrastre el t\xEDtulo; bot\xF3n derecho en el t\xEDtulo: renombrar.");
    last->Show();
}

void CGalleryWindow::BuildEditors()
{
    CGApplication* app = GetApplication();
    auto* box = new CEditBox(app);
    editBox = box;
    box->Create(LabelLeft, 146, LabelWidth, 24, this, nullptr, 255, 236, 192);
    const char* sample = "Escriba aqu\xED: \xF1, \x80, Control y luego v pega";
    box->SetText(sample, uint32_t(std::char_traits<char>::length(sample)));
    box->Show();
    for (int i = 0; i < Columns; i++) {
        auto* caption = new CLabel(app);
        columnCaptions[i] = caption;
        caption->Create(LabelLeft + i * ColumnWidth, ColumnTop - 22, ColumnWidth, 20, this, nullptr, 255, 242, 202);
        caption->SetAlignment(CLabel::AlignCentre);
        caption->SetText(ColumnCaptions[i]);
        caption->Show();
        auto* column = new CTextEdit(app);
        columns[i] = column;
        column->Create(LabelLeft + i * ColumnWidth, ColumnTop, ColumnWidth - 2, ColumnHeight, this, nullptr, 255,
                       254, 248);
        for (int row = 0; row < 12; row++) {
            Variable text(new CString(app));
            text.As<CString>()->SetNumber((i + 1) * (row + 1) * 1.25, 8);
            column->AppendLine(text.As<CString>());
        }
        column->DeleteRow(0);  // the empty row every column starts with
        column->Show();
    }
    auto* bar = new CScroller(app);
    scroller = bar;
    bar->Create(LabelLeft + Columns * ColumnWidth, ColumnTop, 16, ColumnHeight, this, nullptr, 228, 228, 228);
    bar->Show();
    for (int i = 0; i < Columns; i++)
        columns[i].As<CWComponent>()->SetNext(i + 1 < Columns ? columns[i + 1].As<CWComponent>() : bar);
    bar->SetNext(columns[0].As<CWComponent>());
    CTextEditRing::WalkRing(columns[0].As<CWComponent>(), CTextEditRing::CurrentRowWalk, 0);
}

// A missing picture leaves an empty cell, which draws nothing.
CBCell* CGalleryWindow::Picture(const char* name)
{
    auto* cell = new CBCell(application);
    Keep(cell);
    cell->Load((folder + "/" + name).c_str());
    return cell;
}

CBCell* CGalleryWindow::ScaledPicture(const char* name, int w, int h)
{
    Variable original(new CBCell(application));
    original.As<CBCell>()->Load((folder + "/" + name).c_str());
    return Keep(original.As<CBCell>()->Scaled(w, h));
}

CBCell* CGalleryWindow::Keep(CBCell* picture)
{
    if (pictureCount < MostPictures)
        pictures[pictureCount++] = picture;
    return picture;
}

void CGalleryWindow::ShowClicked(CObject* source)
{
    const char* name = nullptr;
    for (int i = 0; i < SkinButtons; i++)
        if (source == skinButtons[i].Get())
            name = SkinSpecs[i].caption;
    for (int i = 0; i < PlainButtons; i++)
        if (source == plainButtons[i].Get())
            name = PlainSpecs[i].caption;
    if (source == infoButton.Get())
        name = "Info";
    auto* last = status.CheckedAs<CLabel>();
    if (!name || !last)
        return;
    std::string text = std::string("\xDAltimo clic: ") + name;
    last->SetText(text.c_str());
}
