#pragma once

#include <cstdint>

// How a data cell reads as a number: the one rule of every reader of data cells — the
// fits, the plot, the command-line tool. Blanks around the number are ignored; the
// number is an optional sign, digits with a point or a comma as the decimal separator,
// and an optional exponent ("-1,5E-3"). Cells cannot hold ";", so a comma is never a
// field separator. Anything else — letters, two separators, "inf", "0x10", blanks
// inside, a number beyond the range of a double — is not a number. What an empty cell
// means is the reader's choice: 0 in a column a fit does not use, refused in one it does.
struct CellNumber {
    enum Status { Number, Empty, NotANumber };

    Status status = Empty;
    double value = 0;  // 0 unless status is Number

    bool IsNumber() const { return status == Number; }
};

CellNumber ReadCellNumber(const char* text, uint32_t size);

// The cell that starts at text and ends at the first `separator` or at end, read by the
// same rule in one walk when it holds a short decimal; returns where it ends.
const char* ReadCellField(const char* text, const char* end, char separator, CellNumber& cell);
