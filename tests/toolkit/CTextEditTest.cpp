#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/SimpleFit.h"
#include "core/CList.h"
#include "core/CString.h"
#include "graphics/CCanvas.h"
#include "io/DataCell.h"
#include "io/DataFile.h"
#include "tests/common/TempFolder.h"
#include "ToolkitFixture.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/FittedNumber.h"
#include "toolkit/Notice.h"

using namespace platform;

namespace {
constexpr int Left = 40, Top = 40;
constexpr int ColumnY = 24, ColumnW = 101, ColumnH = 200;

// Four columns and a scroller joined in a ring, as in the main window.
class TextEditTest : public ToolkitTest {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        parent = NewRecorder(Left, Top, 460, 240, nullptr);
        for (int k = 0; k < 4; k++) {
            columns[k] = new CTextEdit(app);
            held.emplace_back(columns[k]);
            columns[k]->Create(10 + 100 * k, ColumnY, ColumnW, ColumnH, parent, NoTitle, 255, 236, 192);
        }
        scroller = new CScroller(app);
        held.emplace_back(scroller);
        scroller->Create(412, ColumnY, 16, ColumnH, parent, NoTitle, 255, 236, 192);
        for (int k = 0; k < 3; k++)
            columns[k]->SetNext(columns[k + 1]);
        columns[3]->SetNext(scroller);
        scroller->SetNext(columns[0]);
        ShowAll({parent, columns[0], columns[1], columns[2], columns[3], scroller});
        ClickRow(0, 0);
    }

    void ClickRow(int k, int row)
    {
        CTextEdit* column = columns[k];
        desktop.Click(Left + column->x + 50, Top + ColumnY + row * column->rowHeight + column->rowHeight / 2);
        Pump();
    }

    void Paste(const std::string& text)
    {
        desktop.SetClipboardText(text.data(), text.size());
        Command('v');
    }

    std::vector<std::string> Rows(int k) { return LinesOf(columns[k]); }

    void ExpectRingAt(uint32_t row, uint32_t count)
    {
        for (CTextEdit* column : columns) {
            EXPECT_EQ(column->GetCurrentRow(), row);
            EXPECT_EQ(column->GetLineCount(), count);
        }
    }

    uint32_t Pixel(int k, int x, int y) { return desktop.GetWindowPixel(columns[k]->handle, x, y); }

    CRecorder* parent = nullptr;
    CTextEdit* columns[4] = {};
    CScroller* scroller = nullptr;
};

