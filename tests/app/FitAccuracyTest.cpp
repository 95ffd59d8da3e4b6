// The fits against exact answers computed in rational arithmetic, on data whose x
// values lie far from the origin.
#include <cmath>
#include <cstdlib>

#include "app/FitLines.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "tests/app/FitFixture.h"
#include "tools/fit-reference/FitReferences.h"

namespace {
class FitAccuracyTest : public FitFixture {
protected:
    void Load(const FitReference& reference)
    {
        std::vector<std::string> x, y, e;
        for (const FitReferenceRow& row : reference.rows) {
            x.push_back(row.x);
            y.push_back(row.y);
            e.push_back(row.errorY);
        }
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        Fill(ColumnErrorY, e);
    }
};

// Correct digits: −log10 of the relative error against the exact value.
double Digits(double value, const char* exact)
{
    long double truth = std::strtold(exact, nullptr);
    long double error = std::fabs(static_cast<long double>(value) - truth) / std::fabs(truth);
    return error == 0 ? 19.0 : static_cast<double>(-std::log10(error));
}
}  // namespace

TEST_F(FitAccuracyTest, SimpleFitKeepsItsDigitsFarFromTheOrigin)
{
    for (const FitReference& reference : FitReferences) {
        SCOPED_TRACE(reference.name);
        Load(reference);
        SimpleFitResult fit = RunSimpleFit(Data(), SimpleFitColumns{});
        bool farShift = std::string(reference.name) == "shift_1e8";
        double errors = farShift ? 9 : 12;
        EXPECT_GE(Digits(fit.a, reference.simpleA), 13);
        EXPECT_GE(Digits(fit.b, reference.simpleB), 13);
        EXPECT_GE(Digits(fit.errorY, reference.simpleErrorY), errors);
        EXPECT_GE(Digits(fit.errorA, reference.simpleErrorA), errors);
        EXPECT_GE(Digits(fit.errorB, reference.simpleErrorB), errors);
        EXPECT_GE(Digits(fit.r, reference.simpleR), errors);
    }
}

TEST_F(FitAccuracyTest, WeightedFitKeepsItsDigitsFarFromTheOrigin)
{
    for (const FitReference& reference : FitReferences) {
        SCOPED_TRACE(reference.name);
        Load(reference);
        WeightedFitResult fit = RunWeightedFit(Data(), WeightedFitColumns{});
        bool farShift = std::string(reference.name) == "shift_1e8";
        double errors = farShift ? 9 : 12;
        EXPECT_GE(Digits(fit.a, reference.weightedA), 13);
        EXPECT_GE(Digits(fit.b, reference.weightedB), 13);
        EXPECT_GE(Digits(fit.errorA, reference.weightedErrorA), errors);
        EXPECT_GE(Digits(fit.errorB, reference.weightedErrorB), errors);
        EXPECT_GE(Digits(fit.xi, reference.weightedXi), errors);
    }
}

TEST_F(FitAccuracyTest, RawSumsLoseTheDigitsTheCentredFitKeeps)
{
    const FitReference& far = FitReferences[2];
    Load(far);
    SimpleFitResult raw = SimpleFitFromRawSums(Data());
    EXPECT_LT(Digits(raw.a, far.simpleA), 10);  // the fault the centred computation mends
}
