#include "app/CYorkWindow.h"

CYorkWindow::CYorkWindow(CGApplication* app)
    : CResultWindow(app, Look{"Ajuste York", Width, Height, 272, FitKind::York})
{
    className = "CYorkWindow";
}

CYorkWindow::~CYorkWindow() { LeaveRegistry(); }
