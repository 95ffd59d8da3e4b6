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
class SimpleFitTest : public FitFixture {
protected:
    SimpleFitResult Fit(const Texts& x, const Texts& y)
    {
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        shown = ShownColumns(RunFit(FitKind::Simple, Data()));
        return RunSimpleFit(Data());
    }
    std::vector<Texts> shown;  // "X*Y", "X*X", "Y*Y", "(Ax+B-y)", the names, the values
};
}  // namespace

// Exact results of small sets: a falling line has a positive r, two rows leave no
// error of y, equal y give r = 1 rather than the 0/0 of the formula; decimal commas.
TEST_F(SimpleFitTest, SmallSetsGiveExactResults)
{
    const struct {
        Texts x, y;
        double a, b, s, delta, errorY, r;
    } cases[] = {
        {{"1", "2", "3"}, {"2", "4", "6"}, 2, 0, 0, 6, 0, 1},
        {{"1", "2", "3"}, {"3", "1", "2"}, -0.5, 3, 1.5, 6, std::sqrt(1.5), 0.5},
        {{"0", "1"}, {"0", "1"}, 1, 0, 0, 1, 0, 1},
        {{"1", "2", "3"}, {"5", "5", "5"}, 0, 5, 0, 6, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y[0] + " " + c.y[1]);
        SimpleFitResult fit = Fit(c.x, c.y);
        EXPECT_EQ(fit.a, c.a);
        EXPECT_EQ(fit.b, c.b);
        EXPECT_EQ(fit.s, c.s);
        EXPECT_EQ(fit.delta, c.delta);
        EXPECT_EQ(fit.errorY, c.errorY);
        EXPECT_EQ(fit.r, c.r);
    }
    SimpleFitResult four = Fit({"0", "1", "2", "3"}, {"1", "0", "1", "0"});
    EXPECT_DOUBLE_EQ(four.errorY, std::sqrt(four.s / 2)) << "the residuals over N - 2";

    Fit({"1", "2", "3"}, {"3", "1", "2"});
    EXPECT_EQ(shown[5][8], "1.2247448713915889406678161321906") << "sqrt(1.5) with 32 digits";
    EXPECT_EQ(shown[5][9], "-0.5");
    Fit({"1", "2", "3"}, {"2", "4", "6"});
    EXPECT_EQ(shown, (std::vector<Texts>{
                         {"2", "8", "18"},
                         {"1", "4", "9"},
                         {"4", "16", "36"},
                         {"0", "0", "0"},
                         {"N", "Sx", "Sy", "Sxx", "Syy", "Sxy", "S[(Ax+B-y)]", "Delta", "Error Y", "A", "B", "Error A",
                          "Error B", "r"},
                         {"3", "6", "12", "14", "56", "28", "0", "6", "0", "2", "0", "0", "0", "1"},
                     }));

    // Cells with a comma read as with a point.
    SimpleFitResult points = Fit({"1", "2", "3", "4"}, {" -2.5e3 ", "0.5", "1.5E-3", "7"});
    std::vector<Texts> written = shown;
    SimpleFitResult commas = Fit({"1", "2", "3", "4"}, {" -2,5e3 ", "0,5", "1,5E-3", "7"});
    EXPECT_EQ(commas.sy, -2500 + 0.5 + 1.5e-3 + 7);
    EXPECT_EQ(commas.a, points.a);
    EXPECT_EQ(shown, written);
}

// A value and Enter leave an empty last row; fitted as (0, 0) it would bend the line.
// An empty row inside the data, or a last row with any cell typed, is a row.
TEST_F(SimpleFitTest, TrailingEmptyRowsAreNoData)
{
    Fill(ColumnErrorX, {"0.1", "0.1", "0.1", ""});
    SimpleFitResult fit = Fit({"1", "2", "3", "", ""}, {"2", "4", "6", ""});
    EXPECT_EQ(fit.n, 3u);
    EXPECT_EQ(fit.a, 2.0);
    EXPECT_EQ(fit.b, 0.0);
    EXPECT_EQ(shown[1].size(), 3u) << "no per-row line for the empty rows";
    EXPECT_EQ(Fit({"1", "", "3"}, {"2", "", "6"}).n, 3u);
    Fill(ColumnErrorY, {"", "", "", "0.5"});
    EXPECT_EQ(Fit({"1", "2", "3", ""}, {"2", "4", "6", ""}).n, 4u);
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
