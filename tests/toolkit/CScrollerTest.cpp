#include <string>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CTimer.h"
#include "WidgetFixture.h"

using namespace platform;

namespace {
constexpr int Left = 40, Top = 40;
constexpr int BarX = 220, BarY = 10, BarW = 16, BarH = 200;

std::string Text(CTextEdit* column) { return TextOf(column->GetEditor()->GetText()); }

// Two columns and a scroller in a ring, the scroller linked to the first column.
class ScrollerTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        parent = NewRecorder(Left, Top, 300, 240, nullptr);
        for (int k = 0; k < 2; k++)
            columns[k] = NewWidget<CTextEdit>(10 + 100 * k, BarY, 101, BarH, parent, 255, 236, 192);
        scroller = NewWidget<CScroller>(BarX, BarY, BarW, BarH, parent, 255, 236, 192);
        columns[0]->SetNext(columns[1]);
        columns[1]->SetNext(scroller);
        scroller->SetNext(columns[0]);
        ShowAll({parent, columns[0], columns[1], scroller});
    }

    void AddRows(uint32_t n)
    {
        for (CTextEdit* column : columns)
            for (uint32_t i = 0; i < n; i++)
                column->AddLine("7", 1);
    }

    // Lets the loop run for `ms` milliseconds of the desktop's clock, a step at a time.
    void RunFor(int ms)
    {
        for (int t = 0; t < ms; t += 5) {
            desktop.AdvanceClock(5);
            Pump();
        }
    }

    int ScreenX(int x) { return Left + BarX + x; }
    int ScreenY(int y) { return Top + BarY + y; }
    uint32_t Pixel(int x, int y) { return desktop.GetWindowPixel(scroller->handle, x, y); }

    void Save(const char* name) { SavePicture(scroller, std::string("scroller-") + name); }

    CRecorder* parent = nullptr;
    CTextEdit* columns[2] = {};
    CScroller* scroller = nullptr;
};

TEST_F(ScrollerTest, ThumbStaysAtTheTopWithOneRowOrWithoutALinkAndKeysGoOnToTheLinkedColumn)
{
    EXPECT_EQ(Pixel(5, 1), 0u);  // the thumb's top edge at y0 = 1
    EXPECT_EQ(Pixel(1, 2), Rgb(205, 206, 216));
    EXPECT_EQ(Pixel(5, BarW + 1), 0u);  // its bottom edge at y0 + t
    EXPECT_EQ(Pixel(1, BarW + 3), Rgb(228, 228, 228));
    desktop.MovePointer(ScreenX(8), ScreenY(8));
    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    desktop.MovePointer(ScreenX(8), ScreenY(60));
    RunFor(100);
    EXPECT_EQ(columns[0]->GetCurrentRow(), 0u);
    EXPECT_EQ(columns[0]->GetLineCount(), 1u);
    desktop.ReleaseButton(PHeadlessSystem::Left);
    Pump();

    // The keyboard focus goes on to the linked column.
    AddRows(3);
    desktop.Click(ScreenX(8), ScreenY(50));
    Pump();
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    EXPECT_FALSE(scroller->scrollTimer);
    Type("4");
    EXPECT_EQ(Text(columns[0]), "4");
    // Tab from the last column passes the scroller by.
    desktop.Click(Left + 10 + 100 + 50, ScreenY(5));
    Pump();
    ASSERT_EQ(app->activeWindow, columns[1]->GetEditor());
    Type("\t");
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    // Focus given to the scroller by the program moves on with the next key.
    scroller->Activate();
    Type("5");
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    EXPECT_EQ(Text(columns[0]), "54");  // the caret went back to 0

    // Without a link the thumb goes back to the top.
    scroller->SetNext(nullptr);
    scroller->SetCurrentRow(3);
    EXPECT_EQ(scroller->GetLineCount(), 0u);
    EXPECT_EQ(Pixel(5, 1), 0u);
    scroller->SetNext(scroller);  // a link to itself is no link
    scroller->SetCurrentRow(3);
    EXPECT_EQ(scroller->GetCurrentRow(), 0u);
}

TEST_F(ScrollerTest, DragMovesOneRowPerPixelAndEndsOnReleaseFocusLossOrHiding)
{
    AddRows(40);
    scroller->SetCurrentRow(5);
    EXPECT_EQ(columns[1]->GetCurrentRow(), 5u);
    desktop.MovePointer(ScreenX(8), ScreenY(100));
    Pump();
    uint32_t hoverOuter = Rgb(136, 198, 255);
    int y0 = (BarH - BarW) * 5 / 40 - 1;
    EXPECT_EQ(Pixel(1, y0 + 1), hoverOuter);
    Save("hover");

    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    EXPECT_EQ(scroller->scrollPressed, 1u);
    EXPECT_TRUE(scroller->scrollTimer);
    EXPECT_EQ(app->activeWindow, scroller);  // the press is still the scroller's
    EXPECT_EQ(Pixel(1, y0 + 1), Rgb(255, 164, 96));
    Save("pressed");
    desktop.MovePointer(ScreenX(8 - 3), ScreenY(100 + 10));
    RunFor(30);
    EXPECT_EQ(columns[0]->GetCurrentRow(), 12u);
    EXPECT_EQ(columns[1]->GetCurrentRow(), 12u);
    RunFor(200);  // the pointer rests: the row stays, the thumb pulses
    EXPECT_EQ(columns[0]->GetCurrentRow(), 12u);
    EXPECT_NE(scroller->pulse, 0);
    Save("pulsing");

    // Far beyond the end, the drag stops at the last row.
    desktop.MovePointer(ScreenX(8), ScreenY(200) + 60);
    RunFor(30);
    EXPECT_EQ(columns[0]->GetCurrentRow(), 40u);

    desktop.ReleaseButton(PHeadlessSystem::Left);
    Pump();
    EXPECT_EQ(scroller->scrollPressed, 0u);
    EXPECT_EQ(scroller->pulse, 0);
    EXPECT_FALSE(scroller->scrollTimer);
    EXPECT_EQ(app->timers->count, 0u);
    scroller->scrollHover = 0;
    scroller->Draw();
    int bottom = BarH - BarW - 1;
    EXPECT_EQ(Pixel(1, bottom + 1), Rgb(205, 206, 216));
    EXPECT_EQ(Pixel(3, bottom + 2), Rgb(238, 240, 248));
    EXPECT_EQ(Pixel(4, bottom + 3), Rgb(253, 254, 255));
    EXPECT_EQ(Pixel(1, 2), Rgb(228, 228, 228));
    EXPECT_EQ(Pixel(2, 2), Rgb(252, 253, 255));
    EXPECT_EQ(Pixel(5, 2), Rgb(228, 228, 228));
    EXPECT_EQ(Pixel(9, 2), Rgb(248, 248, 248));
    Save("plain");

    // Losing the focus or hiding ends a drag.
    desktop.MovePointer(ScreenX(8), ScreenY(50));
    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    ASSERT_TRUE(scroller->scrollTimer);
    columns[1]->GetEditor()->Activate();
    EXPECT_FALSE(scroller->scrollTimer);
    desktop.ReleaseButton(PHeadlessSystem::Left);
    Pump();

    desktop.PressButton(PHeadlessSystem::Left);
    Pump();
    ASSERT_TRUE(scroller->scrollTimer);
    scroller->Hide();
    EXPECT_FALSE(scroller->scrollTimer);
    EXPECT_EQ(app->timers->count, 0u);
}

}  // namespace
