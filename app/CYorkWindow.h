#pragma once

#include "app/CResultWindow.h"

// The result window of the York fit (errors in x and y): the per-row values "W",
// "X ajustada", "Y ajustada" and "(Ax+B-y)/e" and the fit's named results, laid out as
// the simple fit's window, which has as many columns.
class CYorkWindow : public CResultWindow {
public:
    static constexpr int Width = 680;
    static constexpr int Height = 342;

    explicit CYorkWindow(CGApplication* app);
    ~CYorkWindow() override;

    Variable& weights = auxiliary[0];
    Variable& adjustedX = auxiliary[1];
    Variable& adjustedY = auxiliary[2];
    Variable& residuals = auxiliary[3];
};
