#include <gtest/gtest.h>

#include "core/CString.h"
#include "toolkit/CTimer.h"
#include "ToolkitFixture.h"

using platform::PHeadlessSystem;

namespace {
std::vector<int32_t> Types(const std::vector<Seen>& seen)
{
    std::vector<int32_t> out;
    for (const Seen& s : seen)
        out.push_back(s.type);
    return out;
}
}  // namespace

// A press and a release inside one window make a click, on its last column too;
// released on its edge column or outside it, the release comes back without a click.
TEST_F(ToolkitTest, PressAndReleaseInsideGiveDownUpThenClick)
{
    CRecorder* top = NewRecorder(100, 100, 300, 200, nullptr);
    CRecorder* button = NewRecorder(20, 30, 60, 20, top);
    ShowAll({top, button});
    Pump();
    log.clear();
    desktop.Click(100 + 20 + 30, 100 + 30 + 10);
    Pump();
    std::vector<Seen> own;
    for (const Seen& s : SeenBy(button))
        if (s.source == app && s.type >= EV_LBUTTONDOWN && s.type <= EV_CLICK)
            own.push_back(s);
    ASSERT_EQ(Types(own), (std::vector<int32_t>{EV_LBUTTONDOWN, EV_LBUTTONUP, EV_CLICK}));
    EXPECT_EQ(own[2].x, 30);
    EXPECT_EQ(own[2].y, 10);
    EXPECT_EQ(app->activeWindow, button);
    auto clicks = SeenBy(top, EV_CLICK);  // the parent hears of it from its child
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].source, button);
    EXPECT_EQ(desktop.GetCapture(), 0u);

    const struct {
        int pressX, pressY, releaseX, releaseY;
    } presses[] = {{130, 140, 120, 140}, {130, 140, 320, 230}, {179, 149, 179, 149}};
    for (const auto& p : presses) {
        desktop.MovePointer(p.pressX, p.pressY);
        desktop.PressButton(PHeadlessSystem::Left);
        Pump();
        desktop.MovePointer(p.releaseX, p.releaseY);
        desktop.ReleaseButton(PHeadlessSystem::Left);
        Pump();
    }
    EXPECT_EQ(SeenBy(button, EV_LBUTTONUP).size(), 4u);
    EXPECT_EQ(SeenBy(button, EV_CLICK).size(), 2u);
}

TEST_F(ToolkitTest, ExclusiveComponentKeepsActivationAndInput)
{
    CRecorder* top = NewRecorder(0, 0, 400, 300, nullptr);
    CRecorder* first = NewRecorder(10, 10, 50, 50, top);
    CRecorder* second = NewRecorder(100, 10, 50, 50, top);
    ShowAll({top, first, second});
    Pump();
    app->SetExclusive(first);
    EXPECT_EQ(app->activationMode, CGApplication::ExclusiveActivation);
    log.clear();
    desktop.Click(120, 30);
    desktop.TypeKey(platform::VK_LEFT);
    Pump();
    app->Activate(second);
    EXPECT_EQ(app->activeWindow, first);
    for (int32_t type : OwnTypes(second))
        EXPECT_EQ(type, EV_MOUSEENTER);  // only the pointer's arrival reaches it
    auto own = OwnTypes(first);
    EXPECT_NE(std::find(own.begin(), own.end(), EV_LBUTTONDOWN), own.end());
    EXPECT_NE(std::find(own.begin(), own.end(), EV_KEYDOWN), own.end());
    // Exclusivity began before any press: no component to judge a click against.
    EXPECT_TRUE(SeenBy(first, EV_CLICK).empty());
    EXPECT_TRUE(SeenBy(second, EV_CLICK).empty());

    app->Release(second);  // not the active one: nothing
    EXPECT_EQ(app->activationMode, CGApplication::ExclusiveActivation);
    app->Release(first);
    EXPECT_EQ(app->activationMode, CGApplication::NothingActive);
    EXPECT_EQ(app->activeWindow, nullptr);
    desktop.Click(120, 30);
    Pump();
    EXPECT_EQ(app->activeWindow, second);

    // Made exclusive while active, a component is focused again; once exclusive, a
    // second call changes nothing.
    log.clear();
    app->SetExclusive(second);
    EXPECT_EQ(OwnTypes(second), (std::vector<int32_t>{EV_UNFOCUS, EV_FOCUS}));
    app->SetExclusive(nullptr);
    EXPECT_EQ(app->activeWindow, second);
}

