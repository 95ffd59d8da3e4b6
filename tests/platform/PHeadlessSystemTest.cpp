#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/headless/PHeadlessSystem.h"

using namespace platform;

namespace {
struct Received {
    PHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};
std::vector<Received> received;

intptr_t Record(PHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    received.push_back({window, message, wParam, lParam});
    return 0;
}

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        received.clear();
        ASSERT_EQ(desktop.RegisterClass("Valkora_Window", Record), 1);
    }

    PHandle Make(int x, int y, int w, int h, PHandle parent = 0, uint32_t exStyle = 0)
    {
        uint32_t style = parent ? WS_CHILD : WS_POPUP;
        PHandle window = desktop.CreateWindow(exStyle, "Valkora_Window", "", style, x, y, w, h,
                                              parent ? parent : desktop.GetDesktopWindow());
        desktop.ShowWindow(window, SW_SHOWNORMAL);
        return window;
    }

    // Takes every queued message, dispatching each.
    std::vector<PMessage> Drain()
    {
        std::vector<PMessage> taken;
        PMessage m;
        while (desktop.PeekMessage(m)) {
            taken.push_back(m);
            if (m.message == WM_PAINT)
                desktop.DefWindowProc(m.window, m.message, 0, 0);
        }
        return taken;
    }

    PHeadlessSystem desktop;
};
}  // namespace

TEST_F(HeadlessTest, PointerInputGoesToTheDeepestVisibleWindowOrTheCapture)
{
    PHandle top = Make(100, 100, 300, 200);
    PHandle child = Make(50, 40, 100, 80, top);
    PHandle hidden = Make(60, 50, 20, 20, child);
    desktop.ShowWindow(hidden, SW_HIDE);
    PHandle other = Make(600, 100, 100, 100);
    Drain();

    desktop.MovePointer(100 + 50 + 15, 100 + 40 + 12);
    desktop.PressButton(PHeadlessSystem::Left);
    auto taken = Drain();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].window, child);
    EXPECT_EQ(taken[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(taken[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(LoWord(uintptr_t(taken[1].lParam)), 15u);
    EXPECT_EQ(HiWord(uintptr_t(taken[1].lParam)), 12u);

    // Captured: the release over another window still comes to the child, in its
    // coordinates (negative ones wrap in the 16-bit halves).
    desktop.SetCapture(child);
    desktop.MovePointer(650, 150);
    desktop.ReleaseButton(PHeadlessSystem::Left);
    taken = Drain();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[1].window, child);
    EXPECT_EQ(LoWord(uintptr_t(taken[1].lParam)), uint32_t(650 - 150));
    desktop.ReleaseCapture();
    desktop.TurnWheel(-120);
    taken = Drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].window, other);
    EXPECT_EQ(int16_t(HiWord(taken[0].wParam)), -120);
    EXPECT_EQ(desktop.WindowAt(0, 0), 0u);
}

TEST_F(HeadlessTest, KeysGoToTheFocusAndTranslateIntoCharacters)
{
    PHandle first = Make(0, 0, 100, 100);
    PHandle second = Make(200, 0, 100, 100);
    Drain();
    EXPECT_EQ(desktop.GetFocus(), second);  // showing a top-level window focuses it
    desktop.SetFocus(first);
    desktop.TypeKey('N', 0xF1);
    auto taken = Drain();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].window, first);
    EXPECT_EQ(taken[0].message, WM_KEYDOWN);
    EXPECT_EQ(taken[0].wParam, uintptr_t('N'));
    desktop.TranslateMessage(taken[0]);
    PMessage character;
    ASSERT_TRUE(desktop.PeekMessage(character));
    EXPECT_EQ(character.message, WM_CHAR);
    EXPECT_EQ(character.wParam, 0xF1u);
    desktop.TranslateMessage(taken[1]);  // a key release types nothing
    EXPECT_FALSE(desktop.Pending());
}

