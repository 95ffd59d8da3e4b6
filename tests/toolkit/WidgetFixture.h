#pragma once

#include <cstdint>
#include <vector>

#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "io/CMemIO.h"
#include "platform/PSurface.h"
#include "ToolkitFixture.h"

// Widgets on the headless desktop, with image cells made in memory.
class WidgetTest : public ToolkitTest {
protected:
    template <class T>
    T* NewWidget(int x, int y, int w, int h, CWindow* parent, uint32_t r = 10, uint32_t g = 20, uint32_t b = 30)
    {
        auto* widget = new T(app);
        held.emplace_back(widget);
        widget->Create(x, y, w, h, parent, nullptr, r, g, b);
        return widget;
    }

    // A w × h cell of one colour and one opacity.
    CBCell* UniformCell(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 255)
    {
        std::vector<unsigned char> bytes;
        auto header = [&] {
            for (uint32_t v : {uint32_t(w), uint32_t(h)})
                for (int i = 0; i < 4; i++)
                    bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
        };
        header();
        for (int i = 0; i < w * h; i++)
            bytes.insert(bytes.end(), {b, g, r});
        header();
        for (int i = 0; i < w * h; i++)
            bytes.insert(bytes.end(), {alpha, alpha, alpha});
        buffers.push_back(bytes);
        auto* stream = new CMemIO(app);
        Variable holdStream(stream);
        stream->OpenBlock(buffers.back().data(), uint32_t(buffers.back().size()));
        auto* cell = new CBCell(app);
        held.emplace_back(cell);
        EXPECT_EQ(cell->LoadCelChannels(stream), 1);
        return cell;
    }

    // What the window last copied to the screen at (x, y) of its client area.
    uint32_t Shown(CWindow* window, int x, int y) { return desktop.GetWindowPixel(window->handle, x, y); }
    uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return app->packColour(r, g, b); }

    // The points of a canvas that hold a colour, as (x, y) pairs in row order.
    static std::vector<std::pair<int, int>> PointsOf(CCanvas* canvas, uint32_t colour)
    {
        std::vector<std::pair<int, int>> points;
        for (int y = 0; y < canvas->GetHeight(); y++)
            for (int x = 0; x < canvas->GetWidth(); x++)
                if (canvas->GetSurface()->GetPixel(x, y) == colour)
                    points.emplace_back(x, y);
        return points;
    }

    std::vector<std::vector<unsigned char>> buffers;
};
