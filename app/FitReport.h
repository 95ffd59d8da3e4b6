#pragma once

#include <cstdint>

class CApplication;
class CList;
class CString;

enum class FitKind { Simple, Weighted };

// The captions of the per-row result columns, in the order the report and the
// command-line tool show them.
constexpr int SimpleRowColumns = 4;
constexpr int WeightedRowColumns = 6;
extern const char* const SimpleRowCaptions[SimpleRowColumns];
extern const char* const WeightedRowCaptions[WeightedRowColumns];

// A result window's columns as line lists of strings, shared with the report tables:
// the four data columns, the auxiliary columns in the order of their captions above,
// then the names and the values of the results.
struct ReportColumns {
    CList* data[4] = {};
    CList* auxiliary[WeightedRowColumns] = {};
    CList* names = nullptr;
    CList* values = nullptr;
};

// Writes the HTML report of a fit to path, every "." written as ",". The report is
// written beside the path and replaces it only when complete, so a failure leaves an
// earlier file as it was. Returns 1 when every byte reached the path; otherwise the
// system's error number goes to `error` when given.
int WriteFitReport(CApplication* app, CString* path, FitKind kind, const ReportColumns& columns,
                   int* error = nullptr);