TEST_F(HeadlessTest, QueueOrderDestroyedWindowsAndTheSharedMessagePath)
{
    PHandle top = Make(0, 0, 100, 100);
    PHandle child = Make(10, 10, 20, 20, top);
    desktop.MovePointer(15, 15);                 // input
    desktop.PostMessage(top, WM_USER + 1, 7, 8);  // posted after it, taken before it
    auto taken = Drain();
    ASSERT_GE(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, WM_USER + 1u);
    EXPECT_EQ(taken[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(taken.back().message, WM_PAINT);

    desktop.PostMessage(child, WM_USER + 2, 0, 0);
    desktop.PressButton(PHeadlessSystem::Left);
    desktop.DestroyWindow(top);  // takes its child and everything queued for either
    EXPECT_FALSE(desktop.IsWindow(child));
    EXPECT_FALSE(desktop.Pending());
    EXPECT_EQ(desktop.PostMessage(child, WM_USER, 0, 0), 0);
    EXPECT_EQ(desktop.DispatchMessage(PMessage{child, WM_USER, 0, 0, 0}), 0);

    top = Make(0, 0, 100, 100);
    PHandle hidden = Make(200, 0, 50, 50);
    desktop.ShowWindow(hidden, SW_HIDE);
    Drain();

    desktop.Expose(top, {0, 0, 10, 10});
    desktop.Expose(hidden, {0, 0, 10, 10});
    desktop.TypeKey('A', 'a');
    desktop.TypeKey('B', 'b');
    desktop.PostMessage(top, WM_USER + 3, 0, 0);
    std::vector<uint32_t> order;
    PMessage m;
    while (desktop.PeekMessage(m)) {
        order.push_back(m.message);
        desktop.TranslateMessage(m);
        if (m.message == WM_PAINT) {
            EXPECT_EQ(m.window, top);
            PRect update;
            EXPECT_EQ(desktop.GetUpdateRect(top, update, 0), 1);
            EXPECT_EQ(update.right, 10);
            desktop.DefWindowProc(m.window, m.message, 0, 0);
        }
    }
    std::vector<uint32_t> expected{WM_USER + 3, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_PAINT};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(desktop.Pending());

    desktop.ShowWindow(hidden, SW_SHOWNORMAL);  // shown at last: now it is painted
    ASSERT_TRUE(desktop.PeekMessage(m));
    EXPECT_EQ(m.window, hidden);
    EXPECT_EQ(m.message, uint32_t(WM_PAINT));
    desktop.DefWindowProc(hidden, WM_CLOSE, 0, 0);
    EXPECT_FALSE(desktop.IsWindow(hidden));
    EXPECT_EQ(desktop.GetMessage(m), 0);  // nothing can come on its own here
}

TEST_F(HeadlessTest, MovingSendsMoveAndSizeOnlyForRealChangesAndTheDesktopSavesAsABitmap)
{
    PHandle window = Make(10, 10, 4, 3);
    uint32_t pixels[12];
    for (int i = 0; i < 12; i++)
        pixels[i] = uint32_t(i + 1);
    desktop.PaintPixels(window, PPixels{pixels, 4, 4, 3}, 0, 0, 4, 3);
    received.clear();
    desktop.MoveWindow(window, 10, 10, 4, 3, 1);
    EXPECT_TRUE(received.empty());
    desktop.MoveWindow(window, 20, 10, 6, 3, 1);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, WM_MOVE);
    EXPECT_EQ(received[1].message, WM_SIZE);
    EXPECT_EQ(LoWord(uintptr_t(received[1].lParam)), 6u);
    EXPECT_EQ(desktop.GetWindowPixel(window, 3, 2), 12u);  // kept where old and new overlap
    PRect rect;
    desktop.GetWindowRect(window, rect);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.Width(), 6);

    window = Make(2, 1, 3, 2);
    uint32_t red[6] = {255, 255, 255, 255, 255, 255};
    desktop.PaintPixels(window, PPixels{red, 3, 3, 2}, 0, 0, 3, 2);
    const char* path = "headless-desktop.bmp";
    ASSERT_EQ(desktop.SaveImage(0, path), 1);
    std::FILE* file = std::fopen(path, "rb");
    ASSERT_NE(file, nullptr);
    std::vector<unsigned char> bytes(4096 * 1024);
    size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::remove(path);
    ASSERT_EQ(size, 54u + 1024u * 3u * 768u);
    auto pixelAt = [&](int x, int y) {
        size_t at = 54 + size_t(767 - y) * 1024 * 3 + size_t(x) * 3;  // bottom-up rows, blue first
        return std::vector<int>{bytes[at + 2], bytes[at + 1], bytes[at]};
    };
    EXPECT_EQ(pixelAt(2, 1), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixelAt(4, 2), (std::vector<int>{255, 0, 0}));
    EXPECT_NE(pixelAt(5, 2), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(desktop.SaveImage(window + 1000, path), 0);
}

// The order every backend shares: posted messages first (a translated character is
// posted, so it comes before input typed after its key), then input, then paints, and
// paints only for windows that can be seen; default processing validates and closes.
