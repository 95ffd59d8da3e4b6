#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/FitLines.h"

class FitRows;

// The per-row values the York fit keeps: the weight W = 1/(ey² + A²·ex²), the adjusted
// point (X, Y) on the line nearest the measured one in the metric of its errors, and
// the residual divided by its error, (A·x + B − y)·√W, whose squares add up to χ². A
// null column is not kept.
struct YorkFitColumns {
    std::vector<double>* weights = nullptr;    // "W"
    std::vector<double>* adjustedX = nullptr;  // "X ajustada"
    std::vector<double>* adjustedY = nullptr;  // "Y ajustada"
    std::vector<double>* residuals = nullptr;  // "(Ax+B-y)/e"
};

struct YorkFitResult {
    uint32_t n = 0;
    double a = 0, b = 0, errorA = 0, errorB = 0, covAB = 0;
    double chi2 = 0, reduced = 0, probability = 0, scaledErrorA = 0, scaledErrorB = 0;
    uint32_t iterations = 0;
    bool converged = true;  // false when the slope still changed after YorkMostIterations
};

// The iterations the York fit makes at most before it gives the slope it has.
constexpr uint32_t YorkMostIterations = 500;

// The straight line y = A·x + B for errors in both x and y (uncorrelated), minimising
// Σ [(x − X)²/ex² + (y − Y)²/ey²] over the line and the adjusted points (X, Y): York,
// Evensen, López Martínez and De Basabe Delgado, Am. J. Phys. 72 (2004) 367, iterated
// from the simple fit's slope until the slope no longer changes. The rows must hold
// both errors; no row may have both errors 0 (FitProblem.h). A negative error counts
// by its size. With every ex 0 it is the weighted fit's line.
YorkFitResult RunYorkFit(const FitRows& rows, const YorkFitColumns& out = {});

// The per-row values of the fit for its slope A, one row at a time, for a writer that
// keeps no columns: visit gets the values of "W", "X ajustada", "Y ajustada" and
// "(Ax+B-y)/e", the very numbers RunYorkFit keeps in its columns.
void ForEachYorkFitRow(const FitRows& rows, double slope, const std::function<void(const double* values)>& visit);

// The named results in the order shown: "N", "A", "B", "Error A", "Error B", "Cov AB",
// "Chi2", "Chi2/(N-2)", "P(Chi2)", "Error A escalado", "Error B escalado", "Iteraciones".
std::vector<NamedResult> NamedResults(const YorkFitResult& fit);

// What the user is told when the cap on iterations was reached: Windows-1252 for the
// windows, or plain ASCII for the command-line tool.
std::string YorkCapText(bool ascii);
