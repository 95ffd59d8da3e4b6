#include "app/LabPlot.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <vector>

#include "app/CanvasPlotPainter.h"
#include "app/PlotInput.h"
#include "app/PlotScale.h"
#include "app/SvgPlotPainter.h"
#include "core/CApplication.h"
#include "graphics/CCanvas.h"
#include "io/CReplacingFile.h"
#include "platform/PngWriter.h"

namespace {
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r + g * 256 + b * 65536; }
constexpr uint32_t White = Rgb(255, 255, 255);
constexpr uint32_t Black = Rgb(0, 0, 0);
constexpr uint32_t Grid = Rgb(226, 226, 226);
constexpr uint32_t LegendEdge = Rgb(150, 150, 150);
constexpr uint32_t Bars = Rgb(70, 70, 70);
constexpr uint32_t Points = Rgb(0, 70, 170);
constexpr uint32_t FittedLine = Rgb(210, 30, 30);
constexpr int MostTicks = 8;
constexpr int MostResidualTicks = 5;  // a short panel

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(double v)
    {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
};

// A panel: its box in pixels and the ticks at its ends.
struct Panel {
    double left = 0, top = 0, width = 0, height = 0;
    PlotTicks x, y;

    double X(double u) const { return left + (u - x.low) / (x.high - x.low) * width; }
    double Y(double v) const { return top + height - (v - y.low) / (y.high - y.low) * height; }
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

// Sizes, all in proportion to the plot's height.
struct Sizes {
    explicit Sizes(double height) : s(height / 600) {}
    double s;
    PlotText tick{12 * s}, title{13 * s}, legend{12 * s}, legendTitle{13 * s, true};
    double tickLength = 6 * s, pad = 8 * s, gap = 16 * s, radius = 3.2 * s, cap = 4 * s;
    double axisWidth = 1.2 * s, barWidth = 1 * s, lineWidth = 1.8 * s, gridWidth = 1 * s;
};

struct Legend {
    std::vector<std::string> lines;  // the first is the fit's name
    double width = 0, height = 0, lineHeight = 0;
};

struct Layout {
    Panel main, residual;
    int xPower = 0, yPower = 0, residualPower = 0;
    double xLow = 0, xHigh = 0;  // the data's range, bars included: where the line runs
    Legend legend;
    double legendX = 0, legendY = 0;
};

bool Usable(const PlotInput& in, size_t i) { return std::isfinite(in.x[i]) && std::isfinite(in.y[i]); }

// Text with exponents written "10^-7": the exponent smaller and raised.
struct Piece {
    std::string text;
    bool raised;
};

std::vector<Piece> Pieces(const std::string& text)
{
    std::vector<Piece> pieces;
    size_t at = 0;
    while (at < text.size()) {
        size_t caret = text.find('^', at);
        pieces.push_back({text.substr(at, caret - at), false});
        if (caret == std::string::npos)
            break;
        size_t end = text.find_first_not_of("-0123456789", caret + 1);
        pieces.push_back({text.substr(caret + 1, end - caret - 1), true});
        at = end == std::string::npos ? text.size() : end;
    }
    return pieces;
}

PlotText Raised(PlotText look)
{
    look.size *= 0.72;
    look.anchor = TextAnchor::Start;
    return look;
}

double RichWidth(PlotPainter& p, const std::string& text, const PlotText& look)
{
    double width = 0;
    for (const Piece& piece : Pieces(text))
        width += p.TextWidth(piece.text, piece.raised ? Raised(look) : look);
    return width;
}

void Rich(PlotPainter& p, double x, double y, const std::string& text, const PlotText& look)
{
    double width = RichWidth(p, text, look);
    double along = look.anchor == TextAnchor::Start ? 0 : look.anchor == TextAnchor::Middle ? width / 2 : width;
    PlotText plain = look;
    plain.anchor = TextAnchor::Start;
    for (const Piece& piece : Pieces(text)) {
        PlotText drawn = piece.raised ? Raised(look) : plain;
        double lift = piece.raised ? look.size * 0.38 : 0;
        if (look.vertical)
            p.Text(x - lift, y + along, piece.text, drawn);
        else
            p.Text(x - along, y - lift, piece.text, drawn);
        along -= p.TextWidth(piece.text, drawn);
    }
}

std::string PowerNote(int power) { return power ? " (\xD7" "10^" + std::to_string(power) + ")" : ""; }

// The ranges the panels must hold: every point with its bars, the line where it is
// drawn, the residuals with theirs and zero.
void Ranges(const PlotInput& in, Range& x, Range& y, Range& residual)
{
    for (size_t i = 0; i < in.x.size(); i++) {
        if (!Usable(in, i))
            continue;
        x.Add(in.x[i] - in.ex[i]);
        x.Add(in.x[i] + in.ex[i]);
        y.Add(in.y[i] - in.ey[i]);
        y.Add(in.y[i] + in.ey[i]);
        double bar = in.normalised ? 0 : in.ey[i];
        residual.Add(in.residuals[i] - bar);
        residual.Add(in.residuals[i] + bar);
    }
    if (x.low <= x.high) {
        y.Add(in.a * x.low + in.b);
        y.Add(in.a * x.high + in.b);
    }
    residual.Add(0);
}

Legend MakeLegend(PlotPainter& p, const PlotInput& in, const Sizes& z)
{
    Legend legend;
    legend.lines.push_back(in.fit);
    legend.lines.push_back("y = A\xB7x + B");
    for (const PlotLegendLine& line : in.legend)
        legend.lines.push_back(line.name + " = " +
                               (line.error >= 0 ? ValueWithError(line.value, line.error) : ValueText(line.value, line.digits)));
    legend.lineHeight = z.legend.size * 1.3;
    for (size_t i = 0; i < legend.lines.size(); i++)
        legend.width = std::max(legend.width, RichWidth(p, legend.lines[i], i ? z.legend : z.legendTitle));
    legend.width += 2 * z.pad;
    legend.height = legend.lineHeight * static_cast<double>(legend.lines.size()) + z.pad;
    return legend;
}

// Panels for the given y range of the main panel.
void Arrange(PlotPainter& p, const Sizes& z, int width, int height, double yLow, double yHigh,
             const Range& x, const Range& residual, Layout& l)
{
    l.main.x = l.residual.x = ChooseTicks(x.low, x.high, MostTicks);
    l.main.y = ChooseTicks(yLow, yHigh, MostTicks);
    l.residual.y = ChooseTicks(residual.low, residual.high, MostResidualTicks);
    l.xPower = TickPower(l.main.x);
    l.yPower = TickPower(l.main.y);
    l.residualPower = TickPower(l.residual.y);
    double labels = 0;
    for (int i = 0; i < l.main.y.count; i++)
        labels = std::max(labels, p.TextWidth(TickText(l.main.y, i, l.yPower), z.tick));
    for (int i = 0; i < l.residual.y.count; i++)
        labels = std::max(labels, p.TextWidth(TickText(l.residual.y, i, l.residualPower), z.tick));
    double lastLabel = p.TextWidth(TickText(l.main.x, l.main.x.count - 1, l.xPower), z.tick);
    double left = z.pad + z.title.size + z.pad + labels + z.tickLength + z.pad / 2;
    double right = std::max(2 * z.pad, lastLabel / 2 + z.pad);
    double top = 1.5 * z.pad;
    double bottom = z.tickLength + z.pad / 2 + z.tick.size + z.pad + z.title.size + z.pad;
    double area = height - top - bottom - z.gap;
    for (Panel* panel : {&l.main, &l.residual}) {
        panel->left = left;
        panel->width = width - left - right;
    }
    l.main.top = top;
    l.main.height = area * 0.72;
    l.residual.top = top + l.main.height + z.gap;
    l.residual.height = area - l.main.height;
}

// How much of the data and the line a box at (x, y) would hide.
double Covered(const PlotInput& in, const Layout& l, double x, double y)
{
    auto inside = [&](double px, double py) {
        return px >= x && px <= x + l.legend.width && py >= y && py <= y + l.legend.height;
    };
    double count = 0;
    for (size_t i = 0; i < in.x.size(); i++)
        if (Usable(in, i) && inside(l.main.X(in.x[i]), l.main.Y(in.y[i])))
            count++;
    for (int k = 0; k <= 100; k++) {
        double u = l.xLow + (l.xHigh - l.xLow) * k / 100;
        if (inside(l.main.X(u), l.main.Y(in.a * u + in.b)))
            count += 5;
    }
    return count;
}

// The corner of the main panel where the legend hides least: top left, top right,
// bottom right, bottom left, the first of equals.
double PlaceLegend(const PlotInput& in, const Sizes& z, Layout& l)
{
    const Panel& m = l.main;
    double inset = z.pad + z.axisWidth;
    double xs[2] = {m.left + inset, m.Right() - inset - l.legend.width};
    double ys[2] = {m.top + inset, m.Bottom() - inset - l.legend.height};
    const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    double best = std::numeric_limits<double>::infinity();
    for (const auto& c : corners) {
        double covered = Covered(in, l, xs[c[0]], ys[c[1]]);
        if (covered < best) {
            best = covered;
            l.legendX = xs[c[0]];
            l.legendY = ys[c[1]];
        }
    }
    return best;
}

Layout MakeLayout(PlotPainter& p, const PlotInput& in, const Sizes& z, int width, int height)
{
    Range x, y, residual;
    Ranges(in, x, y, residual);
    Layout l;
    l.xLow = x.low;
    l.xHigh = x.high;
    l.legend = MakeLegend(p, in, z);
    Arrange(p, z, width, height, y.low, y.high, x, residual, l);
    if (x.low > x.high || PlaceLegend(in, z, l) == 0)
        return l;
    // No corner is free: room for the legend above the data.
    double share = std::min(0.6, (l.legend.height + 2 * z.pad) / l.main.height);
    double span = l.main.y.high - l.main.y.low;
    Arrange(p, z, width, height, y.low, l.main.y.high + span * share / (1 - share), x, residual, l);
    PlaceLegend(in, z, l);
    return l;
}

void DrawGrid(PlotPainter& p, const Panel& panel, const Sizes& z)
{
    std::vector<PlotSegment> lines;
    for (int i = 0; i < panel.x.count; i++)
        lines.push_back({panel.X(panel.x.At(i)), panel.top, panel.X(panel.x.At(i)), panel.Bottom()});
    for (int i = 0; i < panel.y.count; i++)
        lines.push_back({panel.left, panel.Y(panel.y.At(i)), panel.Right(), panel.Y(panel.y.At(i))});
    p.Segments(lines, z.gridWidth, Grid);
}

// Error bars with caps, each ey long above and below (and ex left and right when
// given); a bar hidden under its point is left out, and so are the caps of one that
// barely shows beyond it.
void AddBars(std::vector<PlotSegment>& bars, const Panel& panel, const Sizes& z, double x, double ex, double y,
             double ey)
{
    double px = panel.X(x), py = panel.Y(y);
    double half = (panel.Y(y - ey) - panel.Y(y + ey)) / 2;
    if (half > z.radius) {
        bars.push_back({px, py - half, px, py + half});
        if (half > z.radius + z.cap / 2) {
            bars.push_back({px - z.cap, py - half, px + z.cap, py - half});
            bars.push_back({px - z.cap, py + half, px + z.cap, py + half});
        }
    }
    half = (panel.X(x + ex) - panel.X(x - ex)) / 2;
    if (half > z.radius) {
        bars.push_back({px - half, py, px + half, py});
        if (half > z.radius + z.cap / 2) {
            bars.push_back({px - half, py - z.cap, px - half, py + z.cap});
            bars.push_back({px + half, py - z.cap, px + half, py + z.cap});
        }
    }
}

void DrawData(PlotPainter& p, const PlotInput& in, const Layout& l, const Sizes& z)
{
    std::vector<PlotSegment> bars;
    std::vector<PlotPoint> points;
    points.reserve(in.x.size());
    for (size_t i = 0; i < in.x.size(); i++) {
        if (!Usable(in, i))
            continue;
        AddBars(bars, l.main, z, in.x[i], in.ex[i], in.y[i], in.ey[i]);
        points.push_back({l.main.X(in.x[i]), l.main.Y(in.y[i])});
    }
    p.Segments(bars, z.barWidth, Bars);
    if (l.xLow <= l.xHigh) {
        const Panel& m = l.main;
        p.Segments({{m.X(l.xLow), m.Y(in.a * l.xLow + in.b), m.X(l.xHigh), m.Y(in.a * l.xHigh + in.b)}}, z.lineWidth,
                   FittedLine);
    }
    p.Dots(points, z.radius, Points);
}

void DrawResiduals(PlotPainter& p, const PlotInput& in, const Layout& l, const Sizes& z)
{
    const Panel& r = l.residual;
    p.Segments({{r.left, r.Y(0), r.Right(), r.Y(0)}}, z.barWidth * 1.4, FittedLine);
    std::vector<PlotSegment> bars;
    std::vector<PlotPoint> points;
    points.reserve(in.x.size());
    for (size_t i = 0; i < in.x.size(); i++) {
        if (!Usable(in, i) || !std::isfinite(in.residuals[i]))
            continue;
        AddBars(bars, r, z, in.x[i], 0, in.residuals[i], in.normalised ? 0 : in.ey[i]);
        points.push_back({r.X(in.x[i]), r.Y(in.residuals[i])});
    }
    p.Segments(bars, z.barWidth, Bars);
    p.Dots(points, z.radius, Points);
}

// The left and bottom axes of a panel with their ticks, and the numbers of the left one
// (and of the bottom one when asked).
void DrawAxes(PlotPainter& p, const Panel& panel, int yPower, int xPower, bool xNumbers, const Sizes& z)
{
    std::vector<PlotSegment> lines = {{panel.left, panel.top, panel.left, panel.Bottom()},
                                      {panel.left, panel.Bottom(), panel.Right(), panel.Bottom()}};
    for (int i = 0; i < panel.y.count; i++) {
        double y = panel.Y(panel.y.At(i));
        lines.push_back({panel.left - z.tickLength, y, panel.left, y});
        PlotText look = z.tick;
        look.anchor = TextAnchor::End;
        p.Text(panel.left - z.tickLength - z.pad / 2, y + z.tick.size / 2, TickText(panel.y, i, yPower), look);
    }
    for (int i = 0; i < panel.x.count; i++) {
        double x = panel.X(panel.x.At(i));
        lines.push_back({x, panel.Bottom(), x, panel.Bottom() + z.tickLength});
        if (!xNumbers)
            continue;
        PlotText look = z.tick;
        look.anchor = TextAnchor::Middle;
        p.Text(x, panel.Bottom() + z.tickLength + z.pad / 4 + z.tick.size, TickText(panel.x, i, xPower), look);
    }
    p.Segments(lines, z.axisWidth, Black);
}

void DrawTitles(PlotPainter& p, const PlotInput& in, const Layout& l, const Sizes& z, int height)
{
    PlotText across = z.title;
    across.anchor = TextAnchor::Middle;
    const Panel& r = l.residual;
    Rich(p, r.left + r.width / 2, height - z.pad, "Valores X" + PowerNote(l.xPower), across);
    PlotText upward = across;
    upward.vertical = true;
    double column = z.pad + z.title.size;
    Rich(p, column, l.main.top + l.main.height / 2, "Valores Y" + PowerNote(l.yPower), upward);
    Rich(p, column, r.top + r.height / 2,
         std::string(in.normalised ? "Residuos / error" : "Residuos") + PowerNote(l.residualPower), upward);
}

void DrawLegend(PlotPainter& p, const Layout& l, const Sizes& z)
{
    const Legend& legend = l.legend;
    p.Fill(l.legendX, l.legendY, legend.width, legend.height, White);
    p.Outline(l.legendX, l.legendY, legend.width, legend.height, z.gridWidth, LegendEdge);
    for (size_t i = 0; i < legend.lines.size(); i++) {
        double bottom = l.legendY + z.pad / 2 + legend.lineHeight * static_cast<double>(i + 1) - z.pad / 4;
        Rich(p, l.legendX + z.pad, bottom, legend.lines[i], i ? z.legend : z.legendTitle);
    }
}

std::vector<unsigned char> PlotBytes(CApplication* app, const PlotInput& input, bool svg)
{
    if (svg) {
        SvgPlotPainter painter(app, LabPlotWidth, LabPlotHeight);
        DrawLabPlot(painter, input, LabPlotWidth, LabPlotHeight);
        std::string text = painter.Finish();
        return std::vector<unsigned char>(text.begin(), text.end());
    }
    Variable canvas(new CCanvas(app));
    auto* plot = canvas.As<CCanvas>();
    plot->Create(LabPlotWidth, LabPlotHeight);
    CanvasPlotPainter painter(app, plot);
    DrawLabPlot(painter, input, LabPlotWidth, LabPlotHeight);
    std::vector<unsigned char> png;
    if (!plot->GetSurface() || !EncodeSurfacePng(*plot->GetSurface(), png))
        png.clear();
    return png;
}
}  // namespace

