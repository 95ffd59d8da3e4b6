#include "platform/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/PSurface.h"

namespace {
// libpng reports errors by longjmp; everything that must be released lives outside.
int WriteRows(FILE* file, int width, int height, int colourType, std::vector<png_bytep>& rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return 1;
}

int WriteFile(const char* path, int width, int height, int colourType, std::vector<png_bytep>& rows)
{
    if (!path || width <= 0 || height <= 0)
        return 0;
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return 0;
    int ok = WriteRows(file, width, height, colourType, rows);
    if (std::fclose(file) != 0)
        ok = 0;
    return ok;
}
}  // namespace

int WriteSurfacePng(const PSurface& surface, const char* path)
{
    int width = surface.GetWidth(), height = surface.GetHeight();
    std::vector<unsigned char> bytes(size_t(width) * size_t(height) * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; y++) {
        unsigned char* out = bytes.data() + size_t(y) * size_t(width) * 3;
        rows[size_t(y)] = out;
        const uint32_t* in = surface.Row(y);
        for (int x = 0; x < width; x++) {
            out[3 * x] = static_cast<unsigned char>(in[x]);
            out[3 * x + 1] = static_cast<unsigned char>(in[x] >> 8);
            out[3 * x + 2] = static_cast<unsigned char>(in[x] >> 16);
        }
    }
    return WriteFile(path, width, height, PNG_COLOR_TYPE_RGB, rows);
}

int WriteRgbaPng(const unsigned char* rgba, int width, int height, const char* path)
{
    if (!rgba)
        return 0;
    std::vector<png_bytep> rows(size_t(height > 0 ? height : 0));
    for (int y = 0; y < height; y++)
        rows[size_t(y)] = const_cast<png_bytep>(rgba + size_t(y) * size_t(width) * 4);
    return WriteFile(path, width, height, PNG_COLOR_TYPE_RGBA, rows);
}
