#include "app/CMainw.h"

#include "app/Acercade.h"
#include "app/Basicad.h"
#include "app/ChosenName.h"
#include "app/FileMessages.h"
#include "app/FitProblem.h"
#include "app/Ponderat.h"
#include "app/CResultWindow.h"
#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "io/CFile.h"
#include "io/DataFile.h"
#include "platform/PCodePage.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CLabel.h"
#include "toolkit/CScroller.h"
#include "toolkit/CSkinButton.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/Notice.h"

namespace {
// Every child has the colour (255, 236, 192).
constexpr uint32_t ChildColour[] = {255, 236, 192};

struct FileButton {
    Variable CMainw::*field;
    const char* caption;
    const char* icon;
    int y;
};
const FileButton FileButtons[] = {
    {&CMainw::newButton, "Nuevo", "doc.cel", 8},
    {&CMainw::loadButton, "Cargar", "NCarpeta.cel", 58},
    {&CMainw::saveButton, "Guardar", "NCarpetaG.cel", 108},
    {&CMainw::saveAsButton, "Guardar Como", "cd.cel", 158},
};

// Columns left to right, with the caption over each; labels are stored in the order
// "Valores X", "Valores Y", "Errores X", "Errores Y == w".
const char* const Captions[4] = {"Valores X", "Errores X", "Valores Y", "Errores Y == w"};
const int LabelSlot[4] = {0, 2, 1, 3};
constexpr int ColumnLeft = 168;
constexpr int ColumnPitch = 100;

std::string Text(CString* s) { return s && s->GetLength() ? std::string(s->GetBuffer(), s->GetLength()) : ""; }

template <class T>
T* NewChild(CMainw* window, int x, int y, int w, int h)
{
    auto* child = new T(window->GetApplication());
    child->Create(x, y, w, h, window, nullptr, ChildColour[0], ChildColour[1], ChildColour[2]);
    return child;
}

// A name the system can take: no stand-in for an unknown character, no zero byte.
bool SystemName(const std::string& shown, std::string& system)
{
    return platform::FileNameFromText(shown, system) && system.find('\0') == std::string::npos;
}
}  // namespace

CMainw::CMainw(CGApplication* app, const std::string& folder) : CBasicWindow(app), pictureFolder(folder)
{
    className = "CMainw";
}

CMainw::~CMainw() { LeaveRegistry(); }

void CMainw::HandleEvent(CEvent event)
{
    if (!alive) {
        CBasicWindow::HandleEvent(event);
        return;
    }
    if (event.source == application) {
        if (event.type == EV_CREATE) {
            // The background first: everything below is drawn over it.
            CBasicWindow::HandleEvent(event);
            Build();
            event.type = EV_NONE;
        }
    } else if (event.type == EV_NOTICE) {
        Tell(NoticeText(event.value));
    } else if (!Command(event.source, event) && event.type == EV_CLOSE) {
        GetApplication()->Stop();
    }
    CBasicWindow::HandleEvent(event);
}

CTextEdit* CMainw::GetColumn(int k) const { return columns[k].CheckedAs<CTextEdit>(); }

std::string CMainw::GetDataPath() const { return Text(dataPath.CheckedAs<CString>()); }

void CMainw::Build()
{
    Variable file(new CFile(application));
    auto* pictures = file.As<CFile>();
    Variable icon(LoadPicture(pictures, "trev_i.cel"));
    SetIcon(icon.As<CBCell>());
    Variable grey(LoadScaled(pictures, "perla_gris_Boto.cel", 142, 42));
    Variable blue(LoadScaled(pictures, "perla_blau_Boto.cel", 142, 42));
    Variable orange(LoadScaled(pictures, "perla_valkora_Boto.cel", 142, 42));
    exportIcon = LoadPicture(pictures, "NCarpetaHTML.cel");
    for (const FileButton& spec : FileButtons) {
        auto* button = NewChild<CSkinButton>(this, 8, spec.y, 148, 48);
        this->*spec.field = button;
        button->SetCaption(spec.caption);
        button->SetButtonIcon(LoadPicture(pictures, spec.icon));
        button->SetSkinNormal(grey.As<CBCell>());
        button->SetSkinFocused(grey.As<CBCell>());
        button->SetSkinHover(blue.As<CBCell>());
        button->SetSkinFocusedHover(blue.As<CBCell>());
        button->SetSkinPressed(orange.As<CBCell>());
        button->Show();
    }
    DrawSeparator();
    BuildInfoButton(pictures);
    BuildFitButtons(pictures);
    DrawColumnHeads();
    BuildColumns();
}

