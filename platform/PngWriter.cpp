#include "platform/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/PSurface.h"

namespace {
void AppendToMemory(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// libpng reports errors by longjmp; everything that must be released lives outside.
// The rows go to the file, or to memory when there is none.
int WriteRows(FILE* file, std::vector<unsigned char>* memory, int width, int height, int colourType,
              std::vector<png_bytep>& rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    if (file)
        png_init_io(png, file);
    else
        png_set_write_fn(png, memory, AppendToMemory, FlushNothing);
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
    int ok = WriteRows(file, nullptr, width, height, colourType, rows);
    if (std::fclose(file) != 0)
        ok = 0;
    return ok;
}

// The surface's pixels as rows of red, green and blue bytes.
void RgbRowsOf(const PSurface& surface, std::vector<unsigned char>& bytes, std::vector<png_bytep>& rows)
{
    int width = surface.GetWidth(), height = surface.GetHeight();
    bytes.assign(size_t(width) * size_t(height) * 3, 0);
    rows.assign(size_t(height), nullptr);
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
}
}  // namespace

int WriteSurfacePng(const PSurface& surface, const char* path)
{
    std::vector<unsigned char> bytes;
    std::vector<png_bytep> rows;
    RgbRowsOf(surface, bytes, rows);
    return WriteFile(path, surface.GetWidth(), surface.GetHeight(), PNG_COLOR_TYPE_RGB, rows);
}

int EncodeSurfacePng(const PSurface& surface, std::vector<unsigned char>& png)
{
    png.clear();
    if (surface.GetWidth() <= 0 || surface.GetHeight() <= 0)
        return 0;
    std::vector<unsigned char> bytes;
    std::vector<png_bytep> rows;
    RgbRowsOf(surface, bytes, rows);
    return WriteRows(nullptr, &png, surface.GetWidth(), surface.GetHeight(), PNG_COLOR_TYPE_RGB, rows);
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
