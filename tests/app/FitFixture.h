#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

    CDataColumn* const* Data() { return dataColumns; }

    CApplication* app = nullptr;
    CLineColumn* data[4] = {};
    CDataColumn* dataColumns[4] = {};
    std::vector<Variable> held;
};
