#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/PlotFonts.h"

// Where a plot with axes is drawn: a canvas (PNG, the window) or an SVG document. Sizes
// are pixels of the plot, (0, 0) at its top left; colours are colour references
// (r + g·256 + b·65536). Texts are Windows-1252.
struct PlotPoint {
    double x, y;
};
struct PlotSegment {
    double x1, y1, x2, y2;
};
enum class TextAnchor { Start, Middle, End };

struct PlotText {
    double size;  // the height of the text's cell
    bool bold = false;
    TextAnchor anchor = TextAnchor::Start;
    bool vertical = false;  // read from bottom to top
};

class PlotPainter {
public:
    explicit PlotPainter(CApplication* app) : fonts(app) {}
    virtual ~PlotPainter() = default;

    virtual void Fill(double x, double y, double w, double h, uint32_t colour) = 0;
    virtual void Outline(double x, double y, double w, double h, double width, uint32_t colour) = 0;
    virtual void Segments(const std::vector<PlotSegment>& segments, double width, uint32_t colour) = 0;
    virtual void Dots(const std::vector<PlotPoint>& centres, double radius, uint32_t colour) = 0;
    // Black text; (x, y) is on the bottom edge of its cell (the right edge when
    // vertical), at the start, middle or end as anchored.
    virtual void Text(double x, double y, const std::string& text, const PlotText& look) = 0;
    // Every painter measures with the program's fonts, so the PNG and the SVG lay out
    // alike.
    double TextWidth(const std::string& text, const PlotText& look) { return fonts.Width(text, look); }

protected:
    PlotFonts fonts;
};
