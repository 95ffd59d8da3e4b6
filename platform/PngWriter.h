#pragma once

#include <vector>

class PSurface;

// Writes a surface to a PNG file (8-bit RGB), for tests and for people to look at.
// Returns 1 on success, 0 on failure.
int WriteSurfacePng(const PSurface& surface, const char* path);

// Writes width × height pixels of red, green, blue and alpha bytes (row-major, top row
// first) to a PNG file with transparency. Returns 1 on success, 0 on failure.
int WriteRgbaPng(const unsigned char* rgba, int width, int height, const char* path);

// The PNG file of a surface (8-bit RGB) in memory, for writers that must replace a file
// whole or not at all. Returns 1 on success, 0 on failure.
int EncodeSurfacePng(const PSurface& surface, std::vector<unsigned char>& png);
