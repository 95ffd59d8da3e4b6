#pragma once

#include <cstdint>

#include "app/FitProblem.h"

class CIO;
class FitRows;

// A data file read straight into the row store, for a fit without windows: each record
// is cut into its cells and every cell read by the cell rule (io/CellNumber.h) as the
// bytes arrive; no cell is kept as text. The rows, and the cell at fault, are those of
// loading the file into columns (ReadDataSet) and reading them with ReadFitRows; but
// the reading ends at the first cell at fault, so a record beyond the bound after it
// goes unseen, and endless input ends at once.
struct DataFileRows {
    FitProblem problem;    // the first cell at fault, or NoData
    uint32_t records = 0;  // records read, counted as ReadDataSet counts them
    bool cut = false;      // a record reached the bound before its line feed
};

// Reads the row count and up to that many records, none longer than longestRecord
// bytes; a record that is longer ends the reading, like the end of the file, and so
// does a cell at fault.
DataFileRows ReadDataFileRows(CIO* in, FitKind kind, FitRows& rows, uint32_t longestRecord);
