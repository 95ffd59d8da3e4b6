#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Width in pixels of a piece of text.
using TextMeasure = std::function<int(const char* text, uint32_t size)>;

// What a cell draws for its text in `room` pixels. A number too wide for the cell
// (digits with a point, '.' or ',', and an optional exponent, as "%LG" writes them)
// keeps as many significant digits as fit and never hides its size: its exponent
// stays, and one is written when the digits before the point would not fit. Any other
// text, and a number that fits, comes back unchanged. Only the drawing shortens: the
// cell's own text keeps every digit.
std::string FittedNumber(const char* text, uint32_t size, int room, const TextMeasure& widthOf);
