#include "platform/win32/PWin32System.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PWin32State.h"  // private to this backend

namespace platform {

namespace {
// The one backend of the process; the window procedure of the class reaches it here.
PWin32System::State* current = nullptr;

HWND Hwnd(PHandle window) { return reinterpret_cast<HWND>(window); }
PHandle Handle(HWND window) { return reinterpret_cast<PHandle>(window); }

// AltGr reaches Windows programs as a left Control pressed together with the right Alt
// (same time stamp). The toolkit takes Control as the start of a command, so that
// Control is left out, and AltGr types its character as on the other backends.
bool IsAltGrControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    constexpr LPARAM Extended = LPARAM(1) << 24;
    if (message != WM_KEYDOWN || wParam != VK_CONTROL || (lParam & Extended))
        return false;
    MSG next;
    return ::PeekMessageW(&next, window, WM_KEYDOWN, WM_SYSKEYUP, PM_NOREMOVE | PM_NOYIELD) &&
           next.wParam == VK_MENU && (next.lParam & Extended) && next.time == DWORD(::GetMessageTime());
}

// Windows gives the wheel to the window with the keyboard focus; the program scrolls
// what is under the pointer, as on the other systems, so the turn goes to that window
// when it is one of this thread's windows of the class.
HWND WheelTarget(HWND window, LPARAM lParam, PWindowProc procedure)
{
    POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
    HWND under = ::WindowFromPoint(at);
    if (!under || under == window || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId())
        return window;
    auto own = reinterpret_cast<PWindowProc>(GetWindowLongPtrW(under, GWLP_USERDATA));
    return own == procedure ? under : window;
}

// Every window of a registered class runs through here. The framework's procedure rides
// in the creation parameters and is kept in the window's user data; messages that come
// before it (WM_GETMINMAXINFO) get the default processing.
LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto procedure = reinterpret_cast<PWindowProc>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        auto creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        procedure = reinterpret_cast<PWindowProc>(creation->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(procedure));
    }
    if (message == WM_NCDESTROY && current)
        current->arrowWindows.erase(window);
    if (!procedure)
        return DefWindowProcW(window, message, wParam, lParam);
    if (IsAltGrControl(window, message, wParam, lParam))
        return 0;
    if (message == WM_CHAR) {
        // The toolkit types Windows-1252 bytes; a character the code page lacks (or half
        // of a surrogate pair) types nothing, as on the other backends.
        wParam = UnicodeToCp1252(uint32_t(wParam & 0xFFFF));
        if (wParam == 0)
            return 0;
    }
    if (message == WM_MOUSEWHEEL)
        window = WheelTarget(window, lParam, procedure);
    return procedure(Handle(window), message, wParam, lParam);
}

// Messages for a window that is gone are dropped, as the other backends forget them.
bool Stale(const MSG& message) { return message.hwnd && !::IsWindow(message.hwnd); }
}  // namespace

std::wstring WideFromCp1252(const char* text, size_t length)
{
    std::wstring wide;
    wide.reserve(length);
    for (size_t i = 0; i < length; i++)
        wide += wchar_t(Cp1252ToUnicode(uint8_t(text[i])));
    return wide;
}

std::wstring WideFromCp1252(const char* text) { return text ? WideFromCp1252(text, std::strlen(text)) : L""; }

std::string Cp1252FromWide(const wchar_t* text, size_t length)
{
    std::string bytes;
    bytes.reserve(length);
    for (size_t i = 0; i < length; i++) {
        uint32_t code = uint16_t(text[i]);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < length && uint16_t(text[i + 1]) >= 0xDC00 &&
            uint16_t(text[i + 1]) < 0xE000) {
            i++;
            bytes += char(StandInByte);
            continue;
        }
        uint32_t byte = UnicodeToCp1252(code);
        bytes += char(byte || code == 0 ? byte : StandInByte);
    }
    return bytes;
}

