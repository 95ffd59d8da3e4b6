// The cell rule over arbitrary text. A number is finite; blanks around it change
// nothing; a decimal comma reads as a point; empty means blanks only; and a number of
// normal size is exactly what strtod reads from the same text with a point.
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include "io/CellNumber.h"

namespace {
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == '\xA0'; }

CellNumber Read(const std::string& text) { return ReadCellNumber(text.data(), static_cast<uint32_t>(text.size())); }

bool Same(const CellNumber& a, const CellNumber& b)
{
    return a.status == b.status && (a.status != CellNumber::Number || a.value == b.value);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    CellNumber cell = Read(text);

    bool blanksOnly = true;
    for (char c : text)
        blanksOnly = blanksOnly && IsBlank(c);
    Check((cell.status == CellNumber::Empty) == blanksOnly);
    Check(Same(Read(" \t" + text + "\xA0 "), cell));
    if (cell.status != CellNumber::Number)
        return 0;

    Check(std::isfinite(cell.value));
    std::string pointed = text;
    for (char& c : pointed)
        if (c == ',')
            c = '.';
    Check(Same(Read(pointed), cell));
    if (std::fabs(cell.value) >= DBL_MIN && pointed.find('\0') == std::string::npos) {
        size_t first = pointed.find_first_not_of(" \t\r\f\v\xA0");
        Check(std::strtod(pointed.c_str() + first, nullptr) == cell.value);
    }
    return 0;
}
