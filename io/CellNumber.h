#pragma once

#include <cstdint>

#include "core/NumberText.h"

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

// The blanks a cell may have around its number; 0xA0 is the no-break space of
// Windows-1252, which spreadsheets put around numbers too. A digit or a sign, the usual
// byte, is told apart with one comparison.
inline bool IsCellBlank(char c)
{
    constexpr uint64_t Blanks = 1ull << ' ' | 1ull << '\t' | 1ull << '\r' | 1ull << '\f' | 1ull << '\v';
    auto u = static_cast<unsigned char>(c);
    return u > ' ' ? u == 0xA0 : (Blanks >> u & 1) != 0;
}

// The cell that starts at text and ends at the first `separator` or at end, read by the
// same rule; returns where it ends. A short decimal is read in one walk, inline, for
// readers of large files; with needValue false its value is not computed (left 0), for
// a column a fit checks but does not use.
const char* ReadCellFieldSlowly(const char* text, const char* end, char separator, CellNumber& cell);
inline const char* ReadCellField(const char* text, const char* end, char separator, CellNumber& cell,
                                 bool needValue = true)
{
    const char* at = text;
    while (at < end && IsCellBlank(*at))
        at++;
    if (at == end || *at == separator) {
        cell = CellNumber{};
        return at;
    }
    cell.value = 0;
    if (const char* number = ReadShortDecimal(at, end, true, cell.value, needValue)) {
        while (number < end && IsCellBlank(*number))
            number++;
        if (number == end || *number == separator) {
            cell.status = CellNumber::Number;
            return number;
        }
    }
    return ReadCellFieldSlowly(text, end, separator, cell);
}
