#include "toolkit/CBasicWindowDecoration.h"

#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "io/CMemIO.h"
#include "toolkit/CBasicWindow.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"
#include "graphics/BuiltinPictures.h"

namespace {
constexpr uint32_t DragInterval = 25;
constexpr int DragAlpha = 180;
constexpr int CloseWidth = 12;
constexpr int CloseHeight = 10;
constexpr int EditorLeft = 26;
constexpr int EditorTop = 3;
}  // namespace

CBasicWindowDecoration::CBasicWindowDecoration(CGApplication* app) : CWindow(app)
{
    className = "CBasicWindowDecoration";
}

CBasicWindowDecoration::~CBasicWindowDecoration() { LeaveRegistry(); }

void CBasicWindowDecoration::HandleEvent(CEvent event)
{
    if (!alive) {
        CWindow::HandleEvent(event);
        return;
    }
    if (event.source != retiredEditor.Get())
        retiredEditor.Clear();
    if (event.source != application) {
        ChildEvent(event);
        return;
    }
    switch (event.type) {
    case EV_RESIZE:
        Resized(event);
        return;
    case EV_CLOSE:
        // The window manager's close is the close button's: the window it frames decides.
        if (client && application->IsAlive(client)) {
            CloseClient();
            return;
        }
        break;
    default:
        OwnEvent(event);
        break;
    }
    CWindow::HandleEvent(event);
}

// Frame, striped title bar with a per-window tint, the title, the icon and the close
// button in its place.
void CBasicWindowDecoration::Draw()
{
    CCanvas* surface = GetCanvas();
    if (!surface)
        return;
    CGApplication* app = GetApplication();
    uint32_t tint = uint32_t(reinterpret_cast<uintptr_t>(this) % 6);
    uint32_t shade = uint32_t(reinterpret_cast<uintptr_t>(this) % 9);
    int bar = titleHeight;
    surface->SetColour(app->packColour(177, 148, 124));
    surface->FillRect(0, 0, width, height);
    surface->SetColour(app->packColour(253, 232, 182));
    surface->FillRect(1, 1, width - 2, height - 2);
    surface->SetColour(app->packColour(255, 245, 218 + 4 * tint));
    surface->Outline(4, 2, width - 8, height - 4);
    surface->SetColour(app->packColour(255, 242, 198 - shade));
    surface->FillRect(6, 3, width - 12, bar - 4);
    surface->SetColour(app->packColour(248, 232, 168));
    for (int line = 3; line < bar - 1; line += 3)
        surface->Line(3, line, width - 4, line);
    if (auto* text = title.CheckedAs<CString>()) {
        int tx = (width - surface->GetFont()->TextWidth(text)) / 2;
        surface->SetColour(app->packColour(255, 252, 248));
        surface->DrawText(text, tx + 1, bar - 1);
        surface->SetColour(app->packColour(5, 2, 1));
        surface->DrawText(text, tx, bar - 2);
    }
    if (auto* picture = icon.CheckedAs<CBCell>())
        surface->DrawCell(picture, 4, int(uint32_t(bar - 12) / 2));
    if (auto* close = closeButton.CheckedAs<CButton>()) {
        CEvent place;
        place.x = width - bar + 2;
        place.y = (bar - 2) / 2 - 3;
        place.width = CloseWidth;
        place.height = CloseHeight;
        close->MoveTo(place);
    }
    Update();
}

void CBasicWindowDecoration::SetTitleText(const char* text)
{
    auto* words = new CString(application);
    title = words;
    words->SetText(text ? text : "");
    SetTitle(words->CStr());
}

void CBasicWindowDecoration::OwnEvent(CEvent event)
{
    switch (event.type) {
    case EV_CREATE:
        LoadDefaultIcon();
        break;
    case EV_SHOW:
        if (auto* close = closeButton.CheckedAs<CButton>())
            close->Show();
        break;
    case EV_HIDE:
    case EV_DESTROY:
        EndDrag();
        EndRename();
        break;
    case EV_UNFOCUS:
        // The release can only come back to the active window: a drag ends with it.
        EndDrag();
        break;
    case EV_LBUTTONDOWN:
        if (!dragTimer)
            StartDrag();
        break;
    case EV_LBUTTONUP:
        EndDrag();
        break;
    case EV_MBUTTONDOWN:
    case EV_RBUTTONDOWN:
        // Not while the title bar is dragged, and one editor at a time.
        if (!dragTimer && !titleEditor)
            StartRename(event.type);
        break;
    case EV_CLICK:
        // While renaming, clicks are judged against the title bar: one on the editor
        // places its caret.
        if (auto* editor = titleEditor.CheckedAs<CEditBox>(); editor && PointerInside(editor)) {
            event.x -= editor->x;
            event.y -= editor->y;
            GetApplication()->SendEvent(editor, event);
        }
        break;
    default:
        break;
    }
}

void CBasicWindowDecoration::ChildEvent(CEvent event)
{
    if (event.source == dragTimer.Get() && event.type == EV_TIMER)
        FollowPointer();
    else if (event.source == closeButton.Get() && event.type == EV_CLICK)
        CloseClient();
    else if (event.source == titleEditor.Get())
        EditorEvent(event);
}

