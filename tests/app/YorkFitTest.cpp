#include <cmath>
#include <tuple>

#include "app/FitResult.h"
#include "app/FitRows.h"
#include "app/FitStatistics.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "tests/app/FitFixture.h"

namespace {
struct Point {
    double x, ex, y, ey;
};

FitRows RowsOf(const std::vector<Point>& points)
{
    FitRows rows(true, true);
    for (const Point& p : points)
        rows.Add(p.x, p.y, p.ey, p.ex);
    return rows;
}

const std::vector<Point> Scattered = {{0.5, 0.05, 1.1, 0.1}, {1.25, 0.1, 2.3, 0.2}, {2, 0.02, 2.9, 0.1},
                                      {3.5, 0.3, 4.8, 0.3},  {4, 0.1, 5.2, 0.2},    {5.5, 0.2, 6.1, 0.15}};
}  // namespace

// The per-row values are those a student checks by hand: the adjusted points lie on the
// line, the normalised residuals add up to χ² in squares, and a negative error weighs as
// its size; swapping the roles of x and y gives the inverse line. Without errors of x
// the York fit is the weighted fit: its line and its errors.
TEST(YorkFitTest, RowsAdjustedPointsSymmetryAndTheWeightedLine)
{
    FitResult fit = RunFit(FitKind::York, RowsOf(Scattered), true);
    ASSERT_EQ(fit.perRow.size(), 4u);
    double chi2 = 0;
    for (size_t i = 0; i < Scattered.size(); i++) {
        const Point& p = Scattered[i];
        double w = fit.perRow[0][i], ax = fit.perRow[1][i], ay = fit.perRow[2][i], r = fit.perRow[3][i];
        EXPECT_NEAR(w, 1 / (p.ey * p.ey + fit.a * fit.a * p.ex * p.ex), 1e-12 * w);
        EXPECT_NEAR(ay, fit.a * ax + fit.b, 1e-12);
        EXPECT_NEAR(r, (fit.a * p.x + fit.b - p.y) * std::sqrt(w), 1e-12);
        chi2 += r * r;
    }
    ASSERT_EQ(fit.named.size(), 12u);
    EXPECT_STREQ(fit.named[6].name, "Chi2");
    EXPECT_NEAR(fit.named[6].value, chi2, 1e-12 * chi2);
    EXPECT_EQ(fit.named[11].value, double(RunYorkFit(fit.rows).iterations));
    EXPECT_TRUE(fit.note.empty());

    std::vector<Point> negative = Scattered, swapped = Scattered;
    for (Point& p : negative)
        p.ex = -p.ex, p.ey = -p.ey;
    for (Point& p : swapped)
        p = {p.y, p.ey, p.x, p.ex};
    YorkFitResult plain = RunYorkFit(fit.rows), signs = RunYorkFit(RowsOf(negative));
    EXPECT_EQ(signs.a, plain.a);
    EXPECT_EQ(signs.errorB, plain.errorB);
    YorkFitResult inverse = RunYorkFit(RowsOf(swapped));
    EXPECT_NEAR(inverse.a, 1 / plain.a, 1e-12);
    EXPECT_NEAR(inverse.chi2, plain.chi2, 1e-10 * plain.chi2);
    EXPECT_NEAR(plain.scaledErrorA, plain.errorA * std::sqrt(plain.chi2 / 4), 1e-15);

    std::vector<Point> noErrorX = Scattered;
    for (Point& p : noErrorX)
        p.ex = 0;
    YorkFitResult york = RunYorkFit(RowsOf(noErrorX));
    WeightedFitResult weighted = RunWeightedFit(RowsOf(noErrorX));
    for (auto [got, want, digits] : {std::tuple{york.a, weighted.a, 1e-14}, {york.b, weighted.b, 1e-14},
                                     {york.errorA, weighted.errorA, 1e-13}, {york.errorB, weighted.errorB, 1e-13},
                                     {york.chi2, weighted.s, 1e-13}, {york.covAB, weighted.covAB, 1e-13}})
        EXPECT_NEAR(got, want, digits * std::fabs(want));
    EXPECT_LE(york.iterations, 3u);
}

// Q(a, x) against closed forms: e^(−x) for a = 1, erfc(√x) for a = ½,
// e^(−x)·(1 + x + x²/2) for a = 3, and the χ² tables' critical values, whose
// probabilities for even ν are e^(−x)·Σ x^k/k! (k < ν/2), here to 16 digits.
TEST(YorkFitTest, ChiSquareProbabilityAgainstKnownValues)
{
    for (double x : {0.0, 1e-3, 0.5, 1.0, 2.5, 4.0, 10.0, 30.0, 200.0}) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(UpperRegularizedGamma(1, x), std::exp(-x), 1e-15);
        EXPECT_NEAR(UpperRegularizedGamma(0.5, x), std::erfc(std::sqrt(x)), 1e-15);
        EXPECT_NEAR(UpperRegularizedGamma(3, x), std::exp(-x) * (1 + x + x * x / 2), 1e-14);
    }
    const struct {
        double chi2;
        uint32_t n;
        double p;
    } table[] = {
        {3.841458820694124, 3, 0.05},   // ν = 1
        {18.30703805327515, 12, 0.04999999999999995},  // ν = 10
        {23.20925115895247, 12, 0.01000000000000651},
        {124.3421134901215, 102, 0.04999999945645754},  // ν = 100
        {100, 102, 0.4811916845279567},
    };
    for (const auto& row : table)
        EXPECT_NEAR(ChiSquareOf(row.chi2, row.n).probability, row.p, 1e-12) << row.chi2;
    ChiSquare none = ChiSquareOf(0, 2);
    EXPECT_EQ(none.reduced, 0.0);
    EXPECT_EQ(none.probability, 1.0);
    EXPECT_TRUE(std::isnan(UpperRegularizedGamma(0, 1)));
    EXPECT_EQ(UpperRegularizedGamma(2, INFINITY), 0.0);
    // Half a million degrees of freedom, as a fit of a million rows has: still a probability.
    double q = ChiSquareOf(1e6, 1000002).probability;
    EXPECT_NEAR(q, 0.5, 0.01);
}
