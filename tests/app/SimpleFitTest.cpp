#include <cmath>
#include <random>
#include <utility>

#include "app/FitLines.h"
#include "app/FitRows.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "core/NumberText.h"
#include "tests/app/FitFixture.h"

namespace {
using Names = std::vector<std::string>;

class SimpleFitTest : public FitFixture {
protected:
    SimpleFitResult Fit(const std::vector<std::string>& x, const std::vector<std::string>& y)
    {
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        for (auto*& c : outColumns)
            c = NewColumn();
        out = {outColumns[0], outColumns[1], outColumns[2], outColumns[3], outColumns[4], outColumns[5]};
        return RunSimpleFit(Data(), out);
    }
    CLineColumn* outColumns[6] = {};
    SimpleFitColumns out;
};
}  // namespace

TEST_F(SimpleFitTest, ExactLineThroughThreePoints)
{
    SimpleFitResult fit = Fit({"1", "2", "3"}, {"2", "4", "6"});
    EXPECT_EQ(Lines(outColumns[0]), (Names{"1", "4", "9"}));     // X*X
    EXPECT_EQ(Lines(outColumns[1]), (Names{"4", "16", "36"}));   // Y*Y
    EXPECT_EQ(Lines(outColumns[2]), (Names{"2", "8", "18"}));    // X*Y
    EXPECT_EQ(Lines(outColumns[3]), (Names{"0", "0", "0"}));     // (Ax+B-y)
    EXPECT_EQ(Lines(outColumns[4]), (Names{"N", "Sx", "Sy", "Sxx", "Syy", "Sxy", "S[(Ax+B-y)]", "Delta",
                                           "Error Y", "A", "B", "Error A", "Error B", "r"}));
    EXPECT_EQ(Lines(outColumns[5]), (Names{"3", "6", "12", "14", "56", "28", "0", "6", "0", "2", "0", "0", "0", "1"}));
    EXPECT_EQ(fit.a, 2.0);
    EXPECT_EQ(fit.b, 0.0);
}

TEST_F(SimpleFitTest, FallingLineHasAPositiveCorrelation)
{
    SimpleFitResult fit = Fit({"1", "2", "3"}, {"3", "1", "2"});
    EXPECT_EQ(fit.a, -0.5);
    EXPECT_EQ(fit.b, 3.0);
    EXPECT_EQ(fit.s, 1.5);
    EXPECT_EQ(fit.errorY, std::sqrt(1.5));
    EXPECT_EQ(fit.r, 0.5);
    EXPECT_EQ(fit.delta, 6.0);
    Names values = Lines(outColumns[5]);
    EXPECT_EQ(values[9], "-0.5");
    EXPECT_EQ(values[8], "1.2247448713915889406678161321906");  // sqrt(1.5) with 32 digits
}

TEST_F(SimpleFitTest, TwoRowsDivideTheResidualsByTwo)
{
    SimpleFitResult fit = Fit({"0", "1"}, {"0", "1"});
    EXPECT_EQ(fit.errorY, 0.0);
    EXPECT_EQ(fit.a, 1.0);
    fit = Fit({"0", "1", "2", "3"}, {"1", "0", "1", "0"});
    EXPECT_DOUBLE_EQ(fit.errorY, std::sqrt(fit.s / 2));
}

TEST_F(SimpleFitTest, CellsWithACommaReadAsWithAPoint)
{
    SimpleFitResult points = Fit({"1", "2", "3", "4"}, {" -2.5e3 ", "0.5", "1.5E-3", "7"});
    std::vector<Names> written;
    for (CLineColumn* c : outColumns)
        written.push_back(Lines(c));
    SimpleFitResult commas = Fit({"1", "2", "3", "4"}, {" -2,5e3 ", "0,5", "1,5E-3", "7"});
    EXPECT_EQ(commas.sy, -2500 + 0.5 + 1.5e-3 + 7);
    EXPECT_EQ(commas.a, points.a);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(Lines(outColumns[i]), written[i]) << i;
}

TEST_F(SimpleFitTest, EqualYGiveAPerfectHorizontalLine)
{
    SimpleFitResult fit = Fit({"1", "2", "3"}, {"5", "5", "5"});
    EXPECT_EQ(fit.a, 0.0);
    EXPECT_EQ(fit.b, 5.0);
    EXPECT_EQ(fit.r, 1.0) << "not the 0/0 of the formula";
}

