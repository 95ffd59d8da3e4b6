#pragma once

#include <string>

#include "app/FitReport.h"
#include "toolkit/CBasicWindow.h"

class CBCell;
class CDataColumn;

// What the result windows share: a copy of the data they were fitted on (so a report
// exported later shows the data of its results), the fit's results as numbers, shown
// as the per-row auxiliary columns left to right with their scroller and the named
// results in "Incognitas" and "Valores" with theirs, the "Exportar HTML" button and the
// plot window beside them, and "Ver grafica", which opens the plot with axes in a
// window of its own.
class CResultWindow : public CBasicWindow {
public:
    ~CResultWindow() override;

    void HandleEvent(CEvent event) override;

    // Creates the window, fits the live data columns' rows (checked before, FitProblem.h),
    // shows the results, draws the plot and shows everything; a note of the fit opens a
    // message window. The export icon is lent by the main window.
    void OpenFit(CDataColumn* const liveData[4], CBCell* icon);

    Variable data[4];
    Variable auxiliary[MostRowColumns];
    Variable names;
    Variable values;
    Variable firstScroller;
    Variable secondScroller;
    Variable exportButton;
    Variable chooser;
    Variable exportIcon;
    Variable plotWindow;
    Variable messageWindow;
    Variable plotButton;
    Variable labPlotWindow;  // the plot with axes, once asked for
    // The question before a report replaces an existing file, and the name it would write.
    Variable question;
    std::string questionedName;

protected:
    struct Look {
        const char* title;
        int width;
        int height;
        int columnHeight;
        FitKind kind;
    };

    CResultWindow(CGApplication* app, const Look& look);

private:
    int AuxiliaryCount() const;
    void AddColumns();
    void ShowResults();
    void DropFirstLines();
    void ChainRings();
    void Export();
    void OpenLabPlot();
    void ExportAsking();
    void Export(const std::string& shown);

    Look look;
    FitResult result;  // what the columns show, as numbers, for the report
};

// Opens a message window with the text, held by `message` (which drops an earlier one).
void ShowMessage(CGApplication* app, Variable& message, const std::string& text);
