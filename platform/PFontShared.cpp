// The parts of PFont every system shares: creation, the glyph table, the built-in
// bitmap font and drawing glyph by glyph. PFont.cpp (FreeType and fontconfig) and
// PFontGdi.cpp (Windows) add the system's faces.
#include "platform/PFontBitmap.h"
#include "platform/PFontGlyph.h"
#include "platform/PSurface.h"

using platform::CellHeightOf;

namespace {
bool bitmapOnly = false;
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

// The face is shared and stays.
PFont::~PFont() = default;

void PFont::UseBitmapFontOnly(bool on) { bitmapOnly = on; }

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

int PFont::GlyphsWidth(const char* text, int count) const
{
    int width = 0;
    for (int i = 0; text && i < count; i++)
        width += GlyphOf(static_cast<unsigned char>(text[i])).advance;
    return width;
}

void PFont::DrawGlyphs(PSurface& surface, int x, int y, const char* text, int count, uint32_t colour) const
{
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

void PFont::SetUpBitmapFont()
{
    face = nullptr;
    int height = CellHeightOf(request);
    bitmapScale = std::max(1, height / PFontBitmap::CellHeight);
    descent = PFontBitmap::Descent * bitmapScale;
    ascent = std::max(height, PFontBitmap::CellHeight * bitmapScale) - descent;
    underlinePosition = bitmapScale;
}

void PFont::RenderBitmapGlyph(unsigned char c, Glyph& glyph) const
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
