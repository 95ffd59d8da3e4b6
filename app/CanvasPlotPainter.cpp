#include "app/CanvasPlotPainter.h"

#include <algorithm>
#include <cmath>

#include "graphics/CCanvas.h"
#include "platform/PFont.h"
#include "platform/PSurface.h"

namespace {
// A coordinate in pixels; far outside any canvas is as good as infinity.
int Pixel(double v)
{
    if (!(v > -100000))
        return -100000;
    return v < 100000 ? static_cast<int>(std::lround(v)) : 100000;
}

int Thickness(double width) { return std::max(1, static_cast<int>(std::lround(width))); }

// How far the start of a text lies before its anchor.
double Shift(const PlotText& look, double textWidth)
{
    return look.anchor == TextAnchor::Start ? 0 : look.anchor == TextAnchor::Middle ? textWidth / 2 : textWidth;
}
}  // namespace

void CanvasPlotPainter::Fill(double x, double y, double w, double h, uint32_t colour)
{
    canvas->SetColour(colour);
    int left = Pixel(x), top = Pixel(y);
    canvas->FillRect(left, top, Pixel(x + w) - left, Pixel(y + h) - top);
}

void CanvasPlotPainter::Outline(double x, double y, double w, double h, double width, uint32_t colour)
{
    Segments({{x, y, x + w, y}, {x + w, y, x + w, y + h}, {x + w, y + h, x, y + h}, {x, y + h, x, y}}, width, colour);
}

void CanvasPlotPainter::Segments(const std::vector<PlotSegment>& segments, double width, uint32_t colour)
{
    canvas->SetColour(colour);
    int thickness = Thickness(width);
    for (const PlotSegment& s : segments)
        Segment(s, thickness);
}

// Level and upright segments are rectangles; others are parallel one-pixel lines.
void CanvasPlotPainter::Segment(const PlotSegment& s, int thickness)
{
    int x1 = Pixel(s.x1), y1 = Pixel(s.y1), x2 = Pixel(s.x2), y2 = Pixel(s.y2);
    int before = (thickness - 1) / 2;
    if (y1 == y2) {
        canvas->FillRect(std::min(x1, x2) - before, y1 - before, std::abs(x2 - x1) + thickness, thickness);
    } else if (x1 == x2) {
        canvas->FillRect(x1 - before, std::min(y1, y2) - before, thickness, std::abs(y2 - y1) + thickness);
    } else {
        bool level = std::abs(x2 - x1) >= std::abs(y2 - y1);
        for (int k = -before; k < thickness - before; k++) {
            if (level)
                canvas->Line(x1, y1 + k, x2, y2 + k);
            else
                canvas->Line(x1 + k, y1, x2 + k, y2);
        }
    }
}

void CanvasPlotPainter::Dots(const std::vector<PlotPoint>& centres, double radius, uint32_t colour)
{
    canvas->SetColour(colour);
    int r = std::max(1, static_cast<int>(std::lround(radius)));
    std::vector<int> half(static_cast<size_t>(2 * r + 1));
    for (int dy = -r; dy <= r; dy++)
        half[static_cast<size_t>(dy + r)] = static_cast<int>(std::lround(std::sqrt(radius * radius - dy * dy + 0.25)));
    for (const PlotPoint& c : centres) {
        int x = Pixel(c.x), y = Pixel(c.y);
        for (int dy = -r; dy <= r; dy++) {
            int h = half[static_cast<size_t>(dy + r)];
            canvas->FillRect(x - h, y + dy, 2 * h + 1, 1);
        }
    }
}

void CanvasPlotPainter::Text(double x, double y, const std::string& text, const PlotText& look)
{
    PSurface* surface = canvas->GetSurface();
    if (!surface || text.empty())
        return;
    double shift = Shift(look, TextWidth(text, look));
    if (look.vertical)
        VerticalText(Pixel(x), Pixel(y + shift), text, look);
    else
        surface->DrawText(Pixel(x - shift), Pixel(y), text.data(), static_cast<int>(text.size()), fonts.Get(look), 0);
}

// The text is written level on a surface of its own, then each of its pixels set on the
// canvas a quarter turn to the left: its start at (x, y), its cell's bottom on column x.
void CanvasPlotPainter::VerticalText(int x, int y, const std::string& text, const PlotText& look)
{
    const PFont* font = fonts.Get(look);
    int width = font->TextWidth(text.data(), static_cast<int>(text.size())), height = font->GetHeight();
    PSurface level(width, height);
    level.DrawText(0, height, text.data(), static_cast<int>(text.size()), font, 0xFFFFFF);
    PSurface* surface = canvas->GetSurface();
    for (int v = 0; v < height; v++)
        for (int u = 0; u < width; u++)
            if (level.GetPixel(u, v) != 0)
                surface->SetPixel(x - height + v, y - u, 0);
}
