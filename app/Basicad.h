#pragma once

#include "app/CResultWindow.h"

// The result window of the simple fit: the per-row values "X*Y", "X*X", "Y*Y" and
// "(Ax+B-y)" and the fit's named results.
class Basicad : public CResultWindow {
public:
    static constexpr int Width = 680;
    static constexpr int Height = 342;

    explicit Basicad(CGApplication* app);
    ~Basicad() override;

    Variable& productXY = auxiliary[0];
    Variable& productXX = auxiliary[1];
    Variable& productYY = auxiliary[2];
    Variable& residuals = auxiliary[3];
};
