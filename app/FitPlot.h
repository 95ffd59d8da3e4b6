#pragma once

#include <cstdint>

class CCanvas;
class FitRows;

// The size of the plot's box, in pixels.
constexpr int PlotWidth = 800;
constexpr int PlotHeight = 600;

// Draws the indicative plot of a fit onto the canvas, in the 800 × 600 box at (0, 0):
// every row's error bars, a cross on each point and the fitted line y = a·x + b across
// the box. The box holds the origin and every point with its errors. Values that are
// not finite are left out; nothing reaches the canvas that is not inside the box.
void DrawFitPlot(CCanvas* canvas, const FitRows& rows, double a, double b);
