#pragma once

#include <cstdint>

#include "toolkit/CBasicWindow.h"

class CBCell;
class CDataColumn;

// The result window of the simple fit: the per-row values "X*Y", "X*X", "Y*Y" and
// "(Ax+B-y)", the named results in "Incognitas" and "Valores", the "Exportar HTML"
// button and the plot window beside it. It keeps a copy of the data it was fitted on,
// so a report exported later shows the data of its results.
class Basicad : public CBasicWindow {
public:
    static constexpr int Width = 680;
    static constexpr int Height = 342;

    explicit Basicad(CGApplication* app);
    ~Basicad() override;

    void HandleEvent(CEvent event) override;

    // Creates the window, fits the live data columns' rows into it, draws the plot and
    // shows everything. The export icon is lent by the main window.
    void OpenFit(CDataColumn* const liveData[4], CBCell* icon);

    Variable data[4];
    Variable productXX;
    Variable productXY;
    Variable productYY;
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
