#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <list>
#include <string>
#include <vector>

#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "graphics/Colour.h"
#include "io/CMemIO.h"
#include "platform/PSurface.h"
#include "tests/common/TempFolder.h"
#include "tests/core/AppFixture.h"

// Little-endian byte strings for image files written inline in tests.
struct Bytes {
    std::string data;
    Bytes& U8(uint32_t v) { data.push_back(char(v & 255)); return *this; }
    Bytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    Bytes& U32(uint32_t v) { return U16(v).U16(v >> 16); }
    Bytes& Bgr(uint32_t r, uint32_t g, uint32_t b) { return U8(b).U8(g).U8(r); }
    Bytes& Repeat(const Bytes& part, int n) { for (int i = 0; i < n; i++) data += part.data; return *this; }
    Bytes& Append(const Bytes& other) { data += other.data; return *this; }
};

// A FIS image of one colour.
inline Bytes UniformFis(uint32_t w, uint32_t h, uint32_t r, uint32_t g, uint32_t b)
{
    Bytes pixel;
    pixel.Bgr(r, g, b);
    return Bytes().U32(w).U32(h).Repeat(pixel, int(w * h));
}

// A fresh application per test, a temporary folder, and helpers to make canvases and
// streams over inline bytes.
class GraphicsFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        folder = MakeTempFolder("ajustor-gfx");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override
    {
        held.clear();
        AppFixture::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    template <class T>
    T* Make()
    {
        held.emplace_back(new T(app));
        return held.back().template As<T>();
    }

    CCanvas* Canvas(int w, int h, uint32_t colour)
    {
        CCanvas* canvas = Make<CCanvas>();
        canvas->Create(w, h);
        canvas->SetColour(colour);
        canvas->FillRect(0, 0, w, h);
        return canvas;
    }

    // A bounded memory stream over a copy of the bytes, kept alive by the fixture.
    CMemIO* Stream(const Bytes& bytes)
    {
        buffers.push_back(bytes.data);
        CMemIO* stream = Make<CMemIO>();
        stream->OpenBlock(buffers.back().data(), uint32_t(buffers.back().size()));
        return stream;
    }

    std::string File(const std::string& name, const Bytes& bytes)
    {
        std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes.data;
        return path;
    }

    static uint32_t Pixel(CCanvas* canvas, int x, int y) { return canvas->GetSurface()->GetPixel(x, y); }

    static int CountPixels(CCanvas* canvas, uint32_t colour)
    {
        int n = 0;
        for (int y = 0; y < canvas->GetHeight(); y++)
            for (int x = 0; x < canvas->GetWidth(); x++)
                n += Pixel(canvas, x, y) == colour;
        return n;
    }

    std::string folder;
    std::vector<Variable> held;
    std::list<std::string> buffers;
};