std::unique_ptr<PWin32System> PWin32System::Open()
{
    auto s = std::make_unique<State>();
    s->instance = GetModuleHandleW(nullptr);
    s->user32 = LoadLibraryW(L"user32");
    if (s->user32)
        // Through void (*)(): the one pointer type every function pointer may pass through.
        s->setLayered = reinterpret_cast<SetLayeredAttributes>(
            reinterpret_cast<void (*)()>(GetProcAddress(s->user32, "SetLayeredWindowAttributes")));
    s->arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    s->helper = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, s->instance, nullptr);
    if (!s->helper || !::GetDesktopWindow()) {
        if (s->user32)
            FreeLibrary(s->user32);
        return nullptr;
    }
    return std::unique_ptr<PWin32System>(new PWin32System(std::move(s)));
}

PWin32System::PWin32System(std::unique_ptr<State> s) : state(std::move(s)) { current = state.get(); }

PWin32System::~PWin32System()
{
    ::DestroyWindow(state->helper);
    for (auto& [name, procedure] : state->classes)
        UnregisterClassW(WideFromCp1252(name.c_str()).c_str(), state->instance);
    if (state->user32)
        FreeLibrary(state->user32);
    if (current == state.get())
        current = nullptr;
}

int PWin32System::RegisterClass(const char* name, PWindowProc procedure)
{
    if (!name || !procedure)
        return 0;
    if (!state->classes.count(name)) {
        std::wstring wide = WideFromCp1252(name);
        WNDCLASSW windowClass{};
        windowClass.style = CS_GLOBALCLASS;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = state->instance;
        // The program's icon for the taskbar and Alt+Tab; programs without one get none.
        windowClass.hIcon = LoadIconW(state->instance, MAKEINTRESOURCEW(1));
        windowClass.lpszClassName = wide.c_str();
        // A class left from an earlier application in this process serves as well.
        if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return 0;
    }
    state->classes[name] = procedure;
    return 1;
}

PHandle PWin32System::CreateWindow(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                                   int x, int y, int width, int height, PHandle parent)
{
    auto found = state->classes.find(className ? className : "");
    if (found == state->classes.end())
        return 0;
    bool child = (style & WS_CHILD) != 0;
    if (child && !::IsWindow(Hwnd(parent)))
        return 0;
    // A top-level window has no owner: it gets its own button on the taskbar.
    HWND window = CreateWindowExW(exStyle, WideFromCp1252(className).c_str(), WideFromCp1252(title).c_str(), style,
                                  x, y, std::max(width, 0), std::max(height, 0), child ? Hwnd(parent) : nullptr,
                                  nullptr, state->instance, reinterpret_cast<void*>(found->second));
    // Windows puts a new child below its siblings; the toolkit lays overlapping
    // children out expecting the newest on top, as the other window systems stack them.
    if (window && child)
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return Handle(window);
}

