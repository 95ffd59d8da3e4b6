#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FitResult.h"
#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "io/CLineColumn.h"

// A fresh application with four data columns and helpers to fill them and read the
// lines a fit wrote.
class FitFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetValidationMode(TrustRegistered);
        app = new CApplication();
        for (int i = 0; i < 4; i++)
            dataColumns[i] = data[i] = NewColumn();
    }
    void TearDown() override
    {
        held.clear();
        app->Shutdown();
        delete app;
    }

    CLineColumn* NewColumn()
    {
        auto* column = new CLineColumn(app);
        held.emplace_back(column);
        return column;
    }

    // Fills a data column with lines; the column then holds exactly these lines.
    void Fill(int column, const std::vector<std::string>& lines)
    {
        CLineColumn* c = data[column];
        c->MakeEmpty();
        for (const std::string& line : lines)
            c->AddLine(line.c_str());
        if (!lines.empty())
            c->DeleteFirstLine();
    }

    // The lines of a result column, without the empty line every column starts with.
    static std::vector<std::string> Lines(CLineColumn* column)
    {
        std::vector<std::string> lines;
        for (uint32_t i = 1; i < column->LineCount(); i++) {
            CString* s = column->LineAt(i);
            lines.emplace_back(s->GetBuffer(), s->GetLength());
        }
        return lines;
    }

    // What a result window shows of a fit: its per-row columns in their order, then
    // the names and the values of its results, as texts.
    static std::vector<std::vector<std::string>> Shown(const FitResult& fit)
    {
        std::vector<std::vector<std::string>> shown;
        for (const std::vector<double>& column : fit.perRow) {
            shown.emplace_back();
            for (double value : column)
                shown.back().push_back(FitNumberText(value));
        }
        shown.emplace_back();
        shown.emplace_back();
        for (const NamedResult& named : fit.named) {
            shown[shown.size() - 2].push_back(named.name);
            shown.back().push_back(FitNumberText(named.value));
        }
        return shown;
    }

    CDataColumn* const* Data() { return dataColumns; }

    CApplication* app = nullptr;
    CLineColumn* data[4] = {};
    CDataColumn* dataColumns[4] = {};
    std::vector<Variable> held;
};
