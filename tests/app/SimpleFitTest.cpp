#include <cmath>
#include <random>
#include <utility>

#include "app/FitLines.h"
#include "app/FitResult.h"
#include "app/FitRows.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "tests/app/FitFixture.h"

namespace {
using Names = std::vector<std::string>;

class SimpleFitTest : public FitFixture {
protected:
    SimpleFitResult Fit(const std::vector<std::string>& x, const std::vector<std::string>& y)
    {
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        shown = Shown(RunFit(FitKind::Simple, Data()));
        return RunSimpleFit(Data());
    }
    // The texts shown: "X*X", "Y*Y", "X*Y", "(Ax+B-y)", names, values.
    Names Column(int i) const
    {
        static const int Order[] = {1, 2, 0, 3, 4, 5};
        return shown[Order[i]];
    }
    std::vector<Names> shown;
};
}  // namespace

TEST_F(SimpleFitTest, ExactLineThroughThreePoints)
{
    SimpleFitResult fit = Fit({"1", "2", "3"}, {"2", "4", "6"});
    EXPECT_EQ(Column(0), (Names{"1", "4", "9"}));     // X*X
    EXPECT_EQ(Column(1), (Names{"4", "16", "36"}));   // Y*Y
    EXPECT_EQ(Column(2), (Names{"2", "8", "18"}));    // X*Y
    EXPECT_EQ(Column(3), (Names{"0", "0", "0"}));     // (Ax+B-y)
    EXPECT_EQ(Column(4), (Names{"N", "Sx", "Sy", "Sxx", "Syy", "Sxy", "S[(Ax+B-y)]", "Delta",
                                           "Error Y", "A", "B", "Error A", "Error B", "r"}));
    EXPECT_EQ(Column(5), (Names{"3", "6", "12", "14", "56", "28", "0", "6", "0", "2", "0", "0", "0", "1"}));
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
    Names values = Column(5);
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
    for (int i = 0; i < 6; i++)
        written.push_back(Column(i));
    SimpleFitResult commas = Fit({"1", "2", "3", "4"}, {" -2,5e3 ", "0,5", "1,5E-3", "7"});
    EXPECT_EQ(commas.sy, -2500 + 0.5 + 1.5e-3 + 7);
    EXPECT_EQ(commas.a, points.a);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(Column(i), written[i]) << i;
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
    EXPECT_EQ(Column(0).size(), 3u) << "no per-row line for the empty rows";

    // An empty row inside the data, or a last row with any cell typed, is a row.
    fit = Fit({"1", "", "3"}, {"2", "", "6"});
    EXPECT_EQ(fit.n, 3u);
    Fill(ColumnErrorY, {"", "", "", "0.5"});
    fit = Fit({"1", "2", "3", ""}, {"2", "4", "6", ""});
    EXPECT_EQ(fit.n, 4u);
    EXPECT_EQ(RowCount(Data()), 4u);
}

// The per-row values formed again row by row are the very numbers of the columns each
// fit keeps.
TEST(FitRowsFormedAgain, AreTheColumnsKept)
{
    auto rowsOf = [] {
        std::mt19937 random(7);
        FitRows rows(true, true);
        for (int i = 0; i < 500; i++) {
            double x = 1e4 + i * 0.37, y = 2.5 * x + std::uniform_real_distribution<double>(-1, 1)(random);
            rows.Add(x, y, 0.05 + (i % 7) * 0.01, 0.002 * (i % 5));
        }
        return rows;
    };
    for (FitKind kind : {FitKind::Simple, FitKind::Weighted, FitKind::York}) {
        FitResult fit = RunFit(kind, rowsOf(), true);
        FitRows rows = rowsOf();
        std::vector<std::vector<double>> formed(fit.perRow.size());
        auto keep = [&](const double* v) {
            for (size_t c = 0; c < formed.size(); c++)
                formed[c].push_back(v[c]);
        };
        if (kind == FitKind::Simple)
            ForEachSimpleFitRow(rows, keep);
        else if (kind == FitKind::Weighted)
            ForEachWeightedFitRow(rows, keep);
        else
            ForEachYorkFitRow(rows, fit.a, keep);
        ASSERT_EQ(formed[0].size(), 500u);
        EXPECT_EQ(formed, fit.perRow) << static_cast<int>(kind);
    }
}

// Rows beyond the first block go to large ones; every row comes back in order with the
// errors its width holds, also after the store moved.
TEST(FitRowsStore, RowsSpanManyBlocks)
{
    for (int width : {2, 3, 4}) {
        FitRows rows(width >= 3, width == 4);
        for (uint32_t i = 0; i < 300000; i++)
            ASSERT_TRUE(rows.Add(i, -double(i), i + 0.5, i + 0.25));
        FitRows moved(std::move(rows));
        FitRows assigned(false);
        assigned.Add(1, 2);
        assigned = std::move(moved);
        uint32_t i = 0;
        bool inOrder = true;
        assigned.ForEachPoint([&](double x, double ex, double y, double ey) {
            inOrder = inOrder && x == i && y == -double(i) && ey == (width >= 3 ? i + 0.5 : 0.0) &&
                      ex == (width == 4 ? i + 0.25 : 0.0);
            i++;
        });
        EXPECT_TRUE(inOrder) << width;
        EXPECT_EQ(i, 300000u);
        EXPECT_EQ(assigned.Count(), 300000u);
    }
}
