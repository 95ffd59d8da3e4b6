#pragma once

#include "app/PlotPainter.h"

class CCanvas;

// Draws a plot onto a canvas: lines thicker than a pixel as parallel lines, dots as
// runs of pixels, vertical text turned pixel by pixel.
class CanvasPlotPainter : public PlotPainter {
public:
    CanvasPlotPainter(CApplication* app, CCanvas* canvas) : PlotPainter(app), canvas(canvas) {}

    void Fill(double x, double y, double w, double h, uint32_t colour) override;
    void Outline(double x, double y, double w, double h, double width, uint32_t colour) override;
    void Segments(const std::vector<PlotSegment>& segments, double width, uint32_t colour) override;
    void Dots(const std::vector<PlotPoint>& centres, double radius, uint32_t colour) override;
    void Text(double x, double y, const std::string& text, const PlotText& look) override;

private:
    void Segment(const PlotSegment& s, int thickness);
    void VerticalText(int x, int y, const std::string& text, const PlotText& look);

    CCanvas* canvas;
};
