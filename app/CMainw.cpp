#include "app/CMainw.h"

#include "app/Acercade.h"
#include "app/Aviso.h"
#include "app/Basicad.h"
#include "app/CDataLoad.h"
#include "app/ChosenName.h"
#include "app/FileMessages.h"
#include "app/FitProblem.h"
#include "app/CRecoveryFile.h"
#include "app/CResultWindow.h"
#include "app/CYorkWindow.h"
#include "app/Ponderat.h"
#include "app/Pregunta.h"
#include "core/CList.h"
#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "io/CFile.h"
#include "io/CFileNavigator.h"
#include "io/CLineColumn.h"
#include "io/DataFile.h"
#include "platform/FileNames.h"
#include "platform/PCodePage.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CLabel.h"
#include "toolkit/CScroller.h"
#include "toolkit/CSkinButton.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CTimer.h"
#include "toolkit/Notice.h"

namespace {
// Every child has the colour (255, 236, 192).
constexpr uint32_t ChildColour[] = {255, 236, 192};

CResultWindow* NewResultWindow(CGApplication* app, FitKind kind)
{
    if (kind == FitKind::Simple)
        return new Basicad(app);
    if (kind == FitKind::Weighted)
        return new Ponderat(app);
    return new CYorkWindow(app);
}

// The buttons down the left side with a caption and an icon.
struct IconButton {
    Variable CMainw::*field;
    const char* caption;
    const char* icon;
    int y;
};
const IconButton FileButtons[] = {
    {&CMainw::newButton, "Nuevo", "doc.cel", 8},
    {&CMainw::loadButton, "Cargar", "NCarpeta.cel", 58},
    {&CMainw::saveButton, "Guardar", "NCarpetaG.cel", 108},
    {&CMainw::saveAsButton, "Guardar Como", "cd.cel", 158},
};
const IconButton FitButtons[] = {
    {&CMainw::yorkButton, "Ajuste York", "calxy.cel", 354},
    {&CMainw::simpleButton, "Ajuste Simple", "calx.cel", 394},
    {&CMainw::weightedButton, "Ajuste Ponderado", "calc.cel", 434},
};

// A skinned button's looks: grey at rest, blue under the pointer, orange when pressed.
void SetSkins(CSkinButton* button, const Variable& grey, const Variable& blue, const Variable& orange)
{
    button->SetSkinNormal(grey.As<CBCell>());
    button->SetSkinFocused(grey.As<CBCell>());
    button->SetSkinHover(blue.As<CBCell>());
    button->SetSkinFocusedHover(blue.As<CBCell>());
    button->SetSkinPressed(orange.As<CBCell>());
}

// Columns left to right, with the caption over each; labels are stored in the order
// "Valores X", "Valores Y", "Errores X", "Errores Y == w".
const char* const Captions[4] = {"Valores X", "Errores X", "Valores Y", "Errores Y == w"};
const int LabelSlot[4] = {0, 2, 1, 3};
constexpr int ColumnLeft = 168;
constexpr int ColumnPitch = 100;
// How long after a change the recovery file is written, at most once in that time;
// a large set is written in slices this long, the loop handling input between them.
constexpr uint32_t RecoveryDelay = 1000;
constexpr uint32_t RecoverySliceMilliseconds = 4;
// Rows that keep moving (a key held down) drop a write this often; the next one then
// goes whole, so the file is never much older than the rows.
constexpr int RecoveryRestartsBeforeWhole = 3;

std::string Text(CString* s) { return s && s->GetLength() ? std::string(s->GetBuffer(), s->GetLength()) : ""; }

template <class T>
T* NewChild(CMainw* window, int x, int y, int w, int h)
{
    auto* child = new T(window->GetApplication());
    child->Create(x, y, w, h, window, nullptr, ChildColour[0], ChildColour[1], ChildColour[2]);
    return child;
}

bool IsInput(int32_t type)
{
    return type == EV_KEYDOWN || type == EV_KEYUP || type == EV_CHAR || type == EV_CLICK || type == EV_LBUTTONUP ||
           type == EV_WHEEL || type == EV_RESULT;
}

// The first slice of a load is read at once, so a small file loads without a wait;
// later slices leave the loop time to paint between them.
constexpr uint32_t FirstSliceMilliseconds = 150;
constexpr uint32_t SliceMilliseconds = 40;

// The last part of a shown name, as a question names the file.
std::string BaseName(const std::string& shown)
{
    size_t slash = shown.find_last_of("/\\");
    return slash == std::string::npos ? shown : shown.substr(slash + 1);
}

// The rows up to the last one with text in some cell: the empty row the typing went on
// to is none the student typed.
uint32_t RowsHoldingText(CDataColumn* const columns[4])
{
    for (uint32_t rows = columns[0]->LineCount(); rows > 0; rows--)
        for (int k = 0; k < 4; k++)
            if (CString* cell = columns[k]->LineAt(rows - 1); cell && cell->GetLength())
                return rows;
    return 0;
}

// The rows of `from` as a list a column can hold (at least one row): the very list of
// a column kept as one, which gets a new empty one, or else a copy.
Variable RowList(CApplication* app, CDataColumn* from)
{
    Variable rows;
    if (auto* lines = dynamic_cast<CLineColumn*>(from)) {
        rows = lines->lines;
        lines->MakeEmpty();
    } else {
        auto* list = new CList(app);
        rows = list;
        list->Create();
        for (uint32_t i = 0, n = from->LineCount(); i < n; i++) {
            CString* line = from->LineAt(i);
            auto* row = new CString(app);
            row->SetText(line ? line->GetBuffer() : "", line ? line->GetLength() : 0);
            list->Add(row);
        }
    }
    auto* list = rows.As<CList>();
    if (list->GetCount() == 0) {
        auto* row = new CString(app);
        row->SetText("", 0);
        list->Add(row);
    }
    return rows;
}

// A name the system can take: no stand-in for an unknown character, no zero byte.
bool SystemName(const std::string& shown, std::string& system)
{
    return platform::FileNameFromText(shown, system) && system.find('\0') == std::string::npos;
}
}  // namespace

