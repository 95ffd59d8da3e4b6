#pragma once

class CCanvas;
class CIO;

// Readers of the single-image formats. Each reads from an open stream into the canvas
// (re-creating it with the image's size) and returns 1 when an image was read, 0 when
// the stream is closed or the header is unusable (then the canvas is left as it was).
// Sizes are checked against what the stream can hold before anything is allocated;
// a stream that ends early leaves the pixels not reached black.
int LoadFis(CCanvas* canvas, CIO* stream);  // width, height, rows of blue-green-red
int LoadIes(CCanvas* canvas, CIO* stream);  // width, height, 256-colour palette, indices
int LoadFcr(CCanvas* canvas, CIO* stream);  // width, height, runs of colour and count
int LoadBmp(CCanvas* canvas, CIO* stream);  // Windows bitmap, 8, 24 or 32 bits

// Reads the single image named by its extension ("FIS", "BMP", "FCR", "IES", any
// case) from a file into the canvas: 1 when read.
int LoadImageByExtension(CCanvas* canvas, const char* fileName);

// The upper-cased text after the last '.' of the name (not a leading one) into
// `out` of `room` bytes; false when there is none or it does not fit.
bool UpperExtension(const char* fileName, char* out, unsigned room);
