#pragma once

// Private to the Win32 backend. The framework's headers come first: <windows.h>
// defines the same message and style names as macros, and its A/W function macros
// (CreateWindow, GetMessage, ...) would rename the backend's members, so those are
// undone after it.
#include "platform/PCodePage.h"
#include "platform/win32/PWin32System.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#undef CreateWindow
#undef RegisterClass
#undef PostMessage
#undef GetMessage
#undef PeekMessage
#undef DispatchMessage
#undef DefWindowProc
#undef SetWindowText
#undef GetWindowText

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

struct PWin32System::State {
    HINSTANCE instance = nullptr;
    HMODULE user32 = nullptr;
    SetLayeredAttributes setLayered = nullptr;  // looked up: optional on old systems
    HCURSOR arrow = nullptr;
    HWND helper = nullptr;  // message-only window that owns what this program puts on the clipboard

    std::unordered_map<std::string, PWindowProc> classes;
    std::unordered_set<HWND> arrowWindows;
    MSG last{};  // the message last taken from the queue, with its time and pointer position
    std::vector<uint32_t> pixelBuffer;
};

// Windows-1252 bytes and the UTF-16 of the system.
std::wstring WideFromCp1252(const char* text, size_t length);
std::wstring WideFromCp1252(const char* text);
// Characters Windows-1252 cannot hold become the stand-in byte.
std::string Cp1252FromWide(const wchar_t* text, size_t length);

}  // namespace platform
