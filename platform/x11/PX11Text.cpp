// Keys and text for the X11 backend: virtual-key codes from key symbols, typed
// characters as Windows-1252 bytes.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "PX11State.h"  // private to this backend

namespace platform {

namespace {
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
