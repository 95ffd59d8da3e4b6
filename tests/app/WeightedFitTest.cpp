#include <cmath>

#include "app/FitLines.h"
#include "app/FitResult.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "tests/app/FitFixture.h"

namespace {
using Names = std::vector<std::string>;

class WeightedFitTest : public FitFixture {
protected:
    WeightedFitResult Fit(const std::vector<std::string>& x, const std::vector<std::string>& y,
                          const std::vector<std::string>& e)
    {
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        Fill(ColumnErrorY, e);
        shown = Shown(RunFit(FitKind::Weighted, Data()));
        return RunWeightedFit(Data());
    }
    // The texts shown: "1/w", "X/w", "Y/w", "(X*Y)/w", "(X*X)/w", "((Ax+B-y)/w)", names, values.
    Names Column(int i) const
    {
        static const int Order[] = {0, 3, 4, 1, 2, 5, 6, 7};
        return shown[Order[i]];
    }
    std::vector<Names> shown;
};
}  // namespace

TEST_F(WeightedFitTest, UnitErrorsGiveTheSimpleLine)
{
    WeightedFitResult fit = Fit({"1", "2", "3"}, {"2", "4", "6"}, {"1", "1", "1"});
    EXPECT_EQ(Column(0), (Names{"1", "1", "1"}));
    EXPECT_EQ(Column(3), (Names{"2", "8", "18"}));
    EXPECT_EQ(Column(4), (Names{"1", "4", "9"}));
    EXPECT_EQ(Column(5), (Names{"0", "0", "0"}));
    EXPECT_EQ(Column(6), (Names{"N", "Sw", "Sx", "Sy", "Swx", "Swy", "Swxy", "Swxx", "S[((Ax+B-y)/w)]",
                                           "Delta", "A", "B", "Error A", "Error B", "Xi"}));
    EXPECT_EQ(fit.sw, 3.0);
    EXPECT_EQ(fit.swx, 6.0);
    EXPECT_EQ(fit.swy, 12.0);
    EXPECT_EQ(fit.swxx, 14.0);
    EXPECT_EQ(fit.swxy, 28.0);
    EXPECT_EQ(fit.delta, 6.0);
    EXPECT_EQ(fit.a, 2.0);
    EXPECT_EQ(fit.b, 0.0);
    EXPECT_EQ(fit.errorA, std::sqrt(0.5));
    EXPECT_EQ(fit.errorB, std::sqrt(14.0 / 6.0));
    EXPECT_EQ(fit.xi, 0.0);
    EXPECT_EQ(Column(7)[12], "0.70710678118654757273731092936941");
}

TEST_F(WeightedFitTest, EqualErrorsChangeTheErrorsNotTheLine)
{
    WeightedFitResult fit = Fit({"1", "2", "3"}, {"2", "4", "6"}, {"2", "2", "2"});
    EXPECT_EQ(Column(0), (Names{"0.25", "0.25", "0.25"}));
    EXPECT_EQ(fit.sw, 0.75);
    EXPECT_EQ(fit.delta, 0.375);
    EXPECT_EQ(fit.a, 2.0);
    EXPECT_EQ(fit.b, 0.0);
    EXPECT_EQ(fit.errorA, std::sqrt(2.0));
    EXPECT_EQ(fit.sx, 6.0);  // plain sums whatever the weights
    EXPECT_EQ(fit.swx, 1.5);
}

TEST_F(WeightedFitTest, ChiPerDegreeOfFreedomForFewRows)
{
    WeightedFitResult two = Fit({"0", "1"}, {"0", "2"}, {"1", "1"});
    EXPECT_EQ(two.xi, two.s * 0.5);
    WeightedFitResult one = Fit({"1"}, {"1"}, {"1"});
    EXPECT_TRUE(std::isnan(one.xi) || one.xi == one.s);
    WeightedFitResult many = Fit({"0", "1", "2", "3"}, {"0", "1.5", "1.5", "3"}, {"0.5", "0.5", "1", "1"});
    EXPECT_DOUBLE_EQ(many.xi, many.s / 2);
    EXPECT_GT(many.s, 0.0);
}

TEST_F(WeightedFitTest, AgreesWithTheTextbookFormulasOnWellConditionedData)
{
    Fit({"0.5", "1.25", "2", "3.5", "4"}, {"1.1", "2.3", "2.9", "4.8", "5.2"}, {"0.1", "0.2", "0.1", "0.3", "0.2"});
    WeightedFitResult stable = RunWeightedFit(Data());
    WeightedFitResult raw = WeightedFitFromRawSums(Data());
    EXPECT_NEAR(stable.a, raw.a, 1e-12 * std::fabs(raw.a));
    EXPECT_NEAR(stable.b, raw.b, 1e-12 * std::fabs(raw.b));
    EXPECT_NEAR(stable.errorA, raw.errorA, 1e-12 * raw.errorA);
    EXPECT_NEAR(stable.errorB, raw.errorB, 1e-12 * raw.errorB);
    EXPECT_NEAR(stable.xi, raw.xi, 1e-10 * raw.xi);
    EXPECT_NEAR(stable.delta, raw.delta, 1e-12 * raw.delta);
}

TEST_F(WeightedFitTest, TrailingEmptyRowsGiveNoZeroError)
{
    // The empty last row that Enter leaves would weigh 1/0 and turn every result to NaN.
    WeightedFitResult fit = Fit({"1", "2", "3", ""}, {"2", "4", "6", ""}, {"1", "1", "1", ""});
    EXPECT_EQ(fit.n, 3u);
    EXPECT_EQ(fit.a, 2.0);
    EXPECT_TRUE(std::isfinite(fit.errorA));
    EXPECT_EQ(Column(0).size(), 3u);
}
