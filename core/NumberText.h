#pragma once

#include <cstdint>

// The system's two number conversions, used by CString and by code that formats
// or reads numbers without a string object.

// Reads a number as "%LG" would: blanks, sign, digits with one '.', an exponent.
// Stops at the first character that does not fit; no number gives 0.
double ParseLeadingNumber(const char* text, uint32_t size, uint32_t* used = nullptr);

// Reads a short decimal at the start of [text, end) when that can be done exactly with
// one rounding: an optional sign, digits, optionally a point (or, with decimalComma, a
// comma) and more digits, an optional exponent "e[sign]digits"; at most 19 significant
// digits, a value below 2^53 times a power of ten within 10^±22. Returns the end of the
// number, its value the correctly rounded one std::from_chars gives; null when the text
// is not of that form or needs the full conversion, which the caller then makes.
// Inline: readers of large files call it for every number.
// With convert false only the form is read and value is left as it was: whether the
// text is such a number, at the cost of a scan.
inline const char* ReadShortDecimal(const char* text, const char* end, bool decimalComma, double& value,
                                    bool convert = true);

// Writes value with "%.*G" into out (room bytes); returns the characters written.
uint32_t FormatGeneral(double value, int digits, char* out, uint32_t room);

namespace number_text {
inline constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of a digit; above 9 for any other byte.
inline unsigned DigitValue(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }
}  // namespace number_text

// Both operands exact and one rounding (Clinger's fast path): the product or quotient
// is the correctly rounded value of the decimal.
inline const char* ReadShortDecimal(const char* p, const char* end, bool decimalComma, double& value, bool convert)
{
    using number_text::DigitValue;
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        p++;
    // Every digit goes into the mantissa, leading zeros too: past 19 digits it may have
    // wrapped, and the number is left to the full conversion.
    uint64_t mantissa = 0;
    const char* first = p;
    for (; p < end && DigitValue(*p) <= 9; p++)
        mantissa = mantissa * 10 + DigitValue(*p);
    auto digits = p - first;
    if (digits == 0)
        return nullptr;
    long scale = 0;
    if (p < end && (*p == '.' || (decimalComma && *p == ','))) {
        const char* fraction = ++p;
        for (; p < end && DigitValue(*p) <= 9; p++)
            mantissa = mantissa * 10 + DigitValue(*p);
        if (p == fraction)
            return nullptr;
        scale = -(p - fraction);
        digits += p - fraction;
    }
    if (digits > 19)
        return nullptr;
    if (p < end && (*p == 'e' || *p == 'E')) {
        p++;
        bool negativeExponent = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+'))
            p++;
        const char* exponentDigits = p;
        long exponent = 0;
        for (; p < end && DigitValue(*p) <= 9; p++)
            if (exponent < 1000)
                exponent = exponent * 10 + DigitValue(*p);
        if (p == exponentDigits)
            return nullptr;
        scale += negativeExponent ? -exponent : exponent;
    }
    if (mantissa > (uint64_t(1) << 53) || scale < -22 || scale > 22)
        return nullptr;
    if (!convert)
        return p;
    double exact = static_cast<double>(mantissa);
    exact = scale < 0 ? exact / number_text::PowersOfTen[-scale] : exact * number_text::PowersOfTen[scale];
    value = negative ? -exact : exact;
    return p;
}
