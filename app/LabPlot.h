#pragma once

#include <string>

class CApplication;
class PlotPainter;
struct PlotInput;

// The size of the plot a student hands in: sharp when printed.
constexpr int LabPlotWidth = 1600;
constexpr int LabPlotHeight = 1200;

// Draws the plot of a fit in the width × height box at (0, 0): the data with their
// error bars and the fitted line above, the residuals below on the same x axis, axes on
// the left and at the bottom with 1-2-5 ticks that the data fill, and a legend with
// the fit's name, its equation and its results in the corner the data leave free.
// Sizes follow the height (600 pixels: 12-pixel numbers).
void DrawLabPlot(PlotPainter& painter, const PlotInput& input, int width, int height);

// True when the name ends in ".svg", in any case.
bool IsSvgName(const std::string& path);

// Writes the plot, LabPlotWidth × LabPlotHeight, as SVG when the name says so and as
// PNG otherwise, replacing the file whole or not at all. 1 when written; otherwise the
// system's error number goes to `error` when given.
int WriteLabPlot(CApplication* app, const PlotInput& input, const char* path, int* error = nullptr);
