// PNG output through the encoder of our own, where libpng is not at hand (Windows).
#include <cstdio>
#include <vector>

#include "platform/FileNames.h"
#include "platform/PSurface.h"
#include "platform/PngEncoder.h"
#include "platform/PngWriter.h"

namespace {
std::vector<unsigned char> RgbOf(const PSurface& surface)
{
    int width = surface.GetWidth(), height = surface.GetHeight();
    std::vector<unsigned char> bytes(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; y++) {
        unsigned char* out = bytes.data() + size_t(y) * size_t(width) * 3;
        const uint32_t* in = surface.Row(y);
        for (int x = 0; x < width; x++) {
            out[3 * x] = static_cast<unsigned char>(in[x]);
            out[3 * x + 1] = static_cast<unsigned char>(in[x] >> 8);
            out[3 * x + 2] = static_cast<unsigned char>(in[x] >> 16);
        }
    }
    return bytes;
}

int WriteBytes(const std::vector<unsigned char>& png, const char* path)
{
    std::FILE* file = platform::OpenFile(path, "wb");
    if (!file)
        return 0;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (std::fclose(file) != 0)
        ok = false;
    return ok ? 1 : 0;
}
}  // namespace

int EncodeSurfacePng(const PSurface& surface, std::vector<unsigned char>& png)
{
    png.clear();
    if (surface.GetWidth() <= 0 || surface.GetHeight() <= 0)
        return 0;
    return PngEncoder::Encode(RgbOf(surface).data(), surface.GetWidth(), surface.GetHeight(), PngEncoder::Rgb, png)
               ? 1
               : 0;
}

int WriteSurfacePng(const PSurface& surface, const char* path)
{
    std::vector<unsigned char> png;
    if (!path || !EncodeSurfacePng(surface, png))
        return 0;
    return WriteBytes(png, path);
}

int WriteRgbaPng(const unsigned char* rgba, int width, int height, const char* path)
{
    std::vector<unsigned char> png;
    if (!path || !PngEncoder::Encode(rgba, width, height, PngEncoder::Rgba, png))
        return 0;
    return WriteBytes(png, path);
}
