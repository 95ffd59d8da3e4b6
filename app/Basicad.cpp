#include "app/Basicad.h"

#include "app/FitReport.h"
#include "app/ResultWindows.h"
#include "app/SimpleFit.h"
#include "graphics/CBCell.h"
#include "io/CDataColumn.h"
#include "io/CLineColumn.h"
#include "toolkit/CButton.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"

namespace {
constexpr int ColumnHeight = 272;
}  // namespace

Basicad::Basicad(CGApplication* app) : CBasicWindow(app) { className = "Basicad"; }

Basicad::~Basicad() { LeaveRegistry(); }

void Basicad::HandleEvent(CEvent event)
{
    if (alive && event.source != application) {
        if (event.type == EV_CLICK && event.source == exportButton.Get() && exportButton)
            chooser = OpenExportChooser(this);
        else if (event.type == EV_RESULT && event.source == chooser.Get() && chooser && event.key == 1)
            Export();
    }
    CBasicWindow::HandleEvent(event);
}

void Basicad::OpenFit(CDataColumn* const liveData[4], CBCell* icon)
{
    CGApplication* app = GetApplication();
    uint32_t rows = CopyDataSet(app, liveData, data);
    exportIcon = icon;
    Create(64, 64, Width, Height, nullptr, "Ajuste Simple", 252, 242, 202);
    auto* xy = AddResultColumn(this, "X*Y", 8, ColumnHeight);
    productXY = xy;
    auto* xx = AddResultColumn(this, "X*X", 108, ColumnHeight);
    productXX = xx;
    auto* yy = AddResultColumn(this, "Y*Y", 208, ColumnHeight);
    productYY = yy;
    auto* squares = AddResultColumn(this, "(Ax+B-y)", 308, ColumnHeight);
    residuals = squares;
    auto* first = AddResultScroller(this, 409, ColumnHeight);
    firstScroller = first;
    auto* resultNames = AddResultColumn(this, "Incognitas", 450, ColumnHeight);
    names = resultNames;
    auto* resultValues = AddResultColumn(this, "Valores", 550, ColumnHeight);
    values = resultValues;
    auto* second = AddResultScroller(this, 651, ColumnHeight);
    secondScroller = second;

    CDataColumn* fitted[4];
    DataColumnsOf(data, fitted);
    SimpleFitResult fit = RunSimpleFit(fitted, SimpleFitColumns{xx, yy, xy, squares, resultNames, resultValues});
    CTextEdit* const filled[] = {xy, xx, yy, squares, resultNames, resultValues};
    DropFirstLines(filled, 6);
    plotWindow = OpenPlotWindow(app, fitted, rows, fit.a, fit.b);
    ChainResultRings(filled, 4, first, resultNames, resultValues, second);
    exportButton = AddExportButton(this, 450, 296, icon);
    Show();
}

void Basicad::Export()
{
    ReportColumns columns;
    for (int k = 0; k < 4; k++)
        columns.data[k] = data[k].As<CLineColumn>()->GetLines();
    CTextEdit* const auxiliary[] = {productXY.As<CTextEdit>(), productXX.As<CTextEdit>(), productYY.As<CTextEdit>(),
                                    residuals.As<CTextEdit>()};
    for (int i = 0; i < 4; i++)
        columns.auxiliary[i] = auxiliary[i]->GetLines();
    columns.names = names.As<CTextEdit>()->GetLines();
    columns.values = values.As<CTextEdit>()->GetLines();
    ExportReport(GetApplication(), chooser.As<CFileChooser>(), FitKind::Simple, columns, messageWindow);
}
