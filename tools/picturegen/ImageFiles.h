#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picturegen/Painter.h"

using ByteString = std::vector<uint8_t>;

// A CEL file: the colour as a FIS image, then the opacity as a grey FIS image.
ByteString CelBytes(const Painter& picture);
// An IES file: the picture over `background`, reduced to a 256-colour palette.
ByteString IesBytes(const Painter& picture, Rgba background);
// RGBA bytes of the picture over `background` (opaque), for previews.
std::vector<unsigned char> PreviewBytes(const Painter& picture, Rgba background, int zoom);

// RGBA bytes of the picture with its own transparency, for PNG files.
std::vector<unsigned char> RgbaBytes(const Painter& picture);

// A Windows icon file with one entry per picture (each at most 255 pixels wide).
ByteString IcoBytes(const std::vector<Painter>& sizes);

bool WriteBytes(const std::string& path, const ByteString& bytes);
