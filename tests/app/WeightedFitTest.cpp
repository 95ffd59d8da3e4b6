#include <cmath>
#include <tuple>

#include "app/FitLines.h"
#include "app/FitResult.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "tests/app/FitFixture.h"

namespace {
class WeightedFitTest : public FitFixture {
protected:
    WeightedFitResult Fit(const Texts& x, const Texts& y, const Texts& e)
    {
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        Fill(ColumnErrorY, e);
        shown = ShownColumns(RunFit(FitKind::Weighted, Data()));
        return RunWeightedFit(Data());
    }
    // "1/w", "(X*Y)/w", "(X*X)/w", "X/w", "Y/w", "((Ax+B-y)/w)", the names, the values
    std::vector<Texts> shown;
};
}  // namespace

// Equal errors change the errors, not the line; the sums of x are plain whatever the
// weights. The empty last row that Enter leaves would weigh 1/0 and give NaN.
TEST_F(WeightedFitTest, EqualErrorsGiveTheSimpleLine)
{
    const struct {
        Texts e;
        double sw, swx, swy, swxx, swxy, delta, errorA, errorB;
        const char* weight;
    } cases[] = {
        {{"1", "1", "1"}, 3, 6, 12, 14, 28, 6, std::sqrt(0.5), std::sqrt(14.0 / 6.0), "1"},
        {{"2", "2", "2"}, 0.75, 1.5, 3, 3.5, 7, 0.375, std::sqrt(2.0), std::sqrt(14.0 / 1.5), "0.25"},
        {{"1", "1", "1", ""}, 3, 6, 12, 14, 28, 6, std::sqrt(0.5), std::sqrt(14.0 / 6.0), "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.e[0] + " " + std::to_string(c.e.size()));
        Texts x = {"1", "2", "3"}, y = {"2", "4", "6"};
        x.resize(c.e.size());
        y.resize(c.e.size());
        WeightedFitResult fit = Fit(x, y, c.e);
        EXPECT_EQ(fit.n, 3u);
        EXPECT_EQ(fit.sx, 6.0);
        EXPECT_EQ(fit.sw, c.sw);
        EXPECT_EQ(fit.swx, c.swx);
        EXPECT_EQ(fit.swy, c.swy);
        EXPECT_EQ(fit.swxx, c.swxx);
        EXPECT_EQ(fit.swxy, c.swxy);
        EXPECT_EQ(fit.delta, c.delta);
        EXPECT_EQ(fit.a, 2.0);
        EXPECT_EQ(fit.b, 0.0);
        EXPECT_EQ(fit.errorA, c.errorA);
        EXPECT_EQ(fit.errorB, c.errorB);
        EXPECT_EQ(fit.xi, 0.0);
        EXPECT_EQ(shown[0], Texts(3, c.weight));
    }
    Fit({"1", "2", "3"}, {"2", "4", "6"}, {"1", "1", "1"});
    EXPECT_EQ(shown[1], (Texts{"2", "8", "18"}));
    EXPECT_EQ(shown[2], (Texts{"1", "4", "9"}));
    EXPECT_EQ(shown[5], (Texts{"0", "0", "0"}));
    EXPECT_EQ(shown[6], (Texts{"N", "Sw", "Sx", "Sy", "Swx", "Swy", "Swxy", "Swxx", "S[((Ax+B-y)/w)]", "Delta", "A",
                               "B", "Error A", "Error B", "Xi"}));
    EXPECT_EQ(shown[7][12], "0.70710678118654757273731092936941");
}

// Chi-square per degree of freedom for few rows, and the results of well-conditioned
// data as the textbook formulas on the plain sums give them.
TEST_F(WeightedFitTest, ChiPerDegreeOfFreedomAndTheTextbookFormulas)
{
    WeightedFitResult two = Fit({"0", "1"}, {"0", "2"}, {"1", "1"});
    EXPECT_EQ(two.xi, two.s * 0.5);
    WeightedFitResult one = Fit({"1"}, {"1"}, {"1"});
    EXPECT_TRUE(std::isnan(one.xi) || one.xi == one.s);
    WeightedFitResult many = Fit({"0", "1", "2", "3"}, {"0", "1.5", "1.5", "3"}, {"0.5", "0.5", "1", "1"});
    EXPECT_DOUBLE_EQ(many.xi, many.s / 2);
    EXPECT_GT(many.s, 0.0);

    WeightedFitResult stable =
        Fit({"0.5", "1.25", "2", "3.5", "4"}, {"1.1", "2.3", "2.9", "4.8", "5.2"}, {"0.1", "0.2", "0.1", "0.3", "0.2"});
    WeightedFitResult raw = WeightedFitFromRawSums(Data());
    for (auto [got, want, digits] : {std::tuple{stable.a, raw.a, 1e-12}, {stable.b, raw.b, 1e-12},
                                     {stable.errorA, raw.errorA, 1e-12}, {stable.errorB, raw.errorB, 1e-12},
                                     {stable.xi, raw.xi, 1e-10}, {stable.delta, raw.delta, 1e-12}})
        EXPECT_NEAR(got, want, digits * std::fabs(want));
}
