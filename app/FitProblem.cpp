#include "app/FitProblem.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "app/CentredSums.h"
#include "app/FitLines.h"
#include "app/FitRows.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "core/CString.h"
#include "io/CDataColumn.h"
#include "io/CellNumber.h"

namespace {
// The captions the main window shows over the columns.
const char* const ColumnCaptions[4] = {"Valores X", "Errores X", "Valores Y", "Errores Y == w"};

// Each reason as the windows show it (Windows-1252: \xE1 á, \xED í, \xFA ú, \xF1 ñ)
// and as the command-line tool prints it.
struct Reason {
    const char* shown;
    const char* ascii;
};
const Reason Reasons[] = {
    {"", ""},
    {"No hay datos", "no hay datos"},
    {"la celda est\xE1 vac\xED" "a", "la celda esta vacia"},
    {"no es un n\xFAmero", "no es un numero"},
    {"Hacen falta al menos dos valores de X distintos para ajustar una recta",
     "hacen falta al menos dos valores de X distintos para ajustar una recta"},
    {"el error es 0 y el ajuste ponderado divide por \xE9l", "el error es 0 y el ajuste ponderado divide por el"},
    {"el error es tan peque\xF1o o tan grande que su peso 1/(e*e) no se puede calcular",
     "el error es tan pequeno o tan grande que su peso 1/(e*e) no se puede calcular"},
    {"Los valores son demasiado grandes para calcular el ajuste",
     "los valores son demasiado grandes para calcular el ajuste"},
    {"este error y el de Y son 0: el ajuste York no puede pesar la fila",
     "este error y el de Y son 0: el ajuste York no puede pesar la fila"},
};

// Long cells are cut; control bytes are written as \xNN, so the message stays one line.
constexpr size_t LongestShownCell = 40;

std::string QuotedCell(const std::string& cell)
{
    std::string out = "\"";
    for (size_t i = 0; i < cell.size() && i < LongestShownCell; i++) {
        auto c = static_cast<unsigned char>(cell[i]);
        if (c < 0x20 || c == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + (cell.size() > LongestShownCell ? "...\"" : "\"");
}

FitProblem CellProblem(FitProblem::Kind kind, uint32_t row, int column, CDataColumn* data)
{
    FitProblem problem = FitProblem::At(kind, row, column);
    if (kind == FitProblem::NotANumber)
        if (CString* line = data->LineAt(row))
            problem.cell.assign(line->GetBuffer(), line->GetLength());
    return problem;
}

FitProblem Finite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return FitProblem::At(FitProblem::OutOfRange, 0, -1);
    return {};
}

FitProblem Computed(const FitRows& rows, FitKind kind)
{
    if (kind == FitKind::Simple)
        return CheckResults(RunSimpleFit(rows));
    if (kind == FitKind::Weighted)
        return CheckResults(RunWeightedFit(rows));
    return CheckResults(RunYorkFit(rows));
}

// The weighted fit's weight 1/(e·e) must be a finite positive number.
FitProblem WeightProblem(double e, uint32_t row)
{
    double p = WeightOf(e);
    if (std::isfinite(p) && p > 0)
        return {};
    return FitProblem::At(e == 0 ? FitProblem::ZeroError : FitProblem::UnusableError, row, ColumnErrorY);
}

// The York fit weighs a row by 1/(ey² + A²·ex²): one error may be 0, not both, and
// neither square may overflow nor both vanish.
FitProblem YorkErrorProblem(double ex, double ey, uint32_t row)
{
    if (ex == 0 && ey == 0)
        return FitProblem::At(FitProblem::BothErrorsZero, row, ColumnErrorX);
    double xx = ex * ex, yy = ey * ey;
    if (!std::isfinite(xx))
        return FitProblem::At(FitProblem::UnusableError, row, ColumnErrorX);
    if (!std::isfinite(yy) || xx + yy == 0)
        return FitProblem::At(FitProblem::UnusableError, row, ColumnErrorY);
    return {};
}
}  // namespace

FitProblem FitProblem::At(Kind kind, uint32_t row, int column)
{
    FitProblem problem;
    problem.kind = kind;
    problem.row = row;
    problem.column = column;
    return problem;
}

FitProblem ReadFitRows(CDataColumn* const data[4], FitKind kind, FitRows& rows)
{
    bool york = kind == FitKind::York;
    const bool used[4] = {true, york, true, york || kind == FitKind::Weighted};
    uint32_t count = RowCount(data);
    if (count == 0)
        return FitProblem::At(FitProblem::NoData, 0, -1);
    for (uint32_t i = 0; i < count; i++) {
        double value[4] = {};
        for (int k = 0; k < 4; k++) {
            CellNumber cell = ReadCell(data[k], i);
            if (cell.status == CellNumber::NotANumber)
                return CellProblem(FitProblem::NotANumber, i, k, data[k]);
            if (cell.status == CellNumber::Empty && used[k])
                return CellProblem(FitProblem::EmptyCell, i, k, data[k]);
            value[k] = cell.value;
        }
        rows.Add(value[ColumnX], value[ColumnY], value[ColumnErrorY], value[ColumnErrorX]);
    }
    return {};
}

FitProblem CheckFitRows(const FitRows& rows, FitKind kind)
{
    if (rows.Count() == 0)
        return FitProblem::At(FitProblem::NoData, 0, -1);
    FitProblem problem;
    uint32_t row = 0;
    bool first = true, distinct = false;
    double firstX = 0;
    rows.ForEachPoint([&](double x, double ex, double, double ey) {
        if (first)
            firstX = x, first = false;
        distinct = distinct || x != firstX;
        if (!problem && kind == FitKind::Weighted)
            problem = WeightProblem(ey, row);
        if (!problem && kind == FitKind::York)
            problem = YorkErrorProblem(ex, ey, row);
        row++;
    });
    if (!problem && !distinct)
        problem = FitProblem::At(FitProblem::SameX, 0, -1);
    return problem;
}

FitProblem CheckFit(CDataColumn* const data[4], FitKind kind)
{
    FitRows rows(kind != FitKind::Simple, kind == FitKind::York);
    FitProblem problem = ReadFitRows(data, kind, rows);
    if (!problem)
        problem = CheckFitRows(rows, kind);
    if (!problem)
        problem = Computed(rows, kind);
    return problem;
}

FitProblem CheckResults(const SimpleFitResult& f)
{
    return Finite({f.sx, f.sy, f.sxx, f.syy, f.sxy, f.s, f.delta, f.errorY, f.a, f.b, f.errorA, f.errorB, f.r});
}

FitProblem CheckResults(const WeightedFitResult& f)
{
    return Finite({f.sw, f.sx, f.sy, f.swx, f.swy, f.swxy, f.swxx, f.s, f.delta, f.a, f.b, f.errorA, f.errorB, f.xi});
}

FitProblem CheckResults(const YorkFitResult& f)
{
    return Finite({f.a, f.b, f.errorA, f.errorB, f.covAB, f.chi2, f.reduced, f.probability, f.scaledErrorA,
                   f.scaledErrorB});
}

std::string FitProblemText(const FitProblem& problem, bool ascii)
{
    const Reason& reason = Reasons[problem.kind];
    std::string text = ascii ? reason.ascii : reason.shown;
    if (problem.kind == FitProblem::NotANumber)
        text = QuotedCell(problem.cell) + " " + text;
    if (problem.column < 0)
        return text;
    return std::string(ascii ? "fila " : "Fila ") + std::to_string(problem.row + 1) + ", " +
           ColumnCaptions[problem.column] + ": " + text;
}
