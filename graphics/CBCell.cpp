#include "graphics/CBCell.h"

#include <cstring>

#include "core/CApplication.h"
#include "graphics/CImageInput.h"
#include "graphics/Colour.h"
#include "graphics/ImageReaders.h"
#include "io/CFile.h"
#include "platform/PSurface.h"

namespace {
constexpr uint64_t CelPixelBytes = 3;
constexpr uint64_t CelHeaderBytes = 8;

uint32_t* NewChannel(size_t pixels)
{
    auto block = static_cast<uint32_t*>(CApplication::AllocateBlock(pixels * sizeof(uint32_t)));
    std::memset(block, 0, pixels * sizeof(uint32_t));
    return block;
}
}  // namespace

CBCell::CBCell(CApplication* app) : CCell(app) { className = "CBCell"; }

CBCell::~CBCell()
{
    LeaveRegistry();
    FreeChannels();
    if (created)
        DestroyCell();
}

int CBCell::Destroy() { return DestroyCell(); }

int CBCell::Load(const char* fileName)
{
    char extension[8];
    if (!UpperExtension(fileName, extension, sizeof extension))
        return 0;
    bool cel = std::strcmp(extension, "CEL") == 0, bmpCel = std::strcmp(extension, "BMPCEL") == 0;
    if (cel || bmpCel) {
        Variable file(new CFile(application));
        if (!file.As<CFile>()->OpenRead(fileName))
            return 0;
        int read = cel ? LoadCel(file.As<CFile>()) : LoadBmpCel(file.As<CFile>());
        BuildChannels();
        mask.Clear();
        return read;
    }
    if (!LoadImageByExtension(this, fileName))
        return 0;
    FreeChannels();
    NewMask();
    CCanvas* white = GetMask();
    white->Create(width, height);
    white->SetColourRGB(255, 255, 255);
    white->FillRect(0, 0, width, height);
    return 1;
}

int CBCell::LoadCel(CIO* stream) { return LoadPair(stream, LoadFis); }

int CBCell::LoadBmpCel(CIO* stream) { return LoadPair(stream, LoadBmp); }

int CBCell::LoadCelChannels(CIO* stream)
{
    Variable hold(stream);
    CImageInput input(stream);
    uint32_t w = 0, h = 0;
    if (!input.IsOpen() || !input.ReadU32(w) || !input.ReadU32(h))
        return 0;
    uint64_t pixels = uint64_t(w) * h, imageBytes = pixels * CelPixelBytes;
    if (!ImageSizeAllowed(w, h) || !input.Holds(imageBytes + CelHeaderBytes + imageBytes))
        return 0;
    AllocateChannels(int(w), int(h));
    auto bytes = static_cast<uint8_t*>(CApplication::AllocateBlock(size_t(imageBytes ? imageBytes : 1)));
    std::memset(bytes, 0, size_t(imageBytes));
    input.Read(bytes, uint32_t(imageBytes));
    for (size_t i = 0; i < pixels; i++) {
        blue[i] = bytes[3 * i];
        green[i] = bytes[3 * i + 1];
        red[i] = bytes[3 * i + 2];
    }
    std::memset(bytes, 0, size_t(imageBytes));
    if (input.Skip(CelHeaderBytes))
        input.Read(bytes, uint32_t(imageBytes));
    for (size_t i = 0; i < pixels; i++)
        alpha[i] = bytes[3 * i + 2];
    CApplication::Free(bytes);
    width = int(w);
    height = int(h);
    channelsReady = 1;
    return 1;
}

void CBCell::ResetCell()
{
    Reset();
    NewMask();
}

void CBCell::BuildChannels()
{
    CCanvas* maskCanvas = GetMask();
    if (!GetSurface() || !maskCanvas || !maskCanvas->GetSurface() || width <= 0 || height <= 0 ||
        maskCanvas->GetWidth() != width || maskCanvas->GetHeight() != height)
        return;
    AllocateChannels(width, height);
    const PSurface& image = *GetSurface();
    const PSurface& opacity = *maskCanvas->GetSurface();
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            size_t i = size_t(y) * width + x;
            uint32_t colour = image.Row(y)[x];
            alpha[i] = redOf(opacity.Row(y)[x]);
            red[i] = redOf(colour);
            green[i] = greenOf(colour);
            blue[i] = blueOf(colour);
        }
    mask.Clear();
    channelsReady = 1;
}

int CBCell::DestroyCell()
{
    FreeChannels();
    CCanvas::Destroy();
    return 0;
}

void CBCell::FreeChannels()
{
    if (!channelsReady)
        return;
    for (uint32_t** channel : {&red, &green, &blue, &alpha}) {
        CApplication::Free(*channel);
        *channel = nullptr;
    }
    channelsReady = 0;
}

void CBCell::AllocateChannels(int w, int h)
{
    FreeChannels();
    size_t pixels = size_t(w > 0 ? w : 0) * size_t(h > 0 ? h : 0);
    red = NewChannel(pixels);
    green = NewChannel(pixels);
    blue = NewChannel(pixels);
    alpha = NewChannel(pixels);
    channelsReady = 1;
}

void CBCell::NewMask()
{
    auto fresh = new CCanvas(application);
    mask = fresh;
    fresh->Reset();
}

// The colour image into the cell, then the mask image into a new mask canvas.
int CBCell::LoadPair(CIO* stream, int (*reader)(CCanvas*, CIO*))
{
    Variable hold(stream);
    if (!stream || !stream->created)
        return 0;
    FreeChannels();
    NewMask();
    if (!reader(this, stream))
        return 0;
    return reader(GetMask(), stream);
}
