#include "app/Ponderat.h"

#include "app/WeightedFit.h"
#include "toolkit/CTextEdit.h"

Ponderat::Ponderat(CGApplication* app)
    : CResultWindow(app, Look{"Ajuste Ponderado", Width, Height, 372, FitKind::Weighted})
{
    className = "Ponderat";
}

Ponderat::~Ponderat() { LeaveRegistry(); }

CResultWindow::FittedLine Ponderat::Fit(CDataColumn* const data[4])
{
    WeightedFitColumns out;
    out.p = weights.As<CTextEdit>(), out.xyp = weightedXY.As<CTextEdit>(), out.xxp = weightedXX.As<CTextEdit>();
    out.xp = weightedX.As<CTextEdit>(), out.yp = weightedY.As<CTextEdit>(), out.residuals = residuals.As<CTextEdit>();
    out.names = names.As<CTextEdit>(), out.values = values.As<CTextEdit>();
    WeightedFitResult fit = RunWeightedFit(data, out);
    labPlot = WeightedFitPlot(fit, data);
    return {fit.a, fit.b};
}
