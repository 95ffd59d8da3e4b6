#pragma once

#include <string>
#include <vector>

struct FitResult;

// One line of a plot's legend after the fit's name and its equation: "A = 1,98 ± 0,17"
// or, without an error, "r = 0,99871".
struct PlotLegendLine {
    std::string name;
    double value = 0;
    double error = -1;  // below 0: the value stands alone
    int digits = 3;     // significant digits of a value that stands alone
};

// What the plot with axes shows of a fit: the rows with their errors, the line
// y = a·x + b, the legend and the residuals, in the order of the rows.
struct PlotInput {
    std::string fit;  // the fit's name, the legend's title
    std::vector<double> x, ex, y, ey;
    double a = 0, b = 0;
    std::vector<PlotLegendLine> legend;
    std::vector<double> residuals;
    bool normalised = false;  // residuals divided by their error
};

// The plot of a fit on the rows it used. Every legend gives A and B with their errors;
// the simple fit's adds r and its residuals are y − (A·x + B); the weighted and York
// fits add Chi2/(N-2) and P(Chi2) (with more than two rows) and divide each residual
// by its error: that of y, or for the York fit that of y − A·x, √(σy² + A²σx²).
PlotInput LabPlotOf(const FitResult& fit);
