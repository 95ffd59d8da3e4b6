#include "platform/PFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/PCodePage.h"
#include "platform/PFontGlyph.h"
#include "platform/PSurface.h"

// One loaded face file, shared by every font made from it. Sizes and transforms are
// set on it before each glyph is rendered, so sharing is safe on the one thread.
struct PFontFace {
    FT_Face face = nullptr;
};

namespace {
using platform::CellHeightOf;


FT_Library Library()
{
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
    }
    return library;
}

PFontFace* FaceFromFile(const std::string& file, int index)
{
    // Faces live as long as the process: fonts come and go with every canvas.
    static auto& faces = *new std::map<std::string, PFontFace*>;
    std::string key = file + "#" + std::to_string(index);
    auto found = faces.find(key);
    if (found != faces.end())
        return found->second;
    FT_Face face = nullptr;
    if (FT_New_Face(Library(), file.c_str(), index, &face) != 0)
        return faces[key] = nullptr;
    if (!FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        return faces[key] = nullptr;
    }
    return faces[key] = new PFontFace{face};
}

struct Match {
    PFontFace* face = nullptr;
    bool embolden = false;
    bool slant = false;
};

// Asks fontconfig for the face it substitutes for the request; every canvas makes a
// font, so answers are remembered.
Match FindFace(const PFontRequest& request)
{
    static auto& answers = *new std::map<std::string, Match>;
    std::string key = std::string(request.face) + (request.weight >= 600 ? "|b" : "|") + (request.italic ? "i" : "");
    auto known = answers.find(key);
    if (known != answers.end())
        return known->second;
    Match match;
    if (!Library() || !FcInit())
        return match;
    FcPattern* pattern = FcPatternCreate();
    if (request.face[0])
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found)
        return match;
    FcChar8* file = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(found, FC_INDEX, 0, &index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &slant);
        match.face = FaceFromFile(reinterpret_cast<const char*>(file), index);
        match.embolden = request.weight >= 600 && weight < FC_WEIGHT_DEMIBOLD;
        match.slant = request.italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(found);
    return answers[key] = match;
}

// Ascent and descent in font units as the desktop platform measures a cell.
void CellOf(FT_Face face, int& ascent, int& descent)
{
    auto os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    } else {
        ascent = face->ascender;
        descent = -face->descender;
    }
    if (ascent + descent <= 0) {
        ascent = face->units_per_EM * 4 / 5;
        descent = face->units_per_EM / 5;
    }
}

}  // namespace

int PFont::TextWidth(const char* text, int count) const { return GlyphsWidth(text, count); }

void PFont::Draw(PSurface& surface, int x, int y, const char* text, int count, uint32_t colour) const
{
    if (text && count > 0)
        DrawGlyphs(surface, x, y, text, count, colour);
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

bool PFont::SetUpFace()
{
    Match match = FindFace(request);
    if (!match.face)
        return false;
    face = match.face;
    int height = CellHeightOf(request);
    int unitsUp = 0, unitsDown = 0;
    CellOf(face->face, unitsUp, unitsDown);
    int units = unitsUp + unitsDown;
    ascent = (height * unitsUp + units / 2) / units;
    descent = height - ascent;
    embolden = match.embolden;
    slant = match.slant;
    pixelsPerEm = int64_t(height) * 64 * face->face->units_per_EM / units;
    underlinePosition = std::max(1, descent / 2);
    return true;
}

void PFont::RenderGlyph(unsigned char c, Glyph& glyph) const
{
    if (!face) {
        RenderBitmapGlyph(c, glyph);
        return;
    }
    FT_Face ft = face->face;
    FT_Set_Char_Size(ft, 0, FT_F26Dot6(pixelsPerEm), 72, 72);
    FT_Matrix shear{0x10000, slant ? 0x3800 : 0, 0, 0x10000};
    FT_Set_Transform(ft, &shear, nullptr);
    bool loaded = FT_Load_Char(ft, platform::Cp1252ToUnicode(c), FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) == 0;
    if (loaded && embolden && ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Embolden(&ft->glyph->outline, 64);
    if (loaded)
        loaded = FT_Render_Glyph(ft->glyph, FT_RENDER_MODE_MONO) == 0;
    FT_Set_Transform(ft, nullptr, nullptr);
    if (!loaded)
        return;
    FT_GlyphSlot slot = ft->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = int((slot->advance.x + 32) >> 6) + (embolden ? 1 : 0);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.bits.assign(size_t(glyph.width) * glyph.height, 0);
    for (int row = 0; row < glyph.height; row++) {
        const unsigned char* line = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        for (int column = 0; column < glyph.width; column++)
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (line[column >> 3] & (0x80 >> (column & 7))) : line[column] >= 128)
                glyph.bits[size_t(row) * glyph.width + column] = 1;
    }
}

// fontconfig keeps parts of its parsed configuration until the process ends; leak
// checking in sanitized builds should not count them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libexpat\n"; }
