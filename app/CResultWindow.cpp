#include "app/CResultWindow.h"

#include "app/Aviso.h"
#include "app/ChosenName.h"
#include "app/FileMessages.h"
#include "app/FitLines.h"
#include "app/FitPlot.h"
#include "app/Grafica.h"
#include "app/PlotInput.h"
#include "app/Pregunta.h"
#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "io/CFileNavigator.h"
#include "io/CLineColumn.h"
#include "platform/PCodePage.h"
#include "toolkit/CButton.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CTextEditRing.h"

namespace {
constexpr int ColumnTop = 22;
constexpr int ColumnWidth = 101;
constexpr int ColumnStep = 100;
constexpr int FirstColumnX = 8;
constexpr int CaptionBottom = 20;
constexpr int ScrollerWidth = 16;
constexpr int ResultTableGap = 41;  // from the first scroller to "Incognitas"
constexpr int ButtonWidth = 164;
constexpr int ButtonGap = 8;

void CopyDataSet(CGApplication* app, CDataColumn* const live[4], Variable copies[4]);
CTextEdit* AddColumn(CBasicWindow* window, const char* caption, int x, int height);
CScroller* AddScroller(CBasicWindow* window, int x, int height);
void Chain(CWComponent* const* ring, int count);
CButton* AddButton(CBasicWindow* window, int x, int y, const char* caption, CBCell* icon);
CBasicWindow* OpenPlotWindow(CGApplication* app, const FitResult& fit);
CFileChooser* OpenExportChooser(CBasicWindow* owner);
}  // namespace

CResultWindow::CResultWindow(CGApplication* app, const Look& look) : CBasicWindow(app), look(look)
{
    className = "CResultWindow";
}

CResultWindow::~CResultWindow() { LeaveRegistry(); }

void CResultWindow::HandleEvent(CEvent event)
{
    if (alive && event.source != application) {
        if (event.type == EV_CLICK && event.source == exportButton.Get() && exportButton)
            chooser = OpenExportChooser(this);
        else if (event.type == EV_CLICK && event.source == plotButton.Get() && plotButton)
            OpenLabPlot();
        else if (event.type == EV_RESULT && event.source == chooser.Get() && chooser && event.key == 1)
            ExportAsking();
        else if (event.type == EV_RESULT && event.source == question.Get() && question && event.key == 1)
            Export(questionedName);
    }
    CBasicWindow::HandleEvent(event);
}

void CResultWindow::OpenFit(CDataColumn* const liveData[4], CBCell* icon)
{
    CGApplication* app = GetApplication();
    CopyDataSet(app, liveData, data);
    exportIcon = icon;
    Create(64, 64, look.width, look.height, nullptr, look.title, 252, 242, 202);
    AddColumns();

    CDataColumn* fitted[4];
    for (int k = 0; k < 4; k++)
        fitted[k] = data[k].As<CLineColumn>();
    result = RunFit(look.kind, fitted);
    ShowResults();
    DropFirstLines();
    plotWindow = OpenPlotWindow(app, result);
    ChainRings();
    int buttonsY = ColumnTop + look.columnHeight + 2;
    exportButton = AddButton(this, names.As<CWindow>()->x, buttonsY, "Exportar HTML", icon);
    plotButton = AddButton(this, names.As<CWindow>()->x - ButtonWidth - ButtonGap, buttonsY, "Ver grafica", nullptr);
    Show();
    if (!result.note.empty())
        ShowMessage(app, messageWindow, result.note);
}

int CResultWindow::AuxiliaryCount() const { return RowColumnCount(look.kind); }

// The auxiliary columns left to right, their scroller, "Incognitas", "Valores" and
// their scroller.
void CResultWindow::AddColumns()
{
    const char* const* captions = RowCaptions(look.kind);
    int count = AuxiliaryCount();
    for (int i = 0; i < count; i++)
        auxiliary[i] = AddColumn(this, captions[i], FirstColumnX + ColumnStep * i, look.columnHeight);
    int scrollerX = FirstColumnX + ColumnStep * count + 1;
    firstScroller = AddScroller(this, scrollerX, look.columnHeight);
    int namesX = scrollerX + ResultTableGap;
    names = AddColumn(this, "Incognitas", namesX, look.columnHeight);
    values = AddColumn(this, "Valores", namesX + ColumnStep, look.columnHeight);
    secondScroller = AddScroller(this, namesX + ColumnStep + ColumnWidth, look.columnHeight);
}

// The fit's numbers as texts, one line each.
void CResultWindow::ShowResults()
{
    for (int i = 0; i < AuxiliaryCount(); i++)
        for (double value : result.perRow[i])
            AppendNumber(auxiliary[i].As<CTextEdit>(), value);
    for (const NamedResult& named : result.named) {
        AppendName(names.As<CTextEdit>(), named.name);
        AppendNumber(values.As<CTextEdit>(), named.value);
    }
}

// Every new column starts with an empty line; dropping it leaves each holding exactly
// the lines the fit appended.
void CResultWindow::DropFirstLines()
{
    for (int i = 0; i < AuxiliaryCount(); i++)
        auxiliary[i].As<CTextEdit>()->DeleteRow(0);
    names.As<CTextEdit>()->DeleteRow(0);
    values.As<CTextEdit>()->DeleteRow(0);
}

