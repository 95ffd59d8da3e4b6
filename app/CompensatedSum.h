#pragma once

#include <cmath>

// Running sum with Neumaier's compensation: the rounding error of every addition is
// kept apart and added back at the end, so long sums lose no digits.
class CompensatedSum {
public:
    void Add(double value)
    {
        double total = sum + value;
        if (std::fabs(sum) >= std::fabs(value))
            correction += (sum - total) + value;
        else
            correction += (value - total) + sum;
        sum = total;
    }

    // Infinite or undefined sums stay what plain addition makes of them.
    double Value() const { return std::isfinite(sum) ? sum + correction : sum; }

private:
    double sum = 0.0;
    double correction = 0.0;
};