// Entering and leaving follow the pointer; motion and keys go to the active component
// wherever the pointer is. The wheel goes to the window under the pointer, whoever has
// the focus, and bubbles up; three rows a notch, positive towards the end, a fine
// wheel's part turns kept.
TEST_F(ToolkitTest, PointerKeysAndWheelReachTheirWindows)
{
    CRecorder* top = NewRecorder(0, 0, 400, 300, nullptr);
    CRecorder* a = NewRecorder(10, 10, 50, 50, top);
    CRecorder* b = NewRecorder(100, 10, 50, 50, top);
    ShowAll({top, a, b});
    app->Activate(top);
    Pump();
    log.clear();
    for (auto [x, y] : {std::pair{20, 20}, {25, 22}, {120, 20}}) {
        desktop.MovePointer(x, y);
        Pump();
    }
    std::vector<std::pair<CObject*, int32_t>> order;
    for (const Seen& s : log)
        if (s.source == app && (s.type == EV_MOUSEENTER || s.type == EV_MOUSELEAVE))
            order.push_back({s.receiver, s.type});
    EXPECT_EQ(order, (std::vector<std::pair<CObject*, int32_t>>{
                         {a, EV_MOUSEENTER}, {a, EV_MOUSELEAVE}, {b, EV_MOUSEENTER}}));
    EXPECT_TRUE(SeenBy(a, EV_MOUSEMOVE).empty());
    EXPECT_TRUE(SeenBy(b, EV_MOUSEMOVE).empty());
    auto moves = SeenBy(top, EV_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[1].x, 15);  // client coordinates of the window the pointer is over
    EXPECT_EQ(moves[1].y, 12);

    app->Activate(b);
    Pump();
    log.clear();
    desktop.TypeKey(0x4E, 0xF1);  // the key that types "ñ"
    desktop.TypeKey(platform::VK_LEFT);
    Pump();
    std::vector<Seen> own;
    for (const Seen& s : SeenBy(b))
        if (s.source == app)
            own.push_back(s);
    ASSERT_EQ(Types(own), (std::vector<int32_t>{EV_KEYDOWN, EV_CHAR, EV_KEYUP, EV_KEYDOWN, EV_KEYUP}));
    EXPECT_EQ(own[0].value, 0x4E);
    EXPECT_EQ(own[1].value, 0xF1);
    EXPECT_EQ(own[3].value, int32_t(platform::VK_LEFT));
    EXPECT_TRUE(OwnTypes(top).empty());

    log.clear();
    desktop.MovePointer(20, 30);
    for (int delta : {120, -120, -40, -20, -20, -20, 40, -240})
        desktop.TurnWheel(delta);
    desktop.MovePointer(900, 700);  // over no window of the program
    desktop.TurnWheel(120);
    Pump();
    std::vector<int32_t> rows;
    for (const Seen& s : SeenBy(a, EV_WHEEL)) {
        EXPECT_EQ(s.source, app);
        EXPECT_EQ(s.x, 20);  // on the screen
        EXPECT_EQ(s.y, 30);
        rows.push_back(s.value);
    }
    // -40 gives one row, two turns of -20 one more; 40 back drops the half row left.
    EXPECT_EQ(rows, (std::vector<int32_t>{-3, 3, 1, 1, -1, 6}));
    auto passedUp = SeenBy(top, EV_WHEEL);
    ASSERT_EQ(passedUp.size(), rows.size());
    EXPECT_EQ(passedUp[0].source, a);
    EXPECT_EQ(app->activeWindow, b);  // the wheel activates nothing
    EXPECT_TRUE(SeenBy(b, EV_WHEEL).empty());
    EXPECT_TRUE(SeenBy(b, EV_WHEELUP).empty());
}

TEST_F(ToolkitTest, TimerFiresOnceAccumulationExceedsItsInterval)
{
    CRecorder* target = NewRecorder(0, 0, 50, 50, nullptr);
    Variable holdTimer(new CTimer(app));
    auto* timer = holdTimer.As<CTimer>();
    timer->Create(target);
    timer->SetEnabled(1);
    app->looping = 1;
    app->Step();  // the first step only reads the clock
    auto after = [&](int ms) {
        desktop.AdvanceClock(ms);
        app->Step();
        return SeenBy(target, EV_TIMER);
    };
    after(600);
    EXPECT_TRUE(after(400).empty());
    EXPECT_EQ(timer->accumulated, 1000u);
    auto fired = after(7);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].value, 7);
    EXPECT_EQ(fired[0].source, timer);
    EXPECT_EQ(timer->accumulated, 0u);

    // A disabled timer keeps accumulating and fires on the first enabled tick.
    timer->SetEnabled(0);
    EXPECT_EQ(after(1500).size(), 1u);
    timer->SetEnabled(1);
    fired = after(3);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[1].value, 3);
    app->Step();  // no time elapsed: no tick
    EXPECT_EQ(timer->accumulated, 0u);
    app->looping = 0;
}

namespace {
// Records how long the loop asks to wait.
class CWaitRecorder : public PHeadlessSystem {
public:
    int WaitMessage(int timeoutMs) override
    {
        waits.push_back(timeoutMs);
        return PHeadlessSystem::WaitMessage(timeoutMs);
    }
    int GetMessage(platform::PMessage& message) override
    {
        blockingGets++;
        return PHeadlessSystem::GetMessage(message);
    }
    std::vector<int> waits;
    int blockingGets = 0;
};
}  // namespace

