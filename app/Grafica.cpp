#include "app/Grafica.h"

#include "app/CResultWindow.h"
#include "app/ChosenName.h"
#include "app/CanvasPlotPainter.h"
#include "app/FileMessages.h"
#include "app/LabPlot.h"
#include "graphics/CBCell.h"
#include "toolkit/CButton.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"

Grafica::Grafica(CGApplication* app) : CBasicWindow(app) { className = "Grafica"; }

Grafica::~Grafica() { LeaveRegistry(); }

void Grafica::HandleEvent(CEvent event)
{
    if (alive && event.source != application) {
        if (event.type == EV_CLICK && event.source == exportButton.Get() && exportButton) {
            auto* dialog = new CFileChooser(GetApplication());
            chooser = dialog;
            dialog->OpenChooser("Exportar grafica ...", this);
            dialog->Show();
        } else if (event.type == EV_RESULT && event.source == chooser.Get() && chooser && event.key == 1) {
            Export();
        }
    }
    CBasicWindow::HandleEvent(event);
}

void Grafica::OpenPlot(const PlotInput& plot, CBCell* icon)
{
    input = plot;
    CGApplication* app = GetApplication();
    Create(96, 40, Width, Height, nullptr, ("Grafica: " + plot.fit).c_str(), 252, 242, 202);
    if (CCanvas* canvas = GetCanvas()) {
        CanvasPlotPainter painter(app, canvas);
        DrawLabPlot(painter, input, AreaWidth, AreaHeight);
    }
    auto* button = new CButton(app);
    exportButton = button;
    button->Create(8, AreaHeight + 5, 164, 36, this, nullptr, 255, 236, 192);
    button->SetCaption("Exportar grafica");
    button->SetButtonIcon(icon);
    button->Show();
    Show();
}

// Writes the plot to the name the chooser confirmed; a failure is told in a message
// window.
void Grafica::Export()
{
    std::string shown, system;
    CGApplication* app = GetApplication();
    if (!ChosenFileName(chooser.As<CFileChooser>(), shown, system)) {
        ShowMessage(app, messageWindow, FailureText("exportar", shown, UnshowableNameReason));
        return;
    }
    int error = 0;
    if (!WriteLabPlot(app, input, system.c_str(), &error))
        ShowMessage(app, messageWindow, FailureText("exportar", shown, error));
}