void DrawLabPlot(PlotPainter& painter, const PlotInput& input, int width, int height)
{
    Sizes z(height);
    painter.Fill(0, 0, width, height, White);
    Layout l = MakeLayout(painter, input, z, width, height);
    DrawGrid(painter, l.main, z);
    DrawGrid(painter, l.residual, z);
    DrawData(painter, input, l, z);
    DrawResiduals(painter, input, l, z);
    DrawAxes(painter, l.main, l.yPower, l.xPower, false, z);
    DrawAxes(painter, l.residual, l.residualPower, l.xPower, true, z);
    DrawTitles(painter, input, l, z, height);
    DrawLegend(painter, l, z);
}

bool IsSvgName(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return end == ".svg";
}

int WriteLabPlot(CApplication* app, const PlotInput& input, const char* path, int* error)
{
    int reason = EINVAL;
    if (path) {
        std::vector<unsigned char> bytes = PlotBytes(app, input, IsSvgName(path));
        Variable file(new CReplacingFile(app));
        auto* out = file.As<CReplacingFile>();
        errno = 0;
        if (bytes.empty()) {
            reason = ENOMEM;
        } else if (!out->Begin(path)) {
            reason = errno ? errno : EIO;
        } else if (out->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), 1) != 1) {
            reason = errno ? errno : EIO;
            out->Abandon();
        } else if (out->Finish()) {
            return 1;
        } else {
            reason = errno ? errno : EIO;
        }
    }
    if (error)
        *error = reason;
    return 0;
}
