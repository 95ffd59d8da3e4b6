#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "graphics/CFont.h"
#include "toolkit/CBasicWindow.h"
#include "toolkit/CBasicWindowDecoration.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "WidgetFixture.h"

using platform::PHeadlessSystem;

namespace {
// An application window: it hears its own close request, as a main window that ends
// the program would.
class CClosable : public CBasicWindow {
public:
    explicit CClosable(CGApplication* app) : CBasicWindow(app) { className = "CClosable"; }
    ~CClosable() override { LeaveRegistry(); }
    void HandleEvent(CEvent event) override
    {
        if (event.type == EV_CLOSE && event.source == decoration.Get())
            closeRequests++;
        CBasicWindow::HandleEvent(event);
    }
    int closeRequests = 0;
};
}  // namespace

class BasicWindowTest : public WidgetTest {
protected:
    CClosable* NewDecorated(const char* title, int x = 100, int y = 80)
    {
        auto* window = new CClosable(app);
        held.emplace_back(window);
        window->Create(x, y, 300, 200, nullptr, title, 240, 230, 220);
        window->Show();
        Pump();
        return window;
    }

    static CBasicWindowDecoration* Frame(CBasicWindow* window)
    {
        return window->decoration.As<CBasicWindowDecoration>();
    }

    // A press and release of one button at a point of the screen.
    void PressAndRelease(int x, int y, PHeadlessSystem::Button button)
    {
        desktop.MovePointer(x, y);
        desktop.PressButton(button);
        Pump();
        desktop.ReleaseButton(button);
        Pump();
    }

    CEditBox* Editor(CBasicWindow* window) { return Frame(window)->titleEditor.CheckedAs<CEditBox>(); }
};

TEST_F(BasicWindowTest, OnlyTitledTopWindowsAreFramedAndTheFrameClosesAndDragsTheWholeWindow)
{
    Variable font(new CFont(app));
    font.As<CFont>()->SetDefault();
    ASSERT_LT(font.As<CFont>()->TextHeight("Ventana"), 16);  // a title under 16 pixels high

    CClosable* window = NewDecorated("Ventana");
    CBasicWindowDecoration* frame = Frame(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->titleHeight, 20);
    EXPECT_EQ(window->GetParent(), frame);
    EXPECT_EQ(std::tuple(frame->x, frame->y, frame->width, frame->height), std::tuple(100, 80, 304, 200 + 4 + 20));
    EXPECT_EQ(std::tuple(window->x, window->y), std::tuple(2, 22));
    EXPECT_EQ(desktop.GetWindowText(frame->handle), "Ventana");
    EXPECT_TRUE(desktop.IsVisible(frame->handle));
    EXPECT_TRUE(desktop.IsVisible(window->handle));

    // Frame, title bar, built-in icon, title.
    EXPECT_EQ(Shown(frame, 0, 0), Rgb(177, 148, 124));
    EXPECT_EQ(Shown(frame, 1, 21), Rgb(253, 232, 182));
    auto* icon = frame->icon.CheckedAs<CBCell>();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(std::tuple(icon->GetWidth(), icon->GetHeight()), std::tuple(16, 16));
    EXPECT_FALSE(PointsOf(frame->GetCanvas(), Rgb(5, 2, 1)).empty());

    // The close button: 12 × 10 at the right of the bar, in the small style.
    auto* close = frame->closeButton.CheckedAs<CButton>();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(std::tuple(close->x, close->y, close->width, close->height), std::tuple(304 - 20 + 2, 9 - 3, 12, 10));
    EXPECT_TRUE(desktop.IsVisible(close->handle));
    EXPECT_EQ(close->focused, 0u);  // Enter must not close a window just opened
    EXPECT_EQ(Shown(close, 8, 7), Rgb(200, 200, 198));
    EXPECT_EQ(Shown(close, 2, 2), Rgb(255, 255, 250));

    // The window's background: fill, stripes every five pixels from x = 4, a frame.
    EXPECT_EQ(Shown(window, 150, 100), Rgb(255, 242, 202));
    EXPECT_EQ(Shown(window, 149, 100), Rgb(255, 232, 198));
    EXPECT_EQ(Shown(window, 0, 100), Rgb(177, 148, 121));

    // A larger decoration passes the growth on to the window it frames.
    CEvent bigger = frame->GetRect();
    bigger.width += 40;
    bigger.height += 10;
    frame->MoveTo(bigger);
    EXPECT_EQ(std::tuple(window->width, window->height, close->x), std::tuple(340, 210, 344 - 20 + 2));

    // Windows with a parent or without a title are not decorated.
    for (auto [parent, title] : {std::pair<CWindow*, const char*>{window, "Hija"}, {nullptr, NoTitle}}) {
        auto* plain = new CBasicWindow(app);
        held.emplace_back(plain);
        plain->Create(10, 10, 100, 80, parent, title, 1, 2, 3);
        EXPECT_FALSE(plain->decoration);
        EXPECT_EQ(plain->GetParent(), parent);
        plain->Show();
        EXPECT_TRUE(desktop.IsVisible(plain->handle));
    }

    // The close button, the window manager's request (it knows only the frame) and Enter
    // on the focused close button each hide the whole window, which lives on.
    const std::function<void()> closers[] = {
        [&] { desktop.Click(100 + close->x + 6, 80 + close->y + 5); },
        [&] { desktop.RequestClose(frame->handle); },
        [&] {
            close->Activate();
            desktop.TypeKey(platform::VK_RETURN, 13);
        },
    };
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        closers[i]();
        Pump();
        EXPECT_EQ(window->closeRequests, i + 1);
        EXPECT_EQ(window->visible, 0);
        EXPECT_EQ(frame->visible, 0);
        EXPECT_FALSE(desktop.IsVisible(frame->handle));
        EXPECT_TRUE(app->IsAlive(window) && app->IsAlive(frame));
        window->Show();
        Pump();
        EXPECT_TRUE(desktop.IsVisible(frame->handle) && desktop.IsVisible(window->handle));
    }

    uint32_t timersBefore = app->timers->count;
    desktop.MovePointer(100 + 150, 80 + 10);
    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    ASSERT_TRUE(frame->IsDragging());
    EXPECT_EQ(app->timers->count, timersBefore + 1);
    EXPECT_EQ(desktop.GetWindowAlpha(frame->handle), 180);
    // Right and middle presses while dragging do not start a rename.
    for (auto button : {PHeadlessSystem::Right, PHeadlessSystem::Middle}) {
        desktop.PressButton(button);
        desktop.ReleaseButton(button);
    }
    Pump();
    EXPECT_FALSE(frame->titleEditor);
    desktop.MovePointer(100 + 150 + 30, 80 + 10 + 20);
    desktop.AdvanceClock(30);
    Pump();
    EXPECT_EQ(std::tuple(frame->x, frame->y), std::tuple(130, 100));

    desktop.ReleaseButton(PHeadlessSystem::Left);
    Pump();
    EXPECT_FALSE(frame->IsDragging());
    EXPECT_EQ(app->timers->count, timersBefore);
    EXPECT_EQ(desktop.GetWindowAlpha(frame->handle), -1);
    desktop.MovePointer(400, 400);
    desktop.AdvanceClock(30);
    Pump();
    EXPECT_EQ(frame->x, 130);

    // Hidden while dragged: the timer goes.
    desktop.MovePointer(130 + 150, 100 + 10);
    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    ASSERT_TRUE(frame->IsDragging());
    window->Hide();
    EXPECT_FALSE(frame->IsDragging());
    EXPECT_EQ(app->timers->count, timersBefore);
    desktop.ReleaseButton(PHeadlessSystem::Left);
    window->Show();
    Pump();

    // Destroyed while dragged: the timer goes with it.
    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    ASSERT_TRUE(frame->IsDragging());
    window->Destroy();
    EXPECT_EQ(app->timers->count, timersBefore);
    EXPECT_FALSE(app->IsAlive(frame));
}

