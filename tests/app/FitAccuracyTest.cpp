// The fits against exact answers computed in rational arithmetic, on data whose x
// values lie far from the origin; the York fit against a 50-digit solution of the
// published example, as it is and moved far from the origin.
#include <cmath>
#include <cstdlib>

#include "app/FitLines.h"
#include "app/FitRows.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "tests/app/FitFixture.h"
#include "tools/fit-reference/CorrectDigits.h"
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

// Digits the errors must keep: fewer when x lies 10^8 from the origin.
double ErrorDigits(const FitReference& reference) { return std::string(reference.name) == "shift_1e8" ? 9 : 12; }
}  // namespace

TEST_F(FitAccuracyTest, BothFitsKeepTheirDigitsFarFromTheOrigin)
{
    for (const FitReference& reference : FitReferences) {
        SCOPED_TRACE(reference.name);
        Load(reference);
        double errors = ErrorDigits(reference);
        SimpleFitResult simple = RunSimpleFit(Data());
        EXPECT_GE(CorrectDigits(simple.a, reference.simpleA), 13);
        EXPECT_GE(CorrectDigits(simple.b, reference.simpleB), 13);
        EXPECT_GE(CorrectDigits(simple.errorY, reference.simpleErrorY), errors);
        EXPECT_GE(CorrectDigits(simple.errorA, reference.simpleErrorA), errors);
        EXPECT_GE(CorrectDigits(simple.errorB, reference.simpleErrorB), errors);
        EXPECT_GE(CorrectDigits(simple.r, reference.simpleR), errors);
        WeightedFitResult weighted = RunWeightedFit(Data());
        EXPECT_GE(CorrectDigits(weighted.a, reference.weightedA), 13);
        EXPECT_GE(CorrectDigits(weighted.b, reference.weightedB), 13);
        EXPECT_GE(CorrectDigits(weighted.errorA, reference.weightedErrorA), errors);
        EXPECT_GE(CorrectDigits(weighted.errorB, reference.weightedErrorB), errors);
        EXPECT_GE(CorrectDigits(weighted.xi, reference.weightedXi), errors);
    }
}

TEST_F(FitAccuracyTest, RawSumsLoseTheDigitsTheCentredFitKeeps)
{
    const FitReference& far = FitReferences[2];
    Load(far);
    SimpleFitResult raw = SimpleFitFromRawSums(Data());
    EXPECT_LT(CorrectDigits(raw.a, far.simpleA), 10);  // the fault the centred computation mends
}

TEST_F(FitAccuracyTest, YorkFitKeepsItsDigitsOnThePublishedExample)
{
    for (const YorkReference& reference : YorkReferences) {
        SCOPED_TRACE(reference.name);
        FitRows rows(true, true);
        for (const YorkReferenceRow& row : reference.rows)
            rows.Add(std::strtod(row.x, nullptr), std::strtod(row.y, nullptr), std::strtod(row.errorY, nullptr),
                     std::strtod(row.errorX, nullptr));
        YorkFitResult fit = RunYorkFit(rows);
        EXPECT_TRUE(fit.converged);
        EXPECT_GE(CorrectDigits(fit.a, reference.a), 14);
        EXPECT_GE(CorrectDigits(fit.b, reference.b), 14);
        EXPECT_GE(CorrectDigits(fit.errorA, reference.errorA), 14);
        EXPECT_GE(CorrectDigits(fit.errorB, reference.errorB), 14);
        EXPECT_GE(CorrectDigits(fit.covAB, reference.covAB), 14);
        EXPECT_GE(CorrectDigits(fit.chi2, reference.chi2), 14);
    }
}
