// Fonts on Windows: the system's own faces through GDI, so "Ms Sans Serif" is what
// Windows makes of that name, rendered without anti-aliasing. A string is drawn by GDI
// in black on white into a small device-independent bitmap, and the pixels it set are
// copied into the surface in the text colour. When GDI gives no font the built-in
// bitmap font answers, as on every other system.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/PCodePage.h"
#include "platform/PFont.h"
#include "platform/PFontGlyph.h"
#include "platform/PSurface.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// A GDI font with its measures. Every canvas makes a font and GDI handles are limited
// per process, so fonts asked for alike share one, kept for the life of the process.
struct PFontFace {
    HFONT font = nullptr;
    TEXTMETRICW metrics{};
};

namespace {
using platform::CellHeightOf;
using platform::LargestCellHeight;

// The one memory context fonts are measured and drawn in, with a bitmap that grows to
// the largest string drawn. Single-threaded, like the toolkit.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    bool Ready()
    {
        if (!dc)
            dc = CreateCompatibleDC(nullptr);
        return dc != nullptr;
    }

    // A white area of at least w × h pixels, rows top first; false when GDI has none.
    bool Clear(int w, int h)
    {
        if (!Ready())
            return false;
        if (w > width || h > height) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = std::max(w, width);
            info.bmiHeader.biHeight = -std::max(h, height);
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void* pixels = nullptr;
            HBITMAP larger = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
            if (!larger || !pixels)
                return false;
            HGDIOBJ previous = SelectObject(dc, larger);
            if (!original)
                original = previous;
            if (bitmap)
                DeleteObject(bitmap);
            bitmap = larger;
            bits = static_cast<uint32_t*>(pixels);
            width = int(info.bmiHeader.biWidth);
            height = -int(info.bmiHeader.biHeight);
        }
        GdiFlush();
        for (int row = 0; row < h; row++)
            std::fill_n(bits + size_t(row) * size_t(width), w, 0xFFFFFFu);
        return true;
    }
};

Canvas& Shared()
{
    static Canvas& canvas = *new Canvas;
    return canvas;
}

std::wstring Wide(const char* text, int count)
{
    std::wstring wide(size_t(std::max(count, 0)), L'\0');
    for (int i = 0; i < count; i++)
        wide[size_t(i)] = wchar_t(platform::Cp1252ToUnicode(uint8_t(text[i])));
    return wide;
}

HFONT Make(const PFontRequest& request, int height, const std::wstring& name)
{
    return CreateFontW(height, 0, 0, 0, request.weight, request.italic, request.underline, FALSE, DEFAULT_CHARSET,
                       OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       name.c_str());
}

bool Measure(HFONT font, TEXTMETRICW& metrics)
{
    HGDIOBJ previous = SelectObject(Shared().dc, font);
    bool measured = GetTextMetricsW(Shared().dc, &metrics) && metrics.tmHeight > 0;
    SelectObject(Shared().dc, previous);
    return measured;
}

// The GDI font for a request: a positive height asks for the character cell, without
// anti-aliasing, by the face name as asked, so the system substitutes as it does for
// any program. Scalable faces only, as on Linux: the toolkit lays text out by cell
// heights, which the few sizes of a raster face ("MS Sans Serif" is one) cannot give.
// Scaling rounds ascent and descent apart, so some cells cannot be had exactly: the
// tallest font whose cell fits is taken (the cell keeps the size asked, see SetUpFace).
PFontFace* FaceFor(const PFontRequest& request)
{
    static auto& faces = *new std::map<std::string, PFontFace*>;
    int height = request.height > 0 ? std::min(request.height, LargestCellHeight) : 0;
    std::string key = std::string(request.face) + "|" + std::to_string(height) + "|" + std::to_string(request.weight) +
                      (request.italic ? "i" : "") + (request.underline ? "u" : "");
    auto found = faces.find(key);
    if (found != faces.end())
        return found->second;
    if (!Shared().Ready())
        return nullptr;  // not remembered: GDI may have room later
    std::wstring name = Wide(request.face, int(strnlen(request.face, sizeof request.face)));
    // A font that fits beats one that does not; then the closer to the height asked.
    auto better = [height](const TEXTMETRICW& a, const TEXTMETRICW& b) {
        bool aFits = a.tmHeight <= height, bFits = b.tmHeight <= height;
        if (aFits != bFits)
            return aFits;
        return aFits ? a.tmHeight > b.tmHeight : a.tmHeight < b.tmHeight;
    };
    PFontFace best;
    int asked[4] = {};
    for (int attempt = 0, ask = height; attempt < 4; attempt++) {
        asked[attempt] = ask;
        PFontFace tried{Make(request, ask, name), {}};
        if (!tried.font)
            break;
        if (!Measure(tried.font, tried.metrics)) {
            DeleteObject(tried.font);
            break;
        }
        int got = int(tried.metrics.tmHeight);
        if (!best.font || better(tried.metrics, best.metrics)) {
            if (best.font)
                DeleteObject(best.font);
            best = tried;
        } else {
            DeleteObject(tried.font);
        }
        if (height == 0 || best.metrics.tmHeight == height)
            break;
        ask = got > height ? ask - (got - height) : ask + 1;
        if (ask <= 0 || std::find(asked, asked + attempt + 1, ask) != asked + attempt + 1)
            break;
    }
    if (!best.font)
        return nullptr;
    return faces[key] = new PFontFace(best);
}
}  // namespace

