#pragma once

#include <cstdint>

#include "toolkit/CBasicWindow.h"

class CBCell;
class CDataColumn;

// The result window of the weighted fit: the per-row values "1/w", "(X*Y)/w",
// "(X*X)/w", "X/w", "Y/w" and "((Ax+B-y)/w)", the named results in "Incognitas" and
// "Valores", the "Exportar HTML" button and the plot window beside it. It keeps a copy
// of the data it was fitted on, so a report exported later shows the data of its
// results.
class Ponderat : public CBasicWindow {
public:
    static constexpr int Width = 876;
    static constexpr int Height = 442;

    explicit Ponderat(CGApplication* app);
    ~Ponderat() override;

    void HandleEvent(CEvent event) override;

    // Creates the window, fits the live data columns' rows into it, draws the plot and
    // shows everything. The export icon is lent by the main window.
    void OpenFit(CDataColumn* const liveData[4], CBCell* icon);

    Variable data[4];
    Variable weights;
    Variable weightedXY;
    Variable weightedXX;
    Variable weightedX;
    Variable weightedY;
    Variable residuals;
    Variable names;
    Variable values;
    Variable firstScroller;
    Variable secondScroller;
    Variable exportButton;
    Variable chooser;
    Variable exportIcon;
    Variable plotWindow;
    Variable messageWindow;

private:
    void Export();
};