CMainw::CMainw(CGApplication* app, const std::string& folder)
    : CBasicWindow(app), pictureFolder(folder), recoverySlice(RecoverySliceMilliseconds)
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
    } else if (event.source == recoveryTimer.Get() && event.type == EV_TIMER) {
        WriteRecovery();
    } else if (event.type == EV_TIMER && event.source == loadTimer.Get() && loadTimer) {
        GoOnLoading();
    } else if (event.type == EV_RESULT && event.source == question.Get() && question) {
        QuestionAnswered(event.key);
    } else if (event.type == EV_NOTICE) {
        Tell(NoticeText(event.value));
    } else if (!Command(event.source, event) && event.type == EV_CLOSE) {
        GetApplication()->Stop();
    } else if (ColumnIndex(dynamic_cast<CTextEdit*>(event.source)) >= 0 && event.type == EV_CHAR) {
        CellTyped();
    }
    // What one key or click changed is one step. Other events come in the middle of
    // it too, as the columns move.
    if (IsInput(event.type))
        history.Seal();
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
    for (const IconButton& spec : FileButtons) {
        auto* button = NewChild<CSkinButton>(this, 8, spec.y, 148, 48);
        this->*spec.field = button;
        button->SetCaption(spec.caption);
        button->SetButtonIcon(LoadPicture(pictures, spec.icon));
        SetSkins(button, grey, blue, orange);
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
    SetSkins(button, grey, blue, orange);
    button->Show();
}