void PWin32System::AdjustWindowRect(PRect& rect, uint32_t style, uint32_t exStyle)
{
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    if (::AdjustWindowRectEx(&r, style, FALSE, exStyle))
        rect = {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

int PWin32System::DestroyWindow(PHandle window) { return ::DestroyWindow(Hwnd(window)) ? 1 : 0; }

int PWin32System::ShowWindow(PHandle window, int command)
{
    HWND hwnd = Hwnd(window);
    if (!::IsWindow(hwnd))
        return 0;
    if (command == SW_HIDE && ::GetCapture() == hwnd)
        ::ReleaseCapture();
    // Showing a child must not restack it: showing normally would raise it above
    // siblings created after it.
    if (command != SW_HIDE && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        command = SW_SHOWNA;
    return ::ShowWindow(hwnd, command) ? 1 : 0;
}

int PWin32System::MoveWindow(PHandle window, int x, int y, int width, int height, int repaint)
{
    return ::MoveWindow(Hwnd(window), x, y, std::max(width, 0), std::max(height, 0), repaint ? TRUE : FALSE) ? 1 : 0;
}

int PWin32System::SetWindowText(PHandle window, const char* text)
{
    return ::SetWindowTextW(Hwnd(window), WideFromCp1252(text).c_str()) ? 1 : 0;
}

std::string PWin32System::GetWindowText(PHandle window)
{
    int length = ::GetWindowTextLengthW(Hwnd(window));
    if (length <= 0)
        return {};
    std::wstring wide(size_t(length) + 1, L'\0');
    int got = ::GetWindowTextW(Hwnd(window), wide.data(), length + 1);
    return Cp1252FromWide(wide.data(), size_t(std::max(got, 0)));
}

int PWin32System::IsWindow(PHandle window) { return window && ::IsWindow(Hwnd(window)) ? 1 : 0; }

PHandle PWin32System::GetDesktopWindow() { return Handle(::GetDesktopWindow()); }

int PWin32System::GetWindowRect(PHandle window, PRect& rect)
{
    RECT r;
    if (!::GetWindowRect(Hwnd(window), &r))
        return 0;
    rect = {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    return 1;
}

int PWin32System::GetClientRect(PHandle window, PRect& rect)
{
    RECT r;
    if (!::GetClientRect(Hwnd(window), &r))
        return 0;
    rect = {int(r.left), int(r.top), int(r.right), int(r.bottom)};
    return 1;
}

int PWin32System::GetCursorPos(PPoint& point)
{
    POINT p;
    if (!::GetCursorPos(&p))
        return 0;
    point = {int(p.x), int(p.y)};
    return 1;
}

int PWin32System::PostMessage(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return ::PostMessageW(Hwnd(window), message, wParam, lParam) ? 1 : 0;
}

namespace {
PMessage Taken(const MSG& m)
{
    return PMessage{Handle(m.hwnd), uint32_t(m.message), uintptr_t(m.wParam), intptr_t(m.lParam), 0};
}
}  // namespace

// The quit message ends no loop of this program (the loop stops only by Stop), so it
// reads as "no message".
int PWin32System::GetMessage(PMessage& message)
{
    for (;;) {
        BOOL result = ::GetMessageW(&state->last, nullptr, 0, 0);
        if (result == 0 || result == -1)
            return 0;
        if (Stale(state->last))
            continue;
        message = Taken(state->last);
        return 1;
    }
}

int PWin32System::PeekMessage(PMessage& message)
{
    while (::PeekMessageW(&state->last, nullptr, 0, 0, PM_REMOVE)) {
        if (state->last.message == WM_QUIT)
            return 0;
        if (Stale(state->last))
            continue;
        message = Taken(state->last);
        return 1;
    }
    return 0;
}

// Sleeps until a message arrives or the time is up; input seen by an earlier peek but
// not yet taken counts as arrived.
int PWin32System::WaitMessage(int timeoutMs)
{
    MSG m;
    if (::PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE))
        return 1;
    DWORD wait = timeoutMs < 0 ? INFINITE : DWORD(timeoutMs);
    return MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 ? 1 : 0;
}

namespace {
// The native record of a message: the one last taken when it is that one (with its
// time and pointer position, which key translation reads), else built from the fields.
MSG NativeOf(const PMessage& message, const MSG& last)
{
    if (Handle(last.hwnd) == message.window && last.message == message.message &&
        uintptr_t(last.wParam) == message.wParam && intptr_t(last.lParam) == message.lParam)
        return last;
    MSG m{};
    m.hwnd = Hwnd(message.window);
    m.message = message.message;
    m.wParam = message.wParam;
    m.lParam = message.lParam;
    m.time = ::GetMessageTime();
    return m;
}
}  // namespace

int PWin32System::TranslateMessage(const PMessage& message)
{
    MSG m = NativeOf(message, state->last);
    return ::TranslateMessage(&m) ? 1 : 0;
}

intptr_t PWin32System::DispatchMessage(const PMessage& message)
{
    MSG m = NativeOf(message, state->last);
    return ::DispatchMessageW(&m);
}

// Windows of the class have no class cursor: the arrow is set whenever the pointer
// comes over one that asked for it.
intptr_t PWin32System::DefWindowProc(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    HWND hwnd = Hwnd(window);
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT && state->arrowWindows.count(hwnd)) {
        ::SetCursor(state->arrow);
        return TRUE;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

int PWin32System::GetUpdateRect(PHandle window, PRect& rect, int erase)
{
    RECT r{};
    BOOL any = ::GetUpdateRect(Hwnd(window), &r, erase ? TRUE : FALSE);
    rect = any ? PRect{int(r.left), int(r.top), int(r.right), int(r.bottom)} : PRect();
    return any && !rect.Empty() ? 1 : 0;
}

// The surface holds colour references (red in the low byte); a device-independent
// bitmap of 32 bits wants blue there. Only the painted rectangle is validated, so a
// part exposed meanwhile elsewhere still gets its WM_PAINT.
int PWin32System::PaintPixels(PHandle window, const PPixels& source, int x, int y, int width, int height)
{
    HWND hwnd = Hwnd(window);
    RECT client;
    if (!::GetClientRect(hwnd, &client))
        return 0;
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min({x + width, int(client.right), source.width});
    int bottom = std::min({y + height, int(client.bottom), source.height});
    RECT painted{left, top, std::max(right, left), std::max(bottom, top)};
    ::ValidateRect(hwnd, &painted);
    if (!source.pixels || right <= left || bottom <= top)
        return 1;
    int w = right - left, h = bottom - top;
    std::vector<uint32_t>& buffer = state->pixelBuffer;
    if (buffer.size() < size_t(w) * size_t(h))
        buffer.resize(size_t(w) * size_t(h));
    for (int row = 0; row < h; row++) {
        const uint32_t* from = source.pixels + size_t(top + row) * size_t(source.pitch) + size_t(left);
        uint32_t* to = buffer.data() + size_t(row) * size_t(w);
        for (int column = 0; column < w; column++) {
            uint32_t c = from[column];
            to[column] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = ::GetDC(hwnd);
    if (!dc)
        return 0;
    int lines = ::SetDIBitsToDevice(dc, left, top, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), buffer.data(), &info,
                                    DIB_RGB_COLORS);
    ::ReleaseDC(hwnd, dc);
    return lines > 0 ? 1 : 0;
}

PHandle PWin32System::SetCapture(PHandle window) { return Handle(::SetCapture(Hwnd(window))); }

int PWin32System::ReleaseCapture() { return ::ReleaseCapture() ? 1 : 0; }

// Focus goes only to a window that can be seen, as on the other backends.
PHandle PWin32System::SetFocus(PHandle window)
{
    HWND hwnd = Hwnd(window);
    if (!::IsWindow(hwnd) || !::IsWindowVisible(hwnd))
        return Handle(::GetFocus());
    return Handle(::SetFocus(hwnd));
}

PHandle PWin32System::GetFocus() { return Handle(::GetFocus()); }

void PWin32System::SetArrowCursor(PHandle window)
{
    HWND hwnd = Hwnd(window);
    if (!::IsWindow(hwnd))
        return;
    state->arrowWindows.insert(hwnd);
    POINT pointer;
    if (::GetCursorPos(&pointer) && ::WindowFromPoint(pointer) == hwnd)
        ::SetCursor(state->arrow);
}

int PWin32System::OffersTranslucency() { return state->setLayered ? 1 : 0; }

// Layered windows are top-level ones (children only from Windows 8, and only for
// programs that declare it).
int PWin32System::SetWindowAlpha(PHandle window, int alpha)
{
    HWND hwnd = Hwnd(window);
    if (!state->setLayered || !::IsWindow(hwnd) || (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        return 0;
    LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    return state->setLayered(hwnd, 0, BYTE(std::clamp(alpha, 0, 255)), LWA_ALPHA) ? 1 : 0;
}

// Dropping the layered style frees its off-screen copy; the window is then painted anew.
int PWin32System::ClearWindowAlpha(PHandle window)
{
    HWND hwnd = Hwnd(window);
    if (!::IsWindow(hwnd))
        return 0;
    LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (exStyle & WS_EX_LAYERED) {
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~LONG_PTR(WS_EX_LAYERED));
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return 1;
}

uint64_t PWin32System::GetClock() { return uint64_t(GetTickCount64()); }

std::unique_ptr<PWin32System> OpenWin32OrExit()
{
    std::unique_ptr<PWin32System> system = PWin32System::Open();
    if (!system) {
        std::fprintf(stderr, "No se puede abrir el escritorio de Windows (error %lu).\n",
                     static_cast<unsigned long>(GetLastError()));
        std::exit(1);
    }
    return system;
}

}  // namespace platform
