#include <gtest/gtest.h>

#include "core/CString.h"
#include "graphics/CFont.h"
#include "toolkit/CButton.h"
#include "toolkit/CSkinButton.h"
#include "WidgetFixture.h"

using platform::PHeadlessSystem;

namespace {
struct Probe {
    int x, y;
    uint32_t r, g, b;
};

struct LookCase {
    const char* name;
    int w, h;
    uint32_t focused, hover, pressed;
    std::vector<Probe> probes;
};
}  // namespace

TEST_F(WidgetTest, PointerFocusAndEnterDriveTheStateAndTheClicks)
{
    CRecorder* window = NewRecorder(100, 100, 300, 200, nullptr);
    auto* button = NewWidget<CButton>(20, 30, 80, 24, window);
    auto* other = NewWidget<CButton>(120, 30, 80, 24, window);
    ShowAll({window, button, other});
    Pump();

    desktop.MovePointer(100 + 20 + 10, 100 + 30 + 10);
    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    EXPECT_EQ(button->pressed, 1u);
    EXPECT_EQ(app->activationMode, CGApplication::ExclusiveActivation);
    EXPECT_EQ(Shown(button, 3, 5), Rgb(255, 252, 246));  // the pressed face

    desktop.MovePointer(100 + 200, 100 + 150);
    desktop.ReleaseButton(PHeadlessSystem::Left);
    Pump();
    EXPECT_EQ(button->pressed, 0u);
    EXPECT_EQ(app->activeWindow, button);  // released, and still the active component
    EXPECT_EQ(app->activationMode, CGApplication::NormalActivation);
    EXPECT_EQ(Shown(button, 3, 5), Rgb(255, 242, 232));  // focused, pointer last seen on it
    desktop.MovePointer(100 + 210, 100 + 150);
    Pump();
    EXPECT_EQ(Shown(button, 3, 5), Rgb(245, 255, 232));  // focused, the pointer gone
    EXPECT_TRUE(SeenBy(window, EV_CLICK).empty());

    // Pressed and released inside: one click, from the button.
    desktop.Click(100 + 20 + 40, 100 + 30 + 12);
    Pump();
    auto clicks = SeenBy(window, EV_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].source, button);

    other->Activate();
    Pump();
    // Each face below belongs to one state only: the flags need no checks of their own.
    desktop.MovePointer(100 + 30, 100 + 40);
    Pump();
    EXPECT_EQ(Shown(button, 78, 22), Rgb(136, 208, 255));  // unfocused, under the pointer
    desktop.MovePointer(100 + 130, 100 + 40);
    Pump();
    EXPECT_EQ(other->hover, 1u);
    EXPECT_EQ(Shown(button, 1, 1), Rgb(232, 232, 232));
    button->Activate();
    EXPECT_EQ(other->focused, 0u);
    EXPECT_EQ(Shown(button, 1, 1), Rgb(175, 255, 128));

    // Enter on the active button clicks without the pointer; other keys do nothing.
    Pump();
    log.clear();
    desktop.TypeKey(platform::VK_RETURN, 13);
    desktop.TypeKey('A', 'a');
    Pump();
    clicks = SeenBy(window, EV_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].source, button);
    EXPECT_EQ(button->pressed, 0u);
    EXPECT_TRUE(SeenBy(window, EV_LBUTTONDOWN).empty());
}

