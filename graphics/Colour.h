#pragma once

#include <cstdint>

// Colours are colour references: red in bits 0-7, green in 8-15, blue in 16-23.
inline uint32_t packColour(uint32_t r, uint32_t g, uint32_t b) { return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16); }
inline uint32_t redOf(uint32_t colour) { return colour & 255; }
inline uint32_t greenOf(uint32_t colour) { return (colour >> 8) & 255; }
inline uint32_t blueOf(uint32_t colour) { return (colour >> 16) & 255; }