void CMainw::BuildFitButtons(CFile* pictures)
{
    for (const IconButton& spec : FitButtons) {
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
        column->SetRowChanges(this, this);
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
    } else if (source == yorkButton.Get()) {
        if (click)
            OpenFit(FitKind::York);
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

// The rows go aside whole, as one step: Control+Z brings them back with their path.
void CMainw::NewDataSet()
{
    StopLoad();
    ConfirmCells();
    for (int k = 0; k < 4; k++)
        GetColumn(k)->Clear();
    CTextEditRing::WalkRing(GetColumn(0), CTextEditRing::CurrentRowWalk, 0);
    history.RecordPath(GetDataPath(), "");
    history.Seal();
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
    CResultWindow* window = NewResultWindow(GetApplication(), kind);
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
        SaveAsking(shown);
    else
        LoadFrom(shown);
}

// Saving over an existing file other than the data set's own asks first; nothing is
// written until "Sí".
void CMainw::SaveAsking(const std::string& shown)
{
    std::string system;
    if (shown == GetDataPath() || !SystemName(shown, system) ||
        CFileNavigator::EntryAt(system.c_str()) != CFileNavigator::FileEntry) {
        SaveTo(shown);
        return;
    }
    questionedName = shown;
    auto* window = new Pregunta(GetApplication());
    question = window;
    window->OpenQuestion(ReplaceQuestionText(BaseName(shown)), this);
}

void CMainw::QuestionAnswered(int32_t key)
{
    std::string shown = questionedName;
    questionedName.clear();
    if (key == 1 && !shown.empty())
        SaveTo(shown);
}

// The path becomes the data path only once the save succeeded.
bool CMainw::SaveTo(const std::string& shown)
{
    ConfirmCells();
    DataFileOutcome outcome;
    if (!OnDataFile(SaveDataFile, "guardar", shown, outcome))
        return false;
    SetDataPath(shown);
    history.MarkSaved();
    DataChanged();
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

// The file is read whole into columns of its own first: the columns shown change only
// when it loaded, and a file that is no data file changes nothing.
bool CMainw::LoadFrom(const std::string& shown)
{
    StopLoad();
    std::string system;
    if (!SystemName(shown, system)) {
        Tell(FailureText("cargar", shown, UnshowableNameReason));
        return false;
    }
    load = std::make_unique<CDataLoad>(application, shown);
    if (!load->Begin(system.c_str())) {
        FinishLoad();
        return false;
    }
    if (!load->Step(FirstSliceMilliseconds)) {
        FinishLoad();
        return true;
    }
    auto* timer = new CTimer(GetApplication());
    loadTimer = timer;
    timer->Create(this);
    timer->SetInterval(0);
    timer->SetEnabled(1);
    auto* waiting = new Aviso(GetApplication());
    loadingWindow = waiting;
    waiting->OpenMessage(LoadingText(shown));
    return true;
}

void CMainw::GoOnLoading()
{
    if (load && !load->Step(SliceMilliseconds))
        FinishLoad();
}

// A load that failed is told and changes nothing; one whose count differs from its
// records, or whose cells were cut, is shown but "Guardar" asks for a name rather
// than write over the file.
void CMainw::FinishLoad()
{
    std::unique_ptr<CDataLoad> done = std::move(load);
    StopLoad();
    const CDataFileReader::Outcome& outcome = done->GetOutcome();
    if (outcome.fault != CDataFileReader::NoFault) {
        Tell(LoadFaultText(done->GetName(), outcome));
        return;
    }
    // The staged rows go to the columns as they are, one step of the history; a load
    // that needs a note is no copy of its file, so it is not the saved state.
    CDataColumn* staged[4];
    for (int k = 0; k < 4; k++)
        staged[k] = done->GetColumn(k);
    std::string note = LoadNoteText(done->GetName(), outcome);
    ReplaceDataSet(staged, note.empty() ? done->GetName() : std::string(), note.empty());
    if (!note.empty())
        Tell(note);
}

void CMainw::StopLoad()
{
    load.reset();
    loadTimer.Clear();
    if (auto* waiting = loadingWindow.CheckedAs<Aviso>())
        waiting->Hide();
    loadingWindow.Clear();
}

// The one place where a whole data set replaces the columns: the old lists go whole to
// the history, so a million rows are neither copied aside nor copied in twice.
void CMainw::ReplaceDataSet(CDataColumn* const from[4], const std::string& path, bool saved)
{
    ConfirmCells();
    for (int k = 0; k < 4; k++) {
        Variable rows = RowList(application, from[k]);
        GetColumn(k)->SetLines(rows.As<CList>());
    }
    CTextEditRing::WalkRing(GetColumn(0), CTextEditRing::CurrentRowWalk, 0);
    history.RecordPath(GetDataPath(), path);
    if (path.empty())
        dataPath.Clear();
    else
        SetDataPath(path);
    history.Seal();
    if (saved)
        history.MarkSaved();
    DataChanged();
    if (CEditBox* editor = GetColumn(0)->GetEditor())
        editor->Activate();
}

void CMainw::Undo() { GoThroughHistory(false); }

void CMainw::Redo() { GoThroughHistory(true); }

// Text typed and not yet confirmed becomes a step of its own first, so it is what the
// first Control+Z takes back.
void CMainw::GoThroughHistory(bool forth)
{
    ConfirmCells();
    const CUndoHistory::Step* step = forth ? history.Redo() : history.Undo();
    if (!step || (step->changes.empty() && !step->pathChanged))
        return;
    replaying = true;
    size_t n = step->changes.size();
    for (size_t i = 0; i < n; i++)
        ApplyChange(step->changes[forth ? i : n - 1 - i], forth);
    replaying = false;
    if (step->pathChanged) {
        const std::string& path = forth ? step->pathAfter : step->pathBefore;
        if (path.empty())
            dataPath.Clear();
        else
            SetDataPath(path);
    }
    // The rows are shown where the step changed them.
    const CUndoHistory::Change* where = n ? &step->changes.front() : nullptr;
    CTextEdit* column = GetColumn(where ? where->column : 0);
    uint32_t row = where && !where->Whole() ? where->row : 0;
    CTextEditRing::WalkRing(column, CTextEditRing::CurrentRowWalk, std::min(row, column->GetLineCount() - 1));
    if (CEditBox* editor = column->GetEditor())
        editor->Activate();
    DataChanged();
}

void CMainw::ApplyChange(const CUndoHistory::Change& change, bool forth)
{
    CTextEdit* column = GetColumn(change.column);
    if (!column)
        return;
    if (change.Whole()) {
        column->SetLines((forth ? change.afterList : change.beforeList).As<CList>(), false);
        return;
    }
    const std::vector<std::string>& gone = forth ? change.before : change.after;
    column->ReplaceRows(change.row, uint32_t(gone.size()), forth ? change.after : change.before);
}

bool CMainw::HasUnsavedRows()
{
    bool typing = false;
    bool empty = true;
    for (int k = 0; k < 4; k++) {
        CTextEdit* column = GetColumn(k);
        CString* typed = column && column->GetEditor() ? column->GetEditor()->GetText() : nullptr;
        CList* rows = column ? column->GetLines() : nullptr;
        auto* stored = rows ? static_cast<CString*>(rows->GetAt(column->GetCurrentRow())) : nullptr;
        if (typed && stored && Text(typed) != Text(stored))
            typing = true;
        if (!rows || rows->GetCount() > 1 || (typed && typed->GetLength()) || (stored && stored->GetLength()))
            empty = false;
    }
    return !empty && (typing || !history.AtSaved());
}

void CMainw::RowsChanged(CTextEdit* column, uint32_t row, std::vector<std::string>&& before,
                         std::vector<std::string>&& after)
{
    int k = RecordedColumn(column);
    if (k < 0)
        return;
    CUndoHistory::Change change;
    change.column = k;
    change.row = row;
    change.before = std::move(before);
    change.after = std::move(after);
    RecordChange(std::move(change));
}

void CMainw::ListChanged(CTextEdit* column, CList* before, CList* after)
{
    int k = RecordedColumn(column);
    if (k < 0)
        return;
    CUndoHistory::Change change;
    change.column = k;
    change.beforeList = before;
    change.afterList = after;
    RecordChange(std::move(change));
}

// The column a reported change joins the history for, or -1: the changes the history
// makes itself as it goes back or forth are not recorded again.
int CMainw::RecordedColumn(CTextEdit* column) const { return replaying ? -1 : ColumnIndex(column); }

void CMainw::RecordChange(CUndoHistory::Change&& change)
{
    history.Record(std::move(change));
    DataChanged();
}

void CMainw::HistoryKey(bool forth) { GoThroughHistory(forth); }

// Each column stores its cell as typed (a change when it differs), and that is a step.
void CMainw::ConfirmCells()
{
    for (int k = 0; k < 4; k++)
        if (CTextEdit* column = GetColumn(k))
            column->ConfirmCell();
    history.Seal();
}

// The recovery file is written a while later, off the typing: a keystroke only marks.
void CMainw::DataChanged()
{
    rowChanges++;
    CellTyped();
}

// A cell being typed in changes what the file holds, not the rows: a write in progress
// goes on, and the next one takes the cell.
void CMainw::CellTyped()
{
    changes++;
    auto* timer = recoveryTimer.As<CTimer>();
    if (timer && !timer->enabled) {
        timer->accumulated = 0;
        timer->SetEnabled(1);
    }
}

void CMainw::KeepRecovery(const std::string& folder)
{
    recovery = std::make_unique<CRecoveryFile>(application, folder, platform::ProcessId());
    if (!recovery->Open()) {
        recovery.reset();
        return;
    }
    auto* timer = new CTimer(GetApplication());
    recoveryTimer = timer;
    timer->Create(this);
    timer->SetInterval(RecoveryDelay);
    CLineColumn x(application), ex(application), y(application), ey(application);
    CDataColumn* data[4] = {&x, &ex, &y, &ey};
    std::string path;
    if (!recovery->TakeOver(data, path))
        return;
    uint32_t rows = RowsHoldingText(data);
    ReplaceDataSet(data, path, false);
    changesWritten = changes;  // the file holds them already
    Tell(RecoveredText(path, rows));
}

void CMainw::WriteRecovery()
{
    if (!recovery)
        return;
    if (recovery->IsWriting() && rowChanges != rowChangesWritten) {
        recovery->DropWrite();
        recoveryRestarts++;
    }
    if (!recovery->IsWriting()) {
        if (changesWritten == changes) {
            WaitForNextRecovery();
            return;
        }
        changesWritten = changes;
        rowChangesWritten = rowChanges;
        if (!HasUnsavedRows()) {
            recovery->Remove();
            WaitForNextRecovery();
            return;
        }
    }
    CDataColumn* data[4];
    DataColumns(data);
    uint32_t slice = recoveryRestarts >= RecoveryRestartsBeforeWhole ? UINT32_MAX : recoverySlice;
    if (recovery->WriteSlice(data, GetDataPath(), slice) == CRecoveryFile::Going) {
        recoveryTimer.As<CTimer>()->SetInterval(0);
        return;
    }
    recoveryRestarts = 0;
    WaitForNextRecovery();
}

// A change made while the file was written is written a delay later.
void CMainw::WaitForNextRecovery()
{
    auto* timer = recoveryTimer.As<CTimer>();
    timer->SetInterval(RecoveryDelay);
    timer->accumulated = 0;
    timer->SetEnabled(changes != changesWritten);
}

void CMainw::EndRecovery()
{
    if (!recovery)
        return;
    bool unsaved = HasUnsavedRows();
    if (unsaved) {
        CDataColumn* data[4];
        DataColumns(data);
        recovery->Write(data, GetDataPath());
    }
    recovery->Close(unsaved);
    recovery.reset();
}

std::string CMainw::GetRecoveryPath() const { return recovery ? recovery->FilePath() : std::string(); }

int CMainw::ColumnIndex(CTextEdit* column) const
{
    for (int k = 0; column && k < 4; k++)
        if (columns[k].Get() == column)
            return k;
    return -1;
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
