#pragma once

#include <cstdint>

class CApplication;
class CDataColumn;

// Result of reading a plain text data set.
struct PlainTextResult {
    enum Status { Read, CannotOpen, BadLine } status = Read;
    uint32_t line = 0;    // with BadLine: the first offending line, counted from 1
    uint32_t fields = 0;  // with BadLine: how many numbers it held
};

// Reads a data set written as whitespace-separated numbers, one row per line: two
// numbers are x and y; three are x, y and the error of y; four are x, the error of x,
// y and the error of y. Every row must have as many numbers as the first. Blank lines
// and lines starting with "#" are skipped. The numbers are kept as the text they are,
// like typed cells. On success the four columns hold exactly the rows read.
PlainTextResult ReadPlainTextData(CApplication* app, const char* path, CDataColumn* const columns[4]);
