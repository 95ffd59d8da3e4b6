// Clipboard text as Unicode (CF_UNICODETEXT), so that other programs read and give
// the same characters whatever the system's ANSI code page is. Windows programs end
// lines with CR LF: lines are written so, and the text editors drop the CR when pasting.
#include "platform/win32/PWin32System.h"

#include <cstring>

#include "PWin32State.h"  // private to this backend

namespace platform {

namespace {
constexpr int OpenAttempts = 25;
}  // namespace

// Text that is there but cannot be read (the clipboard held by another program past
// the attempts, a block that cannot be locked) is a failure, not an empty clipboard.
int PWin32System::GetClipboardText(std::string& text)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
        return 0;
    int attempt = 0;
    while (!OpenClipboard(state->helper)) {
        if (++attempt == OpenAttempts)
            return -1;
        Sleep(8);
    }
    int ok = -1;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto units = static_cast<const wchar_t*>(GlobalLock(data))) {
            // The block may be larger than the text, and a bad one may lack its zero.
            size_t capacity = GlobalSize(data) / sizeof(wchar_t), length = 0;
            while (length < capacity && units[length])
                length++;
            text = Cp1252FromWide(units, length);
            GlobalUnlock(data);
            ok = 1;
        }
    }
    CloseClipboard();
    return ok;
}

int PWin32System::SetClipboardText(const char* text, size_t length)
{
    if (!text)
        length = 0;
    std::wstring wide;
    wide.reserve(length + length / 8 + 1);
    for (size_t i = 0; i < length && text[i]; i++) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            wide += L'\r';
        wide += wchar_t(Cp1252ToUnicode(uint8_t(text[i])));
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!block)
        return 0;
    auto units = static_cast<wchar_t*>(GlobalLock(block));
    if (!units) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(units, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    // Another program may hold the clipboard for a moment: the caller tries again.
    if (!OpenClipboard(state->helper)) {
        GlobalFree(block);
        return 0;
    }
    int ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) ? 1 : 0;
    CloseClipboard();
    if (!ok)
        GlobalFree(block);  // still ours: the clipboard did not take it
    return ok;
}

}  // namespace platform
