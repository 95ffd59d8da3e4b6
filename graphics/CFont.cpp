#include "graphics/CFont.h"

#include <cstring>

#include "core/CApplication.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "platform/PFont.h"

namespace {
constexpr int SizeWithoutDigits = 12;
const char NoText[] = "|_";

// Reads the decimal integer at the start of `text`; 0 without digits.
int LeadingInteger(const char* text)
{
    long value = 0;
    for (; *text >= '0' && *text <= '9'; text++)
        if (value < 100000)
            value = value * 10 + (*text - '0');
    return static_cast<int>(value);
}

const PFont* Measurer(const CFont* font) { return font->created && font->fontHandle ? font->fontHandle : PFont::Default(); }
}  // namespace

CFont::CFont(CApplication* app) : CComponent(app) { className = "CFont"; }

CFont::~CFont()
{
    LeaveRegistry();
    if (created)
        DestroyFont();
}

int CFont::Destroy() { return DestroyFont(); }

void CFont::SetDefault() { Set(DefaultFontName); }

void CFont::Set(const char* description)
{
    if (created)
        DestroyFont();
    if (!description)
        description = "";
    size_t length = std::strlen(description);
    auto copy = static_cast<char*>(CApplication::AllocateBlock(length + 2));
    std::memcpy(copy, description, length + 1);
    copy[length + 1] = '\0';

    PFontRequest request;
    request.italic = std::strstr(copy, "I-") != nullptr;
    request.underline = std::strstr(copy, "U-") != nullptr;
    request.weight = std::strstr(copy, "B-") ? 700 : 0;
    char* dash = std::strrchr(copy, '-');
    const char* face = dash ? dash + 1 : copy;
    if (char* colon = std::strchr(copy, ':')) {
        int size = LeadingInteger(colon + 1);
        request.height = size < 1 ? SizeWithoutDigits : size;
        *colon = '\0';
    }
    std::strncpy(request.face, face, sizeof request.face - 1);
    CApplication::Free(copy);

    fontHandle = PFont::Create(request);
    created = fontHandle ? 1 : 0;
}

int CFont::TextWidth(const char* text)
{
    if (!text)
        return TextWidth(NoText, 2);
    return TextWidth(text, static_cast<uint32_t>(std::strlen(text)));
}

int CFont::TextWidth(CString* text)
{
    Variable hold(text);
    if (!text)
        return TextWidth(NoText, 2);
    return TextWidth(text->GetBuffer(), text->GetLength());
}

int CFont::TextWidth(const char* text, uint32_t count)
{
    if (!text)
        return TextWidth(NoText, 2);
    return Measurer(this)->TextWidth(text, static_cast<int>(count));
}

int CFont::TextHeight(const char*) { return Measurer(this)->GetHeight(); }

int CFont::TextHeight(const char*, uint32_t) { return Measurer(this)->GetHeight(); }

int CFont::DestroyFont()
{
    if (created)
        delete fontHandle;
    fontHandle = nullptr;
    created = 0;
    return 0;
}
