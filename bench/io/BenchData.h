#pragma once

#include <cstdint>
#include <string>

#include "io/CDataColumn.h"

class CApplication;

// Fills four columns with `rows` rows of lab-like numbers ("12.3456", "0.05", ...).
void FillColumns(CDataColumn* const columns[4], uint32_t rows);

// A temporary file name for a benchmark, removed by the caller.
std::string BenchFile(const char* stem);