// Two Tab rings: the auxiliary columns left to right and their scroller; "Valores",
// "Incognitas" and the second scroller. Each starts at its first row.
void CResultWindow::ChainRings()
{
    int count = AuxiliaryCount();
    CWComponent* left[MostRowColumns + 1];
    for (int i = 0; i < count; i++)
        left[i] = auxiliary[i].As<CTextEdit>();
    left[count] = firstScroller.As<CScroller>();
    Chain(left, count + 1);
    CWComponent* const right[3] = {values.As<CTextEdit>(), names.As<CTextEdit>(), secondScroller.As<CScroller>()};
    Chain(right, 3);
    CTextEditRing::WalkRing(auxiliary[0].As<CTextEdit>(), CTextEditRing::CurrentRowWalk, 0);
    CTextEditRing::WalkRing(names.As<CTextEdit>(), CTextEditRing::CurrentRowWalk, 0);
    CTextEditRing::WalkRing(values.As<CTextEdit>(), CTextEditRing::CurrentRowWalk, 0);
}

// A report written over an existing file asks first; nothing is written until "Sí".
void CResultWindow::ExportAsking()
{
    Variable chosen(chooser.As<CFileChooser>()->GetChosenName());
    auto* text = chosen.As<CString>();
    std::string shown = AbsoluteChosenName(std::string(text->GetBuffer(), text->GetLength()));
    std::string system;
    if (!platform::FileNameFromText(shown, system) ||
        CFileNavigator::EntryAt(system.c_str()) != CFileNavigator::FileEntry) {
        Export(shown);
        return;
    }
    questionedName = shown;
    auto* window = new Pregunta(GetApplication());
    question = window;
    size_t slash = shown.find_last_of("/\\");
    window->OpenQuestion(ReplaceQuestionText(slash == std::string::npos ? shown : shown.substr(slash + 1)), this);
}

// Writes the report to the name confirmed; a failure is told in a message window.
void CResultWindow::Export(const std::string& shown)
{
    CList* cells[4];
    for (int k = 0; k < 4; k++)
        cells[k] = data[k].As<CLineColumn>()->GetLines();

    CGApplication* app = GetApplication();
    std::string system;
    if (!platform::FileNameFromText(shown, system)) {
        ShowMessage(app, messageWindow, FailureText("exportar", shown, UnshowableNameReason));
        return;
    }
    Variable path(new CString(app));
    path.As<CString>()->SetText(system.data(), uint32_t(system.size()));
    int error = 0;
    if (!WriteFitReport(app, path.As<CString>(), result, cells, &error))
        ShowMessage(app, messageWindow, FailureText("exportar", shown, error));
}

// The plot with axes, in a window of its own: made the first time, shown again after.
void CResultWindow::OpenLabPlot()
{
    if (auto* shown = labPlotWindow.CheckedAs<Grafica>()) {
        shown->Show();
        return;
    }
    auto* window = new Grafica(GetApplication());
    labPlotWindow = window;
    window->OpenPlot(LabPlotOf(result), exportIcon.CheckedAs<CBCell>());
}

void ShowMessage(CGApplication* app, Variable& message, const std::string& text)
{
    auto* window = new Aviso(app);
    message = window;
    window->OpenMessage(text);
}

namespace {
// Copies the rows a fit uses (trailing empty rows left out) from the live data columns
// into columns of the window's own, whatever happens to the live columns later.
void CopyDataSet(CGApplication* app, CDataColumn* const live[4], Variable copies[4])
{
    uint32_t rows = RowCount(live);
    for (int k = 0; k < 4; k++) {
        auto* copy = new CLineColumn(app);
        copies[k] = copy;
        for (uint32_t i = 0; i < rows; i++) {
            CString* line = live[k]->LineAt(i);
            copy->AddLine(line ? line->GetBuffer() : "", line ? line->GetLength() : 0);
        }
        copy->DeleteFirstLine();
    }
}

// The caption at x + 10 with its bottom at y = 20, and a read-only column under it.
CTextEdit* AddColumn(CBasicWindow* window, const char* caption, int x, int height)
{
    if (CCanvas* canvas = window->GetCanvas()) {
        canvas->SetColourRGB(0, 0, 0);
        canvas->DrawText(caption, x + 10, CaptionBottom);
    }
    auto* column = new CTextEdit(window->GetApplication());
    column->Create(x, ColumnTop, ColumnWidth, height, window, nullptr, 255, 236, 192);
    column->SetEditable(0);
    column->Show();
    return column;
}

CScroller* AddScroller(CBasicWindow* window, int x, int height)
{
    auto* scroller = new CScroller(window->GetApplication());
    scroller->Create(x, ColumnTop, ScrollerWidth, height, window, nullptr, 255, 236, 192);
    scroller->Show();
    return scroller;
}

void Chain(CWComponent* const* ring, int count)
{
    for (int i = 0; i < count; i++)
        ring[i]->SetNext(ring[(i + 1) % count]);
}

CButton* AddButton(CBasicWindow* window, int x, int y, const char* caption, CBCell* icon)
{
    auto* button = new CButton(window->GetApplication());
    button->Create(x, y, ButtonWidth, 36, window, nullptr, 255, 236, 192);
    button->SetCaption(caption);
    if (icon)
        button->SetButtonIcon(icon);
    button->Show();
    return button;
}

CBasicWindow* OpenPlotWindow(CGApplication* app, const FitResult& fit)
{
    auto* plot = new CBasicWindow(app);
    Variable hold(plot);
    plot->Create(128, 128, 805, 604, nullptr, "Grafica (Meramente Orientativa)", 252, 242, 202);
    DrawFitPlot(plot->GetCanvas(), fit.rows, fit.a, fit.b);
    plot->Show();
    plot->Protect();
    return plot;
}

CFileChooser* OpenExportChooser(CBasicWindow* owner)
{
    auto* chooser = new CFileChooser(owner->GetApplication());
    Variable hold(chooser);
    chooser->OpenChooser("Exportar HTML ...", owner);
    chooser->Show();
    chooser->Protect();
    return chooser;
}
}  // namespace
