#pragma once

#include <cstdint>

class PSurface;
struct PFontFace;

// What a font was asked for, kept as given so callers can see how a font description
// was understood.
struct PFontRequest {
    char face[64] = {};   // face name as asked (the substitute may differ)
    int height = 0;       // character cell height in pixels; 0: the default size
    int weight = 0;       // 0 default, 700 bold
    bool italic = false;
    bool underline = false;
};

// A native font: a face found by fontconfig (with its substitution of unknown names,
// so "Ms Sans Serif" gets what the system offers) rasterised by FreeType without
// anti-aliasing, or a small built-in bitmap font when no usable face exists.
//
// Sizes follow the character cell: the requested height is ascent + descent, and text
// is placed by the bottom of its cell. Characters are Windows-1252 bytes.
class PFont {
public:
    // Never fails: without a usable face the built-in bitmap font answers.
    static PFont* Create(const PFontRequest& request);
    // The font used where none is given (the default of a fresh device context).
    static const PFont* Default();
    ~PFont();
    PFont(const PFont&) = delete;
    PFont& operator=(const PFont&) = delete;

    const PFontRequest& GetRequest() const { return request; }
    int GetHeight() const { return ascent + descent; }
    int GetAscent() const { return ascent; }
    bool IsBitmapFallback() const { return face == nullptr; }

    // Text extent: x the advance width, y the cell height.
    int TextWidth(const char* text, int count) const;

    // Draws with the bottom of the cell on row y (exclusive, as the platform's
    // bottom alignment); transparent background.
    void Draw(PSurface& surface, int x, int y, const char* text, int count, uint32_t colour) const;

    // Forces the built-in bitmap font for fonts made from now on (tests; no system fonts).
    static void UseBitmapFontOnly(bool on);

private:
    struct Glyph;
    PFont() = default;
    const Glyph& GlyphOf(unsigned char c) const;
    void RenderGlyph(unsigned char c, Glyph& glyph) const;
    void RenderBitmapGlyph(unsigned char c, Glyph& glyph) const;
    int GlyphsWidth(const char* text, int count) const;
    void DrawGlyphs(PSurface& surface, int x, int y, const char* text, int count, uint32_t colour) const;
    void SetUpBitmapFont();
    bool SetUpFace();

    PFontRequest request;
    PFontFace* face = nullptr;   // shared, owned by the face cache
    int ascent = 0;
    int descent = 0;
    int underlinePosition = 0;  // rows below the baseline
    int bitmapScale = 1;        // for the built-in font
    bool embolden = false;      // bold asked for, the face has none
    bool slant = false;         // italic asked for, the face has none
    int64_t pixelsPerEm = 0;    // 26.6 fixed point
    mutable Glyph* glyphs = nullptr;  // 256 entries, rendered on first use, shared
    Glyph* SharedGlyphs() const;
};
