#pragma once

class PSurface;

// Writes a surface to a PNG file (8-bit RGB), for tests and for people to look at.
// Returns 1 on success, 0 on failure.
int WriteSurfacePng(const PSurface& surface, const char* path);

// Writes width × height pixels of red, green, blue and alpha bytes (row-major, top row
// first) to a PNG file with transparency. Returns 1 on success, 0 on failure.
int WriteRgbaPng(const unsigned char* rgba, int width, int height, const char* path);
