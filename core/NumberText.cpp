#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

uint32_t SkipDigits(const char* text, uint32_t i, uint32_t size)
{
    while (i < size && IsDigit(text[i]))
        i++;
    return i;
}

// Removes the zeros at the end of a fraction, and its point when nothing is left.
char* DropTrailingZeros(char* begin, char* end)
{
    if (!std::memchr(begin, '.', static_cast<size_t>(end - begin)))
        return end;
    while (end[-1] == '0')
        end--;
    if (end[-1] == '.')
        end--;
    return end;
}

// Writes the "%.*G" text of value into dst, which holds at least 2 * precision + 40
// bytes; returns the characters written.
uint32_t WriteGeneral(double value, int precision, char* dst)
{
    char* p = dst;
    if (std::signbit(value))
        *p++ = '-';
    if (!std::isfinite(value)) {
        std::memcpy(p, std::isnan(value) ? "NAN" : "INF", 3);
        return static_cast<uint32_t>(p + 3 - dst);
    }
    // The E-style digits, rounded once and exactly, in the upper half of dst.
    char* scientific = dst + precision + 20;
    auto result = std::to_chars(scientific, scientific + precision + 20, std::fabs(value),
                                std::chars_format::scientific, precision - 1);
    *result.ptr = '\0';
    char* e = std::find(scientific, result.ptr, 'e');
    int exponent = std::atoi(e + 1);
    // The significant digits without the point.
    char* digit = scientific;
    char* digitEnd = scientific;
    for (char* q = scientific; q < e; q++)
        if (*q != '.')
            *digitEnd++ = *q;
    auto count = static_cast<int>(digitEnd - digit);
    if (exponent < precision && exponent >= -4) {
        if (exponent >= 0) {
            std::memmove(p, digit, static_cast<size_t>(exponent) + 1);
            p += exponent + 1;
            *p++ = '.';
            std::memmove(p, digit + exponent + 1, static_cast<size_t>(count - exponent - 1));
            p += count - exponent - 1;
        } else {
            *p++ = '0';
            *p++ = '.';
            std::memset(p, '0', static_cast<size_t>(-exponent - 1));
            p += -exponent - 1;
            std::memmove(p, digit, static_cast<size_t>(count));
            p += count;
        }
        return static_cast<uint32_t>(DropTrailingZeros(dst, p) - dst);
    }
    *p++ = digit[0];
    *p++ = '.';
    std::memmove(p, digit + 1, static_cast<size_t>(count - 1));
    p = DropTrailingZeros(dst, p + count - 1);
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    int magnitude = std::abs(exponent);
    if (magnitude >= 100)
        *p++ = static_cast<char>('0' + magnitude / 100);
    *p++ = static_cast<char>('0' + magnitude / 10 % 10);
    *p++ = static_cast<char>('0' + magnitude % 10);
    return static_cast<uint32_t>(p - dst);
}

// Beyond the range of a double: infinity or a zero of the right sign, as strtod gives.
double OutOfRangeValue(const char* span, uint32_t size)
{
    std::string copy(span, size);
    return std::strtod(copy.c_str(), nullptr);
}
}  // namespace

double ParseLeadingNumber(const char* text, uint32_t size, uint32_t* used)
{
    uint32_t i = 0;
    while (i < size && IsBlank(text[i]))
        i++;
    uint32_t start = i;
    if (i < size && (text[i] == '+' || text[i] == '-'))
        i++;
    uint32_t mantissa = i;
    i = SkipDigits(text, i, size);
    bool digits = i > mantissa;
    if (i < size && text[i] == '.') {
        uint32_t fraction = i + 1;
        i = SkipDigits(text, fraction, size);
        digits = digits || i > fraction;
    }
    if (!digits) {
        if (used)
            *used = 0;
        return 0.0;
    }
    if (i < size && (text[i] == 'e' || text[i] == 'E')) {
        uint32_t e = i + 1;
        if (e < size && (text[e] == '+' || text[e] == '-'))
            e++;
        uint32_t end = SkipDigits(text, e, size);
        if (end > e)
            i = end;
    }
    if (used)
        *used = i;
    // from_chars reads exactly this syntax, without a leading '+'.
    const char* first = text + start + (text[start] == '+' ? 1 : 0);
    double value = 0.0;
    auto result = std::from_chars(first, text + i, value);
    if (result.ec == std::errc::result_out_of_range)
        return OutOfRangeValue(text + start, i - start);
    return value;
}

// The "%.*G" conversion, built on the exact and much faster std::to_chars: the digits
// of the E style, then the style the exponent calls for, trailing zeros removed.
uint32_t FormatGeneral(double value, int digits, char* out, uint32_t room)
{
    if (room == 0)
        return 0;
    int precision = digits < 0 ? 6 : std::max(digits, 1);
    size_t needed = 2 * static_cast<size_t>(precision) + 40;
    char local[160];
    std::string heap;
    char* text = local;
    if (needed > sizeof local) {
        heap.resize(needed);
        text = heap.data();
    }
    uint32_t n = std::min(WriteGeneral(value, precision, text), room - 1);
    std::memcpy(out, text, n);
    out[n] = '\0';
    return n;
}
