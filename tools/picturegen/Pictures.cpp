#include "tools/picturegen/Pictures.h"

#include <cmath>
#include <functional>
#include <vector>

using namespace shape;

namespace {
const Rgba White = Rgb(255, 255, 255);
const Rgba Shade = Rgb(60, 35, 10, 0.35f);
const Rgba Ink = Rgb(92, 62, 30);

// A vertical gradient from `top` at y0 to `bottom` at y1.
auto Vertical(Rgba top, Rgba bottom, float y0, float y1)
{
    return [=](float, float y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

// A band of `width` pixels just inside the outline of a shape.
template <class Distance>
auto Rim(Distance d, float width)
{
    return [=](float x, float y) { return Intersect(d(x, y), -(d(x, y) + width)); };
}

template <class Distance>
void Outline(Painter& p, Distance d, Rgba colour, float width = 1.0f)
{
    p.Fill(Rim(d, width), colour);
}

Rgba Lighter(Rgba c, float t) { return Mix(c, White, t); }
Rgba Darker(Rgba c, float t) { return Mix(c, Rgb(0, 0, 0), t); }

// A folder at scale s (32 units wide), open or closed.
void Folder(Painter& p, float s, float ox, float oy, bool open)
{
    auto back = [=](float x, float y) {
        return Union(RoundRect(x, y, ox + 3 * s, oy + 7 * s, ox + 27 * s, oy + 27 * s, 2 * s),
                     RoundRect(x, y, ox + 3 * s, oy + 4.5f * s, ox + 13 * s, oy + 10 * s, 1.5f * s));
    };
    p.Shadow([=](float x, float y) { return back(x - s, y - s); }, Shade, 2 * s);
    p.Fill(back, Vertical(Rgb(236, 178, 70), Rgb(206, 140, 40), oy + 4 * s, oy + 27 * s));
    Outline(p, back, Rgb(160, 100, 25));
    if (open) {
        auto sheet = [=](float x, float y) { return RoundRect(x, y, ox + 7 * s, oy + 8 * s, ox + 25 * s, oy + 22 * s, 1 * s); };
        p.Fill(sheet, Rgb(255, 253, 246));
        Outline(p, sheet, Rgb(190, 170, 140));
        for (float ly : {11.5f, 14.5f})
            p.Fill([=](float x, float y) { return Segment(x, y, ox + 10 * s, oy + ly * s, ox + 22 * s, oy + ly * s, 0.5f * s); }, Rgb(190, 180, 165));
        auto front = [=](float x, float y) {
            return Polygon(x, y, {{ox + 7.5f * s, oy + 14 * s}, {ox + 30.5f * s, oy + 14 * s}, {ox + 26.5f * s, oy + 28 * s}, {ox + 2.5f * s, oy + 28 * s}});
        };
        p.Fill(front, Vertical(Rgb(255, 224, 130), Rgb(246, 184, 64), oy + 14 * s, oy + 28 * s));
        Outline(p, front, Rgb(170, 108, 28));
    } else {
        auto front = [=](float x, float y) { return RoundRect(x, y, ox + 3 * s, oy + 11 * s, ox + 27 * s, oy + 27 * s, 2 * s); };
        p.Fill(front, Vertical(Rgb(255, 224, 130), Rgb(246, 184, 64), oy + 11 * s, oy + 27 * s));
        Outline(p, front, Rgb(170, 108, 28));
        p.Fill([=](float x, float y) { return Segment(x, y, ox + 5 * s, oy + 12.5f * s, ox + 25 * s, oy + 12.5f * s, 0.5f * s); }, White, 0.6f);
    }
}

// A page with a folded corner and lines of text, in a w × h box at (ox, oy).
void Page(Painter& p, float ox, float oy, float w, float h)
{
    float fold = w * 0.3f;
    auto page = [=](float x, float y) {
        return Polygon(x, y, {{ox, oy}, {ox + w - fold, oy}, {ox + w, oy + fold}, {ox + w, oy + h}, {ox, oy + h}});
    };
    p.Shadow([=](float x, float y) { return page(x - 1, y - 1); }, Shade, 2);
    p.Fill(page, Vertical(White, Rgb(250, 244, 228), oy, oy + h));
    Outline(p, page, Rgb(150, 128, 100));
    auto corner = [=](float x, float y) { return Polygon(x, y, {{ox + w - fold, oy}, {ox + w - fold, oy + fold}, {ox + w, oy + fold}}); };
    p.Fill(corner, Rgb(232, 220, 196));
    Outline(p, corner, Rgb(150, 128, 100));
    for (int i = 0; i < 4; i++) {
        float ly = oy + h * (0.38f + 0.14f * i), end = ox + w * (i == 3 ? 0.55f : 0.8f);
        p.Fill([=](float x, float y) { return Segment(x, y, ox + w * 0.2f, ly, end, ly, 0.55f); }, Rgb(175, 160, 140));
    }
}

// A four-pointed spark centred at (cx, cy).
void Spark(Painter& p, float cx, float cy, float r)
{
    auto star = [=](float x, float y) {
        float k = r * 0.28f;
        return Polygon(x, y, {{cx, cy - r}, {cx + k, cy - k}, {cx + r, cy}, {cx + k, cy + k}, {cx, cy + r}, {cx - k, cy + k}, {cx - r, cy}, {cx - k, cy - k}});
    };
    p.Fill([=](float x, float y) { return star(x, y) - 1.0f; }, White, 0.9f);
    p.Fill(star, Vertical(Rgb(255, 214, 80), Rgb(240, 130, 20), cy - r, cy + r));
}

// A shaded pearl: body gradient, rim, gloss and reflected light.
template <class Body>
void Pearl(Painter& p, Body body, Rgba base, float top, float bottom, float glossTop, float glossBottom, Body gloss)
{
    p.Fill(body, [=](float, float y) {
        float t = (y - top) / (bottom - top);
        return t < 0.55f ? Mix(Lighter(base, 0.55f), base, t / 0.55f) : Mix(base, Darker(base, 0.12f), (t - 0.55f) / 0.45f);
    });
    p.Fill([=](float x, float y) { return body(x, y) + (bottom - top) * 0.12f; }, [=](float, float y) {
        return Rgba{Lighter(base, 0.5f).r, Lighter(base, 0.5f).g, Lighter(base, 0.5f).b, std::clamp((y - (top + bottom) / 2) / (bottom - top) * 1.4f, 0.0f, 0.5f)};
    });
    p.Fill(gloss, [=](float, float y) { return Rgba{1, 1, 1, 0.8f - 0.7f * std::clamp((y - glossTop) / (glossBottom - glossTop), 0.0f, 1.0f)}; });
    Outline(p, body, Darker(base, 0.35f), 1.3f);
}

// A small plot card with axes, used by both fit icons.
void PlotCard(Painter& p)
{
    auto card = [](float x, float y) { return RoundRect(x, y, 1.5f, 1.5f, 26.5f, 26.5f, 3.5f); };
    p.Shadow([=](float x, float y) { return card(x - 0.8f, y - 0.8f); }, Shade, 2);
    p.Fill(card, Vertical(White, Rgb(252, 242, 214), 1, 27));
    Outline(p, card, Rgb(170, 140, 100));
    p.Fill([](float x, float y) { return Union(Segment(x, y, 5.5f, 4.5f, 5.5f, 22.5f, 0.55f), Segment(x, y, 5.5f, 22.5f, 23.5f, 22.5f, 0.55f)); }, Ink);
}

const float FitPoints[4][3] = {{9, 19, 3}, {13, 15.5f, 2}, {17, 14, 3.5f}, {21, 9, 2.5f}};
}  // namespace

namespace pictures {
Rgba Grey() { return Rgb(206, 200, 190); }
Rgba Blue() { return Rgb(132, 180, 236); }
Rgba Orange() { return Rgb(252, 168, 70); }
Rgba LabelBackground() { return Rgb(255, 236, 192); }

Painter PearlSkin(Rgba base)
{
    Painter p(256, 64);
    auto body = [](float x, float y) { return RoundRect(x, y, 5, 3, 251, 57, 26); };
    p.Shadow([=](float x, float y) { return body(x, y - 3); }, Rgb(70, 40, 10, 0.3f), 5);
    auto gloss = [](float x, float y) { return RoundRect(x, y, 20, 6, 236, 30, 12); };
    Pearl(p, std::function<float(float, float)>(body), base, 3, 57, 6, 30, std::function<float(float, float)>(gloss));
    return p;
}

Painter RoundSkin(Rgba base)
{
    Painter p(128, 128);
    auto body = [](float x, float y) { return Circle(x, y, 64, 62, 56); };
    p.Shadow([=](float x, float y) { return body(x, y - 4); }, Rgb(70, 40, 10, 0.3f), 6);
    auto gloss = [](float x, float y) { return Ellipse(x, y, 64, 34, 38, 22); };
    Pearl(p, std::function<float(float, float)>(body), base, 6, 118, 12, 56, std::function<float(float, float)>(gloss));
    return p;
}

Painter NewIcon()
{
    Painter p(32, 32);
    Page(p, 7, 3, 19, 26);
    Spark(p, 9.5f, 24.5f, 6.5f);
    return p;
}

Painter OpenIcon()
{
    Painter p(32, 32);
    Folder(p, 1, 0, 1, true);
    return p;
}

Painter SaveIcon()
{
    Painter p(32, 32);
    Folder(p, 1, 0, 2, false);
    auto arrow = [](float x, float y) {
        return Union(Segment(x, y, 23, 2.5f, 23, 13, 2.3f), Polygon(x, y, {{16.5f, 12}, {29.5f, 12}, {23, 20.5f}}));
    };
    p.Fill([=](float x, float y) { return arrow(x, y) - 1.2f; }, White, 0.95f);
    p.Fill(arrow, Vertical(Rgb(110, 170, 240), Rgb(40, 96, 196), 2, 21));
    Outline(p, arrow, Rgb(30, 70, 150), 0.8f);
    return p;
}

Painter SaveAsIcon()
{
    Painter p(32, 32);
    auto disc = [](float x, float y) { return Cut(Circle(x, y, 15, 16, 13.5f), Circle(x, y, 15, 16, 2.6f)); };
    p.Shadow([=](float x, float y) { return disc(x - 1, y - 1); }, Shade, 2);
    p.Fill(disc, [](float x, float y) {
        float angle = std::atan2(y - 16, x - 15);
        Rgba sheen = Rgb(int(200 + 55 * std::sin(angle * 2)), int(205 + 50 * std::sin(angle * 2 + 2.1f)), int(215 + 40 * std::sin(angle * 2 + 4.2f)));
        return Mix(Rgb(228, 230, 236), sheen, 0.55f);
    });
    p.Fill([](float x, float y) { return Intersect(Circle(x, y, 15, 16, 6), -Circle(x, y, 15, 16, 2.6f)); }, White, 0.55f);
    Outline(p, disc, Rgb(120, 120, 130), 0.9f);
    // A pencil across the lower right: "save as" writes a new name.
    auto pencil = [](float x, float y) { return Segment(x, y, 29, 19, 20, 28, 2.2f); };
    p.Fill([=](float x, float y) { return pencil(x, y) - 0.9f; }, White, 0.9f);
    p.Fill(pencil, Rgb(246, 176, 50));
    p.Fill([](float x, float y) { return Polygon(x, y, {{21.6f, 24.9f}, {23.1f, 26.4f}, {18.3f, 29.7f}}); }, Rgb(230, 200, 160));
    p.Fill([](float x, float y) { return Circle(x, y, 18.9f, 29.1f, 0.9f); }, Ink);
    Outline(p, pencil, Rgb(170, 100, 20), 0.8f);
    return p;
}

Painter HtmlIcon()
{
    Painter p(32, 32);
    Folder(p, 0.85f, 0, 1, false);
    auto globe = [](float x, float y) { return Circle(x, y, 22.5f, 21.5f, 8.5f); };
    p.Fill([=](float x, float y) { return globe(x, y) - 1.2f; }, White, 0.95f);
    p.Fill(globe, [](float x, float y) { return Mix(Rgb(130, 200, 250), Rgb(30, 100, 190), std::hypot(x - 19.5f, y - 18) / 12); });
    auto lines = [](float x, float y) {
        float ring = std::fabs(Ellipse(x, y, 22.5f, 21.5f, 3.6f, 8.5f)) - 0.45f;
        float equator = Segment(x, y, 14, 21.5f, 31, 21.5f, 0.45f);
        float north = Segment(x, y, 16, 17.5f, 29, 17.5f, 0.4f), south = Segment(x, y, 16, 25.5f, 29, 25.5f, 0.4f);
        return Intersect(Union(Union(ring, equator), Union(north, south)), Circle(x, y, 22.5f, 21.5f, 8.5f));
    };
    p.Fill(lines, White, 0.75f);
    Outline(p, globe, Rgb(20, 70, 140), 0.8f);
    return p;
}

Painter InfoIcon()
{
    Painter p(40, 40);
    auto body = [](float x, float y) { return Circle(x, y, 20, 19.5f, 17); };
    p.Shadow([=](float x, float y) { return body(x - 0.5f, y - 1.5f); }, Shade, 3);
    p.Fill(body, [](float x, float y) { return Mix(Rgb(120, 180, 245), Rgb(30, 80, 170), std::hypot(x - 15, y - 12) / 28); });
    p.Fill([](float x, float y) { return Ellipse(x, y, 20, 10.5f, 11, 6.5f); }, [](float, float y) { return Rgba{1, 1, 1, 0.6f - 0.05f * (y - 4)}; });
    Outline(p, body, Rgb(20, 60, 130), 1.0f);
    auto letter = [](float x, float y) { return Union(Circle(x, y, 20, 11.5f, 2.7f), RoundRect(x, y, 17.4f, 16.5f, 22.6f, 30.5f, 1.6f)); };
    p.Fill([=](float x, float y) { return letter(x, y - 0.8f); }, Rgb(10, 40, 100, 0.5f));
    p.Fill(letter, White);
    return p;
}

Painter SimpleFitIcon()
{
    Painter p(28, 28);
    PlotCard(p);
    p.Fill([](float x, float y) { return Segment(x, y, 7, 21, 24, 7, 0.95f); }, Rgb(226, 90, 30));
    for (auto& point : FitPoints)
        p.Fill([&](float x, float y) { return Circle(x, y, point[0], point[1], 1.7f); }, Rgb(40, 90, 190));
    return p;
}

Painter WeightedFitIcon()
{
    Painter p(28, 28);
    PlotCard(p);
    for (auto& point : FitPoints) {
        float px = point[0], py = point[1], e = point[2];
        p.Fill([=](float x, float y) {
            return Union(Segment(x, y, px, py - e, px, py + e, 0.45f),
                         Union(Segment(x, y, px - 1.4f, py - e, px + 1.4f, py - e, 0.45f), Segment(x, y, px - 1.4f, py + e, px + 1.4f, py + e, 0.45f)));
        }, Rgb(60, 110, 200));
    }
    p.Fill([](float x, float y) { return Segment(x, y, 7, 20.5f, 24, 7.5f, 0.95f); }, Rgb(30, 150, 90));
    for (auto& point : FitPoints)
        p.Fill([&](float x, float y) { return Circle(x, y, point[0], point[1], 1.4f); }, Rgb(30, 70, 160));
    return p;
}

// Error bars in both directions, crosses, and the line through them.
Painter YorkFitIcon()
{
    Painter p(28, 28);
    PlotCard(p);
    for (auto& point : FitPoints) {
        float px = point[0], py = point[1], e = point[2];
        p.Fill([=](float x, float y) {
            return Union(Segment(x, y, px, py - e, px, py + e, 0.45f), Segment(x, y, px - e, py, px + e, py, 0.45f));
        }, Rgb(200, 90, 40));
    }
    p.Fill([](float x, float y) { return Segment(x, y, 7, 20.5f, 24, 7.5f, 0.95f); }, Rgb(120, 60, 170));
    for (auto& point : FitPoints)
        p.Fill([&](float x, float y) { return Circle(x, y, point[0], point[1], 1.4f); }, Rgb(30, 70, 160));
    return p;
}

Painter CloverIcon()
{
    Painter p(16, 16);
    auto leaves = [](float x, float y) {
        return Union(Union(Circle(x, y, 8, 4.6f, 3.4f), Circle(x, y, 4.5f, 9, 3.4f)), Circle(x, y, 11.5f, 9, 3.4f));
    };
    p.Fill([](float x, float y) { return Segment(x, y, 8, 8, 10.5f, 15, 0.8f); }, Rgb(70, 120, 30));
    p.Fill(leaves, [](float x, float y) { return Mix(Rgb(150, 210, 80), Rgb(60, 140, 40), std::hypot(x - 6, y - 3) / 12); });
    Outline(p, leaves, Rgb(40, 100, 25), 0.8f);
    p.Fill([](float x, float y) { return Circle(x, y, 8, 8, 1.3f); }, Rgb(255, 220, 90));
    return p;
}

Painter TitleIcon()
{
    Painter p(16, 16);
    auto tile = [](float x, float y) { return RoundRect(x, y, 1, 1, 15, 15, 3.5f); };
    p.Fill(tile, Vertical(Rgb(255, 190, 90), Rgb(226, 120, 30), 1, 15));
    Outline(p, tile, Rgb(160, 80, 20), 0.9f);
    p.Fill([](float x, float y) { return Segment(x, y, 3.5f, 12, 12.5f, 4, 0.9f); }, White);
    for (auto dot : {std::pair{4.8f, 9.6f}, std::pair{8.2f, 8.9f}, std::pair{11.2f, 4.6f}})
        p.Fill([=](float x, float y) { return Circle(x, y, dot.first, dot.second, 1.35f); }, Rgb(110, 40, 5));
    return p;
}

Painter ChooserFolder()
{
    Painter p(48, 32);
    Folder(p, 1.0f, 8, 1, true);
    Spark(p, 6.5f, 8, 5);
    return p;
}

Painter ChooserPage()
{
    Painter p(32, 30);
    Page(p, 6, 2, 19, 25);
    return p;
}

Painter AboutPicture()
{
    Painter p(141, 128);
    p.Fill([](float, float) { return -10.0f; }, LabelBackground());
    p.Shadow([](float x, float y) { return Circle(x, y, 70, 64, 52); }, Rgb(255, 214, 150, 0.7f), 14);
    auto card = [](float x, float y) { return RoundRect(x, y, 14, 12, 128, 116, 9); };
    p.Shadow([=](float x, float y) { return card(x - 2, y - 3); }, Rgb(90, 50, 10, 0.35f), 5);
    p.Fill(card, Vertical(Rgb(255, 253, 246), Rgb(252, 240, 210), 12, 116));
    Outline(p, card, Rgb(190, 150, 100), 1.2f);
    for (float gx = 40; gx <= 120; gx += 16)
        p.Fill([=](float x, float y) { return Segment(x, y, gx, 26, gx, 98, 0.4f); }, Rgb(236, 218, 186));
    for (float gy = 34; gy <= 98; gy += 16)
        p.Fill([=](float x, float y) { return Segment(x, y, 28, gy, 120, gy, 0.4f); }, Rgb(236, 218, 186));
    p.Fill([](float x, float y) { return Union(Segment(x, y, 28, 22, 28, 100, 0.9f), Segment(x, y, 26, 98, 121, 98, 0.9f)); }, Ink);
    p.Fill([](float x, float y) { return Polygon(x, y, {{24.5f, 24}, {31.5f, 24}, {28, 17}}); }, Ink);
    p.Fill([](float x, float y) { return Polygon(x, y, {{119, 94.5f}, {119, 101.5f}, {126, 98}}); }, Ink);
    const float points[6][3] = {{38, 84, 7}, {52, 79, 5}, {66, 66, 8}, {80, 61, 5}, {94, 48, 6}, {108, 43, 7}};
    for (auto& pt : points) {
        float px = pt[0], py = pt[1], e = pt[2];
        p.Fill([=](float x, float y) {
            return Union(Segment(x, y, px, py - e, px, py + e, 0.7f),
                         Union(Segment(x, y, px - 3, py - e, px + 3, py - e, 0.7f), Segment(x, y, px - 3, py + e, px + 3, py + e, 0.7f)));
        }, Rgb(70, 110, 190));
    }
    p.Fill([](float x, float y) { return Segment(x, y, 32, 88, 116, 37, 1.8f); }, Rgb(232, 110, 30));
    for (auto& pt : points) {
        p.Fill([&](float x, float y) { return Circle(x, y, pt[0], pt[1], 3.4f); }, White);
        p.Fill([&](float x, float y) { return Circle(x, y, pt[0], pt[1], 2.6f); }, Rgb(40, 80, 170));
    }
    // The clover of the program in the empty corner of the plot.
    auto leaves = [](float x, float y) {
        return Union(Union(Circle(x, y, 46, 30, 5.5f), Circle(x, y, 40.5f, 39, 5.5f)), Circle(x, y, 51.5f, 39, 5.5f));
    };
    p.Fill([](float x, float y) { return Segment(x, y, 46, 36, 50, 48, 1.2f); }, Rgb(70, 120, 30));
    p.Fill(leaves, [](float x, float y) { return Mix(Rgb(160, 215, 90), Rgb(60, 140, 40), std::hypot(x - 42, y - 27) / 18); });
    Outline(p, leaves, Rgb(40, 100, 25), 1.0f);
    p.Fill([](float x, float y) { return Circle(x, y, 46, 36, 2); }, Rgb(255, 220, 90));
    return p;
}

// Drawn on a 128-unit grid and scaled. At 32 pixels and below, thin strokes sit on
// pixel centres and detail that would blur is left out, so the small sizes stay crisp.
Painter AppIcon(int size)
{
    Painter p(size, size);
    const float s = size / 128.0f;
    const bool small = size <= 32, tiny = size <= 16;
    auto at = [=](float units) { return small ? std::floor(units * s) + 0.5f : units * s; };
    auto width = [=](float units, float pixels) { return std::max(units * s, pixels); };
    const float margin = small ? 0 : 6 * s, radius = small ? size / 6.0f : 20 * s;
    auto tile = [=](float x, float y) { return RoundRect(x, y, margin, margin, size - margin, size - margin, radius); };
    if (!small)
        p.Shadow([=](float x, float y) { return tile(x - 2 * s, y - 3 * s); }, Rgb(90, 50, 10, 0.35f), 5 * s);
    p.Fill(tile, Vertical(Rgb(255, 253, 246), Rgb(252, 234, 196), margin, size - margin));
    Outline(p, tile, Rgb(176, 132, 80), width(2.5f, 1));
    if (!small)
        for (float g = 46; g <= 106; g += 20) {
            p.Fill([=](float x, float y) { return Segment(x, y, g * s, 20 * s, g * s, 100 * s, width(0.8f, 0.5f)); }, Rgb(236, 218, 186));
            p.Fill([=](float x, float y) { return Segment(x, y, 26 * s, (g - 6) * s, 110 * s, (g - 6) * s, width(0.8f, 0.5f)); }, Rgb(236, 218, 186));
        }
    const float axis = width(2.2f, 0.5f), left = at(26), bottom = at(102);
    p.Fill([=](float x, float y) { return Union(Segment(x, y, left, at(16), left, bottom, axis), Segment(x, y, left, bottom, at(114), bottom, axis)); }, Ink);
    struct Point { float x, y, error; };
    const std::vector<Point> points = tiny ? std::vector<Point>{{44, 82, 12}, {72, 62, 12}, {100, 38, 12}}
                                           : std::vector<Point>{{42, 84, 12}, {62, 66, 12}, {82, 56, 16}, {102, 34, 13}};
    const float bar = width(1.6f, 0.5f), cap = width(5, 1.5f);
    p.Fill([=](float x, float y) {
        float d = 1e9f;
        for (const Point& pt : points) {
            float px = at(pt.x), top = at(pt.y - pt.error), low = at(pt.y + pt.error);
            d = Union(d, Segment(x, y, px, top, px, low, bar));
            if (!tiny)
                d = Union(d, Union(Segment(x, y, px - cap, top, px + cap, top, bar), Segment(x, y, px - cap, low, px + cap, low, bar)));
        }
        return d;
    }, Rgb(60, 110, 200));
    p.Fill([=](float x, float y) { return Segment(x, y, 34 * s, 92 * s, 110 * s, 30 * s, width(3.2f, 0.6f)); }, Rgb(232, 110, 30));
    const float dot = width(4.5f, tiny ? 1.2f : 1.6f);
    for (const Point& pt : points) {
        if (!small)
            p.Fill([=](float x, float y) { return Circle(x, y, at(pt.x), at(pt.y), dot + 1.5f * s); }, Rgb(255, 255, 255));
        p.Fill([=](float x, float y) { return Circle(x, y, at(pt.x), at(pt.y), dot); }, Rgb(30, 70, 160));
    }
    return p;
}
}  // namespace pictures
