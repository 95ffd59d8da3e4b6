#include "app/FitPlot.h"

#include <cmath>

#include "app/FitRows.h"
#include "graphics/CCanvas.h"

namespace {
struct Row {
    double x, ex, y, ey;
};

// Maps data to pixels: u to (u − minX)·kx, v to 600 − (v − minY)·ky.
struct Box {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double kx = 0, ky = 0;

    double PX(double u) const { return (u - minX) * kx; }
    double PY(double v) const { return PlotHeight - (v - minY) * ky; }
};

// Calls visit(row) for every row whose point is finite.
template <class Visit>
void ForEachPoint(const FitRows& rows, Visit visit)
{
    rows.ForEachPoint([&](double x, double ex, double y, double ey) {
        if (std::isfinite(x) && std::isfinite(y))
            visit(Row{x, ex, y, ey});
    });
}

bool Finite(double v) { return std::isfinite(v); }

void Widen(double& low, double& high, double low1, double high1)
{
    if (Finite(high1) && high1 > high)
        high = high1;
    if (Finite(low1) && low1 < low)
        low = low1;
}

// The box always holds the origin, so a range is empty only when every value and error
// on that axis is 0: it then gets the box from −1 to 1 instead of a division by zero.
// A range too wide for a double gives a scale of 0, and the points fall on one edge.
void Scale(double& low, double& high, double pixels, double& k)
{
    if (!(high > low)) {
        low = -1;
        high = 1;
    }
    k = pixels / (high - low);
}

Box BoundingBox(const FitRows& rows)
{
    Box box;
    ForEachPoint(rows, [&](const Row& r) {
        double ex = Finite(r.ex) ? r.ex : 0, ey = Finite(r.ey) ? r.ey : 0;
        Widen(box.minX, box.maxX, r.x - ex, r.x + ex);
        Widen(box.minY, box.maxY, r.y - ey, r.y + ey);
    });
    Scale(box.minX, box.maxX, PlotWidth, box.kx);
    Scale(box.minY, box.maxY, PlotHeight, box.ky);
    return box;
}

// Pixel coordinates are truncated toward zero; anything outside a little margin around
// the box (or not a number) is refused before it can reach an integer conversion.
bool Pixel(double v, int& pixel)
{
    if (!(v > -16 && v < PlotWidth + 16))
        return false;
    pixel = static_cast<int>(v);
    return true;
}

void Segment(CCanvas* canvas, double x1, double y1, double x2, double y2)
{
    int a, b, c, d;
    if (Pixel(x1, a) && Pixel(y1, b) && Pixel(x2, c) && Pixel(y2, d))
        canvas->Line(a, b, c, d);
}

// Cuts the line through two points to the box (Liang–Barsky), in floating point.
bool ClipToBox(double& x1, double& y1, double& x2, double& y2)
{
    double t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1, PlotWidth - x1, y1, PlotHeight - y1};
    for (int i = 0; i < 4; i++) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::fmax(t0, t);
        else
            t1 = std::fmin(t1, t);
        if (t0 > t1)
            return false;
    }
    double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return Finite(x1) && Finite(y1) && Finite(x2) && Finite(y2);
}

void DrawErrorBars(CCanvas* canvas, const FitRows& rows, const Box& box)
{
    ForEachPoint(rows, [&](const Row& r) {
        if (Finite(r.ex))
            Segment(canvas, box.PX(r.x - r.ex), box.PY(r.y), box.PX(r.x + r.ex), box.PY(r.y));
        if (Finite(r.ey))
            Segment(canvas, box.PX(r.x), box.PY(r.y + r.ey), box.PX(r.x), box.PY(r.y - r.ey));
    });
}

void DrawCrosses(CCanvas* canvas, const FitRows& rows, const Box& box)
{
    ForEachPoint(rows, [&](const Row& r) {
        double fx = box.PX(r.x), fy = box.PY(r.y);
        Segment(canvas, fx - 3, fy - 3, fx + 3, fy + 3);
        Segment(canvas, fx - 3, fy + 3, fx + 3, fy - 3);
    });
}

void DrawFittedLine(CCanvas* canvas, const Box& box, double a, double b)
{
    double x1 = 0, y1 = box.PY(a * box.minX + b);
    double x2 = box.PX(box.maxX), y2 = box.PY(a * box.maxX + b);
    if (!Finite(y1) || !Finite(y2) || !ClipToBox(x1, y1, x2, y2))
        return;
    Segment(canvas, x1, y1, x2, y2);
}
}  // namespace

void DrawFitPlot(CCanvas* canvas, const FitRows& rows, double a, double b)
{
    if (!canvas)
        return;
    Box box = BoundingBox(rows);
    canvas->SetColourRGB(255, 255, 255);
    canvas->FillRect(0, 0, 806, 605);
    canvas->SetColourRGB(255, 32, 8);
    DrawErrorBars(canvas, rows, box);
    canvas->SetColourRGB(0, 0, 0);
    DrawCrosses(canvas, rows, box);
    canvas->SetColourRGB(0, 128, 18);
    DrawFittedLine(canvas, box, a, b);
}
