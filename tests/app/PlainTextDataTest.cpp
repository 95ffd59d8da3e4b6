#include <cstdio>

#include "app/CCompactColumn.h"
#include "app/FitRows.h"
#include "app/PlainTextData.h"
#include "io/CMemIO.h"
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
    std::vector<std::string> Column(int c)
    {
        std::vector<std::string> lines;
        for (uint32_t i = 0; i < data[c]->LineCount(); i++)
            lines.emplace_back(data[c]->LineAt(i)->GetBuffer(), data[c]->LineAt(i)->GetLength());
        return lines;
    }
};
using Texts = std::vector<std::string>;
}  // namespace

TEST_F(PlainTextDataTest, ColumnsFollowTheCountOfNumbers)
{
    ASSERT_EQ(Read("# x y\n\n1 2\n  2\t4.50\r\n3 6").status, PlainTextResult::Read);
    EXPECT_EQ(Column(0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(Column(2), (Texts{"2", "4.50", "6"}));  // kept as typed
    EXPECT_EQ(Column(1), (Texts{"", "", ""}));
    ASSERT_EQ(Read("1 2 0.5\n2 4 0.25\n").status, PlainTextResult::Read);
    EXPECT_EQ(Column(3), (Texts{"0.5", "0.25"}));
    ASSERT_EQ(Read("1 0.1 2 0.5\n").status, PlainTextResult::Read);
    EXPECT_EQ(Column(1), (Texts{"0.1"}));
    EXPECT_EQ(Column(3), (Texts{"0.5"}));
}

TEST_F(PlainTextDataTest, RowsThatDoNotMatchTheFirstAreRefused)
{
    PlainTextResult r = Read("1 2\n# note\n3 4 5\n");
    EXPECT_EQ(r.status, PlainTextResult::BadLine);
    EXPECT_EQ(r.line, 3u);
    EXPECT_EQ(r.fields, 3u);
    EXPECT_EQ(Read("1\n").status, PlainTextResult::BadLine);
    EXPECT_EQ(Read("1 2 3 4 5\n").status, PlainTextResult::BadLine);
    EXPECT_EQ(Column(0), (Texts{""}));  // a refused file leaves empty columns
}

TEST_F(PlainTextDataTest, SpreadsheetExportsAreRead)
{
    // Comma-separated with a first line of names and Windows line ends.
    ASSERT_EQ(Read("\"x\",\"y\",\"e\"\r\n1, 2.5,0.5\r\n2,4,0.25\r\n").status, PlainTextResult::Read);
    EXPECT_EQ(Column(0), (Texts{"1", "2"}));
    EXPECT_EQ(Column(2), (Texts{"2.5", "4"}));
    EXPECT_EQ(Column(3), (Texts{"0.5", "0.25"}));
    // Semicolons with decimal commas, the Spanish export; blank trailing columns.
    ASSERT_EQ(Read("x;y;;\n1,5;2,25;;\n3;4;;\n").status, PlainTextResult::Read);
    EXPECT_EQ(Column(0), (Texts{"1.5", "3"}));
    EXPECT_EQ(Column(2), (Texts{"2.25", "4"}));
    // Tabs as in a pasted table; a semicolon can never reach a cell.
    ASSERT_EQ(Read("1\t2\n3\t4\n").status, PlainTextResult::Read);
    EXPECT_EQ(Column(2), (Texts{"2", "4"}));
    EXPECT_EQ(Read("1 2\n1;5 2\n").status, PlainTextResult::BadNumber);
    EXPECT_EQ(ReadPlainTextData(app, "/nonexistent/file", Data()).status, PlainTextResult::CannotOpen);
}

TEST_F(PlainTextDataTest, AnythingButAWholeNumberIsRefused)
{
    // Each was read as 0 or as its leading digits, and the fit looked plausible.
    for (const char* token : {"abc", "inf", "nan", "0x10", "4,1x", "1e999", "1,5", "2.5.1", "1e", "--1"}) {
        PlainTextResult r = Read(std::string("# x y\n1 2\n\n3 ") + token + "\n");
        EXPECT_EQ(r.status, PlainTextResult::BadNumber) << token;
        EXPECT_EQ(r.line, 4u) << token;
        EXPECT_EQ(r.token, token);
        EXPECT_EQ(Column(0), (Texts{""}));
    }
    PlainTextResult r = Read("1,2\n3,,4\n");
    EXPECT_EQ(r.status, PlainTextResult::BadLine) << "an empty field inside a row";
    ASSERT_EQ(Read("+1 .5\n-2. 6E-1\n").status, PlainTextResult::Read);
    EXPECT_EQ(Column(0), (Texts{"+1", "-2."}));
}

TEST_F(PlainTextDataTest, AnOverlongLineIsRefused)
{
    PlainTextResult r = Read("1 2\n" + std::string(PlainTextLongestLine + 1, '7') + "\n");
    EXPECT_EQ(r.status, PlainTextResult::LongLine);
    EXPECT_EQ(r.line, 2u);
    EXPECT_EQ(Read("1 2\n" + std::string(PlainTextLongestLine + 1, ' ')).status, PlainTextResult::LongLine);
    EXPECT_EQ(Read("# names only\nx y\n").rows, 0u);
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
        Variable a(new CMemIO(app)), b(new CMemIO(app));
        a.As<CMemIO>()->OpenBlock(text.data(), uint32_t(text.size()));
        b.As<CMemIO>()->OpenBlock(text.data(), uint32_t(text.size()));
        PlainTextResult expected = ReadPlainText(a.As<CMemIO>(), sink);
        FitRows rows(true, true);
        PlainTextResult got = ReadPlainTextRows(b.As<CMemIO>(), rows);
        EXPECT_EQ(got.status, expected.status) << input;
        EXPECT_EQ(got.line, expected.line) << input;
        EXPECT_EQ(got.token, expected.token) << input;
        EXPECT_EQ(got.rows, expected.rows) << input;
        std::vector<std::vector<double>> stored;
        rows.ForEachPoint([&](double x, double ex, double y, double ey) { stored.push_back({x, ex, y, ey}); });
        EXPECT_EQ(stored, sink.rows) << input;
    }
}
