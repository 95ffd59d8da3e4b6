#include "tools/picturegen/Painter.h"

float shape::Polygon(float x, float y, const std::vector<std::pair<float, float>>& points)
{
    // Distance to the nearest edge, negative when inside (even-odd crossing test).
    float nearest = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        auto [ax, ay] = points[j];
        auto [bx, by] = points[i];
        nearest = std::min(nearest, Segment(x, y, ax, ay, bx, by, 0.0f));
        if ((by > y) != (ay > y) && x < ax + (bx - ax) * (y - ay) / (by - ay))
            inside = !inside;
    }
    return inside ? -nearest : nearest;
}

void Painter::Over(int x, int y, Rgba source, float coverage)
{
    Rgba& target = pixels[size_t(y) * width + x];
    float a = std::clamp(source.a * coverage, 0.0f, 1.0f);
    float out = a + target.a * (1 - a);
    if (out <= 0)
        return;
    target.r = (source.r * a + target.r * target.a * (1 - a)) / out;
    target.g = (source.g * a + target.g * target.a * (1 - a)) / out;
    target.b = (source.b * a + target.b * target.a * (1 - a)) / out;
    target.a = out;
}
