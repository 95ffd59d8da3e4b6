#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/FitLines.h"
#include "app/FitReport.h"
#include "app/FitResult.h"
#include "app/FitRows.h"
#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "io/CLineColumn.h"
#include "io/CMemIO.h"

using Texts = std::vector<std::string>;

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Makes a column hold exactly these lines.
inline void FillColumn(CLineColumn* column, const Texts& lines)
{
    column->MakeEmpty();
    for (const std::string& line : lines)
        column->AddLine(line.c_str());
    if (!lines.empty())
        column->DeleteFirstLine();
}

// The rows of a store, each as x, its error, y, its error.
inline std::vector<std::vector<double>> PointsOf(const FitRows& rows)
{
    std::vector<std::vector<double>> points;
    rows.ForEachPoint([&](double x, double ex, double y, double ey) { points.push_back({x, ex, y, ey}); });
    return points;
}

// What a result window shows of a fit: its per-row columns in their order, then the
// names and the values of its results, as texts.
inline std::vector<Texts> ShownColumns(const FitResult& fit)
{
    std::vector<Texts> shown;
    for (const std::vector<double>& column : fit.perRow) {
        shown.emplace_back();
        for (double value : column)
            shown.back().push_back(FitNumberText(value));
    }
    shown.resize(shown.size() + 2);
    for (const NamedResult& named : fit.named) {
        shown[shown.size() - 2].push_back(named.name);
        shown.back().push_back(FitNumberText(named.value));
    }
    return shown;
}

// Writes a fit's report of the columns it came from, as a result window does.
inline int ExportReport(CApplication* app, const std::string& path, const FitResult& fit, CLineColumn* const data[4],
                        int* error = nullptr)
{
    CList* cells[4];
    for (int k = 0; k < 4; k++)
        cells[k] = data[k]->GetLines();
    Variable target(new CString(app));
    target.As<CString>()->SetText(path.c_str());
    return WriteFitReport(app, target.As<CString>(), fit, cells, error);
}

// A fresh application with four data columns.
class FitFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetValidationMode(TrustRegistered);
        app = new CApplication();
        for (int i = 0; i < 4; i++) {
            dataColumns[i] = data[i] = new CLineColumn(app);
            held.emplace_back(data[i]);
        }
    }
    void TearDown() override
    {
        held.clear();
        app->Shutdown();
        delete app;
    }

    void Fill(int column, const Texts& lines) { FillColumn(data[column], lines); }
    // X, errors of X, Y, errors of Y; the columns not given are emptied.
    void FillAll(const std::vector<Texts>& columns)
    {
        for (size_t k = 0; k < 4; k++)
            Fill(int(k), k < columns.size() ? columns[k] : Texts{});
    }
    CDataColumn* const* Data() { return dataColumns; }

    // A stream over bytes that outlive it.
    CMemIO* Memory(std::string& bytes)
    {
        auto* io = new CMemIO(app);
        held.emplace_back(io);
        io->OpenBlock(bytes.data(), uint32_t(bytes.size()));
        return io;
    }

    CApplication* app = nullptr;
    CLineColumn* data[4] = {};
    CDataColumn* dataColumns[4] = {};
    std::vector<Variable> held;
};
