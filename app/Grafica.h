#pragma once

#include "app/PlotInput.h"
#include "toolkit/CBasicWindow.h"

class CBCell;

// The plot with axes of a fit in a window of its own, opened from its result window,
// with "Exportar grafica", which writes it through the chooser: SVG when the name ends
// in ".svg", PNG otherwise (1600 × 1200 either way).
class Grafica : public CBasicWindow {
public:
    static constexpr int AreaWidth = 800;
    static constexpr int AreaHeight = 600;
    static constexpr int Width = AreaWidth;
    static constexpr int Height = AreaHeight + 46;

    explicit Grafica(CGApplication* app);
    ~Grafica() override;

    void HandleEvent(CEvent event) override;

    // Creates the window, draws the plot and shows it. The export icon is lent.
    void OpenPlot(const PlotInput& plot, CBCell* icon);

    // What the window shows, as written by "Exportar grafica".
    const PlotInput& GetInput() const { return input; }

    Variable exportButton;
    Variable chooser;
    Variable messageWindow;

private:
    void Export();

    PlotInput input;
};
