#pragma once

#include "app/CResultWindow.h"

// The result window of the weighted fit: the per-row values "1/w", "(X*Y)/w",
// "(X*X)/w", "X/w", "Y/w" and "((Ax+B-y)/w)" and the fit's named results.
class Ponderat : public CResultWindow {
public:
    static constexpr int Width = 876;
    static constexpr int Height = 442;

    explicit Ponderat(CGApplication* app);
    ~Ponderat() override;

    Variable& weights = auxiliary[0];
    Variable& weightedXY = auxiliary[1];
    Variable& weightedXX = auxiliary[2];
    Variable& weightedX = auxiliary[3];
    Variable& weightedY = auxiliary[4];
    Variable& residuals = auxiliary[5];
};
