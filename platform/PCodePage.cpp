#include "platform/PCodePage.h"

namespace platform {

namespace {
// Unicode of the Windows-1252 bytes 0x80-0x9F; 0 where the code page has no character.
constexpr uint16_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr uint32_t ReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `at`, advancing it; malformed input (stray or missing
// continuation bytes, overlong forms, surrogates, values past U+10FFFF) yields U+FFFD.
uint32_t NextUtf8(const std::string& text, size_t& at)
{
    static constexpr uint32_t Smallest[4] = {0, 0x80, 0x800, 0x10000};
    uint8_t first = uint8_t(text[at++]);
    int extra = first < 0x80 ? 0 : (first >> 5) == 6 ? 1 : (first >> 4) == 14 ? 2 : (first >> 3) == 30 ? 3 : -1;
    if (extra < 0)
        return ReplacementCharacter;
    uint32_t code = extra == 0 ? first : first & (0x3F >> extra);
    for (int i = 0; i < extra; i++) {
        if (at >= text.size() || (uint8_t(text[at]) & 0xC0) != 0x80)
            return ReplacementCharacter;
        code = (code << 6) | (uint8_t(text[at++]) & 0x3F);
    }
    if (code < Smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
        return ReplacementCharacter;
    return code;
}
}  // namespace

uint32_t Cp1252ToUnicode(uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return HighControls[byte - 0x80] ? HighControls[byte - 0x80] : ReplacementCharacter;
    return byte;
}

uint32_t UnicodeToCp1252(uint32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return code;
    if (code == ReplacementCharacter)
        return StandInByte;
    for (int i = 0; i < 32; i++)
        if (HighControls[i] && HighControls[i] == code)
            return uint32_t(0x80 + i);
    return 0;
}

std::string Cp1252ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, Cp1252ToUnicode(uint8_t(c)));
    return out;
}

std::string Utf8ToCp1252(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        uint32_t byte = UnicodeToCp1252(NextUtf8(text, at));
        out += char(byte ? byte : StandInByte);
    }
    return out;
}

std::string Cp1252ToLatin1(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (uint8_t(c) >= 0x80 && uint8_t(c) < 0xA0)
            c = '?';
    return out;
}

std::string TextFromFileName(const std::string& name) { return Utf8ToCp1252(name); }

bool FileNameFromText(const std::string& text, std::string& name)
{
    for (char c : text)
        if (uint8_t(c) >= 0x80 && uint8_t(c) < 0xA0 && !HighControls[uint8_t(c) - 0x80])
            return false;
    name = Cp1252ToUtf8(text);
    return true;
}

}  // namespace platform
