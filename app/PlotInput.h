#pragma once

#include <string>
#include <vector>

class CDataColumn;
struct SimpleFitResult;
struct WeightedFitResult;

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

// χ² of a fit weighted by its stated errors, per degree of freedom, and the chance of
// one at least as large; NaN for the last two without degrees of freedom.
struct ChiSquareResults {
    double chi2 = 0, perDegree = 0, probability = 0;
};
ChiSquareResults WeightedChiSquare(const WeightedFitResult& fit);

// The plot of a fit on the rows of its data columns (the columns' empty trailing rows
// are no data). The simple fit's legend gives A, B and r with its residuals y − (A·x + B);
// the weighted fit's gives A, B, Chi2/(N-2) and P(Chi2), its residuals divided by the
// error of y.
PlotInput SimpleFitPlot(const SimpleFitResult& fit, CDataColumn* const data[4]);
PlotInput WeightedFitPlot(const WeightedFitResult& fit, CDataColumn* const data[4]);
