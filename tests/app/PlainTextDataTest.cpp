#include <cstdio>
#include <vector>

#include "app/CCompactColumn.h"
#include "app/FitRows.h"
#include "app/PlainTextData.h"
#include "tests/app/FitFixture.h"

namespace {
class PlainTextDataTest : public FitFixture {
protected:
    PlainTextResult Read(const std::string& text)
    {
        // Tests run in parallel: each has a file of its own.
        std::string path = testing::TempDir() + "plain-" +
                           testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        return ReadPlainTextData(app, path.c_str(), Data());
    }
    Texts Column(int c)
    {
        Texts lines;
        for (uint32_t i = 0; i < data[c]->LineCount(); i++)
            lines.emplace_back(data[c]->LineAt(i)->GetBuffer(), data[c]->LineAt(i)->GetLength());
        return lines;
    }
};
}  // namespace

// Two numbers a row are x and y, three add the error of y, four are all columns; cells
// are kept as typed. Comments, blank lines, a line of names, commas, semicolons with
// decimal commas (the Spanish export), tabs and Windows line ends are all read.
TEST_F(PlainTextDataTest, ColumnsFollowTheCountOfNumbers)
{
    const Texts two(2, ""), three(3, "");
    const struct {
        const char* text;
        Texts columns[4];
    } cases[] = {
        {"# x y\n\n1 2\n  2\t4.50\r\n3 6", {{"1", "2", "3"}, three, {"2", "4.50", "6"}, three}},
        {"1 2 0.5\n2 4 0.25\n", {{"1", "2"}, two, {"2", "4"}, {"0.5", "0.25"}}},
        {"1 0.1 2 0.5\n", {{"1"}, {"0.1"}, {"2"}, {"0.5"}}},
        {"\"x\",\"y\",\"e\"\r\n1, 2.5,0.5\r\n2,4,0.25\r\n", {{"1", "2"}, two, {"2.5", "4"}, {"0.5", "0.25"}}},
        {"x;y;;\n1,5;2,25;;\n3;4;;\n", {{"1.5", "3"}, two, {"2.25", "4"}, two}},
        {"1\t2\n3\t4\n", {{"1", "3"}, two, {"2", "4"}, two}},
        {"+1 .5\n-2. 6E-1\n", {{"+1", "-2."}, two, {".5", "6E-1"}, two}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(Read(c.text).status, PlainTextResult::Read);
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(Column(k), c.columns[k]) << k;
    }
    EXPECT_EQ(Read("# names only\nx y\n").rows, 0u);
}

// Rows unlike the first, anything but a whole number (each was once read as 0 or as its
// leading digits, and the fit looked plausible) and overlong lines are refused with
// their line, and leave empty columns.
TEST_F(PlainTextDataTest, RefusedFilesTellTheirLineAndLeaveNoData)
{
    const std::string longLine = "1 2\n" + std::string(PlainTextLongestLine + 1, '7') + "\n";
    struct Case {
        std::string text;
        PlainTextResult::Status status;
        uint32_t line;
        std::string token;
    };
    std::vector<Case> cases = {
        {"1 2\n# note\n3 4 5\n", PlainTextResult::BadLine, 3, ""},
        {"1\n", PlainTextResult::BadLine, 1, ""},
        {"1 2 3 4 5\n", PlainTextResult::BadLine, 1, ""},
        {"1,2\n3,,4\n", PlainTextResult::BadLine, 2, ""},  // an empty field inside a row
        {"1 2\n1;5 2\n", PlainTextResult::BadNumber, 2, "1;5"},  // a semicolon never reaches a cell
        {longLine, PlainTextResult::LongLine, 2, ""},
        {"1 2\n" + std::string(PlainTextLongestLine + 1, ' '), PlainTextResult::LongLine, 2, ""},
    };
    for (const char* token : {"abc", "inf", "nan", "0x10", "4,1x", "1e999", "1,5", "2.5.1", "1e", "--1"})
        cases.push_back({std::string("# x y\n1 2\n\n3 ") + token + "\n", PlainTextResult::BadNumber, 4, token});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        PlainTextResult r = Read(c.text);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(r.token, c.token);
        EXPECT_EQ(Column(0), (Texts{""}));
    }
    EXPECT_EQ(Read("1 2\n# note\n3 4 5\n").fields, 3u);
    EXPECT_EQ(ReadPlainTextData(app, "/nonexistent/file", Data()).status, PlainTextResult::CannotOpen);
}

// Rows read straight into the store, mostly by the quick walk, are the rows the sink
// gets, with the same outcome, for every form a row can take.
TEST_F(PlainTextDataTest, RowsIntoTheStoreAreTheRowsOfTheSink)
{
    class Values : public PlainTextSink {
    public:
        void Row(const PlainTextRow& row) override
        {
            double v[4] = {};
            for (int f = 0; f < row.count; f++)
                v[PlainTextColumn(row.count, f)] = row.value[f];
            rows.push_back({v[0], v[1], v[2], v[3]});
        }
        std::vector<std::vector<double>> rows;
    };
    const char* const inputs[] = {
        "# x y e\n1 2 0.5\n2 4.1 0.5\n\n3 6.2 0.4\r\n  4\t8.1 0.5  \n",
        "x,y\n1,2\n2 , 4.1\n3,6.1,\n4,5\n",
        "x;y;e;\n1,5;2,25;0,1;\n3;4;0,2;\n5.5;6,5;1;\n",
        "1 2\n+2 4.\n.5 1e1\n3 -0\n4 1.00000000000000000000001\n5 1e-400\n6 1E+2\n",
        "1 0.1 2 0.2\n2 0.1 4.1 0.3\n3 0.2 6 0.1\n",
        "1 2\n2 3 4\n", "1 2\n2 4abc\n", "1;2\n1,5.2;3\n", "1,2\n2,,4\n", "1 2\n2 1e400\n",
    };
    for (const char* input : inputs) {
        std::string text = input;
        Values sink;
        PlainTextResult expected = ReadPlainText(Memory(text), sink);
        FitRows rows(true, true);
        PlainTextResult got = ReadPlainTextRows(Memory(text), rows);
        EXPECT_EQ(got.status, expected.status) << input;
        EXPECT_EQ(got.line, expected.line) << input;
        EXPECT_EQ(got.token, expected.token) << input;
        EXPECT_EQ(got.rows, expected.rows) << input;
        EXPECT_EQ(PointsOf(rows), sink.rows) << input;
    }
}
