#include "app/ResultWindows.h"

#include "app/Aviso.h"
#include "app/ChosenName.h"
#include "app/FileMessages.h"
#include "app/FitLines.h"
#include "app/FitPlot.h"
#include "core/CString.h"
#include "graphics/CCanvas.h"
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
constexpr int CaptionBottom = 20;
constexpr int ScrollerWidth = 16;

void Chain(CWComponent* const* ring, int count)
{
    for (int i = 0; i < count; i++)
        ring[i]->SetNext(ring[(i + 1) % count]);
}
}  // namespace

uint32_t CopyDataSet(CGApplication* app, CDataColumn* const live[4], Variable copies[4])
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
    return rows;
}

void DataColumnsOf(const Variable copies[4], CDataColumn* data[4])
{
    for (int k = 0; k < 4; k++)
        data[k] = copies[k].As<CLineColumn>();
}

CTextEdit* AddResultColumn(CBasicWindow* window, const char* caption, int x, int height)
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

CScroller* AddResultScroller(CBasicWindow* window, int x, int height)
{
    auto* scroller = new CScroller(window->GetApplication());
    scroller->Create(x, ColumnTop, ScrollerWidth, height, window, nullptr, 255, 236, 192);
    scroller->Show();
    return scroller;
}

void DropFirstLines(CTextEdit* const* columns, int count)
{
    for (int i = 0; i < count; i++)
        columns[i]->DeleteRow(0);
}

void ChainResultRings(CTextEdit* const* auxiliary, int count, CScroller* first, CTextEdit* names,
                      CTextEdit* values, CScroller* second)
{
    CWComponent* left[8] = {};
    for (int i = 0; i < count && i < 7; i++)
        left[i] = auxiliary[i];
    left[count] = first;
    Chain(left, count + 1);
    CWComponent* const right[3] = {values, names, second};
    Chain(right, 3);
    CTextEditRing::WalkRing(auxiliary[0], CTextEditRing::CurrentRowWalk, 0);
    CTextEditRing::WalkRing(names, CTextEditRing::CurrentRowWalk, 0);
    CTextEditRing::WalkRing(values, CTextEditRing::CurrentRowWalk, 0);
}

CButton* AddExportButton(CBasicWindow* window, int x, int y, CBCell* icon)
{
    auto* button = new CButton(window->GetApplication());
    button->Create(x, y, 164, 36, window, nullptr, 255, 236, 192);
    button->SetCaption("Exportar HTML");
    button->SetButtonIcon(icon);
    button->Show();
    return button;
}

CBasicWindow* OpenPlotWindow(CGApplication* app, CDataColumn* const data[4], uint32_t rows, double a, double b)
{
    auto* plot = new CBasicWindow(app);
    Variable hold(plot);
    plot->Create(128, 128, 805, 604, nullptr, "Grafica (Meramente Orientativa)", 252, 242, 202);
    DrawFitPlot(plot->GetCanvas(), data, rows, a, b);
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

void ExportReport(CGApplication* app, CFileChooser* chooser, FitKind kind, const ReportColumns& columns,
                  Variable& message)
{
    Variable chosen(chooser->GetChosenName());
    auto* text = chosen.As<CString>();
    std::string shown = AbsoluteChosenName(std::string(text->GetBuffer(), text->GetLength()));
    std::string system;
    if (!platform::FileNameFromText(shown, system)) {
        ShowMessage(app, message, FailureText("exportar", shown, UnshowableNameReason));
        return;
    }
    Variable path(new CString(app));
    path.As<CString>()->SetText(system.data(), uint32_t(system.size()));
    int error = 0;
    if (!WriteFitReport(app, path.As<CString>(), kind, columns, &error))
        ShowMessage(app, message, FailureText("exportar", shown, error));
}

void ShowMessage(CGApplication* app, Variable& message, const std::string& text)
{
    auto* window = new Aviso(app);
    message = window;
    window->OpenMessage(text);
}