TEST_F(WidgetTest, EveryButtonStateHasItsLookCaptionAndIconAreCentredAndSkinsShowTheirState)
{
    // Sizes pick the style: 12 × 10 is small (the title bar's close button), 80 × 24 and
    // 128 × 32 normal, 300 wide the wide style; a = H >> 4, b = W >> 6.
    const std::vector<LookCase> cases = {
        {"small", 12, 10, 0, 0, 0, {{8, 7, 200, 200, 198}, {8, 1, 245, 245, 242}, {2, 2, 255, 255, 250}}},
        {"small hover", 12, 10, 0, 1, 0, {{8, 7, 136, 208, 255}, {8, 1, 198, 225, 255}, {2, 2, 250, 254, 255}}},
        {"small focused", 12, 10, 1, 0, 0, {{8, 7, 175, 255, 128}, {8, 1, 248, 255, 236}, {2, 2, 248, 255, 236}}},
        {"small focused hover", 12, 10, 1, 1, 0, {{8, 7, 255, 172, 154}, {8, 1, 255, 248, 232}}},
        {"small pressed", 12, 10, 1, 1, 1, {{8, 7, 255, 164, 72}, {8, 1, 255, 232, 198}}},
        {"focused", 80, 24, 1, 0, 0, {{1, 1, 175, 255, 128}, {1, 2, 215, 255, 178}, {2, 4, 245, 255, 232}}},
        {"focused hover", 80, 24, 1, 1, 0, {{1, 1, 255, 192, 186}, {78, 2, 255, 218, 208}, {2, 4, 255, 242, 232}}},
        {"pressed", 80, 24, 1, 0, 1,
         {{1, 1, 248, 182, 52}, {1, 3, 252, 235, 153}, {2, 4, 254, 246, 224}, {3, 5, 255, 252, 246}}},
        {"plain", 128, 32, 0, 0, 0,
         {{126, 30, 226, 226, 226}, {1, 1, 232, 232, 232}, {2, 2, 244, 244, 245}, {3, 5, 252, 252, 255}}},
        {"plain while pressed", 128, 32, 0, 0, 1, {{1, 1, 232, 232, 232}, {3, 5, 252, 252, 255}}},
        {"hover", 128, 32, 0, 1, 0,
         {{1, 1, 136, 208, 255}, {126, 2, 196, 226, 254}, {1, 26, 208, 232, 255}, {2, 3, 228, 242, 255},
          {122, 4, 238, 248, 255}, {3, 5, 252, 254, 255}}},
        {"wide", 300, 32, 0, 0, 0, {{298, 20, 212, 212, 198}, {1, 10, 255, 255, 250}, {1, 1, 245, 245, 242}}},
        {"wide hover", 300, 32, 0, 1, 0, {{298, 20, 158, 222, 255}, {1, 10, 250, 254, 255}, {297, 1, 238, 248, 255}}},
    };
    CRecorder* window = NewRecorder(10, 10, 400, 100, nullptr);
    window->Show();
    for (const LookCase& c : cases) {
        auto* button = NewWidget<CButton>(4, 4, c.w, c.h, window);
        button->Show();
        button->focused = c.focused;
        button->hover = c.hover;
        button->pressed = c.pressed;
        button->Draw();
        for (const Probe& p : c.probes)
            EXPECT_EQ(Shown(button, p.x, p.y), Rgb(p.r, p.g, p.b)) << c.name << " at " << p.x << ", " << p.y;
        EXPECT_EQ(Shown(button, 0, 0), Rgb(0, 0, 0)) << c.name;
        EXPECT_EQ(Shown(button, c.w - 1, c.h - 1), Rgb(0, 0, 0)) << c.name;
        button->Destroy();
    }

    auto* button = NewWidget<CButton>(4, 4, 120, 40, window);
    button->Show();
    CBCell* icon = UniformCell(8, 6, 1, 2, 3);

    // An icon alone is centred.
    button->SetButtonIcon(icon);
    button->Draw();
    EXPECT_EQ(Shown(button, (120 - 8) >> 1, (40 - 6) >> 1), Rgb(1, 2, 3));
    EXPECT_NE(Shown(button, ((120 - 8) >> 1) - 1, (40 - 6) >> 1), Rgb(1, 2, 3));

    // Icon and caption: the pair is centred with 4 pixels between them; the caption is
    // dark blue on a focused button.
    button->SetCaption("Abrir");
    int tw = button->GetCanvas()->GetFont()->TextWidth("Abrir");
    int x0 = (120 - (tw + 8) - 4) >> 1;
    EXPECT_EQ(Shown(button, x0, (40 - 6) >> 1), Rgb(1, 2, 3));
    EXPECT_NE(Shown(button, x0 - 1, (40 - 6) >> 1), Rgb(1, 2, 3));
    ASSERT_EQ(button->focused, 1u);
    auto caption = PointsOf(button->GetCanvas(), Rgb(0, 0, 32));
    ASSERT_FALSE(caption.empty());
    for (auto [x, y] : caption) {
        EXPECT_GE(x, x0 + 8 + 4);
        EXPECT_LT(x, x0 + 8 + 4 + tw);
    }

    // A skin button shows the face of its state, centred over the parent.
    auto* skinned = NewWidget<CSkinButton>(160, 10, 60, 30, window);
    skinned->Show();
    // Faces of red 10 to 50: normal, hover, pressed, focused, focused under the pointer.
    int red = 0;
    for (auto set : {&CSkinButton::SetSkinNormal, &CSkinButton::SetSkinHover, &CSkinButton::SetSkinPressed,
                     &CSkinButton::SetSkinFocused, &CSkinButton::SetSkinFocusedHover})
        (skinned->*set)(UniformCell(40, 20, uint8_t(red += 10), 0, 0));
    struct {
        uint32_t focused, hover, pressed, red;
    } states[] = {{0, 0, 0, 10}, {0, 1, 0, 20}, {1, 0, 0, 40}, {1, 1, 0, 50}, {1, 1, 1, 30}, {0, 0, 1, 30}};
    for (auto s : states) {
        skinned->focused = s.focused;
        skinned->hover = s.hover;
        skinned->pressed = s.pressed;
        skinned->Draw();
        EXPECT_EQ(Shown(skinned, 10, 5), Rgb(s.red, 0, 0));   // the face's corner, centred
        EXPECT_EQ(Shown(skinned, 49, 24), Rgb(s.red, 0, 0));
        EXPECT_EQ(Shown(skinned, 9, 5), Rgb(200, 100, 50));  // the parent around it
        EXPECT_EQ(Shown(skinned, 50, 24), Rgb(200, 100, 50));
    }

    // A missing face leaves only the parent's background.
    skinned->skinNormal.Clear();
    skinned->focused = skinned->hover = skinned->pressed = 0;
    skinned->Draw();
    EXPECT_EQ(Shown(skinned, 30, 15), Rgb(200, 100, 50));
}