int PFont::TextWidth(const char* text, int count) const
{
    if (!text || count <= 0)
        return 0;
    if (face) {
        Canvas& canvas = Shared();
        std::wstring wide = Wide(text, count);
        SIZE extent{};
        HGDIOBJ previous = SelectObject(canvas.dc, face->font);
        BOOL measured = GetTextExtentPoint32W(canvas.dc, wide.c_str(), int(wide.size()), &extent);
        SelectObject(canvas.dc, previous);
        return measured ? int(extent.cx) : 0;
    }
    return GlyphsWidth(text, count);
}

void PFont::Draw(PSurface& surface, int x, int y, const char* text, int count, uint32_t colour) const
{
    if (!text || count <= 0)
        return;
    if (face) {
        // GDI writes the font's own cell from its top, with the baseline `descent` rows
        // above the bottom of the cell asked for. Only the columns of the surface the
        // text can reach are rendered; an overhanging glyph may pass its advance a little.
        int textTop = y - descent - int(face->metrics.tmAscent);
        int top = std::min(y - ascent - descent, textTop);
        int bottom = std::max(y, textTop + int(face->metrics.tmHeight));
        int height = bottom - top;
        int slack = int(face->metrics.tmHeight) / 2 + int(face->metrics.tmOverhang) + 2;
        int first = std::max(x - slack, 0);
        int last = std::min(x + TextWidth(text, count) + slack, surface.GetWidth());
        if (last <= first || top >= surface.GetHeight() || bottom <= 0)
            return;
        Canvas& canvas = Shared();
        int w = last - first;
        if (!canvas.Clear(w, height))
            return;
        std::wstring wide = Wide(text, count);
        HGDIOBJ previous = SelectObject(canvas.dc, face->font);
        SetTextAlign(canvas.dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
        SetBkMode(canvas.dc, TRANSPARENT);
        SetTextColor(canvas.dc, RGB(0, 0, 0));
        TextOutW(canvas.dc, x - first, textTop - top, wide.c_str(), int(wide.size()));
        SelectObject(canvas.dc, previous);
        GdiFlush();
        for (int row = std::max(0, -top); row < height && top + row < surface.GetHeight(); row++) {
            const uint32_t* from = canvas.bits + size_t(row) * size_t(canvas.width);
            uint32_t* to = surface.Row(top + row) + first;
            for (int column = 0; column < w; column++)
                if ((from[column] & 0xFFFFFFu) != 0xFFFFFFu)
                    to[column] = colour;
        }
        return;
    }
    DrawGlyphs(surface, x, y, text, count, colour);
}

// Bitmap fonts of one scale and weight share their glyphs.
PFont::Glyph* PFont::SharedGlyphs() const
{
    static auto& tables = *new std::map<std::string, Glyph*>;
    std::string key = std::to_string(bitmapScale) + "/" + std::to_string(request.weight >= 600);
    Glyph*& table = tables[key];
    if (!table)
        table = new Glyph[256];
    return table;
}

bool PFont::SetUpFace()
{
    face = FaceFor(request);
    if (!face)
        return false;
    // The cell is the height asked; a font a pixel shorter leaves the pixel above it.
    int cell = request.height > 0 ? CellHeightOf(request) : int(face->metrics.tmHeight);
    descent = std::min(int(face->metrics.tmDescent), cell);
    ascent = cell - descent;
    underlinePosition = std::max(1, descent / 2);
    return true;
}

// Only the built-in font draws glyph by glyph here; GDI draws whole strings.
void PFont::RenderGlyph(unsigned char c, Glyph& glyph) const { RenderBitmapGlyph(c, glyph); }
