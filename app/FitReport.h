#pragma once

#include <cstdint>

class CApplication;
class CList;
class CString;

enum class FitKind { Simple, Weighted };

// A result window's columns as line lists of strings, shared with the report tables:
// the four data columns, the auxiliary columns in the order the report shows them
// (simple: "X*Y", "X*X", "Y*Y", "(Ax+B-y)"; weighted: "1/w", "(X*Y)/w", "(X*X)/w",
// "X/w", "Y/w", "((Ax+B-y)/w)"), then the names and the values of the results.
struct ReportColumns {
    CList* data[4] = {};
    CList* auxiliary[6] = {};
    CList* names = nullptr;
    CList* values = nullptr;
};

// Writes the HTML report of a fit to path, every "." written as ",". Returns 1 when
// the file was opened and every byte accepted.
int WriteFitReport(CApplication* app, CString* path, FitKind kind, const ReportColumns& columns);
