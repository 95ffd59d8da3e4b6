// Decorated windows and the edit box on a real X server (a private Xvfb), with input
// sent through the server, both bare and under a window manager (openbox) as users
// have one.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "tests/toolkit/X11Session.h"
#include "toolkit/CBasicWindow.h"
#include "toolkit/CBasicWindowDecoration.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"

using namespace std::chrono;

namespace {
enum Desktop { Bare, Managed };

std::string DesktopName(const testing::TestParamInfo<Desktop>& info)
{
    return info.param == Bare ? "WithoutWindowManager" : "UnderOpenbox";
}

}  // namespace

class X11WidgetTest : public X11Session, public testing::WithParamInterface<Desktop> {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(OpenSession(GetParam() == Managed)); }

    CBasicWindow* NewDecorated(int x, int y, const char* title)
    {
        auto* window = new CBasicWindow(app);
        held.emplace_back(window);
        window->Create(x, y, 300, 160, nullptr, title, 255, 242, 202);
        window->Show();
        return window;
    }

    static CBasicWindowDecoration* Frame(CBasicWindow* window)
    {
        return window->decoration.As<CBasicWindowDecoration>();
    }

    platform::PRect ScreenRect(CWindow* window)
    {
        platform::PRect rect;
        system->GetWindowRect(window->handle, rect);
        return rect;
    }

    // On the screen and no longer moving: the window manager, if any, has mapped it and
    // placed it where it stays (under load openbox may take a while to do either).
    bool WaitShown(CBasicWindow* window)
    {
        CBasicWindowDecoration* frame = Frame(window);
        bool shown = StepUntil([&] {
            return system->IsShown(frame->handle) && system->IsShown(window->handle) &&
                   driver.IsOnScreen(frame->handle) && driver.IsOnScreen(window->handle);
        }, 5000);
        platform::PRect last = ScreenRect(frame);
        auto stillSince = steady_clock::now();
        StepUntil([&] {
            platform::PRect now = ScreenRect(frame);
            if (now.left != last.left || now.top != last.top) {
                last = now;
                stillSince = steady_clock::now();
            }
            return steady_clock::now() - stillSince > milliseconds(300);
        }, 5000);
        return shown;
    }

    // A click of the left button at a point of the screen.
    void ClickAt(int x, int y)
    {
        driver.MovePointer(x, y);
        StepFor(50);
        driver.Button(1, true);
        StepFor(50);
        driver.Button(1, false);
        StepFor(100);
    }
};

// The title bar drags the native window, client and frame together; the close button
// and the window manager's close request hide the whole window, which lives on.
TEST_P(X11WidgetTest, TheTitleBarMovesAndClosesTheNativeWindow)
{
    CBasicWindow* window = NewDecorated(100, 120, "Arrastrar");
    CBasicWindowDecoration* frame = Frame(window);
    ASSERT_TRUE(WaitShown(window));
    platform::PRect before = ScreenRect(frame);
    platform::PRect clientBefore = ScreenRect(window);

    int x = before.left + 150, y = before.top + 10;
    driver.MovePointer(x, y);
    StepFor(50);
    driver.Button(1, true);
    ASSERT_TRUE(StepUntil([&] { return frame->IsDragging(); }));
    for (int step = 1; step <= 6; step++) {
        driver.MovePointer(x + 10 * step, y + 7 * step);
        StepFor(40);
    }
    driver.Button(1, false);
    ASSERT_TRUE(StepUntil([&] { return !frame->IsDragging(); }));
    StepFor(200);
    platform::PRect after = ScreenRect(frame), clientAfter = ScreenRect(window);
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(after.top - before.top, 42);
    EXPECT_EQ(clientAfter.left - clientBefore.left, 60);
    EXPECT_EQ(clientAfter.top - clientBefore.top, 42);
    EXPECT_EQ(app->timers->count, 1u);  // only the pacer: the drag timer has gone

    ASSERT_TRUE(WaitShown(window));
    platform::PRect close = ScreenRect(frame->closeButton.As<CButton>());
    ClickAt(close.left + 6, close.top + 5);
    ASSERT_TRUE(StepUntil([&] { return !system->IsShown(frame->handle); }));
    EXPECT_EQ(window->visible, 0);
    EXPECT_EQ(frame->visible, 0);
    EXPECT_TRUE(app->IsAlive(window));

    window->Show();
    ASSERT_TRUE(WaitShown(window));
    driver.RequestClose(frame->handle);
    ASSERT_TRUE(StepUntil([&] { return !system->IsShown(frame->handle); }));
    EXPECT_EQ(window->visible, 0);
}

TEST_P(X11WidgetTest, TypingAndPastingIntoAnEditBox)
{
    CBasicWindow* window = NewDecorated(120, 100, "Escribir");
    auto* box = new CEditBox(app);
    held.emplace_back(box);
    box->Create(20, 20, 240, 24, window, nullptr, 255, 236, 192);
    box->Show();
    ASSERT_TRUE(WaitShown(window));
    platform::PRect place = ScreenRect(box);
    ClickAt(place.left + 100, place.top + 12);
    ASSERT_TRUE(StepUntil([&] { return app->activeWindow == box; }));

    // A window manager gives the keyboard to the window clicked in its own time.
    if (GetParam() == Managed) {
        ASSERT_TRUE(StepUntil([&] { return system->GetFocus() != 0; }));
    }
    auto shown = [&] { return std::string(box->GetText()->GetBuffer(), box->GetText()->GetLength()); };
    for (unsigned long symbol : {XK_h, XK_o, XK_l, XK_a, XK_space, XK_ntilde, XK_space, XK_EuroSign})
        driver.TypeKeySymbol(symbol);
    ASSERT_TRUE(StepUntil([&] { return shown() == "hola \xF1 \x80"; })) << shown();

    // Another program copies; Control, then v pastes it at the caret. xclip serves one
    // request, then ends.
    pid_t xclip = StartBeside({"xclip", "-quiet", "-loops", "1", "-selection", "clipboard", "-i"},
                              " pegado \xE2\x82\xAC");
    ASSERT_GT(xclip, 0);
    StepFor(300);
    int status = 0;
    ASSERT_NE(waitpid(xclip, &status, WNOHANG), xclip) << "xclip ended: is it installed? tools/install-deps installs it";
    driver.TypeKeySymbol(XK_Control_L);
    driver.TypeKeySymbol(XK_v);
    EXPECT_TRUE(StepUntil([&] { return shown() == "hola \xF1 \x80 pegado \x80"; })) << shown();
    kill(xclip, SIGTERM);
    waitpid(xclip, nullptr, 0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, X11WidgetTest, testing::Values(Bare, Managed), DesktopName);
