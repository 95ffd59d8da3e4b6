#pragma once

#include "app/PlotPainter.h"

// Writes a plot as an SVG document: shapes as paths (every segment or dot of one call
// in one path, so a large data set stays a small file), text kept as text in UTF-8.
// Texts are measured with the program's fonts; the SVG names the same faces.
class SvgPlotPainter : public PlotPainter {
public:
    SvgPlotPainter(CApplication* app, int width, int height);

    void Fill(double x, double y, double w, double h, uint32_t colour) override;
    void Outline(double x, double y, double w, double h, double width, uint32_t colour) override;
    void Segments(const std::vector<PlotSegment>& segments, double width, uint32_t colour) override;
    void Dots(const std::vector<PlotPoint>& centres, double radius, uint32_t colour) override;
    void Text(double x, double y, const std::string& text, const PlotText& look) override;

    // The document, closed.
    std::string Finish();

private:
    void Colour(uint32_t colour);

    std::string out;
};
