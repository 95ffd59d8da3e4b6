#include <gtest/gtest.h>

#include <tuple>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "graphics/CCanvas.h"
#include "platform/PSurface.h"
#include "toolkit/CTimer.h"
#include "ToolkitFixture.h"

TEST_F(ToolkitTest, CreateShowExposeMoveAndCloseNeverDestroy)
{
    CApplication::Title("Ajustor de prueba");
    CRecorder* window = NewRecorder(30, 40, 120, 80, nullptr, nullptr);
    EXPECT_EQ(window->created, 1);
    EXPECT_EQ(window->visible, 0);
    EXPECT_EQ(app->activeWindow, window);  // a new component is the active one
    EXPECT_EQ(OwnTypes(window).back(), EV_CREATE);
    EXPECT_EQ(desktop.GetWindowText(window->handle), "Ajustor de prueba");
    EXPECT_FALSE(desktop.IsVisible(window->handle));
    CCanvas* canvas = window->GetCanvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(std::tuple(canvas->GetWidth(), canvas->GetHeight()), std::tuple(120, 80));
    EXPECT_EQ(canvas->GetSurface()->GetPixel(119, 79), app->packColour(200, 100, 50));
    window->Create(0, 0, 10, 10, nullptr, nullptr, 0, 0, 0);  // already created: nothing
    EXPECT_EQ(window->width, 120);

    // Show copies the canvas itself; uncovered later, the window is painted again from
    // its canvas, and the paint pass reports its rectangle.
    window->Show();
    Pump();
    EXPECT_TRUE(desktop.IsVisible(window->handle));
    EXPECT_EQ(window->visible, 1);
    EXPECT_EQ(desktop.GetWindowPixel(window->handle, 5, 5), app->packColour(200, 100, 50));
    EXPECT_TRUE(SeenBy(window, EV_PAINT).empty());
    canvas->SetColour(app->packColour(9, 8, 7));
    canvas->FillRect(0, 0, 120, 80);
    desktop.Expose(window->handle, {5, 6, 15, 26});
    Pump();
    auto paints = SeenBy(window, EV_PAINT);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(std::tuple(paints[0].x, paints[0].y), std::tuple(5, 6));
    EXPECT_EQ(desktop.GetWindowPixel(window->handle, 10, 10), app->packColour(9, 8, 7));
    EXPECT_EQ(desktop.GetWindowPixel(window->handle, 30, 30), app->packColour(200, 100, 50));

    // Moved at the same size, it keeps its canvas and pixels; resized, the canvas follows.
    PSurface* surface = canvas->GetSurface();
    CEvent moved = window->GetRect();
    moved.x = 50;
    moved.y = 70;
    window->MoveTo(moved);
    Pump();
    EXPECT_EQ(window->GetCanvas(), canvas);
    EXPECT_EQ(canvas->GetSurface(), surface);
    EXPECT_EQ(surface->GetPixel(4, 4), app->packColour(9, 8, 7));
    platform::PRect rect;
    desktop.GetWindowRect(window->handle, rect);
    EXPECT_EQ(std::tuple(window->x, window->y, rect.left, rect.top), std::tuple(50, 70, 50, 70));
    moved.width = 140;
    window->MoveTo(moved);
    Pump();
    EXPECT_EQ(std::tuple(window->GetCanvas()->GetWidth(), window->GetCanvas()->GetHeight()), std::tuple(140, 80));

    // A close request hides and never destroys; a hidden window ignores a second one.
    log.clear();
    desktop.RequestClose(window->handle);
    Pump();
    EXPECT_EQ(OwnTypes(window), (std::vector<int32_t>{EV_CLOSE, EV_HIDE, EV_UNFOCUS}));
    EXPECT_EQ(window->visible, 0);
    EXPECT_EQ(window->created, 1);
    EXPECT_TRUE(desktop.IsWindow(window->handle));
    EXPECT_FALSE(desktop.IsVisible(window->handle));
    EXPECT_TRUE(app->IsAlive(window));
    window->Show();
    EXPECT_TRUE(desktop.IsVisible(window->handle));
    window->Hide();
    log.clear();
    desktop.RequestClose(window->handle);
    Pump();
    EXPECT_EQ(OwnTypes(window), (std::vector<int32_t>{EV_FOCUS, EV_CLOSE}));
}

TEST_F(ToolkitTest, EventsBubbleUpResizesComeOnlyFromTheParentAndTabFollowsTheNextLink)
{
    CRecorder* top = NewRecorder(0, 0, 300, 200, nullptr);
    CRecorder* middle = NewRecorder(10, 10, 200, 150, top);
    CRecorder* leaf = NewRecorder(5, 5, 50, 50, middle);
    CRecorder* other = NewRecorder(220, 10, 50, 20, top);
    ShowAll({top, middle, leaf, other});
    app->Activate(leaf);
    Pump();
    log.clear();

    desktop.MovePointer(20, 20);
    Pump();
    auto atMiddle = SeenBy(middle, EV_MOUSEMOVE);
    auto atTop = SeenBy(top, EV_MOUSEMOVE);
    ASSERT_EQ(atMiddle.size(), 1u);
    ASSERT_EQ(atTop.size(), 1u);
    EXPECT_EQ(atMiddle[0].source, leaf);
    EXPECT_EQ(atTop[0].source, middle);
    // Not their own event: the parents' geometry and state are untouched.
    EXPECT_EQ(middle->visible, 1);

    // A resize from a child does not resize the parent.
    CEvent r = leaf->GetRect();
    r.width = 20;
    r.height = 20;
    leaf->MoveTo(r);
    EXPECT_EQ(middle->width, 200);
    EXPECT_EQ(top->width, 300);
    Pump();
    // Once from MoveTo itself; the window system's notice is not delivered to a child.
    EXPECT_EQ(SeenBy(leaf, EV_RESIZE).size(), 1u);
    EXPECT_EQ(leaf->width, 20);

    // Tab does nothing without a next link, and follows one.
    Type("\t");
    EXPECT_EQ(app->activeWindow, leaf);
    leaf->SetNext(other);
    log.clear();
    Type("\t");
    EXPECT_EQ(app->activeWindow, other);
    auto focus = SeenBy(other, EV_FOCUS);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].source, app);
    other->SetNext(leaf);
    other->FocusNext(1);  // with the flag the focus record names where it came from
    focus = SeenBy(leaf, EV_FOCUS);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].source, other);
}

