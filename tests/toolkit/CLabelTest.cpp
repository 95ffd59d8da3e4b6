#include <gtest/gtest.h>

#include <algorithm>

#include "core/CString.h"
#include "graphics/CFont.h"
#include "toolkit/CLabel.h"
#include "WidgetFixture.h"

namespace {
using Points = std::vector<std::pair<int, int>>;

Points Shifted(Points points, int dx, int dy)
{
    for (auto& p : points)
        p = {p.first + dx, p.second + dy};
    return points;
}
}  // namespace

TEST_F(WidgetTest, LabelTextSitsByAlignmentAfterTheImageAndWithItsShadowAndPointerEventsReachTheParent)
{
    CRecorder* window = NewRecorder(10, 10, 300, 100, nullptr);
    window->Show();
    auto newLabel = [&](int alignment, int style = 0) {
        auto* label = NewWidget<CLabel>(20, 10, 160, 24, window);
        label->textStyle = style;
        label->shadowColour = Rgb(250, 250, 250);
        label->SetAlignment(alignment);
        label->SetText("Valores");
        label->Show();
        return label;
    };
    auto inkOf = [&](CLabel* label) { return PointsOf(label->GetCanvas(), Rgb(0, 0, 0)); };

    CLabel* left = newLabel(CLabel::AlignLeft);
    CLabel* centred = newLabel(CLabel::AlignCentre);
    CLabel* right = newLabel(CLabel::AlignRight);
    int tw = left->GetCanvas()->GetFont()->TextWidth("Valores");
    ASSERT_GT(tw, 0);
    Points ink = inkOf(left);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(inkOf(centred), Shifted(ink, (160 - tw) >> 1, 0));
    Points rightInk = inkOf(right);
    EXPECT_EQ(rightInk, Shifted(ink, 160 - tw, 0));
    int rightmost = std::max_element(rightInk.begin(), rightInk.end())->first;  // pairs order by x first
    EXPECT_LT(rightmost, 160);
    EXPECT_GE(rightmost, 160 - 3);  // the text ends at the right edge

    // Text sits on the bottom row; everything else is the parent's background.
    for (auto [x, y] : ink)
        EXPECT_LE(y, 24 - 1);
    EXPECT_EQ(Shown(left, 150, 2), Rgb(200, 100, 50));

    // An alignment that does not exist changes nothing.
    right->SetAlignment(3);
    EXPECT_EQ(right->alignment, CLabel::AlignRight);
    EXPECT_EQ(inkOf(right), Shifted(ink, 160 - tw, 0));

    // An image sits bottom left, the text four pixels after it whatever the alignment.
    CLabel* pictured = newLabel(CLabel::AlignRight);
    pictured->SetImage(UniformCell(10, 8, 5, 6, 7));
    EXPECT_EQ(Shown(pictured, 0, 24 - 8), Rgb(5, 6, 7));
    EXPECT_EQ(Shown(pictured, 9, 23), Rgb(5, 6, 7));
    EXPECT_NE(Shown(pictured, 10, 23), Rgb(5, 6, 7));
    EXPECT_NE(Shown(pictured, 0, 24 - 9), Rgb(5, 6, 7));
    EXPECT_EQ(inkOf(pictured), Shifted(ink, 10 + 4, 0));

    CLabel* raised = newLabel(CLabel::AlignLeft, 1);
    CLabel* sunken = newLabel(CLabel::AlignLeft, 2);
    // Style 1: shadow in place, text one pixel right and down; style 2 the other way.
    Points raisedExpected;
    for (auto p : Shifted(ink, 1, 1))
        if (p.first < 160 && p.second < 24)
            raisedExpected.push_back(p);
    EXPECT_EQ(inkOf(raised), raisedExpected);
    EXPECT_EQ(inkOf(sunken), ink);
    Points shadow = PointsOf(sunken->GetCanvas(), Rgb(250, 250, 250));
    ASSERT_FALSE(shadow.empty());
    for (auto p : shadow)
        EXPECT_TRUE(std::find(ink.begin(), ink.end(), std::pair{p.first - 1, p.second - 1}) != ink.end());
    Points raisedShadow = PointsOf(raised->GetCanvas(), Rgb(250, 250, 250));
    for (auto p : raisedShadow)
        EXPECT_TRUE(std::find(ink.begin(), ink.end(), p) != ink.end());

    // A press on a label (the last one made lies on top) reaches the parent both as
    // its own and from the label.
    Pump();
    log.clear();
    desktop.Click(10 + 20 + 5, 10 + 10 + 5);
    Pump();
    bool own = false, forwarded = false;
    for (const Seen& s : SeenBy(window, EV_LBUTTONDOWN)) {
        own = own || s.source == app;
        forwarded = forwarded || s.source == sunken;
    }
    EXPECT_TRUE(own);
    EXPECT_TRUE(forwarded);
    EXPECT_FALSE(SeenBy(window, EV_CLICK).empty());
}
