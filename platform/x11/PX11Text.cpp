// Keys and text for the X11 backend: virtual-key codes from key symbols, typed
// characters as Windows-1252 bytes, and the code page's conversions.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "PX11State.h"  // private to this backend

namespace platform {

namespace {
// Unicode of the Windows-1252 bytes 0x80-0x9F; 0 where the code page has no character.
constexpr uint16_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t Cp1252ToUnicode(uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return HighControls[byte - 0x80] ? HighControls[byte - 0x80] : '?';
    return byte;
}

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

// Decodes one UTF-8 sequence at `at`, advancing it; malformed input yields U+FFFD.
uint32_t NextUtf8(const std::string& text, size_t& at)
{
    auto byte = [&](size_t i) { return uint8_t(text[i]); };
    uint8_t first = byte(at++);
    int extra = first < 0x80 ? 0 : (first >> 5) == 6 ? 1 : (first >> 4) == 14 ? 2 : (first >> 3) == 30 ? 3 : -1;
    if (extra < 0)
        return 0xFFFD;
    uint32_t code = extra == 0 ? first : first & (0x3F >> extra);
    for (int i = 0; i < extra; i++) {
        if (at >= text.size() || (byte(at) & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (byte(at++) & 0x3F);
    }
    return code;
}

struct KeyName {
    KeySym symbol;
    uint32_t virtualKey;
};

constexpr KeyName NamedKeys[] = {
    {XK_BackSpace, VK_BACK},     {XK_Tab, VK_TAB},           {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},      {XK_KP_Enter, VK_RETURN},   {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},      {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},         {XK_Alt_R, VK_MENU},        {XK_ISO_Level3_Shift, VK_MENU},
    {XK_Pause, VK_PAUSE},        {XK_Caps_Lock, VK_CAPITAL}, {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},        {XK_Prior, VK_PRIOR},       {XK_Next, VK_NEXT},
    {XK_End, VK_END},            {XK_Home, VK_HOME},         {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},              {XK_Right, VK_RIGHT},       {XK_Down, VK_DOWN},
    {XK_Insert, VK_INSERT},      {XK_Delete, VK_DELETE},     {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},       {XK_KP_End, VK_END},        {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT},       {XK_KP_Up, VK_UP},          {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},       {XK_KP_Insert, VK_INSERT},  {XK_KP_Delete, VK_DELETE},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},      {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Separator, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
    {XK_semicolon, VK_OEM_1},    {XK_plus, VK_OEM_PLUS},     {XK_equal, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},    {XK_minus, VK_OEM_MINUS},   {XK_period, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},        {XK_grave, VK_OEM_3},       {XK_ntilde, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},  {XK_backslash, VK_OEM_5},   {XK_bracketright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},
};
}  // namespace

uint32_t UnicodeToCp1252(uint32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return code;
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

std::string Cp1252ToLatin1(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (uint8_t(c) >= 0x80 && uint8_t(c) < 0xA0)
            c = '?';
    return out;
}

std::string Utf8ToCp1252(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        uint32_t byte = UnicodeToCp1252(NextUtf8(text, at));
        out += char(byte ? byte : '?');
    }
    return out;
}

uint32_t VirtualKeyOf(XKeyEvent& event)
{
    KeySym symbol = XkbKeycodeToKeysym(event.display, KeyCode(event.keycode), 0, 0);
    if (symbol >= XK_a && symbol <= XK_z)
        return uint32_t('A' + (symbol - XK_a));
    if (symbol >= XK_A && symbol <= XK_Z)
        return uint32_t(symbol);
    if (symbol >= XK_0 && symbol <= XK_9)
        return uint32_t(symbol);
    if (symbol >= XK_KP_0 && symbol <= XK_KP_9)
        return uint32_t(VK_NUMPAD0 + (symbol - XK_KP_0));
    if (symbol >= XK_F1 && symbol <= XK_F24)
        return uint32_t(VK_F1 + (symbol - XK_F1));
    for (const KeyName& key : NamedKeys)
        if (key.symbol == symbol)
            return key.virtualKey;
    // A symbol the program does not know: keep its character where it has one.
    uint32_t character = UnicodeToCp1252(symbol < 0x100 ? uint32_t(symbol) : 0);
    return character >= 'a' && character <= 'z' ? character - 32 : character;
}

// What the key types, as the desktop's key translation would give it: control
// characters for Enter, Tab, Backspace, Escape and Control with a letter; nothing for
// keys that type nothing (Delete, arrows, modifiers).
uint32_t CharacterOf(XKeyEvent& event)
{
    char bytes[8];
    KeySym symbol = NoSymbol;
    int count = XLookupString(&event, bytes, sizeof bytes, &symbol, nullptr);
    if (symbol == XK_Delete || symbol == XK_KP_Delete)
        return 0;
    if (count == 1)
        return uint8_t(bytes[0]);
    if (symbol >= 0x01000100 && symbol <= 0x0110FFFF)
        return UnicodeToCp1252(uint32_t(symbol - 0x01000000));
    if (symbol == XK_EuroSign)
        return 0x80;
    return 0;
}

}  // namespace platform