TEST_F(BasicWindowTest, RenameEndsByEnterWithTheNewTitleAndByEscapeOrAPressElsewhereWithout)
{
    CClosable* window = NewDecorated("Datos");
    CClosable* reference = NewDecorated("Datos 2", 500, 400);
    CBasicWindowDecoration* frame = Frame(window);
    auto* button = NewWidget<CButton>(20, 20, 80, 24, window);
    button->Show();
    Pump();

    // Right button: the editor opens on the current title and holds all input.
    PressAndRelease(100 + 150, 80 + 10, PHeadlessSystem::Right);
    CEditBox* editor = Editor(window);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(desktop.IsVisible(editor->handle));
    EXPECT_TRUE(editor->GetText()->Equals("Datos"));
    platform::PHandle editorWindow = editor->handle;
    EXPECT_EQ(app->activeWindow, editor);
    EXPECT_EQ(app->activationMode, CGApplication::ExclusiveActivation);
    Key(platform::VK_END);
    Type(" 2\r");
    EXPECT_FALSE(frame->titleEditor);
    EXPECT_FALSE(app->IsAlive(editor) && desktop.IsVisible(editorWindow));
    EXPECT_NE(app->activationMode, CGApplication::ExclusiveActivation);
    EXPECT_EQ(desktop.GetWindowText(frame->handle), "Datos 2");
    EXPECT_TRUE(frame->title.As<CString>()->Equals("Datos 2"));
    EXPECT_EQ(PointsOf(frame->GetCanvas(), Rgb(5, 2, 1)), PointsOf(Frame(reference)->GetCanvas(), Rgb(5, 2, 1)));

    // Middle button: an empty editor.
    PressAndRelease(100 + 150, 80 + 10, PHeadlessSystem::Middle);
    ASSERT_NE(Editor(window), nullptr);
    EXPECT_EQ(Editor(window)->GetText()->GetLength(), 0u);
    Type("Nuevo\r");
    EXPECT_EQ(desktop.GetWindowText(frame->handle), "Nuevo");

    // Escape, or a stray press on a button, ends a rename without change; then the
    // program answers clicks again.
    int bx = 100 + 2 + 20 + 30, by = 80 + 22 + 20 + 10;
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "press elsewhere");
        PressAndRelease(100 + 150, 80 + 10, PHeadlessSystem::Right);
        ASSERT_NE(Editor(window), nullptr);
        Type("xyz");
        if (escape)
            Type("\x1b");
        else
            desktop.Click(bx, by);
        Pump();  // the editor taken off is gone after the next event
        EXPECT_FALSE(frame->titleEditor);
        EXPECT_EQ(desktop.GetWindowText(frame->handle), "Nuevo");
        EXPECT_NE(app->activationMode, CGApplication::ExclusiveActivation);
        EXPECT_EQ(frame->children->count, 2u);  // close button and window
    }
    desktop.Click(bx, by);
    Pump();
    EXPECT_EQ(app->activeWindow, button);
    EXPECT_EQ(button->pressed, 0u);
}
