#include "app/PlotFonts.h"

#include <cmath>

#include "app/PlotPainter.h"
#include "graphics/CFont.h"
#include "platform/PFont.h"

const PFont* PlotFonts::Get(const PlotText& look)
{
    int size = std::max(6, static_cast<int>(std::lround(look.size)));
    int key = size * 2 + (look.bold ? 1 : 0);
    for (auto& [k, font] : fonts)
        if (k == key)
            return font.As<CFont>()->fontHandle ? font.As<CFont>()->fontHandle : PFont::Default();
    auto* font = new CFont(app);
    fonts.emplace_back(key, Variable(font));
    font->Set(((look.bold ? "B-Arial:" : "Arial:") + std::to_string(size)).c_str());
    return font->created && font->fontHandle ? font->fontHandle : PFont::Default();
}

double PlotFonts::Width(const std::string& text, const PlotText& look)
{
    return Get(look)->TextWidth(text.data(), static_cast<int>(text.size()));
}

double PlotFonts::Descent(const PlotText& look)
{
    const PFont* font = Get(look);
    return font->GetHeight() - font->GetAscent();
}