// Enter on the last row adds a row to every column, Escape deletes the current row from
// every column but never the last one, Up and Down move them all; after Up on the first
// row the next Enter stays there. The cell editor shows the current row's text.
TEST_F(TextEditTest, RowKeysGrowShrinkAndMoveTheWholeRing)
{
    ASSERT_EQ(app->activeWindow, columns[0]->GetEditor());
    const struct {
        uint32_t before;    // a key pressed first, or 0
        const char* typed;  // then typed
        uint32_t after;     // then a key, or 0
        int active;         // the column whose editor has the keyboard
        uint32_t row, count;
        int column;  // the column whose lines are given
        std::vector<std::string> lines;
    } steps[] = {
        {0, "\x1b", 0, 0, 0, 1, 0, {""}},
        {0, "a\rb\rc", VK_UP, 0, 1, 3, 0, {"a", "b", "c"}},
        {0, "\x1b", 0, 0, 1, 2, 0, {"a", "c"}},
        {0, "\x1b", 0, 0, 0, 1, 0, {"a"}},
        {0, "\x1b", 0, 0, 0, 1, 0, {"a"}},
        {VK_END, "x", VK_UP, 0, 0, 1, 0, {}},
        {0, "\r", 0, 0, 0, 1, 0, {"ax"}},  // stays, confirming the row
        {0, "\r", 0, 0, 1, 2, 0, {"ax", ""}},
        {0, "1.5\r", 0, 0, 2, 3, 0, {"ax", "1.5", ""}},
        {0, "\t", 0, 1, 2, 3, 1, {"", "", ""}},
        {0, "2\r", 0, 0, 3, 4, 1, {"", "", "2", ""}},  // back to where the row began
        {VK_UP, "", 0, 0, 2, 4, 0, {}},
        {VK_DOWN, "", VK_DOWN, 0, 3, 4, 0, {}},  // Down stops at the last row
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.typed) + " after " + std::to_string(step.before));
        if (step.before)
            Key(step.before);
        Type(step.typed);
        if (step.after)
            Key(step.after);
        ExpectRingAt(step.row, step.count);
        EXPECT_EQ(app->activeWindow, columns[step.active]->GetEditor());
        if (!step.lines.empty()) {
            EXPECT_EQ(Rows(step.column), step.lines);
            EXPECT_EQ(TextOf(columns[step.column]->GetEditor()->GetText()), step.lines[step.row]);
        }
    }

    // A walk started anywhere, the scroller included, visits everyone once and ends.
    scroller->SetCurrentRow(0);
    ExpectRingAt(0, 4);
    columns[2]->SetCurrentRow(1);
    EXPECT_EQ(columns[2]->GetCurrentRow(), 1u);
    EXPECT_EQ(columns[0]->GetCurrentRow(), 0u);  // SetCurrentRow alone moves one column
    CTextEditRing::WalkRing(columns[2], CTextEditRing::CurrentRowWalk, 2);
    ExpectRingAt(2, 4);
    EXPECT_EQ(CTextEditRing::Members(scroller).size(), 5u);
    // A chain that loops without coming back to its start still ends.
    columns[3]->SetNext(columns[1]);
    EXPECT_EQ(CTextEditRing::Members(columns[0]).size(), 4u);
    CTextEditRing::WalkRing(columns[0], CTextEditRing::CurrentRowWalk, 1);
    ExpectRingAt(1, 4);
}

// Tabs along a row, then Enter: the next row, in the column where the Tabs started.
// Enter alone goes down its column; a click ends a run of Tabs, picks a row, and below
// the last row only takes the focus.
TEST_F(TextEditTest, EnterAfterTabsGoesBackToWhereTheRowWasStarted)
{
    Type("1\t0.1\t2\t0.2\r2\t0.1\t4.1\t0.2\r");
    ExpectRingAt(2, 3);
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    EXPECT_EQ(Rows(0), (std::vector<std::string>{"1", "2", ""}));
    EXPECT_EQ(Rows(1), (std::vector<std::string>{"0.1", "0.1", ""}));
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"2", "4.1", ""}));
    EXPECT_EQ(Rows(3), (std::vector<std::string>{"0.2", "0.2", ""}));

    // One column at a time.
    ClickRow(2, 2);
    Type("6\r7\r");
    EXPECT_EQ(app->activeWindow, columns[2]->GetEditor());
    ExpectRingAt(4, 5);
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"2", "4.1", "6", "7", ""}));

    // A run started in the middle goes back there; Tabs round the ring still count.
    Type("8\t\t");  // past the scroller to the first column
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    Type("9\r");
    EXPECT_EQ(app->activeWindow, columns[2]->GetEditor());
    ExpectRingAt(5, 6);
    EXPECT_EQ(TextOf(columns[0]->LineAt(4)), "9");

    // A click ends the run; so does another row.
    Type("\t");
    ClickRow(0, 5);
    Type("\r");
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    Type("\t");
    Key(VK_UP);
    Key(VK_DOWN);
    Type("\r");
    EXPECT_EQ(app->activeWindow, columns[1]->GetEditor());
    ExpectRingAt(7, 8);

    ClickRow(2, 1);
    ExpectRingAt(1, 8);
    EXPECT_EQ(app->activeWindow, columns[2]->GetEditor());
    Key(VK_END);
    ASSERT_EQ(columns[2]->GetEditor()->caret, 3u);
    ASSERT_LT(9 * columns[3]->rowHeight, ColumnH);
    ClickRow(3, 8);  // below the last row
    ExpectRingAt(1, 8);
    EXPECT_EQ(app->activeWindow, columns[3]->GetEditor());
    // The edit box lost the focus: its caret went back to the start.
    EXPECT_EQ(columns[2]->GetEditor()->caret, 0u);
}

