#include <sys/stat.h>

#include <filesystem>

#include <string>
#include <vector>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "platform/PngWriter.h"
#include "ToolkitFixture.h"
#include "toolkit/CEditBox.h"

using namespace platform;

namespace {
constexpr int Left = 100, Top = 100;
constexpr int BoxX = 10, BoxY = 10, BoxW = 120, BoxH = 24;

std::string Text(CEditBox* box) { return std::string(box->GetText()->GetBuffer(), box->GetText()->GetLength()); }

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return packColour(r, g, b); }

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

    void Type(const std::string& text)
    {
        for (char c : text)
            desktop.TypeKey(uint32_t(std::toupper(static_cast<unsigned char>(c))), uint8_t(c));
        Pump();
    }

    void Key(uint32_t vk)
    {
        desktop.TypeKey(vk);
        Pump();
    }

    // Control pressed and released alone, then a character: a prefix command.
    void Command(char c)
    {
        Key(VK_CONTROL);
        Type(std::string(1, c));
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

    uint32_t Pixel(int x, int y) { return desktop.GetWindowPixel(box->handle, x, y); }

    CRecorder* parent = nullptr;
    CEditBox* box = nullptr;
};

TEST_F(EditBoxTest, TypingEditsAtTheCaret)
{
    Type("abc");
    EXPECT_EQ(Text(box), "abc");
    EXPECT_EQ(box->caret, 3u);
    Key(VK_LEFT);
    Type("X");
    EXPECT_EQ(Text(box), "abXc");
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Text(box), "bXc");
    Key(VK_BACK);  // nothing before the caret
    EXPECT_EQ(Text(box), "bXc");
    Key(VK_END);
    Key(VK_BACK);
    EXPECT_EQ(Text(box), "bX");
    EXPECT_EQ(box->caret, 2u);

    // Characters above 127 are text too; control characters are not.
    Type("\xF1\x80");
    desktop.TypeKey(VK_RETURN, 13);
    Pump();
    EXPECT_EQ(Text(box), "bX\xF1\x80");

    box->SetEditable(0);
    Type("q");
    Key(VK_BACK);
    Key(VK_LEFT);
    EXPECT_EQ(Text(box), "bX\xF1\x80");
    EXPECT_EQ(box->caret, 3u);  // moving still works
}

TEST_F(EditBoxTest, ControlPrefixAndChordsRunTheClipboardCommands)
{
    std::string clip = "12";
    desktop.SetClipboardText(clip.data(), clip.size());
    Command('v');
    EXPECT_EQ(Text(box), "12");
    EXPECT_EQ(box->prefixArmed, 0u);
    Type("z");
    EXPECT_EQ(Text(box), "12z");

    // The chord pastes as well, and the next character is typed, not swallowed.
    Chord('V');
    EXPECT_EQ(Text(box), "12z12");
    EXPECT_EQ(box->prefixArmed, 0u);
    Type("y");
    EXPECT_EQ(Text(box), "12z12y");

    // Mark "z12" (positions 2 to 5), copy it by chord, cut it by prefix.
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Command('m');
    for (int i = 0; i < 3; i++)
        Key(VK_RIGHT);
    Command('m');
    EXPECT_EQ(box->selStart, 2u);
    EXPECT_EQ(box->selEnd, 5u);
    Chord('C');
    std::string copied;
    desktop.GetClipboardText(copied);
    EXPECT_EQ(copied, "z12");
    Command('x');
    EXPECT_EQ(Text(box), "12y");
    EXPECT_EQ(box->caret, 2u);
    EXPECT_EQ(box->selStart, box->selEnd);

    // Replace a mark with the clipboard, then clear the mark.
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
    EXPECT_EQ(Text(box), "AB2y");
    EXPECT_EQ(box->caret, 2u);

    // Control+X cuts; Control+M types 13 and is no command: the next letter is typed.
    Chord('X');
    EXPECT_EQ(Text(box), "2y");
    Chord('M');
    Type("k");
    EXPECT_EQ(Text(box), "k2y");

    // An empty clipboard pastes nothing.
    desktop.SetClipboardText("", 0);
    Command('v');
    EXPECT_EQ(Text(box), "k2y");
}

TEST_F(EditBoxTest, LosingFocusReturnsTheCaretToTheStart)
{
    Type("hello");
    ASSERT_EQ(box->caret, 5u);
    Key(VK_CONTROL);
    desktop.Click(Left + 250, Top + 100);  // on the parent, beside the box
    Pump();
    EXPECT_EQ(app->activeWindow, parent);
    EXPECT_EQ(box->caret, 0u);
    EXPECT_EQ(box->boxFocused, 0u);
    EXPECT_EQ(box->prefixArmed, 0u);
    Type("x");  // goes to the parent now
    EXPECT_EQ(Text(box), "hello");
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
// the innermost one in the middle, away from caret and text.
TEST_F(EditBoxTest, EachStateHasItsColours)
{
    struct State {
        const char* name;
        uint32_t editable, focused, hover, prefix;
        uint32_t outer, inner, frame;
    };
    const State states[] = {
        {"fixed", 0, 0, 0, 0, Rgb(236, 248, 255), Rgb(252, 254, 255), Rgb(45, 82, 138)},
        {"fixed-hover", 0, 0, 1, 0, Rgb(248, 182, 52), Rgb(255, 252, 246), Rgb(24, 12, 0)},
        {"prefix", 1, 1, 0, 1, Rgb(45, 175, 255), Rgb(232, 248, 255), 0},
        {"idle", 1, 0, 0, 0, Rgb(226, 226, 226), Rgb(252, 254, 255), 0},
        {"idle-hover", 1, 0, 1, 0, Rgb(165, 212, 255), Rgb(250, 253, 255), 0},
        {"focused", 1, 1, 0, 0, Rgb(175, 255, 128), Rgb(245, 255, 232), 0},
        {"focused-hover", 1, 1, 1, 0, Rgb(255, 192, 186), Rgb(255, 242, 232), 0},
    };
    std::filesystem::create_directory("widget-pictures");
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
        std::string path = std::string("widget-pictures/editbox-") + s.name + ".png";
        EXPECT_EQ(WriteSurfacePng(*box->GetCanvas()->GetSurface(), path.c_str()), 1);
        box->SetText("", 0);
    }
}

TEST_F(EditBoxTest, MarkedRangeIsHighlighted)
{
    Type("123456");
    Key(VK_HOME);
    Command('m');
    for (int i = 0; i < 4; i++)
        Key(VK_RIGHT);
    Command('m');
    Key(VK_END);
    // The caret lies after the mark: the mark covers "1234" from the left edge.
    auto* font = box->editFont.As<CFont>();
    int marked = font->TextWidth("1234", 4);
    EXPECT_EQ(Pixel(1, 1), Rgb(255, 248, 48));
    EXPECT_EQ(Pixel(4, BoxH / 2), Rgb(255, 255, 252));
    EXPECT_EQ(Pixel(marked - 2, BoxH - 3), Rgb(255, 252, 172));
    EXPECT_NE(Pixel(marked + 2, BoxH - 3), Rgb(255, 252, 172));
}
}  // namespace
