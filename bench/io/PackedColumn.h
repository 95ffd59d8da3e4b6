#pragma once

#include <string>
#include <vector>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/CDataColumn.h"

// A column that packs its lines into one string, for measuring what the data-file
// procedures cost apart from the storage of the columns.
class PackedColumn : public CDataColumn {
public:
    explicit PackedColumn(CApplication* app) : scratch(new CString(app)) { MakeEmpty(); }

    uint32_t LineCount() override { return static_cast<uint32_t>(ends.size() - first); }
    CString* LineAt(uint32_t i) override
    {
        if (i >= LineCount())
            return nullptr;
        size_t from = first + i == 0 ? 0 : ends[first + i - 1];
        auto line = scratch.As<CString>();
        line->DeleteRange(0, line->GetLength());
        line->AppendText(text.data() + from, static_cast<uint32_t>(ends[first + i] - from));
        return line;
    }
    void AddLine(const char* bytes, uint32_t size) override
    {
        text.append(bytes, size);
        ends.push_back(text.size());
    }
    void MakeEmpty() override
    {
        text.clear();
        ends.assign(1, 0);
        first = 0;
    }
    void DeleteFirstLine() override
    {
        if (LineCount() >= 2)
            first++;
    }

private:
    std::string text;
    std::vector<size_t> ends;
    size_t first = 0;
    Variable scratch;
};
