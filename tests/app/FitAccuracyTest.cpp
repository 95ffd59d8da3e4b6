// The fits against exact answers computed in rational arithmetic, on data whose x
// values lie far from the origin; the York fit against a 50-digit solution of the
// published example, as it is and moved far from the origin.
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "app/FitLines.h"
#include "app/FitRows.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "tests/app/FitFixture.h"
#include "tools/fit-reference/CorrectDigits.h"
#include "tools/fit-reference/FitReferences.h"

using FitAccuracyTest = FitFixture;

// Digits the errors keep: fewer when x lies 10^8 from the origin. The textbook formulas
// on the raw sums lose the slope's digits there, which the centred computation keeps.
TEST_F(FitAccuracyTest, BothFitsKeepTheirDigitsFarFromTheOrigin)
{
    for (const FitReference& reference : FitReferences) {
        SCOPED_TRACE(reference.name);
        Texts x, y, e;
        for (const FitReferenceRow& row : reference.rows) {
            x.push_back(row.x);
            y.push_back(row.y);
            e.push_back(row.errorY);
        }
        Fill(ColumnX, x);
        Fill(ColumnY, y);
        Fill(ColumnErrorY, e);
        double errors = std::string(reference.name) == "shift_1e8" ? 9 : 12;
        SimpleFitResult simple = RunSimpleFit(Data());
        WeightedFitResult weighted = RunWeightedFit(Data());
        for (auto [got, want, digits] : {std::tuple{simple.a, reference.simpleA, 13.0},
                                         {simple.b, reference.simpleB, 13.0},
                                         {simple.errorY, reference.simpleErrorY, errors},
                                         {simple.errorA, reference.simpleErrorA, errors},
                                         {simple.errorB, reference.simpleErrorB, errors},
                                         {simple.r, reference.simpleR, errors},
                                         {weighted.a, reference.weightedA, 13.0},
                                         {weighted.b, reference.weightedB, 13.0},
                                         {weighted.errorA, reference.weightedErrorA, errors},
                                         {weighted.errorB, reference.weightedErrorB, errors},
                                         {weighted.xi, reference.weightedXi, errors}})
            EXPECT_GE(CorrectDigits(got, want), digits) << want;
        if (&reference == &FitReferences[2]) {
            EXPECT_LT(CorrectDigits(SimpleFitFromRawSums(Data()).a, reference.simpleA), 10);
        }
    }
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
        for (auto [got, want] : {std::pair{fit.a, reference.a}, {fit.b, reference.b}, {fit.errorA, reference.errorA},
                                 {fit.errorB, reference.errorB}, {fit.covAB, reference.covAB}, {fit.chi2, reference.chi2}})
            EXPECT_GE(CorrectDigits(got, want), 14) << want;
    }
}
