#include <string>
#include <vector>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "graphics/CFont.h"
#include "ToolkitFixture.h"
#include "toolkit/CEditBox.h"

using namespace platform;

namespace {
constexpr int Left = 100, Top = 100;
constexpr int BoxX = 10, BoxY = 10, BoxW = 120, BoxH = 24;

class EditBoxTest : public ToolkitTest {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        parent = NewRecorder(Left, Top, 300, 120, nullptr);
        box = new CEditBox(app);
        held.emplace_back(box);
        box->Create(BoxX, BoxY, BoxW, BoxH, parent, NoTitle, 255, 236, 192);
        ShowAll({parent, box});
        ClickBox();
    }

    void ClickBox(int x = 60)
    {
        desktop.Click(Left + BoxX + x, Top + BoxY + BoxH / 2);
        Pump();
    }

    // Control held while the key goes down: a chord, typing its control character.
    void Chord(char letter)
    {
        desktop.PressKey(VK_CONTROL);
        desktop.PressKey(uint32_t(letter), uint32_t(letter - 'A' + 1));
        desktop.ReleaseKey(uint32_t(letter));
        desktop.ReleaseKey(VK_CONTROL);
        Pump();
    }

    void Mark(uint32_t from, uint32_t to)
    {
        Key(VK_HOME);
        for (uint32_t i = 0; i < from; i++)
            Key(VK_RIGHT);
        Command('m');
        for (uint32_t i = from; i < to; i++)
            Key(VK_RIGHT);
        Command('m');
        EXPECT_EQ(box->selStart, from);
        EXPECT_EQ(box->selEnd, to);
    }

    std::string Text() const { return TextOf(box->GetText()); }
    uint32_t Pixel(int x, int y) { return desktop.GetWindowPixel(box->handle, x, y); }

    CRecorder* parent = nullptr;
    CEditBox* box = nullptr;
};

TEST_F(EditBoxTest, TypingEditsAtTheCaretUntilTheFocusGoes)
{
    Type("abc");
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(box->caret, 3u);
    Key(VK_LEFT);
    Type("X");
    EXPECT_EQ(Text(), "abXc");
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "bXc");
    Key(VK_BACK);  // nothing before the caret
    EXPECT_EQ(Text(), "bXc");
    Key(VK_END);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "bX");
    EXPECT_EQ(box->caret, 2u);

    // Characters above 127 are text too; control characters are not.
    Type("\xF1\x80\r");
    EXPECT_EQ(Text(), "bX\xF1\x80");
    box->SetEditable(0);
    Type("q");
    Key(VK_BACK);
    Key(VK_LEFT);
    EXPECT_EQ(Text(), "bX\xF1\x80");
    EXPECT_EQ(box->caret, 3u);  // moving still works

    // Losing the focus puts the caret back to the start and disarms the prefix.
    box->SetEditable(1);
    Key(VK_CONTROL);
    ASSERT_EQ(box->prefixArmed, 1u);
    desktop.Click(Left + 250, Top + 100);  // on the parent, beside the box
    Pump();
    EXPECT_EQ(app->activeWindow, parent);
    EXPECT_EQ(box->caret, 0u);
    EXPECT_EQ(box->boxFocused, 0u);
    EXPECT_EQ(box->prefixArmed, 0u);
    Type("x");  // goes to the parent now
    EXPECT_EQ(Text(), "bX\xF1\x80");
}

TEST_F(EditBoxTest, ControlPrefixAndChordsRunTheClipboardCommands)
{
    std::string clip = "12";
    desktop.SetClipboardText(clip.data(), clip.size());
    Command('v');
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(box->prefixArmed, 0u);
    Type("z");
    EXPECT_EQ(Text(), "12z");

    // The chord pastes as well, and the next character is typed, not swallowed.
    Chord('V');
    EXPECT_EQ(Text(), "12z12");
    EXPECT_EQ(box->prefixArmed, 0u);
    Type("y");
    EXPECT_EQ(Text(), "12z12y");

    // Mark "z12", copy it by chord, cut it by prefix.
    Mark(2, 5);
    Chord('C');
    std::string copied;
    desktop.GetClipboardText(copied);
    EXPECT_EQ(copied, "z12");
    Command('x');
    EXPECT_EQ(Text(), "12y");
    EXPECT_EQ(box->caret, 2u);
    EXPECT_EQ(box->selStart, box->selEnd);

    // A mark cleared with "n" and made again is replaced with the clipboard.
    clip = "AB";
    desktop.SetClipboardText(clip.data(), clip.size());
    Key(VK_HOME);
    Command('m');
    Key(VK_RIGHT);
    Command('n');
    Command('m');
    EXPECT_EQ(box->selStart, 0u);
    EXPECT_EQ(box->selEnd, 1u);
    Command('b');
    EXPECT_EQ(Text(), "AB2y");
    EXPECT_EQ(box->caret, 2u);

    // Control+X cuts; Control+M types 13 and is no command: the next letter is typed.
    Chord('X');
    EXPECT_EQ(Text(), "2y");
    Chord('M');
    Type("k");
    EXPECT_EQ(Text(), "k2y");

    // An empty clipboard pastes nothing.
    desktop.SetClipboardText("", 0);
    Command('v');
    EXPECT_EQ(Text(), "k2y");
}