namespace {
int liveWatchers = 0;
class CWatched : public CWindow {
public:
    explicit CWatched(CGApplication* app) : CWindow(app) { liveWatchers++; }
    ~CWatched() override
    {
        LeaveRegistry();
        liveWatchers--;
    }
};
}  // namespace

TEST_F(ToolkitTest, DestroyTakesTheChildrenAlongDeadParentsAreIgnoredAndCleanupLeavesNothing)
{
    CRecorder* top = NewRecorder(0, 0, 300, 200, nullptr);
    int topCount = top->GetReferenceCount();
    auto* child = new CRecorder(app, &log);
    Variable holdChild(child);
    child->Create(10, 10, 100, 100, top, nullptr, 0, 0, 0);
    auto* grandchild = new CRecorder(app, &log);  // held by nobody but its parent
    grandchild->Create(5, 5, 20, 20, child, nullptr, 0, 0, 0);
    platform::PHandle grandHandle = grandchild->handle;
    EXPECT_EQ(top->GetReferenceCount(), topCount);
    EXPECT_EQ(top->children->GetCount(), 1u);
    ShowAll({top, child, grandchild});
    Pump();
    log.clear();

    EXPECT_EQ(child->Destroy(), 0);
    EXPECT_FALSE(app->IsAlive(grandchild));
    EXPECT_FALSE(desktop.IsWindow(grandHandle));
    auto own = OwnTypes(child);
    EXPECT_NE(std::find(own.begin(), own.end(), EV_DESTROY), own.end());
    EXPECT_NE(std::find(own.begin(), own.end(), EV_HIDE), own.end());
    EXPECT_EQ(SeenBy(top, EV_DESTROY).size(), 2u);  // the grandchild's came up through the child
    EXPECT_EQ(child->created, 0);
    EXPECT_EQ(child->handle, 0u);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(top->children->GetCount(), 0u);
    EXPECT_EQ(top->GetReferenceCount(), topCount);
    EXPECT_TRUE(app->IsAlive(child));
    EXPECT_EQ(child->Destroy(), 0);  // twice: only a reclaim pass

    // Dropping the last reference of a created window destroys it too.
    auto* other = new CRecorder(app, &log);
    {
        Variable hold(other);
        other->Create(0, 0, 10, 10, top, nullptr, 0, 0, 0);
        EXPECT_EQ(top->children->GetCount(), 1u);
    }
    EXPECT_EQ(top->children->GetCount(), 0u);
    EXPECT_EQ(top->GetReferenceCount(), topCount);

    // Parents that are not alive, or no longer created, are ignored.
    CWindow* parentToDelete = new CRecorder(app, nullptr);
    // Only the old address is passed on; volatile keeps the optimiser from treating it
    // as a use of the deleted object.
    volatile uintptr_t address = reinterpret_cast<uintptr_t>(parentToDelete);
    delete parentToDelete;  // a parent that no longer exists
    auto* stale = reinterpret_cast<CWindow*>(address);
    top->Destroy();
    CRecorder* orphan = NewRecorder(5, 5, 10, 10, stale);
    EXPECT_EQ(orphan->GetParent(), nullptr);
    CRecorder* second = NewRecorder(5, 5, 10, 10, top);  // alive but no longer created
    EXPECT_EQ(second->GetParent(), nullptr);

    // Cleanup deletes every framework object still alive: windows, children held only
    // by them, timers and plain objects.
    Variable watched(new CWatched(app));
    watched.As<CWindow>()->Create(0, 0, 200, 200, nullptr, nullptr, 1, 2, 3);
    for (int i = 0; i < 3; i++) {
        auto* inner = new CWatched(app);
        inner->Create(i * 10, 0, 10, 10, watched.As<CWindow>(), nullptr, 0, 0, 0);
    }
    Variable unowned(new CWatched(app));
    Variable timer(new CTimer(app));
    timer.As<CTimer>()->Create(watched.As<CWComponent>());
    Variable text(new CString(app));
    watched.As<CWindow>()->Show();
    EXPECT_EQ(liveWatchers, 5);

    app->Cleanup();
    EXPECT_EQ(liveWatchers, 0);
    EXPECT_EQ(app->GetObjectCount(), 0u);
    EXPECT_EQ(app->windows, nullptr);
    EXPECT_EQ(app->timers, nullptr);
}