TEST_F(SimpleFitTest, TrailingEmptyRowsAreNoData)
{
    // A value and Enter leave an empty last row; fitted as (0, 0) it would bend the line.
    Fill(ColumnErrorX, {"0.1", "0.1", "0.1", ""});
    SimpleFitResult fit = Fit({"1", "2", "3", "", ""}, {"2", "4", "6", ""});
    EXPECT_EQ(fit.n, 3u);
    EXPECT_EQ(fit.a, 2.0);
    EXPECT_EQ(fit.b, 0.0);
    EXPECT_EQ(Lines(outColumns[0]).size(), 3u) << "no per-row line for the empty rows";

    // An empty row inside the data, or a last row with any cell typed, is a row.
    fit = Fit({"1", "", "3"}, {"2", "", "6"});
    EXPECT_EQ(fit.n, 3u);
    Fill(ColumnErrorY, {"", "", "", "0.5"});
    fit = Fit({"1", "2", "3", ""}, {"2", "4", "6", ""});
    EXPECT_EQ(fit.n, 4u);
    EXPECT_EQ(RowCount(Data()), 4u);
}

// The per-row values formed again row by row are, digit for digit, the lines both fits
// append to their columns.
TEST_F(SimpleFitTest, RowsFormedAgainAreTheColumnsLines)
{
    std::mt19937 random(7);
    FitRows plain(false), weighted(true);
    for (int i = 0; i < 500; i++) {
        double x = 1e4 + i * 0.37, y = 2.5 * x + std::uniform_real_distribution<double>(-1, 1)(random);
        plain.Add(x, y);
        weighted.Add(x, y, 0.05 + (i % 7) * 0.01);
    }
    auto text = [](double v) {
        char t[FitDigits + 40];
        return std::string(t, FormatGeneral(v, FitDigits, t, sizeof t));
    };
    auto compare = [&](CLineColumn* const* columns, int count, const std::vector<std::vector<std::string>>& rows) {
        ASSERT_EQ(rows.size(), 500u);
        for (int c = 0; c < count; c++) {
            Names expected;
            for (const auto& row : rows)
                expected.push_back(row[size_t(c)]);
            EXPECT_EQ(Lines(columns[c]), expected) << "column " << c;
        }
    };
    CLineColumn* columns[6];
    for (auto*& c : columns)
        c = NewColumn();
    std::vector<std::vector<std::string>> rows;
    RunSimpleFit(plain, {columns[1], columns[2], columns[0], columns[3], nullptr, nullptr});
    ForEachSimpleFitRow(plain, [&](const double* v) { rows.push_back({text(v[0]), text(v[1]), text(v[2]), text(v[3])}); });
    compare(columns, 4, rows);
    for (auto*& c : columns)
        c = NewColumn();
    rows.clear();
    WeightedFitColumns out;
    out.p = columns[0], out.xyp = columns[1], out.xxp = columns[2], out.xp = columns[3], out.yp = columns[4];
    out.residuals = columns[5];
    RunWeightedFit(weighted, out);
    ForEachWeightedFitRow(weighted, [&](const double* v) {
        rows.push_back({text(v[0]), text(v[1]), text(v[2]), text(v[3]), text(v[4]), text(v[5])});
    });
    compare(columns, 6, rows);
}

// Rows beyond the first block go to large ones; every row comes back in order, also
// after the store moved.
TEST(FitRowsStore, RowsSpanManyBlocks)
{
    for (bool errors : {false, true}) {
        FitRows rows(errors);
        for (uint32_t i = 0; i < 300000; i++)
            ASSERT_TRUE(rows.Add(i, -double(i), i + 0.5));
        FitRows moved(std::move(rows));
        uint32_t i = 0;
        bool inOrder = true;
        moved.ForEach([&](double x, double y, double e) {
            inOrder = inOrder && x == i && y == -double(i) && e == (errors ? i + 0.5 : 1.0);
            i++;
        });
        EXPECT_TRUE(inOrder);
        EXPECT_EQ(i, 300000u);
        EXPECT_EQ(moved.Count(), 300000u);
    }
}
