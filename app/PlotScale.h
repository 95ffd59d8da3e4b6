#pragma once

#include <string>

// The numbers a plot with axes writes: its ticks, chosen by the 1-2-5 rule, and values
// with their errors rounded as a lab report gives them. Texts are Windows-1252 with a
// decimal comma, as the reports write numbers.

// An axis: the frame from low to high, and ticks inside it at k·step for consecutive
// k, the step 1, 2 or 5 times a power of ten.
struct PlotTicks {
    double low = 0, high = 1;
    long long firstIndex = 0;  // the first tick is firstIndex·step
    double step = 1;
    int count = 2;
    int decimals = 0;  // digits after the comma that tell the ticks apart

    double At(int i) const { return static_cast<double>(firstIndex + i) * step; }
    double First() const { return At(0); }
    double Last() const { return At(count - 1); }
};

// The frame of low..high with a small margin, so that the data fill it without
// touching its edges, and the smallest 1-2-5 step that gives it at most `most` ticks;
// when that leaves fewer than `most` / 2, the frame grows to the next ticks outside.
// An empty range is widened around its value first.
PlotTicks ChooseTicks(double low, double high, int most = 8);

// The power of ten the tick numbers are written in when they are too large or small
// to read plainly (the axis title then says "×10^power"); 0 otherwise.
int TickPower(const PlotTicks& ticks);

// Tick i as text, divided by 10^power: "0,5", "-1,5", "100".
std::string TickText(const PlotTicks& ticks, int i, int power);

// A value and its error, the error rounded to two significant digits and the value to
// the same decimal place: "1,98 ± 0,17", "1230 ± 120"; very large or small ones share
// a power of ten: "(1,235 ± 0,034)·10^-7". An error of 0 or one that is not a number
// leaves the value alone.
std::string ValueWithError(double value, double error);

// A value with `digits` significant digits: "0,99871", "1,23·10^-5".
std::string ValueText(double value, int digits);
