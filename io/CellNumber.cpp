#include "io/CellNumber.h"

#include <charconv>
#include <cstring>
#include <string>

namespace {
bool IsBlank(char c) { return IsCellBlank(c); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number as from_chars reads it ("-12.5e-3": no '+', a point as separator), and
// whether it is at least 1 in size, which tells an overflow from an underflow.
struct Scan {
    std::string text;
    bool negative = false;
    bool overflows = false;
};

// Reads [sign] digits [separator digits] [e [sign] digits], all of [at, end); false
// when anything is missing or left over.
bool ScanNumber(const char* at, const char* end, Scan& scan)
{
    if (at < end && (*at == '+' || *at == '-')) {
        scan.negative = *at == '-';
        if (scan.negative)
            scan.text += '-';
        at++;
    }
    // The value is about 10^(magnitude − 1 + exponent): magnitude counts the integer
    // digits from the first that is not 0, less the zeros that open the fraction.
    long magnitude = 0;
    bool seenNonZero = false, separator = false, digits = false;
    for (; at < end; at++) {
        if (IsDigit(*at)) {
            digits = true;
            if (*at != '0')
                seenNonZero = true;
            if (seenNonZero && !separator)
                magnitude++;
            if (!seenNonZero && separator)
                magnitude--;
            scan.text += *at;
        } else if ((*at == '.' || *at == ',') && !separator) {
            separator = true;
            scan.text += '.';
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    long exponent = 0;
    if (at < end && (*at == 'e' || *at == 'E')) {
        scan.text += 'e';
        at++;
        bool negativeExponent = at < end && *at == '-';
        if (at < end && (*at == '+' || *at == '-'))
            scan.text += *at++;
        const char* first = at;
        for (; at < end && IsDigit(*at); at++) {
            scan.text += *at;
            if (exponent < 100000)
                exponent = exponent * 10 + (*at - '0');
        }
        if (at == first)
            return false;
        if (negativeExponent)
            exponent = -exponent;
    }
    scan.overflows = magnitude + exponent > 0;
    return at == end;
}
}  // namespace

CellNumber ReadCellNumber(const char* text, uint32_t size)
{
    CellNumber cell;
    const char* begin = text;
    const char* end = text + (text ? size : 0);
    while (begin < end && IsBlank(*begin))
        begin++;
    while (end > begin && IsBlank(end[-1]))
        end--;
    if (begin == end)
        return cell;
    // Most cells are short decimals, read exactly at once; the rest are scanned below.
    if (ReadShortDecimal(begin, end, true, cell.value) == end) {
        cell.status = CellNumber::Number;
        return cell;
    }
    cell.value = 0;
    cell.status = CellNumber::NotANumber;
    Scan scan;
    if (!ScanNumber(begin, end, scan))
        return cell;
    double value = 0;
    auto read = std::from_chars(scan.text.data(), scan.text.data() + scan.text.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // Too small for a double is as near to 0 as a double gets; too large is no number.
        if (scan.overflows)
            return cell;
        value = scan.negative ? -0.0 : 0.0;
    } else if (read.ec != std::errc() || read.ptr != scan.text.data() + scan.text.size()) {
        return cell;
    }
    cell.status = CellNumber::Number;
    cell.value = value;
    return cell;
}

// Anything but a short decimal between blanks: the whole field by the rule.
const char* ReadCellFieldSlowly(const char* text, const char* end, char separator, CellNumber& cell)
{
    auto* stop = static_cast<const char*>(std::memchr(text, separator, static_cast<size_t>(end - text)));
    if (!stop)
        stop = end;
    cell = ReadCellNumber(text, static_cast<uint32_t>(stop - text));
    return stop;
}
