#include "app/Basicad.h"

#include "app/SimpleFit.h"
#include "toolkit/CTextEdit.h"

Basicad::Basicad(CGApplication* app)
    : CResultWindow(app, Look{"Ajuste Simple", Width, Height, 272, FitKind::Simple})
{
    className = "Basicad";
}

Basicad::~Basicad() { LeaveRegistry(); }

CResultWindow::FittedLine Basicad::Fit(CDataColumn* const data[4])
{
    SimpleFitColumns out;
    out.xy = productXY.As<CTextEdit>(), out.xx = productXX.As<CTextEdit>(), out.yy = productYY.As<CTextEdit>();
    out.residuals = residuals.As<CTextEdit>(), out.names = names.As<CTextEdit>(), out.values = values.As<CTextEdit>();
    SimpleFitResult fit = RunSimpleFit(data, out);
    labPlot = SimpleFitPlot(fit, data);
    return {fit.a, fit.b};
}