// Without a window system Initialise fails loudly and a step does no harm. With one, the
// loop blocks while no timer runs and otherwise sleeps until the next is due.
TEST(ToolkitLoop, WithTimersTheLoopSleepsUntilTheNextIsDue)
{
    auto* previous = platform::InstallWindowSystem(nullptr);
    auto* app = new CGApplication();
    testing::internal::CaptureStderr();
    EXPECT_EQ(app->Initialise(), 0);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    app->looping = 1;
    app->Step();
    app->Cleanup();
    delete app;

    CWaitRecorder desktop;
    platform::InstallWindowSystem(&desktop);
    app = new CGApplication();
    ASSERT_EQ(app->Initialise(), 1);
    app->looping = 1;
    app->Step();
    EXPECT_EQ(desktop.blockingGets, 1);
    {
        Variable held(new CTimer(app));
        auto* timer = held.As<CTimer>();
        timer->Create(nullptr);
        timer->SetInterval(25);
        app->Step();
        EXPECT_TRUE(desktop.waits.empty() || desktop.waits.back() == -1);  // disabled: wait for a message
        timer->SetEnabled(1);
        desktop.AdvanceClock(10);
        app->Step();
        ASSERT_FALSE(desktop.waits.empty());
        // Due once more than 25 ms accumulate; 10 have passed since the last tick.
        EXPECT_EQ(desktop.waits.back(), 26 - 10);
        EXPECT_EQ(timer->accumulated, 10u);
        desktop.AdvanceClock(5);
        app->Step();
        EXPECT_EQ(desktop.waits.back(), 26 - 10 - 5);
        desktop.AdvanceClock(40);
        app->Step();
        EXPECT_EQ(desktop.waits.back(), 0);  // overdue: no sleep at all
    }
    app->looping = 0;
    app->Cleanup();
    delete app;
    platform::InstallWindowSystem(previous);
}

namespace {
// Calls Run from inside a handler, then stops the loop.
class CNester : public CWindow {
public:
    using CWindow::CWindow;
    void HandleEvent(CEvent event) override
    {
        if (event.type == EV_KEYDOWN && event.source == application) {
            GetApplication()->Run();
            nestedReturned = true;
            GetApplication()->Stop();
        }
        CWindow::HandleEvent(event);
    }
    bool nestedReturned = false;
};
}  // namespace

TEST_F(ToolkitTest, RunInsideAStepReturnsAtOnceAndStopEndsTheLoop)
{
    Variable held(new CNester(app));
    auto* window = held.As<CNester>();
    window->Create(0, 0, 50, 50, nullptr, NoTitle, 0, 0, 0);
    window->Show();
    desktop.TypeKey('A', 'a');
    app->Run();
    EXPECT_TRUE(window->nestedReturned);
    EXPECT_EQ(app->looping, 0);
    EXPECT_EQ(app->running, 0);
}

// The end of the session keeps what must be kept at once, whether the system sends it
// to a window (Windows) or a signal posts it, and then ends the loop; an end that was
// called off (wParam 0) changes nothing.
TEST_F(ToolkitTest, TheEndOfTheSessionKeepsAtOnceThenEndsTheLoop)
{
    CRecorder* top = NewRecorder(0, 0, 50, 50, nullptr);
    int kept = 0;
    app->SetSessionEnd([&kept] { kept++; });
    app->running = 1;
    desktop.DispatchMessage({top->handle, platform::WM_ENDSESSION, 0, 0});
    EXPECT_EQ(kept, 0);
    EXPECT_EQ(app->running, 1);
    desktop.DispatchMessage({top->handle, platform::WM_ENDSESSION, 1, 0});
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(app->running, 0);
    desktop.PostMessage(0, platform::WM_ENDSESSION, 1, 0);
    app->Run();
    EXPECT_EQ(kept, 2);
}

TEST_F(ToolkitTest, ServicesReportDesktopPointerAndClipboard)
{
    CEvent size = app->GetDesktopSize();
    EXPECT_EQ(size.type, EV_NONE);
    EXPECT_EQ(size.x, 1024);
    EXPECT_EQ(size.y, 768);
    desktop.MovePointer(33, 44);
    CEvent pointer = app->GetCursorPosition();
    EXPECT_EQ(pointer.x, 33);
    EXPECT_EQ(pointer.y, 44);

    EXPECT_EQ(app->GetClipboardText(), nullptr);
    Variable text(new CString(app));
    text.As<CString>()->SetText("Espa\xF1" "a 1,5");
    app->SetClipboardText(text.As<CString>());
    Variable back(app->GetClipboardText());
    ASSERT_TRUE(back);
    EXPECT_TRUE(back.As<CString>()->Equals("Espa\xF1" "a 1,5"));

    EXPECT_EQ(app->packColour(255, 0, 0), 255u);
    uint32_t c = app->packColour(1, 2, 3);
    EXPECT_EQ(app->redOf(c) + app->greenOf(c) * 10 + app->blueOf(c) * 100, 321u);
}