// The wheel moves the views and the current row of the whole ring, wherever it turns
// over the ring (a column, its cell editor, the scroller), and takes no focus.
TEST_F(TextEditTest, TheWheelScrollsTheRingTogether)
{
    for (CTextEdit* column : columns)
        for (int i = 1; i < 40; i++)
            column->AddLine(std::to_string(i).c_str(), uint32_t(std::to_string(i).size()));
    uint32_t visible = uint32_t(ColumnH / columns[0]->rowHeight);
    auto turnOver = [&](CWindow* window, int x, int y, int delta) {
        desktop.MovePointer(Left + window->x + x, Top + window->y + y);
        desktop.TurnWheel(delta);
        Pump();
    };
    turnOver(columns[2], 50, ColumnH - 10, -120);
    ExpectRingAt(3, 40);
    for (CTextEdit* column : columns)
        EXPECT_EQ(column->firstRow, 3u);
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
    turnOver(columns[1], 50, columns[1]->rowHeight / 2, -240);  // on the cell editor
    ExpectRingAt(9, 40);
    EXPECT_EQ(columns[3]->firstRow, 9u);
    turnOver(scroller, 8, 100, 120);
    ExpectRingAt(6, 40);

    // The view stops with the last row at the bottom, the current row at the last row.
    for (int i = 0; i < 20; i++)
        turnOver(columns[0], 50, 30, -120);
    ExpectRingAt(39, 40);
    EXPECT_EQ(columns[0]->firstRow, 40 - visible);
    for (int i = 0; i < 20; i++)
        turnOver(columns[0], 50, 30, 120);
    ExpectRingAt(0, 40);
    EXPECT_EQ(columns[0]->firstRow, 0u);
    EXPECT_EQ(scroller->GetCurrentRow(), 0u);
    EXPECT_EQ(app->activeWindow, columns[0]->GetEditor());
}

