#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Variable.h"

class CApplication;
class PFont;
struct PlotText;

// The fonts a plot writes with, one per size and weight, made once: the program's fonts
// (an Arial face or the system's substitute) so the PNG and the SVG measure alike.
class PlotFonts {
public:
    explicit PlotFonts(CApplication* app) : app(app) {}

    const PFont* Get(const PlotText& look);
    double Width(const std::string& text, const PlotText& look);
    // Pixels of the cell below the baseline.
    double Descent(const PlotText& look);

private:
    CApplication* app;
    std::vector<std::pair<int, Variable>> fonts;  // by size·2 + bold
};
