#include "app/SvgPlotPainter.h"

#include <cmath>

#include "platform/PCodePage.h"

namespace {
// The faces our fonts ask for, and what a browser has in their place.
constexpr const char* Faces = "Arial, Helvetica, 'Nimbus Sans', 'Liberation Sans', sans-serif";
// An Arial-like face's cell (ascent + descent) is about 1.15 em.
constexpr double CellPerEm = 1.15;

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : platform::Cp1252ToUtf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
        }
    }
    return out;
}

// Tenths of a pixel are finer than any screen or printer needs here.
void Put(std::string& out, double v)
{
    if (!std::isfinite(v) || std::fabs(v) > 1e9)
        v = 0;
    long long tenths = std::llround(v * 10);
    if (tenths < 0) {
        out += '-';
        tenths = -tenths;
    }
    out += std::to_string(tenths / 10);
    if (tenths % 10) {
        out += '.';
        out += static_cast<char>('0' + tenths % 10);
    }
}
}  // namespace

SvgPlotPainter::SvgPlotPainter(CApplication* app, int width, int height) : PlotPainter(app)
{
    std::string w = std::to_string(width), h = std::to_string(height);
    out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
          "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"" + Faces + "\">\n";
}

std::string SvgPlotPainter::Finish() { return out + "</svg>\n"; }

void SvgPlotPainter::Fill(double x, double y, double w, double h, uint32_t colour)
{
    out += "<rect x=\"";
    Put(out, x);
    out += "\" y=\"";
    Put(out, y);
    out += "\" width=\"";
    Put(out, w);
    out += "\" height=\"";
    Put(out, h);
    out += "\" fill=\"";
    Colour(colour);
    out += "\"/>\n";
}

void SvgPlotPainter::Outline(double x, double y, double w, double h, double width, uint32_t colour)
{
    Segments({{x, y, x + w, y}, {x + w, y, x + w, y + h}, {x + w, y + h, x, y + h}, {x, y + h, x, y}}, width, colour);
}

void SvgPlotPainter::Segments(const std::vector<PlotSegment>& segments, double width, uint32_t colour)
{
    if (segments.empty())
        return;
    out += "<path fill=\"none\" stroke-linecap=\"square\" stroke=\"";
    Colour(colour);
    out += "\" stroke-width=\"";
    Put(out, width);
    out += "\" d=\"";
    for (const PlotSegment& s : segments) {
        out += 'M';
        Put(out, s.x1);
        out += ' ';
        Put(out, s.y1);
        out += 'L';
        Put(out, s.x2);
        out += ' ';
        Put(out, s.y2);
    }
    out += "\"/>\n";
}

// Each dot is two half circles.
void SvgPlotPainter::Dots(const std::vector<PlotPoint>& centres, double radius, uint32_t colour)
{
    if (centres.empty())
        return;
    out += "<path stroke=\"none\" fill=\"";
    Colour(colour);
    out += "\" d=\"";
    std::string r;
    Put(r, radius);
    for (const PlotPoint& c : centres) {
        out += 'M';
        Put(out, c.x - radius);
        out += ' ';
        Put(out, c.y);
        out += "a" + r + " " + r + " 0 1 0 ";
        Put(out, 2 * radius);
        out += " 0a" + r + " " + r + " 0 1 0 ";
        Put(out, -2 * radius);
        out += " 0z";
    }
    out += "\"/>\n";
}

// The cell's bottom lies below the baseline by the font's descent.
void SvgPlotPainter::Text(double x, double y, const std::string& text, const PlotText& look)
{
    double descent = fonts.Descent(look);
    double bx = look.vertical ? x - descent : x, by = look.vertical ? y : y - descent;
    out += "<text x=\"";
    Put(out, bx);
    out += "\" y=\"";
    Put(out, by);
    out += "\" font-size=\"";
    Put(out, look.size / CellPerEm);
    out += '"';
    if (look.bold)
        out += " font-weight=\"bold\"";
    if (look.anchor != TextAnchor::Start)
        out += look.anchor == TextAnchor::Middle ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
    if (look.vertical) {
        out += " transform=\"rotate(-90 ";
        Put(out, bx);
        out += ' ';
        Put(out, by);
        out += ")\"";
    }
    out += '>' + Escaped(text) + "</text>\n";
}

void SvgPlotPainter::Colour(uint32_t colour)
{
    static const char Hex[] = "0123456789abcdef";
    out += '#';
    for (int shift : {0, 8, 16}) {
        uint32_t byte = (colour >> shift) & 0xFF;
        out += Hex[byte >> 4];
        out += Hex[byte & 15];
    }
}
