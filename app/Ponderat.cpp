#include "app/Ponderat.h"

#include "app/FitReport.h"
#include "app/ResultWindows.h"
#include "app/WeightedFit.h"
#include "graphics/CBCell.h"
#include "io/CDataColumn.h"
#include "io/CLineColumn.h"
#include "toolkit/CButton.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"

namespace {
constexpr int ColumnHeight = 372;
constexpr int AuxiliaryCount = 6;
const char* const AuxiliaryCaptions[AuxiliaryCount] = {"1/w", "(X*Y)/w", "(X*X)/w", "X/w", "Y/w", "((Ax+B-y)/w)"};
}  // namespace

Ponderat::Ponderat(CGApplication* app) : CBasicWindow(app) { className = "Ponderat"; }

Ponderat::~Ponderat() { LeaveRegistry(); }

void Ponderat::HandleEvent(CEvent event)
{
    if (alive && event.source != application) {
        if (event.type == EV_CLICK && event.source == exportButton.Get() && exportButton)
            chooser = OpenExportChooser(this);
        else if (event.type == EV_RESULT && event.source == chooser.Get() && chooser && event.key == 1)
            Export();
    }
    CBasicWindow::HandleEvent(event);
}

void Ponderat::OpenFit(CDataColumn* const liveData[4], CBCell* icon)
{
    CGApplication* app = GetApplication();
    uint32_t rows = CopyDataSet(app, liveData, data);
    exportIcon = icon;
    Create(64, 64, Width, Height, nullptr, "Ajuste Ponderado", 252, 242, 202);
    Variable* const fields[AuxiliaryCount] = {&weights, &weightedXY, &weightedXX, &weightedX, &weightedY, &residuals};
    CTextEdit* auxiliary[AuxiliaryCount];
    for (int i = 0; i < AuxiliaryCount; i++) {
        auxiliary[i] = AddResultColumn(this, AuxiliaryCaptions[i], 8 + 100 * i, ColumnHeight);
        *fields[i] = auxiliary[i];
    }
    auto* first = AddResultScroller(this, 609, ColumnHeight);
    firstScroller = first;
    auto* resultNames = AddResultColumn(this, "Incognitas", 650, ColumnHeight);
    names = resultNames;
    auto* resultValues = AddResultColumn(this, "Valores", 750, ColumnHeight);
    values = resultValues;
    auto* second = AddResultScroller(this, 851, ColumnHeight);
    secondScroller = second;

    CDataColumn* fitted[4];
    DataColumnsOf(data, fitted);
    WeightedFitColumns out;
    out.p = auxiliary[0], out.xyp = auxiliary[1], out.xxp = auxiliary[2], out.xp = auxiliary[3];
    out.yp = auxiliary[4], out.residuals = auxiliary[5], out.names = resultNames, out.values = resultValues;
    WeightedFitResult fit = RunWeightedFit(fitted, out);
    CTextEdit* const filled[] = {auxiliary[0], auxiliary[1], auxiliary[2], auxiliary[3],
                                 auxiliary[4], auxiliary[5], resultNames,  resultValues};
    DropFirstLines(filled, 8);
    plotWindow = OpenPlotWindow(app, fitted, rows, fit.a, fit.b);
    ChainResultRings(auxiliary, AuxiliaryCount, first, resultNames, resultValues, second);
    exportButton = AddExportButton(this, 650, 396, icon);
    Show();
}

void Ponderat::Export()
{
    ReportColumns columns;
    for (int k = 0; k < 4; k++)
        columns.data[k] = data[k].As<CLineColumn>()->GetLines();
    Variable* const fields[AuxiliaryCount] = {&weights, &weightedXY, &weightedXX, &weightedX, &weightedY, &residuals};
    for (int i = 0; i < AuxiliaryCount; i++)
        columns.auxiliary[i] = fields[i]->As<CTextEdit>()->GetLines();
    columns.names = names.As<CTextEdit>()->GetLines();
    columns.values = values.As<CTextEdit>()->GetLines();
    ExportReport(GetApplication(), chooser.As<CFileChooser>(), FitKind::Weighted, columns, messageWindow);
}
