#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A PNG encoder without libraries: the image data goes into deflate blocks that are
// stored, not compressed (zlib stream with its Adler-32, every chunk with its CRC-32).
// Files are larger than compressed ones but any PNG reader takes them, and the
// encoder runs wherever the program does.
namespace PngEncoder {

enum ColourType : uint8_t { Rgb = 2, Rgba = 6 };

// Encodes width × height pixels of 3 (Rgb) or 4 (Rgba) bytes each, rows top first,
// into png. False (png empty) for an empty or oversized image or no pixels.
bool Encode(const unsigned char* pixels, int width, int height, ColourType type, std::vector<unsigned char>& png);

uint32_t Crc32(const unsigned char* bytes, size_t count, uint32_t crc = 0);
uint32_t Adler32(const unsigned char* bytes, size_t count, uint32_t adler = 1);

}  // namespace PngEncoder