// A number wider than its cell is drawn with the digits that fit and its size shown;
// widths here are 6 pixels a character.
TEST(FittedNumberTest, KeepsTheSizeOfEveryNumberAndLeavesOtherTextAlone)
{
    TextMeasure width = [](const char*, uint32_t size) { return int(size) * 6; };
    const struct {
        const char* text;
        int chars;
        const char* shown;
    } cases[] = {
        {"1.2011428571428571E-05", 17, "1.20114285714E-05"},
        {"4.3267873119837472E-08", 8, "4.33E-08"},
        {"123456789012.5", 10, "1.2346E+11"},       // no digit before the point is cut
        {"123456789012.5", 12, "123456789013"},
        {"-0.000123456789", 9, "-0.000123"},
        {"-9.99999E+100", 8, "-1E+101"},           // rounding carries into the exponent
        {"9.9999999", 4, "10"},
        {"2.5000000000000000001", 6, "2.5"},
        {"1,23456789012345", 8, "1,234568"},       // the decimal comma stays
        {"6.02214076e23", 8, "6.02e+23"},
        {"0.000000000000000000000", 5, "0"},
        {"12345678901234567890", 2, "1E+19"},      // nothing fits: the shortest
        {"1.5", 3, "1.5"},
        {"1.2345678901234567890123", 30, "1.2345678901234567890123"},
        {"12.5abc000000000000", 5, "12.5abc000000000000"},
        {"1.2.3000000000000", 5, "1.2.3000000000000"},
        {"1E1234567", 3, "1E1234567"},
        {"INFINITY", 3, "INFINITY"},
        {"", 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FittedNumber(c.text, uint32_t(std::strlen(c.text)), c.chars * 6, width), c.shown) << c.text;
}

TEST_F(TextEditTest, TheCellEditorDropsWhatADataCellCannotHold)
{
    Type("1;2");
    Key('J', 10);  // Control+J types a line feed
    EXPECT_EQ(TextOf(columns[0]->LineAt(0)), "12");

    // A cell holds DataCellLongest characters: a pasted megabyte line, a pasted block's
    // long cell and a key typed into a full cell are cut, and the parent told each time.
    const std::string big(1 << 20, '9');
    auto cutsTold = [&] {
        size_t told = 0;
        for (const Seen& seen : SeenBy(parent, EV_NOTICE))
            told += seen.value == NoticeCellCut;
        return told;
    };
    struct Case {
        const char* what;
        std::string pasted;
        int column, cut;
    } cases[] = {{"line", big, 1, 1}, {"block", "1\t" + big + "\n", 2, 3}};
    for (const Case& c : cases) {
        ClickRow(c.column, 0);
        log.clear();
        Paste(c.pasted);
        EXPECT_EQ(TextOf(columns[c.cut]->LineAt(0)), std::string(DataCellLongest, '9')) << c.what;
        EXPECT_EQ(cutsTold(), 1u) << c.what;
    }
    ClickRow(1, 0);
    Key(VK_END);
    log.clear();
    Type("5");
    EXPECT_EQ(TextOf(columns[1]->LineAt(0)), std::string(DataCellLongest, '9'));
    EXPECT_EQ(cutsTold(), 1u);

    // One line without tabs is inserted at the caret, its line break and separators dropped.
    ClickRow(0, 0);
    Key(VK_HOME);
    Key(VK_RIGHT);
    Paste("7;8\r\n");
    EXPECT_EQ(TextOf(columns[0]->LineAt(0)), "1782");
    ExpectRingAt(0, 1);
    // GetLine gives the unconfirmed text as a copy of its own.
    Variable line(columns[0]->GetLine(0));
    EXPECT_EQ(TextOf(line.As<CString>()), "1782");
    EXPECT_NE(line.Get(), columns[0]->GetEditor()->GetText());
}

TEST_F(TextEditTest, PastingABlockFillsRowsDownAndCellsAlongTheRing)
{
    Type("old");
    Paste("1\t2\t3\r\n4\t5\n6\n");
    ExpectRingAt(2, 3);
    EXPECT_EQ(Rows(0), (std::vector<std::string>{"1", "4", "6"}));
    EXPECT_EQ(Rows(1), (std::vector<std::string>{"2", "5", ""}));
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"3", "", ""}));
    EXPECT_EQ(Rows(3), (std::vector<std::string>{"", "", ""}));

    // From the second column, row 1: cells go on along the ring; extra ones are dropped.
    ClickRow(1, 1);
    ExpectRingAt(1, 3);
    Paste("a\tb;\tc\td\te\nf");
    ExpectRingAt(2, 3);
    EXPECT_EQ(Rows(1), (std::vector<std::string>{"2", "a", "f"}));
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"3", "b", ""}));
    EXPECT_EQ(Rows(3), (std::vector<std::string>{"", "c", ""}));
    EXPECT_EQ(Rows(0), (std::vector<std::string>{"1", "d", "6"}));
}

