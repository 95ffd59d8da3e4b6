#pragma once

#include <cstdint>

// The system's two number conversions, used by CString and by code that formats
// or reads numbers without a string object.

// Reads a number as "%LG" would: blanks, sign, digits with one '.', an exponent.
// Stops at the first character that does not fit; no number gives 0.
double ParseLeadingNumber(const char* text, uint32_t size, uint32_t* used = nullptr);

// Writes value with "%.*G" into out (room bytes); returns the characters written.
uint32_t FormatGeneral(double value, int digits, char* out, uint32_t room);