void CMainw::DrawSeparator()
{
    CCanvas* canvas = GetCanvas();
    canvas->SetColourRGB(32, 24, 0);
    canvas->Line(12, 213, 152, 213);
    canvas->SetColourRGB(255, 254, 250);
    canvas->Line(13, 214, 151, 214);
    Update();
}

void CMainw::BuildInfoButton(CFile* pictures)
{
    auto* button = NewChild<CSkinButton>(this, 46, 234, 72, 72);
    infoButton = button;
    Variable icon(LoadPicture(pictures, "Info.cel"));
    icon.As<CBCell>()->BuildChannels();
    Variable grey(LoadScaled(pictures, "Redonet_gris.cel", 72, 72));
    Variable blue(LoadScaled(pictures, "Redonet_blau.cel", 72, 72));
    Variable orange(LoadScaled(pictures, "Redonet_valkora.cel", 72, 72));
    blue.As<CBCell>()->BuildChannels();
    orange.As<CBCell>()->BuildChannels();
    button->SetButtonIcon(icon.As<CBCell>());
    button->SetSkinNormal(grey.As<CBCell>());
    button->SetSkinFocused(grey.As<CBCell>());
    button->SetSkinHover(blue.As<CBCell>());
    button->SetSkinFocusedHover(blue.As<CBCell>());
    button->SetSkinPressed(orange.As<CBCell>());
    button->Show();
}

void CMainw::BuildFitButtons(CFile* pictures)
{
    const struct {
        Variable CMainw::*field;
        const char* caption;
        const char* icon;
        int y;
    } fits[] = {{&CMainw::simpleButton, "Ajuste Simple", "calx.cel", 394},
                {&CMainw::weightedButton, "Ajuste Ponderado", "calc.cel", 434}};
    for (const auto& spec : fits) {
        auto* button = NewChild<CButton>(this, 8, spec.y, 148, 38);
        this->*spec.field = button;
        Variable icon(LoadPicture(pictures, spec.icon, false));
        icon.As<CBCell>()->BuildChannels();
        button->SetButtonIcon(icon.As<CBCell>());
        button->SetCaption(spec.caption);
        button->Show();
    }
}

// Heads of the value columns in blue shades, of the error columns in warm ones: three
// nested bands, then a black outline.
void CMainw::DrawColumnHeads()
{
    static const uint32_t Bands[2][3][3] = {
        {{236, 245, 255}, {248, 248, 255}, {250, 254, 255}},
        {{255, 232, 212}, {255, 248, 222}, {255, 252, 246}},
    };
    CCanvas* canvas = GetCanvas();
    for (int k = 0; k < 4; k++) {
        int x = ColumnLeft + ColumnPitch * k;
        const uint32_t(*band)[3] = Bands[k % 2];
        canvas->SetColourRGB(band[0][0], band[0][1], band[0][2]);
        canvas->FillRect(x, 4, 100, 20);
        canvas->SetColourRGB(band[1][0], band[1][1], band[1][2]);
        canvas->FillRect(x + 1, 8, 98, 12);
        canvas->SetColourRGB(band[2][0], band[2][1], band[2][2]);
        canvas->FillRect(x + 2, 10, 96, 8);
    }
    canvas->SetColourRGB(0, 0, 0);
    for (int k = 0; k < 4; k++)
        canvas->Outline(ColumnLeft + ColumnPitch * k, 4, 100, 20);
    Update();
}

