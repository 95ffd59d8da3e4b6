// Table of correct digits, −log10(|value − exact| / |exact|), of the fits on the
// reference data sets: the program's centred computation beside the plain-sum formulas.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/FitLines.h"
#include "app/SimpleFit.h"
#include "app/FitRows.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "core/CApplication.h"
#include "core/CString.h"
#include "io/CLineColumn.h"
#include "tools/fit-reference/CorrectDigits.h"
#include "tools/fit-reference/FitReferences.h"

namespace {
void Row(const char* quantity, double centred, double raw, const char* exact)
{
    std::printf("  %-8s %8.1f %8.1f\n", quantity, CorrectDigits(centred, exact), CorrectDigits(raw, exact));
}
}  // namespace

int main()
{
    SetValidationMode(TrustRegistered);
    auto* app = new CApplication();
    for (const FitReference& reference : FitReferences) {
        Variable columns[4];
        CDataColumn* data[4];
        for (int c = 0; c < 4; c++) {
            auto* column = new CLineColumn(app);
            columns[c] = column;
            data[c] = column;
        }
        for (const FitReferenceRow& row : reference.rows) {
            static_cast<CLineColumn*>(data[ColumnX])->AddLine(row.x);
            static_cast<CLineColumn*>(data[ColumnY])->AddLine(row.y);
            static_cast<CLineColumn*>(data[ColumnErrorY])->AddLine(row.errorY);
        }
        for (int c = 0; c < 4; c++)
            data[c]->DeleteFirstLine();
        SimpleFitResult s = RunSimpleFit(data);
        SimpleFitResult sr = SimpleFitFromRawSums(data);
        WeightedFitResult w = RunWeightedFit(data);
        WeightedFitResult wr = WeightedFitFromRawSums(data);
        std::printf("%s, simple fit         centred  raw sums\n", reference.name);
        Row("A", s.a, sr.a, reference.simpleA);
        Row("B", s.b, sr.b, reference.simpleB);
        Row("Error A", s.errorA, sr.errorA, reference.simpleErrorA);
        Row("Error B", s.errorB, sr.errorB, reference.simpleErrorB);
        Row("Error Y", s.errorY, sr.errorY, reference.simpleErrorY);
        Row("r", s.r, sr.r, reference.simpleR);
        std::printf("%s, weighted fit       centred  raw sums\n", reference.name);
        Row("A", w.a, wr.a, reference.weightedA);
        Row("B", w.b, wr.b, reference.weightedB);
        Row("Error A", w.errorA, wr.errorA, reference.weightedErrorA);
        Row("Error B", w.errorB, wr.errorB, reference.weightedErrorB);
        Row("Xi", w.xi, wr.xi, reference.weightedXi);
    }
    for (const YorkReference& reference : YorkReferences) {
        FitRows rows(true, true);
        for (const YorkReferenceRow& row : reference.rows)
            rows.Add(std::strtod(row.x, nullptr), std::strtod(row.y, nullptr), std::strtod(row.errorY, nullptr),
                     std::strtod(row.errorX, nullptr));
        YorkFitResult y = RunYorkFit(rows);
        std::printf("%s, York fit (%u iterations)\n", reference.name, y.iterations);
        Row("A", y.a, y.a, reference.a);
        Row("B", y.b, y.b, reference.b);
        Row("Error A", y.errorA, y.errorA, reference.errorA);
        Row("Error B", y.errorB, y.errorB, reference.errorB);
        Row("Cov AB", y.covAB, y.covAB, reference.covAB);
        Row("Chi2", y.chi2, y.chi2, reference.chi2);
    }
    app->Shutdown();
    delete app;
    return 0;
}