TEST_F(TextEditTest, RowOperationsOnOneColumn)
{
    CTextEdit* c = columns[0];
    auto text = new CString(app);
    Variable hold(text);
    text->SetText("9");
    c->AppendLine(text);
    c->AddLine("8", 1);
    EXPECT_EQ(Rows(0), (std::vector<std::string>{"", "9", "8"}));
    c->SetCurrentRow(2);
    c->DeleteRow(0);  // above the current row: the row being edited only moves up
    EXPECT_EQ(c->GetCurrentRow(), 1u);
    EXPECT_EQ(TextOf(c->GetEditor()->GetText()), "8");
    c->DeleteRow(5);
    EXPECT_EQ(c->GetLineCount(), 2u);
    c->SetCurrentRow(4);  // rows are added up to it
    EXPECT_EQ(c->GetLineCount(), 5u);
    c->Clear();
    EXPECT_EQ(Rows(0), (std::vector<std::string>{""}));
    EXPECT_EQ(c->GetCurrentRow(), 0u);
    EXPECT_EQ(c->direction, 1u);
    Variable first(c->GetLine(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(TextOf(first.As<CString>()), "");
    EXPECT_EQ(c->GetLine(3), nullptr);

    c->SetEditable(0);
    ClickRow(0, 0);
    Type("5\r");
    EXPECT_EQ(c->GetLineCount(), 1u);
    EXPECT_EQ(TextOf(c->LineAt(0)), "");
}

// The data-file procedures and the fit read and fill the columns themselves.
TEST_F(TextEditTest, ColumnsAreDataColumnsForFilesAndFits)
{
    const char* xs[] = {"1", "2", "3"};
    const char* ys[] = {"2", "4.1", "5.9"};
    for (int i = 0; i < 3; i++) {
        ClickRow(0, i);
        Type(xs[i]);
        ClickRow(2, i);
        Type(ys[i]);
        if (i < 2)
            Type("\r");
    }
    // The last value is still unconfirmed in its editor.
    CDataColumn* data[4] = {columns[0], columns[1], columns[2], columns[3]};
    SimpleFitResult fit = RunSimpleFit(data, SimpleFitColumns{});
    EXPECT_EQ(fit.n, 3u);
    EXPECT_NEAR(fit.a, 1.95, 1e-12);
    EXPECT_NEAR(fit.b, 0.1, 1e-12);

    std::string path = "textedit-data-" + std::to_string(ProcessId()) + ".dat";
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data), 1);
    for (CTextEdit* column : columns)
        column->Clear();
    columns[1]->SetCurrentRow(2);
    ASSERT_EQ(LoadDataFile(app, path.c_str(), data), 1);
    std::remove(path.c_str());
    EXPECT_EQ(Rows(0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"2", "4.1", "5.9"}));
    EXPECT_EQ(Rows(1), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(TextOf(columns[2]->GetEditor()->GetText()), "2");
    EXPECT_NEAR(RunSimpleFit(data, SimpleFitColumns{}).a, 1.95, 1e-12);

    // A block from a Spanish spreadsheet, decimal commas: the same numbers.
    ClickRow(0, 0);
    Paste("1\t0,1\t2\t0,2\n2\t0,1\t4,1\t0,2\n3\t0,1\t5,9\t0,3\n");
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"2", "4,1", "5,9"}));
    EXPECT_EQ(RunSimpleFit(data, SimpleFitColumns{}).a, fit.a);
}