void CMainw::BuildColumns()
{
    for (int k = 0; k < 4; k++) {
        auto* label = NewChild<CLabel>(this, ColumnLeft + ColumnPitch * k, 4, 100, 18);
        captionLabels[LabelSlot[k]] = label;
        label->SetText(Captions[k]);
        label->SetAlignment(CLabel::AlignCentre);
        label->Show();
    }
    for (int k = 0; k < 4; k++) {
        auto* column = NewChild<CTextEdit>(this, ColumnLeft + ColumnPitch * k, 24, 101, 448);
        columns[k] = column;
        column->Show();
    }
    auto* bar = NewChild<CScroller>(this, 568, 24, 16, 448);
    scroller = bar;
    bar->Show();
    for (int k = 0; k < 3; k++)
        GetColumn(k)->SetNext(GetColumn(k + 1));
    GetColumn(3)->SetNext(bar);
    bar->SetNext(GetColumn(0));
    // A person starts by typing the first x.
    if (CEditBox* editor = GetColumn(0)->GetEditor())
        editor->Activate();
}

// One stream reads every picture, re-opened on each name. A missing or unreadable file
// leaves an empty cell, which draws nothing.
CBCell* CMainw::LoadPicture(CFile* file, const char* name, bool channels)
{
    auto* cell = new CBCell(application);
    Variable hold(cell);
    file->OpenRead(JoinPath(pictureFolder, name).c_str());
    if (channels)
        cell->LoadCelChannels(file);
    else
        cell->LoadCel(file);
    cell->Protect();
    return cell;
}

CBCell* CMainw::LoadScaled(CFile* file, const char* name, int w, int h)
{
    Variable original(LoadPicture(file, name));
    return original.As<CBCell>()->Scaled(w, h);
}

bool CMainw::Command(CObject* source, const CEvent& event)
{
    if (!source)
        return false;
    bool click = event.type == EV_CLICK;
    if (source == infoButton.Get()) {
        if (click)
            OpenAbout();
    } else if (source == simpleButton.Get()) {
        if (click)
            OpenFit(FitKind::Simple);
    } else if (source == weightedButton.Get()) {
        if (click)
            OpenFit(FitKind::Weighted);
    } else if (source == newButton.Get()) {
        if (click)
            NewDataSet();
    } else if (source == loadButton.Get()) {
        if (click)
            OpenChooser("Cargar Datos ...", 0);
    } else if (source == saveAsButton.Get()) {
        if (click)
            OpenChooser("Guardar Datos Como ...", 1);
    } else if (source == saveButton.Get()) {
        if (click)
            Save();
    } else if (source == chooser.Get()) {
        // Only the last chooser opened is heard; an older one's answer is ignored.
        if (event.type == EV_RESULT)
            ChooserAnswered(event.key);
    } else {
        return false;
    }
    return true;
}

void CMainw::NewDataSet()
{
    for (int k = 0; k < 4; k++)
        GetColumn(k)->Clear();
    CTextEditRing::WalkRing(GetColumn(0), CTextEditRing::CurrentRowWalk, 0);
    dataPath.Clear();
    if (CEditBox* editor = GetColumn(0)->GetEditor())
        editor->Activate();
}

void CMainw::OpenChooser(const char* title, uint32_t saves)
{
    auto* dialog = new CFileChooser(GetApplication());
    chooser = dialog;
    dialog->OpenChooser(title, this);
    chooserSaves = saves;
    dialog->Show();
}

void CMainw::Save()
{
    std::string path = GetDataPath();
    if (path.empty())
        OpenChooser("Guardar Datos Como ...", 1);
    else
        SaveTo(path);
}

void CMainw::OpenAbout()
{
    auto* about = new Acercade(GetApplication());
    aboutWindow = about;
    CEvent desktop = GetApplication()->GetDesktopSize();
    about->Create((desktop.x - Acercade::Width) >> 1, (desktop.y - Acercade::Height) >> 1, Acercade::Width,
                  Acercade::Height, nullptr, "Programa Realizado por :", 252, 242, 202);
    about->Show();
}

