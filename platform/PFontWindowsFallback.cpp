// Fonts on Windows, for now the built-in bitmap font alone: the faces of the system
// (GDI) come in a file of their own. Sizes, placement and glyph sharing are those of
// every other system.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/PFont.h"
#include "platform/PFontBitmap.h"
#include "platform/PSurface.h"

// No face is ever loaded here.
struct PFontFace {};

struct PFont::Glyph {
    bool ready = false;
    int advance = 0;
    int left = 0;   // from the pen position
    int top = 0;    // rows above the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;  // width × height, 1 where the glyph sets a pixel
};

namespace {
constexpr int DefaultCellHeight = 13;  // what a request of height 0 gets
bool bitmapOnly = false;

// Cells beyond a screen's height would only cost memory for glyphs nobody can see.
constexpr int LargestCellHeight = 1024;

int CellHeightOf(const PFontRequest& request)
{
    return request.height > 0 ? std::min(request.height, LargestCellHeight) : DefaultCellHeight;
}
}  // namespace

PFont* PFont::Create(const PFontRequest& wanted)
{
    auto font = new PFont();
    font->request = wanted;
    font->request.face[sizeof font->request.face - 1] = '\0';
    if (bitmapOnly || !font->SetUpFace())
        font->SetUpBitmapFont();
    return font;
}

const PFont* PFont::Default()
{
    static PFont* font = Create(PFontRequest{});
    return font;
}

PFont::~PFont() = default;

void PFont::UseBitmapFontOnly(bool on) { bitmapOnly = on; }

int PFont::TextWidth(const char* text, int count) const
{
    int width = 0;
    for (int i = 0; text && i < count; i++)
        width += GlyphOf(static_cast<unsigned char>(text[i])).advance;
    return width;
}

void PFont::Draw(PSurface& surface, int x, int y, const char* text, int count, uint32_t colour) const
{
    if (!text || count <= 0)
        return;
    int baseline = y - descent;
    int pen = x;
    for (int i = 0; i < count; i++) {
        const Glyph& glyph = GlyphOf(static_cast<unsigned char>(text[i]));
        for (int row = 0; row < glyph.height; row++)
            for (int column = 0; column < glyph.width; column++)
                if (glyph.bits[size_t(row) * glyph.width + column])
                    surface.SetPixel(pen + glyph.left + column, baseline - glyph.top + row, colour);
        pen += glyph.advance;
    }
    if (request.underline)
        surface.FillRect(x, baseline + underlinePosition, pen - x, std::max(1, bitmapScale), colour);
}

const PFont::Glyph& PFont::GlyphOf(unsigned char c) const
{
    if (!glyphs)
        glyphs = SharedGlyphs();
    Glyph& glyph = glyphs[c];
    if (!glyph.ready) {
        RenderGlyph(c, glyph);
        glyph.ready = true;
    }
    return glyph;
}

// Fonts that render alike share their glyphs: windows make a font for every canvas,
// and rendering the same glyphs again for each would cost more than the canvas.
PFont::Glyph* PFont::SharedGlyphs() const
{
    static auto& tables = *new std::map<std::string, Glyph*>;
    std::string key = std::to_string(reinterpret_cast<uintptr_t>(face)) + "/" + std::to_string(pixelsPerEm) + "/" +
                      std::to_string(bitmapScale) + "/" + std::to_string(embolden) + std::to_string(slant) +
                      std::to_string(request.weight >= 600);
    Glyph*& table = tables[key];
    if (!table)
        table = new Glyph[256];
    return table;
}

// No system faces yet: every font is the built-in one.
bool PFont::SetUpFace() { return false; }

void PFont::SetUpBitmapFont()
{
    face = nullptr;
    int height = CellHeightOf(request);
    bitmapScale = std::max(1, height / PFontBitmap::CellHeight);
    descent = PFontBitmap::Descent * bitmapScale;
    ascent = std::max(height, PFontBitmap::CellHeight * bitmapScale) - descent;
    underlinePosition = bitmapScale;
}

void PFont::RenderGlyph(unsigned char c, Glyph& glyph) const
{
    const uint8_t* columns = PFontBitmap::ColumnsOf(c);
    int s = bitmapScale;
    int bold = request.weight >= 600 ? 1 : 0;
    glyph.advance = (PFontBitmap::Advance + bold) * s;
    glyph.width = (PFontBitmap::GlyphWidth + bold) * s;
    glyph.height = 8 * s;
    glyph.top = 7 * s;
    glyph.bits.assign(size_t(glyph.width) * glyph.height, 0);
    for (int column = 0; column < PFontBitmap::GlyphWidth; column++)
        for (int row = 0; row < 8; row++)
            if (columns[column] & (1 << row))
                for (int b = 0; b <= bold; b++)
                    for (int dy = 0; dy < s; dy++)
                        for (int dx = 0; dx < s; dx++)
                            glyph.bits[size_t(row * s + dy) * glyph.width + (column + b) * s + dx] = 1;
}