TEST_F(EditBoxTest, TypingPastTheRightEdgeScrollsAndClicksPlaceTheCaret)
{
    Type(std::string(60, '8'));
    auto* font = box->editFont.As<CFont>();
    ASSERT_NE(font, nullptr);
    EXPECT_GT(box->firstChar, 0u);
    const char* text = box->GetText()->GetBuffer();
    EXPECT_LE(font->TextWidth(text + box->firstChar, box->caret - box->firstChar), BoxW - 12);
    Key(VK_HOME);
    EXPECT_EQ(box->firstChar, 0u);

    // A click lands before the character whose right edge reaches it.
    int digit = font->TextWidth("8", 1);
    ClickBox(digit * 3);
    EXPECT_EQ(box->caret, 2u);
    // The wheel scrolls what lies under it and leaves the caret alone.
    desktop.MovePointer(Left + BoxX + 10, Top + BoxY + 5);
    desktop.TurnWheel(120);
    Pump();
    EXPECT_EQ(box->caret, 2u);
}

// The look of every state, read on the screen: the outermost fill shows on row 1 and
// the innermost one in the middle, away from caret and text. A marked range is
// highlighted from its first character to its last.
TEST_F(EditBoxTest, EachStateHasItsColoursAndTheMarkShows)
{
    struct State {
        const char* name;
        uint32_t editable, focused, hover, prefix;
        uint32_t outer, inner, frame;
    };
    const State states[] = {
        {"fixed", 0, 0, 0, 0, packColour(236, 248, 255), packColour(252, 254, 255), packColour(45, 82, 138)},
        {"fixed-hover", 0, 0, 1, 0, packColour(248, 182, 52), packColour(255, 252, 246), packColour(24, 12, 0)},
        {"prefix", 1, 1, 0, 1, packColour(45, 175, 255), packColour(232, 248, 255), 0},
        {"idle", 1, 0, 0, 0, packColour(226, 226, 226), packColour(252, 254, 255), 0},
        {"idle-hover", 1, 0, 1, 0, packColour(165, 212, 255), packColour(250, 253, 255), 0},
        {"focused", 1, 1, 0, 0, packColour(175, 255, 128), packColour(245, 255, 232), 0},
        {"focused-hover", 1, 1, 1, 0, packColour(255, 192, 186), packColour(255, 242, 232), 0},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        box->editable = s.editable;
        box->boxFocused = s.focused;
        box->boxHover = s.hover;
        box->prefixArmed = s.prefix;
        box->Draw();
        EXPECT_EQ(Pixel(BoxW - 8, 1), s.outer);
        EXPECT_EQ(Pixel(BoxW - 8, BoxH / 2), s.inner);
        EXPECT_EQ(Pixel(0, 0), s.frame);
        EXPECT_EQ(Pixel(BoxW - 1, BoxH - 1), s.frame);
        if (s.focused) {
            EXPECT_EQ(Pixel(6, 4), 0u);  // the caret's outline
        }
        box->SetText("3,1416", 6);
        box->selStart = 1;
        box->selEnd = 4;
        box->caret = 6;
        box->Draw();
        SavePicture(box, std::string("editbox-") + s.name);
        box->SetText("", 0);
    }

    box->editable = 1;
    Type("123456");
    Mark(0, 4);
    Key(VK_END);
    // The caret lies after the mark: the mark covers "1234" from the left edge.
    int marked = box->editFont.As<CFont>()->TextWidth("1234", 4);
    EXPECT_EQ(Pixel(1, 1), packColour(255, 248, 48));
    EXPECT_EQ(Pixel(4, BoxH / 2), packColour(255, 255, 252));
    EXPECT_EQ(Pixel(marked - 2, BoxH - 3), packColour(255, 252, 172));
    EXPECT_NE(Pixel(marked + 2, BoxH - 3), packColour(255, 252, 172));
}
}  // namespace