// A fit that cannot be computed opens no window: the message says why and the cell at
// fault is marked. Otherwise the new window replaces the last result window.
void CMainw::OpenFit(FitKind kind)
{
    CDataColumn* data[4];
    DataColumns(data);
    FitProblem problem = CheckFit(data, kind);
    MarkCell(problem);
    if (problem) {
        Tell(FitProblemText(problem));
        return;
    }
    CResultWindow* window = kind == FitKind::Simple ? static_cast<CResultWindow*>(new Basicad(GetApplication()))
                                                    : new Ponderat(GetApplication());
    resultWindow = window;
    window->OpenFit(data, exportIcon.CheckedAs<CBCell>());
}

// Only the cell of the last problem stays marked; the columns move to its row and it
// takes the keyboard, ready to be corrected once the message is closed.
void CMainw::MarkCell(const FitProblem& problem)
{
    for (int k = 0; k < 4; k++)
        GetColumn(k)->SetMarkedLine(-1);
    if (problem.column < 0)
        return;
    CTextEdit* column = GetColumn(problem.column);
    CTextEditRing::WalkRing(column, CTextEditRing::CurrentRowWalk, problem.row);
    column->SetMarkedLine(int32_t(problem.row));
    if (CEditBox* editor = column->GetEditor())
        editor->Activate();
}

void CMainw::ChooserAnswered(int32_t key)
{
    auto* dialog = chooser.CheckedAs<CFileChooser>();
    if (key != 1 || !dialog)
        return;
    Variable name(dialog->GetChosenName());
    std::string shown = AbsoluteChosenName(Text(name.As<CString>()));
    if (chooserSaves)
        SaveTo(shown);
    else
        LoadFrom(shown);
}

// The path becomes the data path only once the save succeeded.
bool CMainw::SaveTo(const std::string& shown)
{
    DataFileOutcome outcome;
    if (!OnDataFile(SaveDataFile, "guardar", shown, outcome))
        return false;
    SetDataPath(shown);
    return true;
}

// Saves or loads the columns under the system's name for `shown`; a name that cannot
// be one, or a failure, is told with the verb.
bool CMainw::OnDataFile(DataFileProcedure procedure, const char* verb, const std::string& shown,
                        DataFileOutcome& outcome)
{
    std::string system;
    if (!SystemName(shown, system)) {
        Tell(FailureText(verb, shown, UnshowableNameReason));
        return false;
    }
    CDataColumn* data[4];
    DataColumns(data);
    if (!procedure(application, system.c_str(), data, &outcome)) {
        Tell(FailureText(verb, shown, outcome.error));
        return false;
    }
    return true;
}

// A file that cannot be opened leaves the columns and the data path as they were. A
// file holding fewer rows than it claims is damaged or no data file: what it held is
// shown, but "Guardar" asks for a name rather than write over it.
bool CMainw::LoadFrom(const std::string& shown)
{
    DataFileOutcome outcome;
    if (!OnDataFile(LoadDataFile, "cargar", shown, outcome))
        return false;
    CTextEditRing::WalkRing(GetColumn(0), CTextEditRing::CurrentRowWalk, 0);
    if (CEditBox* editor = GetColumn(0)->GetEditor())
        editor->Activate();
    if (outcome.loaded < outcome.claimed) {
        dataPath.Clear();
        Tell(ShortLoadText(shown, outcome.claimed, outcome.loaded));
        return true;
    }
    SetDataPath(shown);
    return true;
}

void CMainw::SetDataPath(const std::string& shown)
{
    auto* path = new CString(application);
    dataPath = path;
    path->SetText(shown.data(), uint32_t(shown.size()));
}

void CMainw::DataColumns(CDataColumn* out[4]) const
{
    for (int k = 0; k < 4; k++)
        out[k] = GetColumn(k);
}

void CMainw::Tell(const std::string& text) { ShowMessage(GetApplication(), messageWindow, text); }