// A cell at fault is marked until its text changes, its row goes or the column empties.
TEST_F(TextEditTest, AMarkedLineShowsUntilItsTextChanges)
{
    CTextEdit* c = columns[1];
    int h = c->rowHeight;
    for (const char* cell : {"1\r", "abc\r", "3\r"}) {
        ClickRow(1, int(c->GetCurrentRow()));
        Type(cell);
    }
    const uint32_t marked = packColour(255, 208, 208);
    c->SetMarkedLine(1);
    EXPECT_EQ(Pixel(1, 50, h + 2), marked);
    EXPECT_NE(Pixel(1, 50, 2 * h + 2), marked);
    // As the current row it shows in the editor and the bands around it; moving keeps it.
    ClickRow(1, 1);
    EXPECT_EQ(Pixel(1, 50, h - 2), packColour(230, 60, 60));
    EXPECT_EQ(desktop.GetWindowPixel(c->GetEditor()->handle, 1, 1), packColour(230, 60, 60));
    ClickRow(1, 0);
    ClickRow(1, 2);
    EXPECT_EQ(c->GetMarkedLine(), 1);
    EXPECT_EQ(Pixel(1, 50, h + 2), marked);
    ClickRow(1, 1);
    Key(VK_END);
    Type("\b");
    EXPECT_EQ(c->GetMarkedLine(), -1) << "typing into it";
    EXPECT_NE(Pixel(1, 50, h - 2), packColour(230, 60, 60));
    EXPECT_NE(desktop.GetWindowPixel(c->GetEditor()->handle, 1, 1), packColour(230, 60, 60));

    // A deleted row above moves the mark with its line; the line deleted takes it away.
    c->SetMarkedLine(2);
    ClickRow(1, 0);
    Type("\x1b");
    EXPECT_EQ(c->GetMarkedLine(), 1);
    Key(VK_DOWN);
    Type("\x1b");
    EXPECT_EQ(c->GetMarkedLine(), -1);
    ClickRow(1, 0);
    c->SetMarkedLine(0);
    Paste("7\t8\n9\n");
    EXPECT_EQ(c->GetMarkedLine(), -1) << "a paste over it";
    c->SetMarkedLine(0);
    c->Clear();
    EXPECT_EQ(c->GetMarkedLine(), -1);
    c->SetMarkedLine(5);
    EXPECT_EQ(c->GetMarkedLine(), -1) << "no such line";
}

TEST_F(TextEditTest, TheGridShowsStripesTheCurrentRowAndMarkers)
{
    CTextEdit* c = columns[0];
    int h = c->rowHeight;
    // One row: the current row is highlighted, the rest is ground with the left strip.
    EXPECT_EQ(Pixel(0, 1, 1), packColour(198, 242, 255));
    EXPECT_EQ(Pixel(0, 0, 0), 0u);
    EXPECT_EQ(Pixel(0, 50, ColumnH - 20), packColour(255, 254, 248));
    EXPECT_EQ(Pixel(0, 3, ColumnH - 20), packColour(232, 238, 252));
    EXPECT_EQ(Pixel(0, 50, ColumnH - 4), packColour(247, 245, 222));
    SavePicture(c, "textedit-one-row");

    for (int i = 0; i < 30; i++)
        c->AddLine(std::to_string(i).c_str(), uint32_t(std::to_string(i).size()));
    c->SetCurrentRow(3);
    // Stripes alternate below the current row; more rows below: the lower marker.
    EXPECT_EQ(Pixel(0, 60, 5 * h + 1), packColour(242, 250, 255));
    EXPECT_EQ(Pixel(0, 60, 6 * h + 1), packColour(252, 255, 255));
    EXPECT_EQ(Pixel(0, 60, 6 * h - 1), packColour(198, 226, 255));
    EXPECT_EQ(Pixel(0, ColumnW - 5, ColumnH - 4), packColour(255, 114, 45));
    EXPECT_NE(Pixel(0, ColumnW - 5, 2), packColour(214, 255, 175));
    SavePicture(c, "textedit-rows-below");

    c->SetCurrentRow(29);
    EXPECT_EQ(Pixel(0, ColumnW - 5, 2), packColour(214, 255, 175));
    EXPECT_EQ(Pixel(0, ColumnW - 5, h + 1), packColour(114, 255, 45));
    EXPECT_EQ(Pixel(0, ColumnW - 5, ColumnH - 4), packColour(255, 114, 45));
    SavePicture(c, "textedit-rows-both-sides");

    c->SetCurrentRow(30);
    c->SetEditable(0);
    c->Draw();
    EXPECT_NE(Pixel(0, 1, ColumnH - h), packColour(198, 242, 255));
    SavePicture(c, "textedit-not-editable");
}
}  // namespace
