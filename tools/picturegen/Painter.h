#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// Colours with straight (not premultiplied) alpha, parts from 0 to 1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba Rgb(int r, int g, int b, float a = 1) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }
inline Rgba Mix(Rgba p, Rgba q, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

// Shapes are signed distances in pixels: negative inside, positive outside. The edge
// is softened over one pixel, which gives the pictures clean anti-aliased outlines.
namespace shape {
inline float Circle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }
inline float Ellipse(float x, float y, float cx, float cy, float rx, float ry)
{
    float k = std::hypot((x - cx) / rx, (y - cy) / ry);
    return (k - 1.0f) * std::min(rx, ry);
}
inline float RoundRect(float x, float y, float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    float dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
    float outside = std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f));
    return outside + std::min(std::max(dx, dy), 0.0f) - radius;
}
// A thick segment with round ends.
inline float Segment(float x, float y, float ax, float ay, float bx, float by, float halfWidth)
{
    float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
    float t = std::clamp((px * vx + py * vy) / std::max(vx * vx + vy * vy, 1e-6f), 0.0f, 1.0f);
    return std::hypot(px - vx * t, py - vy * t) - halfWidth;
}
// A convex polygon given clockwise or counter-clockwise.
float Polygon(float x, float y, const std::vector<std::pair<float, float>>& points);
inline float Union(float a, float b) { return std::min(a, b); }
inline float Cut(float a, float b) { return std::max(a, -b); }
inline float Intersect(float a, float b) { return std::max(a, b); }
}  // namespace shape

// A picture being painted: layers of shapes composited with "over".
class Painter {
public:
    Painter(int width, int height) : width(width), height(height), pixels(size_t(width) * height) {}

    // Paints `paint(x, y)` wherever `distance(x, y)` is inside, scaled by `opacity`.
    template <class Distance, class Paint>
    void Fill(Distance distance, Paint paint, float opacity = 1.0f)
    {
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                float cx = x + 0.5f, cy = y + 0.5f;
                float coverage = std::clamp(0.5f - distance(cx, cy), 0.0f, 1.0f);
                if (coverage > 0)
                    Over(x, y, paint(cx, cy), coverage * opacity);
            }
    }
    template <class Distance>
    void Fill(Distance distance, Rgba colour, float opacity = 1.0f)
    {
        Fill(distance, [colour](float, float) { return colour; }, opacity);
    }
    // A soft shadow: the shape blurred by `softness` pixels.
    template <class Distance>
    void Shadow(Distance distance, Rgba colour, float softness)
    {
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                float d = distance(x + 0.5f, y + 0.5f);
                float t = std::clamp(0.5f - d / softness, 0.0f, 1.0f);
                if (t > 0)
                    Over(x, y, colour, t * t * (3 - 2 * t));
            }
    }

    const Rgba& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    int width, height;

private:
    void Over(int x, int y, Rgba source, float coverage);
    std::vector<Rgba> pixels;
};
