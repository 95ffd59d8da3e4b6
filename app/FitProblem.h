#pragma once

#include <cstdint>
#include <string>

#include "app/FitResult.h"

class CDataColumn;
class FitRows;
struct SimpleFitResult;
struct WeightedFitResult;
struct YorkFitResult;

// Why a fit cannot be computed, and where. A fit that cannot be computed is not run:
// results made of NaN and infinities would look like results.
struct FitProblem {
    enum Kind {
        None,
        NoData,         // no row holds anything
        EmptyCell,      // an empty cell in a column the fit uses
        NotANumber,     // a cell that is not a number (io/CellNumber.h)
        SameX,          // fewer than two distinct x values: no line is determined
        ZeroError,      // the weighted fit: an error of y of 0, a weight of 1/0
        UnusableError,  // the weighted fit: an error of y whose weight is not a number
        OutOfRange,     // results beyond the range of a double
        BothErrorsZero, // the York fit: a row whose errors of x and y are both 0
    };

    Kind kind = None;
    uint32_t row = 0;  // the row at fault, counted from 0
    int column = -1;   // its column (DataColumnIndex), or -1 when no cell is at fault
    std::string cell;  // the cell's text, for NotANumber

    explicit operator bool() const { return kind != None; }

    // A problem of `kind` at a row and column (-1: no cell), without a cell's text.
    static FitProblem At(Kind kind, uint32_t row, int column);
};

// Reads the rows a fit uses by the cell rule: x and y, the error of y for the weighted
// fit and both errors for the York fit; these cells must hold numbers. The plot draws
// columns 2 and 4 as error bars: there an empty cell is 0, no bar, but a cell that is
// not a number is refused as well. Stops at the first cell at fault, row by row, left
// to right. `rows` keeps what its layout holds (FitRows.h).
FitProblem ReadFitRows(CDataColumn* const data[4], FitKind kind, FitRows& rows);

// What makes rows unfit for a line before any sum: none, fewer than two distinct x,
// an error of y that gives no finite positive weight in the weighted fit, errors of x
// and y both 0 (or whose squares are not finite) in the York fit.
FitProblem CheckFitRows(const FitRows& rows, FitKind kind);

// The whole test a fit passes before its window opens: the cells, the rows, and the
// results computed once without being shown, which must be finite numbers.
FitProblem CheckFit(CDataColumn* const data[4], FitKind kind);

// The same for results already computed: OutOfRange when any is not a finite number.
FitProblem CheckResults(const SimpleFitResult& fit);
FitProblem CheckResults(const WeightedFitResult& fit);
FitProblem CheckResults(const YorkFitResult& fit);

// The message, short and in Spanish, the row counted from 1:
// «Fila 3, Valores Y: "2.5.1" no es un número». Windows-1252 for the windows, or
// plain ASCII (no accents) for the command-line tool.
std::string FitProblemText(const FitProblem& problem, bool ascii = false);