// The editor holds all input while it is open: Enter keeps the new title, Escape or a
// press anywhere outside it gives up, so a stray press never leaves it in the way.
void CBasicWindowDecoration::EditorEvent(CEvent event)
{
    switch (event.type) {
    case EV_KEYDOWN:
        if (event.value == int32_t(platform::VK_RETURN))
            CommitRename();
        else if (event.value == int32_t(platform::VK_ESCAPE))
            CancelRename();
        break;
    case EV_LBUTTONDOWN:
    case EV_MBUTTONDOWN:
    case EV_RBUTTONDOWN:
        if (!PointerInside(titleEditor.As<CEditBox>()))
            CancelRename();
        break;
    default:
        break;
    }
}

void CBasicWindowDecoration::LoadDefaultIcon()
{
    Variable stream(new CMemIO(application));
    stream.As<CMemIO>()->OpenBlock(const_cast<unsigned char*>(BuiltinTitleIcon), BuiltinTitleIconSize);
    auto* picture = new CBCell(application);
    icon = picture;
    picture->LoadCelChannels(stream.As<CMemIO>());
}

// The window's real place is asked of the window system: a window manager may have
// moved it since the last drag.
void CBasicWindowDecoration::StartDrag()
{
    CGApplication* app = GetApplication();
    dragRect = GetRect();
    platform::PRect outer;
    if (app->GetSystem()->GetWindowRect(handle, outer)) {
        dragRect.x = outer.left;
        dragRect.y = outer.top;
    }
    auto* timer = new CTimer(app);
    dragTimer = timer;
    timer->Create(this);
    timer->SetInterval(DragInterval);
    timer->SetEnabled(1);
    cursorBefore = app->GetCursorPosition();
    if (app->OffersTranslucency())
        app->GetSystem()->SetWindowAlpha(handle, DragAlpha);
}

void CBasicWindowDecoration::FollowPointer()
{
    cursorNow = GetApplication()->GetCursorPosition();
    dragRect.x += cursorNow.x - cursorBefore.x;
    dragRect.y += cursorNow.y - cursorBefore.y;
    cursorBefore = cursorNow;
    MoveTo(dragRect);
}

void CBasicWindowDecoration::EndDrag()
{
    if (!dragTimer)
        return;
    dragTimer.Clear();
    CGApplication* app = GetApplication();
    if (app->OffersTranslucency() && app->GetSystem())
        app->GetSystem()->ClearWindowAlpha(handle);
}

// A change of size is passed on to the framed window.
void CBasicWindowDecoration::Resized(CEvent event)
{
    bool framed = client && application->IsAlive(client);
    if (framed)
        clientRect = client->GetRect();
    int dw = event.width - width, dh = event.height - height;
    CWindow::HandleEvent(event);
    Draw();
    if (framed && (dw || dh)) {
        clientRect.width += dw;
        clientRect.height += dh;
        client->MoveTo(clientRect);
    }
}

void CBasicWindowDecoration::CloseClient()
{
    if (!client || !application->IsAlive(client)) {
        Hide();
        return;
    }
    CEvent close;
    close.type = EV_CLOSE;
    close.source = this;
    client->HandleEvent(close);
}

void CBasicWindowDecoration::StartRename(int32_t button)
{
    CGApplication* app = GetApplication();
    auto* editor = new CEditBox(app);
    titleEditor = editor;
    editor->Create(EditorLeft, EditorTop, width - 49, titleHeight - 3, this, nullptr, 255, 236, 192);
    auto* text = title.CheckedAs<CString>();
    if (button == EV_RBUTTONDOWN && text)
        editor->SetText(text->GetBuffer() ? text->GetBuffer() : "", text->GetLength());
    editor->Show();
    Release();
    editor->SetExclusive();
}

void CBasicWindowDecoration::CommitRename()
{
    auto* editor = titleEditor.CheckedAs<CEditBox>();
    CString* edited = editor ? editor->GetText() : nullptr;
    if (!edited)
        return;
    auto* words = new CString(application);
    words->SetString(edited);
    title = words;
    SetTitle(words->CStr());
    EndRename();
    Draw();
    Activate();
}

void CBasicWindowDecoration::CancelRename()
{
    EndRename();
    Activate();
}

// The editor is hidden, which also ends its exclusive hold, and kept aside until the
// next event: this may run inside the editor's own handler.
void CBasicWindowDecoration::EndRename()
{
    if (!titleEditor)
        return;
    Variable editor = titleEditor;
    titleEditor.Clear();
    if (auto* box = editor.CheckedAs<CEditBox>()) {
        box->Hide();
        box->Release();
    }
    retiredEditor = editor;
}

bool CBasicWindowDecoration::PointerInside(CWindow* window)
{
    platform::PWindowSystem* system = GetApplication()->GetSystem();
    platform::PRect rect;
    platform::PPoint pointer;
    if (!window || !system || !system->GetWindowRect(window->handle, rect) || !system->GetCursorPos(pointer))
        return false;
    return rect.left <= pointer.x && pointer.x < rect.right && rect.top <= pointer.y && pointer.y < rect.bottom;
}
