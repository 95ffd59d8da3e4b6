#pragma once

#include <cstdint>

#include "app/FitResult.h"

class CApplication;
class CList;
class CString;

// Writes the HTML report of a fit to path, every "." written as ",": the data as their
// cells read (`data`, line lists of strings shared with the tables), the fit's per-row
// columns (which must have been kept) and its named results, each number with the
// digits the windows show. The report is written beside the path and replaces it only
// when complete, so a failure leaves an earlier file as it was. Returns 1 when every
// byte reached the path; otherwise the system's error number goes to `error` when given.
int WriteFitReport(CApplication* app, CString* path, const FitResult& fit, CList* const data[4],
                   int* error = nullptr);
