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
const char* ReadShortDecimal(const char* text, const char* end, bool decimalComma, double& value);

// Writes value with "%.*G" into out (room bytes); returns the characters written.
uint32_t FormatGeneral(double value, int digits, char* out, uint32_t room);
