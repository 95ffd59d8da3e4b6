#include "toolkit/CWindow.h"

#include <chrono>
#include <thread>

#include "core/CObjectList.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "platform/PSurface.h"
#include "toolkit/CGApplication.h"

using namespace platform;

namespace {
constexpr uint32_t ChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// 0x8 is an extended-style bit (topmost) and means nothing in the style word: left out.
constexpr uint32_t PopupStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr uint32_t CaptionedStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// A window system that keeps refusing a window is not waited for forever.
constexpr int CreationAttempts = 20;
}  // namespace

CWindow::CWindow(CGApplication* app) : CWComponent(app) { className = "CWindow"; }

CWindow::~CWindow()
{
    LeaveRegistry();
    if (created)
        DestroyWindow();
}

int CWindow::Destroy() { return DestroyWindow(); }

void CWindow::UpdateRect(int left, int top, int w, int h) { Blit(left, top, w, h); }

void CWindow::Update() { Blit(0, 0, width, height); }

void CWindow::Blit(int left, int top, int w, int h)
{
    PWindowSystem* system = GetApplication() ? GetApplication()->GetSystem() : nullptr;
    if (!system || !handle)
        return;
    PPixels pixels;
    CCanvas* surfaceOwner = canvas.CheckedAs<CCanvas>();
    if (PSurface* surface = surfaceOwner ? surfaceOwner->GetSurface() : nullptr) {
        pixels.pixels = surface->GetPixels();
        pixels.pitch = surface->GetWidth();
        pixels.width = surface->GetWidth();
        pixels.height = surface->GetHeight();
    }
    system->PaintPixels(handle, pixels, left, top, w, h);
}

void CWindow::BlitAll() { Blit(0, 0, width, height); }

void CWindow::HandleEvent(CEvent event)
{
    if (event.source == application) {
        switch (event.type) {
        case EV_SHOW:
            visible = 1;
            break;
        case EV_RESIZE:
            ApplyResize(event);
            break;
        case EV_HIDE:
            visible = 0;
            break;
        case EV_KEYDOWN:
            if (event.key == VK_TAB && parent)
                FocusNext(0);
            break;
        case EV_CLOSE:
            // Closing only hides: the window stays alive and can be shown again.
            if (visible) {
                SendToSelf(EV_HIDE);
                Release();
                if (GetApplication()->GetSystem())
                    GetApplication()->GetSystem()->ShowWindow(handle, SW_HIDE);
            }
            break;
        default:
            break;
        }
    }
    if (created && parent && application && application->autoDelete) {
        event.source = this;
        parent->HandleEvent(event);
    }
}

void CWindow::Draw() {}

// The canvas is made anew only when the size really changes; its pixels are then the
// window's Draw to paint.
void CWindow::ApplyResize(const CEvent& rect)
{
    x = rect.x;
    y = rect.y;
    if (rect.width != width || rect.height != height) {
        width = rect.width;
        height = rect.height;
        NewCanvas(width, height);
    }
}

