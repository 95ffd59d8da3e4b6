#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Variable.h"
#include "io/CDataColumn.h"

class CApplication;
class CList;

// A data column for large data sets without windows: every line lives in one block of
// text, so a million rows cost their characters and an offset each, not a framework
// string apiece. Starts with one empty line, like every column.
class CCompactColumn : public CDataColumn {
public:
    explicit CCompactColumn(CApplication* app);
    virtual ~CCompactColumn() = default;

    uint32_t LineCount() override;
    CString* LineAt(uint32_t i) override;  // valid until the next call, like an editor's
    void AddLine(const char* text, uint32_t size) override;
    void MakeEmpty() override;
    void DeleteFirstLine() override;

    // The bytes of line i without a string; i must be below LineCount.
    const char* LineText(uint32_t i, uint32_t* size) const;

    // A new list with a string per line, the first `count` lines at most (count 0, no
    // protection): the form report tables take their columns in.
    CList* MakeLineList(uint32_t count = UINT32_MAX);

private:
    CApplication* application;
    std::string text;
    std::vector<uint64_t> ends;  // end of each line in `text`
    uint32_t first = 0;          // lines before this one were deleted
    Variable scratch;
};