void CWindow::Create(int left, int top, int w, int h, CWindow* parentWindow, const char* title, uint32_t r,
                     uint32_t g, uint32_t b)
{
    CGApplication* app = GetApplication();
    PWindowSystem* system = app ? app->GetSystem() : nullptr;
    if (created || !system)
        return;
    bool undecorated = title == NoTitle;
    if (!title)
        title = CApplication::Title() ? CApplication::Title() : "";
    if (parentWindow && (!app->IsAlive(parentWindow) || !parentWindow->created))
        parentWindow = nullptr;

    uint32_t style = parentWindow ? ChildStyle : undecorated ? PopupStyle : CaptionedStyle;
    uint32_t exStyle = !parentWindow && !undecorated ? WS_EX_TOPMOST : 0;
    PHandle nativeParent = parentWindow ? parentWindow->handle : system->GetDesktopWindow();
    PRect outer{0, 0, w, h};
    system->AdjustWindowRect(outer, style, exStyle);
    for (int attempt = 0; attempt < CreationAttempts && !handle; attempt++) {
        handle = system->CreateWindow(exStyle, CGApplication::WindowClassName, title, style, left, top,
                                      outer.Width(), outer.Height(), nativeParent);
        if (!handle)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!handle)
        return;

    children = new CObjectList(app, NotRegistered);
    children->Create();
    parentRef = parentWindow;
    if (parentWindow)
        parentWindow->children->AddUnreferenced(this);
    NewCanvas(w, h);
    CCanvas* surface = canvas.As<CCanvas>();
    surface->SetColour(app->packColour(r, g, b));
    surface->FillRect(0, 0, w, h);

    alive = 1;
    visible = 0;
    created = 1;
    x = left;
    y = top;
    width = w;
    height = h;
    parent = parentWindow;
    // The child's reference does not keep its parent alive.
    if (parent)
        parent->RemoveReference();
    SendToSelf(EV_CREATE);
    system->SetArrowCursor(handle);
}

void CWindow::Show()
{
    PWindowSystem* system = GetApplication() ? GetApplication()->GetSystem() : nullptr;
    if (!created || !system)
        return;
    system->ShowWindow(handle, SW_SHOWNORMAL);
    Blit(0, 0, width, height);
    SendToSelf(EV_SHOW);
}

void CWindow::Hide()
{
    if (!visible)
        return;
    SendToSelf(EV_HIDE);
    Release();
    if (PWindowSystem* system = GetApplication()->GetSystem())
        system->ShowWindow(handle, SW_HIDE);
}

void CWindow::MoveTo(CEvent rect)
{
    PWindowSystem* system = GetApplication() ? GetApplication()->GetSystem() : nullptr;
    if (!created || !system)
        return;
    system->MoveWindow(handle, rect.x, rect.y, rect.width, rect.height, 1);
    rect.type = EV_RESIZE;
    rect.source = application;
    HandleEvent(rect);
}

CEvent CWindow::GetRect() const
{
    CEvent rect;
    rect.x = x;
    rect.y = y;
    rect.width = width;
    rect.height = height;
    return rect;
}

void CWindow::SetTitle(const char* text)
{
    PWindowSystem* system = GetApplication() ? GetApplication()->GetSystem() : nullptr;
    if (created && system)
        system->SetWindowText(handle, text ? text : "");
}

CCanvas* CWindow::GetCanvas() const { return canvas.As<CCanvas>(); }

int CWindow::DestroyWindow()
{
    if (!created) {
        if (application)
            application->Reclaim();
        return 0;
    }
    AddReference();
    Release();
    SendToSelf(EV_DESTROY);
    nextFocus.Clear();
    if (visible) {
        SendToSelf(EV_HIDE);
        Release();
        if (PWindowSystem* system = GetApplication()->GetSystem())
            system->ShowWindow(handle, SW_HIDE);
    }
    children->DeleteAll();
    delete children;
    children = nullptr;
    created = 0;
    if (parent) {
        if (parent->children)
            parent->children->Remove(this);
        parent->AddReference();
        parentRef.Clear();
        parent = nullptr;
    }
    canvas.Clear();
    if (PWindowSystem* system = GetApplication()->GetSystem())
        system->DestroyWindow(handle);
    handle = 0;
    RemoveReference();
    return 0;
}

// A fresh surface of the given size; its pixels are the window's Draw to paint.
void CWindow::NewCanvas(int w, int h)
{
    CCanvas* surface = canvas.As<CCanvas>();
    if (!surface) {
        canvas = Variable(new CCanvas(application));
        surface = canvas.As<CCanvas>();
    }
    surface->Create(w, h);
}

void CWindow::SendToSelf(int32_t type)
{
    CEvent event;
    event.type = type;
    event.source = application;
    HandleEvent(event);
}
